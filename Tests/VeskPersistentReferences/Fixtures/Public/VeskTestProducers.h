#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "GameFramework/Actor.h"
#include "UObject/Object.h"
#include "VeskTestProducers.generated.h"

UCLASS()
class AVeskTestProducerActor : public AActor
{
	GENERATED_BODY()
};

UCLASS()
class UVeskTestProducerComponent : public UActorComponent
{
	GENERATED_BODY()
};

UCLASS()
class UVeskTestProducerObject : public UObject
{
	GENERATED_BODY()
};
