#include "Vesk_ReferenceSubsystem.h"

#include "Components/ActorComponent.h"
#include "CoreGlobals.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "Misc/AssertionMacros.h"
#include "Templates/Casts.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "Vesk_ReferenceConsumerLifetimeComponent.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceOwningActor.h"
#include "Vesk_SaveSubsystem.h"

namespace VeskReferenceSubsystem
{
	// Handlers that keep changing the registry from inside a notification are cut off here; the next
	// tick picks up whatever they left.
	static constexpr int32 MaxNotificationPasses = 8;
}

UVesk_ReferenceSubsystem::UVesk_ReferenceSubsystem() = default;

UVesk_ReferenceSubsystem::~UVesk_ReferenceSubsystem() = default;

UVesk_ReferenceSubsystem* UVesk_ReferenceSubsystem::FromContext(const UObject* ContextObject)
{
	if (!IsValid(ContextObject))
	{
		return nullptr;
	}
	UWorld* World = ContextObject->GetWorld();
	if (!World)
	{
		return nullptr;
	}
	return World->GetSubsystem<UVesk_ReferenceSubsystem>();
}

void UVesk_ReferenceSubsystem::Deinitialize()
{
	// Set first, so that the final pass resolves every identity as gone.
	bDeinitialized = true;
	NotifyObservers();

	for (const TWeakObjectPtr<UVesk_ReferenceObservation>& Element : Observations)
	{
		if (UVesk_ReferenceObservation* Observation = Element.Get())
		{
			Observation->Stop();
		}
	}
	Observations.Reset();
	ObservationConsumerActors.Reset();
	ObservationsByConsumerActor.Reset();
	if (Entries.Num() > 0)
	{
		Entries.Reset();
	}
	IdentitiesByObject.Reset();

	// NextGeneration is kept: a generation is never handed out twice by one registry, teardown or not.
	Super::Deinitialize();
}

void UVesk_ReferenceSubsystem::Tick(float /*DeltaTime*/)
{
	for (TSet<TWeakObjectPtr<AActor>>::TIterator It = EndedActors.CreateIterator(); It; ++It)
	{
		if (!It->IsValid())
		{
			It.RemoveCurrent();
		}
	}

	// Producers and consumers can disappear without telling the registry; every frame catches up.
	NotifyObservers();
}

TStatId UVesk_ReferenceSubsystem::GetStatId() const
{
	RETURN_QUICK_DECLARE_CYCLE_STAT(UVesk_ReferenceSubsystem, STATGROUP_Tickables);
}

FVesk_ReferenceBinding UVesk_ReferenceSubsystem::BeginBinding(UObject* Object, FGuid Identity)
{
	return BeginBindingInternal(Object, Identity, EIdentityOrigin::Explicit);
}

FVesk_ReferenceBinding UVesk_ReferenceSubsystem::BeginSavedBinding(UObject* Object)
{
	// The save module keeps identities for objects of any world; asking it about a foreign object would
	// create an identity that this registry then refuses.
	if (!IsValid(Object) || Object->GetWorld() != GetWorld())
	{
		return FVesk_ReferenceBinding();
	}

	UVesk_SaveSubsystem* SaveSubsystem = UVesk_SaveSubsystem::Get();
	if (!SaveSubsystem)
	{
		return FVesk_ReferenceBinding();
	}
	return BeginBindingInternal(Object, SaveSubsystem->FindOrAddGuidByObject(Object), EIdentityOrigin::Saved);
}

FGuid UVesk_ReferenceSubsystem::FindIdentity(const UObject* Object) const
{
	if (!IsValid(Object))
	{
		return FGuid();
	}
	if (const FGuid* Identity = IdentitiesByObject.Find(FObjectKey(Object)))
	{
		const FEntry* Entry = Entries.Find(*Identity);
		if (Entry && Entry->Object.Get() == Object)
		{
			return *Identity;
		}
	}
	return FGuid();
}

