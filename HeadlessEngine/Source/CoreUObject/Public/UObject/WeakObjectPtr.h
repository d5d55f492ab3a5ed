#pragma once

#include "CoreTypes.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTypeTraits.h"
#include "UObject/UObjectArray.h"

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

	// Inline, as the engine's: resolving weak pointers is what hot loops over objects do.
	FORCEINLINE UObject* Get() const
	{
		return Get(false);
	}
	FORCEINLINE UObject* Get(bool bEvenIfGarbage) const
	{
		const FUObjectItem* Item = GetObjectItem();
		if (!Item || Item->IsUnreachable() || (!bEvenIfGarbage && Item->IsGarbage()))
		{
			return nullptr;
		}
		return (UObject*)Item->Object;
	}
	UObject* GetEvenIfUnreachable() const;

	FORCEINLINE bool IsValid() const
	{
		return Get() != nullptr;
	}
	FORCEINLINE bool IsValid(bool bEvenIfGarbage, bool bThreadsafeTest = false) const
	{
		(void)bThreadsafeTest;
		return Get(bEvenIfGarbage) != nullptr;
	}
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
	FORCEINLINE const FUObjectItem* GetObjectItem() const
	{
		if (ObjectSerialNumber == 0)
		{
			return nullptr;
		}
		const FUObjectItem* Item = GUObjectArray.IndexToObject(ObjectIndex);
		return Item && Item->Object && Item->SerialNumber == ObjectSerialNumber ? Item : nullptr;
	}

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
