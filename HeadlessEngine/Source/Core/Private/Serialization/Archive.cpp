#include "Serialization/Archive.h"

#include "Containers/UnrealString.h"
#include "UObject/NameTypes.h"

FArchive::FArchive()
	: ArIsSaveGame(false)
	, ArIsLoading(false)
	, ArIsSaving(false)
	, ArIsTransacting(false)
	, ArIsPersistent(false)
	, ArIsError(false)
	, ArIsCriticalError(false)
	, ArIsCountingMemory(false)
	, ArIsObjectReferenceCollector(false)
	, ArWantBinaryPropertySerialization(false)
	, ArNoDelta(false)
{
}

FArchive::~FArchive() = default;

FString FArchive::GetArchiveName() const
{
	return TEXT("FArchive");
}

FArchive& FArchive::operator<<(FName& Value)
{
	FString Text;
	if (!IsLoading())
	{
		Text = Value.ToString();
	}
	*this << Text;
	if (IsLoading())
	{
		Value = IsError() ? FName() : FName(Text);
	}
	return *this;
}

FArchive& operator<<(FArchive& Ar, bool& Value)
{
	uint32 Word = Value ? 1 : 0;
	Ar.Serialize(&Word, sizeof(Word));
	if (Ar.IsLoading())
	{
		if (Word > 1)
		{
			Ar.SetError();
		}
		Value = Word != 0;
	}
	return Ar;
}

FArchive& operator<<(FArchive& Ar, FString& Value)
{
	if (!Ar.IsLoading())
	{
		const int32 Len = Value.Len();
		bool bPureAnsi = true;
		for (const TCHAR Char : Value)
		{
			if (Char > 0x7f)
			{
				bPureAnsi = false;
				break;
			}
		}
		int32 SaveNum = Len == 0 ? 0 : (bPureAnsi ? Len + 1 : -(Len + 1));
		Ar << SaveNum;
		if (Len == 0)
		{
			return Ar;
		}
		if (bPureAnsi)
		{
			TArray<ANSICHAR> Narrow;
			Narrow.Reserve(Len + 1);
			for (const TCHAR Char : Value)
			{
				Narrow.Add((ANSICHAR)Char);
			}
			Narrow.Add(0);
			Ar.Serialize(Narrow.GetData(), Narrow.Num());
		}
		else
		{
			// The terminator goes too.
			Ar.Serialize(const_cast<TCHAR*>(*Value), (int64)(Len + 1) * (int64)sizeof(TCHAR));
		}
		return Ar;
	}

	int32 SaveNum = 0;
	Ar << SaveNum;
	Value.Empty();
	if (Ar.IsError() || SaveNum == 0)
	{
		return Ar;
	}
	// -MIN_int32 does not exist; such a count only comes from corrupt data.
	if (SaveNum == (int32)0x80000000)
	{
		Ar.SetCriticalError();
		return Ar;
	}
	const bool bWide = SaveNum < 0;
	const int32 Count = bWide ? -SaveNum : SaveNum;
	const int64 NumBytes = (int64)Count * (bWide ? (int64)sizeof(TCHAR) : 1);
	const int64 Size = Ar.TotalSize();
	const int64 Pos = Ar.Tell();
	if (Size >= 0 && Pos >= 0 && NumBytes > Size - Pos)
	{
		// More characters than bytes left: refuse rather than allocate for a corrupt count.
		Ar.SetError();
		return Ar;
	}

	TArray<TCHAR>& Chars = Value.GetCharArray();
	if (bWide)
	{
		Chars.SetNumUninitialized(Count);
		Ar.Serialize(Chars.GetData(), NumBytes);
	}
	else
	{
		TArray<ANSICHAR> Narrow;
		Narrow.SetNumUninitialized(Count);
		Ar.Serialize(Narrow.GetData(), NumBytes);
		Chars.Reserve(Count);
		Chars.Reset();
		for (const ANSICHAR Char : Narrow)
		{
			Chars.Add((TCHAR)(uint8)Char);
		}
	}
	if (Ar.IsError())
	{
		Value.Empty();
		return Ar;
	}
	// The stored count includes a terminator; keep exactly one, and nothing for "".
	Chars[Count - 1] = 0;
	const int32 Len = FCString::Strlen(Chars.GetData());
	if (Len == 0)
	{
		Value.Empty();
	}
	else if (Len + 1 != Chars.Num())
	{
		Chars.SetNum(Len + 1, EAllowShrinking::No);
	}
	return Ar;
}
