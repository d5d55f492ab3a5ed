#include "Containers/Array.h"

#include "AllocationCount.h"
#include "Containers/UnrealString.h"
#include "CoreTestSupport.h"
#include "HAL/MemoryBase.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using CoreTests::FTracked;

namespace
{
	std::vector<int32> ToVector(const TArray<int32>& Array)
	{
		return std::vector<int32>(Array.GetData(), Array.GetData() + Array.Num());
	}
}

TEST(ArrayAddingTest, AddReturnsTheIndexOfTheNewElement)
{
	TArray<int32> Array;
	EXPECT_EQ(Array.Add(10), 0);
	EXPECT_EQ(Array.Add(20), 1);
	EXPECT_EQ(Array.Emplace(30), 2);
	EXPECT_EQ(ToVector(Array), (std::vector<int32>{ 10, 20, 30 }));
}

TEST(ArrayAddingTest, AddUniqueReturnsTheExistingIndex)
{
	TArray<int32> Array = { 5, 6 };
	EXPECT_EQ(Array.AddUnique(6), 1);
	EXPECT_EQ(Array.AddUnique(7), 2);
	EXPECT_EQ(Array.Num(), 3);
}

TEST(ArrayAddingTest, AddingOwnElementWhileGrowingCopiesItFirst)
{
	TArray<FString> Array;
	Array.Add(TEXT("first"));
	while (Array.Num() < Array.Max())
	{
		Array.Add(TEXT("filler"));
	}
	// The array is full: this Add reallocates while its argument lives in the old storage.
	Array.Add(Array[0]);
	EXPECT_EQ(Array.Last(), FString(TEXT("first")));

	TArray<int32> Numbers = { 1, 2, 3, 4 };
	Numbers.Append(Numbers.GetData(), Numbers.Num());
	EXPECT_EQ(ToVector(Numbers), (std::vector<int32>{ 1, 2, 3, 4, 1, 2, 3, 4 }));
}

TEST(ArrayAddingTest, GetRefAddersReturnTheNewElementWhenTheyGrowTheStorage)
{
	TArray<int32> Defaulted;
	int32& First = Defaulted.AddDefaulted_GetRef();
	First = 7;
	EXPECT_EQ(&First, &Defaulted[0]);
	EXPECT_EQ(Defaulted[0], 7);

	TArray<int32> Zeroed;
	Zeroed.Add(1);
	Zeroed.Shrink();
	int32& Second = Zeroed.AddZeroed_GetRef();
	EXPECT_EQ(&Second, &Zeroed[1]);
	EXPECT_EQ(Second, 0);

	TArray<int32> Emplaced;
	Emplaced.Add(1);
	Emplaced.Shrink();
	int32& Added = Emplaced.Emplace_GetRef(9);
	EXPECT_EQ(&Added, &Emplaced[1]);
	EXPECT_EQ(Added, 9);
}

TEST(ArrayAddingTest, InsertShiftsTheRest)
{
	TArray<int32> Array = { 1, 3 };
	Array.Insert(2, 1);
	Array.Insert(0, 0);
	Array.Insert(4, Array.Num());
	EXPECT_EQ(ToVector(Array), (std::vector<int32>{ 0, 1, 2, 3, 4 }));
}

TEST(ArrayRemovalTest, RemoveTakesEveryEqualElementAndKeepsOrder)
{
	TArray<int32> Array = { 1, 2, 1, 3, 1 };
	EXPECT_EQ(Array.Remove(1), 3);
	EXPECT_EQ(ToVector(Array), (std::vector<int32>{ 2, 3 }));
	EXPECT_EQ(Array.Remove(9), 0);
}

TEST(ArrayRemovalTest, RemoveOfOwnElementUsesItsValue)
{
	TArray<int32> Array = { 4, 5, 4, 6 };
	EXPECT_EQ(Array.Remove(Array[0]), 2);
	EXPECT_EQ(ToVector(Array), (std::vector<int32>{ 5, 6 }));
}

TEST(ArrayRemovalTest, RemoveSwapFillsHolesFromTheEnd)
{
	TArray<int32> Array = { 1, 2, 3, 4, 5 };
	EXPECT_EQ(Array.RemoveSingleSwap(2), 1);
	EXPECT_EQ(ToVector(Array), (std::vector<int32>{ 1, 5, 3, 4 }));
	Array.RemoveAtSwap(0, 2);
	EXPECT_EQ(ToVector(Array), (std::vector<int32>{ 3, 4 }));
}

