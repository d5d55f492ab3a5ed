#include "VeskBenchmarkSupport.h"

#include "Engine/EngineBaseTypes.h"
#include "UObject/UObjectGlobals.h"
#include "Vesk_SaveSubsystem.h"
#include "VeskBenchmarkTypes.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <time.h>
#include <utility>

namespace VeskBenchmark
{
	namespace
	{
		// Enough calls per round that a round lasts about a millisecond even at a few nanoseconds a call.
		constexpr int32 ReferenceCallsPerRound = 50000;

		template<typename ElementType>
		void Shuffle(TArray<ElementType>& Elements, uint32 Seed)
		{
			std::mt19937 Random(Seed);
			std::shuffle(Elements.GetData(), Elements.GetData() + Elements.Num(), Random);
		}

		// Builds the world, or returns the reason it could not.
		std::string Populate(FPopulatedWorld& Populated, int32 Size)
		{
			const FSetupClock Clock;
			Populated.Size = Size;
			Populated.World = UWorld::CreateWorld(EWorldType::Game, false);
			Populated.World->InitializeActorsForPlay(FURL());
			Populated.World->BeginPlay();
			Populated.Registry = UVesk_ReferenceSubsystem::FromContext(Populated.World);
			if (!Populated.Registry || !UVesk_SaveSubsystem::Get())
			{
				return "the world has no registry, or there is no save module";
			}

			Populated.Explicit.Reserve(Size / 2 + 1);
			Populated.Saved.Reserve(Size / 2 + 1);
			for (int32 Index = 0; Index < Size; ++Index)
			{
				FProducer Producer;
				Producer.Actor = Populated.SpawnProducerActor();
				const bool bSaved = Index % 2 == 1;
				Producer.Binding = bSaved ? Populated.Registry->BeginSavedBinding(Producer.Actor) : Populated.Registry->BeginBinding(Producer.Actor, ExplicitIdentity(Index));
				if (Producer.Binding.Generation <= 0 || !Populated.Registry->Publish(Producer.Binding))
				{
					return "producer " + std::to_string(Index) + " was refused";
				}
				(bSaved ? Populated.Saved : Populated.Explicit).Add(Producer);

				if (Index % 1024 == 1023 && Clock.IsOverBudget())
				{
					char Reason[160];
					std::snprintf(Reason, sizeof(Reason), "populating ran past the setup budget of %.0f s at %d of %d producers", GetSetupBudgetSeconds(), Index + 1, Size);
					return Reason;
				}
			}
			Shuffle(Populated.Explicit, uint32(Size));
			Shuffle(Populated.Saved, uint32(Size) + 1);
			for (int32 Index = 0; Index < Populated.Explicit.Num(); ++Index)
			{
				Populated.Missing.Add(MissingIdentity(Index));
			}
			std::fprintf(stderr, "Populated a registry of %d producers in %.1f s\n", Size, Clock.GetElapsedSeconds());
			return std::string();
		}
	}

	FGuid ExplicitIdentity(int32 Index)
	{
		return FGuid(0x5EED0000u ^ uint32(Index), uint32(Index) * 0x9E3779B9u, ~uint32(Index), 0xC0FFEE01u);
	}

	FGuid MissingIdentity(int32 Index)
	{
		return FGuid(0xAB5E0700u ^ uint32(Index), uint32(Index) * 0x85EBCA6Bu, ~uint32(Index), 0xC0FFEE02u);
	}

	FGuid LevelIdentity(int32 Index)
	{
		return FGuid(0x1E7E1000u ^ uint32(Index), uint32(Index) * 0xC2B2AE35u, ~uint32(Index), 0xC0FFEE03u);
	}

	AActor* FPopulatedWorld::SpawnProducerActor()
	{
		AActor* Actor = World->SpawnActor<AActor>();
		UVeskBenchmarkComponent* Component = NewObject<UVeskBenchmarkComponent>(Actor);
		Component->RegisterComponent();
		return Actor;
	}

	AActor* FPopulatedWorld::GetConsumer(int32 Index)
	{
		while (Consumers.Num() <= Index)
		{
			Consumers.Add(World->SpawnActor<AActor>());
		}
		return Consumers[Index];
	}

	const FBaselineTMap& FPopulatedWorld::GetBaselineTMap()
	{
		if (BaselineTMap.Num() == 0)
		{
			BaselineTMap.Reserve(Explicit.Num() + Saved.Num());
			for (const TArray<FProducer>* Producers : { &Explicit, &Saved })
			{
				for (const FProducer& Producer : *Producers)
				{
					BaselineTMap.Add(Producer.Binding.Id, FWeakObjectPtr(Producer.Actor));
				}
			}
		}
		return BaselineTMap;
	}

	const FBaselineStdMap& FPopulatedWorld::GetBaselineStdMap()
	{
		if (BaselineStdMap.empty())
		{
			BaselineStdMap.reserve(Explicit.Num() + Saved.Num());
			for (const TArray<FProducer>* Producers : { &Explicit, &Saved })
			{
				for (const FProducer& Producer : *Producers)
				{
					BaselineStdMap.emplace(Producer.Binding.Id, FWeakObjectPtr(Producer.Actor));
				}
			}
		}
		return BaselineStdMap;
	}

