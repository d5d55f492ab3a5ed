#include "HeaderParser.h"

#include "CommentMetadata.h"
#include "HeaderParserPrivate.h"

#include <algorithm>

namespace HeaderTool::Private
{
	namespace
	{
		bool IsGeneratedBodyMacro(const FToken& Token)
		{
			return Token.Is("GENERATED_BODY") || Token.Is("GENERATED_UCLASS_BODY") || Token.Is("GENERATED_USTRUCT_BODY");
		}
	}

	bool IsReflectionMacro(const std::string& Word)
	{
		return Word == "UCLASS" || Word == "USTRUCT" || Word == "UENUM" || Word == "UFUNCTION" || Word == "UPROPERTY"
			|| Word == "UMETA" || Word == "GENERATED_BODY" || Word == "GENERATED_UCLASS_BODY" || Word == "GENERATED_USTRUCT_BODY"
			|| Word == "UINTERFACE" || Word == "UDELEGATE" || Word == "UPARAM";
	}

	FMetadata FHeaderParser::CommentMetadataAt(size_t MacroIndex) const
	{
		FMetadata Metadata;
		AddCommentMetadata(Cursor.AllTokens(), FindDocumentationComment(Cursor.AllTokens(), MacroIndex), Metadata);
		return Metadata;
	}

	void FHeaderParser::Run()
	{
		int Depth = 0;
		while (!Cursor.AtEnd())
		{
			const FToken& Token = Cursor.Current();
			if (Token.Kind == ETokenKind::Identifier)
			{
				const bool bTypeMacro = Token.Is("UCLASS") || Token.Is("USTRUCT") || Token.Is("UENUM");
				const bool bDelegateMacro = Token.Text.rfind("DECLARE_DYNAMIC_", 0) == 0;
				if ((bTypeMacro || bDelegateMacro) && Depth != 0)
				{
					Cursor.Fail(Token.Text + " must be declared at global scope");
				}
				if (Token.Is("UCLASS"))
				{
					ParseStructLike(EMacroKind::Class);
					continue;
				}
				if (Token.Is("USTRUCT"))
				{
					ParseStructLike(EMacroKind::Struct);
					continue;
				}
				if (Token.Is("UENUM"))
				{
					ParseEnum();
					continue;
				}
				if (bDelegateMacro)
				{
					ParseDelegate();
					continue;
				}
				if (Token.Is("UINTERFACE") || Token.Is("UDELEGATE"))
				{
					Cursor.Fail(Token.Text + " is not supported");
				}
				if (IsGeneratedBodyMacro(Token))
				{
					Cursor.Fail(Token.Text + " outside of a UCLASS or USTRUCT");
				}
				if (Token.Is("UFUNCTION") || Token.Is("UPROPERTY"))
				{
					Cursor.Fail(Token.Text + " outside of a UCLASS or USTRUCT");
				}
				if (Token.Is("UMETA"))
				{
					Cursor.Fail("UMETA outside of a UENUM");
				}
				if (Token.Is("UPARAM"))
				{
					Cursor.Fail("UPARAM outside of the parameter list of a UFUNCTION");
				}
			}
			else if (Token.Is("{"))
			{
				++Depth;
			}
			else if (Token.Is("}"))
			{
				if (--Depth < 0)
				{
					Cursor.Fail("unbalanced '}'");
				}
			}
			Cursor.Advance();
		}
		if (Depth != 0)
		{
			Cursor.Fail("unbalanced '{' at end of file");
		}
	}

