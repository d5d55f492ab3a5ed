#include "Containers/SparseArray.h"

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

using CoreTests::FTracked;

TEST(SparseArrayIndexTest, RemovalLeavesAHoleAndKeepsOtherIndices)
{
	TSparseArray<int32> Array;
	const int32 A = Array.Add(10);
	const int32 B = Array.Add(20);
	const int32 C = Array.Add(30);
	Array.RemoveAt(B);
	EXPECT_EQ(Array.Num(), 2);
	EXPECT_EQ(Array.GetMaxIndex(), 3);
	EXPECT_FALSE(Array.IsAllocated(B));
	EXPECT_EQ(Array[A], 10);
	EXPECT_EQ(Array[C], 30);
}

TEST(SparseArrayIndexTest, TheMostRecentlyFreedSlotIsReusedFirst)
{
	TSparseArray<int32> Array;
	for (int32 Index = 0; Index < 6; ++Index)
	{
		Array.Add(Index);
	}
	Array.RemoveAt(1);
	Array.RemoveAt(4);
	EXPECT_EQ(Array.Add(100), 4);
	EXPECT_EQ(Array.Add(101), 1);
	EXPECT_EQ(Array.Add(102), 6);
}

TEST(SparseArrayIndexTest, CompactStableClosesHolesInOrder)
{
	TSparseArray<int32> Array;
	for (int32 Index = 0; Index < 5; ++Index)
	{
		Array.Add(Index * 10);
	}
	Array.RemoveAt(0);
	Array.RemoveAt(3);
	EXPECT_TRUE(Array.CompactStable());
	ASSERT_EQ(Array.GetMaxIndex(), 3);
	EXPECT_EQ(Array[0], 10);
	EXPECT_EQ(Array[1], 20);
	EXPECT_EQ(Array[2], 40);
	EXPECT_EQ(Array.Add(50), 3);
}

TEST(SparseArrayLifetimeTest, ElementsLiveExactlyWhileAllocated)
{
	ASSERT_EQ(FTracked::Live, 0);
	{
		TSparseArray<FTracked> Array;
		for (int32 Index = 0; Index < 40; ++Index)
		{
			Array.Emplace(Index);
		}
		for (int32 Index = 0; Index < 40; Index += 3)
		{
			Array.RemoveAt(Index);
		}
		EXPECT_EQ(FTracked::Live, Array.Num());
		TSparseArray<FTracked> Copy;
		Copy = Array;
		EXPECT_EQ(FTracked::Live, 2 * Array.Num());
		for (int32 Index = 0; Index < Copy.GetMaxIndex(); ++Index)
		{
			ASSERT_EQ(Copy.IsAllocated(Index), Array.IsAllocated(Index));
			if (Copy.IsAllocated(Index))
			{
				EXPECT_EQ(Copy[Index].Value, Index);
				EXPECT_TRUE(Copy[Index].IsIntact());
			}
		}
		Array.Reset();
		EXPECT_EQ(FTracked::Live, Copy.Num());
	}
	EXPECT_EQ(FTracked::Live, 0);
}

TEST(SparseArrayDeathTest, ReadingAFreedSlotIsFatal)
{
	TSparseArray<int32> Array;
	Array.Add(1);
	Array.Add(2);
	Array.RemoveAt(0);
	EXPECT_DEATH((void)Array[0], "Sparse array index 0 is not allocated");
	EXPECT_DEATH(Array.RemoveAt(0), "Sparse array index 0 is not allocated");
}
