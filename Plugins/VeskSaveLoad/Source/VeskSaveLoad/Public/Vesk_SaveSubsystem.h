#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/UnrealString.h"
#include "Misc/Guid.h"
#include "UObject/Object.h"
#include "Vesk_SaveSubsystem.generated.h"

// Process-wide keeper of saved object identities. An identity follows the object's path within its world,
// so an object re-created under the same path in another world, or after a load, gets it back.
UCLASS()
class VESKSAVELOAD_API UVesk_SaveSubsystem : public UObject
{
	GENERATED_BODY()

public:
	// Created on first use; null after Shutdown until Startup.
	static UVesk_SaveSubsystem* Get();

	// Lets Get create a fresh, empty instance again.
	static void Startup();

	// Releases the instance. Identities that were not saved to bytes are lost.
	static void Shutdown();

	// The object's saved identity, created on the first request; all zero for a null object.
	FGuid FindOrAddGuidByObject(UObject* Object);

	// Re-keys the object's saved identity, as loading another save does. An all-zero guid forgets it,
	// so that the next request creates a new one.
	void SetGuidForObject(const UObject* Object, const FGuid& Guid);

	void SaveToBytes(TArray<uint8>& OutBytes) const;

	// Replaces every identity with the saved ones. On malformed bytes returns false and changes nothing.
	bool LoadFromBytes(const TArray<uint8>& Bytes);

private:
	static FString MakeObjectKey(const UObject* Object);

	TMap<FString, FGuid> GuidsByObjectPath;
};
