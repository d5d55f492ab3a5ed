#pragma once

#include "Model.h"
#include "MacroArgumentList.h"
#include "TokenCursor.h"

#include <vector>

namespace HeaderTool::Private
{
	/** Tokens of one comma-separated part, e.g. one parameter. */
	using FTokenRun = std::vector<const FToken*>;

	bool EndsWith(const std::string& Text, const char* Suffix);

	/** Joins tokens as a C++ type is usually written: "const FFoo&", "TObjectPtr<UClass>". */
	std::string JoinTokens(const FTokenRun& Tokens);

	/** Splits Tokens at commas outside (), <>, [] and {}. */
	std::vector<FTokenRun> SplitTopLevel(const FTokenRun& Tokens);

	/** Strips const, references and elaborated-type keywords; fails on types that cannot be parameters. */
	FParsedType ParseTypeTokens(const FTokenCursor& Cursor, const FTokenRun& Tokens, int Line);

	/** True for the macros that only make sense inside a reflected declaration. */
	bool IsReflectionMacro(const std::string& Word);

	class FHeaderParser
	{
	public:
		FHeaderParser(FTokenCursor& InCursor, FHeader& InHeader)
			: Cursor(InCursor)
			, Header(InHeader)
		{
		}

		void Run();

	private:
		void ParseStructLike(EMacroKind Kind);
		void ParseBody(FStructLike& Type, EMacroKind Kind);
		void ParseEnum();
		void ParseEnumEntries(FEnum& Enum);
		void ParseDelegate();
		void ParseFunction(FStructLike& Owner, EAccess Access);
		void ParseProperty(FStructLike& Owner, EAccess Access);
		void ParseConstructor(FStructLike& Owner);
		std::vector<FParameter> ParseParameterList(const FTokenRun& Tokens, int Line);
		/** Reads and removes a leading UPARAM(...) of one parameter's tokens. */
		FSpecifierList ParseParameterSpecifiers(FTokenRun& Declarator) const;

		/** Reads the tokens from '(' to the matching ')'; the cursor ends after ')'. Returns the inner tokens. */
		FTokenRun ReadParenthesized(const char* What, int Line);
		/** Steps over a balanced {...} or (...) block starting at the cursor, refusing reflection macros inside. */
		void SkipBalanced();

		FMetadata CommentMetadataAt(size_t MacroIndex) const;

		FTokenCursor& Cursor;
		FHeader& Header;
	};
}
