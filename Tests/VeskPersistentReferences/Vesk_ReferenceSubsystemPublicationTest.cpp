#include "Vesk_ReferenceSubsystem.h"

#include "Vesk_SaveSubsystem.h"
#include "VeskReferenceTestSupport.h"

#include <gtest/gtest.h>

using Access = FVesk_ReferenceSubsystemTestAccess;

namespace
{
	enum class EOperation
	{
		Publish,
		Withdraw,
		RemovePermanently,
	};

	const char* OperationName(EOperation Operation)
	{
		switch (Operation)
		{
		case EOperation::Publish: return "Publish";
		case EOperation::Withdraw: return "Withdraw";
		default: return "RemovePermanently";
		}
	}
}

class FReferencePublicationTest : public FVeskReferenceTestBase
{
protected:
	// Opens an incarnation of a fresh identity and drives it to the given entry status.
	FVesk_ReferenceBinding BindInStatus(UObject* Object, const FGuid& Identity, EVesk_ReferenceStatus Status)
	{
		const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Object, Identity);
		EXPECT_GT(Binding.Generation, 0);
		switch (Status)
		{
		case EVesk_ReferenceStatus::Available:
			EXPECT_TRUE(Subsystem->Publish(Binding));
			break;
		case EVesk_ReferenceStatus::Unavailable:
			EXPECT_TRUE(Subsystem->Withdraw(Binding));
			break;
		case EVesk_ReferenceStatus::Removed:
			EXPECT_TRUE(Subsystem->RemovePermanently(Binding));
			break;
		default:
			break;
		}
		EXPECT_EQ(Entry(Identity).Status, Status);
		return Binding;
	}

	bool Apply(EOperation Operation, const FVesk_ReferenceBinding& Binding)
	{
		switch (Operation)
		{
		case EOperation::Publish: return Subsystem->Publish(Binding);
		case EOperation::Withdraw: return Subsystem->Withdraw(Binding);
		default: return Subsystem->RemovePermanently(Binding);
		}
	}

	void ExpectEveryOperationRefused(const FVesk_ReferenceBinding& Binding, const FGuid& Identity)
	{
		const FEntryState Before = Entry(Identity);
		for (EOperation Operation : { EOperation::Publish, EOperation::Withdraw, EOperation::RemovePermanently })
		{
			EXPECT_FALSE(Apply(Operation, Binding)) << OperationName(Operation);
			EXPECT_EQ(Entry(Identity), Before) << OperationName(Operation);
		}
		EXPECT_FALSE(Subsystem->IsCurrentBinding(Binding));
	}
};

TEST_F(FReferencePublicationTest, StatusTableForCurrentTokens)
{
	using S = EVesk_ReferenceStatus;
	const struct
	{
		S From;
		EOperation Operation;
		bool bResult;
		S To;
		bool bKeepsObject;
	} Rows[] = {
		{ S::Initializing, EOperation::Publish, true, S::Available, true },
		{ S::Available, EOperation::Publish, true, S::Available, true },
		{ S::Unavailable, EOperation::Publish, false, S::Unavailable, false },
		{ S::Removed, EOperation::Publish, false, S::Removed, false },
		{ S::Initializing, EOperation::Withdraw, true, S::Unavailable, false },
		{ S::Available, EOperation::Withdraw, true, S::Unavailable, false },
		{ S::Unavailable, EOperation::Withdraw, true, S::Unavailable, false },
		{ S::Removed, EOperation::Withdraw, false, S::Removed, false },
		{ S::Initializing, EOperation::RemovePermanently, true, S::Removed, false },
		{ S::Available, EOperation::RemovePermanently, true, S::Removed, false },
		{ S::Unavailable, EOperation::RemovePermanently, true, S::Removed, false },
		{ S::Removed, EOperation::RemovePermanently, false, S::Removed, false },
	};

	uint32 Index = 0;
	for (const auto& Row : Rows)
	{
		SCOPED_TRACE(testing::Message() << "row " << Index << ": " << OperationName(Row.Operation) << " from " << static_cast<int>(Row.From));
		UVeskTestProducerObject* Object = NewProducerObject();
		const FGuid Identity = MakeTestIdentity(++Index);
		const FVesk_ReferenceBinding Binding = BindInStatus(Object, Identity, Row.From);

		EXPECT_EQ(Apply(Row.Operation, Binding), Row.bResult);

		const FEntryState After = Entry(Identity);
		EXPECT_EQ(After.Status, Row.To);
		EXPECT_EQ(After.Object, Row.bKeepsObject ? Object : nullptr);
		EXPECT_EQ(After.Generation, Binding.Generation);
		EXPECT_EQ(Subsystem->IsCurrentBinding(Binding), Row.To != S::Removed);
	}
	EXPECT_EQ(NextGeneration(), Index);
}

