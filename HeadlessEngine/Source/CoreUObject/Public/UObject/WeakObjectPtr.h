#pragma once

#include "CoreTypes.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTypeTraits.h"

class UObject;
struct FUObjectItem;

// A non-owning reference by object slot and serial number. It keeps nothing alive; once its
// object is destroyed (or marked as garbage) it yields null, even if the slot is reused.
struct COREUOBJECT_API FWeakObjectPtr
{
	FWeakObjectPtr() = default;
	FWeakObjectPtr(decltype(nullptr))
	{
	}
	FWeakObjectPtr(const UObject* Object)
	{
		(*this) = Object;
	}

	void operator=(const UObject* Object);

	void Reset()
	{
		ObjectIndex = 0;
		ObjectSerialNumber = 0;
	}

	UObject* Get() const;
	UObject* Get(bool bEvenIfGarbage) const;
	UObject* GetEvenIfUnreachable() const;

	bool IsValid() const;
	bool IsValid(bool bEvenIfGarbage, bool bThreadsafeTest = false) const;
	// True when the pointer was set to an object that has since gone.
	bool IsStale(bool bIncludingGarbage = true, bool bThreadsafeTest = false) const;
	bool IsExplicitlyNull() const
	{
		return ObjectSerialNumber == 0;
	}

	// The same object slot and serial number, or neither names a live object.
	bool operator==(const FWeakObjectPtr& Other) const
	{
		return (ObjectIndex == Other.ObjectIndex && ObjectSerialNumber == Other.ObjectSerialNumber) || (!IsValid() && !Other.IsValid());
	}
	bool operator!=(const FWeakObjectPtr& Other) const
	{
		return !(*this == Other);
	}

	// Both were set to the same object, even if it is gone now.
	bool HasSameIndexAndSerialNumber(const FWeakObjectPtr& Other) const
	{
		return ObjectIndex == Other.ObjectIndex && ObjectSerialNumber == Other.ObjectSerialNumber;
	}

	// The engine exclusive-ors the two numbers, which spreads well there because it hands out serial
	// numbers lazily; this layer hands them out in step with slots, so it mixes them instead.
	friend uint32 GetTypeHash(const FWeakObjectPtr& WeakObjectPtr)
	{
		return HashCombine(uint32(WeakObjectPtr.ObjectIndex), uint32(WeakObjectPtr.ObjectSerialNumber));
	}

	int32 GetObjectIndex() const
	{
		return ObjectIndex;
	}
	int32 GetObjectSerialNumber() const
	{
		return ObjectSerialNumber;
	}

private:
	const FUObjectItem* GetObjectItem() const;

	int32 ObjectIndex = 0;
	int32 ObjectSerialNumber = 0;
};

template<>
struct TIsPODType<FWeakObjectPtr>
{
	enum
	{
		Value = true
	};
};

template<>
struct TIsZeroConstructType<FWeakObjectPtr>
{
	enum
	{
		Value = true
	};
};
