#include "Vesk_SaveSubsystem.h"

#include "AllocationCount.h"
#include "Engine/World.h"
#include "HAL/UnrealMemory.h"
#include "HeadlessEngineLoop.h"
#include "Modules/ModuleManager.h"
#include "TestWorld.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "VeskSaveTestObjects.h"

#include <gtest/gtest.h>

#include <cstdlib>

class FSaveIdentityTest : public testing::Test
{
protected:
	void SetUp() override
	{
		Save = UVesk_SaveSubsystem::Get();
		ASSERT_NE(Save, nullptr);
	}

	void TearDown() override
	{
		// Every test starts from an empty keeper.
		UVesk_SaveSubsystem::Shutdown();
		UVesk_SaveSubsystem::Startup();
	}

	UVesk_SaveSubsystem* Save = nullptr;
};

TEST_F(FSaveIdentityTest, IsOneKeeperUntilShutDown)
{
	EXPECT_EQ(UVesk_SaveSubsystem::Get(), Save);
	EXPECT_TRUE(Save->IsRooted());

	UVesk_SaveSubsystem::Shutdown();
	EXPECT_EQ(UVesk_SaveSubsystem::Get(), nullptr);
	EXPECT_FALSE(Save->IsRooted());

	UVesk_SaveSubsystem::Startup();
	UVesk_SaveSubsystem* Fresh = UVesk_SaveSubsystem::Get();
	ASSERT_NE(Fresh, nullptr);
	EXPECT_NE(Fresh, Save);
}

TEST_F(FSaveIdentityTest, GivesEachObjectOneStableIdentity)
{
	FTestWorld World;
	AVeskSaveTestActor* First = World.SpawnActor<AVeskSaveTestActor>(TEXT("First"));
	AVeskSaveTestActor* Second = World.SpawnActor<AVeskSaveTestActor>(TEXT("Second"));
	UVeskSaveTestObject* Worldless = NewObject<UVeskSaveTestObject>(GetTransientPackage(), TEXT("Worldless"));

	const FGuid FirstGuid = Save->FindOrAddGuidByObject(First);
	const FGuid SecondGuid = Save->FindOrAddGuidByObject(Second);
	const FGuid WorldlessGuid = Save->FindOrAddGuidByObject(Worldless);

	EXPECT_TRUE(FirstGuid.IsValid());
	EXPECT_TRUE(WorldlessGuid.IsValid());
	EXPECT_NE(FirstGuid, SecondGuid);
	EXPECT_NE(FirstGuid, WorldlessGuid);
	EXPECT_EQ(Save->FindOrAddGuidByObject(First), FirstGuid);
	EXPECT_EQ(Save->FindOrAddGuidByObject(Worldless), WorldlessGuid);
	EXPECT_FALSE(Save->FindOrAddGuidByObject(nullptr).IsValid());
}

TEST_F(FSaveIdentityTest, ObjectRecreatedUnderTheSamePathInANewWorldGetsItsIdentityBack)
{
	FGuid Saved;
	{
		FTestWorld OldWorld;
		Saved = Save->FindOrAddGuidByObject(OldWorld.SpawnActor<AVeskSaveTestActor>(TEXT("Door")));
	}
	FTestWorld NewWorld;

	EXPECT_EQ(Save->FindOrAddGuidByObject(NewWorld.SpawnActor<AVeskSaveTestActor>(TEXT("Door"))), Saved);
	EXPECT_NE(Save->FindOrAddGuidByObject(NewWorld.SpawnActor<AVeskSaveTestActor>(TEXT("Window"))), Saved);
}

TEST_F(FSaveIdentityTest, WorldsDoNotShareOneIdentity)
{
	FTestWorld First;
	FTestWorld Second;

	const FGuid FirstGuid = Save->FindOrAddGuidByObject(First.Get());
	const FGuid SecondGuid = Save->FindOrAddGuidByObject(Second.Get());

	EXPECT_TRUE(FirstGuid.IsValid());
	EXPECT_NE(FirstGuid, SecondGuid);
	EXPECT_EQ(Save->FindOrAddGuidByObject(First.Get()), FirstGuid);
}