	void FHeaderParser::ParseStructLike(EMacroKind Kind)
	{
		const bool bClass = Kind == EMacroKind::Class;
		const char* Macro = MacroName(Kind);
		const size_t MacroIndex = Cursor.Position();
		const int MacroLine = Cursor.Current().Line;
		Cursor.Advance();

		auto Type = std::make_unique<FStructLike>();
		Type->bIsClass = bClass;
		Type->Specifiers = ParseSpecifierList(Cursor, Kind, MacroLine);
		Type->Metadata = CommentMetadataAt(MacroIndex);

		if (Cursor.Current().Is("template"))
		{
			Cursor.Fail(std::string(Macro) + " cannot be applied to a template");
		}
		const bool bKeywordOk = bClass ? Cursor.Current().Is("class") : (Cursor.Current().Is("struct") || Cursor.Current().Is("class"));
		if (!bKeywordOk)
		{
			Cursor.FailAt(MacroLine, std::string(Macro) + " must be followed by a " + (bClass ? "class" : "struct") + " declaration");
		}
		Type->Line = Cursor.Current().Line;
		Cursor.Advance();

		while (Cursor.Current().Kind == ETokenKind::Identifier && Cursor.Peek().Kind == ETokenKind::Identifier)
		{
			const std::string& Word = Cursor.Current().Text;
			if (EndsWith(Word, "_API"))
			{
				Type->ApiMacro = Word;
			}
			else if (Word == "final")
			{
				break;
			}
			Cursor.Advance();
		}
		Type->Name = Cursor.ExpectIdentifier(std::string("expected a name after ") + (bClass ? "'class'" : "'struct'")).Text;
		Cursor.TryConsume("final");
		if (Cursor.Current().Is("<"))
		{
			Cursor.Fail(std::string(Macro) + " cannot be applied to a template");
		}
		if (Cursor.Current().Is(";"))
		{
			Cursor.Fail(std::string(Macro) + " must be followed by a definition of '" + Type->Name + "', not a forward declaration");
		}

		if (Cursor.TryConsume(":"))
		{
			FTokenRun BaseTokens;
			while (!Cursor.Current().Is("{"))
			{
				if (Cursor.AtEnd() || Cursor.Current().Is(";"))
				{
					Cursor.Fail("expected '{' after the base classes of '" + Type->Name + "'");
				}
				BaseTokens.push_back(&Cursor.Advance());
			}
			const std::vector<FTokenRun> Bases = SplitTopLevel(BaseTokens);
			FTokenRun FirstBase;
			for (const FToken* Token : Bases.empty() ? FTokenRun() : Bases.front())
			{
				if (!Token->Is("public") && !Token->Is("protected") && !Token->Is("private") && !Token->Is("virtual"))
				{
					FirstBase.push_back(Token);
				}
			}
			Type->SuperName = JoinTokens(FirstBase);
		}
		if (!Cursor.Current().Is("{"))
		{
			Cursor.Fail("expected '{' after '" + Type->Name + "'");
		}
		ParseBody(*Type, Kind);
		if (Type->GeneratedBodyLine == 0)
		{
			Cursor.FailAt(Type->Line, std::string("missing GENERATED_BODY() in ") + (bClass ? "class" : "struct") + " '" + Type->Name + "'");
		}
		(bClass ? Header.Classes : Header.Structs).push_back(std::move(Type));
	}

	void FHeaderParser::ParseBody(FStructLike& Type, EMacroKind Kind)
	{
		const bool bClass = Kind == EMacroKind::Class;
		EAccess Access = bClass ? EAccess::Private : EAccess::Public;
		const int OpenLine = Cursor.Current().Line;
		Cursor.Expect("{", "expected '{'");
		const FToken* Previous = nullptr;
		while (!Cursor.Current().Is("}"))
		{
			const FToken& Token = Cursor.Current();
			if (Cursor.AtEnd())
			{
				Cursor.FailAt(OpenLine, "unterminated body of '" + Type.Name + "'");
			}
			if ((Token.Is("public") || Token.Is("protected") || Token.Is("private")) && Cursor.Peek().Is(":"))
			{
				Access = Token.Is("public") ? EAccess::Public : (Token.Is("protected") ? EAccess::Protected : EAccess::Private);
				Cursor.Advance();
				Cursor.Advance();
				Previous = nullptr;
				continue;
			}
			if (IsGeneratedBodyMacro(Token))
			{
				if (Type.GeneratedBodyLine != 0)
				{
					Cursor.Fail("more than one " + Token.Text + " in '" + Type.Name + "'");
				}
				Type.GeneratedBodyLine = Token.Line;
				Type.bLegacyGeneratedBody = Token.Is("GENERATED_UCLASS_BODY");
				Cursor.Advance();
				ReadParenthesized(Token.Text.c_str(), Token.Line);
				Cursor.TryConsume(";");
				if (bClass)
				{
					Access = Type.bLegacyGeneratedBody ? EAccess::Public : EAccess::Private;
				}
				Previous = nullptr;
				continue;
			}
			if (Token.Is("UFUNCTION"))
			{
				if (!bClass)
				{
					Cursor.Fail("UFUNCTION is not allowed in a USTRUCT");
				}
				ParseFunction(Type, Access);
				Previous = nullptr;
				continue;
			}
			if (Token.Is("UPROPERTY"))
			{
				ParseProperty(Type, Access);
				Previous = nullptr;
				continue;
			}
			if (Token.Kind == ETokenKind::Identifier && (IsReflectionMacro(Token.Text) || Token.Text.rfind("DECLARE_DYNAMIC_", 0) == 0))
			{
				Cursor.Fail(Token.Text + " is not supported inside '" + Type.Name + "'");
			}
			if (Token.Is(Type.Name.c_str()) && Cursor.Peek().Is("(") && !(Previous && (Previous->Is("~") || Previous->Is("::"))))
			{
				ParseConstructor(Type);
				Previous = nullptr;
				continue;
			}
			if (Token.Is("{") || Token.Is("("))
			{
				SkipBalanced();
				Previous = nullptr;
				continue;
			}
			Previous = &Cursor.Advance();
		}
		Cursor.Advance();
		if (!Cursor.Current().Is(";"))
		{
			Cursor.Fail("expected ';' after the definition of '" + Type.Name + "'");
		}
		Cursor.Advance();
	}

