#include "ClassHierarchyTestSupport.h"
#include "CoreUObjectTestTypes.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

#include <gtest/gtest.h>

#include <vector>

using HeadlessTests::IsChildOfBySuperWalk;

namespace
{
	// Structs made for one test: not rooted, so the collection after the test takes them away
	// before another test walks every live struct.
	class FTransientStructsTest : public testing::Test
	{
	protected:
		void TearDown() override
		{
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		}

		static UStruct* NewStruct(UStruct* Super = nullptr)
		{
			UStruct* Struct = NewObject<UStruct>(GetTransientPackage(), UStruct::StaticClass());
			if (Super)
			{
				Struct->SetSuperStruct(Super);
			}
			return Struct;
		}
	};
}

// A chain of structs, each the super struct of the next: every struct derives from itself and each
// struct before it, and from none after it.

class FStructIsChildOfDeepHierarchyTest : public FTransientStructsTest
{
protected:
	void SetUp() override
	{
		for (int32 Index = 0; Index < Depth; ++Index)
		{
			Chain.push_back(NewStruct(Index > 0 ? Chain.back() : nullptr));
		}
	}

	static constexpr int32 Depth = 40;
	std::vector<UStruct*> Chain;
};

TEST_F(FStructIsChildOfDeepHierarchyTest, EveryStructDerivesFromItselfAndEachOfItsBases)
{
	for (int32 Child = 0; Child < Depth; ++Child)
	{
		for (int32 Base = 0; Base <= Child; ++Base)
		{
			EXPECT_TRUE(Chain[Child]->IsChildOf(Chain[Base])) << Child << " of " << Base;
		}
	}
}

TEST_F(FStructIsChildOfDeepHierarchyTest, NoBaseDerivesFromAStructBelowIt)
{
	for (int32 Base = 0; Base < Depth; ++Base)
	{
		for (int32 Child = Base + 1; Child < Depth; ++Child)
		{
			EXPECT_FALSE(Chain[Base]->IsChildOf(Chain[Child])) << Base << " of " << Child;
		}
	}
}

TEST_F(FStructIsChildOfDeepHierarchyTest, RegisteredClassesDeriveThroughEveryLevelOfTheirChain)
{
	const UClass* const Levels[] = { UObject::StaticClass(), UField::StaticClass(), UStruct::StaticClass(), UFunction::StaticClass(), UDelegateFunction::StaticClass() };
	const int32 NumLevels = int32(UE_ARRAY_COUNT(Levels));
	for (int32 Child = 0; Child < NumLevels; ++Child)
	{
		for (int32 Base = 0; Base < NumLevels; ++Base)
		{
			EXPECT_EQ(Levels[Child]->IsChildOf(Levels[Base]), Child >= Base) << HeadlessTests::NameOfType(Levels[Child]) << " of " << HeadlessTests::NameOfType(Levels[Base]);
		}
	}
	EXPECT_TRUE(UTestHolder::StaticClass()->IsChildOf<UObject>());
	EXPECT_FALSE(UTestHolder::StaticClass()->IsChildOf<UField>());
}

// Structs on different branches, or in different trees, are not children of one another.

class FStructIsChildOfUnrelatedTest : public FTransientStructsTest
{
};

TEST_F(FStructIsChildOfUnrelatedTest, SiblingsDoNotDeriveFromEachOtherButBothFromTheirBase)
{
	UStruct* Root = NewStruct();
	UStruct* Left = NewStruct(Root);
	UStruct* Right = NewStruct(Root);
	UStruct* LeftLeaf = NewStruct(Left);

	EXPECT_FALSE(Left->IsChildOf(Right));
	EXPECT_FALSE(Right->IsChildOf(Left));
	EXPECT_FALSE(LeftLeaf->IsChildOf(Right));
	EXPECT_FALSE(Right->IsChildOf(LeftLeaf));
	EXPECT_TRUE(LeftLeaf->IsChildOf(Root));
	EXPECT_TRUE(Right->IsChildOf(Root));
}

TEST_F(FStructIsChildOfUnrelatedTest, StructsOfSeparateTreesAtTheSameDepthAreUnrelated)
{
	UStruct* FirstRoot = NewStruct();
	UStruct* SecondRoot = NewStruct();
	UStruct* FirstChild = NewStruct(FirstRoot);
	UStruct* SecondChild = NewStruct(SecondRoot);

	EXPECT_FALSE(FirstRoot->IsChildOf(SecondRoot));
	EXPECT_FALSE(FirstChild->IsChildOf(SecondRoot));
	EXPECT_FALSE(FirstChild->IsChildOf(SecondChild));
	EXPECT_FALSE(SecondChild->IsChildOf(FirstRoot));
}

