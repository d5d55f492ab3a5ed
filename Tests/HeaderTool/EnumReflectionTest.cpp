#include "ReflectionFixture.h"
#include "ReflectionTestSupport.h"

using namespace HeaderToolTests;

namespace
{
	UEnum* SideEnum()
	{
		FByteProperty* Side = CastField<FByteProperty>(UFixtureObject::StaticClass()->FindPropertyByName(TEXT("Side")));
		return Side ? Side->Enum : nullptr;
	}
}

TEST(EnumReflection, EnumKeepsItsPrefixAndLivesInTheModulesPackage)
{
	UEnum* Enum = StaticEnum<EFixtureMood>();
	ASSERT_NE(Enum, nullptr);
	EXPECT_EQ(NameOf(Enum), "EFixtureMood");
	EXPECT_EQ(NameOf(Enum->GetOuter()), "/Script/HeaderToolFixture");
	EXPECT_EQ(Utf8(Enum->CppType()), "EFixtureMood");
	EXPECT_EQ(Enum->GetCppForm(), UEnum::ECppForm::EnumClass);
}

TEST(EnumReflection, EntriesAreRegisteredUnderFullNamesWithTheirCompiledValues)
{
	UEnum* Enum = StaticEnum<EFixtureMood>();
	ASSERT_NE(Enum, nullptr);
	// The declared entries, then the "_MAX" entry the engine adds.
	ASSERT_GE(Enum->NumEnums(), 3);
	EXPECT_EQ(Utf8(Enum->GetNameByIndex(0).ToString()), "EFixtureMood::Calm");
	EXPECT_EQ(Utf8(Enum->GetNameByIndex(1).ToString()), "EFixtureMood::Angry");
	EXPECT_EQ(Utf8(Enum->GetNameByIndex(2).ToString()), "EFixtureMood::Sleepy");
	EXPECT_EQ(Enum->GetValueByIndex(0), (int64)EFixtureMood::Calm);
	EXPECT_EQ(Enum->GetValueByIndex(1), 5);
	EXPECT_EQ(Enum->GetValueByIndex(2), (int64)EFixtureMood::Sleepy);
	EXPECT_EQ(Enum->GetValueByName(FName(TEXT("EFixtureMood::Sleepy"))), 6);
	EXPECT_EQ(Utf8(Enum->GetNameStringByIndex(1)), "Angry");
}

TEST(EnumReflection, EachEntryHasANameKeyHoldingItsFullName)
{
	UEnum* Enum = StaticEnum<EFixtureMood>();
	ASSERT_NE(Enum, nullptr);
	EXPECT_EQ(Meta(Enum, TEXT("Calm.Name")), "EFixtureMood::Calm");
	EXPECT_EQ(Meta(Enum, TEXT("Angry.Name")), "EFixtureMood::Angry");
	EXPECT_EQ(Meta(Enum, TEXT("Sleepy.Name")), "EFixtureMood::Sleepy");
	EXPECT_EQ(Meta(Enum, TEXT("ModuleRelativePath")), "Public/ReflectionFixture.h");
	EXPECT_EQ(Meta(Enum, TEXT("BlueprintType")), "true");
}

TEST(EnumReflection, EntryCommentsAndUMetaBecomeEntryMetadata)
{
	UEnum* Enum = StaticEnum<EFixtureMood>();
	ASSERT_NE(Enum, nullptr);
	EXPECT_EQ(Utf8(Enum->GetMetaData(TEXT("ToolTip"), 0)), "The mood every fixture starts in.");
	EXPECT_EQ(Utf8(Enum->GetMetaData(TEXT("Comment"), 0)), "/** The mood every fixture starts in. */");
	EXPECT_EQ(Utf8(Enum->GetMetaData(TEXT("DisplayName"), 2)), "Very Sleepy");
	EXPECT_FALSE(Enum->HasMetaData(TEXT("ToolTip"), 1));
	EXPECT_FALSE(Enum->HasMetaData(TEXT("ToolTip")));
}

TEST(EnumReflection, NamespacedEnumIsNamedByItsNamespace)
{
	UEnum* Enum = SideEnum();
	ASSERT_NE(Enum, nullptr);
	EXPECT_EQ(Enum->GetCppForm(), UEnum::ECppForm::Namespaced);
	EXPECT_EQ(Utf8(Enum->CppType()), "EFixtureSide::Type");
	EXPECT_EQ(Utf8(Enum->GetNameByIndex(1).ToString()), "EFixtureSide::Right");
	EXPECT_EQ(Enum->GetValueByIndex(1), (int64)EFixtureSide::Right);
	EXPECT_EQ(Meta(Enum, TEXT("Right.Name")), "EFixtureSide::Right");
	EXPECT_FALSE(Enum->HasMetaData(TEXT("BlueprintType")));
}

TEST(EnumReflection, DisplayNamesComeFromMetadataOrTheShortNameWithoutADisplayNameFunction)
{
	UEnum* Enum = StaticEnum<EFixtureMood>();
	ASSERT_NE(Enum, nullptr);
	EXPECT_EQ(Enum->EnumDisplayNameFn, nullptr);
	EXPECT_EQ(Utf8(Enum->GetDisplayNameTextByIndex(1)), "Angry");
	EXPECT_EQ(Utf8(Enum->GetDisplayNameTextByIndex(2)), "Very Sleepy");
	EXPECT_EQ(Utf8(Enum->GetDisplayNameTextByIndex(Enum->NumEnums())), "");
}

TEST(EnumReflection, PlainEnumsAreNotFlagsEnums)
{
	UEnum* Mood = StaticEnum<EFixtureMood>();
	UEnum* Side = SideEnum();
	ASSERT_NE(Mood, nullptr);
	ASSERT_NE(Side, nullptr);
	EXPECT_FALSE(Mood->HasAnyEnumFlags(EEnumFlags::Flags));
	EXPECT_FALSE(Side->HasAnyEnumFlags(EEnumFlags::Flags | EEnumFlags::NewerVersionExists));
}
