#include "DefaultValue.h"

#include "Diagnostics.h"
#include "Lexer.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace HeaderTool
{
	namespace
	{
		bool IsNumber(const std::string& Text)
		{
			size_t Index = Text[0] == '-' || Text[0] == '+' ? 1 : 0;
			return Index < Text.size() && (std::isdigit(static_cast<unsigned char>(Text[Index])) || Text[Index] == '.');
		}

		/** "TEXT(\"x\")", "\"x\"", "FString(TEXT(\"x\"))" and "FName(TEXT(\"x\"))" hold the string x. */
		bool TryUnwrapString(const std::string& Text, std::string& OutString)
		{
			for (const char* Wrapper : { "FString(", "FName(", "TEXT(" })
			{
				const size_t Length = std::char_traits<char>::length(Wrapper);
				if (Text.rfind(Wrapper, 0) == 0 && Text.back() == ')')
				{
					const std::string Inner = Text.substr(Length, Text.size() - Length - 1);
					if (Inner.empty())
					{
						OutString.clear();
						return true;
					}
					return TryUnwrapString(Inner, OutString);
				}
			}
			if (Text.size() >= 2 && Text.front() == '"' && Text.back() == '"')
			{
				OutString = UnquoteString(Text);
				return true;
			}
			return false;
		}

		std::string FormatFloat(const std::string& Text)
		{
			std::string Digits = Text;
			if (!Digits.empty() && (Digits.back() == 'f' || Digits.back() == 'F'))
			{
				Digits.pop_back();
			}
			char Buffer[64];
			std::snprintf(Buffer, sizeof(Buffer), "%f", std::strtod(Digits.c_str(), nullptr));
			return Buffer;
		}
	}

	std::string NormalizeDefaultValue(const FParameter& Parameter, const std::string& File)
	{
		const std::string& Text = Parameter.DefaultValue;
		std::string String;
		if (Text == "nullptr" || Text == "NULL" || Text == "NAME_None")
		{
			return "None";
		}
		if (Text == "true" || Text == "false")
		{
			return Text;
		}
		if (TryUnwrapString(Text, String))
		{
			return String.empty() && Parameter.Mapped.Kind == EPropertyKind::Name ? "None" : String;
		}
		if (IsNumber(Text))
		{
			const bool bFloatingPoint = Parameter.Mapped.Kind == EPropertyKind::Float || Parameter.Mapped.Kind == EPropertyKind::Double;
			return bFloatingPoint ? FormatFloat(Text) : Text;
		}
		if (!Parameter.Mapped.EnumName.empty() && Parameter.DefaultValue.find('(') == std::string::npos)
		{
			const size_t Scope = Text.rfind("::");
			return Scope == std::string::npos ? Text : Text.substr(Scope + 2);
		}
		throw FHeaderToolError(File, Parameter.Line, "unsupported default value '" + Text + "' of parameter '" + Parameter.Name + "'");
	}
}
