#pragma once

#include "CoreMinimal.h"
#include "Engine/EngineTypes.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"

/**
 * A world for one test, made and torn down as a game makes and tears down its world: created
 * with its subsystems, its actors initialized for play and, unless asked otherwise, in play.
 * The destructor destroys the world if Destroy has not, then collects garbage, so objects of the
 * world that the test did not keep alive are gone once the test world is.
 */
class FTestWorld
{
public:
	explicit FTestWorld(EWorldType::Type Type = EWorldType::Game, bool bBeginPlay = true);
	~FTestWorld();

	FTestWorld(const FTestWorld&) = delete;
	FTestWorld& operator=(const FTestWorld&) = delete;

	/** The world; after Destroy it is still the destroyed world until the destructor collects it. */
	UWorld* Get() const
	{
		return World;
	}
	UWorld* operator->() const
	{
		return World;
	}

	/** One frame of the world: every tickable object of the world that is allowed to tick ticks once. */
	void Tick(float DeltaSeconds = 0.016f);

	/** Spawns an actor of T; Name none gives a unique name made from the class name. */
	template<class T>
	T* SpawnActor(FName Name = NAME_None)
	{
		FActorSpawnParameters SpawnParameters;
		SpawnParameters.Name = Name;
		return World->SpawnActor<T>(SpawnParameters);
	}

	/**
	 * Brings an actor that left play back into it, as adding its level to the world again does:
	 * an actor that lost its initialization (removed from the world) is initialized again, then
	 * it begins play.
	 */
	static void ReturnToPlay(AActor* Actor);

	/** Destroys the world now (its actors end play, its subsystems deinitialize) without collecting garbage. */
	void Destroy();

	bool IsDestroyed() const
	{
		return bDestroyed;
	}

private:
	UWorld* World = nullptr;
	bool bDestroyed = false;
};
