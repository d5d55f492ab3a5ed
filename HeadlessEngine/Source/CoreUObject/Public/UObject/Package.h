#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

// The outermost object of everything it contains. Script packages ("/Script/<Module>") hold a
// module's reflected types; the transient package holds objects that are never saved.
class COREUOBJECT_API UPackage : public UObject
{
	DECLARE_CLASS(UPackage, UObject, CLASS_Intrinsic, CASTCLASS_UPackage, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
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

	// The package's own metadata. The engine keeps it in the package's metadata object together
	// with that of the package's fields; here every field keeps its own, and so does the package.
	const TMap<FName, FString>& GetMetaDataMap() const
	{
		return MetaData;
	}
	void SetMetaData(const TCHAR* Key, const TCHAR* InValue)
	{
		MetaData.Add(FName(Key), FString(InValue));
	}

private:
	uint32 PackageFlagsPrivate = PKG_None;
	TMap<FName, FString> MetaData;
};
