#include "ScriptOutputFixture.h"
#include "ReflectionTestSupport.h"

#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

#include <cstddef>

using namespace HeaderToolTests;

namespace
{
	// Parameter blocks laid out as the generated code lays them out; each test checks the offsets first.
	struct FDescribeMoodParms
	{
		EFixtureMood Mood = EFixtureMood::Calm;
		FText ReturnValue;
	};

	struct FReadMoodParms
	{
		EFixtureMood OutMood = EFixtureMood::Calm;
		FText OutCaption;
		bool ReturnValue = false;
	};

	void ExpectOffset(const UFunction* Function, const TCHAR* Name, size_t Offset)
	{
		const FProperty* Property = Function->FindPropertyByName(FName(Name));
		ASSERT_NE(Property, nullptr) << Utf8(Name);
		EXPECT_EQ((size_t)Property->GetOffset_ForInternal(), Offset) << Utf8(Name);
	}
}

TEST(ScriptOutputReflection, TextPropertiesAndResultsAreTextProperties)
{
	const UClass* Class = UFixtureScriptOutputObject::StaticClass();
	FTextProperty* Caption = FindTypedProperty<FTextProperty>(Class, TEXT("Caption"));
	ASSERT_NE(Caption, nullptr);
	EXPECT_EQ(Utf8(Caption->GetCPPType()), "FText");
	EXPECT_EQ(Caption->GetSize(), (int32)sizeof(FText));

	const UFunction* Describe = Class->FindFunctionByName(TEXT("DescribeMood"));
	ASSERT_NE(Describe, nullptr);
	const FTextProperty* Result = FindTypedProperty<FTextProperty>(Describe, TEXT("ReturnValue"));
	ASSERT_NE(Result, nullptr);
	EXPECT_TRUE(Result->HasAllPropertyFlags(CPF_Parm | CPF_OutParm | CPF_ReturnParm));
	EXPECT_TRUE(Describe->HasAllFunctionFlags(FUNC_Static | FUNC_BlueprintCallable | FUNC_BlueprintPure));
}

TEST(ScriptOutputReflection, ATextResultReachesTheCallersBlock)
{
	UFunction* Describe = UFixtureScriptOutputObject::StaticClass()->FindFunctionByName(TEXT("DescribeMood"));
	ASSERT_NE(Describe, nullptr);
	ExpectOffset(Describe, TEXT("Mood"), offsetof(FDescribeMoodParms, Mood));
	ExpectOffset(Describe, TEXT("ReturnValue"), offsetof(FDescribeMoodParms, ReturnValue));
	ASSERT_EQ(Describe->ParmsSize, (int32)sizeof(FDescribeMoodParms));

	FDescribeMoodParms Parms;
	Parms.Mood = EFixtureMood::Angry;
	UFixtureScriptOutputObject::StaticClass()->GetDefaultObject()->ProcessEvent(Describe, &Parms);
	EXPECT_EQ(Utf8(Parms.ReturnValue.ToString()), "Angry");
}

TEST(ScriptOutputReflection, EnumClassAndTextOutputsAreWrittenThroughByReference)
{
	const UClass* Class = UFixtureScriptOutputObject::StaticClass();
	UFunction* ReadMood = Class->FindFunctionByName(TEXT("ReadMood"));
	ASSERT_NE(ReadMood, nullptr);
	EXPECT_TRUE(ReadMood->HasAnyFunctionFlags(FUNC_HasOutParms));
	const FByteProperty* OutMood = FindTypedProperty<FByteProperty>(ReadMood, TEXT("OutMood"));
	ASSERT_NE(OutMood, nullptr);
	EXPECT_EQ(OutMood->Enum, StaticEnum<EFixtureMood>());
	EXPECT_TRUE(OutMood->HasAllPropertyFlags(CPF_Parm | CPF_OutParm));
	EXPECT_FALSE(OutMood->HasAnyPropertyFlags(CPF_ReturnParm | CPF_ReferenceParm));
	ExpectOffset(ReadMood, TEXT("OutMood"), offsetof(FReadMoodParms, OutMood));
	ExpectOffset(ReadMood, TEXT("OutCaption"), offsetof(FReadMoodParms, OutCaption));
	ExpectOffset(ReadMood, TEXT("ReturnValue"), offsetof(FReadMoodParms, ReturnValue));

	UFixtureScriptOutputObject* Object = NewObject<UFixtureScriptOutputObject>();
	Object->Mood = EFixtureMood::Sleepy;
	Object->Caption = FText::FromString(TEXT("Dozing"));
	FReadMoodParms Parms;
	Object->ProcessEvent(ReadMood, &Parms);
	EXPECT_EQ(Parms.OutMood, EFixtureMood::Sleepy);
	EXPECT_EQ(Utf8(Parms.OutCaption.ToString()), "Dozing");
	EXPECT_TRUE(Parms.ReturnValue);
}

TEST(ScriptOutputReflection, NodeMetadataIsKeptAsWritten)
{
	const UClass* Class = UFixtureScriptOutputObject::StaticClass();
	const UFunction* Find = Class->FindFunctionByName(TEXT("FindByClass"));
	ASSERT_NE(Find, nullptr);
	EXPECT_EQ(Meta(Find, TEXT("WorldContext")), "WorldContextObject");
	EXPECT_EQ(Meta(Find, TEXT("DeterminesOutputType")), "Class");
	EXPECT_EQ(Meta(Find, TEXT("Class")), "/Script/CoreUObject.Object");
	EXPECT_FALSE(Find->HasMetaData(TEXT("BlueprintInternalUseOnly")));
	const FObjectPropertyBase* Context = FindTypedProperty<FObjectPropertyBase>(Find, TEXT("WorldContextObject"));
	ASSERT_NE(Context, nullptr);
	EXPECT_TRUE(Context->HasAnyPropertyFlags(CPF_ConstParm));

	const UFunction* Create = Class->FindFunctionByName(TEXT("CreateForNode"));
	ASSERT_NE(Create, nullptr);
	EXPECT_EQ(Meta(Create, TEXT("BlueprintInternalUseOnly")), "true");
	EXPECT_FALSE(Create->HasMetaData(TEXT("WorldContext")));
}
