#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "Delegates/Delegate.h"
#include "Misc/AssertionMacros.h"

class FOutputDevice;
class IConsoleVariable;
class UWorld;
struct IConsoleCommand;

/** Flags of console objects; only the ones this layer gives meaning to, plus the default. */
enum EConsoleVariableFlags
{
	ECVF_Default = 0x0,
	/** Hidden from the user in shipping builds; kept, not enforced, here. */
	ECVF_Cheat = 0x1,
	/** Set on an object once it is unregistered. */
	ECVF_Unregistered = 0x8,
};

DECLARE_DELEGATE_ThreeParams(FConsoleCommandWithWorldArgsAndOutputDeviceDelegate, const TArray<FString>&, UWorld*, FOutputDevice&);

/** Anything the console knows by name. */
class IConsoleObject
{
public:
	IConsoleObject() = default;
	virtual ~IConsoleObject() = default;

	virtual const TCHAR* GetHelp() const = 0;
	virtual void SetHelp(const TCHAR* Value) = 0;
	virtual EConsoleVariableFlags GetFlags() const = 0;
	virtual void SetFlags(const EConsoleVariableFlags Value) = 0;

	/** This layer has console commands only: never a variable. */
	virtual IConsoleVariable* AsVariable()
	{
		return nullptr;
	}
	virtual IConsoleCommand* AsCommand()
	{
		return nullptr;
	}
};

struct IConsoleCommand : public IConsoleObject
{
	/** Runs the command with the words that followed its name; true when it handled them. */
	virtual bool Execute(const TArray<FString>& Args, UWorld* InWorld, FOutputDevice& OutputDevice) = 0;
};

/**
 * The console's registry of commands. One per process, never destroyed, so that static command
 * objects may unregister from their destructors at any point of shutdown.
 */
struct IConsoleManager
{
	/** Null, after a failed ensure, when an object of that name exists (names ignore case). */
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldArgsAndOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default) = 0;

	/** The object is destroyed; bKeepState matters to variables only. */
	virtual void UnregisterConsoleObject(IConsoleObject* ConsoleObject, bool bKeepState = true) = 0;
	virtual void UnregisterConsoleObject(const TCHAR* Name, bool bKeepState = true) = 0;

	/** Names ignore case. Null when there is none. */
	virtual IConsoleObject* FindConsoleObject(const TCHAR* Name, bool bTrackFrequentCalls = true) const = 0;

	/**
	 * Runs a line typed at the console: its first word names the command, the other words,
	 * separated by white space, are its arguments. False when no command has that name.
	 */
	virtual bool ProcessUserConsoleInput(const TCHAR* InInput, FOutputDevice& Ar, UWorld* InWorld) = 0;

	static CORE_API IConsoleManager& Get();

protected:
	virtual ~IConsoleManager() = default;
};

/** Registers a console object for the lifetime of a static, and unregisters it when destroyed. */
class FAutoConsoleObject
{
protected:
	explicit FAutoConsoleObject(IConsoleObject* InTarget)
		: Target(InTarget)
	{
		check(Target);
	}

	virtual ~FAutoConsoleObject()
	{
		IConsoleManager::Get().UnregisterConsoleObject(Target);
	}

	FAutoConsoleObject(const FAutoConsoleObject&) = delete;
	FAutoConsoleObject& operator=(const FAutoConsoleObject&) = delete;

private:
	IConsoleObject* Target;
};

/** A console command, for the lifetime of a static, that takes the world and an output device. */
class FAutoConsoleCommandWithWorldArgsAndOutputDevice : private FAutoConsoleObject
{
public:
	FAutoConsoleCommandWithWorldArgsAndOutputDevice(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldArgsAndOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default)
		: FAutoConsoleObject(IConsoleManager::Get().RegisterConsoleCommand(Name, Help, Command, Flags))
	{
	}
};
