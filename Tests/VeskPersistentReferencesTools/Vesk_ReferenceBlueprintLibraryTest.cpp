#include "Vesk_ReferenceBlueprintLibrary.h"

#include "UObject/Class.h"
#include "UObject/UnrealType.h"
#include "VeskToolsTestSupport.h"

#include <gtest/gtest.h>

#include <new>

using EStatus = EVesk_ReferenceStatus;

namespace
{
	// A call of a static node function as a graph makes it: the parameters in a block laid out by
	// the function's own properties, run through ProcessEvent on the library's default object.
	class FNodeCall
	{
	public:
		explicit FNodeCall(const TCHAR* FunctionName)
			: Function(UVesk_ReferenceBlueprintLibrary::StaticClass()->FindFunctionByName(FName(FunctionName)))
		{
			check(Function);
			Parms.SetNumZeroed(Function->ParmsSize);
		}

		~FNodeCall()
		{
			if (FTextProperty* Result = CastField<FTextProperty>(Function->FindPropertyByName(TEXT("ReturnValue"))))
			{
				Result->ContainerPtrToValuePtr<FText>(Parms.GetData())->~FText();
			}
		}

		template<typename T>
		T& Param(const TCHAR* Name)
		{
			const FProperty* Property = Function->FindPropertyByName(FName(Name));
			check(Property && Property->GetSize() == (int32)sizeof(T));
			return *Property->ContainerPtrToValuePtr<T>(Parms.GetData());
		}

		void Run()
		{
			UVesk_ReferenceBlueprintLibrary::StaticClass()->GetDefaultObject()->ProcessEvent(Function, Parms.GetData());
		}

		UFunction* Function;

	private:
		TArray<uint8> Parms;
	};
}

class FReferenceBlueprintLibraryTest : public FVeskToolsTestBase
{
protected:
	UObject* Resolve(const UObject* Context, const FGuid& Identity, UClass* ExpectedClass, EStatus& OutStatus)
	{
		FNodeCall Call(TEXT("ResolvePersistentReference"));
		Call.Param<const UObject*>(TEXT("WorldContextObject")) = Context;
		Call.Param<FGuid>(TEXT("Identity")) = Identity;
		Call.Param<UClass*>(TEXT("ExpectedClass")) = ExpectedClass;
		Call.Param<EStatus>(TEXT("Status")) = EStatus::Empty;
		Call.Run();
		OutStatus = Call.Param<EStatus>(TEXT("Status"));
		return Call.Param<UObject*>(TEXT("ReturnValue"));
	}

	UActorComponent* ResolveComponent(const UObject* Context, const FGuid& Identity, UClass* ComponentClass, EStatus& OutStatus)
	{
		FNodeCall Call(TEXT("ResolvePersistentReferenceComponent"));
		Call.Param<const UObject*>(TEXT("WorldContextObject")) = Context;
		Call.Param<FGuid>(TEXT("Identity")) = Identity;
		Call.Param<UClass*>(TEXT("ComponentClass")) = ComponentClass;
		Call.Run();
		OutStatus = Call.Param<EStatus>(TEXT("Status"));
		return Call.Param<UActorComponent*>(TEXT("ReturnValue"));
	}
};

TEST_F(FReferenceBlueprintLibraryTest, ResolveGivesTheObjectOfTheExpectedClassThroughProcessEvent)
{
	AVeskToolsTestActor* Producer = SpawnActor();
	BindAndPublish(Producer, ToolsTestIdentity(1));
	EStatus Status = EStatus::Empty;

	EXPECT_EQ(Resolve(Producer, ToolsTestIdentity(1), AVeskToolsTestActor::StaticClass(), Status), Producer);
	EXPECT_EQ(Status, EStatus::Available);
	EXPECT_EQ(Resolve(Producer, ToolsTestIdentity(1), UObject::StaticClass(), Status), Producer);
	EXPECT_EQ(Status, EStatus::Available);
	EXPECT_EQ(Resolve(Producer, ToolsTestIdentity(1), AVeskToolsTestOtherActor::StaticClass(), Status), nullptr);
	EXPECT_EQ(Status, EStatus::TypeMismatch);
}

TEST_F(FReferenceBlueprintLibraryTest, ANullExpectedClassIsAMismatchAsInTheRegistry)
{
	AVeskToolsTestActor* Producer = SpawnActor();
	BindAndPublish(Producer, ToolsTestIdentity(1));
	EStatus Status = EStatus::Empty;
	EXPECT_EQ(Resolve(Producer, ToolsTestIdentity(1), nullptr, Status), nullptr);
	EXPECT_EQ(Status, EStatus::TypeMismatch);
}

