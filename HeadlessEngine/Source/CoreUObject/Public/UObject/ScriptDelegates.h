#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "UObject/NameTypes.h"
#include "UObject/WeakObjectPtr.h"

class UObject;
class UFunction;

// A handler named by object and reflected function; calling it runs the function through
// ProcessEvent. The object type is a template parameter so that this header needs no UObject.
template<typename TWeakPtr = FWeakObjectPtr>
class TScriptDelegate
{
public:
	TScriptDelegate() = default;

	void BindUFunction(UObject* InObject, const FName& InFunctionName)
	{
		Object = InObject;
		FunctionName = InFunctionName;
	}

	// Bound when the object is alive and still has the named function.
	bool IsBound() const
	{
		return IsBound_Internal<UObject>();
	}
	bool IsBoundToObject(void const* InUserObject) const
	{
		return InUserObject && InUserObject == (void const*)Object.Get(true);
	}
	bool IsCompactable() const
	{
		return FunctionName == NAME_None || !Object.Get(true);
	}
	void Unbind()
	{
		Object.Reset();
		FunctionName = NAME_None;
	}
	void Clear()
	{
		Unbind();
	}

	UObject* GetUObject() const
	{
		return Object.Get();
	}
	UObject* GetUObjectEvenIfUnreachable() const
	{
		return Object.GetEvenIfUnreachable();
	}
	FName GetFunctionName() const
	{
		return FunctionName;
	}

	bool operator==(const TScriptDelegate& Other) const
	{
		return Object == Other.Object && FunctionName == Other.FunctionName;
	}
	bool operator!=(const TScriptDelegate& Other) const
	{
		return !(*this == Other);
	}

	template<class UObjectTemplate>
	void ProcessDelegate(void* Parameters) const
	{
		checkf(Object.IsValid(), TEXT("ProcessDelegate() called with no object bound to delegate!"));
		checkf(FunctionName != NAME_None, TEXT("ProcessDelegate() called with no function name set!"));
		UObjectTemplate* ObjectPtr = static_cast<UObjectTemplate*>(Object.Get());
		UFunction* Function = ObjectPtr->FindFunctionChecked(FunctionName);
		ObjectPtr->ProcessEvent(Function, Parameters);
	}

	friend uint32 GetTypeHash(const TScriptDelegate& Delegate)
	{
		return HashCombine(GetTypeHash(Delegate.Object), GetTypeHash(Delegate.FunctionName));
	}

private:
	template<class UObjectTemplate>
	bool IsBound_Internal() const
	{
		if (FunctionName == NAME_None)
		{
			return false;
		}
		UObjectTemplate* ObjectPtr = static_cast<UObjectTemplate*>(Object.Get());
		return ObjectPtr && ObjectPtr->FindFunction(FunctionName);
	}

	TWeakPtr Object;
	FName FunctionName;
};

// Handlers called one after the other in the order they were added.
template<typename TWeakPtr = FWeakObjectPtr>
class TMulticastScriptDelegate
{
public:
	typedef TArray<TScriptDelegate<TWeakPtr>> FInvocationList;

	bool IsBound() const
	{
		return InvocationList.Num() > 0;
	}
	bool Contains(const TScriptDelegate<TWeakPtr>& InDelegate) const
	{
		return InvocationList.Contains(InDelegate);
	}
	bool Contains(const UObject* InObject, FName InFunctionName) const
	{
		return InvocationList.ContainsByPredicate([InObject, InFunctionName](const TScriptDelegate<TWeakPtr>& Delegate)
			{ return Delegate.GetFunctionName() == InFunctionName && Delegate.IsBoundToObject(InObject); });
	}

	void Add(const TScriptDelegate<TWeakPtr>& InDelegate)
	{
		CompactInvocationList();
		InvocationList.Add(InDelegate);
	}
	// Adding a pair already in the list changes nothing.
	void AddUnique(const TScriptDelegate<TWeakPtr>& InDelegate)
	{
		CompactInvocationList();
		InvocationList.AddUnique(InDelegate);
	}
	void Remove(const TScriptDelegate<TWeakPtr>& InDelegate)
	{
		InvocationList.Remove(InDelegate);
		CompactInvocationList();
	}
	// Removes the first matching handler only, as the engine does; the others may change places.
	void Remove(const UObject* InObject, FName InFunctionName)
	{
		const int32 Index = InvocationList.IndexOfByPredicate([InObject, InFunctionName](const TScriptDelegate<TWeakPtr>& Delegate)
			{ return Delegate.GetFunctionName() == InFunctionName && Delegate.IsBoundToObject(InObject); });
		if (Index != INDEX_NONE)
		{
			InvocationList.RemoveAtSwap(Index);
		}
		CompactInvocationList();
	}
	void RemoveAll(const UObject* Object)
	{
		InvocationList.RemoveAll([Object](const TScriptDelegate<TWeakPtr>& Delegate)
			{ return Delegate.IsBoundToObject(Object); });
		CompactInvocationList();
	}
	// Removes every handler and releases the list's storage.
	void Clear()
	{
		InvocationList.Empty();
	}

	int32 Num() const
	{
		return InvocationList.Num();
	}
	TArray<UObject*> GetAllObjects() const
	{
		TArray<UObject*> Result;
		for (const TScriptDelegate<TWeakPtr>& Delegate : InvocationList)
		{
			if (UObject* Object = Delegate.GetUObject())
			{
				Result.Add(Object);
			}
		}
		return Result;
	}

	// Runs over the list as it was when the broadcast began: handlers may add or remove handlers,
	// or empty the list, without changing who is called now. Handlers whose object is gone are
	// skipped.
	template<class UObjectTemplate>
	void ProcessMulticastDelegate(void* Parameters) const
	{
		if (InvocationList.Num() == 0)
		{
			return;
		}
		const FInvocationList InvocationListCopy = InvocationList;
		for (const TScriptDelegate<TWeakPtr>& FunctionDelegate : InvocationListCopy)
		{
			if (FunctionDelegate.IsBound())
			{
				FunctionDelegate.template ProcessDelegate<UObjectTemplate>(Parameters);
			}
		}
	}

private:
	void CompactInvocationList()
	{
		InvocationList.RemoveAll([](const TScriptDelegate<TWeakPtr>& Delegate)
			{ return Delegate.IsCompactable(); });
	}

	mutable FInvocationList InvocationList;
};

typedef TScriptDelegate<> FScriptDelegate;
typedef TMulticastScriptDelegate<> FMulticastScriptDelegate;
