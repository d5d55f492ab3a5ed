#include "Templates/UniquePtr.h"

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

using CoreTests::FTracked;

TEST(UniquePtrOwnershipTest, TheObjectDiesWithItsLastOwner)
{
	ASSERT_EQ(FTracked::Live, 0);
	{
		TUniquePtr<FTracked> First = MakeUnique<FTracked>(3);
		EXPECT_EQ(FTracked::Live, 1);
		TUniquePtr<FTracked> Second = MoveTemp(First);
		EXPECT_FALSE(First.IsValid());
		EXPECT_EQ(Second->Value, 3);
		Second.Reset(new FTracked(4));
		EXPECT_EQ(FTracked::Live, 1);
		FTracked* Released = Second.Release();
		EXPECT_FALSE(Second);
		EXPECT_EQ(FTracked::Live, 1);
		delete Released;
		TUniquePtr<FTracked[]> Array = MakeUnique<FTracked[]>(3);
		EXPECT_EQ(FTracked::Live, 3);
	}
	EXPECT_EQ(FTracked::Live, 0);
}

TEST(UniquePtrDeathTest, DereferencingNullIsFatal)
{
	const TUniquePtr<int32> Null;
	EXPECT_DEATH((void)*Null, CoreTests::RegexEscape("Assertion failed: Ptr != nullptr"));
}
