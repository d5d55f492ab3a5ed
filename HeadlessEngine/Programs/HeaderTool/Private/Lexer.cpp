#include "Lexer.h"

#include "Diagnostics.h"

#include <cctype>

namespace HeaderTool
{
	namespace
	{
		bool IsIdentStart(char C)
		{
			return std::isalpha(static_cast<unsigned char>(C)) || C == '_';
		}

		bool IsIdentChar(char C)
		{
			return std::isalnum(static_cast<unsigned char>(C)) || C == '_';
		}

		class FLexer
		{
		public:
			FLexer(const std::string& InSource, const std::string& InFileName)
				: Source(InSource)
				, FileName(InFileName)
			{
			}

			std::vector<FToken> Run()
			{
				while (true)
				{
					SkipWhitespace();
					if (Pos >= Source.size())
					{
						break;
					}
					LexOne();
				}
				FToken End;
				End.Kind = ETokenKind::EndOfFile;
				End.Line = Line;
				End.bFirstOnLine = true;
				Tokens.push_back(End);
				return std::move(Tokens);
			}

		private:
			char Peek(size_t Offset = 0) const
			{
				return Pos + Offset < Source.size() ? Source[Pos + Offset] : '\0';
			}

			void Advance()
			{
				if (Source[Pos] == '\n')
				{
					++Line;
					LineStart = Pos + 1;
					bLineHasToken = false;
				}
				++Pos;
			}

			void SkipWhitespace()
			{
				while (Pos < Source.size())
				{
					const char C = Source[Pos];
					if (C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == '\f' || C == '\v')
					{
						Advance();
					}
					else if (C == '\\' && (Peek(1) == '\n' || (Peek(1) == '\r' && Peek(2) == '\n')))
					{
						Advance();
					}
					else
					{
						break;
					}
				}
			}

			void Push(ETokenKind Kind, size_t Start, int StartLine, size_t StartColumn)
			{
				FToken Token;
				Token.Kind = Kind;
				Token.Text = Source.substr(Start, Pos - Start);
				Token.Line = StartLine;
				Token.Column = static_cast<int>(StartColumn);
				Token.bFirstOnLine = !bStartLineHadToken;
				Tokens.push_back(std::move(Token));
				if (Line == StartLine)
				{
					bLineHasToken = true;
				}
			}