void UVesk_ReferenceSubsystem::SetEntryObject(FEntry& Entry, const FGuid& Identity, UObject* Object)
{
	if (Entry.ObjectKey != FObjectKey())
	{
		const FGuid* Indexed = IdentitiesByObject.Find(Entry.ObjectKey);
		if (Indexed && *Indexed == Identity)
		{
			IdentitiesByObject.Remove(Entry.ObjectKey);
		}
	}

	Entry.Object = Object;
	Entry.ObjectKey = Object ? FObjectKey(Object) : FObjectKey();
	if (Object)
	{
		IdentitiesByObject.Add(Entry.ObjectKey, Identity);
	}
}

FVesk_ReferenceBinding UVesk_ReferenceSubsystem::BeginBindingInternal(UObject* Object, FGuid Identity, EIdentityOrigin Origin)
{
	check(IsInGameThread());

	UWorld* World = GetWorld();
	if (bDeinitialized || !Identity.IsValid() || !IsValid(Object) || Object->GetWorld() != World)
	{
		return FVesk_ReferenceBinding();
	}

	const UActorComponent* Component = Cast<UActorComponent>(Object);
	if (Component && Component->IsBeingDestroyed())
	{
		return FVesk_ReferenceBinding();
	}

	AActor* OwningActor = VeskReference::FindOwningActor(Object);
	if (OwningActor)
	{
		if (OwningActor->IsActorBeingDestroyed())
		{
			return FVesk_ReferenceBinding();
		}
		const TWeakObjectPtr<AActor> WeakOwningActor(OwningActor);
		if (EndedActors.Contains(WeakOwningActor))
		{
			// An ended actor may bind again only once the engine has started its play again.
			if (!OwningActor->IsActorBeginningPlay() && !OwningActor->HasActorBegunPlay())
			{
				return FVesk_ReferenceBinding();
			}
			// Forgotten even when one of the checks below refuses: the actor is back in play either way.
			EndedActors.Remove(WeakOwningActor);
		}
	}

	if (const FEntry* Existing = Entries.Find(Identity))
	{
		if (Existing->Status == EVesk_ReferenceStatus::Removed)
		{
			return FVesk_ReferenceBinding();
		}
		if (const UObject* CurrentObject = Existing->Object.Get())
		{
			if (CurrentObject != Object)
			{
				return FVesk_ReferenceBinding();
			}

			// Asking again for a live producer is not a new incarnation: same token, nothing to notify.
			FVesk_ReferenceBinding Running;
			Running.Id = Identity;
			Running.Generation = Existing->Generation;
			Running.World = World;
			return Running;
		}
	}

	if (FindIdentity(Object).IsValid())
	{
		return FVesk_ReferenceBinding();
	}

	FEntry& Entry = Entries.FindOrAdd(Identity);
	SetEntryObject(Entry, Identity, Object);
	Entry.Generation = ++NextGeneration;
	Entry.Origin = Origin;
	Entry.Status = EVesk_ReferenceStatus::Initializing;

	FVesk_ReferenceBinding Binding;
	Binding.Id = Identity;
	Binding.Generation = Entry.Generation;
	Binding.World = World;

	if (OwningActor)
	{
		OwningActor->OnEndPlay.AddUniqueDynamic(this, &ThisClass::OnActorEndPlay);
	}

	NotifyObservers();
	return Binding;
}

bool UVesk_ReferenceSubsystem::Publish(const FVesk_ReferenceBinding& Binding)
{
	check(IsInGameThread());

	if (bDeinitialized)
	{
		return false;
	}
	FEntry* Entry = FindCurrent(Binding);
	if (!Entry)
	{
		return false;
	}
	UObject* Object = Entry->Object.Get();
	if (!Object)
	{
		return false;
	}
	if (Entry->Status != EVesk_ReferenceStatus::Initializing && Entry->Status != EVesk_ReferenceStatus::Available)
	{
		return false;
	}

	// A saved identity may have been re-keyed since the binding began (a load, or another save slot);
	// publishing it then would announce an object under an identity the save data no longer gives it.
	if (Entry->Origin == EIdentityOrigin::Saved)
	{
		UVesk_SaveSubsystem* SaveSubsystem = UVesk_SaveSubsystem::Get();
		if (!SaveSubsystem || SaveSubsystem->FindOrAddGuidByObject(Object) != Binding.Id)
		{
			return false;
		}
	}

	Entry->Status = EVesk_ReferenceStatus::Available;
	NotifyObservers();
	return true;
}

