#include "Components/ActorComponent.h"

#include "Engine/World.h"
#include "EngineTestActors.h"
#include "GameFramework/Actor.h"
#include "TestWorld.h"
#include "UObject/UObjectGlobals.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(ComponentRegistration, AComponentRegisteredBeforeItsActorBeginsPlayBeginsPlayWithIt)
{
	FTestWorld World(EWorldType::Game, false);
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	UEngineTestComponent* Component = NewObject<UEngineTestComponent>(Actor);

	Component->RegisterComponent();

	EXPECT_TRUE(Component->IsRegistered());
	EXPECT_EQ(Component->GetWorld(), World.Get());
	EXPECT_FALSE(Component->HasBegunPlay());

	World->BeginPlay();

	EXPECT_EQ(Component->NumBeginPlay, 1);
	EXPECT_TRUE(Component->HasBegunPlay());
	EXPECT_TRUE(Component->bOwnerBeginningPlayAtBeginPlay);
}

TEST(ComponentRegistration, AConstructedComponentIsRegisteredAtSpawnAndBeginsPlayWithItsActor)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();

	EXPECT_EQ(Actor->Component->GetOwner(), Actor);
	EXPECT_TRUE(Actor->Component->IsRegistered());
	EXPECT_EQ(Actor->Component->NumBeginPlay, 1);
	EXPECT_TRUE(Actor->Component->bOwnerBeginningPlayAtBeginPlay);
}

TEST(ComponentRegistration, AComponentRegisteredWhileItsActorBeginsPlayBeginsPlayAtOnceAndOnlyOnce)
{
	FTestWorld World(EWorldType::Game, false);
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	UEngineTestComponent* Registered = nullptr;
	bool bBegunAtRegistration = false;
	Actor->BeforeBeginPlay = [&](AEngineTestActor& Self)
	{
		Registered = NewObject<UEngineTestComponent>(&Self);
		Registered->RegisterComponent();
		bBegunAtRegistration = Registered->HasBegunPlay();
	};

	World->BeginPlay();

	ASSERT_NE(Registered, nullptr);
	EXPECT_TRUE(bBegunAtRegistration);
	EXPECT_TRUE(Registered->bOwnerBeginningPlayAtBeginPlay);
	EXPECT_EQ(Registered->NumBeginPlay, 1);
}

TEST(ComponentRegistration, AComponentRegisteredByAnotherComponentBeginningPlayBeginsPlayOnce)
{
	FTestWorld World(EWorldType::Game, false);
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
	UEngineTestComponent* Registered = nullptr;
	Actor->Component->OnBeginPlay = [&](UEngineTestComponent& Self)
	{
		Registered = NewObject<UEngineTestComponent>(Self.GetOwner());
		Registered->RegisterComponent();
	};

	World->BeginPlay();

	ASSERT_NE(Registered, nullptr);
	EXPECT_EQ(Registered->NumBeginPlay, 1);
	EXPECT_EQ(Actor->Component->NumBeginPlay, 1);
}

TEST(ComponentRegistration, AComponentRegisteredOnAnActorInPlayBeginsPlayAtOnce)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	UEngineTestComponent* Component = NewObject<UEngineTestComponent>(Actor);

	Component->RegisterComponent();

	EXPECT_TRUE(Component->HasBegunPlay());
	EXPECT_TRUE(Component->bOwnerInPlayAtBeginPlay);

	Component->RegisterComponent();
	EXPECT_EQ(Component->NumBeginPlay, 1);
}

TEST(ComponentRegistration, AComponentRegisteredOnAnActorThatEndedPlayWaitsForItsNextBeginPlay)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
	UEngineTestComponent* Component = NewObject<UEngineTestComponent>(Actor);

	Component->RegisterComponent();
	EXPECT_FALSE(Component->HasBegunPlay());

	FTestWorld::ReturnToPlay(Actor);
	EXPECT_EQ(Component->NumBeginPlay, 1);
}

namespace
{
	// The ensure reports once per call site and process, so each case is observed in a child
	// process of its own, made before the test's own process reaches the call site. The child
	// exits with 0 only if the call returned and left the component unregistered.
	void ExpectRegistrationEnsuresAndDoesNothing(UEngineTestComponent* Component)
	{
		EXPECT_EXIT(
			{
				Component->RegisterComponent();
				std::exit(Component->IsRegistered() || Component->HasBegunPlay() ? 1 : 0);
			},
			testing::ExitedWithCode(0), "Ensure condition failed: RegistrationWorld");
		Component->RegisterComponent();
		EXPECT_FALSE(Component->IsRegistered());
		EXPECT_FALSE(Component->HasBegunPlay());
	}
}

TEST(ComponentRegistrationWithoutAWorldDeathTest, AComponentWithoutAnOwnerEnsuresAndStaysUnregistered)
{
	UEngineTestComponent* Component = NewObject<UEngineTestComponent>();
	ASSERT_EQ(Component->GetOwner(), nullptr);
	ASSERT_EQ(Component->GetWorld(), nullptr);

	ExpectRegistrationEnsuresAndDoesNothing(Component);
}

TEST(ComponentRegistrationWithoutAWorldDeathTest, AComponentOfAnActorInNoWorldEnsuresAndStaysUnregistered)
{
	AEngineTestActor* Actor = NewObject<AEngineTestActor>();
	UEngineTestComponent* Component = NewObject<UEngineTestComponent>(Actor);
	ASSERT_EQ(Component->GetOwner(), Actor);
	ASSERT_EQ(Actor->GetWorld(), nullptr);

	ExpectRegistrationEnsuresAndDoesNothing(Component);
}

