#include "Kismet/BlueprintAsyncActionBase.h"

#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "EngineTestActors.h"
#include "EngineTestAsyncActions.h"
#include "GameFramework/Actor.h"
#include "TestWorld.h"
#include "UObject/Class.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/WeakObjectPtrTemplates.h"

#include <gtest/gtest.h>

namespace
{
	class FBlueprintAsyncActionTest : public testing::Test
	{
	protected:
		void Collect()
		{
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		}

		// A world that plays in a game instance, as a game's worlds do, and an actor in it to
		// stand for the graph that starts actions.
		UGameInstance* GiveWorldAGameInstance()
		{
			UGameInstance* GameInstance = NewObject<UGameInstance>();
			World->SetGameInstance(GameInstance);
			return GameInstance;
		}

		AActor* SpawnContext()
		{
			return World.SpawnActor<AActor>();
		}

		FTestWorld World;
	};
}

TEST_F(FBlueprintAsyncActionTest, ARegisteredActionLivesUntilItIsReadyToDestroy)
{
	GiveWorldAGameInstance();
	const TWeakObjectPtr<UEngineTestAsyncAction> Action(UEngineTestAsyncAction::StartTestAction(SpawnContext()));
	Collect();
	ASSERT_TRUE(Action.IsValid());

	Action->SetReadyToDestroy();
	Collect();
	EXPECT_FALSE(Action.IsValid());
}

TEST_F(FBlueprintAsyncActionTest, WithoutAGameInstanceNothingKeepsTheAction)
{
	const TWeakObjectPtr<UEngineTestAsyncAction> Action(UEngineTestAsyncAction::StartTestAction(SpawnContext()));
	const TWeakObjectPtr<UEngineTestAsyncAction> WithoutContext(UEngineTestAsyncAction::StartTestAction(nullptr));
	Collect();
	EXPECT_FALSE(Action.IsValid());
	EXPECT_FALSE(WithoutContext.IsValid());
}

TEST_F(FBlueprintAsyncActionTest, RegisteringWithAnotherInstanceLeavesTheFirst)
{
	const TStrongObjectPtr<UGameInstance> First(NewObject<UGameInstance>());
	const TStrongObjectPtr<UGameInstance> Second(NewObject<UGameInstance>());
	const TWeakObjectPtr<UEngineTestAsyncAction> Action(NewObject<UEngineTestAsyncAction>());
	Action->RegisterWithGameInstance(First.Get());
	Action->RegisterWithGameInstance(Second.Get());
	Action->RegisterWithGameInstance(static_cast<UGameInstance*>(nullptr));
	Collect();
	ASSERT_TRUE(Action.IsValid());

	// Only the second instance still holds it: once that one lets go, nothing does.
	Action->SetReadyToDestroy();
	Collect();
	EXPECT_FALSE(Action.IsValid());
}

TEST_F(FBlueprintAsyncActionTest, NewActionsAreStrongOnTheirFrameUntilReadyToDestroy)
{
	const TStrongObjectPtr<UEngineTestAsyncAction> Action(NewObject<UEngineTestAsyncAction>());
	EXPECT_TRUE(Action->HasAnyFlags(RF_StrongRefOnFrame));
	EXPECT_FALSE(UEngineTestAsyncAction::StaticClass()->GetDefaultObject()->HasAnyFlags(RF_StrongRefOnFrame));
	Action->SetReadyToDestroy();
	EXPECT_FALSE(Action->HasAnyFlags(RF_StrongRefOnFrame));
}

TEST_F(FBlueprintAsyncActionTest, ActivateIsAnInternalNodeFunctionThatReachesTheOverride)
{
	UFunction* Activate = UBlueprintAsyncActionBase::StaticClass()->FindFunctionByName(TEXT("Activate"));
	ASSERT_NE(Activate, nullptr);
	EXPECT_TRUE(Activate->HasAnyFunctionFlags(FUNC_BlueprintCallable));
	EXPECT_EQ(Activate->GetMetaData(TEXT("BlueprintInternalUseOnly")), FString(TEXT("true")));
	EXPECT_EQ(Activate->GetMetaData(TEXT("ToolTip")), FString(TEXT("Called to trigger the action once the delegates have been bound")));

	const TStrongObjectPtr<UEngineTestAsyncAction> Action(NewObject<UEngineTestAsyncAction>());
	Action->ProcessEvent(Activate, nullptr);
	EXPECT_EQ(Action->NumActivations, 1);
}

TEST_F(FBlueprintAsyncActionTest, FactoriesCarryTheNodeMetadata)
{
	const UFunction* Factory = UEngineTestAsyncAction::StaticClass()->FindFunctionByName(TEXT("StartTestAction"));
	ASSERT_NE(Factory, nullptr);
	EXPECT_TRUE(Factory->HasAllFunctionFlags(FUNC_Static | FUNC_BlueprintCallable));
	EXPECT_EQ(Factory->GetMetaData(TEXT("BlueprintInternalUseOnly")), FString(TEXT("true")));
	EXPECT_EQ(Factory->GetMetaData(TEXT("WorldContext")), FString(TEXT("WorldContextObject")));
}
