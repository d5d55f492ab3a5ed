#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "UObject/UObjectBase.h"

class UClass;
class UPackage;

// Flags, garbage and root-set state, names and class queries shared by every object.
class COREUOBJECT_API UObjectBaseUtility : public UObjectBase
{
protected:
	UObjectBaseUtility() = default;
	UObjectBaseUtility(EObjectFlags InFlags)
		: UObjectBase(InFlags)
	{
	}

public:
	void SetFlags(EObjectFlags NewFlags)
	{
		SetFlagsTo(EObjectFlags(GetFlags() | NewFlags));
	}
	void ClearFlags(EObjectFlags FlagsToClear)
	{
		SetFlagsTo(EObjectFlags(GetFlags() & ~FlagsToClear));
	}
	bool HasAnyFlags(EObjectFlags FlagsToCheck) const
	{
		return (GetFlags() & FlagsToCheck) != 0;
	}
	bool HasAllFlags(EObjectFlags FlagsToCheck) const
	{
		return (GetFlags() & FlagsToCheck) == FlagsToCheck;
	}

	bool HasAnyInternalFlags(EInternalObjectFlags FlagsToCheck) const;
	void MarkAsGarbage();
	void ClearGarbage();
	bool IsUnreachable() const;

	// Root-set objects, and everything they reference, survive garbage collection.
	void AddToRoot();
	void RemoveFromRoot();
	bool IsRooted() const;

	FString GetName() const
	{
		return GetFName().ToString();
	}
	FString GetPathName(const UObject* StopOuter = nullptr) const;
	void GetPathName(const UObject* StopOuter, FString& ResultString) const;
	FString GetFullName(const UObject* StopOuter = nullptr) const;
	UPackage* GetOutermost() const;
	UPackage* GetPackage() const
	{
		return GetOutermost();
	}
	UObject* GetTypedOuter(UClass* Target) const;
	template<typename T>
	T* GetTypedOuter() const
	{
		return (T*)GetTypedOuter(T::StaticClass());
	}
	bool IsIn(const UObject* SomeOuter) const;

	// True when this object's class is SomeBase or derives from it; false for a null SomeBase.
	// A template, as in the engine, so that it can be inline here although UClass is only declared:
	// its body is compiled where it is used, after Class.h.
	template<typename OtherClassType>
	FORCEINLINE bool IsA(OtherClassType SomeBase) const
	{
		// Takes only what converts to a class pointer.
		const UClass* SomeBaseClass = SomeBase;
		const UClass* ThisClass = GetClass();
		return IsChildOfWorkaround(ThisClass, SomeBaseClass);
	}
	template<class T>
	bool IsA() const
	{
		return IsA(T::StaticClass());
	}
	bool IsTemplate(EObjectFlags TemplateTypes = EObjectFlags(RF_ArchetypeObject | RF_ClassDefaultObject)) const;

private:
	template<typename ClassType>
	static FORCEINLINE bool IsChildOfWorkaround(const ClassType* ObjClass, const ClassType* TestCls)
	{
		return ObjClass->IsChildOf(TestCls);
	}
};
