#include "Vesk_WaitForReferenceAction.h"

#include "UObject/StrongObjectPtr.h"
#include "UObject/UnrealType.h"
#include "Vesk_ReferenceRegistryView.h"
#include "VeskToolsTestSupport.h"

#include <gtest/gtest.h>

using EStatus = EVesk_ReferenceStatus;

static void PrintTo(const FVeskToolsTestPinCall& Call, std::ostream* Out)
{
	*Out << "{ " << Utf8(Call.Pin) << ", " << (Call.Object ? Utf8(Call.Object->GetName()) : std::string("None")) << ", " << StatusName(Call.Status) << " }";
}

static void PrintTo(const TArray<FVeskToolsTestPinCall>& Calls, std::ostream* Out)
{
	*Out << "[";
	for (const FVeskToolsTestPinCall& Call : Calls)
	{
		*Out << " ";
		PrintTo(Call, Out);
	}
	*Out << " ]";
}

namespace
{
	FVeskToolsTestPinCall Available(UObject* Object)
	{
		return FVeskToolsTestPinCall{ TEXT("Available"), Object, EStatus::Available };
	}

	FVeskToolsTestPinCall Failed(EStatus Status)
	{
		return FVeskToolsTestPinCall{ TEXT("Failed"), nullptr, Status };
	}
}

class FWaitForReferenceActionTest : public FVeskToolsTestBase
{
protected:
	void SetUp() override
	{
		FVeskToolsTestBase::SetUp();
		GiveWorldAGameInstance();
		Listener.Reset(NewObject<UVeskToolsTestPinListener>());
		Caller = SpawnActor(TEXT("Caller"));
	}

	void TearDown() override
	{
		Listener->Hook = nullptr;
		FVeskToolsTestBase::TearDown();
	}

	// What a "Wait For Reference" node does: calls the factory through ProcessEvent, binds its
	// output pins, then calls Activate through ProcessEvent.
	UVesk_WaitForReferenceAction* Start(UObject* Context, const FGuid& Identity, float TimeoutSeconds = 0.f, UClass* ExpectedClass = UObject::StaticClass())
	{
		UFunction* Factory = UVesk_WaitForReferenceAction::StaticClass()->FindFunctionByName(TEXT("WaitForReference"));
		check(Factory);
		TArray<uint8> Parms;
		Parms.SetNumZeroed(Factory->ParmsSize);
		*Factory->FindPropertyByName(TEXT("WorldContextObject"))->ContainerPtrToValuePtr<UObject*>(Parms.GetData()) = Context;
		*Factory->FindPropertyByName(TEXT("Identity"))->ContainerPtrToValuePtr<FGuid>(Parms.GetData()) = Identity;
		*Factory->FindPropertyByName(TEXT("ExpectedClass"))->ContainerPtrToValuePtr<UClass*>(Parms.GetData()) = ExpectedClass;
		*Factory->FindPropertyByName(TEXT("TimeoutSeconds"))->ContainerPtrToValuePtr<float>(Parms.GetData()) = TimeoutSeconds;
		UVesk_WaitForReferenceAction::StaticClass()->GetDefaultObject()->ProcessEvent(Factory, Parms.GetData());
		UVesk_WaitForReferenceAction* Action = *Factory->FindPropertyByName(TEXT("ReturnValue"))->ContainerPtrToValuePtr<UVesk_WaitForReferenceAction*>(Parms.GetData());
		check(Action);

		Action->OnAvailable.AddDynamic(Listener.Get(), &UVeskToolsTestPinListener::HandleAvailable);
		Action->OnFailed.AddDynamic(Listener.Get(), &UVeskToolsTestPinListener::HandleFailed);
		Action->ProcessEvent(Action->FindFunctionChecked(TEXT("Activate")), nullptr);
		return Action;
	}

	const TArray<FVeskToolsTestPinCall>& Calls() const
	{
		return Listener->Calls;
	}

	TStrongObjectPtr<UVeskToolsTestPinListener> Listener;
	AVeskToolsTestActor* Caller = nullptr;
};

TEST_F(FWaitForReferenceActionTest, CompletesAtOnceWhenTheIdentityIsAlreadyAvailable)
{
	AVeskToolsTestActor* Producer = SpawnActor();
	BindAndPublish(Producer, ToolsTestIdentity(1));

	UVesk_WaitForReferenceAction* Action = Start(Caller, ToolsTestIdentity(1));

	EXPECT_EQ(Calls(), (TArray<FVeskToolsTestPinCall>{ Available(Producer) }));
	EXPECT_TRUE(Action->HasFinished());
	// Nothing was observed: the registry has no observation of it.
	EXPECT_TRUE(FVesk_ReferenceRegistryView(*Registry).Observations.IsEmpty());
}

