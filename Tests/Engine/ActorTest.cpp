#include "GameFramework/Actor.h"

#include "AllocationCount.h"
#include "Engine/Level.h"
#include "Engine/World.h"
#include "EngineTestActors.h"
#include "EngineTestLog.h"
#include "TestWorld.h"
#include "ClassHierarchyTestSupport.h"
#include "Subsystems/WorldSubsystem.h"
#include "Templates/Casts.h"
#include "UObject/ScriptDelegates.h"
#include "UObject/UObjectGlobals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
	std::string EventOf(const char* What, const UObject* Who)
	{
		return std::string(What) + ":" + TCHAR_TO_UTF8(*Who->GetName());
	}

	UEngineTestEndPlayListener* ListenTo(AActor* Actor)
	{
		UEngineTestEndPlayListener* Listener = NewObject<UEngineTestEndPlayListener>();
		Actor->OnEndPlay.AddDynamic(Listener, &UEngineTestEndPlayListener::HandleEndPlay);
		return Listener;
	}
}

TEST(ActorPlayState, AnActorOfAWorldNotInPlayHasNotBegunPlay)
{
	FTestWorld World(EWorldType::Game, false);
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();

	EXPECT_FALSE(Actor->HasActorBegunPlay());
	EXPECT_FALSE(Actor->IsActorBeginningPlay());
	EXPECT_EQ(Actor->NumBeginPlay, 0);
}

TEST(ActorPlayState, InsideBeginPlayTheActorIsBeginningPlayAndAfterwardsHasBegunPlay)
{
	FTestWorld World(EWorldType::Game, false);
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	bool bBeginningBeforeBase = false;
	bool bBegunBeforeBase = true;
	bool bBegunAfterBase = false;
	bool bBeginningAfterBase = true;
	Actor->BeforeBeginPlay = [&](AEngineTestActor& Self)
	{
		bBeginningBeforeBase = Self.IsActorBeginningPlay();
		bBegunBeforeBase = Self.HasActorBegunPlay();
	};
	Actor->AfterBeginPlay = [&](AEngineTestActor& Self)
	{
		bBegunAfterBase = Self.HasActorBegunPlay();
		bBeginningAfterBase = Self.IsActorBeginningPlay();
	};

	World->BeginPlay();

	EXPECT_TRUE(bBeginningBeforeBase);
	EXPECT_FALSE(bBegunBeforeBase);
	EXPECT_TRUE(bBegunAfterBase);
	EXPECT_FALSE(bBeginningAfterBase);
	EXPECT_TRUE(Actor->HasActorBegunPlay());
	EXPECT_FALSE(Actor->IsActorBeginningPlay());
}

TEST(ActorPlayState, DispatchingBeginPlayToAnActorInPlayDoesNothing)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();

	Actor->DispatchBeginPlay();

	EXPECT_EQ(Actor->NumBeginPlay, 1);
}

TEST(ActorPlayState, AnActorEndsPlayWithoutBeingDestroyed)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();

	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);

	EXPECT_EQ(Actor->NumEndPlay, 1);
	EXPECT_EQ(Actor->LastEndPlayReason, EEndPlayReason::RemovedFromWorld);
	EXPECT_FALSE(Actor->HasActorBegunPlay());
	EXPECT_FALSE(Actor->bBeingDestroyedAtEndPlay);
	EXPECT_FALSE(Actor->IsActorBeingDestroyed());
	EXPECT_FALSE(Actor->IsActorInitialized());
	EXPECT_TRUE(IsValid(Actor));
	EXPECT_TRUE(World->PersistentLevel->Actors.Contains(Actor));
	EXPECT_EQ(Actor->Component->NumEndPlay, 1);
	EXPECT_FALSE(Actor->Component->HasBegunPlay());
	EXPECT_TRUE(Actor->Component->IsRegistered());
}

TEST(ActorPlayState, AnActorThatEndedPlayEndsPlayOnlyOnce)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();

	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);

	EXPECT_EQ(Actor->NumEndPlay, 1);
}

TEST(ActorPlayState, AnActorThatEndedPlayBeginsPlayAgainWithItsComponents)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);

	FTestWorld::ReturnToPlay(Actor);

	EXPECT_EQ(Actor->NumBeginPlay, 2);
	EXPECT_TRUE(Actor->HasActorBegunPlay());
	EXPECT_EQ(Actor->Component->NumBeginPlay, 2);
	EXPECT_TRUE(Actor->Component->HasBegunPlay());

	Actor->Destroy();
	EXPECT_EQ(Actor->NumEndPlay, 2);
	EXPECT_EQ(Actor->Component->NumEndPlay, 2);
}