bool UVesk_ReferenceSubsystem::Withdraw(const FVesk_ReferenceBinding& Binding)
{
	return Release(Binding, EVesk_ReferenceStatus::Unavailable);
}

bool UVesk_ReferenceSubsystem::RemovePermanently(const FVesk_ReferenceBinding& Binding)
{
	return Release(Binding, EVesk_ReferenceStatus::Removed);
}

bool UVesk_ReferenceSubsystem::IsCurrentBinding(const FVesk_ReferenceBinding& Binding) const
{
	if (bDeinitialized)
	{
		return false;
	}
	const FEntry* Entry = FindCurrent(Binding);
	return Entry && Entry->Status != EVesk_ReferenceStatus::Removed;
}

bool UVesk_ReferenceSubsystem::Release(const FVesk_ReferenceBinding& Binding, EVesk_ReferenceStatus TargetStatus)
{
	check(IsInGameThread());

	// No teardown test needed: teardown empties the entries, so no token is current afterwards.
	FEntry* Entry = FindCurrent(Binding);
	if (!Entry || Entry->Status == EVesk_ReferenceStatus::Removed)
	{
		return false;
	}

	Entry->Status = TargetStatus;
	SetEntryObject(*Entry, Binding.Id, nullptr);
	NotifyObservers();
	return true;
}

UVesk_ReferenceSubsystem::FEntry* UVesk_ReferenceSubsystem::FindCurrent(const FVesk_ReferenceBinding& Binding)
{
	return const_cast<FEntry*>(static_cast<const UVesk_ReferenceSubsystem*>(this)->FindCurrent(Binding));
}

const UVesk_ReferenceSubsystem::FEntry* UVesk_ReferenceSubsystem::FindCurrent(const FVesk_ReferenceBinding& Binding) const
{
	const FEntry* Entry = Entries.Find(Binding.Id);
	if (!Entry)
	{
		return nullptr;
	}
	// Weak-pointer equality on purpose: a token whose world is gone must not match a live registry,
	// and a stale world equals any other stale or null world.
	if (Binding.World != TWeakObjectPtr<UWorld>(GetWorld()))
	{
		return nullptr;
	}
	if (Binding.Generation <= 0 || Entry->Generation != Binding.Generation)
	{
		return nullptr;
	}
	return Entry;
}

