#pragma once

#include <string>
#include <vector>

namespace HeaderTool
{
	enum class ETokenKind
	{
		Identifier,
		Number,
		String,
		Char,
		Symbol,
		// Comments and preprocessor lines stay in the stream: a comment documents the declaration
		// that follows it only when nothing else stands between them.
		LineComment,
		BlockComment,
		Preprocessor,
		EndOfFile,
	};

	struct FToken
	{
		ETokenKind Kind = ETokenKind::EndOfFile;
		/** Source text; for strings and chars including the quotes. */
		std::string Text;
		int Line = 0;
		/** Column of the first character, 0-based, tabs counting as one. */
		int Column = 0;
		/** True when no other token precedes this one on its line. */
		bool bFirstOnLine = false;

		bool Is(const char* InText) const
		{
			return (Kind == ETokenKind::Identifier || Kind == ETokenKind::Symbol) && Text == InText;
		}
		bool IsComment() const
		{
			return Kind == ETokenKind::LineComment || Kind == ETokenKind::BlockComment;
		}
	};

	/**
	 * Splits a header into tokens. Strings, character literals, raw strings and digit separators
	 * are recognised so that braces or quotes inside them never disturb brace matching; regions
	 * under "#if 0" are dropped. The last token is always EndOfFile.
	 */
	std::vector<FToken> Tokenize(const std::string& Source, const std::string& FileName);

	/** The unquoted, unescaped content of a string token. */
	std::string UnquoteString(const std::string& TokenText);
}
