#include "Vesk_ReferenceResolutionExplanation.h"

#include "UObject/StrongObjectPtr.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceRegistryView.h"
#include "VeskToolsTestSupport.h"

#include <gtest/gtest.h>

using EStatus = EVesk_ReferenceStatus;
using EStep = EVesk_ReferenceResolutionStep;

class FResolutionExplanationTest : public FVeskToolsTestBase
{
protected:
	// Every explanation must give the status that Resolve gives for the same question.
	FVesk_ReferenceResolutionExplanation Explain(const FGuid& Identity, UClass* ExpectedType = UObject::StaticClass(), UClass* ComponentType = nullptr) const
	{
		const FVesk_ReferenceResolutionExplanation Explanation = FVesk_ReferenceResolutionExplanation::Explain(*Registry, Identity, ExpectedType, ComponentType);
		EXPECT_EQ(Explanation.Status, Registry->Resolve(Identity, ExpectedType, ComponentType).Status) << Utf8(Explanation.ToString());
		return Explanation;
	}

	static void ExpectStep(const FVesk_ReferenceResolutionExplanation& Explanation, EStatus Status, EStep Step, const TCHAR* Reason)
	{
		EXPECT_EQ(Explanation.Status, Status) << Utf8(Explanation.ToString());
		EXPECT_EQ(Explanation.Step, Step) << Utf8(Explanation.ToString());
		EXPECT_EQ(Explanation.Reason, FString(Reason));
	}
};

TEST_F(FResolutionExplanationTest, AZeroIdentityHoldsNoIdentity)
{
	ExpectStep(Explain(FGuid()), EStatus::Empty, EStep::EmptyIdentity, TEXT("the reference holds no identity"));
	ExpectStep(Explain(FGuid(), nullptr), EStatus::Empty, EStep::EmptyIdentity, TEXT("the reference holds no identity"));
}

TEST_F(FResolutionExplanationTest, AnIdentityNobodyBoundHasNoEntry)
{
	BindAndPublish(NewWorldObject(), ToolsTestIdentity(1));
	ExpectStep(Explain(ToolsTestIdentity(2)), EStatus::Unavailable, EStep::NoEntry, TEXT("no producer has bound this identity in this world"));
}

TEST_F(FResolutionExplanationTest, ATornDownRegistryResolvesNothing)
{
	BindAndPublish(SpawnActor(), ToolsTestIdentity(1));
	World.Destroy();
	ExpectStep(Explain(ToolsTestIdentity(1)), EStatus::Unavailable, EStep::RegistryTornDown, TEXT("the registry was torn down with its world"));
}

TEST_F(FResolutionExplanationTest, ARemovedIdentityIsRemovedWhateverIsAsked)
{
	const FVesk_ReferenceBinding Binding = BindAndPublish(SpawnActor(), ToolsTestIdentity(1));
	Registry->RemovePermanently(Binding);
	const FVesk_ReferenceResolutionExplanation Explanation = Explain(ToolsTestIdentity(1), nullptr, UObject::StaticClass());
	ExpectStep(Explanation, EStatus::Removed, EStep::Removed, TEXT("the identity was removed permanently"));
	EXPECT_EQ(Explanation.Detail, FString::Printf(TEXT("generation %lld"), (long long)Binding.Generation));
}

TEST_F(FResolutionExplanationTest, AWithdrawnIdentityWasReleased)
{
	Registry->Withdraw(BindAndPublish(SpawnActor(), ToolsTestIdentity(1)));
	ExpectStep(Explain(ToolsTestIdentity(1)), EStatus::Unavailable, EStep::Released, TEXT("the producer withdrew it, or its actor ended play"));
}

TEST_F(FResolutionExplanationTest, AnIdentityWhoseActorEndedPlayWasReleased)
{
	AVeskToolsTestActor* Producer = SpawnActor();
	BindAndPublish(AddComponent(Producer), ToolsTestIdentity(1));
	Producer->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
	ExpectStep(Explain(ToolsTestIdentity(1)), EStatus::Unavailable, EStep::Released, TEXT("the producer withdrew it, or its actor ended play"));
}

TEST_F(FResolutionExplanationTest, AnObjectMarkedAsGarbageIsGone)
{
	UVeskToolsTestObject* Producer = NewWorldObject();
	BindAndPublish(Producer, ToolsTestIdentity(1));
	Producer->MarkAsGarbage();
	ExpectStep(Explain(ToolsTestIdentity(1)), EStatus::Unavailable, EStep::ObjectGone, TEXT("the bound object was destroyed or marked as garbage"));
}

