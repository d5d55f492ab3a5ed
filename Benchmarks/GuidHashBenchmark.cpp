#include "Containers/Map.h"
#include "Hash/CityHash.h"
#include "Misc/Guid.h"

#include <benchmark/benchmark.h>

// The registry's key hash: CityHash64 over a guid's 16 bytes.
static void BM_GuidTypeHash(benchmark::State& State)
{
	const FGuid Guid(0x01234567u, 0x89ABCDEFu, 0xFEDCBA98u, 0x76543210u);
	for (auto _ : State)
	{
		benchmark::DoNotOptimize(GetTypeHash(Guid));
	}
}
BENCHMARK(BM_GuidTypeHash);

static void BM_CityHash64(benchmark::State& State)
{
	TArray<uint8> Bytes;
	Bytes.SetNumZeroed(int32(State.range(0)));
	for (int32 Index = 0; Index < Bytes.Num(); ++Index)
	{
		Bytes[Index] = uint8(Index * 31 + 7);
	}
	for (auto _ : State)
	{
		benchmark::DoNotOptimize(CityHash64((const char*)Bytes.GetData(), uint32(Bytes.Num())));
	}
	State.SetBytesProcessed(int64(State.iterations()) * Bytes.Num());
}
BENCHMARK(BM_CityHash64)->Arg(16)->Arg(32)->Arg(64)->Arg(256)->Arg(4096);

// Lookup of a present key in a guid-keyed map of the given size, as the registry's entry table.
static void BM_GuidMapFind(benchmark::State& State)
{
	const int32 Count = int32(State.range(0));
	TMap<FGuid, int64> Map;
	TArray<FGuid> Keys;
	for (int32 Index = 0; Index < Count; ++Index)
	{
		const FGuid Key(uint32(Index + 1), 0x9E3779B9u * uint32(Index), 0u, 1u);
		Map.Add(Key, Index);
		Keys.Add(Key);
	}
	int32 Next = 0;
	for (auto _ : State)
	{
		benchmark::DoNotOptimize(Map.Find(Keys[Next]));
		Next = Next + 1 == Count ? 0 : Next + 1;
	}
}
BENCHMARK(BM_GuidMapFind)->Range(8, 1 << 16);
