#include "Vesk_ReferenceSubsystem.h"

#include "Vesk_SaveSubsystem.h"
#include "VeskReferenceTestSupport.h"

#include <gtest/gtest.h>

using Access = FVesk_ReferenceSubsystemTestAccess;

class FReferenceBindingTest : public FVeskReferenceTestBase
{
};

TEST_F(FReferenceBindingTest, RefusesZeroIdentityMissingGarbageAndForeignObjects)
{
	UVeskTestProducerObject* Garbage = NewProducerObject();
	Garbage->MarkAsGarbage();
	FTestWorld OtherWorld;
	UVeskTestProducerObject* Foreign = NewObject<UVeskTestProducerObject>(OtherWorld.Get());
	UVeskTestProducerObject* Worldless = NewObject<UVeskTestProducerObject>(GetTransientPackage());

	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(NewProducerObject(), FGuid())));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(nullptr, MakeTestIdentity(1))));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Garbage, MakeTestIdentity(1))));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Foreign, MakeTestIdentity(1))));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Worldless, MakeTestIdentity(1))));
	ExpectNothingBound();
}

TEST_F(FReferenceBindingTest, FirstBindingOpensGenerationOneInitializing)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const FGuid Identity = MakeTestIdentity(1);

	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Object, Identity);

	EXPECT_EQ(Binding.Id, Identity);
	EXPECT_EQ(Binding.Generation, 1);
	EXPECT_EQ(Binding.World.Get(), World.Get());
	EXPECT_EQ(Entry(Identity), (FEntryState{ true, EVesk_ReferenceStatus::Initializing, Object, 1, false }));
	EXPECT_EQ(Subsystem->FindIdentity(Object), Identity);
	EXPECT_TRUE(Subsystem->IsCurrentBinding(Binding));
}

TEST_F(FReferenceBindingTest, GenerationsCountAcrossIdentitiesAndIncarnations)
{
	UVeskTestProducerObject* First = NewProducerObject();
	const FGuid X = MakeTestIdentity(1);
	const FGuid Y = MakeTestIdentity(2);

	const FVesk_ReferenceBinding FirstX = Subsystem->BeginBinding(First, X);
	const FVesk_ReferenceBinding SecondY = Subsystem->BeginBinding(NewProducerObject(), Y);
	ASSERT_TRUE(Subsystem->Withdraw(FirstX));
	UVeskTestProducerObject* Replacement = NewProducerObject();
	const FVesk_ReferenceBinding ThirdX = Subsystem->BeginBinding(Replacement, X);

	EXPECT_EQ(FirstX.Generation, 1);
	EXPECT_EQ(SecondY.Generation, 2);
	EXPECT_EQ(ThirdX.Generation, 3);
	EXPECT_FALSE(Subsystem->IsCurrentBinding(FirstX));
	EXPECT_TRUE(Subsystem->IsCurrentBinding(ThirdX));
	EXPECT_EQ(Entry(X), (FEntryState{ true, EVesk_ReferenceStatus::Initializing, Replacement, 3, false }));
}

TEST_F(FReferenceBindingTest, NewIncarnationNotifiesAndRefusalsDoNot)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	UVeskTestProducerObject* Intruder = NewProducerObject();
	const FGuid Identity = MakeTestIdentity(1);
	FVesk_ReferenceBinding Binding;

	EXPECT_TRUE(RunsNotificationPass([&] { Binding = Subsystem->BeginBinding(Object, Identity); }));
	ASSERT_GT(Binding.Generation, 0);
	EXPECT_FALSE(RunsNotificationPass([&] { Subsystem->BeginBinding(Object, Identity); }));
	EXPECT_FALSE(RunsNotificationPass([&] { Subsystem->BeginBinding(Intruder, Identity); }));
	EXPECT_FALSE(RunsNotificationPass([&] { Subsystem->BeginBinding(Object, MakeTestIdentity(2)); }));
	EXPECT_FALSE(RunsNotificationPass([&] { Subsystem->BeginBinding(Intruder, FGuid()); }));
	EXPECT_FALSE(RunsNotificationPass([&] { Subsystem->BeginBinding(nullptr, MakeTestIdentity(3)); }));
	EXPECT_EQ(NextGeneration(), Binding.Generation);
}