	FPopulatedWorld* GetPopulatedWorld(benchmark::State& State, int64 Size)
	{
		static std::map<int64, std::unique_ptr<FPopulatedWorld>> Worlds;
		static std::map<int64, std::string> Failures;

		const auto Failed = Failures.find(Size);
		if (Failed != Failures.end())
		{
			State.SkipWithError(Failed->second.c_str());
			return nullptr;
		}
		std::unique_ptr<FPopulatedWorld>& Populated = Worlds[Size];
		if (!Populated)
		{
			Populated = std::make_unique<FPopulatedWorld>();
			const std::string Failure = Populate(*Populated, int32(Size));
			if (!Failure.empty())
			{
				// Abandoned, not destroyed: ending the play of its actors costs what populating it did.
				Populated.release();
				Worlds.erase(Size);
				Failures[Size] = Failure;
				State.SkipWithError(Failures[Size].c_str());
				return nullptr;
			}
		}
		return Populated.get();
	}

	double GetSetupBudgetSeconds()
	{
		static const double Budget = []()
		{
			const char* Text = std::getenv("VESK_BENCHMARK_SETUP_BUDGET_SECONDS");
			const double Parsed = Text ? std::atof(Text) : 0.0;
			return Parsed > 0.0 ? Parsed : 120.0;
		}();
		return Budget;
	}

	double GetThreadSeconds()
	{
		timespec Now;
		clock_gettime(CLOCK_THREAD_CPUTIME_ID, &Now);
		return double(Now.tv_sec) + double(Now.tv_nsec) * 1e-9;
	}

	double GetBaselineTMapNs(FPopulatedWorld& Populated)
	{
		const FBaselineTMap& Map = Populated.GetBaselineTMap();
		const TArray<FProducer>& Producers = Populated.Explicit;
		return MeasureNsPerCall(ReferenceCallsPerRound, [&Map, &Producers](int32 Calls)
		{
			int32 Next = 0;
			int64 NumFound = 0;
			for (int32 Call = 0; Call < Calls; ++Call)
			{
				const FWeakObjectPtr* Found = Map.Find(Producers[Next].Binding.Id);
				UObject* Object = Found ? Found->Get() : nullptr;
				benchmark::DoNotOptimize(Object);
				NumFound += Object != nullptr;
				Next = Next + 1 == Producers.Num() ? 0 : Next + 1;
			}
			benchmark::DoNotOptimize(NumFound);
		});
	}

	double GetBaselineStdMapNs(FPopulatedWorld& Populated)
	{
		const FBaselineStdMap& Map = Populated.GetBaselineStdMap();
		const TArray<FProducer>& Producers = Populated.Explicit;
		return MeasureNsPerCall(ReferenceCallsPerRound, [&Map, &Producers](int32 Calls)
		{
			int32 Next = 0;
			int64 NumFound = 0;
			for (int32 Call = 0; Call < Calls; ++Call)
			{
				const auto Found = Map.find(Producers[Next].Binding.Id);
				UObject* Object = Found != Map.end() ? Found->second.Get() : nullptr;
				benchmark::DoNotOptimize(Object);
				NumFound += Object != nullptr;
				Next = Next + 1 == Producers.Num() ? 0 : Next + 1;
			}
			benchmark::DoNotOptimize(NumFound);
		});
	}

	double GetResolveNs(FPopulatedWorld& Populated, int32 NumIdentities)
	{
		const TArray<FProducer>& Producers = Populated.Explicit;
		const int32 Cycle = FMath::Min(NumIdentities, Producers.Num());
		const UVesk_ReferenceSubsystem* Registry = Populated.Registry;
		return MeasureNsPerCall(ReferenceCallsPerRound, [&Producers, Cycle, Registry](int32 Calls)
		{
			UClass* ExpectedType = AActor::StaticClass();
			int32 Next = 0;
			int64 NumAvailable = 0;
			for (int32 Call = 0; Call < Calls; ++Call)
			{
				const FVesk_ResolvedReference Resolved = Registry->Resolve(Producers[Next].Binding.Id, ExpectedType, nullptr);
				NumAvailable += Resolved.Status == EVesk_ReferenceStatus::Available;
				Next = Next + 1 == Cycle ? 0 : Next + 1;
			}
			benchmark::DoNotOptimize(NumAvailable);
		});
	}

	void SetPerOpCounters(benchmark::State& State, FPopulatedWorld& Populated, double NsPerOp)
	{
		State.counters["ns_per_op"] = NsPerOp;
		State.counters["xTMap"] = NsPerOp / GetBaselineTMapNs(Populated);
		State.counters["xStdMap"] = NsPerOp / GetBaselineStdMapNs(Populated);
	}

	FObservationSet::FObservationSet(FPopulatedWorld& InPopulated, int32 Count)
		: Populated(InPopulated)
	{
		constexpr int32 ObservationsPerConsumer = 10;
		Observations.Reserve(Count);
		for (int32 Index = 0; Index < Count; ++Index)
		{
			const FProducer& Producer = Populated.Explicit[Index % Populated.Explicit.Num()];
			AActor* Consumer = Populated.GetConsumer(Index / ObservationsPerConsumer);
			Observations.Emplace(Populated.Registry->Observe(Producer.Binding.Id, AActor::StaticClass(), nullptr, Consumer));
		}
	}

	FObservationSet::~FObservationSet()
	{
		for (const TStrongObjectPtr<UVesk_ReferenceObservation>& Observation : Observations)
		{
			if (Observation)
			{
				Observation->Stop();
			}
		}
		// The next pass drops stopped observations from the registry.
		Populated.Registry->Tick(0.016f);
	}

	bool FObservationSet::AreAllAvailable() const
	{
		for (const TStrongObjectPtr<UVesk_ReferenceObservation>& Observation : Observations)
		{
			if (!Observation || !Observation->IsActive() || Observation->GetStatus() != EVesk_ReferenceStatus::Available)
			{
				return false;
			}
		}
		return true;
	}
}
