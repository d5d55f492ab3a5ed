#include "Tickable.h"

#include "Engine/World.h"

namespace UE::Engine::Private
{
	// The registered tickable objects in registration order. A walk never removes entries; it
	// only clears them, and the list is compacted once no walk is running, so indices stay valid
	// while objects register and unregister from inside Tick.
	struct FTickableObjects
	{
		struct FEntry
		{
			FTickableGameObject* Object = nullptr;
			ETickableTickType TickType = ETickableTickType::NewObject;
		};

		TArray<FEntry> Entries;
		int32 WalkDepth = 0;
		bool bNeedsCompaction = false;

		static FTickableObjects& Get()
		{
			// Never destroyed: tickable objects with static storage unregister after every
			// function-local static is gone.
			static FTickableObjects* Objects = new FTickableObjects();
			return *Objects;
		}

		int32 Find(const FTickableGameObject* Object) const
		{
			for (int32 Index = 0; Index < Entries.Num(); ++Index)
			{
				if (Entries[Index].Object == Object)
				{
					return Index;
				}
			}
			return INDEX_NONE;
		}

		void Remove(int32 Index)
		{
			if (WalkDepth > 0)
			{
				Entries[Index].Object = nullptr;
				bNeedsCompaction = true;
			}
			else
			{
				Entries.RemoveAt(Index);
			}
		}

		void Compact()
		{
			if (WalkDepth == 0 && bNeedsCompaction)
			{
				Entries.RemoveAll([](const FEntry& Entry) { return Entry.Object == nullptr; });
				bNeedsCompaction = false;
			}
		}
	};

	bool ShouldTickInThisWorld(const FTickableGameObject& Object, const UWorld* World, ELevelTick LevelTickType, bool bIsPaused)
	{
		// A tick of all levels treats objects without a world as game objects.
		const bool bIsGameWorld = LevelTickType == LEVELTICK_All || (World && World->IsGameWorld());
		if (!bIsGameWorld)
		{
			return false;
		}
		return bIsPaused ? Object.IsTickableWhenPaused() : LevelTickType != LEVELTICK_TimeOnly;
	}
}

FTickableGameObject::FTickableGameObject(ETickableTickType RegistrationType)
{
	SetTickableTickType(RegistrationType);
}

FTickableGameObject::~FTickableGameObject()
{
	SetTickableTickType(ETickableTickType::Never);
}

void FTickableGameObject::SetTickableTickType(ETickableTickType NewTickType)
{
	using UE::Engine::Private::FTickableObjects;
	FTickableObjects& Objects = FTickableObjects::Get();
	const int32 Index = Objects.Find(this);
	if (NewTickType == ETickableTickType::Never)
	{
		if (Index != INDEX_NONE)
		{
			Objects.Remove(Index);
		}
	}
	else if (Index != INDEX_NONE)
	{
		Objects.Entries[Index].TickType = NewTickType;
	}
	else
	{
		Objects.Entries.Add(FTickableObjects::FEntry{this, NewTickType});
	}
}

void FTickableGameObject::TickObjects(UWorld* World, ELevelTick LevelTickType, bool bIsPaused, float DeltaSeconds)
{
	using UE::Engine::Private::FTickableObjects;
	FTickableObjects& Objects = FTickableObjects::Get();
	++Objects.WalkDepth;
	const int32 NumToWalk = Objects.Entries.Num();
	for (int32 Index = 0; Index < NumToWalk; ++Index)
	{
		// No reference into the list is held across Tick: a registration can reallocate it.
		FTickableGameObject* Object = Objects.Entries[Index].Object;
		if (!Object)
		{
			continue;
		}
		if (Objects.Entries[Index].TickType == ETickableTickType::NewObject)
		{
			const ETickableTickType Resolved = Object->GetTickableTickType();
			if (Resolved == ETickableTickType::Never)
			{
				Objects.Remove(Index);
				continue;
			}
			Objects.Entries[Index].TickType = Resolved == ETickableTickType::NewObject ? ETickableTickType::Conditional : Resolved;
		}
		const bool bAlways = Objects.Entries[Index].TickType == ETickableTickType::Always;
		if (Object->IsAllowedToTick() && (bAlways || Object->IsTickable()) && Object->GetTickableGameObjectWorld() == World
			&& UE::Engine::Private::ShouldTickInThisWorld(*Object, World, LevelTickType, bIsPaused))
		{
			Object->Tick(DeltaSeconds);
		}
	}
	--Objects.WalkDepth;
	Objects.Compact();
}
