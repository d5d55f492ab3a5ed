#include "ReflectionFixture.h"
#include "ReflectionFixturePrivate.h"
#include "ReflectionTestSupport.h"

#include "UObject/Package.h"
#include "UObject/UECodeGen.h"
#include "UObject/UObjectGlobals.h"

#include <set>
#include <vector>

using namespace HeaderToolTests;

namespace
{
	struct FRecord
	{
		FCompiledInRecord::EKind Kind;
		std::string Name;

		bool operator==(const FRecord& Other) const
		{
			return Kind == Other.Kind && Name == Other.Name;
		}
	};

	void PrintTo(const FRecord& Record, std::ostream* Out)
	{
		*Out << (int)Record.Kind << ":" << Record.Name;
	}

	/** The fixture module's records, in the order its static initialisers queued them. */
	std::vector<FRecord> FixtureRecords()
	{
		const std::set<std::string> Names = { "/Script/HeaderToolFixture", "FixtureStruct", "FixtureDerivedStruct", "EFixtureMood", "EFixtureSide",
			"UFixturePrivateObject", "UFixtureObject", "UFixtureConfigObject", "UFixtureConfigChild", "UFixtureInnerObject" };
		std::vector<FRecord> Records;
		for (const FCompiledInRecord& Record : GetCompiledInRegistrationOrder())
		{
			const std::string Name = Utf8(Record.Name);
			if (Names.count(Name) != 0)
			{
				Records.push_back({ Record.Kind, Name });
			}
		}
		return Records;
	}
}

TEST(CompiledInRegistration, PackageThenStructsEnumsAndClassesInHeaderOrder)
{
	using EKind = FCompiledInRecord::EKind;
	const std::vector<FRecord> Expected = {
		{ EKind::Package, "/Script/HeaderToolFixture" },
		{ EKind::Struct, "FixtureStruct" },
		{ EKind::Struct, "FixtureDerivedStruct" },
		{ EKind::Enum, "EFixtureMood" },
		{ EKind::Enum, "EFixtureSide" },
		// Headers are taken by module-relative path: Private/ before Public/.
		{ EKind::Class, "UFixturePrivateObject" },
		{ EKind::Class, "UFixtureObject" },
		{ EKind::Class, "UFixtureConfigObject" },
		{ EKind::Class, "UFixtureConfigChild" },
		{ EKind::Class, "UFixtureInnerObject" },
	};
	EXPECT_EQ(FixtureRecords(), Expected);
}

TEST(CompiledInRegistration, PackageIsCompiledInAndHasNoMetadata)
{
	UPackage* Package = UFixtureObject::StaticClass()->GetOutermost();
	ASSERT_NE(Package, nullptr);
	EXPECT_EQ(NameOf(Package), "/Script/HeaderToolFixture");
	EXPECT_TRUE(Package->HasAnyPackageFlags(PKG_CompiledIn));
	EXPECT_EQ(Package->GetMetaDataMap().Num(), 0);
	EXPECT_EQ(FindObject<UPackage>(nullptr, TEXT("/Script/HeaderToolFixture")), Package);
}

TEST(CompiledInRegistration, EveryTypeIsFoundInThePackageUnderItsName)
{
	UPackage* Package = UFixtureObject::StaticClass()->GetOutermost();
	ASSERT_NE(Package, nullptr);
	EXPECT_TRUE(UFixtureObject::StaticClass()->HasAnyClassFlags(CLASS_Constructed));
	EXPECT_EQ(FindObject<UClass>(Package, TEXT("FixtureObject")), UFixtureObject::StaticClass());
	EXPECT_EQ(FindObject<UClass>(Package, TEXT("FixturePrivateObject")), UFixturePrivateObject::StaticClass());
	EXPECT_EQ(FindObject<UScriptStruct>(Package, TEXT("FixtureStruct")), FFixtureStruct::StaticStruct());
	EXPECT_EQ(FindObject<UEnum>(Package, TEXT("EFixtureMood")), StaticEnum<EFixtureMood>());
	// The package builds the signatures it owns as it is built itself.
	UFunction* Signature = FindObject<UFunction>(Package, TEXT("FixtureChanged__DelegateSignature"));
	ASSERT_NE(Signature, nullptr);
	EXPECT_TRUE(Signature->HasAnyFunctionFlags(FUNC_Delegate));
	// A sparse signature lives in its owning class instead.
	EXPECT_EQ(FindObject<UFunction>(Package, TEXT("FixtureSparseSignature__DelegateSignature")), nullptr);
}
