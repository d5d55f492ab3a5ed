#pragma once

#include "CoreTypes.h"
#include "HAL/MemoryBase.h"

/**
 * Counts the blocks that FMemory hands out from construction on: new blocks and resizes, not
 * frees. Only allocations through FMemory are seen, which is every engine container's.
 */
class FAllocationCount
{
public:
	FAllocationCount()
		: Start(Now())
	{
	}

	uint64 Get() const
	{
		return Now() - Start;
	}

private:
	static uint64 Now()
	{
		return FMalloc::TotalMallocCalls.load() + FMalloc::TotalReallocCalls.load();
	}

	uint64 Start;
};
