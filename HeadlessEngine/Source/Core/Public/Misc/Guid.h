#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Hash/CityHash.h"
#include "Misc/AssertionMacros.h"
#include "Templates/UnrealTypeTraits.h"

class FArchive;

enum class EGuidFormats
{
	// 32 upper-case hex digits: A, B, C and D, eight digits each.
	Digits,
	DigitsLower,
	// 8-4-4-4-12, upper case.
	DigitsWithHyphens,
	DigitsWithHyphensLower,
	// {8-4-4-4-12}
	DigitsWithHyphensInBraces,
	// (8-4-4-4-12)
	DigitsWithHyphensInParentheses,
	// {0xAAAAAAAA,0xBBBB,0xBBBB,{0xCC,0xCC,0xCC,0xCC,0xDD,0xDD,0xDD,0xDD}}
	HexValuesInBraces,
	// AAAAAAAA-BBBBBBBB-CCCCCCCC-DDDDDDDD
	UniqueObjectGuid,
	// 22 characters of URL-safe base64 of the 16 bytes, without padding.
	Short,
	// 25 characters of base 36, upper case.
	Base36Encoded,
};

// Globally unique identifier: four 32-bit words, all zero meaning invalid.
struct FGuid
{
public:
	constexpr FGuid()
		: A(0)
		, B(0)
		, C(0)
		, D(0)
	{
	}

	constexpr FGuid(uint32 InA, uint32 InB, uint32 InC, uint32 InD)
		: A(InA)
		, B(InB)
		, C(InC)
		, D(InD)
	{
	}

	// Parses any format that Parse accepts; invalid text gives the invalid guid.
	explicit CORE_API FGuid(const FString& InGuidStr);

	friend bool operator==(const FGuid& X, const FGuid& Y)
	{
		return ((X.A ^ Y.A) | (X.B ^ Y.B) | (X.C ^ Y.C) | (X.D ^ Y.D)) == 0;
	}

	friend bool operator!=(const FGuid& X, const FGuid& Y)
	{
		return !(X == Y);
	}

	friend bool operator<(const FGuid& X, const FGuid& Y)
	{
		return ((X.A < Y.A) ? true : ((X.A > Y.A) ? false :
			((X.B < Y.B) ? true : ((X.B > Y.B) ? false :
			((X.C < Y.C) ? true : ((X.C > Y.C) ? false :
			((X.D < Y.D) ? true : false)))))));
	}

	uint32& operator[](int32 Index)
	{
		checkSlow(Index >= 0 && Index < 4);
		switch (Index)
		{
		case 0: return A;
		case 1: return B;
		case 2: return C;
		default: return D;
		}
	}

	const uint32& operator[](int32 Index) const
	{
		checkSlow(Index >= 0 && Index < 4);
		switch (Index)
		{
		case 0: return A;
		case 1: return B;
		case 2: return C;
		default: return D;
		}
	}

	bool IsValid() const
	{
		return ((A | B | C | D) != 0);
	}

	void Invalidate()
	{
		A = B = C = D = 0;
	}

	CORE_API FString ToString(EGuidFormats Format = EGuidFormats::Digits) const;

	// Appends the text of the guid to Out, keeping what Out already holds.
	CORE_API void AppendString(FString& Out, EGuidFormats Format = EGuidFormats::Digits) const;

	// A random version-4 guid; never the invalid guid.
	static CORE_API FGuid NewGuid();

	// Accepts Digits, DigitsWithHyphens, the braced and parenthesised forms, UniqueObjectGuid
	// and HexValuesInBraces, told apart by length and separators.
	static CORE_API bool Parse(const FString& GuidString, FGuid& OutGuid);
	static CORE_API bool ParseExact(const FString& GuidString, EGuidFormats Format, FGuid& OutGuid);

	// The low 32 bits of CityHash64 over the 16 bytes, each word little-endian.
	friend uint32 GetTypeHash(const FGuid& Guid)
	{
		return uint32(CityHash64((const char*)&Guid, sizeof(FGuid)));
	}

	friend CORE_API FArchive& operator<<(FArchive& Ar, FGuid& G);

	CORE_API bool Serialize(FArchive& Ar);

	uint32 A;
	uint32 B;
	uint32 C;
	uint32 D;
};

static_assert(sizeof(FGuid) == 16, "FGuid is four 32-bit words");

template <>
struct TIsPODType<FGuid>
{
	enum { Value = true };
};

inline FString LexToString(const FGuid& Value)
{
	return Value.ToString();
}
