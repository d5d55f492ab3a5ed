#pragma once

#include "CoreTypes.h"

struct FPlatformTLS
{
	// The kernel's id of the calling thread; never 0.
	static CORE_API uint32 GetCurrentThreadId();
};
