#include "Subsystems/WorldSubsystem.h"

#include "Engine/World.h"
#include "EngineTestSubsystems.h"
#include "TestWorld.h"
#include "Tickable.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
	struct FWorldTypeCase
	{
		const char* Name;
		EWorldType::Type Type;
		bool bDefaultSubsystems;
		bool bPreviewSubsystem;
	};

	class WorldSubsystemTypes : public testing::TestWithParam<FWorldTypeCase>
	{
	};
}

TEST_P(WorldSubsystemTypes, AWorldHasTheSubsystemsThatSupportItsType)
{
	const FWorldTypeCase& Case = GetParam();
	FTestWorld World(Case.Type);

	EXPECT_EQ(World->GetSubsystem<UEngineTestWorldSubsystem>() != nullptr, Case.bDefaultSubsystems);
	EXPECT_EQ(World->GetSubsystem<UEngineTestTickableSubsystem>() != nullptr, Case.bDefaultSubsystems);
	EXPECT_EQ(World->GetSubsystem<UEngineTestDependentSubsystem>() != nullptr, Case.bDefaultSubsystems);
	EXPECT_EQ(World->GetSubsystem<UEngineTestConcreteSubsystem>() != nullptr, Case.bDefaultSubsystems);
	EXPECT_EQ(World->GetSubsystem<UEngineTestPreviewOnlySubsystem>() != nullptr, Case.bPreviewSubsystem);
}

INSTANTIATE_TEST_SUITE_P(EveryWorldType, WorldSubsystemTypes,
	testing::Values(
		FWorldTypeCase{"None", EWorldType::None, false, false},
		FWorldTypeCase{"Game", EWorldType::Game, true, false},
		FWorldTypeCase{"Editor", EWorldType::Editor, true, false},
		FWorldTypeCase{"PIE", EWorldType::PIE, true, false},
		FWorldTypeCase{"EditorPreview", EWorldType::EditorPreview, false, true},
		FWorldTypeCase{"GamePreview", EWorldType::GamePreview, false, false},
		FWorldTypeCase{"GameRPC", EWorldType::GameRPC, false, false},
		FWorldTypeCase{"Inactive", EWorldType::Inactive, false, false}),
	[](const testing::TestParamInfo<FWorldTypeCase>& Info) { return std::string(Info.param.Name); });

TEST(WorldSubsystemLifecycle, ASubsystemInitializesPostInitializesAndSeesTheWorldBeginPlayOnce)
{
	FTestWorld World;
	UEngineTestWorldSubsystem* Subsystem = World->GetSubsystem<UEngineTestWorldSubsystem>();
	ASSERT_NE(Subsystem, nullptr);

	EXPECT_EQ(Subsystem->NumInitialize, 1);
	EXPECT_EQ(Subsystem->NumPostInitialize, 1);
	EXPECT_EQ(Subsystem->NumWorldBeginPlay, 1);
	EXPECT_EQ(Subsystem->NumDeinitialize, 0);
	EXPECT_EQ(Subsystem->GetWorld(), World.Get());
	EXPECT_EQ(&Subsystem->GetWorldRef(), World.Get());
}

TEST(WorldSubsystemLifecycle, PostInitializeComesOnceEverySubsystemOfTheWorldIsInitialized)
{
	FTestWorld World;
	UEngineTestWorldSubsystem* Subsystem = World->GetSubsystem<UEngineTestWorldSubsystem>();
	ASSERT_NE(Subsystem, nullptr);

	EXPECT_TRUE(Subsystem->bEveryOtherSubsystemInitializedAtPostInitialize);
}

TEST(WorldSubsystemLifecycle, AWorldThatNeverBeginsPlayNeverTellsItsSubsystems)
{
	FTestWorld World(EWorldType::Game, false);
	UEngineTestWorldSubsystem* Subsystem = World->GetSubsystem<UEngineTestWorldSubsystem>();

	World.Destroy();

	EXPECT_EQ(Subsystem->NumWorldBeginPlay, 0);
	EXPECT_EQ(Subsystem->NumDeinitialize, 1);
}

TEST(WorldSubsystemLifecycle, TheClassDefaultObjectHasNoWorld)
{
	const UEngineTestWorldSubsystem* Default = GetDefault<UEngineTestWorldSubsystem>();

	EXPECT_EQ(Default->GetWorld(), nullptr);
	EXPECT_DEATH(Default->GetWorldRef(), "Cast of Package /Script/EngineTests to World failed");
}

