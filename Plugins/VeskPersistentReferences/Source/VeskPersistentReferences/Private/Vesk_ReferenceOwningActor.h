#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "GameFramework/Actor.h"
#include "Templates/Casts.h"

namespace VeskReference
{
	// The actor whose end of play concerns the object: the actor itself, a component's owner
	// (possibly none), or none for any other object.
	inline AActor* FindOwningActor(UObject* Object)
	{
		if (const UActorComponent* Component = Cast<UActorComponent>(Object))
		{
			return Component->GetOwner();
		}
		return Cast<AActor>(Object);
	}
}
