#include "ReflectionFixture.h"
#include "ReflectionFixturePrivate.h"
#include "ReflectionTestSupport.h"

#include "UObject/Package.h"

#include <cstddef>

using namespace HeaderToolTests;

// Objects are not standard-layout, but this compiler lays out their members as any other: offsetof is exact here.
_Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"")

TEST(ClassReflection, ClassIsNamedWithoutItsPrefixInTheModulesScriptPackage)
{
	UClass* Class = UFixtureObject::StaticClass();
	EXPECT_EQ(NameOf(Class), "FixtureObject");
	EXPECT_EQ(NameOf(Class->GetOuter()), "/Script/HeaderToolFixture");
	EXPECT_EQ(Class->GetSuperClass(), UObject::StaticClass());
	EXPECT_EQ(UFixtureConfigChild::StaticClass()->GetSuperClass(), UFixtureConfigObject::StaticClass());
}

TEST(ClassReflection, ClassCarriesCommentToolTipAndBothPathKeys)
{
	UClass* Class = UFixtureObject::StaticClass();
	EXPECT_EQ(Meta(Class, TEXT("Comment")), "// First line of the fixture object's comment.\n// Second line.\n");
	EXPECT_EQ(Meta(Class, TEXT("ToolTip")), "First line of the fixture object's comment.\nSecond line.");
	EXPECT_EQ(Meta(Class, TEXT("IncludePath")), "ReflectionFixture.h");
	EXPECT_EQ(Meta(Class, TEXT("ModuleRelativePath")), "Public/ReflectionFixture.h");
	EXPECT_EQ(Meta(Class, TEXT("IsBlueprintBase")), "false");
	EXPECT_FALSE(Class->HasMetaData(TEXT("BlueprintType")));
}

TEST(ClassReflection, BlockCommentKeepsItsMarkersInCommentAndDropsThemInToolTip)
{
	UClass* Class = UFixtureConfigObject::StaticClass();
	EXPECT_EQ(Meta(Class, TEXT("Comment")), "/**\n * A configurable child: inherits the transient flag\n * and the instanced-reference flag from its parent.\n */");
	EXPECT_EQ(Meta(Class, TEXT("ToolTip")), "A configurable child: inherits the transient flag\nand the instanced-reference flag from its parent.");
}

TEST(ClassReflection, PrivateHeaderGivesItsFileNameAsIncludePath)
{
	UClass* Class = UFixturePrivateObject::StaticClass();
	EXPECT_EQ(Meta(Class, TEXT("IncludePath")), "ReflectionFixturePrivate.h");
	EXPECT_EQ(Meta(Class, TEXT("ModuleRelativePath")), "Private/ReflectionFixturePrivate.h");
}

TEST(ClassReflection, DeclaredFlagsAndTheExportedApiAreRecorded)
{
	UClass* Class = UFixtureObject::StaticClass();
	EXPECT_TRUE(Class->HasAllClassFlags(EClassFlags(CLASS_Native | CLASS_Transient | CLASS_RequiredAPI)));
	EXPECT_FALSE(Class->HasAnyClassFlags(EClassFlags(CLASS_Config | CLASS_Abstract | CLASS_MinimalAPI)));
	EXPECT_FALSE(UFixtureConfigObject::StaticClass()->HasAnyClassFlags(CLASS_RequiredAPI));
	EXPECT_EQ(Class->ClassCastFlags, CASTCLASS_None);
}

TEST(ClassReflection, DelegateMembersMakeTheClassHoldInstancedReferences)
{
	EXPECT_TRUE(UFixtureObject::StaticClass()->HasAnyClassFlags(CLASS_HasInstancedReference));
	EXPECT_FALSE(UFixtureInnerObject::StaticClass()->HasAnyClassFlags(CLASS_HasInstancedReference));
}

TEST(ClassReflection, ChildInheritsTransientAndInstancedReferenceFlags)
{
	for (UClass* Class : { UFixtureConfigObject::StaticClass(), UFixtureConfigChild::StaticClass() })
	{
		EXPECT_TRUE(Class->HasAllClassFlags(EClassFlags(CLASS_Transient | CLASS_HasInstancedReference))) << NameOf(Class);
	}
}

