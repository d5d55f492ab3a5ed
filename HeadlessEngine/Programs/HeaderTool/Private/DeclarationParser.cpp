#include "CommentMetadata.h"
#include "HeaderParserPrivate.h"
#include "ReflectionFlags.h"

#include <cctype>

// Members and delegate declarations: the parts of a reflected declaration after its macro.
namespace HeaderTool::Private
{
	namespace
	{
		bool IsWordToken(const FToken& Token)
		{
			return Token.Kind == ETokenKind::Identifier || Token.Kind == ETokenKind::Number;
		}

		bool EndsWith(const std::string& Text, const char* Suffix)
		{
			const size_t Length = std::char_traits<char>::length(Suffix);
			return Text.size() >= Length && Text.compare(Text.size() - Length, Length, Suffix) == 0;
		}

		/** Words that may precede a member declaration without being part of its type. */
		bool IsDeclarationDecoration(const FToken& Token)
		{
			return Token.Is("virtual") || Token.Is("inline") || Token.Is("FORCEINLINE") || Token.Is("FORCENOINLINE")
				|| Token.Is("explicit") || Token.Is("constexpr") || Token.Is("mutable") || Token.Is("UE_NODISCARD")
				|| (Token.Kind == ETokenKind::Identifier && EndsWith(Token.Text, "_API"));
		}

		const char* const DelegateParamCounts[] = { "", "_OneParam", "_TwoParams", "_ThreeParams", "_FourParams", "_FiveParams",
			"_SixParams", "_SevenParams", "_EightParams", "_NineParams" };
	}

	std::string JoinTokens(const FTokenRun& Tokens)
	{
		std::string Result;
		const FToken* Previous = nullptr;
		for (const FToken* Token : Tokens)
		{
			if (Previous != nullptr && IsWordToken(*Previous) && IsWordToken(*Token))
			{
				Result += ' ';
			}
			Result += Token->Text;
			Previous = Token;
		}
		return Result;
	}

	std::vector<FTokenRun> SplitTopLevel(const FTokenRun& Tokens)
	{
		std::vector<FTokenRun> Parts;
		if (Tokens.empty())
		{
			return Parts;
		}
		Parts.emplace_back();
		int Depth = 0;
		for (const FToken* Token : Tokens)
		{
			if (Token->Is("(") || Token->Is("<") || Token->Is("[") || Token->Is("{"))
			{
				++Depth;
			}
			else if (Token->Is(")") || Token->Is(">") || Token->Is("]") || Token->Is("}"))
			{
				--Depth;
			}
			else if (Token->Is(">>"))
			{
				Depth -= 2;
			}
			else if (Depth == 0 && Token->Is(","))
			{
				Parts.emplace_back();
				continue;
			}
			Parts.back().push_back(Token);
		}
		return Parts;
	}

