#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"

// Headless only, for tests of load order; the engine keeps no such list. Every registration record
// that a library's static initialisers queue with the engine is listed in the order it was queued,
// whichever module's code queued it: the reflected types of CoreUObject and the module
// initializer entries of Core share one sequence.
struct FCompiledInRecord
{
	enum class EKind : uint8
	{
		Package,
		Struct,
		Enum,
		Class,
		Module
	};

	EKind Kind;
	const TCHAR* Name;
	// The record as it was queued, by kind: FPackageRegisterCompiledInInfo, FStructRegisterCompiledInInfo,
	// FEnumRegisterCompiledInInfo, FClassRegisterCompiledInInfo or FModuleInitializerEntry. It lives as
	// long as the library that queued it.
	const void* Info;
};

CORE_API void AddCompiledInRecord(FCompiledInRecord::EKind Kind, const TCHAR* Name, const void* Info);
CORE_API TArray<FCompiledInRecord> GetCompiledInRegistrationOrder();
