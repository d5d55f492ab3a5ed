#include "UObject/SparseDelegate.h"

#include "Misc/AssertionMacros.h"
#include "Templates/UniquePtr.h"

#include <unordered_map>
#include <utility>
#include <vector>

namespace
{
	struct FOwnerDelegates
	{
		// Few delegates per owner are ever bound, so a list beats a map.
		std::vector<std::pair<FName, TUniquePtr<FMulticastScriptDelegate>>> Delegates;

		FMulticastScriptDelegate* Find(FName DelegateName)
		{
			for (auto& [Name, Delegate] : Delegates)
			{
				if (Name == DelegateName)
				{
					return Delegate.Get();
				}
			}
			return nullptr;
		}
		FMulticastScriptDelegate& FindOrAdd(FName DelegateName)
		{
			if (FMulticastScriptDelegate* Found = Find(DelegateName))
			{
				return *Found;
			}
			Delegates.emplace_back(DelegateName, MakeUnique<FMulticastScriptDelegate>());
			return *Delegates.back().second;
		}
	};

	std::unordered_map<const UObject*, FOwnerDelegates>& GetStorage()
	{
		static std::unordered_map<const UObject*, FOwnerDelegates> Storage;
		return Storage;
	}

	FMulticastScriptDelegate* FindDelegate(const UObject* DelegateOwner, FName DelegateName)
	{
		auto& Storage = GetStorage();
		const auto Found = Storage.find(DelegateOwner);
		return Found != Storage.end() ? Found->second.Find(DelegateName) : nullptr;
	}
}

bool FSparseDelegateStorage::Add(const UObject* DelegateOwner, FName DelegateName, FScriptDelegate Delegate)
{
	FMulticastScriptDelegate& Multicast = GetStorage()[DelegateOwner].FindOrAdd(DelegateName);
	Multicast.Add(Delegate);
	return Multicast.IsBound();
}

bool FSparseDelegateStorage::AddUnique(const UObject* DelegateOwner, FName DelegateName, FScriptDelegate Delegate)
{
	FMulticastScriptDelegate& Multicast = GetStorage()[DelegateOwner].FindOrAdd(DelegateName);
	Multicast.AddUnique(Delegate);
	return Multicast.IsBound();
}

bool FSparseDelegateStorage::Remove(const UObject* DelegateOwner, FName DelegateName, const UObject* ObjectToRemove, FName FunctionName)
{
	FMulticastScriptDelegate* Multicast = FindDelegate(DelegateOwner, DelegateName);
	if (!Multicast)
	{
		return false;
	}
	Multicast->Remove(ObjectToRemove, FunctionName);
	return Multicast->IsBound();
}

bool FSparseDelegateStorage::RemoveAll(const UObject* DelegateOwner, FName DelegateName, const UObject* UserObject)
{
	FMulticastScriptDelegate* Multicast = FindDelegate(DelegateOwner, DelegateName);
	if (!Multicast)
	{
		return false;
	}
	Multicast->RemoveAll(UserObject);
	return Multicast->IsBound();
}

void FSparseDelegateStorage::Clear(const UObject* DelegateOwner, FName DelegateName)
{
	if (FMulticastScriptDelegate* Multicast = FindDelegate(DelegateOwner, DelegateName))
	{
		Multicast->Clear();
	}
}

bool FSparseDelegateStorage::Contains(const UObject* DelegateOwner, FName DelegateName, const UObject* InObject, FName FunctionName)
{
	const FMulticastScriptDelegate* Multicast = FindDelegate(DelegateOwner, DelegateName);
	return Multicast && Multicast->Contains(InObject, FunctionName);
}

FMulticastScriptDelegate* FSparseDelegateStorage::GetMulticastDelegate(const UObject* DelegateOwner, FName DelegateName)
{
	return FindDelegate(DelegateOwner, DelegateName);
}

void FSparseDelegateStorage::OnObjectDestroyed(const UObject* Object)
{
	GetStorage().erase(Object);
}
