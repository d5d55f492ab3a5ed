#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Serialization/MemoryArchive.h"
#include "UObject/NameTypes.h"

// Writes into a byte array, growing it as needed; writing before its end overwrites.
class CORE_API FMemoryWriter : public FMemoryArchive
{
public:
	CORE_API FMemoryWriter(TArray<uint8>& InBytes, bool bIsPersistent = false, bool bSetOffset = false, const FName InArchiveName = NAME_None);

	CORE_API virtual void Serialize(void* Data, int64 Num) override;
	CORE_API virtual int64 TotalSize() override;
	CORE_API virtual FString GetArchiveName() const override;

	using FMemoryArchive::operator<<;

protected:
	TArray<uint8>& Bytes;
	const FName ArchiveName;
};
