#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Containers/Array.h"
#include "Containers/ContainerAllocationPolicies.h"
#include "Containers/Set.h"
#include "Engine/EngineBaseTypes.h"
#include "Engine/EngineTypes.h"
#include "Templates/SubclassOf.h"
#include "UObject/Object.h"
#include "UObject/SparseDelegate.h"
#include "UObject/WeakObjectPtrTemplates.h"

#include "Actor.generated.h"

class AActor;
class UChildActorComponent;
class ULevel;
class UWorld;

DECLARE_DYNAMIC_MULTICAST_SPARSE_DELEGATE_TwoParams(FActorEndPlaySignature, AActor, OnEndPlay, AActor*, Actor, EEndPlayReason::Type, EndPlayReason);

/** The number of components an inline component array holds without allocating. */
static constexpr uint32 NumInlinedActorComponents = 24;

/**
 * An object that can be spawned into a world. Its outer is its world's persistent level.
 *
 * Play state: an actor has not begun play, is beginning play (inside BeginPlay), or has begun
 * play. It can end play without being destroyed and begin play again later.
 *
 * Components: the actor owns every component whose outer chain leads to it (its owned
 * components, kept alive by the actor); instance components are the subset added with
 * AddInstanceComponent.
 */
UCLASS(BlueprintType, Blueprintable, Config=Engine, meta=(ShortTooltip="An Actor is an object that can be placed or spawned in the world."))
class ENGINE_API AActor : public UObject
{
	GENERATED_BODY()

public:
	AActor();
	AActor(const FObjectInitializer& ObjectInitializer);

	/** Called when the actor ends play, after it has left play and before its components end play. */
	UPROPERTY(BlueprintAssignable, Category="Game")
	FActorEndPlaySignature OnEndPlay;

	/** Kept for code that configures it; actors are not ticked. */
	FActorTickFunction PrimaryActorTick;

	virtual UWorld* GetWorld() const override final;
	ULevel* GetLevel() const;

	/** Begins play if the actor has not begun play, is in a world and is not being destroyed. */
	void DispatchBeginPlay(bool bFromLevelStreaming = false);

	bool HasActorBegunPlay() const
	{
		return ActorHasBegunPlay == EActorBeginPlayState::HasBegunPlay;
	}
	bool IsActorBeginningPlay() const
	{
		return ActorHasBegunPlay == EActorBeginPlayState::BeginningPlay;
	}
	bool IsActorBeginningPlayFromLevelStreaming() const
	{
		return bActorBeginningPlayFromLevelStreaming;
	}
	bool IsActorInitialized() const
	{
		return bActorInitialized;
	}
	bool IsActorBeingDestroyed() const
	{
		return bActorIsBeingDestroyed;
	}
	/** Being destroyed, or already marked as garbage. */
	bool IsPendingKillPending() const;

	/**
	 * Ends play if the actor has begun play. In order: the actor leaves play (not begun),
	 * ReceiveEndPlay, OnEndPlay, then EndPlay of each component that has begun play.
	 * Overrides call Super.
	 */
	virtual void EndPlay(const EEndPlayReason::Type EndPlayReason);

	/** For an initialized actor only: ends play if in play and uninitializes the components. */
	void RouteEndPlay(const EEndPlayReason::Type EndPlayReason);

	/** Destroys the actor through its world; true if it is destroyed or already being destroyed. */
	bool Destroy(bool bNetForce = false, bool bShouldModifyLevel = true);

	/** Called on explicit destruction only; the base routes EndPlay(Destroyed). */
	virtual void Destroyed();

	virtual void PreInitializeComponents();
	/** Initializes the registered components that want it. */
	void InitializeComponents();
	/** The actor counts as initialized once the base runs. */
	virtual void PostInitializeComponents();
	void UninitializeComponents();

	/** Registers every owned component that auto-registers and is not registered. */
	void RegisterAllComponents();
	void UnregisterAllComponents();

	AActor* GetOwner() const
	{
		return Owner;
	}
	template<class T>
	T* GetOwner() const
	{
		return Cast<T>(Owner);
	}
	virtual void SetOwner(AActor* NewOwner);

	/** The child actor component that created this actor, if it is a child actor. */
	UChildActorComponent* GetParentComponent() const;
	AActor* GetParentActor() const;
	bool IsChildActor() const;

	/** The first owned component of ComponentClass; child actors' components are not searched. */
	virtual UActorComponent* FindComponentByClass(const TSubclassOf<UActorComponent> ComponentClass) const;
	template<class T>
	T* FindComponentByClass() const
	{
		static_assert(std::is_base_of_v<UActorComponent, T>, "'T' template parameter to FindComponentByClass must be derived from UActorComponent");
		return (T*)FindComponentByClass(T::StaticClass());
	}
	UActorComponent* GetComponentByClass(TSubclassOf<UActorComponent> ComponentClass) const
	{
		return FindComponentByClass(ComponentClass);
	}

	/** The owned components; may hold nulls for components the garbage collector released. */
	const TSet<UActorComponent*>& GetComponents() const
	{
		return OwnedComponents;
	}

