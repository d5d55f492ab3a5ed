#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "TestWorld.h"
#include "UObject/UObjectGlobals.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceSubsystem.h"
#include "VeskTestProducers.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

// Reads the registry's private tables; the registry declares this struct a friend.
struct FVesk_ReferenceSubsystemTestAccess
{
	struct FEntryState
	{
		bool bExists = false;
		EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Empty;
		const UObject* Object = nullptr;
		int64 Generation = 0;
		bool bSaved = false;

		bool operator==(const FEntryState& Other) const = default;
	};

	static FEntryState Entry(const UVesk_ReferenceSubsystem& Subsystem, const FGuid& Identity)
	{
		FEntryState State;
		if (const UVesk_ReferenceSubsystem::FEntry* Found = Subsystem.Entries.Find(Identity))
		{
			State.bExists = true;
			State.Status = Found->Status;
			State.Object = Found->Object.Get();
			State.Generation = Found->Generation;
			State.bSaved = Found->Origin == UVesk_ReferenceSubsystem::EIdentityOrigin::Saved;
		}
		return State;
	}

	static int32 NumEntries(const UVesk_ReferenceSubsystem& Subsystem)
	{
		return Subsystem.Entries.Num();
	}

	static int64 NextGeneration(const UVesk_ReferenceSubsystem& Subsystem)
	{
		return Subsystem.NextGeneration;
	}

	static bool HasEnded(const UVesk_ReferenceSubsystem& Subsystem, const AActor* Actor)
	{
		return Subsystem.EndedActors.Contains(TWeakObjectPtr<AActor>(const_cast<AActor*>(Actor)));
	}

	static int32 NumEndedActors(const UVesk_ReferenceSubsystem& Subsystem)
	{
		return Subsystem.EndedActors.Num();
	}

	static bool IsDeinitialized(const UVesk_ReferenceSubsystem& Subsystem)
	{
		return Subsystem.bDeinitialized;
	}
};

using FEntryState = FVesk_ReferenceSubsystemTestAccess::FEntryState;

inline FGuid MakeTestIdentity(uint32 Index)
{
	return FGuid(0xC0FFEE00u + Index, Index, 0x5EEDu, ~Index);
}

// Runs the work on a thread that is not the game thread and waits for it.
inline void RunOffGameThread(const std::function<void()>& Work)
{
	std::thread Worker(Work);
	Worker.join();
}

inline const char* GameThreadCheckPattern()
{
	return "Assertion failed: IsInGameThread\\(\\) \\[File:.*Vesk_ReferenceSubsystem.cpp\\] \\[Line: ";
}

// One game world with its registry, and factories for the three kinds of producer.
class FVeskReferenceTestBase : public testing::Test
{
protected:
	explicit FVeskReferenceTestBase(bool bBeginPlay = true)
		: World(EWorldType::Game, bBeginPlay)
	{
	}

	void SetUp() override
	{
		Subsystem = UVesk_ReferenceSubsystem::FromContext(World.Get());
		ASSERT_NE(Subsystem, nullptr);
	}

	AVeskTestProducerActor* SpawnProducerActor()
	{
		return World.SpawnActor<AVeskTestProducerActor>();
	}

	static UVeskTestProducerComponent* AddProducerComponent(AActor* Actor)
	{
		UVeskTestProducerComponent* Component = NewObject<UVeskTestProducerComponent>(Actor);
		Component->RegisterComponent();
		return Component;
	}

	UVeskTestProducerObject* NewProducerObject()
	{
		return NewObject<UVeskTestProducerObject>(World.Get());
	}

	FEntryState Entry(const FGuid& Identity) const
	{
		return FVesk_ReferenceSubsystemTestAccess::Entry(*Subsystem, Identity);
	}

	int64 NextGeneration() const
	{
		return FVesk_ReferenceSubsystemTestAccess::NextGeneration(*Subsystem);
	}

	static bool IsEmptyToken(const FVesk_ReferenceBinding& Binding)
	{
		return !Binding.Id.IsValid() && Binding.Generation == 0 && Binding.World.IsExplicitlyNull();
	}

	FTestWorld World;
	UVesk_ReferenceSubsystem* Subsystem = nullptr;
};
