#include "Misc/AssertionMacros.h"

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using CoreTests::AssertionPattern;
using CoreTests::RegexEscape;

namespace
{
	int32 CountOccurrences(const std::string& Text, const std::string& Part)
	{
		int32 Count = 0;
		for (size_t Pos = Text.find(Part); Pos != std::string::npos; Pos = Text.find(Part, Pos + 1))
		{
			++Count;
		}
		return Count;
	}

	// One ensure call site, reached as often as the caller likes.
	bool EnsureAtOneSite(bool bCondition)
	{
		return ensure(bCondition);
	}

	bool EnsureAtAnotherSite(bool bCondition)
	{
		return ensureMsgf(bCondition, TEXT("the other site, value %d"), 17);
	}

	bool EnsureAlwaysSite(bool bCondition)
	{
		return ensureAlways(bCondition);
	}
}

TEST(AssertionCheckTest, PassingChecksEvaluateTheirExpressionOnce)
{
	int32 Evaluations = 0;
	check(++Evaluations == 1);
	checkf(++Evaluations == 2, TEXT("never shown"));
	verify(++Evaluations == 3);
	verifyf(++Evaluations == 4, TEXT("never shown"));
	EXPECT_EQ(Evaluations, 4);
}

TEST(AssertionCheckDeathTest, FailedCheckReportsExpressionFileAndLine)
{
	const int32 Value = 7;
	const int32 Line = __LINE__ + 1;
	auto Fail = []() { check(Value == 42); };
	EXPECT_DEATH(Fail(), AssertionPattern("Value == 42", __FILE__, Line));
}

TEST(AssertionCheckDeathTest, FailedCheckfAddsTheFormattedMessage)
{
	const int32 Value = 7;
	const int32 Line = __LINE__ + 1;
	auto Fail = []() { checkf(Value == 42, TEXT("Value was %d, wanted %hs"), Value, "42"); };
	EXPECT_DEATH(Fail(), AssertionPattern("Value == 42", __FILE__, Line) + "\n" + RegexEscape("Value was 7, wanted 42"));
}

TEST(AssertionCheckDeathTest, FailedVerifyReportsLikeCheck)
{
	int32 Counter = 0;
	const int32 Line = __LINE__ + 1;
	auto Fail = [&Counter]() { verify(++Counter > 5); };
	EXPECT_DEATH(Fail(), AssertionPattern("++Counter > 5", __FILE__, Line));
}

TEST(AssertionCheckDeathTest, CheckNoEntryAndUnimplementedAreFatal)
{
	const int32 NoEntryLine = __LINE__ + 1;
	auto NoEntry = []() { checkNoEntry(); };
	EXPECT_DEATH(NoEntry(), AssertionPattern("Enclosing block should never be called", __FILE__, NoEntryLine));
	const int32 UnimplementedLine = __LINE__ + 1;
	auto Unimplemented = []() { unimplemented(); };
	EXPECT_DEATH(Unimplemented(), AssertionPattern("Unimplemented function called", __FILE__, UnimplementedLine));
}

TEST(AssertionCheckDeathTest, CheckNoReentryAllowsOneEntry)
{
	auto Enter = []() { checkNoReentry(); };
	Enter();
	EXPECT_DEATH(Enter(), RegexEscape("Assertion failed: Enclosing block was called more than once"));
}

TEST(AssertionCheckDeathTest, ReportGoesThroughCheckVerifyFailedImpl2)
{
	auto Report = []()
	{
		if (FDebug::CheckVerifyFailedImpl2("Direct == Call", "SomeFile.cpp", 12, TEXT("%s and %d"), TEXT("text"), 3))
		{
			PLATFORM_BREAK();
		}
	};
	EXPECT_DEATH(Report(), RegexEscape("Assertion failed: Direct == Call [File:SomeFile.cpp] [Line: 12]\ntext and 3"));
}

TEST(AssertionEnsureTest, FailedEnsureReportsOncePerCallSiteAndReturnsFalse)
{
	testing::internal::CaptureStderr();
	EXPECT_FALSE(EnsureAtOneSite(false));
	EXPECT_FALSE(EnsureAtOneSite(false));
	EXPECT_TRUE(EnsureAtOneSite(true));
	EXPECT_FALSE(EnsureAtAnotherSite(false));
	EXPECT_FALSE(EnsureAtAnotherSite(false));
	const std::string Output = testing::internal::GetCapturedStderr();

	EXPECT_EQ(CountOccurrences(Output, "Ensure condition failed: bCondition"), 2) << Output;
	EXPECT_EQ(CountOccurrences(Output, "the other site, value 17"), 1) << Output;
	EXPECT_EQ(CountOccurrences(Output, "[File:" + std::string(__FILE__) + "]"), 2) << Output;
}

TEST(AssertionEnsureTest, EnsureAlwaysReportsEveryTime)
{
	testing::internal::CaptureStderr();
	EXPECT_FALSE(EnsureAlwaysSite(false));
	EXPECT_FALSE(EnsureAlwaysSite(false));
	EXPECT_TRUE(EnsureAlwaysSite(true));
	const std::string Output = testing::internal::GetCapturedStderr();
	EXPECT_EQ(CountOccurrences(Output, "Ensure condition failed: bCondition"), 2) << Output;
}

TEST(AssertionEnsureTest, PassingEnsureIsSilentAndEvaluatesOnce)
{
	int32 Evaluations = 0;
	testing::internal::CaptureStderr();
	EXPECT_TRUE(ensure(++Evaluations == 1));
	EXPECT_TRUE(ensureMsgf(++Evaluations == 2, TEXT("never shown")));
	const std::string Output = testing::internal::GetCapturedStderr();
	EXPECT_EQ(Evaluations, 2);
	EXPECT_TRUE(Output.empty()) << Output;
}
