#include "Vesk_TypedReference.h"

#include "UObject/StrongObjectPtr.h"
#include "Vesk_ReferenceObservation.h"
#include "VeskToolsTestSupport.h"

#include <gtest/gtest.h>

#include <type_traits>

using EStatus = EVesk_ReferenceStatus;

class FTypedReferenceTest : public FVeskToolsTestBase
{
protected:
	// What the untyped Resolve answers for the same question, for comparison.
	FVesk_ResolvedReference Direct(const FGuid& Identity, UClass* ExpectedType, UClass* ComponentType = nullptr) const
	{
		return Registry->Resolve(Identity, ExpectedType, ComponentType);
	}
};

TEST_F(FTypedReferenceTest, HoldsOnlyTheUntypedReferenceAndConvertsBothWays)
{
	static_assert(sizeof(TVesk_PersistentReference<AVeskToolsTestActor>) == sizeof(FVesk_PersistentReference));
	static_assert(std::is_convertible_v<FVesk_PersistentReference, TVesk_PersistentReference<AVeskToolsTestActor>>);
	static_assert(std::is_convertible_v<TVesk_PersistentReference<AVeskToolsTestDerivedActor>, TVesk_PersistentReference<AVeskToolsTestActor>>);
	static_assert(!std::is_convertible_v<TVesk_PersistentReference<AVeskToolsTestActor>, TVesk_PersistentReference<AVeskToolsTestDerivedActor>>);

	FVesk_PersistentReference Stored;
	Stored.Id = ToolsTestIdentity(1);
	const TVesk_PersistentReference<AVeskToolsTestActor> Typed = Stored;
	EXPECT_EQ(Typed.GetId(), Stored.Id);
	EXPECT_EQ(Typed.ToPersistentReference(), Stored);
	EXPECT_EQ(GetTypeHash(Typed), GetTypeHash(Stored));
	EXPECT_FALSE(Typed.IsNull());

	const TVesk_PersistentReference<AVeskToolsTestDerivedActor> Derived(ToolsTestIdentity(1));
	const TVesk_PersistentReference<AVeskToolsTestActor> AsBase = Derived;
	EXPECT_TRUE(AsBase == Typed);
	EXPECT_FALSE(AsBase == TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(2)));

	TVesk_PersistentReference<AVeskToolsTestActor> Cleared = Typed;
	Cleared.Reset();
	EXPECT_TRUE(Cleared.IsNull());
	EXPECT_EQ(Cleared.ToPersistentReference(), FVesk_PersistentReference());
}

TEST_F(FTypedReferenceTest, ResolvesAnObjectOfItsClassToAPointerOfItsClass)
{
	AVeskToolsTestDerivedActor* Producer = SpawnActor<AVeskToolsTestDerivedActor>();
	const FVesk_ReferenceBinding Binding = BindAndPublish(Producer, ToolsTestIdentity(1));

	const TVesk_ResolvedReference<AVeskToolsTestActor> AsBase = TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(1)).Resolve(Producer);
	EXPECT_EQ(AsBase.Status, EStatus::Available);
	EXPECT_EQ(AsBase.Get(), Producer);
	EXPECT_TRUE(AsBase);
	EXPECT_EQ(AsBase.Generation, Binding.Generation);

	const TVesk_ResolvedReference<AVeskToolsTestDerivedActor> AsItself = TVesk_PersistentReference<AVeskToolsTestDerivedActor>(ToolsTestIdentity(1)).Resolve(*Registry);
	EXPECT_EQ(AsItself.Status, EStatus::Available);
	EXPECT_EQ(AsItself.Object, Producer);
}