TEST(ArrayRemovalTest, RemoveAtAndRemoveAllKeepOrder)
{
	TArray<int32> Array = { 0, 1, 2, 3, 4, 5, 6 };
	Array.RemoveAt(1, 2);
	EXPECT_EQ(ToVector(Array), (std::vector<int32>{ 0, 3, 4, 5, 6 }));
	EXPECT_EQ(Array.RemoveAll([](int32 Value) { return Value % 2 == 0; }), 3);
	EXPECT_EQ(ToVector(Array), (std::vector<int32>{ 3, 5 }));
}

TEST(ArrayRemovalTest, IteratorRemoveCurrentVisitsTheFollowingElement)
{
	TArray<int32> Array = { 1, 2, 2, 3 };
	for (auto It = Array.CreateIterator(); It; ++It)
	{
		if (*It == 2)
		{
			It.RemoveCurrent();
		}
	}
	EXPECT_EQ(ToVector(Array), (std::vector<int32>{ 1, 3 }));
}

TEST(ArrayStorageTest, ResetKeepsTheAllocation)
{
	TArray<int32> Array;
	Array.Reserve(100);
	Array.Add(1);
	const int32 Max = Array.Max();
	const int32* Data = Array.GetData();
	Array.Reset();
	EXPECT_EQ(Array.Num(), 0);
	EXPECT_EQ(Array.Max(), Max);
	EXPECT_EQ(Array.GetData(), Data);
}

TEST(ArrayStorageTest, EmptyReleasesTheAllocationBeyondTheSlack)
{
	TArray<int32> Array;
	Array.Reserve(100);
	Array.Add(1);
	Array.Empty();
	EXPECT_EQ(Array.Num(), 0);
	EXPECT_EQ(Array.Max(), 0);
	EXPECT_EQ(Array.GetData(), nullptr);

	Array.Reserve(100);
	Array.Empty(7);
	EXPECT_EQ(Array.Max(), 7);
}

TEST(ArrayStorageTest, ElementsAreConstructedAndDestroyedOnce)
{
	ASSERT_EQ(FTracked::Live, 0);
	{
		TArray<FTracked> Array;
		for (int32 Index = 0; Index < 50; ++Index)
		{
			Array.Emplace(Index);
		}
		Array.RemoveAt(3, 5);
		Array.Insert(FTracked(100), 2);
		Array.RemoveAtSwap(0);
		TArray<FTracked> Copy = Array;
		TArray<FTracked> Moved = MoveTemp(Copy);
		EXPECT_EQ(FTracked::Live, 2 * Array.Num());
		for (const FTracked& Element : Array)
		{
			EXPECT_TRUE(Element.IsIntact());
		}
		for (const FTracked& Element : Moved)
		{
			EXPECT_TRUE(Element.IsIntact());
		}
		Array.SetNum(3);
		Array.Reset();
		EXPECT_EQ(FTracked::Live, Moved.Num());
	}
	EXPECT_EQ(FTracked::Live, 0);
}

TEST(ArraySearchTest, FindGivesIndexNoneWhenAbsent)
{
	const TArray<FString> Array = { TEXT("a"), TEXT("b") };
	EXPECT_EQ(Array.Find(TEXT("b")), 1);
	EXPECT_EQ(Array.Find(TEXT("z")), INDEX_NONE);
	EXPECT_TRUE(Array.Contains(TEXT("a")));
	EXPECT_FALSE(Array.Contains(TEXT("c")));
	EXPECT_EQ(Array.IndexOfByPredicate([](const FString& S) { return S == TEXT("b"); }), 1);
	EXPECT_EQ(Array.FindByKey(TEXT("q")), nullptr);
}

TEST(ArraySortingTest, SortOrdersPointersByThePointedToValues)
{
	int32 Values[] = { 3, 1, 2 };
	TArray<int32*> Pointers = { &Values[0], &Values[1], &Values[2] };
	Pointers.Sort();
	EXPECT_EQ(*Pointers[0], 1);
	EXPECT_EQ(*Pointers[1], 2);
	EXPECT_EQ(*Pointers[2], 3);
}

TEST(ArraySortingTest, StableSortKeepsEqualElementsInOrder)
{
	TArray<TPair<int32, int32>> Array;
	std::mt19937 Random(7);
	for (int32 Index = 0; Index < 200; ++Index)
	{
		Array.Add(TPair<int32, int32>((int32)(Random() % 5), Index));
	}
	Array.StableSort([](const TPair<int32, int32>& A, const TPair<int32, int32>& B) { return A.Key < B.Key; });
	for (int32 Index = 1; Index < Array.Num(); ++Index)
	{
		ASSERT_LE(Array[Index - 1].Key, Array[Index].Key);
		if (Array[Index - 1].Key == Array[Index].Key)
		{
			ASSERT_LT(Array[Index - 1].Value, Array[Index].Value);
		}
	}
}

