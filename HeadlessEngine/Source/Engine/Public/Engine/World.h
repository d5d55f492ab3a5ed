#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "Engine/EngineBaseTypes.h"
#include "Engine/EngineTypes.h"
#include "Engine/Level.h"
#include "GameFramework/Actor.h"
#include "Math/Rotator.h"
#include "Math/Vector.h"
#include "Subsystems/SubsystemCollection.h"
#include "Subsystems/WorldSubsystem.h"
#include "Templates/SubclassOf.h"
#include "UObject/Object.h"

#include "World.generated.h"

class FTimerManager;
class UChildActorComponent;
class UGameInstance;
class UPackage;

/** How SpawnActor places a new actor. */
struct FActorSpawnParameters
{
	/** How a requested Name that an object of the level already has is handled. */
	enum class ESpawnActorNameMode : uint8
	{
		/** A fatal error. */
		Required_Fatal,
		/** The spawn fails. */
		Required_ErrorAndReturnNull,
		/** The spawn fails. */
		Required_ReturnNull,
		/** The actor gets a unique name made from Name. */
		Requested,
	};

	/** The actor's name; none gives a unique name made from the class name. */
	FName Name;
	AActor* Owner = nullptr;
	/** The level to spawn into; the world's persistent level when null. */
	ULevel* OverrideLevel = nullptr;
	ESpawnActorNameMode NameMode = ESpawnActorNameMode::Required_Fatal;
	EObjectFlags ObjectFlags = RF_Transactional;
	/** Kept for callers; a headless world has no collision to fail on. */
	uint8 bNoFail : 1 = false;
};

/**
 * A world: its persistent level with the actors, its world subsystems and its clock. A world
 * made by CreateWorld has the transient package as outer unless given a package, and is kept in
 * the root set until DestroyWorld when added to root. The world keeps its level and its
 * subsystems alive, and the level its actors.
 */
UCLASS(MinimalAPI, Config=Engine)
class ENGINE_API UWorld : public UObject
{
	GENERATED_BODY()

public:
	ULevel* PersistentLevel = nullptr;
	TEnumAsByte<EWorldType::Type> WorldType = EWorldType::None;
	/** Set once DestroyWorld starts; nothing spawns or ticks afterwards. */
	bool bIsTearingDown = false;
	/** The game instance this world plays in; none unless given with SetGameInstance. The world keeps it alive. */
	UGameInstance* OwningGameInstance = nullptr;

	virtual ~UWorld();

	/**
	 * Creates a world of InWorldType with its persistent level, then creates, initializes and
	 * post-initializes its world subsystems. Without a package the world's outer is the
	 * transient package; WorldName must not be taken there. The engine is not informed of
	 * worlds here, so bInformEngineOfWorld has no effect.
	 */
	static UWorld* CreateWorld(const EWorldType::Type InWorldType, bool bInformEngineOfWorld, FName WorldName = NAME_None, UPackage* InWorldPackage = nullptr, bool bAddToRoot = true);

	/** Registers the actors' components, tells the subsystems, and initializes the actors that are not yet initialized. */
	void InitializeActorsForPlay(const FURL& InURL, bool bResetTime = true);
	bool AreActorsInitialized() const
	{
		return bActorsInitialized;
	}

	/**
	 * Begins play as a world with a game mode does: the subsystems' OnWorldBeginPlay, then every
	 * actor's DispatchBeginPlay, then the world counts as having begun play. Actors spawned
	 * later begin play during their spawn. Does nothing if the world has begun play.
	 */
	void BeginPlay();
	bool HasBegunPlay() const
	{
		return bBegunPlay;
	}
	bool GetBegunPlay() const
	{
		return bBegunPlay;
	}
	void SetBegunPlay(bool bHasBegunPlay)
	{
		bBegunPlay = bHasBegunPlay;
	}
	/** Leaves play: the world no longer counts as begun, and every actor in play ends play for Reason. */
	void EndPlay(const EEndPlayReason::Type Reason);

	UGameInstance* GetGameInstance() const
	{
		return OwningGameInstance;
	}
	template<class T>
	T* GetGameInstance() const
	{
		return Cast<T>(OwningGameInstance);
	}
	void SetGameInstance(UGameInstance* NewGI)
	{
		OwningGameInstance = NewGI;
	}

