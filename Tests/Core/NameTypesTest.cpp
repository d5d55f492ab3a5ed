#include "UObject/NameTypes.h"

#include "AllocationCount.h"
#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using CoreTests::ToStd;

TEST(NameNoneTest, DefaultAndEmptyNamesAreNone)
{
	EXPECT_TRUE(FName().IsNone());
	EXPECT_EQ(FName(), NAME_None);
	EXPECT_EQ(FName(TEXT("")), NAME_None);
	EXPECT_EQ(FName((const TCHAR*)nullptr), NAME_None);
	EXPECT_EQ(FName(TEXT("None")), NAME_None);
	EXPECT_EQ(FName(TEXT("nOnE")), NAME_None);
	EXPECT_EQ(ToStd(FName().ToString()), "None");
}

TEST(NameNoneTest, HardcodedNamesHaveTheirText)
{
	EXPECT_EQ(FName(TEXT("Object")), NAME_Object);
	EXPECT_EQ(FName(TEXT("structproperty")), NAME_StructProperty);
	EXPECT_EQ(ToStd(FName(NAME_Guid).ToString()), "Guid");
	EXPECT_EQ(ToStd(FName(NAME_Default__).ToString()), "Default__");
}

TEST(NameComparisonTest, EqualityIgnoresCaseAndKeepsTheFirstSpelling)
{
	const FName First(TEXT("PersistentThing"));
	const FName Second(TEXT("PERSISTENTthing"));
	EXPECT_EQ(First, Second);
	EXPECT_EQ(GetTypeHash(First), GetTypeHash(Second));
	EXPECT_EQ(ToStd(Second.ToString()), "PersistentThing");
	EXPECT_NE(First, FName(TEXT("PersistentThings")));
	EXPECT_TRUE(First == TEXT("persistentthing"));
	EXPECT_FALSE(First == TEXT("persistent"));
}

TEST(NameComparisonTest, LexicalLessIsAlphabeticalIgnoringCase)
{
	// Made in reverse order, so table order and alphabetical order disagree.
	const FName Zebra(TEXT("ZebraOrdering"));
	const FName Apple(TEXT("appleOrdering"));
	EXPECT_TRUE(Apple.LexicalLess(Zebra));
	EXPECT_FALSE(Zebra.LexicalLess(Apple));
	EXPECT_TRUE(Zebra.FastLess(Apple));
	EXPECT_LT(FName(TEXT("Item_2")).Compare(FName(TEXT("Item_10"))), 0);
	EXPECT_EQ(FName(TEXT("Same")).Compare(FName(TEXT("SAME"))), 0);
}

TEST(NameNumberTest, TrailingNumberIsKeptApart)
{
	const FName Name(TEXT("Actor_3"));
	EXPECT_EQ(Name.GetNumber(), NAME_EXTERNAL_TO_INTERNAL(3));
	EXPECT_EQ(ToStd(Name.GetPlainNameString()), "Actor");
	EXPECT_EQ(ToStd(Name.ToString()), "Actor_3");
	EXPECT_EQ(Name.GetComparisonIndex(), FName(NAME_Actor).GetComparisonIndex());
	EXPECT_NE(Name, FName(NAME_Actor));
	EXPECT_EQ(Name, FName(FName(NAME_Actor), NAME_EXTERNAL_TO_INTERNAL(3)));

	const FName Zero(TEXT("Actor_0"));
	EXPECT_EQ(Zero.GetNumber(), NAME_EXTERNAL_TO_INTERNAL(0));
	EXPECT_EQ(ToStd(Zero.ToString()), "Actor_0");
}

TEST(NameNumberTest, NumbersThatWouldNotRoundTripStayInTheText)
{
	for (const TCHAR* Text : { TEXT("Actor_03"), TEXT("Actor_"), TEXT("Actor3"), TEXT("Actor_99999999999"), TEXT("Actor_2147483647") })
	{
		const FName Name(Text);
		EXPECT_EQ(Name.GetNumber(), NAME_NO_NUMBER_INTERNAL) << ToStd(FString(Text));
		EXPECT_EQ(ToStd(Name.ToString()), ToStd(FString(Text)));
	}
	const FName Largest(TEXT("Actor_2147483646"));
	EXPECT_EQ(Largest.GetNumber(), 2147483647);
	EXPECT_EQ(ToStd(Largest.ToString()), "Actor_2147483646");
}

TEST(NameNumberTest, NumberConstructorTakesTheTextWhole)
{
	const FName Name(TEXT("Thing_5"), NAME_EXTERNAL_TO_INTERNAL(2));
	EXPECT_EQ(ToStd(Name.GetPlainNameString()), "Thing_5");
	EXPECT_EQ(ToStd(Name.ToString()), "Thing_5_2");
	EXPECT_EQ(FName(NAME_Object, NAME_NO_NUMBER_INTERNAL), NAME_Object);
}