TEST_F(FResolutionExplanationTest, ASavedIdentityTheSaveModuleMovedNoLongerResolves)
{
	AVeskToolsTestActor* Producer = SpawnActor(TEXT("Archive"));
	const FVesk_ReferenceBinding Binding = Registry->BeginSavedBinding(Producer);
	ASSERT_TRUE(Registry->Publish(Binding));
	const FGuid Moved(0xDEADBEEFu, 1u, 2u, 3u);
	UVesk_SaveSubsystem::Get()->SetGuidForObject(Producer, Moved);

	const FVesk_ReferenceResolutionExplanation Explanation = Explain(Binding.Id);
	ExpectStep(Explanation, EStatus::Unavailable, EStep::SavedIdentityMoved, TEXT("the save module now maps this object to another identity"));
	EXPECT_EQ(Explanation.Detail, FString(TEXT("Archive now answers to ")) + Moved.ToString(EGuidFormats::Digits));
}

TEST_F(FResolutionExplanationTest, AComponentBeingDestroyedIsUnavailable)
{
	AVeskToolsTestActor* Owner = SpawnActor();
	UVeskToolsTestHookedComponent* Producer = AddComponent<UVeskToolsTestHookedComponent>(Owner, TEXT("Lantern"));
	BindAndPublish(Producer, ToolsTestIdentity(1));
	bool bExplained = false;
	Producer->EndPlayHook = [this, &bExplained](UVeskToolsTestHookedComponent* Component)
	{
		ASSERT_TRUE(Component->IsBeingDestroyed());
		const FVesk_ReferenceResolutionExplanation Explanation = Explain(ToolsTestIdentity(1));
		ExpectStep(Explanation, EStatus::Unavailable, EStep::ComponentBeingDestroyed, TEXT("the bound component is being destroyed"));
		EXPECT_EQ(Explanation.Detail, FString(TEXT("Lantern")));
		bExplained = true;
	};
	Producer->DestroyComponent();
	EXPECT_TRUE(bExplained);
}

TEST_F(FResolutionExplanationTest, AnObjectWhoseOwningActorIsBeingDestroyedIsUnavailable)
{
	AVeskToolsTestHookedActor* Owner = SpawnActor<AVeskToolsTestHookedActor>(TEXT("Mill"));
	BindAndPublish(Owner, ToolsTestIdentity(1));
	BindAndPublish(AddComponent(Owner, TEXT("Sails")), ToolsTestIdentity(2));
	bool bExplained = false;
	Owner->EndPlayHook = [this, &bExplained](AVeskToolsTestHookedActor* Actor)
	{
		ASSERT_TRUE(Actor->IsActorBeingDestroyed());
		// Being destroyed decides before the class does: the wrong class asked changes nothing.
		const FVesk_ReferenceResolutionExplanation OfActor = Explain(ToolsTestIdentity(1), AVeskToolsTestOtherActor::StaticClass());
		ExpectStep(OfActor, EStatus::Unavailable, EStep::OwnerBeingDestroyed, TEXT("the owning actor is being destroyed"));
		EXPECT_EQ(OfActor.Detail, FString(TEXT("Mill, owned by Mill")));
		const FVesk_ReferenceResolutionExplanation OfComponent = Explain(ToolsTestIdentity(2));
		ExpectStep(OfComponent, EStatus::Unavailable, EStep::OwnerBeingDestroyed, TEXT("the owning actor is being destroyed"));
		EXPECT_EQ(OfComponent.Detail, FString(TEXT("Sails, owned by Mill")));
		bExplained = true;
	};
	Owner->Destroy();
	EXPECT_TRUE(bExplained);
}

TEST_F(FResolutionExplanationTest, NoExpectedClassIsAMismatch)
{
	BindAndPublish(SpawnActor<AVeskToolsTestActor>(TEXT("Gate")), ToolsTestIdentity(1));
	const FVesk_ReferenceResolutionExplanation Explanation = Explain(ToolsTestIdentity(1), nullptr);
	ExpectStep(Explanation, EStatus::TypeMismatch, EStep::NoExpectedClass, TEXT("no expected class was given"));
	EXPECT_EQ(Explanation.Detail, FString(TEXT("Gate is a VeskToolsTestActor")));
}

