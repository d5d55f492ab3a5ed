#include "TimerManager.h"

#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "EngineTestAsyncActions.h"
#include "TestWorld.h"
#include "Tickable.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UObjectGlobals.h"

#include <gtest/gtest.h>

namespace
{
	class FTimerManagerTest : public testing::Test
	{
	protected:
		UEngineTestTimerTarget* NewTarget()
		{
			UEngineTestTimerTarget* Target = NewObject<UEngineTestTimerTarget>();
			Targets.Add(TStrongObjectPtr<UEngineTestTimerTarget>(Target));
			return Target;
		}

		FTimerManager TimerManager;
		TArray<TStrongObjectPtr<UEngineTestTimerTarget>> Targets;
	};
}

TEST_F(FTimerManagerTest, AOneShotTimerFiresOnceWhenItsDelayHasPassed)
{
	UEngineTestTimerTarget* Target = NewTarget();
	FTimerHandle Handle;
	TimerManager.SetTimer(Handle, Target, &UEngineTestTimerTarget::Fire, 1.f);
	EXPECT_TRUE(Handle.IsValid());
	EXPECT_TRUE(TimerManager.IsTimerActive(Handle));

	TimerManager.Tick(0.6f);
	EXPECT_EQ(Target->NumFired, 0);
	EXPECT_NEAR(TimerManager.GetTimerRemaining(Handle), 0.4f, 1e-5f);
	TimerManager.Tick(0.4f);
	EXPECT_EQ(Target->NumFired, 1);
	EXPECT_FALSE(TimerManager.IsTimerActive(Handle));
	EXPECT_FALSE(TimerManager.TimerExists(Handle));
	EXPECT_EQ(TimerManager.GetTimerRemaining(Handle), -1.f);
	TimerManager.Tick(5.f);
	EXPECT_EQ(Target->NumFired, 1);
}

TEST_F(FTimerManagerTest, ALoopingTimerFiresEveryPeriodAndCatchesUpOnALongTick)
{
	UEngineTestTimerTarget* Target = NewTarget();
	FTimerHandle Handle;
	TimerManager.SetTimer(Handle, Target, &UEngineTestTimerTarget::Fire, 1.f, true);

	TimerManager.Tick(1.f);
	EXPECT_EQ(Target->NumFired, 1);
	TimerManager.Tick(3.5f);
	EXPECT_EQ(Target->NumFired, 4);
	EXPECT_NEAR(TimerManager.GetTimerRemaining(Handle), 0.5f, 1e-5f);
	EXPECT_TRUE(TimerManager.IsTimerActive(Handle));
}

TEST_F(FTimerManagerTest, TheFirstDelayReplacesTheRateForTheFirstCallOnly)
{
	UEngineTestTimerTarget* Target = NewTarget();
	FTimerHandle Handle;
	TimerManager.SetTimer(Handle, Target, &UEngineTestTimerTarget::Fire, 1.f, true, 0.25f);
	TimerManager.Tick(0.25f);
	EXPECT_EQ(Target->NumFired, 1);
	TimerManager.Tick(0.5f);
	EXPECT_EQ(Target->NumFired, 1);
	TimerManager.Tick(0.5f);
	EXPECT_EQ(Target->NumFired, 2);
}

TEST_F(FTimerManagerTest, ClearingRemovesTheTimerAndInvalidatesTheHandle)
{
	UEngineTestTimerTarget* Target = NewTarget();
	FTimerHandle Handle;
	TimerManager.SetTimer(Handle, Target, &UEngineTestTimerTarget::Fire, 1.f, true);
	const FTimerHandle Copy = Handle;
	TimerManager.ClearTimer(Handle);
	EXPECT_FALSE(Handle.IsValid());
	EXPECT_FALSE(TimerManager.TimerExists(Copy));
	TimerManager.Tick(10.f);
	EXPECT_EQ(Target->NumFired, 0);
}

