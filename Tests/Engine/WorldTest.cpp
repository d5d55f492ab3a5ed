#include "Engine/World.h"

#include "Engine/EngineBaseTypes.h"
#include "Engine/Level.h"
#include "EngineTestActors.h"
#include "EngineTestLog.h"
#include "EngineTestSubsystems.h"
#include "TestWorld.h"
#include "UObject/Package.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/WeakObjectPtrTemplates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
	int32 IndexOfEvent(const std::string& Event)
	{
		const std::vector<std::string>& Events = FEngineTestLog::Get();
		const auto Found = std::find(Events.begin(), Events.end(), Event);
		return Found == Events.end() ? INDEX_NONE : int32(Found - Events.begin());
	}

	std::string EventOf(const char* What, const UObject* Who)
	{
		return std::string(What) + ":" + TCHAR_TO_UTF8(*Who->GetName());
	}
}

TEST(WorldCreation, MakesARootedWorldOfTheTypeWithItsPersistentLevelInTheTransientPackage)
{
	UWorld* World = UWorld::CreateWorld(EWorldType::PIE, false);

	EXPECT_EQ(World->WorldType, EWorldType::PIE);
	EXPECT_EQ(World->GetOuter(), GetTransientPackage());
	EXPECT_TRUE(World->IsRooted());
	EXPECT_EQ(World->GetWorld(), World);
	ASSERT_NE(World->PersistentLevel, nullptr);
	EXPECT_EQ(World->GetCurrentLevel(), World->PersistentLevel);
	EXPECT_EQ(World->PersistentLevel->GetFName(), FName(TEXT("PersistentLevel")));
	EXPECT_EQ(World->PersistentLevel->GetOuter(), World);
	EXPECT_EQ(World->PersistentLevel->GetWorld(), World);
	EXPECT_FALSE(World->AreActorsInitialized());
	EXPECT_FALSE(World->HasBegunPlay());

	World->DestroyWorld(false);
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
}

TEST(WorldCreation, TakesTheGivenPackageAndNameAndStaysOutOfTheRootSetWhenAsked)
{
	UPackage* Package = CreatePackage(TEXT("/Temp/WorldCreationPackage"));
	TWeakObjectPtr<UWorld> World = UWorld::CreateWorld(EWorldType::Game, false, FName(TEXT("NamedWorld")), Package, false);

	ASSERT_TRUE(World.IsValid());
	EXPECT_EQ(World->GetOuter(), Package);
	EXPECT_EQ(World->GetFName(), FName(TEXT("NamedWorld")));
	EXPECT_FALSE(World->IsRooted());

	// Nothing holds a world outside the root set.
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_FALSE(World.IsValid());

	Package->RemoveFromRoot();
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
}

TEST(WorldCreation, InitializingActorsForPlayInitializesTheActorsAlreadyInTheWorld)
{
	UWorld* World = UWorld::CreateWorld(EWorldType::Game, false);
	FActorSpawnParameters SpawnParameters;
	AEngineTestActorWithComponent* Actor = World->SpawnActor<AEngineTestActorWithComponent>(SpawnParameters);
	ASSERT_NE(Actor, nullptr);
	Actor->Component->bWantsInitializeComponent = true;
	EXPECT_FALSE(Actor->IsActorInitialized());
	EXPECT_TRUE(Actor->Component->IsRegistered());

	World->InitializeActorsForPlay(FURL());

	EXPECT_TRUE(World->AreActorsInitialized());
	EXPECT_TRUE(Actor->IsActorInitialized());
	EXPECT_TRUE(Actor->Component->HasBeenInitialized());
	EXPECT_FALSE(Actor->HasActorBegunPlay());

	World->DestroyWorld(false);
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
}

TEST(WorldCreation, InitializingActorsForPlayOfAWorldThatCreateWorldDidNotMakeIsFatal)
{
	UWorld* World = NewObject<UWorld>(GetTransientPackage());
	EXPECT_DEATH(World->InitializeActorsForPlay(FURL()), "InitializeActorsForPlay needs a world made by CreateWorld");
}

