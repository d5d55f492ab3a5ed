#include "ReflectionFixture.h"
#include "ReflectionTestSupport.h"

using namespace HeaderToolTests;

namespace
{
	UFunction* FindFixtureFunction(const TCHAR* Name)
	{
		UFunction* Function = UFixtureObject::StaticClass()->FindFunctionByName(FName(Name));
		EXPECT_NE(Function, nullptr) << Utf8(Name);
		return Function;
	}

	TArray<FName> ParameterNames(const UFunction* Function)
	{
		TArray<FName> Names;
		for (TFieldIterator<FProperty> It(Function); It; ++It)
		{
			Names.Add(It->GetFName());
		}
		return Names;
	}
}

TEST(FunctionReflection, EveryFunctionIsNativeAndFinalWithItsAccess)
{
	for (const TCHAR* Name : { TEXT("Take"), TEXT("Make"), TEXT("GetMood"), TEXT("SetLabel"), TEXT("CountSides"), TEXT("Fill"), TEXT("HandleMoved") })
	{
		UFunction* Function = FindFixtureFunction(Name);
		ASSERT_NE(Function, nullptr);
		EXPECT_TRUE(Function->HasAllFunctionFlags(EFunctionFlags(FUNC_Native | FUNC_Final | FUNC_Public))) << Utf8(Name);
		EXPECT_FALSE(Function->HasAnyFunctionFlags(EFunctionFlags(FUNC_Private | FUNC_Protected | FUNC_Event | FUNC_Delegate))) << Utf8(Name);
		EXPECT_EQ(Function->GetOuter(), UFixtureObject::StaticClass()) << Utf8(Name);
	}
	UFunction* Private = FindFixtureFunction(TEXT("OnFixtureEvent"));
	ASSERT_NE(Private, nullptr);
	EXPECT_TRUE(Private->HasAllFunctionFlags(EFunctionFlags(FUNC_Native | FUNC_Final | FUNC_Private)));
	EXPECT_FALSE(Private->HasAnyFunctionFlags(FUNC_Public));
}

TEST(FunctionReflection, SpecifiersAndQualifiersBecomeFunctionFlags)
{
	EXPECT_TRUE(FindFixtureFunction(TEXT("Take"))->HasAnyFunctionFlags(FUNC_BlueprintCallable));
	EXPECT_FALSE(FindFixtureFunction(TEXT("Take"))->HasAnyFunctionFlags(EFunctionFlags(FUNC_BlueprintPure | FUNC_Const | FUNC_Static)));
	EXPECT_TRUE(FindFixtureFunction(TEXT("GetMood"))->HasAllFunctionFlags(EFunctionFlags(FUNC_BlueprintCallable | FUNC_BlueprintPure | FUNC_Const)));
	EXPECT_TRUE(FindFixtureFunction(TEXT("Make"))->HasAnyFunctionFlags(FUNC_Const));
	EXPECT_FALSE(FindFixtureFunction(TEXT("Make"))->HasAnyFunctionFlags(EFunctionFlags(FUNC_BlueprintCallable | FUNC_BlueprintPure)));
	EXPECT_TRUE(FindFixtureFunction(TEXT("CountSides"))->HasAnyFunctionFlags(FUNC_Static));
}

TEST(FunctionReflection, OutParametersButNotTheResultMarkTheFunctionAsHavingOutParameters)
{
	EXPECT_TRUE(FindFixtureFunction(TEXT("Take"))->HasAnyFunctionFlags(FUNC_HasOutParms));
	EXPECT_TRUE(FindFixtureFunction(TEXT("Fill"))->HasAnyFunctionFlags(FUNC_HasOutParms));
	EXPECT_FALSE(FindFixtureFunction(TEXT("Make"))->HasAnyFunctionFlags(FUNC_HasOutParms));
	EXPECT_FALSE(FindFixtureFunction(TEXT("SetLabel"))->HasAnyFunctionFlags(FUNC_HasOutParms));
}

