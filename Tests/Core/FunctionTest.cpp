#include "Templates/Function.h"

#include "Templates/UniquePtr.h"

#include <gtest/gtest.h>

namespace
{
	int32 Twice(int32 Value)
	{
		return Value * 2;
	}

	int32 CallThrough(TFunctionRef<int32(int32)> Function, int32 Value)
	{
		return Function(Value);
	}
}

TEST(FunctionCallTest, BoundFunctionsCallTheirTarget)
{
	int32 Captured = 5;
	TFunction<int32(int32)> Lambda = [&Captured](int32 Value) { return Value + Captured; };
	TFunction<int32(int32)> Pointer = &Twice;
	EXPECT_TRUE(Lambda.IsSet());
	EXPECT_EQ(Lambda(1), 6);
	Captured = 10;
	EXPECT_EQ(Lambda(1), 11);
	EXPECT_EQ(Pointer(4), 8);
	TFunction<int32(int32)> Copy = Lambda;
	EXPECT_EQ(Copy(0), 10);
	Lambda.Reset();
	EXPECT_FALSE(Lambda);
	EXPECT_TRUE(Copy);
	EXPECT_EQ(CallThrough(Copy, 1), 11);
	EXPECT_EQ(CallThrough([](int32 Value) { return -Value; }, 3), -3);
}

TEST(FunctionCallTest, UniqueFunctionsOwnMoveOnlyState)
{
	TUniquePtr<int32> Owned = MakeUnique<int32>(41);
	TUniqueFunction<int32()> Function = [Owned = MoveTemp(Owned)]() { return *Owned + 1; };
	EXPECT_EQ(Function(), 42);
	TUniqueFunction<int32()> Moved = MoveTemp(Function);
	EXPECT_EQ(Moved(), 42);
	EXPECT_FALSE(Function.IsSet());
}

TEST(FunctionDeathTest, CallingAnUnboundFunctionIsFatal)
{
	const TFunction<void()> Unbound;
	EXPECT_DEATH(Unbound(), "Attempting to call an unbound TFunction!");
	const TUniqueFunction<void()> UniqueUnbound;
	EXPECT_DEATH(UniqueUnbound(), "Attempting to call an unbound TUniqueFunction!");
}
