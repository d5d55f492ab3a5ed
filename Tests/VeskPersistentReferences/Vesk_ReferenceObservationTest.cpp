#include "Vesk_ReferenceObservation.h"

#include "UObject/Package.h"
#include "UObject/SparseDelegate.h"
#include "Vesk_ReferenceSubsystem.h"
#include "VeskReferenceTestSupport.h"

#include <gtest/gtest.h>

using Access = FVesk_ReferenceSubsystemTestAccess;
using S = EVesk_ReferenceStatus;

namespace
{
	bool IsBoundToEndPlay(const AActor* Actor, const UObject* Handler, const TCHAR* FunctionName)
	{
		return FSparseDelegateStorage::Contains(Actor, FName(TEXT("OnEndPlay")), Handler, FName(FunctionName));
	}

	int32 NumLifetimeComponents(const AActor* Actor)
	{
		int32 Count = 0;
		for (const UActorComponent* Component : Actor->GetComponents())
		{
			if (Component && Component->GetClass()->GetName() == TEXT("Vesk_ReferenceConsumerLifetimeComponent"))
			{
				++Count;
			}
		}
		return Count;
	}
}

class FReferenceObservationTest : public FVeskReferenceTestBase
{
protected:
	// A published producer actor under Identity; the actor keeps its token for the test.
	FVesk_ReferenceBinding PublishActor(AActor* Actor, const FGuid& Identity)
	{
		const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Actor, Identity);
		EXPECT_GT(Binding.Generation, 0);
		EXPECT_TRUE(Subsystem->Publish(Binding));
		return Binding;
	}

	AActor* SpawnConsumer()
	{
		return SpawnProducerActor();
	}
};

using FReferenceObservationCreationTest = FReferenceObservationTest;

TEST_F(FReferenceObservationCreationTest, RefusesConsumersItCannotServe)
{
	FTestWorld OtherWorld;
	UObject* Foreign = OtherWorld.SpawnActor<AVeskTestProducerActor>(NAME_None);
	UObject* Garbage = NewProducerObject();
	Garbage->MarkAsGarbage();
	UObject* Worldless = NewObject<UVeskTestProducerObject>();

	EXPECT_EQ(Subsystem->Observe(MakeTestIdentity(1), UObject::StaticClass(), nullptr, nullptr), nullptr);
	EXPECT_EQ(Subsystem->Observe(MakeTestIdentity(1), UObject::StaticClass(), nullptr, Garbage), nullptr);
	EXPECT_EQ(Subsystem->Observe(MakeTestIdentity(1), UObject::StaticClass(), nullptr, Foreign), nullptr);
	EXPECT_EQ(Subsystem->Observe(MakeTestIdentity(1), UObject::StaticClass(), nullptr, Worldless), nullptr);
	EXPECT_EQ(Access::NumObservations(*Subsystem), 0);
	EXPECT_EQ(NumLifetimeComponents(static_cast<AActor*>(Foreign)), 0);
}

TEST_F(FReferenceObservationCreationTest, IsATransientObjectWithTheDefaultName)
{
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());

	ASSERT_NE(Observed.Observation.Get(), nullptr);
	EXPECT_EQ(Observed->GetOuter(), GetTransientPackage());
	EXPECT_TRUE(Observed->GetName().StartsWith(TEXT("Vesk_ReferenceObservation_")));
	EXPECT_FALSE(Observed->HasAnyFlags(RF_Transient | RF_Public | RF_Standalone));
	EXPECT_EQ(Access::NumObservations(*Subsystem), 1);
}