TEST_F(FReferenceBlueprintLibraryTest, ResolveReportsWhyThereIsNoObject)
{
	AVeskToolsTestActor* Context = SpawnActor();
	Bind(NewWorldObject(), ToolsTestIdentity(1));
	Registry->RemovePermanently(BindAndPublish(NewWorldObject(), ToolsTestIdentity(2)));
	EStatus Status = EStatus::Empty;

	EXPECT_EQ(Resolve(Context, ToolsTestIdentity(1), UObject::StaticClass(), Status), nullptr);
	EXPECT_EQ(Status, EStatus::Initializing);
	EXPECT_EQ(Resolve(Context, ToolsTestIdentity(2), UObject::StaticClass(), Status), nullptr);
	EXPECT_EQ(Status, EStatus::Removed);
	EXPECT_EQ(Resolve(Context, ToolsTestIdentity(3), UObject::StaticClass(), Status), nullptr);
	EXPECT_EQ(Status, EStatus::Unavailable);
	EXPECT_EQ(Resolve(Context, FGuid(), UObject::StaticClass(), Status), nullptr);
	EXPECT_EQ(Status, EStatus::Empty);

	// A context outside any world has no registry to ask.
	UVeskToolsTestObject* Outside = NewObject<UVeskToolsTestObject>();
	EXPECT_EQ(Resolve(Outside, ToolsTestIdentity(1), UObject::StaticClass(), Status), nullptr);
	EXPECT_EQ(Status, EStatus::Unavailable);
	EXPECT_EQ(Resolve(nullptr, FGuid(), UObject::StaticClass(), Status), nullptr);
	EXPECT_EQ(Status, EStatus::Empty);
}

TEST_F(FReferenceBlueprintLibraryTest, ResolveComponentGivesTheActorsOneComponentOfTheClass)
{
	AVeskToolsTestActor* Producer = SpawnActor();
	UVeskToolsTestComponent* Component = AddComponent(Producer);
	BindAndPublish(Producer, ToolsTestIdentity(1));
	EStatus Status = EStatus::Empty;

	EXPECT_EQ(ResolveComponent(Producer, ToolsTestIdentity(1), UVeskToolsTestComponent::StaticClass(), Status), Component);
	EXPECT_EQ(Status, EStatus::Available);
	EXPECT_EQ(ResolveComponent(Producer, ToolsTestIdentity(1), UVeskToolsTestOtherComponent::StaticClass(), Status), nullptr);
	EXPECT_EQ(Status, EStatus::MissingComponent);
	AddComponent(Producer);
	EXPECT_EQ(ResolveComponent(Producer, ToolsTestIdentity(1), UVeskToolsTestComponent::StaticClass(), Status), nullptr);
	EXPECT_EQ(Status, EStatus::AmbiguousComponent);
}

TEST_F(FReferenceBlueprintLibraryTest, ResolveComponentNeverGivesTheActorItself)
{
	AVeskToolsTestActor* Producer = SpawnActor();
	AddComponent(Producer);
	BindAndPublish(Producer, ToolsTestIdentity(1));
	BindAndPublish(AddComponent(SpawnActor()), ToolsTestIdentity(2));
	Bind(SpawnActor(), ToolsTestIdentity(3));
	EStatus Status = EStatus::Empty;

	EXPECT_EQ(ResolveComponent(Producer, ToolsTestIdentity(1), nullptr, Status), nullptr);
	EXPECT_EQ(Status, EStatus::TypeMismatch);
	// A component bound under the identity is not an actor to narrow.
	EXPECT_EQ(ResolveComponent(Producer, ToolsTestIdentity(2), UVeskToolsTestComponent::StaticClass(), Status), nullptr);
	EXPECT_EQ(Status, EStatus::TypeMismatch);
	// What takes precedence over the missing class still decides.
	EXPECT_EQ(ResolveComponent(Producer, ToolsTestIdentity(3), nullptr, Status), nullptr);
	EXPECT_EQ(Status, EStatus::Initializing);
	EXPECT_EQ(ResolveComponent(Producer, ToolsTestIdentity(4), nullptr, Status), nullptr);
	EXPECT_EQ(Status, EStatus::Unavailable);
}