TEST_F(FReferenceBindingTest, CopiedTokenStaysCurrentUntilTheNextIncarnation)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const FGuid Identity = MakeTestIdentity(1);
	const FVesk_ReferenceBinding Original = Subsystem->BeginBinding(Object, Identity);
	const FVesk_ReferenceBinding Copy = Original;

	ASSERT_TRUE(Subsystem->IsCurrentBinding(Copy));
	ASSERT_TRUE(Subsystem->Publish(Copy));
	ASSERT_TRUE(Subsystem->Withdraw(Original));
	EXPECT_TRUE(Subsystem->IsCurrentBinding(Copy));

	ASSERT_EQ(Subsystem->BeginBinding(Object, Identity).Generation, 2);

	EXPECT_FALSE(Subsystem->IsCurrentBinding(Copy));
	EXPECT_FALSE(Subsystem->IsCurrentBinding(Original));
}

TEST_F(FReferenceBindingTest, SameObjectAndIdentityGiveTheRunningTokenAgain)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const FGuid Identity = MakeTestIdentity(1);
	const FVesk_ReferenceBinding First = Subsystem->BeginBinding(Object, Identity);
	ASSERT_TRUE(Subsystem->Publish(First));
	const FEntryState Published = Entry(Identity);

	const FVesk_ReferenceBinding Again = Subsystem->BeginBinding(Object, Identity);

	EXPECT_EQ(Again.Id, First.Id);
	EXPECT_EQ(Again.Generation, First.Generation);
	EXPECT_EQ(Again.World.Get(), World.Get());
	EXPECT_EQ(Entry(Identity), Published);
	EXPECT_EQ(NextGeneration(), 1);
}

TEST_F(FReferenceBindingTest, LiveProducerIsNeverDisplaced)
{
	UVeskTestProducerObject* Holder = NewProducerObject();
	UVeskTestProducerObject* Intruder = NewProducerObject();
	const FGuid Identity = MakeTestIdentity(1);
	const FVesk_ReferenceBinding Held = Subsystem->BeginBinding(Holder, Identity);

	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Intruder, Identity)));
	ASSERT_TRUE(Subsystem->Publish(Held));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Intruder, Identity)));

	EXPECT_EQ(Subsystem->FindIdentity(Holder), Identity);
	EXPECT_FALSE(Subsystem->FindIdentity(Intruder).IsValid());
	EXPECT_EQ(Entry(Identity), (FEntryState{ true, EVesk_ReferenceStatus::Available, Holder, 1, false }));
}

TEST_F(FReferenceBindingTest, BoundObjectCannotTakeASecondIdentity)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	ASSERT_GT(Subsystem->BeginBinding(Object, MakeTestIdentity(1)).Generation, 0);

	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Object, MakeTestIdentity(2))));
	EXPECT_FALSE(Entry(MakeTestIdentity(2)).bExists);
	EXPECT_EQ(NextGeneration(), 1);
}

TEST_F(FReferenceBindingTest, RemovedIdentityNeverBindsAgain)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const FGuid Identity = MakeTestIdentity(1);
	ASSERT_TRUE(Subsystem->RemovePermanently(Subsystem->BeginBinding(Object, Identity)));

	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Object, Identity)));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(NewProducerObject(), Identity)));
	EXPECT_EQ(Entry(Identity), (FEntryState{ true, EVesk_ReferenceStatus::Removed, nullptr, 1, false }));
}

