#include "HeaderParserPrivate.h"

// Runs of tokens as the parsers cut them out of a declaration: joined back to text, split at
// commas, read as a type.
namespace HeaderTool::Private
{
	namespace
	{
		bool IsWordToken(const FToken& Token)
		{
			return Token.Kind == ETokenKind::Identifier || Token.Kind == ETokenKind::Number;
		}
	}

	bool EndsWith(const std::string& Text, const char* Suffix)
	{
		const size_t Length = std::char_traits<char>::length(Suffix);
		return Text.size() >= Length && Text.compare(Text.size() - Length, Length, Suffix) == 0;
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
}
