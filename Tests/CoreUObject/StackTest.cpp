#include "CoreUObjectTestTypes.h"
#include "UObject/Stack.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UnrealType.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// Native entries called through ProcessEvent read their parameters from the block the caller
// fills, and write the result into the block's "ReturnValue".
class NativeEntryCall : public testing::Test
{
protected:
	void TearDown() override
	{
		Listener.Reset();
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}

	// A zeroed, initialised parameter block of Function's size.
	static std::vector<uint8> MakeParms(UFunction* Function)
	{
		std::vector<uint8> Parms(Function->ParmsSize);
		for (TFieldIterator<FProperty> It(Function); It; ++It)
		{
			if (FStructProperty* StructProperty = CastField<FStructProperty>(*It))
			{
				StructProperty->Struct->InitializeStruct(It->ContainerPtrToValuePtr<void>(Parms.data()));
			}
		}
		return Parms;
	}

	template<typename T>
	static T& Param(UFunction* Function, std::vector<uint8>& Parms, const TCHAR* Name)
	{
		FProperty* Property = Function->FindPropertyByName(FName(Name));
		check(Property);
		return *Property->ContainerPtrToValuePtr<T>(Parms.data());
	}

	TStrongObjectPtr<UTestListener> Listener{ NewObject<UTestListener>() };
};

TEST_F(NativeEntryCall, ByValueParametersAndResult)
{
	UFunction* Function = Listener->FindFunctionChecked(FName(TEXT("Add")));
	std::vector<uint8> Parms = MakeParms(Function);
	Param<int64>(Function, Parms, TEXT("A")) = 40;
	Param<int64>(Function, Parms, TEXT("B")) = 2;
	Listener->ProcessEvent(Function, Parms.data());
	EXPECT_EQ(Param<int64>(Function, Parms, TEXT("ReturnValue")), 42);
	EXPECT_EQ(Function->GetReturnProperty()->GetFName(), FName(TEXT("ReturnValue")));
}

TEST_F(NativeEntryCall, StructAndObjectByValueWithStructResult)
{
	UFunction* Function = Listener->FindFunctionChecked(FName(TEXT("Echo")));
	std::vector<uint8> Parms = MakeParms(Function);
	Param<FTestPayload>(Function, Parms, TEXT("Payload")).Saved = 11;
	Param<UObject*>(Function, Parms, TEXT("Object")) = Listener.Get();
	Listener->ProcessEvent(Function, Parms.data());
	const FTestPayload& Result = Param<FTestPayload>(Function, Parms, TEXT("ReturnValue"));
	EXPECT_EQ(Result.Saved, 11);
	EXPECT_EQ(Result.Held, Listener.Get());
	// The by-value argument itself is the callee's copy, not written back.
	EXPECT_EQ(Param<FTestPayload>(Function, Parms, TEXT("Payload")).Held, nullptr);
}

TEST_F(NativeEntryCall, ByReferenceStructIsTheBlocksOwnSlot)
{
	UFunction* Function = Listener->FindFunctionChecked(FName(TEXT("Bump")));
	EXPECT_TRUE(Function->FindPropertyByName(FName(TEXT("Payload")))->HasAllPropertyFlags(CPF_Parm | CPF_OutParm));
	std::vector<uint8> Parms = MakeParms(Function);
	Param<FTestPayload>(Function, Parms, TEXT("Payload")).Saved = 1;
	Param<int32>(Function, Parms, TEXT("Amount")) = 5;
	Listener->ProcessEvent(Function, Parms.data());
	EXPECT_EQ(Param<FTestPayload>(Function, Parms, TEXT("Payload")).Saved, 6);
}

// A script caller passes arguments as bytecode evaluated in its own frame.
class ScriptFrameArguments : public NativeEntryCall
{
protected:
	template<typename T>
	static void Append(std::vector<uint8>& Code, const T& Value)
	{
		const size_t At = Code.size();
		Code.resize(At + sizeof(T));
		std::memcpy(Code.data() + At, &Value, sizeof(T));
	}

	// Calls Bump with the caller's Payload passed by Token (a variable or a constant) and Amount as
	// a local variable.
	void CallBump(EExprToken PayloadToken, FTestPayload& CallerPayload)
	{
		UFunction* Bump = Listener->FindFunctionChecked(FName(TEXT("Bump")));
		// The caller's locals are laid out like Bump's own block, so its properties describe them.
		std::vector<uint8> CallerLocals = MakeParms(Bump);
		FProperty* PayloadProperty = Bump->FindPropertyByName(FName(TEXT("Payload")));
		FProperty* AmountProperty = Bump->FindPropertyByName(FName(TEXT("Amount")));
		*AmountProperty->ContainerPtrToValuePtr<int32>(CallerLocals.data()) = 5;

		std::vector<uint8> Code;
		Code.push_back(uint8(PayloadToken));
		if (PayloadToken == EX_StructConst)
		{
			Append(Code, FTestPayload::StaticStruct());
			Append(Code, (const void*)&CallerPayload);
		}
		else
		{
			PayloadProperty->CopyCompleteValue(PayloadProperty->ContainerPtrToValuePtr<void>(CallerLocals.data()), &CallerPayload);
			Append(Code, PayloadProperty);
		}
		Code.push_back(EX_LocalVariable);
		Append(Code, AmountProperty);
		Code.push_back(EX_EndFunctionParms);

		FFrame CallerFrame(Listener.Get(), Bump, CallerLocals.data());
		CallerFrame.Code = Code.data();
		Bump->Invoke(Listener.Get(), CallerFrame, nullptr);
		EXPECT_EQ(CallerFrame.Code, Code.data() + Code.size()) << "the entry must consume its arguments";
		if (PayloadToken != EX_StructConst)
		{
			CallerPayload = *PayloadProperty->ContainerPtrToValuePtr<FTestPayload>(CallerLocals.data());
		}
	}
};

TEST_F(ScriptFrameArguments, VariableArgumentIsTheCallersOwnVariable)
{
	FTestPayload Payload;
	Payload.Saved = 1;
	CallBump(EX_LocalVariable, Payload);
	EXPECT_EQ(Payload.Saved, 6);
}

TEST_F(ScriptFrameArguments, ConstantArgumentIsALocalCopy)
{
	FTestPayload Payload;
	Payload.Saved = 1;
	CallBump(EX_StructConst, Payload);
	EXPECT_EQ(Payload.Saved, 1);
}

TEST(NativeEntryDeathTest, ProcessEventWithoutNativeEntryStops)
{
	UTestListener* Listener = NewObject<UTestListener>();
	EXPECT_DEATH(Listener->ProcessEvent(nullptr, nullptr), "ProcessEvent called with a null function");
}
