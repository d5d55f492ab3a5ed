#include "UObject/WeakObjectPtr.h"

#include "UObject/Object.h"
#include "UObject/UObjectArray.h"

void FWeakObjectPtr::operator=(const UObject* Object)
{
	const FUObjectItem* Item = Object ? GUObjectArray.ObjectToObjectItem(Object) : nullptr;
	if (Item)
	{
		ObjectIndex = int32(Object->GetUniqueID());
		ObjectSerialNumber = Item->SerialNumber;
	}
	else
	{
		Reset();
	}
}

UObject* FWeakObjectPtr::GetEvenIfUnreachable() const
{
	const FUObjectItem* Item = GetObjectItem();
	return Item ? (UObject*)Item->Object : nullptr;
}

bool FWeakObjectPtr::IsStale(bool bIncludingGarbage, bool bThreadsafeTest) const
{
	(void)bThreadsafeTest;
	if (ObjectSerialNumber == 0)
	{
		return false;
	}
	const FUObjectItem* Item = GetObjectItem();
	if (!Item)
	{
		return true;
	}
	return bIncludingGarbage && (Item->IsGarbage() || Item->IsUnreachable());
}