TEST_F(FTimerManagerTest, ARateOfZeroOnlyClearsTheHandlesTimer)
{
	UEngineTestTimerTarget* Target = NewTarget();
	FTimerHandle Handle;
	TimerManager.SetTimer(Handle, Target, &UEngineTestTimerTarget::Fire, 1.f);
	const FTimerHandle Old = Handle;
	TimerManager.SetTimer(Handle, Target, &UEngineTestTimerTarget::Fire, 0.f);
	EXPECT_FALSE(Handle.IsValid());
	EXPECT_FALSE(TimerManager.TimerExists(Old));
	TimerManager.Tick(2.f);
	EXPECT_EQ(Target->NumFired, 0);
}

TEST_F(FTimerManagerTest, SettingAValidHandleAgainReplacesItsTimer)
{
	UEngineTestTimerTarget* First = NewTarget();
	UEngineTestTimerTarget* Second = NewTarget();
	FTimerHandle Handle;
	TimerManager.SetTimer(Handle, First, &UEngineTestTimerTarget::Fire, 1.f);
	const FTimerHandle Old = Handle;
	TimerManager.SetTimer(Handle, Second, &UEngineTestTimerTarget::Fire, 2.f);
	EXPECT_TRUE(Handle.IsValid());
	EXPECT_FALSE(Handle == Old);
	EXPECT_FALSE(TimerManager.TimerExists(Old));
	TimerManager.Tick(2.f);
	EXPECT_EQ(First->NumFired, 0);
	EXPECT_EQ(Second->NumFired, 1);
}

TEST_F(FTimerManagerTest, ATimerWhoseObjectIsGoneIsDroppedWithoutACall)
{
	UEngineTestTimerTarget* Target = NewTarget();
	FTimerHandle Handle;
	TimerManager.SetTimer(Handle, Target, &UEngineTestTimerTarget::Fire, 1.f, true);
	Targets.Reset();
	Target->MarkAsGarbage();
	TimerManager.Tick(3.f);
	EXPECT_EQ(Target->NumFired, 0);
	EXPECT_FALSE(TimerManager.TimerExists(Handle));
}

TEST_F(FTimerManagerTest, TimersDueInOneTickFireEarliestFirstThenInTheOrderTheyWereSet)
{
	TArray<int32> Order;
	FTimerHandle Late;
	FTimerHandle TiedFirst;
	FTimerHandle TiedSecond;
	TimerManager.SetTimer(Late, [&Order]() { Order.Add(3); }, 0.9f, false);
	TimerManager.SetTimer(TiedFirst, [&Order]() { Order.Add(1); }, 0.5f, false);
	TimerManager.SetTimer(TiedSecond, [&Order]() { Order.Add(2); }, 0.5f, false);
	TimerManager.Tick(1.f);
	EXPECT_EQ(Order, (TArray<int32>{ 1, 2, 3 }));
}

TEST_F(FTimerManagerTest, ATimerSetDuringATickWaitsForTheNextTick)
{
	int32 NumInner = 0;
	FTimerHandle Outer;
	FTimerHandle Inner;
	TimerManager.SetTimer(Outer, [this, &Inner, &NumInner]()
	{
		TimerManager.SetTimer(Inner, [&NumInner]() { ++NumInner; }, 1.f, false, 0.f);
	}, 1.f, false);
	TimerManager.Tick(1.f);
	EXPECT_EQ(NumInner, 0);
	EXPECT_TRUE(TimerManager.IsTimerActive(Inner));
	TimerManager.Tick(0.f);
	EXPECT_EQ(NumInner, 1);
}

TEST_F(FTimerManagerTest, AOneShotTimerCountsAsActiveWhileItRuns)
{
	bool bActiveInside = false;
	FTimerHandle Handle;
	TimerManager.SetTimer(Handle, [this, &Handle, &bActiveInside]()
	{
		bActiveInside = TimerManager.IsTimerActive(Handle);
	}, 1.f, false);
	TimerManager.Tick(1.f);
	EXPECT_TRUE(bActiveInside);
	EXPECT_FALSE(TimerManager.IsTimerActive(Handle));
}

