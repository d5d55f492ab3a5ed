#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Misc/AssertionMacros.h"
#include "Misc/CString.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTypeTraits.h"

#include <type_traits>

// Dynamic string of TCHAR. The storage holds the characters and a terminator, or nothing
// at all when the string is empty. operator== and GetTypeHash ignore case, as the engine's do;
// Equals and Compare take the case mode explicitly.
class FString
{
public:
	using ElementType = TCHAR;
	using DataType = TArray<TCHAR>;

	FString() = default;
	FString(const FString&) = default;
	FString(FString&&) = default;
	FString& operator=(const FString&) = default;
	FString& operator=(FString&&) = default;

	CORE_API FString(const TCHAR* Str);
	// 8-bit text is taken as Latin-1; use UTF8_TO_TCHAR for UTF-8.
	CORE_API FString(const ANSICHAR* Str);
	CORE_API FString(const UTF8CHAR* Str);
	CORE_API FString(int32 Len, const TCHAR* Str);
	CORE_API FString(int32 Len, const ANSICHAR* Str);

	CORE_API FString& operator=(const TCHAR* Str);

	// Never null: an empty string gives "".
	FORCEINLINE const TCHAR* operator*() const
	{
		return Data.Num() ? Data.GetData() : TEXT("");
	}

	FORCEINLINE DataType& GetCharArray() { return Data; }
	FORCEINLINE const DataType& GetCharArray() const { return Data; }

