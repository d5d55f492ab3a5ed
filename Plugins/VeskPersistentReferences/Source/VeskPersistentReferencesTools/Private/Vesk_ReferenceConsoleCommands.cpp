#include "CoreMinimal.h"
#include "Engine/World.h"
#include "HAL/IConsoleManager.h"
#include "Misc/Guid.h"
#include "Misc/OutputDevice.h"
#include "Vesk_ReferenceRegistryTable.h"
#include "Vesk_ReferenceRegistryView.h"
#include "Vesk_ReferenceResolutionExplanation.h"
#include "Vesk_ReferenceSubsystem.h"

namespace VeskReferenceConsoleCommands
{
	static void DumpReferences(const TArray<FString>& Args, UWorld* World, FOutputDevice& Output)
	{
		const UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(World);
		if (!Registry)
		{
			Output.Log(TEXT("Vesk.References.Dump: this world has no reference registry"));
			return;
		}
		FVesk_ReferenceRegistryTable::Print(FVesk_ReferenceRegistryView(*Registry), Output);

		for (const FString& Arg : Args)
		{
			FGuid Identity;
			if (!FGuid::Parse(Arg, Identity))
			{
				Output.Log(FString::Printf(TEXT("Vesk.References.Dump: '%s' is not an identity"), *Arg));
				continue;
			}
			const FVesk_ReferenceResolutionExplanation Explanation = FVesk_ReferenceResolutionExplanation::Explain(*Registry, Identity, UObject::StaticClass(), nullptr);
			Output.Log(FString::Printf(TEXT("%s as any object: %s"), *Identity.ToString(EGuidFormats::Digits), *Explanation.ToString()));
		}
	}

	static FAutoConsoleCommandWithWorldArgsAndOutputDevice DumpCommand(
		TEXT("Vesk.References.Dump"),
		TEXT("Prints the world's persistent reference registry: its entries, observations and ended actors. Each identity given after it is also explained, as resolved for any object class."),
		FConsoleCommandWithWorldArgsAndOutputDeviceDelegate::CreateStatic(&DumpReferences));
}
