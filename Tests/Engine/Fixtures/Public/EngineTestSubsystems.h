#pragma once

#include "CoreMinimal.h"
#include "Engine/EngineTypes.h"
#include "Stats/Stats.h"
#include "Subsystems/WorldSubsystem.h"

#include "EngineTestSubsystems.generated.h"

/** A world subsystem with the default settings that counts each step of its life. */
UCLASS()
class UEngineTestWorldSubsystem : public UWorldSubsystem
{
	GENERATED_BODY()

public:
	int32 NumInitialize = 0;
	int32 NumPostInitialize = 0;
	int32 NumWorldBeginPlay = 0;
	int32 NumDeinitialize = 0;
	/** Whether the world counted as having begun play when OnWorldBeginPlay came. */
	bool bWorldHadBegunPlayAtBeginPlay = true;
	/** Whether the other fixture subsystems of the world were all initialized when PostInitialize came. */
	bool bEveryOtherSubsystemInitializedAtPostInitialize = false;

	virtual void Initialize(FSubsystemCollectionBase& Collection) override;
	virtual void PostInitialize() override;
	virtual void OnWorldBeginPlay(UWorld& InWorld) override;
	virtual void Deinitialize() override;
};

/** Exists only in editor preview worlds, a type the default settings leave out. */
UCLASS()
class UEngineTestPreviewOnlySubsystem : public UWorldSubsystem
{
	GENERATED_BODY()

protected:
	virtual bool DoesSupportWorldType(const EWorldType::Type WorldType) const override;
};

/** Declines to exist in any world. */
UCLASS()
class UEngineTestDecliningSubsystem : public UWorldSubsystem
{
	GENERATED_BODY()

public:
	virtual bool ShouldCreateSubsystem(UObject* Outer) const override;
};

/** Never created itself; found through its concrete subclass. */
UCLASS(Abstract)
class UEngineTestAbstractSubsystem : public UWorldSubsystem
{
	GENERATED_BODY()
};

UCLASS()
class UEngineTestConcreteSubsystem : public UEngineTestAbstractSubsystem
{
	GENERATED_BODY()
};

/** A subsystem of no world: no world's collection makes one. */
UCLASS()
class UEngineTestForeignSubsystem : public USubsystem
{
	GENERATED_BODY()
};

/** Asks for UEngineTestWorldSubsystem while it initializes, and records what it got. */
UCLASS()
class UEngineTestDependentSubsystem : public UWorldSubsystem
{
	GENERATED_BODY()

public:
	UEngineTestWorldSubsystem* Dependency = nullptr;
	int32 DependencyInitializeCount = 0;
	/** What InitializeDependency gave for UEngineTestForeignSubsystem; it is no world subsystem. */
	USubsystem* ForeignDependency = nullptr;

	virtual void Initialize(FSubsystemCollectionBase& Collection) override;
};

/** A tickable world subsystem that counts its ticks. */
UCLASS()
class UEngineTestTickableSubsystem : public UTickableWorldSubsystem
{
	GENERATED_BODY()

public:
	int32 NumTicks = 0;
	float LastDeltaTime = 0.f;

	virtual void Tick(float DeltaTime) override;
	virtual TStatId GetStatId() const override;
};
