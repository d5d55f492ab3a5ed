#include "Components/ChildActorComponent.h"

#include "Containers/UnrealString.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"

void UChildActorComponent::SetChildActorClass(TSubclassOf<AActor> InClass)
{
	ChildActorClass = InClass;
	if (IsRegistered())
	{
		CreateChildActor();
	}
}

void UChildActorComponent::CreateChildActor()
{
	DestroyChildActor();
	AActor* Owner = GetOwner();
	UWorld* World = GetWorld();
	UClass* Class = ChildActorClass.Get();
	if (!Class || !Owner || !World || World->bIsTearingDown)
	{
		return;
	}
	FActorSpawnParameters SpawnParameters;
	SpawnParameters.Owner = Owner;
	SpawnParameters.Name = FName(*FString::Printf(TEXT("%s_%s_CAT"), *Owner->GetName(), *GetName()));
	SpawnParameters.NameMode = FActorSpawnParameters::ESpawnActorNameMode::Requested;
	ChildActor = World->SpawnActorOfClass(Class, SpawnParameters, this);
}

void UChildActorComponent::DestroyChildActor()
{
	AActor* OldChild = ChildActor;
	ChildActor = nullptr;
	if (IsValid(OldChild))
	{
		OldChild->Destroy();
	}
}

void UChildActorComponent::OnRegister()
{
	Super::OnRegister();
	if (!ChildActor && ChildActorClass.Get())
	{
		CreateChildActor();
	}
}

void UChildActorComponent::BeginPlay()
{
	Super::BeginPlay();
	if (IsValid(ChildActor) && !ChildActor->HasActorBegunPlay() && !ChildActor->IsActorBeginningPlay())
	{
		ChildActor->DispatchBeginPlay();
	}
}

void UChildActorComponent::OnComponentDestroyed(bool bDestroyingHierarchy)
{
	Super::OnComponentDestroyed(bDestroyingHierarchy);
	DestroyChildActor();
}

void UChildActorComponent::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	UChildActorComponent* This = static_cast<UChildActorComponent*>(InThis);
	Collector.AddReferencedObject(This->ChildActor, This);
	Super::AddReferencedObjects(InThis, Collector);
}
