#include "UObject/NameTypes.h"

#include "Containers/Set.h"
#include "Misc/AssertionMacros.h"

#include <mutex>
#include <shared_mutex>

namespace
{
	// The longest name the table accepts, as in the engine.
	constexpr int32 NameSize = 1024;

	// A name's text as the caller has it: not necessarily terminated, so that a name can be looked
	// up from part of a longer string without copying it.
	struct FNameTextView
	{
		const TCHAR* Text = nullptr;
		int32 Len = 0;
	};

	struct FNameIndexEntry
	{
		FString Text;
		uint32 Index = 0;
	};

	// Keys the index by text view, ignoring case, so that finding an existing name builds no string.
	struct FNameIndexKeyFuncs : BaseKeyFuncs<FNameIndexEntry, FNameTextView>
	{
		using KeyInitType = FNameTextView;
		using ElementInitType = const FNameIndexEntry&;

		static FORCEINLINE FNameTextView GetSetKey(const FNameIndexEntry& Entry)
		{
			return FNameTextView{ *Entry.Text, Entry.Text.Len() };
		}

		static bool Matches(FNameTextView A, FNameTextView B)
		{
			if (A.Len != B.Len)
			{
				return false;
			}
			for (int32 Index = 0; Index < A.Len; ++Index)
			{
				if (FChar::ToLower(A.Text[Index]) != FChar::ToLower(B.Text[Index]))
				{
					return false;
				}
			}
			return true;
		}

		// FNV-1a over the lower-cased characters, as FString's hash.
		static uint32 GetKeyHash(FNameTextView Key)
		{
			uint32 Hash = 2166136261u;
			for (int32 Index = 0; Index < Key.Len; ++Index)
			{
				const uint32 Lower = (uint32)FChar::ToLower(Key.Text[Index]);
				Hash = (Hash ^ (Lower & 0xFF)) * 16777619u;
				Hash = (Hash ^ (Lower >> 8)) * 16777619u;
			}
			return Hash;
		}
	};

	// Every name ever made, never removed; each entry keeps the first spelling seen. Readers far
	// outnumber writers: lookups of existing names share the lock and allocate nothing.
	class FNamePool
	{
	public:
		FNamePool()
		{
#define UE_REGISTER_HARDCODED_NAME(Name, Value) Register(TEXT(#Name), (uint32)Value);
			UE_FOR_EACH_HARDCODED_NAME(UE_REGISTER_HARDCODED_NAME)
#undef UE_REGISTER_HARDCODED_NAME
		}

		// The index of the name, adding it when FindType is FNAME_Add; 0 (None) if absent.
		uint32 FindOrAdd(const TCHAR* Text, int32 Len, EFindName FindType)
		{
			const FNameTextView Key{ Text, Len };
			{
				const std::shared_lock<std::shared_mutex> ReadLock(Mutex);
				if (const FNameIndexEntry* Found = Indices.Find(Key))
				{
					return Found->Index;
				}
			}
			if (FindType == FNAME_Find)
			{
				return 0;
			}
			const std::unique_lock<std::shared_mutex> WriteLock(Mutex);
			if (const FNameIndexEntry* Found = Indices.Find(Key))
			{
				return Found->Index;
			}
			FString Spelling(Len, Text);
			const uint32 Index = (uint32)Entries.Add(Spelling);
			Indices.Add(FNameIndexEntry{ MoveTemp(Spelling), Index });
			return Index;
		}

		FString GetText(uint32 Index) const
		{
			const std::shared_lock<std::shared_mutex> ReadLock(Mutex);
			checkf(Entries.IsValidIndex((int32)Index), TEXT("Name index %u is not in the name table"), Index);
			return Entries[(int32)Index];
		}

	private:
		void Register(const TCHAR* Text, uint32 ExpectedIndex)
		{
			const uint32 Index = (uint32)Entries.Add(FString(Text));
			check(Index == ExpectedIndex);
			Indices.Add(FNameIndexEntry{ FString(Text), Index });
		}

		mutable std::shared_mutex Mutex;
		TArray<FString> Entries;
		TSet<FNameIndexEntry, FNameIndexKeyFuncs> Indices;
	};