TEST(ArrayDifferentialTest, MatchesStdVectorUnderRandomOperations)
{
	std::mt19937 Random(20240611);
	TArray<int32> Array;
	std::vector<int32> Model;
	for (int32 Step = 0; Step < 20000; ++Step)
	{
		const uint32 Op = Random() % 8;
		const int32 Value = (int32)(Random() % 64);
		switch (Op)
		{
		case 0:
		case 1:
			ASSERT_EQ(Array.Add(Value), (int32)Model.size());
			Model.push_back(Value);
			break;
		case 2:
		{
			const int32 Index = (int32)(Random() % (Model.size() + 1));
			Array.Insert(Value, Index);
			Model.insert(Model.begin() + Index, Value);
			break;
		}
		case 3:
			if (!Model.empty())
			{
				const int32 Index = (int32)(Random() % Model.size());
				Array.RemoveAt(Index);
				Model.erase(Model.begin() + Index);
			}
			break;
		case 4:
		{
			const int32 Expected = (int32)std::erase(Model, Value);
			ASSERT_EQ(Array.Remove(Value), Expected);
			break;
		}
		case 5:
			if (!Model.empty())
			{
				const int32 Index = (int32)(Random() % Model.size());
				Array.RemoveAtSwap(Index);
				Model[Index] = Model.back();
				Model.pop_back();
			}
			break;
		case 6:
		{
			const auto It = std::find(Model.begin(), Model.end(), Value);
			ASSERT_EQ(Array.Find(Value), It == Model.end() ? INDEX_NONE : (int32)(It - Model.begin()));
			break;
		}
		default:
			if (Random() % 50 == 0)
			{
				Array.Reset();
				Model.clear();
			}
			break;
		}
		ASSERT_EQ(ToVector(Array), Model) << "after step " << Step;
	}
}

TEST(ArrayDeathTest, IndexOutOfBoundsIsFatal)
{
	TArray<int32> Array = { 1, 2 };
	EXPECT_DEATH(Array[2] = 0, "Array index out of bounds: 2 into an array of size 2");
	EXPECT_DEATH(Array[-1] = 0, "Array index out of bounds: -1 into an array of size 2");
}

TEST(ArrayDeathTest, ChangingSizeDuringRangedForIsFatal)
{
	TArray<int32> Array = { 1, 2, 3 };
	auto Mutate = [&Array]()
	{
		for (const int32 Value : Array)
		{
			if (Value == 1)
			{
				Array.Add(4);
			}
		}
	};
	EXPECT_DEATH(Mutate(), "Array has changed during ranged-for iteration!");
}

TEST(ArrayDeathTest, InsertingOrRemovingOutOfBoundsIsFatal)
{
	TArray<int32> Array = { 1, 2 };
	EXPECT_DEATH(Array.Insert(3, 5), "Array insertion index out of bounds: 5 into an array of size 2");
	EXPECT_DEATH(Array.RemoveAt(1, 5), "Array remove out of bounds: 1 \\(count 5\\) from an array of size 2");
	EXPECT_DEATH(Array.RemoveAtSwap(-1), "Array remove out of bounds: -1 \\(count 1\\) from an array of size 2");
}

namespace
{
	constexpr int32 NumInline = 4;
	using FInlineInts = TArray<int32, TInlineAllocator<NumInline>>;
	using FInlineTracked = TArray<FTracked, TInlineAllocator<NumInline>>;
	using FFixedTracked = TArray<FTracked, TFixedAllocator<NumInline>>;

	// Default arrays keep their layout, and pay nothing for the inline ones: a pointer and two counts.
	static_assert(sizeof(TArray<int32>) == sizeof(int32*) + 2 * sizeof(int32));

	// True when the elements are inside the array object itself, not in a block of their own.
	template <typename ArrayType>
	bool UsesInlineStorage(const ArrayType& Array)
	{
		const UPTRINT Begin = reinterpret_cast<UPTRINT>(&Array);
		const UPTRINT Data = reinterpret_cast<UPTRINT>(Array.GetData());
		return Data >= Begin && Data < Begin + sizeof(ArrayType);
	}

	int32 ValueOf(int32 Value)
	{
		return Value;
	}

	int32 ValueOf(const FTracked& Tracked)
	{
		return Tracked.Value;
	}

