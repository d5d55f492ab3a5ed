#include "UObject/UnrealType.h"

#include "Misc/AssertionMacros.h"
#include "Serialization/Archive.h"
#include "Templates/Casts.h"
#include "UObject/Class.h"

namespace
{
	const FString& EmptyFieldMetaData()
	{
		static const FString Empty;
		return Empty;
	}
}

// FFieldClass

FFieldClass::FFieldClass(const TCHAR* InName, FFieldClass* InSuperClass)
	: Name(InName)
	, SuperClass(InSuperClass)
{
}

bool FFieldClass::IsChildOf(const FFieldClass* InClass) const
{
	for (const FFieldClass* Class = this; Class; Class = Class->SuperClass)
	{
		if (Class == InClass)
		{
			return true;
		}
	}
	return false;
}

// FField

FField::FField(UStruct* InOwner, FName InName)
	: Owner(InOwner)
	, NamePrivate(InName)
{
}

FFieldClass* FField::StaticClass()
{
	static FFieldClass Class(TEXT("FField"), nullptr);
	return &Class;
}

UClass* FField::GetOwnerClass() const
{
	for (UObject* Outer = Owner; Outer; Outer = Outer->GetOuter())
	{
		if (UClass* Class = Cast<UClass>(Outer))
		{
			return Class;
		}
	}
	return nullptr;
}

const FString& FField::GetMetaData(const TCHAR* Key) const
{
	return GetMetaData(FName(Key));
}

const FString& FField::GetMetaData(const FName& Key) const
{
	const FString* Found = MetaData.Find(Key);
	return Found ? *Found : EmptyFieldMetaData();
}

bool FField::HasMetaData(const TCHAR* Key) const
{
	return HasMetaData(FName(Key));
}

bool FField::HasMetaData(const FName& Key) const
{
	return MetaData.Contains(Key);
}

void FField::SetMetaData(const TCHAR* Key, const TCHAR* InValue)
{
	SetMetaData(FName(Key), InValue);
}

void FField::SetMetaData(const FName& Key, const TCHAR* InValue)
{
	MetaData.Add(Key, FString(InValue));
}

// FProperty

IMPLEMENT_FIELD(FProperty)

FProperty::FProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, int32 InElementSize)
	: FField(InOwner, InName)
	, ElementSize(InElementSize)
	, PropertyFlags(InFlags)
	, Offset_Internal(InOffset)
{
}

void FProperty::CopyCompleteValue(void* Dest, const void* Src) const
{
	if (Dest != Src)
	{
		FMemory::Memcpy(Dest, Src, GetSize());
	}
}

bool FProperty::Identical(const void* A, const void* B) const
{
	return FMemory::Memcmp(A, B, GetSize()) == 0;
}

void FProperty::SerializeItem(FArchive& Ar, void* Value, void const* Defaults) const
{
	(void)Defaults;
	Ar.Serialize(Value, ElementSize);
}

bool FProperty::ShouldSerializeValue(FArchive& Ar) const
{
	if (HasAnyPropertyFlags(CPF_Transient) && Ar.IsPersistent())
	{
		return false;
	}
	if (Ar.IsSaveGame() && !HasAnyPropertyFlags(CPF_SaveGame))
	{
		return false;
	}
	// Handlers name live objects of this run; they are never written.
	return !IsA<FMulticastDelegateProperty>();
}

// Numeric properties

IMPLEMENT_FIELD(FByteProperty)
IMPLEMENT_FIELD(FIntProperty)
IMPLEMENT_FIELD(FInt64Property)
IMPLEMENT_FIELD(FUInt32Property)
IMPLEMENT_FIELD(FFloatProperty)
IMPLEMENT_FIELD(FDoubleProperty)

FByteProperty::FByteProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, UEnum* InEnum)
	: TProperty_Numeric<uint8>(InOwner, InName, InFlags, InOffset)
	, Enum(InEnum)
{
}

