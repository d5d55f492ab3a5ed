#pragma once

#include "CoreMinimal.h"
#include "Delegates/DelegateCombinations.h"
#include "Engine/EngineTypes.h"
#include "Kismet/BlueprintAsyncActionBase.h"
#include "Misc/Guid.h"
#include "Templates/SubclassOf.h"
#include "TimerManager.h"
#include "UObject/ObjectPtr.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_WaitForReferenceAction.generated.h"

class AActor;
class UVesk_ReferenceObservation;
class UWorld;

DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(FVesk_WaitForReferenceResult, UObject*, Object, EVesk_ReferenceStatus, Status);

// Waits until a persistent identity resolves as Available, for a graph that cannot poll.
UCLASS()
class VESKPERSISTENTREFERENCESTOOLS_API UVesk_WaitForReferenceAction : public UBlueprintAsyncActionBase
{
	GENERATED_BODY()

public:
	// Fires once, with the object, when the identity resolves as Available.
	UPROPERTY(BlueprintAssignable)
	FVesk_WaitForReferenceResult OnAvailable;

	// Fires once, with the last status seen, when the wait ends without the object.
	UPROPERTY(BlueprintAssignable)
	FVesk_WaitForReferenceResult OnFailed;

	// Waits for Identity to resolve as an Expected Class in the world of the calling graph. Fails when the identity is removed, when the caller's actor ends play, or after Timeout Seconds (none when zero or less).
	UFUNCTION(BlueprintCallable, Category="Vesk|Persistent References", meta=(BlueprintInternalUseOnly="true", WorldContext="WorldContextObject", DisplayName="Wait For Reference", ExpectedClass="/Script/CoreUObject.Object"))
	static UVesk_WaitForReferenceAction* WaitForReference(UObject* WorldContextObject, FGuid Identity, TSubclassOf<UObject> ExpectedClass, float TimeoutSeconds = 0.f);

	/**
	 * Completes at once when the identity already resolves as Available, and fails at once when it
	 * never can (no identity, removed, no registry). Otherwise observes it for the caller until one
	 * of the pins fires. Later calls do nothing.
	 */
	virtual void Activate() override;

	/** True once a pin has fired; the action then holds nothing and lets the game instance go of it. */
	bool HasFinished() const
	{
		return bFinished;
	}

private:
	UFUNCTION()
	void HandleReferenceChanged();

	UFUNCTION()
	void HandleConsumerEndPlay(AActor* Actor, EEndPlayReason::Type Reason);

	void HandleTimeout();

	void Succeed(UObject* Object);
	void Fail(EVesk_ReferenceStatus Status);
	/** Lets go of the observation, the end-of-play hook and the timer, before a pin fires. */
	void StopWaiting();
	EVesk_ReferenceStatus LastSeenStatus() const;

	// Kept by the action: the registry holds observations weakly.
	UPROPERTY()
	TObjectPtr<UVesk_ReferenceObservation> Observation;

	UPROPERTY()
	TObjectPtr<UClass> ExpectedClass;

	TWeakObjectPtr<UObject> Consumer;
	TWeakObjectPtr<AActor> ConsumerActor;
	TWeakObjectPtr<UWorld> World;
	FGuid Identity;
	float TimeoutSeconds = 0.f;
	FTimerHandle TimeoutHandle;
	EVesk_ReferenceStatus InitialStatus = EVesk_ReferenceStatus::Unavailable;
	bool bActivated = false;
	bool bFinished = false;
};
