#include "EngineTestActors.h"

#include "EngineTestLog.h"

void UEngineTestComponent::BeginPlay()
{
	++NumBeginPlay;
	const AActor* Owner = GetOwner();
	bOwnerInPlayAtBeginPlay = Owner && Owner->HasActorBegunPlay();
	bOwnerBeginningPlayAtBeginPlay = Owner && Owner->IsActorBeginningPlay();
	FEngineTestLog::Add("ComponentBeginPlay", this);
	if (OnBeginPlay)
	{
		OnBeginPlay(*this);
	}
	Super::BeginPlay();
}

void UEngineTestComponent::EndPlay(const EEndPlayReason::Type EndPlayReason)
{
	++NumEndPlay;
	LastEndPlayReason = EndPlayReason;
	const AActor* Owner = GetOwner();
	bOwnerOutOfPlayAtEndPlay = Owner && !Owner->HasActorBegunPlay() && !Owner->IsActorBeginningPlay();
	FEngineTestLog::Add("ComponentEndPlay", this);
	Super::EndPlay(EndPlayReason);
}

void AEngineTestActor::BeginPlay()
{
	++NumBeginPlay;
	FEngineTestLog::Add("ActorBeginPlay", this);
	if (BeforeBeginPlay)
	{
		BeforeBeginPlay(*this);
	}
	Super::BeginPlay();
	if (AfterBeginPlay)
	{
		AfterBeginPlay(*this);
	}
}

void AEngineTestActor::EndPlay(const EEndPlayReason::Type EndPlayReason)
{
	++NumEndPlay;
	LastEndPlayReason = EndPlayReason;
	bBeingDestroyedAtEndPlay = IsActorBeingDestroyed();
	FEngineTestLog::Add("ActorEndPlay", this);
	Super::EndPlay(EndPlayReason);
}

AEngineTestActorWithComponent::AEngineTestActorWithComponent()
{
	Component = CreateDefaultSubobject<UEngineTestComponent>(TEXT("Component"));
}

AEngineTestParentActor::AEngineTestParentActor()
{
	OwnComponent = CreateDefaultSubobject<UEngineTestComponent>(TEXT("OwnComponent"));
	ChildActorComponent = CreateDefaultSubobject<UChildActorComponent>(TEXT("ChildActor"));
	ChildActorComponent->SetChildActorClass(AEngineTestActorWithComponent::StaticClass());
}

AEngineTestActorWithComponent* AEngineTestParentActor::GetChild() const
{
	return Cast<AEngineTestActorWithComponent>(ChildActorComponent->GetChildActor());
}

void UEngineTestEndPlayListener::HandleEndPlay(AActor* Actor, EEndPlayReason::Type EndPlayReason)
{
	++NumCalls;
	LastActor = Actor;
	LastReason = EndPlayReason;
	bActorHadBegunPlay = Actor->HasActorBegunPlay();
	bActorWasBeginningPlay = Actor->IsActorBeginningPlay();
	NumComponentsInPlay = 0;
	TInlineComponentArray<UActorComponent*> Components(Actor);
	for (const UActorComponent* Component : Components)
	{
		if (Component->HasBegunPlay())
		{
			++NumComponentsInPlay;
		}
	}
	FEngineTestLog::Add("OnEndPlay", Actor);
	if (OnHandled)
	{
		OnHandled(*Actor);
	}
}
