#pragma once

#include "CoreTypes.h"
#include "Misc/Char.h"

#include <cstdlib>
#include <type_traits>

namespace ESearchCase
{
	enum Type
	{
		CaseSensitive,
		IgnoreCase,
	};
}

namespace ESearchDir
{
	enum Type
	{
		FromStart,
		FromEnd,
	};
}

// C string functions over any character type.
template <typename T>
struct TCString
{
	using CharType = T;

	static int32 Strlen(const CharType* String)
	{
		int32 Length = 0;
		while (String[Length])
		{
			++Length;
		}
		return Length;
	}

	static int32 Strcmp(const CharType* String1, const CharType* String2)
	{
		for (;; ++String1, ++String2)
		{
			if (*String1 != *String2 || !*String1)
			{
				return (int32)(std::make_unsigned_t<CharType>)*String1 - (int32)(std::make_unsigned_t<CharType>)*String2;
			}
		}
	}

	static int32 Strncmp(const CharType* String1, const CharType* String2, SIZE_T Count)
	{
		for (; Count > 0; --Count, ++String1, ++String2)
		{
			if (*String1 != *String2 || !*String1)
			{
				return (int32)(std::make_unsigned_t<CharType>)*String1 - (int32)(std::make_unsigned_t<CharType>)*String2;
			}
		}
		return 0;
	}

	static int32 Stricmp(const CharType* String1, const CharType* String2)
	{
		for (;; ++String1, ++String2)
		{
			const CharType C1 = TChar<CharType>::ToLower(*String1);
			const CharType C2 = TChar<CharType>::ToLower(*String2);
			if (C1 != C2 || !C1)
			{
				return (int32)(std::make_unsigned_t<CharType>)C1 - (int32)(std::make_unsigned_t<CharType>)C2;
			}
		}
	}

	static int32 Strnicmp(const CharType* String1, const CharType* String2, SIZE_T Count)
	{
		for (; Count > 0; --Count, ++String1, ++String2)
		{
			const CharType C1 = TChar<CharType>::ToLower(*String1);
			const CharType C2 = TChar<CharType>::ToLower(*String2);
			if (C1 != C2 || !C1)
			{
				return (int32)(std::make_unsigned_t<CharType>)C1 - (int32)(std::make_unsigned_t<CharType>)C2;
			}
		}
		return 0;
	}

	static const CharType* Strstr(const CharType* String, const CharType* Find)
	{
		const int32 FindLen = Strlen(Find);
		for (; *String; ++String)
		{
			if (Strncmp(String, Find, FindLen) == 0)
			{
				return String;
			}
		}
		return FindLen == 0 ? String : nullptr;
	}

	static const CharType* Stristr(const CharType* String, const CharType* Find)
	{
		const int32 FindLen = Strlen(Find);
		for (; *String; ++String)
		{
			if (Strnicmp(String, Find, FindLen) == 0)
			{
				return String;
			}
		}
		return FindLen == 0 ? String : nullptr;
	}

	static const CharType* Strchr(const CharType* String, CharType Char)
	{
		for (; *String; ++String)
		{
			if (*String == Char)
			{
				return String;
			}
		}
		return Char == 0 ? String : nullptr;
	}

	static const CharType* Strrchr(const CharType* String, CharType Char)
	{
		const CharType* Last = nullptr;
		for (; *String; ++String)
		{
			if (*String == Char)
			{
				Last = String;
			}
		}
		return Char == 0 ? String : Last;
	}

	static CharType* Strncpy(CharType* Dest, const CharType* Src, SIZE_T MaxLen)
	{
		if (MaxLen == 0)
		{
			return Dest;
		}
		SIZE_T Index = 0;
		for (; Index + 1 < MaxLen && Src[Index]; ++Index)
		{
			Dest[Index] = Src[Index];
		}
		Dest[Index] = 0;
		return Dest;
	}

