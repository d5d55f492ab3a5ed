#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"

class FOutputDevice;
struct FVesk_ReferenceRegistryView;

/**
 * A registry's view as lines of text, for the console and for logs that tools choose to write:
 * a summary line, then the entries, the observations and the ended actors, each under its own
 * heading, in the view's order.
 */
struct VESKPERSISTENTREFERENCESTOOLS_API FVesk_ReferenceRegistryTable
{
	static TArray<FString> ToLines(const FVesk_ReferenceRegistryView& View);

	/** Writes each line to the device, and nothing anywhere else. */
	static void Print(const FVesk_ReferenceRegistryView& View, FOutputDevice& Output);
};
