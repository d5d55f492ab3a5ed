#pragma once

#include "CoreMinimal.h"
#include "Templates/Function.h"
#include "UObject/Object.h"
#include "VeskTestChangeListener.generated.h"

// A handler object for dynamic delegates. Two reflected functions, so that one listener can be bound
// twice to one delegate under different names, as two handlers of one game object would be.
UCLASS()
class UVeskTestChangeListener : public UObject
{
	GENERATED_BODY()

public:
	// Gets the index of the function that ran: 0 for HandleChanged, 1 for HandleChangedAgain.
	TFunction<void(int32)> OnCalled;

	UFUNCTION()
	void HandleChanged();

	UFUNCTION()
	void HandleChangedAgain();
};
