#include "ClassHierarchyTestSupport.h"
#include "CoreUObjectTestTypes.h"
#include "Templates/Casts.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UObjectGlobals.h"

#include <gtest/gtest.h>

#include <type_traits>

// Which classes a cast tests by flag: those with a flag of their own, const or not.

TEST(FCastFlagsTraitTest, ClassesWithAFlagOfTheirOwnAreCastByIt)
{
	EXPECT_EQ(TCastFlags<UField>::Value, CASTCLASS_UField);
	EXPECT_EQ(TCastFlags<UEnum>::Value, CASTCLASS_UEnum);
	EXPECT_EQ(TCastFlags<UStruct>::Value, CASTCLASS_UStruct);
	EXPECT_EQ(TCastFlags<UScriptStruct>::Value, CASTCLASS_UScriptStruct);
	EXPECT_EQ(TCastFlags<UClass>::Value, CASTCLASS_UClass);
	EXPECT_EQ(TCastFlags<UFunction>::Value, CASTCLASS_UFunction);
	EXPECT_EQ(TCastFlags<UDelegateFunction>::Value, CASTCLASS_UDelegateFunction);
	EXPECT_EQ(TCastFlags<UPackage>::Value, CASTCLASS_UPackage);
	EXPECT_EQ(TCastFlags<const UClass>::Value, CASTCLASS_UClass);
	EXPECT_EQ(TCastFlags<const UPackage>::Value, CASTCLASS_UPackage);
}

TEST(FCastFlagsTraitTest, EachFlagIsTheOneItsClassDeclares)
{
	EXPECT_EQ(TCastFlags<UField>::Value, UField::StaticClassCastFlags());
	EXPECT_EQ(TCastFlags<UEnum>::Value, UEnum::StaticClassCastFlags());
	EXPECT_EQ(TCastFlags<UStruct>::Value, UStruct::StaticClassCastFlags());
	EXPECT_EQ(TCastFlags<UScriptStruct>::Value, UScriptStruct::StaticClassCastFlags());
	EXPECT_EQ(TCastFlags<UClass>::Value, UClass::StaticClassCastFlags());
	EXPECT_EQ(TCastFlags<UFunction>::Value, UFunction::StaticClassCastFlags());
	EXPECT_EQ(TCastFlags<UDelegateFunction>::Value, UDelegateFunction::StaticClassCastFlags());
	EXPECT_EQ(TCastFlags<UPackage>::Value, UPackage::StaticClassCastFlags());
}

TEST(FCastFlagsTraitTest, OtherClassesAreCastByIsA)
{
	EXPECT_EQ(TCastFlags<UObject>::Value, CASTCLASS_None);
	EXPECT_EQ(TCastFlags<UTestHolder>::Value, CASTCLASS_None);
	EXPECT_EQ(TCastFlags<const UTestHolder>::Value, CASTCLASS_None);
}

// Differential: for every live class, the flag of each flagged class says what the walk up the
// super classes says.

namespace
{
	template<class To>
	void ExpectFlagAgreesWithTheSuperWalk()
	{
		const HeadlessTests::FDisagreements Disagreements = HeadlessTests::FindCastFlagDisagreements(To::StaticClass(), TCastFlags<To>::Value);
		EXPECT_GE(Disagreements.NumCompared, 10);
		EXPECT_TRUE(Disagreements.Cases.empty()) << HeadlessTests::Describe(Disagreements);
	}
}

TEST(FCastFlagsDifferentialTest, EveryRegisteredClassHasTheFlagOfEachClassItDerivesFromAndNoOther)
{
	ExpectFlagAgreesWithTheSuperWalk<UField>();
	ExpectFlagAgreesWithTheSuperWalk<UEnum>();
	ExpectFlagAgreesWithTheSuperWalk<UStruct>();
	ExpectFlagAgreesWithTheSuperWalk<UScriptStruct>();
	ExpectFlagAgreesWithTheSuperWalk<UClass>();
	ExpectFlagAgreesWithTheSuperWalk<UFunction>();
	ExpectFlagAgreesWithTheSuperWalk<UDelegateFunction>();
	ExpectFlagAgreesWithTheSuperWalk<UPackage>();
}

// Cast to a flagged class.

class FCastToFlaggedClassTest : public testing::Test
{
protected:
	void TearDown() override
	{
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}
};

TEST_F(FCastToFlaggedClassTest, AnObjectOfAnUnrelatedClassCastsToNull)
{
	UTestHolder* Holder = NewObject<UTestHolder>();
	EXPECT_EQ(Cast<UClass>(Holder), nullptr);
	EXPECT_EQ(Cast<UField>(Holder), nullptr);
	EXPECT_EQ(Cast<UPackage>(Holder), nullptr);
	EXPECT_EQ(Cast<UPackage>(UTestHolder::StaticClass()), nullptr);
	EXPECT_EQ(Cast<UScriptStruct>(UTestHolder::StaticClass()), nullptr);
	EXPECT_EQ(Cast<UClass>(FTestPayload::StaticStruct()), nullptr);
	EXPECT_EQ(Cast<UEnum>(GetTransientPackage()), nullptr);
}

