#include "Containers/UnrealString.h"

#include "Containers/StringConv.h"
#include "Math/UnrealMathUtility.h"
#include "Misc/VarArgsFormat.h"

#include <cstdio>

namespace
{
	inline bool CharsMatch(TCHAR A, TCHAR B, ESearchCase::Type SearchCase)
	{
		return SearchCase == ESearchCase::CaseSensitive ? A == B : FChar::ToLower(A) == FChar::ToLower(B);
	}

	inline bool RangeMatches(const TCHAR* A, const TCHAR* B, int32 Count, ESearchCase::Type SearchCase)
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			if (!CharsMatch(A[Index], B[Index], SearchCase))
			{
				return false;
			}
		}
		return true;
	}
}

FString::FString(const TCHAR* Str)
{
	if (Str && *Str)
	{
		Append(Str, FCString::Strlen(Str));
	}
}

FString::FString(const ANSICHAR* Str)
{
	if (Str && *Str)
	{
		Append(Str, FCStringAnsi::Strlen(Str));
	}
}

FString::FString(const UTF8CHAR* Str)
{
	if (Str && *Str)
	{
		const ANSICHAR* Text = (const ANSICHAR*)Str;
		UE::Core::Private::AppendUTF8AsTCHAR(Text, FCStringAnsi::Strlen(Text), Data);
		Data.Add(0);
	}
}

FString::FString(int32 Len, const TCHAR* Str)
{
	check(Len >= 0);
	if (Str && Len > 0)
	{
		Append(Str, Len);
	}
}

FString::FString(int32 Len, const ANSICHAR* Str)
{
	check(Len >= 0);
	if (Str && Len > 0)
	{
		Append(Str, Len);
	}
}

FString& FString::operator=(const TCHAR* Str)
{
	if (Str >= Data.GetData() && Str < Data.GetData() + Data.Num())
	{
		FString Copy(Str);
		*this = MoveTemp(Copy);
		return *this;
	}
	Data.Reset();
	if (Str && *Str)
	{
		Append(Str, FCString::Strlen(Str));
	}
	return *this;
}

void FString::Empty(int32 Slack)
{
	Data.Empty(Slack ? Slack + 1 : 0);
}

void FString::Reset(int32 NewReservedSize)
{
	Data.Reset(NewReservedSize ? NewReservedSize + 1 : 0);
}

void FString::Reserve(int32 CharacterCount)
{
	check(CharacterCount >= 0);
	if (CharacterCount > 0)
	{
		Data.Reserve(CharacterCount + 1);
	}
}

void FString::Shrink()
{
	Data.Shrink();
}

FString& FString::Append(const TCHAR* Text, int32 Count)
{
	check(Count >= 0);
	if (Count == 0)
	{
		return *this;
	}
	if (Text >= Data.GetData() && Text < Data.GetData() + Data.Num())
	{
		// Appending part of ourselves: growth would invalidate Text.
		FString Copy(Count, Text);
		return Append(Copy);
	}
	const int32 OldLen = Len();
	Data.SetNumUninitialized(OldLen + Count + 1, EAllowShrinking::No);
	FMemory::Memcpy(Data.GetData() + OldLen, Text, (SIZE_T)Count * sizeof(TCHAR));
	Data[OldLen + Count] = 0;
	return *this;
}

FString& FString::Append(const ANSICHAR* Text, int32 Count)
{
	check(Count >= 0);
	if (Count == 0)
	{
		return *this;
	}
	if (Data.Num())
	{
		Data.Pop(EAllowShrinking::No);
	}
	UE::Core::Private::AppendANSIAsTCHAR(Text, Count, Data);
	Data.Add(0);
	return *this;
}

FString& FString::AppendChar(TCHAR Char)
{
	return Append(&Char, 1);
}

void FString::AppendInt(int32 Num)
{
	ANSICHAR Buffer[16];
	const int32 Count = std::snprintf(Buffer, sizeof(Buffer), "%d", Num);
	Append(Buffer, Count);
}

