#include "VeskBenchmarkSupport.h"

// What a producer does: test its token, publish, withdraw, bind. Each benchmark walks the explicit
// producers of the populated world in their shuffled order and checks, after its loop, that every
// operation it timed succeeded.

using namespace VeskBenchmark;

namespace
{
	// Operations per iteration of the benchmarks that must undo their work outside the timed region:
	// enough that pausing the timer once per batch costs little next to the batch.
	constexpr int32 RoundTripBatch = 256;

	// New bindings grow the registry or leave a released actor behind; a batch of a thousandth of the
	// registry, for a fixed number of iterations, keeps that growth small next to its size.
	int32 GetBindingBatch(int32 Size)
	{
		return FMath::Max(5, Size / 1000);
	}
	constexpr int32 BindingIterations = 10;

	int32 Wrap(int32 Index, int32 Num)
	{
		return Index >= Num ? Index - Num : Index;
	}

	FGuid FreshIdentity(int32 Index)
	{
		return FGuid(0xF2E5B000u ^ uint32(Index), uint32(Index) * 0x27D4EB2Fu, ~uint32(Index), 0xC0FFEE04u);
	}
}

// The currency test that every producer operation starts with.
static void BM_IsCurrentBinding(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	const TArray<FProducer>& Producers = Populated->Explicit;
	int32 Next = 0;
	int64 NumCurrent = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		NumCurrent += Populated->Registry->IsCurrentBinding(Producers[Next].Binding);
		Next = Next + 1 == Producers.Num() ? 0 : Next + 1;
	}
	const double NsPerOp = Timed.GetNsPerOp();
	if (NumCurrent != int64(State.iterations()))
	{
		State.SkipWithError("a running token was not current");
		return;
	}
	SetPerOpCounters(State, *Populated, NsPerOp);
}
BENCHMARK(BM_IsCurrentBinding)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize);

// The identity that a live producer answers to, as binding asks before it opens an incarnation.
static void BM_FindIdentity(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	const TArray<FProducer>& Producers = Populated->Explicit;
	int32 Next = 0;
	int64 NumFound = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		NumFound += Populated->Registry->FindIdentity(Producers[Next].Actor) == Producers[Next].Binding.Id;
		Next = Next + 1 == Producers.Num() ? 0 : Next + 1;
	}
	const double NsPerOp = Timed.GetNsPerOp();
	if (NumFound != int64(State.iterations()))
	{
		State.SkipWithError("a producer was not found under its identity");
		return;
	}
	SetPerOpCounters(State, *Populated, NsPerOp);
}
BENCHMARK(BM_FindIdentity)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize);

// Publishing a running incarnation. The producers are already published, and publishing again
// succeeds through the same steps as the first time (and notifies again), so nothing needs undoing.
static void BM_Publish(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	const TArray<FProducer>& Producers = Populated->Explicit;
	int32 Next = 0;
	int64 NumPublished = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		NumPublished += Populated->Registry->Publish(Producers[Next].Binding);
		Next = Next + 1 == Producers.Num() ? 0 : Next + 1;
	}
	const double NsPerOp = Timed.GetNsPerOp();
	if (NumPublished != int64(State.iterations()))
	{
		State.SkipWithError("a publication was refused");
		return;
	}
	SetPerOpCounters(State, *Populated, NsPerOp);
}
BENCHMARK(BM_Publish)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize);

// A producer's round trip: withdraw an available identity, and publish it again once a new binding
// (not timed: it is measured on its own below) has opened its next incarnation. Both operations
// succeed every time; the figures are per operation.
static void BM_PublishWithdraw(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	TArray<FProducer>& Producers = Populated->Explicit;
	const int32 Batch = FMath::Min(RoundTripBatch, Producers.Num());
	int32 First = 0;
	int64 NumSucceeded = 0;
	int64 NumRebound = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		for (int32 Offset = 0; Offset < Batch; ++Offset)
		{
			NumSucceeded += Populated->Registry->Withdraw(Producers[Wrap(First + Offset, Producers.Num())].Binding);
		}
		Timed.Pause();
		for (int32 Offset = 0; Offset < Batch; ++Offset)
		{
			FProducer& Producer = Producers[Wrap(First + Offset, Producers.Num())];
			Producer.Binding = Populated->Registry->BeginBinding(Producer.Actor, Producer.Binding.Id);
			NumRebound += Producer.Binding.Generation > 0;
		}
		Timed.Resume();
		for (int32 Offset = 0; Offset < Batch; ++Offset)
		{
			NumSucceeded += Populated->Registry->Publish(Producers[Wrap(First + Offset, Producers.Num())].Binding);
		}
		First = Wrap(First + Batch, Producers.Num());
	}
	const double NsPerOp = Timed.GetNsPerOp(2.0 * Batch);
	if (NumSucceeded != 2 * Batch * int64(State.iterations()) || NumRebound != Batch * int64(State.iterations()))
	{
		State.SkipWithError("a withdrawal, a new binding or a publication was refused");
		return;
	}
	SetPerOpCounters(State, *Populated, NsPerOp);
}
BENCHMARK(BM_PublishWithdraw)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize)->Iterations(100);