TEST_F(FReferenceBindingTest, WithdrawnOrDestroyedProducerIsReplacedWithAHigherGeneration)
{
	UVeskTestProducerObject* Withdrawn = NewProducerObject();
	const FGuid X = MakeTestIdentity(1);
	const FVesk_ReferenceBinding Old = Subsystem->BeginBinding(Withdrawn, X);
	ASSERT_TRUE(Subsystem->Withdraw(Old));

	const FVesk_ReferenceBinding SameObject = Subsystem->BeginBinding(Withdrawn, X);
	EXPECT_EQ(SameObject.Generation, 2);
	EXPECT_FALSE(Subsystem->IsCurrentBinding(Old));

	UVeskTestProducerObject* Destroyed = NewProducerObject();
	const FGuid Y = MakeTestIdentity(2);
	const FVesk_ReferenceBinding Lost = Subsystem->BeginBinding(Destroyed, Y);
	ASSERT_TRUE(Subsystem->Publish(Lost));
	Destroyed->MarkAsGarbage();
	UVeskTestProducerObject* Recreated = NewProducerObject();

	const FVesk_ReferenceBinding Fresh = Subsystem->BeginBinding(Recreated, Y);
	EXPECT_EQ(Fresh.Generation, 4);
	EXPECT_FALSE(Subsystem->IsCurrentBinding(Lost));
	EXPECT_FALSE(Subsystem->Withdraw(Lost));
	EXPECT_EQ(Entry(Y), (FEntryState{ true, EVesk_ReferenceStatus::Initializing, Recreated, 4, false }));
}

TEST_F(FReferenceBindingTest, FindIdentityOnlyFindsLiveBindings)
{
	UVeskTestProducerObject* Withdrawn = NewProducerObject();
	UVeskTestProducerObject* Removed = NewProducerObject();
	ASSERT_TRUE(Subsystem->Withdraw(Subsystem->BeginBinding(Withdrawn, MakeTestIdentity(1))));
	ASSERT_TRUE(Subsystem->RemovePermanently(Subsystem->BeginBinding(Removed, MakeTestIdentity(2))));

	EXPECT_FALSE(Subsystem->FindIdentity(nullptr).IsValid());
	EXPECT_FALSE(Subsystem->FindIdentity(NewProducerObject()).IsValid());
	EXPECT_FALSE(Subsystem->FindIdentity(Withdrawn).IsValid());
	EXPECT_FALSE(Subsystem->FindIdentity(Removed).IsValid());
}

TEST_F(FReferenceBindingTest, DestroyedComponentIsRefused)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	Component->DestroyComponent();

	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Component, MakeTestIdentity(1))));
	ExpectNothingBound();
}

TEST_F(FReferenceBindingTest, ComponentBeingDestroyedIsRefused)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestHookedComponent* Component = AddProducerComponent<UVeskTestHookedComponent>(Actor);
	bool bHookRan = false;
	FVesk_ReferenceBinding DuringDestruction;
	FVesk_ReferenceBinding SiblingDuringDestruction;
	UVeskTestProducerComponent* Sibling = AddProducerComponent(Actor);
	Component->EndPlayHook = [&](UVeskTestHookedComponent* Self)
	{
		bHookRan = true;
		ASSERT_TRUE(IsValid(Self));
		ASSERT_TRUE(Self->IsBeingDestroyed());
		DuringDestruction = Subsystem->BeginBinding(Self, MakeTestIdentity(1));
		SiblingDuringDestruction = Subsystem->BeginBinding(Sibling, MakeTestIdentity(2));
	};

	Component->DestroyComponent();

	ASSERT_TRUE(bHookRan);
	EXPECT_TRUE(IsEmptyToken(DuringDestruction));
	EXPECT_FALSE(Entry(MakeTestIdentity(1)).bExists);
	// Only the component itself is leaving; its owner and siblings still bind.
	EXPECT_EQ(SiblingDuringDestruction.Generation, 1);
}

TEST_F(FReferenceBindingTest, ActorBeingDestroyedIsRefusedForItselfAndItsComponents)
{
	AVeskTestHookedActor* Actor = SpawnProducerActor<AVeskTestHookedActor>();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	bool bHookRan = false;
	FVesk_ReferenceBinding ActorBinding;
	FVesk_ReferenceBinding ComponentBinding;
	FVesk_ReferenceBinding Bystander;
	Actor->EndPlayHook = [&](AVeskTestHookedActor* Self)
	{
		bHookRan = true;
		ASSERT_TRUE(IsValid(Self));
		ASSERT_TRUE(Self->IsActorBeingDestroyed());
		ActorBinding = Subsystem->BeginBinding(Self, MakeTestIdentity(1));
		ComponentBinding = Subsystem->BeginBinding(Component, MakeTestIdentity(2));
		Bystander = Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(3));
	};

	Actor->Destroy();

	ASSERT_TRUE(bHookRan);
	EXPECT_TRUE(IsEmptyToken(ActorBinding));
	EXPECT_TRUE(IsEmptyToken(ComponentBinding));
	EXPECT_EQ(Bystander.Generation, 1);
	EXPECT_FALSE(Entry(MakeTestIdentity(1)).bExists);
	EXPECT_FALSE(Entry(MakeTestIdentity(2)).bExists);
}

