#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "ReflectionFixturePrivate.generated.h"

// Declared in a private header: registered like any other class, but its header is not part of
// the module's public include path.
UCLASS(Transient, meta=(IsBlueprintBase=false))
class UFixturePrivateObject : public UObject
{
	GENERATED_BODY()
};