TEST_F(FReferencePublicationTest, EveryAcceptedChangeNotifiesAndEveryRefusalDoesNot)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const FGuid Identity = MakeTestIdentity(1);
	const FVesk_ReferenceBinding Binding = BindInStatus(Object, Identity, EVesk_ReferenceStatus::Initializing);

	EXPECT_TRUE(RunsNotificationPass([&] { EXPECT_TRUE(Subsystem->Publish(Binding)); }));
	EXPECT_TRUE(RunsNotificationPass([&] { EXPECT_TRUE(Subsystem->Publish(Binding)); }));
	EXPECT_FALSE(RunsNotificationPass([&] { EXPECT_FALSE(Subsystem->Publish(FVesk_ReferenceBinding())); }));
	EXPECT_TRUE(RunsNotificationPass([&] { EXPECT_TRUE(Subsystem->Withdraw(Binding)); }));
	EXPECT_TRUE(RunsNotificationPass([&] { EXPECT_TRUE(Subsystem->Withdraw(Binding)); }));
	EXPECT_FALSE(RunsNotificationPass([&] { EXPECT_FALSE(Subsystem->Publish(Binding)); }));
	EXPECT_TRUE(RunsNotificationPass([&] { EXPECT_TRUE(Subsystem->RemovePermanently(Binding)); }));
	EXPECT_FALSE(RunsNotificationPass([&] { EXPECT_FALSE(Subsystem->RemovePermanently(Binding)); }));
	EXPECT_FALSE(RunsNotificationPass([&] { EXPECT_FALSE(Subsystem->Withdraw(Binding)); }));
	EXPECT_FALSE(RunsNotificationPass([&] { EXPECT_FALSE(Subsystem->IsCurrentBinding(Binding)); }));
}

TEST_F(FReferencePublicationTest, OlderTokenCannotReleaseTheCurrentIncarnation)
{
	UVeskTestProducerObject* First = NewProducerObject();
	UVeskTestProducerObject* Second = NewProducerObject();
	const FGuid Identity = MakeTestIdentity(1);
	const FVesk_ReferenceBinding Old = BindInStatus(First, Identity, EVesk_ReferenceStatus::Unavailable);
	const FVesk_ReferenceBinding Current = BindInStatus(Second, Identity, EVesk_ReferenceStatus::Available);
	const FEntryState Before = Entry(Identity);

	EXPECT_FALSE(Subsystem->Withdraw(Old));
	EXPECT_FALSE(Subsystem->RemovePermanently(Old));
	EXPECT_FALSE(Subsystem->Publish(Old));

	EXPECT_EQ(Entry(Identity), Before);
	EXPECT_EQ(Before, (FEntryState{ true, EVesk_ReferenceStatus::Available, Second, Current.Generation, false }));
	EXPECT_TRUE(Subsystem->IsCurrentBinding(Current));
}

TEST_F(FReferencePublicationTest, TokenForAnIdentityWithoutEntryIsRefused)
{
	const FVesk_ReferenceBinding Real = BindInStatus(NewProducerObject(), MakeTestIdentity(1), EVesk_ReferenceStatus::Initializing);
	FVesk_ReferenceBinding Unknown = Real;
	Unknown.Id = MakeTestIdentity(2);

	ExpectEveryOperationRefused(Unknown, MakeTestIdentity(2));
	EXPECT_FALSE(Entry(MakeTestIdentity(2)).bExists);
}

TEST_F(FReferencePublicationTest, WithdrawnTokenStaysCurrentUntilANewIncarnation)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const FGuid Identity = MakeTestIdentity(1);
	const FVesk_ReferenceBinding Old = BindInStatus(Object, Identity, EVesk_ReferenceStatus::Unavailable);
	const FVesk_ReferenceBinding Copy = Old;
	ASSERT_TRUE(Subsystem->IsCurrentBinding(Copy));

	const FVesk_ReferenceBinding Fresh = Subsystem->BeginBinding(Object, Identity);
	ASSERT_TRUE(Subsystem->Publish(Fresh));

	ExpectEveryOperationRefused(Old, Identity);
	EXPECT_EQ(Entry(Identity), (FEntryState{ true, EVesk_ReferenceStatus::Available, Object, 2, false }));
}

