#include "VeskBenchmarkSupport.h"

#include "Engine/EngineBaseTypes.h"
#include "UObject/UObjectGlobals.h"

#include <memory>

// Producers arriving and leaving in bulk: one actor's end of play in a populated registry, and a
// level of N producers loaded into a new world and unloaded again. Per producer, these must not grow
// with the registry's size.

using namespace VeskBenchmark;

namespace
{
	// End of play must be undone outside the timed region (begin play again, bind, publish); a batch
	// per pause keeps the timer's own cost small next to the batch.
	constexpr int32 EndPlayBatch = 50;
	constexpr int32 EndPlayIterations = 20;

	// Worlds destroyed by the level benchmarks are collected once this many of their actors wait.
	constexpr int32 GarbageActorsBeforeCollection = 500000;

	/** A new game world in play with Size actors spawned into its level, none of them bound yet. */
	class FLevel
	{
	public:
		explicit FLevel(int32 InSize)
			: Size(InSize)
		{
			World = UWorld::CreateWorld(EWorldType::Game, false);
			World->InitializeActorsForPlay(FURL());
			World->BeginPlay();
			Registry = UVesk_ReferenceSubsystem::FromContext(World);
			Actors.Reserve(Size);
			for (int32 Index = 0; Index < Size; ++Index)
			{
				Actors.Add(World->SpawnActor<AActor>());
			}
		}

		~FLevel()
		{
			World->DestroyWorld(false);
			static int32 NumGarbageActors = 0;
			NumGarbageActors += Size;
			if (NumGarbageActors >= GarbageActorsBeforeCollection)
			{
				CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
				NumGarbageActors = 0;
			}
		}

		FLevel(const FLevel&) = delete;
		FLevel& operator=(const FLevel&) = delete;

		// Binds and publishes every actor under its identity; the number published, short of Size
		// when one was refused or when loading ran over the setup budget.
		int32 Load()
		{
			const FSetupClock Clock;
			int32 NumPublished = 0;
			for (int32 Index = 0; Index < Size; ++Index)
			{
				const FVesk_ReferenceBinding Binding = Registry->BeginBinding(Actors[Index], LevelIdentity(Index));
				NumPublished += Binding.Generation > 0 && Registry->Publish(Binding);
				if (Index % 1024 == 1023 && Clock.IsOverBudget())
				{
					break;
				}
			}
			return NumPublished;
		}

		// What unloading a streamed level does to its actors.
		void Unload()
		{
			for (AActor* Actor : Actors)
			{
				Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
			}
		}

		// The number of the level's identities that resolve as released.
		int32 CountReleased() const
		{
			int32 NumReleased = 0;
			for (int32 Index = 0; Index < Size; ++Index)
			{
				const FVesk_ResolvedReference Resolved = Registry->Resolve(LevelIdentity(Index), AActor::StaticClass(), nullptr);
				NumReleased += Resolved.Status == EVesk_ReferenceStatus::Unavailable && Resolved.Generation > 0;
			}
			return NumReleased;
		}

		int32 Size = 0;
		UWorld* World = nullptr;
		UVesk_ReferenceSubsystem* Registry = nullptr;
		TArray<AActor*> Actors;
	};
}

// One producer actor ending play in a registry of the given size: the engine's end of play of the
// actor, in which the registry releases the actor's identity. Each actor then begins play again,
// binds and publishes (not timed).
static void BM_ActorEndPlay(benchmark::State& State)
{
	FPopulatedWorld* Populated = GetPopulatedWorld(State, State.range(0));
	if (!Populated)
	{
		return;
	}
	TArray<FProducer>& Producers = Populated->Explicit;
	const int32 Batch = FMath::Min(EndPlayBatch, Producers.Num());
	int32 First = 0;
	int64 NumReleased = 0;
	int64 NumRestored = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		for (int32 Offset = 0; Offset < Batch; ++Offset)
		{
			Producers[(First + Offset) % Producers.Num()].Actor->EndPlay(EEndPlayReason::RemovedFromWorld);
		}
		Timed.Pause();
		for (int32 Offset = 0; Offset < Batch; ++Offset)
		{
			FProducer& Producer = Producers[(First + Offset) % Producers.Num()];
			NumReleased += Populated->Registry->Resolve(Producer.Binding.Id, AActor::StaticClass(), nullptr).Status == EVesk_ReferenceStatus::Unavailable;
			Producer.Actor->DispatchBeginPlay();
			Producer.Binding = Populated->Registry->BeginBinding(Producer.Actor, Producer.Binding.Id);
			NumRestored += Producer.Binding.Generation > 0 && Populated->Registry->Publish(Producer.Binding);
		}
		First = (First + Batch) % Producers.Num();
		Timed.Resume();
	}
	const double NsPerOp = Timed.GetNsPerOp(Batch);
	if (NumReleased != Batch * int64(State.iterations()) || NumRestored != Batch * int64(State.iterations()))
	{
		State.SkipWithError("an end of play did not release its identity, or the producer could not bind again");
		return;
	}
	SetPerOpCounters(State, *Populated, NsPerOp);
}
BENCHMARK(BM_ActorEndPlay)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize)->Iterations(EndPlayIterations);