// Binding again a producer whose incarnation is running: the running token comes back, nothing changes.
static void BM_BindRunningProducerAgain(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	const TArray<FProducer>& Producers = Populated->Explicit;
	int32 Next = 0;
	int64 NumSame = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		const FProducer& Producer = Producers[Next];
		NumSame += Populated->Registry->BeginBinding(Producer.Actor, Producer.Binding.Id).Generation == Producer.Binding.Generation;
		Next = Next + 1 == Producers.Num() ? 0 : Next + 1;
	}
	const double NsPerOp = Timed.GetNsPerOp();
	if (NumSame != int64(State.iterations()))
	{
		State.SkipWithError("binding a running producer again did not give its running token");
		return;
	}
	SetPerOpCounters(State, *Populated, NsPerOp);
}
BENCHMARK(BM_BindRunningProducerAgain)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize);

// A new producer (a fresh actor) binding an identity that the registry has never seen: a new entry.
// Each run leaves its producers bound, so the registry grows by its batch per iteration (by a
// hundredth of its size per run, 5% at 1,000).
static void BM_BindFreshObject(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	static int32 NextFreshIdentity = 0;
	const int32 Batch = GetBindingBatch(Populated->Size);
	TArray<AActor*> Fresh;
	int64 NumBound = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		Timed.Pause();
		Fresh.Reset();
		for (int32 Offset = 0; Offset < Batch; ++Offset)
		{
			Fresh.Add(Populated->SpawnProducerActor());
		}
		const int32 FirstIdentity = NextFreshIdentity;
		NextFreshIdentity += Batch;
		Timed.Resume();
		for (int32 Offset = 0; Offset < Batch; ++Offset)
		{
			NumBound += Populated->Registry->BeginBinding(Fresh[Offset], FreshIdentity(FirstIdentity + Offset)).Generation > 0;
		}
	}
	const double NsPerOp = Timed.GetNsPerOp(Batch);
	if (NumBound != Batch * int64(State.iterations()))
	{
		State.SkipWithError("a new binding was refused");
		return;
	}
	SetPerOpCounters(State, *Populated, NsPerOp);
}
BENCHMARK(BM_BindFreshObject)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize)->Iterations(BindingIterations);

// A producer re-created as a new actor binding its existing identity after the old one released it:
// a new incarnation of an existing entry. The new actor then publishes and takes the old one's place;
// the old one stays in the world, released.
static void BM_BindRecreatedObject(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	TArray<FProducer>& Producers = Populated->Explicit;
	const int32 Batch = FMath::Min(GetBindingBatch(Populated->Size), Producers.Num());
	TArray<AActor*> Recreated;
	TArray<FVesk_ReferenceBinding> NewBindings;
	NewBindings.SetNum(Batch);
	int32 First = 0;
	int64 NumBound = 0;
	int64 NumUndone = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		Timed.Pause();
		Recreated.Reset();
		for (int32 Offset = 0; Offset < Batch; ++Offset)
		{
			NumUndone += Populated->Registry->Withdraw(Producers[Wrap(First + Offset, Producers.Num())].Binding);
			Recreated.Add(Populated->SpawnProducerActor());
		}
		Timed.Resume();
		for (int32 Offset = 0; Offset < Batch; ++Offset)
		{
			NewBindings[Offset] = Populated->Registry->BeginBinding(Recreated[Offset], Producers[Wrap(First + Offset, Producers.Num())].Binding.Id);
		}
		Timed.Pause();
		for (int32 Offset = 0; Offset < Batch; ++Offset)
		{
			FProducer& Producer = Producers[Wrap(First + Offset, Producers.Num())];
			NumBound += NewBindings[Offset].Generation > Producer.Binding.Generation;
			NumUndone += Populated->Registry->Publish(NewBindings[Offset]);
			Producer.Actor = Recreated[Offset];
			Producer.Binding = NewBindings[Offset];
		}
		First = Wrap(First + Batch, Producers.Num());
		Timed.Resume();
	}
	const double NsPerOp = Timed.GetNsPerOp(Batch);
	if (NumBound != Batch * int64(State.iterations()) || NumUndone != 2 * Batch * int64(State.iterations()))
	{
		State.SkipWithError("a new incarnation, or the withdrawal or publication around it, was refused");
		return;
	}
	SetPerOpCounters(State, *Populated, NsPerOp);
}
BENCHMARK(BM_BindRecreatedObject)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize)->Iterations(BindingIterations);
