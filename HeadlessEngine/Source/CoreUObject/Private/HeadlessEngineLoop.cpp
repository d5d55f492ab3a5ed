#include "HeadlessEngineLoop.h"

#include "CoreGlobals.h"
#include "HAL/PlatformTLS.h"
#include "Misc/AssertionMacros.h"
#include "UObject/UObjectGlobals.h"
#include "UObjectAllocation.h"

namespace
{
	bool bEngineInitialized = false;
	// The registered types do not survive Exit, so the engine starts once per process.
	bool bEngineStarted = false;
}

void FHeadlessEngineLoop::PreInit()
{
	check(!bEngineStarted);
	bEngineStarted = true;
	GGameThreadId = FPlatformTLS::GetCurrentThreadId();
	GIsGameThreadIdInitialized = true;
	ProcessNewlyLoadedUObjects();
	bEngineInitialized = true;
}

void FHeadlessEngineLoop::Exit()
{
	check(bEngineInitialized);
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	UE::CoreUObject::Private::DestroyAllObjects();
	bEngineInitialized = false;
}

bool FHeadlessEngineLoop::IsInitialized()
{
	return bEngineInitialized;
}
