#include "Vesk_ReferenceConsumerLifetimeComponent.h"

#include "UObject/StrongObjectPtr.h"
#include "UObject/UObjectHash.h"
#include "Vesk_ReferenceObservation.h"
#include "VeskReferenceTestSupport.h"
#include "VeskTestListeners.h"

#include <gtest/gtest.h>

#include <vector>

class FConsumerLifetimeComponentTest : public FVeskReferenceTestBase
{
protected:
	explicit FConsumerLifetimeComponentTest(bool bBeginPlay = true)
		: FVeskReferenceTestBase(bBeginPlay)
	{
	}

	// The consumer must keep its observation; the test keeps every one it makes.
	UVesk_ReferenceObservation* Observe(UObject* Consumer)
	{
		UVesk_ReferenceObservation* Observation = Subsystem->Observe(MakeTestIdentity(1), UObject::StaticClass(), nullptr, Consumer);
		EXPECT_NE(Observation, nullptr) << "observing from " << Utf8(Consumer->GetName());
		Observations.emplace_back(Observation);
		return Observation;
	}

	// The class's own members are not exported from the module; its reflected class is.
	static UClass* LifetimeClass()
	{
		return StaticClass<UVesk_ReferenceConsumerLifetimeComponent>();
	}

	static TArray<UVesk_ReferenceConsumerLifetimeComponent*> LifetimeComponentsOf(const AActor* Actor)
	{
		TArray<UVesk_ReferenceConsumerLifetimeComponent*> Found;
		for (UActorComponent* Component : TInlineComponentArray<UActorComponent*>(Actor))
		{
			if (Component->IsA(LifetimeClass()))
			{
				Found.Add(static_cast<UVesk_ReferenceConsumerLifetimeComponent*>(Component));
			}
		}
		return Found;
	}

	// The actor's lifetime component, placed by an observation from the actor as a consumer.
	UVesk_ReferenceConsumerLifetimeComponent* ObserveFrom(AActor* Actor)
	{
		Observe(Actor);
		const TArray<UVesk_ReferenceConsumerLifetimeComponent*> Found = LifetimeComponentsOf(Actor);
		EXPECT_EQ(Found.Num(), 1);
		return Found.Num() > 0 ? Found[0] : nullptr;
	}

	static int32 NumLifetimeComponentsAnywhere()
	{
		TArray<UObject*> Found;
		GetObjectsOfClass(LifetimeClass(), Found);
		int32 NumValid = 0;
		for (const UObject* Object : Found)
		{
			NumValid += IsValid(Object) ? 1 : 0;
		}
		return NumValid;
	}

	std::vector<TStrongObjectPtr<UVesk_ReferenceObservation>> Observations;
};

TEST_F(FConsumerLifetimeComponentTest, OnePerActorHoweverOftenItIsFoundOrCreated)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* ConsumerComponent = AddProducerComponent(Actor);

	Observe(Actor);
	Observe(ConsumerComponent);
	Observe(Actor);
	Observe(ConsumerComponent);

	const TArray<UVesk_ReferenceConsumerLifetimeComponent*> Found = LifetimeComponentsOf(Actor);
	ASSERT_EQ(Found.Num(), 1);

	// Nothing removes it when the observations end: it goes only with the actor.
	for (const TStrongObjectPtr<UVesk_ReferenceObservation>& Observation : Observations)
	{
		Observation->Stop();
	}
	EXPECT_EQ(LifetimeComponentsOf(Actor), Found);
	EXPECT_TRUE(IsValid(Found[0]));
	EXPECT_FALSE(Found[0]->IsBeingDestroyed());
}

TEST_F(FConsumerLifetimeComponentTest, ComponentConsumerPlacesItOnItsOwningActor)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* ConsumerComponent = AddProducerComponent(Actor);
	ASSERT_TRUE(LifetimeComponentsOf(Actor).IsEmpty());

	Observe(ConsumerComponent);

	const TArray<UVesk_ReferenceConsumerLifetimeComponent*> Found = LifetimeComponentsOf(Actor);
	ASSERT_EQ(Found.Num(), 1);
	EXPECT_EQ(Found[0]->GetOuter(), Actor);
	EXPECT_EQ(Found[0]->GetOwner(), Actor);
	EXPECT_TRUE(Found[0]->IsRegistered());
	EXPECT_EQ(Found[0]->GetWorld(), World.Get());
	// The actor is in play already, so the component begins play as it registers.
	EXPECT_TRUE(Found[0]->HasBegunPlay());
}

