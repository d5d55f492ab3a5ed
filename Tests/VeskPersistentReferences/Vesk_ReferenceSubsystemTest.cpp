#include "Vesk_ReferenceSubsystem.h"

#include "UObject/Class.h"
#include "UObject/StrongObjectPtr.h"
#include "VeskReferenceTestSupport.h"

#include <gtest/gtest.h>

using Access = FVesk_ReferenceSubsystemTestAccess;

class FReferenceRegistryLookupTest : public FVeskReferenceTestBase
{
};

TEST_F(FReferenceRegistryLookupTest, RefusesMissingGarbageAndWorldlessContexts)
{
	UVeskTestProducerObject* Garbage = NewProducerObject();
	Garbage->MarkAsGarbage();
	UVeskTestProducerObject* Worldless = NewObject<UVeskTestProducerObject>(GetTransientPackage());

	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(nullptr), nullptr);
	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Garbage), nullptr);
	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Worldless), nullptr);
}

TEST_F(FReferenceRegistryLookupTest, GivesOneRegistryPerWorldFromAnyObjectOfIt)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	UVeskTestProducerObject* Object = NewProducerObject();
	FTestWorld OtherWorld;

	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Actor), Subsystem);
	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Component), Subsystem);
	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Object), Subsystem);
	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(World.Get()), Subsystem);
	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Subsystem), Subsystem);
	EXPECT_EQ(Subsystem->GetWorld(), World.Get());

	UVesk_ReferenceSubsystem* Other = UVesk_ReferenceSubsystem::FromContext(OtherWorld.Get());
	ASSERT_NE(Other, nullptr);
	EXPECT_NE(Other, Subsystem);
	EXPECT_EQ(Other->GetWorld(), OtherWorld.Get());
}

TEST_F(FReferenceRegistryLookupTest, NewRegistryStartsEmpty)
{
	EXPECT_EQ(Access::NumEntries(*Subsystem), 0);
	EXPECT_EQ(Access::NumEndedActors(*Subsystem), 0);
	EXPECT_EQ(NextGeneration(), 0);
	EXPECT_FALSE(Access::IsDeinitialized(*Subsystem));
	EXPECT_TRUE(Subsystem->IsAllowedToTick());
}

struct FWorldTypeCase
{
	EWorldType::Type Type;
	bool bHasRegistry;
};

class FReferenceRegistryWorldTypeTest : public testing::TestWithParam<FWorldTypeCase>
{
};

TEST_P(FReferenceRegistryWorldTypeTest, RegistryExistsOnlyInGameEditorAndPlayInEditorWorlds)
{
	FTestWorld TypedWorld(GetParam().Type, false);

	UVesk_ReferenceSubsystem* Found = UVesk_ReferenceSubsystem::FromContext(TypedWorld.Get());

	EXPECT_EQ(Found != nullptr, GetParam().bHasRegistry) << "world type " << static_cast<int>(GetParam().Type);
	if (Found)
	{
		EXPECT_EQ(Found->GetWorld(), TypedWorld.Get());
	}
}

INSTANTIATE_TEST_SUITE_P(WorldTypes, FReferenceRegistryWorldTypeTest, testing::Values(
	FWorldTypeCase{ EWorldType::Game, true },
	FWorldTypeCase{ EWorldType::Editor, true },
	FWorldTypeCase{ EWorldType::PIE, true },
	FWorldTypeCase{ EWorldType::EditorPreview, false },
	FWorldTypeCase{ EWorldType::GamePreview, false },
	FWorldTypeCase{ EWorldType::GameRPC, false },
	FWorldTypeCase{ EWorldType::Inactive, false }));

class FReferenceRegistryTickTest : public FVeskReferenceTestBase
{
};