TEST_F(FSaveIdentityTest, SetGuidForObjectRekeysAndZeroForgets)
{
	FTestWorld World;
	AVeskSaveTestActor* Actor = World.SpawnActor<AVeskSaveTestActor>(TEXT("Chest"));
	const FGuid Original = Save->FindOrAddGuidByObject(Actor);
	const FGuid Rekeyed(1, 2, 3, 4);

	Save->SetGuidForObject(Actor, Rekeyed);
	EXPECT_EQ(Save->FindOrAddGuidByObject(Actor), Rekeyed);

	Save->SetGuidForObject(Actor, FGuid());
	const FGuid Renewed = Save->FindOrAddGuidByObject(Actor);
	EXPECT_TRUE(Renewed.IsValid());
	EXPECT_NE(Renewed, Rekeyed);
	EXPECT_NE(Renewed, Original);
}

TEST_F(FSaveIdentityTest, RenamedObjectTakesTheIdentityOfItsNewPath)
{
	FTestWorld World;
	FTestWorld OtherWorld;
	AVeskSaveTestActor* Door = World.SpawnActor<AVeskSaveTestActor>(TEXT("Door"));
	const FGuid DoorGuid = Save->FindOrAddGuidByObject(Door);
	const FGuid GateGuid = Save->FindOrAddGuidByObject(OtherWorld.SpawnActor<AVeskSaveTestActor>(TEXT("Gate")));

	Door->LowLevelRename(FName(TEXT("Hatch")));
	const FGuid HatchGuid = Save->FindOrAddGuidByObject(Door);
	Door->LowLevelRename(FName(TEXT("Gate")));
	const FGuid AsGate = Save->FindOrAddGuidByObject(Door);
	Door->LowLevelRename(FName(TEXT("Door")));
	const FGuid AsDoorAgain = Save->FindOrAddGuidByObject(Door);

	EXPECT_TRUE(HatchGuid.IsValid());
	EXPECT_NE(HatchGuid, DoorGuid);
	EXPECT_NE(HatchGuid, GateGuid);
	EXPECT_EQ(AsGate, GateGuid);
	EXPECT_EQ(AsDoorAgain, DoorGuid);
}

TEST_F(FSaveIdentityTest, RenamedOrMovedOuterChangesTheIdentityOfWhatItHolds)
{
	FTestWorld World;
	AVeskSaveTestActor* Cart = World.SpawnActor<AVeskSaveTestActor>(TEXT("Cart"));
	AVeskSaveTestActor* Wagon = World.SpawnActor<AVeskSaveTestActor>(TEXT("Wagon"));
	UVeskSaveTestObject* Wheel = NewObject<UVeskSaveTestObject>(Cart, TEXT("Wheel"));
	const FGuid OnCart = Save->FindOrAddGuidByObject(Wheel);

	Cart->LowLevelRename(FName(TEXT("Barrow")));
	const FGuid OnBarrow = Save->FindOrAddGuidByObject(Wheel);
	Cart->LowLevelRename(FName(TEXT("Cart")));
	const FGuid OnCartAgain = Save->FindOrAddGuidByObject(Wheel);
	Wheel->LowLevelRename(Wheel->GetFName(), Wagon);
	const FGuid OnWagon = Save->FindOrAddGuidByObject(Wheel);
	const FGuid WagonsOwnWheel = Save->FindOrAddGuidByObject(NewObject<UVeskSaveTestObject>(Wagon, TEXT("Spare")));

	EXPECT_NE(OnBarrow, OnCart);
	EXPECT_EQ(OnCartAgain, OnCart);
	EXPECT_NE(OnWagon, OnCart);
	EXPECT_NE(OnWagon, OnBarrow);
	EXPECT_NE(OnWagon, WagonsOwnWheel);
}

