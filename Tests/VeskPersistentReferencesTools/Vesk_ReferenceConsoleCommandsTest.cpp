#include "HAL/IConsoleManager.h"

#include "Misc/OutputDevice.h"
#include "Vesk_ReferenceRegistryTable.h"
#include "Vesk_ReferenceRegistryView.h"
#include "Vesk_ReferenceResolutionExplanation.h"
#include "VeskToolsScriptedRegistry.h"
#include "VeskToolsTestSupport.h"

#include <gtest/gtest.h>

namespace
{
	class FLinesOutputDevice : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type, const FName&) override
		{
			Lines.Add(V);
		}

		TArray<FString> Lines;
	};
}

class FReferenceConsoleCommandTest : public FVeskScriptedRegistryTest
{
protected:
	TArray<FString> Run(const TCHAR* Input, UWorld* InWorld)
	{
		FLinesOutputDevice Output;
		EXPECT_TRUE(IConsoleManager::Get().ProcessUserConsoleInput(Input, Output, InWorld)) << Utf8(Input);
		return Output.Lines;
	}
};

TEST_F(FReferenceConsoleCommandTest, IsRegisteredWithTheConsoleWhenTheModuleLoads)
{
	IConsoleObject* Command = IConsoleManager::Get().FindConsoleObject(TEXT("Vesk.References.Dump"));
	ASSERT_NE(Command, nullptr);
	EXPECT_NE(Command->AsCommand(), nullptr);
	EXPECT_EQ(FString(Command->GetHelp()), FString(TEXT("Prints the world's persistent reference registry: its entries, observations and ended actors. Each identity given after it is also explained, as resolved for any object class.")));
}

TEST_F(FReferenceConsoleCommandTest, PrintsTheTableOfTheGivenWorld)
{
	EXPECT_EQ(Run(TEXT("Vesk.References.Dump"), World.Get()), FVesk_ReferenceRegistryTable::ToLines(FVesk_ReferenceRegistryView(*Registry)));

	FTestWorld Other;
	const TArray<FString> OtherLines = Run(TEXT("vesk.references.dump"), Other.Get());
	ASSERT_FALSE(OtherLines.IsEmpty());
	EXPECT_EQ(OtherLines[0], FString::Printf(TEXT("Reference registry of world %s: 0 entries, 0 observations (0 active), 0 ended actors; last generation 0"), *Other->GetName()));
}

TEST_F(FReferenceConsoleCommandTest, ExplainsEachIdentityGivenAfterTheTable)
{
	const FString Removed = ToolsTestIdentity(3).ToString(EGuidFormats::Digits);
	const FString Unknown = ToolsTestIdentity(9).ToString(EGuidFormats::DigitsWithHyphens);
	const TArray<FString> Lines = Run(*FString::Printf(TEXT("Vesk.References.Dump %s nonsense %s"), *Removed, *Unknown), World.Get());

	const TArray<FString> Table = FVesk_ReferenceRegistryTable::ToLines(FVesk_ReferenceRegistryView(*Registry));
	ASSERT_EQ(Lines.Num(), Table.Num() + 3);
	EXPECT_EQ(Lines[Table.Num()], Removed + TEXT(" as any object: ") + FVesk_ReferenceResolutionExplanation::Explain(*Registry, ToolsTestIdentity(3), UObject::StaticClass(), nullptr).ToString());
	EXPECT_EQ(Lines[Table.Num()], Removed + TEXT(" as any object: Removed (Removed): the identity was removed permanently; generation 3"));
	EXPECT_EQ(Lines[Table.Num() + 1], FString(TEXT("Vesk.References.Dump: 'nonsense' is not an identity")));
	EXPECT_EQ(Lines[Table.Num() + 2], ToolsTestIdentity(9).ToString(EGuidFormats::Digits) + TEXT(" as any object: Unavailable (NoEntry): no producer has bound this identity in this world"));
}

TEST_F(FReferenceConsoleCommandTest, SaysSoWhenTheWorldHasNoRegistry)
{
	EXPECT_EQ(Run(TEXT("Vesk.References.Dump"), nullptr), (TArray<FString>{ TEXT("Vesk.References.Dump: this world has no reference registry") }));
}