TEST_F(FTypedReferenceTest, AnObjectOfAnotherClassIsAMismatchWithoutAPointer)
{
	AVeskToolsTestActor* Producer = SpawnActor<AVeskToolsTestActor>();
	const FVesk_ReferenceBinding Binding = BindAndPublish(Producer, ToolsTestIdentity(1));

	const TVesk_ResolvedReference<AVeskToolsTestDerivedActor> AsDerived = TVesk_PersistentReference<AVeskToolsTestDerivedActor>(ToolsTestIdentity(1)).Resolve(Producer);
	EXPECT_EQ(AsDerived.Status, EStatus::TypeMismatch);
	EXPECT_EQ(AsDerived.Object, nullptr);
	EXPECT_FALSE(AsDerived);
	EXPECT_EQ(AsDerived.Generation, Binding.Generation);

	const TVesk_ResolvedReference<UActorComponent> AsComponent = TVesk_PersistentReference<UActorComponent>(ToolsTestIdentity(1)).Resolve(Producer);
	EXPECT_EQ(AsComponent.Status, EStatus::TypeMismatch);
	EXPECT_EQ(AsComponent.Object, nullptr);
}

TEST_F(FTypedReferenceTest, EveryStatusIsTheOneTheUntypedResolveGives)
{
	AVeskToolsTestActor* Published = SpawnActor<AVeskToolsTestActor>();
	BindAndPublish(Published, ToolsTestIdentity(1));
	Bind(SpawnActor<AVeskToolsTestActor>(), ToolsTestIdentity(2));
	const FVesk_ReferenceBinding Removed = BindAndPublish(NewWorldObject(), ToolsTestIdentity(3));
	Registry->RemovePermanently(Removed);
	const FVesk_ReferenceBinding Withdrawn = BindAndPublish(SpawnActor<AVeskToolsTestActor>(), ToolsTestIdentity(4));
	Registry->Withdraw(Withdrawn);
	BindAndPublish(NewWorldObject(), ToolsTestIdentity(5));

	for (uint32 Index = 0; Index <= 6; ++Index)
	{
		const FGuid Identity = Index == 0 ? FGuid() : ToolsTestIdentity(Index);
		SCOPED_TRACE(Index);
		const FVesk_ResolvedReference Expected = Direct(Identity, AVeskToolsTestActor::StaticClass());
		const TVesk_ResolvedReference<AVeskToolsTestActor> Typed = TVesk_PersistentReference<AVeskToolsTestActor>(Identity).Resolve(Published);
		EXPECT_EQ(Typed.Status, Expected.Status);
		EXPECT_EQ(Typed.Object, Expected.Object);
		EXPECT_EQ(Typed.Generation, Expected.Generation);
	}
	EXPECT_EQ(TVesk_PersistentReference<AVeskToolsTestActor>().Resolve(Published).Status, EStatus::Empty);
	EXPECT_EQ(TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(2)).Resolve(Published).Status, EStatus::Initializing);
	EXPECT_EQ(TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(3)).Resolve(Published).Status, EStatus::Removed);
	EXPECT_EQ(TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(5)).Resolve(Published).Status, EStatus::TypeMismatch);
}

TEST_F(FTypedReferenceTest, WithoutARegistryAReferenceIsUnavailableOrEmpty)
{
	BindAndPublish(SpawnActor<AVeskToolsTestActor>(), ToolsTestIdentity(1));
	UVeskToolsTestObject* Outside = NewObject<UVeskToolsTestObject>();
	ASSERT_EQ(Outside->GetWorld(), nullptr);

	const TVesk_ResolvedReference<AVeskToolsTestActor> Resolved = TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(1)).Resolve(Outside);
	EXPECT_EQ(Resolved.Status, EStatus::Unavailable);
	EXPECT_EQ(Resolved.Object, nullptr);
	EXPECT_EQ(Resolved.Generation, 0);
	EXPECT_EQ(TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(1)).Resolve(nullptr).Status, EStatus::Unavailable);
	EXPECT_EQ(TVesk_PersistentReference<AVeskToolsTestActor>().Resolve(Outside).Status, EStatus::Empty);
	EXPECT_EQ(TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(1)).ResolveComponent<UVeskToolsTestComponent>(Outside).Status, EStatus::Unavailable);
}