FString FByteProperty::GetCPPType() const
{
	if (Enum && Enum->GetCppForm() != UEnum::ECppForm::EnumClass)
	{
		return FString::Printf(TEXT("TEnumAsByte<%s>"), *Enum->CppType());
	}
	return Enum ? Enum->CppType() : FString(TEXT("uint8"));
}

FString FIntProperty::GetCPPType() const
{
	return TEXT("int32");
}

FString FInt64Property::GetCPPType() const
{
	return TEXT("int64");
}

FString FUInt32Property::GetCPPType() const
{
	return TEXT("uint32");
}

FString FFloatProperty::GetCPPType() const
{
	return TEXT("float");
}

FString FDoubleProperty::GetCPPType() const
{
	return TEXT("double");
}

// FBoolProperty

IMPLEMENT_FIELD(FBoolProperty)

FBoolProperty::FBoolProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, int32 InElementSize)
	: FProperty(InOwner, InName, InFlags, InOffset, InElementSize)
{
}

FString FBoolProperty::GetCPPType() const
{
	return TEXT("bool");
}

void FBoolProperty::SerializeItem(FArchive& Ar, void* Value, void const* Defaults) const
{
	(void)Defaults;
	uint8 Byte = GetPropertyValue(Value) ? 1 : 0;
	Ar << Byte;
	if (Ar.IsLoading())
	{
		SetPropertyValue(Value, Byte != 0);
	}
}

// FStrProperty and FNameProperty

IMPLEMENT_FIELD(FStrProperty)
IMPLEMENT_FIELD(FNameProperty)

FStrProperty::FStrProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset)
	: FProperty(InOwner, InName, InFlags, InOffset, sizeof(FString))
{
}

FString FStrProperty::GetCPPType() const
{
	return TEXT("FString");
}

void FStrProperty::CopyCompleteValue(void* Dest, const void* Src) const
{
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		((FString*)Dest)[Index] = ((const FString*)Src)[Index];
	}
}

bool FStrProperty::Identical(const void* A, const void* B) const
{
	return *(const FString*)A == *(const FString*)B;
}

void FStrProperty::SerializeItem(FArchive& Ar, void* Value, void const* Defaults) const
{
	(void)Defaults;
	Ar << *(FString*)Value;
}

IMPLEMENT_FIELD(FTextProperty)

FTextProperty::FTextProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset)
	: FProperty(InOwner, InName, InFlags, InOffset, sizeof(FText))
{
}

FString FTextProperty::GetCPPType() const
{
	return TEXT("FText");
}

void FTextProperty::CopyCompleteValue(void* Dest, const void* Src) const
{
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		((FText*)Dest)[Index] = ((const FText*)Src)[Index];
	}
}

bool FTextProperty::Identical(const void* A, const void* B) const
{
	return ((const FText*)A)->EqualTo(*(const FText*)B);
}

void FTextProperty::SerializeItem(FArchive& Ar, void* Value, void const* Defaults) const
{
	(void)Defaults;
	Ar << *(FText*)Value;
}

FNameProperty::FNameProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset)
	: FProperty(InOwner, InName, InFlags, InOffset, sizeof(FName))
{
}

FString FNameProperty::GetCPPType() const
{
	return TEXT("FName");
}

void FNameProperty::CopyCompleteValue(void* Dest, const void* Src) const
{
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		((FName*)Dest)[Index] = ((const FName*)Src)[Index];
	}
}

bool FNameProperty::Identical(const void* A, const void* B) const
{
	return *(const FName*)A == *(const FName*)B;
}

void FNameProperty::SerializeItem(FArchive& Ar, void* Value, void const* Defaults) const
{
	(void)Defaults;
	Ar << *(FName*)Value;
}

// Object properties

IMPLEMENT_FIELD(FObjectPropertyBase)
IMPLEMENT_FIELD(FObjectProperty)
IMPLEMENT_FIELD(FClassProperty)

FObjectPropertyBase::FObjectPropertyBase(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, UClass* InPropertyClass)
	: FProperty(InOwner, InName, InFlags, InOffset, sizeof(UObject*))
	, PropertyClass(InPropertyClass)
{
}

