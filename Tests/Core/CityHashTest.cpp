#include "Hash/CityHash.h"

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace
{
	struct FKnownAnswer
	{
		std::string Input;
		uint64 Hash = 0;
		uint32 Low32 = 0;
	};

	std::string FromHex(const std::string& Hex)
	{
		std::string Bytes;
		for (size_t Index = 0; Index + 1 < Hex.size(); Index += 2)
		{
			Bytes += (char)std::stoi(Hex.substr(Index, 2), nullptr, 16);
		}
		return Bytes;
	}

	// The vectors come from an independent implementation of CityHash v1.1.
	std::vector<FKnownAnswer> LoadKnownAnswers()
	{
		std::ifstream File(CORE_TESTS_CITYHASH_VECTORS);
		std::vector<FKnownAnswer> Answers;
		std::string Line;
		bool bHeader = true;
		while (std::getline(File, Line))
		{
			if (bHeader)
			{
				bHeader = false;
				continue;
			}
			if (Line.empty())
			{
				continue;
			}
			std::istringstream Fields(Line);
			std::string InputHex;
			std::string HashHex;
			std::string LowHex;
			std::getline(Fields, InputHex, '\t');
			std::getline(Fields, HashHex, '\t');
			std::getline(Fields, LowHex, '\t');
			FKnownAnswer Answer;
			Answer.Input = FromHex(InputHex);
			Answer.Hash = std::stoull(HashHex, nullptr, 16);
			Answer.Low32 = (uint32)std::stoul(LowHex, nullptr, 16);
			Answers.push_back(Answer);
		}
		return Answers;
	}

	class CityHashKnownAnswerTest : public testing::Test
	{
	protected:
		static void SetUpTestSuite()
		{
			Answers = new std::vector<FKnownAnswer>(LoadKnownAnswers());
		}

		static void TearDownTestSuite()
		{
			delete Answers;
			Answers = nullptr;
		}

		static inline std::vector<FKnownAnswer>* Answers = nullptr;
	};
}

TEST_F(CityHashKnownAnswerTest, VectorsCoverEveryLengthBranch)
{
	ASSERT_FALSE(Answers->empty()) << "cannot read " << CORE_TESTS_CITYHASH_VECTORS;
	int32 Counts[4] = {};
	for (const FKnownAnswer& Answer : *Answers)
	{
		const size_t Len = Answer.Input.size();
		++Counts[Len <= 16 ? 0 : Len <= 32 ? 1 : Len <= 64 ? 2 : 3];
	}
	EXPECT_GT(Counts[0], 16);
	EXPECT_GE(Counts[1], 16);
	EXPECT_GE(Counts[2], 32);
	EXPECT_GE(Counts[3], 3);
}

TEST_F(CityHashKnownAnswerTest, CityHash64MatchesEveryVector)
{
	ASSERT_FALSE(Answers->empty());
	for (const FKnownAnswer& Answer : *Answers)
	{
		const uint64 Hash = CityHash64(Answer.Input.data(), (uint32)Answer.Input.size());
		EXPECT_EQ(Hash, Answer.Hash) << "length " << Answer.Input.size();
		EXPECT_EQ((uint32)Hash, Answer.Low32) << "length " << Answer.Input.size();
	}
}

TEST_F(CityHashKnownAnswerTest, InputAlignmentAndTrailingBytesDoNotMatter)
{
	ASSERT_FALSE(Answers->empty());
	std::mt19937 Random(5);
	for (const FKnownAnswer& Answer : *Answers)
	{
		for (size_t Offset = 1; Offset < 8; ++Offset)
		{
			// The hash reads exactly len bytes wherever they start: junk around them is ignored.
			std::string Buffer(Offset, (char)Random());
			Buffer += Answer.Input;
			for (int32 Index = 0; Index < 16; ++Index)
			{
				Buffer += (char)Random();
			}
			ASSERT_EQ(CityHash64(Buffer.data() + Offset, (uint32)Answer.Input.size()), Answer.Hash) << "length " << Answer.Input.size() << " offset " << Offset;
		}
	}
}

TEST(CityHashSeedTest, SeededHashMixesTheUnseededHashWithTheSeed)
{
	const uint64 K2 = 0x9ae16a3b2f90404fULL;
	std::mt19937_64 Random(11);
	for (uint32 Len : { 0u, 1u, 7u, 16u, 17u, 32u, 33u, 64u, 65u, 200u })
	{
		std::string Input;
		for (uint32 Index = 0; Index < Len; ++Index)
		{
			Input += (char)Random();
		}
		const uint64 Seed = Random();
		const uint64 Unseeded = CityHash64(Input.data(), Len);
		EXPECT_EQ(CityHash64WithSeed(Input.data(), Len, Seed), CityHash128to64(Uint128_64{ Unseeded - K2, Seed })) << Len;
		EXPECT_EQ(CityHash64WithSeeds(Input.data(), Len, 3, Seed), CityHash128to64(Uint128_64{ Unseeded - 3, Seed })) << Len;
		EXPECT_NE(CityHash64WithSeed(Input.data(), Len, Seed), CityHash64WithSeed(Input.data(), Len, Seed + 1)) << Len;
	}
}
