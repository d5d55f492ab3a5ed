#include "AllocationCount.h"
#include "Containers/Array.h"
#include "HAL/MemoryBase.h"
#include "HAL/UnrealMemory.h"

#include <gtest/gtest.h>

TEST(MallocCallCountTest, EachCallIsCountedOnceUnderItsKind)
{
	const uint64 MallocsBefore = FMalloc::TotalMallocCalls.load();
	const uint64 ReallocsBefore = FMalloc::TotalReallocCalls.load();
	const uint64 FreesBefore = FMalloc::TotalFreeCalls.load();

	void* Block = FMemory::Malloc(24);
	void* Zeroed = FMemory::MallocZeroed(40);
	Block = FMemory::Realloc(Block, 4096);
	FMemory::Free(Block);
	FMemory::Free(Zeroed);

	EXPECT_EQ(FMalloc::TotalMallocCalls.load() - MallocsBefore, 2u);
	EXPECT_EQ(FMalloc::TotalReallocCalls.load() - ReallocsBefore, 1u);
	EXPECT_EQ(FMalloc::TotalFreeCalls.load() - FreesBefore, 2u);
}

TEST(MallocCallCountTest, FreeingNullReachesNoAllocator)
{
	const uint64 FreesBefore = FMalloc::TotalFreeCalls.load();

	FMemory::Free(nullptr);

	EXPECT_EQ(FMalloc::TotalFreeCalls.load(), FreesBefore);
}

TEST(MallocCallCountTest, ContainersAllocateThroughTheCountedAllocator)
{
	TArray<int32> Numbers;
	Numbers.Reserve(4);
	const FAllocationCount Growth;

	for (int32 Index = 0; Index < 100; ++Index)
	{
		Numbers.Add(Index);
	}
	const uint64 WhileGrowing = Growth.Get();
	const FAllocationCount Steady;
	Numbers.Reset();
	for (int32 Index = 0; Index < 100; ++Index)
	{
		Numbers.Add(Index);
	}

	EXPECT_GT(WhileGrowing, 0u);
	EXPECT_EQ(Steady.Get(), 0u);
}
