#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Misc/AssertionMacros.h"
#include "Modules/ModuleInterface.h"
#include "Templates/Function.h"
#include "UObject/NameTypes.h"

class FDefaultModuleImpl : public IModuleInterface
{
};

class FDefaultGameModuleImpl : public FDefaultModuleImpl
{
public:
	virtual bool IsGameModule() const override
	{
		return true;
	}
};

using FInitializeStaticallyLinkedModule = TFunction<IModuleInterface*()>;

// Knows every module whose library has been loaded (each registers itself from a static
// initializer) and creates, starts and shuts down module objects by name.
class FModuleManager
{
public:
	static CORE_API FModuleManager& Get();

	// Records a module's factory; later registrations of the same name are ignored.
	CORE_API void RegisterStaticallyLinkedModule(const FName InModuleName, const FInitializeStaticallyLinkedModule& InInitializerDelegate);

	// Creates the module and calls StartupModule on the first request; null if the name is
	// unknown.
	CORE_API IModuleInterface* LoadModule(const FName InModuleName);
	CORE_API IModuleInterface& LoadModuleChecked(const FName InModuleName);
	CORE_API bool UnloadModule(const FName InModuleName, bool bIsShutdown = false);

	// Shuts down every loaded module, the last loaded first.
	CORE_API void UnloadModulesAtShutdown();

	CORE_API IModuleInterface* GetModule(const FName InModuleName);
	CORE_API bool IsModuleLoaded(const FName InModuleName) const;
	CORE_API bool ModuleExists(const TCHAR* ModuleName) const;
	CORE_API int32 GetModuleCount() const;
	CORE_API void FindModules(const TCHAR* WildcardWithoutExtension, TArray<FName>& OutModules) const;

	template <typename TModuleInterface>
	static TModuleInterface& LoadModuleChecked(const FName ModuleName)
	{
		return static_cast<TModuleInterface&>(Get().LoadModuleChecked(ModuleName));
	}

	template <typename TModuleInterface>
	static TModuleInterface* LoadModulePtr(const FName ModuleName)
	{
		return static_cast<TModuleInterface*>(Get().LoadModule(ModuleName));
	}

	template <typename TModuleInterface>
	static TModuleInterface& GetModuleChecked(const FName ModuleName)
	{
		IModuleInterface* Module = Get().GetModule(ModuleName);
		checkf(Module != nullptr, TEXT("Module is not loaded: %s"), *ModuleName.ToString());
		return static_cast<TModuleInterface&>(*Module);
	}

	// Null unless the module is loaded; never loads it.
	template <typename TModuleInterface>
	static TModuleInterface* GetModulePtr(const FName ModuleName)
	{
		return static_cast<TModuleInterface*>(Get().GetModule(ModuleName));
	}

	FModuleManager(const FModuleManager&) = delete;
	FModuleManager& operator=(const FModuleManager&) = delete;

private:
	FModuleManager() = default;
	~FModuleManager() = default;
	friend struct FModuleManagerAccess;

	struct FImpl;
	FImpl& GetImpl() const;
};

// Registers a module's factory with the module manager when its library loads.
template <class ModuleClass>
class FStaticallyLinkedModuleRegistrant
{
public:
	explicit FStaticallyLinkedModuleRegistrant(const TCHAR* InModuleName)
	{
		FModuleManager::Get().RegisterStaticallyLinkedModule(FName(InModuleName), []() -> IModuleInterface* { return new ModuleClass(); });
	}
};

// Creates a module object; the caller owns it.
typedef IModuleInterface* (*FInitializeModuleFunctionPtr)();

// Queued by IMPLEMENT_MODULE when the module's library loads: the module's name and the function
// that creates its module object, which the module manager calls when the module is loaded.
class FModuleInitializerEntry
{
public:
	CORE_API FModuleInitializerEntry(const TCHAR* InName, FInitializeModuleFunctionPtr InFunction);

	FModuleInitializerEntry(const FModuleInitializerEntry&) = delete;
	FModuleInitializerEntry& operator=(const FModuleInitializerEntry&) = delete;

	const TCHAR* const Name;
	const FInitializeModuleFunctionPtr Function;
};

// Each library that defines a module exports this marker; the weak definition lets several
// modules share one process.
#define UE_MODULE_MARKER_EXPORT \
	extern "C" __attribute__((visibility("default"), weak)) void ThisIsAnUnrealEngineModule() \
	{ \
	}

#define IMPLEMENT_MODULE(ModuleImplClass, ModuleName) \
	static IModuleInterface* InitializeModule##ModuleName() \
	{ \
		return new ModuleImplClass(); \
	} \
	static FModuleInitializerEntry ModuleName##InitializerEntry(TEXT(#ModuleName), &InitializeModule##ModuleName); \
	UE_MODULE_MARKER_EXPORT

#define IMPLEMENT_GAME_MODULE(ModuleImplClass, ModuleName) IMPLEMENT_MODULE(ModuleImplClass, ModuleName)

#define IMPLEMENT_PRIMARY_GAME_MODULE(ModuleImplClass, ModuleName, GameName) IMPLEMENT_MODULE(ModuleImplClass, ModuleName)
