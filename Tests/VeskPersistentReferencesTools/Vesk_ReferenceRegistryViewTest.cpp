#include "Vesk_ReferenceRegistryView.h"

#include "VeskToolsScriptedRegistry.h"
#include "VeskToolsTestSupport.h"

#include <gtest/gtest.h>

using EStatus = EVesk_ReferenceStatus;
using EOrigin = EVesk_ReferenceIdentityOrigin;

namespace
{
	// A row without its weak pointers, compared field by field.
	struct FEntryFacts
	{
		FGuid Identity;
		EStatus Status;
		int64 Generation;
		EOrigin Origin;
		FString ObjectName;
		bool bObjectGone;
		FString OwningActorName;

		bool operator==(const FEntryFacts& Other) const = default;
	};

	void PrintTo(const FEntryFacts& Facts, std::ostream* Out)
	{
		*Out << "{ " << Utf8(Facts.Identity.ToString(EGuidFormats::Digits)) << ", " << StatusName(Facts.Status) << ", g" << Facts.Generation
			<< (Facts.Origin == EOrigin::Saved ? ", saved, " : ", explicit, ") << Utf8(Facts.ObjectName) << (Facts.bObjectGone ? " (gone)" : "")
			<< ", owner " << Utf8(Facts.OwningActorName) << " }";
	}

	FEntryFacts FactsOf(const FVesk_ReferenceEntryRow& Row)
	{
		return FEntryFacts{ Row.Identity, Row.Status, Row.Generation, Row.Origin, Row.ObjectName, Row.bObjectGone, Row.OwningActorName };
	}

	struct FObservationFacts
	{
		FGuid Identity;
		FString ConsumerName;
		EStatus LastStatus;
		bool bActive;
		FString ExpectedTypeName;
		FString ComponentTypeName;

		bool operator==(const FObservationFacts& Other) const = default;
	};

	void PrintTo(const FObservationFacts& Facts, std::ostream* Out)
	{
		*Out << "{ " << Utf8(Facts.Identity.ToString(EGuidFormats::Digits)) << ", " << Utf8(Facts.ConsumerName) << ", " << StatusName(Facts.LastStatus)
			<< (Facts.bActive ? ", active, " : ", inactive, ") << Utf8(Facts.ExpectedTypeName) << "." << Utf8(Facts.ComponentTypeName) << " }";
	}

	FObservationFacts FactsOf(const FVesk_ReferenceObservationRow& Row)
	{
		return FObservationFacts{ Row.Identity, Row.ConsumerName, Row.LastStatus, Row.bActive, Row.ExpectedTypeName, Row.ComponentTypeName };
	}
}

using FRegistryViewTest = FVeskScriptedRegistryTest;

TEST_F(FRegistryViewTest, EntriesAreEveryIdentityInTheOrderItsIncarnationBegan)
{
	const FVesk_ReferenceRegistryView View(*Registry);
	const TArray<FEntryFacts> Expected = {
		{ WorkshopIdentity, EStatus::Available, 1, EOrigin::Saved, TEXT("Workshop"), false, TEXT("Workshop") },
		{ ToolsTestIdentity(2), EStatus::Initializing, 2, EOrigin::Explicit, TEXT("Ledger"), false, TEXT("") },
		{ ToolsTestIdentity(3), EStatus::Removed, 3, EOrigin::Explicit, TEXT(""), false, TEXT("") },
		{ ToolsTestIdentity(4), EStatus::Unavailable, 4, EOrigin::Explicit, TEXT(""), false, TEXT("") },
		{ ToolsTestIdentity(5), EStatus::Unavailable, 5, EOrigin::Explicit, TEXT(""), false, TEXT("") },
		{ ToolsTestIdentity(6), EStatus::Available, 6, EOrigin::Explicit, TEXT(""), true, TEXT("") },
		{ ToolsTestIdentity(7), EStatus::Available, 7, EOrigin::Explicit, TEXT("Hinge"), false, TEXT("Gate") },
	};
	ASSERT_EQ(View.Entries.Num(), Expected.Num());
	for (int32 Index = 0; Index < Expected.Num(); ++Index)
	{
		EXPECT_EQ(FactsOf(View.Entries[Index]), Expected[Index]) << "entry " << Index;
	}
	EXPECT_EQ(View.Entries[0].Object.Get(), Workshop);
	EXPECT_EQ(View.Entries[0].OwningActor.Get(), Workshop);
	EXPECT_EQ(View.Entries[6].Object.Get(), Hinge);
	EXPECT_EQ(View.Entries[6].OwningActor.Get(), Gate);
	EXPECT_EQ(View.Entries[5].Object.Get(), nullptr);
	EXPECT_EQ(View.FindEntry(ToolsTestIdentity(4)), &View.Entries[3]);
	EXPECT_EQ(View.FindEntry(ToolsTestIdentity(9)), nullptr);
}

