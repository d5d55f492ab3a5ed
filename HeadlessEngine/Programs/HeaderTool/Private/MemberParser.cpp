#include "HeaderParserPrivate.h"

// Members of a reflected class or struct: functions with their parameters, properties and
// constructors, each read from the token after its macro.
namespace HeaderTool::Private
{
	namespace
	{
		/** Words that may precede a member declaration without being part of its type. */
		bool IsDeclarationDecoration(const FToken& Token)
		{
			return Token.Is("virtual") || Token.Is("inline") || Token.Is("FORCEINLINE") || Token.Is("FORCENOINLINE")
				|| Token.Is("explicit") || Token.Is("constexpr") || Token.Is("mutable") || Token.Is("UE_NODISCARD")
				|| (Token.Kind == ETokenKind::Identifier && EndsWith(Token.Text, "_API"));
		}
	}

	FSpecifierList FHeaderParser::ParseParameterSpecifiers(FTokenRun& Declarator) const
	{
		if (Declarator.empty() || !Declarator.front()->Is("UPARAM"))
		{
			return FSpecifierList();
		}
		// UPARAM(...) is read by the specifier parser, which walks a cursor of its own.
		std::vector<FToken> Tokens;
		size_t Index = 1;
		int Depth = 0;
		for (; Index < Declarator.size(); ++Index)
		{
			const FToken& Token = *Declarator[Index];
			Tokens.push_back(Token);
			Depth += Token.Is("(") ? 1 : (Token.Is(")") ? -1 : 0);
			if (Depth == 0)
			{
				break;
			}
		}
		if (Tokens.empty() || !Tokens.front().Is("(") || Depth != 0)
		{
			Cursor.FailAt(Declarator.front()->Line, "expected UPARAM(...) before a parameter type");
		}
		FToken End;
		End.Kind = ETokenKind::EndOfFile;
		End.Line = Tokens.back().Line;
		Tokens.push_back(End);
		FTokenCursor SpecifierCursor(Tokens, Cursor.File());
		FSpecifierList Specifiers = ParseSpecifierList(SpecifierCursor, EMacroKind::Parameter, Declarator.front()->Line);
		Declarator.erase(Declarator.begin(), Declarator.begin() + static_cast<std::ptrdiff_t>(Index + 1));
		return Specifiers;
	}

	std::vector<FParameter> FHeaderParser::ParseParameterList(const FTokenRun& Tokens, int Line)
	{
		std::vector<FParameter> Parameters;
		if (Tokens.size() == 1 && Tokens.front()->Is("void"))
		{
			return Parameters;
		}
		for (const FTokenRun& Part : SplitTopLevel(Tokens))
		{
			FTokenRun Declarator;
			FTokenRun Default;
			int Depth = 0;
			for (const FToken* Token : Part)
			{
				if (!Default.empty() || (Depth == 0 && Token->Is("=")))
				{
					Default.push_back(Token);
					continue;
				}
				if (Token->Is("(") || Token->Is("<") || Token->Is("[") || Token->Is("{"))
				{
					++Depth;
				}
				else if (Token->Is(")") || Token->Is(">") || Token->Is("]") || Token->Is("}"))
				{
					--Depth;
				}
				Declarator.push_back(Token);
			}
			if (Declarator.empty())
			{
				Cursor.FailAt(Line, "empty parameter");
			}
			const int ParamLine = Declarator.front()->Line;
			FParameter Parameter;
			Parameter.Specifiers = ParseParameterSpecifiers(Declarator);
			if (Declarator.empty())
			{
				Cursor.FailAt(ParamLine, "expected a parameter after UPARAM(...)");
			}
			if (Declarator.back()->Is("]") || Declarator.back()->Is(")"))
			{
				Cursor.FailAt(ParamLine, "unsupported type '" + JoinTokens(Declarator) + "'");
			}
			if (Declarator.size() < 2 || Declarator.back()->Kind != ETokenKind::Identifier || Declarator[Declarator.size() - 2]->Is("::"))
			{
				Cursor.FailAt(ParamLine, "parameter '" + JoinTokens(Declarator) + "' must be named");
			}
			Parameter.Name = Declarator.back()->Text;
			Parameter.Line = ParamLine;
			Declarator.pop_back();
			Parameter.Type = ParseTypeTokens(Cursor, Declarator, ParamLine);
			if (!Default.empty())
			{
				Default.erase(Default.begin());
				if (Default.empty())
				{
					Cursor.FailAt(ParamLine, "missing default value of parameter '" + Parameter.Name + "'");
				}
				Parameter.DefaultValue = JoinTokens(Default);
			}
			Parameters.push_back(std::move(Parameter));
		}
		return Parameters;
	}

