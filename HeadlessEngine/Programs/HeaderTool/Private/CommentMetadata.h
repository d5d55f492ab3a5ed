#pragma once

#include "Lexer.h"
#include "Model.h"

#include <vector>

namespace HeaderTool
{
	/**
	 * The documentation comment of the declaration that starts at Tokens[MacroIndex]: the block
	 * comment, or the run of "//" lines on consecutive lines, that ends on the line before it.
	 * Comments sharing a line with code, or separated from it by a blank line, are not documentation.
	 * Returns the indices of the comment tokens, first to last; empty when there is none.
	 */
	std::vector<size_t> FindDocumentationComment(const std::vector<FToken>& Tokens, size_t MacroIndex);

	/** Adds "Comment" and "ToolTip" for the given comment tokens; nothing when there are none. */
	void AddCommentMetadata(const std::vector<FToken>& Tokens, const std::vector<size_t>& CommentIndices, FMetadata& OutMetadata);

	/** The "Comment" value: the comment as written, without indentation. */
	std::string FormatComment(const std::vector<FToken>& Tokens, const std::vector<size_t>& CommentIndices);

	/** The "ToolTip" value: the comment text without comment markers. */
	std::string FormatToolTip(const std::vector<FToken>& Tokens, const std::vector<size_t>& CommentIndices);
}