TEST(WorldPlay, BeginPlayTellsTheSubsystemsBeforeTheActorsAndThenCountsAsBegun)
{
	FTestWorld World(EWorldType::Game, false);
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>(TEXT("WorldPlayActor"));
	UEngineTestWorldSubsystem* Subsystem = World->GetSubsystem<UEngineTestWorldSubsystem>();
	ASSERT_NE(Subsystem, nullptr);
	FEngineTestLog::Reset();

	World->BeginPlay();

	const int32 SubsystemIndex = IndexOfEvent(EventOf("SubsystemWorldBeginPlay", Subsystem));
	const int32 ActorIndex = IndexOfEvent(EventOf("ActorBeginPlay", Actor));
	ASSERT_NE(SubsystemIndex, INDEX_NONE);
	ASSERT_NE(ActorIndex, INDEX_NONE);
	EXPECT_LT(SubsystemIndex, ActorIndex);
	EXPECT_FALSE(Subsystem->bWorldHadBegunPlayAtBeginPlay);
	EXPECT_TRUE(World->HasBegunPlay());
	EXPECT_TRUE(Actor->HasActorBegunPlay());
}

TEST(WorldPlay, BeginPlayASecondTimeDoesNothing)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	UEngineTestWorldSubsystem* Subsystem = World->GetSubsystem<UEngineTestWorldSubsystem>();

	World->BeginPlay();

	EXPECT_EQ(Actor->NumBeginPlay, 1);
	EXPECT_EQ(Subsystem->NumWorldBeginPlay, 1);
}

TEST(WorldPlay, ActorsSpawnedBeforeBeginPlayWaitAndActorsSpawnedAfterBeginDuringTheSpawn)
{
	FTestWorld World(EWorldType::Game, false);
	AEngineTestActor* Early = World.SpawnActor<AEngineTestActor>();
	EXPECT_FALSE(Early->HasActorBegunPlay());
	EXPECT_EQ(Early->NumBeginPlay, 0);

	World->BeginPlay();
	AEngineTestActor* Late = World.SpawnActor<AEngineTestActor>();

	EXPECT_EQ(Early->NumBeginPlay, 1);
	EXPECT_TRUE(Late->HasActorBegunPlay());
	EXPECT_EQ(Late->NumBeginPlay, 1);
}

TEST(WorldPlay, EndPlayEndsThePlayOfEveryActorAndLeavesThemAlive)
{
	FTestWorld World;
	AEngineTestActor* First = World.SpawnActor<AEngineTestActor>();
	AEngineTestActor* Second = World.SpawnActor<AEngineTestActor>();

	World->EndPlay(EEndPlayReason::Quit);

	EXPECT_FALSE(World->HasBegunPlay());
	for (AEngineTestActor* Actor : {First, Second})
	{
		EXPECT_EQ(Actor->NumEndPlay, 1);
		EXPECT_EQ(Actor->LastEndPlayReason, EEndPlayReason::Quit);
		EXPECT_FALSE(Actor->HasActorBegunPlay());
		EXPECT_TRUE(IsValid(Actor));
	}
}

TEST(WorldSpawning, SpawnsIntoThePersistentLevelUnderTheRequestedNameAndOwner)
{
	FTestWorld World;
	AEngineTestActor* Owner = World.SpawnActor<AEngineTestActor>();
	FActorSpawnParameters SpawnParameters;
	SpawnParameters.Name = TEXT("Spawned");
	SpawnParameters.Owner = Owner;

	AEngineTestActor* Actor = World->SpawnActor<AEngineTestActor>(SpawnParameters);

	ASSERT_NE(Actor, nullptr);
	EXPECT_EQ(Actor->GetFName(), FName(TEXT("Spawned")));
	EXPECT_EQ(Actor->GetOuter(), World->PersistentLevel);
	EXPECT_EQ(Actor->GetLevel(), World->PersistentLevel);
	EXPECT_EQ(Actor->GetWorld(), World.Get());
	EXPECT_EQ(Actor->GetOwner(), Owner);
	EXPECT_TRUE(World->PersistentLevel->Actors.Contains(Actor));
}