TEST(ComponentRegistrationWithoutAWorldDeathTest, AComponentMadeInAWorldWithoutAnActorEnsuresAndStaysUnregistered)
{
	FTestWorld World;
	UEngineTestComponent* Component = NewObject<UEngineTestComponent>(World.Get());
	ASSERT_EQ(Component->GetWorld(), World.Get());

	ExpectRegistrationEnsuresAndDoesNothing(Component);
}

TEST(ComponentRegistration, AnUnregisteredComponentOfAnActorHasItsActorsWorld)
{
	FTestWorld World;
	AEngineTestActor* Actor = World.SpawnActor<AEngineTestActor>();
	UEngineTestComponent* Component = NewObject<UEngineTestComponent>(Actor);

	EXPECT_EQ(Component->GetWorld(), World.Get());
	EXPECT_EQ(Component->GetOwner<AEngineTestActor>(), Actor);
}

TEST(ComponentRegistration, AComponentMadeInAWorldWithoutAnActorHasThatWorld)
{
	FTestWorld World;
	UEngineTestComponent* Component = NewObject<UEngineTestComponent>(World.Get());

	EXPECT_EQ(Component->GetOwner(), nullptr);
	EXPECT_EQ(Component->GetWorld(), World.Get());
}

TEST(ComponentDestruction, DestroyComponentEndsPlayAndTakesTheComponentFromItsActor)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
	UEngineTestComponent* Component = Actor->Component;

	Component->DestroyComponent();

	EXPECT_EQ(Component->NumEndPlay, 1);
	EXPECT_EQ(Component->LastEndPlayReason, EEndPlayReason::Destroyed);
	EXPECT_FALSE(Component->bOwnerOutOfPlayAtEndPlay);
	EXPECT_TRUE(Component->IsBeingDestroyed());
	EXPECT_FALSE(Component->HasBegunPlay());
	EXPECT_FALSE(Component->IsRegistered());
	EXPECT_FALSE(IsValid(Component));
	EXPECT_FALSE(Actor->OwnsComponent(Component));
	EXPECT_EQ(Actor->FindComponentByClass<UEngineTestComponent>(), nullptr);
	EXPECT_TRUE(Actor->HasActorBegunPlay());
}

TEST(ComponentDestruction, DestroyingAComponentTwiceEndsItsPlayOnce)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
	Actor->Component->DestroyComponent();

	Actor->Component->DestroyComponent();

	EXPECT_EQ(Actor->Component->NumEndPlay, 1);
}

TEST(ComponentDestruction, AComponentThatNeverBeganPlayIsDestroyedWithoutEndingPlay)
{
	FTestWorld World(EWorldType::Game, false);
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();

	Actor->Component->DestroyComponent();

	EXPECT_EQ(Actor->Component->NumEndPlay, 0);
	EXPECT_TRUE(Actor->Component->IsBeingDestroyed());
}

TEST(ComponentDestruction, AComponentDestroyedByAnEndPlayHandlerEndsPlayOnce)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
	UEngineTestComponent* Component = Actor->Component;
	UEngineTestEndPlayListener* Listener = NewObject<UEngineTestEndPlayListener>();
	Listener->OnHandled = [Component](AActor&)
	{
		Component->DestroyComponent();
	};
	Actor->OnEndPlay.AddDynamic(Listener, &UEngineTestEndPlayListener::HandleEndPlay);

	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);

	EXPECT_EQ(Listener->NumCalls, 1);
	EXPECT_EQ(Component->NumEndPlay, 1);
	EXPECT_EQ(Component->LastEndPlayReason, EEndPlayReason::Destroyed);
}

TEST(ComponentPlayChecks, BeginningPlayOfAnUnregisteredComponentIsFatal)
{
	UEngineTestComponent* Component = NewObject<UEngineTestComponent>();
	EXPECT_DEATH(Component->BeginPlay(), "Assertion failed: bRegistered");
}

TEST(ComponentPlayChecks, BeginningPlayOfAComponentInPlayIsFatal)
{
	FTestWorld World;
	AEngineTestActorWithComponent* Actor = World.SpawnActor<AEngineTestActorWithComponent>();
	EXPECT_DEATH(Actor->Component->BeginPlay(), "Assertion failed: !bHasBegunPlay");
}

TEST(ComponentPlayChecks, EndingPlayOfAComponentOutOfPlayIsFatal)
{
	UEngineTestComponent* Component = NewObject<UEngineTestComponent>();
	EXPECT_DEATH(Component->EndPlay(EEndPlayReason::Destroyed), "Assertion failed: bHasBegunPlay");
}

TEST(ComponentSettings, ComponentsNeverTickOrReplicateUnlessTheirClassSaysSo)
{
	UEngineTestComponent* Component = NewObject<UEngineTestComponent>();

	EXPECT_FALSE(Component->PrimaryComponentTick.bCanEverTick);
	EXPECT_FALSE(Component->GetIsReplicated());

	Component->SetIsReplicatedByDefault(true);
	EXPECT_TRUE(Component->GetIsReplicated());
	Component->SetIsReplicated(false);
	EXPECT_FALSE(Component->GetIsReplicated());
}
