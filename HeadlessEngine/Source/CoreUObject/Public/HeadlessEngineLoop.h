#pragma once

#include "CoreMinimal.h"

// Start-up and shut-down of the headless engine, in place of the engine's own loop: the thread
// that calls PreInit becomes the game thread, every type compiled into the loaded libraries is
// registered, and every module they implement is loaded; Exit shuts the modules down again.
struct COREUOBJECT_API FHeadlessEngineLoop
{
	static void PreInit();
	static void Exit();
	static bool IsInitialized();
};
