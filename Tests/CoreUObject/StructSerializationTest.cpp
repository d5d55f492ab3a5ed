#include "CoreUObjectTestTypes.h"
#include "Serialization/MemoryReader.h"
#include "Serialization/MemoryWriter.h"

#include <gtest/gtest.h>

namespace
{
	TArray<uint8> Write(FTestPayload& Payload, bool bSaveGame)
	{
		TArray<uint8> Bytes;
		FMemoryWriter Writer(Bytes, true);
		Writer.ArIsSaveGame = bSaveGame;
		FTestPayload::StaticStruct()->SerializeItem(Writer, &Payload, nullptr);
		return Bytes;
	}

	FTestPayload Read(const TArray<uint8>& Bytes, bool bSaveGame)
	{
		FTestPayload Payload;
		Payload.Saved = -1;
		Payload.Unsaved = -1;
		FMemoryReader Reader(Bytes, true);
		Reader.ArIsSaveGame = bSaveGame;
		FTestPayload::StaticStruct()->SerializeItem(Reader, &Payload, nullptr);
		EXPECT_FALSE(Reader.IsError());
		return Payload;
	}
}

TEST(SaveGameSerialization, WritesAndReadsOnlySaveGameProperties)
{
	FTestPayload Payload;
	Payload.Saved = 17;
	Payload.Unsaved = 23;
	const FTestPayload Loaded = Read(Write(Payload, true), true);
	EXPECT_EQ(Loaded.Saved, 17);
	EXPECT_EQ(Loaded.Unsaved, -1);
}

TEST(SaveGameSerialization, OrdinaryArchiveTakesEveryProperty)
{
	FTestPayload Payload;
	Payload.Saved = 17;
	Payload.Unsaved = 23;
	const FTestPayload Loaded = Read(Write(Payload, false), false);
	EXPECT_EQ(Loaded.Saved, 17);
	EXPECT_EQ(Loaded.Unsaved, 23);
}

TEST(SaveGameSerialization, SaveGameBytesAreSmallerThanFullBytes)
{
	FTestPayload Payload;
	EXPECT_LT(Write(Payload, true).Num(), Write(Payload, false).Num());
}

TEST(SaveGameSerialization, GuidRoundTripsThroughItsSerializer)
{
	FGuid Guid(1, 2, 3, 4);
	TArray<uint8> Bytes;
	FMemoryWriter Writer(Bytes, true);
	Writer.ArIsSaveGame = true;
	TBaseStructure<FGuid>::Get()->SerializeItem(Writer, &Guid, nullptr);
	FGuid Loaded;
	FMemoryReader Reader(Bytes, true);
	Reader.ArIsSaveGame = true;
	TBaseStructure<FGuid>::Get()->SerializeItem(Reader, &Loaded, nullptr);
	EXPECT_EQ(Loaded, Guid);
}
