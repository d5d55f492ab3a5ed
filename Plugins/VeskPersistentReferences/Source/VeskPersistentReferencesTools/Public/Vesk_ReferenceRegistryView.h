#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "Misc/Guid.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "Vesk_PersistentReference.h"

class AActor;
class UObject;
class UVesk_ReferenceSubsystem;

/** How the running incarnation of an identity got its identity. */
enum class EVesk_ReferenceIdentityOrigin : uint8
{
	/** Given by the producer itself. */
	Explicit,
	/** Taken from the save module, which must still agree when the identity resolves. */
	Saved,
};

/** One identity the registry knows. */
struct FVesk_ReferenceEntryRow
{
	FGuid Identity;
	/** The entry's own status: Unavailable, Initializing, Available or Removed. */
	EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Unavailable;
	int64 Generation = 0;
	EVesk_ReferenceIdentityOrigin Origin = EVesk_ReferenceIdentityOrigin::Explicit;
	/** The bound object while it lives; null once released, or once it is gone. */
	TWeakObjectPtr<UObject> Object;
	/** Still bound to an object that has since been destroyed or marked as garbage. */
	bool bObjectGone = false;
	/** The actor that owns the bound object: the object itself when it is an actor. */
	TWeakObjectPtr<AActor> OwningActor;
	/** Empty when there is no live object, or no owning actor. */
	FString ObjectName;
	FString OwningActorName;
};

/** One subscription the registry refreshes. */
struct FVesk_ReferenceObservationRow
{
	FGuid Identity;
	TWeakObjectPtr<UObject> Consumer;
	/** Empty once the consumer is gone. */
	FString ConsumerName;
	EVesk_ReferenceStatus LastStatus = EVesk_ReferenceStatus::Empty;
	bool bActive = false;
	/** The classes the observation resolves with; empty when none is set. */
	FString ExpectedTypeName;
	FString ComponentTypeName;
};

/**
 * What a registry holds at one moment, copied out for tools and tests: its entries, in the
 * order their running incarnations began (by generation); its observations, in the order it
 * refreshes them; and the actors it has seen end play, by name. Reading changes nothing in the
 * registry, and the view does not follow it afterwards.
 */
struct VESKPERSISTENTREFERENCESTOOLS_API FVesk_ReferenceRegistryView
{
	explicit FVesk_ReferenceRegistryView(const UVesk_ReferenceSubsystem& Registry);

	/** Empty when the registry's world is gone. */
	FString WorldName;
	/** Torn down with its world: everything resolves as Unavailable, and the tables are empty. */
	bool bDeinitialized = false;
	/** The generation last handed out; the next incarnation of any identity gets the one after. */
	int64 LastGeneration = 0;

	TArray<FVesk_ReferenceEntryRow> Entries;
	/** Observations the collector has already taken are left out: nothing of them remains to show. */
	TArray<FVesk_ReferenceObservationRow> Observations;
	/** Names of the ended actors that still exist, sorted; the registry forgets the others at its next tick. */
	TArray<FString> EndedActorNames;

	const FVesk_ReferenceEntryRow* FindEntry(const FGuid& Identity) const;
	int32 NumActiveObservations() const;
};
