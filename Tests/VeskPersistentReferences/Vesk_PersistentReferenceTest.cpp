#include "Vesk_PersistentReference.h"

#include "Containers/Map.h"
#include "HAL/UnrealMemory.h"
#include "VeskReferenceTestSupport.h"

#include <gtest/gtest.h>

namespace
{
	FVesk_PersistentReference MakeReference(uint32 A, uint32 B, uint32 C, uint32 D)
	{
		FVesk_PersistentReference Reference;
		Reference.Id = FGuid(A, B, C, D);
		return Reference;
	}

	// Known answers from an independent CityHash64 (v1.1) implementation over the guid's four
	// little-endian words, low 32 bits.
	struct FHashVector
	{
		FGuid Guid;
		uint32 Low32;
	};

	const FHashVector HashVectors[] = {
		{ FGuid(0u, 0u, 0u, 0u), 0xcfed5815u },
		{ FGuid(1u, 42u, 0u, 255u), 0xe2b0eed8u },
		{ FGuid(0xdeadbeefu, 0x01234567u, 0x89abcdefu, 0xffffffffu), 0x823b2882u },
		{ FGuid(0x4a7b2cf7u, 0xb1e0384au, 0xbb5d9dffu, 0x88dbe1d8u), 0x2f35985cu },
	};
}

TEST(PersistentReferenceText, DefaultPrintsThirtyTwoZeros)
{
	const FVesk_PersistentReference Reference;

	EXPECT_FALSE(Reference.Id.IsValid());
	EXPECT_EQ(Reference.ToString(), FString(TEXT("00000000000000000000000000000000")));
}

TEST(PersistentReferenceText, WordsPrintInOrderAsEightUpperCaseDigits)
{
	EXPECT_EQ(MakeReference(1, 42, 0, 255).ToString(), FString(TEXT("000000010000002A00000000000000FF")));
	EXPECT_EQ(MakeReference(0xdeadbeefu, 0x0a0b0c0du, 0xffffffffu, 0x10u).ToString(), FString(TEXT("DEADBEEF0A0B0C0DFFFFFFFF00000010")));
}

TEST(PersistentReferenceEquality, DiffersWhenAnyOneWordDiffers)
{
	const FVesk_PersistentReference Base = MakeReference(1, 2, 3, 4);

	EXPECT_TRUE(Base == MakeReference(1, 2, 3, 4));
	EXPECT_FALSE(Base == MakeReference(9, 2, 3, 4));
	EXPECT_FALSE(Base == MakeReference(1, 9, 3, 4));
	EXPECT_FALSE(Base == MakeReference(1, 2, 9, 4));
	EXPECT_FALSE(Base == MakeReference(1, 2, 3, 9));
}

TEST(PersistentReferenceHash, IsLowHalfOfCityHash64OfTheGuidBytes)
{
	for (const FHashVector& Vector : HashVectors)
	{
		FVesk_PersistentReference Reference;
		Reference.Id = Vector.Guid;

		EXPECT_EQ(GetTypeHash(Reference), Vector.Low32) << Utf8(Reference.ToString());
		EXPECT_EQ(GetTypeHash(Reference), GetTypeHash(Reference.Id)) << Utf8(Reference.ToString());
	}
}

TEST(PersistentReferenceHash, WorksAsMapKey)
{
	TMap<FVesk_PersistentReference, int32> Map;
	Map.Add(MakeReference(1, 2, 3, 4), 1);
	Map.Add(MakeReference(1, 2, 3, 5), 2);
	Map.Add(MakeReference(1, 2, 3, 4), 3);

	EXPECT_EQ(Map.Num(), 2);
	ASSERT_NE(Map.Find(MakeReference(1, 2, 3, 4)), nullptr);
	EXPECT_EQ(*Map.Find(MakeReference(1, 2, 3, 4)), 3);
}

TEST(PersistentReferenceCopy, CopiesAllSixteenBytes)
{
	const FVesk_PersistentReference Source = MakeReference(0x11111111u, 0x22222222u, 0x33333333u, 0x44444444u);
	FVesk_PersistentReference Assigned = MakeReference(9, 9, 9, 9);
	FVesk_PersistentReference Moved;

	Assigned = Source;
	FVesk_PersistentReference Temporary = Source;
	Moved = MoveTemp(Temporary);

	EXPECT_TRUE(Assigned == Source);
	EXPECT_TRUE(Moved == Source);
	EXPECT_EQ(FMemory::Memcmp(&Assigned, &Source, sizeof(FVesk_PersistentReference)), 0);
}

TEST(ReferenceBindingToken, DefaultIsTheEmptyToken)
{
	const FVesk_ReferenceBinding Binding;

	EXPECT_FALSE(Binding.Id.IsValid());
	EXPECT_EQ(Binding.Generation, 0);
	EXPECT_TRUE(Binding.World.IsExplicitlyNull());
}

TEST(ReferenceBindingToken, CopyKeepsIdGenerationAndWorld)
{
	FTestWorld World;
	FVesk_ReferenceBinding Source;
	Source.Id = FGuid(1, 2, 3, 4);
	Source.Generation = 0x123456789LL;
	Source.World = World.Get();

	FVesk_ReferenceBinding Copy;
	Copy = Source;

	EXPECT_EQ(Copy.Id, Source.Id);
	EXPECT_EQ(Copy.Generation, Source.Generation);
	EXPECT_EQ(Copy.World.Get(), World.Get());
	// The token has no padding, so a member-wise copy is also a copy of every byte.
	EXPECT_EQ(FMemory::Memcmp(&Copy, &Source, sizeof(FVesk_ReferenceBinding)), 0);
}

TEST(ResolvedReference, StartsUnavailableWithNothingResolved)
{
	const FVesk_ResolvedReference Resolved;

	EXPECT_EQ(Resolved.Status, EVesk_ReferenceStatus::Unavailable);
	EXPECT_EQ(Resolved.Object, nullptr);
	EXPECT_EQ(Resolved.Component, nullptr);
	EXPECT_EQ(Resolved.Generation, 0);
}