TEST_F(FTimerManagerTest, ALoopingTimerClearedByItsOwnCallStopsCatchingUp)
{
	int32 NumCalls = 0;
	FTimerHandle Handle;
	TimerManager.SetTimer(Handle, [this, &Handle, &NumCalls]()
	{
		++NumCalls;
		EXPECT_TRUE(TimerManager.IsTimerActive(Handle));
		TimerManager.ClearTimer(Handle);
	}, 1.f, true);
	TimerManager.Tick(5.f);
	EXPECT_EQ(NumCalls, 1);
	EXPECT_FALSE(Handle.IsValid());
}

TEST_F(FTimerManagerTest, DelegatesAndFunctionsAreTimersToo)
{
	int32 NumDelegateCalls = 0;
	int32 NumFunctionCalls = 0;
	FTimerHandle DelegateHandle;
	FTimerHandle FunctionHandle;
	TimerManager.SetTimer(DelegateHandle, FTimerDelegate::CreateLambda([&NumDelegateCalls]() { ++NumDelegateCalls; }), 0.5f, true);
	TimerManager.SetTimer(FunctionHandle, [&NumFunctionCalls]() { ++NumFunctionCalls; }, 0.5f, false);
	TimerManager.Tick(1.f);
	EXPECT_EQ(NumDelegateCalls, 2);
	EXPECT_EQ(NumFunctionCalls, 1);

	FTimerHandle Unbound;
	TimerManager.SetTimer(Unbound, FTimerDelegate(), 1.f, false);
	EXPECT_FALSE(Unbound.IsValid());
}

namespace
{
	// Records its tick in a shared log, so that a test sees it beside the world's timers.
	class FLoggingTickable : public FTickableGameObject
	{
	public:
		FLoggingTickable(UWorld* InWorld, TArray<FString>& InLog)
			: World(InWorld)
			, Log(InLog)
		{
		}

		virtual void Tick(float) override
		{
			Log.Add(TEXT("tickable"));
		}
		virtual TStatId GetStatId() const override
		{
			return TStatId();
		}
		virtual UWorld* GetTickableGameObjectWorld() const override
		{
			return World;
		}

	private:
		UWorld* World;
		TArray<FString>& Log;
	};
}

TEST(WorldTimerTest, AWorldTicksItsTimersBeforeItsTickableObjects)
{
	FTestWorld World;
	TArray<FString> Log;
	FLoggingTickable Tickable(World.Get(), Log);
	FTimerHandle Handle;
	World->GetTimerManager().SetTimer(Handle, [&Log]() { Log.Add(TEXT("timer")); }, 0.01f, false);
	World.Tick(0.016f);
	EXPECT_EQ(Log, (TArray<FString>{ TEXT("timer"), TEXT("tickable") }));
}

TEST(WorldTimerTest, AWorldWithAGameInstanceUsesTheInstancesTimers)
{
	FTestWorld World;
	FTimerManager& Own = World->GetTimerManager();
	UGameInstance* GameInstance = NewObject<UGameInstance>();
	World->SetGameInstance(GameInstance);
	EXPECT_EQ(&World->GetTimerManager(), &GameInstance->GetTimerManager());
	EXPECT_NE(&World->GetTimerManager(), &Own);

	int32 NumCalls = 0;
	FTimerHandle Handle;
	GameInstance->GetTimerManager().SetTimer(Handle, [&NumCalls]() { ++NumCalls; }, 0.01f, false);
	World.Tick(0.016f);
	EXPECT_EQ(NumCalls, 1);
}

TEST(WorldTimerTest, ATornDownWorldFiresNoTimer)
{
	FTestWorld World;
	int32 NumCalls = 0;
	FTimerHandle Handle;
	World->GetTimerManager().SetTimer(Handle, [&NumCalls]() { ++NumCalls; }, 0.01f, false);
	World.Destroy();
	World.Tick(1.f);
	EXPECT_EQ(NumCalls, 0);
}

TEST(TimerManagerDeathTest, ATimerOnNoObjectIsFatal)
{
	FTimerManager TimerManager;
	FTimerHandle Handle;
	UEngineTestTimerTarget* NoTarget = nullptr;
	EXPECT_DEATH(TimerManager.SetTimer(Handle, NoTarget, &UEngineTestTimerTarget::Fire, 1.f), "Assertion failed: InObj != nullptr && InTimerMethod != nullptr");
}