TEST(ClassReflection, ConfigNameIsTheClassesOwnOrInheritedOrTheEngines)
{
	EXPECT_EQ(UFixtureConfigObject::StaticClass()->ClassConfigName, FName(TEXT("Game")));
	EXPECT_TRUE(UFixtureConfigObject::StaticClass()->HasAnyClassFlags(CLASS_Config));
	EXPECT_EQ(UFixtureConfigChild::StaticClass()->ClassConfigName, FName(TEXT("Game")));
	EXPECT_TRUE(UFixtureConfigChild::StaticClass()->HasAnyClassFlags(CLASS_Config));
	EXPECT_EQ(UFixtureObject::StaticClass()->ClassConfigName, FName(TEXT("Engine")));
}

TEST(ClassReflection, WithinClassIsTheDeclaredOneOrObject)
{
	EXPECT_EQ(UFixtureInnerObject::StaticClass()->ClassWithin, UFixtureObject::StaticClass());
	EXPECT_EQ(UFixtureObject::StaticClass()->ClassWithin, UObject::StaticClass());
	EXPECT_EQ(UFixtureConfigChild::StaticClass()->ClassWithin, UObject::StaticClass());
}

TEST(ClassReflection, PropertiesSitAtTheirMembersOffsetsWithTheirSizes)
{
	UClass* Class = UFixtureObject::StaticClass();
	struct FExpected
	{
		const TCHAR* Name;
		size_t Offset;
		size_t Size;
	};
	const FExpected Expected[] = {
		{ TEXT("OnChanged"), offsetof(UFixtureObject, OnChanged), sizeof(FFixtureChanged) },
		{ TEXT("OnMoved"), offsetof(UFixtureObject, OnMoved), sizeof(FFixtureMoved) },
		{ TEXT("OnSparse"), offsetof(UFixtureObject, OnSparse), sizeof(FFixtureSparseSignature) },
		{ TEXT("Mood"), offsetof(UFixtureObject, Mood), sizeof(EFixtureMood) },
		{ TEXT("Side"), offsetof(UFixtureObject, Side), sizeof(TEnumAsByte<EFixtureSide::Type>) },
		{ TEXT("Held"), offsetof(UFixtureObject, Held), sizeof(TObjectPtr<UObject>) },
	};
	for (const FExpected& Entry : Expected)
	{
		FProperty* Property = Class->FindPropertyByName(FName(Entry.Name));
		ASSERT_NE(Property, nullptr) << Utf8(Entry.Name);
		EXPECT_EQ(Property->GetOffset_ForInternal(), (int32)Entry.Offset) << Utf8(Entry.Name);
		EXPECT_EQ(Property->GetElementSize(), (int32)Entry.Size) << Utf8(Entry.Name);
	}
}

TEST(ClassReflection, PropertiesAreDeclaredInSourceOrderAndUnreflectedMembersAreSkipped)
{
	TArray<FName> Names;
	for (TFieldIterator<FProperty> It(UFixtureObject::StaticClass(), EFieldIteratorFlags::ExcludeSuper); It; ++It)
	{
		Names.Add(It->GetFName());
	}
	const TArray<FName> Expected = { FName(TEXT("OnChanged")), FName(TEXT("OnMoved")), FName(TEXT("OnSparse")), FName(TEXT("Mood")),
		FName(TEXT("Side")), FName(TEXT("Held")), FName(TEXT("ExpectedType")), FName(TEXT("ComponentType")) };
	EXPECT_EQ(Names, Expected);
}

TEST(ClassReflection, EveryPropertyCarriesModuleRelativePath)
{
	for (TFieldIterator<FProperty> It(UFixtureConfigChild::StaticClass()); It; ++It)
	{
		EXPECT_EQ(Meta(*It, TEXT("ModuleRelativePath")), "Public/ReflectionFixture.h") << NameOf(*It);
	}
}

TEST(ClassReflection, NativeAccessIsRecordedPerProperty)
{
	UClass* Class = UFixtureObject::StaticClass();
	EXPECT_TRUE(Class->FindPropertyByName(TEXT("Mood"))->HasAnyPropertyFlags(CPF_NativeAccessSpecifierPublic));
	EXPECT_TRUE(Class->FindPropertyByName(TEXT("ExpectedType"))->HasAnyPropertyFlags(CPF_NativeAccessSpecifierPrivate));
	EXPECT_FALSE(Class->FindPropertyByName(TEXT("ExpectedType"))->HasAnyPropertyFlags(CPF_NativeAccessSpecifierPublic));
	FProperty* Note = UFixtureConfigObject::StaticClass()->FindPropertyByName(TEXT("Note"));
	ASSERT_NE(Note, nullptr);
	EXPECT_TRUE(Note->HasAnyPropertyFlags(CPF_NativeAccessSpecifierProtected));
}