TEST_F(FReferenceBindingTest, ComponentWithoutOwnerBindsWithoutAnActor)
{
	UVeskTestProducerComponent* Ownerless = NewObject<UVeskTestProducerComponent>(World.Get());
	Ownerless->RegisterComponentWithWorld(World.Get());
	ASSERT_EQ(Ownerless->GetOwner(), nullptr);
	ASSERT_EQ(Ownerless->GetWorld(), World.Get());

	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Ownerless, MakeTestIdentity(1));

	EXPECT_EQ(Binding.Generation, 1);
	EXPECT_EQ(Access::NumEndedActors(*Subsystem), 0);
}

TEST_F(FReferenceBindingTest, RegistersItsEndOfPlayHandlerOncePerActor)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	ASSERT_GT(Subsystem->BeginBinding(Actor, MakeTestIdentity(1)).Generation, 0);
	ASSERT_GT(Subsystem->BeginBinding(AddProducerComponent(Actor), MakeTestIdentity(2)).Generation, 0);
	ASSERT_GT(Subsystem->BeginBinding(AddProducerComponent(Actor), MakeTestIdentity(3)).Generation, 0);
	ASSERT_TRUE(Actor->OnEndPlay.IsBound());

	// One removal takes every registration of the handler; any second registration would survive.
	Actor->OnEndPlay.Remove(Subsystem, FName(TEXT("OnActorEndPlay")));
	EXPECT_FALSE(Actor->OnEndPlay.IsBound());
}

class FReferenceEndedActorBindingTest : public FVeskReferenceTestBase
{
};

TEST_F(FReferenceEndedActorBindingTest, EndedActorBindsOnlyOnceItsPlayBeginsAgain)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	ASSERT_GT(Subsystem->BeginBinding(Actor, MakeTestIdentity(1)).Generation, 0);
	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
	ASSERT_TRUE(Access::HasEnded(*Subsystem, Actor));

	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Actor, MakeTestIdentity(1))));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Component, MakeTestIdentity(2))));
	EXPECT_TRUE(Access::HasEnded(*Subsystem, Actor));

	FTestWorld::ReturnToPlay(Actor);
	const FVesk_ReferenceBinding Again = Subsystem->BeginBinding(Component, MakeTestIdentity(2));

	EXPECT_EQ(Again.Generation, 2);
	EXPECT_FALSE(Access::HasEnded(*Subsystem, Actor));
}

TEST_F(FReferenceEndedActorBindingTest, EndedActorBindsFromWithinItsOwnBeginPlay)
{
	AVeskTestHookedActor* Actor = SpawnProducerActor<AVeskTestHookedActor>();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	const FGuid ActorId = MakeTestIdentity(1);
	const FGuid ComponentId = MakeTestIdentity(2);
	const FVesk_ReferenceBinding First = Subsystem->BeginBinding(Actor, ActorId);
	ASSERT_GT(First.Generation, 0);
	Actor->RouteEndPlay(EEndPlayReason::LevelTransition);
	ASSERT_TRUE(Access::HasEnded(*Subsystem, Actor));
	ASSERT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Actor, ActorId)));

	bool bHookRan = false;
	FVesk_ReferenceBinding ActorAgain;
	FVesk_ReferenceBinding ComponentAgain;
	Actor->BeginPlayHook = [&](AVeskTestHookedActor* Self)
	{
		bHookRan = true;
		ASSERT_TRUE(Self->IsActorBeginningPlay());
		ActorAgain = Subsystem->BeginBinding(Self, ActorId);
		ComponentAgain = Subsystem->BeginBinding(Component, ComponentId);
	};
	Actor->DispatchBeginPlay();

	ASSERT_TRUE(bHookRan);
	EXPECT_EQ(ActorAgain.Generation, 2);
	EXPECT_EQ(ComponentAgain.Generation, 3);
	EXPECT_FALSE(Subsystem->IsCurrentBinding(First));
	EXPECT_FALSE(Access::HasEnded(*Subsystem, Actor));
	EXPECT_EQ(Entry(ActorId), (FEntryState{ true, EVesk_ReferenceStatus::Initializing, Actor, 2, false }));
}

