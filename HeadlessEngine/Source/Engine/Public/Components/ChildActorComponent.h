#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Templates/SubclassOf.h"

#include "ChildActorComponent.generated.h"

class AActor;

/**
 * Gives its owner a child actor: an actor of ChildActorClass spawned into the owner's level when
 * the component registers, owned by the owner and destroyed with the component. The child's
 * components are its own, not the owner's. A child actor never begins play before its parent:
 * one spawned while the parent is out of play begins play with this component.
 */
UCLASS(ClassGroup=Utility, MinimalAPI, meta=(BlueprintSpawnableComponent))
class ENGINE_API UChildActorComponent : public UActorComponent
{
	GENERATED_BODY()

public:
	/** Sets the class; a registered component re-creates its child actor at once. */
	void SetChildActorClass(TSubclassOf<AActor> InClass);
	TSubclassOf<AActor> GetChildActorClass() const
	{
		return ChildActorClass;
	}
	AActor* GetChildActor() const
	{
		return ChildActor;
	}

	/** Destroys the current child actor, then spawns one of ChildActorClass if the owner is in a world. */
	void CreateChildActor();
	void DestroyChildActor();

	virtual void BeginPlay() override;
	virtual void OnComponentDestroyed(bool bDestroyingHierarchy) override;

	static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);

protected:
	virtual void OnRegister() override;

private:
	TSubclassOf<AActor> ChildActorClass;
	AActor* ChildActor = nullptr;
};