TEST_F(FTypedReferenceTest, NarrowingToAComponentGivesTheActorAndItsOneComponentTyped)
{
	AVeskToolsTestActor* Producer = SpawnActor<AVeskToolsTestActor>();
	UVeskToolsTestComponent* Component = AddComponent<UVeskToolsTestComponent>(Producer);
	AddComponent<UVeskToolsTestOtherComponent>(Producer);
	BindAndPublish(Producer, ToolsTestIdentity(1));
	const TVesk_PersistentReference<AVeskToolsTestActor> Reference(ToolsTestIdentity(1));

	const TVesk_ResolvedComponent<AVeskToolsTestActor, UVeskToolsTestComponent> Found = Reference.ResolveComponent<UVeskToolsTestComponent>(Producer);
	EXPECT_EQ(Found.Status, EStatus::Available);
	EXPECT_EQ(Found.Object, Producer);
	EXPECT_EQ(Found.Get(), Component);
	EXPECT_TRUE(Found);

	AddComponent<UVeskToolsTestComponent>(Producer);
	const TVesk_ResolvedComponent<AVeskToolsTestActor, UVeskToolsTestComponent> Ambiguous = Reference.ResolveComponent<UVeskToolsTestComponent>(*Registry);
	EXPECT_EQ(Ambiguous.Status, EStatus::AmbiguousComponent);
	EXPECT_EQ(Ambiguous.Object, nullptr);
	EXPECT_EQ(Ambiguous.Component, nullptr);

	AVeskToolsTestActor* Bare = SpawnActor<AVeskToolsTestActor>();
	BindAndPublish(Bare, ToolsTestIdentity(2));
	EXPECT_EQ(TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(2)).ResolveComponent<UVeskToolsTestComponent>(Bare).Status, EStatus::MissingComponent);
	EXPECT_EQ(TVesk_PersistentReference<AVeskToolsTestOtherActor>(ToolsTestIdentity(2)).ResolveComponent<UVeskToolsTestComponent>(Bare).Status, EStatus::TypeMismatch);
}

TEST_F(FTypedReferenceTest, ObservingAsksForTheClassAndTheComponentClass)
{
	AVeskToolsTestActor* Producer = SpawnActor<AVeskToolsTestActor>();
	AddComponent<UVeskToolsTestComponent>(Producer);
	BindAndPublish(Producer, ToolsTestIdentity(1));
	AVeskToolsTestActor* Consumer = SpawnActor<AVeskToolsTestActor>();

	const TStrongObjectPtr<UVesk_ReferenceObservation> AsActor(TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(1)).Observe(Consumer));
	const TStrongObjectPtr<UVesk_ReferenceObservation> AsOther(TVesk_PersistentReference<AVeskToolsTestOtherActor>(ToolsTestIdentity(1)).Observe(Consumer));
	const TStrongObjectPtr<UVesk_ReferenceObservation> AsComponent(TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(1)).ObserveComponent<UVeskToolsTestComponent>(Consumer));
	const TStrongObjectPtr<UVesk_ReferenceObservation> AsMissing(TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(1)).ObserveComponent<UVeskToolsTestOtherComponent>(Consumer));
	ASSERT_TRUE(AsActor && AsOther && AsComponent && AsMissing);
	EXPECT_EQ(AsActor->GetStatus(), EStatus::Available);
	EXPECT_EQ(AsOther->GetStatus(), EStatus::TypeMismatch);
	EXPECT_EQ(AsComponent->GetStatus(), EStatus::Available);
	EXPECT_EQ(AsMissing->GetStatus(), EStatus::MissingComponent);

	UVeskToolsTestObject* Outside = NewObject<UVeskToolsTestObject>();
	EXPECT_EQ(TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(1)).Observe(Outside), nullptr);
	EXPECT_EQ(TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(1)).ObserveComponent<UVeskToolsTestComponent>(nullptr), nullptr);
}
