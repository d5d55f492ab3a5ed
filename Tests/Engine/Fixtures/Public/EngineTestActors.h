#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Components/ChildActorComponent.h"
#include "Engine/EngineTypes.h"
#include "GameFramework/Actor.h"
#include "Templates/Function.h"
#include "UObject/ObjectPtr.h"
#include "UObject/Object.h"

#include "EngineTestActors.generated.h"

/** A component that counts and logs its play, and can run a test's code as it begins play. */
UCLASS()
class UEngineTestComponent : public UActorComponent
{
	GENERATED_BODY()

public:
	int32 NumBeginPlay = 0;
	int32 NumEndPlay = 0;
	EEndPlayReason::Type LastEndPlayReason = EEndPlayReason::Quit;
	/** Whether the owner had begun play, or was beginning play, when this component began play. */
	bool bOwnerInPlayAtBeginPlay = false;
	bool bOwnerBeginningPlayAtBeginPlay = false;
	/** Whether the owner was out of play when this component ended play. */
	bool bOwnerOutOfPlayAtEndPlay = false;

	/** Runs inside BeginPlay, before the base class's. */
	TFunction<void(UEngineTestComponent&)> OnBeginPlay;

	virtual void BeginPlay() override;
	virtual void EndPlay(const EEndPlayReason::Type EndPlayReason) override;
};

/** A component of another class, for filtering by class. */
UCLASS()
class UEngineTestOtherComponent : public UActorComponent
{
	GENERATED_BODY()
};

/** An actor that counts and logs its play, and can run a test's code around its BeginPlay. */
UCLASS()
class AEngineTestActor : public AActor
{
	GENERATED_BODY()

public:
	int32 NumBeginPlay = 0;
	int32 NumEndPlay = 0;
	EEndPlayReason::Type LastEndPlayReason = EEndPlayReason::Quit;
	bool bBeingDestroyedAtEndPlay = false;

	/** Run inside BeginPlay, before and after the base class's. */
	TFunction<void(AEngineTestActor&)> BeforeBeginPlay;
	TFunction<void(AEngineTestActor&)> AfterBeginPlay;

	virtual void EndPlay(const EEndPlayReason::Type EndPlayReason) override;

protected:
	virtual void BeginPlay() override;
};

/** An actor whose constructor gives it one component, so the component exists before any registration. */
UCLASS()
class AEngineTestActorWithComponent : public AEngineTestActor
{
	GENERATED_BODY()

public:
	AEngineTestActorWithComponent();

	UPROPERTY()
	TObjectPtr<UEngineTestComponent> Component;
};

/** An actor with a component of its own and a child actor of class AEngineTestActorWithComponent. */
UCLASS()
class AEngineTestParentActor : public AEngineTestActor
{
	GENERATED_BODY()

public:
	AEngineTestParentActor();

	UPROPERTY()
	TObjectPtr<UEngineTestComponent> OwnComponent;

	UPROPERTY()
	TObjectPtr<UChildActorComponent> ChildActorComponent;

	AEngineTestActorWithComponent* GetChild() const;
};

/** Records, when an actor's "OnEndPlay" reaches it, what state the actor and its components were in. */
UCLASS()
class UEngineTestEndPlayListener : public UObject
{
	GENERATED_BODY()

public:
	int32 NumCalls = 0;
	AActor* LastActor = nullptr;
	EEndPlayReason::Type LastReason = EEndPlayReason::Quit;
	bool bActorHadBegunPlay = true;
	bool bActorWasBeginningPlay = true;
	int32 NumComponentsInPlay = 0;

	/** Runs at the end of the handler. */
	TFunction<void(AActor&)> OnHandled;

	UFUNCTION()
	void HandleEndPlay(AActor* Actor, EEndPlayReason::Type EndPlayReason);
};
