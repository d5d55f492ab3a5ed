#pragma once

#include "Model.h"
#include "TokenCursor.h"

namespace HeaderTool
{
	enum class EMacroKind
	{
		Class,
		Struct,
		Enum,
		Function,
		Property,
		Parameter,
		EnumEntry,
	};

	/** "UCLASS", "UPROPERTY", ... as written in headers. */
	const char* MacroName(EMacroKind Kind);

	/**
	 * Reads `(Name, Name=Value, meta=(...))` starting at the opening parenthesis. Every
	 * specifier must be one the engine knows for that macro; meta keys are free.
	 */
	FSpecifierList ParseSpecifierList(FTokenCursor& Cursor, EMacroKind Kind, int MacroLine);

	/** Case-insensitive lookup, as the engine treats specifier names. */
	const FSpecifier* FindSpecifier(const FSpecifierList& List, const char* Key);

	bool EqualsIgnoreCase(const std::string& A, const char* B);
}
