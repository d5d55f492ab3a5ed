#include "Serialization/Archive.h"

#include "Containers/Map.h"
#include "Containers/UnrealString.h"
#include "CoreTestSupport.h"
#include "Serialization/MemoryReader.h"
#include "Serialization/MemoryWriter.h"
#include "UObject/NameTypes.h"

#include <gtest/gtest.h>

#include <cstring>

using CoreTests::ToStd;

namespace
{
	enum class ETestColour : uint8
	{
		Red = 3,
		Blue = 200,
	};

	template <typename T>
	TArray<uint8> Save(const T& Value)
	{
		TArray<uint8> Bytes;
		FMemoryWriter Writer(Bytes);
		T Copy = Value;
		Writer << Copy;
		return Bytes;
	}

	template <typename T>
	T Load(const TArray<uint8>& Bytes, bool* bOutError = nullptr)
	{
		FMemoryReader Reader(Bytes);
		T Value{};
		Reader << Value;
		if (bOutError)
		{
			*bOutError = Reader.IsError();
		}
		return Value;
	}

	int32 ReadInt32(const TArray<uint8>& Bytes, int32 Offset)
	{
		int32 Value = 0;
		std::memcpy(&Value, Bytes.GetData() + Offset, sizeof(Value));
		return Value;
	}
}

TEST(ArchiveFlagsTest, ABaseArchiveHasNoDirectionOrPurpose)
{
	FArchive Ar;
	EXPECT_FALSE(Ar.IsLoading());
	EXPECT_FALSE(Ar.IsSaving());
	EXPECT_FALSE(Ar.IsSaveGame());
	EXPECT_FALSE(Ar.IsPersistent());
	EXPECT_FALSE(Ar.IsError());
	EXPECT_EQ(Ar.Tell(), INDEX_NONE);
	EXPECT_EQ(ToStd(Ar.GetArchiveName()), "FArchive");
	Ar.ArIsSaveGame = true;
	EXPECT_TRUE(Ar.IsSaveGame());
	Ar.SetCriticalError();
	EXPECT_TRUE(Ar.IsError());
	EXPECT_TRUE(Ar.IsCriticalError());
	Ar.ClearError();
	EXPECT_FALSE(Ar.IsError());
}

TEST(ArchiveValueTest, BasicTypesRoundTripInTheirOwnSize)
{
	TArray<uint8> Bytes;
	FMemoryWriter Writer(Bytes);
	uint8 U8 = 0xAB;
	int16 I16 = -12345;
	uint32 U32 = 0xDEADBEEF;
	int64 I64 = -1234567890123LL;
	float F = 1.5f;
	double D = -2.25;
	ETestColour Colour = ETestColour::Blue;
	Writer << U8 << I16 << U32 << I64 << F << D << Colour;
	EXPECT_EQ(Bytes.Num(), 1 + 2 + 4 + 8 + 4 + 8 + 1);
	EXPECT_EQ(Bytes[3], 0xEF);

	FMemoryReader Reader(Bytes);
	uint8 LU8 = 0;
	int16 LI16 = 0;
	uint32 LU32 = 0;
	int64 LI64 = 0;
	float LF = 0;
	double LD = 0;
	ETestColour LColour = ETestColour::Red;
	Reader << LU8 << LI16 << LU32 << LI64 << LF << LD << LColour;
	EXPECT_FALSE(Reader.IsError());
	EXPECT_EQ(LU8, U8);
	EXPECT_EQ(LI16, I16);
	EXPECT_EQ(LU32, U32);
	EXPECT_EQ(LI64, I64);
	EXPECT_EQ(LF, F);
	EXPECT_EQ(LD, D);
	EXPECT_EQ(LColour, ETestColour::Blue);
	EXPECT_TRUE(Reader.AtEnd());
}

TEST(ArchiveValueTest, BoolIsAWordAndOtherValuesAreCorrupt)
{
	const TArray<uint8> Bytes = Save(true);
	ASSERT_EQ(Bytes.Num(), 4);
	EXPECT_EQ(ReadInt32(Bytes, 0), 1);
	bool bError = true;
	EXPECT_TRUE(Load<bool>(Bytes, &bError));
	EXPECT_FALSE(bError);
	EXPECT_FALSE(Load<bool>(Save(false), &bError));
	EXPECT_FALSE(bError);

	const TArray<uint8> Corrupt = { 2, 0, 0, 0 };
	Load<bool>(Corrupt, &bError);
	EXPECT_TRUE(bError);
}

