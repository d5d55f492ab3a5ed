#include "Vesk_ReferenceSubsystem.h"

#include "Components/ChildActorComponent.h"
#include "UObject/StrongObjectPtr.h"
#include "Vesk_ReferenceConsumerLifetimeComponent.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_SaveSubsystem.h"
#include "VeskReferenceTestSupport.h"
#include "VeskTestListeners.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using Access = FVesk_ReferenceSubsystemTestAccess;
using EStatus = EVesk_ReferenceStatus;

// A resolution result whose pointers are compared, not followed: a test may hold it past the objects.
struct FResolvedState
{
	EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Empty;
	const UObject* Object = nullptr;
	const UActorComponent* Component = nullptr;
	int64 Generation = 0;

	bool operator==(const FResolvedState& Other) const = default;
};

static std::string StatusName(EVesk_ReferenceStatus Status)
{
	return Utf8(StaticEnum<EVesk_ReferenceStatus>()->GetNameStringByValue(static_cast<int64>(Status)));
}

static void PrintTo(EVesk_ReferenceStatus Status, std::ostream* Out)
{
	*Out << StatusName(Status);
}

static void PrintTo(const FResolvedState& State, std::ostream* Out)
{
	*Out << "{ " << StatusName(State.Status)
		<< ", object " << (State.Object ? Utf8(State.Object->GetName()) : std::string("null"))
		<< ", component " << (State.Component ? Utf8(State.Component->GetName()) : std::string("null"))
		<< ", generation " << State.Generation << " }";
}

class FReferenceResolutionTestBase : public FVeskReferenceTestBase
{
protected:
	explicit FReferenceResolutionTestBase(bool bBeginPlay = true)
		: FVeskReferenceTestBase(bBeginPlay)
	{
	}

	// Saved identities follow paths, which repeat from world to world: each test starts from an
	// empty keeper.
	void TearDown() override
	{
		UVesk_SaveSubsystem::Shutdown();
		UVesk_SaveSubsystem::Startup();
	}

	FResolvedState Resolve(const FGuid& Identity, UClass* ExpectedType, UClass* ComponentType = nullptr) const
	{
		const FVesk_ResolvedReference Resolved = Subsystem->Resolve(Identity, ExpectedType, ComponentType);
		return FResolvedState{ Resolved.Status, Resolved.Object, Resolved.Component, Resolved.Generation };
	}

	FVesk_ReferenceBinding Bind(UObject* Object, const FGuid& Identity)
	{
		const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Object, Identity);
		EXPECT_GT(Binding.Generation, 0) << "binding " << Utf8(Object->GetName());
		return Binding;
	}

	FVesk_ReferenceBinding BindAndPublish(UObject* Object, const FGuid& Identity)
	{
		const FVesk_ReferenceBinding Binding = Bind(Object, Identity);
		EXPECT_TRUE(Subsystem->Publish(Binding)) << "publishing " << Utf8(Object->GetName());
		return Binding;
	}

	// A result without an object, carrying the generation of the identity's entry.
	static FResolvedState Without(EStatus Status, const FVesk_ReferenceBinding& Binding)
	{
		return FResolvedState{ Status, nullptr, nullptr, Binding.Generation };
	}

	static FResolvedState Found(const UObject* Object, const UActorComponent* Component, const FVesk_ReferenceBinding& Binding)
	{
		return FResolvedState{ EStatus::Available, Object, Component, Binding.Generation };
	}

	static FResolvedState NoEntry()
	{
		return FResolvedState{ EStatus::Unavailable, nullptr, nullptr, 0 };
	}

	static UClass* ProducerComponentClass()
	{
		return UVeskTestProducerComponent::StaticClass();
	}
};

class FReferenceResolutionStatusTest : public FReferenceResolutionTestBase
{
};

TEST_F(FReferenceResolutionStatusTest, ZeroIdentityIsEmptyWhateverTheTypes)
{
	BindAndPublish(NewProducerObject(), MakeTestIdentity(1));
	const FResolvedState Empty{ EStatus::Empty, nullptr, nullptr, 0 };

	EXPECT_EQ(Resolve(FGuid(), UObject::StaticClass()), Empty);
	EXPECT_EQ(Resolve(FGuid(), nullptr), Empty);
	EXPECT_EQ(Resolve(FGuid(), AActor::StaticClass(), ProducerComponentClass()), Empty);
}

TEST_F(FReferenceResolutionStatusTest, IdentityWithoutEntryIsUnavailableWithGenerationZero)
{
	BindAndPublish(NewProducerObject(), MakeTestIdentity(1));

	EXPECT_EQ(Resolve(MakeTestIdentity(2), UObject::StaticClass()), NoEntry());
	EXPECT_EQ(Resolve(MakeTestIdentity(2), nullptr, ProducerComponentClass()), NoEntry());
}

TEST_F(FReferenceResolutionStatusTest, BoundButUnpublishedProducerIsInitializing)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	const FVesk_ReferenceBinding ObjectBinding = Bind(Object, MakeTestIdentity(1));
	const FVesk_ReferenceBinding ActorBinding = Bind(Actor, MakeTestIdentity(2));
	const FVesk_ReferenceBinding ComponentBinding = Bind(Component, MakeTestIdentity(3));

	EXPECT_EQ(Resolve(ObjectBinding.Id, UVeskTestProducerObject::StaticClass()), Without(EStatus::Initializing, ObjectBinding));
	EXPECT_EQ(Resolve(ActorBinding.Id, AActor::StaticClass()), Without(EStatus::Initializing, ActorBinding));
	EXPECT_EQ(Resolve(ComponentBinding.Id, UActorComponent::StaticClass()), Without(EStatus::Initializing, ComponentBinding));
}

