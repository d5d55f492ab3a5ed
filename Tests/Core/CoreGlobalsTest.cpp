#include "CoreGlobals.h"

#include "HAL/PlatformTLS.h"
#include "Templates/UnrealTemplate.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
	bool IsInGameThreadOnNewThread()
	{
		bool bResult = true;
		std::thread Thread([&bResult]() { bResult = IsInGameThread(); });
		Thread.join();
		return bResult;
	}
}

TEST(GameThreadTest, OnlyTheThreadThatStartedTheEngineIsTheGameThread)
{
	ASSERT_TRUE(GIsGameThreadIdInitialized);
	EXPECT_EQ(GGameThreadId, FPlatformTLS::GetCurrentThreadId());
	EXPECT_TRUE(IsInGameThread());
	EXPECT_FALSE(IsInGameThreadOnNewThread());
}

TEST(GameThreadTest, EveryThreadCountsAsGameThreadBeforeStartUp)
{
	const TGuardValue<bool> NotStarted(GIsGameThreadIdInitialized, false);
	EXPECT_TRUE(IsInGameThread());
	EXPECT_TRUE(IsInGameThreadOnNewThread());
}

TEST(GameThreadTest, ThreadIdsAreStablePerThreadAndDistinctAcrossThreads)
{
	const uint32 Mine = FPlatformTLS::GetCurrentThreadId();
	EXPECT_NE(Mine, 0u);
	EXPECT_EQ(FPlatformTLS::GetCurrentThreadId(), Mine);
	uint32 Other = 0;
	std::thread Thread([&Other]() { Other = FPlatformTLS::GetCurrentThreadId(); });
	Thread.join();
	EXPECT_NE(Other, 0u);
	EXPECT_NE(Other, Mine);
}