	template <typename ArrayType>
	std::vector<int32> ValuesOf(const ArrayType& Array)
	{
		std::vector<int32> Values;
		for (const auto& Element : Array)
		{
			Values.push_back(ValueOf(Element));
		}
		return Values;
	}

	std::vector<int32> Sequence(int32 First, int32 Count)
	{
		std::vector<int32> Values;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Values.push_back(First + Index);
		}
		return Values;
	}

	template <typename ArrayType>
	bool AllIntact(const ArrayType& Array)
	{
		for (const FTracked& Element : Array)
		{
			if (!Element.IsIntact())
			{
				return false;
			}
		}
		return true;
	}

	template <typename ArrayType>
	void EmplaceSequence(ArrayType& Array, int32 First, int32 Count)
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Array.Emplace(First + Index);
		}
	}

	uint64 TotalFrees()
	{
		return FMalloc::TotalFreeCalls.load();
	}

	// Every element an array constructs is destroyed exactly once, by the end of each test.
	class FTrackedElementsTest : public testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_EQ(FTracked::Live, 0);
		}

		void TearDown() override
		{
			EXPECT_EQ(FTracked::Live, 0);
		}
	};
}

class FArrayInlineStorageTest : public FTrackedElementsTest
{
};

TEST_F(FArrayInlineStorageTest, HoldsUpToItsInlineCountWithoutAllocating)
{
	FInlineInts Array;
	EXPECT_EQ(Array.Max(), NumInline);
	EXPECT_EQ(Array.GetSlack(), NumInline);

	const FAllocationCount Allocations;
	Array.Reserve(NumInline);
	Array.Add(1);
	Array.Emplace(2);
	Array.Insert(0, 0);
	Array.AddDefaulted();
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(ValuesOf(Array), (std::vector<int32>{ 0, 1, 2, 0 }));
	EXPECT_EQ(Array.Max(), NumInline);
	EXPECT_EQ(Array.GetSlack(), 0);
	EXPECT_EQ(Array.GetAllocatedSize(), 0u);
	EXPECT_TRUE(UsesInlineStorage(Array));

	FInlineTracked Tracked;
	EmplaceSequence(Tracked, 0, NumInline);
	Tracked.RemoveAt(1);
	Tracked.Append({ FTracked(7) });
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(ValuesOf(Tracked), (std::vector<int32>{ 0, 2, 3, 7 }));
	EXPECT_TRUE(AllIntact(Tracked));
}

TEST_F(FArrayInlineStorageTest, GrowingPastTheInlineCountMovesTheElementsToOneHeapBlockInOrder)
{
	FInlineTracked Array;
	EmplaceSequence(Array, 0, NumInline);

	const FAllocationCount Allocations;
	Array.Emplace(NumInline);
	EXPECT_EQ(Allocations.Get(), 1u);
	EXPECT_FALSE(UsesInlineStorage(Array));
	EXPECT_GT(Array.Max(), NumInline);
	EXPECT_EQ(Array.GetAllocatedSize(), (SIZE_T)Array.Max() * sizeof(FTracked));
	EXPECT_EQ(ValuesOf(Array), Sequence(0, NumInline + 1));
	EXPECT_TRUE(AllIntact(Array));
	EXPECT_EQ(FTracked::Live, NumInline + 1);

	EmplaceSequence(Array, NumInline + 1, 40);
	EXPECT_EQ(ValuesOf(Array), Sequence(0, NumInline + 41));
	EXPECT_TRUE(AllIntact(Array));
	EXPECT_EQ(FTracked::Live, NumInline + 41);
}

TEST_F(FArrayInlineStorageTest, AddingItsOwnElementWhileSpillingCopiesItFirst)
{
	TArray<FString, TInlineAllocator<2>> Strings;
	Strings.Add(TEXT("first"));
	Strings.Add(TEXT("second"));
	// The argument lives in the inline room that this Add leaves for the heap.
	Strings.Add(Strings[0]);
	EXPECT_FALSE(UsesInlineStorage(Strings));
	EXPECT_EQ(Strings[0], FString(TEXT("first")));
	EXPECT_EQ(Strings[2], FString(TEXT("first")));

	FInlineInts Numbers = { 1, 2, 3 };
	Numbers.Append(Numbers.GetData(), Numbers.Num());
	EXPECT_EQ(ValuesOf(Numbers), (std::vector<int32>{ 1, 2, 3, 1, 2, 3 }));
}