TEST_F(FStructIsChildOfUnrelatedTest, RegisteredSiblingClassesAreUnrelated)
{
	EXPECT_FALSE(UEnum::StaticClass()->IsChildOf(UStruct::StaticClass()));
	EXPECT_FALSE(UStruct::StaticClass()->IsChildOf(UEnum::StaticClass()));
	EXPECT_FALSE(UScriptStruct::StaticClass()->IsChildOf(UFunction::StaticClass()));
	EXPECT_FALSE(UClass::StaticClass()->IsChildOf(UScriptStruct::StaticClass()));
	EXPECT_FALSE(UPackage::StaticClass()->IsChildOf(UField::StaticClass()));
	EXPECT_FALSE(UTestHolder::StaticClass()->IsChildOf(UTestListener::StaticClass()));
	EXPECT_FALSE(FTestPayload::StaticStruct()->IsChildOf(UTestHolder::StaticClass()));
}

// A null base is no one's base.

class FStructIsChildOfNullBaseTest : public FTransientStructsTest
{
};

TEST_F(FStructIsChildOfNullBaseTest, NoStructDerivesFromNull)
{
	EXPECT_FALSE(UObject::StaticClass()->IsChildOf(nullptr));
	EXPECT_FALSE(UDelegateFunction::StaticClass()->IsChildOf(nullptr));
	EXPECT_FALSE(FTestPayload::StaticStruct()->IsChildOf(nullptr));
	EXPECT_FALSE(NewStruct(NewStruct())->IsChildOf(nullptr));
}

// The base chain follows the super struct: setting it rebuilds the struct's own chain, and linking
// rebuilds the chain of a struct whose base has moved.

class FStructSuperStructSetAfterCreationTest : public FTransientStructsTest
{
};

TEST_F(FStructSuperStructSetAfterCreationTest, AStructMadeWithoutASuperDerivesFromItsLaterSuper)
{
	UStruct* Base = NewStruct();
	UStruct* Child = NewStruct();
	EXPECT_FALSE(Child->IsChildOf(Base));
	EXPECT_TRUE(Child->IsChildOf(Child));

	Child->SetSuperStruct(Base);

	EXPECT_EQ(Child->GetSuperStruct(), Base);
	EXPECT_TRUE(Child->IsChildOf(Base));
	EXPECT_TRUE(Child->IsChildOf(Child));
	EXPECT_FALSE(Base->IsChildOf(Child));
}

TEST_F(FStructSuperStructSetAfterCreationTest, ANewSuperReplacesTheOldOneAndNullLeavesOnlyItself)
{
	UStruct* OldBase = NewStruct();
	UStruct* NewBase = NewStruct(NewStruct());
	UStruct* Child = NewStruct(OldBase);

	Child->SetSuperStruct(NewBase);
	EXPECT_FALSE(Child->IsChildOf(OldBase));
	EXPECT_TRUE(Child->IsChildOf(NewBase));
	EXPECT_TRUE(Child->IsChildOf(NewBase->GetSuperStruct()));

	Child->SetSuperStruct(nullptr);
	EXPECT_FALSE(Child->IsChildOf(NewBase));
	EXPECT_FALSE(Child->IsChildOf(NewBase->GetSuperStruct()));
	EXPECT_TRUE(Child->IsChildOf(Child));
}

TEST_F(FStructSuperStructSetAfterCreationTest, LinkingAStructPicksUpTheNewSuperOfItsBase)
{
	UStruct* Root = NewStruct();
	UStruct* Middle = NewStruct();
	UStruct* Leaf = NewStruct(Middle);

	Middle->SetSuperStruct(Root);
	Leaf->StaticLink();

	EXPECT_TRUE(Leaf->IsChildOf(Root));
	EXPECT_TRUE(Leaf->IsChildOf(Middle));
	EXPECT_EQ(Leaf->IsChildOf(Root), IsChildOfBySuperWalk(Leaf, Root));
}

TEST_F(FStructSuperStructSetAfterCreationTest, AClassMadeAtRunTimeDerivesFromTheClassItIsGiven)
{
	UClass* Class = NewObject<UClass>(GetTransientPackage(), UClass::StaticClass());
	EXPECT_FALSE(Class->IsChildOf(UTestHolder::StaticClass()));

	Class->SetSuperStruct(UTestHolder::StaticClass());

	EXPECT_EQ(Class->GetSuperClass(), UTestHolder::StaticClass());
	EXPECT_TRUE(Class->IsChildOf(UTestHolder::StaticClass()));
	EXPECT_TRUE(Class->IsChildOf(UObject::StaticClass()));
	EXPECT_FALSE(Class->IsChildOf(UTestListener::StaticClass()));
	EXPECT_FALSE(UTestHolder::StaticClass()->IsChildOf(Class));
}

