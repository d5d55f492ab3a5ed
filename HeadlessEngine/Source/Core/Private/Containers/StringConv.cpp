#include "Containers/StringConv.h"

namespace UE::Core::Private
{
	namespace
	{
		constexpr uint32 ReplacementChar = 0xFFFD;

		void AppendCodepointAsUTF8(uint32 Codepoint, TArray<ANSICHAR>& Out)
		{
			if (Codepoint < 0x80)
			{
				Out.Add((ANSICHAR)Codepoint);
			}
			else if (Codepoint < 0x800)
			{
				Out.Add((ANSICHAR)(0xC0 | (Codepoint >> 6)));
				Out.Add((ANSICHAR)(0x80 | (Codepoint & 0x3F)));
			}
			else if (Codepoint < 0x10000)
			{
				Out.Add((ANSICHAR)(0xE0 | (Codepoint >> 12)));
				Out.Add((ANSICHAR)(0x80 | ((Codepoint >> 6) & 0x3F)));
				Out.Add((ANSICHAR)(0x80 | (Codepoint & 0x3F)));
			}
			else
			{
				Out.Add((ANSICHAR)(0xF0 | (Codepoint >> 18)));
				Out.Add((ANSICHAR)(0x80 | ((Codepoint >> 12) & 0x3F)));
				Out.Add((ANSICHAR)(0x80 | ((Codepoint >> 6) & 0x3F)));
				Out.Add((ANSICHAR)(0x80 | (Codepoint & 0x3F)));
			}
		}

		void AppendCodepointAsTCHAR(uint32 Codepoint, TArray<TCHAR>& Out)
		{
			if (Codepoint < 0x10000)
			{
				Out.Add((TCHAR)Codepoint);
			}
			else
			{
				Codepoint -= 0x10000;
				Out.Add((TCHAR)(0xD800 + (Codepoint >> 10)));
				Out.Add((TCHAR)(0xDC00 + (Codepoint & 0x3FF)));
			}
		}
	}

	void AppendTCHARAsUTF8(const TCHAR* Source, int32 SourceLen, TArray<ANSICHAR>& Out)
	{
		Out.Reserve(Out.Num() + SourceLen);
		for (int32 Index = 0; Index < SourceLen; ++Index)
		{
			uint32 Codepoint = (uint32)Source[Index];
			if (Codepoint >= 0xD800 && Codepoint <= 0xDBFF && Index + 1 < SourceLen && Source[Index + 1] >= 0xDC00 && Source[Index + 1] <= 0xDFFF)
			{
				Codepoint = 0x10000 + ((Codepoint - 0xD800) << 10) + ((uint32)Source[Index + 1] - 0xDC00);
				++Index;
			}
			else if (Codepoint >= 0xD800 && Codepoint <= 0xDFFF)
			{
				Codepoint = ReplacementChar;
			}
			AppendCodepointAsUTF8(Codepoint, Out);
		}
	}

	void AppendUTF8AsTCHAR(const ANSICHAR* Source, int32 SourceLen, TArray<TCHAR>& Out)
	{
		Out.Reserve(Out.Num() + SourceLen);
		const uint8* Bytes = (const uint8*)Source;
		for (int32 Index = 0; Index < SourceLen;)
		{
			const uint8 Lead = Bytes[Index];
			int32 Extra;
			uint32 Codepoint;
			uint32 Minimum;
			if (Lead < 0x80)
			{
				Out.Add((TCHAR)Lead);
				++Index;
				continue;
			}
			else if ((Lead & 0xE0) == 0xC0)
			{
				Extra = 1;
				Codepoint = Lead & 0x1F;
				Minimum = 0x80;
			}
			else if ((Lead & 0xF0) == 0xE0)
			{
				Extra = 2;
				Codepoint = Lead & 0x0F;
				Minimum = 0x800;
			}
			else if ((Lead & 0xF8) == 0xF0)
			{
				Extra = 3;
				Codepoint = Lead & 0x07;
				Minimum = 0x10000;
			}
			else
			{
				Out.Add((TCHAR)ReplacementChar);
				++Index;
				continue;
			}

			int32 Consumed = 1;
			bool bValid = true;
			for (; Consumed <= Extra; ++Consumed)
			{
				if (Index + Consumed >= SourceLen || (Bytes[Index + Consumed] & 0xC0) != 0x80)
				{
					bValid = false;
					break;
				}
				Codepoint = (Codepoint << 6) | (Bytes[Index + Consumed] & 0x3F);
			}
			if (!bValid || Codepoint < Minimum || Codepoint > 0x10FFFF || (Codepoint >= 0xD800 && Codepoint <= 0xDFFF))
			{
				Out.Add((TCHAR)ReplacementChar);
				Index += bValid ? Consumed : Consumed;
				continue;
			}
			AppendCodepointAsTCHAR(Codepoint, Out);
			Index += Consumed;
		}
	}

	void AppendTCHARAsANSI(const TCHAR* Source, int32 SourceLen, TArray<ANSICHAR>& Out)
	{
		Out.Reserve(Out.Num() + SourceLen);
		for (int32 Index = 0; Index < SourceLen; ++Index)
		{
			Out.Add(Source[Index] <= 0xFF ? (ANSICHAR)Source[Index] : '?');
		}
	}

	void AppendANSIAsTCHAR(const ANSICHAR* Source, int32 SourceLen, TArray<TCHAR>& Out)
	{
		Out.Reserve(Out.Num() + SourceLen);
		for (int32 Index = 0; Index < SourceLen; ++Index)
		{
			Out.Add((TCHAR)(uint8)Source[Index]);
		}
	}
}