TEST_F(FArrayInlineStorageTest, ElementsAreConstructedAndDestroyedOnceAcrossSpillAndShrink)
{
	FInlineTracked Array;
	EmplaceSequence(Array, 0, 3);
	EXPECT_EQ(FTracked::Live, 3);
	EmplaceSequence(Array, 3, 9);
	EXPECT_EQ(FTracked::Live, 12);
	Array.Insert(FTracked(100), 2);
	EXPECT_EQ(FTracked::Live, 13);
	Array.RemoveAt(0, 10);
	EXPECT_TRUE(UsesInlineStorage(Array));
	EXPECT_EQ(FTracked::Live, 3);
	EXPECT_EQ(ValuesOf(Array), (std::vector<int32>{ 9, 10, 11 }));
	Array.SetNum(NumInline + 2);
	EXPECT_EQ(FTracked::Live, NumInline + 2);
	Array.SetNum(1);
	EXPECT_EQ(FTracked::Live, 1);
	EXPECT_TRUE(AllIntact(Array));
	Array.Reset();
	EXPECT_EQ(FTracked::Live, 0);
	EmplaceSequence(Array, 0, NumInline + 1);
	// The destructor of a spilled array destroys its elements too (the fixture checks).
}

TEST_F(FArrayInlineStorageTest, DefaultedInlineArraysInsideAnArrayStartWithTheirInlineRoom)
{
	TArray<FInlineInts> Outer;
	Outer.AddDefaulted(2);
	EXPECT_EQ(Outer[0].Max(), NumInline);
	const FAllocationCount Allocations;
	Outer[1].Add(5);
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_TRUE(UsesInlineStorage(Outer[1]));
}

class FArrayInlineShrinkTest : public FTrackedElementsTest
{
protected:
	// An array past its inline count, with its heap block.
	static void Spill(FInlineTracked& Array, int32 Count = 10)
	{
		EmplaceSequence(Array, 0, Count);
		ASSERT_FALSE(UsesInlineStorage(Array));
	}
};

TEST_F(FArrayInlineShrinkTest, RemovingDownToTheInlineCountMovesBackInlineAndFreesTheBlock)
{
	FInlineTracked Array;
	ASSERT_NO_FATAL_FAILURE(Spill(Array));

	const uint64 FreesBefore = TotalFrees();
	const FAllocationCount Allocations;
	Array.RemoveAt(3, 7);
	EXPECT_TRUE(UsesInlineStorage(Array));
	EXPECT_EQ(Array.Max(), NumInline);
	EXPECT_EQ(Array.GetAllocatedSize(), 0u);
	EXPECT_EQ(TotalFrees() - FreesBefore, 1u);
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(ValuesOf(Array), (std::vector<int32>{ 0, 1, 2 }));
	EXPECT_TRUE(AllIntact(Array));
}

TEST_F(FArrayInlineShrinkTest, SetNumMovesBackInlineOnlyWhenAllowedToShrink)
{
	FInlineTracked Array;
	ASSERT_NO_FATAL_FAILURE(Spill(Array));
	const FTracked* Block = Array.GetData();

	Array.SetNum(NumInline, EAllowShrinking::No);
	EXPECT_EQ(Array.GetData(), Block);
	EXPECT_EQ(ValuesOf(Array), Sequence(0, NumInline));

	Array.SetNum(NumInline - 1);
	EXPECT_TRUE(UsesInlineStorage(Array));
	EXPECT_EQ(ValuesOf(Array), Sequence(0, NumInline - 1));
	EXPECT_TRUE(AllIntact(Array));
}

TEST_F(FArrayInlineShrinkTest, ShrinkMovesBackInlineWhenTheElementsFit)
{
	FInlineTracked Array;
	ASSERT_NO_FATAL_FAILURE(Spill(Array));
	Array.RemoveAt(2, 8, EAllowShrinking::No);
	ASSERT_FALSE(UsesInlineStorage(Array));

	const uint64 FreesBefore = TotalFrees();
	const FAllocationCount Allocations;
	Array.Shrink();
	EXPECT_TRUE(UsesInlineStorage(Array));
	EXPECT_EQ(Array.GetAllocatedSize(), 0u);
	EXPECT_EQ(TotalFrees() - FreesBefore, 1u);
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(ValuesOf(Array), (std::vector<int32>{ 0, 1 }));
	EXPECT_TRUE(AllIntact(Array));
}

