#pragma once

#include "CoreTypes.h"
#include "Logging/LogVerbosity.h"
#include "Templates/UnrealTypeTraits.h"
#include "UObject/NameTypes.h"

#include <type_traits>

// A destination for log text.
class CORE_API FOutputDevice
{
public:
	FOutputDevice() = default;
	FOutputDevice(const FOutputDevice&) = default;
	FOutputDevice& operator=(const FOutputDevice&) = default;
	CORE_API virtual ~FOutputDevice();

	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) = 0;

	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category, const double /*Time*/)
	{
		Serialize(V, Verbosity, Category);
	}

	virtual void Flush()
	{
	}

	virtual void TearDown()
	{
	}

	CORE_API void Log(ELogVerbosity::Type Verbosity, const TCHAR* S);
	CORE_API void Log(const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Str);
	CORE_API void Log(const TCHAR* S);
	CORE_API void Log(const FString& S);
	CORE_API void Log(const FName& Category, const TCHAR* Str);

	template <typename FmtType, typename... Types>
	void Logf(const FmtType& Fmt, Types... Args)
	{
		static_assert(std::is_convertible_v<const FmtType&, const TCHAR*>, "Formatting string must be a TCHAR array.");
		static_assert((TIsValidVariadicFunctionArg<Types>::Value && ...), "Invalid argument(s) passed to FOutputDevice::Logf");
		LogfImpl((const TCHAR*)Fmt, Args...);
	}

	bool GetSuppressEventTag() const { return bSuppressEventTag; }
	void SetSuppressEventTag(bool bInSuppressEventTag) { bSuppressEventTag = bInSuppressEventTag; }

protected:
	CORE_API void LogfImpl(const TCHAR* Fmt, ...);

	bool bSuppressEventTag = false;
	bool bAutoEmitLineTerminator = true;
};
