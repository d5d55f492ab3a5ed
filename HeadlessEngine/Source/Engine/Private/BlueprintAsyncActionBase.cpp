#include "Kismet/BlueprintAsyncActionBase.h"

#include "Engine/GameInstance.h"
#include "Engine/World.h"

UBlueprintAsyncActionBase::UBlueprintAsyncActionBase(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	// The script frame that creates an action keeps it while the frame runs.
	if (!HasAnyFlags(RF_ClassDefaultObject))
	{
		SetFlags(RF_StrongRefOnFrame);
	}
}

void UBlueprintAsyncActionBase::Activate()
{
}

void UBlueprintAsyncActionBase::RegisterWithGameInstance(const UObject* WorldContextObject)
{
	const UWorld* World = WorldContextObject ? WorldContextObject->GetWorld() : nullptr;
	if (World && World->GetGameInstance())
	{
		RegisterWithGameInstance(World->GetGameInstance());
	}
}

void UBlueprintAsyncActionBase::RegisterWithGameInstance(UGameInstance* GameInstance)
{
	if (!GameInstance)
	{
		return;
	}
	if (UGameInstance* OldGameInstance = RegisteredWithGameInstance.Get())
	{
		OldGameInstance->UnregisterReferencedObject(this);
	}
	GameInstance->RegisterReferencedObject(this);
	RegisteredWithGameInstance = GameInstance;
}

void UBlueprintAsyncActionBase::SetReadyToDestroy()
{
	ClearFlags(RF_StrongRefOnFrame);
	if (UGameInstance* OldGameInstance = RegisteredWithGameInstance.Get())
	{
		OldGameInstance->UnregisterReferencedObject(this);
	}
}