TEST_F(FWaitForReferenceActionTest, CompletesOnTheFirstAvailableOnly)
{
	AVeskToolsTestActor* Producer = SpawnActor();
	const FVesk_ReferenceBinding Binding = Bind(Producer, ToolsTestIdentity(1));
	UVesk_WaitForReferenceAction* Action = Start(Caller, ToolsTestIdentity(1));
	EXPECT_TRUE(Calls().IsEmpty());
	EXPECT_FALSE(Action->HasFinished());

	Registry->Publish(Binding);
	EXPECT_EQ(Calls(), (TArray<FVeskToolsTestPinCall>{ Available(Producer) }));

	Registry->Withdraw(Binding);
	Registry->Publish(Registry->BeginBinding(Producer, ToolsTestIdentity(1)));
	World.Tick();
	EXPECT_EQ(Calls().Num(), 1);
}

TEST_F(FWaitForReferenceActionTest, WaitsThroughStatusesThatMayStillLeadToAvailable)
{
	const FVesk_ReferenceBinding Wrong = BindAndPublish(SpawnActor<AVeskToolsTestOtherActor>(), ToolsTestIdentity(1));
	Start(Caller, ToolsTestIdentity(1), 0.f, AVeskToolsTestActor::StaticClass());
	Registry->Withdraw(Wrong);
	World.Tick();
	EXPECT_TRUE(Calls().IsEmpty());

	AVeskToolsTestActor* Right = SpawnActor();
	BindAndPublish(Right, ToolsTestIdentity(1));
	EXPECT_EQ(Calls(), (TArray<FVeskToolsTestPinCall>{ Available(Right) }));
}

TEST_F(FWaitForReferenceActionTest, FailsWhenTheIdentityIsRemoved)
{
	const FVesk_ReferenceBinding Binding = Bind(SpawnActor(), ToolsTestIdentity(1));
	Start(Caller, ToolsTestIdentity(1));
	Registry->RemovePermanently(Binding);
	EXPECT_EQ(Calls(), (TArray<FVeskToolsTestPinCall>{ Failed(EStatus::Removed) }));
}

TEST_F(FWaitForReferenceActionTest, FailsAtOnceWhenTheIdentityCanNeverResolve)
{
	Registry->RemovePermanently(BindAndPublish(SpawnActor(), ToolsTestIdentity(1)));
	Start(Caller, ToolsTestIdentity(1));
	Start(Caller, FGuid());
	UVeskToolsTestObject* Outside = NewObject<UVeskToolsTestObject>();
	Start(Outside, ToolsTestIdentity(2));
	EXPECT_EQ(Calls(), (TArray<FVeskToolsTestPinCall>{ Failed(EStatus::Removed), Failed(EStatus::Empty), Failed(EStatus::Unavailable) }));
}

TEST_F(FWaitForReferenceActionTest, FailsWhenTheCallersActorEndsPlay)
{
	Bind(SpawnActor(), ToolsTestIdentity(1));
	Start(Caller, ToolsTestIdentity(1));
	UVeskToolsTestComponent* CallingComponent = AddComponent(Caller);
	AVeskToolsTestActor* OtherCaller = SpawnActor();
	Start(AddComponent(OtherCaller), ToolsTestIdentity(1));
	Start(CallingComponent, ToolsTestIdentity(2));

	Caller->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
	EXPECT_EQ(Calls(), (TArray<FVeskToolsTestPinCall>{ Failed(EStatus::Initializing), Failed(EStatus::Unavailable) }));

	OtherCaller->Destroy();
	ASSERT_EQ(Calls().Num(), 3);
	EXPECT_EQ(Calls().Last(), Failed(EStatus::Initializing));
}

TEST_F(FWaitForReferenceActionTest, FailsWhenTheTimeoutPassesOnTheWorldsClock)
{
	Bind(SpawnActor(), ToolsTestIdentity(1));
	Start(Caller, ToolsTestIdentity(1), 1.f);
	World.Tick(0.6f);
	EXPECT_TRUE(Calls().IsEmpty());
	World.Tick(0.6f);
	EXPECT_EQ(Calls(), (TArray<FVeskToolsTestPinCall>{ Failed(EStatus::Initializing) }));
}

TEST_F(FWaitForReferenceActionTest, WithoutATimeoutItWaitsAsLongAsItTakes)
{
	const FVesk_ReferenceBinding Binding = Bind(SpawnActor(), ToolsTestIdentity(1));
	Start(Caller, ToolsTestIdentity(1), 0.f);
	World.Tick(1000.f);
	EXPECT_TRUE(Calls().IsEmpty());
	Registry->Publish(Binding);
	EXPECT_EQ(Calls().Num(), 1);
}

