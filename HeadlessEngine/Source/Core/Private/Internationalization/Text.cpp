#include "Internationalization/Text.h"

#include "Misc/Char.h"
#include "Serialization/Archive.h"

FText::FText(FString&& InString, bool bInCultureInvariant)
	: String(InString.IsEmpty() ? nullptr : std::make_shared<const FString>(MoveTemp(InString)))
	, bCultureInvariant(bInCultureInvariant)
{
}

const FText& FText::GetEmpty()
{
	static const FText Empty;
	return Empty;
}

FText FText::FromString(const FString& InString)
{
	return FText(FString(InString), true);
}

FText FText::FromString(FString&& InString)
{
	return FText(MoveTemp(InString), true);
}

FText FText::FromName(const FName& Val)
{
	return FText(Val.ToString(), true);
}

FText FText::AsCultureInvariant(const FString& InString)
{
	return FText(FString(InString), true);
}

FText FText::AsCultureInvariant(FString&& InString)
{
	return FText(MoveTemp(InString), true);
}

FText FText::AsLocalizable_Advanced(const TCHAR* Namespace, const TCHAR* Key, const TCHAR* InString)
{
	// Without localization data the namespace and key select nothing: every culture shows the source.
	(void)Namespace;
	(void)Key;
	return FText(FString(InString), false);
}

const FString& FText::ToString() const
{
	static const FString EmptyString;
	return String ? *String : EmptyString;
}

bool FText::IsEmpty() const
{
	return ToString().IsEmpty();
}

bool FText::IsEmptyOrWhitespace() const
{
	const FString& Display = ToString();
	for (int32 Index = 0; Index < Display.Len(); ++Index)
	{
		if (!FChar::IsWhitespace(Display[Index]))
		{
			return false;
		}
	}
	return true;
}

bool FText::EqualTo(const FText& Other) const
{
	return ToString().Equals(Other.ToString(), ESearchCase::CaseSensitive);
}

bool FText::IdenticalTo(const FText& Other) const
{
	return String == Other.String;
}

FArchive& operator<<(FArchive& Ar, FText& Value)
{
	FString Display = Value.ToString();
	uint8 CultureInvariant = Value.bCultureInvariant ? 1 : 0;
	Ar << Display;
	Ar << CultureInvariant;
	if (Ar.IsLoading())
	{
		Value = FText(MoveTemp(Display), CultureInvariant != 0);
	}
	return Ar;
}
