#include "HAL/PlatformTLS.h"

#include <sys/syscall.h>
#include <unistd.h>

uint32 FPlatformTLS::GetCurrentThreadId()
{
	// The kernel id is cached per thread: the system call is not free.
	thread_local const uint32 ThreadId = (uint32)syscall(SYS_gettid);
	return ThreadId;
}
