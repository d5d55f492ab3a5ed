#pragma once

#include "CoreTypes.h"
#include "Logging/LogCategory.h"
#include "Logging/LogVerbosity.h"
#include "Misc/AssertionMacros.h"
#include "Templates/UnrealTypeTraits.h"

#include <type_traits>

struct FMsg
{
	// Writes "<Category>: <Verbosity>: <Message>" through GLog ("<Category>: <Message>" for
	// Log verbosity, as the engine does). A Fatal message also goes to stderr and traps.
	CORE_API static void Logf(const ANSICHAR* File, int32 Line, const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Fmt, ...);
};

#if NO_LOGGING
	#define UE_LOG(CategoryName, Verbosity, Format, ...) do { } while (false)
#else
	#define UE_LOG(CategoryName, Verbosity, Format, ...) \
		do \
		{ \
			static_assert(std::is_convertible_v<decltype(Format), const TCHAR*>, "Formatting string must be a TCHAR array."); \
			if constexpr ((ELogVerbosity::Verbosity & ELogVerbosity::VerbosityMask) <= std::remove_reference_t<decltype(CategoryName)>::CompileTimeVerbosity) \
			{ \
				if (ELogVerbosity::Verbosity == ELogVerbosity::Fatal || !CategoryName.IsSuppressed(ELogVerbosity::Verbosity)) \
				{ \
					FMsg::Logf(__FILE__, __LINE__, CategoryName.GetCategoryName(), ELogVerbosity::Verbosity, Format __VA_OPT__(,) __VA_ARGS__); \
					if constexpr (ELogVerbosity::Verbosity == ELogVerbosity::Fatal) \
					{ \
						__builtin_trap(); \
					} \
				} \
			} \
		} \
		while (false)
#endif

#define UE_CLOG(Condition, CategoryName, Verbosity, Format, ...) \
	do \
	{ \
		if (Condition) \
		{ \
			UE_LOG(CategoryName, Verbosity, Format __VA_OPT__(,) __VA_ARGS__); \
		} \
	} \
	while (false)

#define DECLARE_LOG_CATEGORY_EXTERN(CategoryName, DefaultVerbosity, CompileTimeVerbosity) \
	extern struct FLogCategory##CategoryName : public FLogCategory<ELogVerbosity::DefaultVerbosity, ELogVerbosity::CompileTimeVerbosity> \
	{ \
		FORCEINLINE FLogCategory##CategoryName() \
			: FLogCategory(TEXT(#CategoryName)) \
		{ \
		} \
	} CategoryName;

#define DEFINE_LOG_CATEGORY(CategoryName) FLogCategory##CategoryName CategoryName;

#define DEFINE_LOG_CATEGORY_STATIC(CategoryName, DefaultVerbosity, CompileTimeVerbosity) \
	static struct FLogCategory##CategoryName : public FLogCategory<ELogVerbosity::DefaultVerbosity, ELogVerbosity::CompileTimeVerbosity> \
	{ \
		FORCEINLINE FLogCategory##CategoryName() \
			: FLogCategory(TEXT(#CategoryName)) \
		{ \
		} \
	} CategoryName;

#define DECLARE_LOG_CATEGORY_CLASS(CategoryName, DefaultVerbosity, CompileTimeVerbosity) \
	DEFINE_LOG_CATEGORY_STATIC(CategoryName, DefaultVerbosity, CompileTimeVerbosity)

CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogTemp, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogCore, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogSerialization, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogModuleManager, Log, All);
