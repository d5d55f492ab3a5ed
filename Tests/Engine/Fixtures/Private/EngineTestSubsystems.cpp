#include "EngineTestSubsystems.h"

#include "Engine/World.h"
#include "EngineTestLog.h"

void UEngineTestWorldSubsystem::Initialize(FSubsystemCollectionBase& Collection)
{
	Super::Initialize(Collection);
	++NumInitialize;
	FEngineTestLog::Add("SubsystemInitialize", this);
}

void UEngineTestWorldSubsystem::PostInitialize()
{
	Super::PostInitialize();
	++NumPostInitialize;
	const UWorld* World = GetWorld();
	const UEngineTestTickableSubsystem* Tickable = World->GetSubsystem<UEngineTestTickableSubsystem>();
	const UEngineTestDependentSubsystem* Dependent = World->GetSubsystem<UEngineTestDependentSubsystem>();
	bEveryOtherSubsystemInitializedAtPostInitialize = Tickable && Tickable->IsInitialized() && Dependent && Dependent->Dependency == this
		&& World->GetSubsystem<UEngineTestConcreteSubsystem>();
	FEngineTestLog::Add("SubsystemPostInitialize", this);
}

void UEngineTestWorldSubsystem::OnWorldBeginPlay(UWorld& InWorld)
{
	Super::OnWorldBeginPlay(InWorld);
	++NumWorldBeginPlay;
	bWorldHadBegunPlayAtBeginPlay = InWorld.HasBegunPlay();
	FEngineTestLog::Add("SubsystemWorldBeginPlay", this);
}

void UEngineTestWorldSubsystem::Deinitialize()
{
	++NumDeinitialize;
	FEngineTestLog::Add("SubsystemDeinitialize", this);
	Super::Deinitialize();
}

bool UEngineTestPreviewOnlySubsystem::DoesSupportWorldType(const EWorldType::Type WorldType) const
{
	return WorldType == EWorldType::EditorPreview;
}

bool UEngineTestDecliningSubsystem::ShouldCreateSubsystem(UObject*) const
{
	return false;
}

void UEngineTestDependentSubsystem::Initialize(FSubsystemCollectionBase& Collection)
{
	Super::Initialize(Collection);
	Dependency = Collection.InitializeDependency<UEngineTestWorldSubsystem>();
	DependencyInitializeCount = Dependency ? Dependency->NumInitialize : 0;
	ForeignDependency = Collection.InitializeDependency(UEngineTestForeignSubsystem::StaticClass());
}

void UEngineTestTickableSubsystem::Tick(float DeltaTime)
{
	Super::Tick(DeltaTime);
	++NumTicks;
	LastDeltaTime = DeltaTime;
}

TStatId UEngineTestTickableSubsystem::GetStatId() const
{
	RETURN_QUICK_DECLARE_CYCLE_STAT(UEngineTestTickableSubsystem, STATGROUP_Tickables);
}
