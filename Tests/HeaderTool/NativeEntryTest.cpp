#include "ReflectionFixture.h"
#include "ReflectionTestSupport.h"

#include "UObject/Stack.h"
#include "UObject/UObjectGlobals.h"

#include <cstddef>
#include <cstring>
#include <vector>

using namespace HeaderToolTests;

// Members of derived structs are laid out by this compiler as by any other: offsetof is exact here.
_Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"")

namespace
{
	// Parameter blocks laid out as the generated code lays them out; each test first checks that
	// the function's properties agree, so a wrong offset fails there rather than corrupting memory.
	struct FTakeParms
	{
		FFixtureStruct S;
		FGuid G;
		UObject* O = nullptr;
		bool ReturnValue = false;
	};

	struct FMakeParms
	{
		FGuid InId;
		FFixtureStruct ReturnValue;
	};

	struct FGetMoodParms
	{
		EFixtureMood ReturnValue = EFixtureMood::Calm;
	};

	struct FSetLabelParms
	{
		FString InLabel;
		int32 Count = 0;
	};

	struct FCountSidesParms
	{
		TEnumAsByte<EFixtureSide::Type> First;
		TEnumAsByte<EFixtureSide::Type> Second;
		int32 ReturnValue = 0;
	};

	struct FFillParms
	{
		int32 OutCount = 0;
		FFixtureStruct OutStruct;
		FFixtureStruct InOutStruct;
	};

	struct FOnFixtureEventParms
	{
		UObject* Source = nullptr;
		EFixtureMood NewMood = EFixtureMood::Calm;
	};

	struct FExpectedParameter
	{
		const TCHAR* Name;
		size_t Offset;
	};

	/** Bytecode of a script call's arguments, as a compiled script would pass them to a native entry. */
	class FArgumentCode
	{
	public:
		FArgumentCode& Variable(FProperty* Property)
		{
			Code.push_back(EX_LocalVariable);
			Append(&Property, sizeof(Property));
			return *this;
		}

		FArgumentCode& StructConstant(UScriptStruct* Struct, const void* Value)
		{
			Code.push_back(EX_StructConst);
			Append(&Struct, sizeof(Struct));
			Append(&Value, sizeof(Value));
			return *this;
		}

		uint8* Finish()
		{
			Code.push_back(EX_EndFunctionParms);
			return Code.data();
		}

		const uint8* End() const
		{
			return Code.data() + Code.size();
		}

	private:
		void Append(const void* Data, size_t Size)
		{
			const uint8* Bytes = static_cast<const uint8*>(Data);
			Code.insert(Code.end(), Bytes, Bytes + Size);
		}

		std::vector<uint8> Code;
	};

	class NativeEntry : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Object = NewObject<UFixtureObject>();
			ASSERT_NE(Object, nullptr);
		}

		UFunction* Find(const TCHAR* Name) const
		{
			UFunction* Function = UFixtureObject::StaticClass()->FindFunctionByName(FName(Name));
			EXPECT_NE(Function, nullptr) << Utf8(Name);
			return Function;
		}

		/** The function, once its parameters are known to lie where the test's block puts them. */
		UFunction* FindWithLayout(const TCHAR* Name, size_t BlockSize, std::initializer_list<FExpectedParameter> Expected) const
		{
			UFunction* Function = Find(Name);
			if (!Function)
			{
				return nullptr;
			}
			bool bMatches = Function->ParmsSize == BlockSize;
			EXPECT_EQ(Function->ParmsSize, BlockSize) << Utf8(Name);
			for (const FExpectedParameter& Parameter : Expected)
			{
				FProperty* Property = Function->FindPropertyByName(FName(Parameter.Name));
				const bool bFound = Property != nullptr && Property->GetOffset_ForUFunction() == (int32)Parameter.Offset;
				EXPECT_TRUE(bFound) << Utf8(Name) << "." << Utf8(Parameter.Name);
				bMatches = bMatches && bFound;
			}
			return bMatches ? Function : nullptr;
		}

		UFixtureObject* Object = nullptr;
	};
}

