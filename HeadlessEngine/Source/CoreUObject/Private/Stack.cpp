#include "UObject/Stack.h"

#include "Misc/AssertionMacros.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"

#include <cstdio>

FFrame::FFrame(UObject* InObject, UFunction* InNode, void* InLocals, FFrame* InPreviousFrame, FField* InPropertyChainForCompiledIn)
	: Node(InNode)
	, Object(InObject)
	, Locals((uint8*)InLocals)
	, PreviousFrame(InPreviousFrame)
	, PropertyChainForCompiledIn(InPropertyChainForCompiledIn)
{
}

void FFrame::Step(UObject* Context, RESULT_DECL)
{
	const uint8 Token = *Code++;
	checkf(Token < EX_Max, TEXT("Unknown code token %02X"), Token);
	(*GNatives[Token])(Context, *this, RESULT_PARAM);
}

void FFrame::StepExplicitProperty(void* const Result, FProperty* Property)
{
	checkf(Property, TEXT("A native entry read more parameters than %s declares"), Node ? *Node->GetName() : TEXT("its function"));
	MostRecentProperty = Property;
	MostRecentPropertyAddress = Property->ContainerPtrToValuePtr<uint8>(Locals);
	// A by-reference parameter is the block's own slot; the reader takes its address instead.
	if (Result && !Property->HasAnyPropertyFlags(CPF_OutParm))
	{
		Property->CopyCompleteValue(Result, MostRecentPropertyAddress);
	}
}

FProperty* FFrame::NextCompiledInProperty()
{
	FProperty* Property = (FProperty*)PropertyChainForCompiledIn;
	if (Property)
	{
		PropertyChainForCompiledIn = Property->Next;
	}
	return Property;
}

void FFrame::Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category)
{
	(void)Verbosity;
	(void)Category;
	std::fprintf(stderr, "Script: %s\n", TCHAR_TO_UTF8(V));
}

namespace
{
	DEFINE_FUNCTION(execUndefined)
	{
		(void)Context;
		(void)RESULT_PARAM;
		checkf(false, TEXT("Unknown code token %02X"), Stack.Code[-1]);
	}

	void ReadVariable(FFrame& Stack, uint8* Container, RESULT_DECL)
	{
		FProperty* Property = Stack.Read<FProperty*>();
		Stack.MostRecentProperty = Property;
		Stack.MostRecentPropertyAddress = Property->ContainerPtrToValuePtr<uint8>(Container);
		if (RESULT_PARAM)
		{
			Property->CopyCompleteValue(RESULT_PARAM, Stack.MostRecentPropertyAddress);
		}
	}

	DEFINE_FUNCTION(execLocalVariable)
	{
		(void)Context;
		ReadVariable(Stack, Stack.Locals, RESULT_PARAM);
	}

	DEFINE_FUNCTION(execLocalOutVariable)
	{
		(void)Context;
		ReadVariable(Stack, Stack.Locals, RESULT_PARAM);
	}

	DEFINE_FUNCTION(execInstanceVariable)
	{
		ReadVariable(Stack, (uint8*)Context, RESULT_PARAM);
	}

	// A constant has no address of its own: a by-reference reader gets a copy.
	DEFINE_FUNCTION(execStructConst)
	{
		(void)Context;
		UScriptStruct* Struct = Stack.Read<UScriptStruct*>();
		const void* Source = Stack.Read<const void*>();
		Stack.MostRecentProperty = nullptr;
		Stack.MostRecentPropertyAddress = nullptr;
		if (RESULT_PARAM)
		{
			Struct->CopyScriptStruct(RESULT_PARAM, Source);
		}
	}

	DEFINE_FUNCTION(execNothing)
	{
		(void)Context;
		(void)Stack;
		(void)RESULT_PARAM;
	}

	struct FNativesTable
	{
		FNativesTable()
		{
			for (FNativeFuncPtr& Native : GNatives)
			{
				Native = &execUndefined;
			}
			GNatives[EX_LocalVariable] = &execLocalVariable;
			GNatives[EX_InstanceVariable] = &execInstanceVariable;
			GNatives[EX_LocalOutVariable] = &execLocalOutVariable;
			GNatives[EX_StructConst] = &execStructConst;
			GNatives[EX_Nothing] = &execNothing;
			GNatives[EX_EndFunctionParms] = &execNothing;
		}
	};
}

FNativeFuncPtr GNatives[EX_Max];
static FNativesTable GNativesTable;