			void LexOne()
			{
				const size_t Start = Pos;
				const int StartLine = Line;
				const size_t StartColumn = Pos - LineStart;
				bStartLineHadToken = bLineHasToken;
				const char C = Peek();

				if (C == '/' && Peek(1) == '/')
				{
					while (Pos < Source.size() && Source[Pos] != '\n')
					{
						++Pos;
					}
					size_t End = Pos;
					while (End > Start && (Source[End - 1] == '\r' || Source[End - 1] == ' ' || Source[End - 1] == '\t'))
					{
						--End;
					}
					const size_t SavedPos = Pos;
					Pos = End;
					Push(ETokenKind::LineComment, Start, StartLine, StartColumn);
					Pos = SavedPos;
					bLineHasToken = true;
					return;
				}
				if (C == '/' && Peek(1) == '*')
				{
					Advance();
					Advance();
					while (Pos < Source.size() && !(Peek() == '*' && Peek(1) == '/'))
					{
						Advance();
					}
					if (Pos >= Source.size())
					{
						throw FHeaderToolError(FileName, StartLine, "unterminated block comment");
					}
					Advance();
					Advance();
					Push(ETokenKind::BlockComment, Start, StartLine, StartColumn);
					// The comment occupies the line it ends on, too.
					bLineHasToken = true;
					return;
				}
				if (C == '#' && !bStartLineHadToken)
				{
					LexPreprocessorLine(Start, StartLine, StartColumn);
					return;
				}
				if (C == 'R' && Peek(1) == '"')
				{
					LexRawString(Start, StartLine, StartColumn, 1);
					return;
				}
				if ((C == 'L' || C == 'u' || C == 'U') && (Peek(1) == '"' || Peek(1) == '\''))
				{
					Advance();
					LexQuoted(Peek(), Start, StartLine, StartColumn);
					return;
				}
				if (C == 'u' && Peek(1) == '8' && (Peek(2) == '"' || Peek(2) == '\''))
				{
					Advance();
					Advance();
					LexQuoted(Peek(), Start, StartLine, StartColumn);
					return;
				}
				if (IsIdentStart(C))
				{
					while (Pos < Source.size() && IsIdentChar(Source[Pos]))
					{
						++Pos;
					}
					Push(ETokenKind::Identifier, Start, StartLine, StartColumn);
					return;
				}
				if (std::isdigit(static_cast<unsigned char>(C)) || (C == '.' && std::isdigit(static_cast<unsigned char>(Peek(1)))))
				{
					while (Pos < Source.size())
					{
						const char D = Source[Pos];
						const bool bSeparator = D == '\'' && std::isalnum(static_cast<unsigned char>(Peek(1)));
						const bool bExponentSign = (D == '+' || D == '-') && Pos > Start
							&& (Source[Pos - 1] == 'e' || Source[Pos - 1] == 'E' || Source[Pos - 1] == 'p' || Source[Pos - 1] == 'P');
						if (IsIdentChar(D) || D == '.' || bSeparator || bExponentSign)
						{
							++Pos;
						}
						else
						{
							break;
						}
					}
					Push(ETokenKind::Number, Start, StartLine, StartColumn);
					return;
				}
				if (C == '"' || C == '\'')
				{
					LexQuoted(C, Start, StartLine, StartColumn);
					return;
				}
				static const char* const MultiCharSymbols[] = { "::", "->", "&&", "||", "==", "!=", "<=", ">=", "<<=", ">>=", "+=", "-=", "*=", "/=", "++", "--", "..." };
				for (const char* Symbol : MultiCharSymbols)
				{
					if (Source.compare(Pos, std::char_traits<char>::length(Symbol), Symbol) == 0)
					{
						Pos += std::char_traits<char>::length(Symbol);
						Push(ETokenKind::Symbol, Start, StartLine, StartColumn);
						return;
					}
				}
				++Pos;
				Push(ETokenKind::Symbol, Start, StartLine, StartColumn);
			}

			void LexQuoted(char Quote, size_t Start, int StartLine, size_t StartColumn)
			{
				Advance();
				while (Pos < Source.size() && Source[Pos] != Quote)
				{
					if (Source[Pos] == '\n')
					{
						throw FHeaderToolError(FileName, StartLine, "unterminated literal");
					}
					if (Source[Pos] == '\\' && Pos + 1 < Source.size())
					{
						Advance();
					}
					Advance();
				}
				if (Pos >= Source.size())
				{
					throw FHeaderToolError(FileName, StartLine, "unterminated literal");
				}
				Advance();
				Push(Quote == '"' ? ETokenKind::String : ETokenKind::Char, Start, StartLine, StartColumn);
			}

			void LexRawString(size_t Start, int StartLine, size_t StartColumn, size_t PrefixLength)
			{
				Pos += PrefixLength + 1;
				const size_t DelimiterStart = Pos;
				while (Pos < Source.size() && Source[Pos] != '(')
				{
					++Pos;
				}
				const std::string Terminator = ")" + Source.substr(DelimiterStart, Pos - DelimiterStart) + "\"";
				const size_t End = Source.find(Terminator, Pos);
				if (End == std::string::npos)
				{
					throw FHeaderToolError(FileName, StartLine, "unterminated raw string literal");
				}
				while (Pos < End + Terminator.size())
				{
					Advance();
				}
				Push(ETokenKind::String, Start, StartLine, StartColumn);
			}

			/** Reads one directive with its continuation lines; "#if 0" blocks are skipped whole. */
			void LexPreprocessorLine(size_t Start, int StartLine, size_t StartColumn)
			{
				ReadDirectiveToEndOfLine();
				const std::string Directive = NormalizeDirective(Source.substr(Start, Pos - Start));
				Push(ETokenKind::Preprocessor, Start, StartLine, StartColumn);
				if (Directive == "#if 0")
				{
					SkipDisabledBlock(StartLine);
				}
			}

