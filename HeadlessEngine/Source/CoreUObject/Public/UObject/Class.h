#pragma once

#include "CoreMinimal.h"
#include "Containers/Map.h"
#include "Misc/Guid.h"
#include "UObject/Object.h"
#include "UObject/Script.h"
#include "UObject/Field.h"
#include "UObject/StructOps.h"

class FProperty;
class UFunction;

// Base of every reflected type and function; carries the metadata the header tool recorded.
class COREUOBJECT_API UField : public UObject
{
	DECLARE_CLASS(UField, UObject, CLASS_Abstract | CLASS_Intrinsic, CASTCLASS_UField, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UField)
	static void StaticRegisterNativesUField()
	{
	}

	UField() = default;
	UField(FVTableHelper& Helper)
		: UObject(Helper)
	{
	}

	UField* Next = nullptr;

	const FString& GetMetaData(const TCHAR* Key) const;
	const FString& GetMetaData(const FName& Key) const;
	bool HasMetaData(const TCHAR* Key) const;
	bool HasMetaData(const FName& Key) const;
	void SetMetaData(const TCHAR* Key, const TCHAR* InValue);
	void SetMetaData(const FName& Key, const TCHAR* InValue);
	bool GetBoolMetaData(const TCHAR* Key) const;
	const TMap<FName, FString>& GetMetaDataMap() const
	{
		return MetaData;
	}

	UClass* GetOwnerClass() const;

private:
	TMap<FName, FString> MetaData;
};

// A struct's bases, root first and itself last, so that whether it derives from another struct is
// one comparison: the other struct must sit in this chain at the other's own depth. Built from the
// super struct pointers when a struct is made, when its super struct is set and when it is linked;
// a struct whose base is given a new super struct keeps its old chain until it is linked again.
class FStructBaseChain
{
protected:
	COREUOBJECT_API FStructBaseChain();
	COREUOBJECT_API ~FStructBaseChain();

	FStructBaseChain(const FStructBaseChain&) = delete;
	FStructBaseChain& operator=(const FStructBaseChain&) = delete;

	COREUOBJECT_API void ReinitializeBaseChainArray();

	FORCEINLINE bool IsChildOfUsingStructArray(const FStructBaseChain& Parent) const
	{
		const int32 NumParentStructBasesInChainMinusOne = Parent.NumStructBasesInChainMinusOne;
		return NumParentStructBasesInChainMinusOne <= NumStructBasesInChainMinusOne && StructBaseChainArray[NumParentStructBasesInChainMinusOne] == &Parent;
	}

private:
	FStructBaseChain** StructBaseChainArray = nullptr;
	int32 NumStructBasesInChainMinusOne = -1;

	friend class UStruct;
};

// A reflected type with properties: a class, a script struct or a function's parameter block.
class COREUOBJECT_API UStruct : public UField, private FStructBaseChain
{
	DECLARE_CLASS(UStruct, UField, CLASS_Intrinsic, CASTCLASS_UStruct, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UStruct)
	static void StaticRegisterNativesUStruct()
	{
	}

	UStruct();
	UStruct(FVTableHelper& Helper);
	virtual ~UStruct();

	UStruct* GetSuperStruct() const
	{
		return SuperStruct;
	}
	// Also rebuilds this struct's base chain.
	virtual void SetSuperStruct(UStruct* NewSuperStruct);

	// True when this is SomeBase or derives from it; false for a null SomeBase. Constant time.
	bool IsChildOf(const UStruct* SomeBase) const
	{
		return SomeBase ? IsChildOfUsingStructArray(*SomeBase) : false;
	}
	template<class T>
	bool IsChildOf() const
	{
		return IsChildOf(T::StaticClass());
	}

	// Appends a property owned by this struct, keeping declaration order.
	void AddCppProperty(FProperty* Property);
	// Builds PropertyLink (own properties in declaration order, then the super struct's) and the
	// base chain.
	virtual void StaticLink(bool bRelinkExistingProperties = false);

	FProperty* FindPropertyByName(FName InName) const;