TEST_F(FReferenceRegistryTickTest, CycleStatIsNamedAfterTheRegistryAndCreatedOnce)
{
	const TStatId First = Subsystem->GetStatId();
	ASSERT_TRUE(First.IsValidStat());
	EXPECT_EQ(First.GetName(), FName(TEXT("UVesk_ReferenceSubsystem")));
	EXPECT_TRUE(First == Subsystem->GetStatId());
	EXPECT_TRUE(First == UVesk_ReferenceSubsystem::StaticClass()->GetDefaultObject<UVesk_ReferenceSubsystem>()->GetStatId());
}

TEST_F(FReferenceRegistryTickTest, PrunesDestroyedEndedActorsAndChangesNothingElse)
{
	AVeskTestProducerActor* Staying = SpawnProducerActor();
	AVeskTestProducerActor* Leaving = SpawnProducerActor();
	const FGuid StayingId = MakeTestIdentity(1);
	const FGuid LeavingId = MakeTestIdentity(2);
	ASSERT_GT(Subsystem->BeginBinding(Staying, StayingId).Generation, 0);
	ASSERT_GT(Subsystem->BeginBinding(Leaving, LeavingId).Generation, 0);

	Staying->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
	Leaving->Destroy();
	ASSERT_TRUE(Access::HasEnded(*Subsystem, Staying));
	ASSERT_EQ(Access::NumEndedActors(*Subsystem), 2);

	const FEntryState StayingBefore = Entry(StayingId);
	const FEntryState LeavingBefore = Entry(LeavingId);
	const int64 GenerationBefore = NextGeneration();

	World.Tick();

	EXPECT_EQ(Access::NumEndedActors(*Subsystem), 1);
	EXPECT_TRUE(Access::HasEnded(*Subsystem, Staying));
	EXPECT_EQ(Entry(StayingId), StayingBefore);
	EXPECT_EQ(Entry(LeavingId), LeavingBefore);
	EXPECT_EQ(NextGeneration(), GenerationBefore);
	EXPECT_EQ(Access::NumEntries(*Subsystem), 2);
}

TEST_F(FReferenceRegistryTickTest, EndedActorThatStaysAliveIsKept)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	ASSERT_GT(Subsystem->BeginBinding(Actor, MakeTestIdentity(1)).Generation, 0);
	Actor->RouteEndPlay(EEndPlayReason::LevelTransition);

	World.Tick();
	World.Tick();

	EXPECT_TRUE(Access::HasEnded(*Subsystem, Actor));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Actor, MakeTestIdentity(2))));
}

TEST_F(FReferenceRegistryTickTest, TickOfAnEmptyRegistryChangesNothing)
{
	World.Tick();
	World.Tick();

	EXPECT_EQ(Access::NumEntries(*Subsystem), 0);
	EXPECT_EQ(Access::NumEndedActors(*Subsystem), 0);
	EXPECT_EQ(NextGeneration(), 0);
}

TEST_F(FReferenceRegistryTickTest, TickKeepsEveryEntryWhateverItsStatus)
{
	UVeskTestProducerObject* Initializing = NewProducerObject();
	UVeskTestProducerObject* Available = NewProducerObject();
	UVeskTestProducerObject* Gone = NewProducerObject();
	Subsystem->BeginBinding(Initializing, MakeTestIdentity(1));
	ASSERT_TRUE(Subsystem->Publish(Subsystem->BeginBinding(Available, MakeTestIdentity(2))));
	ASSERT_TRUE(Subsystem->Withdraw(Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(3))));
	ASSERT_TRUE(Subsystem->RemovePermanently(Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(4))));
	ASSERT_TRUE(Subsystem->Publish(Subsystem->BeginBinding(Gone, MakeTestIdentity(5))));
	Gone->MarkAsGarbage();
	FEntryState Before[5];
	for (uint32 Index = 0; Index < 5; ++Index)
	{
		Before[Index] = Entry(MakeTestIdentity(Index + 1));
	}

	World.Tick();

	for (uint32 Index = 0; Index < 5; ++Index)
	{
		EXPECT_EQ(Entry(MakeTestIdentity(Index + 1)), Before[Index]) << "identity " << Index + 1;
	}
	EXPECT_EQ(NextGeneration(), 5);
}

