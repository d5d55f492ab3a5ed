#include "Vesk_ReferenceDifferentialHarness.h"

#include "Components/ActorComponent.h"
#include "UObject/Class.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

using namespace VeskDifferential;

namespace
{
	constexpr int32 NumShards = 8;
	constexpr int32 OperationsPerSequence = 1000;

	int64 EnvironmentNumber(const char* Name, int64 Default)
	{
		const char* Text = std::getenv(Name);
		return Text && *Text ? std::strtoll(Text, nullptr, 10) : Default;
	}

	// CI runs VESK_DIFFERENTIAL_CI_OPERATIONS in all; VESK_DIFF_OPERATIONS asks for more (or fewer),
	// and VESK_DIFF_SEED for other seeds.
	int64 TotalOperations()
	{
		return EnvironmentNumber("VESK_DIFF_OPERATIONS", VESK_DIFFERENTIAL_CI_OPERATIONS);
	}

	uint32 BaseSeed()
	{
		return static_cast<uint32>(EnvironmentNumber("VESK_DIFF_SEED", 1));
	}

	std::string FailureReport(const std::string& Origin, const std::vector<FOp>& Ops, const FDivergence& Divergence, const FRunOptions& Options)
	{
		const std::vector<FOp> Shrunk = Shrink(Ops, Options, std::chrono::seconds(45));
		return Report(Origin, Ops, Divergence, Shrunk, Options);
	}
}

// Counting lifetime components and asking for their class both depend on finding it.
TEST(FReferenceDifferentialSetupTest, FindsThePluginsLifetimeComponentClass)
{
	const UClass* Found = LifetimeComponentClass();
	ASSERT_NE(Found, nullptr);
	EXPECT_TRUE(Found->IsChildOf(UActorComponent::StaticClass()));
}

class FReferenceDifferentialTest : public testing::TestWithParam<int32>
{
};

TEST_P(FReferenceDifferentialTest, RegistryAgreesWithTheModelAfterEveryOperation)
{
	const int64 Budget = (TotalOperations() + NumShards - 1) / NumShards;
	FRunStats Stats;
	int32 Sequences = 0;
	for (uint32 Index = 0; Stats.Steps < Budget; ++Index)
	{
		const uint32 Seed = BaseSeed() + static_cast<uint32>(GetParam()) + NumShards * Index;
		const std::vector<FOp> Ops = GenerateSequence(Seed, OperationsPerSequence);
		const FDivergence Divergence = VeskDifferential::Run(Ops, FRunOptions(), &Stats);
		++Sequences;
		if (Divergence.bFound)
		{
			FAIL() << FailureReport("seed " + std::to_string(Seed), Ops, Divergence, FRunOptions());
		}
	}
	std::cout << "shard " << GetParam() << ": " << Sequences << " sequences, " << Stats.Steps << " operations, " << Stats.HandlerCalls << " handler calls, "
			  << Stats.Resolves << " resolutions compared, " << Stats.ActiveObservations / std::max<int64>(Stats.Steps, 1) << " active observations per step\n";
	for (size_t Path = 0; Path < static_cast<size_t>(VeskModel::ECoverage::Num); ++Path)
	{
		std::cout << "  " << VeskModel::CoverageName(static_cast<VeskModel::ECoverage>(Path)) << ": " << Stats.Coverage[Path] << "\n";
	}
}

INSTANTIATE_TEST_SUITE_P(Shards, FReferenceDifferentialTest, testing::Range(0, NumShards));

// The comparison is only worth its time if it notices mistakes: each of these models is wrong in
// one rule, and seeded sequences must expose it, shrink to a short case, and that short case must
// be one that the correct model passes.
class FReferenceDifferentialFaultTest : public testing::TestWithParam<EModelFault>
{
};