// A world made without FTestWorld, so that the test decides whether its actor is initialized.
class ActorEndPlayRouting : public testing::Test
{
protected:
	void SetUp() override
	{
		World = UWorld::CreateWorld(EWorldType::Game, false);
		Actor = World->SpawnActor<AEngineTestActorWithComponent>(FActorSpawnParameters());
		ASSERT_NE(Actor, nullptr);
		Actor->Component->bWantsInitializeComponent = true;
		Listener = ListenTo(Actor);
	}

	void TearDown() override
	{
		World->DestroyWorld(false);
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}

	UWorld* World = nullptr;
	AEngineTestActorWithComponent* Actor = nullptr;
	UEngineTestEndPlayListener* Listener = nullptr;
};

TEST_F(ActorEndPlayRouting, AnInitializedActorInPlayEndsPlayAndUninitializesItsComponents)
{
	World->InitializeActorsForPlay(FURL());
	Actor->DispatchBeginPlay();
	ASSERT_TRUE(Actor->Component->HasBeenInitialized());

	Actor->RouteEndPlay(EEndPlayReason::LevelTransition);

	EXPECT_EQ(Actor->NumEndPlay, 1);
	EXPECT_EQ(Listener->NumCalls, 1);
	EXPECT_EQ(Actor->Component->NumEndPlay, 1);
	EXPECT_FALSE(Actor->HasActorBegunPlay());
	EXPECT_FALSE(Actor->Component->HasBeenInitialized());
	EXPECT_TRUE(Actor->IsActorInitialized());
}

TEST_F(ActorEndPlayRouting, AnInitializedActorOutOfPlayOnlyUninitializesItsComponents)
{
	World->InitializeActorsForPlay(FURL());
	ASSERT_TRUE(Actor->Component->HasBeenInitialized());

	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);

	EXPECT_EQ(Actor->NumEndPlay, 0);
	EXPECT_EQ(Listener->NumCalls, 0);
	EXPECT_FALSE(Actor->Component->HasBeenInitialized());
	EXPECT_FALSE(Actor->IsActorInitialized());
}

TEST_F(ActorEndPlayRouting, AnActorThatBeganPlayWithoutBeingInitializedIsLeftInPlay)
{
	Actor->DispatchBeginPlay();
	ASSERT_TRUE(Actor->HasActorBegunPlay());
	ASSERT_FALSE(Actor->IsActorInitialized());

	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
	Actor->Destroy();

	EXPECT_EQ(Actor->NumEndPlay, 0);
	EXPECT_EQ(Listener->NumCalls, 0);
	EXPECT_EQ(Actor->Component->NumEndPlay, 0);
	EXPECT_TRUE(Actor->HasActorBegunPlay());
	EXPECT_TRUE(Actor->Component->HasBegunPlay());
}

TEST(ActorEndPlayOrder, TheActorLeavesPlayThenItsCallbacksRunThenItsComponentsEndPlay)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>(TEXT("OrderActor"));
	ListenTo(Actor);
	FEngineTestLog::Reset();

	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);

	const std::vector<std::string> Expected = {
		EventOf("ActorEndPlay", Actor),
		EventOf("OnEndPlay", Actor),
		EventOf("ComponentEndPlay", Actor->Component),
	};
	EXPECT_EQ(FEngineTestLog::Get(), Expected);
	EXPECT_TRUE(Actor->Component->bOwnerOutOfPlayAtEndPlay);
}

TEST(ActorEndPlayOrder, AnEndPlayHandlerSeesTheActorOutOfPlayAndItsRegisteredComponentsStillInPlay)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
	UEngineTestOtherComponent* Registered = NewObject<UEngineTestOtherComponent>(Actor, NAME_None, RF_Transient);
	Registered->RegisterComponent();
	NewObject<UEngineTestOtherComponent>(Actor);
	UEngineTestEndPlayListener* Listener = ListenTo(Actor);

	Actor->Destroy();

	EXPECT_EQ(Listener->NumCalls, 1);
	EXPECT_EQ(Listener->LastActor, Actor);
	EXPECT_EQ(Listener->LastReason, EEndPlayReason::Destroyed);
	EXPECT_FALSE(Listener->bActorHadBegunPlay);
	EXPECT_FALSE(Listener->bActorWasBeginningPlay);
	// The default component and the one registered in play; the unregistered one never began.
	EXPECT_EQ(Listener->NumComponentsInPlay, 2);
	EXPECT_FALSE(Registered->HasBegunPlay());
}

