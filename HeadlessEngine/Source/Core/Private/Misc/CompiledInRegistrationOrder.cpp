#include "Misc/CompiledInRegistrationOrder.h"

namespace
{
	// Constructed on first use: libraries queue records before this library's own static objects
	// may have been initialised.
	TArray<FCompiledInRecord>& GetRecords()
	{
		static TArray<FCompiledInRecord> Records;
		return Records;
	}
}

void AddCompiledInRecord(FCompiledInRecord::EKind Kind, const TCHAR* Name, const void* Info)
{
	GetRecords().Add({ Kind, Name, Info });
}

TArray<FCompiledInRecord> GetCompiledInRegistrationOrder()
{
	return GetRecords();
}