TEST_F(FReferenceObservationCreationTest, ReportsTheInitialStateWithoutABroadcast)
{
	AActor* Producer = SpawnProducerActor();
	PublishActor(Producer, MakeTestIdentity(1));

	const FObserved Available = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());
	const FObserved Mismatch = ObserveWithListener(MakeTestIdentity(1), NewProducerObject(), nullptr);
	const FObserved Missing = ObserveWithListener(MakeTestIdentity(2), NewProducerObject());
	const FObserved Empty = ObserveWithListener(FGuid(), NewProducerObject());
	World.Tick();
	World.Tick();

	EXPECT_EQ(Available->GetStatus(), S::Available);
	EXPECT_EQ(Mismatch->GetStatus(), S::TypeMismatch);
	EXPECT_EQ(Missing->GetStatus(), S::Unavailable);
	EXPECT_EQ(Empty->GetStatus(), S::Empty);
	for (const FObserved* Observed : { &Available, &Mismatch, &Missing, &Empty })
	{
		EXPECT_TRUE((*Observed)->IsActive());
		EXPECT_EQ(Observed->NumCalls(), 0);
	}
}

TEST_F(FReferenceObservationCreationTest, ObserveItselfRunsNoPass)
{
	EXPECT_FALSE(RunsNotificationPass([&] { ObserveWithListener(MakeTestIdentity(1), NewProducerObject()); }));
}

using FReferenceObservationBroadcastTest = FReferenceObservationTest;

TEST_F(FReferenceObservationBroadcastTest, PublishIsToldBeforeItReturnsWithTheNewStatus)
{
	UObject* Producer = NewProducerObject();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());
	ASSERT_EQ(Observed->GetStatus(), S::Initializing);
	S ResolvedInside = S::Empty;
	Observed.Listener->Hook = [&](UVeskTestListener*) { ResolvedInside = Subsystem->Resolve(MakeTestIdentity(1), UObject::StaticClass(), nullptr).Status; };

	ASSERT_TRUE(Subsystem->Publish(Binding));

	EXPECT_EQ(Observed.Seen(), TArray<S>({ S::Available }));
	EXPECT_EQ(ResolvedInside, S::Available);
	EXPECT_TRUE(Subsystem->Publish(Binding));
	World.Tick();
	EXPECT_EQ(Observed.NumCalls(), 1);
}

TEST_F(FReferenceObservationBroadcastTest, WithdrawRebindPublishGivesThreeBroadcasts)
{
	UObject* Producer = NewProducerObject();
	const FVesk_ReferenceBinding First = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	ASSERT_TRUE(Subsystem->Publish(First));
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());

	ASSERT_TRUE(Subsystem->Withdraw(First));
	const FVesk_ReferenceBinding Second = Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(1));
	ASSERT_TRUE(Subsystem->Publish(Second));

	EXPECT_EQ(Observed.Seen(), TArray<S>({ S::Unavailable, S::Initializing, S::Available }));
}

TEST_F(FReferenceObservationBroadcastTest, NewIncarnationWhileAvailableIsAChange)
{
	UObject* First = NewProducerObject();
	const FVesk_ReferenceBinding FirstBinding = Subsystem->BeginBinding(First, MakeTestIdentity(1));
	ASSERT_TRUE(Subsystem->Publish(FirstBinding));
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());

	// Destroyed without a release, re-created and published before any pass has run.
	First->MarkAsGarbage();
	const FVesk_ReferenceBinding SecondBinding = Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(1));
	ASSERT_GT(SecondBinding.Generation, FirstBinding.Generation);
	EXPECT_EQ(Observed.Seen(), TArray<S>({ S::Initializing }));
	ASSERT_TRUE(Subsystem->Publish(SecondBinding));

	EXPECT_EQ(Observed.Seen(), TArray<S>({ S::Initializing, S::Available }));
}

TEST_F(FReferenceObservationBroadcastTest, NewGenerationOutsideAvailableIsRecordedNotBroadcast)
{
	UObject* First = NewProducerObject();
	const FVesk_ReferenceBinding FirstBinding = Subsystem->BeginBinding(First, MakeTestIdentity(1));
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());
	ASSERT_EQ(Observed->GetStatus(), S::Initializing);

	First->MarkAsGarbage();
	const FVesk_ReferenceBinding SecondBinding = Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(1));
	ASSERT_GT(SecondBinding.Generation, FirstBinding.Generation);
	World.Tick();

	EXPECT_EQ(Observed->GetStatus(), S::Initializing);
	EXPECT_EQ(Observed.NumCalls(), 0);

	// The recorded generation is the new one: publishing it is a change of status only, told once.
	ASSERT_TRUE(Subsystem->Publish(SecondBinding));
	World.Tick();
	EXPECT_EQ(Observed.Seen(), TArray<S>({ S::Available }));
}

