#pragma once

#include "CoreTypes.h"

#include <cstring>
#include <type_traits>

enum
{
	DEFAULT_ALIGNMENT = 0,
	MIN_ALIGNMENT = 8
};

struct FMemory
{
	// Alignment 0 means the allocator's default: 16 bytes on 64-bit hosts.
	static CORE_API void* Malloc(SIZE_T Count, uint32 Alignment = DEFAULT_ALIGNMENT);
	static CORE_API void* Realloc(void* Original, SIZE_T Count, uint32 Alignment = DEFAULT_ALIGNMENT);
	static CORE_API void Free(void* Original);
	static CORE_API void* MallocZeroed(SIZE_T Count, uint32 Alignment = DEFAULT_ALIGNMENT);

	// Size of the block as the allocator reserved it; 0 for null.
	static CORE_API SIZE_T GetAllocSize(void* Original);

	static FORCEINLINE void* Memmove(void* Dest, const void* Src, SIZE_T Count)
	{
		return Count ? std::memmove(Dest, Src, Count) : Dest;
	}

	static FORCEINLINE int32 Memcmp(const void* Buf1, const void* Buf2, SIZE_T Count)
	{
		return Count ? std::memcmp(Buf1, Buf2, Count) : 0;
	}

	static FORCEINLINE void* Memset(void* Dest, uint8 Char, SIZE_T Count)
	{
		return Count ? std::memset(Dest, Char, Count) : Dest;
	}

	static FORCEINLINE void* Memzero(void* Dest, SIZE_T Count)
	{
		return Count ? std::memset(Dest, 0, Count) : Dest;
	}

	static FORCEINLINE void* Memcpy(void* Dest, const void* Src, SIZE_T Count)
	{
		return Count ? std::memcpy(Dest, Src, Count) : Dest;
	}

	template <typename T>
	static FORCEINLINE void Memzero(T& Src)
	{
		static_assert(!std::is_pointer_v<T>, "For pointers use the two parameters function");
		Memzero(&Src, sizeof(T));
	}

	template <typename T>
	static FORCEINLINE void Memset(T& Src, uint8 ValueToSet)
	{
		static_assert(!std::is_pointer_v<T>, "For pointers use the three parameters function");
		Memset(&Src, ValueToSet, sizeof(T));
	}

	template <typename T>
	static FORCEINLINE void Memcpy(T& Dest, const T& Src)
	{
		static_assert(!std::is_pointer_v<T>, "For pointers use the three parameters function");
		Memcpy(&Dest, &Src, sizeof(T));
	}
};