	int32 GetPropertiesSize() const
	{
		return PropertiesSize;
	}
	int32 GetStructureSize() const
	{
		return PropertiesSize;
	}
	int32 GetMinAlignment() const
	{
		return MinAlignment;
	}
	void SetPropertiesSize(int32 NewSize)
	{
		PropertiesSize = NewSize;
	}
	void SetMinAlignment(int32 NewAlignment)
	{
		MinAlignment = NewAlignment;
	}

	// Writes or reads the tagged values of Data's properties; a save-game archive takes only the
	// properties marked SaveGame.
	virtual void SerializeTaggedProperties(FArchive& Ar, uint8* Data, UStruct* DefaultsStruct, uint8* Defaults) const;

	UField* Children = nullptr;
	FField* ChildProperties = nullptr;
	FProperty* PropertyLink = nullptr;

protected:
	int32 PropertiesSize = 0;
	int32 MinAlignment = 1;

private:
	// Set through SetSuperStruct, which keeps the base chain in step.
	UStruct* SuperStruct = nullptr;

	friend class FStructBaseChain;
};

class COREUOBJECT_API UScriptStruct : public UStruct
{
	DECLARE_CLASS(UScriptStruct, UStruct, CLASS_Intrinsic, CASTCLASS_UScriptStruct, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UScriptStruct)
	static void StaticRegisterNativesUScriptStruct()
	{
	}

	typedef ::ICppStructOps ICppStructOps;
	template<class CPPSTRUCT>
	using TCppStructOps = ::TCppStructOps<CPPSTRUCT>;

	UScriptStruct() = default;
	UScriptStruct(FVTableHelper& Helper)
		: UStruct(Helper)
	{
	}
	virtual ~UScriptStruct();

	void SetCppStructOps(ICppStructOps* InCppStructOps);
	ICppStructOps* GetCppStructOps() const
	{
		return CppStructOps;
	}

	void InitializeStruct(void* Dest, int32 ArrayDim = 1) const;
	void DestroyStruct(void* Dest, int32 ArrayDim = 1) const;
	void CopyScriptStruct(void* Dest, void const* Src, int32 ArrayDim = 1) const;
	bool CompareScriptStruct(const void* A, const void* B) const;
	uint32 GetStructTypeHash(const void* Src) const;
	void SerializeItem(FArchive& Ar, void* Value, void const* Defaults);

	EStructFlags StructFlags = STRUCT_NoFlags;

private:
	ICppStructOps* CppStructOps = nullptr;
};

class COREUOBJECT_API UFunction : public UStruct
{
	DECLARE_CLASS(UFunction, UStruct, CLASS_Intrinsic, CASTCLASS_UFunction, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UFunction)
	static void StaticRegisterNativesUFunction()
	{
	}

	UFunction() = default;
	UFunction(FVTableHelper& Helper)
		: UStruct(Helper)
	{
	}

	bool HasAnyFunctionFlags(EFunctionFlags FlagsToCheck) const
	{
		return (FunctionFlags & FlagsToCheck) != 0;
	}
	bool HasAllFunctionFlags(EFunctionFlags FlagsToCheck) const
	{
		return (FunctionFlags & FlagsToCheck) == FlagsToCheck;
	}
	FNativeFuncPtr GetNativeFunc() const
	{
		return Func;
	}
	void SetNativeFunc(FNativeFuncPtr InFunc)
	{
		Func = InFunc;
	}
	// Finds the native entry its class registered under this function's name.
	void Bind();
	void Invoke(UObject* Obj, FFrame& Stack, RESULT_DECL);
	FProperty* GetReturnProperty() const;

	virtual void StaticLink(bool bRelinkExistingProperties = false) override;

	EFunctionFlags FunctionFlags = FUNC_None;
	uint8 NumParms = 0;
	uint16 ParmsSize = 0;
	uint16 ReturnValueOffset = MAX_uint16;

private:
	FNativeFuncPtr Func = nullptr;
};

