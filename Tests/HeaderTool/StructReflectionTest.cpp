#include "ReflectionFixture.h"
#include "ReflectionTestSupport.h"

#include <cstddef>

using namespace HeaderToolTests;

// Members of derived structs are laid out by this compiler as by any other: offsetof is exact here.
_Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"")

TEST(StructReflection, StructIsNamedWithoutItsPrefixAndHasTheNativeLayout)
{
	UScriptStruct* Struct = FFixtureStruct::StaticStruct();
	ASSERT_NE(Struct, nullptr);
	EXPECT_EQ(StaticStruct<FFixtureStruct>(), Struct);
	EXPECT_EQ(NameOf(Struct), "FixtureStruct");
	EXPECT_EQ(NameOf(Struct->GetOuter()), "/Script/HeaderToolFixture");
	EXPECT_EQ(Struct->GetStructureSize(), (int32)sizeof(FFixtureStruct));
	EXPECT_EQ(Struct->GetMinAlignment(), (int32)alignof(FFixtureStruct));
	EXPECT_EQ(Struct->GetSuperStruct(), nullptr);
}

TEST(StructReflection, ExportedStructIsNativeWithRequiredApi)
{
	EXPECT_EQ(FFixtureStruct::StaticStruct()->StructFlags & (STRUCT_Native | STRUCT_RequiredAPI), STRUCT_Native | STRUCT_RequiredAPI);
	EXPECT_EQ(FFixtureDerivedStruct::StaticStruct()->StructFlags & (STRUCT_Native | STRUCT_RequiredAPI), STRUCT_Native);
}

TEST(StructReflection, StructCarriesCommentToolTipAndModuleRelativePathButNoIncludePath)
{
	UScriptStruct* Struct = FFixtureStruct::StaticStruct();
	EXPECT_EQ(Meta(Struct, TEXT("Comment")), "/** Value carried through the fixture's functions. */");
	EXPECT_EQ(Meta(Struct, TEXT("ToolTip")), "Value carried through the fixture's functions.");
	EXPECT_EQ(Meta(Struct, TEXT("ModuleRelativePath")), "Public/ReflectionFixture.h");
	EXPECT_EQ(Meta(Struct, TEXT("BlueprintType")), "true");
	EXPECT_FALSE(Struct->HasMetaData(TEXT("IncludePath")));
}

TEST(StructReflection, BlueprintTypeIsAbsentUnlessDeclared)
{
	UScriptStruct* Struct = FFixtureDerivedStruct::StaticStruct();
	EXPECT_FALSE(Struct->HasMetaData(TEXT("BlueprintType")));
	EXPECT_EQ(Meta(Struct, TEXT("Comment")), "// Extends the fixture value with one more member.\n");
}

TEST(StructReflection, PropertiesSitAtTheirMembersOffsetsAndSkipUnreflectedMembers)
{
	struct FExpected
	{
		const TCHAR* Name;
		size_t Offset;
		size_t Size;
	};
	const FExpected Expected[] = {
		{ TEXT("Id"), offsetof(FFixtureStruct, Id), sizeof(FGuid) },
		{ TEXT("Generation"), offsetof(FFixtureStruct, Generation), sizeof(int64) },
		{ TEXT("Weight"), offsetof(FFixtureStruct, Weight), sizeof(float) },
		{ TEXT("bEnabled"), offsetof(FFixtureStruct, bEnabled), sizeof(bool) },
		{ TEXT("Tag"), offsetof(FFixtureStruct, Tag), sizeof(FName) },
		{ TEXT("Scale"), offsetof(FFixtureStruct, Scale), sizeof(double) },
	};
	TArray<FName> Names;
	for (TFieldIterator<FProperty> It(FFixtureStruct::StaticStruct()); It; ++It)
	{
		Names.Add(It->GetFName());
	}
	ASSERT_EQ(Names.Num(), (int32)UE_ARRAY_COUNT(Expected));
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		const FExpected& Entry = Expected[Index];
		EXPECT_EQ(Names[Index], FName(Entry.Name));
		FProperty* Property = FFixtureStruct::StaticStruct()->FindPropertyByName(FName(Entry.Name));
		ASSERT_NE(Property, nullptr) << Utf8(Entry.Name);
		EXPECT_EQ(Property->GetOffset_ForInternal(), (int32)Entry.Offset) << Utf8(Entry.Name);
		EXPECT_EQ(Property->GetElementSize(), (int32)Entry.Size) << Utf8(Entry.Name);
	}
}