TEST(ActorEndPlayOrder, ComponentsThatNeverBeganPlayDoNotEndPlay)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	UEngineTestComponent* Unregistered = NewObject<UEngineTestComponent>(Actor);

	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);

	EXPECT_EQ(Unregistered->NumEndPlay, 0);
}

TEST(ActorEndPlayDelegate, HandlersAddedByNameAreCalledWithTheActorAndTheReason)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	UEngineTestEndPlayListener* Listener = ListenTo(Actor);
	EXPECT_TRUE(Actor->OnEndPlay.IsBound());
	EXPECT_TRUE(Actor->OnEndPlay.IsAlreadyBound(Listener, &UEngineTestEndPlayListener::HandleEndPlay));

	World.Destroy();

	EXPECT_EQ(Listener->NumCalls, 1);
	EXPECT_EQ(Listener->LastActor, Actor);
	EXPECT_EQ(Listener->LastReason, EEndPlayReason::LevelTransition);
}

TEST(ActorEndPlayDelegate, AddingTheSameHandlerUniquelyTwiceCallsItOnce)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	UEngineTestEndPlayListener* Listener = NewObject<UEngineTestEndPlayListener>();
	FScriptDelegate Handler;
	Handler.BindUFunction(Listener, TEXT("HandleEndPlay"));
	Actor->OnEndPlay.AddUnique(Handler);
	Actor->OnEndPlay.AddUnique(Handler);
	Actor->OnEndPlay.AddUniqueDynamic(Listener, &UEngineTestEndPlayListener::HandleEndPlay);

	Actor->Destroy();

	EXPECT_EQ(Listener->NumCalls, 1);
}

TEST(ActorEndPlayDelegate, RemovedHandlersAreNotCalled)
{
	FTestWorld World;
	AEngineTestActor* First = World.SpawnActor<AEngineTestActor>();
	AEngineTestActor* Second = World.SpawnActor<AEngineTestActor>();
	UEngineTestEndPlayListener* ByName = ListenTo(First);
	UEngineTestEndPlayListener* ByMacro = ListenTo(Second);

	First->OnEndPlay.Remove(ByName, TEXT("HandleEndPlay"));
	Second->OnEndPlay.RemoveDynamic(ByMacro, &UEngineTestEndPlayListener::HandleEndPlay);
	First->Destroy();
	Second->Destroy();

	EXPECT_FALSE(First->OnEndPlay.IsBound());
	EXPECT_EQ(ByName->NumCalls, 0);
	EXPECT_EQ(ByMacro->NumCalls, 0);
}

TEST(ActorDestruction, DestroyEndsPlayWhileBeingDestroyedAndMarksTheActorAndItsComponents)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();

	EXPECT_TRUE(Actor->Destroy());

	EXPECT_EQ(Actor->NumEndPlay, 1);
	EXPECT_EQ(Actor->LastEndPlayReason, EEndPlayReason::Destroyed);
	EXPECT_TRUE(Actor->bBeingDestroyedAtEndPlay);
	EXPECT_TRUE(Actor->IsActorBeingDestroyed());
	EXPECT_TRUE(Actor->IsPendingKillPending());
	EXPECT_FALSE(IsValid(Actor));
	EXPECT_FALSE(IsValid(Actor->Component));
	EXPECT_EQ(Actor->Component->LastEndPlayReason, EEndPlayReason::Destroyed);
	EXPECT_FALSE(World->PersistentLevel->Actors.Contains(Actor));
}

TEST(ActorDestruction, DestroyingAnActorTwiceEndsItsPlayOnce)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	Actor->Destroy();

	EXPECT_TRUE(Actor->Destroy());

	EXPECT_EQ(Actor->NumEndPlay, 1);
}

