#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/Set.h"
#include "Engine/EngineTypes.h"
#include "Misc/Guid.h"
#include "Stats/Stats.h"
#include "Subsystems/WorldSubsystem.h"
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
	};

	FVesk_ReferenceBinding BeginBindingInternal(UObject* Object, FGuid Identity, EIdentityOrigin Origin);

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
};
