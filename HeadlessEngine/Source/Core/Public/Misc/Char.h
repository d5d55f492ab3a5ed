#pragma once

#include "CoreTypes.h"

// Character classification. Case mapping covers ASCII only: the engine's case-insensitive
// comparisons of names and identifiers never depend on other scripts here.
template <typename CharType>
struct TChar
{
	static constexpr FORCEINLINE CharType ToUpper(CharType Char)
	{
		return (Char >= 'a' && Char <= 'z') ? (CharType)(Char - ('a' - 'A')) : Char;
	}

	static constexpr FORCEINLINE CharType ToLower(CharType Char)
	{
		return (Char >= 'A' && Char <= 'Z') ? (CharType)(Char + ('a' - 'A')) : Char;
	}

	static constexpr FORCEINLINE bool IsUpper(CharType Char) { return Char >= 'A' && Char <= 'Z'; }
	static constexpr FORCEINLINE bool IsLower(CharType Char) { return Char >= 'a' && Char <= 'z'; }
	static constexpr FORCEINLINE bool IsAlpha(CharType Char) { return IsUpper(Char) || IsLower(Char); }
	static constexpr FORCEINLINE bool IsDigit(CharType Char) { return Char >= '0' && Char <= '9'; }
	static constexpr FORCEINLINE bool IsAlnum(CharType Char) { return IsAlpha(Char) || IsDigit(Char); }
	static constexpr FORCEINLINE bool IsOctDigit(CharType Char) { return Char >= '0' && Char <= '7'; }
	static constexpr FORCEINLINE bool IsUnderscore(CharType Char) { return Char == '_'; }
	static constexpr FORCEINLINE bool IsPunct(CharType Char)
	{
		return (Char >= '!' && Char <= '/') || (Char >= ':' && Char <= '@') || (Char >= '[' && Char <= '`') || (Char >= '{' && Char <= '~');
	}

	static constexpr FORCEINLINE bool IsHexDigit(CharType Char)
	{
		return IsDigit(Char) || (Char >= 'a' && Char <= 'f') || (Char >= 'A' && Char <= 'F');
	}

	static constexpr FORCEINLINE bool IsWhitespace(CharType Char)
	{
		return Char == ' ' || Char == '\t' || Char == '\n' || Char == '\r' || Char == '\v' || Char == '\f';
	}

	static constexpr FORCEINLINE bool IsLinebreak(CharType Char)
	{
		return Char == '\n' || Char == '\r' || Char == '\v' || Char == '\f';
	}

	static constexpr FORCEINLINE int32 ConvertCharDigitToInt(CharType Char)
	{
		return (int32)Char - (int32)'0';
	}
};

using FChar = TChar<TCHAR>;
using FCharWide = TChar<WIDECHAR>;
using FCharAnsi = TChar<ANSICHAR>;
