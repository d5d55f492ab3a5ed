#include "CoreUObjectTestTypes.h"
#include "HeadlessEngineLoop.h"
#include "Modules/ModuleManager.h"
#include "UObject/Package.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UECodeGen.h"
#include "UObject/UObjectGlobals.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
	// Read while the test program's globals are made, before its main starts the engine.
	const bool bObjectSystemUpBeforeStartUp = UObjectInitialized();
}

TEST(ObjectSystemLifetimeDeathTest, TheObjectSystemIsUpFromStartUpUntilTheEngineExits)
{
	EXPECT_FALSE(bObjectSystemUpBeforeStartUp);
	EXPECT_TRUE(UObjectInitialized());
	EXPECT_EXIT(
		{
			FHeadlessEngineLoop::Exit();
			std::exit(UObjectInitialized() ? 1 : 0);
		},
		testing::ExitedWithCode(0), "");
}

namespace
{
	class FCoreUObjectTestsModule : public FDefaultModuleImpl
	{
	public:
		static inline int32 NumStarted = 0;

		virtual void StartupModule() override
		{
			++NumStarted;
		}
	};
}

IMPLEMENT_MODULE(FCoreUObjectTestsModule, CoreUObjectTestsModule)

class ObjectIdentity : public testing::Test
{
protected:
	void TearDown() override
	{
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}
};

TEST_F(ObjectIdentity, DefaultNamesAreUniquePerClass)
{
	UTestHolder* First = NewObject<UTestHolder>();
	UTestHolder* Second = NewObject<UTestHolder>();
	EXPECT_NE(First->GetFName(), Second->GetFName());
	EXPECT_TRUE(First->GetName().StartsWith(TEXT("TestHolder_")));
}

TEST_F(ObjectIdentity, PathNameJoinsOutersWithAColonBelowTopLevelObjects)
{
	UPackage* Package = CreatePackage(TEXT("/Game/PathTest"));
	UTestHolder* TopLevel = NewObject<UTestHolder>(Package, FName(TEXT("Top")));
	UTestHolder* Sub = NewObject<UTestHolder>(TopLevel, FName(TEXT("Sub")));
	UTestHolder* SubSub = NewObject<UTestHolder>(Sub, FName(TEXT("Deeper")));
	EXPECT_EQ(TopLevel->GetPathName(), FString(TEXT("/Game/PathTest.Top")));
	EXPECT_EQ(Sub->GetPathName(), FString(TEXT("/Game/PathTest.Top:Sub")));
	EXPECT_EQ(SubSub->GetPathName(), FString(TEXT("/Game/PathTest.Top:Sub.Deeper")));
	EXPECT_EQ(SubSub->GetPathName(TopLevel), FString(TEXT("Sub.Deeper")));
	EXPECT_EQ(SubSub->GetOutermost(), Package);
	EXPECT_EQ(StaticFindObjectFast(UTestHolder::StaticClass(), TopLevel, FName(TEXT("Sub"))), Sub);
}

TEST_F(ObjectIdentity, GarbageGivesItsNameToANewObject)
{
	UPackage* Package = CreatePackage(TEXT("/Game/RenameTest"));
	UTestHolder* Old = NewObject<UTestHolder>(Package, FName(TEXT("Same")));
	Old->MarkAsGarbage();
	UTestHolder* New = NewObject<UTestHolder>(Package, FName(TEXT("Same")));
	EXPECT_NE(Old, New);
	EXPECT_EQ(New->GetFName(), FName(TEXT("Same")));
	EXPECT_NE(Old->GetFName(), FName(TEXT("Same")));
}

TEST_F(ObjectIdentity, IsATemplateAndValidity)
{
	UTestHolder* Object = NewObject<UTestHolder>();
	EXPECT_TRUE(Object->IsA<UObject>());
	EXPECT_TRUE(Object->IsA<UTestHolder>());
	EXPECT_FALSE(Object->IsA<UTestListener>());
	EXPECT_FALSE(Object->IsTemplate());
	EXPECT_TRUE(UTestHolder::StaticClass()->GetDefaultObject()->IsTemplate());
	EXPECT_TRUE(IsValid(Object));
	Object->MarkAsGarbage();
	EXPECT_FALSE(IsValid(Object));
	EXPECT_FALSE(IsValid(nullptr));
}

TEST(ObjectIdentityDeathTest, LiveObjectOfTheSameNameStops)
{
	UPackage* Package = CreatePackage(TEXT("/Game/DuplicateTest"));
	TStrongObjectPtr<UTestHolder> Existing(NewObject<UTestHolder>(Package, FName(TEXT("Taken"))));
	EXPECT_DEATH(NewObject<UTestHolder>(Package, FName(TEXT("Taken"))), "an object of that name already exists");
}

TEST(ObjectIdentityDeathTest, AbstractClassCannotBeInstantiated)
{
	EXPECT_DEATH(NewObject<UObject>(GetTransientPackage(), UObject::StaticClass()), "Cannot create an object of the abstract class Object");
}

TEST(ReflectedTypes, IsChildOfCountsTheTypeItself)
{
	EXPECT_TRUE(UTestHolder::StaticClass()->IsChildOf(UTestHolder::StaticClass()));
	EXPECT_TRUE(UTestHolder::StaticClass()->IsChildOf(UObject::StaticClass()));
	EXPECT_FALSE(UObject::StaticClass()->IsChildOf(UTestHolder::StaticClass()));
}