	void FHeaderParser::ParseFunction(FStructLike& Owner, EAccess Access)
	{
		const size_t MacroIndex = Cursor.Position();
		const int MacroLine = Cursor.Current().Line;
		Cursor.Advance();
		FFunction Function;
		Function.Specifiers = ParseSpecifierList(Cursor, EMacroKind::Function, MacroLine);
		Function.Metadata = CommentMetadataAt(MacroIndex);
		Function.Access = Access;
		Function.Line = Cursor.Current().Line;

		FTokenRun Leading;
		while (!Cursor.Current().Is("("))
		{
			const FToken& Token = Cursor.Current();
			if (Cursor.AtEnd() || Token.Is(";") || Token.Is("{") || Token.Is("}") || Token.Is("="))
			{
				Cursor.FailAt(MacroLine, "UFUNCTION must be followed by a function declaration");
			}
			if (Token.Is("template"))
			{
				Cursor.Fail("UFUNCTION cannot be applied to a function template");
			}
			if (Token.Is("[") && Cursor.Peek().Is("["))
			{
				while (!(Cursor.Current().Is("]") && Cursor.Peek().Is("]")))
				{
					Cursor.Advance();
				}
				Cursor.Advance();
				Cursor.Advance();
				continue;
			}
			if (Token.Is("static"))
			{
				Function.bStatic = true;
			}
			else if (Token.Kind == ETokenKind::Identifier && EndsWith(Token.Text, "_API"))
			{
				Function.bExported = true;
			}
			else if (Token.Is("operator"))
			{
				Cursor.Fail("UFUNCTION cannot be applied to an operator");
			}
			else if (!IsDeclarationDecoration(Token))
			{
				Leading.push_back(&Token);
			}
			Cursor.Advance();
		}
		if (Leading.empty() || Leading.back()->Kind != ETokenKind::Identifier)
		{
			Cursor.FailAt(MacroLine, "UFUNCTION must be followed by a function declaration");
		}
		Function.Name = Leading.back()->Text;
		Leading.pop_back();
		if (Leading.empty() || Function.Name == Owner.Name)
		{
			Cursor.FailAt(MacroLine, "UFUNCTION cannot be applied to a constructor");
		}
		if (Leading.back()->Is("~"))
		{
			Cursor.FailAt(MacroLine, "UFUNCTION cannot be applied to a destructor");
		}
		const FTokenRun ParameterTokens = ReadParenthesized("the parameter list", Function.Line);
		Function.Parameters = ParseParameterList(ParameterTokens, Function.Line);

		const bool bVoid = Leading.size() == 1 && Leading.front()->Is("void");
		if (!bVoid)
		{
			FParameter ReturnValue;
			ReturnValue.Name = "ReturnValue";
			ReturnValue.Line = Function.Line;
			ReturnValue.Type = ParseTypeTokens(Cursor, Leading, Function.Line);
			if (ReturnValue.Type.bReference)
			{
				Cursor.FailAt(Function.Line, "unsupported type '" + ReturnValue.Type.Text + "' (reference results cannot be reflected)");
			}
			Function.ReturnValue = std::move(ReturnValue);
		}

		// Qualifiers after the parameter list, then either ';' or an inline body.
		while (!Cursor.Current().Is(";") && !Cursor.Current().Is("{"))
		{
			const FToken& Token = Cursor.Current();
			if (Cursor.AtEnd() || Token.Is("}"))
			{
				Cursor.Fail("expected ';' after the declaration of '" + Function.Name + "'");
			}
			if (Token.Is("const"))
			{
				Function.bConst = true;
			}
			if (Token.Is("("))
			{
				SkipBalanced();
				continue;
			}
			Cursor.Advance();
		}
		if (Cursor.Current().Is("{"))
		{
			SkipBalanced();
			Cursor.TryConsume(";");
		}
		else
		{
			Cursor.Advance();
		}
		Owner.Functions.push_back(std::move(Function));
	}

