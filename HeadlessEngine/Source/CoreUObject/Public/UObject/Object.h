#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Script.h"
#include "UObject/UObjectBaseUtility.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/ReflectedTypeAccessors.h"
#include "Delegates/DelegateCombinations.h"

class FArchive;
class FReferenceCollector;
class UFunction;
class UWorld;
struct FFrame;

class COREUOBJECT_API UObject : public UObjectBaseUtility
{
	DECLARE_CLASS(UObject, UObject, CLASS_Abstract | CLASS_Intrinsic | CLASS_MatchedSerializers, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	typedef UObject WithinClass;
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UObject)
	static void StaticRegisterNativesUObject()
	{
	}
	static const TCHAR* StaticConfigName()
	{
		return TEXT("Engine");
	}

	UObject();
	UObject(const FObjectInitializer& ObjectInitializer);
	UObject(FVTableHelper& Helper);
	UObject(EObjectFlags InFlags);

	// The world this object belongs to: its outer's world; none without an outer or for a class
	// default object.
	virtual UWorld* GetWorld() const;

	virtual void PostInitProperties();
	virtual void BeginDestroy();
	virtual void FinishDestroy();
	bool ConditionalBeginDestroy();
	bool ConditionalFinishDestroy();

	// Reflected properties, and for a save-game archive only those marked SaveGame.
	virtual void Serialize(FArchive& Ar);

	// Objects held outside reflected properties are reported here; overrides call Super's.
	static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);

	UFunction* FindFunction(FName InName) const;
	UFunction* FindFunctionChecked(FName InName) const;
	// Runs a function's native entry with Parms as its parameter block.
	virtual void ProcessEvent(UFunction* Function, void* Parms);

	template<class TReturnType>
	TReturnType* CreateDefaultSubobject(FName SubobjectName, bool bTransient = false)
	{
		return static_cast<TReturnType*>(CreateDefaultSubobject(SubobjectName, TReturnType::StaticClass(), bTransient));
	}
	UObject* CreateDefaultSubobject(FName SubobjectName, UClass* ReturnType, bool bTransient = false);
};

// True for a live object that is not marked as garbage.
COREUOBJECT_API bool IsValid(const UObject* Test);

inline bool IsValidChecked(const UObject* Test)
{
	check(Test);
	return IsValid(Test);
}

template<typename T>
T* GetValid(T* Test)
{
	return IsValid(Test) ? Test : nullptr;
}