TEST_F(FResolutionExplanationTest, AnObjectOfAnotherClassIsAMismatchEvenBeforePublication)
{
	Bind(SpawnActor<AVeskToolsTestActor>(TEXT("Gate")), ToolsTestIdentity(1));
	const FVesk_ReferenceResolutionExplanation Explanation = Explain(ToolsTestIdentity(1), AVeskToolsTestOtherActor::StaticClass());
	ExpectStep(Explanation, EStatus::TypeMismatch, EStep::WrongClass, TEXT("the bound object is not of the expected class"));
	EXPECT_EQ(Explanation.Detail, FString(TEXT("Gate is a VeskToolsTestActor, not a VeskToolsTestOtherActor")));
}

TEST_F(FResolutionExplanationTest, ABoundProducerThatHasNotPublishedIsInitializing)
{
	const FVesk_ReferenceBinding Binding = Bind(SpawnActor<AVeskToolsTestActor>(TEXT("Gate")), ToolsTestIdentity(1));
	const FVesk_ReferenceResolutionExplanation Explanation = Explain(ToolsTestIdentity(1), AActor::StaticClass(), UVeskToolsTestComponent::StaticClass());
	ExpectStep(Explanation, EStatus::Initializing, EStep::NotPublished, TEXT("the producer has bound it but not published it yet"));
	EXPECT_EQ(Explanation.Detail, FString::Printf(TEXT("Gate, generation %lld"), (long long)Binding.Generation));
}

TEST_F(FResolutionExplanationTest, AComponentAskedOfAComponentIsAMismatch)
{
	BindAndPublish(AddComponent(SpawnActor(), TEXT("Hinge")), ToolsTestIdentity(1));
	const FVesk_ReferenceResolutionExplanation Explanation = Explain(ToolsTestIdentity(1), UObject::StaticClass(), UVeskToolsTestComponent::StaticClass());
	ExpectStep(Explanation, EStatus::TypeMismatch, EStep::NotAnActor, TEXT("a component was asked of an object that is not an actor"));
	EXPECT_EQ(Explanation.Detail, FString(TEXT("Hinge is a VeskToolsTestComponent")));
}

TEST_F(FResolutionExplanationTest, AComponentClassThatIsNoComponentClassIsAMismatch)
{
	BindAndPublish(SpawnActor(), ToolsTestIdentity(1));
	const FVesk_ReferenceResolutionExplanation Explanation = Explain(ToolsTestIdentity(1), UObject::StaticClass(), AActor::StaticClass());
	ExpectStep(Explanation, EStatus::TypeMismatch, EStep::NotAComponentClass, TEXT("the requested component class is not a component class"));
	EXPECT_EQ(Explanation.Detail, FString(TEXT("Actor is not a component class")));
}

TEST_F(FResolutionExplanationTest, AnActorWithoutTheComponentIsMissingIt)
{
	AVeskToolsTestActor* Producer = SpawnActor(TEXT("Barn"));
	AddComponent<UVeskToolsTestOtherComponent>(Producer);
	BindAndPublish(Producer, ToolsTestIdentity(1));
	const FVesk_ReferenceResolutionExplanation Explanation = Explain(ToolsTestIdentity(1), UObject::StaticClass(), UVeskToolsTestComponent::StaticClass());
	ExpectStep(Explanation, EStatus::MissingComponent, EStep::NoMatchingComponent, TEXT("the actor has no component of the requested class"));
	EXPECT_EQ(Explanation.Detail, FString(TEXT("Barn has no VeskToolsTestComponent")));
}

TEST_F(FResolutionExplanationTest, AnActorWithSeveralOfTheComponentIsAmbiguousAndNamesThem)
{
	AVeskToolsTestActor* Producer = SpawnActor(TEXT("Barn"));
	AddComponent(Producer, TEXT("Trough"));
	AddComponent(Producer, TEXT("Bucket"));
	BindAndPublish(Producer, ToolsTestIdentity(1));
	const FVesk_ReferenceResolutionExplanation Explanation = Explain(ToolsTestIdentity(1), UObject::StaticClass(), UVeskToolsTestComponent::StaticClass());
	ExpectStep(Explanation, EStatus::AmbiguousComponent, EStep::SeveralMatchingComponents, TEXT("the actor has more than one component of the requested class"));
	EXPECT_EQ(Explanation.Detail, FString(TEXT("Barn has 2 of class VeskToolsTestComponent: Bucket, Trough")));
}

