#pragma once

#include "CoreMinimal.h"
#include "Misc/OutputDevice.h"
#include "UObject/Script.h"

class UObject;
class UFunction;
class FProperty;
class FField;

// The state of one script call: the function, its object, the bytecode of its arguments (when a
// script calls) and the block its parameters live in.
//
// A native entry reads its parameters in declaration order. Without bytecode (ProcessEvent and
// delegates) each parameter is read from the parameter block, and a by-reference parameter is
// that block's own slot. With bytecode each argument is an expression evaluated in the calling
// frame; a variable supplies its own address, so a by-reference parameter is the caller's
// variable, while any other expression fills a local copy.
struct COREUOBJECT_API FFrame : public FOutputDevice
{
	FFrame(UObject* InObject, UFunction* InNode, void* InLocals, FFrame* InPreviousFrame = nullptr, FField* InPropertyChainForCompiledIn = nullptr);
	virtual ~FFrame() = default;

	// Evaluates the next expression of the bytecode, writing its value to Result.
	void Step(UObject* Context, RESULT_DECL);
	// Reads the next parameter from the parameter block (no bytecode).
	void StepExplicitProperty(void* const Result, FProperty* Property);

	template<class TProperty>
	void StepCompiledIn(void* const Result)
	{
		if (Code)
		{
			Step(Object, Result);
		}
		else
		{
			FProperty* Property = NextCompiledInProperty();
			StepExplicitProperty(Result, Property);
		}
	}

	template<class TProperty, typename TNativeType>
	TNativeType& StepCompiledInRef(void* const TemporaryBuffer)
	{
		MostRecentPropertyAddress = nullptr;
		if (Code)
		{
			Step(Object, TemporaryBuffer);
		}
		else
		{
			FProperty* Property = NextCompiledInProperty();
			StepExplicitProperty(TemporaryBuffer, Property);
		}
		return MostRecentPropertyAddress ? *(TNativeType*)MostRecentPropertyAddress : *(TNativeType*)TemporaryBuffer;
	}

	template<typename T>
	T Read()
	{
		T Value;
		FMemory::Memcpy(&Value, Code, sizeof(T));
		Code += sizeof(T);
		return Value;
	}

	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override;

	UFunction* Node;
	UObject* Object;
	uint8* Code = nullptr;
	uint8* Locals;
	FProperty* MostRecentProperty = nullptr;
	uint8* MostRecentPropertyAddress = nullptr;
	FFrame* PreviousFrame;
	FField* PropertyChainForCompiledIn;

private:
	FProperty* NextCompiledInProperty();
};
