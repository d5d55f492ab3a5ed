#include "Engine/GameInstance.h"

#include "TimerManager.h"

UGameInstance::UGameInstance(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
	, TimerManager(new FTimerManager(this))
{
}

UGameInstance::~UGameInstance()
{
	delete TimerManager;
}

void UGameInstance::RegisterReferencedObject(UObject* ObjectToReference)
{
	ReferencedObjects.AddUnique(ObjectToReference);
}

void UGameInstance::UnregisterReferencedObject(UObject* ObjectToReference)
{
	ReferencedObjects.RemoveSingleSwap(ObjectToReference);
}

void UGameInstance::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	UGameInstance* This = static_cast<UGameInstance*>(InThis);
	Collector.AddReferencedObjects(This->ReferencedObjects, This);
	Super::AddReferencedObjects(InThis, Collector);
}