TEST(ArchiveStringTest, AsciiGoesAsBytesWithTerminator)
{
	const TArray<uint8> Bytes = Save(FString(TEXT("abc")));
	ASSERT_EQ(Bytes.Num(), 4 + 4);
	EXPECT_EQ(ReadInt32(Bytes, 0), 4);
	EXPECT_EQ(Bytes[4], 'a');
	EXPECT_EQ(Bytes[7], 0);
	EXPECT_EQ(ToStd(Load<FString>(Bytes)), "abc");
}

TEST(ArchiveStringTest, OtherTextGoesAsUtf16WithANegativeCount)
{
	const TCHAR Text[] = { 'x', 0x20AC, 0xD83D, 0xDE00, 0 };
	const TArray<uint8> Bytes = Save(FString(Text));
	ASSERT_EQ(Bytes.Num(), 4 + 5 * 2);
	EXPECT_EQ(ReadInt32(Bytes, 0), -5);
	const FString Loaded = Load<FString>(Bytes);
	ASSERT_EQ(Loaded.Len(), 4);
	for (int32 Index = 0; Index < 4; ++Index)
	{
		EXPECT_EQ(Loaded[Index], Text[Index]);
	}
}

TEST(ArchiveStringTest, EmptyStringIsACountOfZero)
{
	const TArray<uint8> Bytes = Save(FString());
	ASSERT_EQ(Bytes.Num(), 4);
	EXPECT_EQ(ReadInt32(Bytes, 0), 0);
	EXPECT_TRUE(Load<FString>(Bytes).IsEmpty());
	// A lone terminator is the empty string too, and keeps no storage.
	const TArray<uint8> Terminator = { 1, 0, 0, 0, 0 };
	const FString Loaded = Load<FString>(Terminator);
	EXPECT_TRUE(Loaded.IsEmpty());
	EXPECT_EQ(Loaded.GetCharArray().Num(), 0);
}

TEST(ArchiveStringTest, ACountBeyondTheDataIsAnError)
{
	TArray<uint8> Bytes = Save(FString(TEXT("abcdef")));
	Bytes.SetNum(Bytes.Num() - 3);
	bool bError = false;
	EXPECT_TRUE(Load<FString>(Bytes, &bError).IsEmpty());
	EXPECT_TRUE(bError);

	const TArray<uint8> Huge = { 0xFF, 0xFF, 0xFF, 0x7F, 'a' };
	EXPECT_TRUE(Load<FString>(Huge, &bError).IsEmpty());
	EXPECT_TRUE(bError);
	const TArray<uint8> Minimum = { 0x00, 0x00, 0x00, 0x80 };
	EXPECT_TRUE(Load<FString>(Minimum, &bError).IsEmpty());
	EXPECT_TRUE(bError);
}

TEST(ArchiveNameTest, NamesGoAsTheirText)
{
	const TArray<uint8> Bytes = Save(FName(TEXT("Saved_12")));
	EXPECT_EQ(ReadInt32(Bytes, 0), 9);
	const FName Loaded = Load<FName>(Bytes);
	EXPECT_EQ(Loaded, FName(TEXT("Saved_12")));
	EXPECT_EQ(Loaded.GetNumber(), NAME_EXTERNAL_TO_INTERNAL(12));
	EXPECT_EQ(Load<FName>(Save(FName())), NAME_None);
}

TEST(ArchiveContainerTest, ArraysMapsAndSetsRoundTrip)
{
	TArray<uint8> Bytes;
	FMemoryWriter Writer(Bytes);
	TArray<FString> Strings = { TEXT("one"), TEXT("two") };
	TMap<int32, FString> Map;
	Map.Add(5, TEXT("five"));
	Map.Add(1, TEXT("one"));
	TSet<int32> Set = { 9, 8, 7 };
	Writer << Strings << Map << Set;

	FMemoryReader Reader(Bytes);
	TArray<FString> LoadedStrings;
	TMap<int32, FString> LoadedMap;
	TSet<int32> LoadedSet;
	Reader << LoadedStrings << LoadedMap << LoadedSet;
	EXPECT_FALSE(Reader.IsError());
	EXPECT_EQ(LoadedStrings, Strings);
	EXPECT_TRUE(LoadedMap.OrderIndependentCompareEqual(Map));
	TArray<int32> Keys;
	LoadedMap.GenerateKeyArray(Keys);
	EXPECT_EQ(Keys, (TArray<int32>{ 5, 1 }));
	EXPECT_EQ(LoadedSet.Array(), (TArray<int32>{ 9, 8, 7 }));
}

TEST(ArchiveContainerTest, ACorruptArrayCountLoadsNothing)
{
	const TArray<uint8> Bytes = { 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4 };
	FMemoryReader Reader(Bytes);
	TArray<int32> Loaded = { 1 };
	Reader << Loaded;
	EXPECT_TRUE(Reader.IsError());
	EXPECT_TRUE(Loaded.IsEmpty());
}
