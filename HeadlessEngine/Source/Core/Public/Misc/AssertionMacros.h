#pragma once

#include "CoreTypes.h"

#include <atomic>

struct FDebug
{
	// Reports a failed check or verify to stderr as
	// "Assertion failed: <Expr> [File:<File>] [Line: <Line>]", followed on a new line by the
	// formatted message when Format is not empty. Returns true: the caller should break.
	static CORE_API bool CheckVerifyFailedImpl2(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Format, ...);

	// Reports a failed ensure as "Ensure condition failed: <Expr> [File:<File>] [Line: <Line>]"
	// plus the message when bLog is set. Always returns false, the value of the failed ensure.
	static CORE_API bool OptionallyLogFormattedEnsureMessageReturningFalse(bool bLog, const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* FormattedMsg, ...);

	// Reports a fatal error that has no expression (checkNoEntry and friends).
	[[noreturn]] static CORE_API void AssertFailed(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Format = TEXT(""), ...);
};

#if DO_CHECK
	#define UE_CHECK_IMPL(Expr, Format, ...) \
		do \
		{ \
			if (UNLIKELY(!(Expr))) \
			{ \
				if (FDebug::CheckVerifyFailedImpl2(#Expr, __FILE__, __LINE__, Format __VA_OPT__(,) __VA_ARGS__)) \
				{ \
					PLATFORM_BREAK(); \
				} \
				__builtin_trap(); \
			} \
		} \
		while (false)

	#define check(Expr) UE_CHECK_IMPL(Expr, TEXT(""))
	#define checkf(Expr, Format, ...) UE_CHECK_IMPL(Expr, Format __VA_OPT__(,) __VA_ARGS__)
	#define verify(Expr) UE_CHECK_IMPL(Expr, TEXT(""))
	#define verifyf(Expr, Format, ...) UE_CHECK_IMPL(Expr, Format __VA_OPT__(,) __VA_ARGS__)
	#define checkCode(Code) do { Code; } while (false)
	#define checkNoEntry() FDebug::AssertFailed("Enclosing block should never be called", __FILE__, __LINE__)
	#define checkNoReentry() \
		do \
		{ \
			static std::atomic<bool> bBeenHere = false; \
			if (bBeenHere.exchange(true)) \
			{ \
				FDebug::AssertFailed("Enclosing block was called more than once", __FILE__, __LINE__); \
			} \
		} \
		while (false)
	#define unimplemented() FDebug::AssertFailed("Unimplemented function called", __FILE__, __LINE__)
#else
	#define check(Expr) do { } while (false)
	#define checkf(Expr, Format, ...) do { } while (false)
	#define verify(Expr) do { if (Expr) { } } while (false)
	#define verifyf(Expr, Format, ...) do { if (Expr) { } } while (false)
	#define checkCode(Code) do { } while (false)
	#define checkNoEntry() do { } while (false)
	#define checkNoReentry() do { } while (false)
	#define unimplemented() do { } while (false)
#endif

#if DO_GUARD_SLOW
	#define checkSlow(Expr) check(Expr)
	#define checkfSlow(Expr, Format, ...) checkf(Expr, Format __VA_OPT__(,) __VA_ARGS__)
	#define verifySlow(Expr) check(Expr)
#else
	#define checkSlow(Expr) do { } while (false)
	#define checkfSlow(Expr, Format, ...) do { } while (false)
	#define verifySlow(Expr) do { if (Expr) { } } while (false)
#endif

#if DO_ENSURE
	// Each expansion owns one static flag, so a failing ensure reports once per call site
	// (per template instantiation) and ensureAlways reports every time. Either way the
	// expression evaluates to false when the condition fails.
	#define UE_ENSURE_IMPL(bAlways, Expr, Format, ...) \
		(LIKELY(!!(Expr)) || [&]() -> bool \
		{ \
			static std::atomic<bool> bExecuted = false; \
			const bool bReport = (bAlways) || !bExecuted.exchange(true); \
			return FDebug::OptionallyLogFormattedEnsureMessageReturningFalse(bReport, #Expr, __FILE__, __LINE__, Format __VA_OPT__(,) __VA_ARGS__); \
		}())

	#define ensure(Expr) UE_ENSURE_IMPL(false, Expr, TEXT(""))
	#define ensureMsgf(Expr, Format, ...) UE_ENSURE_IMPL(false, Expr, Format __VA_OPT__(,) __VA_ARGS__)
	#define ensureAlways(Expr) UE_ENSURE_IMPL(true, Expr, TEXT(""))
	#define ensureAlwaysMsgf(Expr, Format, ...) UE_ENSURE_IMPL(true, Expr, Format __VA_OPT__(,) __VA_ARGS__)
#else
	#define ensure(Expr) (!!(Expr))
	#define ensureMsgf(Expr, Format, ...) (!!(Expr))
	#define ensureAlways(Expr) (!!(Expr))
	#define ensureAlwaysMsgf(Expr, Format, ...) (!!(Expr))
#endif

// Fatal error with a message and no expression.
#define LowLevelFatalError(Format, ...) FDebug::AssertFailed("LowLevelFatalError", __FILE__, __LINE__, Format __VA_OPT__(,) __VA_ARGS__)