TEST_F(FReferenceObservationBroadcastTest, ComponentSwappedBetweenTicksIsOneBroadcast)
{
	AActor* Producer = SpawnProducerActor();
	UActorComponent* Original = AddProducerComponent(Producer);
	PublishActor(Producer, MakeTestIdentity(1));
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), NewProducerObject(), AActor::StaticClass(), UVeskTestProducerComponent::StaticClass());
	ASSERT_EQ(Observed->GetStatus(), S::Available);

	Original->DestroyComponent();
	AddProducerComponent(Producer);
	World.Tick();
	EXPECT_EQ(Observed.Seen(), TArray<S>({ S::Available }));

	World.Tick();
	EXPECT_EQ(Observed.NumCalls(), 1);

	AddProducerComponent(Producer);
	World.Tick();
	EXPECT_EQ(Observed.Seen(), TArray<S>({ S::Available, S::AmbiguousComponent }));
}

TEST_F(FReferenceObservationBroadcastTest, DestroyedComponentOfAMatchEqualsNoComponent)
{
	AActor* Producer = SpawnProducerActor();
	UActorComponent* Only = AddProducerComponent(Producer);
	PublishActor(Producer, MakeTestIdentity(1));
	// An actor consumer: the world keeps it through the collection below.
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), SpawnConsumer(), AActor::StaticClass(), UVeskTestProducerComponent::StaticClass());

	Only->DestroyComponent();
	World.Tick();
	EXPECT_EQ(Observed.Seen(), TArray<S>({ S::MissingComponent }));
	CollectGarbage(RF_NoFlags);
	World.Tick();

	EXPECT_EQ(Observed.NumCalls(), 1);
}

TEST_F(FReferenceObservationBroadcastTest, EveryTriggerTellsInsideTheOperation)
{
	AVeskTestProducerActor* Producer = SpawnProducerActor();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());

	ASSERT_TRUE(Subsystem->Publish(Binding));
	EXPECT_EQ(Observed.Seen().Last(), S::Available);
	Producer->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
	EXPECT_EQ(Observed.Seen().Last(), S::Unavailable);
	Producer->DispatchBeginPlay();
	const FVesk_ReferenceBinding Again = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	EXPECT_EQ(Observed.Seen().Last(), S::Initializing);
	ASSERT_TRUE(Subsystem->Publish(Again));
	ASSERT_TRUE(Subsystem->RemovePermanently(Again));
	EXPECT_EQ(Observed.Seen(), TArray<S>({ S::Available, S::Unavailable, S::Initializing, S::Available, S::Removed }));
}

TEST_F(FReferenceObservationBroadcastTest, TickSeesWhatTheRegistryWasNotTold)
{
	UObject* Producer = NewProducerObject();
	ASSERT_TRUE(Subsystem->Publish(Subsystem->BeginBinding(Producer, MakeTestIdentity(1))));
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());

	World.Tick();
	EXPECT_EQ(Observed.NumCalls(), 0);
	Producer->MarkAsGarbage();
	EXPECT_EQ(Observed.NumCalls(), 0);
	World.Tick();

	EXPECT_EQ(Observed.Seen(), TArray<S>({ S::Unavailable }));
}

using FReferenceObservationReentryTest = FReferenceObservationTest;

