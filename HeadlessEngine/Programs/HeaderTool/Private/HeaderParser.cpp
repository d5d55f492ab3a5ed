#include "HeaderParser.h"

#include "CommentMetadata.h"
#include "HeaderParserPrivate.h"

namespace HeaderTool
{
	namespace Private
	{
		namespace
		{
			bool IsGeneratedBodyMacro(const FToken& Token)
			{
				return Token.Is("GENERATED_BODY") || Token.Is("GENERATED_UCLASS_BODY") || Token.Is("GENERATED_USTRUCT_BODY");
			}

			bool EndsWith(const std::string& Text, const char* Suffix)
			{
				const size_t Length = std::char_traits<char>::length(Suffix);
				return Text.size() >= Length && Text.compare(Text.size() - Length, Length, Suffix) == 0;
			}
		}

		bool IsReflectionMacro(const std::string& Word)
		{
			return Word == "UCLASS" || Word == "USTRUCT" || Word == "UENUM" || Word == "UFUNCTION" || Word == "UPROPERTY"
				|| Word == "UMETA" || Word == "GENERATED_BODY" || Word == "GENERATED_UCLASS_BODY" || Word == "GENERATED_USTRUCT_BODY"
				|| Word == "UINTERFACE" || Word == "UDELEGATE";
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

		void FHeaderParser::ParseEnum()
		{
			const size_t MacroIndex = Cursor.Position();
			const int MacroLine = Cursor.Current().Line;
			Cursor.Advance();
			auto Enum = std::make_unique<FEnum>();
			Enum->Specifiers = ParseSpecifierList(Cursor, EMacroKind::Enum, MacroLine);
			Enum->Metadata = CommentMetadataAt(MacroIndex);
			Enum->Line = Cursor.Current().Line;

			if (Cursor.TryConsume("namespace"))
			{
				Enum->Form = EEnumForm::Namespaced;
				Enum->Name = Cursor.ExpectIdentifier("expected a namespace name after UENUM() namespace").Text;
				Cursor.Expect("{", "expected '{' after namespace '" + Enum->Name + "'");
				Cursor.Expect("enum", "a UENUM namespace must contain 'enum Type'");
				if (!Cursor.Current().Is("Type"))
				{
					Cursor.Fail("a UENUM namespace must contain 'enum Type'");
				}
				Cursor.Advance();
				ParseEnumEntries(*Enum);
				while (!Cursor.Current().Is("}"))
				{
					if (Cursor.AtEnd())
					{
						Cursor.FailAt(Enum->Line, "unterminated namespace '" + Enum->Name + "'");
					}
					if (Cursor.Current().Is("{") || Cursor.Current().Is("("))
					{
						SkipBalanced();
						continue;
					}
					Cursor.Advance();
				}
				Cursor.Advance();
			}
			else if (Cursor.TryConsume("enum"))
			{
				Enum->Form = (Cursor.TryConsume("class") || Cursor.TryConsume("struct")) ? EEnumForm::EnumClass : EEnumForm::Regular;
				Enum->Name = Cursor.ExpectIdentifier("expected an enum name").Text;
				ParseEnumEntries(*Enum);
			}
			else
			{
				Cursor.FailAt(MacroLine, "UENUM must be followed by an enum or a namespace declaration");
			}
			Header.Enums.push_back(std::move(Enum));
		}

		void FHeaderParser::ParseEnumEntries(FEnum& Enum)
		{
			if (Cursor.TryConsume(":"))
			{
				FTokenRun Underlying;
				while (!Cursor.Current().Is("{"))
				{
					if (Cursor.AtEnd() || Cursor.Current().Is(";"))
					{
						Cursor.Fail("expected '{' after enum '" + Enum.Name + "'");
					}
					Underlying.push_back(&Cursor.Advance());
				}
				Enum.UnderlyingType = JoinTokens(Underlying);
			}
			if (Cursor.Current().Is(";"))
			{
				Cursor.Fail("UENUM must be followed by an enum definition, not a forward declaration");
			}
			const int OpenLine = Cursor.Current().Line;
			Cursor.Expect("{", "expected '{' after enum '" + Enum.Name + "'");
			while (!Cursor.Current().Is("}"))
			{
				if (Cursor.AtEnd())
				{
					Cursor.FailAt(OpenLine, "unterminated enum '" + Enum.Name + "'");
				}
				FEnumEntry Entry;
				Entry.Line = Cursor.Current().Line;
				Entry.Name = Cursor.ExpectIdentifier("expected an enumerator name in '" + Enum.Name + "'").Text;
				int Depth = 0;
				while (Depth > 0 || !(Cursor.Current().Is(",") || Cursor.Current().Is("}")))
				{
					const FToken& Token = Cursor.Current();
					if (Cursor.AtEnd() || Token.Is(";"))
					{
						Cursor.FailAt(OpenLine, "unterminated enum '" + Enum.Name + "'");
					}
					if (Token.Is("UMETA"))
					{
						Cursor.Advance();
						const FSpecifierList Meta = ParseSpecifierList(Cursor, EMacroKind::EnumEntry, Token.Line);
						Entry.Meta = Meta.Meta;
						continue;
					}
					if (Token.Is("("))
					{
						++Depth;
					}
					else if (Token.Is(")"))
					{
						--Depth;
					}
					Cursor.Advance();
				}
				Enum.Entries.push_back(std::move(Entry));
				Cursor.TryConsume(",");
			}
			Cursor.Advance();
			Cursor.Expect(";", "expected ';' after enum '" + Enum.Name + "'");
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

	void ParseHeader(const std::string& Source, FHeader& Header)
	{
		const std::vector<FToken> Tokens = Tokenize(Source, Header.Path);
		FTokenCursor Cursor(Tokens, Header.Path);
		Private::FHeaderParser(Cursor, Header).Run();
	}
}
