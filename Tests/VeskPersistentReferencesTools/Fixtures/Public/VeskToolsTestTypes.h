#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Containers/Array.h"
#include "Engine/EngineTypes.h"
#include "GameFramework/Actor.h"
#include "Templates/Function.h"
#include "UObject/Object.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "Vesk_PersistentReference.h"
#include "VeskToolsTestTypes.generated.h"

// Producers of the kinds a game has: an actor, a more specific actor, components, and a plain
// object of the world.
UCLASS()
class AVeskToolsTestActor : public AActor
{
	GENERATED_BODY()
};

UCLASS()
class AVeskToolsTestDerivedActor : public AVeskToolsTestActor
{
	GENERATED_BODY()
};

UCLASS()
class AVeskToolsTestOtherActor : public AActor
{
	GENERATED_BODY()
};

UCLASS()
class UVeskToolsTestComponent : public UActorComponent
{
	GENERATED_BODY()
};

UCLASS()
class UVeskToolsTestOtherComponent : public UActorComponent
{
	GENERATED_BODY()
};

UCLASS()
class UVeskToolsTestObject : public UObject
{
	GENERATED_BODY()
};

// Runs test code inside its end of play, which its destruction runs while it is being destroyed.
UCLASS()
class AVeskToolsTestHookedActor : public AActor
{
	GENERATED_BODY()

public:
	TFunction<void(AVeskToolsTestHookedActor*)> EndPlayHook;

	virtual void EndPlay(const EEndPlayReason::Type EndPlayReason) override
	{
		if (EndPlayHook)
		{
			EndPlayHook(this);
		}
		Super::EndPlay(EndPlayReason);
	}
};

// Runs test code inside its end of play, which DestroyComponent runs while it is being destroyed.
UCLASS()
class UVeskToolsTestHookedComponent : public UActorComponent
{
	GENERATED_BODY()

public:
	TFunction<void(UVeskToolsTestHookedComponent*)> EndPlayHook;

	virtual void EndPlay(const EEndPlayReason::Type EndPlayReason) override
	{
		if (EndPlayHook)
		{
			EndPlayHook(this);
		}
		Super::EndPlay(EndPlayReason);
	}
};

// One output pin firing, as a Blueprint graph bound to an asynchronous node would see it.
struct FVeskToolsTestPinCall
{
	FString Pin;
	UObject* Object = nullptr;
	EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Empty;

	bool operator==(const FVeskToolsTestPinCall& Other) const = default;
};

// Stands for the graph behind a "Wait For Reference" node: its handlers are the node's output
// pins, and record every call in order, running an optional hook inside each.
UCLASS()
class UVeskToolsTestPinListener : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION()
	void HandleAvailable(UObject* Object, EVesk_ReferenceStatus Status)
	{
		Record(TEXT("Available"), Object, Status);
	}

	UFUNCTION()
	void HandleFailed(UObject* Object, EVesk_ReferenceStatus Status)
	{
		Record(TEXT("Failed"), Object, Status);
	}

	TArray<FVeskToolsTestPinCall> Calls;
	TFunction<void()> Hook;

private:
	void Record(const TCHAR* Pin, UObject* Object, EVesk_ReferenceStatus Status)
	{
		Calls.Add(FVeskToolsTestPinCall{ Pin, Object, Status });
		if (Hook)
		{
			Hook();
		}
	}
};
