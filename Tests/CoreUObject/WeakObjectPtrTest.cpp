#include "CoreUObjectTestTypes.h"
#include "UObject/WeakObjectPtrTemplates.h"

#include <gtest/gtest.h>

namespace
{
	// Destroys Object now: marks it as garbage and runs a collection.
	void DestroyNow(UObject* Object)
	{
		Object->MarkAsGarbage();
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}
}

TEST(WeakObjectPtrIdentity, NullPointerIsNeitherValidNorStale)
{
	const FWeakObjectPtr Weak;
	EXPECT_EQ(Weak.Get(), nullptr);
	EXPECT_FALSE(Weak.IsValid());
	EXPECT_FALSE(Weak.IsStale());
	EXPECT_TRUE(Weak.IsExplicitlyNull());
}

TEST(WeakObjectPtrIdentity, ReusedSlotGetsNewSerialAndOldPointerStaysNull)
{
	// Only First may be freed by the collection below, so its slot is the next one taken.
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	UTestHolder* First = NewObject<UTestHolder>();
	const TWeakObjectPtr<UTestHolder> WeakFirst(First);
	const int32 Index = WeakFirst.GetWeakPtr().GetObjectIndex();
	const int32 Serial = WeakFirst.GetWeakPtr().GetObjectSerialNumber();
	DestroyNow(First);

	UTestHolder* Second = NewObject<UTestHolder>();
	const FWeakObjectPtr WeakSecond(Second);
	ASSERT_EQ(WeakSecond.GetObjectIndex(), Index);
	EXPECT_NE(WeakSecond.GetObjectSerialNumber(), Serial);
	EXPECT_EQ(WeakFirst.Get(), nullptr);
	EXPECT_TRUE(WeakFirst.IsStale());
	EXPECT_EQ(WeakSecond.Get(), Second);
	EXPECT_NE(WeakFirst.GetWeakPtr(), WeakSecond);
	DestroyNow(Second);
}

TEST(WeakObjectPtrIdentity, GarbageIsNullBeforeCollection)
{
	UTestHolder* Object = NewObject<UTestHolder>();
	const FWeakObjectPtr Weak(Object);
	Object->MarkAsGarbage();
	EXPECT_EQ(Weak.Get(), nullptr);
	EXPECT_EQ(Weak.Get(true), Object);
	EXPECT_TRUE(Weak.IsStale(true));
	EXPECT_FALSE(Weak.IsStale(false));
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_EQ(Weak.Get(true), nullptr);
}

TEST(WeakObjectPtrIdentity, TwoStalePointersAreEqualAndNullEqualsStale)
{
	UTestHolder* A = NewObject<UTestHolder>();
	UTestHolder* B = NewObject<UTestHolder>();
	const FWeakObjectPtr WeakA(A);
	const FWeakObjectPtr WeakB(B);
	EXPECT_NE(WeakA, WeakB);
	A->MarkAsGarbage();
	B->MarkAsGarbage();
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_EQ(WeakA, WeakB);
	EXPECT_EQ(WeakA, FWeakObjectPtr());
}

TEST(WeakObjectPtrIdentity, SameObjectGivesEqualPointersAndHashes)
{
	UTestHolder* Object = NewObject<UTestHolder>();
	const FWeakObjectPtr First(Object);
	const FWeakObjectPtr Second(Object);
	EXPECT_EQ(First, Second);
	EXPECT_EQ(GetTypeHash(First), GetTypeHash(Second));
	FWeakObjectPtr Reset = First;
	Reset.Reset();
	EXPECT_EQ(Reset.Get(), nullptr);
	EXPECT_FALSE(Reset.IsStale());
	DestroyNow(Object);
}

TEST(WeakObjectPtrIdentity, KeepsNothingAlive)
{
	const TWeakObjectPtr<UTestHolder> Weak(NewObject<UTestHolder>());
	ASSERT_TRUE(Weak.IsValid());
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_FALSE(Weak.IsValid());
}

TEST(WeakObjectPtrIdentity, SameIndexAndSerialSurvivesTheObject)
{
	UTestHolder* Object = NewObject<UTestHolder>();
	const TWeakObjectPtr<UTestHolder> First(Object);
	const TWeakObjectPtr<UTestHolder> Second(Object);
	const TWeakObjectPtr<UTestHolder> Other(NewObject<UTestHolder>());
	Object->MarkAsGarbage();
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_TRUE(First.HasSameIndexAndSerialNumber(Second));
	EXPECT_FALSE(First.HasSameIndexAndSerialNumber(Other));
	// Equality cannot tell them apart any more.
	EXPECT_TRUE(First == Other);
}