TEST_F(FReferenceResolutionStatusTest, PublishedProducerIsAvailableAsItselfForItsClassAndEveryBase)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	const FVesk_ReferenceBinding ObjectBinding = BindAndPublish(Object, MakeTestIdentity(1));
	const FVesk_ReferenceBinding ActorBinding = BindAndPublish(Actor, MakeTestIdentity(2));
	const FVesk_ReferenceBinding ComponentBinding = BindAndPublish(Component, MakeTestIdentity(3));

	for (UClass* Type : { UVeskTestProducerObject::StaticClass(), UObject::StaticClass() })
	{
		EXPECT_EQ(Resolve(ObjectBinding.Id, Type), Found(Object, nullptr, ObjectBinding)) << Utf8(Type->GetName());
	}
	for (UClass* Type : { AVeskTestProducerActor::StaticClass(), AActor::StaticClass(), UObject::StaticClass() })
	{
		EXPECT_EQ(Resolve(ActorBinding.Id, Type), Found(Actor, nullptr, ActorBinding)) << Utf8(Type->GetName());
	}
	for (UClass* Type : { UVeskTestProducerComponent::StaticClass(), UActorComponent::StaticClass(), UObject::StaticClass() })
	{
		EXPECT_EQ(Resolve(ComponentBinding.Id, Type), Found(Component, nullptr, ComponentBinding)) << Utf8(Type->GetName());
	}
}

TEST_F(FReferenceResolutionStatusTest, ProducerOfAnotherClassIsTypeMismatch)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	const FVesk_ReferenceBinding ObjectBinding = BindAndPublish(Object, MakeTestIdentity(1));
	const FVesk_ReferenceBinding ActorBinding = BindAndPublish(Actor, MakeTestIdentity(2));
	const FVesk_ReferenceBinding ComponentBinding = BindAndPublish(Component, MakeTestIdentity(3));

	EXPECT_EQ(Resolve(ObjectBinding.Id, AActor::StaticClass()), Without(EStatus::TypeMismatch, ObjectBinding));
	// A sibling class is no more a match than an unrelated one.
	EXPECT_EQ(Resolve(ActorBinding.Id, AVeskTestHookedActor::StaticClass()), Without(EStatus::TypeMismatch, ActorBinding));
	EXPECT_EQ(Resolve(ComponentBinding.Id, AActor::StaticClass()), Without(EStatus::TypeMismatch, ComponentBinding));
	EXPECT_EQ(Resolve(ComponentBinding.Id, UVeskTestHookedComponent::StaticClass()), Without(EStatus::TypeMismatch, ComponentBinding));
}

TEST_F(FReferenceResolutionStatusTest, NullExpectedTypeIsTypeMismatchNotAnyClass)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	AddProducerComponent(Actor);
	const FVesk_ReferenceBinding ObjectBinding = BindAndPublish(Object, MakeTestIdentity(1));
	const FVesk_ReferenceBinding ActorBinding = BindAndPublish(Actor, MakeTestIdentity(2));

	EXPECT_EQ(Resolve(ObjectBinding.Id, nullptr), Without(EStatus::TypeMismatch, ObjectBinding));
	EXPECT_EQ(Resolve(ActorBinding.Id, nullptr), Without(EStatus::TypeMismatch, ActorBinding));
	EXPECT_EQ(Resolve(ActorBinding.Id, nullptr, ProducerComponentClass()), Without(EStatus::TypeMismatch, ActorBinding));
	EXPECT_EQ(Resolve(ObjectBinding.Id, UObject::StaticClass()), Found(Object, nullptr, ObjectBinding));
}

TEST_F(FReferenceResolutionStatusTest, WithdrawnIdentityIsUnavailableAndKeepsItsGeneration)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const FGuid Identity = MakeTestIdentity(1);
	const FVesk_ReferenceBinding First = BindAndPublish(Object, Identity);
	const FVesk_ReferenceBinding Other = BindAndPublish(NewProducerObject(), MakeTestIdentity(2));
	ASSERT_TRUE(Subsystem->Withdraw(First));

	EXPECT_EQ(Resolve(Identity, UObject::StaticClass()), Without(EStatus::Unavailable, First));

	const FVesk_ReferenceBinding Second = Bind(Object, Identity);
	ASSERT_GT(Second.Generation, Other.Generation);
	EXPECT_EQ(Resolve(Identity, UObject::StaticClass()), Without(EStatus::Initializing, Second));
	ASSERT_TRUE(Subsystem->Publish(Second));
	EXPECT_EQ(Resolve(Identity, UObject::StaticClass()), Found(Object, nullptr, Second));
}

TEST_F(FReferenceResolutionStatusTest, ProducerReleasedByItsActorsEndOfPlayIsUnavailable)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	const FVesk_ReferenceBinding ActorBinding = BindAndPublish(Actor, MakeTestIdentity(1));
	const FVesk_ReferenceBinding ComponentBinding = BindAndPublish(Component, MakeTestIdentity(2));

	Actor->RouteEndPlay(EEndPlayReason::RemovedFromWorld);

	ASSERT_TRUE(IsValid(Actor));
	ASSERT_TRUE(IsValid(Component));
	EXPECT_EQ(Resolve(ActorBinding.Id, AActor::StaticClass()), Without(EStatus::Unavailable, ActorBinding));
	EXPECT_EQ(Resolve(ComponentBinding.Id, UActorComponent::StaticClass()), Without(EStatus::Unavailable, ComponentBinding));
}

