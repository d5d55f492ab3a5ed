#include "Misc/Guid.h"

#include "Misc/AssertionMacros.h"
#include "Serialization/Archive.h"

#include <random>
#include <sys/random.h>

namespace
{
	const ANSICHAR* HexDigits(bool bLower)
	{
		return bLower ? "0123456789abcdef" : "0123456789ABCDEF";
	}

	void AppendHex(FString& Out, uint32 Value, int32 NumDigits, bool bLower = false)
	{
		const ANSICHAR* Digits = HexDigits(bLower);
		for (int32 Shift = (NumDigits - 1) * 4; Shift >= 0; Shift -= 4)
		{
			Out.AppendChar((TCHAR)Digits[(Value >> Shift) & 0xF]);
		}
	}

	void AppendWithHyphens(FString& Out, const FGuid& Guid, bool bLower)
	{
		AppendHex(Out, Guid.A, 8, bLower);
		Out.AppendChar('-');
		AppendHex(Out, Guid.B >> 16, 4, bLower);
		Out.AppendChar('-');
		AppendHex(Out, Guid.B & 0xFFFF, 4, bLower);
		Out.AppendChar('-');
		AppendHex(Out, Guid.C >> 16, 4, bLower);
		Out.AppendChar('-');
		AppendHex(Out, Guid.C & 0xFFFF, 4, bLower);
		AppendHex(Out, Guid.D, 8, bLower);
	}

	const ANSICHAR Base64UrlAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
	const ANSICHAR Base36Alphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

	// The 16 bytes as they lie in memory: each word little-endian.
	void GetBytes(const FGuid& Guid, uint8 (&Bytes)[16])
	{
		for (int32 Word = 0; Word < 4; ++Word)
		{
			for (int32 Byte = 0; Byte < 4; ++Byte)
			{
				Bytes[Word * 4 + Byte] = (uint8)(Guid[Word] >> (Byte * 8));
			}
		}
	}

	FGuid FromBytes(const uint8 (&Bytes)[16])
	{
		FGuid Guid;
		for (int32 Word = 0; Word < 4; ++Word)
		{
			uint32 Value = 0;
			for (int32 Byte = 0; Byte < 4; ++Byte)
			{
				Value |= (uint32)Bytes[Word * 4 + Byte] << (Byte * 8);
			}
			Guid[Word] = Value;
		}
		return Guid;
	}

	void AppendShort(FString& Out, const FGuid& Guid)
	{
		uint8 Bytes[16];
		GetBytes(Guid, Bytes);
		// Five full groups of three bytes, then the last byte alone (two characters, no padding).
		for (int32 Index = 0; Index < 15; Index += 3)
		{
			const uint32 Triple = ((uint32)Bytes[Index] << 16) | ((uint32)Bytes[Index + 1] << 8) | Bytes[Index + 2];
			Out.AppendChar((TCHAR)Base64UrlAlphabet[(Triple >> 18) & 63]);
			Out.AppendChar((TCHAR)Base64UrlAlphabet[(Triple >> 12) & 63]);
			Out.AppendChar((TCHAR)Base64UrlAlphabet[(Triple >> 6) & 63]);
			Out.AppendChar((TCHAR)Base64UrlAlphabet[Triple & 63]);
		}
		Out.AppendChar((TCHAR)Base64UrlAlphabet[Bytes[15] >> 2]);
		Out.AppendChar((TCHAR)Base64UrlAlphabet[(Bytes[15] & 3) << 4]);
	}

	using FUint128 = unsigned __int128;

	FUint128 ToUint128(const FGuid& Guid)
	{
		return ((FUint128)Guid.A << 96) | ((FUint128)Guid.B << 64) | ((FUint128)Guid.C << 32) | (FUint128)Guid.D;
	}

	void AppendBase36(FString& Out, const FGuid& Guid)
	{
		// 36^25 exceeds 2^128, so 25 digits hold every guid; most significant first.
		TCHAR Digits[25];
		FUint128 Value = ToUint128(Guid);
		for (int32 Index = 24; Index >= 0; --Index)
		{
			Digits[Index] = (TCHAR)Base36Alphabet[(uint32)(Value % 36)];
			Value /= 36;
		}
		Out.Append(Digits, 25);
	}

	int32 HexValue(TCHAR Char)
	{
		if (Char >= '0' && Char <= '9')
		{
			return Char - '0';
		}
		if (Char >= 'a' && Char <= 'f')
		{
			return Char - 'a' + 10;
		}
		if (Char >= 'A' && Char <= 'F')
		{
			return Char - 'A' + 10;
		}
		return -1;
	}

