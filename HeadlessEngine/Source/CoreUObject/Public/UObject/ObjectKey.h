#pragma once

#include "CoreTypes.h"
#include "Templates/TypeHash.h"

class UObject;

/**
 * An object by its slot in the object table and its serial number, for keying maps. Unlike a weak
 * pointer, whose equality makes every pointer to a gone object equal and whose hash is the two
 * numbers exclusive-ored (so objects made one after another collide), two keys are equal only for
 * the same object, and the hash mixes both numbers. A key keeps nothing alive.
 */
struct FObjectKey
{
public:
	FObjectKey() = default;
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
		return ObjectIndex != Other.ObjectIndex ? ObjectIndex < Other.ObjectIndex : ObjectSerialNumber < Other.ObjectSerialNumber;
	}

	// The object while it lives and is not garbage; null afterwards, even if its slot is reused.
	COREUOBJECT_API UObject* ResolveObjectPtr() const;
	COREUOBJECT_API UObject* ResolveObjectPtrEvenIfGarbage() const;

	friend uint32 GetTypeHash(const FObjectKey& Key)
	{
		return HashCombine(uint32(Key.ObjectIndex), uint32(Key.ObjectSerialNumber));
	}

private:
	int32 ObjectIndex = 0;
	int32 ObjectSerialNumber = 0;
};