	FTokenRun FHeaderParser::ReadParenthesized(const char* What, int Line)
	{
		FTokenRun Inner;
		Cursor.Expect("(", std::string("expected '(' after ") + What);
		int Depth = 1;
		while (true)
		{
			const FToken& Token = Cursor.Current();
			if (Cursor.AtEnd() || Token.Is(";") || Token.Is("{") || Token.Is("}"))
			{
				Cursor.FailAt(Line, std::string("unbalanced parentheses in ") + What + "(...)");
			}
			if (Token.Is("("))
			{
				++Depth;
			}
			else if (Token.Is(")") && --Depth == 0)
			{
				Cursor.Advance();
				return Inner;
			}
			Inner.push_back(&Cursor.Advance());
		}
	}

	void FHeaderParser::SkipBalanced()
	{
		const FToken& Open = Cursor.Current();
		const int OpenLine = Open.Line;
		int Depth = 0;
		do
		{
			const FToken& Token = Cursor.Current();
			if (Cursor.AtEnd())
			{
				Cursor.FailAt(OpenLine, "unbalanced '" + Open.Text + "'");
			}
			if (Token.Is("{") || Token.Is("("))
			{
				++Depth;
			}
			else if (Token.Is("}") || Token.Is(")"))
			{
				--Depth;
			}
			else if (Token.Kind == ETokenKind::Identifier && IsReflectionMacro(Token.Text))
			{
				Cursor.Fail(Token.Text + " is not supported in a nested or non-reflected scope");
			}
			Cursor.Advance();
		} while (Depth > 0);
	}
}

namespace HeaderTool
{
	void ParseHeader(const std::string& Source, FHeader& Header)
	{
		const std::vector<FToken> Tokens = Tokenize(Source, Header.Path);
		FTokenCursor Cursor(Tokens, Header.Path);
		Private::FHeaderParser(Cursor, Header).Run();
	}

	void CheckGeneratedHeaderInclude(const std::string& Source, const FHeader& Header)
	{
		const std::string Expected = "\"" + Header.Stem + ".generated.h\"";
		int IncludeLine = 0;
		for (const FToken& Token : Tokenize(Source, Header.Path))
		{
			if (Token.Kind != ETokenKind::Preprocessor)
			{
				continue;
			}
			std::string Directive;
			for (const char C : Token.Text)
			{
				if (C != ' ' && C != '\t')
				{
					Directive += C;
				}
			}
			if (Directive.rfind("#include", 0) != 0)
			{
				continue;
			}
			if (IncludeLine != 0)
			{
				throw FHeaderToolError(Header.Path, Token.Line, "#include after " + Expected + ": the generated header must be the last #include");
			}
			if (Directive.compare(8, Expected.size(), Expected) == 0)
			{
				IncludeLine = Token.Line;
			}
		}
		if (IncludeLine == 0)
		{
			int FirstDeclaration = 0;
			auto Consider = [&FirstDeclaration](int Line)
			{
				FirstDeclaration = FirstDeclaration == 0 ? Line : std::min(FirstDeclaration, Line);
			};
			for (const auto& Class : Header.Classes)
			{
				Consider(Class->Specifiers.Line);
			}
			for (const auto& Struct : Header.Structs)
			{
				Consider(Struct->Specifiers.Line);
			}
			for (const auto& Enum : Header.Enums)
			{
				Consider(Enum->Specifiers.Line);
			}
			for (const auto& Delegate : Header.Delegates)
			{
				Consider(Delegate->Line);
			}
			throw FHeaderToolError(Header.Path, std::max(FirstDeclaration, 1), "missing #include " + Expected + " (a header with reflected declarations must include it last)");
		}
	}
}
