#include "Vesk_ReferenceRegistryTable.h"

#include "Misc/OutputDevice.h"
#include "Vesk_ReferenceRegistryView.h"
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

class FRegistryTableTest : public FVeskScriptedRegistryTest
{
protected:
	// The saved identity is the save module's own, new in every run; the rest is fixed.
	FString Saved() const
	{
		return WorkshopIdentity.ToString(EGuidFormats::Digits);
	}
};

TEST_F(FRegistryTableTest, ListsExactlyTheRegistrysStateAfterTheScriptedSequence)
{
	const TArray<FString> Expected = {
		FString::Printf(TEXT("Reference registry of world %s: 7 entries, 4 observations (3 active), 1 ended actor; last generation 7"), *World->GetName()),
		TEXT("Entries:"),
		TEXT("  Identity                          Status         Gen  Origin    Object                Owning actor"),
		TEXT("  ") + Saved() + TEXT("  Available        1  Saved     Workshop              Workshop"),
		TEXT("  0700150200000002000A11CEFFFFFFFD  Initializing     2  Explicit  Ledger                -"),
		TEXT("  0700150300000003000A11CEFFFFFFFC  Removed          3  Explicit  -                     -"),
		TEXT("  0700150400000004000A11CEFFFFFFFB  Unavailable      4  Explicit  -                     -"),
		TEXT("  0700150500000005000A11CEFFFFFFFA  Unavailable      5  Explicit  -                     -"),
		TEXT("  0700150600000006000A11CEFFFFFFF9  Available        6  Explicit  (gone)                -"),
		TEXT("  0700150700000007000A11CEFFFFFFF8  Available        7  Explicit  Hinge                 Gate"),
		TEXT("Observations:"),
		TEXT("  Identity                          Consumer              Last status         Active  Expects"),
		TEXT("  ") + Saved() + TEXT("  Courier               Available           yes     Actor.VeskToolsTestComponent"),
		TEXT("  0700150400000004000A11CEFFFFFFFB  Courier               Unavailable         yes     Object"),
		TEXT("  0700150200000002000A11CEFFFFFFFD  Clerk                 Initializing        yes     Object"),
		TEXT("  0700150700000007000A11CEFFFFFFF8  -                     Available           no      Object"),
		TEXT("Ended actors: Shed"),
	};
	const TArray<FString> Lines = FVesk_ReferenceRegistryTable::ToLines(FVesk_ReferenceRegistryView(*Registry));
	ASSERT_EQ(Lines.Num(), Expected.Num());
	for (int32 Index = 0; Index < Expected.Num(); ++Index)
	{
		EXPECT_EQ(Lines[Index], Expected[Index]) << "line " << Index;
	}
}

TEST_F(FRegistryTableTest, PrintingWritesTheLinesToTheDeviceOnly)
{
	const FVesk_ReferenceRegistryView View(*Registry);
	FLinesOutputDevice Output;
	FVesk_ReferenceRegistryTable::Print(View, Output);
	EXPECT_EQ(Output.Lines, FVesk_ReferenceRegistryTable::ToLines(View));
}

TEST_F(FRegistryTableTest, ATornDownRegistrySaysSoAndListsNothing)
{
	World.Destroy();
	const TArray<FString> Lines = FVesk_ReferenceRegistryTable::ToLines(FVesk_ReferenceRegistryView(*Registry));
	ASSERT_EQ(Lines.Num(), 6);
	EXPECT_EQ(Lines[0], FString::Printf(TEXT("Reference registry of world %s (torn down): 0 entries, 0 observations (0 active), 0 ended actors; last generation 7"), *World->GetName()));
	EXPECT_EQ(Lines[1], FString(TEXT("Entries:")));
	EXPECT_EQ(Lines[3], FString(TEXT("Observations:")));
	EXPECT_EQ(Lines[5], FString(TEXT("Ended actors: -")));
}