	// Matches a pattern where '#' stands for one hex digit and any other character for itself;
	// the digits go, in order, into OutNibbles.
	bool MatchPattern(const FString& Text, const ANSICHAR* Pattern, TArray<uint8>& OutNibbles)
	{
		const int32 PatternLen = FCStringAnsi::Strlen(Pattern);
		if (Text.Len() != PatternLen)
		{
			return false;
		}
		OutNibbles.Reset();
		for (int32 Index = 0; Index < PatternLen; ++Index)
		{
			if (Pattern[Index] == '#')
			{
				const int32 Digit = HexValue(Text[Index]);
				if (Digit < 0)
				{
					return false;
				}
				OutNibbles.Add((uint8)Digit);
			}
			else if (Text[Index] != (TCHAR)Pattern[Index])
			{
				return false;
			}
		}
		return true;
	}

	// Thirty-two nibbles, most significant first: A, then B, C and D.
	FGuid FromNibbles(const TArray<uint8>& Nibbles)
	{
		check(Nibbles.Num() == 32);
		FGuid Guid;
		for (int32 Word = 0; Word < 4; ++Word)
		{
			uint32 Value = 0;
			for (int32 Index = 0; Index < 8; ++Index)
			{
				Value = (Value << 4) | Nibbles[Word * 8 + Index];
			}
			Guid[Word] = Value;
		}
		return Guid;
	}

	bool ParseShort(const FString& Text, FGuid& OutGuid)
	{
		if (Text.Len() != 22)
		{
			return false;
		}
		uint8 Sextets[22];
		for (int32 Index = 0; Index < 22; ++Index)
		{
			const ANSICHAR* Found = nullptr;
			const TCHAR Char = Text[Index];
			if (Char > 0 && Char < 128)
			{
				Found = FCStringAnsi::Strchr(Base64UrlAlphabet, (ANSICHAR)Char);
			}
			if (!Found || *Found == 0)
			{
				return false;
			}
			Sextets[Index] = (uint8)(Found - Base64UrlAlphabet);
		}
		// The last character carries two bits only; the rest must be zero.
		if ((Sextets[21] & 0xF) != 0)
		{
			return false;
		}
		uint8 Bytes[16];
		for (int32 Group = 0; Group < 5; ++Group)
		{
			const uint32 Triple = ((uint32)Sextets[Group * 4] << 18) | ((uint32)Sextets[Group * 4 + 1] << 12) | ((uint32)Sextets[Group * 4 + 2] << 6) | Sextets[Group * 4 + 3];
			Bytes[Group * 3] = (uint8)(Triple >> 16);
			Bytes[Group * 3 + 1] = (uint8)(Triple >> 8);
			Bytes[Group * 3 + 2] = (uint8)Triple;
		}
		Bytes[15] = (uint8)((Sextets[20] << 2) | (Sextets[21] >> 4));
		OutGuid = FromBytes(Bytes);
		return true;
	}

	bool ParseBase36(const FString& Text, FGuid& OutGuid)
	{
		if (Text.Len() != 25)
		{
			return false;
		}
		const FUint128 Max = ~(FUint128)0;
		FUint128 Value = 0;
		for (int32 Index = 0; Index < 25; ++Index)
		{
			const TCHAR Char = FChar::ToUpper(Text[Index]);
			int32 Digit;
			if (Char >= '0' && Char <= '9')
			{
				Digit = Char - '0';
			}
			else if (Char >= 'A' && Char <= 'Z')
			{
				Digit = Char - 'A' + 10;
			}
			else
			{
				return false;
			}
			if (Value > (Max - (FUint128)Digit) / 36)
			{
				return false;
			}
			Value = Value * 36 + (FUint128)Digit;
		}
		OutGuid = FGuid((uint32)(Value >> 96), (uint32)(Value >> 64), (uint32)(Value >> 32), (uint32)Value);
		return true;
	}

	uint64 RandomWord()
	{
		uint64 Value = 0;
		if (getrandom(&Value, sizeof(Value), 0) == (ssize_t)sizeof(Value))
		{
			return Value;
		}
		// No kernel entropy call: fall back to a per-thread generator seeded once.
		thread_local std::mt19937_64 Generator(std::random_device{}());
		return Generator();
	}
}

FGuid::FGuid(const FString& InGuidStr)
	: FGuid()
{
	if (!Parse(InGuidStr, *this))
	{
		Invalidate();
	}
}

FString FGuid::ToString(EGuidFormats Format) const
{
	FString Result;
	AppendString(Result, Format);
	return Result;
}

