#include "Delegates/DelegateCombinations.h"

#include "Misc/AssertionMacros.h"

namespace UE::Delegates::Private
{
	FName GetTrimmedMemberFunctionName(const TCHAR* InMacroFunctionName)
	{
		// The macros pass the text of "&UClass::Function"; the reflected name is what follows the
		// last scope operator.
		const FString Text(InMacroFunctionName);
		const int32 Separator = Text.Find(TEXT("::"), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
		checkf(Separator != INDEX_NONE, TEXT("'%s' does not look like a member function"), InMacroFunctionName);
		return FName(*Text.Mid(Separator + 2));
	}
}
