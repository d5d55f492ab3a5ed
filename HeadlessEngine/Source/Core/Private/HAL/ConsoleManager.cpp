#include "HAL/IConsoleManager.h"

#include "Containers/Map.h"
#include "Misc/Char.h"
#include "Templates/UniquePtr.h"

namespace
{
	class FConsoleCommand final : public IConsoleCommand
	{
	public:
		FConsoleCommand(const TCHAR* InHelp, const FConsoleCommandWithWorldArgsAndOutputDeviceDelegate& InDelegate, uint32 InFlags)
			: Help(InHelp ? InHelp : TEXT(""))
			, Delegate(InDelegate)
			, Flags((EConsoleVariableFlags)InFlags)
		{
		}

		virtual const TCHAR* GetHelp() const override
		{
			return *Help;
		}
		virtual void SetHelp(const TCHAR* Value) override
		{
			Help = Value;
		}
		virtual EConsoleVariableFlags GetFlags() const override
		{
			return Flags;
		}
		virtual void SetFlags(const EConsoleVariableFlags Value) override
		{
			Flags = Value;
		}
		virtual IConsoleCommand* AsCommand() override
		{
			return this;
		}
		virtual bool Execute(const TArray<FString>& Args, UWorld* InWorld, FOutputDevice& OutputDevice) override
		{
			return Delegate.ExecuteIfBound(Args, InWorld, OutputDevice);
		}

	private:
		FString Help;
		FConsoleCommandWithWorldArgsAndOutputDeviceDelegate Delegate;
		EConsoleVariableFlags Flags;
	};

	class FConsoleManager final : public IConsoleManager
	{
	public:
		virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldArgsAndOutputDeviceDelegate& Command, uint32 Flags) override
		{
			const FString Key(Name);
			if (!ensureMsgf(!Key.IsEmpty() && !Objects.Contains(Key), TEXT("Console object named '%s' already exists but is being registered again"), Name))
			{
				return nullptr;
			}
			FConsoleCommand* NewCommand = new FConsoleCommand(Help, Command, Flags);
			Objects.Add(Key, TUniquePtr<IConsoleObject>(NewCommand));
			return NewCommand;
		}

		virtual void UnregisterConsoleObject(IConsoleObject* ConsoleObject, bool) override
		{
			for (TMap<FString, TUniquePtr<IConsoleObject>>::TIterator It = Objects.CreateIterator(); It; ++It)
			{
				if (It->Value.Get() == ConsoleObject)
				{
					It.RemoveCurrent();
					return;
				}
			}
		}

		virtual void UnregisterConsoleObject(const TCHAR* Name, bool) override
		{
			Objects.Remove(FString(Name));
		}

		virtual IConsoleObject* FindConsoleObject(const TCHAR* Name, bool) const override
		{
			const TUniquePtr<IConsoleObject>* Found = Objects.Find(FString(Name));
			return Found ? Found->Get() : nullptr;
		}

		virtual bool ProcessUserConsoleInput(const TCHAR* InInput, FOutputDevice& Ar, UWorld* InWorld) override
		{
			TArray<FString> Words = SplitAtWhitespace(InInput);
			if (Words.Num() == 0)
			{
				return false;
			}
			IConsoleObject* Found = FindConsoleObject(*Words[0], true);
			IConsoleCommand* Command = Found ? Found->AsCommand() : nullptr;
			if (!Command)
			{
				return false;
			}
			Words.RemoveAt(0);
			return Command->Execute(Words, InWorld, Ar);
		}

	private:
		static TArray<FString> SplitAtWhitespace(const TCHAR* Text)
		{
			TArray<FString> Words;
			FString Word;
			for (const TCHAR* Char = Text ? Text : TEXT(""); *Char; ++Char)
			{
				if (FChar::IsWhitespace(*Char))
				{
					if (!Word.IsEmpty())
					{
						Words.Add(MoveTemp(Word));
						Word.Reset();
					}
					continue;
				}
				Word.AppendChar(*Char);
			}
			if (!Word.IsEmpty())
			{
				Words.Add(MoveTemp(Word));
			}
			return Words;
		}

		// FString keys hash and compare without case, as console names do.
		TMap<FString, TUniquePtr<IConsoleObject>> Objects;
	};
}

IConsoleManager& IConsoleManager::Get()
{
	// Never destroyed: static command objects of other libraries unregister during shutdown.
	static FConsoleManager* Singleton = new FConsoleManager();
	return *Singleton;
}
