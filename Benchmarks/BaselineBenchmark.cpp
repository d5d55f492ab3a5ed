#include "VeskBenchmarkSupport.h"

// What the registry's lookups are compared with: a bare map from identity to a weak pointer, a find
// and a Get, over the same identities in the same order as the registry's benchmarks. Their own
// ratios check the reference figures that every other benchmark divides by (about 1 for the TMap).

using namespace VeskBenchmark;

static void BM_BaselineTMapFindGet(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	const FBaselineTMap& Map = Populated->GetBaselineTMap();
	const TArray<FProducer>& Producers = Populated->Explicit;
	int32 Next = 0;
	int64 NumFound = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		const FWeakObjectPtr* Found = Map.Find(Producers[Next].Binding.Id);
		UObject* Object = Found ? Found->Get() : nullptr;
		benchmark::DoNotOptimize(Object);
		NumFound += Object != nullptr;
		Next = Next + 1 == Producers.Num() ? 0 : Next + 1;
	}
	const double NsPerOp = Timed.GetNsPerOp();
	if (NumFound != int64(State.iterations()))
	{
		State.SkipWithError("a lookup found no live object");
		return;
	}
	SetPerOpCounters(State, *Populated, NsPerOp);
}
BENCHMARK(BM_BaselineTMapFindGet)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize);

static void BM_BaselineStdUnorderedMapFindGet(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	const FBaselineStdMap& Map = Populated->GetBaselineStdMap();
	const TArray<FProducer>& Producers = Populated->Explicit;
	int32 Next = 0;
	int64 NumFound = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		const auto Found = Map.find(Producers[Next].Binding.Id);
		UObject* Object = Found != Map.end() ? Found->second.Get() : nullptr;
		benchmark::DoNotOptimize(Object);
		NumFound += Object != nullptr;
		Next = Next + 1 == Producers.Num() ? 0 : Next + 1;
	}
	const double NsPerOp = Timed.GetNsPerOp();
	if (NumFound != int64(State.iterations()))
	{
		State.SkipWithError("a lookup found no live object");
		return;
	}
	SetPerOpCounters(State, *Populated, NsPerOp);
}
BENCHMARK(BM_BaselineStdUnorderedMapFindGet)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize);