	void FHeaderParser::ParseProperty(FStructLike& Owner, EAccess Access)
	{
		const size_t MacroIndex = Cursor.Position();
		const int MacroLine = Cursor.Current().Line;
		Cursor.Advance();
		FProperty Property;
		Property.Specifiers = ParseSpecifierList(Cursor, EMacroKind::Property, MacroLine);
		Property.Metadata = CommentMetadataAt(MacroIndex);
		Property.Access = Access;
		Property.Line = Cursor.Current().Line;

		FTokenRun Declarator;
		int AngleDepth = 0;
		while (true)
		{
			const FToken& Token = Cursor.Current();
			if (Cursor.AtEnd() || Token.Is("}") || (Token.Is("(") && AngleDepth == 0))
			{
				Cursor.FailAt(MacroLine, "UPROPERTY must be followed by a member variable declaration");
			}
			if (AngleDepth == 0 && (Token.Is(";") || Token.Is("=") || Token.Is("{")))
			{
				break;
			}
			if (AngleDepth == 0 && Token.Is(","))
			{
				Cursor.Fail("a UPROPERTY must declare exactly one variable");
			}
			if (AngleDepth == 0 && Token.Is("["))
			{
				Cursor.Fail("unsupported static array property '" + JoinTokens(Declarator) + "'");
			}
			if (AngleDepth == 0 && Token.Is(":"))
			{
				Cursor.Fail("unsupported bitfield property '" + JoinTokens(Declarator) + "'");
			}
			if (Token.Is("static"))
			{
				Cursor.Fail("a UPROPERTY cannot be static");
			}
			if (Token.Is("<"))
			{
				++AngleDepth;
			}
			else if (Token.Is(">"))
			{
				--AngleDepth;
			}
			else if (Token.Is(">>"))
			{
				AngleDepth -= 2;
			}
			if (!IsDeclarationDecoration(Token))
			{
				Declarator.push_back(&Token);
			}
			Cursor.Advance();
		}
		if (Declarator.size() < 2 || Declarator.back()->Kind != ETokenKind::Identifier)
		{
			Cursor.FailAt(MacroLine, "UPROPERTY must be followed by a member variable declaration");
		}
		Property.Name = Declarator.back()->Text;
		Declarator.pop_back();
		Property.Type = ParseTypeTokens(Cursor, Declarator, Property.Line);

		// Step over the initializer: "= expr;" or "{init};".
		if (Cursor.Current().Is("{"))
		{
			SkipBalanced();
		}
		while (!Cursor.Current().Is(";"))
		{
			if (Cursor.AtEnd() || Cursor.Current().Is("}"))
			{
				Cursor.Fail("expected ';' after the declaration of '" + Property.Name + "'");
			}
			if (Cursor.Current().Is("{") || Cursor.Current().Is("("))
			{
				SkipBalanced();
				continue;
			}
			Cursor.Advance();
		}
		Cursor.Advance();
		Owner.Properties.push_back(std::move(Property));
	}

	void FHeaderParser::ParseConstructor(FStructLike& Owner)
	{
		const int Line = Cursor.Current().Line;
		Cursor.Advance();
		const FTokenRun Parameters = ReadParenthesized("the constructor", Line);
		Owner.Constructors.bDeclaresAny = true;
		Owner.Constructors.bDeclaresDefault |= Parameters.empty() || (Parameters.size() == 1 && Parameters.front()->Is("void"));
		for (const FToken* Token : Parameters)
		{
			if (Token->Is("FObjectInitializer"))
			{
				Owner.Constructors.bDeclaresObjectInitializer = true;
			}
			else if (Token->Is("FVTableHelper"))
			{
				Owner.Constructors.bDeclaresVTableHelper = true;
			}
		}
	}
}
