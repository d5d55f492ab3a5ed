#pragma once

#include "CoreMinimal.h"
#include "Engine/EngineBaseTypes.h"
#include "Stats/Stats.h"

class UWorld;

/** How a tickable object is ticked. */
enum class ETickableTickType : uint8
{
	/** Ticks while IsTickable() says so. */
	Conditional,
	/** Ticks every frame; IsTickable() is not asked. */
	Always,
	/** Never ticks, and is not kept in the list of tickable objects. */
	Never,
	/** Asks GetTickableTickType() at the next walk of the tickable objects, once the object is fully built. */
	NewObject,
};

/** Something that is ticked once per frame. */
class FTickableObjectBase
{
public:
	virtual ~FTickableObjectBase() = default;

	virtual void Tick(float DeltaTime) = 0;
	virtual TStatId GetStatId() const = 0;

	/** Read when the object is first walked, and again whenever it changes its tick type. */
	virtual ETickableTickType GetTickableTickType() const
	{
		return ETickableTickType::Conditional;
	}
	/** Asked every frame for conditional objects. */
	virtual bool IsTickable() const
	{
		return true;
	}
	/** Asked every frame before anything else; false keeps the object from ticking whatever its tick type. */
	virtual bool IsAllowedToTick() const
	{
		return true;
	}
};

/**
 * A tickable object of the game: it ticks during the world tick of the world it names, or,
 * naming none, during the ticks that concern no particular world.
 */
class ENGINE_API FTickableGameObject : public FTickableObjectBase
{
public:
	/** Registers this object unless RegistrationType is Never; NewObject defers the choice to GetTickableTickType(). */
	FTickableGameObject(ETickableTickType RegistrationType = ETickableTickType::NewObject);
	virtual ~FTickableGameObject();

	FTickableGameObject(const FTickableGameObject&) = delete;
	FTickableGameObject& operator=(const FTickableGameObject&) = delete;

	virtual UWorld* GetTickableGameObjectWorld() const
	{
		return nullptr;
	}
	virtual bool IsTickableWhenPaused() const
	{
		return false;
	}
	virtual bool IsTickableInEditor() const
	{
		return false;
	}

	/**
	 * Ticks, in the order they registered, the objects that are allowed to tick, are tickable
	 * (or always tick) and belong to World. Objects registered during the walk tick from the
	 * next walk on; objects unregistered during it are skipped.
	 */
	static void TickObjects(UWorld* World, ELevelTick LevelTickType, bool bIsPaused, float DeltaSeconds);

protected:
	/** Registers the object with the new tick type, or unregisters it for Never. */
	void SetTickableTickType(ETickableTickType NewTickType);
};