TEST_F(FReferenceResolutionStatusTest, RemovedIdentityIsRemovedWithItsGeneration)
{
	BindAndPublish(NewProducerObject(), MakeTestIdentity(1));
	const FVesk_ReferenceBinding Binding = BindAndPublish(NewProducerObject(), MakeTestIdentity(2));
	ASSERT_TRUE(Subsystem->RemovePermanently(Binding));

	EXPECT_EQ(Resolve(Binding.Id, UObject::StaticClass()), Without(EStatus::Removed, Binding));
}

TEST_F(FReferenceResolutionStatusTest, ProducerGoneWithoutReleaseIsUnavailableWhileItsEntrySaysAvailable)
{
	UVeskTestProducerObject* Garbage = NewProducerObject();
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Destroyed = AddProducerComponent(Actor);
	const FVesk_ReferenceBinding GarbageBinding = BindAndPublish(Garbage, MakeTestIdentity(1));
	const FVesk_ReferenceBinding DestroyedBinding = BindAndPublish(Destroyed, MakeTestIdentity(2));

	Garbage->MarkAsGarbage();
	Destroyed->DestroyComponent();

	EXPECT_EQ(Entry(GarbageBinding.Id).Status, EStatus::Available);
	EXPECT_EQ(Entry(DestroyedBinding.Id).Status, EStatus::Available);
	EXPECT_EQ(Resolve(GarbageBinding.Id, UObject::StaticClass()), Without(EStatus::Unavailable, GarbageBinding));
	EXPECT_EQ(Resolve(DestroyedBinding.Id, UObject::StaticClass()), Without(EStatus::Unavailable, DestroyedBinding));

	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);

	EXPECT_EQ(Resolve(GarbageBinding.Id, UObject::StaticClass()), Without(EStatus::Unavailable, GarbageBinding));
	EXPECT_EQ(Resolve(DestroyedBinding.Id, UObject::StaticClass()), Without(EStatus::Unavailable, DestroyedBinding));
}

class FReferenceResolutionPrecedenceTest : public FReferenceResolutionTestBase
{
};

TEST_F(FReferenceResolutionPrecedenceTest, RemovedWhateverTheTypesAsked)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	AddProducerComponent(Actor);
	AddProducerComponent(Actor);
	const FVesk_ReferenceBinding ObjectBinding = BindAndPublish(NewProducerObject(), MakeTestIdentity(1));
	const FVesk_ReferenceBinding ActorBinding = BindAndPublish(Actor, MakeTestIdentity(2));
	ASSERT_TRUE(Subsystem->RemovePermanently(ObjectBinding));
	ASSERT_TRUE(Subsystem->RemovePermanently(ActorBinding));

	const struct
	{
		UClass* ExpectedType;
		UClass* ComponentType;
	} Asked[] = {
		{ UObject::StaticClass(), nullptr },
		{ nullptr, nullptr },
		{ AVeskTestHookedActor::StaticClass(), nullptr },
		{ AActor::StaticClass(), ProducerComponentClass() },
		{ UObject::StaticClass(), UVeskTestProducerObject::StaticClass() },
	};
	for (const auto& Types : Asked)
	{
		SCOPED_TRACE(testing::Message() << (Types.ExpectedType ? Utf8(Types.ExpectedType->GetName()) : "null")
			<< " / " << (Types.ComponentType ? Utf8(Types.ComponentType->GetName()) : "null"));
		EXPECT_EQ(Resolve(ObjectBinding.Id, Types.ExpectedType, Types.ComponentType), Without(EStatus::Removed, ObjectBinding));
		EXPECT_EQ(Resolve(ActorBinding.Id, Types.ExpectedType, Types.ComponentType), Without(EStatus::Removed, ActorBinding));
	}
}

TEST_F(FReferenceResolutionPrecedenceTest, UnavailableBeforeTypeMismatch)
{
	UVeskTestProducerObject* Garbage = NewProducerObject();
	UVeskTestProducerObject* Rekeyed = NewProducerObject();
	const FVesk_ReferenceBinding Withdrawn = BindAndPublish(NewProducerObject(), MakeTestIdentity(1));
	ASSERT_TRUE(Subsystem->Withdraw(Withdrawn));
	const FVesk_ReferenceBinding GarbageBinding = BindAndPublish(Garbage, MakeTestIdentity(2));
	Garbage->MarkAsGarbage();
	const FVesk_ReferenceBinding Saved = Subsystem->BeginSavedBinding(Rekeyed);
	ASSERT_TRUE(Subsystem->Publish(Saved));
	UVesk_SaveSubsystem::Get()->SetGuidForObject(Rekeyed, MakeTestIdentity(9));

	for (UClass* WrongType : { static_cast<UClass*>(nullptr), AActor::StaticClass() })
	{
		SCOPED_TRACE(WrongType ? "asked for an actor" : "asked for no class");
		EXPECT_EQ(Resolve(Withdrawn.Id, WrongType), Without(EStatus::Unavailable, Withdrawn));
		EXPECT_EQ(Resolve(GarbageBinding.Id, WrongType), Without(EStatus::Unavailable, GarbageBinding));
		EXPECT_EQ(Resolve(Saved.Id, WrongType), Without(EStatus::Unavailable, Saved));
		EXPECT_EQ(Resolve(MakeTestIdentity(4), WrongType), NoEntry());
	}
}

TEST_F(FReferenceResolutionPrecedenceTest, TypeMismatchBeforeInitializing)
{
	const FVesk_ReferenceBinding Binding = Bind(NewProducerObject(), MakeTestIdentity(1));

	EXPECT_EQ(Resolve(Binding.Id, nullptr), Without(EStatus::TypeMismatch, Binding));
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass()), Without(EStatus::TypeMismatch, Binding));
	EXPECT_EQ(Resolve(Binding.Id, UObject::StaticClass()), Without(EStatus::Initializing, Binding));
}

