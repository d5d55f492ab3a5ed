#include "TestWorld.h"

#include "Engine/EngineBaseTypes.h"
#include "UObject/UObjectGlobals.h"

FTestWorld::FTestWorld(EWorldType::Type Type, bool bBeginPlay)
{
	World = UWorld::CreateWorld(Type, false);
	World->InitializeActorsForPlay(FURL());
	if (bBeginPlay)
	{
		World->BeginPlay();
	}
}

FTestWorld::~FTestWorld()
{
	Destroy();
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
}

void FTestWorld::Tick(float DeltaSeconds)
{
	World->Tick(LEVELTICK_All, DeltaSeconds);
}

void FTestWorld::ReturnToPlay(AActor* Actor)
{
	if (!Actor->IsActorInitialized())
	{
		Actor->PreInitializeComponents();
		Actor->InitializeComponents();
		Actor->PostInitializeComponents();
	}
	Actor->DispatchBeginPlay();
}

void FTestWorld::Destroy()
{
	if (!bDestroyed)
	{
		bDestroyed = true;
		World->DestroyWorld(false);
	}
}