	FORCEINLINE int32 Len() const { return Data.Num() ? Data.Num() - 1 : 0; }
	FORCEINLINE bool IsEmpty() const { return Data.Num() <= 1; }
	FORCEINLINE bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Len(); }
	FORCEINLINE SIZE_T GetAllocatedSize() const { return Data.GetAllocatedSize(); }

	FORCEINLINE TCHAR& operator[](int32 Index)
	{
		checkf(IsValidIndex(Index), TEXT("String index out of bounds: Index %lld from a string with a length of %lld"), (long long)Index, (long long)Len());
		return Data.GetData()[Index];
	}

	FORCEINLINE const TCHAR& operator[](int32 Index) const
	{
		checkf(IsValidIndex(Index), TEXT("String index out of bounds: Index %lld from a string with a length of %lld"), (long long)Index, (long long)Len());
		return Data.GetData()[Index];
	}

	FORCEINLINE TCHAR* begin() { return Data.GetData(); }
	FORCEINLINE const TCHAR* begin() const { return Data.GetData(); }
	FORCEINLINE TCHAR* end() { return Data.GetData() + Len(); }
	FORCEINLINE const TCHAR* end() const { return Data.GetData() + Len(); }

	CORE_API void Empty(int32 Slack = 0);
	CORE_API void Reset(int32 NewReservedSize = 0);
	CORE_API void Reserve(int32 CharacterCount);
	CORE_API void Shrink();

	// Appending

	CORE_API FString& Append(const TCHAR* Text, int32 Count);
	CORE_API FString& Append(const ANSICHAR* Text, int32 Count);
	FString& Append(const TCHAR* Text) { return Append(Text, FCString::Strlen(Text)); }
	FString& Append(const ANSICHAR* Text) { return Append(Text, FCStringAnsi::Strlen(Text)); }
	FString& Append(const FString& Text) { return Append(Text.Data.GetData(), Text.Len()); }
	FString& Append(TCHAR Char) { return AppendChar(Char); }
	FString& AppendChars(const TCHAR* Text, int32 Count) { return Append(Text, Count); }
	CORE_API FString& AppendChar(TCHAR Char);
	CORE_API void AppendInt(int32 Num);

	FString& operator+=(const TCHAR* Text) { return Append(Text); }
	FString& operator+=(const ANSICHAR* Text) { return Append(Text); }
	FString& operator+=(const FString& Text) { return Append(Text); }
	FString& operator+=(TCHAR Char) { return AppendChar(Char); }

	friend FString operator+(const FString& Lhs, const FString& Rhs) { FString Result(Lhs); Result += Rhs; return Result; }
	friend FString operator+(FString&& Lhs, const FString& Rhs) { Lhs += Rhs; return MoveTemp(Lhs); }
	friend FString operator+(const FString& Lhs, const TCHAR* Rhs) { FString Result(Lhs); Result += Rhs; return Result; }
	friend FString operator+(FString&& Lhs, const TCHAR* Rhs) { Lhs += Rhs; return MoveTemp(Lhs); }
	friend FString operator+(const TCHAR* Lhs, const FString& Rhs) { FString Result(Lhs); Result += Rhs; return Result; }
	friend FString operator+(const FString& Lhs, TCHAR Rhs) { FString Result(Lhs); Result += Rhs; return Result; }

	// Joins two path parts with exactly one '/'.
	CORE_API FString& PathAppend(const TCHAR* Str, int32 StrLength);
	FString& operator/=(const FString& Str) { return PathAppend(Str.Data.GetData(), Str.Len()); }
	FString& operator/=(const TCHAR* Str) { return PathAppend(Str, FCString::Strlen(Str)); }
	friend FString operator/(const FString& Lhs, const FString& Rhs) { FString Result(Lhs); Result /= Rhs; return Result; }
	friend FString operator/(const FString& Lhs, const TCHAR* Rhs) { FString Result(Lhs); Result /= Rhs; return Result; }

	CORE_API void InsertAt(int32 Index, TCHAR Character);
	CORE_API void InsertAt(int32 Index, const FString& Characters);
	CORE_API void RemoveAt(int32 Index, int32 Count = 1);

	// Comparison

	CORE_API bool Equals(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const;
	CORE_API int32 Compare(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const;

	friend bool operator==(const FString& Lhs, const FString& Rhs) { return Lhs.Equals(Rhs, ESearchCase::IgnoreCase); }
	friend bool operator==(const FString& Lhs, const TCHAR* Rhs) { return FCString::Stricmp(*Lhs, Rhs) == 0; }
	friend bool operator==(const TCHAR* Lhs, const FString& Rhs) { return FCString::Stricmp(Lhs, *Rhs) == 0; }
	friend bool operator!=(const FString& Lhs, const FString& Rhs) { return !(Lhs == Rhs); }
	friend bool operator!=(const FString& Lhs, const TCHAR* Rhs) { return !(Lhs == Rhs); }
	friend bool operator!=(const TCHAR* Lhs, const FString& Rhs) { return !(Lhs == Rhs); }
	friend bool operator<(const FString& Lhs, const FString& Rhs) { return FCString::Stricmp(*Lhs, *Rhs) < 0; }
	friend bool operator<=(const FString& Lhs, const FString& Rhs) { return FCString::Stricmp(*Lhs, *Rhs) <= 0; }
	friend bool operator>(const FString& Lhs, const FString& Rhs) { return FCString::Stricmp(*Lhs, *Rhs) > 0; }
	friend bool operator>=(const FString& Lhs, const FString& Rhs) { return FCString::Stricmp(*Lhs, *Rhs) >= 0; }

	// Case-insensitive, like operator==.
	friend CORE_API uint32 GetTypeHash(const FString& S);

	// Substrings; counts are clamped to the string.

	CORE_API FString Left(int32 Count) const;
	CORE_API FString LeftChop(int32 Count) const;
	CORE_API FString Right(int32 Count) const;
	CORE_API FString RightChop(int32 Count) const;
	CORE_API FString Mid(int32 Start, int32 Count = 0x7fffffff) const;
	void LeftInline(int32 Count) { *this = Left(Count); }
	void LeftChopInline(int32 Count) { *this = LeftChop(Count); }
	void RightInline(int32 Count) { *this = Right(Count); }
	void RightChopInline(int32 Count) { *this = RightChop(Count); }
	void MidInline(int32 Start, int32 Count = 0x7fffffff) { *this = Mid(Start, Count); }

	// Searching. StartPosition INDEX_NONE means the start (or the end, searching backwards).

	CORE_API int32 Find(const TCHAR* SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const;
	int32 Find(const FString& SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const
	{
		return Find(*SubStr, SearchCase, SearchDir, StartPosition);
	}

	bool Contains(const TCHAR* SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const
	{
		return Find(SubStr, SearchCase, SearchDir) != INDEX_NONE;
	}

	bool Contains(const FString& SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const
	{
		return Find(*SubStr, SearchCase, SearchDir) != INDEX_NONE;
	}

	CORE_API bool FindChar(TCHAR InChar, int32& Index) const;
	CORE_API bool FindLastChar(TCHAR InChar, int32& Index) const;

	CORE_API bool StartsWith(const TCHAR* InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool StartsWith(const FString& InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const { return StartsWith(*InPrefix, SearchCase); }
	CORE_API bool EndsWith(const TCHAR* InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool EndsWith(const FString& InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const { return EndsWith(*InSuffix, SearchCase); }
	CORE_API bool RemoveFromStart(const TCHAR* InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool RemoveFromStart(const FString& InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) { return RemoveFromStart(*InPrefix, SearchCase); }
	CORE_API bool RemoveFromEnd(const TCHAR* InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool RemoveFromEnd(const FString& InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) { return RemoveFromEnd(*InSuffix, SearchCase); }

	// Transforming

	CORE_API FString Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	CORE_API int32 ReplaceInline(const TCHAR* SearchText, const TCHAR* ReplacementText, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	CORE_API FString ToUpper() const;
	CORE_API void ToUpperInline();
	CORE_API FString ToLower() const;
	CORE_API void ToLowerInline();
	CORE_API FString TrimStart() const;
	CORE_API void TrimStartInline();
	CORE_API FString TrimEnd() const;
	CORE_API void TrimEndInline();
	CORE_API FString TrimStartAndEnd() const;
	CORE_API void TrimStartAndEndInline();
	CORE_API FString Reverse() const;

	// Splits at the first (or last) occurrence of InS; false, and outputs untouched, if absent.
	CORE_API bool Split(const FString& InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const;
	CORE_API int32 ParseIntoArray(TArray<FString>& OutArray, const TCHAR* Delimiter, bool bCullEmpty = true) const;

	CORE_API bool IsNumeric() const;
	bool ToBool() const { return FCString::ToBool(**this); }

	// Building

	CORE_API static FString FromInt(int32 Num);
	CORE_API static FString SanitizeFloat(double InFloat, int32 InMinFractionalDigits = 1);
	CORE_API static FString Chr(TCHAR Ch);
	CORE_API static FString ChrN(int32 NumCharacters, TCHAR Char);

	template <typename RangeType>
	static FString Join(const RangeType& Range, const TCHAR* Separator)
	{
		FString Result;
		bool bFirst = true;
		for (const auto& Element : Range)
		{
			if (!bFirst)
			{
				Result += Separator;
			}
			Result += Element;
			bFirst = false;
		}
		return Result;
	}

	// printf-style formatting with a TCHAR format: %s takes a const TCHAR* (pass *String),
	// %hs a const ANSICHAR*; integers, floating point, %c, %p and %% as in C.
	template <typename FmtType, typename... Types>
	static FString Printf(const FmtType& Fmt, Types... Args)
	{
		static_assert(std::is_convertible_v<const FmtType&, const TCHAR*>, "Formatting string must be a TCHAR array.");
		static_assert((TIsValidVariadicFunctionArg<Types>::Value && ...), "Invalid argument(s) passed to FString::Printf");
		return PrintfImpl((const TCHAR*)Fmt, Args...);
	}

	template <typename FmtType, typename... Types>
	FString& Appendf(const FmtType& Fmt, Types... Args)
	{
		static_assert(std::is_convertible_v<const FmtType&, const TCHAR*>, "Formatting string must be a TCHAR array.");
		static_assert((TIsValidVariadicFunctionArg<Types>::Value && ...), "Invalid argument(s) passed to FString::Appendf");
		AppendfImpl(*this, (const TCHAR*)Fmt, Args...);
		return *this;
	}

private:
	CORE_API static FString PrintfImpl(const TCHAR* Fmt, ...);
	CORE_API static void AppendfImpl(FString& AppendToMe, const TCHAR* Fmt, ...);

	DataType Data;
};

template <>
struct TIsZeroConstructType<FString>
{
	enum { Value = true };
};

inline const TCHAR* GetData(const FString& String)
{
	return *String;
}

inline int32 GetNum(const FString& String)
{
	return String.Len();
}

inline FString LexToString(const FString& Str)
{
	return Str;
}

inline FString LexToString(int32 Value)
{
	return FString::FromInt(Value);
}

inline FString LexToString(bool Value)
{
	return Value ? TEXT("true") : TEXT("false");
}
