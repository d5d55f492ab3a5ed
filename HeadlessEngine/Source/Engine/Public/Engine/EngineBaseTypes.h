#pragma once

#include "CoreMinimal.h"
#include "Containers/UnrealString.h"

/** What a world tick advances. */
enum ELevelTick
{
	LEVELTICK_TimeOnly = 0,
	LEVELTICK_ViewportsOnly = 1,
	LEVELTICK_All = 2,
	LEVELTICK_PauseTick = 3,
};

/**
 * The settings of one tick function. Worlds here tick their tickable objects only: actors and
 * components keep their tick settings for the code that sets and reads them, and are never
 * ticked through them.
 */
struct FTickFunction
{
	uint8 bTickEvenWhenPaused : 1 = false;
	uint8 bCanEverTick : 1 = false;
	uint8 bStartWithTickEnabled : 1 = true;
	uint8 bAllowTickOnDedicatedServer : 1 = true;
	float TickInterval = 0.f;

	virtual ~FTickFunction() = default;

	void SetTickFunctionEnable(bool bInEnabled)
	{
		bTickEnabled = bInEnabled;
	}
	bool IsTickFunctionEnabled() const
	{
		return bTickEnabled;
	}

private:
	bool bTickEnabled = true;
};

struct FActorTickFunction : public FTickFunction
{
};

struct FActorComponentTickFunction : public FTickFunction
{
};

/** Where a world was loaded from; a headless world is never loaded, so only the parts a caller may read are kept. */
struct FURL
{
	FString Protocol;
	FString Host;
	int32 Port;
	FString Map;
	int32 Valid;

	ENGINE_API FURL(const TCHAR* Filename = nullptr);
};
