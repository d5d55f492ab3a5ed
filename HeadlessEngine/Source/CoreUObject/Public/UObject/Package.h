#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

// The outermost object of everything it contains. Script packages ("/Script/<Module>") hold a
// module's reflected types; the transient package holds objects that are never saved.
class COREUOBJECT_API UPackage : public UObject
{
	DECLARE_CLASS(UPackage, UObject, CLASS_Intrinsic, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UPackage)
	static void StaticRegisterNativesUPackage()
	{
	}

	UPackage() = default;
	UPackage(FVTableHelper& Helper)
		: UObject(Helper)
	{
	}

	uint32 GetPackageFlags() const
	{
		return PackageFlagsPrivate;
	}
	void SetPackageFlags(uint32 NewFlags)
	{
		PackageFlagsPrivate |= NewFlags;
	}
	void ClearPackageFlags(uint32 NewFlags)
	{
		PackageFlagsPrivate &= ~NewFlags;
	}
	bool HasAnyPackageFlags(uint32 FlagsToCheck) const
	{
		return (PackageFlagsPrivate & FlagsToCheck) != 0;
	}

	virtual UWorld* GetWorld() const override
	{
		return nullptr;
	}

private:
	uint32 PackageFlagsPrivate = PKG_None;
};
