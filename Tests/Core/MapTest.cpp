#include "Containers/Map.h"

#include "Containers/UnrealString.h"
#include "CoreTestSupport.h"
#include "Misc/Guid.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <utility>
#include <vector>

using CoreTests::FTracked;

namespace
{
	template <typename K, typename V>
	std::vector<std::pair<K, V>> InOrder(const TMap<K, V>& Map)
	{
		std::vector<std::pair<K, V>> Result;
		for (const TPair<K, V>& Pair : Map)
		{
			Result.emplace_back(Pair.Key, Pair.Value);
		}
		return Result;
	}

	using FIntPairs = std::vector<std::pair<int32, int32>>;
}

TEST(MapOrderTest, AnExistingKeyKeepsItsPlaceAndTakesTheNewValue)
{
	TMap<int32, int32> Map;
	Map.Add(1, 10);
	Map.Add(2, 20);
	Map.Add(3, 30);
	EXPECT_EQ(Map.Add(2, 21), 21);
	EXPECT_EQ(Map.Num(), 3);
	EXPECT_EQ(InOrder(Map), (FIntPairs{ { 1, 10 }, { 2, 21 }, { 3, 30 } }));
}

TEST(MapOrderTest, ARemovedPairsSlotGoesToTheNextAddition)
{
	TMap<int32, int32> Map;
	for (int32 Key = 0; Key < 5; ++Key)
	{
		Map.Add(Key, Key * 10);
	}
	EXPECT_EQ(Map.Remove(1), 1);
	EXPECT_EQ(Map.Remove(3), 1);
	EXPECT_EQ(Map.Remove(3), 0);
	Map.Add(7, 70);
	Map.Add(8, 80);
	Map.Add(9, 90);
	EXPECT_EQ(InOrder(Map), (FIntPairs{ { 0, 0 }, { 8, 80 }, { 2, 20 }, { 7, 70 }, { 4, 40 }, { 9, 90 } }));
}

TEST(MapOrderTest, KeysAndValuesComeOutInIterationOrder)
{
	TMap<FString, int32> Map;
	Map.Add(TEXT("c"), 3);
	Map.Add(TEXT("a"), 1);
	Map.Add(TEXT("b"), 2);
	TArray<FString> Keys;
	Map.GenerateKeyArray(Keys);
	TArray<int32> Values;
	Map.GenerateValueArray(Values);
	EXPECT_EQ(Keys, (TArray<FString>{ TEXT("c"), TEXT("a"), TEXT("b") }));
	EXPECT_EQ(Values, (TArray<int32>{ 3, 1, 2 }));
	Map.KeySort([](const FString& A, const FString& B) { return A < B; });
	Map.GenerateValueArray(Values);
	EXPECT_EQ(Values, (TArray<int32>{ 1, 2, 3 }));
}

TEST(MapLookupTest, FindGivesNullAndFindRefTheDefaultWhenAbsent)
{
	TMap<FGuid, int32> Map;
	const FGuid Present(1, 2, 3, 4);
	Map.Add(Present, 9);
	ASSERT_NE(Map.Find(Present), nullptr);
	EXPECT_EQ(*Map.Find(Present), 9);
	EXPECT_EQ(Map.Find(FGuid(4, 3, 2, 1)), nullptr);
	EXPECT_EQ(Map.FindRef(FGuid(4, 3, 2, 1)), 0);
	EXPECT_EQ(Map.FindRef(Present), 9);
	EXPECT_TRUE(Map.Contains(Present));
	EXPECT_EQ(Map[Present], 9);
}

TEST(MapLookupTest, StringKeysIgnoreCase)
{
	TMap<FString, int32> Map;
	Map.Add(TEXT("Key"), 1);
	EXPECT_EQ(Map.FindRef(TEXT("KEY")), 1);
	Map.Add(TEXT("kEy"), 2);
	EXPECT_EQ(Map.Num(), 1);
	EXPECT_EQ(Map.FindRef(TEXT("key")), 2);
}

TEST(MapLookupTest, FindOrAddAddsOnlyWhenAbsent)
{
	TMap<int32, FString> Map;
	FString& Added = Map.FindOrAdd(4);
	EXPECT_TRUE(Added.IsEmpty());
	Added = TEXT("four");
	EXPECT_EQ(Map.FindOrAdd(4), FString(TEXT("four")));
	EXPECT_EQ(Map.FindOrAdd(5, TEXT("five")), FString(TEXT("five")));
	EXPECT_EQ(Map.FindOrAdd(5, TEXT("other")), FString(TEXT("five")));
	EXPECT_EQ(Map.Num(), 2);
}

TEST(MapRemovalTest, RemoveAndCopyValueHandsTheValueOver)
{
	TMap<int32, FString> Map;
	Map.Add(1, TEXT("one"));
	FString Removed;
	EXPECT_TRUE(Map.RemoveAndCopyValue(1, Removed));
	EXPECT_EQ(Removed, FString(TEXT("one")));
	EXPECT_FALSE(Map.RemoveAndCopyValue(1, Removed));
	EXPECT_TRUE(Map.IsEmpty());
	Map.Add(2, TEXT("two"));
	EXPECT_EQ(Map.FindAndRemoveChecked(2), FString(TEXT("two")));
	EXPECT_FALSE(Map.Contains(2));
}

TEST(MapRemovalTest, IteratorRemoveCurrentKeepsIterating)
{
	TMap<int32, int32> Map;
	for (int32 Key = 0; Key < 10; ++Key)
	{
		Map.Add(Key, Key);
	}
	int32 Visited = 0;
	for (TMap<int32, int32>::TIterator It = Map.CreateIterator(); It; ++It)
	{
		++Visited;
		if (It.Key() % 2 == 0)
		{
			It.RemoveCurrent();
		}
	}
	EXPECT_EQ(Visited, 10);
	EXPECT_EQ(InOrder(Map), (FIntPairs{ { 1, 1 }, { 3, 3 }, { 5, 5 }, { 7, 7 }, { 9, 9 } }));
}

