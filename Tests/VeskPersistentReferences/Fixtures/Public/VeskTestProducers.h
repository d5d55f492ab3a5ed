#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Engine/EngineTypes.h"
#include "GameFramework/Actor.h"
#include "Templates/Function.h"
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

// A subclass, so that class tests can tell "is a" from "is exactly".
UCLASS()
class UVeskTestDerivedProducerComponent : public UVeskTestProducerComponent
{
	GENERATED_BODY()
};

UCLASS()
class UVeskTestProducerObject : public UObject
{
	GENERATED_BODY()
};

// Runs test code at the moments a producer actor cannot choose: inside its begin play, and inside
// its end of play (which, when the actor is destroyed, runs while it is being destroyed).
UCLASS()
class AVeskTestHookedActor : public AActor
{
	GENERATED_BODY()

public:
	TFunction<void(AVeskTestHookedActor*)> BeginPlayHook;
	TFunction<void(AVeskTestHookedActor*)> EndPlayHook;

protected:
	virtual void BeginPlay() override
	{
		if (BeginPlayHook)
		{
			BeginPlayHook(this);
		}
		Super::BeginPlay();
	}

	virtual void EndPlay(const EEndPlayReason::Type EndPlayReason) override
	{
		if (EndPlayHook)
		{
			EndPlayHook(this);
		}
		Super::EndPlay(EndPlayReason);
	}
};

// Runs test code inside its end of play, which DestroyComponent runs while the component is being
// destroyed and before it is marked as garbage.
UCLASS()
class UVeskTestHookedComponent : public UActorComponent
{
	GENERATED_BODY()

public:
	TFunction<void(UVeskTestHookedComponent*)> EndPlayHook;

	virtual void EndPlay(const EEndPlayReason::Type EndPlayReason) override
	{
		if (EndPlayHook)
		{
			EndPlayHook(this);
		}
		Super::EndPlay(EndPlayReason);
	}
};
