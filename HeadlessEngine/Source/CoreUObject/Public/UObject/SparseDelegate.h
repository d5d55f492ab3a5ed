#pragma once

#include "CoreMinimal.h"
#include "UObject/NameTypes.h"
#include "UObject/ScriptDelegates.h"

class UObject;

// The handlers of sparse delegates, kept outside their owners and keyed by owner and delegate
// name, so that an object with many unbound delegates pays one byte for each.
struct COREUOBJECT_API FSparseDelegateStorage
{
	// Each returns whether the delegate has any handler afterwards.
	static bool Add(const UObject* DelegateOwner, FName DelegateName, FScriptDelegate Delegate);
	static bool AddUnique(const UObject* DelegateOwner, FName DelegateName, FScriptDelegate Delegate);
	static bool Remove(const UObject* DelegateOwner, FName DelegateName, const UObject* ObjectToRemove, FName FunctionName);
	static bool RemoveAll(const UObject* DelegateOwner, FName DelegateName, const UObject* UserObject);
	static void Clear(const UObject* DelegateOwner, FName DelegateName);
	static bool Contains(const UObject* DelegateOwner, FName DelegateName, const UObject* InObject, FName FunctionName);

	// Null when the delegate has never had a handler. The pointer stays valid until the owner is
	// destroyed.
	static FMulticastScriptDelegate* GetMulticastDelegate(const UObject* DelegateOwner, FName DelegateName);

	// The object system calls this when an object is destroyed.
	static void OnObjectDestroyed(const UObject* Object);
};

struct FSparseDelegate
{
	bool IsBound() const
	{
		return bIsBound;
	}

protected:
	friend class FMulticastSparseDelegateProperty;

	bool bIsBound = false;
};

template<typename MulticastDelegate, typename OwningClass, typename DelegateInfoClass>
struct TSparseDynamicDelegate : public FSparseDelegate
{
	UObject* GetDelegateOwner() const
	{
		const size_t OffsetToOwner = DelegateInfoClass::template GetDelegateOffset<OwningClass>();
		return reinterpret_cast<UObject*>((uint8*)this - OffsetToOwner);
	}
	static FName GetDelegateName()
	{
		static const FName Name(DelegateInfoClass::GetDelegateName());
		return Name;
	}

	template<class UserClass>
	void __Internal_AddDynamic(UserClass* InUserObject, typename MulticastDelegate::template TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName)
	{
		FScriptDelegate NewDelegate;
		MulticastDelegate::BindDynamic(NewDelegate, InUserObject, InMethodPtr, InFunctionName);
		bIsBound |= FSparseDelegateStorage::Add(GetDelegateOwner(), GetDelegateName(), NewDelegate);
	}
	template<class UserClass>
	void __Internal_AddUniqueDynamic(UserClass* InUserObject, typename MulticastDelegate::template TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName)
	{
		FScriptDelegate NewDelegate;
		MulticastDelegate::BindDynamic(NewDelegate, InUserObject, InMethodPtr, InFunctionName);
		bIsBound |= FSparseDelegateStorage::AddUnique(GetDelegateOwner(), GetDelegateName(), NewDelegate);
	}
	template<class UserClass>
	void __Internal_RemoveDynamic(UserClass* InUserObject, typename MulticastDelegate::template TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName)
	{
		(void)InMethodPtr;
		if (bIsBound)
		{
			bIsBound = FSparseDelegateStorage::Remove(GetDelegateOwner(), GetDelegateName(), InUserObject, InFunctionName);
		}
	}
	template<class UserClass>
	bool __Internal_IsAlreadyBound(UserClass* InUserObject, typename MulticastDelegate::template TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName) const
	{
		(void)InMethodPtr;
		return bIsBound && FSparseDelegateStorage::Contains(GetDelegateOwner(), GetDelegateName(), InUserObject, InFunctionName);
	}

	void AddUnique(FScriptDelegate InDelegate)
	{
		bIsBound |= FSparseDelegateStorage::AddUnique(GetDelegateOwner(), GetDelegateName(), MoveTemp(InDelegate));
	}
	void Remove(const UObject* InObject, FName InFunctionName)
	{
		if (bIsBound)
		{
			bIsBound = FSparseDelegateStorage::Remove(GetDelegateOwner(), GetDelegateName(), InObject, InFunctionName);
		}
	}
	void RemoveAll(const UObject* UserObject)
	{
		if (bIsBound)
		{
			bIsBound = FSparseDelegateStorage::RemoveAll(GetDelegateOwner(), GetDelegateName(), UserObject);
		}
	}
	void Clear()
	{
		if (bIsBound)
		{
			FSparseDelegateStorage::Clear(GetDelegateOwner(), GetDelegateName());
			bIsBound = false;
		}
	}

	template<typename... ParamTypes>
	void Broadcast(ParamTypes... Params) const
	{
		if (bIsBound)
		{
			if (FMulticastScriptDelegate* Delegate = FSparseDelegateStorage::GetMulticastDelegate(GetDelegateOwner(), GetDelegateName()))
			{
				reinterpret_cast<MulticastDelegate*>(Delegate)->Broadcast(Params...);
			}
		}
	}
};

// Tells a sparse delegate its name and where it sits in its owner. Taking the offset of a
// member of a class that is not standard-layout is what the engine's own getter does too.
#define DECLARE_SPARSE_DELEGATE_INFO_GETTER(SparseDelegateClass, OwningClass, DelegateName) \
	struct SparseDelegateClass##InfoGetter \
	{ \
		static const char* GetDelegateName() \
		{ \
			return #DelegateName; \
		} \
		_Pragma("GCC diagnostic push") \
		_Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"") \
		template<typename T> \
		static size_t GetDelegateOffset() \
		{ \
			return offsetof(T, DelegateName); \
		} \
		_Pragma("GCC diagnostic pop") \
	};