TEST_P(FReferenceDifferentialFaultTest, ComparisonCatchesAModelThatBreaksOneRule)
{
	FRunOptions Faulty;
	Faulty.Fault = GetParam();
	for (uint32 Seed = 1; Seed <= 40; ++Seed)
	{
		const std::vector<FOp> Ops = GenerateSequence(Seed, OperationsPerSequence);
		if (!VeskDifferential::Run(Ops, Faulty).bFound)
		{
			continue;
		}
		const std::vector<FOp> Shrunk = Shrink(Ops, Faulty, std::chrono::seconds(10));
		EXPECT_LT(Shrunk.size(), Ops.size());
		EXPECT_TRUE(VeskDifferential::Run(Shrunk, Faulty).bFound);
		const FDivergence Correct = VeskDifferential::Run(Shrunk, FRunOptions());
		EXPECT_FALSE(Correct.bFound) << Correct.What;
		return;
	}
	FAIL() << "no sequence told the faulty model from the registry";
}

INSTANTIATE_TEST_SUITE_P(Faults, FReferenceDifferentialFaultTest,
	testing::Values(EModelFault::PublishDoesNotNotify, EModelFault::HandlersRemovedInOrder, EModelFault::SevenNotificationPasses,
		EModelFault::LifetimeComponentCountsAsMatch, EModelFault::WithdrawKeepsObject, EModelFault::NoStrongReferenceWhileRefreshing,
		EModelFault::NewComponentNotBroadcast),
	[](const testing::TestParamInfo<EModelFault>& Info)
	{
		switch (Info.param)
		{
			case EModelFault::PublishDoesNotNotify: return std::string("PublishDoesNotNotify");
			case EModelFault::HandlersRemovedInOrder: return std::string("HandlersRemovedInOrder");
			case EModelFault::SevenNotificationPasses: return std::string("SevenNotificationPasses");
			case EModelFault::LifetimeComponentCountsAsMatch: return std::string("LifetimeComponentCountsAsMatch");
			case EModelFault::WithdrawKeepsObject: return std::string("WithdrawKeepsObject");
			case EModelFault::NoStrongReferenceWhileRefreshing: return std::string("NoStrongReferenceWhileRefreshing");
			default: return std::string("NewComponentNotBroadcast");
		}
	});

// The fuzz target's seed corpus, run here too, so that every build checks it, whichever compiler.
TEST(FReferenceDifferentialCorpusTest, SeedCorpusAgreesWithTheModel)
{
	int32 NumInputs = 0;
	for (const std::filesystem::directory_entry& File : std::filesystem::directory_iterator(VESK_FUZZ_CORPUS_DIR))
	{
		std::ifstream Stream(File.path(), std::ios::binary);
		const std::vector<uint8> Bytes((std::istreambuf_iterator<char>(Stream)), std::istreambuf_iterator<char>());
		const std::vector<FOp> Ops = OpsFromFuzzInput(Bytes.data(), Bytes.size());
		const FDivergence Divergence = VeskDifferential::Run(Ops);
		EXPECT_FALSE(Divergence.bFound) << FailureReport(File.path().filename().string(), Ops, Divergence, FRunOptions());
		++NumInputs;
	}
	EXPECT_GT(NumInputs, 0);
}

// Replays a sequence that a failure report printed: VESK_DIFF_REPLAY=<hex>.
TEST(FReferenceDifferentialReplayTest, ReplaysTheGivenSequence)
{
	const char* Hex = std::getenv("VESK_DIFF_REPLAY");
	if (!Hex || !*Hex)
	{
		GTEST_SKIP() << "set VESK_DIFF_REPLAY to the hexadecimal sequence of a failure report";
	}
	std::vector<FOp> Ops;
	ASSERT_TRUE(FromHex(Hex, Ops)) << "not a whole number of operations in hexadecimal";
	const FDivergence Divergence = VeskDifferential::Run(Ops);
	EXPECT_FALSE(Divergence.bFound) << Report("replay", Ops, Divergence, Ops, FRunOptions());
}
