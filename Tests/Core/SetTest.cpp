#include "Containers/Set.h"

#include "Containers/UnrealString.h"
#include "CoreTestSupport.h"
#include "Misc/Guid.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>
#include <vector>

namespace
{
	template <typename T>
	std::vector<T> InOrder(const TSet<T>& Set)
	{
		std::vector<T> Result;
		for (const T& Element : Set)
		{
			Result.push_back(Element);
		}
		return Result;
	}

	// Keys whose hashes all collide, so every lookup walks one bucket chain.
	struct FCollidingKey
	{
		int32 Value = 0;

		friend bool operator==(const FCollidingKey& A, const FCollidingKey& B)
		{
			return A.Value == B.Value;
		}

		friend uint32 GetTypeHash(const FCollidingKey&)
		{
			return 7;
		}
	};
}

TEST(SetUniquenessTest, AddingAnEqualElementLeavesOne)
{
	TSet<int32> Set;
	bool bAlreadyInSet = true;
	const FSetElementId First = Set.Add(5, &bAlreadyInSet);
	EXPECT_FALSE(bAlreadyInSet);
	const FSetElementId Second = Set.Add(5, &bAlreadyInSet);
	EXPECT_TRUE(bAlreadyInSet);
	EXPECT_EQ(First, Second);
	EXPECT_EQ(Set.Num(), 1);
}

TEST(SetUniquenessTest, AnEqualElementReplacesTheHeldOneInPlace)
{
	// FString equality ignores case, so the second spelling is "equal" and takes the place.
	TSet<FString> Set;
	Set.Add(TEXT("first"));
	const FSetElementId Id = Set.Add(TEXT("Mixed"));
	Set.Add(TEXT("last"));
	EXPECT_EQ(Set.Add(TEXT("MIXED")), Id);
	ASSERT_EQ(Set.Num(), 3);
	EXPECT_TRUE(Set[Id].Equals(TEXT("MIXED"), ESearchCase::CaseSensitive));
	const std::vector<FString> Order = InOrder(Set);
	EXPECT_TRUE(Order[1].Equals(TEXT("MIXED"), ESearchCase::CaseSensitive));
}

TEST(SetOrderTest, IterationFollowsStorageAndReusesFreedSlots)
{
	TSet<int32> Set = { 10, 20, 30, 40 };
	EXPECT_EQ(Set.Remove(20), 1);
	EXPECT_EQ(Set.Remove(20), 0);
	Set.Add(50);
	EXPECT_EQ(InOrder(Set), (std::vector<int32>{ 10, 50, 30, 40 }));
}

TEST(SetOrderTest, IteratorRemoveCurrentContinuesWithTheNext)
{
	TSet<int32> Set;
	for (int32 Index = 0; Index < 20; ++Index)
	{
		Set.Add(Index);
	}
	for (TSet<int32>::TIterator It = Set.CreateIterator(); It; ++It)
	{
		if (*It % 3 != 0)
		{
			It.RemoveCurrent();
		}
	}
	EXPECT_EQ(InOrder(Set), (std::vector<int32>{ 0, 3, 6, 9, 12, 15, 18 }));
	for (int32 Index = 0; Index < 20; ++Index)
	{
		EXPECT_EQ(Set.Contains(Index), Index % 3 == 0) << Index;
	}
}

TEST(SetLookupTest, FindAndContainsUseHashAndEquality)
{
	TSet<FString> Set = { TEXT("Alpha"), TEXT("Beta") };
	EXPECT_TRUE(Set.Contains(TEXT("alpha")));
	ASSERT_NE(Set.Find(TEXT("BETA")), nullptr);
	EXPECT_TRUE(Set.Find(TEXT("BETA"))->Equals(TEXT("Beta"), ESearchCase::CaseSensitive));
	EXPECT_EQ(Set.Find(TEXT("Gamma")), nullptr);
	EXPECT_FALSE(Set.FindId(TEXT("Gamma")).IsValidId());
}

TEST(SetLookupTest, CollidingHashesStillTellElementsApart)
{
	TSet<FCollidingKey> Set;
	for (int32 Index = 0; Index < 100; ++Index)
	{
		Set.Add(FCollidingKey{ Index });
	}
	for (int32 Index = 0; Index < 100; Index += 2)
	{
		ASSERT_EQ(Set.Remove(FCollidingKey{ Index }), 1);
	}
	EXPECT_EQ(Set.Num(), 50);
	for (int32 Index = 0; Index < 100; ++Index)
	{
		EXPECT_EQ(Set.Contains(FCollidingKey{ Index }), Index % 2 == 1) << Index;
	}
}

TEST(SetLookupTest, ManyGuidsAreAllFound)
{
	TSet<FGuid> Set;
	TArray<FGuid> Guids;
	for (int32 Index = 0; Index < 5000; ++Index)
	{
		Guids.Add(FGuid::NewGuid());
		Set.Add(Guids.Last());
	}
	EXPECT_EQ(Set.Num(), 5000);
	for (const FGuid& Guid : Guids)
	{
		ASSERT_TRUE(Set.Contains(Guid));
	}
	EXPECT_FALSE(Set.Contains(FGuid()));
}

