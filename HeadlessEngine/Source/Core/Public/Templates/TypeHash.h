#pragma once

#include "CoreTypes.h"

#include <bit>
#include <type_traits>

// Bob Jenkins' mix of two hashes; order matters.
inline constexpr uint32 HashCombine(uint32 A, uint32 C)
{
	uint32 B = 0x9e3779b9;
	A += B;

	A -= B; A -= C; A ^= (C >> 13);
	B -= C; B -= A; B ^= (A << 8);
	C -= A; C -= B; C ^= (B >> 13);
	A -= B; A -= C; A ^= (C >> 12);
	B -= C; B -= A; B ^= (A << 16);
	C -= A; C -= B; C ^= (B >> 5);
	A -= B; A -= C; A ^= (C >> 3);
	B -= C; B -= A; B ^= (A << 10);
	C -= A; C -= B; C ^= (B >> 15);

	return C;
}

// Cheaper combination for hashes that are already well mixed; not stable across versions.
inline constexpr uint32 HashCombineFast(uint32 A, uint32 B)
{
	return A ^ (B + 0x9e3779b9 + (A << 6) + (A >> 2));
}

template <typename T>
	requires std::is_integral_v<T>
inline constexpr uint32 GetTypeHash(T Value)
{
	if constexpr (sizeof(T) <= 4)
	{
		return (uint32)Value;
	}
	else
	{
		const uint64 Wide = (uint64)Value;
		return (uint32)Wide + ((uint32)(Wide >> 32) * 23);
	}
}

template <typename T>
	requires std::is_enum_v<T>
inline constexpr uint32 GetTypeHash(T Value)
{
	return GetTypeHash((std::underlying_type_t<T>)Value);
}

inline uint32 GetTypeHash(float Value)
{
	return std::bit_cast<uint32>(Value);
}

inline uint32 GetTypeHash(double Value)
{
	return GetTypeHash(std::bit_cast<uint64>(Value));
}

inline uint32 PointerHash(const void* Key)
{
	// The low bits of a pointer are mostly alignment zeros.
	const UPTRINT PtrInt = reinterpret_cast<UPTRINT>(Key) >> 4;
	return GetTypeHash(PtrInt);
}

inline uint32 PointerHash(const void* Key, uint32 C)
{
	return HashCombine(PointerHash(Key), C);
}

template <typename T>
inline uint32 GetTypeHash(T* Value)
{
	return PointerHash(Value);
}

inline uint32 GetTypeHash(TYPE_OF_NULLPTR)
{
	return PointerHash(nullptr);
}
