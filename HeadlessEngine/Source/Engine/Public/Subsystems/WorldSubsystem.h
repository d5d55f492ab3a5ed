#pragma once

#include "CoreMinimal.h"
#include "Engine/EngineTypes.h"
#include "Subsystems/Subsystem.h"
#include "Subsystems/SubsystemCollection.h"
#include "Tickable.h"

#include "WorldSubsystem.generated.h"

class UWorld;

/** A subsystem that lives and dies with one world; its outer is that world. */
UCLASS(Abstract, MinimalAPI)
class ENGINE_API UWorldSubsystem : public USubsystem
{
	GENERATED_BODY()

public:
	/** The world of this subsystem; null for the class default object. */
	virtual UWorld* GetWorld() const override final;
	UWorld& GetWorldRef() const;

	/** True when Outer is a world of a type this class supports. */
	virtual bool ShouldCreateSubsystem(UObject* Outer) const override;

	/** Called once every world subsystem of the world has been initialized. */
	virtual void PostInitialize();
	/** Called when the world begins play, before its actors do. */
	virtual void OnWorldBeginPlay(UWorld& InWorld);
	/** Called when the world has registered the components of its actors. */
	virtual void OnWorldComponentsUpdated(UWorld& World);

protected:
	/** Game, Editor and PIE worlds by default. */
	virtual bool DoesSupportWorldType(const EWorldType::Type WorldType) const;
};

/**
 * A world subsystem that ticks with its world: it starts ticking in Initialize and stops in
 * Deinitialize, so subclasses that override those must call Super. Subclasses implement Tick
 * and GetStatId.
 */
UCLASS(Abstract, MinimalAPI)
class ENGINE_API UTickableWorldSubsystem : public UWorldSubsystem, public FTickableGameObject
{
	GENERATED_BODY()

public:
	UTickableWorldSubsystem();
	UTickableWorldSubsystem(FVTableHelper& Helper);

	virtual UWorld* GetTickableGameObjectWorld() const override;
	/** Never for the class default object, Conditional otherwise. */
	virtual ETickableTickType GetTickableTickType() const override;
	/** False for the class default object and whenever the subsystem is not initialized. */
	virtual bool IsAllowedToTick() const override final;
	virtual void Tick(float DeltaTime) override;
	virtual TStatId GetStatId() const override;

	virtual void Initialize(FSubsystemCollectionBase& Collection) override;
	virtual void Deinitialize() override;

	/** Between Initialize and Deinitialize. */
	bool IsInitialized() const
	{
		return bInitialized;
	}

private:
	bool bInitialized = false;
};