TEST_F(FRegistryViewTest, ObservationsAreListedInRefreshOrderWithTheirLastStatus)
{
	const FVesk_ReferenceRegistryView View(*Registry);
	const TArray<FObservationFacts> Expected = {
		{ WorkshopIdentity, TEXT("Courier"), EStatus::Available, true, TEXT("Actor"), TEXT("VeskToolsTestComponent") },
		{ ToolsTestIdentity(4), TEXT("Courier"), EStatus::Unavailable, true, TEXT("Object"), TEXT("") },
		{ ToolsTestIdentity(2), TEXT("Clerk"), EStatus::Initializing, true, TEXT("Object"), TEXT("") },
		{ ToolsTestIdentity(7), TEXT(""), EStatus::Available, false, TEXT("Object"), TEXT("") },
	};
	ASSERT_EQ(View.Observations.Num(), Expected.Num());
	for (int32 Index = 0; Index < Expected.Num(); ++Index)
	{
		EXPECT_EQ(FactsOf(View.Observations[Index]), Expected[Index]) << "observation " << Index;
	}
	EXPECT_EQ(View.Observations[0].Consumer.Get(), Courier);
	EXPECT_EQ(View.NumActiveObservations(), 3);
}

TEST_F(FRegistryViewTest, TheSummaryNamesTheWorldTheLastGenerationAndTheEndedActors)
{
	const FVesk_ReferenceRegistryView View(*Registry);
	EXPECT_EQ(View.WorldName, World->GetName());
	EXPECT_FALSE(View.bDeinitialized);
	EXPECT_EQ(View.LastGeneration, 7);
	EXPECT_EQ(View.EndedActorNames, (TArray<FString>{ TEXT("Shed") }));
}

TEST_F(FRegistryViewTest, AViewIsACopyThatDoesNotFollowTheRegistry)
{
	const FVesk_ReferenceRegistryView Before(*Registry);
	Registry->Publish(Registry->BeginBinding(NewWorldObject(), ToolsTestIdentity(8)));
	World.Tick();
	EXPECT_EQ(Before.Entries.Num(), 7);
	EXPECT_EQ(Before.Observations.Num(), 4);

	// The tick dropped the stopped observation and the garbage entry's object is still gone.
	const FVesk_ReferenceRegistryView After(*Registry);
	EXPECT_EQ(After.Entries.Num(), 8);
	EXPECT_EQ(After.LastGeneration, 8);
	EXPECT_EQ(After.Observations.Num(), 3);
}

TEST_F(FRegistryViewTest, ATornDownRegistryShowsNothingButItsLastGeneration)
{
	World.Destroy();
	const FVesk_ReferenceRegistryView View(*Registry);
	EXPECT_TRUE(View.bDeinitialized);
	EXPECT_TRUE(View.Entries.IsEmpty());
	EXPECT_TRUE(View.Observations.IsEmpty());
	EXPECT_EQ(View.LastGeneration, 7);
}
