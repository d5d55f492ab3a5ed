#include "HAL/IConsoleManager.h"

#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "Misc/OutputDevice.h"

#include <gtest/gtest.h>

class UWorld;

namespace
{
	class FCollectingOutputDevice : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type, const FName&) override
		{
			Lines.Add(V);
		}

		TArray<FString> Lines;
	};

	struct FCall
	{
		TArray<FString> Args;
		UWorld* World = nullptr;
	};

	// Registers a command that records its calls and writes one line; unregisters it at the end.
	class FRecordedCommand
	{
	public:
		explicit FRecordedCommand(const TCHAR* Name)
		{
			Command = IConsoleManager::Get().RegisterConsoleCommand(Name, TEXT("Records its calls."),
				FConsoleCommandWithWorldArgsAndOutputDeviceDelegate::CreateLambda([this](const TArray<FString>& Args, UWorld* World, FOutputDevice& Output)
				{
					Calls.Add(FCall{ Args, World });
					Output.Log(FString::Printf(TEXT("%d args"), Args.Num()));
				}));
		}

		~FRecordedCommand()
		{
			if (Command)
			{
				IConsoleManager::Get().UnregisterConsoleObject(Command);
			}
		}

		IConsoleCommand* Command = nullptr;
		TArray<FCall> Calls;
	};

	UWorld* FakeWorld()
	{
		// Never dereferenced: the manager only hands the world on.
		return reinterpret_cast<UWorld*>(static_cast<uintptr_t>(0x1000));
	}

	int32 GAutoCommandCalls = 0;

	void CountAutoCommand(const TArray<FString>&, UWorld*, FOutputDevice&)
	{
		++GAutoCommandCalls;
	}

	FAutoConsoleCommandWithWorldArgsAndOutputDevice GAutoCommand(TEXT("ConsoleManagerTest.Auto"), TEXT("Registered by a static."),
		FConsoleCommandWithWorldArgsAndOutputDeviceDelegate::CreateStatic(&CountAutoCommand));
}

TEST(ConsoleManagerTest, InputRunsTheNamedCommandWithItsWordsAndTheWorld)
{
	FRecordedCommand Recorded(TEXT("Test.Record"));
	ASSERT_NE(Recorded.Command, nullptr);
	FCollectingOutputDevice Output;

	EXPECT_TRUE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("  Test.Record  alpha \tbeta  "), Output, FakeWorld()));

	ASSERT_EQ(Recorded.Calls.Num(), 1);
	EXPECT_EQ(Recorded.Calls[0].Args, (TArray<FString>{ TEXT("alpha"), TEXT("beta") }));
	EXPECT_EQ(Recorded.Calls[0].World, FakeWorld());
	EXPECT_EQ(Output.Lines, (TArray<FString>{ TEXT("2 args") }));
}

TEST(ConsoleManagerTest, NamesIgnoreCase)
{
	FRecordedCommand Recorded(TEXT("Test.CaseBlind"));
	FCollectingOutputDevice Output;
	EXPECT_EQ(IConsoleManager::Get().FindConsoleObject(TEXT("test.caseblind")), Recorded.Command);
	EXPECT_TRUE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("TEST.CASEBLIND"), Output, nullptr));
	EXPECT_EQ(Recorded.Calls.Num(), 1);
}

TEST(ConsoleManagerTest, UnknownCommandsAndEmptyInputAreNotHandled)
{
	FCollectingOutputDevice Output;
	EXPECT_FALSE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Test.NoSuchCommand 1"), Output, nullptr));
	EXPECT_FALSE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("   "), Output, nullptr));
	EXPECT_TRUE(Output.Lines.IsEmpty());
}

TEST(ConsoleManagerTest, CommandsCarryTheirHelpAndAreCommandsNotVariables)
{
	FRecordedCommand Recorded(TEXT("Test.Help"));
	IConsoleObject* Found = IConsoleManager::Get().FindConsoleObject(TEXT("Test.Help"));
	ASSERT_NE(Found, nullptr);
	EXPECT_EQ(FString(Found->GetHelp()), FString(TEXT("Records its calls.")));
	EXPECT_EQ(Found->AsCommand(), Recorded.Command);
	EXPECT_EQ(Found->AsVariable(), nullptr);
}

TEST(ConsoleManagerTest, UnregisteredCommandsAreGone)
{
	IConsoleCommand* Command = nullptr;
	{
		FRecordedCommand Recorded(TEXT("Test.Temporary"));
		Command = Recorded.Command;
		ASSERT_NE(Command, nullptr);
	}
	FCollectingOutputDevice Output;
	EXPECT_EQ(IConsoleManager::Get().FindConsoleObject(TEXT("Test.Temporary")), nullptr);
	EXPECT_FALSE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Test.Temporary"), Output, nullptr));

	FRecordedCommand Again(TEXT("Test.Temporary"));
	EXPECT_NE(Again.Command, nullptr);
	IConsoleManager::Get().UnregisterConsoleObject(TEXT("Test.Temporary"));
	Again.Command = nullptr;
	EXPECT_EQ(IConsoleManager::Get().FindConsoleObject(TEXT("Test.Temporary")), nullptr);
}

TEST(ConsoleManagerTest, ATakenNameIsRefusedAndKeepsTheFirstCommand)
{
	FRecordedCommand First(TEXT("Test.Taken"));
	FRecordedCommand Second(TEXT("test.TAKEN"));
	EXPECT_EQ(Second.Command, nullptr);
	FCollectingOutputDevice Output;
	EXPECT_TRUE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Test.Taken"), Output, nullptr));
	EXPECT_EQ(First.Calls.Num(), 1);
	EXPECT_EQ(Second.Calls.Num(), 0);
}

TEST(ConsoleManagerTest, StaticCommandsAreRegisteredWhenTheLibraryLoads)
{
	FCollectingOutputDevice Output;
	const int32 Before = GAutoCommandCalls;
	EXPECT_TRUE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("ConsoleManagerTest.Auto"), Output, nullptr));
	EXPECT_EQ(GAutoCommandCalls, Before + 1);
}

TEST(ConsoleManagerDeathTest, AStaticCommandUnderATakenNameIsFatal)
{
	EXPECT_DEATH(
		{
			FAutoConsoleCommandWithWorldArgsAndOutputDevice Duplicate(TEXT("ConsoleManagerTest.Auto"), TEXT(""), FConsoleCommandWithWorldArgsAndOutputDeviceDelegate::CreateStatic(&CountAutoCommand));
		},
		"Assertion failed: Target \\[File:.*IConsoleManager.h\\]");
}
