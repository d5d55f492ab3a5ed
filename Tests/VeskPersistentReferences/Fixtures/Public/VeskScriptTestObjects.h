#pragma once

#include "CoreMinimal.h"
#include "Templates/Function.h"
#include "UObject/Class.h"
#include "UObject/Object.h"
#include "VeskScriptTestObjects.generated.h"

class UFunction;
class UWorld;

// Stands where script code binds a handler: every call that reaches it through the reflection
// system is recorded with the parameter block it came with.
UCLASS()
class UVeskScriptTestListener : public UObject
{
	GENERATED_BODY()

public:
	struct FCall
	{
		FName Function;
		void* Parms;
	};

	UFUNCTION()
	void HandleChanged()
	{
		++NumHandled;
		if (DuringHandle)
		{
			DuringHandle();
		}
	}

	virtual void ProcessEvent(UFunction* Function, void* Parms) override
	{
		Calls.Add({ Function ? Function->GetFName() : NAME_None, Parms });
		Super::ProcessEvent(Function, Parms);
	}

	TArray<FCall> Calls;
	int32 NumHandled = 0;
	TFunction<void()> DuringHandle;
};

// A producer that lets a test act in the middle of a registry operation: whoever asks for its world
// runs the hook first. The hook runs once and is then dropped.
UCLASS()
class UVeskTestWorldHookedObject : public UObject
{
	GENERATED_BODY()

public:
	virtual UWorld* GetWorld() const override
	{
		if (GetWorldHook)
		{
			const TFunction<void()> Hook = MoveTemp(GetWorldHook);
			GetWorldHook = nullptr;
			Hook();
		}
		return Super::GetWorld();
	}

	mutable TFunction<void()> GetWorldHook;
};
