#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Vesk_ReferenceConsumerLifetimeComponent.generated.h"

class AActor;

// Native component play state spans the actor's ReceiveEndPlay callback.
// Shared per consumer actor; never ticks, replicates, or keeps subscriptions alive.
UCLASS(Transient, meta=(IsBlueprintBase="false"))
class UVesk_ReferenceConsumerLifetimeComponent : public UActorComponent
{
	GENERATED_BODY()

public:
	UVesk_ReferenceConsumerLifetimeComponent(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());
};

namespace VeskReferenceConsumerLifetime
{
	// The consumer actor's lifetime component: its first one, or a new one registered with it. Every
	// observation of every consumer on the actor shares it, so its play state is the actor's.
	UVesk_ReferenceConsumerLifetimeComponent* FindOrCreate(AActor& ConsumerActor);
}
