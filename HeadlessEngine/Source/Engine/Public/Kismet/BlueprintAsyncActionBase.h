#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/WeakObjectPtrTemplates.h"

#include "BlueprintAsyncActionBase.generated.h"

class UGameInstance;

/**
 * Base of the objects behind asynchronous Blueprint nodes. A static factory function marked
 * "BlueprintInternalUseOnly" creates the action; the node binds the action's multicast delegate
 * properties as its output pins, then calls Activate. An action that must outlive its calling
 * graph registers with the game instance, which keeps it until SetReadyToDestroy.
 */
UCLASS(MinimalAPI)
class ENGINE_API UBlueprintAsyncActionBase : public UObject
{
	GENERATED_BODY()

public:
	UBlueprintAsyncActionBase(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Called to trigger the action once the delegates have been bound */
	UFUNCTION(BlueprintCallable, meta=(BlueprintInternalUseOnly="true"))
	virtual void Activate();

	/**
	 * Registers with the game instance of the context object's world, if it has one; nothing
	 * happens otherwise.
	 */
	virtual void RegisterWithGameInstance(const UObject* WorldContextObject);
	/** Keeps this action alive through the game instance until SetReadyToDestroy; a null instance does nothing. */
	virtual void RegisterWithGameInstance(UGameInstance* GameInstance);

	/** Call when the action is completely done: the game instance lets go of it. */
	virtual void SetReadyToDestroy();

protected:
	TWeakObjectPtr<UGameInstance> RegisteredWithGameInstance;
};
