#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/UnrealString.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "Misc/Guid.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/WeakObjectPtr.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceSubsystem.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <unordered_map>

namespace VeskBenchmark
{
	// The registry sizes that the benchmarks whose cost may depend on it sweep.
	constexpr int64 MinRegistrySize = 1000;
	constexpr int64 MaxRegistrySize = 1000000;

	FGuid ExplicitIdentity(int32 Index);
	FGuid MissingIdentity(int32 Index);
	FGuid LevelIdentity(int32 Index);

	// A published producer of a populated world and the token of its running incarnation.
	struct FProducer
	{
		AActor* Actor = nullptr;
		FVesk_ReferenceBinding Binding;
	};

	struct FGuidHasher
	{
		size_t operator()(const FGuid& Guid) const
		{
			return GetTypeHash(Guid);
		}
	};

	using FBaselineTMap = TMap<FGuid, FWeakObjectPtr>;
	using FBaselineStdMap = std::unordered_map<FGuid, FWeakObjectPtr, FGuidHasher>;

	/**
	 * A game world in play whose registry holds Size published producers: actors with one component
	 * each, half of them under explicit identities and half under saved ones. Built once per size and
	 * kept until the process ends, so that every benchmark of that size shares it; a benchmark that
	 * changes it puts it back as it found it, apart from what its comment says.
	 */
	class FPopulatedWorld
	{
	public:
		int32 Size = 0;
		UWorld* World = nullptr;
		UVesk_ReferenceSubsystem* Registry = nullptr;

		// Each kind in a shuffled order: walking a list in order visits the registry at random, as a
		// game does, instead of in the order that the producers were made in memory.
		TArray<FProducer> Explicit;
		TArray<FProducer> Saved;
		// Identities that the registry has never seen, as many as there are explicit producers.
		TArray<FGuid> Missing;

		// A new actor of the world with its one component, as every producer has.
		AActor* SpawnProducerActor();

		// Consumer actors that are no producers, made on first use and reused.
		AActor* GetConsumer(int32 Index);

		// What a bare map does in place of the registry: every identity of the registry to a weak
		// pointer to its producer.
		const FBaselineTMap& GetBaselineTMap();
		const FBaselineStdMap& GetBaselineStdMap();

	private:
		TArray<AActor*> Consumers;
		FBaselineTMap BaselineTMap;
		FBaselineStdMap BaselineStdMap;
	};

	/**
	 * The populated world of the given size, built on first use. Null, with the benchmark skipped and
	 * the reason given, when building it would take longer than the setup budget: populating a
	 * registry whose binding cost grows with its size can take hours at the largest sizes.
	 */
	FPopulatedWorld* GetPopulatedWorld(benchmark::State& State, int64 Size);

	// Wall seconds that one setup may take: VESK_BENCHMARK_SETUP_BUDGET_SECONDS, else 120.
	double GetSetupBudgetSeconds();

	class FSetupClock
	{
	public:
		bool IsOverBudget() const
		{
			return GetElapsedSeconds() > GetSetupBudgetSeconds();
		}
		double GetElapsedSeconds() const
		{
			return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
		}

	private:
		std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
	};

	// CPU time of the calling thread, the clock that the benchmarks' CPU column reads.
	double GetThreadSeconds();

	/**
	 * The thread CPU time of a benchmark's timed region, taken alongside the library's own: the library
	 * shows a time that it computes itself only as a rate, so the per-operation figures and ratios are
	 * worked out here and set as plain counters. Made just before the benchmark loop; Pause and Resume
	 * replace the State's.
	 */
	class FTimedRegion
	{
	public:
		explicit FTimedRegion(benchmark::State& InState)
			: State(InState)
			, StartSeconds(GetThreadSeconds())
		{
		}

		void Pause()
		{
			State.PauseTiming();
			PausedAt = GetThreadSeconds();
		}
		void Resume()
		{
			PausedSeconds += GetThreadSeconds() - PausedAt;
			State.ResumeTiming();
		}

		// Called right after the loop: CPU nanoseconds per operation, for OpsPerIteration operations in
		// each iteration.
		double GetNsPerOp(double OpsPerIteration = 1.0)
		{
			if (StopSeconds == 0.0)
			{
				StopSeconds = GetThreadSeconds();
			}
			return (StopSeconds - StartSeconds - PausedSeconds) * 1e9 / (double(State.iterations()) * OpsPerIteration);
		}

	private:
		benchmark::State& State;
		double StartSeconds = 0.0;
		double StopSeconds = 0.0;
		double PausedAt = 0.0;
		double PausedSeconds = 0.0;
	};

	/**
	 * Thread CPU nanoseconds per call, the median of several rounds in which Loop(Calls) makes Calls
	 * calls. For the reference figures that benchmarks divide their own by: CPU time, like theirs, so
	 * that other work on the machine changes both alike. Loop holds the loop itself, so that it can
	 * be written as the benchmark loop it stands for, down to how it uses each result.
	 */
	template<typename FLoop>
	double MeasureNsPerCall(int32 Calls, FLoop&& Loop)
	{
		constexpr int32 NumRounds = 21;
		double Samples[NumRounds];
		for (int32 Round = 0; Round < NumRounds; ++Round)
		{
			const double Start = GetThreadSeconds();
			Loop(Calls);
			Samples[Round] = (GetThreadSeconds() - Start) * 1e9 / Calls;
		}
		std::sort(Samples, Samples + NumRounds);
		return Samples[NumRounds / 2];
	}

	// Per-operation reference figures, measured anew at each call: a benchmark asks right after its
	// loop, so that on a shared machine both figures see the same load.
	double GetBaselineTMapNs(FPopulatedWorld& Populated);
	double GetBaselineStdMapNs(FPopulatedWorld& Populated);
	// Resolve of the first NumIdentities explicit producers in turn, as NumIdentities observations
	// of them would resolve them.
	double GetResolveNs(FPopulatedWorld& Populated, int32 NumIdentities);

	// "ns_per_op", and the ratios to both bare-map baselines of the world's size: "xTMap", "xStdMap".
	void SetPerOpCounters(benchmark::State& State, FPopulatedWorld& Populated, double NsPerOp);

	/**
	 * Count observations of the explicit producers in turn, from consumer actors of the world that
	 * hold ten observations each. Destruction stops them and runs a tick, after which the registry
	 * holds none of them.
	 */
	class FObservationSet
	{
	public:
		FObservationSet(FPopulatedWorld& InPopulated, int32 Count);
		~FObservationSet();

		FObservationSet(const FObservationSet&) = delete;
		FObservationSet& operator=(const FObservationSet&) = delete;

		// Every observation active and reporting Available: nothing was refused, nothing changed.
		bool AreAllAvailable() const;

		TArray<TStrongObjectPtr<UVesk_ReferenceObservation>> Observations;

	private:
		FPopulatedWorld& Populated;
	};
}