TEST_F(FReferenceObservationReentryTest, StoppingItselfLetsTheRestOfTheBroadcastRun)
{
	UObject* Producer = NewProducerObject();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	FObserved Observed = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());
	TStrongObjectPtr<UVeskTestListener> Second(NewObject<UVeskTestListener>());
	Second->Listen(Observed.Observation.Get());
	Observed.Listener->Hook = [](UVeskTestListener* Listener) { Listener->Observation->Stop(); };

	ASSERT_TRUE(Subsystem->Publish(Binding));

	EXPECT_EQ(Observed.NumCalls(), 1);
	EXPECT_EQ(Second->NumCalls(), 1);
	EXPECT_FALSE(Observed->IsActive());
	EXPECT_FALSE(Observed->OnChanged.IsBound());
	EXPECT_EQ(Access::NumObservations(*Subsystem), 0);
	EXPECT_TRUE(Subsystem->Withdraw(Binding));
	EXPECT_EQ(Observed->GetStatus(), S::Available);
}

TEST_F(FReferenceObservationReentryTest, StoppingAnotherSilencesIt)
{
	UObject* Producer = NewProducerObject();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	const FObserved First = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());
	const FObserved Later = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());
	First.Listener->Hook = [&](UVeskTestListener*) { Later->Stop(); };

	ASSERT_TRUE(Subsystem->Publish(Binding));

	EXPECT_EQ(First.NumCalls(), 1);
	EXPECT_EQ(Later.NumCalls(), 0);
	EXPECT_EQ(Later->GetStatus(), S::Initializing);
	EXPECT_EQ(Access::NumObservations(*Subsystem), 1);
}

TEST_F(FReferenceObservationReentryTest, ObservingFromAHandlerJoinsAtTheNextPass)
{
	UObject* Producer = NewProducerObject();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	const FObserved Outer = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());
	FObserved Inner;
	Outer.Listener->Hook = [&](UVeskTestListener*)
	{
		if (!Inner.Observation)
		{
			Inner = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());
		}
	};

	ASSERT_TRUE(Subsystem->Publish(Binding));
	ASSERT_TRUE(Inner.Observation);
	EXPECT_EQ(Inner->GetStatus(), S::Available);
	EXPECT_EQ(Inner.NumCalls(), 0);
	EXPECT_EQ(Access::NumObservations(*Subsystem), 2);

	ASSERT_TRUE(Subsystem->Withdraw(Binding));
	EXPECT_EQ(Inner.Seen(), TArray<S>({ S::Unavailable }));
}

TEST_F(FReferenceObservationReentryTest, ChangeFromAHandlerRunsAnotherPassForEveryone)
{
	const FVesk_ReferenceBinding A = Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(1));
	const FVesk_ReferenceBinding B = Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(2));
	const FObserved ObservesB = ObserveWithListener(MakeTestIdentity(2), NewProducerObject());
	const FObserved ObservesA = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());
	S StatusOfBInsideHandler = S::Empty;
	ObservesA.Listener->Hook = [&](UVeskTestListener*)
	{
		EXPECT_TRUE(Subsystem->Publish(B));
		StatusOfBInsideHandler = Subsystem->Resolve(MakeTestIdentity(2), UObject::StaticClass(), nullptr).Status;
	};

	ASSERT_TRUE(Subsystem->Publish(A));

	// B's observation comes first and was refreshed before the handler published B: only a second pass
	// of the same call can tell it.
	EXPECT_EQ(StatusOfBInsideHandler, S::Available);
	EXPECT_EQ(ObservesB.Seen(), TArray<S>({ S::Available }));
}

TEST_F(FReferenceObservationReentryTest, HandlersThatKeepChangingStopAfterEightPasses)
{
	UObject* Producer = NewProducerObject();
	FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());
	constexpr int32 ChangingCalls = 10;
	Observed.Listener->Hook = [&](UVeskTestListener* Listener)
	{
		if (Listener->NumCalls() > ChangingCalls)
		{
			return;
		}
		if (Listener->Seen.Last() == S::Available)
		{
			EXPECT_TRUE(Subsystem->Withdraw(Binding));
		}
		else
		{
			Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
			EXPECT_TRUE(Subsystem->Publish(Binding));
		}
	};

	ASSERT_TRUE(Subsystem->Publish(Binding));
	EXPECT_EQ(Observed.NumCalls(), 8);

	World.Tick();
	EXPECT_EQ(Observed.NumCalls(), ChangingCalls + 1);
	World.Tick();
	EXPECT_EQ(Observed.NumCalls(), ChangingCalls + 1);
}

