#include "ClassHierarchyTestSupport.h"
#include "CoreUObjectTestTypes.h"
#include "Templates/SubclassOf.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// IsA asks whether the object's class is the given class or derives from it.

class FObjectIsATest : public testing::Test
{
protected:
	void TearDown() override
	{
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}
};

TEST_F(FObjectIsATest, AnObjectIsOfItsClassAndEachBaseAndNoOther)
{
	UObject* Class = UTestHolder::StaticClass();
	EXPECT_TRUE(Class->IsA(UClass::StaticClass()));
	EXPECT_TRUE(Class->IsA(UStruct::StaticClass()));
	EXPECT_TRUE(Class->IsA(UField::StaticClass()));
	EXPECT_TRUE(Class->IsA(UObject::StaticClass()));
	EXPECT_FALSE(Class->IsA(UScriptStruct::StaticClass()));
	EXPECT_FALSE(Class->IsA(UPackage::StaticClass()));
	EXPECT_FALSE(Class->IsA(UTestHolder::StaticClass()));

	UTestHolder* Holder = NewObject<UTestHolder>();
	EXPECT_TRUE(Holder->IsA<UTestHolder>());
	EXPECT_TRUE(Holder->IsA<UObject>());
	EXPECT_FALSE(Holder->IsA<UTestListener>());
	EXPECT_FALSE(Holder->IsA<UField>());
}

TEST_F(FObjectIsATest, NoObjectIsOfANullClass)
{
	const UClass* Null = nullptr;
	EXPECT_FALSE(UTestHolder::StaticClass()->IsA(Null));
	EXPECT_FALSE(NewObject<UTestHolder>()->IsA(Null));
}

TEST_F(FObjectIsATest, TakesAnythingThatConvertsToAClassPointer)
{
	UTestHolder* Holder = NewObject<UTestHolder>();
	const UClass* ConstClass = UTestHolder::StaticClass();
	EXPECT_TRUE(Holder->IsA(ConstClass));
	TSubclassOf<UObject> Subclass = UTestHolder::StaticClass();
	EXPECT_TRUE(Holder->IsA(Subclass));
	TSubclassOf<UObject> OtherSubclass = UTestListener::StaticClass();
	EXPECT_FALSE(Holder->IsA(OtherSubclass));
	EXPECT_FALSE(Holder->IsA(TSubclassOf<UObject>()));
}

// Differential: for every live object and every live class, IsA answers as the walk up the
// object's class's super classes does.

TEST(FObjectIsADifferentialTest, EveryLiveObjectAgainstEveryRegisteredClassAgreesWithTheSuperWalk)
{
	const std::vector<UObject*> Objects = HeadlessTests::AllLive<UObject>();
	const std::vector<UClass*> Classes = HeadlessTests::AllLive<UClass>();
	ASSERT_FALSE(Classes.empty());
	std::string Disagreements;
	for (const UObject* Object : Objects)
	{
		for (const UClass* Class : Classes)
		{
			const bool bExpected = HeadlessTests::IsChildOfBySuperWalk(Object->GetClass(), Class);
			if (Object->IsA(Class) != bExpected)
			{
				Disagreements += HeadlessTests::NameOfType(Object) + (bExpected ? " is a " : " is not a ") + HeadlessTests::NameOfType(Class) + "\n";
			}
		}
	}
	EXPECT_EQ(Disagreements, "");
}
