#include "UObject/Class.h"

#include "Misc/AssertionMacros.h"
#include "Serialization/Archive.h"
#include "Serialization/MemoryReader.h"
#include "Serialization/MemoryWriter.h"
#include "UObject/Package.h"
#include "UObject/Stack.h"
#include "UObject/UnrealType.h"
#include "UObjectAllocation.h"

namespace
{
	const FString& EmptyMetaDataValue()
	{
		static const FString Empty;
		return Empty;
	}
}

// UField

const FString& UField::GetMetaData(const TCHAR* Key) const
{
	return GetMetaData(FName(Key));
}

const FString& UField::GetMetaData(const FName& Key) const
{
	const FString* Value = MetaData.Find(Key);
	return Value ? *Value : EmptyMetaDataValue();
}

bool UField::HasMetaData(const TCHAR* Key) const
{
	return HasMetaData(FName(Key));
}

bool UField::HasMetaData(const FName& Key) const
{
	return MetaData.Contains(Key);
}

void UField::SetMetaData(const TCHAR* Key, const TCHAR* InValue)
{
	SetMetaData(FName(Key), InValue);
}

void UField::SetMetaData(const FName& Key, const TCHAR* InValue)
{
	MetaData.Add(Key, FString(InValue));
}

bool UField::GetBoolMetaData(const TCHAR* Key) const
{
	return GetMetaData(Key) == TEXT("true");
}

UClass* UField::GetOwnerClass() const
{
	for (const UObject* Object = this; Object; Object = Object->GetOuter())
	{
		if (Object->GetClass() == UClass::StaticClass())
		{
			return (UClass*)Object;
		}
	}
	return nullptr;
}

// FStructBaseChain

FStructBaseChain::FStructBaseChain() = default;

FStructBaseChain::~FStructBaseChain()
{
	FMemory::Free(StructBaseChainArray);
}

void FStructBaseChain::ReinitializeBaseChainArray()
{
	UStruct* const This = static_cast<UStruct*>(this);
	int32 Depth = 0;
	for (UStruct* Struct = This; Struct; Struct = Struct->GetSuperStruct())
	{
		++Depth;
	}

	FStructBaseChain** Bases = (FStructBaseChain**)FMemory::Malloc(sizeof(FStructBaseChain*) * Depth);
	FStructBaseChain** Base = Bases + Depth;
	for (UStruct* Struct = This; Struct; Struct = Struct->GetSuperStruct())
	{
		*--Base = Struct;
	}

	FMemory::Free(StructBaseChainArray);
	StructBaseChainArray = Bases;
	NumStructBasesInChainMinusOne = Depth - 1;
}

// UStruct

UStruct::UStruct()
{
	ReinitializeBaseChainArray();
}

UStruct::UStruct(FVTableHelper& Helper)
	: UField(Helper)
{
	ReinitializeBaseChainArray();
}

UStruct::~UStruct()
{
	FField* Field = ChildProperties;
	while (Field)
	{
		FField* Next = Field->Next;
		delete Field;
		Field = Next;
	}
}

void UStruct::SetSuperStruct(UStruct* NewSuperStruct)
{
	SuperStruct = NewSuperStruct;
	ReinitializeBaseChainArray();
}

void UStruct::AddCppProperty(FProperty* Property)
{
	FField** Tail = &ChildProperties;
	while (*Tail)
	{
		Tail = &(*Tail)->Next;
	}
	*Tail = Property;
}

void UStruct::StaticLink(bool bRelinkExistingProperties)
{
	(void)bRelinkExistingProperties;
	FProperty** Link = &PropertyLink;
	for (FField* Field = ChildProperties; Field; Field = Field->Next)
	{
		if (FProperty* Property = CastField<FProperty>(Field))
		{
			*Link = Property;
			Link = &Property->PropertyLinkNext;
		}
	}
	*Link = SuperStruct ? SuperStruct->PropertyLink : nullptr;
	ReinitializeBaseChainArray();
}

FProperty* UStruct::FindPropertyByName(FName InName) const
{
	for (FProperty* Property = PropertyLink; Property; Property = Property->PropertyLinkNext)
	{
		if (Property->GetFName() == InName)
		{
			return Property;
		}
	}
	return nullptr;
}

