#include "GameFramework/Actor.h"

#include "Components/ActorComponent.h"
#include "Components/ChildActorComponent.h"
#include "Engine/Level.h"
#include "Engine/World.h"

AActor::AActor()
{
	PrimaryActorTick.bCanEverTick = false;
}

AActor::AActor(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	PrimaryActorTick.bCanEverTick = false;
}

UWorld* AActor::GetWorld() const
{
	if (HasAnyFlags(RF_ClassDefaultObject))
	{
		return nullptr;
	}
	const ULevel* Level = GetLevel();
	return Level ? Level->OwningWorld : nullptr;
}

ULevel* AActor::GetLevel() const
{
	return GetTypedOuter<ULevel>();
}

bool AActor::IsPendingKillPending() const
{
	return bActorIsBeingDestroyed || !IsValid(this);
}

void AActor::DispatchBeginPlay(bool bFromLevelStreaming)
{
	UWorld* World = GetWorld();
	if (!World || ActorHasBegunPlay != EActorBeginPlayState::HasNotBegunPlay || IsPendingKillPending())
	{
		return;
	}
	bActorBeginningPlayFromLevelStreaming = bFromLevelStreaming;
	ActorHasBegunPlay = EActorBeginPlayState::BeginningPlay;
	BeginPlay();
	bActorBeginningPlayFromLevelStreaming = false;
	if (bActorWantsDestroyDuringBeginPlay)
	{
		bActorWantsDestroyDuringBeginPlay = false;
		World->DestroyActor(this, true);
	}
}

void AActor::BeginPlay()
{
	TInlineComponentArray<UActorComponent*> Components(this);
	for (UActorComponent* Component : Components)
	{
		if (IsValid(Component) && Component->IsRegistered() && !Component->HasBegunPlay())
		{
			Component->BeginPlay();
		}
	}
	ReceiveBeginPlay();
	ActorHasBegunPlay = EActorBeginPlayState::HasBegunPlay;
}

void AActor::EndPlay(const EEndPlayReason::Type EndPlayReason)
{
	if (ActorHasBegunPlay != EActorBeginPlayState::HasBegunPlay)
	{
		return;
	}
	ActorHasBegunPlay = EActorBeginPlayState::HasNotBegunPlay;
	ReceiveEndPlay(EndPlayReason);
	OnEndPlay.Broadcast(this, EndPlayReason);

	// Taken after the callbacks, so components they destroyed (and ended) are left out.
	TInlineComponentArray<UActorComponent*> Components(this);
	for (UActorComponent* Component : Components)
	{
		if (Component && Component->HasBegunPlay())
		{
			Component->EndPlay(EndPlayReason);
		}
	}
}

void AActor::RouteEndPlay(const EEndPlayReason::Type EndPlayReason)
{
	// As in UE, only an actor initialized for play has its play ended; one that was dispatched
	// into play without initialization is left as it is.
	if (bActorInitialized)
	{
		if (ActorHasBegunPlay == EActorBeginPlayState::HasBegunPlay)
		{
			EndPlay(EndPlayReason);
		}
		if (EndPlayReason == EEndPlayReason::RemovedFromWorld)
		{
			bActorInitialized = false;
		}
		UninitializeComponents();
	}
}

bool AActor::Destroy(bool bNetForce, bool bShouldModifyLevel)
{
	if (!IsPendingKillPending())
	{
		if (UWorld* World = GetWorld())
		{
			World->DestroyActor(this, bNetForce, bShouldModifyLevel);
		}
	}
	return IsPendingKillPending();
}

void AActor::Destroyed()
{
	RouteEndPlay(EEndPlayReason::Destroyed);
}

void AActor::PreInitializeComponents()
{
}

void AActor::InitializeComponents()
{
	TInlineComponentArray<UActorComponent*> Components(this);
	for (UActorComponent* Component : Components)
	{
		if (IsValid(Component) && Component->IsRegistered() && Component->bWantsInitializeComponent && !Component->HasBeenInitialized())
		{
			Component->InitializeComponent();
		}
	}
}

void AActor::PostInitializeComponents()
{
	if (IsValid(this))
	{
		bActorInitialized = true;
	}
}

