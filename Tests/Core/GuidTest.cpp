#include "Misc/Guid.h"

#include "Containers/Map.h"
#include "Containers/Set.h"
#include "CoreTestSupport.h"
#include "Hash/CityHash.h"
#include "Serialization/MemoryReader.h"
#include "Serialization/MemoryWriter.h"

#include <gtest/gtest.h>

#include <cstring>

using CoreTests::ToStd;

namespace
{
	// Every word's bytes differ, so a swapped or misplaced group shows.
	const FGuid Sample(0x01234567, 0x89ABCDEF, 0xFEDCBA98, 0x76543210);
}

TEST(GuidValidityTest, OnlyTheAllZeroGuidIsInvalid)
{
	EXPECT_FALSE(FGuid().IsValid());
	EXPECT_TRUE(FGuid(0, 0, 0, 1).IsValid());
	EXPECT_TRUE(FGuid(1, 0, 0, 0).IsValid());
	EXPECT_TRUE(FGuid(0, 0x80000000u, 0, 0).IsValid());
	FGuid Guid = Sample;
	Guid.Invalidate();
	EXPECT_FALSE(Guid.IsValid());
	EXPECT_EQ(Guid, FGuid());
}

TEST(GuidComparisonTest, EqualityComparesEveryWord)
{
	EXPECT_EQ(Sample, FGuid(0x01234567, 0x89ABCDEF, 0xFEDCBA98, 0x76543210));
	for (int32 Word = 0; Word < 4; ++Word)
	{
		FGuid Other = Sample;
		Other[Word] ^= 1;
		EXPECT_NE(Sample, Other) << Word;
	}
}

TEST(GuidComparisonTest, LessOrdersByAThenBThenCThenD)
{
	EXPECT_TRUE(FGuid(1, 9, 9, 9) < FGuid(2, 0, 0, 0));
	EXPECT_TRUE(FGuid(1, 1, 9, 9) < FGuid(1, 2, 0, 0));
	EXPECT_TRUE(FGuid(1, 1, 1, 9) < FGuid(1, 1, 2, 0));
	EXPECT_TRUE(FGuid(1, 1, 1, 1) < FGuid(1, 1, 1, 2));
	EXPECT_FALSE(FGuid(1, 1, 1, 1) < FGuid(1, 1, 1, 1));
	EXPECT_FALSE(FGuid(2, 0, 0, 0) < FGuid(1, 9, 9, 9));
}

TEST(GuidHashTest, HashIsTheLowWordOfCityHash64OverTheSixteenBytes)
{
	unsigned char Bytes[16];
	const uint32 Words[4] = { Sample.A, Sample.B, Sample.C, Sample.D };
	for (int32 Index = 0; Index < 16; ++Index)
	{
		Bytes[Index] = (unsigned char)(Words[Index / 4] >> ((Index % 4) * 8));
	}
	EXPECT_EQ(GetTypeHash(Sample), (uint32)CityHash64((const char*)Bytes, 16));
	// Known answer for four little-endian words 1, 42, 0, 255 (from the CityHash vectors).
	EXPECT_EQ(GetTypeHash(FGuid(1, 42, 0, 255)), 0xe2b0eed8u);
	EXPECT_EQ(GetTypeHash(FGuid()), 0xcfed5815u);
}

TEST(GuidTextTest, DigitsAreThirtyTwoUpperCaseHexDigitsWordsInOrder)
{
	EXPECT_EQ(ToStd(Sample.ToString()), "0123456789ABCDEFFEDCBA9876543210");
	EXPECT_EQ(ToStd(Sample.ToString(EGuidFormats::Digits)), "0123456789ABCDEFFEDCBA9876543210");
	EXPECT_EQ(ToStd(FGuid().ToString()), "00000000000000000000000000000000");
	EXPECT_EQ(ToStd(LexToString(Sample)), "0123456789ABCDEFFEDCBA9876543210");
}

