#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "UObject/Object.h"

#include "Level.generated.h"

class AActor;
class UWorld;

/**
 * The outer of a world's actors. A world has one level, its persistent level, named
 * "PersistentLevel", so an actor's path relative to its world is "PersistentLevel.<Name>"
 * in every world.
 */
UCLASS(MinimalAPI)
class ENGINE_API ULevel : public UObject
{
	GENERATED_BODY()

public:
	/** The actors of the level in spawn order; destroyed actors leave a null slot until the world compacts the list. */
	TArray<AActor*> Actors;

	UWorld* OwningWorld = nullptr;

	virtual UWorld* GetWorld() const override;

	static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);
};
