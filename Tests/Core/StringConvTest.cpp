#include "Containers/StringConv.h"

#include "Containers/UnrealString.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(StringConversionTest, Utf8RoundTripKeepsEveryCharacter)
{
	// e-acute (2 bytes), euro sign (3 bytes) and a grinning face (4 bytes, a surrogate pair).
	const TCHAR Text[] = { 'a', 0x00E9, 0x20AC, 0xD83D, 0xDE00, 'z', 0 };
	const FTCHARToUTF8 Utf8(Text);
	EXPECT_EQ(Utf8.Length(), 1 + 2 + 3 + 4 + 1);
	EXPECT_EQ(std::strcmp(Utf8.Get(), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z"), 0);

	const FUTF8ToTCHAR Back(Utf8.Get());
	ASSERT_EQ(Back.Length(), 6);
	for (int32 Index = 0; Index < 6; ++Index)
	{
		EXPECT_EQ(Back.Get()[Index], Text[Index]) << Index;
	}
}

TEST(StringConversionTest, MalformedInputBecomesReplacementCharacters)
{
	const TCHAR LoneSurrogate[] = { 'x', 0xD800, 'y', 0 };
	EXPECT_EQ(std::strcmp(FTCHARToUTF8(LoneSurrogate).Get(), "x\xEF\xBF\xBDy"), 0);

	const FUTF8ToTCHAR Broken("a\xC3" "b");
	ASSERT_EQ(Broken.Length(), 3);
	EXPECT_EQ(Broken.Get()[0], 'a');
	EXPECT_EQ(Broken.Get()[1], 0xFFFD);
	EXPECT_EQ(Broken.Get()[2], 'b');
}

TEST(StringConversionTest, AnsiIsLatin1)
{
	const FANSIToTCHAR Wide("\xE9t\xE9");
	ASSERT_EQ(Wide.Length(), 3);
	EXPECT_EQ(Wide.Get()[0], 0xE9);
	const TCHAR Text[] = { 0xE9, 0x20AC, 0 };
	EXPECT_EQ(std::strcmp(FTCHARToANSI(Text).Get(), "\xE9?"), 0);
	EXPECT_EQ(FString(UTF8_TO_TCHAR("caf\xC3\xA9")).Len(), 4);
}