// Tagged form: for each property written, its name, the size of its value and the value; a
// name of None ends the list. Readers skip values of properties they do not know.
void UStruct::SerializeTaggedProperties(FArchive& Ar, uint8* Data, UStruct* DefaultsStruct, uint8* Defaults) const
{
	(void)DefaultsStruct;
	if (Ar.IsSaving())
	{
		for (FProperty* Property = PropertyLink; Property; Property = Property->PropertyLinkNext)
		{
			if (!Property->ShouldSerializeValue(Ar))
			{
				continue;
			}
			FName Name = Property->GetFName();
			Ar << Name;
			TArray<uint8> ValueBytes;
			FMemoryWriter ValueWriter(ValueBytes, Ar.IsPersistent());
			ValueWriter.ArIsSaveGame = Ar.ArIsSaveGame;
			for (int32 Index = 0; Index < Property->ArrayDim; ++Index)
			{
				Property->SerializeItem(ValueWriter, Property->ContainerPtrToValuePtr<void>(Data, Index), Defaults ? Property->ContainerPtrToValuePtr<void>(Defaults, Index) : nullptr);
			}
			int32 Size = ValueBytes.Num();
			Ar << Size;
			Ar.Serialize(ValueBytes.GetData(), Size);
		}
		FName End = NAME_None;
		Ar << End;
		return;
	}

	for (;;)
	{
		FName Name;
		Ar << Name;
		if (Name.IsNone() || Ar.IsError())
		{
			return;
		}
		int32 Size = 0;
		Ar << Size;
		if (Size < 0 || Ar.IsError())
		{
			Ar.SetError();
			return;
		}
		TArray<uint8> ValueBytes;
		ValueBytes.SetNumZeroed(Size);
		Ar.Serialize(ValueBytes.GetData(), Size);
		FProperty* Property = FindPropertyByName(Name);
		if (!Property || !Property->ShouldSerializeValue(Ar))
		{
			continue;
		}
		FMemoryReader ValueReader(ValueBytes, Ar.IsPersistent());
		ValueReader.ArIsSaveGame = Ar.ArIsSaveGame;
		for (int32 Index = 0; Index < Property->ArrayDim; ++Index)
		{
			Property->SerializeItem(ValueReader, Property->ContainerPtrToValuePtr<void>(Data, Index), nullptr);
		}
	}
}

// UScriptStruct

UScriptStruct::~UScriptStruct()
{
	delete CppStructOps;
}

void UScriptStruct::SetCppStructOps(ICppStructOps* InCppStructOps)
{
	delete CppStructOps;
	CppStructOps = InCppStructOps;
	if (!CppStructOps)
	{
		return;
	}
	StructFlags = EStructFlags(StructFlags | STRUCT_Native);
	if (CppStructOps->HasZeroConstructor())
	{
		StructFlags = EStructFlags(StructFlags | STRUCT_ZeroConstructor);
	}
	if (CppStructOps->IsPlainOldData())
	{
		StructFlags = EStructFlags(StructFlags | STRUCT_IsPlainOldData | STRUCT_NoDestructor);
	}
	if (!CppStructOps->HasDestructor())
	{
		StructFlags = EStructFlags(StructFlags | STRUCT_NoDestructor);
	}
	if (CppStructOps->HasCopy())
	{
		StructFlags = EStructFlags(StructFlags | STRUCT_CopyNative);
	}
	if (CppStructOps->HasIdentical())
	{
		StructFlags = EStructFlags(StructFlags | STRUCT_IdenticalNative);
	}
	if (CppStructOps->HasSerializer())
	{
		StructFlags = EStructFlags(StructFlags | STRUCT_SerializeNative);
	}
}

void UScriptStruct::InitializeStruct(void* Dest, int32 ArrayDim) const
{
	uint8* Bytes = (uint8*)Dest;
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		uint8* Element = Bytes + Index * PropertiesSize;
		if (!CppStructOps || CppStructOps->HasZeroConstructor())
		{
			FMemory::Memzero(Element, PropertiesSize);
		}
		else
		{
			CppStructOps->Construct(Element);
		}
	}
}

void UScriptStruct::DestroyStruct(void* Dest, int32 ArrayDim) const
{
	if (!CppStructOps || !CppStructOps->HasDestructor())
	{
		return;
	}
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		CppStructOps->Destruct((uint8*)Dest + Index * PropertiesSize);
	}
}