void FObjectPropertyBase::SerializeItem(FArchive& Ar, void* Value, void const* Defaults) const
{
	(void)Defaults;
	Ar << *(UObject**)Value;
}

// Classes are registered without their C++ prefix; actors are the one family spelt with "A".
FString FObjectProperty::GetCPPType() const
{
	if (!PropertyClass)
	{
		return TEXT("UObject*");
	}
	const TCHAR* Prefix = TEXT("U");
	for (const UClass* Class = PropertyClass; Class; Class = Class->GetSuperClass())
	{
		if (Class->GetFName() == FName(TEXT("Actor")) && Class->GetOuter() && Class->GetOuter()->GetFName() == FName(TEXT("/Script/Engine")))
		{
			Prefix = TEXT("A");
			break;
		}
	}
	return FString::Printf(TEXT("%s%s*"), Prefix, *PropertyClass->GetName());
}

FClassProperty::FClassProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, UClass* InMetaClass)
	: FObjectProperty(InOwner, InName, InFlags, InOffset, UClass::StaticClass())
	, MetaClass(InMetaClass)
{
}

FString FClassProperty::GetCPPType() const
{
	return TEXT("UClass*");
}

// FStructProperty

IMPLEMENT_FIELD(FStructProperty)

FStructProperty::FStructProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, UScriptStruct* InStruct)
	: FProperty(InOwner, InName, InFlags, InOffset, InStruct->GetStructureSize())
	, Struct(InStruct)
{
}

FString FStructProperty::GetCPPType() const
{
	return FString::Printf(TEXT("F%s"), *Struct->GetName());
}

void FStructProperty::CopyCompleteValue(void* Dest, const void* Src) const
{
	Struct->CopyScriptStruct(Dest, Src, ArrayDim);
}

bool FStructProperty::Identical(const void* A, const void* B) const
{
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		const int32 Offset = Index * ElementSize;
		if (!Struct->CompareScriptStruct((const uint8*)A + Offset, (const uint8*)B + Offset))
		{
			return false;
		}
	}
	return true;
}

void FStructProperty::SerializeItem(FArchive& Ar, void* Value, void const* Defaults) const
{
	Struct->SerializeItem(Ar, Value, Defaults);
}

// Delegate properties

IMPLEMENT_FIELD(FMulticastDelegateProperty)
IMPLEMENT_FIELD(FMulticastInlineDelegateProperty)
IMPLEMENT_FIELD(FMulticastSparseDelegateProperty)

FMulticastDelegateProperty::FMulticastDelegateProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, int32 InElementSize, UFunction* InSignatureFunction)
	: FProperty(InOwner, InName, InFlags, InOffset, InElementSize)
	, SignatureFunction(InSignatureFunction)
{
}

void FMulticastDelegateProperty::SerializeItem(FArchive& Ar, void* Value, void const* Defaults) const
{
	(void)Ar;
	(void)Value;
	(void)Defaults;
}

FMulticastInlineDelegateProperty::FMulticastInlineDelegateProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, UFunction* InSignatureFunction)
	: FMulticastDelegateProperty(InOwner, InName, InFlags, InOffset, sizeof(FMulticastScriptDelegate), InSignatureFunction)
{
}

FString FMulticastInlineDelegateProperty::GetCPPType() const
{
	return FString::Printf(TEXT("F%s"), SignatureFunction ? *SignatureFunction->GetName() : TEXT("MulticastDelegate"));
}

void FMulticastInlineDelegateProperty::CopyCompleteValue(void* Dest, const void* Src) const
{
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		((FMulticastScriptDelegate*)Dest)[Index] = ((const FMulticastScriptDelegate*)Src)[Index];
	}
}

const FMulticastScriptDelegate* FMulticastInlineDelegateProperty::GetMulticastDelegate(const void* PropertyValue) const
{
	return (const FMulticastScriptDelegate*)PropertyValue;
}