// A class whose static-class function runs while one of its bases' is still running, before that
// base has its super class (as the class of classes and its own bases are built), still ends with
// the whole chain and every flag once the outermost static-class function returns. Three classes
// under UPackage: the base's super class names the derived class as its within class, so the
// derived class is built while the base waits for its super class.

namespace ClassBuiltInsideItsBase
{
	UClass* RootSingleton = nullptr;
	UClass* BaseSingleton = nullptr;
	UClass* DerivedSingleton = nullptr;

	void RegisterNoNatives()
	{
	}

	UClass* PackageClass()
	{
		return UPackage::StaticClass();
	}

	UClass* ObjectClass()
	{
		return UObject::StaticClass();
	}

	UClass* Derived();

	UClass* Build(UClass*& Singleton, const TCHAR* Name, UClass::StaticClassFunctionType SuperClassFn, UClass::StaticClassFunctionType WithinClassFn)
	{
		if (!Singleton)
		{
			GetPrivateStaticClassBody(TEXT("/Script/CoreUObjectTestsBuiltInside"), Name, Singleton, &RegisterNoNatives, sizeof(UPackage), alignof(UPackage),
				CLASS_Intrinsic, CASTCLASS_None, TEXT("Engine"), (UClass::ClassConstructorType)InternalConstructor<UPackage>,
				(UClass::ClassVTableHelperCtorCallerType)InternalVTableHelperCtorCaller<UPackage>, UOBJECT_CPPCLASS_STATICFUNCTIONS_FORCLASS(UPackage),
				SuperClassFn, WithinClassFn);
		}
		return Singleton;
	}

	UClass* Root()
	{
		return Build(RootSingleton, TEXT("BuiltInsideRoot"), &PackageClass, &Derived);
	}

	UClass* Base()
	{
		return Build(BaseSingleton, TEXT("BuiltInsideBase"), &Root, &ObjectClass);
	}

	UClass* Derived()
	{
		return Build(DerivedSingleton, TEXT("BuiltInsideDerived"), &Base, &ObjectClass);
	}
}

class FClassBuiltInsideItsBasesStaticClassTest : public testing::Test
{
protected:
	static void SetUpTestSuite()
	{
		ClassBuiltInsideItsBase::Base();
	}
};

TEST_F(FClassBuiltInsideItsBasesStaticClassTest, TheDerivedClassWasBuiltBeforeItsBaseHadASuperClass)
{
	ASSERT_NE(ClassBuiltInsideItsBase::DerivedSingleton, nullptr);
	EXPECT_EQ(ClassBuiltInsideItsBase::RootSingleton->ClassWithin, ClassBuiltInsideItsBase::DerivedSingleton);
	EXPECT_EQ(ClassBuiltInsideItsBase::DerivedSingleton->GetSuperClass(), ClassBuiltInsideItsBase::BaseSingleton);
	EXPECT_EQ(ClassBuiltInsideItsBase::BaseSingleton->GetSuperClass(), ClassBuiltInsideItsBase::RootSingleton);
}

TEST_F(FClassBuiltInsideItsBasesStaticClassTest, TheDerivedClassDerivesFromEveryBase)
{
	const UClass* Derived = ClassBuiltInsideItsBase::DerivedSingleton;
	for (const UClass* Base : { ClassBuiltInsideItsBase::BaseSingleton, ClassBuiltInsideItsBase::RootSingleton, UPackage::StaticClass(), UObject::StaticClass() })
	{
		EXPECT_TRUE(Derived->IsChildOf(Base)) << HeadlessTests::NameOfType(Base);
	}
	EXPECT_FALSE(Derived->IsChildOf(UField::StaticClass()));
}

TEST_F(FClassBuiltInsideItsBasesStaticClassTest, TheDerivedClassHasTheFlagOfItsBasesBase)
{
	EXPECT_EQ(ClassBuiltInsideItsBase::DerivedSingleton->ClassCastFlags, CASTCLASS_UPackage);
	EXPECT_EQ(ClassBuiltInsideItsBase::BaseSingleton->ClassCastFlags, CASTCLASS_UPackage);
}

// A class takes the cast flags of all its super classes when it is linked.

class FClassCastFlagInheritanceTest : public FTransientStructsTest
{
};

