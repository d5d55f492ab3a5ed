#include "Components/ActorComponent.h"

#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "Misc/AssertionMacros.h"

UActorComponent::UActorComponent(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	PrimaryComponentTick.bCanEverTick = false;
}

AActor* UActorComponent::GetOwner() const
{
	return GetTypedOuter<AActor>();
}

UWorld* UActorComponent::GetWorld() const
{
	if (WorldPrivate)
	{
		return WorldPrivate;
	}
	const AActor* Owner = GetOwner();
	if (Owner)
	{
		return !Owner->HasAnyFlags(RF_ClassDefaultObject) ? Owner->GetWorld() : nullptr;
	}
	// A component made directly in a world, without an actor.
	return Cast<UWorld>(GetOuter());
}

void UActorComponent::PostInitProperties()
{
	Super::PostInitProperties();
	if (!IsTemplate())
	{
		if (AActor* Owner = GetOwner())
		{
			Owner->AddOwnedComponent(this);
		}
	}
}

void UActorComponent::RegisterComponent()
{
	// UE treats registering a component that has no world to join as a caller's mistake: it
	// ensures, and the component stays unregistered.
	const AActor* Owner = GetOwner();
	UWorld* RegistrationWorld = WorldPrivate ? WorldPrivate : (Owner ? Owner->GetWorld() : nullptr);
	if (ensure(RegistrationWorld))
	{
		RegisterComponentWithWorld(RegistrationWorld);
	}
}

void UActorComponent::RegisterComponentWithWorld(UWorld* InWorld)
{
	if (!InWorld || bRegistered || bIsBeingDestroyed || !IsValid(this))
	{
		return;
	}
	AActor* Owner = GetOwner();
	if (Owner)
	{
		Owner->AddOwnedComponent(this);
	}
	WorldPrivate = InWorld;
	bRegistered = true;
	OnRegister();

	if (!Owner)
	{
		if (!bHasBeenInitialized && bWantsInitializeComponent)
		{
			InitializeComponent();
		}
		return;
	}
	if (!bHasBeenInitialized && bWantsInitializeComponent && Owner->IsActorInitialized())
	{
		InitializeComponent();
	}
	// OnRegister may have destroyed or unregistered the component.
	if (bRegistered && !bHasBegunPlay && (Owner->HasActorBegunPlay() || Owner->IsActorBeginningPlay()))
	{
		BeginPlay();
	}
}

void UActorComponent::UnregisterComponent()
{
	if (!bRegistered)
	{
		return;
	}
	OnUnregister();
	bRegistered = false;
	WorldPrivate = nullptr;
}

void UActorComponent::DestroyComponent(bool)
{
	if (bIsBeingDestroyed)
	{
		return;
	}
	bIsBeingDestroyed = true;
	if (bHasBegunPlay)
	{
		EndPlay(EEndPlayReason::Destroyed);
	}
	if (bHasBeenInitialized)
	{
		UninitializeComponent();
	}
	UnregisterComponent();
	if (AActor* Owner = GetOwner())
	{
		Owner->RemoveInstanceComponent(this);
		Owner->RemoveOwnedComponent(this);
	}
	OnComponentDestroyed(false);
	MarkAsGarbage();
}

void UActorComponent::BeginPlay()
{
	check(bRegistered);
	check(!bHasBegunPlay);
	ReceiveBeginPlay();
	bHasBegunPlay = true;
}

void UActorComponent::EndPlay(const EEndPlayReason::Type EndPlayReason)
{
	check(bHasBegunPlay);
	// Script events must not run on an object the garbage collector is already releasing.
	if (!HasAnyFlags(RF_BeginDestroyed) && !IsUnreachable())
	{
		ReceiveEndPlay(EndPlayReason);
	}
	bHasBegunPlay = false;
}

void UActorComponent::InitializeComponent()
{
	bHasBeenInitialized = true;
}

void UActorComponent::UninitializeComponent()
{
	bHasBeenInitialized = false;
}

void UActorComponent::OnComponentDestroyed(bool)
{
}

void UActorComponent::SetIsReplicatedByDefault(const bool bNewReplicates)
{
	bReplicates = bNewReplicates;
}

void UActorComponent::SetIsReplicated(bool ShouldReplicate)
{
	bReplicates = ShouldReplicate;
}

void UActorComponent::SetComponentTickEnabled(bool bEnabled)
{
	if (PrimaryComponentTick.bCanEverTick && !IsTemplate())
	{
		PrimaryComponentTick.SetTickFunctionEnable(bEnabled);
	}
}

bool UActorComponent::IsComponentTickEnabled() const
{
	return PrimaryComponentTick.IsTickFunctionEnabled();
}

void UActorComponent::OnRegister()
{
}

void UActorComponent::OnUnregister()
{
}

void UActorComponent::ReceiveBeginPlay()
{
}

void UActorComponent::ReceiveEndPlay(EEndPlayReason::Type)
{
}