TEST(GuidTextTest, EveryFormatRendersAsDocumented)
{
	EXPECT_EQ(ToStd(Sample.ToString(EGuidFormats::DigitsLower)), "0123456789abcdeffedcba9876543210");
	EXPECT_EQ(ToStd(Sample.ToString(EGuidFormats::DigitsWithHyphens)), "01234567-89AB-CDEF-FEDC-BA9876543210");
	EXPECT_EQ(ToStd(Sample.ToString(EGuidFormats::DigitsWithHyphensLower)), "01234567-89ab-cdef-fedc-ba9876543210");
	EXPECT_EQ(ToStd(Sample.ToString(EGuidFormats::DigitsWithHyphensInBraces)), "{01234567-89AB-CDEF-FEDC-BA9876543210}");
	EXPECT_EQ(ToStd(Sample.ToString(EGuidFormats::DigitsWithHyphensInParentheses)), "(01234567-89AB-CDEF-FEDC-BA9876543210)");
	EXPECT_EQ(ToStd(Sample.ToString(EGuidFormats::HexValuesInBraces)), "{0x01234567,0x89AB,0xCDEF,{0xFE,0xDC,0xBA,0x98,0x76,0x54,0x32,0x10}}");
	EXPECT_EQ(ToStd(Sample.ToString(EGuidFormats::UniqueObjectGuid)), "01234567-89ABCDEF-FEDCBA98-76543210");
	// Reference values from Python's base64 (URL-safe alphabet) over the little-endian bytes,
	// and from its integer arithmetic for base 36.
	EXPECT_EQ(ToStd(Sample.ToString(EGuidFormats::Short)), "Z0UjAe_Nq4mYutz-EDJUdg");
	EXPECT_EQ(ToStd(FGuid().ToString(EGuidFormats::Short)), "AAAAAAAAAAAAAAAAAAAAAA");
	EXPECT_EQ(ToStd(Sample.ToString(EGuidFormats::Base36Encoded)), "02FAPL4N1AZS9FHGHWZ46ARYO");
	EXPECT_EQ(ToStd(FGuid(~0u, ~0u, ~0u, ~0u).ToString(EGuidFormats::Base36Encoded)), "F5LXX1ZZ5PNORYNQGLHZMSP33");
}

TEST(GuidTextTest, AppendStringKeepsWhatTheStringHeld)
{
	FString Out(TEXT("Id="));
	Sample.AppendString(Out);
	EXPECT_EQ(ToStd(Out), "Id=0123456789ABCDEFFEDCBA9876543210");
	Sample.AppendString(Out, EGuidFormats::UniqueObjectGuid);
	EXPECT_EQ(ToStd(Out), "Id=0123456789ABCDEFFEDCBA987654321001234567-89ABCDEF-FEDCBA98-76543210");
}

TEST(GuidParseTest, EveryFormatParsesBackToTheSameGuid)
{
	const EGuidFormats Formats[] = { EGuidFormats::Digits, EGuidFormats::DigitsLower, EGuidFormats::DigitsWithHyphens, EGuidFormats::DigitsWithHyphensLower, EGuidFormats::DigitsWithHyphensInBraces, EGuidFormats::DigitsWithHyphensInParentheses, EGuidFormats::HexValuesInBraces, EGuidFormats::UniqueObjectGuid, EGuidFormats::Short, EGuidFormats::Base36Encoded };
	for (int32 Round = 0; Round < 200; ++Round)
	{
		const FGuid Guid = Round == 0 ? FGuid(~0u, ~0u, ~0u, ~0u) : (Round == 1 ? Sample : FGuid::NewGuid());
		for (const EGuidFormats Format : Formats)
		{
			const FString Text = Guid.ToString(Format);
			FGuid Parsed;
			ASSERT_TRUE(FGuid::ParseExact(Text, Format, Parsed)) << ToStd(Text);
			ASSERT_EQ(Parsed, Guid) << ToStd(Text);
		}
	}
}

TEST(GuidParseTest, ParseTellsFormatsApartByShape)
{
	for (const EGuidFormats Format : { EGuidFormats::Digits, EGuidFormats::DigitsWithHyphens, EGuidFormats::DigitsWithHyphensInBraces, EGuidFormats::DigitsWithHyphensInParentheses, EGuidFormats::HexValuesInBraces, EGuidFormats::UniqueObjectGuid })
	{
		FGuid Parsed;
		EXPECT_TRUE(FGuid::Parse(Sample.ToString(Format), Parsed)) << (int)Format;
		EXPECT_EQ(Parsed, Sample) << (int)Format;
	}
	FGuid Parsed;
	EXPECT_TRUE(FGuid::Parse(TEXT("0123456789abcdefFEDCBA9876543210"), Parsed));
	EXPECT_EQ(Parsed, Sample);
	EXPECT_EQ(FGuid(FString(TEXT("01234567-89ab-cdef-fedc-ba9876543210"))), Sample);
}