TEST(ActorDestruction, AnActorDestroyedInsideItsBeginPlayIsDestroyedOnceBeginPlayReturns)
{
	FTestWorld World(EWorldType::Game, false);
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	bool bDestroyResult = true;
	bool bValidAfterDestroyCall = false;
	Actor->BeforeBeginPlay = [&](AEngineTestActor& Self)
	{
		bDestroyResult = Self.Destroy();
		bValidAfterDestroyCall = IsValid(&Self) && !Self.IsActorBeingDestroyed();
	};

	World->BeginPlay();

	EXPECT_FALSE(bDestroyResult);
	EXPECT_TRUE(bValidAfterDestroyCall);
	EXPECT_EQ(Actor->NumBeginPlay, 1);
	EXPECT_EQ(Actor->NumEndPlay, 1);
	EXPECT_EQ(Actor->LastEndPlayReason, EEndPlayReason::Destroyed);
	EXPECT_FALSE(IsValid(Actor));
}

TEST(ActorDestruction, AnActorThatNeverBeganPlayIsDestroyedWithoutEndingPlay)
{
	FTestWorld World(EWorldType::Game, false);
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();

	EXPECT_TRUE(Actor->Destroy());

	EXPECT_EQ(Actor->NumEndPlay, 0);
	EXPECT_FALSE(IsValid(Actor));
}

TEST(ActorComponents, FindComponentByClassGivesTheFirstOwnComponentOfTheClass)
{
	FTestWorld World;
	AEngineTestParentActor* Parent = World.SpawnActor<AEngineTestParentActor>();
	ASSERT_NE(Parent->GetChild(), nullptr);
	NewObject<UEngineTestOtherComponent>(Parent->GetChild());

	EXPECT_EQ(Parent->FindComponentByClass<UEngineTestComponent>(), Parent->OwnComponent);
	EXPECT_EQ(Parent->FindComponentByClass<UChildActorComponent>(), Parent->ChildActorComponent);
	EXPECT_EQ(Parent->FindComponentByClass(UEngineTestOtherComponent::StaticClass()), nullptr);
	EXPECT_EQ(Parent->FindComponentByClass(nullptr), nullptr);
	EXPECT_NE(Parent->FindComponentByClass<UActorComponent>(), nullptr);
	EXPECT_EQ(Parent->GetComponentByClass(UEngineTestComponent::StaticClass()), Parent->OwnComponent);
}

TEST(ActorComponents, GetComponentsGivesTheActorsOwnComponentsAndChildActorsOnlyWhenAsked)
{
	FTestWorld World;
	AEngineTestParentActor* Parent = World.SpawnActor<AEngineTestParentActor>();
	AEngineTestActorWithComponent* Child = Parent->GetChild();
	ASSERT_NE(Child, nullptr);

	TArray<UActorComponent*> Own;
	Own.Add(Child->Component);
	Parent->GetComponents(Own);
	EXPECT_EQ(Own.Num(), 2);
	EXPECT_TRUE(Own.Contains(Parent->OwnComponent));
	EXPECT_TRUE(Own.Contains(Parent->ChildActorComponent));

	TArray<UActorComponent*> WithChildren;
	Parent->GetComponents(WithChildren, true);
	EXPECT_EQ(WithChildren.Num(), 3);
	EXPECT_TRUE(WithChildren.Contains(Child->Component));

	TArray<UEngineTestComponent*> Typed;
	Parent->GetComponents(Typed);
	ASSERT_EQ(Typed.Num(), 1);
	EXPECT_EQ(Typed[0], Parent->OwnComponent);
	Parent->GetComponents(Typed, true);
	ASSERT_EQ(Typed.Num(), 2);
	EXPECT_EQ(Typed[0], Parent->OwnComponent);
	EXPECT_EQ(Typed[1], Child->Component);

	TInlineComponentArray<UActorComponent*> Filtered;
	Parent->GetComponents(UChildActorComponent::StaticClass(), Filtered);
	ASSERT_EQ(Filtered.Num(), 1);
	EXPECT_EQ(Filtered[0], Parent->ChildActorComponent);

	EXPECT_EQ(Parent->GetComponents().Num(), 2);
	EXPECT_EQ(TInlineComponentArray<UActorComponent*>(Parent, true).Num(), 3);
}

TEST(ActorComponents, AnInlineComponentArrayHoldsAFewComponentsWithoutAllocating)
{
	FTestWorld World;
	AEngineTestParentActor* Parent = World.SpawnActor<AEngineTestParentActor>();

	const FAllocationCount Allocations;
	TInlineComponentArray<UActorComponent*> Components(Parent, true);
	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(Components.Num(), 3);
	EXPECT_TRUE(Components.Contains(Parent->OwnComponent));
}

