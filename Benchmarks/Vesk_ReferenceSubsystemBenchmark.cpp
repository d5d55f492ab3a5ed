#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "UObject/UObjectGlobals.h"
#include "Vesk_ReferenceSubsystem.h"

#include <benchmark/benchmark.h>

namespace
{
	FGuid MakeIdentity(int32 Index)
	{
		return FGuid(uint32(Index + 1), 0x9E3779B9u * uint32(Index + 1), 0x85EBCA6Bu, 0xC2B2AE35u);
	}

	// A game world with a registry that already holds Count published producers.
	class FPopulatedWorld
	{
	public:
		explicit FPopulatedWorld(int32 Count)
		{
			World = UWorld::CreateWorld(EWorldType::Game, false);
			World->InitializeActorsForPlay(FURL());
			World->BeginPlay();
			Registry = UVesk_ReferenceSubsystem::FromContext(World);
			for (int32 Index = 0; Index < Count; ++Index)
			{
				AActor* Producer = World->SpawnActor<AActor>();
				const FVesk_ReferenceBinding Binding = Registry->BeginBinding(Producer, MakeIdentity(Index));
				Registry->Publish(Binding);
				Producers.Add(Producer);
				Bindings.Add(Binding);
			}
		}
		~FPopulatedWorld()
		{
			World->DestroyWorld(false);
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		}

		UWorld* World = nullptr;
		UVesk_ReferenceSubsystem* Registry = nullptr;
		TArray<AActor*> Producers;
		TArray<FVesk_ReferenceBinding> Bindings;
	};
}

// The currency test every producer operation starts with, against a registry of the given size.
static void BM_IsCurrentBinding(benchmark::State& State)
{
	FPopulatedWorld Populated(int32(State.range(0)));
	int32 Next = 0;
	for (auto _ : State)
	{
		benchmark::DoNotOptimize(Populated.Registry->IsCurrentBinding(Populated.Bindings[Next]));
		Next = Next + 1 == Populated.Bindings.Num() ? 0 : Next + 1;
	}
}
BENCHMARK(BM_IsCurrentBinding)->Range(8, 1 << 14);

// A producer's round trip once it exists: publish, withdraw, publish again and so on.
static void BM_PublishWithdraw(benchmark::State& State)
{
	FPopulatedWorld Populated(int32(State.range(0)));
	int32 Next = 0;
	for (auto _ : State)
	{
		const FVesk_ReferenceBinding& Binding = Populated.Bindings[Next];
		benchmark::DoNotOptimize(Populated.Registry->Withdraw(Binding));
		benchmark::DoNotOptimize(Populated.Registry->Publish(Binding));
		Next = Next + 1 == Populated.Bindings.Num() ? 0 : Next + 1;
	}
	State.SetItemsProcessed(int64(State.iterations()) * 2);
}
BENCHMARK(BM_PublishWithdraw)->Range(8, 1 << 14);

// Binding the same live producer again returns its running token.
static void BM_RebindSameObject(benchmark::State& State)
{
	FPopulatedWorld Populated(int32(State.range(0)));
	for (auto _ : State)
	{
		benchmark::DoNotOptimize(Populated.Registry->BeginBinding(Populated.Producers[0], Populated.Bindings[0].Id));
	}
}
BENCHMARK(BM_RebindSameObject)->Range(8, 1 << 14);

// A frame's work with nothing to refresh: the registry's tick over its ended actors.
static void BM_Tick(benchmark::State& State)
{
	FPopulatedWorld Populated(int32(State.range(0)));
	for (auto _ : State)
	{
		Populated.Registry->Tick(0.016f);
	}
}
BENCHMARK(BM_Tick)->Range(8, 1 << 14);