TEST(GuidParseTest, MalformedTextIsRefusedAndLeavesTheOutputAlone)
{
	const FString Bad[] = {
		TEXT(""),
		TEXT("0123456789ABCDEFFEDCBA987654321"),
		TEXT("0123456789ABCDEFFEDCBA98765432100"),
		TEXT("0123456789ABCDEFFEDCBA987654321G"),
		TEXT("01234567_89AB-CDEF-FEDC-BA9876543210"),
		TEXT("{01234567-89AB-CDEF-FEDC-BA9876543210)"),
		TEXT("{0x01234567,0x89AB,0xCDEF,{0xFE,0xDC,0xBA,0x98,0x76,0x54,0x32,0x1Z}}"),
		TEXT("01234567-89ABCDEF-FEDCBA98+76543210"),
		TEXT("-1234567-89AB-CDEF-FEDC-BA9876543210"),
	};
	for (const FString& Text : Bad)
	{
		FGuid Parsed(7, 7, 7, 7);
		EXPECT_FALSE(FGuid::Parse(Text, Parsed)) << ToStd(Text);
		EXPECT_EQ(Parsed, FGuid(7, 7, 7, 7)) << ToStd(Text);
		EXPECT_FALSE(FGuid(Text).IsValid()) << ToStd(Text);
	}
	FGuid Parsed;
	EXPECT_FALSE(FGuid::ParseExact(Sample.ToString(EGuidFormats::Digits), EGuidFormats::DigitsWithHyphens, Parsed));
	EXPECT_FALSE(FGuid::ParseExact(TEXT("Z0UjAe_Nq4mYutz-EDJUdh"), EGuidFormats::Short, Parsed));
	EXPECT_FALSE(FGuid::ParseExact(TEXT("Z0UjAe_Nq4mYutz+EDJUdg"), EGuidFormats::Short, Parsed));
	EXPECT_FALSE(FGuid::ParseExact(TEXT("F5LXX1ZZ5PNORYNQGLHZMSP34"), EGuidFormats::Base36Encoded, Parsed));
	EXPECT_FALSE(FGuid::ParseExact(TEXT("F5LXX1ZZ5PNORYNQGLHZMSP3!"), EGuidFormats::Base36Encoded, Parsed));
}

TEST(GuidCreationTest, NewGuidsAreValidVersionFourAndDistinct)
{
	TSet<FGuid> Seen;
	for (int32 Index = 0; Index < 20000; ++Index)
	{
		const FGuid Guid = FGuid::NewGuid();
		ASSERT_TRUE(Guid.IsValid());
		ASSERT_EQ((Guid.B >> 12) & 0xF, 4u);
		ASSERT_EQ(Guid.C >> 30, 2u);
		bool bAlreadyInSet = false;
		Seen.Add(Guid, &bAlreadyInSet);
		ASSERT_FALSE(bAlreadyInSet);
	}
}

TEST(GuidCreationTest, NewGuidsUseEveryRandomBit)
{
	// Bits outside the version and variant fields each change across a few hundred guids.
	uint32 Ones[4] = {};
	uint32 Zeros[4] = {};
	for (int32 Index = 0; Index < 256; ++Index)
	{
		const FGuid Guid = FGuid::NewGuid();
		for (int32 Word = 0; Word < 4; ++Word)
		{
			Ones[Word] |= Guid[Word];
			Zeros[Word] |= ~Guid[Word];
		}
	}
	const uint32 Fixed[4] = { 0, 0x0000F000u, 0xC0000000u, 0 };
	for (int32 Word = 0; Word < 4; ++Word)
	{
		EXPECT_EQ(Ones[Word] & Zeros[Word], ~Fixed[Word]) << Word;
	}
}

TEST(GuidSerializationTest, ArchiveRoundTripWritesFourLittleEndianWords)
{
	TArray<uint8> Bytes;
	FMemoryWriter Writer(Bytes);
	FGuid Saved = Sample;
	Writer << Saved;
	ASSERT_EQ(Bytes.Num(), 16);
	EXPECT_EQ(Bytes[0], 0x67);
	EXPECT_EQ(Bytes[3], 0x01);
	EXPECT_EQ(Bytes[4], 0xEF);
	EXPECT_EQ(Bytes[15], 0x76);

	FMemoryReader Reader(Bytes);
	FGuid Loaded;
	EXPECT_TRUE(Loaded.Serialize(Reader));
	EXPECT_FALSE(Reader.IsError());
	EXPECT_EQ(Loaded, Sample);
}

TEST(GuidContainerTest, GuidsKeyMaps)
{
	TMap<FGuid, int32> Map;
	TArray<FGuid> Keys;
	for (int32 Index = 0; Index < 1000; ++Index)
	{
		Keys.Add(FGuid::NewGuid());
		Map.Add(Keys.Last(), Index);
	}
	for (int32 Index = 0; Index < Keys.Num(); ++Index)
	{
		const int32* Found = Map.Find(Keys[Index]);
		ASSERT_NE(Found, nullptr);
		ASSERT_EQ(*Found, Index);
	}
}
