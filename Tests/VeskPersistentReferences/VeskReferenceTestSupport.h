#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Containers/StringConv.h"
#include "Containers/UnrealString.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "TestWorld.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceSubsystem.h"
#include "VeskTestProducers.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <thread>

// Engine text is TCHAR; test messages are narrow.
inline std::string Utf8(const TCHAR* Text)
{
	return std::string(TCHAR_TO_UTF8(Text));
}

inline std::string Utf8(const FString& Text)
{
	return Utf8(*Text);
}

inline void PrintTo(const FString& Text, std::ostream* Out)
{
	*Out << '"' << Utf8(Text) << '"';
}

inline void PrintTo(const FGuid& Guid, std::ostream* Out)
{
	*Out << Utf8(Guid.ToString(EGuidFormats::Digits));
}

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

	static int32 NumObservations(const UVesk_ReferenceSubsystem& Subsystem)
	{
		return Subsystem.Observations.Num();
	}

	static bool IsDeinitialized(const UVesk_ReferenceSubsystem& Subsystem)
	{
		return Subsystem.bDeinitialized;
	}

	// Whether Operation asked for a notification pass. While a pass is marked as running, the
	// registry only records each request, so the operation's own request is seen and nothing else
	// runs.
	template<typename FOperation>
	static bool RequestsNotification(UVesk_ReferenceSubsystem& Subsystem, FOperation&& Operation)
	{
		Subsystem.bNotifying = true;
		Subsystem.bNotifyAgain = false;
		Operation();
		const bool bRequested = Subsystem.bNotifyAgain;
		Subsystem.bNotifying = false;
		Subsystem.bNotifyAgain = false;
		return bRequested;
	}

	// The end-of-play handler as the actors' delegate calls it.
	static void ActorEndPlay(UVesk_ReferenceSubsystem& Subsystem, AActor* Actor, EEndPlayReason::Type Reason)
	{
		Subsystem.OnActorEndPlay(Actor, Reason);
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

	template<class TActor = AVeskTestProducerActor>
	TActor* SpawnProducerActor()
	{
		return World.SpawnActor<TActor>(NAME_None);
	}

	template<class TComponent = UVeskTestProducerComponent>
	static TComponent* AddProducerComponent(AActor* Actor)
	{
		TComponent* Component = NewObject<TComponent>(Actor);
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

	void ExpectNothingBound() const
	{
		EXPECT_EQ(FVesk_ReferenceSubsystemTestAccess::NumEntries(*Subsystem), 0);
		EXPECT_EQ(NextGeneration(), 0);
	}

	template<typename FOperation>
	bool RequestsNotification(FOperation&& Operation)
	{
		return FVesk_ReferenceSubsystemTestAccess::RequestsNotification(*Subsystem, Forward<FOperation>(Operation));
	}

	static bool IsEmptyToken(const FVesk_ReferenceBinding& Binding)
	{
		return !Binding.Id.IsValid() && Binding.Generation == 0 && Binding.World.IsExplicitlyNull();
	}

	FTestWorld World;
	UVesk_ReferenceSubsystem* Subsystem = nullptr;
};
