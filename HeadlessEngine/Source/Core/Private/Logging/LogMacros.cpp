#include "Logging/LogMacros.h"

#include "Containers/UnrealString.h"
#include "CoreGlobals.h"
#include "Misc/OutputDevice.h"
#include "Misc/VarArgsFormat.h"

#include <cstdarg>

namespace UE::Core::Private
{
	FString FormatLogLine(ELogVerbosity::Type Verbosity, const FName& Category, const TCHAR* Message);
}

DEFINE_LOG_CATEGORY(LogTemp);
DEFINE_LOG_CATEGORY(LogCore);
DEFINE_LOG_CATEGORY(LogSerialization);
DEFINE_LOG_CATEGORY(LogModuleManager);

const TCHAR* ToString(ELogVerbosity::Type Verbosity)
{
	switch (Verbosity & ELogVerbosity::VerbosityMask)
	{
	case ELogVerbosity::NoLogging: return TEXT("NoLogging");
	case ELogVerbosity::Fatal: return TEXT("Fatal");
	case ELogVerbosity::Error: return TEXT("Error");
	case ELogVerbosity::Warning: return TEXT("Warning");
	case ELogVerbosity::Display: return TEXT("Display");
	case ELogVerbosity::Log: return TEXT("Log");
	case ELogVerbosity::Verbose: return TEXT("Verbose");
	case ELogVerbosity::VeryVerbose: return TEXT("VeryVerbose");
	default: return TEXT("Unknown");
	}
}

FLogCategoryBase::FLogCategoryBase(const TCHAR* InCategoryName, ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity)
	: Verbosity(ELogVerbosity::NoLogging)
	, CompileTimeVerbosity(InCompileTimeVerbosity)
	, CategoryName(InCategoryName)
{
	SetVerbosity(InDefaultVerbosity);
}

void FLogCategoryBase::SetVerbosity(ELogVerbosity::Type NewVerbosity)
{
	// Nothing above what was compiled in can be turned on.
	const ELogVerbosity::Type Level = (ELogVerbosity::Type)(NewVerbosity & ELogVerbosity::VerbosityMask);
	Verbosity = Level < CompileTimeVerbosity ? Level : CompileTimeVerbosity;
}

void FMsg::Logf(const ANSICHAR* File, int32 Line, const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Fmt, ...)
{
	FString Message;
	va_list Args;
	va_start(Args, Fmt);
	UE::Core::Private::AppendFormattedV(Message, Fmt, Args);
	va_end(Args);

	if ((Verbosity & ELogVerbosity::VerbosityMask) == ELogVerbosity::Fatal)
	{
		FString Report = UE::Core::Private::FormatLogLine(Verbosity, Category, *Message);
		Report.Appendf(TEXT("\n[File:%hs] [Line: %d]\n"), File ? File : "", Line);
		UE::Core::Private::WriteToStderr(Report);
		PLATFORM_BREAK();
	}

	if (GLog)
	{
		GLog->Serialize(*Message, Verbosity, Category);
	}
}
