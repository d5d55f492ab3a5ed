#pragma once

#include "CoreMinimal.h"
#include "Templates/Function.h"
#include "UObject/Object.h"
#include "VeskTestChangeProbe.generated.h"

// A consumer that counts the changes its observations report. The hook runs inside the broadcast,
// so a test can look at the registry at the moment the registry tells its consumers.
UCLASS()
class UVeskTestChangeProbe : public UObject
{
	GENERATED_BODY()

public:
	int32 NumChanges = 0;
	TFunction<void()> ChangeHook;

	UFUNCTION()
	void HandleChanged()
	{
		++NumChanges;
		if (ChangeHook)
		{
			ChangeHook();
		}
	}
};