TEST_F(FReferenceResolutionPrecedenceTest, NoComponentSearchBeforePublication)
{
	AVeskTestProducerActor* Bare = SpawnProducerActor();
	AVeskTestProducerActor* Crowded = SpawnProducerActor();
	AddProducerComponent(Crowded);
	AddProducerComponent(Crowded);
	const FVesk_ReferenceBinding BareBinding = Bind(Bare, MakeTestIdentity(1));
	const FVesk_ReferenceBinding CrowdedBinding = Bind(Crowded, MakeTestIdentity(2));
	const FVesk_ReferenceBinding ObjectBinding = Bind(NewProducerObject(), MakeTestIdentity(3));
	UClass* NotAComponent = UVeskTestProducerObject::StaticClass();

	EXPECT_EQ(Resolve(BareBinding.Id, AActor::StaticClass(), ProducerComponentClass()), Without(EStatus::Initializing, BareBinding));
	EXPECT_EQ(Resolve(CrowdedBinding.Id, AActor::StaticClass(), ProducerComponentClass()), Without(EStatus::Initializing, CrowdedBinding));
	EXPECT_EQ(Resolve(BareBinding.Id, AActor::StaticClass(), NotAComponent), Without(EStatus::Initializing, BareBinding));
	EXPECT_EQ(Resolve(ObjectBinding.Id, UObject::StaticClass(), ProducerComponentClass()), Without(EStatus::Initializing, ObjectBinding));

	// The same questions once published, to show that each would have been answered otherwise.
	ASSERT_TRUE(Subsystem->Publish(BareBinding));
	ASSERT_TRUE(Subsystem->Publish(CrowdedBinding));
	ASSERT_TRUE(Subsystem->Publish(ObjectBinding));
	EXPECT_EQ(Resolve(BareBinding.Id, AActor::StaticClass(), ProducerComponentClass()), Without(EStatus::MissingComponent, BareBinding));
	EXPECT_EQ(Resolve(CrowdedBinding.Id, AActor::StaticClass(), ProducerComponentClass()), Without(EStatus::AmbiguousComponent, CrowdedBinding));
	EXPECT_EQ(Resolve(BareBinding.Id, AActor::StaticClass(), NotAComponent), Without(EStatus::TypeMismatch, BareBinding));
	EXPECT_EQ(Resolve(ObjectBinding.Id, UObject::StaticClass(), ProducerComponentClass()), Without(EStatus::TypeMismatch, ObjectBinding));
}

class FReferenceResolutionGenerationTest : public FReferenceResolutionTestBase
{
};

TEST_F(FReferenceResolutionGenerationTest, EveryOutcomeOfAnEntryCarriesThatEntrysGeneration)
{
	AVeskTestProducerActor* Bare = SpawnProducerActor();
	AVeskTestProducerActor* Crowded = SpawnProducerActor();
	AddProducerComponent(Crowded);
	AddProducerComponent(Crowded);
	AVeskTestProducerActor* Single = SpawnProducerActor();
	UVeskTestProducerComponent* OnlyComponent = AddProducerComponent(Single);
	UVeskTestProducerObject* Garbage = NewProducerObject();

	// Bound against the order of the rows below, so that no generation equals its row, the count of
	// entries or the last generation handed out.
	const FVesk_ReferenceBinding Gone = BindAndPublish(Garbage, MakeTestIdentity(17));
	const FVesk_ReferenceBinding Available = BindAndPublish(Single, MakeTestIdentity(16));
	const FVesk_ReferenceBinding Ambiguous = BindAndPublish(Crowded, MakeTestIdentity(15));
	const FVesk_ReferenceBinding Missing = BindAndPublish(Bare, MakeTestIdentity(14));
	const FVesk_ReferenceBinding Mismatched = BindAndPublish(NewProducerObject(), MakeTestIdentity(13));
	const FVesk_ReferenceBinding Initializing = Bind(NewProducerObject(), MakeTestIdentity(12));
	const FVesk_ReferenceBinding Withdrawn = BindAndPublish(NewProducerObject(), MakeTestIdentity(11));
	const FVesk_ReferenceBinding Removed = BindAndPublish(NewProducerObject(), MakeTestIdentity(10));
	const FVesk_ReferenceBinding Last = Bind(NewProducerObject(), MakeTestIdentity(18));
	ASSERT_TRUE(Subsystem->RemovePermanently(Removed));
	ASSERT_TRUE(Subsystem->Withdraw(Withdrawn));
	Garbage->MarkAsGarbage();

	const struct
	{
		const FVesk_ReferenceBinding& Binding;
		UClass* ExpectedType;
		UClass* ComponentType;
		FResolvedState Expected;
	} Rows[] = {
		{ Removed, UObject::StaticClass(), nullptr, Without(EStatus::Removed, Removed) },
		{ Withdrawn, UObject::StaticClass(), nullptr, Without(EStatus::Unavailable, Withdrawn) },
		{ Initializing, UObject::StaticClass(), nullptr, Without(EStatus::Initializing, Initializing) },
		{ Mismatched, AActor::StaticClass(), nullptr, Without(EStatus::TypeMismatch, Mismatched) },
		{ Missing, AActor::StaticClass(), ProducerComponentClass(), Without(EStatus::MissingComponent, Missing) },
		{ Ambiguous, AActor::StaticClass(), ProducerComponentClass(), Without(EStatus::AmbiguousComponent, Ambiguous) },
		{ Available, AActor::StaticClass(), ProducerComponentClass(), Found(Single, OnlyComponent, Available) },
		{ Gone, UObject::StaticClass(), nullptr, Without(EStatus::Unavailable, Gone) },
	};
	int64 Row = 0;
	for (const auto& Case : Rows)
	{
		++Row;
		SCOPED_TRACE(testing::Message() << "row " << Row);
		ASSERT_NE(Case.Binding.Generation, Row);
		ASSERT_NE(Case.Binding.Generation, Access::NumEntries(*Subsystem));
		ASSERT_NE(Case.Binding.Generation, Last.Generation);
		EXPECT_EQ(Resolve(Case.Binding.Id, Case.ExpectedType, Case.ComponentType), Case.Expected);
	}
	EXPECT_EQ(Resolve(Last.Id, UObject::StaticClass()), Without(EStatus::Initializing, Last));
}