TEST_F(NativeEntry, ProcessEventPassesEveryParameterAndStoresTheResult)
{
	UFunction* Take = FindWithLayout(TEXT("Take"), sizeof(FTakeParms),
		{ { TEXT("S"), offsetof(FTakeParms, S) }, { TEXT("G"), offsetof(FTakeParms, G) }, { TEXT("O"), offsetof(FTakeParms, O) }, { TEXT("ReturnValue"), offsetof(FTakeParms, ReturnValue) } });
	ASSERT_NE(Take, nullptr);
	FTakeParms Parms;
	Parms.S.Id = FGuid(1, 2, 3, 4);
	Parms.S.Generation = 5;
	Parms.G = FGuid(1, 2, 3, 4);
	Parms.O = Object;
	Object->ProcessEvent(Take, &Parms);
	EXPECT_TRUE(Parms.ReturnValue);
	EXPECT_EQ(Object->LastStruct.Generation, 5);
	EXPECT_EQ(Object->LastGuid, FGuid(1, 2, 3, 4));
	EXPECT_EQ(Object->LastObject, Object);
	// A constant struct reference is the block's own slot.
	EXPECT_EQ(Object->LastStructAddress, &Parms.S);

	Parms.G = FGuid(9, 9, 9, 9);
	Object->ProcessEvent(Take, &Parms);
	EXPECT_FALSE(Parms.ReturnValue);
}

TEST_F(NativeEntry, StructResultIsWrittenWhole)
{
	UFunction* Make = FindWithLayout(TEXT("Make"), sizeof(FMakeParms), { { TEXT("InId"), offsetof(FMakeParms, InId) }, { TEXT("ReturnValue"), offsetof(FMakeParms, ReturnValue) } });
	ASSERT_NE(Make, nullptr);
	FMakeParms Parms;
	Parms.InId = FGuid(7, 0, 0, 1);
	Object->ProcessEvent(Make, &Parms);
	EXPECT_EQ(Parms.ReturnValue.Id, FGuid(7, 0, 0, 1));
	EXPECT_EQ(Parms.ReturnValue.Generation, 7);
}

TEST_F(NativeEntry, EnumResultIsOneByte)
{
	UFunction* GetMood = FindWithLayout(TEXT("GetMood"), sizeof(FGetMoodParms), { { TEXT("ReturnValue"), offsetof(FGetMoodParms, ReturnValue) } });
	ASSERT_NE(GetMood, nullptr);
	Object->Mood = EFixtureMood::Angry;
	FGetMoodParms Parms;
	Object->ProcessEvent(GetMood, &Parms);
	EXPECT_EQ(Parms.ReturnValue, EFixtureMood::Angry);
}

TEST_F(NativeEntry, StringAndIntegerParametersArriveAsValues)
{
	UFunction* SetLabel = FindWithLayout(TEXT("SetLabel"), sizeof(FSetLabelParms), { { TEXT("InLabel"), offsetof(FSetLabelParms, InLabel) }, { TEXT("Count"), offsetof(FSetLabelParms, Count) } });
	ASSERT_NE(SetLabel, nullptr);
	FSetLabelParms Parms;
	Parms.InLabel = TEXT("ab");
	Parms.Count = 3;
	Object->ProcessEvent(SetLabel, &Parms);
	EXPECT_EQ(Utf8(Object->Label), "ababab");
}

TEST_F(NativeEntry, StaticFunctionReadsNamespacedEnumsAsBytes)
{
	UFunction* CountSides = FindWithLayout(TEXT("CountSides"), sizeof(FCountSidesParms),
		{ { TEXT("First"), offsetof(FCountSidesParms, First) }, { TEXT("Second"), offsetof(FCountSidesParms, Second) }, { TEXT("ReturnValue"), offsetof(FCountSidesParms, ReturnValue) } });
	ASSERT_NE(CountSides, nullptr);
	FCountSidesParms Parms;
	Parms.First = EFixtureSide::Right;
	Parms.Second = EFixtureSide::Left;
	Object->ProcessEvent(CountSides, &Parms);
	EXPECT_EQ(Parms.ReturnValue, 1);
	Parms.Second = EFixtureSide::Right;
	Object->ProcessEvent(CountSides, &Parms);
	EXPECT_EQ(Parms.ReturnValue, 2);
}

TEST_F(NativeEntry, OutParametersWriteIntoTheCallersBlock)
{
	UFunction* Fill = FindWithLayout(TEXT("Fill"), sizeof(FFillParms),
		{ { TEXT("OutCount"), offsetof(FFillParms, OutCount) }, { TEXT("OutStruct"), offsetof(FFillParms, OutStruct) }, { TEXT("InOutStruct"), offsetof(FFillParms, InOutStruct) } });
	ASSERT_NE(Fill, nullptr);
	FFillParms Parms;
	Parms.InOutStruct.Generation = 10;
	Object->ProcessEvent(Fill, &Parms);
	EXPECT_EQ(Parms.OutCount, 41);
	EXPECT_EQ(Parms.OutStruct.Generation, 9);
	EXPECT_EQ(Parms.InOutStruct.Generation, 11);
}