// A level of N producer actors loading into a new world: each binds its identity and publishes.
static void BM_LoadLevel(benchmark::State& State)
{
	const int32 Size = int32(State.range(0));
	int64 NumPublished = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		Timed.Pause();
		std::unique_ptr<FLevel> Level = std::make_unique<FLevel>(Size);
		Timed.Resume();
		NumPublished += Level->Load();
		Timed.Pause();
		Level.reset();
		Timed.Resume();
	}
	const double NsPerProducer = Timed.GetNsPerOp(Size);
	if (NumPublished != Size * int64(State.iterations()))
	{
		State.SkipWithError("a producer was refused, or loading ran past the setup budget");
		return;
	}
	State.counters["ns_per_producer"] = NsPerProducer;
}
BENCHMARK(BM_LoadLevel)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize)->Unit(benchmark::kMillisecond);

// The same level unloading: every actor ends play, and the registry releases its identity.
static void BM_UnloadLevel(benchmark::State& State)
{
	const int32 Size = int32(State.range(0));
	int64 NumReleased = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		Timed.Pause();
		std::unique_ptr<FLevel> Level = std::make_unique<FLevel>(Size);
		const bool bLoaded = Level->Load() == Size;
		Timed.Resume();
		if (!bLoaded)
		{
			State.SkipWithError("a producer was refused, or loading ran past the setup budget");
			break;
		}
		Level->Unload();
		Timed.Pause();
		NumReleased += Level->CountReleased();
		Level.reset();
		Timed.Resume();
	}
	const double NsPerProducer = Timed.GetNsPerOp(Size);
	if (NumReleased != Size * int64(State.iterations()))
	{
		if (!State.error_occurred())
		{
			State.SkipWithError("an identity was not released by its actor's end of play");
		}
		return;
	}
	State.counters["ns_per_producer"] = NsPerProducer;
}
BENCHMARK(BM_UnloadLevel)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize)->Unit(benchmark::kMillisecond);

// The engine's own share of an unload: the same level's actors ending play with none of them bound,
// so that the registry hears of none of it.
static void BM_UnloadUnboundLevel(benchmark::State& State)
{
	const int32 Size = int32(State.range(0));
	int64 NumEnded = 0;
	FTimedRegion Timed(State);
	for (auto _ : State)
	{
		Timed.Pause();
		std::unique_ptr<FLevel> Level = std::make_unique<FLevel>(Size);
		Timed.Resume();
		Level->Unload();
		Timed.Pause();
		for (const AActor* Actor : Level->Actors)
		{
			NumEnded += !Actor->HasActorBegunPlay();
		}
		Level.reset();
		Timed.Resume();
	}
	const double NsPerProducer = Timed.GetNsPerOp(Size);
	if (NumEnded != Size * int64(State.iterations()))
	{
		State.SkipWithError("an actor did not end play");
		return;
	}
	State.counters["ns_per_producer"] = NsPerProducer;
}
// Each iteration spawns its level untimed, and the timed part is short: a shorter minimum keeps the
// run to seconds.
BENCHMARK(BM_UnloadUnboundLevel)->RangeMultiplier(10)->Range(MinRegistrySize, MaxRegistrySize)->Unit(benchmark::kMillisecond)->MinTime(0.05);
