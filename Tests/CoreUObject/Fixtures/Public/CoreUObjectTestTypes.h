#pragma once

#include "CoreMinimal.h"
#include "Templates/Function.h"
#include "Templates/SubclassOf.h"
#include "UObject/Object.h"
#include "UObject/ObjectPtr.h"
#include "CoreUObjectTestTypes.generated.h"

class UTestEmitter;
class UTestListener;

DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FTestSignal, int32, Value);
DECLARE_DYNAMIC_MULTICAST_SPARSE_DELEGATE_OneParam(FTestSparseSignal, UTestEmitter, OnSparseSignal, int32, Value);

USTRUCT()
struct FTestPayload
{
	GENERATED_BODY()

	UPROPERTY(SaveGame)
	int32 Saved = 0;

	UPROPERTY()
	int32 Unsaved = 0;

	UPROPERTY()
	TObjectPtr<UObject> Held = nullptr;
};

UCLASS()
class UTestHolder : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY()
	TObjectPtr<UObject> Held = nullptr;

	UPROPERTY()
	FTestPayload Payload;

	UPROPERTY()
	TSubclassOf<UObject> HeldClass;

	// Not reflected: the collector must not see it.
	UObject* Hidden = nullptr;
};

// Keeps Extra alive through AddReferencedObjects rather than a reflected property.
UCLASS()
class UTestCustomReferencer : public UObject
{
	GENERATED_BODY()

public:
	static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);

	UObject* Extra = nullptr;
};

UCLASS()
class UTestEmitter : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY()
	FTestSignal OnSignal;

	UPROPERTY()
	FTestSparseSignal OnSparseSignal;
};

UCLASS()
class UTestListener : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION()
	void HandleSignal(int32 Value);

	UFUNCTION()
	void HandleOther(int32 Value);

	// Not reflected: binding it must fail.
	void HandleUnreflected(int32 Value);

	UFUNCTION()
	int64 Add(int64 A, int64 B);

	UFUNCTION()
	void Bump(FTestPayload& Payload, int32 Amount);

	UFUNCTION()
	FTestPayload Echo(FTestPayload Payload, UObject* Object);

	// Every handled value, with the name of the handler that saw it.
	TArray<TPair<FName, int32>> Received;
	// Runs inside HandleSignal, so tests can change the invocation list mid-broadcast.
	TFunction<void(int32)> DuringSignal;
};
