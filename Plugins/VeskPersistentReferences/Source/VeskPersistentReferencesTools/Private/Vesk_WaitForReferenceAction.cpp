#include "Vesk_WaitForReferenceAction.h"

#include "Components/ActorComponent.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "Templates/Casts.h"
#include "TimerManager.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceSubsystem.h"
#include "Vesk_ReferenceToolsAccess.h"

namespace VeskWaitForReferenceAction
{
	// Statuses after which waiting is pointless: nothing in the registry leads from them to Available.
	static bool IsFinal(EVesk_ReferenceStatus Status)
	{
		return Status == EVesk_ReferenceStatus::Empty || Status == EVesk_ReferenceStatus::Removed;
	}

	static AActor* FindConsumerActor(UObject* Consumer)
	{
		if (const UActorComponent* Component = Cast<UActorComponent>(Consumer))
		{
			return Component->GetOwner();
		}
		return Cast<AActor>(Consumer);
	}
}

UVesk_WaitForReferenceAction* UVesk_WaitForReferenceAction::WaitForReference(UObject* WorldContextObject, FGuid Identity, TSubclassOf<UObject> ExpectedClass, float TimeoutSeconds)
{
	UVesk_WaitForReferenceAction* Action = NewObject<UVesk_WaitForReferenceAction>();
	Action->Consumer = WorldContextObject;
	Action->Identity = Identity;
	Action->ExpectedClass = ExpectedClass.Get();
	Action->TimeoutSeconds = TimeoutSeconds;
	// The graph that started the wait may be gone long before the reference comes.
	Action->RegisterWithGameInstance(WorldContextObject);
	return Action;
}

void UVesk_WaitForReferenceAction::Activate()
{
	using namespace VeskWaitForReferenceAction;

	if (bActivated)
	{
		return;
	}
	bActivated = true;

	UObject* ConsumerObject = Consumer.Get();
	UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(ConsumerObject);
	if (!Registry)
	{
		Fail(Identity.IsValid() ? EVesk_ReferenceStatus::Unavailable : EVesk_ReferenceStatus::Empty);
		return;
	}

	const FVesk_ResolvedReference Resolved = Registry->Resolve(Identity, ExpectedClass, nullptr);
	InitialStatus = Resolved.Status;
	if (Resolved.Status == EVesk_ReferenceStatus::Available)
	{
		Succeed(Resolved.Object);
		return;
	}
	if (IsFinal(Resolved.Status))
	{
		Fail(Resolved.Status);
		return;
	}

	Observation = Registry->Observe(Identity, ExpectedClass, nullptr, ConsumerObject);
	// An observation stopped at birth (its consumer actor is leaving, say) would never call back.
	if (!Observation || !Observation->IsActive())
	{
		Fail(Resolved.Status);
		return;
	}
	Observation->OnChanged.AddDynamic(this, &ThisClass::HandleReferenceChanged);

	// Observations stop without a word when their consumer actor ends play; the wait must end too.
	if (AActor* Actor = FindConsumerActor(ConsumerObject))
	{
		ConsumerActor = Actor;
		Actor->OnEndPlay.AddUniqueDynamic(this, &ThisClass::HandleConsumerEndPlay);
	}

	World = Registry->GetWorld();
	if (TimeoutSeconds > 0.f && World.IsValid())
	{
		World->GetTimerManager().SetTimer(TimeoutHandle, this, &ThisClass::HandleTimeout, TimeoutSeconds, false);
	}
}

void UVesk_WaitForReferenceAction::HandleReferenceChanged()
{
	if (bFinished || !Observation)
	{
		return;
	}
	const EVesk_ReferenceStatus Status = Observation->GetStatus();
	UObject* ConsumerObject = Consumer.Get();
	UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(ConsumerObject);
	if (Status == EVesk_ReferenceStatus::Available && Registry)
	{
		// The observation records a status, not the object; the registry hands it out.
		Succeed(Registry->Resolve(Identity, ExpectedClass, nullptr).Object);
		return;
	}
	// A registry torn down with its world resolves nothing again, and its observations stop next.
	if (VeskWaitForReferenceAction::IsFinal(Status) || !Registry || FVesk_ReferenceToolsAccess::IsDeinitialized(*Registry))
	{
		Fail(Status);
	}
}

void UVesk_WaitForReferenceAction::HandleConsumerEndPlay(AActor* /*Actor*/, EEndPlayReason::Type /*Reason*/)
{
	Fail(LastSeenStatus());
}

void UVesk_WaitForReferenceAction::HandleTimeout()
{
	Fail(LastSeenStatus());
}

EVesk_ReferenceStatus UVesk_WaitForReferenceAction::LastSeenStatus() const
{
	return Observation ? Observation->GetStatus() : InitialStatus;
}

void UVesk_WaitForReferenceAction::Succeed(UObject* Object)
{
	if (bFinished)
	{
		return;
	}
	StopWaiting();
	OnAvailable.Broadcast(Object, EVesk_ReferenceStatus::Available);
	SetReadyToDestroy();
}

void UVesk_WaitForReferenceAction::Fail(EVesk_ReferenceStatus Status)
{
	if (bFinished)
	{
		return;
	}
	StopWaiting();
	OnFailed.Broadcast(nullptr, Status);
	SetReadyToDestroy();
}

void UVesk_WaitForReferenceAction::StopWaiting()
{
	// Set before anything else: a handler of what follows may call back into this action.
	bFinished = true;
	if (Observation)
	{
		Observation->Stop();
		Observation = nullptr;
	}
	if (AActor* Actor = ConsumerActor.Get())
	{
		Actor->OnEndPlay.RemoveDynamic(this, &ThisClass::HandleConsumerEndPlay);
	}
	ConsumerActor.Reset();
	if (UWorld* TimerWorld = World.Get())
	{
		TimerWorld->GetTimerManager().ClearTimer(TimeoutHandle);
	}
}
