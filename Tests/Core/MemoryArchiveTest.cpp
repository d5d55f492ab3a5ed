#include "Serialization/MemoryArchive.h"

#include "CoreTestSupport.h"
#include "Serialization/MemoryReader.h"
#include "Serialization/MemoryWriter.h"

#include <gtest/gtest.h>

using CoreTests::ToStd;

TEST(MemoryWriterTest, WritesAppendAndGrowTheArray)
{
	TArray<uint8> Bytes;
	FMemoryWriter Writer(Bytes);
	EXPECT_TRUE(Writer.IsSaving());
	EXPECT_FALSE(Writer.IsLoading());
	EXPECT_FALSE(Writer.IsPersistent());
	uint32 Value = 0x04030201;
	Writer << Value << Value;
	EXPECT_EQ(Bytes, (TArray<uint8>{ 1, 2, 3, 4, 1, 2, 3, 4 }));
	EXPECT_EQ(Writer.Tell(), 8);
	EXPECT_EQ(Writer.TotalSize(), 8);
}

TEST(MemoryWriterTest, WritingBeforeTheEndOverwrites)
{
	TArray<uint8> Bytes;
	FMemoryWriter Writer(Bytes);
	uint32 Value = 0xFFFFFFFF;
	Writer << Value << Value;
	Writer.Seek(2);
	uint16 Small = 0;
	Writer << Small;
	EXPECT_EQ(Bytes, (TArray<uint8>{ 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF }));
	Writer.Seek(6);
	Writer << Value;
	EXPECT_EQ(Bytes.Num(), 10);
}

TEST(MemoryWriterTest, SetOffsetAppendsToWhatIsThere)
{
	TArray<uint8> Bytes = { 9, 9 };
	FMemoryWriter Appender(Bytes, true, true);
	EXPECT_TRUE(Appender.IsPersistent());
	uint8 Value = 1;
	Appender << Value;
	EXPECT_EQ(Bytes, (TArray<uint8>{ 9, 9, 1 }));

	FMemoryWriter FromStart(Bytes);
	FromStart << Value;
	EXPECT_EQ(Bytes, (TArray<uint8>{ 1, 9, 1 }));
}

TEST(MemoryWriterTest, ArchiveNameIsTheGivenName)
{
	TArray<uint8> Bytes;
	EXPECT_EQ(ToStd(FMemoryWriter(Bytes).GetArchiveName()), "FMemoryWriter");
	EXPECT_EQ(ToStd(FMemoryWriter(Bytes, false, false, FName(TEXT("SaveSlot"))).GetArchiveName()), "SaveSlot");
}

TEST(MemoryReaderTest, ReadsWhatWasWritten)
{
	const TArray<uint8> Bytes = { 1, 2, 3, 4, 5 };
	FMemoryReader Reader(Bytes);
	EXPECT_TRUE(Reader.IsLoading());
	EXPECT_FALSE(Reader.IsSaving());
	uint32 Value = 0;
	Reader << Value;
	EXPECT_EQ(Value, 0x04030201u);
	EXPECT_EQ(Reader.Tell(), 4);
	EXPECT_FALSE(Reader.AtEnd());
	uint8 Last = 0;
	Reader << Last;
	EXPECT_EQ(Last, 5);
	EXPECT_TRUE(Reader.AtEnd());
	EXPECT_FALSE(Reader.IsError());
	EXPECT_EQ(ToStd(Reader.GetArchiveName()), "FMemoryReader");
}

TEST(MemoryReaderTest, ReadingPastTheEndFailsZeroFillsAndStays)
{
	const TArray<uint8> Bytes = { 1, 2, 3 };
	FMemoryReader Reader(Bytes);
	uint8 First = 0;
	Reader << First;
	uint32 TooBig = 0xFFFFFFFF;
	Reader << TooBig;
	EXPECT_TRUE(Reader.IsError());
	EXPECT_EQ(TooBig, 0u);
	EXPECT_EQ(Reader.Tell(), 1);
	// Once in error, the reader gives nothing more, even what would fit.
	uint8 Next = 0xFF;
	Reader << Next;
	EXPECT_EQ(Next, 0);
}

TEST(MemoryReaderTest, LimitSizeCapsTheReadableBytes)
{
	const TArray<uint8> Bytes = { 1, 2, 3, 4 };
	FMemoryReader Reader(Bytes);
	Reader.SetLimitSize(2);
	EXPECT_EQ(Reader.TotalSize(), 2);
	uint16 Value = 0;
	Reader << Value;
	EXPECT_EQ(Value, 0x0201);
	Reader << Value;
	EXPECT_TRUE(Reader.IsError());
}

TEST(MemoryReaderTest, SeekMovesTheReadPosition)
{
	const TArray<uint8> Bytes = { 10, 20, 30 };
	FMemoryReader Reader(Bytes);
	Reader.Seek(2);
	uint8 Value = 0;
	Reader << Value;
	EXPECT_EQ(Value, 30);
	Reader.Seek(0);
	Reader << Value;
	EXPECT_EQ(Value, 10);
}
