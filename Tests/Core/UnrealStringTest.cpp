#include "Containers/UnrealString.h"

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

using CoreTests::ToStd;

TEST(StringComparisonTest, EqualityAndHashIgnoreCase)
{
	const FString Lower(TEXT("persistent"));
	const FString Upper(TEXT("PERSISTENT"));
	EXPECT_TRUE(Lower == Upper);
	EXPECT_EQ(GetTypeHash(Lower), GetTypeHash(Upper));
	EXPECT_FALSE(Lower.Equals(Upper));
	EXPECT_TRUE(Lower.Equals(Upper, ESearchCase::IgnoreCase));
	EXPECT_TRUE(Lower == TEXT("Persistent"));
	EXPECT_TRUE(Lower != TEXT("Persisten"));
	EXPECT_NE(GetTypeHash(FString(TEXT("ab"))), GetTypeHash(FString(TEXT("ba"))));
}

TEST(StringComparisonTest, CompareOrdersByCharacters)
{
	EXPECT_LT(FString(TEXT("apple")).Compare(TEXT("banana")), 0);
	EXPECT_GT(FString(TEXT("b")).Compare(TEXT("B")), 0);
	EXPECT_EQ(FString(TEXT("b")).Compare(TEXT("B"), ESearchCase::IgnoreCase), 0);
	EXPECT_LT(FString(TEXT("ab")).Compare(TEXT("abc")), 0);
	EXPECT_TRUE(FString(TEXT("A")) < FString(TEXT("b")));
}

TEST(StringStorageTest, EmptyStringHasNoStorageAndNeverANullPointer)
{
	FString Empty;
	EXPECT_TRUE(Empty.IsEmpty());
	EXPECT_EQ(Empty.Len(), 0);
	ASSERT_NE(*Empty, nullptr);
	EXPECT_EQ((*Empty)[0], 0);
	EXPECT_EQ(FString(TEXT("")).GetCharArray().Num(), 0);
}

TEST(StringStorageTest, ResetKeepsStorageAndEmptyReleasesIt)
{
	FString Text(TEXT("a fairly long piece of text"));
	const int32 Max = Text.GetCharArray().Max();
	Text.Reset();
	EXPECT_TRUE(Text.IsEmpty());
	EXPECT_EQ(Text.GetCharArray().Max(), Max);
	Text = TEXT("again");
	Text.Empty();
	EXPECT_TRUE(Text.IsEmpty());
	EXPECT_EQ(Text.GetCharArray().Max(), 0);
}

TEST(StringBuildingTest, AppendKeepsOneTerminator)
{
	FString Text;
	Text += TEXT("ab");
	Text += 'c';
	Text.Append("de");
	Text.AppendInt(-12);
	EXPECT_EQ(ToStd(Text), "abcde-12");
	EXPECT_EQ(Text.Len(), 8);
	EXPECT_EQ(Text.GetCharArray().Num(), 9);
	EXPECT_EQ(ToStd(FString(TEXT("x")) + TEXT("y") + FString(TEXT("z"))), "xyz");
}

TEST(StringBuildingTest, AppendingPartOfItselfWorks)
{
	FString Text(TEXT("abc"));
	Text.Reserve(3);
	Text.Append(*Text + 1, 2);
	EXPECT_EQ(ToStd(Text), "abcbc");
	Text = *Text + 2;
	EXPECT_EQ(ToStd(Text), "cbc");
}

TEST(StringBuildingTest, PrintfFormatsAsC)
{
	const FString Name(TEXT("Guid"));
	EXPECT_EQ(ToStd(FString::Printf(TEXT("%s=%d"), *Name, 42)), "Guid=42");
	EXPECT_EQ(ToStd(FString::Printf(TEXT("[%5s|%-5s]"), TEXT("ab"), TEXT("cd"))), "[   ab|cd   ]");
	EXPECT_EQ(ToStd(FString::Printf(TEXT("%hs %c %%"), "ansi", 'Z')), "ansi Z %");
	EXPECT_EQ(ToStd(FString::Printf(TEXT("%08X %x %lld"), 0xBEEFu, 255u, -5000000000LL)), "0000BEEF ff -5000000000");
	EXPECT_EQ(ToStd(FString::Printf(TEXT("%.2f %5.1f"), 3.14159, 2.25)), "3.14   2.2");
	EXPECT_EQ(ToStd(FString::Printf(TEXT("%u"), 4000000000u)), "4000000000");
}

TEST(StringBuildingTest, NumbersToText)
{
	EXPECT_EQ(ToStd(FString::FromInt(-2147483647 - 1)), "-2147483648");
	EXPECT_EQ(ToStd(FString::SanitizeFloat(1.0)), "1.0");
	EXPECT_EQ(ToStd(FString::SanitizeFloat(2.5)), "2.5");
	EXPECT_EQ(ToStd(FString::SanitizeFloat(-0.125)), "-0.125");
	EXPECT_EQ(ToStd(FString::SanitizeFloat(3.0, 0)), "3");
}

