#include "AllocationCount.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceSubsystem.h"
#include "VeskReferenceTestSupport.h"

#include <gtest/gtest.h>

using Access = FVesk_ReferenceSubsystemTestAccess;

namespace
{
	constexpr int32 NumProducers = 64;
	constexpr int32 NumConsumers = 100;
	constexpr int32 NumObservations = 1000;
	constexpr int32 NumCountedTicks = 10;
}

// A game's steady state: every producer published, many consumers each watching a few of them,
// nothing changing. The registry ticks every frame, so what a quiet tick allocates, a game pays
// every frame.
class FReferenceTickAllocationTest : public FVeskReferenceTestBase
{
protected:
	// Publishes every producer, under an explicit identity or under its saved one.
	void PublishProducers(bool bSaved)
	{
		for (int32 Index = 0; Index < NumProducers; ++Index)
		{
			AActor* Producer = SpawnProducerActor();
			const FVesk_ReferenceBinding Binding = bSaved ? Subsystem->BeginSavedBinding(Producer) : Subsystem->BeginBinding(Producer, MakeTestIdentity(Index));
			ASSERT_GT(Binding.Generation, 0);
			ASSERT_TRUE(Subsystem->Publish(Binding));
			Identities.Add(Binding.Id);
		}
	}

	// Consumer actors, each with its lifetime component, observing the producers in turn.
	void ObserveProducers()
	{
		for (int32 Index = 0; Index < NumConsumers; ++Index)
		{
			Consumers.Add(SpawnProducerActor());
		}
		for (int32 Index = 0; Index < NumObservations; ++Index)
		{
			TStrongObjectPtr<UVesk_ReferenceObservation> Observation(Subsystem->Observe(Identities[Index % NumProducers], AActor::StaticClass(), nullptr, Consumers[Index % NumConsumers]));
			ASSERT_TRUE(Observation);
			ASSERT_EQ(Observation->GetStatus(), EVesk_ReferenceStatus::Available);
			Observations.Add(MoveTemp(Observation));
		}
	}

	// Allocations of NumCountedTicks ticks, after two ticks that may size whatever the registry keeps.
	uint64 CountTickAllocations()
	{
		Subsystem->Tick(0.016f);
		Subsystem->Tick(0.016f);
		const FAllocationCount Allocations;
		for (int32 Tick = 0; Tick < NumCountedTicks; ++Tick)
		{
			Subsystem->Tick(0.016f);
		}
		return Allocations.Get();
	}

	// The counted ticks kept every observation, as quiet ticks must.
	void ExpectEveryObservationKept() const
	{
		EXPECT_EQ(Access::NumObservations(*Subsystem), NumObservations);
		for (const TStrongObjectPtr<UVesk_ReferenceObservation>& Observation : Observations)
		{
			EXPECT_TRUE(Observation->IsActive());
			EXPECT_EQ(Observation->GetStatus(), EVesk_ReferenceStatus::Available);
		}
	}

	TArray<FGuid> Identities;
	TArray<AActor*> Consumers;
	TArray<TStrongObjectPtr<UVesk_ReferenceObservation>> Observations;
};

TEST_F(FReferenceTickAllocationTest, QuietTickOfExplicitIdentitiesAllocatesNothing)
{
	ASSERT_NO_FATAL_FAILURE(PublishProducers(false));
	ASSERT_NO_FATAL_FAILURE(ObserveProducers());

	const uint64 Allocations = CountTickAllocations();

	EXPECT_EQ(Allocations, 0u) << "in " << NumCountedTicks << " ticks of " << NumObservations << " quiet observations";
	ExpectEveryObservationKept();
}

// Resolving a saved identity asks the save module each time; its answer must not allocate either.
TEST_F(FReferenceTickAllocationTest, QuietTickOfSavedIdentitiesAllocatesNothing)
{
	ASSERT_NO_FATAL_FAILURE(PublishProducers(true));
	ASSERT_NO_FATAL_FAILURE(ObserveProducers());

	const uint64 Allocations = CountTickAllocations();

	EXPECT_EQ(Allocations, 0u) << "in " << NumCountedTicks << " ticks of " << NumObservations << " quiet observations";
	ExpectEveryObservationKept();
}