TEST_F(FReferencePublicationTest, ZeroForeignAndStaleWorldTokensAreRefused)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const FGuid Identity = MakeTestIdentity(1);
	const FVesk_ReferenceBinding Real = BindInStatus(Object, Identity, EVesk_ReferenceStatus::Initializing);

	ExpectEveryOperationRefused(FVesk_ReferenceBinding(), Identity);

	FVesk_ReferenceBinding ZeroGeneration = Real;
	ZeroGeneration.Generation = 0;
	ExpectEveryOperationRefused(ZeroGeneration, Identity);

	FTestWorld OtherWorld;
	FVesk_ReferenceBinding Foreign = Real;
	Foreign.World = OtherWorld.Get();
	ExpectEveryOperationRefused(Foreign, Identity);

	FVesk_ReferenceBinding StaleWorld = Real;
	{
		FTestWorld GoneWorld;
		StaleWorld.World = GoneWorld.Get();
	}
	ASSERT_FALSE(StaleWorld.World.IsValid());
	ExpectEveryOperationRefused(StaleWorld, Identity);

	FVesk_ReferenceBinding NullWorld = Real;
	NullWorld.World.Reset();
	ExpectEveryOperationRefused(NullWorld, Identity);

	EXPECT_TRUE(Subsystem->IsCurrentBinding(Real));
}

TEST_F(FReferencePublicationTest, DestroyedProducerCannotPublish)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const FGuid Identity = MakeTestIdentity(1);
	const FVesk_ReferenceBinding Binding = BindInStatus(Object, Identity, EVesk_ReferenceStatus::Initializing);
	Object->MarkAsGarbage();

	EXPECT_FALSE(RunsNotificationPass([&] { EXPECT_FALSE(Subsystem->Publish(Binding)); }));
	EXPECT_EQ(Entry(Identity).Status, EVesk_ReferenceStatus::Initializing);
	EXPECT_TRUE(Subsystem->Withdraw(Binding));
}

class FReferenceSavedPublicationTest : public FReferencePublicationTest
{
protected:
	// Saved identities follow paths, which repeat from world to world: each test starts from an
	// empty keeper.
	void TearDown() override
	{
		UVesk_SaveSubsystem::Shutdown();
		UVesk_SaveSubsystem::Startup();
	}
};

TEST_F(FReferenceSavedPublicationTest, PublishesOnlyWhileTheSavedIdentityStillMatches)
{
	UVeskTestProducerObject* Kept = NewProducerObject();
	UVeskTestProducerObject* Rekeyed = NewProducerObject();
	const FVesk_ReferenceBinding KeptBinding = Subsystem->BeginSavedBinding(Kept);
	const FVesk_ReferenceBinding RekeyedBinding = Subsystem->BeginSavedBinding(Rekeyed);
	UVesk_SaveSubsystem::Get()->SetGuidForObject(Rekeyed, MakeTestIdentity(99));

	EXPECT_TRUE(Subsystem->Publish(KeptBinding));
	EXPECT_FALSE(RunsNotificationPass([&] { EXPECT_FALSE(Subsystem->Publish(RekeyedBinding)); }));
	EXPECT_EQ(Entry(RekeyedBinding.Id).Status, EVesk_ReferenceStatus::Initializing);
	EXPECT_EQ(Entry(KeptBinding.Id).Status, EVesk_ReferenceStatus::Available);
}

TEST_F(FReferenceSavedPublicationTest, MissingSaveModuleRefusesSavedButNotExplicitPublication)
{
	UVeskTestProducerObject* Saved = NewProducerObject();
	UVeskTestProducerObject* Explicit = NewProducerObject();
	const FVesk_ReferenceBinding SavedBinding = Subsystem->BeginSavedBinding(Saved);
	const FVesk_ReferenceBinding ExplicitBinding = Subsystem->BeginBinding(Explicit, MakeTestIdentity(1));
	UVesk_SaveSubsystem::Shutdown();

	EXPECT_FALSE(Subsystem->Publish(SavedBinding));
	EXPECT_TRUE(Subsystem->Publish(ExplicitBinding));
	EXPECT_EQ(Entry(SavedBinding.Id).Status, EVesk_ReferenceStatus::Initializing);
}

class FReferenceEndPlayReleaseTest : public FReferencePublicationTest
{
};