TEST_F(FArrayInlineShrinkTest, EmptyGivesBackTheBlockAndTheInlineRoomServesAgain)
{
	FInlineTracked Array;
	ASSERT_NO_FATAL_FAILURE(Spill(Array));

	const uint64 FreesBefore = TotalFrees();
	Array.Empty();
	EXPECT_EQ(TotalFrees() - FreesBefore, 1u);
	EXPECT_EQ(Array.Num(), 0);
	EXPECT_EQ(Array.GetAllocatedSize(), 0u);
	EXPECT_EQ(FTracked::Live, 0);

	const FAllocationCount Allocations;
	EmplaceSequence(Array, 0, NumInline);
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_TRUE(UsesInlineStorage(Array));

	ASSERT_NO_FATAL_FAILURE(Spill(Array));
	Array.Empty(NumInline - 1);
	EXPECT_TRUE(UsesInlineStorage(Array));
	EXPECT_EQ(Array.Max(), NumInline);

	Array.Empty(NumInline + 3);
	EXPECT_FALSE(UsesInlineStorage(Array));
	EXPECT_EQ(Array.Max(), NumInline + 3);
}

TEST_F(FArrayInlineShrinkTest, ResetKeepsTheBlock)
{
	FInlineTracked Array;
	ASSERT_NO_FATAL_FAILURE(Spill(Array));
	const FTracked* Block = Array.GetData();
	const int32 Max = Array.Max();

	Array.Reset();
	EXPECT_EQ(Array.GetData(), Block);
	EXPECT_EQ(Array.Max(), Max);
	EXPECT_EQ(FTracked::Live, 0);

	const FAllocationCount Allocations;
	EmplaceSequence(Array, 0, NumInline + 1);
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(Array.GetData(), Block);
}

class FArrayInlineMoveTest : public FTrackedElementsTest
{
};

TEST_F(FArrayInlineMoveTest, MovingAnInlineArrayMovesItsElementsAndEmptiesTheSource)
{
	FInlineTracked Source;
	EmplaceSequence(Source, 1, 3);

	const FAllocationCount Allocations;
	FInlineTracked Moved(MoveTemp(Source));
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_TRUE(UsesInlineStorage(Moved));
	EXPECT_EQ(ValuesOf(Moved), (std::vector<int32>{ 1, 2, 3 }));
	EXPECT_TRUE(AllIntact(Moved));
	EXPECT_EQ(Source.Num(), 0);
	EXPECT_EQ(Source.Max(), NumInline);
	EXPECT_EQ(FTracked::Live, 3);

	// The source is an empty array of its own, not a view of the moved elements.
	Source.Emplace(9);
	EXPECT_TRUE(UsesInlineStorage(Source));
	EXPECT_EQ(ValuesOf(Moved), (std::vector<int32>{ 1, 2, 3 }));
	EXPECT_EQ(ValuesOf(Source), (std::vector<int32>{ 9 }));
}

TEST_F(FArrayInlineMoveTest, MovingASpilledArrayHandsOverItsBlock)
{
	FInlineTracked Source;
	EmplaceSequence(Source, 0, 10);
	const FTracked* Block = Source.GetData();

	const FAllocationCount Allocations;
	FInlineTracked Moved(MoveTemp(Source));
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(Moved.GetData(), Block);
	EXPECT_EQ(ValuesOf(Moved), Sequence(0, 10));
	EXPECT_EQ(Source.Num(), 0);
	EXPECT_TRUE(UsesInlineStorage(Source));
	EXPECT_EQ(Source.GetAllocatedSize(), 0u);
	EXPECT_EQ(FTracked::Live, 10);
}

TEST_F(FArrayInlineMoveTest, MoveAssignmentReplacesTheTargetsElementsAndStorage)
{
	FInlineTracked Target;
	EmplaceSequence(Target, 100, 10);
	FInlineTracked Source;
	EmplaceSequence(Source, 1, 2);

	const uint64 FreesBefore = TotalFrees();
	const FAllocationCount Allocations;
	Target = MoveTemp(Source);
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(TotalFrees() - FreesBefore, 1u);
	EXPECT_TRUE(UsesInlineStorage(Target));
	EXPECT_EQ(ValuesOf(Target), (std::vector<int32>{ 1, 2 }));
	EXPECT_TRUE(AllIntact(Target));
	EXPECT_EQ(Source.Num(), 0);
	EXPECT_EQ(FTracked::Live, 2);

	EmplaceSequence(Source, 50, 10);
	const FTracked* Block = Source.GetData();
	Target = MoveTemp(Source);
	EXPECT_EQ(Target.GetData(), Block);
	EXPECT_EQ(ValuesOf(Target), Sequence(50, 10));
	EXPECT_TRUE(UsesInlineStorage(Source));
	EXPECT_EQ(FTracked::Live, 10);
}

