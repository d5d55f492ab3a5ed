#pragma once

#include "CoreTypes.h"

class FOutputDevice;

// Set by the engine loop on the thread that runs the game, before anything else starts.
extern CORE_API uint32 GGameThreadId;
extern CORE_API bool GIsGameThreadIdInitialized;

extern CORE_API bool GIsEditor;
extern CORE_API bool GIsRunning;
extern CORE_API bool GIsRequestingExit;
extern CORE_API uint64 GFrameCounter;

// Where UE_LOG writes (stderr unless replaced).
extern CORE_API FOutputDevice* GLog;

// True on the game thread, and on any thread before the game thread is known.
CORE_API bool IsInGameThread();

FORCEINLINE bool IsEngineExitRequested()
{
	return GIsRequestingExit;
}
