#include "HeadlessEngineLoop.h"

#include "CoreGlobals.h"
#include "HAL/PlatformTLS.h"
#include "Misc/AssertionMacros.h"
#include "Misc/CompiledInRegistrationOrder.h"
#include "Modules/ModuleManager.h"
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
	// Then, as the engine loads the modules of its plugins, every module whose library is loaded
	// gets its module object, in the order the libraries queued them.
	for (const FCompiledInRecord& Record : GetCompiledInRegistrationOrder())
	{
		if (Record.Kind == FCompiledInRecord::EKind::Module)
		{
			FModuleManager::Get().LoadModule(FName(Record.Name));
		}
	}
	bEngineInitialized = true;
}

void FHeadlessEngineLoop::Exit()
{
	check(bEngineInitialized);
	FModuleManager::Get().UnloadModulesAtShutdown();
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	UE::CoreUObject::Private::DestroyAllObjects();
	bEngineInitialized = false;
}

bool FHeadlessEngineLoop::IsInitialized()
{
	return bEngineInitialized;
}
