#include "Serialization/MemoryReader.h"

#include "Containers/UnrealString.h"

FMemoryReader::FMemoryReader(const TArray<uint8>& InBytes, bool bIsPersistent)
	: Bytes(InBytes)
{
	SetIsLoading(true);
	SetIsPersistent(bIsPersistent);
}

void FMemoryReader::Serialize(void* Data, int64 Num)
{
	if (Num <= 0)
	{
		if (Num < 0)
		{
			SetError();
		}
		return;
	}
	// After an error nothing more is read: a corrupt stream must not yield plausible values.
	if (!IsError() && Offset >= 0 && Num <= TotalSize() - Offset)
	{
		FMemory::Memcpy(Data, Bytes.GetData() + Offset, (SIZE_T)Num);
		Offset += Num;
		return;
	}
	SetError();
	FMemory::Memzero(Data, (SIZE_T)Num);
}

int64 FMemoryReader::TotalSize()
{
	return Bytes.Num() < LimitSize ? (int64)Bytes.Num() : LimitSize;
}

FString FMemoryReader::GetArchiveName() const
{
	return TEXT("FMemoryReader");
}
