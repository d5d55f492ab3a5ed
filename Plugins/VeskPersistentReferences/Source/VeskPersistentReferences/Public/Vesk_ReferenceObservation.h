#pragma once

#include "CoreMinimal.h"
#include "Delegates/DelegateCombinations.h"
#include "Engine/EngineTypes.h"
#include "Misc/Guid.h"
#include "UObject/Object.h"
#include "UObject/ObjectPtr.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceObservation.generated.h"

class AActor;
class UActorComponent;
class UClass;
class UVesk_ReferenceConsumerLifetimeComponent;
class UVesk_ReferenceSubsystem;

DECLARE_DYNAMIC_MULTICAST_DELEGATE(FVesk_ReferenceChanged);

// Retain this subscription in the consumer. Neither the registry nor the subscription retains the consumer/target.
UCLASS()
class VESKPERSISTENTREFERENCES_API UVesk_ReferenceObservation : public UObject
{
	GENERATED_BODY()

	friend class UVesk_ReferenceSubsystem;
	friend struct FVesk_ReferenceSubsystemTestAccess;
	friend struct FVesk_ReferenceToolsAccess;

public:
	UVesk_ReferenceObservation(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());
	virtual ~UVesk_ReferenceObservation();

	// Reflected members carry no tooltips of their own, so these notes stand apart from them.
	// OnChanged is broadcast inside the registry operation that changed what the identity resolves
	// to; handlers read the new state with GetStatus, or by resolving the identity themselves.
	// GetStatus gives the status of the latest refresh made while active; a stopped observation
	// keeps its last one. Stop is final and leaves the shared lifetime component on the consumer
	// actor.

	UPROPERTY(BlueprintAssignable)
	FVesk_ReferenceChanged OnChanged;

	UFUNCTION(meta=(ScriptCallable))
	EVesk_ReferenceStatus GetStatus() const;

	UFUNCTION(meta=(ScriptCallable))
	bool IsActive() const;

	UFUNCTION(meta=(ScriptCallable))
	void Stop();

private:
	void BindConsumer(UObject* InConsumer);

	// False when the refresh stopped the observation or ran its handlers; handlers may change any
	// observation.
	bool Refresh();

	UFUNCTION()
	void OnConsumerEndPlay(AActor* Actor, EEndPlayReason::Type Reason);

	TWeakObjectPtr<AActor> ConsumerActor;
	TWeakObjectPtr<UVesk_ReferenceConsumerLifetimeComponent> LifetimeComponent;
	TWeakObjectPtr<UVesk_ReferenceSubsystem> Subsystem;
	TWeakObjectPtr<UObject> Consumer;

	// The two class references are the only strong references an observation holds: the collector
	// must not take a class that a refresh passes to the registry.

	UPROPERTY()
	TObjectPtr<UClass> ExpectedType;

	UPROPERTY()
	TObjectPtr<UClass> ComponentType;

	FGuid Identity;
	EVesk_ReferenceStatus LastStatus = EVesk_ReferenceStatus::Empty;
	int64 LastGeneration = 0;
	TWeakObjectPtr<UActorComponent> LastComponent;
};