TEST_F(FSaveIdentityTest, ObjectInTheSlotOfAGoneObjectIsNotTakenForIt)
{
	FTestWorld World;
	UVeskSaveTestObject* Gone = NewObject<UVeskSaveTestObject>(World.Get(), TEXT("Note"));
	const FGuid GoneGuid = Save->FindOrAddGuidByObject(Gone);
	const uint32 Slot = Gone->GetUniqueID();
	Gone->MarkAsGarbage();
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);

	// Slots are reused, the most recently freed first; the collection may have freed others after it.
	UVeskSaveTestObject* Next = nullptr;
	for (int32 Attempt = 0; Attempt < 10000 && !(Next && Next->GetUniqueID() == Slot); ++Attempt)
	{
		Next = NewObject<UVeskSaveTestObject>(World.Get(), FName(TEXT("Letter"), NAME_EXTERNAL_TO_INTERNAL(Attempt)));
	}
	ASSERT_EQ(Next->GetUniqueID(), Slot) << "the slot was not reused; the test proves nothing";
	const FGuid NextGuid = Save->FindOrAddGuidByObject(Next);

	EXPECT_TRUE(NextGuid.IsValid());
	EXPECT_NE(NextGuid, GoneGuid);
}

TEST_F(FSaveIdentityTest, RekeyingAnObjectRekeysItsNamesakeInAnotherWorld)
{
	FTestWorld First;
	FTestWorld Second;
	AVeskSaveTestActor* FirstDoor = First.SpawnActor<AVeskSaveTestActor>(TEXT("Door"));
	AVeskSaveTestActor* SecondDoor = Second.SpawnActor<AVeskSaveTestActor>(TEXT("Door"));
	ASSERT_EQ(Save->FindOrAddGuidByObject(FirstDoor), Save->FindOrAddGuidByObject(SecondDoor));
	const FGuid Rekeyed(5, 6, 7, 8);

	Save->SetGuidForObject(FirstDoor, Rekeyed);

	EXPECT_EQ(Save->FindOrAddGuidByObject(SecondDoor), Rekeyed);
	EXPECT_EQ(Save->FindOrAddGuidByObject(FirstDoor), Rekeyed);
}

TEST_F(FSaveIdentityTest, ObjectsThatComeAndGoKeepTheIdentitiesOfTheirPaths)
{
	// Enough objects that the memory of gone ones is pruned on the way.
	constexpr int32 NumCrates = 3000;
	TArray<FGuid> FirstGuids;
	{
		FTestWorld World;
		for (int32 Index = 0; Index < NumCrates; ++Index)
		{
			FirstGuids.Add(Save->FindOrAddGuidByObject(World.SpawnActor<AVeskSaveTestActor>(FName(TEXT("Crate"), NAME_EXTERNAL_TO_INTERNAL(Index)))));
		}
	}
	FTestWorld World;
	int32 NumSame = 0;
	for (int32 Index = NumCrates - 1; Index >= 0; --Index)
	{
		NumSame += Save->FindOrAddGuidByObject(World.SpawnActor<AVeskSaveTestActor>(FName(TEXT("Crate"), NAME_EXTERNAL_TO_INTERNAL(Index)))) == FirstGuids[Index];
	}
	const FGuid NewPath = Save->FindOrAddGuidByObject(World.SpawnActor<AVeskSaveTestActor>(TEXT("Barrel")));

	EXPECT_EQ(NumSame, NumCrates);
	EXPECT_FALSE(FirstGuids.Contains(NewPath));
}