void AActor::UninitializeComponents()
{
	TInlineComponentArray<UActorComponent*> Components(this);
	for (UActorComponent* Component : Components)
	{
		if (Component && Component->HasBeenInitialized())
		{
			Component->UninitializeComponent();
		}
	}
}

void AActor::RegisterAllComponents()
{
	UWorld* World = GetWorld();
	if (!World)
	{
		return;
	}
	TInlineComponentArray<UActorComponent*> Components(this);
	for (UActorComponent* Component : Components)
	{
		if (IsValid(Component) && Component->bAutoRegister && !Component->IsRegistered())
		{
			Component->RegisterComponentWithWorld(World);
		}
	}
}

void AActor::UnregisterAllComponents()
{
	TInlineComponentArray<UActorComponent*> Components(this);
	for (UActorComponent* Component : Components)
	{
		if (Component && Component->IsRegistered())
		{
			Component->UnregisterComponent();
		}
	}
}

void AActor::SetOwner(AActor* NewOwner)
{
	Owner = NewOwner;
}

UChildActorComponent* AActor::GetParentComponent() const
{
	return ParentComponent.Get();
}

AActor* AActor::GetParentActor() const
{
	const UChildActorComponent* Parent = GetParentComponent();
	return Parent ? Parent->GetOwner() : nullptr;
}

bool AActor::IsChildActor() const
{
	return ParentComponent.IsValid();
}

UActorComponent* AActor::FindComponentByClass(const TSubclassOf<UActorComponent> ComponentClass) const
{
	UClass* Class = ComponentClass.Get();
	if (!Class)
	{
		return nullptr;
	}
	for (UActorComponent* Component : OwnedComponents)
	{
		if (Component && Component->IsA(Class))
		{
			return Component;
		}
	}
	return nullptr;
}

void AActor::AddOwnedComponent(UActorComponent* Component)
{
	if (Component)
	{
		OwnedComponents.Add(Component);
	}
}

void AActor::RemoveOwnedComponent(UActorComponent* Component)
{
	OwnedComponents.Remove(Component);
}

bool AActor::OwnsComponent(UActorComponent* Component) const
{
	return OwnedComponents.Contains(Component);
}

void AActor::AddInstanceComponent(UActorComponent* Component)
{
	if (Component)
	{
		InstanceComponents.AddUnique(Component);
	}
}

void AActor::RemoveInstanceComponent(UActorComponent* Component)
{
	InstanceComponents.Remove(Component);
}

void AActor::ClearInstanceComponents(bool bDestroyComponents)
{
	TArray<UActorComponent*> Cleared = MoveTemp(InstanceComponents);
	InstanceComponents.Reset();
	if (bDestroyComponents)
	{
		for (UActorComponent* Component : Cleared)
		{
			if (IsValid(Component))
			{
				Component->DestroyComponent();
			}
		}
	}
}

AActor* AActor::GetChildActorOf(const UActorComponent* Component)
{
	const UChildActorComponent* ChildActorComponent = Cast<UChildActorComponent>(Component);
	return ChildActorComponent ? ChildActorComponent->GetChildActor() : nullptr;
}

void AActor::MarkComponentsAsGarbage()
{
	TInlineComponentArray<UActorComponent*> Components(this);
	for (UActorComponent* Component : Components)
	{
		if (Component)
		{
			Component->OnComponentDestroyed(true);
			Component->MarkAsGarbage();
		}
	}
}

void AActor::ReceiveBeginPlay()
{
}

void AActor::ReceiveEndPlay(EEndPlayReason::Type)
{
}

void AActor::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	AActor* This = static_cast<AActor*>(InThis);
	// The collector clears references to components marked as garbage; a set cannot hold the
	// cleared slot, so such components leave the set instead of dangling in it once released.
	for (TSet<UActorComponent*>::TIterator It = This->OwnedComponents.CreateIterator(); It; ++It)
	{
		UActorComponent* Component = *It;
		Collector.AddReferencedObject(Component, This);
		if (!Component)
		{
			It.RemoveCurrent();
		}
	}
	Collector.AddReferencedObjects(This->InstanceComponents, This);
	Collector.AddReferencedObject(This->Owner, This);
	Super::AddReferencedObjects(InThis, Collector);
}
