#include "Containers/Array.h"

#include "Containers/UnrealString.h"
#include "CoreTestSupport.h"

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