void UScriptStruct::CopyScriptStruct(void* Dest, void const* Src, int32 ArrayDim) const
{
	if (CppStructOps && (StructFlags & STRUCT_CopyNative) && CppStructOps->Copy(Dest, Src, ArrayDim))
	{
		return;
	}
	if (!CppStructOps || (StructFlags & STRUCT_IsPlainOldData))
	{
		FMemory::Memcpy(Dest, Src, SIZE_T(ArrayDim) * PropertiesSize);
		return;
	}
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		for (FProperty* Property = PropertyLink; Property; Property = Property->PropertyLinkNext)
		{
			Property->CopyCompleteValue(Property->ContainerPtrToValuePtr<void>((uint8*)Dest + Index * PropertiesSize), Property->ContainerPtrToValuePtr<void>((const uint8*)Src + Index * PropertiesSize));
		}
	}
}

bool UScriptStruct::CompareScriptStruct(const void* A, const void* B) const
{
	bool bResult = false;
	if (CppStructOps && CppStructOps->HasIdentical() && CppStructOps->Identical(A, B, bResult))
	{
		return bResult;
	}
	for (FProperty* Property = PropertyLink; Property; Property = Property->PropertyLinkNext)
	{
		if (!Property->Identical(Property->ContainerPtrToValuePtr<void>(A), Property->ContainerPtrToValuePtr<void>(B)))
		{
			return false;
		}
	}
	return true;
}

uint32 UScriptStruct::GetStructTypeHash(const void* Src) const
{
	checkf(CppStructOps && CppStructOps->HasGetTypeHash(), TEXT("Struct %s has no type hash"), *GetName());
	return CppStructOps->GetStructTypeHash(Src);
}

void UScriptStruct::SerializeItem(FArchive& Ar, void* Value, void const* Defaults)
{
	if (CppStructOps && CppStructOps->HasSerializer() && CppStructOps->Serialize(Ar, Value))
	{
		return;
	}
	SerializeTaggedProperties(Ar, (uint8*)Value, this, (uint8*)const_cast<void*>(Defaults));
}

// UFunction

void UFunction::Bind()
{
	UClass* OwnerClass = GetOwnerClass();
	Func = OwnerClass ? OwnerClass->FindNativeFunction(GetFName()) : nullptr;
}

void UFunction::Invoke(UObject* Obj, FFrame& Stack, RESULT_DECL)
{
	checkf(Func, TEXT("Function %s has no native entry"), *GetName());
	(*Func)(Obj, Stack, RESULT_PARAM);
}

FProperty* UFunction::GetReturnProperty() const
{
	for (TFieldIterator<FProperty> It(this); It; ++It)
	{
		if (It->HasAnyPropertyFlags(CPF_ReturnParm))
		{
			return *It;
		}
	}
	return nullptr;
}

void UFunction::StaticLink(bool bRelinkExistingProperties)
{
	UStruct::StaticLink(bRelinkExistingProperties);
	NumParms = 0;
	ReturnValueOffset = MAX_uint16;
	for (TFieldIterator<FProperty> It(this); It; ++It)
	{
		if (It->HasAnyPropertyFlags(CPF_Parm))
		{
			++NumParms;
		}
		if (It->HasAnyPropertyFlags(CPF_ReturnParm))
		{
			ReturnValueOffset = uint16(It->GetOffset_ForUFunction());
		}
	}
}

// UEnum

bool UEnum::SetEnums(TArray<TPair<FName, int64>>& InNames, ECppForm InCppForm, EEnumFlags InFlags, bool bAddMaxKeyIfMissing)
{
	Names = InNames;
	CppForm = InCppForm;
	EnumFlags = InFlags;
	if (bAddMaxKeyIfMissing)
	{
		const FString Prefix = CppForm == ECppForm::Regular ? FString() : GetName() + TEXT("::");
		const FName MaxName(*(Prefix + GetName() + TEXT("_MAX")));
		if (GetIndexByName(MaxName) == INDEX_NONE)
		{
			Names.Add(TPair<FName, int64>{MaxName, GetMaxEnumValue() + 1});
		}
	}
	return true;
}

FName UEnum::GetNameByIndex(int32 Index) const
{
	return Names.IsValidIndex(Index) ? Names[Index].Key : NAME_None;
}

FName UEnum::GetNameByValue(int64 InValue) const
{
	return GetNameByIndex(GetIndexByValue(InValue));
}

int64 UEnum::GetValueByIndex(int32 Index) const
{
	return Names.IsValidIndex(Index) ? Names[Index].Value : int64(INDEX_NONE);
}

int64 UEnum::GetValueByName(FName InName) const
{
	const int32 Index = GetIndexByName(InName);
	return Index == INDEX_NONE ? int64(INDEX_NONE) : Names[Index].Value;
}