TEST_F(FReferenceResolutionGenerationTest, AfterTeardownEveryIdentityIsUnavailableWithGenerationZero)
{
	const TStrongObjectPtr<UVesk_ReferenceSubsystem> KeepSubsystem(Subsystem);
	UVeskTestProducerObject* Object = NewProducerObject();
	const TStrongObjectPtr<UVeskTestProducerObject> KeepObject(Object);
	const FVesk_ReferenceBinding Available = BindAndPublish(Object, MakeTestIdentity(1));
	const FVesk_ReferenceBinding Withdrawn = BindAndPublish(NewProducerObject(), MakeTestIdentity(2));
	const FVesk_ReferenceBinding Removed = BindAndPublish(NewProducerObject(), MakeTestIdentity(3));
	ASSERT_TRUE(Subsystem->Withdraw(Withdrawn));
	ASSERT_TRUE(Subsystem->RemovePermanently(Removed));

	World.Destroy();

	ASSERT_TRUE(IsValid(Object));
	for (const FVesk_ReferenceBinding* Binding : { &Available, &Withdrawn, &Removed })
	{
		EXPECT_EQ(Resolve(Binding->Id, UObject::StaticClass()), NoEntry()) << "generation " << Binding->Generation;
		EXPECT_EQ(Resolve(Binding->Id, nullptr), NoEntry()) << "generation " << Binding->Generation;
	}
	EXPECT_EQ(Resolve(FGuid(), UObject::StaticClass()), (FResolvedState{ EStatus::Empty, nullptr, nullptr, 0 }));
}

TEST_F(FReferenceResolutionGenerationTest, TeardownsFinalPassAlreadyResolvesWithGenerationZero)
{
	const TStrongObjectPtr<UVesk_ReferenceSubsystem> KeepSubsystem(Subsystem);
	UVeskTestProducerObject* Object = NewProducerObject();
	const TStrongObjectPtr<UVeskTestProducerObject> KeepObject(Object);
	UVeskTestListener* Probe = NewObject<UVeskTestListener>(World.Get());
	const TStrongObjectPtr<UVeskTestListener> KeepProbe(Probe);
	const FVesk_ReferenceBinding Binding = BindAndPublish(Object, MakeTestIdentity(1));
	const TStrongObjectPtr<UVesk_ReferenceObservation> Observation(Subsystem->Observe(Binding.Id, UObject::StaticClass(), nullptr, Probe));
	ASSERT_TRUE(Observation.IsValid());
	ASSERT_EQ(Observation->GetStatus(), EStatus::Available);
	Observation->OnChanged.AddDynamic(Probe, &UVeskTestListener::HandleChanged);

	bool bDeinitializing = false;
	FEntryState EntryDuringPass;
	FResolvedState DuringPass;
	Probe->Hook = [&](UVeskTestListener*)
	{
		bDeinitializing = Access::IsDeinitialized(*Subsystem);
		EntryDuringPass = Entry(Binding.Id);
		DuringPass = Resolve(Binding.Id, UObject::StaticClass());
	};

	World.Destroy();

	ASSERT_EQ(Probe->NumCalls(), 1);
	EXPECT_TRUE(bDeinitializing);
	// The entry is still in the table while the final pass runs; only the teardown flag hides it.
	EXPECT_EQ(EntryDuringPass, (FEntryState{ true, EStatus::Available, Object, Binding.Generation, false }));
	EXPECT_EQ(DuringPass, NoEntry());
}

class FReferenceResolutionComponentTest : public FReferenceResolutionTestBase
{
};

TEST_F(FReferenceResolutionComponentTest, NoMatchIsMissingOneIsAvailableTwoAreAmbiguous)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestHookedComponent* OtherClass = AddProducerComponent<UVeskTestHookedComponent>(Actor);
	const FVesk_ReferenceBinding Binding = BindAndPublish(Actor, MakeTestIdentity(1));

	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), ProducerComponentClass()), Without(EStatus::MissingComponent, Binding));

	UVeskTestProducerComponent* First = AddProducerComponent(Actor);
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), ProducerComponentClass()), Found(Actor, First, Binding));
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), UVeskTestHookedComponent::StaticClass()), Found(Actor, OtherClass, Binding));

	UVeskTestProducerComponent* Second = AddProducerComponent(Actor);
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), ProducerComponentClass()), Without(EStatus::AmbiguousComponent, Binding));

	First->DestroyComponent();
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), ProducerComponentClass()), Found(Actor, Second, Binding));
}

TEST_F(FReferenceResolutionComponentTest, AskingForEveryComponentCountsEveryComponentOfTheActor)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Only = AddProducerComponent(Actor);
	const FVesk_ReferenceBinding Binding = BindAndPublish(Actor, MakeTestIdentity(1));

	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), UActorComponent::StaticClass()), Found(Actor, Only, Binding));

	AddProducerComponent<UVeskTestHookedComponent>(Actor);
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), UActorComponent::StaticClass()), Without(EStatus::AmbiguousComponent, Binding));
}

