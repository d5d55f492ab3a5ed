#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

#include <cstdarg>

namespace UE::Core::Private
{
	// Appends Fmt formatted with Args, printf-style (see FString::Printf for the conversions).
	void AppendFormattedV(FString& Out, const TCHAR* Fmt, va_list Args);

	// Writes text to stderr as UTF-8 and flushes.
	void WriteToStderr(const FString& Text);
}
