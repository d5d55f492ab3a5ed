#include "Components/ChildActorComponent.h"

#include "Engine/Level.h"
#include "Engine/World.h"
#include "EngineTestActors.h"
#include "EngineTestLog.h"
#include "TestWorld.h"
#include "UObject/UObjectGlobals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ChildActor, RegisteringTheComponentSpawnsAChildActorOfItsClassIntoTheOwnersLevel)
{
	FTestWorld World;
	AEngineTestParentActor* Parent = World.SpawnActor<AEngineTestParentActor>();

	AEngineTestActorWithComponent* Child = Parent->GetChild();

	ASSERT_NE(Child, nullptr);
	EXPECT_EQ(Parent->ChildActorComponent->GetChildActorClass().Get(), AEngineTestActorWithComponent::StaticClass());
	EXPECT_EQ(Child->GetLevel(), World->PersistentLevel);
	EXPECT_EQ(Child->GetOwner(), Parent);
	EXPECT_EQ(Child->GetParentComponent(), Parent->ChildActorComponent);
	EXPECT_EQ(Child->GetParentActor(), Parent);
	EXPECT_TRUE(Child->IsChildActor());
	EXPECT_FALSE(Parent->IsChildActor());
	EXPECT_EQ(Child->Component->GetOwner(), Child);
	EXPECT_FALSE(Parent->OwnsComponent(Child->Component));
}

TEST(ChildActor, TheChildBeginsPlayDuringItsParentsBeginPlay)
{
	FTestWorld World(EWorldType::Game, false);
	AEngineTestParentActor* Parent = World.SpawnActor<AEngineTestParentActor>();
	AEngineTestActorWithComponent* Child = Parent->GetChild();
	ASSERT_NE(Child, nullptr);
	EXPECT_FALSE(Child->HasActorBegunPlay());
	bool bChildBegunAfterParentBase = false;
	Parent->AfterBeginPlay = [Child, &bChildBegunAfterParentBase](AEngineTestActor&)
	{
		bChildBegunAfterParentBase = Child->HasActorBegunPlay();
	};

	World->BeginPlay();

	EXPECT_TRUE(bChildBegunAfterParentBase);
	EXPECT_EQ(Child->NumBeginPlay, 1);
	EXPECT_EQ(Child->Component->NumBeginPlay, 1);
}

TEST(ChildActor, AChildSpawnedWithItsParentIntoAWorldInPlayWaitsForTheParent)
{
	FTestWorld World;
	FEngineTestLog::Reset();

	AEngineTestParentActor* Parent = World.SpawnActor<AEngineTestParentActor>(TEXT("WaitingParent"));

	AEngineTestActorWithComponent* Child = Parent->GetChild();
	ASSERT_NE(Child, nullptr);
	const std::vector<std::string> Expected = {
		"ActorBeginPlay:WaitingParent",
		std::string("ComponentBeginPlay:") + TCHAR_TO_UTF8(*Parent->OwnComponent->GetName()),
		std::string("ActorBeginPlay:") + TCHAR_TO_UTF8(*Child->GetName()),
		std::string("ComponentBeginPlay:") + TCHAR_TO_UTF8(*Child->Component->GetName()),
	};
	EXPECT_EQ(FEngineTestLog::Get(), Expected);
}

TEST(ChildActor, AChildAddedToAnActorInPlayBeginsPlayAtOnce)
{
	FTestWorld World;
	AEngineTestActor* Parent = World.SpawnActor<AEngineTestActor>();
	UChildActorComponent* Component = NewObject<UChildActorComponent>(Parent);
	Component->SetChildActorClass(AEngineTestActorWithComponent::StaticClass());
	EXPECT_EQ(Component->GetChildActor(), nullptr);

	Component->RegisterComponent();

	AEngineTestActorWithComponent* Child = Cast<AEngineTestActorWithComponent>(Component->GetChildActor());
	ASSERT_NE(Child, nullptr);
	EXPECT_EQ(Child->NumBeginPlay, 1);
	EXPECT_TRUE(Component->HasBegunPlay());
}

TEST(ChildActor, ChangingTheClassOfARegisteredComponentReplacesTheChild)
{
	FTestWorld World;
	AEngineTestParentActor* Parent = World.SpawnActor<AEngineTestParentActor>();
	AEngineTestActorWithComponent* OldChild = Parent->GetChild();

	Parent->ChildActorComponent->SetChildActorClass(AEngineTestActor::StaticClass());

	AActor* NewChild = Parent->ChildActorComponent->GetChildActor();
	ASSERT_NE(NewChild, nullptr);
	EXPECT_EQ(NewChild->GetClass(), AEngineTestActor::StaticClass());
	EXPECT_TRUE(OldChild->IsActorBeingDestroyed());
	EXPECT_EQ(OldChild->LastEndPlayReason, EEndPlayReason::Destroyed);
}

TEST(ChildActor, TheChildIsDestroyedWithItsComponentAndWithItsParent)
{
	FTestWorld World;
	AEngineTestParentActor* First = World.SpawnActor<AEngineTestParentActor>();
	AEngineTestParentActor* Second = World.SpawnActor<AEngineTestParentActor>();
	AEngineTestActorWithComponent* FirstChild = First->GetChild();
	AEngineTestActorWithComponent* SecondChild = Second->GetChild();

	First->ChildActorComponent->DestroyComponent();
	Second->Destroy();

	EXPECT_EQ(First->ChildActorComponent->GetChildActor(), nullptr);
	EXPECT_TRUE(FirstChild->IsActorBeingDestroyed());
	EXPECT_TRUE(IsValid(First));
	EXPECT_TRUE(SecondChild->IsActorBeingDestroyed());
	EXPECT_EQ(SecondChild->LastEndPlayReason, EEndPlayReason::Destroyed);
	EXPECT_FALSE(World->PersistentLevel->Actors.Contains(SecondChild));
}