TEST_F(FReferenceResolutionComponentTest, LifetimeComponentNeverCountsEvenForEveryComponent)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Only = AddProducerComponent(Actor);
	const FVesk_ReferenceBinding Binding = BindAndPublish(Actor, MakeTestIdentity(1));
	// The producer actor also consumes a reference, which places the lifetime component on it.
	const TStrongObjectPtr<UVesk_ReferenceObservation> Observation(Subsystem->Observe(MakeTestIdentity(2), UObject::StaticClass(), nullptr, Actor));
	ASSERT_TRUE(Observation.IsValid());
	const UActorComponent* Lifetime = Actor->FindComponentByClass(StaticClass<UVesk_ReferenceConsumerLifetimeComponent>());
	ASSERT_NE(Lifetime, nullptr);
	ASSERT_TRUE(IsValid(Lifetime));
	ASSERT_FALSE(Lifetime->IsBeingDestroyed());

	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), UActorComponent::StaticClass()), Found(Actor, Only, Binding));
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), StaticClass<UVesk_ReferenceConsumerLifetimeComponent>()), Without(EStatus::MissingComponent, Binding));

	Only->DestroyComponent();
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), UActorComponent::StaticClass()), Without(EStatus::MissingComponent, Binding));
}

TEST_F(FReferenceResolutionComponentTest, ComponentsOfAChildActorDoNotCount)
{
	AVeskTestProducerActor* Parent = SpawnProducerActor();
	UChildActorComponent* ChildSlot = NewObject<UChildActorComponent>(Parent);
	ChildSlot->SetChildActorClass(AVeskTestProducerActor::StaticClass());
	ChildSlot->RegisterComponent();
	AActor* Child = ChildSlot->GetChildActor();
	ASSERT_NE(Child, nullptr);
	AddProducerComponent(Child);
	TInlineComponentArray<UVeskTestProducerComponent*> WithChildActors;
	Parent->GetComponents(WithChildActors, true);
	ASSERT_EQ(WithChildActors.Num(), 1);
	const FVesk_ReferenceBinding Binding = BindAndPublish(Parent, MakeTestIdentity(1));

	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), ProducerComponentClass()), Without(EStatus::MissingComponent, Binding));
	// The parent's own component that holds the child is one of its components; the child's are not.
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), UActorComponent::StaticClass()), Found(Parent, ChildSlot, Binding));

	UVeskTestProducerComponent* Own = AddProducerComponent(Parent);
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), ProducerComponentClass()), Found(Parent, Own, Binding));
}

TEST_F(FReferenceResolutionComponentTest, ComponentBeingDestroyedIsDropped)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestHookedComponent* Leaving = AddProducerComponent<UVeskTestHookedComponent>(Actor);
	UVeskTestProducerComponent* Staying = AddProducerComponent(Actor);
	const FVesk_ReferenceBinding Binding = BindAndPublish(Actor, MakeTestIdentity(1));
	ASSERT_EQ(Resolve(Binding.Id, AActor::StaticClass(), UActorComponent::StaticClass()), Without(EStatus::AmbiguousComponent, Binding));

	bool bHookRan = false;
	FResolvedState EveryComponent;
	FResolvedState ItsOwnClass;
	Leaving->EndPlayHook = [&](UVeskTestHookedComponent* Self)
	{
		bHookRan = true;
		ASSERT_TRUE(Self->IsBeingDestroyed());
		ASSERT_TRUE(Actor->OwnsComponent(Self));
		EveryComponent = Resolve(Binding.Id, AActor::StaticClass(), UActorComponent::StaticClass());
		ItsOwnClass = Resolve(Binding.Id, AActor::StaticClass(), UVeskTestHookedComponent::StaticClass());
	};

	Leaving->DestroyComponent();

	ASSERT_TRUE(bHookRan);
	EXPECT_EQ(EveryComponent, Found(Actor, Staying, Binding));
	EXPECT_EQ(ItsOwnClass, Without(EStatus::MissingComponent, Binding));
}

TEST_F(FReferenceResolutionComponentTest, ComponentMarkedAsGarbageIsDropped)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Garbage = AddProducerComponent(Actor);
	UVeskTestProducerComponent* Staying = AddProducerComponent(Actor);
	const FVesk_ReferenceBinding Binding = BindAndPublish(Actor, MakeTestIdentity(1));
	ASSERT_EQ(Resolve(Binding.Id, AActor::StaticClass(), ProducerComponentClass()), Without(EStatus::AmbiguousComponent, Binding));

	Garbage->MarkAsGarbage();

	ASSERT_TRUE(Actor->OwnsComponent(Garbage));
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), ProducerComponentClass()), Found(Actor, Staying, Binding));
}

TEST_F(FReferenceResolutionComponentTest, ComponentTypeThatIsNoComponentClassIsTypeMismatch)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	AddProducerComponent(Actor);
	const FVesk_ReferenceBinding Binding = BindAndPublish(Actor, MakeTestIdentity(1));

	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), UVeskTestProducerObject::StaticClass()), Without(EStatus::TypeMismatch, Binding));
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), AActor::StaticClass()), Without(EStatus::TypeMismatch, Binding));
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass(), UObject::StaticClass()), Without(EStatus::TypeMismatch, Binding));
}

