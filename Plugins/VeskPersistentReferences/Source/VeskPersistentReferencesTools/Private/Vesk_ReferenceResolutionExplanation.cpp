#include "Vesk_ReferenceResolutionExplanation.h"

#include "Components/ActorComponent.h"
#include "GameFramework/Actor.h"
#include "Templates/Casts.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "Vesk_ReferenceSubsystem.h"
#include "Vesk_ReferenceToolsAccess.h"
#include "Vesk_SaveSubsystem.h"

namespace VeskReferenceResolutionExplanation
{
	using EStep = EVesk_ReferenceResolutionStep;

	static const TCHAR* ReasonFor(EStep Step)
	{
		switch (Step)
		{
		case EStep::EmptyIdentity: return TEXT("the reference holds no identity");
		case EStep::RegistryTornDown: return TEXT("the registry was torn down with its world");
		case EStep::NoEntry: return TEXT("no producer has bound this identity in this world");
		case EStep::Removed: return TEXT("the identity was removed permanently");
		case EStep::Released: return TEXT("the producer withdrew it, or its actor ended play");
		case EStep::ObjectGone: return TEXT("the bound object was destroyed or marked as garbage");
		case EStep::SavedIdentityMoved: return TEXT("the save module now maps this object to another identity");
		case EStep::ComponentBeingDestroyed: return TEXT("the bound component is being destroyed");
		case EStep::OwnerBeingDestroyed: return TEXT("the owning actor is being destroyed");
		case EStep::NoExpectedClass: return TEXT("no expected class was given");
		case EStep::WrongClass: return TEXT("the bound object is not of the expected class");
		case EStep::NotPublished: return TEXT("the producer has bound it but not published it yet");
		case EStep::ObjectFound: return TEXT("the bound object is published and live");
		case EStep::NotAnActor: return TEXT("a component was asked of an object that is not an actor");
		case EStep::NotAComponentClass: return TEXT("the requested component class is not a component class");
		case EStep::NoMatchingComponent: return TEXT("the actor has no component of the requested class");
		case EStep::SeveralMatchingComponents: return TEXT("the actor has more than one component of the requested class");
		case EStep::ComponentFound: return TEXT("the actor has exactly one component of the requested class");
		}
		return TEXT("");
	}

	static FString StatusName(EVesk_ReferenceStatus Status)
	{
		return StaticEnum<EVesk_ReferenceStatus>()->GetNameStringByValue(static_cast<int64>(Status));
	}

	static FString NameOf(const UObject* Object)
	{
		return Object ? Object->GetName() : FString(TEXT("None"));
	}

	// The registry's own lifetime component never counts as a match. Its class is private to the
	// registry's module, so it is found by name in the module's script package.
	static const UClass* LifetimeComponentClass()
	{
		UPackage* Package = FindObject<UPackage>(nullptr, TEXT("/Script/VeskPersistentReferences"));
		return Package ? FindObject<UClass>(Package, TEXT("Vesk_ReferenceConsumerLifetimeComponent")) : nullptr;
	}

	static FVesk_ReferenceResolutionExplanation Decide(EVesk_ReferenceStatus Status, EStep Step, const FString& Detail = FString())
	{
		FVesk_ReferenceResolutionExplanation Explanation;
		Explanation.Status = Status;
		Explanation.Step = Step;
		Explanation.Reason = ReasonFor(Step);
		Explanation.Detail = Detail;
		return Explanation;
	}
}

const TCHAR* LexToString(EVesk_ReferenceResolutionStep Step)
{
	using EStep = EVesk_ReferenceResolutionStep;
	switch (Step)
	{
	case EStep::EmptyIdentity: return TEXT("EmptyIdentity");
	case EStep::RegistryTornDown: return TEXT("RegistryTornDown");
	case EStep::NoEntry: return TEXT("NoEntry");
	case EStep::Removed: return TEXT("Removed");
	case EStep::Released: return TEXT("Released");
	case EStep::ObjectGone: return TEXT("ObjectGone");
	case EStep::SavedIdentityMoved: return TEXT("SavedIdentityMoved");
	case EStep::ComponentBeingDestroyed: return TEXT("ComponentBeingDestroyed");
	case EStep::OwnerBeingDestroyed: return TEXT("OwnerBeingDestroyed");
	case EStep::NoExpectedClass: return TEXT("NoExpectedClass");
	case EStep::WrongClass: return TEXT("WrongClass");
	case EStep::NotPublished: return TEXT("NotPublished");
	case EStep::ObjectFound: return TEXT("ObjectFound");
	case EStep::NotAnActor: return TEXT("NotAnActor");
	case EStep::NotAComponentClass: return TEXT("NotAComponentClass");
	case EStep::NoMatchingComponent: return TEXT("NoMatchingComponent");
	case EStep::SeveralMatchingComponents: return TEXT("SeveralMatchingComponents");
	case EStep::ComponentFound: return TEXT("ComponentFound");
	}
	return TEXT("");
}

FVesk_ReferenceResolutionExplanation FVesk_ReferenceResolutionExplanation::Explain(const UVesk_ReferenceSubsystem& Registry, const FGuid& Identity, UClass* ExpectedType, UClass* ComponentType)
{
	return FVesk_ReferenceToolsAccess::Explain(Registry, Identity, ExpectedType, ComponentType);
}

FString FVesk_ReferenceResolutionExplanation::ToString() const
{
	FString Text = FString::Printf(TEXT("%s (%s): %s"), *VeskReferenceResolutionExplanation::StatusName(Status), LexToString(Step), *Reason);
	if (!Detail.IsEmpty())
	{
		Text += TEXT("; ") + Detail;
	}
	return Text;
}

