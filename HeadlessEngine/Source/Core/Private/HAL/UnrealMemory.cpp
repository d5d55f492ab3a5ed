#include "HAL/UnrealMemory.h"

#include "HAL/MemoryBase.h"
#include "Misc/AssertionMacros.h"

#include <cstdlib>
#include <malloc.h>

std::atomic<uint64> FMalloc::TotalMallocCalls(0);
std::atomic<uint64> FMalloc::TotalFreeCalls(0);
std::atomic<uint64> FMalloc::TotalReallocCalls(0);

namespace
{
	// What malloc already guarantees on 64-bit glibc.
	constexpr uint32 SystemAlignment = 16;

	uint32 EffectiveAlignment(uint32 Alignment)
	{
		return Alignment == DEFAULT_ALIGNMENT ? SystemAlignment : Alignment;
	}

	void* AllocateAligned(SIZE_T Count, uint32 Alignment)
	{
		void* Result = nullptr;
		if (Alignment <= SystemAlignment)
		{
			Result = std::malloc(Count ? Count : 1);
		}
		else if (posix_memalign(&Result, Alignment, Count ? Count : 1) != 0)
		{
			Result = nullptr;
		}
		checkf(Result != nullptr, TEXT("Out of memory allocating %llu bytes"), (unsigned long long)Count);
		return Result;
	}
}

void* FMemory::Malloc(SIZE_T Count, uint32 Alignment)
{
	FMalloc::TotalMallocCalls.fetch_add(1, std::memory_order_relaxed);
	return AllocateAligned(Count, EffectiveAlignment(Alignment));
}

void* FMemory::MallocZeroed(SIZE_T Count, uint32 Alignment)
{
	void* Result = Malloc(Count, Alignment);
	Memzero(Result, Count);
	return Result;
}

void* FMemory::Realloc(void* Original, SIZE_T Count, uint32 Alignment)
{
	FMalloc::TotalReallocCalls.fetch_add(1, std::memory_order_relaxed);
	Alignment = EffectiveAlignment(Alignment);
	if (Original == nullptr)
	{
		return Count ? AllocateAligned(Count, Alignment) : nullptr;
	}
	if (Count == 0)
	{
		std::free(Original);
		return nullptr;
	}
	if (Alignment <= SystemAlignment)
	{
		void* Result = std::realloc(Original, Count);
		checkf(Result != nullptr, TEXT("Out of memory reallocating %llu bytes"), (unsigned long long)Count);
		return Result;
	}
	void* Result = AllocateAligned(Count, Alignment);
	const SIZE_T OldSize = malloc_usable_size(Original);
	Memcpy(Result, Original, OldSize < Count ? OldSize : Count);
	std::free(Original);
	return Result;
}

void FMemory::Free(void* Original)
{
	if (!Original)
	{
		return;
	}
	FMalloc::TotalFreeCalls.fetch_add(1, std::memory_order_relaxed);
	std::free(Original);
}

SIZE_T FMemory::GetAllocSize(void* Original)
{
	return Original ? malloc_usable_size(Original) : 0;
}