TEST(SetStorageTest, ResetKeepsStorageAndEmptyReleasesIt)
{
	TSet<int32> Set;
	for (int32 Index = 0; Index < 100; ++Index)
	{
		Set.Add(Index);
	}
	const int32 Max = Set.Max();
	Set.Reset();
	EXPECT_EQ(Set.Num(), 0);
	EXPECT_EQ(Set.Max(), Max);
	EXPECT_FALSE(Set.Contains(5));
	Set.Add(5);
	EXPECT_TRUE(Set.Contains(5));

	Set.Empty();
	EXPECT_EQ(Set.Num(), 0);
	EXPECT_EQ(Set.Max(), 0);
	EXPECT_EQ(Set.GetAllocatedSize(), 0u);
	Set.Add(6);
	EXPECT_TRUE(Set.Contains(6));
}

TEST(SetAlgebraTest, UnionIntersectionDifferenceAndIncludes)
{
	const TSet<int32> A = { 1, 2, 3, 4 };
	const TSet<int32> B = { 3, 4, 5 };
	EXPECT_EQ(A.Union(B).Num(), 5);
	EXPECT_EQ(InOrder(A.Intersect(B)), (std::vector<int32>{ 3, 4 }));
	EXPECT_EQ(InOrder(A.Difference(B)), (std::vector<int32>{ 1, 2 }));
	EXPECT_TRUE(A.Includes(TSet<int32>{ 2, 3 }));
	EXPECT_FALSE(A.Includes(B));
	EXPECT_EQ(A.Array(), (TArray<int32>{ 1, 2, 3, 4 }));
}

TEST(SetDifferentialTest, MatchesASlotModelUnderRandomOperations)
{
	// The model keeps the order the engine's sets have: slots in index order, and a freed
	// slot goes to the next addition, the most recently freed first.
	std::vector<std::optional<int32>> Slots;
	std::vector<int32> FreeSlots;
	std::set<int32> Members;
	TSet<int32> Set;

	std::mt19937 Random(424242);
	for (int32 Step = 0; Step < 30000; ++Step)
	{
		const int32 Value = (int32)(Random() % 200);
		const uint32 Op = Random() % 10;
		if (Op < 5)
		{
			const FSetElementId Id = Set.Add(Value);
			if (!Members.count(Value))
			{
				int32 Slot;
				if (!FreeSlots.empty())
				{
					Slot = FreeSlots.back();
					FreeSlots.pop_back();
				}
				else
				{
					Slot = (int32)Slots.size();
					Slots.emplace_back();
				}
				Slots[Slot] = Value;
				Members.insert(Value);
				ASSERT_EQ(Id.AsInteger(), Slot);
			}
		}
		else if (Op < 8)
		{
			const int32 Expected = Members.erase(Value) ? 1 : 0;
			ASSERT_EQ(Set.Remove(Value), Expected);
			if (Expected)
			{
				for (int32 Slot = 0; Slot < (int32)Slots.size(); ++Slot)
				{
					if (Slots[Slot] == Value)
					{
						Slots[Slot].reset();
						FreeSlots.push_back(Slot);
					}
				}
			}
		}
		else if (Op == 8)
		{
			ASSERT_EQ(Set.Contains(Value), Members.count(Value) == 1);
		}
		else if (Random() % 40 == 0)
		{
			if (Random() % 2)
			{
				Set.Reset();
			}
			else
			{
				Set.Empty();
			}
			Slots.clear();
			FreeSlots.clear();
			Members.clear();
		}
		else if (Random() % 40 == 0)
		{
			Set.CompactStable();
			std::vector<std::optional<int32>> Compacted;
			for (const std::optional<int32>& Slot : Slots)
			{
				if (Slot)
				{
					Compacted.push_back(Slot);
				}
			}
			Slots = Compacted;
			FreeSlots.clear();
		}

		std::vector<int32> Expected;
		for (const std::optional<int32>& Slot : Slots)
		{
			if (Slot)
			{
				Expected.push_back(*Slot);
			}
		}
		ASSERT_EQ(Set.Num(), (int32)Members.size());
		ASSERT_EQ(InOrder(Set), Expected) << "after step " << Step;
	}
}

TEST(SetDeathTest, ChangingSizeDuringRangedForIsFatal)
{
	TSet<int32> Set = { 1, 2, 3 };
	auto Mutate = [&Set]()
	{
		for (const int32 Value : Set)
		{
			Set.Add(Value + 100);
		}
	};
	EXPECT_DEATH(Mutate(), "Container has changed during ranged-for iteration!");
}

TEST(SetDeathTest, RemovingAnInvalidIdIsFatal)
{
	TSet<int32> Set = { 1 };
	const FSetElementId Id = Set.FindId(1);
	Set.Remove(Id);
	EXPECT_DEATH(Set.Remove(Id), "Invalid set element id 0");
}