TEST(TickableWorldSubsystem, TicksOnceForEachTickOfItsWorld)
{
	FTestWorld World;
	UEngineTestTickableSubsystem* Subsystem = World->GetSubsystem<UEngineTestTickableSubsystem>();
	ASSERT_NE(Subsystem, nullptr);
	EXPECT_TRUE(Subsystem->IsInitialized());
	EXPECT_TRUE(Subsystem->IsAllowedToTick());
	EXPECT_EQ(Subsystem->GetTickableTickType(), ETickableTickType::Conditional);
	EXPECT_EQ(Subsystem->GetTickableGameObjectWorld(), World.Get());

	World.Tick(0.5f);
	World.Tick(0.25f);

	EXPECT_EQ(Subsystem->NumTicks, 2);
	EXPECT_FLOAT_EQ(Subsystem->LastDeltaTime, 0.25f);
}

TEST(TickableWorldSubsystem, TicksOnlyWithItsOwnWorld)
{
	FTestWorld World;
	FTestWorld OtherWorld;
	UEngineTestTickableSubsystem* Subsystem = World->GetSubsystem<UEngineTestTickableSubsystem>();
	UEngineTestTickableSubsystem* OtherSubsystem = OtherWorld->GetSubsystem<UEngineTestTickableSubsystem>();

	World.Tick();

	EXPECT_EQ(Subsystem->NumTicks, 1);
	EXPECT_EQ(OtherSubsystem->NumTicks, 0);
}

TEST(TickableWorldSubsystem, StopsTickingOnceDeinitialized)
{
	FTestWorld World;
	UEngineTestTickableSubsystem* Subsystem = World->GetSubsystem<UEngineTestTickableSubsystem>();
	World.Tick();

	World.Destroy();
	// The destroyed world no longer ticks at all, so walk the tickable objects for it directly.
	FTickableGameObject::TickObjects(World.Get(), LEVELTICK_All, false, 0.1f);

	EXPECT_EQ(Subsystem->NumTicks, 1);
	EXPECT_FALSE(Subsystem->IsInitialized());
	EXPECT_FALSE(Subsystem->IsAllowedToTick());
}

TEST(TickableWorldSubsystem, TheClassDefaultObjectNeverTicks)
{
	const UEngineTestTickableSubsystem* Default = GetDefault<UEngineTestTickableSubsystem>();

	EXPECT_EQ(Default->GetTickableTickType(), ETickableTickType::Never);
	EXPECT_FALSE(Default->IsAllowedToTick());
	EXPECT_EQ(Default->GetTickableGameObjectWorld(), nullptr);
}

TEST(TickableWorldSubsystem, NamesItsCycleStatAmongTheTickables)
{
	FTestWorld World;
	const TStatId StatId = World->GetSubsystem<UEngineTestTickableSubsystem>()->GetStatId();

	ASSERT_TRUE(StatId.IsValidStat());
	EXPECT_EQ(StatId.GetName(), FName(TEXT("UEngineTestTickableSubsystem")));
	EXPECT_EQ(StatId.GetDescription()->Group, FName(TEXT("STATGROUP_Tickables")));
}

TEST(TickableWorldSubsystem, InitializingTwiceIsFatal)
{
	FTestWorld World;
	UEngineTestTickableSubsystem* Subsystem = World->GetSubsystem<UEngineTestTickableSubsystem>();
	FObjectSubsystemCollection<UWorldSubsystem> Collection;

	EXPECT_DEATH(Subsystem->Initialize(Collection), "Initialize called twice without Deinitialize");
}

TEST(TickableWorldSubsystem, DeinitializingTwiceIsFatal)
{
	FTestWorld World;
	UEngineTestTickableSubsystem* Subsystem = World->GetSubsystem<UEngineTestTickableSubsystem>();
	World.Destroy();

	EXPECT_DEATH(Subsystem->Deinitialize(), "Deinitialize called without Initialize");
}

TEST(TickableWorldSubsystem, TickingWhileNotInitializedIsFatal)
{
	FTestWorld World;
	UEngineTestTickableSubsystem* Subsystem = World->GetSubsystem<UEngineTestTickableSubsystem>();
	World.Destroy();

	EXPECT_DEATH(Subsystem->Tick(0.f), "Ticking should have been disabled for an uninitialized subsystem");
}
