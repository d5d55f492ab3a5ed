#include "Stats/Stats.h"

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using CoreTests::ToStd;

namespace
{
	// Stands for a tickable object, whose GetStatId body is the quick declaration.
	class FTickingThing
	{
	public:
		TStatId GetStatId() const
		{
			RETURN_QUICK_DECLARE_CYCLE_STAT(FTickingThing, STATGROUP_Tickables);
		}
	};

	class FOtherTickingThing
	{
	public:
		TStatId GetStatId() const
		{
			RETURN_QUICK_DECLARE_CYCLE_STAT(FOtherTickingThing, STATGROUP_Tickables);
		}
	};

	DECLARE_CYCLE_STAT(TEXT("Declared stat"), STAT_DeclaredForTest, STATGROUP_Game);
}

TEST(StatIdTest, DefaultIdIsInvalid)
{
	const TStatId Id;
	EXPECT_FALSE(Id.IsValidStat());
	EXPECT_EQ(Id.GetName(), NAME_None);
	EXPECT_EQ(Id.GetDescription(), nullptr);
	EXPECT_EQ(Id, TStatId());
}

TEST(StatIdTest, QuickDeclaredStatIsNamedAfterItsOwnerInItsGroup)
{
	const TStatId Id = FTickingThing().GetStatId();
	ASSERT_TRUE(Id.IsValidStat());
	EXPECT_EQ(ToStd(Id.GetName().ToString()), "FTickingThing");
	EXPECT_EQ(ToStd(Id.GetDescription()->Group.ToString()), "STATGROUP_Tickables");
	EXPECT_EQ(ToStd(Id.GetDescription()->Category.ToString()), "STATCAT_Advanced");
}

TEST(StatIdTest, TheStatIsMadeOnceAndReused)
{
	const TStatId First = FTickingThing().GetStatId();
	const TStatId Second = FTickingThing().GetStatId();
	EXPECT_EQ(First, Second);
	EXPECT_EQ(GetTypeHash(First), GetTypeHash(Second));
	EXPECT_EQ(TStatId(FStatRegistry::FindOrAddCycleStat(TEXT("FTickingThing"), TEXT("STATGROUP_Tickables"), TEXT("STATCAT_Advanced"))), First);
	EXPECT_NE(FOtherTickingThing().GetStatId(), First);
	// The same name in another group is another stat.
	EXPECT_NE(TStatId(FStatRegistry::FindOrAddCycleStat(TEXT("FTickingThing"), TEXT("STATGROUP_Game"), TEXT("STATCAT_Advanced"))), First);
}

TEST(StatIdTest, DeclaredCycleStatHasItsIdName)
{
	const TStatId Id = GET_STATID(STAT_DeclaredForTest);
	ASSERT_TRUE(Id.IsValidStat());
	EXPECT_EQ(Id, GET_STATID(STAT_DeclaredForTest));
	EXPECT_EQ(GET_STATFNAME(STAT_DeclaredForTest), FName(TEXT("STAT_DeclaredForTest")));
	EXPECT_EQ(ToStd(Id.GetDescription()->Group.ToString()), "STATGROUP_Game");
}

TEST(StatIdTest, ConcurrentFirstUseGivesOneStat)
{
	constexpr int32 NumThreads = 4;
	std::vector<const FStatDescription*> Results(NumThreads * 100);
	std::atomic<bool> bGo = false;
	std::vector<std::thread> Threads;
	for (int32 Thread = 0; Thread < NumThreads; ++Thread)
	{
		Threads.emplace_back([&, Thread]()
		{
			while (!bGo)
			{
			}
			for (int32 Index = 0; Index < 100; ++Index)
			{
				Results[Thread * 100 + Index] = FStatRegistry::FindOrAddCycleStat(*FString::Printf(TEXT("Raced%d"), Index), TEXT("STATGROUP_Quick"), TEXT("STATCAT_Advanced"));
			}
		});
	}
	bGo = true;
	for (std::thread& Thread : Threads)
	{
		Thread.join();
	}
	for (int32 Index = 0; Index < 100; ++Index)
	{
		for (int32 Thread = 1; Thread < NumThreads; ++Thread)
		{
			ASSERT_EQ(Results[Thread * 100 + Index], Results[Index]);
		}
		ASSERT_EQ(ToStd(Results[Index]->Name.ToString()), ToStd(FString::Printf(TEXT("Raced%d"), Index)));
	}
}