	/** The game instance's timer manager when the world has one, else the world's own. */
	FTimerManager& GetTimerManager() const;

	/** Advances the clock, then ticks the timer manager, then the tickable objects of this world. */
	void Tick(ELevelTick TickType, float DeltaSeconds);
	double GetTimeSeconds() const
	{
		return TimeSeconds;
	}
	double GetRealTimeSeconds() const
	{
		return RealTimeSeconds;
	}
	float GetDeltaSeconds() const
	{
		return DeltaTimeSeconds;
	}

	bool IsGameWorld() const;
	bool IsEditorWorld() const;
	bool IsPreviewWorld() const;

	template<class T>
	T* SpawnActor(const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters())
	{
		return Cast<T>(SpawnActorOfClass(T::StaticClass(), SpawnParameters));
	}
	/** Null, without spawning, when Class is not T or derived from it. */
	template<class T>
	T* SpawnActor(UClass* Class, const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters())
	{
		return Class && Class->IsChildOf(T::StaticClass()) ? Cast<T>(SpawnActorOfClass(Class, SpawnParameters)) : nullptr;
	}
	/**
	 * Spawns an actor of Class into the level: its components are registered, it is initialized
	 * if the world's actors are, and it begins play before the call returns if the world has
	 * begun play. Null for a class that is null, abstract or not an actor, while the world
	 * tears down, and for a taken name unless NameMode says otherwise. Actors here have no
	 * transform, so Location and Rotation are not used.
	 */
	AActor* SpawnActor(UClass* Class, FVector const* Location = nullptr, FRotator const* Rotation = nullptr, const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters())
	{
		(void)Location;
		(void)Rotation;
		return SpawnActorOfClass(Class, SpawnParameters);
	}

	/**
	 * Destroys an actor of this world: it ends play (Destroyed) while IsActorBeingDestroyed is
	 * true, its components are unregistered, it and its components are marked as garbage and
	 * it leaves the level; memory goes at the next garbage collection. An actor that is
	 * beginning play is destroyed as soon as its BeginPlay returns. False for an actor of
	 * another world.
	 */
	bool DestroyActor(AActor* Actor, bool bNetForce = false, bool bShouldModifyLevel = true);

	/**
	 * Ends play (EndPlayInEditor for PIE worlds, LevelTransition otherwise) if the world is in
	 * play, deinitializes the world subsystems, unregisters the components, removes the world
	 * from the root set and marks it, its level and everything in the level as garbage.
	 * Does nothing the second time.
	 */
	void DestroyWorld(bool bInformEngineOfWorld, UWorld* NewWorld = nullptr);

	template<typename TSubsystemClass>
	TSubsystemClass* GetSubsystem() const
	{
		return SubsystemCollection.GetSubsystem<TSubsystemClass>(TSubsystemClass::StaticClass());
	}
	template<typename TSubsystemClass>
	static TSubsystemClass* GetSubsystem(const UWorld* World)
	{
		return World ? World->GetSubsystem<TSubsystemClass>() : nullptr;
	}
	UWorldSubsystem* GetSubsystemBase(TSubclassOf<UWorldSubsystem> SubsystemClass) const
	{
		return SubsystemCollection.GetSubsystem<UWorldSubsystem>(SubsystemClass);
	}

	ULevel* GetCurrentLevel() const
	{
		return PersistentLevel;
	}

	virtual UWorld* GetWorld() const override;

	static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);

private:
	friend class AActor;
	friend class UChildActorComponent;

	void InitWorld();
	AActor* SpawnActorOfClass(UClass* Class, const FActorSpawnParameters& SpawnParameters, UChildActorComponent* ParentComponent = nullptr);
	void RemoveActor(AActor* Actor);
	void CompactActors();

	FObjectSubsystemCollection<UWorldSubsystem> SubsystemCollection;
	/** Made on first use: most worlds here never set a timer. */
	mutable FTimerManager* TimerManager = nullptr;
	double TimeSeconds = 0.0;
	double RealTimeSeconds = 0.0;
	float DeltaTimeSeconds = 0.f;
	/** Walks of the actor list in progress; the list is compacted only when none is. */
	int32 ActorIterationDepth = 0;
	bool bIsWorldInitialized = false;
	bool bActorsInitialized = false;
	bool bBegunPlay = false;
	bool bIsDestroyed = false;
};
