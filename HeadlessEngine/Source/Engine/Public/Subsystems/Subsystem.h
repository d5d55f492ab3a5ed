#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "Subsystem.generated.h"

class FSubsystemCollectionBase;

/**
 * An object whose lifetime an engine object manages: the collection of that object creates
 * one instance of each subsystem class, initializes it, and deinitializes it at the end.
 */
UCLASS(Abstract, MinimalAPI)
class ENGINE_API USubsystem : public UObject
{
	GENERATED_BODY()

public:
	/** Asked of the class default object before an instance is created for Outer. */
	virtual bool ShouldCreateSubsystem(UObject* Outer) const;
	virtual void Initialize(FSubsystemCollectionBase& Collection);
	virtual void Deinitialize();

private:
	friend class FSubsystemCollectionBase;
	FSubsystemCollectionBase* InternalOwningSubsystem = nullptr;
};
