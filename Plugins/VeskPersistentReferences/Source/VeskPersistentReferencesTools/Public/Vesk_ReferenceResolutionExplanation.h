#pragma once

#include "CoreMinimal.h"
#include "Containers/UnrealString.h"
#include "Misc/Guid.h"
#include "Vesk_PersistentReference.h"

class UClass;
class UVesk_ReferenceSubsystem;

/** The check of resolution that decided a status, in the order resolution makes them. */
enum class EVesk_ReferenceResolutionStep : uint8
{
	EmptyIdentity,
	RegistryTornDown,
	NoEntry,
	Removed,
	Released,
	ObjectGone,
	SavedIdentityMoved,
	ComponentBeingDestroyed,
	OwnerBeingDestroyed,
	NoExpectedClass,
	WrongClass,
	NotPublished,
	ObjectFound,
	NotAnActor,
	NotAComponentClass,
	NoMatchingComponent,
	SeveralMatchingComponents,
	ComponentFound,
};

/** The name of the step, as written in the enumeration. */
VESKPERSISTENTREFERENCESTOOLS_API const TCHAR* LexToString(EVesk_ReferenceResolutionStep Step);

/**
 * Why an identity resolves as it does: the status that Resolve gives for the same question, the
 * step that decided it, a fixed sentence for that step, and the particulars (names, classes,
 * counts). It asks exactly what Resolve asks, in the same order, and changes nothing.
 */
struct VESKPERSISTENTREFERENCESTOOLS_API FVesk_ReferenceResolutionExplanation
{
	EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Unavailable;
	EVesk_ReferenceResolutionStep Step = EVesk_ReferenceResolutionStep::NoEntry;
	/** One sentence per step, such as "the owning actor is being destroyed". */
	FString Reason;
	/** The objects and classes involved; empty when the step involves none. */
	FString Detail;

	static FVesk_ReferenceResolutionExplanation Explain(const UVesk_ReferenceSubsystem& Registry, const FGuid& Identity, UClass* ExpectedType, UClass* ComponentType);

	/** "Status (Step): Reason; Detail". */
	FString ToString() const;
};