TEST_F(FReferenceObservationReentryTest, HandlerMayDropTheLastReferenceToItsObservation)
{
	UObject* Producer = NewProducerObject();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	FObserved Observed = ObserveWithListener(MakeTestIdentity(1), SpawnConsumer());
	const TWeakObjectPtr<UVesk_ReferenceObservation> Weak(Observed.Observation.Get());
	bool bAliveAfterCollection = false;
	Observed.Listener->Hook = [&](UVeskTestListener* Listener)
	{
		Observed.Observation.Reset();
		CollectGarbage(RF_NoFlags);
		bAliveAfterCollection = Weak.IsValid() && Listener->Observation.IsValid();
	};

	ASSERT_TRUE(Subsystem->Publish(Binding));
	EXPECT_TRUE(bAliveAfterCollection);

	CollectGarbage(RF_NoFlags);
	EXPECT_FALSE(Weak.IsValid());
	EXPECT_TRUE(Subsystem->Withdraw(Binding));
	EXPECT_EQ(Observed.NumCalls(), 1);
	EXPECT_EQ(Access::NumObservations(*Subsystem), 0);
}

TEST_F(FReferenceObservationReentryTest, CollectedWithoutStopIsDroppedSilently)
{
	AActor* Producer = SpawnProducerActor();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	FObserved Observed = ObserveWithListener(MakeTestIdentity(1), SpawnConsumer());
	Observed.Observation.Reset();
	CollectGarbage(RF_NoFlags);
	ASSERT_EQ(Access::NumObservations(*Subsystem), 1);

	ASSERT_TRUE(Subsystem->Publish(Binding));

	EXPECT_EQ(Observed.NumCalls(), 0);
	EXPECT_EQ(Access::NumObservations(*Subsystem), 0);
}

using FReferenceObservationConsumerTest = FReferenceObservationTest;

TEST_F(FReferenceObservationConsumerTest, ActorAndItsComponentShareOneLifetimeComponent)
{
	AActor* Consumer = SpawnConsumer();
	UActorComponent* ConsumerPart = AddProducerComponent(Consumer);
	const FObserved ByActor = ObserveWithListener(MakeTestIdentity(1), Consumer);
	const FObserved ByComponent = ObserveWithListener(MakeTestIdentity(1), ConsumerPart);
	const FObserved Again = ObserveWithListener(MakeTestIdentity(2), Consumer);

	EXPECT_EQ(NumLifetimeComponents(Consumer), 1);
	EXPECT_TRUE(ByActor->IsActive() && ByComponent->IsActive() && Again->IsActive());

	ByActor->Stop();
	EXPECT_EQ(NumLifetimeComponents(Consumer), 1);
	EXPECT_TRUE(ByComponent->IsActive());
}

TEST_F(FReferenceObservationConsumerTest, PlainObjectConsumerHasNoLifetimeComponent)
{
	UObject* Producer = NewProducerObject();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	UObject* Consumer = NewProducerObject();
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), Consumer);
	ASSERT_TRUE(Observed->IsActive());

	Consumer->MarkAsGarbage();
	EXPECT_FALSE(Observed->IsActive());
	ASSERT_TRUE(Subsystem->Publish(Binding));

	EXPECT_EQ(Observed.NumCalls(), 0);
	EXPECT_EQ(Observed->GetStatus(), S::Initializing);
	EXPECT_FALSE(Observed->OnChanged.IsBound());
	EXPECT_EQ(Access::NumObservations(*Subsystem), 0);
}