FVesk_ResolvedReference UVesk_ReferenceSubsystem::Resolve(FGuid Identity, UClass* ExpectedType, UClass* ComponentType) const
{
	FVesk_ResolvedReference Result;
	if (!Identity.IsValid())
	{
		Result.Status = EVesk_ReferenceStatus::Empty;
		return Result;
	}

	// Teardown's final pass runs with the entries still in place; it must already see them gone.
	const FEntry* Entry = Entries.Find(Identity);
	if (bDeinitialized || !Entry)
	{
		return Result;
	}
	Result.Generation = Entry->Generation;

	if (Entry->Status == EVesk_ReferenceStatus::Removed)
	{
		Result.Status = EVesk_ReferenceStatus::Removed;
		return Result;
	}

	UObject* Object = Entry->Object.Get();
	if (!Object)
	{
		return Result;
	}

	// The save data may have re-keyed the object since it bound; it no longer answers to this identity.
	if (Entry->Origin == EIdentityOrigin::Saved)
	{
		UVesk_SaveSubsystem* SaveSubsystem = UVesk_SaveSubsystem::Get();
		if (!SaveSubsystem || SaveSubsystem->FindOrAddGuidByObject(Object) != Identity)
		{
			return Result;
		}
	}

	// The entry says nothing of destruction that has begun: end of play releases the entry only after
	// the actor has left play, and a component may be destroyed without its actor.
	const AActor* OwningActor = nullptr;
	if (const UActorComponent* ObjectAsComponent = Cast<UActorComponent>(Object))
	{
		if (ObjectAsComponent->IsBeingDestroyed())
		{
			return Result;
		}
		OwningActor = ObjectAsComponent->GetOwner();
	}
	else
	{
		OwningActor = Cast<AActor>(Object);
	}
	if (OwningActor && OwningActor->IsActorBeingDestroyed())
	{
		return Result;
	}

	if (!ExpectedType || !Object->IsA(ExpectedType))
	{
		Result.Status = EVesk_ReferenceStatus::TypeMismatch;
		return Result;
	}

	if (Entry->Status != EVesk_ReferenceStatus::Available)
	{
		Result.Status = Entry->Status;
		return Result;
	}

	if (!ComponentType)
	{
		Result.Status = EVesk_ReferenceStatus::Available;
		Result.Object = Object;
		return Result;
	}

	AActor* Actor = Cast<AActor>(Object);
	if (!Actor || !ComponentType->IsChildOf(UActorComponent::StaticClass()))
	{
		Result.Status = EVesk_ReferenceStatus::TypeMismatch;
		return Result;
	}

	// Own components only: a child actor is an object of its own, with its own identity if it has one.
	TInlineComponentArray<UActorComponent*> Candidates;
	Actor->GetComponents(ComponentType, Candidates);
	UActorComponent* Match = nullptr;
	int32 NumMatches = 0;
	for (UActorComponent* Candidate : Candidates)
	{
		if (!IsValid(Candidate) || Candidate->IsBeingDestroyed() || Candidate->IsA<UVesk_ReferenceConsumerLifetimeComponent>())
		{
			continue;
		}
		Match = Candidate;
		++NumMatches;
	}

	// No tie-break: picking the first of two would resolve to whichever the actor happens to list first.
	if (NumMatches == 1)
	{
		Result.Status = EVesk_ReferenceStatus::Available;
		Result.Object = Actor;
		Result.Component = Match;
	}
	else
	{
		Result.Status = NumMatches == 0 ? EVesk_ReferenceStatus::MissingComponent : EVesk_ReferenceStatus::AmbiguousComponent;
	}
	return Result;
}

UVesk_ReferenceObservation* UVesk_ReferenceSubsystem::Observe(FGuid Identity, UClass* ExpectedType, UClass* ComponentType, UObject* Consumer)
{
	if (bDeinitialized || !IsValid(Consumer) || Consumer->GetWorld() != GetWorld())
	{
		return nullptr;
	}

	UVesk_ReferenceObservation* Observation = NewObject<UVesk_ReferenceObservation>(GetTransientPackage());
	Observation->Subsystem = this;
	Observation->BindConsumer(Consumer);
	Observation->Identity = Identity;
	Observation->ExpectedType = ExpectedType;
	Observation->ComponentType = ComponentType;

	// Records the initial state without telling anyone: no handler is bound yet, and the caller reads
	// the state from the observation it gets back.
	Observation->Refresh();

	Observations.Add(Observation);
	// Even a garbage actor: its end of play must still find the observations of its consumers.
	const FObjectKey ConsumerActorKey(Observation->ConsumerActor.Get(true));
	ObservationConsumerActors.Add(ConsumerActorKey);
	if (ConsumerActorKey != FObjectKey())
	{
		ObservationsByConsumerActor.FindOrAdd(ConsumerActorKey).Add(Observation);
	}
	return Observation;
}

void UVesk_ReferenceSubsystem::OnActorEndPlay(AActor* Actor, EEndPlayReason::Type /*Reason*/)
{
	EndedActors.Add(TWeakObjectPtr<AActor>(Actor));

	// Only the observations whose consumer actor is this very actor stop. A null or garbage actor
	// would otherwise, by weak-pointer equality, match every observation whose consumer has no actor.
	if (const FObservationList* Consumers = Actor ? ObservationsByConsumerActor.Find(FObjectKey(Actor)) : nullptr)
	{
		const TWeakObjectPtr<AActor> EndingActor(Actor);
		for (const TWeakObjectPtr<UVesk_ReferenceObservation>& Element : *Consumers)
		{
			UVesk_ReferenceObservation* Observation = Element.Get();
			if (Observation && Observation->ConsumerActor.HasSameIndexAndSerialNumber(EndingActor))
			{
				// Stop leaves the registry's tables alone; the next pass compacts them.
				Observation->Stop();
			}
		}
	}

	// The actor and the components it owns now are the only objects whose entries this releases. A
	// null actor owns nothing: components without an owner stay bound.
	if (Actor)
	{
		ReleaseForEndOfPlay(Actor);
		for (UActorComponent* Component : Actor->GetComponents())
		{
			if (Component && Component->GetOwner() == Actor)
			{
				ReleaseForEndOfPlay(Component);
			}
		}
	}

	NotifyObservers();
}