TEST(StructReflection, EachMemberTypeBecomesItsPropertyClass)
{
	UScriptStruct* Struct = FFixtureStruct::StaticStruct();
	FStructProperty* Id = FindTypedProperty<FStructProperty>(Struct, TEXT("Id"));
	ASSERT_NE(Id, nullptr);
	EXPECT_EQ(Id->Struct, TBaseStructure<FGuid>::Get());
	EXPECT_NE(FindTypedProperty<FInt64Property>(Struct, TEXT("Generation")), nullptr);
	EXPECT_NE(FindTypedProperty<FFloatProperty>(Struct, TEXT("Weight")), nullptr);
	EXPECT_NE(FindTypedProperty<FBoolProperty>(Struct, TEXT("bEnabled")), nullptr);
	EXPECT_NE(FindTypedProperty<FNameProperty>(Struct, TEXT("Tag")), nullptr);
	EXPECT_NE(FindTypedProperty<FDoubleProperty>(Struct, TEXT("Scale")), nullptr);
}

TEST(StructReflection, SaveGameMemberIsHiddenFromScriptsAndEditors)
{
	FProperty* Id = FFixtureStruct::StaticStruct()->FindPropertyByName(TEXT("Id"));
	ASSERT_NE(Id, nullptr);
	EXPECT_TRUE(Id->HasAllPropertyFlags(CPF_SaveGame | CPF_NativeAccessSpecifierPublic));
	EXPECT_FALSE(Id->HasAnyPropertyFlags(CPF_Edit | CPF_BlueprintVisible | CPF_BlueprintReadOnly));
	EXPECT_FALSE(Id->HasMetaData(TEXT("Category")));
	EXPECT_EQ(Meta(Id, TEXT("ModuleRelativePath")), "Public/ReflectionFixture.h");
}

TEST(StructReflection, ReadOnlyMemberIsVisibleToScriptsUnderItsCategory)
{
	FProperty* Generation = FFixtureStruct::StaticStruct()->FindPropertyByName(TEXT("Generation"));
	ASSERT_NE(Generation, nullptr);
	EXPECT_TRUE(Generation->HasAllPropertyFlags(CPF_BlueprintVisible | CPF_BlueprintReadOnly));
	EXPECT_FALSE(Generation->HasAnyPropertyFlags(CPF_SaveGame | CPF_Edit));
	EXPECT_EQ(Meta(Generation, TEXT("Category")), "Fixture");
}

TEST(StructReflection, EditAndTransientSpecifiersBecomeTheirFlags)
{
	UScriptStruct* Struct = FFixtureStruct::StaticStruct();
	EXPECT_TRUE(Struct->FindPropertyByName(TEXT("Tag"))->HasAnyPropertyFlags(CPF_Edit));
	EXPECT_TRUE(Struct->FindPropertyByName(TEXT("Scale"))->HasAnyPropertyFlags(CPF_Transient));
	EXPECT_FALSE(Struct->FindPropertyByName(TEXT("bEnabled"))->HasAnyPropertyFlags(CPF_Edit | CPF_Transient | CPF_BlueprintVisible));
}

TEST(StructReflection, DerivedStructNamesItsSuperAndAddsItsOwnMembersFirst)
{
	UScriptStruct* Derived = FFixtureDerivedStruct::StaticStruct();
	EXPECT_EQ(Derived->GetSuperStruct(), FFixtureStruct::StaticStruct());
	EXPECT_EQ(Derived->GetStructureSize(), (int32)sizeof(FFixtureDerivedStruct));
	FProperty* Extra = Derived->FindPropertyByName(TEXT("Extra"));
	ASSERT_NE(Extra, nullptr);
	EXPECT_EQ(Extra->GetOffset_ForInternal(), (int32)offsetof(FFixtureDerivedStruct, Extra));
	TFieldIterator<FProperty> It(Derived);
	ASSERT_TRUE((bool)It);
	EXPECT_EQ(It->GetFName(), FName(TEXT("Extra")));
}

TEST(StructReflection, StructOperationsConstructAndCopyTheNativeType)
{
	UScriptStruct* Struct = FFixtureStruct::StaticStruct();
	ASSERT_NE(Struct->GetCppStructOps(), nullptr);
	FFixtureStruct Source;
	Source.Id = FGuid(1, 2, 3, 4);
	Source.Generation = 12;
	Source.Tag = FName(TEXT("Copied"));
	FFixtureStruct Target;
	Struct->CopyScriptStruct(&Target, &Source);
	EXPECT_EQ(Target.Id, Source.Id);
	EXPECT_EQ(Target.Generation, 12);
	EXPECT_EQ(Target.Tag, FName(TEXT("Copied")));

	alignas(FFixtureStruct) uint8 Storage[sizeof(FFixtureStruct)];
	FMemory::Memset(Storage, 0xFF, sizeof(Storage));
	Struct->InitializeStruct(Storage);
	const FFixtureStruct* Constructed = reinterpret_cast<const FFixtureStruct*>(Storage);
	EXPECT_EQ(Constructed->Weight, 1.0f);
	EXPECT_EQ(Constructed->Generation, 0);
	Struct->DestroyStruct(Storage);
}