TEST_F(FArrayInlineMoveTest, CopyingCopiesTheElementsAndLeavesTheSourceAlone)
{
	FInlineTracked Source;
	EmplaceSequence(Source, 1, 3);

	const FAllocationCount Allocations;
	FInlineTracked Copy(Source);
	FInlineTracked Assigned;
	Assigned = Source;
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_TRUE(UsesInlineStorage(Copy));
	EXPECT_TRUE(UsesInlineStorage(Assigned));
	EXPECT_EQ(ValuesOf(Copy), ValuesOf(Source));
	EXPECT_EQ(ValuesOf(Assigned), ValuesOf(Source));
	EXPECT_EQ(FTracked::Live, 9);
	Copy[0].Value = 7;
	EXPECT_EQ(Source[0].Value, 1);

	EmplaceSequence(Source, 4, 7);
	const FAllocationCount SpilledAllocations;
	FInlineTracked SpilledCopy(Source);
	EXPECT_EQ(SpilledAllocations.Get(), 1u);
	EXPECT_NE(SpilledCopy.GetData(), Source.GetData());
	EXPECT_EQ(ValuesOf(SpilledCopy), Sequence(1, 10));
	EXPECT_TRUE(AllIntact(SpilledCopy));
}

// As in UE, only arrays that both keep a heap block hand it over; between other allocators the
// elements are copied and the source keeps its own.
TEST_F(FArrayInlineMoveTest, MovingBetweenAllocatorsCopiesUnlessBothUseTheHeap)
{
	FInlineTracked Inline;
	EmplaceSequence(Inline, 1, 3);

	TArray<FTracked> Heap(MoveTemp(Inline));
	EXPECT_EQ(ValuesOf(Heap), (std::vector<int32>{ 1, 2, 3 }));
	EXPECT_TRUE(AllIntact(Heap));
	EXPECT_EQ(ValuesOf(Inline), (std::vector<int32>{ 1, 2, 3 }));

	TArray<FTracked, TInlineAllocator<8>> Wider(MoveTemp(Heap));
	EXPECT_TRUE(UsesInlineStorage(Wider));
	EXPECT_EQ(ValuesOf(Wider), (std::vector<int32>{ 1, 2, 3 }));
	EXPECT_TRUE(AllIntact(Wider));
	EXPECT_EQ(ValuesOf(Heap), (std::vector<int32>{ 1, 2, 3 }));

	FFixedTracked Fixed(MoveTemp(Wider));
	EXPECT_TRUE(UsesInlineStorage(Fixed));
	EXPECT_EQ(ValuesOf(Fixed), (std::vector<int32>{ 1, 2, 3 }));
	EXPECT_EQ(FTracked::Live, 12);

	const FTracked* Block = Heap.GetData();
	const FAllocationCount Allocations;
	TArray<FTracked, FDefaultAllocator64> Taken(MoveTemp(Heap));
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(Taken.GetData(), Block);
	EXPECT_EQ(Heap.Num(), 0);
	EXPECT_EQ(FTracked::Live, 12);
}

class FArrayFixedStorageTest : public FTrackedElementsTest
{
};

TEST_F(FArrayFixedStorageTest, HoldsExactlyItsCountAndNeverAllocates)
{
	const uint64 FreesBefore = TotalFrees();
	const FAllocationCount Allocations;

	FFixedTracked Array;
	EXPECT_EQ(Array.Max(), NumInline);
	EmplaceSequence(Array, 0, NumInline);
	EXPECT_TRUE(UsesInlineStorage(Array));
	EXPECT_EQ(Array.Max(), NumInline);
	EXPECT_EQ(Array.GetAllocatedSize(), 0u);
	EXPECT_EQ(ValuesOf(Array), Sequence(0, NumInline));

	Array.RemoveAt(0, 2);
	Array.Shrink();
	EXPECT_EQ(Array.Max(), NumInline);
	EXPECT_EQ(ValuesOf(Array), (std::vector<int32>{ 2, 3 }));

	FFixedTracked Moved(MoveTemp(Array));
	EXPECT_TRUE(UsesInlineStorage(Moved));
	EXPECT_EQ(ValuesOf(Moved), (std::vector<int32>{ 2, 3 }));
	EXPECT_TRUE(AllIntact(Moved));
	EXPECT_EQ(Array.Num(), 0);
	FFixedTracked Copy(Moved);
	Array = MoveTemp(Copy);
	EXPECT_EQ(ValuesOf(Array), (std::vector<int32>{ 2, 3 }));
	EXPECT_EQ(FTracked::Live, 4);

	Array.Empty();
	Array.Reserve(NumInline);
	Array.SetNum(NumInline);
	EXPECT_EQ(Array.Num(), NumInline);

	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(TotalFrees(), FreesBefore);
}

