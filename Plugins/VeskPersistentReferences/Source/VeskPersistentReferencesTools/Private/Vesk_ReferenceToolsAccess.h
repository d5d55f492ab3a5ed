#pragma once

#include "CoreMinimal.h"
#include "Misc/Guid.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceRegistryView.h"

class UClass;
class UVesk_ReferenceObservation;
class UVesk_ReferenceSubsystem;
struct FVesk_ReferenceResolutionExplanation;

/**
 * The tools' one way into the registry's and the observations' private state, which both
 * declare this struct a friend. Everything here reads; nothing writes.
 */
struct FVesk_ReferenceToolsAccess
{
	static void FillView(const UVesk_ReferenceSubsystem& Registry, FVesk_ReferenceRegistryView& OutView);

	static FVesk_ReferenceResolutionExplanation Explain(const UVesk_ReferenceSubsystem& Registry, const FGuid& Identity, UClass* ExpectedType, UClass* ComponentType);

	/** Once torn down, a registry never resolves anything again. */
	static bool IsDeinitialized(const UVesk_ReferenceSubsystem& Registry);
};
