#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "UObject/Object.h"
#include "UObject/ObjectPtr.h"

#include "GameInstance.generated.h"

class FTimerManager;

/**
 * The game's instance, which outlives the worlds it plays in. Only what worlds and asynchronous
 * actions ask of it here: a timer manager that its worlds share, and a list of objects it keeps
 * alive for others. A world has one when given one with SetGameInstance.
 */
UCLASS(Config=Game, Transient, BlueprintType, Blueprintable)
class ENGINE_API UGameInstance : public UObject
{
	GENERATED_BODY()

public:
	UGameInstance(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());
	virtual ~UGameInstance();

	/** The timer manager of every world of this instance. */
	FTimerManager& GetTimerManager() const
	{
		return *TimerManager;
	}

	/** Keeps ObjectToReference alive until it is unregistered; registering twice keeps one entry. */
	void RegisterReferencedObject(UObject* ObjectToReference);
	void UnregisterReferencedObject(UObject* ObjectToReference);

	static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);

private:
	TArray<TObjectPtr<UObject>> ReferencedObjects;
	FTimerManager* TimerManager = nullptr;
};
