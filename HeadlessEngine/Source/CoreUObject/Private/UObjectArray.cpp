#include "UObject/UObjectArray.h"

#include "Misc/AssertionMacros.h"
#include "UObject/UObjectBase.h"

FUObjectArray GUObjectArray;

int32 FUObjectArray::AllocateUObjectIndex(UObjectBase* Object)
{
	int32 Index;
	if (!FreeIndices.empty())
	{
		Index = FreeIndices.back();
		FreeIndices.pop_back();
	}
	else
	{
		Index = int32(Items.size());
		Items.emplace_back();
	}
	FUObjectItem& Item = Items[Index];
	Item.Object = Object;
	Item.Flags = 0;
	Item.RefCount = 0;
	// Serial numbers are never reused, so a weak pointer to an earlier occupant of this slot
	// never matches the new one.
	Item.SerialNumber = ++LastSerialNumber;
	return Index;
}

void FUObjectArray::FreeUObjectIndex(int32 Index)
{
	check(IsValidIndex(Index) && Items[Index].Object);
	Items[Index] = FUObjectItem();
	FreeIndices.push_back(Index);
}

FUObjectItem* FUObjectArray::ObjectToObjectItem(const UObjectBase* Object)
{
	if (!Object)
	{
		return nullptr;
	}
	FUObjectItem* Item = IndexToObject(int32(Object->GetUniqueID()));
	return Item && Item->Object == Object ? Item : nullptr;
}
