#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Templates/TypeHash.h"
#include "UObject/UnrealNames.h"

enum EFindName
{
	FNAME_Find,
	FNAME_Add,
};

// Interned, case-insensitive name. The process-wide table keeps the first spelling it saw of
// each name; comparisons ignore case. A trailing "_N" (no leading zeros) is kept apart as a
// number, so "Actor_3" is "Actor" with number 4 internally.
class FName
{
public:
	FORCEINLINE constexpr FName() = default;

	FORCEINLINE constexpr FName(EName N)
		: ComparisonIndex((uint32)N)
	{
	}

	CORE_API FName(const TCHAR* Name, EFindName FindType = FNAME_Add);
	CORE_API FName(const ANSICHAR* Name, EFindName FindType = FNAME_Add);
	CORE_API FName(const FString& Name, EFindName FindType = FNAME_Add);
	CORE_API FName(int32 Len, const TCHAR* Name, EFindName FindType = FNAME_Add);
	// InNumber is the internal number, as GetNumber returns it: NAME_EXTERNAL_TO_INTERNAL(N)
	// for "Name_N", NAME_NO_NUMBER_INTERNAL for none. The text is taken whole, never split.
	CORE_API FName(const TCHAR* Name, int32 InNumber);
	CORE_API FName(EName BaseName, int32 InNumber);

	FORCEINLINE constexpr FName(FName Other, int32 InNumber)
		: ComparisonIndex(Other.ComparisonIndex)
		, Number(InNumber)
	{
	}

	CORE_API FString ToString() const;
	CORE_API void ToString(FString& Out) const;
	// Appends the name to Out.
	CORE_API void AppendString(FString& Out) const;
	// The name without its number.
	CORE_API FString GetPlainNameString() const;

	FORCEINLINE bool IsNone() const { return ComparisonIndex == 0 && Number == NAME_NO_NUMBER_INTERNAL; }
	FORCEINLINE bool IsValid() const { return true; }
	FORCEINLINE uint32 GetComparisonIndex() const { return ComparisonIndex; }
	FORCEINLINE uint32 GetDisplayIndex() const { return ComparisonIndex; }
	FORCEINLINE int32 GetNumber() const { return Number; }
	FORCEINLINE void SetNumber(int32 NewNumber) { Number = NewNumber; }

	FORCEINLINE bool operator==(FName Other) const
	{
		return ComparisonIndex == Other.ComparisonIndex && Number == Other.Number;
	}

	FORCEINLINE bool operator!=(FName Other) const
	{
		return !(*this == Other);
	}

	FORCEINLINE bool operator==(EName Other) const
	{
		return ComparisonIndex == (uint32)Other && Number == NAME_NO_NUMBER_INTERNAL;
	}

	FORCEINLINE bool operator!=(EName Other) const
	{
		return !(*this == Other);
	}

	// Compares the text, ignoring case.
	CORE_API bool operator==(const TCHAR* Other) const;

	// Order by table index: fast, stable within a run, but not alphabetical.
	FORCEINLINE bool FastLess(const FName& Other) const
	{
		return ComparisonIndex != Other.ComparisonIndex ? ComparisonIndex < Other.ComparisonIndex : Number < Other.Number;
	}

	// Alphabetical order, ignoring case.
	CORE_API bool LexicalLess(const FName& Other) const;
	CORE_API int32 Compare(const FName& Other) const;

	FORCEINLINE bool operator<(const FName& Other) const
	{
		return LexicalLess(Other);
	}

	friend FORCEINLINE uint32 GetTypeHash(FName Name)
	{
		return Name.ComparisonIndex + Name.Number;
	}

	static CORE_API FString NameToDisplayString(const FString& InName, bool bIsBool);

private:
	uint32 ComparisonIndex = 0;
	int32 Number = NAME_NO_NUMBER_INTERNAL;
};

template <>
struct TIsZeroConstructType<FName>
{
	enum { Value = true };
};

template <>
struct TIsPODType<FName>
{
	enum { Value = true };
};

inline FString LexToString(const FName& Name)
{
	return Name.ToString();
}

struct FNameFastLess
{
	FORCEINLINE bool operator()(const FName& A, const FName& B) const
	{
		return A.FastLess(B);
	}
};

struct FNameLexicalLess
{
	FORCEINLINE bool operator()(const FName& A, const FName& B) const
	{
		return A.LexicalLess(B);
	}
};