	FNamePool& GetNamePool()
	{
		// Never destroyed: names are made and printed by the destructors of other statics.
		static FNamePool* Pool = new FNamePool();
		return *Pool;
	}

	// Splits a trailing "_N" off the text: N must have no leading zero (unless it is "0") and
	// fit in an int32. Returns the internal number and shortens InOutLen, or returns
	// NAME_NO_NUMBER_INTERNAL and leaves it.
	int32 ParseNumber(const TCHAR* Name, int32& InOutLen)
	{
		const int32 Len = InOutLen;
		int32 Digits = 0;
		for (int32 Index = Len - 1; Index >= 0 && FChar::IsDigit(Name[Index]); --Index)
		{
			++Digits;
		}
		constexpr int32 MaxDigitsInt32 = 10;
		if (Digits == 0 || Digits >= Len || Digits > MaxDigitsInt32 || Name[Len - Digits - 1] != '_')
		{
			return NAME_NO_NUMBER_INTERNAL;
		}
		const TCHAR* FirstDigit = Name + Len - Digits;
		if (Digits > 1 && *FirstDigit == '0')
		{
			return NAME_NO_NUMBER_INTERNAL;
		}
		int64 Number = 0;
		for (int32 Index = 0; Index < Digits; ++Index)
		{
			Number = Number * 10 + (FirstDigit[Index] - '0');
		}
		// The internal form adds one, which must still fit.
		if (Number >= 0x7fffffff)
		{
			return NAME_NO_NUMBER_INTERNAL;
		}
		InOutLen -= Digits + 1;
		return NAME_EXTERNAL_TO_INTERNAL((int32)Number);
	}

	void MakeName(const TCHAR* Text, int32 Len, EFindName FindType, bool bSplitNumber, uint32& OutIndex, int32& OutNumber)
	{
		OutIndex = 0;
		OutNumber = NAME_NO_NUMBER_INTERNAL;
		if (!Text || Len <= 0)
		{
			return;
		}
		checkf(Len < NameSize, TEXT("Name is longer than %d characters"), NameSize - 1);
		int32 PlainLen = Len;
		const int32 Number = bSplitNumber ? ParseNumber(Text, PlainLen) : NAME_NO_NUMBER_INTERNAL;
		if (PlainLen == 0)
		{
			// "_3" is None with a number, as in the engine.
			OutNumber = Number;
			return;
		}
		const uint32 Index = GetNamePool().FindOrAdd(Text, PlainLen, FindType);
		if (Index == 0 && FindType == FNAME_Find)
		{
			// Not found: a Find gives None, without the number.
			if (PlainLen != 4 || FCString::Strnicmp(Text, TEXT("None"), 4) != 0)
			{
				return;
			}
		}
		OutIndex = Index;
		OutNumber = Number;
	}
}

FName::FName(const TCHAR* Name, EFindName FindType)
{
	MakeName(Name, Name ? FCString::Strlen(Name) : 0, FindType, true, ComparisonIndex, Number);
}

FName::FName(const ANSICHAR* Name, EFindName FindType)
	: FName(FString(Name), FindType)
{
}

FName::FName(const FString& Name, EFindName FindType)
{
	MakeName(*Name, Name.Len(), FindType, true, ComparisonIndex, Number);
}

FName::FName(int32 Len, const TCHAR* Name, EFindName FindType)
{
	MakeName(Name, Len, FindType, true, ComparisonIndex, Number);
}

FName::FName(const TCHAR* Name, int32 InNumber)
{
	MakeName(Name, Name ? FCString::Strlen(Name) : 0, FNAME_Add, false, ComparisonIndex, Number);
	Number = InNumber;
}

FName::FName(EName BaseName, int32 InNumber)
	: ComparisonIndex((uint32)BaseName)
	, Number(InNumber)
{
}

FString FName::GetPlainNameString() const
{
	return GetNamePool().GetText(ComparisonIndex);
}

void FName::AppendString(FString& Out) const
{
	Out += GetNamePool().GetText(ComparisonIndex);
	if (Number != NAME_NO_NUMBER_INTERNAL)
	{
		Out.AppendChar('_');
		Out.AppendInt(NAME_INTERNAL_TO_EXTERNAL(Number));
	}
}