FString& FString::PathAppend(const TCHAR* Str, int32 StrLength)
{
	if (StrLength == 0)
	{
		if (Len() > 0 && Data[Len() - 1] != '/' && Data[Len() - 1] != '\\')
		{
			AppendChar('/');
		}
		return *this;
	}
	if (Len() > 0)
	{
		const TCHAR Last = Data[Len() - 1];
		const bool bEndsWithSlash = Last == '/' || Last == '\\';
		const bool bStartsWithSlash = Str[0] == '/';
		if (!bEndsWithSlash && !bStartsWithSlash)
		{
			AppendChar('/');
		}
		else if (bEndsWithSlash && bStartsWithSlash)
		{
			++Str;
			--StrLength;
		}
	}
	return Append(Str, StrLength);
}

void FString::InsertAt(int32 Index, TCHAR Character)
{
	InsertAt(Index, Chr(Character));
}

void FString::InsertAt(int32 Index, const FString& Characters)
{
	checkf(Index >= 0 && Index <= Len(), TEXT("String insert index %lld out of bounds for length %lld"), (long long)Index, (long long)Len());
	if (Characters.IsEmpty())
	{
		return;
	}
	if (Data.Num() == 0)
	{
		*this = Characters;
		return;
	}
	Data.Insert(TArray<TCHAR>(*Characters, Characters.Len()), Index);
}

void FString::RemoveAt(int32 Index, int32 Count)
{
	checkf(Index >= 0 && Count >= 0 && Index + Count <= Len(), TEXT("String remove out of bounds: %lld (count %lld) from a string of length %lld"), (long long)Index, (long long)Count, (long long)Len());
	Data.RemoveAt(Index, Count, EAllowShrinking::No);
	if (Data.Num() == 1)
	{
		Data.Reset();
	}
}

bool FString::Equals(const FString& Other, ESearchCase::Type SearchCase) const
{
	return Len() == Other.Len() && RangeMatches(**this, *Other, Len(), SearchCase);
}

int32 FString::Compare(const FString& Other, ESearchCase::Type SearchCase) const
{
	return SearchCase == ESearchCase::CaseSensitive ? FCString::Strcmp(**this, *Other) : FCString::Stricmp(**this, *Other);
}

uint32 GetTypeHash(const FString& S)
{
	// FNV-1a over the lower-cased characters.
	uint32 Hash = 2166136261u;
	for (const TCHAR Char : S)
	{
		const uint32 Lower = (uint32)FChar::ToLower(Char);
		Hash = (Hash ^ (Lower & 0xFF)) * 16777619u;
		Hash = (Hash ^ (Lower >> 8)) * 16777619u;
	}
	return Hash;
}

FString FString::Left(int32 Count) const
{
	return FString(FMath::Clamp(Count, 0, Len()), **this);
}

FString FString::LeftChop(int32 Count) const
{
	return FString(FMath::Clamp(Len() - Count, 0, Len()), **this);
}

FString FString::Right(int32 Count) const
{
	const int32 Length = FMath::Clamp(Count, 0, Len());
	return FString(Length, **this + Len() - Length);
}

FString FString::RightChop(int32 Count) const
{
	const int32 Start = FMath::Clamp(Count, 0, Len());
	return FString(Len() - Start, **this + Start);
}

FString FString::Mid(int32 Start, int32 Count) const
{
	if (Count < 0)
	{
		return FString();
	}
	// A negative start eats into the count.
	const int32 Length = Len();
	const int32 ClampedStart = FMath::Clamp(Start, 0, Length);
	const int32 End = (int32)FMath::Clamp((int64)Start + (int64)Count, (int64)ClampedStart, (int64)Length);
	return FString(End - ClampedStart, **this + ClampedStart);
}

