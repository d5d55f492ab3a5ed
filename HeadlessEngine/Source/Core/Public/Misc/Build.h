#pragma once

// One configuration only: a development build of a game target, without the editor.

#define UE_BUILD_DEBUG 0
#define UE_BUILD_DEVELOPMENT 1
#define UE_BUILD_TEST 0
#define UE_BUILD_SHIPPING 0
#define UE_GAME 1
#define UE_EDITOR 0
#define UE_SERVER 0
#define WITH_EDITOR 0
#define WITH_EDITORONLY_DATA 0
#define WITH_ENGINE 1
#define WITH_SERVER_CODE 1
#define IS_MONOLITHIC 0
#define IS_PROGRAM 0

#ifndef DO_CHECK
	#define DO_CHECK 1
#endif
#ifndef DO_GUARD_SLOW
	#define DO_GUARD_SLOW 0
#endif
#ifndef DO_ENSURE
	#define DO_ENSURE 1
#endif
#ifndef STATS
	#define STATS 1
#endif
#ifndef NO_LOGGING
	#define NO_LOGGING 0
#endif