TEST(MapStorageTest, ResetKeepsStorageAndEmptyReleasesIt)
{
	TMap<int32, int32> Map;
	for (int32 Key = 0; Key < 64; ++Key)
	{
		Map.Add(Key, Key);
	}
	const int32 Max = Map.Max();
	Map.Reset();
	EXPECT_EQ(Map.Num(), 0);
	EXPECT_EQ(Map.Max(), Max);
	EXPECT_EQ(Map.Find(3), nullptr);
	Map.Add(3, 4);
	EXPECT_EQ(Map.FindRef(3), 4);
	Map.Empty();
	EXPECT_EQ(Map.Num(), 0);
	EXPECT_EQ(Map.Max(), 0);
}

TEST(MapStorageTest, ValuesLiveExactlyAsLongAsTheirPairs)
{
	ASSERT_EQ(FTracked::Live, 0);
	{
		TMap<int32, FTracked> Map;
		for (int32 Key = 0; Key < 100; ++Key)
		{
			Map.Add(Key, FTracked(Key));
		}
		for (int32 Key = 0; Key < 100; Key += 4)
		{
			Map.Remove(Key);
		}
		Map.Add(1, FTracked(-5));
		EXPECT_EQ(FTracked::Live, Map.Num());
		TMap<int32, FTracked> Copy = Map;
		EXPECT_EQ(FTracked::Live, 2 * Map.Num());
		for (const TPair<int32, FTracked>& Pair : Copy)
		{
			EXPECT_TRUE(Pair.Value.IsIntact());
			EXPECT_EQ(Pair.Value.Value, Pair.Key == 1 ? -5 : Pair.Key);
		}
	}
	EXPECT_EQ(FTracked::Live, 0);
}

TEST(MapDifferentialTest, MatchesASlotModelUnderRandomOperations)
{
	std::vector<std::optional<std::pair<int32, int32>>> Slots;
	std::vector<int32> FreeSlots;
	std::map<int32, int32> Model;
	TMap<int32, int32> Map;

	auto FindSlot = [&Slots](int32 Key) -> int32
	{
		for (int32 Slot = 0; Slot < (int32)Slots.size(); ++Slot)
		{
			if (Slots[Slot] && Slots[Slot]->first == Key)
			{
				return Slot;
			}
		}
		return INDEX_NONE;
	};
	auto AddToModel = [&](int32 Key, int32 Value)
	{
		const int32 Existing = FindSlot(Key);
		if (Existing != INDEX_NONE)
		{
			Slots[Existing]->second = Value;
		}
		else if (!FreeSlots.empty())
		{
			Slots[FreeSlots.back()] = std::make_pair(Key, Value);
			FreeSlots.pop_back();
		}
		else
		{
			Slots.emplace_back(std::make_pair(Key, Value));
		}
		Model[Key] = Value;
	};

	std::mt19937 Random(99991);
	for (int32 Step = 0; Step < 30000; ++Step)
	{
		const int32 Key = (int32)(Random() % 150);
		const int32 Value = (int32)(Random() % 1000);
		switch (Random() % 9)
		{
		case 0:
		case 1:
		case 2:
			ASSERT_EQ(Map.Add(Key, Value), Value);
			AddToModel(Key, Value);
			break;
		case 3:
		{
			int32& Found = Map.FindOrAdd(Key);
			const auto It = Model.find(Key);
			ASSERT_EQ(Found, It == Model.end() ? 0 : It->second);
			if (It == Model.end())
			{
				AddToModel(Key, 0);
			}
			break;
		}
		case 4:
		case 5:
		{
			const int32 Slot = FindSlot(Key);
			ASSERT_EQ(Map.Remove(Key), Slot != INDEX_NONE ? 1 : 0);
			if (Slot != INDEX_NONE)
			{
				Slots[Slot].reset();
				FreeSlots.push_back(Slot);
				Model.erase(Key);
			}
			break;
		}
		case 6:
		{
			const int32* Found = Map.Find(Key);
			const auto It = Model.find(Key);
			ASSERT_EQ(Found != nullptr, It != Model.end());
			if (Found)
			{
				ASSERT_EQ(*Found, It->second);
			}
			break;
		}
		case 7:
			if (Random() % 50 == 0)
			{
				Map.Reset();
				Slots.clear();
				FreeSlots.clear();
				Model.clear();
			}
			break;
		default:
			if (Random() % 50 == 0)
			{
				Map.CompactStable();
				std::erase_if(Slots, [](const auto& Slot) { return !Slot.has_value(); });
				FreeSlots.clear();
			}
			break;
		}

		FIntPairs Expected;
		for (const auto& Slot : Slots)
		{
			if (Slot)
			{
				Expected.push_back(*Slot);
			}
		}
		ASSERT_EQ(Map.Num(), (int32)Model.size());
		ASSERT_EQ(InOrder(Map), Expected) << "after step " << Step;
	}
}

TEST(MapDeathTest, FindCheckedOfAMissingKeyIsFatal)
{
	TMap<int32, int32> Map;
	Map.Add(1, 1);
	EXPECT_DEATH(Map.FindChecked(2), CoreTests::RegexEscape("Assertion failed: Found != nullptr"));
	EXPECT_DEATH(Map[3] = 4, CoreTests::RegexEscape("Assertion failed: Found != nullptr"));
	EXPECT_DEATH(Map.FindAndRemoveChecked(2), CoreTests::RegexEscape("Assertion failed: Id.IsValidId()"));
}
