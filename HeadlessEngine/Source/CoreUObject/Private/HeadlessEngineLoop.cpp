#include "HeadlessEngineLoop.h"

#include "CoreGlobals.h"
#include "HAL/PlatformTLS.h"
#include "Misc/AssertionMacros.h"
#include "UObject/UObjectGlobals.h"

namespace
{
	bool bEngineInitialized = false;
}

void FHeadlessEngineLoop::PreInit()
{
	check(!bEngineInitialized);
	GGameThreadId = FPlatformTLS::GetCurrentThreadId();
	GIsGameThreadIdInitialized = true;
	ProcessNewlyLoadedUObjects();
	bEngineInitialized = true;
}

void FHeadlessEngineLoop::Exit()
{
	check(bEngineInitialized);
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	bEngineInitialized = false;
}

bool FHeadlessEngineLoop::IsInitialized()
{
	return bEngineInitialized;
}
