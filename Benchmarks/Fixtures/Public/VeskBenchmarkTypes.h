#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "UObject/Object.h"
#include "VeskBenchmarkTypes.generated.h"

// The one component of every benchmark producer, which resolution with a component type finds.
UCLASS()
class UVeskBenchmarkComponent : public UActorComponent
{
	GENERATED_BODY()
};

// A consumer's handler for an observation's OnChanged; counts its calls so that a benchmark can check
// that the change it times was seen.
UCLASS()
class UVeskBenchmarkListener : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION()
	void HandleChanged()
	{
		++NumCalls;
	}

	int64 NumCalls = 0;
};
