#pragma once

#include "CoreTypes.h"

// The allocators are tags: TArray picks its storage from them (Containers/Array.h). With
// TInlineAllocator<N> it keeps up to N elements inside the array object and goes to the heap,
// through FMemory, only beyond N; with TFixedAllocator<N> it keeps exactly N and never
// allocates. Sets, maps and sparse arrays manage their own heap storage whatever their
// allocator: TInlineSetAllocator keeps nothing inline.

template <int IndexSize>
class TSizedDefaultAllocator
{
public:
	using SizeType = int32;
	enum { NeedsElementType = false };
	enum { RequireRangeCheck = true };
};

using FDefaultAllocator = TSizedDefaultAllocator<32>;
using FDefaultAllocator64 = TSizedDefaultAllocator<64>;
using FHeapAllocator = FDefaultAllocator;

template <uint32 NumInlineElements, typename SecondaryAllocator = FDefaultAllocator>
class TInlineAllocator
{
public:
	using SizeType = int32;
	enum { NeedsElementType = true };
	enum { RequireRangeCheck = true };
	enum { InlineCount = NumInlineElements };
};

template <uint32 NumInlineElements>
class TFixedAllocator
{
public:
	using SizeType = int32;
	enum { NeedsElementType = true };
	enum { RequireRangeCheck = true };
};

class FDefaultBitArrayAllocator
{
};

class FDefaultSparseArrayAllocator
{
};

class FDefaultSetAllocator
{
};

template <uint32 NumInlineElements>
class TInlineSetAllocator
{
};