int32 FString::Find(const TCHAR* SubStr, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir, int32 StartPosition) const
{
	if (!SubStr)
	{
		return INDEX_NONE;
	}
	const int32 SubLen = FCString::Strlen(SubStr);
	const int32 Length = Len();
	const TCHAR* Chars = **this;
	if (SearchDir == ESearchDir::FromStart)
	{
		const int32 Start = StartPosition == INDEX_NONE ? 0 : FMath::Clamp(StartPosition, 0, Length);
		for (int32 Index = Start; Index + SubLen <= Length; ++Index)
		{
			if (RangeMatches(Chars + Index, SubStr, SubLen, SearchCase))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
	// Backwards, StartPosition is one past the last character considered.
	const int32 End = StartPosition == INDEX_NONE ? Length : FMath::Clamp(StartPosition, 0, Length);
	for (int32 Index = End - SubLen; Index >= 0; --Index)
	{
		if (RangeMatches(Chars + Index, SubStr, SubLen, SearchCase))
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

bool FString::FindChar(TCHAR InChar, int32& Index) const
{
	for (Index = 0; Index < Len(); ++Index)
	{
		if (Data[Index] == InChar)
		{
			return true;
		}
	}
	Index = INDEX_NONE;
	return false;
}

bool FString::FindLastChar(TCHAR InChar, int32& Index) const
{
	for (Index = Len() - 1; Index >= 0; --Index)
	{
		if (Data[Index] == InChar)
		{
			return true;
		}
	}
	Index = INDEX_NONE;
	return false;
}

bool FString::StartsWith(const TCHAR* InPrefix, ESearchCase::Type SearchCase) const
{
	const int32 PrefixLen = InPrefix ? FCString::Strlen(InPrefix) : 0;
	return PrefixLen > 0 && PrefixLen <= Len() && RangeMatches(**this, InPrefix, PrefixLen, SearchCase);
}

bool FString::EndsWith(const TCHAR* InSuffix, ESearchCase::Type SearchCase) const
{
	const int32 SuffixLen = InSuffix ? FCString::Strlen(InSuffix) : 0;
	return SuffixLen > 0 && SuffixLen <= Len() && RangeMatches(**this + Len() - SuffixLen, InSuffix, SuffixLen, SearchCase);
}

bool FString::RemoveFromStart(const TCHAR* InPrefix, ESearchCase::Type SearchCase)
{
	if (!StartsWith(InPrefix, SearchCase))
	{
		return false;
	}
	RemoveAt(0, FCString::Strlen(InPrefix));
	return true;
}

bool FString::RemoveFromEnd(const TCHAR* InSuffix, ESearchCase::Type SearchCase)
{
	if (!EndsWith(InSuffix, SearchCase))
	{
		return false;
	}
	const int32 SuffixLen = FCString::Strlen(InSuffix);
	RemoveAt(Len() - SuffixLen, SuffixLen);
	return true;
}

FString FString::Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase) const
{
	FString Result(*this);
	Result.ReplaceInline(From, To, SearchCase);
	return Result;
}

int32 FString::ReplaceInline(const TCHAR* SearchText, const TCHAR* ReplacementText, ESearchCase::Type SearchCase)
{
	const int32 SearchLen = SearchText ? FCString::Strlen(SearchText) : 0;
	if (SearchLen == 0 || IsEmpty())
	{
		return 0;
	}
	const FString Replacement(ReplacementText);
	FString Result;
	int32 NumReplaced = 0;
	int32 Index = 0;
	while (Index < Len())
	{
		const int32 Found = Find(SearchText, SearchCase, ESearchDir::FromStart, Index);
		if (Found == INDEX_NONE)
		{
			break;
		}
		Result.Append(**this + Index, Found - Index);
		Result.Append(Replacement);
		Index = Found + SearchLen;
		++NumReplaced;
	}
	if (NumReplaced > 0)
	{
		Result.Append(**this + Index, Len() - Index);
		*this = MoveTemp(Result);
	}
	return NumReplaced;
}

FString FString::ToUpper() const
{
	FString Result(*this);
	Result.ToUpperInline();
	return Result;
}

void FString::ToUpperInline()
{
	for (TCHAR& Char : *this)
	{
		Char = FChar::ToUpper(Char);
	}
}

FString FString::ToLower() const
{
	FString Result(*this);
	Result.ToLowerInline();
	return Result;
}

void FString::ToLowerInline()
{
	for (TCHAR& Char : *this)
	{
		Char = FChar::ToLower(Char);
	}
}

FString FString::TrimStart() const
{
	int32 Start = 0;
	while (Start < Len() && FChar::IsWhitespace(Data[Start]))
	{
		++Start;
	}
	return RightChop(Start);
}

void FString::TrimStartInline()
{
	*this = TrimStart();
}

FString FString::TrimEnd() const
{
	int32 End = Len();
	while (End > 0 && FChar::IsWhitespace(Data[End - 1]))
	{
		--End;
	}
	return Left(End);
}

void FString::TrimEndInline()
{
	*this = TrimEnd();
}

FString FString::TrimStartAndEnd() const
{
	return TrimStart().TrimEnd();
}

void FString::TrimStartAndEndInline()
{
	*this = TrimStartAndEnd();
}

FString FString::Reverse() const
{
	FString Result(*this);
	for (int32 Index = 0; Index < Len() / 2; ++Index)
	{
		::Swap(Result.Data[Index], Result.Data[Len() - 1 - Index]);
	}
	return Result;
}

bool FString::Split(const FString& InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir) const
{
	const int32 Index = Find(InS, SearchCase, SearchDir);
	if (Index == INDEX_NONE)
	{
		return false;
	}
	// Compute both halves before writing: an output may be this string.
	FString LeftPart = Left(Index);
	FString RightPart = Mid(Index + InS.Len());
	if (LeftS)
	{
		*LeftS = MoveTemp(LeftPart);
	}
	if (RightS)
	{
		*RightS = MoveTemp(RightPart);
	}
	return true;
}

int32 FString::ParseIntoArray(TArray<FString>& OutArray, const TCHAR* Delimiter, bool bCullEmpty) const
{
	OutArray.Reset();
	const int32 DelimLen = Delimiter ? FCString::Strlen(Delimiter) : 0;
	check(DelimLen > 0);
	int32 Start = 0;
	for (;;)
	{
		const int32 Found = Find(Delimiter, ESearchCase::CaseSensitive, ESearchDir::FromStart, Start);
		const int32 End = Found == INDEX_NONE ? Len() : Found;
		if (!bCullEmpty || End > Start)
		{
			OutArray.Emplace(End - Start, **this + Start);
		}
		if (Found == INDEX_NONE)
		{
			break;
		}
		Start = Found + DelimLen;
	}
	if (IsEmpty() && !bCullEmpty)
	{
		OutArray.Reset();
	}
	return OutArray.Num();
}

bool FString::IsNumeric() const
{
	return !IsEmpty() && FCString::IsNumeric(**this);
}

FString FString::FromInt(int32 Num)
{
	FString Result;
	Result.AppendInt(Num);
	return Result;
}

FString FString::SanitizeFloat(double InFloat, int32 InMinFractionalDigits)
{
	ANSICHAR Buffer[64];
	int32 Count = std::snprintf(Buffer, sizeof(Buffer), "%f", InFloat);
	// Drop trailing zeros, keeping at least the requested fractional digits.
	const ANSICHAR* Dot = nullptr;
	for (int32 Index = 0; Index < Count; ++Index)
	{
		if (Buffer[Index] == '.')
		{
			Dot = Buffer + Index;
		}
	}
	if (Dot)
	{
		const int32 MinEnd = (int32)(Dot - Buffer) + 1 + InMinFractionalDigits;
		while (Count > MinEnd && Buffer[Count - 1] == '0')
		{
			--Count;
		}
		if (InMinFractionalDigits == 0 && Count == (int32)(Dot - Buffer) + 1)
		{
			--Count;
		}
	}
	return FString(Count, Buffer);
}

FString FString::Chr(TCHAR Ch)
{
	return FString(1, &Ch);
}

FString FString::ChrN(int32 NumCharacters, TCHAR Char)
{
	FString Result;
	Result.Reserve(NumCharacters);
	for (int32 Index = 0; Index < NumCharacters; ++Index)
	{
		Result.AppendChar(Char);
	}
	return Result;
}

FString FString::PrintfImpl(const TCHAR* Fmt, ...)
{
	FString Result;
	va_list Args;
	va_start(Args, Fmt);
	UE::Core::Private::AppendFormattedV(Result, Fmt, Args);
	va_end(Args);
	return Result;
}

void FString::AppendfImpl(FString& AppendToMe, const TCHAR* Fmt, ...)
{
	va_list Args;
	va_start(Args, Fmt);
	UE::Core::Private::AppendFormattedV(AppendToMe, Fmt, Args);
	va_end(Args);
}