TEST_F(FResolutionExplanationTest, AvailableObjectsAndComponentsAreFound)
{
	AVeskToolsTestActor* Producer = SpawnActor(TEXT("Barn"));
	AddComponent(Producer, TEXT("Trough"));
	BindAndPublish(Producer, ToolsTestIdentity(1));
	const FVesk_ReferenceResolutionExplanation Object = Explain(ToolsTestIdentity(1));
	ExpectStep(Object, EStatus::Available, EStep::ObjectFound, TEXT("the bound object is published and live"));
	EXPECT_EQ(Object.Detail, FString(TEXT("Barn")));
	const FVesk_ReferenceResolutionExplanation Component = Explain(ToolsTestIdentity(1), AActor::StaticClass(), UVeskToolsTestComponent::StaticClass());
	ExpectStep(Component, EStatus::Available, EStep::ComponentFound, TEXT("the actor has exactly one component of the requested class"));
	EXPECT_EQ(Component.Detail, FString(TEXT("Trough of Barn")));
}

TEST_F(FResolutionExplanationTest, TheRegistrysOwnLifetimeComponentNeverCounts)
{
	AVeskToolsTestActor* Producer = SpawnActor(TEXT("Barn"));
	AddComponent(Producer, TEXT("Trough"));
	BindAndPublish(Producer, ToolsTestIdentity(1));
	// Observing from the producer puts the registry's lifetime component on it.
	const TStrongObjectPtr<UVesk_ReferenceObservation> Observation(Registry->Observe(ToolsTestIdentity(2), UObject::StaticClass(), nullptr, Producer));
	ASSERT_TRUE(Observation);
	ASSERT_EQ(Producer->GetComponents().Num(), 2);

	const FVesk_ReferenceResolutionExplanation Explanation = Explain(ToolsTestIdentity(1), UObject::StaticClass(), UActorComponent::StaticClass());
	ExpectStep(Explanation, EStatus::Available, EStep::ComponentFound, TEXT("the actor has exactly one component of the requested class"));
	EXPECT_EQ(Explanation.Detail, FString(TEXT("Trough of Barn")));
}

TEST_F(FResolutionExplanationTest, TheTextNamesStatusStepReasonAndDetail)
{
	Bind(SpawnActor<AVeskToolsTestActor>(TEXT("Gate")), ToolsTestIdentity(1));
	EXPECT_EQ(Explain(ToolsTestIdentity(1), AVeskToolsTestOtherActor::StaticClass()).ToString(),
		FString(TEXT("TypeMismatch (WrongClass): the bound object is not of the expected class; Gate is a VeskToolsTestActor, not a VeskToolsTestOtherActor")));
	EXPECT_EQ(Explain(ToolsTestIdentity(2)).ToString(), FString(TEXT("Unavailable (NoEntry): no producer has bound this identity in this world")));
	EXPECT_EQ(FString(LexToString(EStep::SavedIdentityMoved)), FString(TEXT("SavedIdentityMoved")));
}

TEST_F(FResolutionExplanationTest, ExplainingChangesNothing)
{
	AVeskToolsTestActor* Producer = SpawnActor(TEXT("Barn"));
	BindAndPublish(Producer, ToolsTestIdentity(1));
	Bind(NewWorldObject(), ToolsTestIdentity(2));
	const FVesk_ReferenceRegistryView Before(*Registry);
	for (uint32 Index = 0; Index <= 3; ++Index)
	{
		Explain(ToolsTestIdentity(Index), AActor::StaticClass(), UVeskToolsTestComponent::StaticClass());
	}
	const FVesk_ReferenceRegistryView After(*Registry);
	ASSERT_EQ(After.Entries.Num(), Before.Entries.Num());
	for (int32 Index = 0; Index < Before.Entries.Num(); ++Index)
	{
		EXPECT_EQ(After.Entries[Index].Identity, Before.Entries[Index].Identity);
		EXPECT_EQ(After.Entries[Index].Status, Before.Entries[Index].Status);
		EXPECT_EQ(After.Entries[Index].Generation, Before.Entries[Index].Generation);
	}
	EXPECT_EQ(After.LastGeneration, Before.LastGeneration);
	EXPECT_EQ(After.Observations.Num(), Before.Observations.Num());
}
