#include "Subsystems/SubsystemCollection.h"

#include "Engine/World.h"
#include "EngineTestSubsystems.h"
#include "Subsystems/WorldSubsystem.h"
#include "TestWorld.h"
#include "UObject/UObjectHash.h"

#include <gtest/gtest.h>

namespace
{
	template<class T>
	int32 NumSubsystemsOfClassIn(const UWorld* World)
	{
		TArray<UObject*> Objects;
		GetObjectsOfClass(T::StaticClass(), Objects);
		int32 Count = 0;
		for (const UObject* Object : Objects)
		{
			if (IsValid(Object) && Object->GetOuter() == World)
			{
				++Count;
			}
		}
		return Count;
	}
}

TEST(SubsystemCollection, AWorldMakesOneInstanceOfEachConcreteClassThatAgrees)
{
	FTestWorld World;

	UEngineTestWorldSubsystem* Subsystem = World->GetSubsystem<UEngineTestWorldSubsystem>();
	ASSERT_NE(Subsystem, nullptr);
	EXPECT_EQ(Subsystem->GetClass(), UEngineTestWorldSubsystem::StaticClass());
	EXPECT_EQ(Subsystem->GetOuter(), World.Get());
	EXPECT_EQ(NumSubsystemsOfClassIn<UEngineTestWorldSubsystem>(World.Get()), 1);
	EXPECT_EQ(NumSubsystemsOfClassIn<UEngineTestTickableSubsystem>(World.Get()), 1);
	EXPECT_EQ(NumSubsystemsOfClassIn<UEngineTestDependentSubsystem>(World.Get()), 1);
	EXPECT_EQ(World->GetSubsystemBase(UEngineTestWorldSubsystem::StaticClass()), Subsystem);
	EXPECT_EQ(UWorld::GetSubsystem<UEngineTestWorldSubsystem>(World.Get()), Subsystem);
	EXPECT_EQ(UWorld::GetSubsystem<UEngineTestWorldSubsystem>(nullptr), nullptr);
}

TEST(SubsystemCollection, ClassesThatDeclineOrAreAbstractGetNoInstance)
{
	FTestWorld World;

	EXPECT_EQ(World->GetSubsystem<UEngineTestDecliningSubsystem>(), nullptr);
	EXPECT_EQ(NumSubsystemsOfClassIn<UEngineTestDecliningSubsystem>(World.Get()), 0);
	EXPECT_EQ(NumSubsystemsOfClassIn<UEngineTestForeignSubsystem>(World.Get()), 0);
	EXPECT_EQ(NumSubsystemsOfClassIn<UEngineTestConcreteSubsystem>(World.Get()), 1);
}

TEST(SubsystemCollection, AskingForABaseClassGivesTheSubsystemDerivedFromIt)
{
	FTestWorld World;

	UEngineTestAbstractSubsystem* Found = World->GetSubsystem<UEngineTestAbstractSubsystem>();

	ASSERT_NE(Found, nullptr);
	EXPECT_EQ(Found, World->GetSubsystem<UEngineTestConcreteSubsystem>());
	EXPECT_EQ(Found->GetClass(), UEngineTestConcreteSubsystem::StaticClass());
}

TEST(SubsystemCollection, ADependencyIsInitializedOnceBeforeTheSubsystemThatAsksForIt)
{
	FTestWorld World;
	UEngineTestDependentSubsystem* Dependent = World->GetSubsystem<UEngineTestDependentSubsystem>();
	ASSERT_NE(Dependent, nullptr);

	EXPECT_EQ(Dependent->Dependency, World->GetSubsystem<UEngineTestWorldSubsystem>());
	EXPECT_EQ(Dependent->DependencyInitializeCount, 1);
	EXPECT_EQ(Dependent->Dependency->NumInitialize, 1);
	EXPECT_EQ(Dependent->ForeignDependency, nullptr);
}

TEST(SubsystemCollection, DependenciesAreRefusedOutsideInitialization)
{
	FObjectSubsystemCollection<UWorldSubsystem> Collection;

	EXPECT_EQ(Collection.InitializeDependency<UEngineTestWorldSubsystem>(), nullptr);
	EXPECT_FALSE(Collection.IsInitialized());
}

TEST(SubsystemCollection, DeinitializeDeinitializesEverySubsystemAndForgetsThem)
{
	FTestWorld World;
	FObjectSubsystemCollection<UWorldSubsystem> Collection;
	Collection.Initialize(World.Get());
	ASSERT_TRUE(Collection.IsInitialized());
	EXPECT_EQ(Collection.GetOuter(), World.Get());
	UEngineTestWorldSubsystem* Subsystem = Collection.GetSubsystem<UEngineTestWorldSubsystem>(UEngineTestWorldSubsystem::StaticClass());
	ASSERT_NE(Subsystem, nullptr);
	EXPECT_NE(Subsystem, World->GetSubsystem<UEngineTestWorldSubsystem>());
	Collection.Initialize(World.Get());
	EXPECT_EQ(Subsystem->NumInitialize, 1);

	Collection.Deinitialize();

	EXPECT_EQ(Subsystem->NumDeinitialize, 1);
	EXPECT_FALSE(Collection.IsInitialized());
	EXPECT_EQ(Collection.GetSubsystem<UEngineTestWorldSubsystem>(UEngineTestWorldSubsystem::StaticClass()), nullptr);
	Collection.Deinitialize();
	EXPECT_EQ(Subsystem->NumDeinitialize, 1);
}

TEST(SubsystemCollection, InitializingForNoOuterIsFatal)
{
	FObjectSubsystemCollection<UWorldSubsystem> Collection;
	EXPECT_DEATH(Collection.Initialize(nullptr), "Assertion failed: NewOuter");
}
