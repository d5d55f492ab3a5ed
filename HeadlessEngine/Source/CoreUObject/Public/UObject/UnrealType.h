#pragma once

#include "CoreMinimal.h"
#include "Internationalization/Text.h"
#include "UObject/Class.h"
#include "UObject/Field.h"
#include "UObject/ScriptDelegates.h"
#include "UObject/SparseDelegate.h"

class FArchive;
class UEnum;
class UScriptStruct;

// A reflected member of a struct, class or parameter block: where it lives in its container,
// how big it is, its flags and how to copy, compare and serialize its value.
class COREUOBJECT_API FProperty : public FField
{
	DECLARE_FIELD(FProperty, FField)

	FProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, int32 InElementSize);

	int32 GetOffset_ForInternal() const
	{
		return Offset_Internal;
	}
	int32 GetOffset_ForUFunction() const
	{
		return Offset_Internal;
	}
	int32 GetSize() const
	{
		return ArrayDim * ElementSize;
	}
	int32 GetElementSize() const
	{
		return ElementSize;
	}

	template<typename ValueType>
	ValueType* ContainerPtrToValuePtr(void* Container, int32 ArrayIndex = 0) const
	{
		return (ValueType*)((uint8*)Container + Offset_Internal + ElementSize * ArrayIndex);
	}
	template<typename ValueType>
	const ValueType* ContainerPtrToValuePtr(const void* Container, int32 ArrayIndex = 0) const
	{
		return (const ValueType*)((const uint8*)Container + Offset_Internal + ElementSize * ArrayIndex);
	}

	bool HasAnyPropertyFlags(EPropertyFlags FlagsToCheck) const
	{
		return (PropertyFlags & FlagsToCheck) != 0;
	}
	bool HasAllPropertyFlags(EPropertyFlags FlagsToCheck) const
	{
		return (PropertyFlags & FlagsToCheck) == FlagsToCheck;
	}
	void SetPropertyFlags(EPropertyFlags NewFlags)
	{
		PropertyFlags |= NewFlags;
	}

	virtual FString GetCPPType() const = 0;
	virtual void CopyCompleteValue(void* Dest, const void* Src) const;
	void CopyCompleteValueToScriptVM(void* Dest, const void* Src) const
	{
		CopyCompleteValue(Dest, Src);
	}
	virtual bool Identical(const void* A, const void* B) const;
	virtual void SerializeItem(FArchive& Ar, void* Value, void const* Defaults = nullptr) const;
	// Whether the save-game or ordinary serialization of a struct writes this property.
	bool ShouldSerializeValue(FArchive& Ar) const;

	int32 ArrayDim = 1;
	int32 ElementSize;
	EPropertyFlags PropertyFlags;
	int32 Offset_Internal;
	FProperty* PropertyLinkNext = nullptr;
};

template<typename InTCppType>
class TProperty_Numeric : public FProperty
{
public:
	typedef InTCppType TCppType;

	TProperty_Numeric(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset)
		: FProperty(InOwner, InName, InFlags, InOffset, sizeof(TCppType))
	{
	}
	static TCppType GetDefaultPropertyValue()
	{
		return TCppType();
	}
	static TCppType GetPropertyValue(const void* Address)
	{
		return *(const TCppType*)Address;
	}
	static void SetPropertyValue(void* Address, TCppType Value)
	{
		*(TCppType*)Address = Value;
	}
};

class COREUOBJECT_API FByteProperty : public TProperty_Numeric<uint8>
{
	DECLARE_FIELD(FByteProperty, FProperty)

	FByteProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, UEnum* InEnum = nullptr);
	virtual FString GetCPPType() const override;

	// The enum whose values this byte holds, if any.
	UEnum* Enum;
};

class COREUOBJECT_API FIntProperty : public TProperty_Numeric<int32>
{
	DECLARE_FIELD(FIntProperty, FProperty)
	using TProperty_Numeric::TProperty_Numeric;
	virtual FString GetCPPType() const override;
};

class COREUOBJECT_API FInt64Property : public TProperty_Numeric<int64>
{
	DECLARE_FIELD(FInt64Property, FProperty)
	using TProperty_Numeric::TProperty_Numeric;
	virtual FString GetCPPType() const override;
};

class COREUOBJECT_API FUInt32Property : public TProperty_Numeric<uint32>
{
	DECLARE_FIELD(FUInt32Property, FProperty)
	using TProperty_Numeric::TProperty_Numeric;
	virtual FString GetCPPType() const override;
};

class COREUOBJECT_API FFloatProperty : public TProperty_Numeric<float>
{
	DECLARE_FIELD(FFloatProperty, FProperty)
	using TProperty_Numeric::TProperty_Numeric;
	virtual FString GetCPPType() const override;
};

