#include "Tickable.h"

#include "Engine/World.h"
#include "TestWorld.h"
#include "Templates/Function.h"
#include "Templates/UniquePtr.h"

#include <gtest/gtest.h>

namespace
{
	class FTestTickable : public FTickableGameObject
	{
	public:
		explicit FTestTickable(UWorld* InWorld, ETickableTickType InTickType = ETickableTickType::Conditional, ETickableTickType RegistrationType = ETickableTickType::NewObject)
			: FTickableGameObject(RegistrationType)
			, World(InWorld)
			, TickType(InTickType)
		{
		}

		virtual void Tick(float DeltaTime) override
		{
			++NumTicks;
			LastDeltaTime = DeltaTime;
			if (OnTick)
			{
				OnTick();
			}
		}
		virtual TStatId GetStatId() const override
		{
			return TStatId();
		}
		virtual ETickableTickType GetTickableTickType() const override
		{
			return TickType;
		}
		virtual bool IsTickable() const override
		{
			return bTickable;
		}
		virtual bool IsAllowedToTick() const override
		{
			return bAllowed;
		}
		virtual UWorld* GetTickableGameObjectWorld() const override
		{
			return World;
		}
		virtual bool IsTickableWhenPaused() const override
		{
			return bTickableWhenPaused;
		}

		void ChangeTickType(ETickableTickType NewTickType)
		{
			TickType = NewTickType;
			SetTickableTickType(NewTickType);
		}

		UWorld* World = nullptr;
		ETickableTickType TickType;
		bool bTickable = true;
		bool bAllowed = true;
		bool bTickableWhenPaused = false;
		int32 NumTicks = 0;
		float LastDeltaTime = 0.f;
		TFunction<void()> OnTick;
	};

	void TickWorld(UWorld* World)
	{
		FTickableGameObject::TickObjects(World, LEVELTICK_All, false, 0.1f);
	}
}

TEST(TickableGameObject, AnObjectOfAWorldTicksWithThatWorldsTickOnly)
{
	FTestWorld World;
	FTestWorld OtherWorld;
	FTestTickable Tickable(World.Get());

	TickWorld(World.Get());
	TickWorld(OtherWorld.Get());
	TickWorld(nullptr);

	EXPECT_EQ(Tickable.NumTicks, 1);
	EXPECT_FLOAT_EQ(Tickable.LastDeltaTime, 0.1f);
}

TEST(TickableGameObject, AnObjectOfNoWorldTicksInTheTickOfNoWorld)
{
	FTestWorld World;
	FTestTickable Tickable(nullptr);

	TickWorld(World.Get());
	TickWorld(nullptr);

	EXPECT_EQ(Tickable.NumTicks, 1);
}

TEST(TickableGameObject, ConditionalObjectsTickOnlyWhileTickableAndAlwaysObjectsRegardless)
{
	FTestWorld World;
	FTestTickable Conditional(World.Get(), ETickableTickType::Conditional);
	FTestTickable Always(World.Get(), ETickableTickType::Always);
	Conditional.bTickable = false;
	Always.bTickable = false;

	TickWorld(World.Get());

	EXPECT_EQ(Conditional.NumTicks, 0);
	EXPECT_EQ(Always.NumTicks, 1);
}

TEST(TickableGameObject, ObjectsNotAllowedToTickNeverTick)
{
	FTestWorld World;
	FTestTickable Always(World.Get(), ETickableTickType::Always);
	Always.bAllowed = false;

	TickWorld(World.Get());

	EXPECT_EQ(Always.NumTicks, 0);
}

TEST(TickableGameObject, NeverObjectsAreNotTicked)
{
	FTestWorld World;
	FTestTickable ResolvedNever(World.Get(), ETickableTickType::Never);
	FTestTickable RegisteredNever(World.Get(), ETickableTickType::Conditional, ETickableTickType::Never);

	TickWorld(World.Get());
	ResolvedNever.TickType = ETickableTickType::Conditional;
	TickWorld(World.Get());

	EXPECT_EQ(ResolvedNever.NumTicks, 0);
	EXPECT_EQ(RegisteredNever.NumTicks, 0);
}

TEST(TickableGameObject, ChangingTheTickTypeRegistersAndUnregisters)
{
	FTestWorld World;
	FTestTickable Tickable(World.Get(), ETickableTickType::Conditional, ETickableTickType::Never);

	Tickable.ChangeTickType(ETickableTickType::Always);
	TickWorld(World.Get());
	Tickable.ChangeTickType(ETickableTickType::Never);
	TickWorld(World.Get());

	EXPECT_EQ(Tickable.NumTicks, 1);
}

TEST(TickableGameObject, OnlyTicksOfAllLevelsAndPausedTicksOfObjectsThatAskForThem)
{
	FTestWorld World;
	FTestTickable Tickable(World.Get());
	FTestTickable PausedTickable(World.Get());
	PausedTickable.bTickableWhenPaused = true;

	FTickableGameObject::TickObjects(World.Get(), LEVELTICK_TimeOnly, false, 0.1f);
	EXPECT_EQ(Tickable.NumTicks, 0);
	FTickableGameObject::TickObjects(World.Get(), LEVELTICK_All, true, 0.1f);

	EXPECT_EQ(Tickable.NumTicks, 0);
	EXPECT_EQ(PausedTickable.NumTicks, 1);
}

TEST(TickableGameObject, ObjectsRegisteredDuringAWalkTickFromTheNextWalk)
{
	FTestWorld World;
	FTestTickable First(World.Get());
	TUniquePtr<FTestTickable> Added;
	First.OnTick = [&]()
	{
		if (!Added)
		{
			Added = MakeUnique<FTestTickable>(World.Get());
		}
	};

	TickWorld(World.Get());
	ASSERT_TRUE(Added.IsValid());
	EXPECT_EQ(Added->NumTicks, 0);

	TickWorld(World.Get());
	EXPECT_EQ(Added->NumTicks, 1);
	EXPECT_EQ(First.NumTicks, 2);
}

TEST(TickableGameObject, ObjectsDestroyedDuringAWalkAreSkipped)
{
	FTestWorld World;
	FTestTickable First(World.Get());
	TUniquePtr<FTestTickable> Second = MakeUnique<FTestTickable>(World.Get());
	FTestTickable Third(World.Get());
	First.OnTick = [&]()
	{
		Second.Reset();
	};

	TickWorld(World.Get());
	TickWorld(World.Get());

	EXPECT_FALSE(Second.IsValid());
	EXPECT_EQ(First.NumTicks, 2);
	EXPECT_EQ(Third.NumTicks, 2);
}
