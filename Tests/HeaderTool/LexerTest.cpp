#include "Lexer.h"

#include "Diagnostics.h"

#include <gtest/gtest.h>

namespace
{
	using namespace HeaderTool;

	std::vector<std::string> Texts(const std::vector<FToken>& Tokens)
	{
		std::vector<std::string> Result;
		for (const FToken& Token : Tokens)
		{
			if (Token.Kind != ETokenKind::EndOfFile)
			{
				Result.push_back(Token.Text);
			}
		}
		return Result;
	}

	std::string ErrorOf(const std::string& Source)
	{
		try
		{
			Tokenize(Source, "Test.h");
		}
		catch (const FHeaderToolError& Error)
		{
			return Error.Format();
		}
		return std::string();
	}
}

TEST(Lexer, SplitsIdentifiersNumbersAndSymbols)
{
	const std::vector<std::string> Expected = { "TMap", "<", "int32", ",", "float", ">", "A", "::", "B", "=", "1.5f", ";" };
	EXPECT_EQ(Texts(Tokenize("TMap<int32, float> A::B = 1.5f;", "Test.h")), Expected);
}

TEST(Lexer, BracesInsideLiteralsAreNotSymbols)
{
	const std::vector<FToken> Tokens = Tokenize("X(\"{\", '}', R\"x(})x\", u8\"{\")", "Test.h");
	const std::vector<std::string> Expected = { "X", "(", "\"{\"", ",", "'}'", ",", "R\"x(})x\"", ",", "u8\"{\"", ")" };
	EXPECT_EQ(Texts(Tokens), Expected);
	EXPECT_EQ(Tokens[2].Kind, ETokenKind::String);
	EXPECT_EQ(Tokens[4].Kind, ETokenKind::Char);
}

TEST(Lexer, DigitSeparatorsStayInsideTheirNumber)
{
	EXPECT_EQ(Texts(Tokenize("1'000'000 + 1e-3", "Test.h")), (std::vector<std::string>{ "1'000'000", "+", "1e-3" }));
}

TEST(Lexer, CommentsAndDirectivesAreTokensWithTheirLines)
{
	const std::vector<FToken> Tokens = Tokenize("// One\n#include \"A.h\"\n/* Two\n */ X", "Test.h");
	ASSERT_EQ(Tokens.size(), 5u);
	EXPECT_EQ(Tokens[0].Kind, ETokenKind::LineComment);
	EXPECT_EQ(Tokens[0].Line, 1);
	EXPECT_EQ(Tokens[1].Kind, ETokenKind::Preprocessor);
	EXPECT_EQ(Tokens[1].Line, 2);
	EXPECT_EQ(Tokens[2].Kind, ETokenKind::BlockComment);
	EXPECT_EQ(Tokens[2].Line, 3);
	EXPECT_EQ(Tokens[3].Text, "X");
	EXPECT_EQ(Tokens[3].Line, 4);
	EXPECT_FALSE(Tokens[3].bFirstOnLine);
	EXPECT_EQ(Tokens[4].Kind, ETokenKind::EndOfFile);
}

TEST(Lexer, FirstOnLineIgnoresLeadingWhitespace)
{
	const std::vector<FToken> Tokens = Tokenize("\tA B\n  C", "Test.h");
	ASSERT_EQ(Tokens.size(), 4u);
	EXPECT_TRUE(Tokens[0].bFirstOnLine);
	EXPECT_EQ(Tokens[0].Column, 1);
	EXPECT_FALSE(Tokens[1].bFirstOnLine);
	EXPECT_TRUE(Tokens[2].bFirstOnLine);
}

TEST(Lexer, DisabledBlocksAreDroppedUpToTheirElse)
{
	const std::string Source = "A\n#if 0\nUCLASS() B\n#if X\nC\n#endif\n#else\nD\n#endif\nE\n";
	std::vector<std::string> Identifiers;
	for (const FToken& Token : Tokenize(Source, "Test.h"))
	{
		if (Token.Kind == ETokenKind::Identifier)
		{
			Identifiers.push_back(Token.Text);
		}
	}
	EXPECT_EQ(Identifiers, (std::vector<std::string>{ "A", "D", "E" }));
}

TEST(Lexer, UnterminatedLiteralsAreReportedAtTheirStart)
{
	EXPECT_EQ(ErrorOf("A\n\"open\n"), "Test.h:2: error: unterminated literal");
	EXPECT_EQ(ErrorOf("/* open\n\n"), "Test.h:1: error: unterminated block comment");
	EXPECT_EQ(ErrorOf("\n#if 0\nA\n"), "Test.h:2: error: unterminated #if 0 block");
}

TEST(Lexer, UnquoteStringResolvesEscapesAndRawStrings)
{
	EXPECT_EQ(UnquoteString("\"a\\\"b\\n\""), "a\"b\n");
	EXPECT_EQ(UnquoteString("R\"(x\\y)\""), "x\\y");
	EXPECT_EQ(UnquoteString("u8\"z\""), "z");
}
