#pragma once

#include "CoreMinimal.h"
#include "Containers/Map.h"
#include "UObject/ObjectMacros.h"

class UStruct;
class UClass;
class UObject;

// The type of a field, so that properties can be cast without RTTI.
class COREUOBJECT_API FFieldClass
{
public:
	FFieldClass(const TCHAR* InName, FFieldClass* InSuperClass);

	FName GetFName() const
	{
		return Name;
	}
	FString GetName() const
	{
		return Name.ToString();
	}
	FFieldClass* GetSuperClass() const
	{
		return SuperClass;
	}
	bool IsChildOf(const FFieldClass* InClass) const;

private:
	FName Name;
	FFieldClass* SuperClass;
};

#define DECLARE_FIELD(TClass, TSuperClass) \
public: \
	typedef TSuperClass Super; \
	typedef TClass ThisClass; \
	static FFieldClass* StaticClass(); \
	virtual FFieldClass* GetClass() const override \
	{ \
		return StaticClass(); \
	}

#define IMPLEMENT_FIELD(TClass) \
	FFieldClass* TClass::StaticClass() \
	{ \
		static FFieldClass Class(TEXT(#TClass), TClass::Super::StaticClass()); \
		return &Class; \
	}

// A member of a reflected struct that is not an object itself: a property. Owned by its struct.
class COREUOBJECT_API FField
{
public:
	FField(UStruct* InOwner, FName InName);
	virtual ~FField() = default;

	FField(const FField&) = delete;
	FField& operator=(const FField&) = delete;

	static FFieldClass* StaticClass();
	virtual FFieldClass* GetClass() const
	{
		return StaticClass();
	}
	bool IsA(const FFieldClass* FieldType) const
	{
		return GetClass()->IsChildOf(FieldType);
	}
	template<typename T>
	bool IsA() const
	{
		return IsA(T::StaticClass());
	}

	FName GetFName() const
	{
		return NamePrivate;
	}
	FString GetName() const
	{
		return NamePrivate.ToString();
	}
	UStruct* GetOwnerStruct() const
	{
		return Owner;
	}
	UClass* GetOwnerClass() const;

	const FString& GetMetaData(const TCHAR* Key) const;
	const FString& GetMetaData(const FName& Key) const;
	bool HasMetaData(const TCHAR* Key) const;
	bool HasMetaData(const FName& Key) const;
	void SetMetaData(const TCHAR* Key, const TCHAR* InValue);
	void SetMetaData(const FName& Key, const TCHAR* InValue);
	const TMap<FName, FString>& GetMetaDataMap() const
	{
		return MetaData;
	}

	FField* Next = nullptr;

private:
	UStruct* Owner;
	FName NamePrivate;
	TMap<FName, FString> MetaData;
};

template<typename FieldType>
FieldType* CastField(FField* Src)
{
	return Src && Src->IsA<FieldType>() ? static_cast<FieldType*>(Src) : nullptr;
}

template<typename FieldType>
const FieldType* CastField(const FField* Src)
{
	return Src && Src->IsA<FieldType>() ? static_cast<const FieldType*>(Src) : nullptr;
}

template<typename FieldType>
FieldType* CastFieldChecked(FField* Src)
{
	FieldType* Result = CastField<FieldType>(Src);
	check(Result);
	return Result;
}