TEST_F(FReferenceEndedActorBindingTest, ActorBackInPlayLeavesTheEndedSetEvenWhenRefused)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	const FGuid Identity = MakeTestIdentity(1);
	ASSERT_TRUE(Subsystem->RemovePermanently(Subsystem->BeginBinding(Actor, Identity)));
	Actor->RouteEndPlay(EEndPlayReason::LevelTransition);
	ASSERT_TRUE(Access::HasEnded(*Subsystem, Actor));
	Actor->DispatchBeginPlay();

	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Actor, Identity)));
	EXPECT_FALSE(Access::HasEnded(*Subsystem, Actor));
}

TEST_F(FReferenceEndedActorBindingTest, ComponentBindingHooksItsOwnersEndOfPlay)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Component, MakeTestIdentity(1));
	ASSERT_TRUE(Subsystem->Publish(Binding));

	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);

	EXPECT_TRUE(Access::HasEnded(*Subsystem, Actor));
	EXPECT_EQ(Entry(Binding.Id), (FEntryState{ true, EVesk_ReferenceStatus::Unavailable, nullptr, 1, false }));
	EXPECT_TRUE(Subsystem->IsCurrentBinding(Binding));
}

class FReferenceBindingBeforePlayTest : public FVeskReferenceTestBase
{
protected:
	FReferenceBindingBeforePlayTest()
		: FVeskReferenceTestBase(false)
	{
	}
};

TEST_F(FReferenceBindingBeforePlayTest, ActorThatNeverEndedPlayBindsBeforeItsPlayBegins)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	ASSERT_FALSE(Actor->HasActorBegunPlay());

	EXPECT_EQ(Subsystem->BeginBinding(Actor, MakeTestIdentity(1)).Generation, 1);
	EXPECT_EQ(Subsystem->BeginBinding(AddProducerComponent(Actor), MakeTestIdentity(2)).Generation, 2);
}

class FReferenceSavedBindingTest : public FVeskReferenceTestBase
{
protected:
	// Saved identities follow paths, which repeat from world to world: each test starts from an
	// empty keeper.
	void TearDown() override
	{
		UVesk_SaveSubsystem::Shutdown();
		UVesk_SaveSubsystem::Startup();
	}

	static TArray<uint8> SavedBytes()
	{
		TArray<uint8> Bytes;
		UVesk_SaveSubsystem::Get()->SaveToBytes(Bytes);
		return Bytes;
	}
};

TEST_F(FReferenceSavedBindingTest, BindsTheObjectsSavedIdentityAndRepeatsItsToken)
{
	UVeskTestProducerObject* Object = NewProducerObject();

	const FVesk_ReferenceBinding First = Subsystem->BeginSavedBinding(Object);
	const FVesk_ReferenceBinding Second = Subsystem->BeginSavedBinding(Object);

	ASSERT_EQ(First.Generation, 1);
	EXPECT_EQ(First.Id, UVesk_SaveSubsystem::Get()->FindOrAddGuidByObject(Object));
	EXPECT_EQ(Second.Id, First.Id);
	EXPECT_EQ(Second.Generation, First.Generation);
	EXPECT_EQ(Entry(First.Id), (FEntryState{ true, EVesk_ReferenceStatus::Initializing, Object, 1, true }));
}

TEST_F(FReferenceSavedBindingTest, ForeignAndMissingObjectsAreRefusedWithoutAskingTheSaveModule)
{
	FTestWorld OtherWorld;
	UVeskTestProducerObject* Foreign = NewObject<UVeskTestProducerObject>(OtherWorld.Get());
	const TArray<uint8> Before = SavedBytes();

	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginSavedBinding(Foreign)));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginSavedBinding(nullptr)));

	EXPECT_EQ(SavedBytes(), Before);
	ExpectNothingBound();
}