TEST(WorldSpawning, UnnamedActorsGetUniqueNames)
{
	FTestWorld World;
	AEngineTestActor* First = World.SpawnActor<AEngineTestActor>();
	AEngineTestActor* Second = World.SpawnActor<AEngineTestActor>();

	ASSERT_NE(First, nullptr);
	ASSERT_NE(Second, nullptr);
	EXPECT_NE(First->GetFName(), Second->GetFName());
}

TEST(WorldSpawning, RefusesClassesThatAreNullNotActorsOrNotOfTheRequestedType)
{
	FTestWorld World;

	EXPECT_EQ(World->SpawnActor(nullptr), nullptr);
	EXPECT_EQ(World->SpawnActor(UEngineTestComponent::StaticClass()), nullptr);
	EXPECT_EQ(World->SpawnActor<AEngineTestActorWithComponent>(AEngineTestActor::StaticClass()), nullptr);
	EXPECT_EQ(World->PersistentLevel->Actors.Num(), 0);
	EXPECT_NE(World->SpawnActor<AEngineTestActor>(AEngineTestActorWithComponent::StaticClass()), nullptr);
}

TEST(WorldSpawning, ATakenNameFailsTheSpawnOrIsMadeUniqueAsTheNameModeSays)
{
	FTestWorld World;
	AEngineTestActor* Existing = World.SpawnActor<AEngineTestActor>(TEXT("Taken"));
	ASSERT_NE(Existing, nullptr);
	FActorSpawnParameters SpawnParameters;
	SpawnParameters.Name = TEXT("Taken");

	SpawnParameters.NameMode = FActorSpawnParameters::ESpawnActorNameMode::Required_ReturnNull;
	EXPECT_EQ(World->SpawnActor<AEngineTestActor>(SpawnParameters), nullptr);
	SpawnParameters.NameMode = FActorSpawnParameters::ESpawnActorNameMode::Required_ErrorAndReturnNull;
	EXPECT_EQ(World->SpawnActor<AEngineTestActor>(SpawnParameters), nullptr);

	SpawnParameters.NameMode = FActorSpawnParameters::ESpawnActorNameMode::Requested;
	AEngineTestActor* Renamed = World->SpawnActor<AEngineTestActor>(SpawnParameters);
	ASSERT_NE(Renamed, nullptr);
	EXPECT_NE(Renamed->GetFName(), Existing->GetFName());
}

TEST(WorldSpawning, ATakenRequiredNameIsFatal)
{
	FTestWorld World;
	World.SpawnActor<AEngineTestActor>(TEXT("Taken"));

	EXPECT_DEATH(World.SpawnActor<AEngineTestActor>(TEXT("Taken")), "An actor of name 'Taken' already exists");
}

TEST(WorldSpawning, TheNameOfADestroyedActorIsFreeBeforeTheCollectorRuns)
{
	FTestWorld World;
	AEngineTestActor* Destroyed = World.SpawnActor<AEngineTestActor>(TEXT("Reused"));
	Destroyed->Destroy();

	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>(TEXT("Reused"));

	ASSERT_NE(Actor, nullptr);
	EXPECT_NE(Actor, Destroyed);
	EXPECT_EQ(Actor->GetFName(), FName(TEXT("Reused")));
	EXPECT_NE(Destroyed->GetFName(), FName(TEXT("Reused")));
}

TEST(WorldSpawning, NothingSpawnsIntoADestroyedWorld)
{
	FTestWorld World;
	World.Destroy();

	EXPECT_EQ(World.SpawnActor<AEngineTestActor>(), nullptr);
}