TEST_F(FReferenceResolutionComponentTest, ComponentAskedOfAnythingButAnActorIsTypeMismatch)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	const FVesk_ReferenceBinding ComponentBinding = BindAndPublish(Component, MakeTestIdentity(1));
	const FVesk_ReferenceBinding ObjectBinding = BindAndPublish(NewProducerObject(), MakeTestIdentity(2));

	EXPECT_EQ(Resolve(ComponentBinding.Id, UActorComponent::StaticClass(), ProducerComponentClass()), Without(EStatus::TypeMismatch, ComponentBinding));
	EXPECT_EQ(Resolve(ObjectBinding.Id, UObject::StaticClass(), ProducerComponentClass()), Without(EStatus::TypeMismatch, ObjectBinding));
}

class FReferenceResolutionDestructionTest : public FReferenceResolutionTestBase
{
};

TEST_F(FReferenceResolutionDestructionTest, ActorBeingDestroyedIsUnavailableWhileItsEntrySaysAvailable)
{
	AVeskTestHookedActor* Actor = SpawnProducerActor<AVeskTestHookedActor>();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	const FVesk_ReferenceBinding ActorBinding = BindAndPublish(Actor, MakeTestIdentity(1));
	const FVesk_ReferenceBinding ComponentBinding = BindAndPublish(Component, MakeTestIdentity(2));

	bool bHookRan = false;
	FEntryState ActorEntry;
	FEntryState ComponentEntry;
	FResolvedState ActorResolved;
	FResolvedState ActorAsWrongType;
	FResolvedState ActorWithComponent;
	FResolvedState ComponentResolved;
	Actor->EndPlayHook = [&](AVeskTestHookedActor* Self)
	{
		bHookRan = true;
		ASSERT_TRUE(Self->IsActorBeingDestroyed());
		ASSERT_FALSE(Component->IsBeingDestroyed());
		ActorEntry = Entry(ActorBinding.Id);
		ComponentEntry = Entry(ComponentBinding.Id);
		ActorResolved = Resolve(ActorBinding.Id, AActor::StaticClass());
		ActorAsWrongType = Resolve(ActorBinding.Id, UActorComponent::StaticClass());
		ActorWithComponent = Resolve(ActorBinding.Id, AActor::StaticClass(), ProducerComponentClass());
		ComponentResolved = Resolve(ComponentBinding.Id, UActorComponent::StaticClass());
	};

	Actor->Destroy();

	ASSERT_TRUE(bHookRan);
	EXPECT_EQ(ActorEntry.Status, EStatus::Available);
	EXPECT_EQ(ComponentEntry.Status, EStatus::Available);
	EXPECT_EQ(ActorResolved, Without(EStatus::Unavailable, ActorBinding));
	EXPECT_EQ(ActorAsWrongType, Without(EStatus::Unavailable, ActorBinding));
	EXPECT_EQ(ActorWithComponent, Without(EStatus::Unavailable, ActorBinding));
	EXPECT_EQ(ComponentResolved, Without(EStatus::Unavailable, ComponentBinding));
	EXPECT_EQ(Resolve(ActorBinding.Id, AActor::StaticClass()), Without(EStatus::Unavailable, ActorBinding));
}

TEST_F(FReferenceResolutionDestructionTest, ComponentBeingDestroyedIsUnavailableWhileItsEntrySaysAvailable)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestHookedComponent* Component = AddProducerComponent<UVeskTestHookedComponent>(Actor);
	const FVesk_ReferenceBinding Binding = BindAndPublish(Component, MakeTestIdentity(1));

	bool bHookRan = false;
	FEntryState DuringEntry;
	FResolvedState During;
	FResolvedState DuringAsWrongType;
	Component->EndPlayHook = [&](UVeskTestHookedComponent* Self)
	{
		bHookRan = true;
		ASSERT_TRUE(Self->IsBeingDestroyed());
		ASSERT_TRUE(IsValid(Self));
		DuringEntry = Entry(Binding.Id);
		During = Resolve(Binding.Id, UActorComponent::StaticClass());
		DuringAsWrongType = Resolve(Binding.Id, AActor::StaticClass());
	};

	Component->DestroyComponent();

	ASSERT_TRUE(bHookRan);
	EXPECT_EQ(DuringEntry.Status, EStatus::Available);
	EXPECT_EQ(During, Without(EStatus::Unavailable, Binding));
	EXPECT_EQ(DuringAsWrongType, Without(EStatus::Unavailable, Binding));
}

class FReferenceResolutionSavedIdentityTest : public FReferenceResolutionTestBase
{
};

TEST_F(FReferenceResolutionSavedIdentityTest, IdentityTheSaveModuleNowGivesAnotherObjectIsUnavailable)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginSavedBinding(Actor);
	ASSERT_TRUE(Subsystem->Publish(Binding));
	ASSERT_EQ(Resolve(Binding.Id, AActor::StaticClass()), Found(Actor, nullptr, Binding));

	UVesk_SaveSubsystem::Get()->SetGuidForObject(Actor, MakeTestIdentity(9));

	EXPECT_EQ(Entry(Binding.Id).Status, EStatus::Available);
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass()), Without(EStatus::Unavailable, Binding));
	EXPECT_EQ(Resolve(MakeTestIdentity(9), AActor::StaticClass()), NoEntry());

	// Asked again on every resolution: mapped back, the same entry resolves again.
	UVesk_SaveSubsystem::Get()->SetGuidForObject(Actor, Binding.Id);
	EXPECT_EQ(Resolve(Binding.Id, AActor::StaticClass()), Found(Actor, nullptr, Binding));
}

