#include "Vesk_ReferenceConsumerLifetimeComponent.h"

#include "GameFramework/Actor.h"
#include "UObject/UObjectGlobals.h"

UVesk_ReferenceConsumerLifetimeComponent::UVesk_ReferenceConsumerLifetimeComponent(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	PrimaryComponentTick.bCanEverTick = false;
	SetIsReplicatedByDefault(false);
}

namespace VeskReferenceConsumerLifetime
{
	UVesk_ReferenceConsumerLifetimeComponent* FindOrCreate(AActor& ConsumerActor)
	{
		if (UVesk_ReferenceConsumerLifetimeComponent* Existing = ConsumerActor.FindComponentByClass<UVesk_ReferenceConsumerLifetimeComponent>())
		{
			return Existing;
		}

		// Transient, and kept out of the instance components: the component belongs to no saved or
		// edited state of the actor, only to its play state.
		UVesk_ReferenceConsumerLifetimeComponent* Created = NewObject<UVesk_ReferenceConsumerLifetimeComponent>(&ConsumerActor, NAME_None, RF_Transient);
		Created->RegisterComponent();
		return Created;
	}
}