TEST_F(FReferenceEndPlayReleaseTest, ReleasesTheActorAndItsComponentsForEveryReason)
{
	const EEndPlayReason::Type Reasons[] = {
		EEndPlayReason::Destroyed,
		EEndPlayReason::LevelTransition,
		EEndPlayReason::EndPlayInEditor,
		EEndPlayReason::RemovedFromWorld,
		EEndPlayReason::Quit,
	};
	UVeskTestProducerObject* Plain = NewProducerObject();
	const FGuid PlainId = MakeTestIdentity(1000);
	const FVesk_ReferenceBinding PlainBinding = BindInStatus(Plain, PlainId, EVesk_ReferenceStatus::Available);

	uint32 Index = 0;
	for (EEndPlayReason::Type Reason : Reasons)
	{
		SCOPED_TRACE(testing::Message() << "reason " << static_cast<int>(Reason));
		AVeskTestProducerActor* Actor = SpawnProducerActor();
		AVeskTestProducerActor* Bystander = SpawnProducerActor();
		UObject* Producers[] = { Actor, AddProducerComponent(Actor), AddProducerComponent(Actor) };
		FVesk_ReferenceBinding Bindings[3];
		for (int32 Producer = 0; Producer < 3; ++Producer)
		{
			Bindings[Producer] = BindInStatus(Producers[Producer], MakeTestIdentity(++Index), Producer == 1 ? EVesk_ReferenceStatus::Initializing : EVesk_ReferenceStatus::Available);
		}
		const FGuid BystanderId = MakeTestIdentity(++Index);
		BindInStatus(Bystander, BystanderId, EVesk_ReferenceStatus::Available);

		EXPECT_TRUE(RunsNotificationPass([&] { Actor->RouteEndPlay(Reason); }));

		EXPECT_TRUE(Access::HasEnded(*Subsystem, Actor));
		for (const FVesk_ReferenceBinding& Binding : Bindings)
		{
			EXPECT_EQ(Entry(Binding.Id), (FEntryState{ true, EVesk_ReferenceStatus::Unavailable, nullptr, Binding.Generation, false }));
			EXPECT_TRUE(Subsystem->IsCurrentBinding(Binding));
			EXPECT_FALSE(Subsystem->Publish(Binding));
		}
		EXPECT_TRUE(Subsystem->RemovePermanently(Bindings[0]));
		EXPECT_TRUE(Subsystem->Withdraw(Bindings[1]));
		EXPECT_EQ(Entry(BystanderId).Status, EVesk_ReferenceStatus::Available);
		EXPECT_FALSE(Access::HasEnded(*Subsystem, Bystander));
	}

	EXPECT_EQ(Entry(PlainId), (FEntryState{ true, EVesk_ReferenceStatus::Available, Plain, PlainBinding.Generation, false }));
}

TEST_F(FReferenceEndPlayReleaseTest, EndOfPlayNotifiesWhetherOrNotAnythingIsReleased)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UObject* Producers[] = { Actor, AddProducerComponent(Actor), AddProducerComponent(Actor) };
	for (uint32 Index = 0; Index < 3; ++Index)
	{
		BindInStatus(Producers[Index], MakeTestIdentity(Index + 1), EVesk_ReferenceStatus::Available);
	}

	EXPECT_TRUE(RunsNotificationPass([&] { Actor->RouteEndPlay(EEndPlayReason::Destroyed); }));
	for (uint32 Index = 0; Index < 3; ++Index)
	{
		EXPECT_EQ(Entry(MakeTestIdentity(Index + 1)).Status, EVesk_ReferenceStatus::Unavailable);
	}

	Actor->DispatchBeginPlay();
	EXPECT_TRUE(RunsNotificationPass([&] { Actor->RouteEndPlay(EEndPlayReason::Quit); }));
}

TEST_F(FReferenceEndPlayReleaseTest, ActorThatPlaysAgainIsReleasedAgain)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	BindInStatus(Actor, MakeTestIdentity(1), EVesk_ReferenceStatus::Available);
	Actor->RouteEndPlay(EEndPlayReason::LevelTransition);
	Actor->DispatchBeginPlay();
	const FVesk_ReferenceBinding Again = BindInStatus(Actor, MakeTestIdentity(1), EVesk_ReferenceStatus::Available);
	ASSERT_EQ(Again.Generation, 2);

	Actor->RouteEndPlay(EEndPlayReason::LevelTransition);

	EXPECT_EQ(Entry(MakeTestIdentity(1)), (FEntryState{ true, EVesk_ReferenceStatus::Unavailable, nullptr, 2, false }));
	EXPECT_TRUE(Access::HasEnded(*Subsystem, Actor));
}

