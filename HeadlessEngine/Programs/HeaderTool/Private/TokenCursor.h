#pragma once

#include "Diagnostics.h"
#include "Lexer.h"

#include <string>
#include <vector>

namespace HeaderTool
{
	/** Walks the significant tokens of one header: comments and preprocessor lines are stepped over. */
	class FTokenCursor
	{
	public:
		FTokenCursor(const std::vector<FToken>& InTokens, std::string InFileName)
			: Tokens(InTokens)
			, FileName(std::move(InFileName))
		{
			SkipInsignificant();
		}

		const FToken& Current() const
		{
			return Tokens[Index];
		}

		/** The significant token Offset places after the current one. */
		const FToken& Peek(size_t Offset = 1) const
		{
			size_t Probe = Index;
			while (Offset > 0 && Tokens[Probe].Kind != ETokenKind::EndOfFile)
			{
				++Probe;
				while (IsInsignificant(Tokens[Probe]))
				{
					++Probe;
				}
				--Offset;
			}
			return Tokens[Probe];
		}

		size_t Position() const
		{
			return Index;
		}

		bool AtEnd() const
		{
			return Tokens[Index].Kind == ETokenKind::EndOfFile;
		}

		const FToken& Advance()
		{
			const FToken& Token = Tokens[Index];
			if (Token.Kind != ETokenKind::EndOfFile)
			{
				++Index;
				SkipInsignificant();
			}
			return Token;
		}

		bool TryConsume(const char* Text)
		{
			if (Current().Is(Text))
			{
				Advance();
				return true;
			}
			return false;
		}

		const FToken& Expect(const char* Text, const std::string& Message)
		{
			if (!Current().Is(Text))
			{
				Fail(Message);
			}
			return Advance();
		}

		const FToken& ExpectIdentifier(const std::string& Message)
		{
			if (Current().Kind != ETokenKind::Identifier)
			{
				Fail(Message);
			}
			return Advance();
		}

		[[noreturn]] void Fail(const std::string& Message) const
		{
			throw FHeaderToolError(FileName, Current().Line, Message);
		}

		[[noreturn]] void FailAt(int Line, const std::string& Message) const
		{
			throw FHeaderToolError(FileName, Line, Message);
		}

		const std::vector<FToken>& AllTokens() const
		{
			return Tokens;
		}

		const std::string& File() const
		{
			return FileName;
		}

	private:
		static bool IsInsignificant(const FToken& Token)
		{
			return Token.IsComment() || Token.Kind == ETokenKind::Preprocessor;
		}

		void SkipInsignificant()
		{
			while (IsInsignificant(Tokens[Index]))
			{
				++Index;
			}
		}

		const std::vector<FToken>& Tokens;
		std::string FileName;
		size_t Index = 0;
	};
}
