#include "TestWorld.h"

#include "EngineTestActors.h"
#include "EngineTestSubsystems.h"
#include "UObject/WeakObjectPtrTemplates.h"

#include <gtest/gtest.h>

TEST(TestWorld, MakesAGameWorldInPlayByDefault)
{
	FTestWorld World;

	ASSERT_NE(World.Get(), nullptr);
	EXPECT_EQ(World.operator->(), World.Get());
	EXPECT_EQ(World->WorldType, EWorldType::Game);
	EXPECT_TRUE(World->AreActorsInitialized());
	EXPECT_TRUE(World->HasBegunPlay());
	EXPECT_FALSE(World.IsDestroyed());
}

TEST(TestWorld, MakesAWorldOfTheGivenTypeThatWaitsForPlayWhenAsked)
{
	FTestWorld World(EWorldType::PIE, false);

	EXPECT_EQ(World->WorldType, EWorldType::PIE);
	EXPECT_TRUE(World->AreActorsInitialized());
	EXPECT_FALSE(World->HasBegunPlay());
}

TEST(TestWorld, SpawnsActorsUnderTheGivenName)
{
	FTestWorld World;

	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>(TEXT("Named"));

	ASSERT_NE(Actor, nullptr);
	EXPECT_EQ(Actor->GetFName(), FName(TEXT("Named")));
	EXPECT_EQ(Actor->GetWorld(), World.Get());
}

TEST(TestWorld, TicksOneFrameOfTheDefaultLength)
{
	FTestWorld World;
	UEngineTestTickableSubsystem* Subsystem = World->GetSubsystem<UEngineTestTickableSubsystem>();

	World.Tick();

	EXPECT_EQ(Subsystem->NumTicks, 1);
	EXPECT_FLOAT_EQ(Subsystem->LastDeltaTime, 0.016f);
}

TEST(TestWorld, DestroyTearsTheWorldDownAndLeavesCollectingToTheDestructor)
{
	TWeakObjectPtr<UEngineTestWorldSubsystem> WeakSubsystem;
	{
		FTestWorld World;
		UEngineTestWorldSubsystem* Subsystem = World->GetSubsystem<UEngineTestWorldSubsystem>();
		WeakSubsystem = Subsystem;

		World.Destroy();

		EXPECT_TRUE(World.IsDestroyed());
		EXPECT_EQ(Subsystem->NumDeinitialize, 1);
		EXPECT_NE(WeakSubsystem.Get(true), nullptr);
		EXPECT_EQ(World.Get()->GetSubsystem<UEngineTestWorldSubsystem>(), nullptr);
	}
	EXPECT_EQ(WeakSubsystem.Get(true), nullptr);
}
