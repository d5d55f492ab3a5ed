#include "CoreUObjectTestTypes.h"
#include "UObject/Package.h"
#include "UObject/StrongObjectPtr.h"

#include <gtest/gtest.h>

// Each test starts and ends with nothing of its own alive.
class GarbageCollectionReachability : public testing::Test
{
protected:
	void TearDown() override
	{
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}

	static bool Survives(const FWeakObjectPtr& Weak)
	{
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		return Weak.IsValid();
	}
};

class GarbageMarkingDeathTest : public GarbageCollectionReachability
{
};

class ObjectReferenceCountDeathTest : public GarbageCollectionReachability
{
};

// A release without its AddRef would let the collector take an object that another holder still counts on.
TEST_F(ObjectReferenceCountDeathTest, ReleasingAReferenceThatWasNeverAddedIsFatal)
{
	UTestHolder* Object = NewObject<UTestHolder>();
	EXPECT_DEATH(Object->ReleaseRef(), "Assertion failed: Item && Item->Object == this && Item->GetRefCount\\(\\) > 0");
	Object->AddRef();
	Object->ReleaseRef();
	EXPECT_EQ(GUObjectArray.ObjectToObjectItem(Object)->GetRefCount(), 0);
}

TEST_F(GarbageMarkingDeathTest, MarkingARootedObjectIsFatal)
{
	UTestHolder* Object = NewObject<UTestHolder>();
	Object->AddToRoot();
	EXPECT_DEATH(Object->MarkAsGarbage(), "Assertion failed: !IsRooted\\(\\)");
	Object->RemoveFromRoot();
	const FWeakObjectPtr Weak(Object);
	Object->MarkAsGarbage();
	EXPECT_FALSE(Weak.IsValid());
}

TEST_F(GarbageCollectionReachability, UnreferencedObjectIsCollected)
{
	const FWeakObjectPtr Weak(NewObject<UTestHolder>());
	EXPECT_FALSE(Survives(Weak));
}

TEST_F(GarbageCollectionReachability, RootSetKeepsObjectUntilRemoved)
{
	UTestHolder* Object = NewObject<UTestHolder>();
	const FWeakObjectPtr Weak(Object);
	Object->AddToRoot();
	EXPECT_TRUE(Survives(Weak));
	Object->RemoveFromRoot();
	EXPECT_FALSE(Survives(Weak));
}

TEST_F(GarbageCollectionReachability, ReferenceCountKeepsObjectUntilReleased)
{
	FWeakObjectPtr Weak;
	{
		TStrongObjectPtr<UTestHolder> Strong(NewObject<UTestHolder>());
		Weak = Strong.Get();
		EXPECT_TRUE(Survives(Weak));
	}
	EXPECT_FALSE(Survives(Weak));
	UTestHolder* Object = NewObject<UTestHolder>();
	const FWeakObjectPtr Counted(Object);
	Object->AddRef();
	EXPECT_TRUE(Survives(Counted));
	Object->ReleaseRef();
	EXPECT_FALSE(Survives(Counted));
}

TEST_F(GarbageCollectionReachability, ReflectedPropertiesKeepTheirTargets)
{
	TStrongObjectPtr<UTestHolder> Holder(NewObject<UTestHolder>());
	UTestHolder* Direct = NewObject<UTestHolder>();
	UTestHolder* InStruct = NewObject<UTestHolder>();
	Holder->Held = Direct;
	Holder->Payload.Held = InStruct;
	const FWeakObjectPtr WeakDirect(Direct);
	const FWeakObjectPtr WeakInStruct(InStruct);
	EXPECT_TRUE(Survives(WeakDirect));
	EXPECT_TRUE(Survives(WeakInStruct));
	Holder->Held = nullptr;
	EXPECT_FALSE(Survives(WeakDirect));
	EXPECT_TRUE(Survives(WeakInStruct));
}

TEST_F(GarbageCollectionReachability, ReferencesAreFollowedTransitively)
{
	TStrongObjectPtr<UTestHolder> Root(NewObject<UTestHolder>());
	UTestHolder* Middle = NewObject<UTestHolder>();
	UTestHolder* Leaf = NewObject<UTestHolder>();
	Root->Held = Middle;
	Middle->Held = Leaf;
	EXPECT_TRUE(Survives(FWeakObjectPtr(Leaf)));
}

TEST_F(GarbageCollectionReachability, UnreflectedPointerKeepsNothing)
{
	TStrongObjectPtr<UTestHolder> Holder(NewObject<UTestHolder>());
	Holder->Hidden = NewObject<UTestHolder>();
	EXPECT_FALSE(Survives(FWeakObjectPtr(Holder->Hidden)));
}

TEST_F(GarbageCollectionReachability, AddReferencedObjectsKeepsItsObjects)
{
	TStrongObjectPtr<UTestCustomReferencer> Referencer(NewObject<UTestCustomReferencer>());
	Referencer->Extra = NewObject<UTestHolder>();
	const FWeakObjectPtr Weak(Referencer->Extra);
	EXPECT_TRUE(Survives(Weak));
	Referencer->Extra = nullptr;
	EXPECT_FALSE(Survives(Weak));
}

TEST_F(GarbageCollectionReachability, ObjectKeepsItsOuterChain)
{
	UTestHolder* Outermost = NewObject<UTestHolder>();
	UTestHolder* Middle = NewObject<UTestHolder>(Outermost);
	TStrongObjectPtr<UTestHolder> Inner(NewObject<UTestHolder>(Middle));
	EXPECT_TRUE(Survives(FWeakObjectPtr(Outermost)));
	EXPECT_TRUE(Survives(FWeakObjectPtr(Middle)));
}

TEST_F(GarbageCollectionReachability, GarbageIsCollectedAndPropertiesToItAreCleared)
{
	TStrongObjectPtr<UTestHolder> Holder(NewObject<UTestHolder>());
	UTestHolder* Target = NewObject<UTestHolder>();
	Holder->Held = Target;
	Holder->Payload.Held = Target;
	const FWeakObjectPtr Weak(Target);
	Target->MarkAsGarbage();
	EXPECT_FALSE(Survives(Weak));
	EXPECT_EQ(Holder->Held, nullptr);
	EXPECT_EQ(Holder->Payload.Held, nullptr);
}