TEST_F(FReferenceEndPlayReleaseTest, RemovedEntryStaysRemovedThroughEndOfPlay)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	const FVesk_ReferenceBinding Removed = BindInStatus(AddProducerComponent(Actor), MakeTestIdentity(1), EVesk_ReferenceStatus::Removed);

	Actor->RouteEndPlay(EEndPlayReason::Destroyed);

	EXPECT_EQ(Entry(Removed.Id), (FEntryState{ true, EVesk_ReferenceStatus::Removed, nullptr, 1, false }));
	EXPECT_FALSE(Subsystem->IsCurrentBinding(Removed));
}

TEST_F(FReferenceEndPlayReleaseTest, EndOfPlayWithoutAnActorReleasesNoOwnerlessComponent)
{
	UVeskTestProducerComponent* Ownerless = NewObject<UVeskTestProducerComponent>(World.Get());
	Ownerless->RegisterComponentWithWorld(World.Get());
	ASSERT_EQ(Ownerless->GetOwner(), nullptr);
	const FVesk_ReferenceBinding Binding = BindInStatus(Ownerless, MakeTestIdentity(1), EVesk_ReferenceStatus::Available);
	UVeskTestProducerObject* Plain = NewProducerObject();
	BindInStatus(Plain, MakeTestIdentity(2), EVesk_ReferenceStatus::Available);

	Access::ActorEndPlay(*Subsystem, nullptr, EEndPlayReason::Destroyed);

	EXPECT_EQ(Entry(Binding.Id), (FEntryState{ true, EVesk_ReferenceStatus::Available, Ownerless, 1, false }));
	EXPECT_EQ(Entry(MakeTestIdentity(2)).Status, EVesk_ReferenceStatus::Available);
}

TEST_F(FReferenceEndPlayReleaseTest, ActorWhoseBindingsWereReleasedIsStillRecorded)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	BindInStatus(Actor, MakeTestIdentity(1), EVesk_ReferenceStatus::Unavailable);

	Actor->RouteEndPlay(EEndPlayReason::Quit);

	EXPECT_TRUE(Access::HasEnded(*Subsystem, Actor));
	EXPECT_EQ(Entry(MakeTestIdentity(1)).Status, EVesk_ReferenceStatus::Unavailable);
}

TEST_F(FReferenceEndPlayReleaseTest, UnboundActorIsNotWatched)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();

	Actor->RouteEndPlay(EEndPlayReason::Quit);

	EXPECT_FALSE(Access::HasEnded(*Subsystem, Actor));
	EXPECT_EQ(Subsystem->BeginBinding(Actor, MakeTestIdentity(1)).Generation, 1);
}

class FReferencePublicationDeathTest : public FReferencePublicationTest
{
};

TEST_F(FReferencePublicationDeathTest, PublicationAndReleaseOffTheGameThreadAreFatal)
{
	const FVesk_ReferenceBinding Binding = BindInStatus(NewProducerObject(), MakeTestIdentity(1), EVesk_ReferenceStatus::Initializing);

	EXPECT_DEATH(RunOffGameThread([&] { Subsystem->Publish(Binding); }), GameThreadCheckPattern());
	EXPECT_DEATH(RunOffGameThread([&] { Subsystem->Withdraw(Binding); }), GameThreadCheckPattern());
	EXPECT_DEATH(RunOffGameThread([&] { Subsystem->RemovePermanently(Binding); }), GameThreadCheckPattern());
}

// The thread is checked before anything else: calls that would be refused stop too.
TEST_F(FReferencePublicationDeathTest, RefusedCallsOffTheGameThreadAreFatalToo)
{
	const FVesk_ReferenceBinding Empty;
	EXPECT_DEATH(RunOffGameThread([&] { Subsystem->Publish(Empty); }), GameThreadCheckPattern());
	EXPECT_DEATH(RunOffGameThread([&] { Subsystem->Withdraw(Empty); }), GameThreadCheckPattern());
	EXPECT_DEATH(RunOffGameThread([&] { Subsystem->RemovePermanently(Empty); }), GameThreadCheckPattern());

	const FVesk_ReferenceBinding Binding = BindInStatus(NewProducerObject(), MakeTestIdentity(2), EVesk_ReferenceStatus::Available);
	World.Destroy();
	EXPECT_DEATH(RunOffGameThread([&] { Subsystem->Publish(Binding); }), GameThreadCheckPattern());
}