TEST(FArrayFixedStorageDeathTest, GrowingPastTheFixedCountIsFatal)
{
	TArray<int32, TFixedAllocator<2>> Array = { 1, 2 };
	const char* Message = "Assertion failed: NewMax <= NumInlineElements";
	EXPECT_DEATH(Array.Add(3), Message);
	EXPECT_DEATH(Array.Reserve(3), Message);
	EXPECT_DEATH(Array.Insert(0, 0), Message);
	EXPECT_DEATH((TArray<int32, TFixedAllocator<2>>{ 1, 2, 3 }), Message);
}

class FArrayInlineDifferentialTest : public FTrackedElementsTest
{
};

// Random edits that cross the inline count both ways, checked against std::vector: the values,
// that every element is where it was constructed, and that the storage is inline exactly when
// the array's room fits there.
TEST_F(FArrayInlineDifferentialTest, MatchesStdVectorUnderRandomOperations)
{
	constexpr int32 NumInlineHere = 6;
	std::mt19937 Random(20240917);
	TArray<FTracked, TInlineAllocator<NumInlineHere>> Array;
	std::vector<int32> Model;
	for (int32 Step = 0; Step < 20000; ++Step)
	{
		const int32 Value = (int32)(Random() % 100);
		const int32 Size = (int32)Model.size();
		const EAllowShrinking AllowShrinking = Random() % 2 ? EAllowShrinking::Yes : EAllowShrinking::No;
		switch (Random() % 10)
		{
		case 0:
		case 1:
			Array.Emplace(Value);
			Model.push_back(Value);
			break;
		case 2:
		{
			const int32 Index = (int32)(Random() % (Size + 1));
			Array.Insert(FTracked(Value), Index);
			Model.insert(Model.begin() + Index, Value);
			break;
		}
		case 3:
			if (Size > 0)
			{
				const int32 Index = (int32)(Random() % Size);
				const int32 Count = 1 + (int32)(Random() % (Size - Index));
				Array.RemoveAt(Index, Count, AllowShrinking);
				Model.erase(Model.begin() + Index, Model.begin() + Index + Count);
			}
			break;
		case 4:
			if (Size > 0)
			{
				const int32 Index = (int32)(Random() % Size);
				Array.RemoveAtSwap(Index, 1, AllowShrinking);
				Model[Index] = Model.back();
				Model.pop_back();
			}
			break;
		case 5:
		{
			const int32 NewNum = (int32)(Random() % (2 * NumInlineHere + 2));
			Array.SetNum(NewNum, AllowShrinking);
			Model.resize(NewNum, 0);
			break;
		}
		case 6:
			Array.Shrink();
			break;
		case 7:
			if (Random() % 4 == 0)
			{
				Array.Empty((int32)(Random() % (2 * NumInlineHere)));
				Model.clear();
			}
			else if (Random() % 2 == 0)
			{
				Array.Reset();
				Model.clear();
			}
			break;
		case 8:
		{
			TArray<FTracked, TInlineAllocator<NumInlineHere>> Moved(MoveTemp(Array));
			ASSERT_EQ(Array.Num(), 0);
			// The emptied source must own nothing of what moved.
			Array.Emplace(-1);
			Array.Empty();
			Array = MoveTemp(Moved);
			break;
		}
		default:
		{
			const TArray<FTracked, TInlineAllocator<NumInlineHere>> Copy(Array);
			Array.Append(Copy);
			const std::vector<int32> ModelCopy = Model;
			Model.insert(Model.end(), ModelCopy.begin(), ModelCopy.end());
			if (Model.size() > 40)
			{
				Array.SetNum(3);
				Model.resize(3);
			}
			break;
		}
		}
		ASSERT_EQ(ValuesOf(Array), Model) << "after step " << Step;
		ASSERT_TRUE(AllIntact(Array)) << "after step " << Step;
		ASSERT_EQ(FTracked::Live, Array.Num()) << "after step " << Step;
		ASSERT_GE(Array.Max(), Array.Num()) << "after step " << Step;
		ASSERT_EQ(UsesInlineStorage(Array), Array.Max() <= NumInlineHere) << "after step " << Step;
		ASSERT_EQ(Array.GetAllocatedSize() == 0, UsesInlineStorage(Array)) << "after step " << Step;
	}
}
