#include "Kismet/BlueprintFunctionLibrary.h"

#include "EngineTestAsyncActions.h"
#include "UObject/Class.h"

#include <gtest/gtest.h>

TEST(BlueprintFunctionLibraryTest, TheBaseIsAbstract)
{
	EXPECT_TRUE(UBlueprintFunctionLibrary::StaticClass()->HasAnyClassFlags(CLASS_Abstract));
	EXPECT_TRUE(UEngineTestFunctionLibrary::StaticClass()->IsChildOf(UBlueprintFunctionLibrary::StaticClass()));
}

TEST(BlueprintFunctionLibraryTest, StaticFunctionsAreCalledOnTheClassDefaultObject)
{
	UFunction* AddOne = UEngineTestFunctionLibrary::StaticClass()->FindFunctionByName(TEXT("AddOne"));
	ASSERT_NE(AddOne, nullptr);
	EXPECT_TRUE(AddOne->HasAllFunctionFlags(FUNC_Static | FUNC_BlueprintCallable | FUNC_BlueprintPure));

	struct
	{
		int32 Value = 41;
		int32 ReturnValue = 0;
	} Parms;
	ASSERT_EQ(AddOne->ParmsSize, (int32)sizeof(Parms));
	UEngineTestFunctionLibrary::StaticClass()->GetDefaultObject()->ProcessEvent(AddOne, &Parms);
	EXPECT_EQ(Parms.ReturnValue, 42);
}
