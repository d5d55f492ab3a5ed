#include "CommentMetadata.h"

namespace HeaderTool
{
	namespace
	{
		std::string Trim(const std::string& Text)
		{
			const size_t First = Text.find_first_not_of(" \t\r\n");
			if (First == std::string::npos)
			{
				return std::string();
			}
			const size_t Last = Text.find_last_not_of(" \t\r\n");
			return Text.substr(First, Last - First + 1);
		}

		std::vector<std::string> SplitLines(const std::string& Text)
		{
			std::vector<std::string> Lines;
			size_t Start = 0;
			while (true)
			{
				const size_t End = Text.find('\n', Start);
				std::string Line = Text.substr(Start, End == std::string::npos ? std::string::npos : End - Start);
				if (!Line.empty() && Line.back() == '\r')
				{
					Line.pop_back();
				}
				Lines.push_back(std::move(Line));
				if (End == std::string::npos)
				{
					return Lines;
				}
				Start = End + 1;
			}
		}

		/** The line a comment token ends on. */
		int EndLine(const FToken& Token)
		{
			int Line = Token.Line;
			for (const char C : Token.Text)
			{
				Line += C == '\n' ? 1 : 0;
			}
			return Line;
		}

		/** Removes up to Count characters of leading blanks: the indentation the block's first line had. */
		std::string RemoveIndentation(const std::string& Line, int Count)
		{
			size_t Index = 0;
			while (Index < Line.size() && static_cast<int>(Index) < Count && (Line[Index] == ' ' || Line[Index] == '\t'))
			{
				++Index;
			}
			return Line.substr(Index);
		}
	}

	std::vector<size_t> FindDocumentationComment(const std::vector<FToken>& Tokens, size_t MacroIndex)
	{
		std::vector<size_t> Result;
		if (MacroIndex == 0 || !Tokens[MacroIndex].bFirstOnLine)
		{
			return Result;
		}
		size_t Index = MacroIndex - 1;
		const FToken& Last = Tokens[Index];
		// A blank line between a comment and the declaration separates them.
		if (!Last.IsComment() || !Last.bFirstOnLine || EndLine(Last) + 1 < Tokens[MacroIndex].Line)
		{
			return Result;
		}
		if (Last.Kind == ETokenKind::BlockComment)
		{
			Result.push_back(Index);
			return Result;
		}
		Result.push_back(Index);
		while (Index > 0)
		{
			const FToken& Previous = Tokens[Index - 1];
			if (Previous.Kind != ETokenKind::LineComment || !Previous.bFirstOnLine || Previous.Line != Tokens[Index].Line - 1)
			{
				break;
			}
			--Index;
			Result.insert(Result.begin(), Index);
		}
		return Result;
	}

	std::string FormatComment(const std::vector<FToken>& Tokens, const std::vector<size_t>& CommentIndices)
	{
		std::string Result;
		for (size_t Index : CommentIndices)
		{
			const FToken& Token = Tokens[Index];
			if (Token.Kind == ETokenKind::LineComment)
			{
				Result += Token.Text + "\n";
				continue;
			}
			const std::vector<std::string> Lines = SplitLines(Token.Text);
			for (size_t LineIndex = 0; LineIndex < Lines.size(); ++LineIndex)
			{
				if (LineIndex > 0)
				{
					Result += "\n";
				}
				std::string Line = LineIndex == 0 ? Lines[LineIndex] : RemoveIndentation(Lines[LineIndex], Token.Column);
				while (!Line.empty() && (Line.back() == ' ' || Line.back() == '\t'))
				{
					Line.pop_back();
				}
				Result += Line;
			}
		}
		return Result;
	}

	std::string FormatToolTip(const std::vector<FToken>& Tokens, const std::vector<size_t>& CommentIndices)
	{
		std::vector<std::string> Lines;
		for (size_t Index : CommentIndices)
		{
			const FToken& Token = Tokens[Index];
			if (Token.Kind == ETokenKind::LineComment)
			{
				std::string Line = Token.Text.substr(2);
				if (!Line.empty() && Line[0] == ' ')
				{
					Line.erase(0, 1);
				}
				Lines.push_back(Line);
				continue;
			}
			std::string Body = Token.Text.substr(2, Token.Text.size() - 4);
			if (!Body.empty() && Body[0] == '*')
			{
				Body.erase(0, 1);
			}
			for (const std::string& RawLine : SplitLines(Body))
			{
				std::string Line = Trim(RawLine);
				while (!Line.empty() && Line[0] == '*')
				{
					Line.erase(0, 1);
				}
				Line = Trim(Line);
				if (!Line.empty())
				{
					Lines.push_back(Line);
				}
			}
		}
		std::string Result;
		for (size_t LineIndex = 0; LineIndex < Lines.size(); ++LineIndex)
		{
			if (LineIndex > 0)
			{
				Result += "\n";
			}
			Result += Lines[LineIndex];
		}
		return Result;
	}

	void AddCommentMetadata(const std::vector<FToken>& Tokens, const std::vector<size_t>& CommentIndices, FMetadata& OutMetadata)
	{
		if (CommentIndices.empty())
		{
			return;
		}
		OutMetadata["Comment"] = FormatComment(Tokens, CommentIndices);
		const std::string ToolTip = FormatToolTip(Tokens, CommentIndices);
		if (!ToolTip.empty())
		{
			OutMetadata["ToolTip"] = ToolTip;
		}
	}
}