TEST_F(FReferenceResolutionSavedIdentityTest, ExplicitIdentityIsNotCheckedAgainstTheSaveModule)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const FGuid SavedIdentity = UVesk_SaveSubsystem::Get()->FindOrAddGuidByObject(Object);
	const FVesk_ReferenceBinding Binding = BindAndPublish(Object, MakeTestIdentity(1));
	ASSERT_NE(SavedIdentity, Binding.Id);

	EXPECT_EQ(Resolve(Binding.Id, UObject::StaticClass()), Found(Object, nullptr, Binding));
}

class FReferenceResolutionSideEffectTest : public FReferenceResolutionTestBase
{
protected:
	static TArray<uint8> SavedBytes()
	{
		TArray<uint8> Bytes;
		UVesk_SaveSubsystem::Get()->SaveToBytes(Bytes);
		return Bytes;
	}
};

TEST_F(FReferenceResolutionSideEffectTest, ResolveChangesNothing)
{
	AVeskTestProducerActor* Crowded = SpawnProducerActor();
	AddProducerComponent(Crowded);
	AddProducerComponent(Crowded);
	AVeskTestProducerActor* Ended = SpawnProducerActor();
	AVeskTestProducerActor* Destroyed = SpawnProducerActor();
	UVeskTestProducerObject* SavedObject = NewProducerObject();
	UVeskTestProducerObject* Watched = NewProducerObject();
	UVeskTestListener* Probe = NewObject<UVeskTestListener>(World.Get());
	const TStrongObjectPtr<UVeskTestListener> KeepProbe(Probe);

	TArray<FGuid> Identities = { FGuid(), MakeTestIdentity(99) };
	Identities.Add(BindAndPublish(Crowded, MakeTestIdentity(1)).Id);
	Identities.Add(Bind(NewProducerObject(), MakeTestIdentity(2)).Id);
	const FVesk_ReferenceBinding Withdrawn = BindAndPublish(NewProducerObject(), MakeTestIdentity(3));
	ASSERT_TRUE(Subsystem->Withdraw(Withdrawn));
	Identities.Add(Withdrawn.Id);
	const FVesk_ReferenceBinding Removed = BindAndPublish(NewProducerObject(), MakeTestIdentity(4));
	ASSERT_TRUE(Subsystem->RemovePermanently(Removed));
	Identities.Add(Removed.Id);
	Identities.Add(BindAndPublish(Ended, MakeTestIdentity(5)).Id);
	Ended->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
	Identities.Add(BindAndPublish(Destroyed, MakeTestIdentity(6)).Id);
	Destroyed->Destroy();
	const FVesk_ReferenceBinding Saved = Subsystem->BeginSavedBinding(SavedObject);
	ASSERT_TRUE(Subsystem->Publish(Saved));
	Identities.Add(Saved.Id);
	Identities.Add(BindAndPublish(Watched, MakeTestIdentity(7)).Id);

	const TStrongObjectPtr<UVesk_ReferenceObservation> Observation(Subsystem->Observe(MakeTestIdentity(7), UObject::StaticClass(), nullptr, Probe));
	ASSERT_TRUE(Observation.IsValid());
	Observation->OnChanged.AddDynamic(Probe, &UVeskTestListener::HandleChanged);
	// The registry is not told of this; any notification pass from here on reports it.
	Watched->MarkAsGarbage();

	TArray<FEntryState> EntriesBefore;
	for (const FGuid& Identity : Identities)
	{
		EntriesBefore.Add(Entry(Identity));
	}
	const int32 NumEntriesBefore = Access::NumEntries(*Subsystem);
	const int64 NextGenerationBefore = NextGeneration();
	const int32 NumEndedBefore = Access::NumEndedActors(*Subsystem);
	ASSERT_EQ(NumEndedBefore, 2);
	ASSERT_TRUE(Access::HasEnded(*Subsystem, Ended));
	const EStatus ObservedBefore = Observation->GetStatus();
	ASSERT_EQ(ObservedBefore, EStatus::Available);
	const TArray<uint8> SavedBefore = SavedBytes();

	UClass* const ExpectedTypes[] = { nullptr, UObject::StaticClass(), AActor::StaticClass(), UVeskTestProducerObject::StaticClass() };
	UClass* const ComponentTypes[] = { nullptr, UActorComponent::StaticClass(), ProducerComponentClass(), UVeskTestProducerObject::StaticClass() };
	auto ResolveEverything = [&]
	{
		for (const FGuid& Identity : Identities)
		{
			for (UClass* ExpectedType : ExpectedTypes)
			{
				for (UClass* ComponentType : ComponentTypes)
				{
					Subsystem->Resolve(Identity, ExpectedType, ComponentType);
				}
			}
		}
	};
	ResolveEverything();
	ResolveEverything();

	for (int32 Index = 0; Index < Identities.Num(); ++Index)
	{
		EXPECT_EQ(Entry(Identities[Index]), EntriesBefore[Index]) << "identity " << Index;
	}
	EXPECT_EQ(Access::NumEntries(*Subsystem), NumEntriesBefore);
	EXPECT_EQ(NextGeneration(), NextGenerationBefore);
	EXPECT_EQ(Access::NumEndedActors(*Subsystem), NumEndedBefore);
	EXPECT_TRUE(Access::HasEnded(*Subsystem, Ended));
	EXPECT_EQ(Probe->NumCalls(), 0);
	EXPECT_EQ(Observation->GetStatus(), ObservedBefore);
	EXPECT_EQ(SavedBytes(), SavedBefore);

	// A tick does what resolution must not: it prunes the destroyed actor and tells the observer.
	World.Tick();
	EXPECT_EQ(Access::NumEndedActors(*Subsystem), NumEndedBefore - 1);
	EXPECT_EQ(Probe->NumCalls(), 1);
	EXPECT_EQ(Observation->GetStatus(), EStatus::Unavailable);
}
