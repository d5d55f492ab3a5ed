#include "Serialization/MemoryWriter.h"

#include "Containers/UnrealString.h"
#include "Misc/AssertionMacros.h"

FMemoryWriter::FMemoryWriter(TArray<uint8>& InBytes, bool bIsPersistent, bool bSetOffset, const FName InArchiveName)
	: Bytes(InBytes)
	, ArchiveName(InArchiveName)
{
	SetIsSaving(true);
	SetIsPersistent(bIsPersistent);
	if (bSetOffset)
	{
		Offset = InBytes.Num();
	}
}

void FMemoryWriter::Serialize(void* Data, int64 Num)
{
	if (Num <= 0)
	{
		return;
	}
	const int64 End = Offset + Num;
	checkf(End <= 0x7fffffff, TEXT("FMemoryWriter does not support data larger than 2GB. Archive name: %s."), *GetArchiveName());
	if (End > Bytes.Num())
	{
		Bytes.AddUninitialized((int32)(End - Bytes.Num()));
	}
	FMemory::Memcpy(Bytes.GetData() + Offset, Data, (SIZE_T)Num);
	Offset = End;
}

int64 FMemoryWriter::TotalSize()
{
	return Bytes.Num();
}

FString FMemoryWriter::GetArchiveName() const
{
	return ArchiveName.IsNone() ? FString(TEXT("FMemoryWriter")) : ArchiveName.ToString();
}
