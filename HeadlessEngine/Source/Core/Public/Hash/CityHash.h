#pragma once

#include "CoreTypes.h"

// Google's CityHash, version 1.1. The values are fixed by the algorithm: they are stored and
// compared across runs and machines.

struct Uint128_64
{
	uint64 lo;
	uint64 hi;
};

CORE_API uint32 CityHash32(const char* buf, uint32 len);
CORE_API uint64 CityHash64(const char* buf, uint32 len);
CORE_API uint64 CityHash64WithSeed(const char* buf, uint32 len, uint64 seed);
CORE_API uint64 CityHash64WithSeeds(const char* buf, uint32 len, uint64 seed0, uint64 seed1);

// Hashes 128 bits down to 64; the mix that CityHash uses internally.
inline uint64 CityHash128to64(const Uint128_64& x)
{
	const uint64 kMul = 0x9ddfea08eb382d69ULL;
	uint64 a = (x.lo ^ x.hi) * kMul;
	a ^= (a >> 47);
	uint64 b = (x.hi ^ a) * kMul;
	b ^= (b >> 47);
	b *= kMul;
	return b;
}
