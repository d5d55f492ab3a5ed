#pragma once

// Linux x86-64 / AArch64 with GCC or Clang is the only supported host.

#include <cstddef>
#include <cstdint>

#define PLATFORM_LINUX 1
#define PLATFORM_WINDOWS 0
#define PLATFORM_MAC 0
#define PLATFORM_UNIX 1
#define PLATFORM_64BITS 1
#define PLATFORM_LITTLE_ENDIAN 1
#define PLATFORM_TCHAR_IS_CHAR16 1

typedef unsigned char uint8;
typedef unsigned short int uint16;
typedef unsigned int uint32;
typedef unsigned long long uint64;

typedef signed char int8;
typedef signed short int int16;
typedef signed int int32;
typedef signed long long int64;

typedef char ANSICHAR;
typedef char16_t WIDECHAR;
typedef char8_t UTF8CHAR;
typedef char16_t UCS2CHAR;
typedef char16_t UTF16CHAR;
typedef char32_t UTF32CHAR;
typedef WIDECHAR TCHAR;

typedef std::uintptr_t UPTRINT;
typedef std::intptr_t PTRINT;
typedef std::size_t SIZE_T;
typedef std::ptrdiff_t SSIZE_T;

typedef decltype(nullptr) TYPE_OF_NULLPTR;

static_assert(sizeof(uint8) == 1 && sizeof(uint16) == 2 && sizeof(uint32) == 4 && sizeof(uint64) == 8, "Unexpected unsigned integer sizes");
static_assert(sizeof(int8) == 1 && sizeof(int16) == 2 && sizeof(int32) == 4 && sizeof(int64) == 8, "Unexpected signed integer sizes");
static_assert(sizeof(TCHAR) == 2, "TCHAR is UTF-16 on this platform");
static_assert(sizeof(void*) == 8, "Only 64-bit hosts are supported");

#define FORCEINLINE inline __attribute__((always_inline))
#define FORCENOINLINE __attribute__((noinline))
#define RESTRICT __restrict
#define CONSTEXPR constexpr
#define ABSTRACT
#define LIKELY(x) __builtin_expect(!!(x), 1)
#define UNLIKELY(x) __builtin_expect(!!(x), 0)
#define UE_NODISCARD [[nodiscard]]
#define UE_NORETURN [[noreturn]]
#define GCC_ALIGN(n) __attribute__((aligned(n)))
#define PLATFORM_BREAK() __builtin_trap()

#define DLLEXPORT __attribute__((visibility("default")))
#define DLLIMPORT __attribute__((visibility("default")))

#define TEXT_PASTE(x) u ## x
#define TEXT(x) TEXT_PASTE(x)
#define UTF8TEXT_PASTE(x) u8 ## x
#define UTF8TEXT(x) UTF8TEXT_PASTE(x)

#define UE_ARRAY_COUNT(Array) (sizeof(UEArrayCountHelper(Array)) - 1)
template <typename T, unsigned int N>
char (&UEArrayCountHelper(const T (&)[N]))[N + 1];

// The build defines the export macro of each module; a translation unit compiled outside
// it still sees the names.
#ifndef CORE_API
	#define CORE_API DLLEXPORT
#endif