TEST_F(FReferenceBlueprintLibraryTest, EveryStatusHasItsOwnDisplayText)
{
	TArray<FString> Texts;
	for (int32 Value = 0; Value <= 7; ++Value)
	{
		FNodeCall Call(TEXT("Conv_ReferenceStatusToText"));
		Call.Param<EStatus>(TEXT("Status")) = static_cast<EStatus>(Value);
		Call.Run();
		Texts.Add(Call.Param<FText>(TEXT("ReturnValue")).ToString());
		EXPECT_TRUE(UVesk_ReferenceBlueprintLibrary::Conv_ReferenceStatusToText(static_cast<EStatus>(Value)).EqualTo(Call.Param<FText>(TEXT("ReturnValue"))));
	}
	EXPECT_EQ(Texts, (TArray<FString>{ TEXT("Empty"), TEXT("Unavailable"), TEXT("Initializing"), TEXT("Type Mismatch"), TEXT("Missing Component"), TEXT("Ambiguous Component"), TEXT("Available"), TEXT("Removed") }));
	EXPECT_FALSE(UVesk_ReferenceBlueprintLibrary::Conv_ReferenceStatusToText(EStatus::Available).IsCultureInvariant());
}

TEST_F(FReferenceBlueprintLibraryTest, NodesCarryTheMetadataTheEditorDrawsThemWith)
{
	const UClass* Library = UVesk_ReferenceBlueprintLibrary::StaticClass();
	EXPECT_TRUE(Library->IsChildOf(UBlueprintFunctionLibrary::StaticClass()));

	const UFunction* Resolve = Library->FindFunctionByName(TEXT("ResolvePersistentReference"));
	ASSERT_NE(Resolve, nullptr);
	EXPECT_TRUE(Resolve->HasAllFunctionFlags(FUNC_Static | FUNC_BlueprintCallable | FUNC_Native | FUNC_HasOutParms));
	EXPECT_FALSE(Resolve->HasAnyFunctionFlags(FUNC_BlueprintPure));
	EXPECT_EQ(Resolve->GetMetaData(TEXT("WorldContext")), FString(TEXT("WorldContextObject")));
	EXPECT_EQ(Resolve->GetMetaData(TEXT("DeterminesOutputType")), FString(TEXT("ExpectedClass")));
	// The default an editor puts on the pin: any object.
	EXPECT_EQ(Resolve->GetMetaData(TEXT("ExpectedClass")), FString(TEXT("/Script/CoreUObject.Object")));
	EXPECT_EQ(Resolve->GetMetaData(TEXT("Category")), FString(TEXT("Vesk|Persistent References")));
	EXPECT_FALSE(Resolve->GetMetaData(TEXT("ToolTip")).IsEmpty());
	const FClassProperty* ExpectedClass = CastField<FClassProperty>(Resolve->FindPropertyByName(TEXT("ExpectedClass")));
	ASSERT_NE(ExpectedClass, nullptr);
	EXPECT_EQ(ExpectedClass->MetaClass, UObject::StaticClass());
	const FByteProperty* Status = CastField<FByteProperty>(Resolve->FindPropertyByName(TEXT("Status")));
	ASSERT_NE(Status, nullptr);
	EXPECT_TRUE(Status->HasAllPropertyFlags(CPF_Parm | CPF_OutParm));
	EXPECT_EQ(Status->Enum, StaticEnum<EStatus>());
	EXPECT_NE(CastField<FObjectProperty>(Resolve->FindPropertyByName(TEXT("ReturnValue"))), nullptr);

	const UFunction* ResolveComponent = Library->FindFunctionByName(TEXT("ResolvePersistentReferenceComponent"));
	ASSERT_NE(ResolveComponent, nullptr);
	EXPECT_TRUE(ResolveComponent->HasAllFunctionFlags(FUNC_Static | FUNC_BlueprintCallable));
	EXPECT_EQ(ResolveComponent->GetMetaData(TEXT("WorldContext")), FString(TEXT("WorldContextObject")));
	EXPECT_EQ(ResolveComponent->GetMetaData(TEXT("DeterminesOutputType")), FString(TEXT("ComponentClass")));
	const FClassProperty* ComponentClass = CastField<FClassProperty>(ResolveComponent->FindPropertyByName(TEXT("ComponentClass")));
	ASSERT_NE(ComponentClass, nullptr);
	EXPECT_EQ(ComponentClass->MetaClass, UActorComponent::StaticClass());

	const UFunction* ToText = Library->FindFunctionByName(TEXT("Conv_ReferenceStatusToText"));
	ASSERT_NE(ToText, nullptr);
	EXPECT_TRUE(ToText->HasAllFunctionFlags(FUNC_Static | FUNC_BlueprintCallable | FUNC_BlueprintPure));
	EXPECT_TRUE(ToText->HasMetaData(TEXT("BlueprintAutocast")));
	EXPECT_EQ(ToText->GetMetaData(TEXT("CompactNodeTitle")), FString(TEXT("->")));
	EXPECT_NE(CastField<FTextProperty>(ToText->FindPropertyByName(TEXT("ReturnValue"))), nullptr);
}