class COREUOBJECT_API UDelegateFunction : public UFunction
{
	DECLARE_CLASS(UDelegateFunction, UFunction, CLASS_Intrinsic, CASTCLASS_UDelegateFunction, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UDelegateFunction)
	static void StaticRegisterNativesUDelegateFunction()
	{
	}

	UDelegateFunction() = default;
	UDelegateFunction(FVTableHelper& Helper)
		: UFunction(Helper)
	{
	}
};

class COREUOBJECT_API UEnum : public UField
{
	DECLARE_CLASS(UEnum, UField, CLASS_Intrinsic, CASTCLASS_UEnum, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UEnum)
	static void StaticRegisterNativesUEnum()
	{
	}

	enum class ECppForm : uint8
	{
		Regular,
		Namespaced,
		EnumClass
	};

	UEnum() = default;
	UEnum(FVTableHelper& Helper)
		: UField(Helper)
	{
	}

	// Entries under their full names ("EType::Entry"). As the engine does, a "<Enum>_MAX" entry one
	// past the largest value is added when the declaration has none.
	bool SetEnums(TArray<TPair<FName, int64>>& InNames, ECppForm InCppForm, EEnumFlags InFlags = EEnumFlags::None, bool bAddMaxKeyIfMissing = true);

	int32 NumEnums() const
	{
		return Names.Num();
	}
	FName GetNameByIndex(int32 Index) const;
	FName GetNameByValue(int64 InValue) const;
	int64 GetValueByIndex(int32 Index) const;
	int64 GetValueByName(FName InName) const;
	int32 GetIndexByValue(int64 InValue) const;
	int32 GetIndexByName(FName InName) const;
	FString GetNameStringByIndex(int32 Index) const;
	FString GetNameStringByValue(int64 InValue) const;
	int64 GetMaxEnumValue() const;
	bool IsValidEnumValue(int64 InValue) const;
	ECppForm GetCppForm() const
	{
		return CppForm;
	}
	const FString& CppType() const
	{
		return CppTypeName;
	}
	void SetCppType(const FString& InCppType)
	{
		CppTypeName = InCppType;
	}

	// With an index, the entry's own metadata ("<Entry>.<Key>"); without, the enum's.
	FString GetMetaData(const TCHAR* Key, int32 NameIndex = INDEX_NONE) const;
	bool HasMetaData(const TCHAR* Key, int32 NameIndex = INDEX_NONE) const;

	bool HasAnyEnumFlags(EEnumFlags InFlags) const
	{
		return EnumHasAnyFlags(EnumFlags, InFlags);
	}

	// What editors show for an entry: the enum's display-name function's answer when it has one,
	// else the entry's "DisplayName" metadata, else its name without the enum's prefix. The engine
	// returns text; here it is a string.
	FString GetDisplayNameTextByIndex(int32 Index) const;

	// Given by the enum's registration; most enums have none.
	FString (*EnumDisplayNameFn)(int32) = nullptr;

private:
	FString GetEntryMetaDataKey(const TCHAR* Key, int32 NameIndex) const;

	TArray<TPair<FName, int64>> Names;
	ECppForm CppForm = ECppForm::Regular;
	EEnumFlags EnumFlags = EEnumFlags::None;
	FString CppTypeName;
};