			void ReadDirectiveToEndOfLine()
			{
				while (Pos < Source.size() && Source[Pos] != '\n')
				{
					if (Source[Pos] == '\\' && (Peek(1) == '\n' || (Peek(1) == '\r' && Peek(2) == '\n')))
					{
						Advance();
						while (Source[Pos] != '\n')
						{
							Advance();
						}
						Advance();
						continue;
					}
					if (Source[Pos] == '/' && Peek(1) == '*')
					{
						while (Pos < Source.size() && !(Peek() == '*' && Peek(1) == '/'))
						{
							Advance();
						}
						if (Pos < Source.size())
						{
							Advance();
							Advance();
						}
						continue;
					}
					Advance();
				}
			}

			static std::string NormalizeDirective(const std::string& Text)
			{
				std::string Result;
				bool bPendingSpace = false;
				for (char C : Text)
				{
					if (C == '/' && !Result.empty())
					{
						break;
					}
					if (C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == '\\')
					{
						bPendingSpace = !Result.empty() && Result != "#";
						continue;
					}
					if (bPendingSpace)
					{
						Result += ' ';
						bPendingSpace = false;
					}
					Result += C;
				}
				return Result;
			}

			void SkipDisabledBlock(int StartLine)
			{
				int Depth = 1;
				while (Depth > 0)
				{
					SkipWhitespace();
					if (Pos >= Source.size())
					{
						throw FHeaderToolError(FileName, StartLine, "unterminated #if 0 block");
					}
					const size_t LineBegin = Pos;
					if (Source[Pos] == '#' && Pos == FirstNonBlankOfLine())
					{
						ReadDirectiveToEndOfLine();
						const std::string Directive = NormalizeDirective(Source.substr(LineBegin, Pos - LineBegin));
						if (Directive.rfind("#if", 0) == 0)
						{
							++Depth;
						}
						else if (Directive.rfind("#endif", 0) == 0)
						{
							--Depth;
						}
						else if (Depth == 1 && (Directive.rfind("#else", 0) == 0 || Directive.rfind("#elif", 0) == 0))
						{
							Depth = 0;
						}
						continue;
					}
					while (Pos < Source.size() && Source[Pos] != '\n')
					{
						Advance();
					}
				}
			}

			size_t FirstNonBlankOfLine() const
			{
				size_t Index = LineStart;
				while (Index < Source.size() && (Source[Index] == ' ' || Source[Index] == '\t'))
				{
					++Index;
				}
				return Index;
			}

			const std::string& Source;
			const std::string& FileName;
			std::vector<FToken> Tokens;
			size_t Pos = 0;
			size_t LineStart = 0;
			int Line = 1;
			bool bLineHasToken = false;
			bool bStartLineHadToken = false;
		};
	}

	std::vector<FToken> Tokenize(const std::string& Source, const std::string& FileName)
	{
		return FLexer(Source, FileName).Run();
	}

	std::string UnquoteString(const std::string& TokenText)
	{
		const size_t Open = TokenText.find('"');
		const size_t Close = TokenText.rfind('"');
		if (Open == std::string::npos || Close <= Open)
		{
			return TokenText;
		}
		if (Open > 0 && TokenText[Open - 1] == 'R')
		{
			const size_t Paren = TokenText.find('(', Open);
			const size_t CloseParen = TokenText.rfind(')');
			return TokenText.substr(Paren + 1, CloseParen - Paren - 1);
		}
		std::string Result;
		for (size_t Index = Open + 1; Index < Close; ++Index)
		{
			char C = TokenText[Index];
			if (C == '\\' && Index + 1 < Close)
			{
				const char Next = TokenText[++Index];
				switch (Next)
				{
				case 'n': C = '\n'; break;
				case 't': C = '\t'; break;
				case 'r': C = '\r'; break;
				case '0': C = '\0'; break;
				default: C = Next; break;
				}
			}
			Result += C;
		}
		return Result;
	}
}
