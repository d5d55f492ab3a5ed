#include "Misc/OutputDevice.h"

#include "Containers/UnrealString.h"
#include "Misc/VarArgsFormat.h"

#include <cstdarg>
#include <mutex>

namespace UE::Core::Private
{
	// "Category: Verbosity: Message", leaving out the category when there is none and the
	// verbosity when it is plain Log, as the engine's log lines read.
	FString FormatLogLine(ELogVerbosity::Type Verbosity, const FName& Category, const TCHAR* Message)
	{
		FString Line;
		if (!Category.IsNone())
		{
			Category.AppendString(Line);
			Line += TEXT(": ");
		}
		const ELogVerbosity::Type Level = (ELogVerbosity::Type)(Verbosity & ELogVerbosity::VerbosityMask);
		if (Level != ELogVerbosity::Log && Level != ELogVerbosity::NoLogging)
		{
			Line += ToString(Level);
			Line += TEXT(": ");
		}
		Line += Message;
		return Line;
	}

	namespace
	{
		class FOutputDeviceStdErr final : public FOutputDevice
		{
		public:
			virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
			{
				FString Line = FormatLogLine(Verbosity, Category, V);
				if (bAutoEmitLineTerminator)
				{
					Line.AppendChar('\n');
				}
				const std::lock_guard<std::mutex> Lock(Mutex);
				WriteToStderr(Line);
			}

		private:
			std::mutex Mutex;
		};
	}

	FOutputDevice& GetStdErrOutputDevice()
	{
		// Never destroyed: log lines may come from the destructors of other statics.
		static FOutputDeviceStdErr* Device = new FOutputDeviceStdErr();
		return *Device;
	}
}

FOutputDevice::~FOutputDevice() = default;

void FOutputDevice::Log(ELogVerbosity::Type Verbosity, const TCHAR* S)
{
	Serialize(S, Verbosity, NAME_None);
}

void FOutputDevice::Log(const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Str)
{
	Serialize(Str, Verbosity, Category);
}

void FOutputDevice::Log(const TCHAR* S)
{
	Serialize(S, ELogVerbosity::Log, NAME_None);
}

void FOutputDevice::Log(const FString& S)
{
	Serialize(*S, ELogVerbosity::Log, NAME_None);
}

void FOutputDevice::Log(const FName& Category, const TCHAR* Str)
{
	Serialize(Str, ELogVerbosity::Log, Category);
}

void FOutputDevice::LogfImpl(const TCHAR* Fmt, ...)
{
	FString Text;
	va_list Args;
	va_start(Args, Fmt);
	UE::Core::Private::AppendFormattedV(Text, Fmt, Args);
	va_end(Args);
	Serialize(*Text, ELogVerbosity::Log, NAME_None);
}
