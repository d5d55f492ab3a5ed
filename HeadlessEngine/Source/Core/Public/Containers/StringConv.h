#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Misc/CString.h"

namespace UE::Core::Private
{
	// Convert a run of text, appending to Out without a terminator. Unpaired surrogates and
	// malformed UTF-8 become U+FFFD; 8-bit "ANSI" text is Latin-1, and TCHARs outside it become '?'.
	CORE_API void AppendTCHARAsUTF8(const TCHAR* Source, int32 SourceLen, TArray<ANSICHAR>& Out);
	CORE_API void AppendUTF8AsTCHAR(const ANSICHAR* Source, int32 SourceLen, TArray<TCHAR>& Out);
	CORE_API void AppendTCHARAsANSI(const TCHAR* Source, int32 SourceLen, TArray<ANSICHAR>& Out);
	CORE_API void AppendANSIAsTCHAR(const ANSICHAR* Source, int32 SourceLen, TArray<TCHAR>& Out);
}

// A converted copy of a string that lives as long as the object: the conversion macros
// below make a temporary, so their result is valid until the end of the full expression.
template <typename FromType, typename ToType, void (*ConvertFunc)(const FromType*, int32, TArray<ToType>&)>
class TStringConversion
{
public:
	explicit TStringConversion(const FromType* Source)
		: TStringConversion(Source, Source ? TCString<FromType>::Strlen(Source) : 0)
	{
	}

	TStringConversion(const FromType* Source, int32 SourceLen)
	{
		if (Source && SourceLen > 0)
		{
			ConvertFunc(Source, SourceLen, Buffer);
		}
		ConvertedLength = Buffer.Num();
		Buffer.Add(ToType(0));
	}

	TStringConversion(const TStringConversion&) = delete;
	TStringConversion& operator=(const TStringConversion&) = delete;

	FORCEINLINE const ToType* Get() const { return Buffer.GetData(); }
	FORCEINLINE int32 Length() const { return ConvertedLength; }

private:
	TArray<ToType> Buffer;
	int32 ConvertedLength = 0;
};

using FTCHARToUTF8 = TStringConversion<TCHAR, ANSICHAR, &UE::Core::Private::AppendTCHARAsUTF8>;
using FUTF8ToTCHAR = TStringConversion<ANSICHAR, TCHAR, &UE::Core::Private::AppendUTF8AsTCHAR>;
using FTCHARToANSI = TStringConversion<TCHAR, ANSICHAR, &UE::Core::Private::AppendTCHARAsANSI>;
using FANSIToTCHAR = TStringConversion<ANSICHAR, TCHAR, &UE::Core::Private::AppendANSIAsTCHAR>;

#define TCHAR_TO_UTF8(str) (ANSICHAR*)FTCHARToUTF8((const TCHAR*)(str)).Get()
#define UTF8_TO_TCHAR(str) (TCHAR*)FUTF8ToTCHAR((const ANSICHAR*)(str)).Get()
#define TCHAR_TO_ANSI(str) (ANSICHAR*)FTCHARToANSI((const TCHAR*)(str)).Get()
#define ANSI_TO_TCHAR(str) (TCHAR*)FANSIToTCHAR((const ANSICHAR*)(str)).Get()

template <typename ToType, typename FromType>
FORCEINLINE auto StringCast(const FromType* Str)
{
	if constexpr (std::is_same_v<ToType, ANSICHAR> || std::is_same_v<ToType, UTF8CHAR>)
	{
		static_assert(std::is_same_v<FromType, TCHAR>, "Unsupported string conversion");
		return FTCHARToUTF8(Str);
	}
	else
	{
		static_assert(std::is_same_v<ToType, TCHAR> && std::is_same_v<FromType, ANSICHAR>, "Unsupported string conversion");
		return FUTF8ToTCHAR(Str);
	}
}
