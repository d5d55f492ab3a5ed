#include "Engine/Level.h"

#include "Engine/World.h"
#include "GameFramework/Actor.h"

UWorld* ULevel::GetWorld() const
{
	return OwningWorld;
}

void ULevel::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	ULevel* This = static_cast<ULevel*>(InThis);
	Collector.AddReferencedObjects(This->Actors, This);
	Collector.AddReferencedObject(This->OwningWorld, This);
	Super::AddReferencedObjects(InThis, Collector);
}
