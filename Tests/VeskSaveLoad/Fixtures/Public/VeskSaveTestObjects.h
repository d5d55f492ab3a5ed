#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Actor.h"
#include "UObject/Object.h"
#include "VeskSaveTestObjects.generated.h"

UCLASS()
class AVeskSaveTestActor : public AActor
{
	GENERATED_BODY()
};

UCLASS()
class UVeskSaveTestObject : public UObject
{
	GENERATED_BODY()
};