TEST_F(FCastToFlaggedClassTest, AnObjectOfTheClassOrASubclassCastsToItself)
{
	UObject* Class = UTestHolder::StaticClass();
	EXPECT_EQ(Cast<UClass>(Class), Class);
	EXPECT_EQ(Cast<UStruct>(Class), Class);
	EXPECT_EQ(Cast<UField>(Class), Class);
	UObject* Package = GetTransientPackage();
	EXPECT_EQ(Cast<UPackage>(Package), Package);
	UObject* Function = UTestListener::StaticClass()->FindFunctionByName(FName(TEXT("Add")));
	ASSERT_NE(Function, nullptr);
	EXPECT_EQ(Cast<UFunction>(Function), Function);
	EXPECT_EQ(Cast<UDelegateFunction>(Function), nullptr);
}

TEST_F(FCastToFlaggedClassTest, NullCastsToNull)
{
	UObject* Null = nullptr;
	EXPECT_EQ(Cast<UClass>(Null), nullptr);
	EXPECT_EQ(Cast<UTestHolder>(Null), nullptr);
	EXPECT_EQ(Cast<UClass>(TObjectPtr<UObject>()), nullptr);
}

TEST_F(FCastToFlaggedClassTest, AConstObjectCastsToAConstPointer)
{
	const UObject* Class = UTestHolder::StaticClass();
	auto Result = Cast<UStruct>(Class);
	static_assert(std::is_same_v<decltype(Result), const UStruct*>);
	EXPECT_EQ(Result, Class);
	EXPECT_EQ(Cast<UPackage>(Class), nullptr);
}

TEST_F(FCastToFlaggedClassTest, ObjectAndWeakPointersCastAsTheObject)
{
	TObjectPtr<UObject> Class = UTestHolder::StaticClass();
	EXPECT_EQ(Cast<UClass>(Class), UTestHolder::StaticClass());
	EXPECT_EQ(Cast<UPackage>(Class), nullptr);
	TWeakObjectPtr<UObject> Package = GetTransientPackage();
	EXPECT_EQ(Cast<UPackage>(Package), GetTransientPackage());
	EXPECT_EQ(Cast<UClass>(Package), nullptr);
}

// Cast to a class without a flag asks IsA.

class FCastToUnflaggedClassTest : public testing::Test
{
protected:
	void TearDown() override
	{
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}
};

TEST_F(FCastToUnflaggedClassTest, OnlyAnObjectOfTheClassCasts)
{
	UTestHolder* Holder = NewObject<UTestHolder>();
	UObject* AsObject = Holder;
	EXPECT_EQ(Cast<UTestHolder>(AsObject), Holder);
	EXPECT_EQ(Cast<UObject>(AsObject), AsObject);
	EXPECT_EQ(Cast<UTestListener>(AsObject), nullptr);
	EXPECT_EQ(Cast<UTestHolder>(GetTransientPackage()), nullptr);
}

// ExactCast takes only the class itself, flagged or not.

class FExactCastTest : public testing::Test
{
};

TEST_F(FExactCastTest, ASubclassObjectIsNotAnExactMatch)
{
	UObject* Class = UTestHolder::StaticClass();
	EXPECT_EQ(ExactCast<UClass>(Class), Class);
	EXPECT_EQ(ExactCast<UStruct>(Class), nullptr);
	EXPECT_EQ(ExactCast<UField>(Class), nullptr);
	UObject* Null = nullptr;
	EXPECT_EQ(ExactCast<UClass>(Null), nullptr);
}

// CastChecked returns what Cast does, and stops on anything else.

class FCastCheckedTest : public testing::Test
{
};

TEST_F(FCastCheckedTest, ASucceedingCastReturnsTheObject)
{
	UObject* Class = UTestHolder::StaticClass();
	EXPECT_EQ(CastChecked<UClass>(Class), Class);
	EXPECT_EQ(CastChecked<UStruct>(Class), Class);
}

TEST_F(FCastCheckedTest, NullIsAllowedWhenAskedFor)
{
	UObject* Null = nullptr;
	EXPECT_EQ(CastChecked<UClass>(Null, ECastCheckedType::NullAllowed), nullptr);
}

class FCastCheckedDeathTest : public testing::Test
{
};

TEST_F(FCastCheckedDeathTest, AnObjectOfAnUnrelatedClassIsFatal)
{
	TStrongObjectPtr<UTestHolder> Holder(NewObject<UTestHolder>(GetTransientPackage(), FName(TEXT("CastCheckedHolder"))));
	UObject* AsObject = Holder.Get();
	EXPECT_DEATH(CastChecked<UClass>(AsObject), "Cast of TestHolder /Engine/Transient\\.CastCheckedHolder to Class failed");
	EXPECT_DEATH(CastChecked<UTestListener>(AsObject), "Cast of TestHolder /Engine/Transient\\.CastCheckedHolder to TestListener failed");
}

TEST_F(FCastCheckedDeathTest, NullIsFatalUnlessAllowed)
{
	UObject* Null = nullptr;
	EXPECT_DEATH(CastChecked<UClass>(Null), "Cast of nullptr to Class failed");
	EXPECT_DEATH(CastChecked<UTestHolder>(Null, ECastCheckedType::NullChecked), "Cast of nullptr to TestHolder failed");
}