TEST(FunctionReflection, MetadataHoldsModuleRelativePathAndWhatTheDeclarationSays)
{
	UFunction* Make = FindFixtureFunction(TEXT("Make"));
	UFunction* SetLabel = FindFixtureFunction(TEXT("SetLabel"));
	UFunction* Take = FindFixtureFunction(TEXT("Take"));
	ASSERT_TRUE(Make && SetLabel && Take);
	EXPECT_EQ(Meta(Make, TEXT("ModuleRelativePath")), "Public/ReflectionFixture.h");
	EXPECT_TRUE(Make->HasMetaData(TEXT("ScriptCallable")));
	EXPECT_EQ(Meta(Make, TEXT("ScriptCallable")), "");
	EXPECT_FALSE(Make->HasMetaData(TEXT("ToolTip")));
	EXPECT_FALSE(Make->HasMetaData(TEXT("Category")));
	EXPECT_FALSE(Make->HasMetaData(TEXT("IncludePath")));
	EXPECT_EQ(Meta(Take, TEXT("Category")), "Fixture");
	EXPECT_EQ(Meta(SetLabel, TEXT("ToolTip")), "Repeats the label Count times.");
	EXPECT_EQ(Meta(SetLabel, TEXT("CPP_Default_Count")), "2");
	EXPECT_FALSE(SetLabel->HasMetaData(TEXT("CPP_Default_InLabel")));
}

TEST(FunctionReflection, ParametersAreInDeclarationOrderWithTheResultLastAsReturnValue)
{
	UFunction* Take = FindFixtureFunction(TEXT("Take"));
	ASSERT_NE(Take, nullptr);
	const TArray<FName> Expected = { FName(TEXT("S")), FName(TEXT("G")), FName(TEXT("O")), FName(TEXT("ReturnValue")) };
	EXPECT_EQ(ParameterNames(Take), Expected);
	EXPECT_EQ(Take->NumParms, 4);
	FProperty* ReturnValue = Take->GetReturnProperty();
	ASSERT_NE(ReturnValue, nullptr);
	EXPECT_EQ(NameOf(ReturnValue), "ReturnValue");
	EXPECT_TRUE(ReturnValue->IsA<FBoolProperty>());
	EXPECT_TRUE(ReturnValue->HasAllPropertyFlags(CPF_Parm | CPF_OutParm | CPF_ReturnParm));
	EXPECT_EQ(Take->ReturnValueOffset, ReturnValue->GetOffset_ForUFunction());
	EXPECT_EQ(FindFixtureFunction(TEXT("SetLabel"))->GetReturnProperty(), nullptr);
}

TEST(FunctionReflection, ConstantStructReferenceIsAConstReferenceParameterMarkedNativeConst)
{
	FStructProperty* S = FindTypedProperty<FStructProperty>(FindFixtureFunction(TEXT("Take")), TEXT("S"));
	ASSERT_NE(S, nullptr);
	EXPECT_EQ(S->Struct, FFixtureStruct::StaticStruct());
	EXPECT_TRUE(S->HasAllPropertyFlags(CPF_Parm | CPF_OutParm | CPF_ReferenceParm | CPF_ConstParm));
	EXPECT_TRUE(S->HasMetaData(TEXT("NativeConst")));
	EXPECT_FALSE(S->HasMetaData(TEXT("ModuleRelativePath")));
}

TEST(FunctionReflection, ByValueParametersAreOnlyParameters)
{
	UFunction* Take = FindFixtureFunction(TEXT("Take"));
	FStructProperty* G = FindTypedProperty<FStructProperty>(Take, TEXT("G"));
	FObjectProperty* O = FindTypedProperty<FObjectProperty>(Take, TEXT("O"));
	ASSERT_TRUE(G && O);
	EXPECT_EQ(G->Struct, TBaseStructure<FGuid>::Get());
	EXPECT_EQ(O->PropertyClass, UObject::StaticClass());
	for (FProperty* Property : { (FProperty*)G, (FProperty*)O })
	{
		EXPECT_TRUE(Property->HasAllPropertyFlags(CPF_Parm | CPF_NativeAccessSpecifierPublic)) << NameOf(Property);
		EXPECT_FALSE(Property->HasAnyPropertyFlags(CPF_OutParm | CPF_ReferenceParm | CPF_ConstParm | CPF_ReturnParm)) << NameOf(Property);
		EXPECT_FALSE(Property->HasMetaData(TEXT("NativeConst"))) << NameOf(Property);
	}
}

TEST(FunctionReflection, ConstantStringReferenceIsPassedAsAValue)
{
	FStrProperty* InLabel = FindTypedProperty<FStrProperty>(FindFixtureFunction(TEXT("SetLabel")), TEXT("InLabel"));
	ASSERT_NE(InLabel, nullptr);
	EXPECT_TRUE(InLabel->HasAnyPropertyFlags(CPF_Parm));
	EXPECT_FALSE(InLabel->HasAnyPropertyFlags(CPF_OutParm | CPF_ReferenceParm));
	EXPECT_TRUE(InLabel->HasMetaData(TEXT("NativeConst")));
}

