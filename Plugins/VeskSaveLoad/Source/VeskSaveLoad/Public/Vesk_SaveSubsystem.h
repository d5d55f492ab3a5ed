#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/UnrealString.h"
#include "Misc/Guid.h"
#include "UObject/NameTypes.h"
#include "UObject/Object.h"
#include "UObject/ObjectKey.h"
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
	// One object or outer that an object's key was built from.
	struct FKeyLink
	{
		FObjectKey Object;
		FName Name;
	};

	// What the table gave an object, and what its key was built from: the key stays the same while
	// the object and each outer up to the world are the same objects under the same names.
	struct FKnownObject
	{
		FGuid Guid;
		uint64 TableVersion = 0;
		FObjectKey World;
		// The object first, then its outers up to, without, the world.
		TArray<FKeyLink> Links;
		bool bEndsAtWorld = false;
	};

	static FString MakeObjectKey(const UObject* Object);

	bool IsStillKnown(const UObject* Object, const FKnownObject& Known) const;
	void RememberObject(const UObject* Object, const FGuid& Guid);
	void ForgetKnownObjects();

	TMap<FString, FGuid> GuidsByObjectPath;

	// Spares building an object's path on every request: the registry asks again each time a saved
	// identity is published or resolved. Keyed by object slot and serial number, not by weak pointer:
	// weak-pointer equality makes every gone object the same key, and its hash makes objects made one
	// after another collide.
	TMap<FObjectKey, FKnownObject> KnownObjects;
	// Changes whenever a path may have been given another guid, which makes every remembered answer
	// suspect.
	uint64 TableVersion = 0;
	// Objects that are gone are dropped once the memory grows to this size.
	int32 KnownObjectsPruneSize = 1024;
};