class COREUOBJECT_API UClass : public UStruct
{
	DECLARE_CLASS(UClass, UStruct, CLASS_Intrinsic, CASTCLASS_UClass, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_CONSTRUCTOR_CALL(UClass)
	static void StaticRegisterNativesUClass()
	{
	}

	typedef void (*ClassConstructorType)(const FObjectInitializer&);
	typedef UObject* (*ClassVTableHelperCtorCallerType)(FVTableHelper& Helper);
	typedef UClass* (*StaticClassFunctionType)();

	UClass() = default;
	UClass(FVTableHelper& Helper)
		: UStruct(Helper)
	{
	}
	// The bare class a static-class function builds before anything else is known of it.
	UClass(uint32 InSize, uint32 InAlignment, EClassFlags InClassFlags, EClassCastFlags InClassCastFlags, const TCHAR* InConfigName, ClassConstructorType InClassConstructor, ClassVTableHelperCtorCallerType InClassVTableHelperCtorCaller, FCppClassStaticFunctions InCppClassStaticFunctions);

	UClass* GetSuperClass() const
	{
		return (UClass*)GetSuperStruct();
	}
	bool HasAnyClassFlags(EClassFlags FlagsToCheck) const
	{
		return (ClassFlags & FlagsToCheck) != 0;
	}
	bool HasAllClassFlags(EClassFlags FlagsToCheck) const
	{
		return (ClassFlags & FlagsToCheck) == FlagsToCheck;
	}
	FORCEINLINE bool HasAnyCastFlag(EClassCastFlags FlagToCheck) const
	{
		return (ClassCastFlags & FlagToCheck) != 0;
	}
	FORCEINLINE bool HasAllCastFlags(EClassCastFlags FlagsToCheck) const
	{
		return (ClassCastFlags & FlagsToCheck) == FlagsToCheck;
	}

	UObject* GetDefaultObject(bool bCreateIfNeeded = true) const;
	template<class T>
	T* GetDefaultObject() const
	{
		return (T*)GetDefaultObject();
	}

	void AddFunctionToFunctionMap(UFunction* Function, FName FuncName);
	UFunction* FindFunctionByName(FName InName, bool bIncludeSuper = true) const;
	void AddNativeFunction(const ANSICHAR* InName, FNativeFuncPtr InPointer);
	FNativeFuncPtr FindNativeFunction(FName InName) const;
	const TMap<FName, FNativeFuncPtr>& GetNativeFunctionTable() const
	{
		return NativeFunctionLookupTable;
	}

	// Also takes on the cast flags of every super class.
	virtual void StaticLink(bool bRelinkExistingProperties = false) override;
	static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);

	ClassConstructorType ClassConstructor = nullptr;
	ClassVTableHelperCtorCallerType ClassVTableHelperCtorCaller = nullptr;
	FCppClassStaticFunctions CppClassStaticFunctions;
	int32 ClassUnique = 0;
	EClassFlags ClassFlags = CLASS_None;
	EClassCastFlags ClassCastFlags = CASTCLASS_None;
	UClass* ClassWithin = nullptr;
	FName ClassConfigName;

private:
	TMap<FName, UFunction*> FuncMap;
	TMap<FName, FNativeFuncPtr> NativeFunctionLookupTable;
	mutable UObject* ClassDefaultObject = nullptr;
};

struct FNameNativePtrPair
{
	const char* NameUTF8;
	FNativeFuncPtr Pointer;
};

struct COREUOBJECT_API FNativeFunctionRegistrar
{
	static void RegisterFunction(UClass* Class, const ANSICHAR* InName, FNativeFuncPtr InPointer);
	static void RegisterFunctions(UClass* Class, const FNameNativePtrPair* InArray, int32 NumFunctions);
};

COREUOBJECT_API void GetPrivateStaticClassBody(
	const TCHAR* PackageName,
	const TCHAR* Name,
	UClass*& ReturnClass,
	void (*RegisterNativeFunc)(),
	uint32 InSize,
	uint32 InAlignment,
	EClassFlags InClassFlags,
	EClassCastFlags InClassCastFlags,
	const TCHAR* InConfigName,
	UClass::ClassConstructorType InClassConstructor,
	UClass::ClassVTableHelperCtorCallerType InClassVTableHelperCtorCaller,
	FCppClassStaticFunctions&& InCppClassStaticFunctions,
	UClass::StaticClassFunctionType InSuperClassFn,
	UClass::StaticClassFunctionType InWithinClassFn);

template<class T>
const T* GetDefault()
{
	return (const T*)T::StaticClass()->GetDefaultObject();
}

template<class T>
T* GetMutableDefault()
{
	return (T*)T::StaticClass()->GetDefaultObject();
}

template<typename T>
struct TBaseStructure;

template<>
struct COREUOBJECT_API TBaseStructure<FGuid>
{
	static UScriptStruct* Get();
};