TEST_F(FReferenceSavedBindingTest, NullAndGarbageObjectsAreRefusedBeforeTheSaveModuleIsAsked)
{
	UVeskTestProducerObject* Garbage = NewProducerObject();
	Garbage->MarkAsGarbage();
	const TArray<uint8> Before = SavedBytes();

	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginSavedBinding(Garbage)));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginSavedBinding(nullptr)));

	EXPECT_EQ(SavedBytes(), Before);
	ExpectNothingBound();
	// A valid object of the same world is what does reach the save module.
	ASSERT_GT(Subsystem->BeginSavedBinding(NewProducerObject()).Generation, 0);
	EXPECT_NE(SavedBytes(), Before);
}

TEST_F(FReferenceSavedBindingTest, ProducerRecreatedInANewWorldBindsItsSavedIdentityAgain)
{
	FGuid Saved;
	{
		FTestWorld OldWorld;
		UVesk_ReferenceSubsystem* OldRegistry = UVesk_ReferenceSubsystem::FromContext(OldWorld.Get());
		const FVesk_ReferenceBinding Old = OldRegistry->BeginSavedBinding(OldWorld.SpawnActor<AVeskTestProducerActor>(TEXT("Door")));
		ASSERT_EQ(Old.Generation, 1);
		Saved = Old.Id;
	}
	AVeskTestProducerActor* Door = World.SpawnActor<AVeskTestProducerActor>(TEXT("Door"));

	const FVesk_ReferenceBinding Binding = Subsystem->BeginSavedBinding(Door);

	EXPECT_EQ(Binding.Id, Saved);
	EXPECT_EQ(Binding.Generation, 1);
	EXPECT_TRUE(Subsystem->Publish(Binding));
}

TEST_F(FReferenceSavedBindingTest, RekeyedObjectCannotTakeItsNewIdentityWhileBoundUnderTheOld)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const FVesk_ReferenceBinding First = Subsystem->BeginSavedBinding(Object);
	ASSERT_EQ(First.Generation, 1);
	UVesk_SaveSubsystem::Get()->SetGuidForObject(Object, MakeTestIdentity(7));

	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginSavedBinding(Object)));
	ASSERT_TRUE(Subsystem->Withdraw(First));
	const FVesk_ReferenceBinding Rekeyed = Subsystem->BeginSavedBinding(Object);

	EXPECT_EQ(Rekeyed.Id, MakeTestIdentity(7));
	EXPECT_EQ(Rekeyed.Generation, 2);
	EXPECT_TRUE(Subsystem->Publish(Rekeyed));
}

TEST_F(FReferenceSavedBindingTest, MissingSaveModuleRefusesSavedBindings)
{
	UVesk_SaveSubsystem::Shutdown();

	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginSavedBinding(NewProducerObject())));
	ExpectNothingBound();
}

class FReferenceBindingDeathTest : public FVeskReferenceTestBase
{
};

TEST_F(FReferenceBindingDeathTest, BindingOffTheGameThreadIsFatal)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	UVesk_SaveSubsystem::Get();

	EXPECT_DEATH(RunOffGameThread([&] { Subsystem->BeginBinding(Object, MakeTestIdentity(1)); }), GameThreadCheckPattern());
	EXPECT_DEATH(RunOffGameThread([&] { Subsystem->BeginSavedBinding(Object); }), GameThreadCheckPattern());
}

// The thread is checked before anything else: calls that would be refused stop too.
TEST_F(FReferenceBindingDeathTest, RefusedBindingOffTheGameThreadIsFatalToo)
{
	EXPECT_DEATH(RunOffGameThread([&] { Subsystem->BeginBinding(nullptr, FGuid()); }), GameThreadCheckPattern());
	UVeskTestProducerObject* Object = NewProducerObject();
	World.Destroy();
	EXPECT_DEATH(RunOffGameThread([&] { Subsystem->BeginBinding(Object, MakeTestIdentity(1)); }), GameThreadCheckPattern());
}