TEST_F(NativeEntry, PrivateFunctionIsCallableByName)
{
	UFunction* OnFixtureEvent = FindWithLayout(TEXT("OnFixtureEvent"), sizeof(FOnFixtureEventParms),
		{ { TEXT("Source"), offsetof(FOnFixtureEventParms, Source) }, { TEXT("NewMood"), offsetof(FOnFixtureEventParms, NewMood) } });
	ASSERT_NE(OnFixtureEvent, nullptr);
	ASSERT_EQ(Object->FindFunction(FName(TEXT("OnFixtureEvent"))), OnFixtureEvent);
	FOnFixtureEventParms Parms;
	Parms.Source = Object;
	Parms.NewMood = EFixtureMood::Sleepy;
	Object->ProcessEvent(OnFixtureEvent, &Parms);
	EXPECT_EQ(Object->Mood, EFixtureMood::Sleepy);
	EXPECT_EQ(Object->LastObject, Object);
}

TEST_F(NativeEntry, ScriptVariablePassedToAConstReferenceIsTheVariableItself)
{
	UFunction* Take = FindWithLayout(TEXT("Take"), sizeof(FTakeParms),
		{ { TEXT("S"), offsetof(FTakeParms, S) }, { TEXT("G"), offsetof(FTakeParms, G) }, { TEXT("O"), offsetof(FTakeParms, O) } });
	ASSERT_NE(Take, nullptr);
	// The caller's locals are a block of the same shape, so Take's own properties name its variables.
	FTakeParms Locals;
	Locals.S.Generation = 3;
	Locals.G = FGuid(5, 6, 7, 8);
	Locals.O = Object;
	FArgumentCode Arguments;
	Arguments.Variable(Take->FindPropertyByName(TEXT("S"))).Variable(Take->FindPropertyByName(TEXT("G"))).Variable(Take->FindPropertyByName(TEXT("O")));
	FFrame Stack(Object, Take, &Locals);
	Stack.Code = Arguments.Finish();
	bool bResult = true;
	Take->GetNativeFunc()(Object, Stack, &bResult);
	EXPECT_EQ(Object->LastStructAddress, &Locals.S);
	EXPECT_EQ(Object->LastStruct.Generation, 3);
	EXPECT_EQ(Object->LastGuid, FGuid(5, 6, 7, 8));
	EXPECT_EQ(Object->LastObject, Object);
	EXPECT_FALSE(bResult);
	// The entry stepped over the end-of-parameters marker.
	EXPECT_EQ(Stack.Code, Arguments.End());
}

TEST_F(NativeEntry, ScriptConstantPassedToAConstReferenceIsACopy)
{
	UFunction* Take = Find(TEXT("Take"));
	ASSERT_NE(Take, nullptr);
	FTakeParms Locals;
	Locals.O = nullptr;
	FFixtureStruct Constant;
	Constant.Id = FGuid(1, 1, 1, 1);
	Constant.Generation = 21;
	FArgumentCode Arguments;
	Arguments.StructConstant(FFixtureStruct::StaticStruct(), &Constant).Variable(Take->FindPropertyByName(TEXT("G"))).Variable(Take->FindPropertyByName(TEXT("O")));
	Locals.G = FGuid(1, 1, 1, 1);
	FFrame Stack(Object, Take, &Locals);
	Stack.Code = Arguments.Finish();
	bool bResult = false;
	Take->GetNativeFunc()(Object, Stack, &bResult);
	EXPECT_NE(Object->LastStructAddress, &Constant);
	EXPECT_NE(Object->LastStructAddress, &Locals.S);
	EXPECT_EQ(Object->LastStruct.Generation, 21);
	EXPECT_TRUE(bResult);
}

TEST_F(NativeEntry, ScriptVariablesPassedToOutParametersReceiveTheWrites)
{
	UFunction* Fill = Find(TEXT("Fill"));
	ASSERT_NE(Fill, nullptr);
	FFillParms Locals;
	Locals.InOutStruct.Generation = 1;
	FArgumentCode Arguments;
	Arguments.Variable(Fill->FindPropertyByName(TEXT("OutCount"))).Variable(Fill->FindPropertyByName(TEXT("OutStruct"))).Variable(Fill->FindPropertyByName(TEXT("InOutStruct")));
	FFrame Stack(Object, Fill, &Locals);
	Stack.Code = Arguments.Finish();
	Fill->GetNativeFunc()(Object, Stack, nullptr);
	EXPECT_EQ(Locals.OutCount, 41);
	EXPECT_EQ(Locals.OutStruct.Generation, 9);
	EXPECT_EQ(Locals.InOutStruct.Generation, 2);
}
