#include "Engine/World.h"

#include "Components/ActorComponent.h"
#include "Components/ChildActorComponent.h"
#include "Engine/GameInstance.h"
#include "Engine/Level.h"
#include "GameFramework/Actor.h"
#include "Misc/AssertionMacros.h"
#include "Subsystems/WorldSubsystem.h"
#include "TimerManager.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UObjectHash.h"

UWorld* UWorld::CreateWorld(const EWorldType::Type InWorldType, bool, FName WorldName, UPackage* InWorldPackage, bool bAddToRoot)
{
	UObject* Outer = InWorldPackage ? static_cast<UObject*>(InWorldPackage) : static_cast<UObject*>(GetTransientPackage());
	UWorld* NewWorld = NewObject<UWorld>(Outer, WorldName, RF_Transactional);
	NewWorld->WorldType = InWorldType;
	if (bAddToRoot)
	{
		NewWorld->AddToRoot();
	}
	NewWorld->InitWorld();
	return NewWorld;
}

void UWorld::InitWorld()
{
	PersistentLevel = NewObject<ULevel>(this, FName(TEXT("PersistentLevel")));
	PersistentLevel->OwningWorld = this;
	bIsWorldInitialized = true;
	SubsystemCollection.Initialize(this);
	// The collection's base type is UWorldSubsystem, so every member is one.
	SubsystemCollection.ForEachSubsystem([](USubsystem* Subsystem)
	{
		static_cast<UWorldSubsystem*>(Subsystem)->PostInitialize();
	});
}

void UWorld::InitializeActorsForPlay(const FURL&, bool bResetTime)
{
	checkf(bIsWorldInitialized, TEXT("InitializeActorsForPlay needs a world made by CreateWorld"));
	if (bResetTime)
	{
		TimeSeconds = 0.0;
		RealTimeSeconds = 0.0;
		DeltaTimeSeconds = 0.f;
	}

	++ActorIterationDepth;
	for (int32 Index = 0; Index < PersistentLevel->Actors.Num(); ++Index)
	{
		AActor* Actor = PersistentLevel->Actors[Index];
		if (IsValid(Actor))
		{
			Actor->RegisterAllComponents();
		}
	}
	--ActorIterationDepth;
	SubsystemCollection.ForEachSubsystem([this](USubsystem* Subsystem)
	{
		static_cast<UWorldSubsystem*>(Subsystem)->OnWorldComponentsUpdated(*this);
	});

	if (!bActorsInitialized)
	{
		bActorsInitialized = true;
		++ActorIterationDepth;
		for (int32 Index = 0; Index < PersistentLevel->Actors.Num(); ++Index)
		{
			AActor* Actor = PersistentLevel->Actors[Index];
			if (IsValid(Actor) && !Actor->IsActorInitialized())
			{
				Actor->PreInitializeComponents();
				Actor->InitializeComponents();
				Actor->PostInitializeComponents();
			}
		}
		--ActorIterationDepth;
	}
	CompactActors();
}

void UWorld::BeginPlay()
{
	if (bBegunPlay || bIsTearingDown)
	{
		return;
	}
	SubsystemCollection.ForEachSubsystem([this](USubsystem* Subsystem)
	{
		static_cast<UWorldSubsystem*>(Subsystem)->OnWorldBeginPlay(*this);
	});
	// Actors spawned while others begin play join the end of the list and are reached too.
	++ActorIterationDepth;
	for (int32 Index = 0; Index < PersistentLevel->Actors.Num(); ++Index)
	{
		AActor* Actor = PersistentLevel->Actors[Index];
		if (IsValid(Actor))
		{
			const bool bFromLevelLoad = true;
			Actor->DispatchBeginPlay(bFromLevelLoad);
		}
	}
	--ActorIterationDepth;
	CompactActors();
	bBegunPlay = true;
}

void UWorld::EndPlay(const EEndPlayReason::Type Reason)
{
	bBegunPlay = false;
	++ActorIterationDepth;
	for (int32 Index = 0; Index < PersistentLevel->Actors.Num(); ++Index)
	{
		AActor* Actor = PersistentLevel->Actors[Index];
		if (IsValid(Actor))
		{
			Actor->RouteEndPlay(Reason);
		}
	}
	--ActorIterationDepth;
	CompactActors();
}

void UWorld::Tick(ELevelTick TickType, float DeltaSeconds)
{
	if (bIsTearingDown)
	{
		return;
	}
	DeltaTimeSeconds = DeltaSeconds;
	TimeSeconds += DeltaSeconds;
	RealTimeSeconds += DeltaSeconds;
	GetTimerManager().Tick(DeltaSeconds);
	FTickableGameObject::TickObjects(this, TickType, false, DeltaSeconds);
	CompactActors();
}

FTimerManager& UWorld::GetTimerManager() const
{
	if (OwningGameInstance)
	{
		return OwningGameInstance->GetTimerManager();
	}
	if (!TimerManager)
	{
		TimerManager = new FTimerManager();
	}
	return *TimerManager;
}

UWorld::~UWorld()
{
	delete TimerManager;
}

bool UWorld::IsGameWorld() const
{
	return WorldType == EWorldType::Game || WorldType == EWorldType::PIE || WorldType == EWorldType::GamePreview || WorldType == EWorldType::GameRPC;
}

bool UWorld::IsEditorWorld() const
{
	return WorldType == EWorldType::Editor || WorldType == EWorldType::EditorPreview || WorldType == EWorldType::PIE;
}

bool UWorld::IsPreviewWorld() const
{
	return WorldType == EWorldType::EditorPreview || WorldType == EWorldType::GamePreview;
}