TEST_F(FReferenceObservationConsumerTest, ConsumerComponentDestroyedWhileItsActorPlays)
{
	UObject* Producer = NewProducerObject();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	AActor* Consumer = SpawnConsumer();
	UActorComponent* ConsumerPart = AddProducerComponent(Consumer);
	const FObserved ByComponent = ObserveWithListener(MakeTestIdentity(1), ConsumerPart);
	const FObserved ByActor = ObserveWithListener(MakeTestIdentity(1), Consumer);

	ConsumerPart->DestroyComponent();
	ASSERT_TRUE(Subsystem->Publish(Binding));

	EXPECT_EQ(ByComponent.NumCalls(), 0);
	EXPECT_FALSE(ByComponent->IsActive());
	EXPECT_EQ(ByActor.Seen(), TArray<S>({ S::Available }));
}

TEST_F(FReferenceObservationConsumerTest, ConsumerActorEndingPlayStopsItBeforeItsOwnHandler)
{
	UObject* Producer = NewProducerObject();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	ASSERT_TRUE(Subsystem->Publish(Binding));
	AActor* Consumer = SpawnConsumer();
	TStrongObjectPtr<UVeskTestListener> EarlierHandler(NewObject<UVeskTestListener>());
	Consumer->OnEndPlay.AddDynamic(EarlierHandler.Get(), &UVeskTestListener::HandleEndPlay);
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), Consumer);
	ASSERT_TRUE(IsBoundToEndPlay(Consumer, Observed.Observation.Get(), TEXT("OnConsumerEndPlay")));
	bool bActiveInsideEndPlay = true;
	bool bHandlersInsideEndPlay = false;
	EarlierHandler->EndPlayHook = [&](AActor*)
	{
		bActiveInsideEndPlay = Observed->IsActive();
		bHandlersInsideEndPlay = Observed->OnChanged.IsBound();
		// A producer released first refreshes the observation, which now only stops.
		EXPECT_TRUE(Subsystem->Withdraw(Binding));
	};

	Consumer->RouteEndPlay(EEndPlayReason::LevelTransition);

	EXPECT_FALSE(bActiveInsideEndPlay);
	EXPECT_TRUE(bHandlersInsideEndPlay);
	EXPECT_EQ(Observed.NumCalls(), 0);
	EXPECT_FALSE(Observed->IsActive());
	EXPECT_FALSE(Observed->OnChanged.IsBound());
	EXPECT_EQ(Observed->GetStatus(), S::Available);
	EXPECT_FALSE(IsBoundToEndPlay(Consumer, Observed.Observation.Get(), TEXT("OnConsumerEndPlay")));

	EarlierHandler->EndPlayHook = nullptr;
	Consumer->DispatchBeginPlay();
	Consumer->RouteEndPlay(EEndPlayReason::LevelTransition);
	EXPECT_EQ(Observed.NumCalls(), 0);
}

TEST_F(FReferenceObservationConsumerTest, ConsumerActorEndingPlayAloneStopsItToo)
{
	AActor* Consumer = SpawnConsumer();
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), Consumer);

	Consumer->RouteEndPlay(EEndPlayReason::Destroyed);

	EXPECT_FALSE(Observed->IsActive());
	EXPECT_FALSE(IsBoundToEndPlay(Consumer, Observed.Observation.Get(), TEXT("OnConsumerEndPlay")));
	EXPECT_EQ(Access::NumObservations(*Subsystem), 1);
	World.Tick();
	EXPECT_EQ(Access::NumObservations(*Subsystem), 0);
}

TEST_F(FReferenceObservationConsumerTest, ConsumerThatIsAlsoAProducerIsStoppedByTheRegistry)
{
	AActor* Consumer = SpawnConsumer();
	const FVesk_ReferenceBinding Own = Subsystem->BeginBinding(Consumer, MakeTestIdentity(1));
	ASSERT_TRUE(Subsystem->Publish(Own));
	const FObserved ObservesItself = ObserveWithListener(MakeTestIdentity(1), Consumer);
	const FObserved Bystander = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());

	// The registry's handler was bound first, so it stops the consumer's observation before the
	// observation's own handler runs, and its pass tells only the bystander.
	Consumer->RouteEndPlay(EEndPlayReason::Quit);

	EXPECT_EQ(ObservesItself.NumCalls(), 0);
	EXPECT_FALSE(ObservesItself->IsActive());
	EXPECT_EQ(Bystander.Seen(), TArray<S>({ S::Unavailable }));
}

