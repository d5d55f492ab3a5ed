#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "UObject/NameTypes.h"

#include <memory>

class FArchive;

/**
 * Text shown to a player: immutable, and shared between copies. There is no localization here,
 * so a localizable text is its source string in every culture.
 */
class CORE_API FText
{
public:
	FText() = default;
	FText(const FText&) = default;
	FText(FText&&) = default;
	FText& operator=(const FText&) = default;
	FText& operator=(FText&&) = default;

	static const FText& GetEmpty();

	/** Culture invariant, as the engine makes texts from strings; not gathered for localization. */
	static FText FromString(const FString& String);
	static FText FromString(FString&& String);
	static FText FromName(const FName& Val);
	static FText AsCultureInvariant(const FString& String);
	static FText AsCultureInvariant(FString&& String);

	/** What NSLOCTEXT and LOCTEXT expand to: a text whose source string is String, under Namespace and Key. */
	static FText AsLocalizable_Advanced(const TCHAR* Namespace, const TCHAR* Key, const TCHAR* String);

	/** The display string. */
	const FString& ToString() const;

	bool IsEmpty() const;
	bool IsEmptyOrWhitespace() const;
	bool IsCultureInvariant() const
	{
		return bCultureInvariant;
	}

	/** Same display string, case included. FText has no operator==, as in the engine. */
	bool EqualTo(const FText& Other) const;
	/** Same shared text: one is a copy of the other (or both are empty). */
	bool IdenticalTo(const FText& Other) const;

	friend CORE_API FArchive& operator<<(FArchive& Ar, FText& Value);

private:
	FText(FString&& InString, bool bInCultureInvariant);

	// Null for the empty text, so that zero-filled memory holds an empty text, as a parameter block does.
	std::shared_ptr<const FString> String;
	bool bCultureInvariant = false;
};
