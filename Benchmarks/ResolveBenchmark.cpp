#include "VeskBenchmarkSupport.h"
#include "VeskBenchmarkTypes.h"

// Resolution, the one read path of the registry and what every observation's refresh costs. Each
// walks one kind of identity in a shuffled order, so that a lookup at a large size pays the cache
// misses that a game's would.

using namespace VeskBenchmark;

namespace
{
	// Resolves each producer of one kind in turn, each expected to be Available.
	void ResolveHits(benchmark::State& State, TArray<FProducer> FPopulatedWorld::*Kind)
	{
		FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
		if (!Populated)
		{
			return;
		}
		const TArray<FProducer>& Producers = Populated->*Kind;
		UClass* ExpectedType = AActor::StaticClass();
		int32 Next = 0;
		int64 NumAvailable = 0;
		FTimedRegion Timed(State);
		for (auto _ : State)
		{
			const FVesk_ResolvedReference Resolved = Populated->Registry->Resolve(Producers[Next].Binding.Id, ExpectedType, nullptr);
			NumAvailable += Resolved.Status == EVesk_ReferenceStatus::Available;
			Next = Next + 1 == Producers.Num() ? 0 : Next + 1;
		}
		const double NsPerOp = Timed.GetNsPerOp();
		if (NumAvailable != int64(State.iterations()))
		{
			State.SkipWithError("an identity did not resolve as Available");
			return;
		}
		SetPerOpCounters(State, *Populated, NsPerOp);
	}
}

// A published producer under an identity that it named itself.
static void BM_ResolveExplicitHit(benchmark::State& State)
{
	ResolveHits(State, &FPopulatedWorld::Explicit);
}
BENCHMARK(BM_ResolveExplicitHit)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize);

// A published producer under the identity that the save module keeps for it, which resolution asks
// the save module to confirm.
static void BM_ResolveSavedHit(benchmark::State& State)
{
	ResolveHits(State, &FPopulatedWorld::Saved);
}
BENCHMARK(BM_ResolveSavedHit)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize);

// An identity that the registry has never seen.
static void BM_ResolveMiss(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	const TArray<FGuid>& Identities = Populated->Missing;
	UClass* ExpectedType = AActor::StaticClass();
	int32 Next = 0;
	int64 NumUnavailable = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		const FVesk_ResolvedReference Resolved = Populated->Registry->Resolve(Identities[Next], ExpectedType, nullptr);
		NumUnavailable += Resolved.Status == EVesk_ReferenceStatus::Unavailable && Resolved.Generation == 0;
		Next = Next + 1 == Identities.Num() ? 0 : Next + 1;
	}
	const double NsPerOp = Timed.GetNsPerOp();
	if (NumUnavailable != int64(State.iterations()))
	{
		State.SkipWithError("an unknown identity did not resolve as Unavailable without a generation");
		return;
	}
	SetPerOpCounters(State, *Populated, NsPerOp);
}
BENCHMARK(BM_ResolveMiss)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize);

// A published actor narrowed to its one component of the asked class.
static void BM_ResolveComponent(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	const TArray<FProducer>& Producers = Populated->Explicit;
	UClass* ExpectedType = AActor::StaticClass();
	UClass* ComponentType = UVeskBenchmarkComponent::StaticClass();
	int32 Next = 0;
	int64 NumResolved = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		const FVesk_ResolvedReference Resolved = Populated->Registry->Resolve(Producers[Next].Binding.Id, ExpectedType, ComponentType);
		NumResolved += Resolved.Status == EVesk_ReferenceStatus::Available && Resolved.Component != nullptr;
		Next = Next + 1 == Producers.Num() ? 0 : Next + 1;
	}
	const double NsPerOp = Timed.GetNsPerOp();
	if (NumResolved != int64(State.iterations()))
	{
		State.SkipWithError("an identity did not resolve to its component");
		return;
	}
	SetPerOpCounters(State, *Populated, NsPerOp);
}
BENCHMARK(BM_ResolveComponent)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize);
