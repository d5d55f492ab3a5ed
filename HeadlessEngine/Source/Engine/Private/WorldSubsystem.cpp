#include "Subsystems/WorldSubsystem.h"

#include "Engine/World.h"
#include "Misc/AssertionMacros.h"

UWorld* UWorldSubsystem::GetWorld() const
{
	return Cast<UWorld>(GetOuter());
}

UWorld& UWorldSubsystem::GetWorldRef() const
{
	return *CastChecked<UWorld>(GetOuter());
}

bool UWorldSubsystem::ShouldCreateSubsystem(UObject* Outer) const
{
	if (!Super::ShouldCreateSubsystem(Outer))
	{
		return false;
	}
	const UWorld* World = Cast<UWorld>(Outer);
	return World && DoesSupportWorldType(World->WorldType);
}

void UWorldSubsystem::PostInitialize()
{
}

void UWorldSubsystem::OnWorldBeginPlay(UWorld&)
{
}

void UWorldSubsystem::OnWorldComponentsUpdated(UWorld&)
{
}

bool UWorldSubsystem::DoesSupportWorldType(const EWorldType::Type WorldType) const
{
	return WorldType == EWorldType::Game || WorldType == EWorldType::Editor || WorldType == EWorldType::PIE;
}

// Registration waits for Initialize: the class default object and instances that no world
// initialized never enter the list of tickable objects.
UTickableWorldSubsystem::UTickableWorldSubsystem()
	: FTickableGameObject(ETickableTickType::Never)
{
}

UTickableWorldSubsystem::UTickableWorldSubsystem(FVTableHelper& Helper)
	: Super(Helper)
	, FTickableGameObject(ETickableTickType::Never)
{
}

UWorld* UTickableWorldSubsystem::GetTickableGameObjectWorld() const
{
	return GetWorld();
}

ETickableTickType UTickableWorldSubsystem::GetTickableTickType() const
{
	return IsTemplate() ? ETickableTickType::Never : FTickableGameObject::GetTickableTickType();
}

bool UTickableWorldSubsystem::IsAllowedToTick() const
{
	return !IsTemplate() && bInitialized;
}

void UTickableWorldSubsystem::Tick(float)
{
	checkf(IsInitialized(), TEXT("Ticking should have been disabled for an uninitialized subsystem"));
}

TStatId UTickableWorldSubsystem::GetStatId() const
{
	return TStatId();
}

void UTickableWorldSubsystem::Initialize(FSubsystemCollectionBase& Collection)
{
	checkf(!bInitialized, TEXT("Initialize called twice without Deinitialize"));
	Super::Initialize(Collection);
	bInitialized = true;
	SetTickableTickType(GetTickableTickType());
}

void UTickableWorldSubsystem::Deinitialize()
{
	checkf(bInitialized, TEXT("Deinitialize called without Initialize"));
	bInitialized = false;
	SetTickableTickType(ETickableTickType::Never);
	Super::Deinitialize();
}