TEST(ClassReflection, ClassReferencesAreRestrictedToTheirMetaClassAndKeepTheirWrapperFlags)
{
	UClass* Class = UFixtureObject::StaticClass();
	FClassProperty* ExpectedType = FindTypedProperty<FClassProperty>(Class, TEXT("ExpectedType"));
	FClassProperty* ComponentType = FindTypedProperty<FClassProperty>(Class, TEXT("ComponentType"));
	ASSERT_TRUE(ExpectedType && ComponentType);
	EXPECT_EQ(ExpectedType->MetaClass, UObject::StaticClass());
	EXPECT_EQ(ComponentType->MetaClass, UObject::StaticClass());
	EXPECT_TRUE(ExpectedType->HasAllPropertyFlags(CPF_TObjectPtrWrapper));
	EXPECT_TRUE(ComponentType->HasAnyPropertyFlags(CPF_UObjectWrapper));
	EXPECT_FALSE(ComponentType->HasAnyPropertyFlags(CPF_TObjectPtr));
	// Neither is visible to editors or scripts.
	EXPECT_FALSE(ExpectedType->HasAnyPropertyFlags(CPF_Edit | CPF_BlueprintVisible | CPF_BlueprintAssignable));
	EXPECT_FALSE(ComponentType->HasAnyPropertyFlags(CPF_Edit | CPF_BlueprintVisible | CPF_BlueprintAssignable));
}

TEST(ClassReflection, ObjectReferenceNamesItsClass)
{
	FObjectProperty* Held = FindTypedProperty<FObjectProperty>(UFixtureObject::StaticClass(), TEXT("Held"));
	ASSERT_NE(Held, nullptr);
	EXPECT_FALSE(Held->IsA<FClassProperty>());
	EXPECT_EQ(Held->PropertyClass, UObject::StaticClass());
	EXPECT_TRUE(Held->HasAllPropertyFlags(CPF_TObjectPtrWrapper));
}

TEST(ClassReflection, SpecifiersBecomePropertyFlagsAndCategory)
{
	UClass* Class = UFixtureConfigObject::StaticClass();
	FProperty* Limit = Class->FindPropertyByName(TEXT("Limit"));
	FProperty* Note = Class->FindPropertyByName(TEXT("Note"));
	ASSERT_TRUE(Limit && Note);
	EXPECT_TRUE(Limit->HasAllPropertyFlags(CPF_Config | CPF_Edit));
	EXPECT_FALSE(Limit->HasAnyPropertyFlags(CPF_EditConst | CPF_Transient));
	EXPECT_EQ(Meta(Limit, TEXT("Category")), "Fixture");
	EXPECT_TRUE(Note->HasAllPropertyFlags(CPF_Edit | CPF_EditConst | CPF_Transient));
	EXPECT_FALSE(Note->HasAnyPropertyFlags(CPF_Config));
}

TEST(ClassReflection, EnumMembersAreBytesNamingTheirEnum)
{
	UClass* Class = UFixtureObject::StaticClass();
	FByteProperty* Mood = FindTypedProperty<FByteProperty>(Class, TEXT("Mood"));
	FByteProperty* Side = FindTypedProperty<FByteProperty>(Class, TEXT("Side"));
	ASSERT_TRUE(Mood && Side);
	EXPECT_EQ(Mood->Enum, StaticEnum<EFixtureMood>());
	ASSERT_NE(Side->Enum, nullptr);
	EXPECT_EQ(NameOf(Side->Enum), "EFixtureSide");
}

TEST(ClassReflection, ClassesBuildTheirDefaultObjectsThroughTheGeneratedConstructors)
{
	const UFixtureObject* Default = GetDefault<UFixtureObject>();
	ASSERT_NE(Default, nullptr);
	EXPECT_EQ(Default->GetClass(), UFixtureObject::StaticClass());
	const UFixtureConfigChild* ChildDefault = GetDefault<UFixtureConfigChild>();
	ASSERT_NE(ChildDefault, nullptr);
	EXPECT_EQ(ChildDefault->Limit, 3);
}