int32 UEnum::GetIndexByValue(int64 InValue) const
{
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		if (Names[Index].Value == InValue)
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

int32 UEnum::GetIndexByName(FName InName) const
{
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		if (Names[Index].Key == InName)
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

FString UEnum::GetNameStringByIndex(int32 Index) const
{
	if (!Names.IsValidIndex(Index))
	{
		return FString();
	}
	const FString FullName = Names[Index].Key.ToString();
	const int32 Separator = FullName.Find(TEXT("::"));
	return Separator == INDEX_NONE ? FullName : FullName.Mid(Separator + 2);
}

FString UEnum::GetNameStringByValue(int64 InValue) const
{
	return GetNameStringByIndex(GetIndexByValue(InValue));
}

int64 UEnum::GetMaxEnumValue() const
{
	int64 MaxValue = Names.Num() > 0 ? Names[0].Value : 0;
	for (const TPair<FName, int64>& Entry : Names)
	{
		MaxValue = FMath::Max(MaxValue, Entry.Value);
	}
	return MaxValue;
}

bool UEnum::IsValidEnumValue(int64 InValue) const
{
	return GetIndexByValue(InValue) != INDEX_NONE;
}

FString UEnum::GetDisplayNameTextByIndex(int32 Index) const
{
	if (!Names.IsValidIndex(Index))
	{
		return FString();
	}
	if (EnumDisplayNameFn)
	{
		return EnumDisplayNameFn(int32(Names[Index].Value));
	}
	if (HasMetaData(TEXT("DisplayName"), Index))
	{
		return GetMetaData(TEXT("DisplayName"), Index);
	}
	return GetNameStringByIndex(Index);
}

FString UEnum::GetEntryMetaDataKey(const TCHAR* Key, int32 NameIndex) const
{
	return NameIndex == INDEX_NONE ? FString(Key) : GetNameStringByIndex(NameIndex) + TEXT(".") + Key;
}

FString UEnum::GetMetaData(const TCHAR* Key, int32 NameIndex) const
{
	return UField::GetMetaData(*GetEntryMetaDataKey(Key, NameIndex));
}

bool UEnum::HasMetaData(const TCHAR* Key, int32 NameIndex) const
{
	return UField::HasMetaData(*GetEntryMetaDataKey(Key, NameIndex));
}

// UClass

UClass::UClass(uint32 InSize, uint32 InAlignment, EClassFlags InClassFlags, EClassCastFlags InClassCastFlags, const TCHAR* InConfigName, ClassConstructorType InClassConstructor, ClassVTableHelperCtorCallerType InClassVTableHelperCtorCaller, FCppClassStaticFunctions InCppClassStaticFunctions)
	: ClassConstructor(InClassConstructor)
	, ClassVTableHelperCtorCaller(InClassVTableHelperCtorCaller)
	, CppClassStaticFunctions(InCppClassStaticFunctions)
	, ClassFlags(EClassFlags(InClassFlags | CLASS_Native))
	, ClassCastFlags(InClassCastFlags)
	, ClassConfigName(InConfigName)
{
	PropertiesSize = int32(InSize);
	MinAlignment = int32(InAlignment);
}

UObject* UClass::GetDefaultObject(bool bCreateIfNeeded) const
{
	if (!ClassDefaultObject && bCreateIfNeeded)
	{
		const FName DefaultName(*(FString(TEXT("Default__")) + GetName()));
		FStaticConstructObjectParameters Params(this);
		Params.Outer = GetOuter();
		Params.Name = DefaultName;
		Params.SetFlags = EObjectFlags(RF_Public | RF_ClassDefaultObject | RF_ArchetypeObject);
		ClassDefaultObject = StaticConstructObject_Internal(Params);
	}
	return ClassDefaultObject;
}

void UClass::AddFunctionToFunctionMap(UFunction* Function, FName FuncName)
{
	FuncMap.Add(FuncName, Function);
}

UFunction* UClass::FindFunctionByName(FName InName, bool bIncludeSuper) const
{
	for (const UClass* Class = this; Class; Class = bIncludeSuper ? Class->GetSuperClass() : nullptr)
	{
		if (UFunction* const* Found = Class->FuncMap.Find(InName))
		{
			return *Found;
		}
	}
	return nullptr;
}

void UClass::AddNativeFunction(const ANSICHAR* InName, FNativeFuncPtr InPointer)
{
	NativeFunctionLookupTable.Add(FName(InName), InPointer);
}

FNativeFuncPtr UClass::FindNativeFunction(FName InName) const
{
	const FNativeFuncPtr* Found = NativeFunctionLookupTable.Find(InName);
	return Found ? *Found : nullptr;
}

void UClass::StaticLink(bool bRelinkExistingProperties)
{
	UStruct::StaticLink(bRelinkExistingProperties);
	// Every super class rather than only the direct one, so that a class linked while one of its
	// bases was still being built still ends with all their flags.
	for (const UClass* SuperClass = GetSuperClass(); SuperClass; SuperClass = SuperClass->GetSuperClass())
	{
		ClassCastFlags = EClassCastFlags(ClassCastFlags | SuperClass->ClassCastFlags);
	}
	for (UField* Field = Children; Field; Field = Field->Next)
	{
		if (Field->IsA(UFunction::StaticClass()))
		{
			AddFunctionToFunctionMap((UFunction*)Field, Field->GetFName());
		}
	}
}

void UClass::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	UClass* This = (UClass*)InThis;
	Collector.AddReferencedObject(This->ClassDefaultObject, This);
	UStruct::AddReferencedObjects(InThis, Collector);
}

void FNativeFunctionRegistrar::RegisterFunction(UClass* Class, const ANSICHAR* InName, FNativeFuncPtr InPointer)
{
	Class->AddNativeFunction(InName, InPointer);
}

void FNativeFunctionRegistrar::RegisterFunctions(UClass* Class, const FNameNativePtrPair* InArray, int32 NumFunctions)
{
	for (int32 Index = 0; Index < NumFunctions; ++Index)
	{
		Class->AddNativeFunction(InArray[Index].NameUTF8, InArray[Index].Pointer);
	}
}

namespace
{
	// How many static-class functions are running, one inside another, and the classes they made.
	int32 StaticClassBodyDepth = 0;
	TArray<UClass*>& ClassesBuiltInStaticClassBody()
	{
		static TArray<UClass*> Classes;
		return Classes;
	}
}

void GetPrivateStaticClassBody(
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
	UClass::StaticClassFunctionType InWithinClassFn)
{
	using namespace UE::CoreUObject::Private;

	++StaticClassBodyDepth;

	// The class of classes may not exist yet, so a class object is allocated here rather than by
	// StaticAllocateObject; its own class, outer and super class are filled in below, once the
	// class pointer is published for the recursive StaticClass calls they make.
	void* Memory = AllocateObjectMemory(sizeof(UClass));
	FUObjectAllocation Allocation;
	Allocation.Object = (UObjectBase*)Memory;
	Allocation.Name = FName(Name);
	Allocation.Flags = EObjectFlags(RF_Public | RF_Standalone | RF_Transient | RF_MarkAsNative | RF_MarkAsRootSet);
	Allocation.Index = GUObjectArray.AllocateUObjectIndex(Allocation.Object);
	FUObjectAllocation::Push(Allocation);
	ReturnClass = ::new (Memory) UClass(InSize, InAlignment, InClassFlags, InClassCastFlags, InConfigName, InClassConstructor, InClassVTableHelperCtorCaller, InCppClassStaticFunctions);
	ReturnClass->AddToRoot();

	ReturnClass->SetClassLowLevel(UClass::StaticClass());
	UClass* SuperClass = InSuperClassFn();
	ReturnClass->SetSuperStruct(SuperClass != ReturnClass ? SuperClass : nullptr);
	UClass* WithinClass = InWithinClassFn();
	ReturnClass->ClassWithin = WithinClass;
	if (UClass* Super = ReturnClass->GetSuperClass())
	{
		ReturnClass->ClassFlags = EClassFlags(ReturnClass->ClassFlags | (Super->ClassFlags & CLASS_Inherit));
	}
	ReturnClass->SetOuterLowLevel(CreatePackage(PackageName));
	AddToNameHash(ReturnClass);
	ReturnClass->StaticLink();

	RegisterNativeFunc();

	// A class whose static-class function ran inside another's (the class of classes and its
	// bases make each other) may have met a base whose super class was not set yet; once the
	// outermost function is done, every super class is, so each is linked again.
	ClassesBuiltInStaticClassBody().Add(ReturnClass);
	if (--StaticClassBodyDepth == 0)
	{
		TArray<UClass*> Built = MoveTemp(ClassesBuiltInStaticClassBody());
		ClassesBuiltInStaticClassBody().Reset();
		for (UClass* Class : Built)
		{
			Class->StaticLink();
		}
	}
}
