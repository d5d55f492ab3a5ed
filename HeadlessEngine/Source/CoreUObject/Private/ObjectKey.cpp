#include "UObject/ObjectKey.h"

#include "UObject/Object.h"
#include "UObject/UObjectArray.h"
#include "UObject/WeakObjectPtr.h"

FObjectKey::FObjectKey(const UObject* Object)
{
	// The weak pointer already knows how to read an object's slot and serial number.
	const FWeakObjectPtr Weak(Object);
	if (Weak.GetObjectSerialNumber() != 0)
	{
		ObjectIndex = Weak.GetObjectIndex();
		ObjectSerialNumber = Weak.GetObjectSerialNumber();
	}
}

UObject* FObjectKey::ResolveObjectPtr() const
{
	const FUObjectItem* Item = ObjectSerialNumber != 0 ? GUObjectArray.IndexToObject(ObjectIndex) : nullptr;
	if (!Item || !Item->Object || Item->SerialNumber != ObjectSerialNumber || Item->IsUnreachable() || Item->IsGarbage())
	{
		return nullptr;
	}
	return static_cast<UObject*>(Item->Object);
}
