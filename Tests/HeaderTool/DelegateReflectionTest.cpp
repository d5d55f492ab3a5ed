#include "ReflectionFixture.h"
#include "ReflectionTestSupport.h"

#include "UObject/UObjectGlobals.h"

using namespace HeaderToolTests;

namespace
{
	UFunction* SignatureOf(const TCHAR* PropertyName)
	{
		FMulticastDelegateProperty* Property = FindTypedProperty<FMulticastDelegateProperty>(UFixtureObject::StaticClass(), PropertyName);
		return Property ? Property->SignatureFunction : nullptr;
	}
}

TEST(DelegateReflection, InlineDelegateMemberIsAnAssignableInlineMulticastProperty)
{
	FMulticastInlineDelegateProperty* OnChanged = FindTypedProperty<FMulticastInlineDelegateProperty>(UFixtureObject::StaticClass(), TEXT("OnChanged"));
	ASSERT_NE(OnChanged, nullptr);
	EXPECT_TRUE(OnChanged->HasAllPropertyFlags(CPF_BlueprintAssignable | CPF_NativeAccessSpecifierPublic));
	EXPECT_FALSE(OnChanged->HasAnyPropertyFlags(CPF_Edit | CPF_BlueprintVisible));
	EXPECT_EQ(OnChanged->GetElementSize(), (int32)sizeof(FFixtureChanged));
}

TEST(DelegateReflection, SparseDelegateMemberIsASparseMulticastProperty)
{
	FMulticastSparseDelegateProperty* OnSparse = FindTypedProperty<FMulticastSparseDelegateProperty>(UFixtureObject::StaticClass(), TEXT("OnSparse"));
	ASSERT_NE(OnSparse, nullptr);
	EXPECT_FALSE(OnSparse->HasAnyPropertyFlags(CPF_BlueprintAssignable));
	EXPECT_EQ(OnSparse->GetElementSize(), (int32)sizeof(FFixtureSparseSignature));
	ASSERT_NE(OnSparse->SignatureFunction, nullptr);
}

TEST(DelegateReflection, SignatureIsAMulticastDelegateFunctionOfThePackage)
{
	UFunction* Signature = SignatureOf(TEXT("OnChanged"));
	ASSERT_NE(Signature, nullptr);
	EXPECT_TRUE(Signature->IsA<UDelegateFunction>());
	EXPECT_EQ(NameOf(Signature), "FixtureChanged__DelegateSignature");
	EXPECT_EQ(NameOf(Signature->GetOuter()), "/Script/HeaderToolFixture");
	EXPECT_EQ(Signature->FunctionFlags, EFunctionFlags(FUNC_MulticastDelegate | FUNC_Delegate | FUNC_Public));
	EXPECT_EQ(Signature->NumParms, 0);
	EXPECT_EQ(Signature->GetReturnProperty(), nullptr);
	EXPECT_EQ(Meta(Signature, TEXT("ToolTip")), "Broadcast when the fixture changes.");
	EXPECT_EQ(Meta(Signature, TEXT("ModuleRelativePath")), "Public/ReflectionFixture.h");
}

TEST(DelegateReflection, SignatureParametersAreThoseOfTheDeclaration)
{
	UFunction* Signature = SignatureOf(TEXT("OnMoved"));
	ASSERT_NE(Signature, nullptr);
	EXPECT_EQ(NameOf(Signature), "FixtureMoved__DelegateSignature");
	EXPECT_EQ(Signature->NumParms, 2);
	FObjectProperty* Source = FindTypedProperty<FObjectProperty>(Signature, TEXT("Source"));
	FIntProperty* Distance = FindTypedProperty<FIntProperty>(Signature, TEXT("Distance"));
	ASSERT_TRUE(Source && Distance);
	EXPECT_EQ(Source->PropertyClass, UObject::StaticClass());
	EXPECT_TRUE(Distance->HasAnyPropertyFlags(CPF_Parm));
	EXPECT_FALSE(Distance->HasAnyPropertyFlags(CPF_OutParm));
}

TEST(DelegateReflection, SparseSignatureBelongsToItsOwningClass)
{
	UFunction* Signature = SignatureOf(TEXT("OnSparse"));
	ASSERT_NE(Signature, nullptr);
	EXPECT_EQ(NameOf(Signature), "FixtureSparseSignature__DelegateSignature");
	EXPECT_EQ(Signature->GetOuter(), UFixtureObject::StaticClass());
	EXPECT_NE(FindTypedProperty<FBoolProperty>(Signature, TEXT("bFlag")), nullptr);
}

TEST(DelegateReflection, BroadcastWithoutParametersReachesTheHandler)
{
	UFixtureObject* Sender = NewObject<UFixtureObject>();
	UFixtureObject* Receiver = NewObject<UFixtureObject>();
	Sender->OnChanged.AddDynamic(Receiver, &UFixtureObject::HandleChanged);
	Sender->OnChanged.Broadcast();
	Sender->OnChanged.Broadcast();
	EXPECT_EQ(Receiver->ChangedCount, 2);
	EXPECT_EQ(Sender->ChangedCount, 0);
}

TEST(DelegateReflection, BroadcastPacksItsArgumentsForTheHandler)
{
	UFixtureObject* Sender = NewObject<UFixtureObject>();
	UFixtureObject* Receiver = NewObject<UFixtureObject>();
	Sender->OnMoved.AddDynamic(Receiver, &UFixtureObject::HandleMoved);
	Sender->OnMoved.Broadcast(Sender, 17);
	EXPECT_EQ(Receiver->LastObject, Sender);
	EXPECT_EQ(Receiver->LastDistance, 17);
}

TEST(DelegateReflection, SparseBroadcastReachesTheHandler)
{
	UFixtureObject* Sender = NewObject<UFixtureObject>();
	UFixtureObject* Receiver = NewObject<UFixtureObject>();
	EXPECT_FALSE(Sender->OnSparse.IsBound());
	Sender->OnSparse.AddDynamic(Receiver, &UFixtureObject::HandleSparse);
	EXPECT_TRUE(Sender->OnSparse.IsBound());
	Sender->OnSparse.Broadcast(true);
	EXPECT_TRUE(Receiver->bLastFlag);
	Sender->OnSparse.Broadcast(false);
	EXPECT_FALSE(Receiver->bLastFlag);
}
