#pragma once

#include "CoreTypes.h"

// Containers here manage their own heap storage. The allocator parameter only tells
// container types apart, so TArray<T, TInlineAllocator<N>> is a distinct type that behaves
// like the default one (it keeps no inline elements).

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
