#include "CoreGlobals.h"
#include "HAL/PlatformTLS.h"

#include <gtest/gtest.h>

// The thread that runs the tests is the game thread, named before the first test as the
// engine loop names it before the first frame.
int main(int ArgC, char** ArgV)
{
	testing::InitGoogleTest(&ArgC, ArgV);
	// Death tests re-run the binary for each death, so the child names its own game thread.
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	GGameThreadId = FPlatformTLS::GetCurrentThreadId();
	GIsGameThreadIdInitialized = true;
	return RUN_ALL_TESTS();
}