TEST_F(FClassCastFlagInheritanceTest, ARegisteredClassHasItsOwnFlagAndEveryFlagOfItsBases)
{
	EXPECT_EQ(UObject::StaticClass()->ClassCastFlags, CASTCLASS_None);
	EXPECT_EQ(UField::StaticClass()->ClassCastFlags, CASTCLASS_UField);
	EXPECT_EQ(UStruct::StaticClass()->ClassCastFlags, CASTCLASS_UField | CASTCLASS_UStruct);
	EXPECT_EQ(UClass::StaticClass()->ClassCastFlags, CASTCLASS_UField | CASTCLASS_UStruct | CASTCLASS_UClass);
	EXPECT_EQ(UScriptStruct::StaticClass()->ClassCastFlags, CASTCLASS_UField | CASTCLASS_UStruct | CASTCLASS_UScriptStruct);
	EXPECT_EQ(UFunction::StaticClass()->ClassCastFlags, CASTCLASS_UField | CASTCLASS_UStruct | CASTCLASS_UFunction);
	EXPECT_EQ(UDelegateFunction::StaticClass()->ClassCastFlags, CASTCLASS_UField | CASTCLASS_UStruct | CASTCLASS_UFunction | CASTCLASS_UDelegateFunction);
	EXPECT_EQ(UEnum::StaticClass()->ClassCastFlags, CASTCLASS_UField | CASTCLASS_UEnum);
	EXPECT_EQ(UPackage::StaticClass()->ClassCastFlags, CASTCLASS_UPackage);
}

TEST_F(FClassCastFlagInheritanceTest, AClassDeclaresOnlyItsOwnFlag)
{
	EXPECT_EQ(UObject::StaticClassCastFlags(), CASTCLASS_None);
	EXPECT_EQ(UField::StaticClassCastFlags(), CASTCLASS_UField);
	EXPECT_EQ(UStruct::StaticClassCastFlags(), CASTCLASS_UStruct);
	EXPECT_EQ(UClass::StaticClassCastFlags(), CASTCLASS_UClass);
	EXPECT_EQ(UScriptStruct::StaticClassCastFlags(), CASTCLASS_UScriptStruct);
	EXPECT_EQ(UFunction::StaticClassCastFlags(), CASTCLASS_UFunction);
	EXPECT_EQ(UDelegateFunction::StaticClassCastFlags(), CASTCLASS_UDelegateFunction);
	EXPECT_EQ(UEnum::StaticClassCastFlags(), CASTCLASS_UEnum);
	EXPECT_EQ(UPackage::StaticClassCastFlags(), CASTCLASS_UPackage);
	EXPECT_EQ(UTestHolder::StaticClassCastFlags(), CASTCLASS_None);
	EXPECT_EQ(UTestHolder::StaticClass()->ClassCastFlags, CASTCLASS_None);
}

TEST_F(FClassCastFlagInheritanceTest, AnyFlagNeedsOneAllFlagsNeedEach)
{
	const UClass* Class = UDelegateFunction::StaticClass();
	EXPECT_TRUE(Class->HasAnyCastFlag(CASTCLASS_UFunction));
	EXPECT_TRUE(Class->HasAnyCastFlag(CASTCLASS_UClass | CASTCLASS_UField));
	EXPECT_FALSE(Class->HasAnyCastFlag(CASTCLASS_UClass | CASTCLASS_UPackage));
	EXPECT_FALSE(Class->HasAnyCastFlag(CASTCLASS_None));
	EXPECT_TRUE(Class->HasAllCastFlags(CASTCLASS_UField | CASTCLASS_UStruct | CASTCLASS_UFunction));
	EXPECT_FALSE(Class->HasAllCastFlags(CASTCLASS_UFunction | CASTCLASS_UClass));
	EXPECT_TRUE(Class->HasAllCastFlags(CASTCLASS_None));
}

TEST_F(FClassCastFlagInheritanceTest, AClassMadeAtRunTimeTakesItsBasesFlagsWhenLinked)
{
	UClass* Class = NewObject<UClass>(GetTransientPackage(), UClass::StaticClass());
	Class->SetSuperStruct(UDelegateFunction::StaticClass());
	EXPECT_EQ(Class->ClassCastFlags, CASTCLASS_None);

	Class->StaticLink();

	EXPECT_EQ(Class->ClassCastFlags, UDelegateFunction::StaticClass()->ClassCastFlags);
}

// Differential: for every pair of live structs, the base chain answers as the walk up the super
// struct pointers does.

TEST(FStructIsChildOfDifferentialTest, EveryPairOfRegisteredStructsAgreesWithTheSuperWalk)
{
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	const HeadlessTests::FDisagreements Disagreements = HeadlessTests::FindIsChildOfDisagreements();
	// Every class, script struct and function of the object system and of these tests.
	EXPECT_GE(Disagreements.NumCompared, 20 * 20);
	EXPECT_TRUE(Disagreements.Cases.empty()) << HeadlessTests::Describe(Disagreements);
}