class COREUOBJECT_API FDoubleProperty : public TProperty_Numeric<double>
{
	DECLARE_FIELD(FDoubleProperty, FProperty)
	using TProperty_Numeric::TProperty_Numeric;
	virtual FString GetCPPType() const override;
};

class COREUOBJECT_API FBoolProperty : public FProperty
{
	DECLARE_FIELD(FBoolProperty, FProperty)

	typedef bool TCppType;

	FBoolProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, int32 InElementSize = sizeof(bool));
	virtual FString GetCPPType() const override;
	virtual void SerializeItem(FArchive& Ar, void* Value, void const* Defaults = nullptr) const override;

	static bool GetDefaultPropertyValue()
	{
		return false;
	}
	bool GetPropertyValue(const void* Address) const
	{
		return *(const bool*)Address;
	}
	void SetPropertyValue(void* Address, bool bValue) const
	{
		*(bool*)Address = bValue;
	}
};

class COREUOBJECT_API FStrProperty : public FProperty
{
	DECLARE_FIELD(FStrProperty, FProperty)

	typedef FString TCppType;

	FStrProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset);
	virtual FString GetCPPType() const override;
	virtual void CopyCompleteValue(void* Dest, const void* Src) const override;
	virtual bool Identical(const void* A, const void* B) const override;
	virtual void SerializeItem(FArchive& Ar, void* Value, void const* Defaults = nullptr) const override;
	static FString GetDefaultPropertyValue()
	{
		return FString();
	}
};

// Text shown to a player; copies share the text, as FText's do.
class COREUOBJECT_API FTextProperty : public FProperty
{
	DECLARE_FIELD(FTextProperty, FProperty)

	typedef FText TCppType;

	FTextProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset);
	virtual FString GetCPPType() const override;
	virtual void CopyCompleteValue(void* Dest, const void* Src) const override;
	virtual bool Identical(const void* A, const void* B) const override;
	virtual void SerializeItem(FArchive& Ar, void* Value, void const* Defaults = nullptr) const override;
	static FText GetDefaultPropertyValue()
	{
		return FText();
	}
};

class COREUOBJECT_API FNameProperty : public FProperty
{
	DECLARE_FIELD(FNameProperty, FProperty)

	typedef FName TCppType;

	FNameProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset);
	virtual FString GetCPPType() const override;
	virtual void CopyCompleteValue(void* Dest, const void* Src) const override;
	virtual bool Identical(const void* A, const void* B) const override;
	virtual void SerializeItem(FArchive& Ar, void* Value, void const* Defaults = nullptr) const override;
	static FName GetDefaultPropertyValue()
	{
		return NAME_None;
	}
};

// A strong reference to an object of PropertyClass; the garbage collector follows it.
class COREUOBJECT_API FObjectPropertyBase : public FProperty
{
	DECLARE_FIELD(FObjectPropertyBase, FProperty)

	typedef UObject* TCppType;

	FObjectPropertyBase(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, UClass* InPropertyClass);
	virtual void SerializeItem(FArchive& Ar, void* Value, void const* Defaults = nullptr) const override;

	UObject* GetObjectPropertyValue(const void* Address) const
	{
		return *(UObject* const*)Address;
	}
	void SetObjectPropertyValue(void* Address, UObject* Value) const
	{
		*(UObject**)Address = Value;
	}

	UClass* PropertyClass;
};

class COREUOBJECT_API FObjectProperty : public FObjectPropertyBase
{
	DECLARE_FIELD(FObjectProperty, FObjectPropertyBase)

	using FObjectPropertyBase::FObjectPropertyBase;
	virtual FString GetCPPType() const override;
};

class COREUOBJECT_API FClassProperty : public FObjectProperty
{
	DECLARE_FIELD(FClassProperty, FObjectProperty)

	FClassProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, UClass* InMetaClass);
	virtual FString GetCPPType() const override;

	// Classes this property may hold derive from MetaClass.
	UClass* MetaClass;
};

class COREUOBJECT_API FStructProperty : public FProperty
{
	DECLARE_FIELD(FStructProperty, FProperty)

	FStructProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, UScriptStruct* InStruct);
	virtual FString GetCPPType() const override;
	virtual void CopyCompleteValue(void* Dest, const void* Src) const override;
	virtual bool Identical(const void* A, const void* B) const override;
	virtual void SerializeItem(FArchive& Ar, void* Value, void const* Defaults = nullptr) const override;

	UScriptStruct* Struct;
};

class COREUOBJECT_API FMulticastDelegateProperty : public FProperty
{
	DECLARE_FIELD(FMulticastDelegateProperty, FProperty)

	FMulticastDelegateProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, int32 InElementSize, UFunction* InSignatureFunction);
	virtual void SerializeItem(FArchive& Ar, void* Value, void const* Defaults = nullptr) const override;

	// What script code uses to bind and unbind handlers: the delegate is found from its property
	// value, or from Parent, the object that holds it. Null when no handler was ever added.
	virtual const FMulticastScriptDelegate* GetMulticastDelegate(const void* PropertyValue) const = 0;
	virtual void AddDelegate(FScriptDelegate ScriptDelegate, UObject* Parent = nullptr, void* PropertyValue = nullptr) const = 0;
	virtual void RemoveDelegate(const FScriptDelegate& ScriptDelegate, UObject* Parent = nullptr, void* PropertyValue = nullptr) const = 0;
	virtual void ClearDelegate(UObject* Parent = nullptr, void* PropertyValue = nullptr) const = 0;

	UFunction* SignatureFunction;
};

// A multicast delegate whose handler list lives in the property itself.
class COREUOBJECT_API FMulticastInlineDelegateProperty : public FMulticastDelegateProperty
{
	DECLARE_FIELD(FMulticastInlineDelegateProperty, FMulticastDelegateProperty)

	FMulticastInlineDelegateProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, UFunction* InSignatureFunction);
	virtual FString GetCPPType() const override;
	virtual void CopyCompleteValue(void* Dest, const void* Src) const override;
	virtual const FMulticastScriptDelegate* GetMulticastDelegate(const void* PropertyValue) const override;
	virtual void AddDelegate(FScriptDelegate ScriptDelegate, UObject* Parent = nullptr, void* PropertyValue = nullptr) const override;
	virtual void RemoveDelegate(const FScriptDelegate& ScriptDelegate, UObject* Parent = nullptr, void* PropertyValue = nullptr) const override;
	virtual void ClearDelegate(UObject* Parent = nullptr, void* PropertyValue = nullptr) const override;

private:
	FMulticastScriptDelegate* FindDelegate(UObject* Parent, void* PropertyValue) const;
};

// A multicast delegate whose handlers live in FSparseDelegateStorage, keyed by its owner.
class COREUOBJECT_API FMulticastSparseDelegateProperty : public FMulticastDelegateProperty
{
	DECLARE_FIELD(FMulticastSparseDelegateProperty, FMulticastDelegateProperty)

	FMulticastSparseDelegateProperty(UStruct* InOwner, FName InName, EPropertyFlags InFlags, int32 InOffset, UFunction* InSignatureFunction);
	virtual FString GetCPPType() const override;
	virtual void CopyCompleteValue(void* Dest, const void* Src) const override;
	virtual const FMulticastScriptDelegate* GetMulticastDelegate(const void* PropertyValue) const override;
	virtual void AddDelegate(FScriptDelegate ScriptDelegate, UObject* Parent = nullptr, void* PropertyValue = nullptr) const override;
	virtual void RemoveDelegate(const FScriptDelegate& ScriptDelegate, UObject* Parent = nullptr, void* PropertyValue = nullptr) const override;
	virtual void ClearDelegate(UObject* Parent = nullptr, void* PropertyValue = nullptr) const override;

private:
	// The object that owns the delegate: Parent, or the object whose memory holds PropertyValue.
	UObject* FindOwner(UObject* Parent, const void* PropertyValue) const;
};

namespace EFieldIteratorFlags
{
	enum SuperClassFlags
	{
		ExcludeSuper = 0,
		IncludeSuper
	};
}

// Walks the properties of a struct in declaration order, then those of its super structs.
template<class T>
class TFieldIterator
{
public:
	explicit TFieldIterator(const UStruct* InStruct, EFieldIteratorFlags::SuperClassFlags InSuperClassFlags = EFieldIteratorFlags::IncludeSuper)
		: Struct(InStruct)
		, Field(InStruct ? InStruct->ChildProperties : nullptr)
		, bIncludeSuper(InSuperClassFlags == EFieldIteratorFlags::IncludeSuper)
	{
		SkipToMatch();
	}

	explicit operator bool() const
	{
		return Field != nullptr;
	}
	TFieldIterator& operator++()
	{
		Field = Field->Next;
		SkipToMatch();
		return *this;
	}
	T* operator*() const
	{
		return static_cast<T*>(Field);
	}
	T* operator->() const
	{
		return static_cast<T*>(Field);
	}

private:
	void SkipToMatch()
	{
		for (;;)
		{
			while (Field && !Field->IsA<T>())
			{
				Field = Field->Next;
			}
			if (Field || !bIncludeSuper || !Struct)
			{
				return;
			}
			Struct = Struct->GetSuperStruct();
			if (!Struct)
			{
				return;
			}
			Field = Struct->ChildProperties;
		}
	}

	const UStruct* Struct;
	FField* Field;
	bool bIncludeSuper;
};
