#include "CoreGlobals.h"

#include "HAL/PlatformTLS.h"
#include "Misc/OutputDevice.h"

namespace UE::Core::Private
{
	FOutputDevice& GetStdErrOutputDevice();
}

uint32 GGameThreadId = 0;
bool GIsGameThreadIdInitialized = false;

bool GIsEditor = false;
bool GIsRunning = false;
bool GIsRequestingExit = false;
uint64 GFrameCounter = 0;

FOutputDevice* GLog = &UE::Core::Private::GetStdErrOutputDevice();

bool IsInGameThread()
{
	// Until the engine names its game thread, every thread may act as it (static
	// initialisation and start-up code run before that).
	if (!GIsGameThreadIdInitialized)
	{
		return true;
	}
	return FPlatformTLS::GetCurrentThreadId() == GGameThreadId;
}
