#include "VeskBenchmarkSupport.h"
#include "VeskBenchmarkTypes.h"

// What observations cost the registry: the tick that refreshes every one of them each frame, one
// observation's refresh next to one Resolve, and the notification pass that follows a change.
// Observations watch explicit producers in turn, from consumer actors holding ten each, and are
// stopped and dropped again after each benchmark.

using namespace VeskBenchmark;

// A frame with nothing changing: the tick's pass refreshes every observation and none is told
// anything. "xResolve" compares it with one Resolve per observation of the same identities.
static void BM_TickQuietObservations(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	const int32 NumObservations = int32(State.range(1));
	const FObservationSet Observations(*Populated, NumObservations);
	if (!Observations.AreAllAvailable())
	{
		State.SkipWithError("an observation was refused or does not see its producer");
		return;
	}
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		Populated->Registry->Tick(0.016f);
	}
	const double NsPerTick = Timed.GetNsPerOp();
	if (!Observations.AreAllAvailable())
	{
		State.SkipWithError("an observation stopped or changed during quiet ticks");
		return;
	}
	if (NumObservations > 0)
	{
		const double NsPerObservation = NsPerTick / NumObservations;
		State.counters["ns_per_observation"] = NsPerObservation;
		State.counters["xResolve"] = NsPerObservation / GetResolveNs(*Populated, NumObservations);
		State.counters["xTMap"] = NsPerObservation / GetBaselineTMapNs(*Populated);
	}
}
BENCHMARK(BM_TickQuietObservations)
	->ArgsProduct({ benchmark::CreateRange(MinRegistrySize, MaxRegistrySize, 10), { 0, 1000, 10000 } })
	->ArgNames({ "size", "observations" });

// One observation's refresh, through a tick with that one observation; "xResolve" is against one
// Resolve of the same identity, again and again as the tick resolves it.
static void BM_ObservationRefresh(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	const FObservationSet Observations(*Populated, 1);
	if (!Observations.AreAllAvailable())
	{
		State.SkipWithError("the observation was refused or does not see its producer");
		return;
	}
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		Populated->Registry->Tick(0.016f);
	}
	const double NsPerOp = Timed.GetNsPerOp();
	if (!Observations.AreAllAvailable())
	{
		State.SkipWithError("the observation stopped or changed during quiet ticks");
		return;
	}
	State.counters["ns_per_op"] = NsPerOp;
	State.counters["xResolve"] = NsPerOp / GetResolveNs(*Populated, 1);
}
BENCHMARK(BM_ObservationRefresh)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize);

// One change and the notification pass it runs, with the given number of observations in the
// registry: one producer withdraws, binds again and publishes, three changes that its observer's
// handler is told of, each through a pass over every observation. Per change, so the figure
// includes the operation itself, which is all there is to it with one observation.
static void BM_NotifyAfterChange(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	const int32 NumObservations = int32(State.range(1));
	const FObservationSet Observations(*Populated, NumObservations);
	if (!Observations.AreAllAvailable())
	{
		State.SkipWithError("an observation was refused or does not see its producer");
		return;
	}
	// The first observation watches the first explicit producer, the one that changes.
	const TStrongObjectPtr<UVeskBenchmarkListener> Listener(NewObject<UVeskBenchmarkListener>());
	Observations.Observations[0]->OnChanged.AddDynamic(Listener.Get(), &UVeskBenchmarkListener::HandleChanged);
	FProducer& Changing = Populated->Explicit[0];
	int64 NumSucceeded = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		NumSucceeded += Populated->Registry->Withdraw(Changing.Binding);
		Changing.Binding = Populated->Registry->BeginBinding(Changing.Actor, Changing.Binding.Id);
		NumSucceeded += Changing.Binding.Generation > 0;
		NumSucceeded += Populated->Registry->Publish(Changing.Binding);
	}
	const double NsPerChange = Timed.GetNsPerOp(3.0);
	if (NumSucceeded != 3 * int64(State.iterations()) || Listener->NumCalls != 3 * int64(State.iterations()) || !Observations.AreAllAvailable())
	{
		State.SkipWithError("a change was refused, or its observer was not told of it exactly once");
		return;
	}
	State.counters["ns_per_change"] = NsPerChange;
	State.counters["ns_per_observation"] = NsPerChange / NumObservations;
	State.counters["xResolve"] = NsPerChange / (NumObservations * GetResolveNs(*Populated, NumObservations));
}
BENCHMARK(BM_NotifyAfterChange)
	->ArgsProduct({ { MinRegistrySize, MaxRegistrySize }, { 1, 100, 10000 } })
	->ArgNames({ "size", "observations" });