FMulticastScriptDelegate* FMulticastInlineDelegateProperty::FindDelegate(UObject* Parent, void* PropertyValue) const
{
	checkf(PropertyValue || Parent, TEXT("%s needs the delegate's value or its owner"), *GetName());
	return PropertyValue ? (FMulticastScriptDelegate*)PropertyValue : ContainerPtrToValuePtr<FMulticastScriptDelegate>(Parent);
}

void FMulticastInlineDelegateProperty::AddDelegate(FScriptDelegate ScriptDelegate, UObject* Parent, void* PropertyValue) const
{
	FindDelegate(Parent, PropertyValue)->AddUnique(ScriptDelegate);
}

void FMulticastInlineDelegateProperty::RemoveDelegate(const FScriptDelegate& ScriptDelegate, UObject* Parent, void* PropertyValue) const
{
	FindDelegate(Parent, PropertyValue)->Remove(ScriptDelegate);
}

void FMulticastInlineDelegateProperty::ClearDelegate(UObject* Parent, void* PropertyValue) const
{
	FindDelegate(Parent, PropertyValue)->Clear();
}

FMulticastSparseDelegateProperty::FMulticastSparseDelegateProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, UFunction* InSignatureFunction)
	: FMulticastDelegateProperty(InOwner, InName, InFlags, InOffset, sizeof(FSparseDelegate), InSignatureFunction)
{
}

FString FMulticastSparseDelegateProperty::GetCPPType() const
{
	return FString::Printf(TEXT("F%s"), SignatureFunction ? *SignatureFunction->GetName() : TEXT("SparseDelegate"));
}

// A sparse delegate's handlers belong to its owner; copying the owner's memory must not make a
// second owner claim them.
void FMulticastSparseDelegateProperty::CopyCompleteValue(void* Dest, const void* Src) const
{
	(void)Dest;
	(void)Src;
}

UObject* FMulticastSparseDelegateProperty::FindOwner(UObject* Parent, const void* PropertyValue) const
{
	checkf(PropertyValue || Parent, TEXT("%s needs the delegate's value or its owner"), *GetName());
	return Parent ? Parent : (UObject*)((const uint8*)PropertyValue - GetOffset_ForInternal());
}

const FMulticastScriptDelegate* FMulticastSparseDelegateProperty::GetMulticastDelegate(const void* PropertyValue) const
{
	const FSparseDelegate* SparseDelegate = (const FSparseDelegate*)PropertyValue;
	return SparseDelegate->IsBound() ? FSparseDelegateStorage::GetMulticastDelegate(FindOwner(nullptr, PropertyValue), GetFName()) : nullptr;
}

void FMulticastSparseDelegateProperty::AddDelegate(FScriptDelegate ScriptDelegate, UObject* Parent, void* PropertyValue) const
{
	UObject* Owner = FindOwner(Parent, PropertyValue);
	FSparseDelegate* SparseDelegate = ContainerPtrToValuePtr<FSparseDelegate>(Owner);
	SparseDelegate->bIsBound |= FSparseDelegateStorage::AddUnique(Owner, GetFName(), ScriptDelegate);
}

void FMulticastSparseDelegateProperty::RemoveDelegate(const FScriptDelegate& ScriptDelegate, UObject* Parent, void* PropertyValue) const
{
	UObject* Owner = FindOwner(Parent, PropertyValue);
	FSparseDelegate* SparseDelegate = ContainerPtrToValuePtr<FSparseDelegate>(Owner);
	if (SparseDelegate->bIsBound)
	{
		SparseDelegate->bIsBound = FSparseDelegateStorage::Remove(Owner, GetFName(), ScriptDelegate.GetUObject(), ScriptDelegate.GetFunctionName());
	}
}

void FMulticastSparseDelegateProperty::ClearDelegate(UObject* Parent, void* PropertyValue) const
{
	UObject* Owner = FindOwner(Parent, PropertyValue);
	FSparseDelegateStorage::Clear(Owner, GetFName());
	ContainerPtrToValuePtr<FSparseDelegate>(Owner)->bIsBound = false;
}