void FGuid::AppendString(FString& Out, EGuidFormats Format) const
{
	switch (Format)
	{
	case EGuidFormats::Digits:
	case EGuidFormats::DigitsLower:
	{
		const bool bLower = Format == EGuidFormats::DigitsLower;
		AppendHex(Out, A, 8, bLower);
		AppendHex(Out, B, 8, bLower);
		AppendHex(Out, C, 8, bLower);
		AppendHex(Out, D, 8, bLower);
		break;
	}
	case EGuidFormats::DigitsWithHyphens:
		AppendWithHyphens(Out, *this, false);
		break;
	case EGuidFormats::DigitsWithHyphensLower:
		AppendWithHyphens(Out, *this, true);
		break;
	case EGuidFormats::DigitsWithHyphensInBraces:
		Out.AppendChar('{');
		AppendWithHyphens(Out, *this, false);
		Out.AppendChar('}');
		break;
	case EGuidFormats::DigitsWithHyphensInParentheses:
		Out.AppendChar('(');
		AppendWithHyphens(Out, *this, false);
		Out.AppendChar(')');
		break;
	case EGuidFormats::HexValuesInBraces:
	{
		Out += TEXT("{0x");
		AppendHex(Out, A, 8);
		Out += TEXT(",0x");
		AppendHex(Out, B >> 16, 4);
		Out += TEXT(",0x");
		AppendHex(Out, B & 0xFFFF, 4);
		Out += TEXT(",{");
		const uint32 Tail[2] = { C, D };
		for (int32 Index = 0; Index < 8; ++Index)
		{
			Out += Index == 0 ? TEXT("0x") : TEXT(",0x");
			AppendHex(Out, (Tail[Index / 4] >> (24 - (Index % 4) * 8)) & 0xFF, 2);
		}
		Out += TEXT("}}");
		break;
	}
	case EGuidFormats::UniqueObjectGuid:
		AppendHex(Out, A, 8);
		Out.AppendChar('-');
		AppendHex(Out, B, 8);
		Out.AppendChar('-');
		AppendHex(Out, C, 8);
		Out.AppendChar('-');
		AppendHex(Out, D, 8);
		break;
	case EGuidFormats::Short:
		AppendShort(Out, *this);
		break;
	case EGuidFormats::Base36Encoded:
		AppendBase36(Out, *this);
		break;
	default:
		checkNoEntry();
	}
}

FGuid FGuid::NewGuid()
{
	const uint64 High = RandomWord();
	const uint64 Low = RandomWord();
	FGuid Guid((uint32)(High >> 32), (uint32)High, (uint32)(Low >> 32), (uint32)Low);
	// Version 4 in the third group (the low half of B), variant 10xx in the fourth (the top
	// of C). The version bits alone keep the guid from being all zero.
	Guid.B = (Guid.B & 0xFFFF0FFFu) | 0x00004000u;
	Guid.C = (Guid.C & 0x3FFFFFFFu) | 0x80000000u;
	return Guid;
}

bool FGuid::Parse(const FString& GuidString, FGuid& OutGuid)
{
	switch (GuidString.Len())
	{
	case 32:
		return ParseExact(GuidString, EGuidFormats::Digits, OutGuid);
	case 36:
		return ParseExact(GuidString, EGuidFormats::DigitsWithHyphens, OutGuid);
	case 38:
		return ParseExact(GuidString, GuidString[0] == '{' ? EGuidFormats::DigitsWithHyphensInBraces : EGuidFormats::DigitsWithHyphensInParentheses, OutGuid);
	case 68:
		return ParseExact(GuidString, EGuidFormats::HexValuesInBraces, OutGuid);
	case 35:
		return ParseExact(GuidString, EGuidFormats::UniqueObjectGuid, OutGuid);
	default:
		return false;
	}
}

bool FGuid::ParseExact(const FString& GuidString, EGuidFormats Format, FGuid& OutGuid)
{
	const ANSICHAR* Pattern = nullptr;
	switch (Format)
	{
	case EGuidFormats::Digits:
	case EGuidFormats::DigitsLower:
		Pattern = "################################";
		break;
	case EGuidFormats::DigitsWithHyphens:
	case EGuidFormats::DigitsWithHyphensLower:
		Pattern = "########-####-####-####-############";
		break;
	case EGuidFormats::DigitsWithHyphensInBraces:
		Pattern = "{########-####-####-####-############}";
		break;
	case EGuidFormats::DigitsWithHyphensInParentheses:
		Pattern = "(########-####-####-####-############)";
		break;
	case EGuidFormats::HexValuesInBraces:
		Pattern = "{0x########,0x####,0x####,{0x##,0x##,0x##,0x##,0x##,0x##,0x##,0x##}}";
		break;
	case EGuidFormats::UniqueObjectGuid:
		Pattern = "########-########-########-########";
		break;
	case EGuidFormats::Short:
		return ParseShort(GuidString, OutGuid);
	case EGuidFormats::Base36Encoded:
		return ParseBase36(GuidString, OutGuid);
	default:
		return false;
	}

	TArray<uint8> Nibbles;
	if (!MatchPattern(GuidString, Pattern, Nibbles))
	{
		return false;
	}
	OutGuid = FromNibbles(Nibbles);
	return true;
}

FArchive& operator<<(FArchive& Ar, FGuid& G)
{
	return Ar << G.A << G.B << G.C << G.D;
}

bool FGuid::Serialize(FArchive& Ar)
{
	Ar << *this;
	return true;
}
