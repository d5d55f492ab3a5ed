#pragma once

#include "CoreMinimal.h"
#include "Containers/UnrealString.h"
#include "Misc/Guid.h"
#include "Templates/UnrealTypeTraits.h"
#include "UObject/Class.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "Vesk_PersistentReference.generated.h"

class UActorComponent;
class UObject;
class UWorld;

UENUM()
enum class EVesk_ReferenceStatus : uint8
{
	Empty = 0,
	Unavailable = 1,
	Initializing = 2,
	TypeMismatch = 3,
	MissingComponent = 4,
	AmbiguousComponent = 5,
	Available = 6,
	Removed = 7,
};

// Shared storage for every typed specialization. Contains no instance or class pointers.
USTRUCT()
struct VESKPERSISTENTREFERENCES_API FVesk_PersistentReference
{
	GENERATED_BODY()

	UPROPERTY(SaveGame)
	FGuid Id;

	bool operator==(const FVesk_PersistentReference& Other) const
	{
		return Id == Other.Id;
	}

	// Must stay the registry's key hash: a reference and the identity it stores land in the same bucket.
	friend uint32 GetTypeHash(const FVesk_PersistentReference& Reference)
	{
		return GetTypeHash(Reference.Id);
	}

	// Thirty-two upper-case hexadecimal digits, no separators.
	FString ToString() const;
};

static_assert(sizeof(FVesk_PersistentReference) == 16, "A persistent reference is exactly its guid.");
static_assert(alignof(FVesk_PersistentReference) == 4, "A persistent reference is exactly its guid.");

template<>
struct TIsPODType<FVesk_PersistentReference>
{
	enum { Value = true };
};

template<>
struct TStructOpsTypeTraits<FVesk_PersistentReference> : public TStructOpsTypeTraitsBase2<FVesk_PersistentReference>
{
	enum
	{
		WithZeroConstructor = true,
	};
};

// A producer must retain this token; callbacks from previous incarnations cannot detach a replacement.
USTRUCT(BlueprintType)
struct VESKPERSISTENTREFERENCES_API FVesk_ReferenceBinding
{
	GENERATED_BODY()

	UPROPERTY(BlueprintReadOnly, Category="Vesk_ReferenceBinding")
	FGuid Id;

	UPROPERTY(BlueprintReadOnly, Category="Vesk_ReferenceBinding")
	int64 Generation = 0;

	// Kept out of reflection: a token is only meaningful to the registry of the world that issued it,
	// so script can neither read nor forge it, and save games never store it.
	TWeakObjectPtr<UWorld> World;
};

static_assert(sizeof(FVesk_ReferenceBinding) == 32, "Binding tokens are passed by value through script frames.");
static_assert(alignof(FVesk_ReferenceBinding) == 8, "Binding tokens are passed by value through script frames.");

// A weak pointer is an object index and a serial number; zero bytes are the null pointer and a byte copy
// takes no reference, so the whole token may be zero-filled and copied as bytes.
template<>
struct TIsPODType<FVesk_ReferenceBinding>
{
	enum { Value = true };
};

template<>
struct TStructOpsTypeTraits<FVesk_ReferenceBinding> : public TStructOpsTypeTraitsBase2<FVesk_ReferenceBinding>
{
	enum
	{
		WithZeroConstructor = true,
	};
};

// Result of a lookup, for immediate use on the game thread. The pointers are raw and keep nothing alive.
struct FVesk_ResolvedReference
{
	EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Unavailable;
	UObject* Object = nullptr;
	UActorComponent* Component = nullptr;
	int64 Generation = 0;
};

static_assert(sizeof(FVesk_ResolvedReference) == 32, "Resolution results are returned by value on every refresh.");
static_assert(alignof(FVesk_ResolvedReference) == 8, "Resolution results are returned by value on every refresh.");