	/**
	 * Fills OutComponents, after emptying it, with the owned components of type T and, when
	 * bIncludeFromChildActors, those of child actors (recursively), after the actor's own.
	 */
	template<class T, class AllocatorType>
	void GetComponents(TArray<T*, AllocatorType>& OutComponents, bool bIncludeFromChildActors = false) const
	{
		static_assert(std::is_base_of_v<UActorComponent, T>, "'T' template parameter to GetComponents must be derived from UActorComponent");
		OutComponents.Reset();
		AppendComponents<T>(T::StaticClass(), OutComponents, bIncludeFromChildActors);
	}
	template<class T, class AllocatorType>
	void GetComponents(TArray<TObjectPtr<T>, AllocatorType>& OutComponents, bool bIncludeFromChildActors = false) const
	{
		static_assert(std::is_base_of_v<UActorComponent, T>, "'T' template parameter to GetComponents must be derived from UActorComponent");
		OutComponents.Reset();
		AppendComponents<T>(T::StaticClass(), OutComponents, bIncludeFromChildActors);
	}
	template<class AllocatorType>
	void GetComponents(TArray<UActorComponent*, AllocatorType>& OutComponents, bool bIncludeFromChildActors = false) const
	{
		OutComponents.Reset();
		AppendComponents<UActorComponent>(UActorComponent::StaticClass(), OutComponents, bIncludeFromChildActors);
	}
	/** As above, filtered by ComponentClass, which must be ComponentType or derived from it. */
	template<class AllocatorType, class ComponentType>
	void GetComponents(TSubclassOf<UActorComponent> ComponentClass, TArray<ComponentType*, AllocatorType>& OutComponents, bool bIncludeFromChildActors = false) const
	{
		static_assert(std::is_base_of_v<UActorComponent, ComponentType>, "'ComponentType' template parameter to GetComponents must be derived from UActorComponent");
		OutComponents.Reset();
		UClass* FilterClass = ComponentClass.Get();
		if (FilterClass && FilterClass->IsChildOf(ComponentType::StaticClass()))
		{
			AppendComponents<ComponentType>(FilterClass, OutComponents, bIncludeFromChildActors);
		}
	}

	/** Joins the owned components; a component does so by itself when created with the actor as outer. */
	void AddOwnedComponent(UActorComponent* Component);
	void RemoveOwnedComponent(UActorComponent* Component);
	bool OwnsComponent(UActorComponent* Component) const;

	void AddInstanceComponent(UActorComponent* Component);
	void RemoveInstanceComponent(UActorComponent* Component);
	void ClearInstanceComponents(bool bDestroyComponents);
	const TArray<UActorComponent*>& GetInstanceComponents() const
	{
		return InstanceComponents;
	}

	static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);

protected:
	/** Begins play of the registered components that have not, then the actor has begun play. Overrides call Super. */
	virtual void BeginPlay();

	/** Hooks that the script events of an actor run through; they do nothing here. */
	virtual void ReceiveBeginPlay();
	virtual void ReceiveEndPlay(EEndPlayReason::Type EndPlayReason);

private:
	friend class UWorld;
	friend class UChildActorComponent;

	enum class EActorBeginPlayState : uint8
	{
		HasNotBegunPlay,
		BeginningPlay,
		HasBegunPlay,
	};

	/** The child actor of Component if it is a child actor component, else null. */
	static AActor* GetChildActorOf(const UActorComponent* Component);

	template<class T, class ElementType, class AllocatorType>
	void AppendComponents(const UClass* ComponentClass, TArray<ElementType, AllocatorType>& OutComponents, bool bIncludeFromChildActors) const
	{
		for (UActorComponent* Component : OwnedComponents)
		{
			if (Component && Component->IsA(ComponentClass))
			{
				OutComponents.Add(static_cast<T*>(Component));
			}
		}
		if (bIncludeFromChildActors)
		{
			for (UActorComponent* Component : OwnedComponents)
			{
				if (const AActor* ChildActor = GetChildActorOf(Component))
				{
					ChildActor->AppendComponents<T>(ComponentClass, OutComponents, true);
				}
			}
		}
	}

	void MarkComponentsAsGarbage();

	TSet<UActorComponent*> OwnedComponents;
	TArray<UActorComponent*> InstanceComponents;
	AActor* Owner = nullptr;
	TWeakObjectPtr<UChildActorComponent> ParentComponent;
	EActorBeginPlayState ActorHasBegunPlay = EActorBeginPlayState::HasNotBegunPlay;
	uint8 bActorInitialized : 1 = false;
	uint8 bActorIsBeingDestroyed : 1 = false;
	uint8 bActorWantsDestroyDuringBeginPlay : 1 = false;
	uint8 bActorBeginningPlayFromLevelStreaming : 1 = false;
};

/** A component array that holds NumElements components without allocating; can fill itself from an actor. */
template<class T, uint32 NumElements = NumInlinedActorComponents>
class TInlineComponentArray : public TArray<T, TInlineAllocator<NumElements>>
{
	typedef TArray<T, TInlineAllocator<NumElements>> Super;

public:
	typedef T ElementType;

	TInlineComponentArray()
		: Super()
	{
	}
	explicit TInlineComponentArray(const AActor* Actor, bool bIncludeFromChildActors = false)
		: Super()
	{
		if (Actor)
		{
			Actor->GetComponents(*this, bIncludeFromChildActors);
		}
	}
};
