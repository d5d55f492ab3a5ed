#include "HeadlessEngineLoop.h"

#include <gtest/gtest.h>

// Every test binary starts the engine before the first test, as a game would before its first
// frame: the calling thread becomes the game thread and the compiled-in types are registered.
int main(int ArgC, char** ArgV)
{
	testing::InitGoogleTest(&ArgC, ArgV);
	// Death tests fork; the child must not re-run the engine's start-up on another thread.
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	FHeadlessEngineLoop::PreInit();
	const int Result = RUN_ALL_TESTS();
	FHeadlessEngineLoop::Exit();
	return Result;
}
