#pragma once

#include "CoreTypes.h"

#include <atomic>

// The engine's allocator interface, reduced to its call counters: FMemory is the only allocator
// here, and it counts every call it serves. The engine keeps these counters protected and reports
// them through its allocator statistics; they are public here so that tests can count the
// allocations of an operation without a statistics system.
class FMalloc
{
public:
	// Calls of FMemory::Malloc and FMemory::MallocZeroed.
	static CORE_API std::atomic<uint64> TotalMallocCalls;
	// Calls of FMemory::Free with a block; freeing null reaches no allocator.
	static CORE_API std::atomic<uint64> TotalFreeCalls;
	// Calls of FMemory::Realloc, including those that only allocate or only free.
	static CORE_API std::atomic<uint64> TotalReallocCalls;
};
