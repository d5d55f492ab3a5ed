#include "Misc/AssertionMacros.h"

#include "Containers/UnrealString.h"
#include "Misc/VarArgsFormat.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace
{
	// Reports from several threads must not interleave.
	std::mutex& GetReportMutex()
	{
		static std::mutex Mutex;
		return Mutex;
	}

	FString FormatReport(const ANSICHAR* Prefix, const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Format, va_list Args)
	{
		FString Report;
		Report.Appendf(TEXT("%hs: %hs [File:%hs] [Line: %d]\n"), Prefix, Expr ? Expr : "", File ? File : "", Line);
		if (Format && *Format)
		{
			UE::Core::Private::AppendFormattedV(Report, Format, Args);
			Report.AppendChar('\n');
		}
		return Report;
	}

	void Report(const FString& Text)
	{
		const std::lock_guard<std::mutex> Lock(GetReportMutex());
		// Whatever the program printed before the failure should come first.
		std::fflush(stdout);
		UE::Core::Private::WriteToStderr(Text);
	}
}

bool FDebug::CheckVerifyFailedImpl2(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Format, ...)
{
	va_list Args;
	va_start(Args, Format);
	const FString Text = FormatReport("Assertion failed", Expr, File, Line, Format, Args);
	va_end(Args);
	Report(Text);
	return true;
}

bool FDebug::OptionallyLogFormattedEnsureMessageReturningFalse(bool bLog, const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* FormattedMsg, ...)
{
	if (bLog)
	{
		va_list Args;
		va_start(Args, FormattedMsg);
		const FString Text = FormatReport("Ensure condition failed", Expr, File, Line, FormattedMsg, Args);
		va_end(Args);
		Report(Text);
	}
	return false;
}

void FDebug::AssertFailed(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Format, ...)
{
	va_list Args;
	va_start(Args, Format);
	const FString Text = FormatReport("Assertion failed", Expr, File, Line, Format, Args);
	va_end(Args);
	Report(Text);
	PLATFORM_BREAK();
}
