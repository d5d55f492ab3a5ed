#include "Vesk_ReferenceObservation.h"

#include "Components/ActorComponent.h"
#include "GameFramework/Actor.h"
#include "Templates/Casts.h"
#include "UObject/StrongObjectPtr.h"
#include "Vesk_ReferenceConsumerLifetimeComponent.h"
#include "Vesk_ReferenceOwningActor.h"
#include "Vesk_ReferenceSubsystem.h"

UVesk_ReferenceObservation::UVesk_ReferenceObservation(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

UVesk_ReferenceObservation::~UVesk_ReferenceObservation()
{
	OnChanged.Clear();
}

EVesk_ReferenceStatus UVesk_ReferenceObservation::GetStatus() const
{
	return LastStatus;
}

bool UVesk_ReferenceObservation::IsActive() const
{
	const AActor* Actor = ConsumerActor.Get();
	if (Actor)
	{
		const UVesk_ReferenceConsumerLifetimeComponent* Lifetime = LifetimeComponent.Get();
		if (!Lifetime || Lifetime->IsBeingDestroyed())
		{
			return false;
		}
		// The engine takes the actor out of play before its end-of-play callbacks and ends play of its
		// components after them: a component still in play on an actor out of play means the actor is
		// ending play right now, possibly before this observation's own "OnEndPlay" handler has run.
		if (Lifetime->HasBegunPlay() && !Actor->IsActorBeginningPlay() && !Actor->HasActorBegunPlay())
		{
			return false;
		}
	}
	const UObject* ConsumerObject = Consumer.Get();
	if (!Subsystem.IsValid() || !ConsumerObject)
	{
		return false;
	}
	if (Actor && Actor->IsActorBeingDestroyed())
	{
		return false;
	}
	const UActorComponent* ConsumerComponent = Cast<UActorComponent>(ConsumerObject);
	return !ConsumerComponent || !ConsumerComponent->IsBeingDestroyed();
}

void UVesk_ReferenceObservation::Stop()
{
	if (AActor* Actor = ConsumerActor.Get())
	{
		Actor->OnEndPlay.RemoveDynamic(this, &ThisClass::OnConsumerEndPlay);
	}
	ConsumerActor.Reset();
	LifetimeComponent.Reset();
	Subsystem.Reset();
	Consumer.Reset();

	// A broadcast in progress runs over its own copy, so later handlers of this change still run.
	OnChanged.Clear();
}

void UVesk_ReferenceObservation::BindConsumer(UObject* InConsumer)
{
	Consumer = InConsumer;

	AActor* Actor = VeskReference::FindOwningActor(InConsumer);
	ConsumerActor = Actor;
	if (!ConsumerActor.IsValid())
	{
		return;
	}

	LifetimeComponent = VeskReferenceConsumerLifetime::FindOrCreate(*Actor);
	Actor->OnEndPlay.AddUniqueDynamic(this, &ThisClass::OnConsumerEndPlay);
}

bool UVesk_ReferenceObservation::Refresh()
{
	if (!IsActive())
	{
		Stop();
		return false;
	}

	const FVesk_ResolvedReference Resolved = Subsystem->Resolve(Identity, ExpectedType, ComponentType);
	const TWeakObjectPtr<UActorComponent> ResolvedComponent(Resolved.Component);

	// Outside Available a new generation or component changes nothing the consumer can use; it is
	// recorded so that the next Available compares against the latest incarnation.
	bool bChanged = Resolved.Status != LastStatus;
	if (Resolved.Status == EVesk_ReferenceStatus::Available)
	{
		bChanged |= Resolved.Generation != LastGeneration || LastComponent != ResolvedComponent;
	}

	LastStatus = Resolved.Status;
	LastGeneration = Resolved.Generation;
	LastComponent = ResolvedComponent;

	if (bChanged)
	{
		// A handler may drop the consumer's last reference to this observation.
		const TStrongObjectPtr<UVesk_ReferenceObservation> KeepAlive(this);
		OnChanged.Broadcast();
		return false;
	}
	return true;
}

void UVesk_ReferenceObservation::OnConsumerEndPlay(AActor* /*Actor*/, EEndPlayReason::Type /*Reason*/)
{
	Stop();
}
