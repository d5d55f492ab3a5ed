#pragma once

#include "CoreTypes.h"
#include "Templates/TypeHash.h"

class UObject;

// Identifies one object by its slot and serial number, for as long as keys are kept and long after
// the object is gone: a key never matches a later object that reuses the slot. Default keys match
// no object.
struct FObjectKey
{
	FObjectKey() = default;

	// Implicit, as the engine's: a live object is its own key.
	COREUOBJECT_API FObjectKey(const UObject* Object);

	bool operator==(const FObjectKey& Other) const
	{
		return ObjectIndex == Other.ObjectIndex && ObjectSerialNumber == Other.ObjectSerialNumber;
	}
	bool operator!=(const FObjectKey& Other) const
	{
		return !(*this == Other);
	}
	bool operator<(const FObjectKey& Other) const
	{
		return ObjectIndex < Other.ObjectIndex || (ObjectIndex == Other.ObjectIndex && ObjectSerialNumber < Other.ObjectSerialNumber);
	}

	// The object while it is alive and not garbage; null afterwards.
	COREUOBJECT_API UObject* ResolveObjectPtr() const;

	friend uint32 GetTypeHash(const FObjectKey& Key)
	{
		return HashCombine(uint32(Key.ObjectIndex), uint32(Key.ObjectSerialNumber));
	}

private:
	int32 ObjectIndex = -1;
	int32 ObjectSerialNumber = 0;
};