void UVesk_ReferenceSubsystem::ReleaseForEndOfPlay(UObject* Object)
{
	const FGuid* Identity = IdentitiesByObject.Find(FObjectKey(Object));
	if (!Identity)
	{
		return;
	}
	const FGuid Released = *Identity;
	FEntry* Entry = Entries.Find(Released);
	// Only a live object is released: a garbage object is already gone as far as its entry goes.
	if (Entry && Entry->Object.Get() == Object)
	{
		// The generation stays, so the producer's token can still withdraw or remove the identity.
		Entry->Status = EVesk_ReferenceStatus::Unavailable;
		SetEntryObject(*Entry, Released, nullptr);
	}
}

void UVesk_ReferenceSubsystem::NotifyObservers()
{
	if (bNotifying)
	{
		bNotifyAgain = true;
		return;
	}

	bNotifying = true;
	int32 PassCount = 0;
	do
	{
		bNotifyAgain = false;

		// Refreshes run handlers that may observe, stop or drop observations; iterate a copy.
		NotifySnapshot.Append(Observations);
		bool bQuietPass = true;
		for (const TWeakObjectPtr<UVesk_ReferenceObservation>& Element : NotifySnapshot)
		{
			if (UVesk_ReferenceObservation* Observation = Element.Get())
			{
				bQuietPass &= Observation->Refresh();
			}
			else
			{
				bQuietPass = false;
			}
		}
		NotifySnapshot.Reset();

		// A pass that ran no handler and stopped nothing found every observation active and left it so
		// (only handlers add observations): compacting would keep every element.
		if (!bQuietPass)
		{
			CompactObservations();
		}
	}
	while (bNotifyAgain && ++PassCount < VeskReferenceSubsystem::MaxNotificationPasses);

	bNotifying = false;
}

void UVesk_ReferenceSubsystem::CompactObservations()
{
	// In place, keeping the storage; observations added during the pass are included.
	int32 NumKept = 0;
	for (int32 Index = 0; Index < Observations.Num(); ++Index)
	{
		const UVesk_ReferenceObservation* Observation = Observations[Index].Get();
		if (Observation && Observation->IsActive())
		{
			Observations[NumKept] = Observations[Index];
			ObservationConsumerActors[NumKept] = ObservationConsumerActors[Index];
			++NumKept;
		}
		else
		{
			ForgetConsumerActor(ObservationConsumerActors[Index], Observations[Index]);
		}
	}
	Observations.SetNum(NumKept, EAllowShrinking::No);
	ObservationConsumerActors.SetNum(NumKept, EAllowShrinking::No);
}

void UVesk_ReferenceSubsystem::ForgetConsumerActor(const FObjectKey& ConsumerActorKey, const TWeakObjectPtr<UVesk_ReferenceObservation>& Element)
{
	if (ConsumerActorKey == FObjectKey())
	{
		return;
	}
	FObservationList* Consumers = ObservationsByConsumerActor.Find(ConsumerActorKey);
	if (!Consumers)
	{
		return;
	}
	// The element may be stale: match it by slot and serial number, not by what it points at.
	const int32 Found = Consumers->IndexOfByPredicate([&Element](const TWeakObjectPtr<UVesk_ReferenceObservation>& Candidate)
	{
		return Candidate.HasSameIndexAndSerialNumber(Element);
	});
	if (Found != INDEX_NONE)
	{
		Consumers->RemoveAt(Found, 1, EAllowShrinking::No);
	}
	if (Consumers->Num() == 0)
	{
		ObservationsByConsumerActor.Remove(ConsumerActorKey);
	}
}
