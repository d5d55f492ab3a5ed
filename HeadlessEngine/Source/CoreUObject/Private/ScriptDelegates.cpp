#include "Delegates/DelegateCombinations.h"

#include "Misc/AssertionMacros.h"

namespace UE::Delegates::Private
{
	FName GetTrimmedMemberFunctionName(const TCHAR* InMacroFunctionName)
	{
		// The macros pass the text of "&UClass::Function"; the reflected name is what follows the
		// last scope operator. Every binding and removal names its handler this way, so the name is
		// looked up from the text in place, without a string of its own.
		const TCHAR* Trimmed = nullptr;
		for (const TCHAR* Char = InMacroFunctionName; *Char; ++Char)
		{
			if (Char[0] == ':' && Char[1] == ':')
			{
				Trimmed = Char + 2;
			}
		}
		checkf(Trimmed != nullptr, TEXT("'%s' does not look like a member function"), InMacroFunctionName);
		return FName(Trimmed);
	}
}
