#include "Containers/Set.h"
#include "CoreUObjectTestTypes.h"
#include "UObject/ObjectKey.h"
#include "UObject/StrongObjectPtr.h"

#include <gtest/gtest.h>

namespace
{
	void DestroyNow(UObject* Object)
	{
		Object->MarkAsGarbage();
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}
}

TEST(ObjectKeyIdentity, SameObjectSameKeyAndNullIsTheDefault)
{
	const TStrongObjectPtr<UTestHolder> First(NewObject<UTestHolder>());
	const TStrongObjectPtr<UTestHolder> Second(NewObject<UTestHolder>());

	EXPECT_EQ(FObjectKey(First.Get()), FObjectKey(First.Get()));
	EXPECT_NE(FObjectKey(First.Get()), FObjectKey(Second.Get()));
	EXPECT_EQ(FObjectKey(nullptr), FObjectKey());
	EXPECT_EQ(FObjectKey(First.Get()).ResolveObjectPtr(), First.Get());
	EXPECT_EQ(FObjectKey().ResolveObjectPtr(), nullptr);
}

TEST(ObjectKeyIdentity, GoneObjectsKeepDifferentKeysAndTheirSlotsNewOccupantIsAnother)
{
	// Only First and Second may be freed by the collection below, so one of their slots is the next
	// one taken.
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	UTestHolder* First = NewObject<UTestHolder>();
	UTestHolder* Second = NewObject<UTestHolder>();
	const FObjectKey FirstKey(First);
	const FObjectKey SecondKey(Second);
	const uint32 FirstSlot = First->GetUniqueID();
	const uint32 SecondSlot = Second->GetUniqueID();
	First->MarkAsGarbage();
	Second->MarkAsGarbage();
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);

	const TStrongObjectPtr<UTestHolder> Next(NewObject<UTestHolder>());
	const FObjectKey NextKey(Next.Get());

	ASSERT_TRUE(Next->GetUniqueID() == FirstSlot || Next->GetUniqueID() == SecondSlot) << "no slot was reused; the test proves nothing";
	EXPECT_NE(FirstKey, SecondKey);
	EXPECT_NE(NextKey, FirstKey);
	EXPECT_NE(NextKey, SecondKey);
	EXPECT_EQ(FirstKey.ResolveObjectPtr(), nullptr);
	EXPECT_EQ(SecondKey.ResolveObjectPtrEvenIfGarbage(), nullptr);
}

TEST(ObjectKeyIdentity, GarbageResolvesOnlyWhenAskedEvenIfGarbage)
{
	UTestHolder* Doomed = NewObject<UTestHolder>();
	const FObjectKey Key(Doomed);
	Doomed->MarkAsGarbage();

	EXPECT_EQ(Key.ResolveObjectPtr(), nullptr);
	EXPECT_EQ(Key.ResolveObjectPtrEvenIfGarbage(), Doomed);
	DestroyNow(Doomed);
	EXPECT_EQ(Key.ResolveObjectPtrEvenIfGarbage(), nullptr);
}

TEST(ObjectKeyHash, ObjectsMadeOneAfterAnotherHashApart)
{
	constexpr int32 NumObjects = 4096;
	TArray<TStrongObjectPtr<UTestHolder>> Objects;
	TSet<uint32> Hashes;
	for (int32 Index = 0; Index < NumObjects; ++Index)
	{
		Objects.Emplace(NewObject<UTestHolder>());
		Hashes.Add(GetTypeHash(FObjectKey(Objects.Last().Get())));
	}

	// A weak pointer's hash, slot exclusive-or serial number, takes a few dozen values here.
	EXPECT_GE(Hashes.Num(), NumObjects - NumObjects / 100);
}