TEST(WorldActorDestruction, DestroyActorEndsPlayWhileBeingDestroyedAndTakesTheActorOutOfTheLevel)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
	UEngineTestComponent* Component = Actor->Component;

	EXPECT_TRUE(World->DestroyActor(Actor));

	EXPECT_EQ(Actor->NumEndPlay, 1);
	EXPECT_EQ(Actor->LastEndPlayReason, EEndPlayReason::Destroyed);
	EXPECT_TRUE(Actor->bBeingDestroyedAtEndPlay);
	EXPECT_EQ(Component->NumEndPlay, 1);
	EXPECT_FALSE(Component->IsRegistered());
	EXPECT_FALSE(IsValid(Actor));
	EXPECT_FALSE(IsValid(Component));
	EXPECT_FALSE(World->PersistentLevel->Actors.Contains(Actor));
}

TEST(WorldActorDestruction, RefusesAnActorOfAnotherWorld)
{
	FTestWorld World;
	FTestWorld OtherWorld;
	AEngineTestActor* Actor = OtherWorld.SpawnActor<AEngineTestActor>();

	EXPECT_FALSE(World->DestroyActor(Actor));

	EXPECT_TRUE(IsValid(Actor));
	EXPECT_TRUE(Actor->HasActorBegunPlay());
}

TEST(WorldActorDestruction, DestroyingNoActorIsFatal)
{
	FTestWorld World;
	EXPECT_DEATH(World->DestroyActor(nullptr), "Assertion failed: Actor");
}

TEST(WorldDestruction, EndsThePlayOfTheActorsBeforeDeinitializingTheSubsystems)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>(TEXT("DestructionActor"));
	UEngineTestWorldSubsystem* Subsystem = World->GetSubsystem<UEngineTestWorldSubsystem>();
	FEngineTestLog::Reset();

	World.Destroy();

	EXPECT_EQ(Actor->NumEndPlay, 1);
	EXPECT_EQ(Actor->LastEndPlayReason, EEndPlayReason::LevelTransition);
	EXPECT_EQ(Subsystem->NumDeinitialize, 1);
	const int32 ActorIndex = IndexOfEvent(EventOf("ActorEndPlay", Actor));
	const int32 SubsystemIndex = IndexOfEvent(EventOf("SubsystemDeinitialize", Subsystem));
	ASSERT_NE(ActorIndex, INDEX_NONE);
	ASSERT_NE(SubsystemIndex, INDEX_NONE);
	EXPECT_LT(ActorIndex, SubsystemIndex);
}

TEST(WorldDestruction, PlayInEditorWorldsEndPlayAsTheEditorEndsIt)
{
	FTestWorld World(EWorldType::PIE);
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();

	World.Destroy();

	EXPECT_EQ(Actor->LastEndPlayReason, EEndPlayReason::EndPlayInEditor);
}

TEST(WorldDestruction, ReleasesTheWorldAndForgetsItsSubsystems)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();

	World.Destroy();

	EXPECT_FALSE(World->IsRooted());
	EXPECT_FALSE(IsValid(World.Get()));
	EXPECT_FALSE(IsValid(World->PersistentLevel));
	EXPECT_FALSE(IsValid(Actor));
	EXPECT_FALSE(IsValid(Actor->Component));
	EXPECT_FALSE(Actor->Component->IsRegistered());
	EXPECT_EQ(World->GetSubsystem<UEngineTestWorldSubsystem>(), nullptr);
	EXPECT_EQ(World->GetSubsystemBase(UEngineTestWorldSubsystem::StaticClass()), nullptr);
}

TEST(WorldDestruction, DestroyingTheWorldAgainDoesNothing)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	UEngineTestWorldSubsystem* Subsystem = World->GetSubsystem<UEngineTestWorldSubsystem>();
	World.Destroy();

	World->DestroyWorld(false);

	EXPECT_EQ(Actor->NumEndPlay, 1);
	EXPECT_EQ(Subsystem->NumDeinitialize, 1);
}

