#include "Misc/VarArgsFormat.h"

#include "Containers/StringConv.h"

#include <cstdio>

namespace UE::Core::Private
{
	namespace
	{
		enum class ELength
		{
			Default,
			Char,
			Short,
			Long,
			LongLong,
			Size,
		};

		void AppendAnsi(FString& Out, const ANSICHAR* Text, int32 Count)
		{
			Out.Append(Text, Count);
		}

		void AppendPadded(FString& Out, const TCHAR* Text, int32 TextLen, int32 Width, bool bLeftAlign)
		{
			const int32 Padding = Width > TextLen ? Width - TextLen : 0;
			if (!bLeftAlign)
			{
				for (int32 Index = 0; Index < Padding; ++Index)
				{
					Out.AppendChar(' ');
				}
			}
			Out.Append(Text, TextLen);
			if (bLeftAlign)
			{
				for (int32 Index = 0; Index < Padding; ++Index)
				{
					Out.AppendChar(' ');
				}
			}
		}
	}

	void AppendFormattedV(FString& Out, const TCHAR* Fmt, va_list Args)
	{
		if (!Fmt)
		{
			return;
		}
		for (const TCHAR* Ptr = Fmt; *Ptr;)
		{
			if (*Ptr != '%')
			{
				const TCHAR* Start = Ptr;
				while (*Ptr && *Ptr != '%')
				{
					++Ptr;
				}
				Out.Append(Start, (int32)(Ptr - Start));
				continue;
			}

			const TCHAR* DirectiveStart = Ptr++;
			if (*Ptr == '%')
			{
				Out.AppendChar('%');
				++Ptr;
				continue;
			}

			// Rebuild the directive as an 8-bit printf format for numbers.
			ANSICHAR Narrow[32];
			int32 NarrowLen = 0;
			Narrow[NarrowLen++] = '%';
			bool bLeftAlign = false;
			while (*Ptr == '-' || *Ptr == '+' || *Ptr == ' ' || *Ptr == '#' || *Ptr == '0')
			{
				bLeftAlign |= *Ptr == '-';
				if (NarrowLen < 8)
				{
					Narrow[NarrowLen++] = (ANSICHAR)*Ptr;
				}
				++Ptr;
			}

			int32 Width = -1;
			if (*Ptr == '*')
			{
				Width = va_arg(Args, int);
				if (Width < 0)
				{
					bLeftAlign = true;
					Width = -Width;
					Narrow[NarrowLen++] = '-';
				}
				++Ptr;
			}
			else if (FChar::IsDigit(*Ptr))
			{
				Width = 0;
				while (FChar::IsDigit(*Ptr))
				{
					Width = Width * 10 + (*Ptr++ - '0');
				}
			}

			int32 Precision = -1;
			if (*Ptr == '.')
			{
				++Ptr;
				Precision = 0;
				if (*Ptr == '*')
				{
					Precision = va_arg(Args, int);
					++Ptr;
				}
				else
				{
					while (FChar::IsDigit(*Ptr))
					{
						Precision = Precision * 10 + (*Ptr++ - '0');
					}
				}
			}

			ELength Length = ELength::Default;
			bool bAnsiString = false;
			if (*Ptr == 'h')
			{
				++Ptr;
				Length = ELength::Short;
				if (*Ptr == 'h')
				{
					++Ptr;
					Length = ELength::Char;
				}
				bAnsiString = *Ptr == 's';
			}
			else if (*Ptr == 'l')
			{
				++Ptr;
				Length = ELength::Long;
				if (*Ptr == 'l')
				{
					++Ptr;
					Length = ELength::LongLong;
				}
			}
			else if (*Ptr == 'z' || *Ptr == 'j' || *Ptr == 't')
			{
				++Ptr;
				Length = ELength::Size;
			}
			else if (Ptr[0] == 'I' && Ptr[1] == '6' && Ptr[2] == '4')
			{
				Ptr += 3;
				Length = ELength::LongLong;
			}

			if (Width >= 0)
			{
				NarrowLen += std::snprintf(Narrow + NarrowLen, sizeof(Narrow) - NarrowLen, "%d", Width);
			}
			if (Precision >= 0)
			{
				NarrowLen += std::snprintf(Narrow + NarrowLen, sizeof(Narrow) - NarrowLen, ".%d", Precision);
			}

			const TCHAR Conversion = *Ptr;
			if (Conversion == 0)
			{
				// A dangling '%' at the end is printed as written.
				Out.Append(DirectiveStart, (int32)(Ptr - DirectiveStart));
				break;
			}
			++Ptr;

			ANSICHAR Buffer[512];
			switch (Conversion)
			{
			case 'd':
			case 'i':
			case 'u':
			case 'x':
			case 'X':
			case 'o':
			{
				const bool bSigned = Conversion == 'd' || Conversion == 'i';
				Narrow[NarrowLen++] = 'l';
				Narrow[NarrowLen++] = 'l';
				Narrow[NarrowLen++] = (ANSICHAR)Conversion;
				Narrow[NarrowLen] = 0;
				long long Value;
				switch (Length)
				{
				case ELength::Long: Value = bSigned ? (long long)va_arg(Args, long) : (long long)va_arg(Args, unsigned long); break;
				case ELength::LongLong: Value = bSigned ? va_arg(Args, long long) : (long long)va_arg(Args, unsigned long long); break;
				case ELength::Size: Value = bSigned ? (long long)va_arg(Args, SSIZE_T) : (long long)va_arg(Args, SIZE_T); break;
				case ELength::Short: Value = bSigned ? (long long)(short)va_arg(Args, int) : (long long)(unsigned short)va_arg(Args, unsigned int); break;
				case ELength::Char: Value = bSigned ? (long long)(signed char)va_arg(Args, int) : (long long)(unsigned char)va_arg(Args, unsigned int); break;
				default: Value = bSigned ? (long long)va_arg(Args, int) : (long long)va_arg(Args, unsigned int); break;
				}
				const int32 Count = std::snprintf(Buffer, sizeof(Buffer), Narrow, Value);
				AppendAnsi(Out, Buffer, Count < (int32)sizeof(Buffer) ? Count : (int32)sizeof(Buffer) - 1);
				break;
			}
			case 'f':
			case 'F':
			case 'e':
			case 'E':
			case 'g':
			case 'G':
			case 'a':
			case 'A':
			{
				Narrow[NarrowLen++] = (ANSICHAR)Conversion;
				Narrow[NarrowLen] = 0;
				const double Value = va_arg(Args, double);
				const int32 Count = std::snprintf(nullptr, 0, Narrow, Value);
				TArray<ANSICHAR> Large;
				Large.AddUninitialized(Count + 1);
				std::snprintf(Large.GetData(), Count + 1, Narrow, Value);
				AppendAnsi(Out, Large.GetData(), Count);
				break;
			}
			case 'p':
			{
				const void* Value = va_arg(Args, void*);
				const int32 Count = std::snprintf(Buffer, sizeof(Buffer), "0x%llx", (unsigned long long)(UPTRINT)Value);
				FString Text(Count, Buffer);
				AppendPadded(Out, *Text, Text.Len(), Width, bLeftAlign);
				break;
			}
			case 'c':
			{
				const TCHAR Value = (TCHAR)va_arg(Args, int);
				AppendPadded(Out, &Value, 1, Width, bLeftAlign);
				break;
			}
			case 's':
			case 'S':
			{
				if (bAnsiString || Conversion == 'S')
				{
					const ANSICHAR* Value = va_arg(Args, const ANSICHAR*);
					FString Text(Value ? UTF8_TO_TCHAR(Value) : TEXT("(null)"));
					const int32 Len = Precision >= 0 && Precision < Text.Len() ? Precision : Text.Len();
					AppendPadded(Out, *Text, Len, Width, bLeftAlign);
				}
				else
				{
					const TCHAR* Value = va_arg(Args, const TCHAR*);
					if (!Value)
					{
						Value = TEXT("(null)");
					}
					int32 Len = FCString::Strlen(Value);
					if (Precision >= 0 && Precision < Len)
					{
						Len = Precision;
					}
					AppendPadded(Out, Value, Len, Width, bLeftAlign);
				}
				break;
			}
			default:
				// Unknown conversions are copied through, as text.
				Out.Append(DirectiveStart, (int32)(Ptr - DirectiveStart));
				break;
			}
		}
	}

	void WriteToStderr(const FString& Text)
	{
		FTCHARToUTF8 Converted(*Text, Text.Len());
		std::fwrite(Converted.Get(), 1, (size_t)Converted.Length(), stderr);
		std::fflush(stderr);
	}
}
