#include "Internationalization/Internationalization.h"
#include "Internationalization/Text.h"

#include "Serialization/MemoryReader.h"
#include "Serialization/MemoryWriter.h"

#include <gtest/gtest.h>

#include <cstring>

#define LOCTEXT_NAMESPACE "TextTest"

TEST(TextValueTest, TextsFromStringsShowTheirStringAndAreCultureInvariant)
{
	const FText Text = FText::FromString(TEXT("Available"));
	EXPECT_EQ(Text.ToString(), FString(TEXT("Available")));
	EXPECT_FALSE(Text.IsEmpty());
	EXPECT_TRUE(Text.IsCultureInvariant());
	EXPECT_EQ(FText::FromName(FName(TEXT("Well"))).ToString(), FString(TEXT("Well")));
	EXPECT_EQ(FText::AsCultureInvariant(FString(TEXT("x"))).ToString(), FString(TEXT("x")));
}

TEST(TextValueTest, LocalizableLiteralsShowTheirSourceString)
{
	const FText Namespaced = NSLOCTEXT("Vesk", "Key", "Type mismatch");
	const FText Local = LOCTEXT("Other", "Missing component");
	EXPECT_EQ(Namespaced.ToString(), FString(TEXT("Type mismatch")));
	EXPECT_EQ(Local.ToString(), FString(TEXT("Missing component")));
	EXPECT_FALSE(Namespaced.IsCultureInvariant());
}

TEST(TextValueTest, EmptyTextsAreEmptyAndIdentical)
{
	const FText Default;
	EXPECT_TRUE(Default.IsEmpty());
	EXPECT_TRUE(Default.ToString().IsEmpty());
	EXPECT_TRUE(FText::GetEmpty().IsEmpty());
	EXPECT_TRUE(Default.IdenticalTo(FText::GetEmpty()));
	EXPECT_TRUE(FText::FromString(TEXT(" \t")).IsEmptyOrWhitespace());
	EXPECT_FALSE(FText::FromString(TEXT(" a")).IsEmptyOrWhitespace());
}

TEST(TextValueTest, ZeroFilledMemoryHoldsTheEmptyText)
{
	alignas(FText) unsigned char Storage[sizeof(FText)];
	std::memset(Storage, 0, sizeof(Storage));
	const FText& Zeroed = *reinterpret_cast<const FText*>(Storage);
	EXPECT_TRUE(Zeroed.IsEmpty());
	EXPECT_TRUE(Zeroed.EqualTo(FText::GetEmpty()));
}

TEST(TextValueTest, CopiesAreIdenticalWhileEqualTextsMadeApartAreOnlyEqual)
{
	const FText Original = FText::FromString(TEXT("Removed"));
	const FText Copy = Original;
	const FText Apart = FText::FromString(TEXT("Removed"));
	EXPECT_TRUE(Copy.IdenticalTo(Original));
	EXPECT_FALSE(Apart.IdenticalTo(Original));
	EXPECT_TRUE(Apart.EqualTo(Original));
	EXPECT_FALSE(FText::FromString(TEXT("removed")).EqualTo(Original));
}

TEST(TextValueTest, ArchivesCarryTheStringAndItsInvariance)
{
	TArray<uint8> Bytes;
	FText Written = NSLOCTEXT("Vesk", "Key", "Initializing");
	FText WrittenInvariant = FText::FromString(TEXT("Empty"));
	FMemoryWriter Writer(Bytes);
	Writer << Written;
	Writer << WrittenInvariant;

	FText Read;
	FText ReadInvariant;
	FMemoryReader Reader(Bytes);
	Reader << Read;
	Reader << ReadInvariant;
	EXPECT_EQ(Read.ToString(), FString(TEXT("Initializing")));
	EXPECT_FALSE(Read.IsCultureInvariant());
	EXPECT_EQ(ReadInvariant.ToString(), FString(TEXT("Empty")));
	EXPECT_TRUE(ReadInvariant.IsCultureInvariant());
}

#undef LOCTEXT_NAMESPACE