TEST(ReflectedTypes, ConstructorFunctionsBuildOnceAndCache)
{
	extern UClass* Z_Construct_UClass_UTestHolder();
	extern UScriptStruct* Z_Construct_UScriptStruct_FTestPayload();
	UClass* Class = Z_Construct_UClass_UTestHolder();
	EXPECT_EQ(Class, Z_Construct_UClass_UTestHolder());
	EXPECT_EQ(Class, UTestHolder::StaticClass());
	EXPECT_TRUE(Class->HasAnyClassFlags(CLASS_Constructed));
	EXPECT_EQ(Z_Construct_UScriptStruct_FTestPayload(), FTestPayload::StaticStruct());
	EXPECT_EQ(FTestPayload::StaticStruct()->GetOuter(), Class->GetOuter());
	EXPECT_EQ(Class->GetOuter()->GetPathName(), FString(TEXT("/Script/CoreUObjectTests")));
}

TEST(ReflectedTypes, ClassPropertiesAndFunctionsAreLinked)
{
	UClass* Class = UTestHolder::StaticClass();
	FObjectProperty* Held = CastField<FObjectProperty>(Class->FindPropertyByName(FName(TEXT("Held"))));
	ASSERT_NE(Held, nullptr);
	UTestHolder* Instance = NewObject<UTestHolder>();
	EXPECT_EQ(Held->ContainerPtrToValuePtr<void>(Instance), (void*)&Instance->Held);
	FClassProperty* HeldClass = CastField<FClassProperty>(Class->FindPropertyByName(FName(TEXT("HeldClass"))));
	ASSERT_NE(HeldClass, nullptr);
	EXPECT_EQ(HeldClass->MetaClass, UObject::StaticClass());
	FStructProperty* Payload = CastField<FStructProperty>(Class->FindPropertyByName(FName(TEXT("Payload"))));
	ASSERT_NE(Payload, nullptr);
	EXPECT_EQ(Payload->Struct, FTestPayload::StaticStruct());
	EXPECT_EQ(Class->FindPropertyByName(FName(TEXT("Hidden"))), nullptr);

	UFunction* Add = UTestListener::StaticClass()->FindFunctionByName(FName(TEXT("Add")));
	ASSERT_NE(Add, nullptr);
	EXPECT_TRUE(Add->HasAnyFunctionFlags(FUNC_Native));
	EXPECT_NE(Add->GetNativeFunc(), nullptr);
	EXPECT_EQ(Add->GetOuter(), UTestListener::StaticClass());
	EXPECT_EQ(Add->NumParms, 3);
	EXPECT_EQ(UTestListener::StaticClass()->FindNativeFunction(FName(TEXT("Add"))), Add->GetNativeFunc());
	EXPECT_EQ(NewObject<UTestListener>()->FindFunction(FName(TEXT("HandleUnreflected"))), nullptr);
}

TEST(CompiledInRegistration, PackageComesFirstThenStructsThenClasses)
{
	const TArray<FCompiledInRecord> Order = GetCompiledInRegistrationOrder();
	auto IndexOf = [&Order](FCompiledInRecord::EKind Kind, const TCHAR* Name)
	{
		return Order.IndexOfByPredicate([Kind, Name](const FCompiledInRecord& Record)
			{ return Record.Kind == Kind && FString(Record.Name) == Name; });
	};
	const int32 Package = IndexOf(FCompiledInRecord::EKind::Package, TEXT("/Script/CoreUObjectTests"));
	const int32 Struct = IndexOf(FCompiledInRecord::EKind::Struct, TEXT("TestPayload"));
	const int32 Class = IndexOf(FCompiledInRecord::EKind::Class, TEXT("UTestHolder"));
	ASSERT_NE(Package, INDEX_NONE);
	ASSERT_NE(Struct, INDEX_NONE);
	ASSERT_NE(Class, INDEX_NONE);
	EXPECT_LT(Package, Struct);
	EXPECT_LT(Struct, Class);
}

TEST(CompiledInRegistration, PackageKeepsTheMetadataItsRegistrationGives)
{
	static const UECodeGen_Private::FMetaDataPairParam MetaData[] = { { "Purpose", "Tests" } };
	static const UECodeGen_Private::FPackageParams Params = { "/Script/PackageMetaDataTest", nullptr, 0, PKG_CompiledIn, 0, 0, MetaData, UE_ARRAY_COUNT(MetaData) };
	UPackage* Package = nullptr;
	UECodeGen_Private::ConstructUPackage(Package, Params);
	ASSERT_NE(Package, nullptr);
	ASSERT_EQ(Package->GetMetaDataMap().Num(), 1);
	EXPECT_EQ(Package->GetMetaDataMap().FindRef(FName(TEXT("Purpose"))), FString(TEXT("Tests")));
}

TEST(EngineStartUp, LoadsAndStartsEveryModuleOfTheLoadedLibrariesOnce)
{
	FModuleManager& Manager = FModuleManager::Get();
	EXPECT_TRUE(Manager.IsModuleLoaded(TEXT("CoreUObjectTestsModule")));
	EXPECT_EQ(FCoreUObjectTestsModule::NumStarted, 1);
	EXPECT_NE(dynamic_cast<FCoreUObjectTestsModule*>(Manager.GetModule(TEXT("CoreUObjectTestsModule"))), nullptr);
}
