#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "BlueprintFunctionLibrary.generated.h"

/**
 * Base of classes that hold static functions for Blueprint graphs. Never instanced: graphs call
 * the functions on the class default object, which is how ProcessEvent reaches them too.
 */
UCLASS(Abstract, MinimalAPI)
class ENGINE_API UBlueprintFunctionLibrary : public UObject
{
	GENERATED_BODY()
};