// Asks what Resolve asks, in Resolve's order; a step added there belongs here too.
FVesk_ReferenceResolutionExplanation FVesk_ReferenceToolsAccess::Explain(const UVesk_ReferenceSubsystem& Registry, const FGuid& Identity, UClass* ExpectedType, UClass* ComponentType)
{
	using namespace VeskReferenceResolutionExplanation;
	using EStatus = EVesk_ReferenceStatus;

	if (!Identity.IsValid())
	{
		return Decide(EStatus::Empty, EStep::EmptyIdentity);
	}
	if (Registry.bDeinitialized)
	{
		return Decide(EStatus::Unavailable, EStep::RegistryTornDown);
	}
	const UVesk_ReferenceSubsystem::FEntry* Entry = Registry.Entries.Find(Identity);
	if (!Entry)
	{
		return Decide(EStatus::Unavailable, EStep::NoEntry);
	}
	if (Entry->Status == EStatus::Removed)
	{
		return Decide(EStatus::Removed, EStep::Removed, FString::Printf(TEXT("generation %lld"), (long long)Entry->Generation));
	}

	UObject* Object = Entry->Object.Get();
	if (!Object)
	{
		return Decide(EStatus::Unavailable, Entry->Object.IsExplicitlyNull() ? EStep::Released : EStep::ObjectGone, FString::Printf(TEXT("generation %lld"), (long long)Entry->Generation));
	}

	if (Entry->Origin == UVesk_ReferenceSubsystem::EIdentityOrigin::Saved)
	{
		UVesk_SaveSubsystem* SaveSubsystem = UVesk_SaveSubsystem::Get();
		const FGuid SavedIdentity = SaveSubsystem ? SaveSubsystem->FindOrAddGuidByObject(Object) : FGuid();
		if (SavedIdentity != Identity)
		{
			return Decide(EStatus::Unavailable, EStep::SavedIdentityMoved, FString::Printf(TEXT("%s now answers to %s"), *NameOf(Object), *SavedIdentity.ToString(EGuidFormats::Digits)));
		}
	}

	const AActor* OwningActor = nullptr;
	if (const UActorComponent* ObjectAsComponent = Cast<UActorComponent>(Object))
	{
		if (ObjectAsComponent->IsBeingDestroyed())
		{
			return Decide(EStatus::Unavailable, EStep::ComponentBeingDestroyed, NameOf(Object));
		}
		OwningActor = ObjectAsComponent->GetOwner();
	}
	else
	{
		OwningActor = Cast<AActor>(Object);
	}
	if (OwningActor && OwningActor->IsActorBeingDestroyed())
	{
		return Decide(EStatus::Unavailable, EStep::OwnerBeingDestroyed, FString::Printf(TEXT("%s, owned by %s"), *NameOf(Object), *NameOf(OwningActor)));
	}

	if (!ExpectedType)
	{
		return Decide(EStatus::TypeMismatch, EStep::NoExpectedClass, FString::Printf(TEXT("%s is a %s"), *NameOf(Object), *NameOf(Object->GetClass())));
	}
	if (!Object->IsA(ExpectedType))
	{
		return Decide(EStatus::TypeMismatch, EStep::WrongClass, FString::Printf(TEXT("%s is a %s, not a %s"), *NameOf(Object), *NameOf(Object->GetClass()), *NameOf(ExpectedType)));
	}

	if (Entry->Status != EStatus::Available)
	{
		return Decide(Entry->Status, EStep::NotPublished, FString::Printf(TEXT("%s, generation %lld"), *NameOf(Object), (long long)Entry->Generation));
	}
	if (!ComponentType)
	{
		return Decide(EStatus::Available, EStep::ObjectFound, NameOf(Object));
	}

	AActor* Actor = Cast<AActor>(Object);
	if (!Actor)
	{
		return Decide(EStatus::TypeMismatch, EStep::NotAnActor, FString::Printf(TEXT("%s is a %s"), *NameOf(Object), *NameOf(Object->GetClass())));
	}
	if (!ComponentType->IsChildOf(UActorComponent::StaticClass()))
	{
		return Decide(EStatus::TypeMismatch, EStep::NotAComponentClass, FString::Printf(TEXT("%s is not a component class"), *NameOf(ComponentType)));
	}

	TInlineComponentArray<UActorComponent*> Candidates;
	Actor->GetComponents(ComponentType, Candidates);
	const UClass* LifetimeClass = LifetimeComponentClass();
	TArray<FString> Matches;
	for (UActorComponent* Candidate : Candidates)
	{
		if (IsValid(Candidate) && !Candidate->IsBeingDestroyed() && !(LifetimeClass && Candidate->IsA(LifetimeClass)))
		{
			Matches.Add(Candidate->GetName());
		}
	}
	if (Matches.Num() == 1)
	{
		return Decide(EStatus::Available, EStep::ComponentFound, FString::Printf(TEXT("%s of %s"), *Matches[0], *NameOf(Actor)));
	}
	if (Matches.Num() == 0)
	{
		return Decide(EStatus::MissingComponent, EStep::NoMatchingComponent, FString::Printf(TEXT("%s has no %s"), *NameOf(Actor), *NameOf(ComponentType)));
	}
	Matches.Sort();
	return Decide(EStatus::AmbiguousComponent, EStep::SeveralMatchingComponents, FString::Printf(TEXT("%s has %d of class %s: %s"), *NameOf(Actor), Matches.Num(), *NameOf(ComponentType), *FString::Join(Matches, TEXT(", "))));
}