	// Parses an optionally signed integer in Base (0 picks 8, 10 or 16 from the prefix, as strtol does).
	static int64 Strtoi64(const CharType* Start, CharType** End, int32 Base)
	{
		const CharType* Ptr = Start;
		while (TChar<CharType>::IsWhitespace(*Ptr))
		{
			++Ptr;
		}
		bool bNegative = false;
		if (*Ptr == '-' || *Ptr == '+')
		{
			bNegative = *Ptr == '-';
			++Ptr;
		}
		if ((Base == 0 || Base == 16) && Ptr[0] == '0' && (Ptr[1] == 'x' || Ptr[1] == 'X') && TChar<CharType>::IsHexDigit(Ptr[2]))
		{
			Ptr += 2;
			Base = 16;
		}
		else if (Base == 0)
		{
			Base = Ptr[0] == '0' ? 8 : 10;
		}
		uint64 Value = 0;
		const CharType* DigitsStart = Ptr;
		for (;; ++Ptr)
		{
			int32 Digit;
			if (TChar<CharType>::IsDigit(*Ptr))
			{
				Digit = *Ptr - '0';
			}
			else if (*Ptr >= 'a' && *Ptr <= 'z')
			{
				Digit = *Ptr - 'a' + 10;
			}
			else if (*Ptr >= 'A' && *Ptr <= 'Z')
			{
				Digit = *Ptr - 'A' + 10;
			}
			else
			{
				break;
			}
			if (Digit >= Base)
			{
				break;
			}
			Value = Value * (uint64)Base + (uint64)Digit;
		}
		if (End)
		{
			*End = const_cast<CharType*>(Ptr == DigitsStart ? Start : Ptr);
		}
		return bNegative ? -(int64)Value : (int64)Value;
	}

	static int32 Strtoi(const CharType* Start, CharType** End, int32 Base)
	{
		return (int32)Strtoi64(Start, End, Base);
	}

	static uint64 Strtoui64(const CharType* Start, CharType** End, int32 Base)
	{
		return (uint64)Strtoi64(Start, End, Base);
	}

	static int32 Atoi(const CharType* String)
	{
		return (int32)Strtoi64(String, nullptr, 10);
	}

	static int64 Atoi64(const CharType* String)
	{
		return Strtoi64(String, nullptr, 10);
	}

	static double Atod(const CharType* String)
	{
		// Numbers are ASCII; anything else ends the number.
		ANSICHAR Buffer[128];
		int32 Length = 0;
		for (; String[Length] && Length < (int32)sizeof(Buffer) - 1; ++Length)
		{
			const CharType Char = String[Length];
			Buffer[Length] = (Char > 0 && Char < 128) ? (ANSICHAR)Char : ' ';
		}
		Buffer[Length] = 0;
		return std::strtod(Buffer, nullptr);
	}

	static float Atof(const CharType* String)
	{
		return (float)Atod(String);
	}

	static bool ToBool(const CharType* String)
	{
		const CharType True[] = { 't', 'r', 'u', 'e', 0 };
		const CharType Yes[] = { 'y', 'e', 's', 0 };
		const CharType On[] = { 'o', 'n', 0 };
		return Stricmp(String, True) == 0 || Stricmp(String, Yes) == 0 || Stricmp(String, On) == 0 || Atoi(String) != 0;
	}

	static bool IsNumeric(const CharType* Str)
	{
		if (*Str == '-' || *Str == '+')
		{
			++Str;
		}
		bool bHasDot = false;
		bool bHasDigit = false;
		for (; *Str; ++Str)
		{
			if (*Str == '.')
			{
				if (bHasDot)
				{
					return false;
				}
				bHasDot = true;
			}
			else if (TChar<CharType>::IsDigit(*Str))
			{
				bHasDigit = true;
			}
			else
			{
				return false;
			}
		}
		return bHasDigit;
	}
};

using FCString = TCString<TCHAR>;
using FCStringAnsi = TCString<ANSICHAR>;
using FCStringWide = TCString<WIDECHAR>;
