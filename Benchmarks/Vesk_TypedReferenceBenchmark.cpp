#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "UObject/UObjectGlobals.h"
#include "Vesk_ReferenceSubsystem.h"
#include "Vesk_TypedReference.h"

#include <benchmark/benchmark.h>

// A typed reference must cost what the untyped Resolve costs: each typed benchmark here runs the
// same lookups as the direct one beside it, over the same registry.
namespace
{
	FGuid MakeTypedIdentity(int32 Index)
	{
		return FGuid(uint32(Index + 1), 0x7F4A7C15u * uint32(Index + 1), 0x165667B1u, 0x27D4EB2Fu);
	}

	// A game world whose registry holds Count published actors.
	class FTypedReferenceWorld
	{
	public:
		explicit FTypedReferenceWorld(int32 Count)
		{
			World = UWorld::CreateWorld(EWorldType::Game, false);
			World->InitializeActorsForPlay(FURL());
			World->BeginPlay();
			Registry = UVesk_ReferenceSubsystem::FromContext(World);
			for (int32 Index = 0; Index < Count; ++Index)
			{
				AActor* Producer = World->SpawnActor<AActor>();
				Registry->Publish(Registry->BeginBinding(Producer, MakeTypedIdentity(Index)));
				References.Add(TVesk_PersistentReference<AActor>(MakeTypedIdentity(Index)));
			}
			Context = World->SpawnActor<AActor>();
		}
		~FTypedReferenceWorld()
		{
			World->DestroyWorld(false);
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		}

		UWorld* World = nullptr;
		UVesk_ReferenceSubsystem* Registry = nullptr;
		AActor* Context = nullptr;
		TArray<TVesk_PersistentReference<AActor>> References;
	};
}

static void BM_DirectResolve(benchmark::State& State)
{
	FTypedReferenceWorld Populated(int32(State.range(0)));
	const UVesk_ReferenceSubsystem& Registry = *Populated.Registry;
	int32 Next = 0;
	for (auto _ : State)
	{
		const FVesk_ResolvedReference Resolved = Registry.Resolve(Populated.References[Next].GetId(), AActor::StaticClass(), nullptr);
		benchmark::DoNotOptimize(Resolved.Object);
		Next = Next + 1 == Populated.References.Num() ? 0 : Next + 1;
	}
}
BENCHMARK(BM_DirectResolve)->Range(8, 1 << 14);

static void BM_TypedResolve(benchmark::State& State)
{
	FTypedReferenceWorld Populated(int32(State.range(0)));
	const UVesk_ReferenceSubsystem& Registry = *Populated.Registry;
	int32 Next = 0;
	for (auto _ : State)
	{
		const TVesk_ResolvedReference<AActor> Resolved = Populated.References[Next].Resolve(Registry);
		benchmark::DoNotOptimize(Resolved.Object);
		Next = Next + 1 == Populated.References.Num() ? 0 : Next + 1;
	}
}
BENCHMARK(BM_TypedResolve)->Range(8, 1 << 14);

// What a consumer without a registry at hand writes: find its world's registry, then resolve.
static void BM_DirectResolveFromContext(benchmark::State& State)
{
	FTypedReferenceWorld Populated(int32(State.range(0)));
	int32 Next = 0;
	for (auto _ : State)
	{
		const UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(Populated.Context);
		const FVesk_ResolvedReference Resolved = Registry->Resolve(Populated.References[Next].GetId(), AActor::StaticClass(), nullptr);
		benchmark::DoNotOptimize(Resolved.Object);
		Next = Next + 1 == Populated.References.Num() ? 0 : Next + 1;
	}
}
BENCHMARK(BM_DirectResolveFromContext)->Range(8, 1 << 14);

static void BM_TypedResolveFromContext(benchmark::State& State)
{
	FTypedReferenceWorld Populated(int32(State.range(0)));
	int32 Next = 0;
	for (auto _ : State)
	{
		const TVesk_ResolvedReference<AActor> Resolved = Populated.References[Next].Resolve(Populated.Context);
		benchmark::DoNotOptimize(Resolved.Object);
		Next = Next + 1 == Populated.References.Num() ? 0 : Next + 1;
	}
}
BENCHMARK(BM_TypedResolveFromContext)->Range(8, 1 << 14);