TEST_F(FReferenceObservationConsumerTest, ConsumerBeforeItsActorPlaysIsActive)
{
	FTestWorld Loading(EWorldType::Game, false);
	UVesk_ReferenceSubsystem* LoadingRegistry = UVesk_ReferenceSubsystem::FromContext(Loading.Get());
	ASSERT_NE(LoadingRegistry, nullptr);
	AActor* Consumer = Loading.SpawnActor<AVeskTestProducerActor>(NAME_None);
	const TStrongObjectPtr<UVesk_ReferenceObservation> Observation(LoadingRegistry->Observe(MakeTestIdentity(1), UObject::StaticClass(), nullptr, Consumer));
	const UActorComponent* Lifetime = nullptr;
	for (const UActorComponent* Component : Consumer->GetComponents())
	{
		Lifetime = Component;
	}
	ASSERT_NE(Lifetime, nullptr);

	EXPECT_FALSE(Lifetime->HasBegunPlay());
	EXPECT_TRUE(Observation->IsActive());
	Loading->BeginPlay();
	EXPECT_TRUE(Lifetime->HasBegunPlay());
	EXPECT_TRUE(Observation->IsActive());
}

TEST_F(FReferenceObservationConsumerTest, StopTwiceAndAfterTheConsumerIsGone)
{
	AActor* Consumer = SpawnConsumer();
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(1), Consumer);
	Consumer->Destroy();
	CollectGarbage(RF_NoFlags);

	Observed->Stop();
	Observed->Stop();

	EXPECT_FALSE(Observed->IsActive());
	EXPECT_EQ(Observed->GetStatus(), S::Unavailable);
}

using FReferenceObservationTeardownTest = FReferenceObservationTest;

TEST_F(FReferenceObservationTeardownTest, TellsEachUnavailableOnceThenStopsIt)
{
	const TStrongObjectPtr<UVesk_ReferenceSubsystem> KeepSubsystem(Subsystem);
	// A plain object: end of play of the world's actors does not release it, only teardown does.
	const TStrongObjectPtr<UVeskTestProducerObject> Producer(NewProducerObject());
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer.Get(), MakeTestIdentity(1));
	ASSERT_TRUE(Subsystem->Publish(Binding));
	const FObserved Available = ObserveWithListener(MakeTestIdentity(1), NewProducerObject());
	const FObserved AlreadyUnavailable = ObserveWithListener(MakeTestIdentity(2), NewProducerObject());
	const FObserved Zero = ObserveWithListener(FGuid(), NewProducerObject());
	int64 GenerationSeenInside = -1;
	Available.Listener->Hook = [&](UVeskTestListener*) { GenerationSeenInside = Subsystem->Resolve(MakeTestIdentity(1), UObject::StaticClass(), nullptr).Generation; };

	World.Destroy();

	EXPECT_EQ(Available.Seen(), TArray<S>({ S::Unavailable }));
	EXPECT_EQ(GenerationSeenInside, 0);
	EXPECT_EQ(AlreadyUnavailable.NumCalls(), 0);
	EXPECT_EQ(Zero.NumCalls(), 0);
	for (const FObserved* Observed : { &Available, &AlreadyUnavailable, &Zero })
	{
		EXPECT_FALSE((*Observed)->IsActive());
		EXPECT_FALSE((*Observed)->OnChanged.IsBound());
	}
	EXPECT_EQ(Zero->GetStatus(), S::Empty);
	EXPECT_EQ(Access::NumObservations(*Subsystem), 0);
	EXPECT_EQ(Subsystem->Observe(MakeTestIdentity(1), UObject::StaticClass(), nullptr, NewProducerObject()), nullptr);
	EXPECT_FALSE(Subsystem->IsCurrentBinding(Binding));
}
