#pragma once

#include "CoreMinimal.h"
#include "Templates/Function.h"
#include "UObject/Object.h"

#include "EngineTestAsyncActions.generated.h"

/** An object whose method a timer calls; counts the calls and runs an optional hook in each. */
UCLASS()
class UEngineTestTimerTarget : public UObject
{
	GENERATED_BODY()

public:
	void Fire()
	{
		++NumFired;
		if (OnFire)
		{
			OnFire();
		}
	}

	int32 NumFired = 0;
	TFunction<void()> OnFire;
};
