#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "Engine/EngineTypes.h"
#include "GameFramework/Actor.h"
#include "Templates/Function.h"
#include "UObject/Object.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceObservation.h"
#include "VeskTestListeners.generated.h"

// One call of a listener's handler, as the handler saw it.
struct FVeskTestHandlerCall
{
	int32 ListenerId = 0;
	EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Empty;
};

// A handler object, as game code would bind to an observation's OnChanged. Records every call, with
// the status the observation reported inside the handler, and runs an optional hook there.
UCLASS()
class UVeskTestListener : public UObject
{
	GENERATED_BODY()

public:
	void Listen(UVesk_ReferenceObservation* InObservation)
	{
		Observation = InObservation;
		InObservation->OnChanged.AddDynamic(this, &UVeskTestListener::HandleChanged);
	}

	UFUNCTION()
	void HandleChanged()
	{
		const UVesk_ReferenceObservation* Observed = Observation.Get();
		const EVesk_ReferenceStatus Status = Observed ? Observed->GetStatus() : EVesk_ReferenceStatus::Empty;
		Seen.Add(Status);
		if (SharedLog)
		{
			SharedLog->Add(FVeskTestHandlerCall{ ListenerId, Status });
		}
		if (Hook)
		{
			Hook(this);
		}
	}

	// Receives the end of play of a consumer actor, bound before or after an observation's own handler.
	UFUNCTION()
	void HandleEndPlay(AActor* Actor, EEndPlayReason::Type Reason)
	{
		(void)Reason;
		if (EndPlayHook)
		{
			EndPlayHook(Actor);
		}
	}

	int32 NumCalls() const
	{
		return Seen.Num();
	}

	TWeakObjectPtr<UVesk_ReferenceObservation> Observation;
	TArray<EVesk_ReferenceStatus> Seen;
	TArray<FVeskTestHandlerCall>* SharedLog = nullptr;
	int32 ListenerId = 0;
	TFunction<void(UVeskTestListener*)> Hook;
	TFunction<void(AActor*)> EndPlayHook;
};