TEST(WorldGarbageCollection, KeepsTheActorsComponentsAndSubsystemsOfALiveWorld)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
	TWeakObjectPtr<AEngineTestActorWithComponent> WeakActor = Actor;
	TWeakObjectPtr<UEngineTestComponent> WeakComponent = Actor->Component.Get();
	// Held by nothing but its actor: it is not registered and no property names it.
	TWeakObjectPtr<UEngineTestOtherComponent> WeakLooseComponent = NewObject<UEngineTestOtherComponent>(Actor);
	TWeakObjectPtr<UEngineTestWorldSubsystem> WeakSubsystem = World->GetSubsystem<UEngineTestWorldSubsystem>();
	TWeakObjectPtr<ULevel> WeakLevel = World->PersistentLevel;

	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);

	EXPECT_TRUE(WeakActor.IsValid());
	EXPECT_TRUE(WeakComponent.IsValid());
	EXPECT_TRUE(WeakLooseComponent.IsValid());
	EXPECT_TRUE(WeakSubsystem.IsValid());
	EXPECT_TRUE(WeakLevel.IsValid());
	EXPECT_EQ(World->PersistentLevel->Actors.Num(), 1);
}

TEST(WorldGarbageCollection, CollectsEverythingOfTheWorldAfterDestroyWorld)
{
	TWeakObjectPtr<UWorld> WeakWorld;
	TWeakObjectPtr<AEngineTestActorWithComponent> WeakActor;
	TWeakObjectPtr<UEngineTestComponent> WeakComponent;
	TWeakObjectPtr<UEngineTestWorldSubsystem> WeakSubsystem;
	{
		FTestWorld World;
		AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
		WeakWorld = World.Get();
		WeakActor = Actor;
		WeakComponent = Actor->Component.Get();
		WeakSubsystem = World->GetSubsystem<UEngineTestWorldSubsystem>();
	}

	EXPECT_FALSE(WeakWorld.Get(true));
	EXPECT_FALSE(WeakActor.Get(true));
	EXPECT_FALSE(WeakComponent.Get(true));
	EXPECT_FALSE(WeakSubsystem.Get(true));
}

TEST(WorldGarbageCollection, AnActorHeldPastItsWorldNoLongerListsTheComponentsThatWereReleased)
{
	TStrongObjectPtr<AEngineTestActorWithComponent> Actor;
	TWeakObjectPtr<UEngineTestComponent> WeakComponent;
	{
		FTestWorld World;
		Actor.Reset(World.SpawnActor<AEngineTestActorWithComponent>());
		WeakComponent = Actor->Component.Get();
	}

	ASSERT_TRUE(Actor->IsValidLowLevel());
	EXPECT_FALSE(WeakComponent.Get(true));
	EXPECT_EQ(Actor->GetComponents().Num(), 0);
	EXPECT_EQ(Actor->FindComponentByClass<UEngineTestComponent>(), nullptr);
	EXPECT_EQ(Actor->Component, nullptr);
}

TEST(WorldTicking, AdvancesTheClockByTheFrameTime)
{
	FTestWorld World;

	World.Tick(0.25f);
	World.Tick(0.5f);

	EXPECT_FLOAT_EQ(World->GetDeltaSeconds(), 0.5f);
	EXPECT_DOUBLE_EQ(World->GetTimeSeconds(), 0.75);
	EXPECT_DOUBLE_EQ(World->GetRealTimeSeconds(), 0.75);
}

TEST(WorldTicking, ADestroyedWorldNoLongerTicks)
{
	FTestWorld World;
	World.Tick(0.25f);
	World.Destroy();

	World.Tick(0.25f);

	EXPECT_DOUBLE_EQ(World->GetTimeSeconds(), 0.25);
}