TEST_F(FWaitForReferenceActionTest, NeverFiresTwice)
{
	AVeskToolsTestActor* Producer = SpawnActor();
	const FVesk_ReferenceBinding Binding = Bind(Producer, ToolsTestIdentity(1));
	UVesk_WaitForReferenceAction* Action = Start(Caller, ToolsTestIdentity(1), 1.f);
	// A handler that goes on to remove the identity, from inside the completion.
	Listener->Hook = [this, Binding]()
	{
		Registry->RemovePermanently(Binding);
	};
	Registry->Publish(Binding);
	Action->Activate();
	World.Tick(2.f);
	Caller->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
	EXPECT_EQ(Calls(), (TArray<FVeskToolsTestPinCall>{ Available(Producer) }));
}

TEST_F(FWaitForReferenceActionTest, FailsWhenTheRegistryIsTornDownUnderACallerWithoutActor)
{
	Bind(NewWorldObject(), ToolsTestIdentity(1));
	Start(NewWorldObject(), ToolsTestIdentity(1));
	World.Destroy();
	EXPECT_EQ(Calls(), (TArray<FVeskToolsTestPinCall>{ Failed(EStatus::Unavailable) }));
}

TEST_F(FWaitForReferenceActionTest, LetsGoOfEverythingWhenDone)
{
	const FVesk_ReferenceBinding Binding = Bind(SpawnActor(), ToolsTestIdentity(1));
	const TWeakObjectPtr<UVesk_WaitForReferenceAction> Action(Start(Caller, ToolsTestIdentity(1), 5.f));

	// The game instance keeps a waiting action, and the action its observation.
	Collect();
	ASSERT_TRUE(Action.IsValid());
	const FVesk_ReferenceRegistryView Waiting(*Registry);
	ASSERT_EQ(Waiting.Observations.Num(), 1);
	EXPECT_TRUE(Waiting.Observations[0].bActive);
	EXPECT_EQ(Waiting.Observations[0].Consumer.Get(), Caller);

	// The action stops its observation inside the pass that publishes; the pass drops it.
	Registry->Publish(Binding);
	EXPECT_TRUE(FVesk_ReferenceRegistryView(*Registry).Observations.IsEmpty());
	Collect();
	EXPECT_FALSE(Action.IsValid());
	World.Tick(10.f);
	EXPECT_EQ(Calls().Num(), 1);
}

TEST_F(FWaitForReferenceActionTest, TheNodeIsAnInternalFactoryWithTwoOutputPins)
{
	const UFunction* Factory = UVesk_WaitForReferenceAction::StaticClass()->FindFunctionByName(TEXT("WaitForReference"));
	ASSERT_NE(Factory, nullptr);
	EXPECT_TRUE(Factory->HasAllFunctionFlags(FUNC_Static | FUNC_BlueprintCallable));
	EXPECT_EQ(Factory->GetMetaData(TEXT("BlueprintInternalUseOnly")), FString(TEXT("true")));
	EXPECT_EQ(Factory->GetMetaData(TEXT("WorldContext")), FString(TEXT("WorldContextObject")));
	EXPECT_EQ(Factory->GetMetaData(TEXT("DisplayName")), FString(TEXT("Wait For Reference")));
	EXPECT_EQ(Factory->GetMetaData(TEXT("ExpectedClass")), FString(TEXT("/Script/CoreUObject.Object")));
	EXPECT_EQ(Factory->GetMetaData(TEXT("CPP_Default_TimeoutSeconds")), FString(TEXT("0.000000")));
	EXPECT_TRUE(UVesk_WaitForReferenceAction::StaticClass()->IsChildOf(UBlueprintAsyncActionBase::StaticClass()));

	for (const TCHAR* Pin : { TEXT("OnAvailable"), TEXT("OnFailed") })
	{
		const FMulticastDelegateProperty* Property = CastField<FMulticastDelegateProperty>(UVesk_WaitForReferenceAction::StaticClass()->FindPropertyByName(FName(Pin)));
		ASSERT_NE(Property, nullptr) << Utf8(Pin);
		EXPECT_TRUE(Property->HasAnyPropertyFlags(CPF_BlueprintAssignable));
		ASSERT_NE(Property->SignatureFunction, nullptr);
		const FProperty* Object = Property->SignatureFunction->FindPropertyByName(TEXT("Object"));
		const FByteProperty* Status = CastField<FByteProperty>(Property->SignatureFunction->FindPropertyByName(TEXT("Status")));
		ASSERT_NE(Object, nullptr);
		ASSERT_NE(Status, nullptr);
		EXPECT_EQ(Status->Enum, StaticEnum<EStatus>());
	}
}
