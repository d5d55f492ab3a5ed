#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Serialization/MemoryArchive.h"

// Reads from a byte array. A read past the end sets the error flag, zero-fills the
// destination and leaves the position where it was.
class CORE_API FMemoryReader : public FMemoryArchive
{
public:
	CORE_API explicit FMemoryReader(const TArray<uint8>& InBytes, bool bIsPersistent = false);

	CORE_API virtual void Serialize(void* Data, int64 Num) override;
	CORE_API virtual int64 TotalSize() override;
	CORE_API virtual FString GetArchiveName() const override;

	// Caps how far the reader may go, for reading a prefix of the array.
	void SetLimitSize(int64 NewLimitSize)
	{
		LimitSize = NewLimitSize;
	}

	using FMemoryArchive::operator<<;

private:
	const TArray<uint8>& Bytes;
	int64 LimitSize = INT64_MAX;
};