TEST(ActorComponents, GetComponentsOfAClassLeavesOutChildActorsUnlessAskedAndTheBaseClassTakesEveryComponent)
{
	FTestWorld World;
	AEngineTestParentActor* Parent = World.SpawnActor<AEngineTestParentActor>();
	AEngineTestActorWithComponent* Child = Parent->GetChild();
	ASSERT_NE(Child, nullptr);
	UEngineTestOtherComponent* Other = NewObject<UEngineTestOtherComponent>(Parent);

	TArray<UEngineTestComponent*> OfClass;
	Parent->GetComponents(UEngineTestComponent::StaticClass(), OfClass);
	ASSERT_EQ(OfClass.Num(), 1);
	EXPECT_EQ(OfClass[0], Parent->OwnComponent);

	Parent->GetComponents(UEngineTestComponent::StaticClass(), OfClass, true);
	ASSERT_EQ(OfClass.Num(), 2);
	EXPECT_EQ(OfClass[0], Parent->OwnComponent);
	EXPECT_EQ(OfClass[1], Child->Component);

	TInlineComponentArray<UActorComponent*> Every;
	Parent->GetComponents(UActorComponent::StaticClass(), Every);
	EXPECT_EQ(Every.Num(), 3);
	EXPECT_TRUE(Every.Contains(Parent->OwnComponent));
	EXPECT_TRUE(Every.Contains(Parent->ChildActorComponent));
	EXPECT_TRUE(Every.Contains(Other));
	EXPECT_FALSE(Every.Contains(Child->Component));

	Parent->GetComponents(UActorComponent::StaticClass(), Every, true);
	EXPECT_EQ(Every.Num(), 4);
	EXPECT_TRUE(Every.Contains(Child->Component));
}

TEST(ActorComponents, AComponentMadeWithTheActorAsOuterJoinsItsComponentsWithoutRegistering)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();

	UEngineTestComponent* Component = NewObject<UEngineTestComponent>(Actor);

	EXPECT_EQ(Component->GetOwner(), Actor);
	EXPECT_TRUE(Actor->OwnsComponent(Component));
	EXPECT_EQ(Actor->FindComponentByClass<UEngineTestComponent>(), Component);
	EXPECT_FALSE(Component->IsRegistered());
	EXPECT_FALSE(Component->HasBegunPlay());
	EXPECT_TRUE(Actor->GetInstanceComponents().IsEmpty());
}

TEST(ActorComponents, InstanceComponentsAreKeptApartFromOwnedComponents)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
	UEngineTestOtherComponent* Instance = NewObject<UEngineTestOtherComponent>(Actor);

	Actor->AddInstanceComponent(Instance);
	Actor->AddInstanceComponent(Instance);

	ASSERT_EQ(Actor->GetInstanceComponents().Num(), 1);
	EXPECT_EQ(Actor->GetInstanceComponents()[0], Instance);
	EXPECT_EQ(Actor->GetComponents().Num(), 2);

	Actor->RemoveInstanceComponent(Instance);
	EXPECT_TRUE(Actor->GetInstanceComponents().IsEmpty());
	EXPECT_TRUE(Actor->OwnsComponent(Instance));

	Actor->AddInstanceComponent(Instance);
	Actor->ClearInstanceComponents(true);
	EXPECT_TRUE(Actor->GetInstanceComponents().IsEmpty());
	EXPECT_TRUE(Instance->IsBeingDestroyed());
	EXPECT_FALSE(Actor->OwnsComponent(Instance));
	EXPECT_TRUE(Actor->OwnsComponent(Actor->Component));
}

// AActor and ULevel have cast flags of their own, as the engine's tool gives them by name; a class
// derived from AActor outside the engine declares none and takes AActor's when it is linked.

TEST(FActorCastFlagsTest, ActorAndLevelDeclareTheirOwnFlags)
{
	EXPECT_EQ(AActor::StaticClassCastFlags(), CASTCLASS_AActor);
	EXPECT_EQ(AActor::StaticClass()->ClassCastFlags, CASTCLASS_AActor);
	EXPECT_EQ(TCastFlags<AActor>::Value, CASTCLASS_AActor);
	EXPECT_EQ(ULevel::StaticClassCastFlags(), CASTCLASS_ULevel);
	EXPECT_EQ(ULevel::StaticClass()->ClassCastFlags, CASTCLASS_ULevel);
	EXPECT_EQ(TCastFlags<ULevel>::Value, CASTCLASS_ULevel);
}