TEST_F(FConsumerLifetimeComponentTest, ConsumerWithoutAnActorGetsNone)
{
	UVeskTestListener* Consumer = NewObject<UVeskTestListener>(World.Get());
	const int32 Before = NumLifetimeComponentsAnywhere();

	Observe(Consumer);

	EXPECT_EQ(NumLifetimeComponentsAnywhere(), Before);
}

TEST_F(FConsumerLifetimeComponentTest, ComponentDestroyedWhileTheActorStaysIsReplacedOnTheNextRequest)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVesk_ReferenceConsumerLifetimeComponent* First = ObserveFrom(Actor);
	ASSERT_NE(First, nullptr);

	First->DestroyComponent();
	ASSERT_TRUE(LifetimeComponentsOf(Actor).IsEmpty());
	Observe(Actor);

	const TArray<UVesk_ReferenceConsumerLifetimeComponent*> Found = LifetimeComponentsOf(Actor);
	ASSERT_EQ(Found.Num(), 1);
	EXPECT_NE(Found[0], First);
	EXPECT_TRUE(IsValid(Found[0]));
	EXPECT_TRUE(Found[0]->HasBegunPlay());
}

TEST_F(FConsumerLifetimeComponentTest, NeverTicksOrReplicates)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	const UVesk_ReferenceConsumerLifetimeComponent* Component = ObserveFrom(Actor);
	const UVesk_ReferenceConsumerLifetimeComponent* Default = LifetimeClass()->GetDefaultObject<UVesk_ReferenceConsumerLifetimeComponent>();

	EXPECT_FALSE(Component->PrimaryComponentTick.bCanEverTick);
	EXPECT_FALSE(Component->GetIsReplicated());
	EXPECT_FALSE(Default->PrimaryComponentTick.bCanEverTick);
	EXPECT_FALSE(Default->GetIsReplicated());
}

TEST_F(FConsumerLifetimeComponentTest, IsTransientAndNoInstanceComponentOfTheActor)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVesk_ReferenceConsumerLifetimeComponent* Component = ObserveFrom(Actor);

	EXPECT_TRUE(Component->HasAnyFlags(RF_Transient));
	EXPECT_TRUE(LifetimeClass()->HasAnyClassFlags(CLASS_Transient));
	EXPECT_FALSE(Actor->GetInstanceComponents().Contains(Component));
}

TEST_F(FConsumerLifetimeComponentTest, ClassIsAPrivateHelperThatScriptCannotBuildOn)
{
	const UClass* Class = LifetimeClass();

	EXPECT_EQ(Class->GetSuperClass(), UActorComponent::StaticClass());
	EXPECT_EQ(Class->GetMetaData(TEXT("ToolTip")), FString(TEXT("Native component play state spans the actor's ReceiveEndPlay callback.\nShared per consumer actor; never ticks, replicates, or keeps subscriptions alive.")));
	EXPECT_EQ(Class->GetMetaData(TEXT("IsBlueprintBase")), FString(TEXT("false")));
	EXPECT_FALSE(Class->HasMetaData(TEXT("BlueprintSpawnableComponent")));
	EXPECT_FALSE(Class->HasMetaData(TEXT("BlueprintType")));
}

class FConsumerLifetimeComponentBeforePlayTest : public FConsumerLifetimeComponentTest
{
protected:
	FConsumerLifetimeComponentBeforePlayTest()
		: FConsumerLifetimeComponentTest(false)
	{
	}
};

TEST_F(FConsumerLifetimeComponentBeforePlayTest, BeginsPlayWithItsActorNotBefore)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	ASSERT_FALSE(Actor->HasActorBegunPlay());
	UVesk_ReferenceObservation* Observation = Observe(Actor);

	const TArray<UVesk_ReferenceConsumerLifetimeComponent*> Found = LifetimeComponentsOf(Actor);
	ASSERT_EQ(Found.Num(), 1);
	EXPECT_TRUE(Found[0]->IsRegistered());
	EXPECT_FALSE(Found[0]->HasBegunPlay());
	EXPECT_TRUE(Observation->IsActive());

	Actor->DispatchBeginPlay();

	ASSERT_TRUE(Actor->HasActorBegunPlay());
	EXPECT_TRUE(Found[0]->HasBegunPlay());
	EXPECT_TRUE(Observation->IsActive());
}
