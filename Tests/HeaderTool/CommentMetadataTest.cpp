#include "CommentMetadata.h"

#include "Lexer.h"

#include <gtest/gtest.h>

namespace
{
	using namespace HeaderTool;

	/** The Comment and ToolTip the tool records for the first identifier "MACRO" of Source. */
	class CommentMetadata : public testing::Test
	{
	protected:
		FMetadata MetadataOf(const std::string& Source)
		{
			Tokens = Tokenize(Source, "Test.h");
			size_t Index = 0;
			while (!Tokens[Index].Is("MACRO"))
			{
				++Index;
			}
			FMetadata Metadata;
			AddCommentMetadata(Tokens, FindDocumentationComment(Tokens, Index), Metadata);
			return Metadata;
		}

		std::vector<FToken> Tokens;
	};
}

TEST_F(CommentMetadata, LineCommentsKeepTheirMarkersAndEndEachLineInComment)
{
	const FMetadata Metadata = MetadataOf("// First line.\n// Second line.\nMACRO()\n");
	EXPECT_EQ(Metadata.at("Comment"), "// First line.\n// Second line.\n");
	EXPECT_EQ(Metadata.at("ToolTip"), "First line.\nSecond line.");
}

TEST_F(CommentMetadata, BlockCommentIsKeptAsWrittenWithoutItsIndentation)
{
	const FMetadata Metadata = MetadataOf("\t/**\n\t * Indented.\n\t * Twice.\n\t */\n\tMACRO()\n");
	EXPECT_EQ(Metadata.at("Comment"), "/**\n * Indented.\n * Twice.\n */");
	EXPECT_EQ(Metadata.at("ToolTip"), "Indented.\nTwice.");
}

TEST_F(CommentMetadata, SingleLineBlockCommentLosesItsMarkersInToolTip)
{
	const FMetadata Metadata = MetadataOf("/** Broadcast when it changes. */\nMACRO()\n");
	EXPECT_EQ(Metadata.at("Comment"), "/** Broadcast when it changes. */");
	EXPECT_EQ(Metadata.at("ToolTip"), "Broadcast when it changes.");
}

TEST_F(CommentMetadata, OnlyTheAdjacentRunOfLineCommentsDocumentsTheDeclaration)
{
	const FMetadata Metadata = MetadataOf("// Unrelated.\n\n// Own.\nMACRO()\n");
	EXPECT_EQ(Metadata.at("Comment"), "// Own.\n");
}

TEST_F(CommentMetadata, CommentSeparatedByABlankLineDocumentsNothing)
{
	EXPECT_TRUE(MetadataOf("// Far away.\n\nMACRO()\n").empty());
}

TEST_F(CommentMetadata, CommentAfterCodeOnItsLineDocumentsNothing)
{
	EXPECT_TRUE(MetadataOf("int32 Value; // About the value.\nMACRO()\n").empty());
}

TEST_F(CommentMetadata, DeclarationSharingItsLineWithCodeHasNoComment)
{
	EXPECT_TRUE(MetadataOf("// Above.\nint32 Value; MACRO()\n").empty());
}

TEST_F(CommentMetadata, PreprocessorLineBetweenCommentAndDeclarationSeparatesThem)
{
	EXPECT_TRUE(MetadataOf("// Above.\n#include \"X.h\"\nMACRO()\n").empty());
}

TEST_F(CommentMetadata, EmptyCommentHasACommentButNoToolTip)
{
	const FMetadata Metadata = MetadataOf("/** */\nMACRO()\n");
	EXPECT_EQ(Metadata.at("Comment"), "/** */");
	EXPECT_EQ(Metadata.count("ToolTip"), 0u);
}