TEST(StringSubstringTest, CountsAreClampedToTheString)
{
	const FString Text(TEXT("0123456789"));
	EXPECT_EQ(ToStd(Text.Left(3)), "012");
	EXPECT_EQ(ToStd(Text.Left(30)), "0123456789");
	EXPECT_EQ(ToStd(Text.LeftChop(8)), "01");
	EXPECT_EQ(ToStd(Text.Right(2)), "89");
	EXPECT_EQ(ToStd(Text.RightChop(7)), "789");
	EXPECT_EQ(ToStd(Text.Mid(4, 3)), "456");
	EXPECT_EQ(ToStd(Text.Mid(8)), "89");
	EXPECT_EQ(ToStd(Text.Mid(-2, 4)), "01");
	EXPECT_EQ(ToStd(Text.Mid(20, 4)), "");
}

TEST(StringSearchTest, FindFromEitherEnd)
{
	const FString Text(TEXT("one Two one two"));
	EXPECT_EQ(Text.Find(TEXT("two")), 4);
	EXPECT_EQ(Text.Find(TEXT("two"), ESearchCase::CaseSensitive), 12);
	EXPECT_EQ(Text.Find(TEXT("one"), ESearchCase::IgnoreCase, ESearchDir::FromEnd), 8);
	EXPECT_EQ(Text.Find(TEXT("one"), ESearchCase::IgnoreCase, ESearchDir::FromStart, 1), 8);
	EXPECT_EQ(Text.Find(TEXT("three")), INDEX_NONE);
	EXPECT_TRUE(Text.StartsWith(TEXT("ONE")));
	EXPECT_FALSE(Text.StartsWith(TEXT("ONE"), ESearchCase::CaseSensitive));
	EXPECT_TRUE(Text.EndsWith(TEXT("TWO")));
	int32 Index = INDEX_NONE;
	EXPECT_TRUE(Text.FindLastChar('o', Index));
	EXPECT_EQ(Index, 14);
	EXPECT_FALSE(Text.FindChar('z', Index));
}

TEST(StringTransformTest, ReplaceSplitTrimAndCase)
{
	FString Text(TEXT("a-b-c"));
	EXPECT_EQ(Text.ReplaceInline(TEXT("-"), TEXT("::")), 2);
	EXPECT_EQ(ToStd(Text), "a::b::c");
	FString Left;
	FString Right;
	EXPECT_TRUE(Text.Split(TEXT("::"), &Left, &Right, ESearchCase::IgnoreCase, ESearchDir::FromEnd));
	EXPECT_EQ(ToStd(Left), "a::b");
	EXPECT_EQ(ToStd(Right), "c");
	EXPECT_FALSE(Text.Split(TEXT("#"), &Left, &Right));
	EXPECT_EQ(ToStd(Left), "a::b");
	EXPECT_EQ(ToStd(FString(TEXT("  \tpad \n")).TrimStartAndEnd()), "pad");
	EXPECT_EQ(ToStd(FString(TEXT("MiXed")).ToUpper()), "MIXED");
	EXPECT_EQ(ToStd(FString(TEXT("MiXed")).ToLower()), "mixed");
	EXPECT_EQ(ToStd(FString(TEXT("abc")).Reverse()), "cba");
}

TEST(StringTransformTest, ParseIntoArrayCullsEmptyPartsOnRequest)
{
	const FString Text(TEXT(",a,,b,"));
	TArray<FString> Parts;
	EXPECT_EQ(Text.ParseIntoArray(Parts, TEXT(","), true), 2);
	EXPECT_EQ(ToStd(Parts[0]), "a");
	EXPECT_EQ(ToStd(Parts[1]), "b");
	EXPECT_EQ(Text.ParseIntoArray(Parts, TEXT(","), false), 5);
	EXPECT_TRUE(Parts[0].IsEmpty());
	EXPECT_EQ(ToStd(Parts[3]), "b");
}

TEST(StringTransformTest, InsertAndRemoveCharacters)
{
	FString Text(TEXT("ace"));
	Text.InsertAt(1, 'b');
	Text.InsertAt(3, FString(TEXT("d")));
	EXPECT_EQ(ToStd(Text), "abcde");
	Text.RemoveAt(1, 3);
	EXPECT_EQ(ToStd(Text), "ae");
	Text.RemoveAt(0, 2);
	EXPECT_TRUE(Text.IsEmpty());
	EXPECT_EQ(Text.GetCharArray().Num(), 0);
}

TEST(StringDeathTest, IndexOutOfBoundsIsFatal)
{
	const FString Text(TEXT("abc"));
	EXPECT_DEATH((void)Text[3], "String index out of bounds: Index 3 from a string with a length of 3");
}

TEST(StringDeathTest, InsertingOrRemovingOutOfBoundsIsFatal)
{
	FString Text(TEXT("abc"));
	EXPECT_DEATH(Text.InsertAt(9, 'x'), "String insert index 9 out of bounds for length 3");
	EXPECT_DEATH(Text.RemoveAt(2, 5), "String remove out of bounds: 2 \\(count 5\\) from a string of length 3");
}