	FParsedType ParseTypeTokens(const FTokenCursor& Cursor, const FTokenRun& Tokens, int Line)
	{
		FParsedType Result;
		Result.Text = JoinTokens(Tokens);
		FTokenRun Base = Tokens;
		if (!Base.empty() && Base.back()->Is("&&"))
		{
			Cursor.FailAt(Line, "unsupported type '" + Result.Text + "'");
		}
		if (!Base.empty() && Base.back()->Is("&"))
		{
			Result.bReference = true;
			Base.pop_back();
		}
		if (!Base.empty() && Base.back()->Is("const"))
		{
			Result.bConst = true;
			Base.pop_back();
		}
		if (!Base.empty() && Base.front()->Is("const"))
		{
			Result.bConst = true;
			Base.erase(Base.begin());
		}
		if (!Base.empty() && (Base.front()->Is("class") || Base.front()->Is("struct") || Base.front()->Is("enum")))
		{
			Base.erase(Base.begin());
		}
		if (Base.empty())
		{
			Cursor.FailAt(Line, "missing type");
		}
		Result.BaseText = JoinTokens(Base);
		return Result;
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
			int Depth = 0;
			for (const FToken* Token : Part)
			{
				if (Token->Is("(") || Token->Is("<") || Token->Is("[") || Token->Is("{"))
				{
					++Depth;
				}
				else if (Token->Is(")") || Token->Is(">") || Token->Is("]") || Token->Is("}"))
				{
					--Depth;
				}
				if (Depth == 0 && Token->Is("="))
				{
					break;
				}
				Declarator.push_back(Token);
			}
			if (Declarator.empty())
			{
				Cursor.FailAt(Line, "empty parameter");
			}
			const int ParamLine = Declarator.front()->Line;
			if (Declarator.back()->Is("]") || Declarator.back()->Is(")"))
			{
				Cursor.FailAt(ParamLine, "unsupported type '" + JoinTokens(Declarator) + "'");
			}
			if (Declarator.size() < 2 || Declarator.back()->Kind != ETokenKind::Identifier || Declarator[Declarator.size() - 2]->Is("::"))
			{
				Cursor.FailAt(ParamLine, "parameter '" + JoinTokens(Declarator) + "' must be named");
			}
			FParameter Parameter;
			Parameter.Name = Declarator.back()->Text;
			Parameter.Line = ParamLine;
			Declarator.pop_back();
			Parameter.Type = ParseTypeTokens(Cursor, Declarator, ParamLine);
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

	void FHeaderParser::ParseDelegate()
	{
		const FToken& MacroToken = Cursor.Current();
		const size_t MacroIndex = Cursor.Position();
		const std::string& Macro = MacroToken.Text;
		const std::string SparsePrefix = "DECLARE_DYNAMIC_MULTICAST_SPARSE_DELEGATE";
		const std::string MulticastPrefix = "DECLARE_DYNAMIC_MULTICAST_DELEGATE";
		const bool bSparse = Macro.rfind(SparsePrefix, 0) == 0;
		if (!bSparse && Macro.rfind(MulticastPrefix, 0) != 0)
		{
			Cursor.Fail("unsupported delegate declaration '" + Macro + "' (only dynamic multicast delegates are reflected)");
		}
		const std::string Suffix = Macro.substr(bSparse ? SparsePrefix.size() : MulticastPrefix.size());
		int ParamCount = -1;
		for (int Count = 0; Count < static_cast<int>(std::size(DelegateParamCounts)); ++Count)
		{
			if (Suffix == DelegateParamCounts[Count])
			{
				ParamCount = Count;
			}
		}
		if (ParamCount < 0 || (bSparse && ParamCount == 0))
		{
			Cursor.Fail("unsupported delegate declaration '" + Macro + "'");
		}

		auto Delegate = std::make_unique<FDelegate>();
		Delegate->Line = MacroToken.Line;
		Delegate->bSparse = bSparse;
		Delegate->Module = Header.Module;
		AddCommentMetadata(Cursor.AllTokens(), FindDocumentationComment(Cursor.AllTokens(), MacroIndex), Delegate->Metadata);
		Cursor.Advance();
		const FTokenRun Arguments = ReadParenthesized(Macro.c_str(), Delegate->Line);
		const std::vector<FTokenRun> Parts = SplitTopLevel(Arguments);
		const size_t Leading = bSparse ? 3 : 1;
		if (Parts.size() != Leading + 2 * ParamCount)
		{
			Cursor.FailAt(Delegate->Line, Macro + " expects " + std::to_string(Leading + 2 * ParamCount) + " arguments");
		}
		for (size_t Index = 0; Index < Leading; ++Index)
		{
			if (Parts[Index].size() != 1 || Parts[Index].front()->Kind != ETokenKind::Identifier)
			{
				Cursor.FailAt(Delegate->Line, "expected a name as argument " + std::to_string(Index + 1) + " of " + Macro);
			}
		}
		Delegate->Name = Parts[0].front()->Text;
		if (Delegate->Name.size() < 2 || Delegate->Name[0] != 'F')
		{
			Cursor.FailAt(Delegate->Line, "delegate type '" + Delegate->Name + "' must start with 'F'");
		}
		if (bSparse)
		{
			Delegate->OwningClass = Parts[1].front()->Text;
			Delegate->MemberName = Parts[2].front()->Text;
		}
		for (int Index = 0; Index < ParamCount; ++Index)
		{
			const FTokenRun& TypeTokens = Parts[Leading + 2 * Index];
			const FTokenRun& NameTokens = Parts[Leading + 2 * Index + 1];
			if (TypeTokens.empty() || NameTokens.size() != 1 || NameTokens.front()->Kind != ETokenKind::Identifier)
			{
				Cursor.FailAt(Delegate->Line, "expected a type and a name for parameter " + std::to_string(Index + 1) + " of " + Macro);
			}
			FParameter Parameter;
			Parameter.Name = NameTokens.front()->Text;
			Parameter.Line = Delegate->Line;
			Parameter.Type = ParseTypeTokens(Cursor, TypeTokens, Delegate->Line);
			Delegate->Parameters.push_back(std::move(Parameter));
		}
		Cursor.TryConsume(";");
		Header.Delegates.push_back(std::move(Delegate));
	}
}
