#include "Delegates/Delegate.h"

#include "Containers/Array.h"
#include "Containers/UnrealString.h"

#include <gtest/gtest.h>

namespace
{
	DECLARE_DELEGATE_TwoParams(FAppendDelegate, TArray<int32>&, int32);
	DECLARE_DELEGATE_RetVal_OneParam(int32, FScaleDelegate, int32);

	void AppendTwice(TArray<int32>& Out, int32 Value)
	{
		Out.Add(Value);
		Out.Add(Value);
	}

	void AppendWithPayload(TArray<int32>& Out, int32 Value, int32 Payload)
	{
		Out.Add(Value + Payload);
	}

	struct FScaler
	{
		int32 Factor = 1;

		int32 Scale(int32 Value)
		{
			return Value * Factor;
		}
	};
}

TEST(DelegateBindingTest, StaticLambdaAndRawBindingsCallTheirTargets)
{
	TArray<int32> Calls;
	FAppendDelegate Static = FAppendDelegate::CreateStatic(&AppendTwice);
	Static.Execute(Calls, 3);
	EXPECT_EQ(Calls, (TArray<int32>{ 3, 3 }));

	int32 Offset = 100;
	FAppendDelegate Lambda = FAppendDelegate::CreateLambda([&Offset](TArray<int32>& Out, int32 Value)
	{
		Out.Add(Value + Offset);
	});
	Offset = 200;
	Lambda.Execute(Calls, 1);
	EXPECT_EQ(Calls.Last(), 201);

	FScaler Scaler;
	Scaler.Factor = 7;
	const FScaleDelegate Raw = FScaleDelegate::CreateRaw(&Scaler, &FScaler::Scale);
	EXPECT_EQ(Raw.Execute(6), 42);
	Scaler.Factor = 2;
	EXPECT_EQ(Raw.Execute(6), 12);
}

TEST(DelegateBindingTest, PayloadVariablesFollowTheCallArguments)
{
	TArray<int32> Calls;
	const FAppendDelegate WithPayload = FAppendDelegate::CreateStatic(&AppendWithPayload, 1000);
	WithPayload.Execute(Calls, 5);
	EXPECT_EQ(Calls, (TArray<int32>{ 1005 }));
}

TEST(DelegateBindingTest, ExecuteIfBoundReportsWhetherItCalled)
{
	TArray<int32> Calls;
	FAppendDelegate Delegate;
	EXPECT_FALSE(Delegate.IsBound());
	EXPECT_FALSE(Delegate.ExecuteIfBound(Calls, 1));
	EXPECT_TRUE(Calls.IsEmpty());

	Delegate.BindStatic(&AppendTwice);
	EXPECT_TRUE(Delegate.IsBound());
	EXPECT_TRUE(Delegate.ExecuteIfBound(Calls, 1));
	EXPECT_EQ(Calls.Num(), 2);

	const FAppendDelegate Copy = Delegate;
	Delegate.Unbind();
	EXPECT_FALSE(Delegate.IsBound());
	EXPECT_FALSE(Delegate.ExecuteIfBound(Calls, 1));
	EXPECT_TRUE(Copy.ExecuteIfBound(Calls, 4));
	EXPECT_EQ(Calls.Last(), 4);
}

TEST(DelegateBindingTest, BindingAgainReplacesTheTarget)
{
	FScaler Tripler;
	Tripler.Factor = 3;
	FScaleDelegate Delegate = FScaleDelegate::CreateLambda([](int32 Value) { return -Value; });
	EXPECT_EQ(Delegate.Execute(2), -2);
	Delegate.BindRaw(&Tripler, &FScaler::Scale);
	EXPECT_EQ(Delegate.Execute(2), 6);
}

TEST(DelegateDeathTest, BindingARawMethodToNoObjectIsFatal)
{
	FScaler* NoScaler = nullptr;
	EXPECT_DEATH((void)FScaleDelegate::CreateRaw(NoScaler, &FScaler::Scale), "Assertion failed: InUserObject != nullptr && InFunc != nullptr");
}

TEST(DelegateDeathTest, ExecutingAnUnboundDelegateIsFatal)
{
	const FScaleDelegate Unbound;
	EXPECT_DEATH(Unbound.Execute(1), "Execute was called on a delegate with nothing bound; ExecuteIfBound checks first");
}
