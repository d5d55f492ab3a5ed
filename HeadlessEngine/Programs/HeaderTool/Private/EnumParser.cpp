#include "HeaderParserPrivate.h"

// UENUM() enum class E : uint8 {...}, UENUM() enum E {...} and UENUM() namespace E { enum Type {...}; }.
namespace HeaderTool::Private
{
	void FHeaderParser::ParseEnum()
	{
		const size_t MacroIndex = Cursor.Position();
		const int MacroLine = Cursor.Current().Line;
		Cursor.Advance();
		auto Enum = std::make_unique<FEnum>();
		Enum->Module = Header.Module;
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
			Entry.Meta = CommentMetadataAt(Cursor.Position());
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
					for (const auto& [Key, Value] : Meta.Meta)
					{
						Entry.Meta[Key] = Value;
					}
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
}