class FReferenceRegistryTeardownTest : public FVeskReferenceTestBase
{
};

TEST_F(FReferenceRegistryTeardownTest, EmptiesTablesKeepsGenerationsAndStopsTicking)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const TStrongObjectPtr<UVeskTestProducerObject> KeepObject(Object);
	const TStrongObjectPtr<UVesk_ReferenceSubsystem> KeepSubsystem(Subsystem);
	const FGuid Identity = MakeTestIdentity(1);
	const FVesk_ReferenceBinding First = Subsystem->BeginBinding(Object, Identity);
	ASSERT_TRUE(Subsystem->Publish(First));
	ASSERT_TRUE(Subsystem->Withdraw(First));
	const FVesk_ReferenceBinding Second = Subsystem->BeginBinding(Object, Identity);
	ASSERT_EQ(Second.Generation, 2);
	const FVesk_ReferenceBinding Copy = Second;
	ASSERT_TRUE(Subsystem->IsCurrentBinding(Copy));

	World.Destroy();

	EXPECT_TRUE(Access::IsDeinitialized(*Subsystem));
	EXPECT_EQ(Access::NumEntries(*Subsystem), 0);
	EXPECT_EQ(NextGeneration(), 2);
	EXPECT_FALSE(Subsystem->IsAllowedToTick());

	EXPECT_FALSE(Subsystem->IsCurrentBinding(Second));
	EXPECT_FALSE(Subsystem->IsCurrentBinding(Copy));
	EXPECT_FALSE(Subsystem->Publish(Second));
	EXPECT_FALSE(Subsystem->Withdraw(Second));
	EXPECT_FALSE(Subsystem->RemovePermanently(Second));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Object, Identity)));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Object, MakeTestIdentity(2))));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginSavedBinding(Object)));
	EXPECT_FALSE(Subsystem->FindIdentity(Object).IsValid());
	EXPECT_EQ(Access::NumEntries(*Subsystem), 0);
	EXPECT_EQ(NextGeneration(), 2);
}

TEST_F(FReferenceRegistryTeardownTest, KeepsEndedActorsAndNotifies)
{
	const TStrongObjectPtr<UVesk_ReferenceSubsystem> KeepSubsystem(Subsystem);
	AVeskTestProducerActor* Ended = SpawnProducerActor();
	ASSERT_GT(Subsystem->BeginBinding(Ended, MakeTestIdentity(1)).Generation, 0);
	Ended->RouteEndPlay(EEndPlayReason::LevelTransition);
	ASSERT_EQ(Access::NumEndedActors(*Subsystem), 1);

	// A plain object is never released by end of play: only the final pass can tell its observer.
	const TStrongObjectPtr<UVeskTestProducerObject> Plain(NewProducerObject());
	ASSERT_TRUE(Subsystem->Publish(Subsystem->BeginBinding(Plain.Get(), MakeTestIdentity(2))));
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(2), Plain.Get());

	World.Destroy();

	EXPECT_EQ(Observed.Seen(), TArray<EVesk_ReferenceStatus>({ EVesk_ReferenceStatus::Unavailable }));

	EXPECT_TRUE(Access::IsDeinitialized(*Subsystem));
	EXPECT_EQ(Access::NumEndedActors(*Subsystem), 1);
}

TEST_F(FReferenceRegistryTeardownTest, LateEndOfPlayIsStillRecorded)
{
	const TStrongObjectPtr<UVesk_ReferenceSubsystem> KeepSubsystem(Subsystem);
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	const TStrongObjectPtr<AVeskTestProducerActor> KeepActor(Actor);
	World.Destroy();
	const int32 EndedBefore = Access::NumEndedActors(*Subsystem);

	Access::ActorEndPlay(*Subsystem, Actor, EEndPlayReason::Quit);

	EXPECT_EQ(Access::NumEndedActors(*Subsystem), EndedBefore + 1);
	EXPECT_EQ(Access::NumEntries(*Subsystem), 0);
}