AActor* UWorld::SpawnActorOfClass(UClass* Class, const FActorSpawnParameters& SpawnParameters, UChildActorComponent* ParentComponent)
{
	if (!Class || !Class->IsChildOf(AActor::StaticClass()) || Class->HasAnyClassFlags(CLASS_Abstract) || !bIsWorldInitialized || bIsTearingDown)
	{
		return nullptr;
	}
	if (SpawnParameters.OverrideLevel && SpawnParameters.OverrideLevel != PersistentLevel)
	{
		return nullptr;
	}
	ULevel* Level = PersistentLevel;

	FName ActorName = SpawnParameters.Name;
	if (!ActorName.IsNone())
	{
		// A destroyed actor waiting for the collector gives its name up, as object creation does.
		UObject* Existing = StaticFindObjectFast(UObject::StaticClass(), Level, ActorName);
		if (Existing && IsValid(Existing))
		{
			using ENameMode = FActorSpawnParameters::ESpawnActorNameMode;
			switch (SpawnParameters.NameMode)
			{
				case ENameMode::Required_Fatal:
					checkf(!Existing, TEXT("An actor of name '%s' already exists in level '%s'."), *ActorName.ToString(), *Level->GetFullName());
					return nullptr;
				case ENameMode::Required_ErrorAndReturnNull:
				case ENameMode::Required_ReturnNull:
					return nullptr;
				case ENameMode::Requested:
					ActorName = MakeUniqueObjectName(Level, Class, ActorName);
					break;
			}
		}
	}

	AActor* Actor = NewObject<AActor>(Level, Class, ActorName, SpawnParameters.ObjectFlags);
	Level->Actors.Add(Actor);
	Actor->ParentComponent = ParentComponent;
	if (SpawnParameters.Owner)
	{
		Actor->SetOwner(SpawnParameters.Owner);
	}
	Actor->RegisterAllComponents();
	if (bActorsInitialized && !Actor->IsActorInitialized())
	{
		Actor->PreInitializeComponents();
		Actor->InitializeComponents();
		Actor->PostInitializeComponents();
	}
	// A child actor waits for its parent: the child actor component begins its play once the
	// parent has begun play.
	const AActor* ParentActor = ParentComponent ? ParentComponent->GetOwner() : nullptr;
	const bool bParentInPlay = !ParentActor || ParentActor->HasActorBegunPlay() || ParentActor->IsActorBeginningPlay();
	if (bBegunPlay && bParentInPlay && IsValid(Actor))
	{
		Actor->DispatchBeginPlay();
	}
	return IsValid(Actor) ? Actor : nullptr;
}

bool UWorld::DestroyActor(AActor* Actor, bool, bool)
{
	check(Actor);
	if (Actor->GetWorld() != this)
	{
		return false;
	}
	if (Actor->IsActorBeingDestroyed() || !IsValid(Actor))
	{
		return true;
	}
	if (Actor->IsActorBeginningPlay())
	{
		Actor->bActorWantsDestroyDuringBeginPlay = true;
		return true;
	}

	Actor->bActorIsBeingDestroyed = true;
	Actor->Destroyed();
	// An override of Destroyed that skips Super must not keep the actor in play.
	Actor->RouteEndPlay(EEndPlayReason::Destroyed);
	Actor->SetOwner(nullptr);
	Actor->UnregisterAllComponents();
	Actor->MarkAsGarbage();
	Actor->MarkComponentsAsGarbage();
	RemoveActor(Actor);
	return true;
}

void UWorld::RemoveActor(AActor* Actor)
{
	const int32 Index = PersistentLevel->Actors.Find(Actor);
	if (Index == INDEX_NONE)
	{
		return;
	}
	if (ActorIterationDepth > 0)
	{
		PersistentLevel->Actors[Index] = nullptr;
	}
	else
	{
		PersistentLevel->Actors.RemoveAt(Index);
	}
}

void UWorld::CompactActors()
{
	if (ActorIterationDepth == 0 && PersistentLevel)
	{
		PersistentLevel->Actors.RemoveAll([](const AActor* Actor) { return Actor == nullptr; });
	}
}

void UWorld::DestroyWorld(bool, UWorld*)
{
	if (bIsDestroyed)
	{
		return;
	}
	bIsDestroyed = true;
	bIsTearingDown = true;
	EndPlay(WorldType == EWorldType::PIE ? EEndPlayReason::EndPlayInEditor : EEndPlayReason::LevelTransition);
	SubsystemCollection.Deinitialize();

	++ActorIterationDepth;
	for (int32 Index = 0; Index < PersistentLevel->Actors.Num(); ++Index)
	{
		AActor* Actor = PersistentLevel->Actors[Index];
		if (IsValid(Actor))
		{
			Actor->UnregisterAllComponents();
		}
	}
	--ActorIterationDepth;
	CompactActors();

	RemoveFromRoot();
	TArray<UObject*> LevelObjects;
	GetObjectsWithOuter(PersistentLevel, LevelObjects, true);
	for (UObject* Object : LevelObjects)
	{
		Object->MarkAsGarbage();
	}
	PersistentLevel->MarkAsGarbage();
	MarkAsGarbage();
}

UWorld* UWorld::GetWorld() const
{
	return const_cast<UWorld*>(this);
}

void UWorld::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	UWorld* This = static_cast<UWorld*>(InThis);
	Collector.AddReferencedObject(This->PersistentLevel, This);
	Collector.AddReferencedObject(This->OwningGameInstance, This);
	This->SubsystemCollection.AddReferencedObjects(Collector);
	Super::AddReferencedObjects(InThis, Collector);
}
