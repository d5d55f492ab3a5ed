#include "AllocationCount.h"
#include "CoreUObjectTestTypes.h"
#include "UObject/StrongObjectPtr.h"

#include <gtest/gtest.h>

class DynamicMulticastBroadcast : public testing::Test
{
protected:
	void TearDown() override
	{
		Emitter.Reset();
		First.Reset();
		Second.Reset();
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}

	TStrongObjectPtr<UTestEmitter> Emitter{ NewObject<UTestEmitter>() };
	TStrongObjectPtr<UTestListener> First{ NewObject<UTestListener>() };
	TStrongObjectPtr<UTestListener> Second{ NewObject<UTestListener>() };
};

TEST_F(DynamicMulticastBroadcast, CallsHandlersInTheOrderAdded)
{
	TArray<UTestListener*> Order;
	First->DuringSignal = [&Order, this](int32) { Order.Add(First.Get()); };
	Second->DuringSignal = [&Order, this](int32) { Order.Add(Second.Get()); };
	Emitter->OnSignal.AddDynamic(Second.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.AddDynamic(First.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.Broadcast(7);
	ASSERT_EQ(Order.Num(), 2);
	EXPECT_EQ(Order[0], Second.Get());
	EXPECT_EQ(Order[1], First.Get());
	ASSERT_EQ(First->Received.Num(), 1);
	EXPECT_EQ(First->Received[0].Value, 7);
}

TEST_F(DynamicMulticastBroadcast, UsesTheListAsItWasWhenTheBroadcastStarted)
{
	Emitter->OnSignal.AddDynamic(First.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.AddDynamic(Second.Get(), &UTestListener::HandleSignal);
	// The first handler removes the second and adds a third; neither change affects this call.
	First->DuringSignal = [this](int32)
	{
		Emitter->OnSignal.RemoveDynamic(Second.Get(), &UTestListener::HandleSignal);
		Emitter->OnSignal.AddDynamic(First.Get(), &UTestListener::HandleOther);
	};
	Emitter->OnSignal.Broadcast(1);
	EXPECT_EQ(First->Received.Num(), 1);
	EXPECT_EQ(Second->Received.Num(), 1);

	First->DuringSignal = nullptr;
	Emitter->OnSignal.Broadcast(2);
	EXPECT_EQ(Second->Received.Num(), 1);
	ASSERT_EQ(First->Received.Num(), 3);
	EXPECT_EQ(First->Received[2].Key, FName(TEXT("HandleOther")));
}

TEST_F(DynamicMulticastBroadcast, SkipsHandlersWhoseObjectIsGone)
{
	Emitter->OnSignal.AddDynamic(First.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.AddDynamic(Second.Get(), &UTestListener::HandleSignal);
	UTestListener* Doomed = First.Get();
	Doomed->MarkAsGarbage();
	Emitter->OnSignal.Broadcast(3);
	EXPECT_TRUE(Doomed->Received.IsEmpty());
	EXPECT_EQ(Second->Received.Num(), 1);
}

TEST_F(DynamicMulticastBroadcast, AddUniqueKeepsOneBindingPerObjectAndFunction)
{
	Emitter->OnSignal.AddUniqueDynamic(First.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.AddUniqueDynamic(First.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.AddUniqueDynamic(First.Get(), &UTestListener::HandleOther);
	EXPECT_TRUE(Emitter->OnSignal.IsAlreadyBound(First.Get(), &UTestListener::HandleSignal));
	Emitter->OnSignal.Broadcast(4);
	EXPECT_EQ(First->Received.Num(), 2);

	// Plain Add does not deduplicate.
	Emitter->OnSignal.AddDynamic(Second.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.AddDynamic(Second.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.Broadcast(5);
	EXPECT_EQ(Second->Received.Num(), 2);
}

TEST_F(DynamicMulticastBroadcast, RemoveMatchesObjectAndFunctionName)
{
	Emitter->OnSignal.AddDynamic(First.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.AddDynamic(First.Get(), &UTestListener::HandleOther);
	Emitter->OnSignal.AddDynamic(Second.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.RemoveDynamic(First.Get(), &UTestListener::HandleSignal);
	EXPECT_FALSE(Emitter->OnSignal.IsAlreadyBound(First.Get(), &UTestListener::HandleSignal));
	EXPECT_TRUE(Emitter->OnSignal.IsAlreadyBound(First.Get(), &UTestListener::HandleOther));
	Emitter->OnSignal.Broadcast(6);
	ASSERT_EQ(First->Received.Num(), 1);
	EXPECT_EQ(First->Received[0].Key, FName(TEXT("HandleOther")));
	EXPECT_EQ(Second->Received.Num(), 1);
}

TEST_F(DynamicMulticastBroadcast, RemoveTakesOneOfSeveralEqualBindings)
{
	Emitter->OnSignal.AddDynamic(First.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.AddDynamic(First.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.RemoveDynamic(First.Get(), &UTestListener::HandleSignal);
	EXPECT_TRUE(Emitter->OnSignal.IsAlreadyBound(First.Get(), &UTestListener::HandleSignal));
	Emitter->OnSignal.Broadcast(12);
	EXPECT_EQ(First->Received.Num(), 1);
}

TEST_F(DynamicMulticastBroadcast, BindingAnUnreflectedFunctionRaisesTheEnsure)
{
	testing::internal::CaptureStderr();
	Emitter->OnSignal.AddDynamic(First.Get(), &UTestListener::HandleUnreflected);
	const std::string Output = testing::internal::GetCapturedStderr();
	EXPECT_NE(Output.find("Unable to bind delegate to 'HandleUnreflected' (function might not be marked as a UFUNCTION or object may be pending kill)"), std::string::npos) << Output;
	// Nothing can be called through the binding.
	Emitter->OnSignal.Broadcast(8);
	EXPECT_TRUE(First->Received.IsEmpty());
}

TEST_F(DynamicMulticastBroadcast, BindingAndRemovingByMemberNameAllocatesNothingOfItsOwn)
{
	// The first binding gives the list its storage; the name of every call below is already known.
	Emitter->OnSignal.AddUniqueDynamic(First.Get(), &UTestListener::HandleSignal);
	const FAllocationCount Allocations;

	Emitter->OnSignal.AddUniqueDynamic(First.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.AddUniqueDynamic(Second.Get(), &UTestListener::HandleSignal);
	const bool bBoundBeforeRemoval = Emitter->OnSignal.IsAlreadyBound(Second.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.RemoveDynamic(Second.Get(), &UTestListener::HandleSignal);
	Emitter->OnSignal.RemoveDynamic(Second.Get(), &UTestListener::HandleSignal);

	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_TRUE(bBoundBeforeRemoval);
	EXPECT_TRUE(Emitter->OnSignal.IsAlreadyBound(First.Get(), &UTestListener::HandleSignal));
	EXPECT_FALSE(Emitter->OnSignal.IsAlreadyBound(Second.Get(), &UTestListener::HandleSignal));
	Emitter->OnSignal.Broadcast(13);
	EXPECT_EQ(First->Received.Num(), 1);
	EXPECT_TRUE(Second->Received.IsEmpty());
}

TEST(MemberFunctionName, KnownNameIsFoundWithoutAllocating)
{
	const FName Known(TEXT("HandleKnownSignal"));
	const FAllocationCount Allocations;

	const FName Trimmed = UE::Delegates::Private::GetTrimmedMemberFunctionName(TEXT("&UTestListener::HandleKnownSignal"));

	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_EQ(Trimmed, Known);
}

TEST(MemberFunctionName, KeepsTheNumberOfANumberedName)
{
	EXPECT_EQ(UE::Delegates::Private::GetTrimmedMemberFunctionName(TEXT("&UType::Handler_2")), FName(TEXT("Handler_2")));
	EXPECT_EQ(UE::Delegates::Private::GetTrimmedMemberFunctionName(TEXT("&UType::Handler_2")).GetNumber(), NAME_EXTERNAL_TO_INTERNAL(2));
}

TEST(MemberFunctionName, IsTheTextAfterTheLastScope)
{
	EXPECT_EQ(UE::Delegates::Private::GetTrimmedMemberFunctionName(TEXT("&UTestListener::HandleSignal")), FName(TEXT("HandleSignal")));
	EXPECT_EQ(UE::Delegates::Private::GetTrimmedMemberFunctionName(TEXT("&Outer::Inner::UType::Handler")), FName(TEXT("Handler")));
}

class SparseDelegateStorage : public DynamicMulticastBroadcast
{
};

TEST_F(SparseDelegateStorage, AddUniqueAndRemoveByName)
{
	EXPECT_FALSE(Emitter->OnSparseSignal.IsBound());
	Emitter->OnSparseSignal.AddUniqueDynamic(First.Get(), &UTestListener::HandleSignal);
	Emitter->OnSparseSignal.AddUniqueDynamic(First.Get(), &UTestListener::HandleSignal);
	Emitter->OnSparseSignal.AddUniqueDynamic(Second.Get(), &UTestListener::HandleSignal);
	EXPECT_TRUE(Emitter->OnSparseSignal.IsBound());
	Emitter->OnSparseSignal.Broadcast(9);
	EXPECT_EQ(First->Received.Num(), 1);
	EXPECT_EQ(Second->Received.Num(), 1);

	EXPECT_FALSE(FSparseDelegateStorage::Remove(Emitter.Get(), FName(TEXT("Unrelated")), First.Get(), FName(TEXT("HandleSignal"))));
	EXPECT_TRUE(FSparseDelegateStorage::Remove(Emitter.Get(), FName(TEXT("OnSparseSignal")), First.Get(), FName(TEXT("HandleSignal"))));
	EXPECT_FALSE(FSparseDelegateStorage::Contains(Emitter.Get(), FName(TEXT("OnSparseSignal")), First.Get(), FName(TEXT("HandleSignal"))));
	Emitter->OnSparseSignal.RemoveDynamic(Second.Get(), &UTestListener::HandleSignal);
	EXPECT_FALSE(Emitter->OnSparseSignal.IsBound());
	Emitter->OnSparseSignal.Broadcast(10);
	EXPECT_EQ(First->Received.Num(), 1);
	EXPECT_EQ(Second->Received.Num(), 1);
}

TEST_F(SparseDelegateStorage, BindingAndRemovingByMemberNameAllocatesNothingOfItsOwn)
{
	// The first binding gives the owner its storage; the name of every call below is already known.
	Emitter->OnSparseSignal.AddUniqueDynamic(First.Get(), &UTestListener::HandleSignal);
	const FAllocationCount Allocations;

	Emitter->OnSparseSignal.AddUniqueDynamic(First.Get(), &UTestListener::HandleSignal);
	Emitter->OnSparseSignal.AddUniqueDynamic(Second.Get(), &UTestListener::HandleSignal);
	const bool bBoundBeforeRemoval = Emitter->OnSparseSignal.IsAlreadyBound(Second.Get(), &UTestListener::HandleSignal);
	Emitter->OnSparseSignal.RemoveDynamic(Second.Get(), &UTestListener::HandleSignal);
	Emitter->OnSparseSignal.RemoveDynamic(Second.Get(), &UTestListener::HandleSignal);

	EXPECT_EQ(Allocations.Get(), 0u);
	EXPECT_TRUE(bBoundBeforeRemoval);
	EXPECT_TRUE(Emitter->OnSparseSignal.IsAlreadyBound(First.Get(), &UTestListener::HandleSignal));
	EXPECT_FALSE(Emitter->OnSparseSignal.IsAlreadyBound(Second.Get(), &UTestListener::HandleSignal));
	Emitter->OnSparseSignal.Broadcast(14);
	EXPECT_EQ(First->Received.Num(), 1);
	EXPECT_TRUE(Second->Received.IsEmpty());
}

TEST_F(SparseDelegateStorage, HandlersGoWithTheirOwner)
{
	Emitter->OnSparseSignal.AddUniqueDynamic(First.Get(), &UTestListener::HandleSignal);
	const UTestEmitter* Owner = Emitter.Get();
	Emitter.Reset();
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_EQ(FSparseDelegateStorage::GetMulticastDelegate(Owner, FName(TEXT("OnSparseSignal"))), nullptr);
}

// What script code does to an object's delegate: it finds the delegate through its property.
class DelegatePropertyBinding : public DynamicMulticastBroadcast
{
protected:
	static FMulticastDelegateProperty* Property(const TCHAR* Name)
	{
		return CastField<FMulticastDelegateProperty>(UTestEmitter::StaticClass()->FindPropertyByName(FName(Name)));
	}

	static FScriptDelegate Handler(UTestListener* Listener, const TCHAR* FunctionName = TEXT("HandleSignal"))
	{
		FScriptDelegate Delegate;
		Delegate.BindUFunction(Listener, FName(FunctionName));
		return Delegate;
	}
};

TEST_F(DelegatePropertyBinding, InlineDelegateIsFoundFromItsOwnerOrItsValue)
{
	FMulticastDelegateProperty* OnSignal = Property(TEXT("OnSignal"));
	ASSERT_NE(OnSignal, nullptr);
	OnSignal->AddDelegate(Handler(First.Get()), Emitter.Get());
	OnSignal->AddDelegate(Handler(Second.Get()), nullptr, &Emitter->OnSignal);
	// Binding a pair twice keeps one binding, as a script assignment does.
	OnSignal->AddDelegate(Handler(First.Get()), Emitter.Get());
	EXPECT_EQ(OnSignal->GetMulticastDelegate(&Emitter->OnSignal), &Emitter->OnSignal);
	EXPECT_EQ(Emitter->OnSignal.Num(), 2);

	Emitter->OnSignal.Broadcast(4);
	EXPECT_EQ(First->Received.Num(), 1);
	EXPECT_EQ(Second->Received.Num(), 1);

	OnSignal->RemoveDelegate(Handler(First.Get()), Emitter.Get());
	Emitter->OnSignal.Broadcast(5);
	EXPECT_EQ(First->Received.Num(), 1);
	EXPECT_EQ(Second->Received.Num(), 2);

	OnSignal->ClearDelegate(Emitter.Get());
	EXPECT_FALSE(Emitter->OnSignal.IsBound());
}

TEST_F(DelegatePropertyBinding, SparseDelegateKeepsItsHandlersWithItsOwner)
{
	FMulticastDelegateProperty* OnSparseSignal = Property(TEXT("OnSparseSignal"));
	ASSERT_NE(OnSparseSignal, nullptr);
	EXPECT_EQ(OnSparseSignal->GetMulticastDelegate(&Emitter->OnSparseSignal), nullptr);
	OnSparseSignal->AddDelegate(Handler(First.Get()), Emitter.Get());
	OnSparseSignal->AddDelegate(Handler(Second.Get()), nullptr, &Emitter->OnSparseSignal);
	EXPECT_TRUE(Emitter->OnSparseSignal.IsBound());
	EXPECT_EQ(OnSparseSignal->GetMulticastDelegate(&Emitter->OnSparseSignal), FSparseDelegateStorage::GetMulticastDelegate(Emitter.Get(), FName(TEXT("OnSparseSignal"))));

	Emitter->OnSparseSignal.Broadcast(6);
	EXPECT_EQ(First->Received.Num(), 1);
	EXPECT_EQ(Second->Received.Num(), 1);

	OnSparseSignal->RemoveDelegate(Handler(First.Get()), Emitter.Get());
	EXPECT_TRUE(Emitter->OnSparseSignal.IsBound());
	OnSparseSignal->RemoveDelegate(Handler(Second.Get()), Emitter.Get());
	EXPECT_FALSE(Emitter->OnSparseSignal.IsBound());

	OnSparseSignal->AddDelegate(Handler(First.Get()), Emitter.Get());
	OnSparseSignal->ClearDelegate(Emitter.Get());
	EXPECT_FALSE(Emitter->OnSparseSignal.IsBound());
	Emitter->OnSparseSignal.Broadcast(7);
	EXPECT_EQ(First->Received.Num(), 1);
}

TEST(DelegatePropertyBindingDeathTest, InlineDelegateNeedsItsValueOrItsOwner)
{
	FMulticastDelegateProperty* OnSignal = CastField<FMulticastDelegateProperty>(UTestEmitter::StaticClass()->FindPropertyByName(TEXT("OnSignal")));
	ASSERT_NE(OnSignal, nullptr);
	EXPECT_DEATH(OnSignal->AddDelegate(FScriptDelegate()), "OnSignal needs the delegate's value or its owner");
}

TEST(DelegatePropertyBindingDeathTest, SparseDelegateNeedsItsValueOrItsOwner)
{
	FMulticastDelegateProperty* OnSparseSignal = CastField<FMulticastDelegateProperty>(UTestEmitter::StaticClass()->FindPropertyByName(TEXT("OnSparseSignal")));
	ASSERT_NE(OnSparseSignal, nullptr);
	EXPECT_DEATH(OnSparseSignal->ClearDelegate(), "OnSparseSignal needs the delegate's value or its owner");
}
