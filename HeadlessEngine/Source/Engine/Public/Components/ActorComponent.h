#pragma once

#include "CoreMinimal.h"
#include "Engine/EngineBaseTypes.h"
#include "Engine/EngineTypes.h"
#include "Templates/Casts.h"
#include "UObject/Object.h"

#include "ActorComponent.generated.h"

class AActor;
class UWorld;

/**
 * A reusable part of an actor. A component belongs to the first actor of its outer chain and
 * joins that actor's owned components when created.
 *
 * Play state: registering a component with the world of an actor that is in play or beginning
 * play begins the component's play at once; a component registered earlier begins play with its
 * actor. A component ends play when its actor does, after the actor's own end-of-play callbacks,
 * or when it is destroyed.
 */
UCLASS(DefaultToInstanced, BlueprintType, Abstract, MinimalAPI, Config=Engine, meta=(ShortTooltip="An ActorComponent is a reusable component that can be added to any actor."))
class ENGINE_API UActorComponent : public UObject
{
	GENERATED_BODY()

public:
	UActorComponent(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Kept for code that configures it; components are not ticked. */
	FActorComponentTickFunction PrimaryComponentTick;

	/** Whether RegisterAllComponents of the owner registers this component. */
	uint8 bAutoRegister : 1 = true;
	/** Whether the owner's InitializeComponents calls InitializeComponent. */
	uint8 bWantsInitializeComponent : 1 = false;

	AActor* GetOwner() const;
	template<class T>
	T* GetOwner() const
	{
		return Cast<T>(GetOwner());
	}

	/** The world the component is registered with, else its owner's world. */
	virtual UWorld* GetWorld() const override final;

	/**
	 * Registers the component with its owner's world. Without a world (not registered, and no
	 * owner in a world) an ensure fails and nothing else happens.
	 */
	void RegisterComponent();
	/** Registers with InWorld unless registered already or marked as garbage. */
	void RegisterComponentWithWorld(UWorld* InWorld);
	/** Unregisters; the play state is left as it is. */
	void UnregisterComponent();
	bool IsRegistered() const
	{
		return bRegistered;
	}

	/** Ends play if begun, uninitializes, unregisters, leaves the owner's components and is marked as garbage. */
	virtual void DestroyComponent(bool bPromoteChildren = false);
	bool IsBeingDestroyed() const
	{
		return bIsBeingDestroyed;
	}

	bool HasBegunPlay() const
	{
		return bHasBegunPlay;
	}
	bool HasBeenInitialized() const
	{
		return bHasBeenInitialized;
	}

	/** Requires a registered component that has not begun play. Overrides call Super. */
	virtual void BeginPlay();
	/** Requires a component that has begun play. Overrides call Super. */
	virtual void EndPlay(const EEndPlayReason::Type EndPlayReason);

	virtual void InitializeComponent();
	virtual void UninitializeComponent();

	/** Called when the component is destroyed, alone or with its actor. */
	virtual void OnComponentDestroyed(bool bDestroyingHierarchy);

	/** For constructors: sets replication without side effects. */
	void SetIsReplicatedByDefault(const bool bNewReplicates);
	UFUNCTION(BlueprintCallable, Category="Components")
	void SetIsReplicated(bool ShouldReplicate);
	bool GetIsReplicated() const
	{
		return bReplicates;
	}

	void SetComponentTickEnabled(bool bEnabled);
	bool IsComponentTickEnabled() const;

	virtual void PostInitProperties() override;

protected:
	/** Called when the component has been registered with a world, and before it is unregistered. */
	virtual void OnRegister();
	virtual void OnUnregister();

	/** Hooks that the script events of a component run through; they do nothing here. */
	virtual void ReceiveBeginPlay();
	virtual void ReceiveEndPlay(EEndPlayReason::Type EndPlayReason);

private:
	UWorld* WorldPrivate = nullptr;
	uint8 bRegistered : 1 = false;
	uint8 bHasBegunPlay : 1 = false;
	uint8 bHasBeenInitialized : 1 = false;
	uint8 bIsBeingDestroyed : 1 = false;
	uint8 bReplicates : 1 = false;
};
