#include "Vesk_ReferenceRegistryView.h"

#include "Components/ActorComponent.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "Templates/Casts.h"
#include "UObject/Class.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceSubsystem.h"
#include "Vesk_ReferenceToolsAccess.h"

namespace VeskReferenceRegistryView
{
	static AActor* FindOwningActor(UObject* Object)
	{
		if (UActorComponent* Component = Cast<UActorComponent>(Object))
		{
			return Component->GetOwner();
		}
		return Cast<AActor>(Object);
	}

	static FString NameOf(const UObject* Object)
	{
		return Object ? Object->GetName() : FString();
	}
}

FVesk_ReferenceRegistryView::FVesk_ReferenceRegistryView(const UVesk_ReferenceSubsystem& Registry)
{
	FVesk_ReferenceToolsAccess::FillView(Registry, *this);
}

const FVesk_ReferenceEntryRow* FVesk_ReferenceRegistryView::FindEntry(const FGuid& Identity) const
{
	return Entries.FindByPredicate([&Identity](const FVesk_ReferenceEntryRow& Row)
	{
		return Row.Identity == Identity;
	});
}

int32 FVesk_ReferenceRegistryView::NumActiveObservations() const
{
	int32 NumActive = 0;
	for (const FVesk_ReferenceObservationRow& Row : Observations)
	{
		NumActive += Row.bActive ? 1 : 0;
	}
	return NumActive;
}

bool FVesk_ReferenceToolsAccess::IsDeinitialized(const UVesk_ReferenceSubsystem& Registry)
{
	return Registry.bDeinitialized;
}

void FVesk_ReferenceToolsAccess::FillView(const UVesk_ReferenceSubsystem& Registry, FVesk_ReferenceRegistryView& OutView)
{
	using namespace VeskReferenceRegistryView;

	OutView.WorldName = NameOf(Registry.GetWorld());
	OutView.bDeinitialized = Registry.bDeinitialized;
	OutView.LastGeneration = Registry.NextGeneration;

	for (const TPair<FGuid, UVesk_ReferenceSubsystem::FEntry>& Pair : Registry.Entries)
	{
		const UVesk_ReferenceSubsystem::FEntry& Entry = Pair.Value;
		FVesk_ReferenceEntryRow& Row = OutView.Entries.AddDefaulted_GetRef();
		Row.Identity = Pair.Key;
		Row.Status = Entry.Status;
		Row.Generation = Entry.Generation;
		Row.Origin = Entry.Origin == UVesk_ReferenceSubsystem::EIdentityOrigin::Saved ? EVesk_ReferenceIdentityOrigin::Saved : EVesk_ReferenceIdentityOrigin::Explicit;
		UObject* Object = Entry.Object.Get();
		Row.Object = Object;
		Row.bObjectGone = !Object && !Entry.Object.IsExplicitlyNull();
		AActor* OwningActor = FindOwningActor(Object);
		Row.OwningActor = OwningActor;
		Row.ObjectName = NameOf(Object);
		Row.OwningActorName = NameOf(OwningActor);
	}
	// The table's own order depends on hashing; the order incarnations began reads as a history.
	OutView.Entries.Sort([](const FVesk_ReferenceEntryRow& A, const FVesk_ReferenceEntryRow& B)
	{
		return A.Generation < B.Generation;
	});

	for (const TWeakObjectPtr<UVesk_ReferenceObservation>& Element : Registry.Observations)
	{
		const UVesk_ReferenceObservation* Observation = Element.Get();
		if (!Observation)
		{
			continue;
		}
		FVesk_ReferenceObservationRow& Row = OutView.Observations.AddDefaulted_GetRef();
		Row.Identity = Observation->Identity;
		Row.Consumer = Observation->Consumer;
		Row.ConsumerName = NameOf(Observation->Consumer.Get());
		Row.LastStatus = Observation->LastStatus;
		Row.bActive = Observation->IsActive();
		Row.ExpectedTypeName = NameOf(Observation->ExpectedType.Get());
		Row.ComponentTypeName = NameOf(Observation->ComponentType.Get());
	}

	for (const TWeakObjectPtr<AActor>& Ended : Registry.EndedActors)
	{
		if (const AActor* Actor = Ended.Get())
		{
			OutView.EndedActorNames.Add(Actor->GetName());
		}
	}
	OutView.EndedActorNames.Sort();
}