TEST_F(FSaveIdentityTest, AnsweringForAKnownObjectAllocatesNothing)
{
	FTestWorld World;
	AVeskSaveTestActor* Actor = World.SpawnActor<AVeskSaveTestActor>(TEXT("Lamp"));
	UVeskSaveTestObject* Inner = NewObject<UVeskSaveTestObject>(Actor, TEXT("Wick"));
	const FGuid ActorGuid = Save->FindOrAddGuidByObject(Actor);
	const FGuid InnerGuid = Save->FindOrAddGuidByObject(Inner);
	const FAllocationCount Allocations;

	int32 NumSame = 0;
	for (int32 Round = 0; Round < 10; ++Round)
	{
		NumSame += Save->FindOrAddGuidByObject(Actor) == ActorGuid;
		NumSame += Save->FindOrAddGuidByObject(Inner) == InnerGuid;
	}

	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(NumSame, 20);
}

class FSaveBytesTest : public FSaveIdentityTest
{
};

TEST_F(FSaveBytesTest, RoundTripRestoresEveryIdentity)
{
	FTestWorld World;
	AVeskSaveTestActor* Actor = World.SpawnActor<AVeskSaveTestActor>(TEXT("Lever"));
	UVeskSaveTestObject* Worldless = NewObject<UVeskSaveTestObject>(GetTransientPackage(), TEXT("Ledger"));
	const FGuid ActorGuid = Save->FindOrAddGuidByObject(Actor);
	const FGuid WorldlessGuid = Save->FindOrAddGuidByObject(Worldless);
	TArray<uint8> Bytes;
	Save->SaveToBytes(Bytes);

	UVesk_SaveSubsystem::Shutdown();
	UVesk_SaveSubsystem::Startup();
	UVesk_SaveSubsystem* Loaded = UVesk_SaveSubsystem::Get();
	ASSERT_TRUE(Loaded->LoadFromBytes(Bytes));

	EXPECT_EQ(Loaded->FindOrAddGuidByObject(Actor), ActorGuid);
	EXPECT_EQ(Loaded->FindOrAddGuidByObject(Worldless), WorldlessGuid);
	TArray<uint8> Again;
	Loaded->SaveToBytes(Again);
	EXPECT_EQ(Again, Bytes);
}

TEST_F(FSaveBytesTest, LoadingReplacesIdentitiesMadeSinceTheSave)
{
	FTestWorld World;
	AVeskSaveTestActor* Actor = World.SpawnActor<AVeskSaveTestActor>(TEXT("Gate"));
	TArray<uint8> Empty;
	Save->SaveToBytes(Empty);
	const FGuid Before = Save->FindOrAddGuidByObject(Actor);

	ASSERT_TRUE(Save->LoadFromBytes(Empty));

	EXPECT_NE(Save->FindOrAddGuidByObject(Actor), Before);
}

TEST_F(FSaveBytesTest, LoadingGivesBackTheSavedIdentityOfAnObjectAskedForSince)
{
	FTestWorld World;
	AVeskSaveTestActor* Actor = World.SpawnActor<AVeskSaveTestActor>(TEXT("Anvil"));
	const FGuid Saved = Save->FindOrAddGuidByObject(Actor);
	TArray<uint8> Bytes;
	Save->SaveToBytes(Bytes);
	const FGuid Rekeyed(9, 10, 11, 12);
	Save->SetGuidForObject(Actor, Rekeyed);
	const FGuid BeforeLoad = Save->FindOrAddGuidByObject(Actor);

	ASSERT_TRUE(Save->LoadFromBytes(Bytes));

	EXPECT_EQ(BeforeLoad, Rekeyed);
	EXPECT_EQ(Save->FindOrAddGuidByObject(Actor), Saved);
}

TEST_F(FSaveBytesTest, RefusedLoadKeepsTheIdentitiesAlreadyGiven)
{
	FTestWorld World;
	AVeskSaveTestActor* Actor = World.SpawnActor<AVeskSaveTestActor>(TEXT("Forge"));
	TArray<uint8> Bytes;
	Save->SaveToBytes(Bytes);
	const FGuid Given = Save->FindOrAddGuidByObject(Actor);
	Bytes.Add(0);

	ASSERT_FALSE(Save->LoadFromBytes(Bytes));

	EXPECT_EQ(Save->FindOrAddGuidByObject(Actor), Given);
}

