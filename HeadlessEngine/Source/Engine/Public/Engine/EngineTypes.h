#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "EngineTypes.generated.h"

/** Why an actor or a component leaves play. */
UENUM(BlueprintType)
namespace EEndPlayReason
{
	enum Type
	{
		Destroyed,
		LevelTransition,
		EndPlayInEditor,
		RemovedFromWorld,
		Quit,
	};
}

/** What a world is for. World subsystems decide by it whether they exist in a world. */
namespace EWorldType
{
	enum Type
	{
		None,
		Game,
		Editor,
		PIE,
		EditorPreview,
		GamePreview,
		GameRPC,
		Inactive
	};
}
