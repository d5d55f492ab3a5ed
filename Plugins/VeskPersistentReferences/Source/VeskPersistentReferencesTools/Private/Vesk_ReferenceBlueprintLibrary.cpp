#include "Vesk_ReferenceBlueprintLibrary.h"

#include "GameFramework/Actor.h"
#include "Internationalization/Internationalization.h"
#include "Vesk_ReferenceSubsystem.h"

#define LOCTEXT_NAMESPACE "VeskPersistentReferencesTools"

namespace VeskReferenceBlueprintLibrary
{
	// What a registry answers for an identity it has no entry for: a graph without a registry
	// (an editor preview, a torn-down world) sees what a torn-down registry would say.
	static EVesk_ReferenceStatus WithoutRegistry(const FGuid& Identity)
	{
		return Identity.IsValid() ? EVesk_ReferenceStatus::Unavailable : EVesk_ReferenceStatus::Empty;
	}
}

UObject* UVesk_ReferenceBlueprintLibrary::ResolvePersistentReference(const UObject* WorldContextObject, FGuid Identity, TSubclassOf<UObject> ExpectedClass, EVesk_ReferenceStatus& Status)
{
	const UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(WorldContextObject);
	if (!Registry)
	{
		Status = VeskReferenceBlueprintLibrary::WithoutRegistry(Identity);
		return nullptr;
	}
	const FVesk_ResolvedReference Resolved = Registry->Resolve(Identity, ExpectedClass.Get(), nullptr);
	Status = Resolved.Status;
	return Resolved.Object;
}

UActorComponent* UVesk_ReferenceBlueprintLibrary::ResolvePersistentReferenceComponent(const UObject* WorldContextObject, FGuid Identity, TSubclassOf<UActorComponent> ComponentClass, EVesk_ReferenceStatus& Status)
{
	const UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(WorldContextObject);
	if (!Registry)
	{
		Status = VeskReferenceBlueprintLibrary::WithoutRegistry(Identity);
		return nullptr;
	}
	// A missing component class must not mean "the actor itself": a class that is no component
	// class makes Resolve report the mismatch, after everything that takes precedence over it.
	UClass* Narrowing = ComponentClass ? ComponentClass.Get() : UObject::StaticClass();
	const FVesk_ResolvedReference Resolved = Registry->Resolve(Identity, AActor::StaticClass(), Narrowing);
	Status = Resolved.Status;
	return Resolved.Component;
}

FText UVesk_ReferenceBlueprintLibrary::Conv_ReferenceStatusToText(EVesk_ReferenceStatus Status)
{
	switch (Status)
	{
	case EVesk_ReferenceStatus::Empty: return LOCTEXT("Status_Empty", "Empty");
	case EVesk_ReferenceStatus::Unavailable: return LOCTEXT("Status_Unavailable", "Unavailable");
	case EVesk_ReferenceStatus::Initializing: return LOCTEXT("Status_Initializing", "Initializing");
	case EVesk_ReferenceStatus::TypeMismatch: return LOCTEXT("Status_TypeMismatch", "Type Mismatch");
	case EVesk_ReferenceStatus::MissingComponent: return LOCTEXT("Status_MissingComponent", "Missing Component");
	case EVesk_ReferenceStatus::AmbiguousComponent: return LOCTEXT("Status_AmbiguousComponent", "Ambiguous Component");
	case EVesk_ReferenceStatus::Available: return LOCTEXT("Status_Available", "Available");
	case EVesk_ReferenceStatus::Removed: return LOCTEXT("Status_Removed", "Removed");
	}
	return FText::GetEmpty();
}

#undef LOCTEXT_NAMESPACE
