#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "UObject/NameTypes.h"
#include "UObject/ObjectMacros.h"
#include "UObject/UObjectArray.h"

class UObject;
class UClass;
class UPackage;

// The low-level part of every object: its class, name, outer, flags and its slot in the
// global object table. The fields are filled from the allocation that the object system made
// for this object just before its constructor ran.
class COREUOBJECT_API UObjectBase
{
protected:
	UObjectBase();
	UObjectBase(EObjectFlags InFlags);

public:
	virtual ~UObjectBase();

	UClass* GetClass() const
	{
		return ClassPrivate;
	}
	UObject* GetOuter() const
	{
		return OuterPrivate;
	}
	FName GetFName() const
	{
		return NamePrivate;
	}
	EObjectFlags GetFlags() const
	{
		return ObjectFlags;
	}
	uint32 GetUniqueID() const
	{
		return uint32(InternalIndex);
	}
	bool IsValidLowLevel() const;

	// A strong reference counted by the garbage collector; pair every AddRef with a ReleaseRef.
	FORCEINLINE void AddRef() const
	{
		FUObjectItem* Item = GUObjectArray.IndexToObject(InternalIndex);
		check(Item && Item->Object == this);
		Item->AddRef();
	}
	FORCEINLINE void ReleaseRef() const
	{
		FUObjectItem* Item = GUObjectArray.IndexToObject(InternalIndex);
		check(Item && Item->Object == this && Item->GetRefCount() > 0);
		Item->ReleaseRef();
	}

	// Only the object system itself changes identity.
	void LowLevelRename(FName NewName, UObject* NewOuter = nullptr);
	void SetClassLowLevel(UClass* NewClass)
	{
		ClassPrivate = NewClass;
	}
	void SetOuterLowLevel(UObject* NewOuter)
	{
		OuterPrivate = NewOuter;
	}

protected:
	void SetFlagsTo(EObjectFlags NewFlags)
	{
		ObjectFlags = NewFlags;
	}

private:
	void InitializeFromPendingAllocation();

	EObjectFlags ObjectFlags;
	int32 InternalIndex;
	UClass* ClassPrivate;
	FName NamePrivate;
	UObject* OuterPrivate;

	friend class UObjectBaseUtility;
	friend struct FUObjectAllocation;
};
