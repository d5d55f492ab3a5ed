#include "UObject/ObjectKey.h"

#include "UObject/Object.h"
#include "UObject/UObjectArray.h"
#include "UObject/WeakObjectPtr.h"

namespace
{
	// What a weak pointer with the same slot and serial number would give.
	UObject* ResolveKey(int32 ObjectIndex, int32 ObjectSerialNumber, bool bEvenIfGarbage)
	{
		if (ObjectSerialNumber == 0)
		{
			return nullptr;
		}
		const FUObjectItem* Item = GUObjectArray.IndexToObject(ObjectIndex);
		if (!Item || !Item->Object || Item->SerialNumber != ObjectSerialNumber || Item->IsUnreachable() || (!bEvenIfGarbage && Item->IsGarbage()))
		{
			return nullptr;
		}
		return (UObject*)Item->Object;
	}
}

FObjectKey::FObjectKey(const UObject* Object)
{
	const FWeakObjectPtr Weak(Object);
	ObjectIndex = Weak.GetObjectIndex();
	ObjectSerialNumber = Weak.GetObjectSerialNumber();
}

UObject* FObjectKey::ResolveObjectPtr() const
{
	return ResolveKey(ObjectIndex, ObjectSerialNumber, false);
}

UObject* FObjectKey::ResolveObjectPtrEvenIfGarbage() const
{
	return ResolveKey(ObjectIndex, ObjectSerialNumber, true);
}
