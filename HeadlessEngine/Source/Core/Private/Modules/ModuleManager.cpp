#include "Modules/ModuleManager.h"

#include "Containers/Map.h"
#include "Misc/CompiledInRegistrationOrder.h"
#include "Containers/UnrealString.h"
#include "Templates/UniquePtr.h"

#include <mutex>

struct FModuleManager::FImpl
{
	struct FLoadedModule
	{
		FName Name;
		TUniquePtr<IModuleInterface> Module;
	};

	// Start-up code of one module may load others from the same thread.
	mutable std::recursive_mutex Mutex;
	TMap<FName, FInitializeStaticallyLinkedModule> Factories;
	// In load order; shut down from the back.
	TArray<FLoadedModule> Loaded;

	int32 FindLoaded(FName Name) const
	{
		return Loaded.IndexOfByPredicate([Name](const FLoadedModule& Entry) { return Entry.Name == Name; });
	}
};

struct FModuleManagerAccess
{
	static FModuleManager& Get()
	{
		// Never destroyed: module libraries register from their static initialisers, and
		// their objects may be asked for until the process ends.
		static FModuleManager* Manager = new FModuleManager();
		return *Manager;
	}
};

namespace
{
	// '*' matches any run of characters, '?' any one; case is ignored as for names.
	bool MatchesWildcard(const TCHAR* Text, const TCHAR* Wildcard)
	{
		if (*Wildcard == 0)
		{
			return *Text == 0;
		}
		if (*Wildcard == '*')
		{
			for (const TCHAR* Rest = Text;; ++Rest)
			{
				if (MatchesWildcard(Rest, Wildcard + 1))
				{
					return true;
				}
				if (*Rest == 0)
				{
					return false;
				}
			}
		}
		if (*Text == 0)
		{
			return false;
		}
		if (*Wildcard != '?' && FChar::ToLower(*Wildcard) != FChar::ToLower(*Text))
		{
			return false;
		}
		return MatchesWildcard(Text + 1, Wildcard + 1);
	}
}

FModuleManager& FModuleManager::Get()
{
	return FModuleManagerAccess::Get();
}

FModuleManager::FImpl& FModuleManager::GetImpl() const
{
	static FImpl* Impl = new FImpl();
	return *Impl;
}

void FModuleManager::RegisterStaticallyLinkedModule(const FName InModuleName, const FInitializeStaticallyLinkedModule& InInitializerDelegate)
{
	FImpl& Impl = GetImpl();
	const std::lock_guard<std::recursive_mutex> Lock(Impl.Mutex);
	if (!Impl.Factories.Contains(InModuleName))
	{
		Impl.Factories.Add(InModuleName, InInitializerDelegate);
	}
}

IModuleInterface* FModuleManager::LoadModule(const FName InModuleName)
{
	FImpl& Impl = GetImpl();
	const std::lock_guard<std::recursive_mutex> Lock(Impl.Mutex);
	const int32 LoadedIndex = Impl.FindLoaded(InModuleName);
	if (LoadedIndex != INDEX_NONE)
	{
		return Impl.Loaded[LoadedIndex].Module.Get();
	}
	const FInitializeStaticallyLinkedModule* Factory = Impl.Factories.Find(InModuleName);
	if (!Factory)
	{
		return nullptr;
	}
	IModuleInterface* Module = (*Factory)();
	if (!Module)
	{
		return nullptr;
	}
	// Listed before it starts, so that a module that asks for itself during start-up gets
	// itself rather than a second instance.
	Impl.Loaded.Add(FImpl::FLoadedModule{ InModuleName, TUniquePtr<IModuleInterface>(Module) });
	Module->StartupModule();
	return Module;
}

IModuleInterface& FModuleManager::LoadModuleChecked(const FName InModuleName)
{
	IModuleInterface* Module = LoadModule(InModuleName);
	checkf(Module != nullptr, TEXT("Module '%s' could not be loaded"), *InModuleName.ToString());
	return *Module;
}

bool FModuleManager::UnloadModule(const FName InModuleName, bool bIsShutdown)
{
	FImpl& Impl = GetImpl();
	const std::lock_guard<std::recursive_mutex> Lock(Impl.Mutex);
	const int32 LoadedIndex = Impl.FindLoaded(InModuleName);
	if (LoadedIndex == INDEX_NONE)
	{
		return false;
	}
	TUniquePtr<IModuleInterface> Module = MoveTemp(Impl.Loaded[LoadedIndex].Module);
	Impl.Loaded.RemoveAt(LoadedIndex);
	if (!bIsShutdown)
	{
		Module->PreUnloadCallback();
	}
	Module->ShutdownModule();
	return true;
}

void FModuleManager::UnloadModulesAtShutdown()
{
	FImpl& Impl = GetImpl();
	const std::lock_guard<std::recursive_mutex> Lock(Impl.Mutex);
	TArray<FName> ToUnload;
	for (int32 Index = Impl.Loaded.Num() - 1; Index >= 0; --Index)
	{
		if (Impl.Loaded[Index].Module->SupportsAutomaticShutdown())
		{
			ToUnload.Add(Impl.Loaded[Index].Name);
		}
	}
	// Every module hears that unloading begins before any of them shuts down.
	for (const FName Name : ToUnload)
	{
		Impl.Loaded[Impl.FindLoaded(Name)].Module->PreUnloadCallback();
	}
	for (const FName Name : ToUnload)
	{
		UnloadModule(Name, true);
	}
}

IModuleInterface* FModuleManager::GetModule(const FName InModuleName)
{
	FImpl& Impl = GetImpl();
	const std::lock_guard<std::recursive_mutex> Lock(Impl.Mutex);
	const int32 LoadedIndex = Impl.FindLoaded(InModuleName);
	return LoadedIndex != INDEX_NONE ? Impl.Loaded[LoadedIndex].Module.Get() : nullptr;
}

bool FModuleManager::IsModuleLoaded(const FName InModuleName) const
{
	FImpl& Impl = GetImpl();
	const std::lock_guard<std::recursive_mutex> Lock(Impl.Mutex);
	return Impl.FindLoaded(InModuleName) != INDEX_NONE;
}

bool FModuleManager::ModuleExists(const TCHAR* ModuleName) const
{
	FImpl& Impl = GetImpl();
	const std::lock_guard<std::recursive_mutex> Lock(Impl.Mutex);
	return Impl.Factories.Contains(FName(ModuleName, FNAME_Find));
}

int32 FModuleManager::GetModuleCount() const
{
	FImpl& Impl = GetImpl();
	const std::lock_guard<std::recursive_mutex> Lock(Impl.Mutex);
	return Impl.Loaded.Num();
}

void FModuleManager::FindModules(const TCHAR* WildcardWithoutExtension, TArray<FName>& OutModules) const
{
	FImpl& Impl = GetImpl();
	const std::lock_guard<std::recursive_mutex> Lock(Impl.Mutex);
	OutModules.Reset();
	for (const TPair<FName, FInitializeStaticallyLinkedModule>& Pair : Impl.Factories)
	{
		if (MatchesWildcard(*Pair.Key.ToString(), WildcardWithoutExtension))
		{
			OutModules.Add(Pair.Key);
		}
	}
}

FModuleInitializerEntry::FModuleInitializerEntry(const TCHAR* InName, FInitializeModuleFunctionPtr InFunction)
	: Name(InName)
	, Function(InFunction)
{
	FModuleManager::Get().RegisterStaticallyLinkedModule(FName(InName), [InFunction]() -> IModuleInterface* { return InFunction(); });
	AddCompiledInRecord(FCompiledInRecord::EKind::Module, InName, this);
}
