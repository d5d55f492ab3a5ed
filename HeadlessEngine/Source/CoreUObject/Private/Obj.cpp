#include "UObject/Object.h"

#include "Misc/AssertionMacros.h"
#include "Serialization/Archive.h"
#include "UObject/Class.h"
#include "UObject/Stack.h"
#include "UObject/UnrealType.h"

UObject::UObject() = default;

UObject::UObject(const FObjectInitializer& ObjectInitializer)
{
	check(ObjectInitializer.GetObj() == this);
}

UObject::UObject(FVTableHelper& Helper)
{
	(void)Helper;
}

UObject::UObject(EObjectFlags InFlags)
	: UObjectBaseUtility(InFlags)
{
}

UWorld* UObject::GetWorld() const
{
	if (HasAnyFlags(RF_ClassDefaultObject))
	{
		return nullptr;
	}
	if (UObject* Outer = GetOuter())
	{
		if (!HasAnyFlags(RF_BeginDestroyed) && !Outer->HasAnyFlags(RF_BeginDestroyed))
		{
			return Outer->GetWorld();
		}
	}
	return nullptr;
}

void UObject::PostInitProperties()
{
}

void UObject::BeginDestroy()
{
}

void UObject::FinishDestroy()
{
}

bool UObject::ConditionalBeginDestroy()
{
	if (HasAnyFlags(RF_BeginDestroyed))
	{
		return false;
	}
	SetFlags(RF_BeginDestroyed);
	BeginDestroy();
	return true;
}

bool UObject::ConditionalFinishDestroy()
{
	if (HasAnyFlags(RF_FinishDestroyed))
	{
		return false;
	}
	SetFlags(RF_FinishDestroyed);
	FinishDestroy();
	return true;
}

void UObject::Serialize(FArchive& Ar)
{
	if (UClass* Class = GetClass())
	{
		Class->SerializeTaggedProperties(Ar, (uint8*)this, nullptr, nullptr);
	}
}

void UObject::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	(void)InThis;
	(void)Collector;
}

UFunction* UObject::FindFunction(FName InName) const
{
	return GetClass() ? GetClass()->FindFunctionByName(InName) : nullptr;
}

UFunction* UObject::FindFunctionChecked(FName InName) const
{
	UFunction* Result = FindFunction(InName);
	checkf(Result, TEXT("Failed to find function %s in %s"), *InName.ToString(), *GetFullName());
	return Result;
}

void UObject::ProcessEvent(UFunction* Function, void* Parms)
{
	checkf(Function, TEXT("ProcessEvent called with a null function"));
	checkf(Function->HasAnyFunctionFlags(FUNC_Native) && Function->GetNativeFunc(), TEXT("Function %s has no native entry"), *Function->GetName());
	uint8* Frame = (uint8*)Parms;
	FFrame NewStack(this, Function, Frame, nullptr, Function->ChildProperties);
	uint8* ReturnValueAddress = Function->ReturnValueOffset != MAX_uint16 ? Frame + Function->ReturnValueOffset : nullptr;
	Function->Invoke(this, NewStack, ReturnValueAddress);
}

UObject* UObject::CreateDefaultSubobject(FName SubobjectName, UClass* ReturnType, bool bTransient)
{
	return FObjectInitializer::Get().CreateDefaultSubobject(this, SubobjectName, ReturnType, bTransient);
}

bool IsValid(const UObject* Test)
{
	return Test && !Test->HasAnyInternalFlags(EInternalObjectFlags::Garbage | EInternalObjectFlags::Unreachable);
}