TEST(FunctionReflection, NonConstReferencesAreOutParametersAndUParamRefMakesThemReferences)
{
	UFunction* Fill = FindFixtureFunction(TEXT("Fill"));
	FIntProperty* OutCount = FindTypedProperty<FIntProperty>(Fill, TEXT("OutCount"));
	FStructProperty* OutStruct = FindTypedProperty<FStructProperty>(Fill, TEXT("OutStruct"));
	FStructProperty* InOutStruct = FindTypedProperty<FStructProperty>(Fill, TEXT("InOutStruct"));
	ASSERT_TRUE(OutCount && OutStruct && InOutStruct);
	EXPECT_TRUE(OutCount->HasAllPropertyFlags(CPF_Parm | CPF_OutParm));
	EXPECT_FALSE(OutCount->HasAnyPropertyFlags(CPF_ReferenceParm | CPF_ConstParm));
	EXPECT_TRUE(OutStruct->HasAllPropertyFlags(CPF_Parm | CPF_OutParm));
	EXPECT_FALSE(OutStruct->HasAnyPropertyFlags(CPF_ReferenceParm | CPF_ConstParm));
	EXPECT_TRUE(InOutStruct->HasAllPropertyFlags(CPF_Parm | CPF_OutParm | CPF_ReferenceParm));
	EXPECT_FALSE(InOutStruct->HasAnyPropertyFlags(CPF_ConstParm));
}

TEST(FunctionReflection, EnumParametersAndResultsAreBytesNamingTheirEnum)
{
	FByteProperty* Mood = FindTypedProperty<FByteProperty>(FindFixtureFunction(TEXT("GetMood")), TEXT("ReturnValue"));
	ASSERT_NE(Mood, nullptr);
	EXPECT_EQ(Mood->Enum, StaticEnum<EFixtureMood>());
	EXPECT_EQ(Mood->GetElementSize(), 1);
	UFunction* CountSides = FindFixtureFunction(TEXT("CountSides"));
	FByteProperty* First = FindTypedProperty<FByteProperty>(CountSides, TEXT("First"));
	FByteProperty* Second = FindTypedProperty<FByteProperty>(CountSides, TEXT("Second"));
	ASSERT_TRUE(First && Second);
	ASSERT_NE(First->Enum, nullptr);
	EXPECT_EQ(NameOf(First->Enum), "EFixtureSide");
	EXPECT_EQ(Second->Enum, First->Enum);
}

TEST(FunctionReflection, ParameterBlockSizeCoversEveryParameter)
{
	for (const TCHAR* Name : { TEXT("Take"), TEXT("Make"), TEXT("Fill"), TEXT("CountSides") })
	{
		UFunction* Function = FindFixtureFunction(Name);
		ASSERT_NE(Function, nullptr);
		for (TFieldIterator<FProperty> It(Function); It; ++It)
		{
			EXPECT_LE(It->GetOffset_ForUFunction() + It->GetSize(), (int32)Function->ParmsSize) << Utf8(Name) << "." << NameOf(*It);
		}
	}
}

TEST(FunctionReflection, EachFunctionIsBoundToTheNativeEntryItsClassRegistered)
{
	UClass* Class = UFixtureObject::StaticClass();
	const TCHAR* Names[] = { TEXT("CountSides"), TEXT("Fill"), TEXT("GetMood"), TEXT("HandleChanged"), TEXT("HandleMoved"), TEXT("HandleSparse"),
		TEXT("Make"), TEXT("OnFixtureEvent"), TEXT("SetLabel"), TEXT("Take") };
	EXPECT_EQ(Class->GetNativeFunctionTable().Num(), (int32)UE_ARRAY_COUNT(Names));
	for (const TCHAR* Name : Names)
	{
		UFunction* Function = Class->FindFunctionByName(FName(Name));
		ASSERT_NE(Function, nullptr) << Utf8(Name);
		ASSERT_NE(Function->GetNativeFunc(), nullptr) << Utf8(Name);
		EXPECT_EQ(Function->GetNativeFunc(), Class->FindNativeFunction(FName(Name))) << Utf8(Name);
	}
	EXPECT_EQ(Class->FindNativeFunction(FName(TEXT("Take"))), (FNativeFuncPtr)&UFixtureObject::execTake);
}

TEST(FunctionReflection, ChildClassFindsItsParentsFunctions)
{
	EXPECT_EQ(UFixtureConfigChild::StaticClass()->FindFunctionByName(FName(TEXT("Take"))), FindFixtureFunction(TEXT("Take")));
	EXPECT_EQ(UFixtureConfigChild::StaticClass()->FindFunctionByName(FName(TEXT("Take")), false), nullptr);
}