TEST(NameLookupTest, FindDoesNotAddNames)
{
	const FName Missing(TEXT("NeverMadeBeforeThisTest"), FNAME_Find);
	EXPECT_EQ(Missing, NAME_None);
	const FName MissingNumbered(TEXT("NeverMadeBeforeThisTest_4"), FNAME_Find);
	EXPECT_EQ(MissingNumbered, NAME_None);
	EXPECT_EQ(FName(TEXT("NeverMadeBeforeThisTest"), FNAME_Find), NAME_None);

	const FName Added(TEXT("MadeInThisTest"));
	EXPECT_EQ(FName(TEXT("madeinthistest"), FNAME_Find), Added);
	EXPECT_EQ(FName(TEXT("MadeInThisTest_7"), FNAME_Find).GetNumber(), NAME_EXTERNAL_TO_INTERNAL(7));
}

TEST(NameLookupTest, KnownNamesAreFoundWithoutAllocating)
{
	const FName Known(TEXT("KnownBeforeTheCount"));
	const FName KnownPrefix(TEXT("Known"));
	const FAllocationCount Allocations;

	const FName SameSpelling(TEXT("KnownBeforeTheCount"));
	const FName OtherCase(TEXT("knownbeforethecount"), FNAME_Find);
	const FName Numbered(TEXT("KnownBeforeTheCount_3"));
	const FName Prefix(5, TEXT("KnownBeforeTheCount"));

	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(SameSpelling, Known);
	EXPECT_EQ(OtherCase, Known);
	EXPECT_EQ(FName(Numbered, NAME_NO_NUMBER_INTERNAL), Known);
	EXPECT_EQ(Prefix, KnownPrefix);
}

TEST(NameLookupTest, PartOfALongerTextIsOnlyThatPart)
{
	const FName Whole(TEXT("PartAndRest"));

	EXPECT_NE(FName(4, TEXT("PartAndRest")), Whole);
	EXPECT_EQ(ToStd(FName(4, TEXT("PartAndRest")).ToString()), "Part");
	EXPECT_EQ(FName(4, TEXT("PartAndRest")), FName(TEXT("Part")));
	EXPECT_EQ(FName(4, TEXT("NoneOfThis"), FNAME_Find), NAME_None);
	EXPECT_EQ(FName(7, TEXT("PartAndRest"), FNAME_Find), NAME_None);
}

TEST(NameLookupTest, AppendStringAppends)
{
	FString Out(TEXT("Name: "));
	FName(TEXT("Item_12")).AppendString(Out);
	EXPECT_EQ(ToStd(Out), "Name: Item_12");
	FName(TEXT("Other")).ToString(Out);
	EXPECT_EQ(ToStd(Out), "Other");
}

TEST(NameThreadingTest, ConcurrentCreationGivesOneEntryPerName)
{
	constexpr int32 NumThreads = 4;
	constexpr int32 NumNames = 500;
	std::vector<std::vector<uint32>> Indices(NumThreads, std::vector<uint32>(NumNames));
	std::atomic<bool> bGo = false;
	std::vector<std::thread> Threads;
	for (int32 Thread = 0; Thread < NumThreads; ++Thread)
	{
		Threads.emplace_back([&, Thread]()
		{
			while (!bGo)
			{
			}
			for (int32 Index = 0; Index < NumNames; ++Index)
			{
				const int32 Which = (Index * 7 + Thread * 13) % NumNames;
				Indices[Thread][Which] = FName(*FString::Printf(TEXT("Concurrent%dName"), Which)).GetComparisonIndex();
			}
		});
	}
	bGo = true;
	for (std::thread& Thread : Threads)
	{
		Thread.join();
	}
	for (int32 Index = 0; Index < NumNames; ++Index)
	{
		for (int32 Thread = 1; Thread < NumThreads; ++Thread)
		{
			ASSERT_EQ(Indices[Thread][Index], Indices[0][Index]) << Index;
		}
		if (Index > 0)
		{
			ASSERT_NE(Indices[0][Index], Indices[0][Index - 1]);
		}
	}
}

TEST(NameDisplayStringTest, WordsAreSpacedAndCapitalised)
{
	EXPECT_EQ(ToStd(FName::NameToDisplayString(TEXT("bIsEnabled"), true)), "Is Enabled");
	EXPECT_EQ(ToStd(FName::NameToDisplayString(TEXT("bIsEnabled"), false)), "B Is Enabled");
	EXPECT_EQ(ToStd(FName::NameToDisplayString(TEXT("DrawScale3D"), false)), "Draw Scale 3D");
	EXPECT_EQ(ToStd(FName::NameToDisplayString(TEXT("ScaleToFit"), false)), "Scale to Fit");
	EXPECT_EQ(ToStd(FName::NameToDisplayString(TEXT("max_speed"), false)), "Max Speed");
	EXPECT_EQ(ToStd(FName::NameToDisplayString(TEXT("Instance"), false)), "Instance");
}

TEST(NameDeathTest, OverlongNamesAreFatal)
{
	const FString Long = FString::ChrN(1024, 'n');
	EXPECT_DEATH(FName{ Long }, "Name is longer than 1023 characters");
}