TEST(FActorCastFlagsTest, ASubclassDefinedOutsideTheEngineDeclaresNoneAndInheritsTheActorsFlag)
{
	EXPECT_EQ(AEngineTestActor::StaticClassCastFlags(), CASTCLASS_None);
	EXPECT_EQ(AEngineTestActor::StaticClass()->ClassCastFlags, CASTCLASS_AActor);
	EXPECT_EQ(AEngineTestActorWithComponent::StaticClassCastFlags(), CASTCLASS_None);
	EXPECT_EQ(AEngineTestActorWithComponent::StaticClass()->ClassCastFlags, CASTCLASS_AActor);
	EXPECT_TRUE(AEngineTestActorWithComponent::StaticClass()->HasAnyCastFlag(CASTCLASS_AActor));
	EXPECT_FALSE(AEngineTestActorWithComponent::StaticClass()->HasAnyCastFlag(CASTCLASS_ULevel));
}

TEST(FActorCastFlagsTest, ClassesTheEngineGivesNoFlagHaveNone)
{
	for (const UClass* Class : { UActorComponent::StaticClass(), UEngineTestComponent::StaticClass(), UWorld::StaticClass(), UWorldSubsystem::StaticClass() })
	{
		EXPECT_EQ(Class->ClassCastFlags, CASTCLASS_None) << HeadlessTests::NameOfType(Class);
	}
}

TEST(FActorCastFlagsDifferentialTest, EveryRegisteredClassHasTheActorAndLevelFlagsExactlyWhenItDerivesFromThem)
{
	for (const HeadlessTests::FDisagreements& Disagreements : {
			 HeadlessTests::FindCastFlagDisagreements(AActor::StaticClass(), CASTCLASS_AActor),
			 HeadlessTests::FindCastFlagDisagreements(ULevel::StaticClass(), CASTCLASS_ULevel),
			 HeadlessTests::FindCastFlagDisagreements(UClass::StaticClass(), CASTCLASS_UClass),
			 HeadlessTests::FindCastFlagDisagreements(UFunction::StaticClass(), CASTCLASS_UFunction) })
	{
		EXPECT_GE(Disagreements.NumCompared, 30);
		EXPECT_TRUE(Disagreements.Cases.empty()) << HeadlessTests::Describe(Disagreements);
	}
}

TEST(FActorIsChildOfDifferentialTest, EveryPairOfRegisteredEngineAndTestStructsAgreesWithTheSuperWalk)
{
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	const HeadlessTests::FDisagreements Disagreements = HeadlessTests::FindIsChildOfDisagreements();
	EXPECT_GE(Disagreements.NumCompared, 30 * 30);
	EXPECT_TRUE(Disagreements.Cases.empty()) << HeadlessTests::Describe(Disagreements);
}

// Casts to AActor and ULevel test the flag: only actors, and only levels, cast.

TEST(FCastToActorTest, OnlyActorsCastToActorAndOnlyLevelsToLevel)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
	UObject* AsObject = Actor;
	UObject* Component = Actor->Component;
	UObject* Level = World->GetCurrentLevel();
	UObject* WorldObject = World.Get();

	EXPECT_EQ(Cast<AActor>(AsObject), Actor);
	EXPECT_EQ(Cast<AEngineTestActor>(AsObject), Actor);
	EXPECT_EQ(Cast<ULevel>(AsObject), nullptr);
	EXPECT_EQ(Cast<AActor>(Component), nullptr);
	EXPECT_EQ(Cast<AActor>(Level), nullptr);
	EXPECT_EQ(Cast<ULevel>(Level), Level);
	EXPECT_EQ(Cast<AActor>(WorldObject), nullptr);
	EXPECT_EQ(Cast<ULevel>(WorldObject), nullptr);
	EXPECT_EQ(Cast<AActor>(AActor::StaticClass()), nullptr);
}

TEST(FCastToActorDeathTest, CastCheckedOfAComponentToActorIsFatal)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
	UObject* Component = Actor->Component;
	EXPECT_DEATH(CastChecked<AActor>(Component), "Cast of EngineTestComponent .* to Actor failed");
}
