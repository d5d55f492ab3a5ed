#include "Engine/GameInstance.h"

#include "Engine/World.h"
#include "EngineTestAsyncActions.h"
#include "TestWorld.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/WeakObjectPtrTemplates.h"

#include <gtest/gtest.h>

namespace
{
	void Collect()
	{
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}
}

TEST(GameInstanceTest, RegisteredObjectsLiveUntilTheyAreUnregistered)
{
	const TStrongObjectPtr<UGameInstance> GameInstance(NewObject<UGameInstance>());
	const TWeakObjectPtr<UEngineTestTimerTarget> Registered(NewObject<UEngineTestTimerTarget>());
	const TWeakObjectPtr<UEngineTestTimerTarget> Unregistered(NewObject<UEngineTestTimerTarget>());
	GameInstance->RegisterReferencedObject(Registered.Get());

	Collect();
	EXPECT_TRUE(Registered.IsValid());
	EXPECT_FALSE(Unregistered.IsValid());

	GameInstance->UnregisterReferencedObject(Registered.Get());
	Collect();
	EXPECT_FALSE(Registered.IsValid());
}

TEST(GameInstanceTest, RegisteringTwiceKeepsOneEntry)
{
	const TStrongObjectPtr<UGameInstance> GameInstance(NewObject<UGameInstance>());
	const TWeakObjectPtr<UEngineTestTimerTarget> Registered(NewObject<UEngineTestTimerTarget>());
	GameInstance->RegisterReferencedObject(Registered.Get());
	GameInstance->RegisterReferencedObject(Registered.Get());
	GameInstance->UnregisterReferencedObject(Registered.Get());
	Collect();
	EXPECT_FALSE(Registered.IsValid());
}

TEST(GameInstanceTest, AWorldKeepsItsGameInstanceAlive)
{
	FTestWorld World;
	EXPECT_EQ(World->GetGameInstance(), nullptr);
	const TWeakObjectPtr<UGameInstance> GameInstance(NewObject<UGameInstance>());
	World->SetGameInstance(GameInstance.Get());
	Collect();
	ASSERT_TRUE(GameInstance.IsValid());
	EXPECT_EQ(World->GetGameInstance(), GameInstance.Get());
	EXPECT_EQ(World->GetGameInstance<UGameInstance>(), GameInstance.Get());

	World->SetGameInstance(nullptr);
	Collect();
	EXPECT_FALSE(GameInstance.IsValid());
}

TEST(GameInstanceTest, GameInstancesAreTransient)
{
	EXPECT_TRUE(UGameInstance::StaticClass()->HasAnyClassFlags(CLASS_Transient));
}
