#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Containers/StringConv.h"
#include "Containers/UnrealString.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "TestWorld.h"
#include "UObject/Package.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UObjectGlobals.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceSubsystem.h"
#include "VeskTestListeners.h"
#include "VeskTestProducers.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
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

	static bool IsDeinitialized(const UVesk_ReferenceSubsystem& Subsystem)
	{
		return Subsystem.bDeinitialized;
	}

	static int32 NumObservations(const UVesk_ReferenceSubsystem& Subsystem)
	{
		return Subsystem.Observations.Num();
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

// Sees notification passes as a consumer does. It observes an actor of its own, narrowed to a
// component class, and before each operation adds or removes a matching component without telling
// the registry: only a notification pass can then tell its listener that the actor's match changed.
class FVeskNotificationProbe
{
public:
	FVeskNotificationProbe(FTestWorld& World, UVesk_ReferenceSubsystem& Subsystem, const FGuid& Identity)
	{
		Actor.Reset(World.SpawnActor<AVeskTestProducerActor>(NAME_None));
		AddComponent();
		const FVesk_ReferenceBinding Binding = Subsystem.BeginBinding(Actor.Get(), Identity);
		const bool bPublished = Subsystem.Publish(Binding);
		check(bPublished);
		// A consumer without an actor, so that no end of play stops the probe.
		Consumer.Reset(NewObject<UVeskTestProducerObject>(World.Get()));
		Observation.Reset(Subsystem.Observe(Identity, AActor::StaticClass(), UVeskTestProducerComponent::StaticClass(), Consumer.Get()));
		Listener.Reset(NewObject<UVeskTestListener>());
		Listener->Listen(Observation.Get());
		check(Observation->GetStatus() == EVesk_ReferenceStatus::Available);
	}

	template<typename FOperation>
	bool RunsPass(FOperation&& Operation)
	{
		Arm();
		const int32 CallsBefore = Listener->NumCalls();
		Operation();
		return Listener->NumCalls() > CallsBefore;
	}

private:
	// Leaves the actor in the state its observation did not see last; a second arm without a pass
	// in between changes nothing.
	void Arm()
	{
		const bool bWantExtra = Observation->GetStatus() == EVesk_ReferenceStatus::Available;
		if (bWantExtra && !Extra)
		{
			Extra = AddComponent();
		}
		else if (!bWantExtra && Extra)
		{
			Extra->DestroyComponent();
			Extra = nullptr;
		}
	}

	UVeskTestProducerComponent* AddComponent()
	{
		UVeskTestProducerComponent* Component = NewObject<UVeskTestProducerComponent>(Actor.Get());
		Component->RegisterComponent();
		return Component;
	}

	TStrongObjectPtr<AVeskTestProducerActor> Actor;
	TStrongObjectPtr<UVeskTestProducerObject> Consumer;
	TStrongObjectPtr<UVesk_ReferenceObservation> Observation;
	TStrongObjectPtr<UVeskTestListener> Listener;
	UVeskTestProducerComponent* Extra = nullptr;
};

inline FGuid ProbeIdentity()
{
	return FGuid(0x9B0BE000u, 0x9B0BE000u, 0x9B0BE000u, 0x9B0BE000u);
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

	// Whether Operation ran a notification pass that a consumer could see. The probe binds one
	// identity of its own (one entry, one generation) the first time it is used.
	template<typename FOperation>
	bool RunsNotificationPass(FOperation&& Operation)
	{
		if (!Probe)
		{
			Probe = std::make_unique<FVeskNotificationProbe>(World, *Subsystem, ProbeIdentity());
		}
		return Probe->RunsPass(Forward<FOperation>(Operation));
	}

	// An observation held alive for the test, with a listener counting what its handlers see.
	struct FObserved
	{
		FObserved() = default;
		FObserved(FObserved&&) = default;
		FObserved& operator=(FObserved&&) = default;

		// The observation outlives the test body until the world's teardown and the collection after
		// it; its handlers must not reach the body's locals by then.
		~FObserved()
		{
			if (Listener)
			{
				Listener->Hook = nullptr;
				Listener->EndPlayHook = nullptr;
				Listener->SharedLog = nullptr;
			}
		}

		TStrongObjectPtr<UVesk_ReferenceObservation> Observation;
		TStrongObjectPtr<UVeskTestListener> Listener;

		UVesk_ReferenceObservation* operator->() const
		{
			return Observation.Get();
		}
		int32 NumCalls() const
		{
			return Listener->NumCalls();
		}
		const TArray<EVesk_ReferenceStatus>& Seen() const
		{
			return Listener->Seen;
		}
	};

	FObserved ObserveWithListener(const FGuid& Identity, UObject* Consumer, UClass* ExpectedType = UObject::StaticClass(), UClass* ComponentType = nullptr)
	{
		FObserved Observed;
		Observed.Observation.Reset(Subsystem->Observe(Identity, ExpectedType, ComponentType, Consumer));
		Observed.Listener.Reset(NewObject<UVeskTestListener>());
		if (Observed.Observation)
		{
			Observed.Listener->Listen(Observed.Observation.Get());
		}
		return Observed;
	}

	static bool IsEmptyToken(const FVesk_ReferenceBinding& Binding)
	{
		return !Binding.Id.IsValid() && Binding.Generation == 0 && Binding.World.IsExplicitlyNull();
	}

	FTestWorld World;
	UVesk_ReferenceSubsystem* Subsystem = nullptr;
	std::unique_ptr<FVeskNotificationProbe> Probe;
};
