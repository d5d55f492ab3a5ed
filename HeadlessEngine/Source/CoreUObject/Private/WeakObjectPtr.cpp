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

const FUObjectItem* FWeakObjectPtr::GetObjectItem() const
{
	if (ObjectSerialNumber == 0)
	{
		return nullptr;
	}
	const FUObjectItem* Item = GUObjectArray.IndexToObject(ObjectIndex);
	return Item && Item->Object && Item->SerialNumber == ObjectSerialNumber ? Item : nullptr;
}

UObject* FWeakObjectPtr::Get() const
{
	return Get(false);
}

UObject* FWeakObjectPtr::Get(bool bEvenIfGarbage) const
{
	const FUObjectItem* Item = GetObjectItem();
	if (!Item || Item->IsUnreachable() || (!bEvenIfGarbage && Item->IsGarbage()))
	{
		return nullptr;
	}
	return (UObject*)Item->Object;
}

UObject* FWeakObjectPtr::GetEvenIfUnreachable() const
{
	const FUObjectItem* Item = GetObjectItem();
	return Item ? (UObject*)Item->Object : nullptr;
}

bool FWeakObjectPtr::IsValid() const
{
	return Get() != nullptr;
}

bool FWeakObjectPtr::IsValid(bool bEvenIfGarbage, bool bThreadsafeTest) const
{
	(void)bThreadsafeTest;
	return Get(bEvenIfGarbage) != nullptr;
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
