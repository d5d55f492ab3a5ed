#pragma once

#include "CoreTypes.h"
#include "UObject/ObjectMacros.h"

#include <vector>

class UObjectBase;

// One slot of the global object table. A slot outlives its object: when the object is destroyed
// the slot is freed and its next occupant gets a new serial number, so weak pointers that still
// carry the old serial see that their object is gone.
struct FUObjectItem
{
	UObjectBase* Object = nullptr;
	int32 Flags = 0;
	int32 SerialNumber = 0;
	int32 RefCount = 0;

	bool HasAnyFlags(EInternalObjectFlags InFlags) const
	{
		return (Flags & int32(InFlags)) != 0;
	}
	void SetFlags(EInternalObjectFlags InFlags)
	{
		Flags |= int32(InFlags);
	}
	void ClearFlags(EInternalObjectFlags InFlags)
	{
		Flags &= ~int32(InFlags);
	}
	bool IsGarbage() const
	{
		return HasAnyFlags(EInternalObjectFlags::Garbage);
	}
	bool IsRootSet() const
	{
		return HasAnyFlags(EInternalObjectFlags::RootSet);
	}
	bool IsUnreachable() const
	{
		return HasAnyFlags(EInternalObjectFlags::Unreachable);
	}
	void AddRef()
	{
		++RefCount;
	}
	void ReleaseRef()
	{
		--RefCount;
	}
	int32 GetRefCount() const
	{
		return RefCount;
	}
};

class COREUOBJECT_API FUObjectArray
{
public:
	// Takes a free slot (the most recently freed first) and gives it a fresh serial number.
	int32 AllocateUObjectIndex(UObjectBase* Object);
	void FreeUObjectIndex(int32 Index);

	FUObjectItem* IndexToObject(int32 Index)
	{
		return IsValidIndex(Index) ? &Items[Index] : nullptr;
	}
	const FUObjectItem* IndexToObject(int32 Index) const
	{
		return IsValidIndex(Index) ? &Items[Index] : nullptr;
	}
	FUObjectItem* ObjectToObjectItem(const UObjectBase* Object);
	bool IsValidIndex(int32 Index) const
	{
		return Index >= 0 && Index < int32(Items.size());
	}
	int32 GetObjectArrayNum() const
	{
		return int32(Items.size());
	}
	int32 GetObjectArrayNumMinusAvailable() const
	{
		return int32(Items.size() - FreeIndices.size());
	}

private:
	std::vector<FUObjectItem> Items;
	std::vector<int32> FreeIndices;
	int32 LastSerialNumber = 0;
};

extern COREUOBJECT_API FUObjectArray GUObjectArray;
