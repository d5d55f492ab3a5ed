#include "Vesk_ReferenceSubsystem.h"

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
	EXPECT_EQ(Subsystem->GetWorld(), World.Get());

	UVesk_ReferenceSubsystem* Other = UVesk_ReferenceSubsystem::FromContext(OtherWorld.Get());
	ASSERT_NE(Other, nullptr);
	EXPECT_NE(Other, Subsystem);
}

TEST(ReferenceRegistryWorldTypes, NoRegistryInWorldsWithoutDefaultSubsystems)
{
	FTestWorld Preview(EWorldType::EditorPreview);

	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Preview.Get()), nullptr);
}

class FReferenceRegistryTickTest : public FVeskReferenceTestBase
{
};

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

	World.Destroy();

	EXPECT_TRUE(Access::IsDeinitialized(*Subsystem));
	EXPECT_EQ(Access::NumEntries(*Subsystem), 0);
	EXPECT_EQ(NextGeneration(), 2);
	EXPECT_FALSE(Subsystem->IsAllowedToTick());

	EXPECT_FALSE(Subsystem->IsCurrentBinding(Second));
	EXPECT_FALSE(Subsystem->Publish(Second));
	EXPECT_FALSE(Subsystem->Withdraw(Second));
	EXPECT_FALSE(Subsystem->RemovePermanently(Second));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Object, Identity)));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Object, MakeTestIdentity(2))));
	EXPECT_EQ(Access::NumEntries(*Subsystem), 0);
	EXPECT_EQ(NextGeneration(), 2);
}
