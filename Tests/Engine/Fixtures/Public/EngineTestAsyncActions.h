#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintAsyncActionBase.h"
#include "Kismet/BlueprintFunctionLibrary.h"
#include "Templates/Function.h"
#include "UObject/Object.h"

#include "EngineTestAsyncActions.generated.h"

/** An asynchronous action as a Blueprint node makes one: created by its factory, then activated. */
UCLASS()
class UEngineTestAsyncAction : public UBlueprintAsyncActionBase
{
	GENERATED_BODY()

public:
	UFUNCTION(BlueprintCallable, meta=(BlueprintInternalUseOnly="true", WorldContext="WorldContextObject"))
	static UEngineTestAsyncAction* StartTestAction(UObject* WorldContextObject)
	{
		UEngineTestAsyncAction* Action = NewObject<UEngineTestAsyncAction>();
		Action->RegisterWithGameInstance(WorldContextObject);
		return Action;
	}

	virtual void Activate() override
	{
		++NumActivations;
	}

	int32 NumActivations = 0;
};

/** An object whose method a timer calls; counts the calls and runs an optional hook in each. */
UCLASS()
class UEngineTestTimerTarget : public UObject
{
	GENERATED_BODY()

public:
	void Fire()
	{
		++NumFired;
		if (OnFire)
		{
			OnFire();
		}
	}

	int32 NumFired = 0;
	TFunction<void()> OnFire;
};

/** Static functions for graphs, reached on the class default object. */
UCLASS()
class UEngineTestFunctionLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	UFUNCTION(BlueprintPure, Category="Test")
	static int32 AddOne(int32 Value)
	{
		return Value + 1;
	}
};
