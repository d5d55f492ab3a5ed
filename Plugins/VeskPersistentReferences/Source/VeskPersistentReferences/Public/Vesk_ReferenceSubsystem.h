#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/Set.h"
#include "Engine/EngineTypes.h"
#include "Misc/Guid.h"
#include "Stats/Stats.h"
#include "Subsystems/WorldSubsystem.h"
#include "UObject/ObjectKey.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceSubsystem.generated.h"

class AActor;
class UClass;
class UObject;
class UVesk_ReferenceObservation;

// Availability index only. Producers own data and persistence, and explicitly commit restored bindings.
UCLASS()
class VESKPERSISTENTREFERENCES_API UVesk_ReferenceSubsystem : public UTickableWorldSubsystem
{
	GENERATED_BODY()

	friend struct FVesk_ReferenceSubsystemTestAccess;
	friend struct FVesk_ReferenceToolsAccess;

public:
	UVesk_ReferenceSubsystem();
	virtual ~UVesk_ReferenceSubsystem();

	// Null for a missing or garbage context, a context without a world, or a world without a registry.
	static UVesk_ReferenceSubsystem* FromContext(const UObject* ContextObject);

	virtual void Deinitialize() override;
	virtual void Tick(float DeltaTime) override;
	virtual TStatId GetStatId() const override;

	UFUNCTION(meta=(ScriptCallable))
	FVesk_ReferenceBinding BeginBinding(UObject* Object, FGuid Identity);

	UFUNCTION(meta=(ScriptCallable))
	FVesk_ReferenceBinding BeginSavedBinding(UObject* Object);

	// The identity that a live object is bound to; all zero when it answers to none.
	FGuid FindIdentity(const UObject* Object) const;

	UFUNCTION(meta=(ScriptCallable))
	bool Publish(const FVesk_ReferenceBinding& Binding);

	UFUNCTION(meta=(ScriptCallable))
	bool Withdraw(const FVesk_ReferenceBinding& Binding);

	UFUNCTION(meta=(ScriptCallable))
	bool RemovePermanently(const FVesk_ReferenceBinding& Binding);

	// A withdrawn token stays current until its identity gets a new incarnation; a removed one never is.
	bool IsCurrentBinding(const FVesk_ReferenceBinding& Binding) const;

	// The live object bound to Identity, narrowed to its one component of ComponentType when that is
	// set, or the reason there is none. A null ExpectedType is a mismatch, not "any class". Changes
	// nothing.
	FVesk_ResolvedReference Resolve(FGuid Identity, UClass* ExpectedType, UClass* ComponentType) const;

	// A subscription to what Identity resolves to, refreshed on every change and every tick. Null for a
	// missing or garbage consumer, a consumer of another world, or a torn-down registry. The caller
	// must keep the result alive; the registry holds it weakly.
	UVesk_ReferenceObservation* Observe(FGuid Identity, UClass* ExpectedType, UClass* ComponentType, UObject* Consumer);

private:
	// How the identity of the running incarnation was supplied. A saved identity must still be the
	// save module's identity for the object when it is published.
	enum class EIdentityOrigin : uint8
	{
		Explicit = 0,
		Saved = 1,
	};

	struct FEntry
	{
		TWeakObjectPtr<UObject> Object;
		int64 Generation = 0;
		EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Unavailable;
		EIdentityOrigin Origin = EIdentityOrigin::Explicit;

		// Object's key in IdentitiesByObject, kept after Object goes stale so that the index can
		// forget it; none once the entry is released.
		FObjectKey ObjectKey;
	};

	using FObservationList = TArray<TWeakObjectPtr<UVesk_ReferenceObservation>>;

	FVesk_ReferenceBinding BeginBindingInternal(UObject* Object, FGuid Identity, EIdentityOrigin Origin);

	// Sets the entry's object to Object (null to release it) and keeps IdentitiesByObject in step.
	void SetEntryObject(FEntry& Entry, const FGuid& Identity, UObject* Object);

	// Releases the entry of Object to Unavailable when Object is live and bound.
	void ReleaseForEndOfPlay(UObject* Object);

	// Drops the elements of Observations that are gone or no longer active, keeping the order.
	void CompactObservations();

	// Takes an element that leaves Observations out of its consumer actor's list.
	void ForgetConsumerActor(const FObjectKey& ConsumerActorKey, const TWeakObjectPtr<UVesk_ReferenceObservation>& Element);

	bool Release(const FVesk_ReferenceBinding& Binding, EVesk_ReferenceStatus TargetStatus);

	// Null unless the token names the running incarnation of its identity in this world. Status and
	// teardown are left to the callers.
	FEntry* FindCurrent(const FVesk_ReferenceBinding& Binding);
	const FEntry* FindCurrent(const FVesk_ReferenceBinding& Binding) const;

	UFUNCTION()
	void OnActorEndPlay(AActor* Actor, EEndPlayReason::Type Reason);

	// Safe to call from inside a notification: the running call makes another pass instead.
	void NotifyObservers();

	TMap<FGuid, FEntry> Entries;
	TArray<TWeakObjectPtr<UVesk_ReferenceObservation>> Observations;
	TSet<TWeakObjectPtr<AActor>> EndedActors;
	int64 NextGeneration = 0;
	bool bNotifying = false;
	bool bNotifyAgain = false;
	bool bDeinitialized = false;

	// Indexes that give the answers of a walk over Entries or Observations in one lookup. Level loads
	// and unloads bind and end play of every actor once; walking the tables there is quadratic.
	// The identity that a live object is bound to. A hit is checked against its entry.
	TMap<FObjectKey, FGuid> IdentitiesByObject;
	// The key of each observation's consumer actor when it joined, element for element with
	// Observations; none for a consumer without an actor.
	TArray<FObjectKey> ObservationConsumerActors;
	// The elements of Observations whose consumer actor has a given key, in the order of Observations.
	TMap<FObjectKey, FObservationList> ObservationsByConsumerActor;
	// Storage kept from one notification pass to the next, so that a pass allocates nothing.
	FObservationList NotifySnapshot;
};