TEST_F(FSaveBytesTest, MalformedBytesAreRefusedAndChangeNothing)
{
	FTestWorld World;
	AVeskSaveTestActor* Actor = World.SpawnActor<AVeskSaveTestActor>(TEXT("Well"));
	const FGuid Guid = Save->FindOrAddGuidByObject(Actor);
	TArray<uint8> Bytes;
	Save->SaveToBytes(Bytes);

	TArray<uint8> Truncated = Bytes;
	Truncated.SetNum(Bytes.Num() - 1);
	TArray<uint8> WrongTag = Bytes;
	WrongTag[0] ^= 0xFF;
	TArray<uint8> Trailing = Bytes;
	Trailing.Add(0);

	EXPECT_FALSE(Save->LoadFromBytes(TArray<uint8>()));
	EXPECT_FALSE(Save->LoadFromBytes(Truncated));
	EXPECT_FALSE(Save->LoadFromBytes(WrongTag));
	EXPECT_FALSE(Save->LoadFromBytes(Trailing));
	EXPECT_EQ(Save->FindOrAddGuidByObject(Actor), Guid);
}

TEST_F(FSaveBytesTest, CorruptRecordCountIsRefusedAndChangesNothing)
{
	FTestWorld World;
	AVeskSaveTestActor* Actor = World.SpawnActor<AVeskSaveTestActor>(TEXT("Bridge"));
	const FGuid Guid = Save->FindOrAddGuidByObject(Actor);
	TArray<uint8> Bytes;
	Save->SaveToBytes(Bytes);
	ASSERT_GE(Bytes.Num(), 8);

	// The record count follows the four-byte format tag.
	for (const int32 Count : { -1, 2, 0x7FFFFFFF })
	{
		TArray<uint8> Corrupt = Bytes;
		FMemory::Memcpy(&Corrupt[4], &Count, sizeof(Count));

		EXPECT_FALSE(Save->LoadFromBytes(Corrupt)) << Count;
	}
	EXPECT_EQ(Save->FindOrAddGuidByObject(Actor), Guid);
}

// The module's shutdown releases the keeper of saved identities.
class FSaveModuleShutdownTest : public testing::Test
{
protected:
	void TearDown() override
	{
		UVesk_SaveSubsystem::Startup();
	}
};

TEST_F(FSaveModuleShutdownTest, ReleasesTheKeeperWhileTheObjectSystemIsUp)
{
	FModuleManager::Get().LoadModuleChecked(TEXT("VeskSaveLoad"));
	const TWeakObjectPtr<UVesk_SaveSubsystem> Save = UVesk_SaveSubsystem::Get();
	ASSERT_TRUE(Save.IsValid());

	EXPECT_TRUE(FModuleManager::Get().UnloadModule(TEXT("VeskSaveLoad")));

	EXPECT_EQ(UVesk_SaveSubsystem::Get(), nullptr);
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_FALSE(Save.IsValid());
}

class FSaveModuleShutdownDeathTest : public FSaveModuleShutdownTest
{
};

// The engine's exit destroys the keeper with every other object; a module that shuts down
// afterwards must not touch it. The child exits with 0 only if the shutdown returned and the
// keeper is gone.
TEST_F(FSaveModuleShutdownDeathTest, LeavesTheKeeperAloneOnceTheEngineHasExited)
{
	EXPECT_EXIT(
		{
			FModuleManager::Get().LoadModuleChecked(TEXT("VeskSaveLoad"));
			const bool bHadKeeper = UVesk_SaveSubsystem::Get() != nullptr;
			FHeadlessEngineLoop::Exit();
			FModuleManager::Get().UnloadModule(TEXT("VeskSaveLoad"));
			std::exit(bHadKeeper && UVesk_SaveSubsystem::Get() == nullptr ? 0 : 1);
		},
		testing::ExitedWithCode(0), "");
}