void FName::ToString(FString& Out) const
{
	Out.Reset();
	AppendString(Out);
}

FString FName::ToString() const
{
	FString Out;
	AppendString(Out);
	return Out;
}

bool FName::operator==(const TCHAR* Other) const
{
	return ToString().Equals(FString(Other), ESearchCase::IgnoreCase);
}

int32 FName::Compare(const FName& Other) const
{
	if (ComparisonIndex != Other.ComparisonIndex)
	{
		const int32 TextOrder = GetPlainNameString().Compare(Other.GetPlainNameString(), ESearchCase::IgnoreCase);
		if (TextOrder != 0)
		{
			return TextOrder;
		}
	}
	return Number - Other.Number;
}

bool FName::LexicalLess(const FName& Other) const
{
	return Compare(Other) < 0;
}

FString FName::NameToDisplayString(const FString& InDisplayName, bool bIsBool)
{
	// Words that stay lower case after the first word ("Scale to Fit").
	static const TCHAR* const Articles[] = { TEXT("In"), TEXT("As"), TEXT("To"), TEXT("Or"), TEXT("At"), TEXT("On"), TEXT("If"), TEXT("Be"), TEXT("By"), TEXT("The"), TEXT("For"), TEXT("And"), TEXT("With"), TEXT("When"), TEXT("From") };

	const TCHAR* Chars = *InDisplayName;
	const int32 Len = InDisplayName.Len();

	// A run of capitals and digits stays together: "Draw Scale 3D", not "Draw Scale 3 D".
	bool bInARun = false;
	bool bWasSpace = false;
	bool bWasOpenParen = false;
	bool bWasNumber = false;
	bool bWasMinusSign = false;

	FString Out;
	Out.Reserve(Len + 8);
	for (int32 CharIndex = 0; CharIndex < Len; ++CharIndex)
	{
		TCHAR Char = Chars[CharIndex];
		const bool bLowerCase = FChar::IsLower(Char);
		const bool bUpperCase = FChar::IsUpper(Char);
		const bool bIsDigit = FChar::IsDigit(Char);
		const bool bIsUnderscore = FChar::IsUnderscore(Char);

		// Boolean properties start with a 'b' that is not part of the display name.
		if (CharIndex == 0 && bIsBool && Char == 'b' && Len > 1 && FChar::IsUpper(Chars[1]))
		{
			continue;
		}

		// Numbers such as "-1.2" are not split up.
		if ((bUpperCase || (bIsDigit && !bWasMinusSign)) && !bInARun && !bWasOpenParen && !bWasNumber)
		{
			if (!bWasSpace && Out.Len() > 0)
			{
				Out.AppendChar(' ');
				bWasSpace = true;
			}
			bInARun = true;
		}

		if (bLowerCase)
		{
			bInARun = false;
		}

		if (bIsUnderscore)
		{
			Char = ' ';
			bInARun = true;
		}

		if (Out.Len() == 0)
		{
			Char = FChar::ToUpper(Char);
		}
		else if (!bIsDigit && (bWasSpace || bWasOpenParen))
		{
			bool bIsArticle = false;
			for (const TCHAR* Article : Articles)
			{
				const int32 ArticleLen = FCString::Strlen(Article);
				// The article must be a whole word: "In" does not match "Instance".
				if (CharIndex + ArticleLen < Len && !FChar::IsLower(Chars[CharIndex + ArticleLen]) && FCString::Strncmp(Chars + CharIndex, Article, ArticleLen) == 0)
				{
					bIsArticle = true;
					break;
				}
			}
			Char = bIsArticle ? FChar::ToLower(Char) : FChar::ToUpper(Char);
		}

		bWasSpace = Char == ' ';
		bWasOpenParen = Char == '(';
		bWasMinusSign = Char == '-';
		const bool bPotentialNumericalChar = bWasMinusSign || Char == '.';
		bWasNumber = bIsDigit || (bWasNumber && bPotentialNumericalChar);

		Out.AppendChar(Char);
	}
	return Out;
}
