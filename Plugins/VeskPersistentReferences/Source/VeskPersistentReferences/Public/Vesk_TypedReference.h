#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "GameFramework/Actor.h"
#include "Misc/Guid.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceSubsystem.h"

#include <type_traits>

/** What a typed reference resolves to: the object as its class when Available, else null, and why. */
template<class T>
struct TVesk_ResolvedReference
{
	EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Unavailable;
	T* Object = nullptr;
	int64 Generation = 0;

	T* Get() const
	{
		return Object;
	}

	explicit operator bool() const
	{
		return Object != nullptr;
	}
};

/** What a typed reference narrowed to one component resolves to: the actor and its one component of TComponent. */
template<class T, class TComponent>
struct TVesk_ResolvedComponent
{
	EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Unavailable;
	T* Object = nullptr;
	TComponent* Component = nullptr;
	int64 Generation = 0;

	TComponent* Get() const
	{
		return Component;
	}

	explicit operator bool() const
	{
		return Component != nullptr;
	}
};

/**
 * A persistent reference that knows the class it refers to, as TSoftObjectPtr<T> knows its
 * asset's: resolving asks the registry for a T, and hands back a T*. It holds only the untyped
 * reference, so it costs what the untyped reference costs and converts to and from it freely.
 * Reflection cannot store a template: a save-game property stays an FVesk_PersistentReference,
 * and code wraps it where it resolves.
 */
template<class T>
class TVesk_PersistentReference
{
	static_assert(std::is_base_of_v<UObject, T>, "A typed persistent reference refers to a UObject class.");

public:
	TVesk_PersistentReference() = default;

	TVesk_PersistentReference(const FVesk_PersistentReference& InReference)
		: Reference(InReference)
	{
	}

	explicit TVesk_PersistentReference(const FGuid& InId)
	{
		Reference.Id = InId;
	}

	/** A reference to a derived class is a reference to its base, as a pointer is. */
	template<class U>
		requires std::is_convertible_v<U*, T*>
	TVesk_PersistentReference(const TVesk_PersistentReference<U>& Other)
		: Reference(Other.ToPersistentReference())
	{
	}

	const FVesk_PersistentReference& ToPersistentReference() const
	{
		return Reference;
	}

	const FGuid& GetId() const
	{
		return Reference.Id;
	}

	/** True when it refers to nothing: its identity is all zero. */
	bool IsNull() const
	{
		return !Reference.Id.IsValid();
	}

	void Reset()
	{
		Reference = FVesk_PersistentReference();
	}

	bool operator==(const TVesk_PersistentReference& Other) const
	{
		return Reference == Other.Reference;
	}

	friend uint32 GetTypeHash(const TVesk_PersistentReference& InReference)
	{
		return GetTypeHash(InReference.Reference);
	}

	/** Resolves as a T in the registry of the context object's world; Unavailable without a registry. */
	TVesk_ResolvedReference<T> Resolve(const UObject* ContextObject) const
	{
		const UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(ContextObject);
		return Registry ? Resolve(*Registry) : Unresolved();
	}

	TVesk_ResolvedReference<T> Resolve(const UVesk_ReferenceSubsystem& Registry) const
	{
		const FVesk_ResolvedReference Resolved = Registry.Resolve(Reference.Id, T::StaticClass(), nullptr);
		TVesk_ResolvedReference<T> Result;
		Result.Status = Resolved.Status;
		// The registry hands out an object only after checking that it IsA T: no second cast.
		Result.Object = static_cast<T*>(Resolved.Object);
		Result.Generation = Resolved.Generation;
		return Result;
	}

	/** Resolves as a T that is an actor with exactly one TComponent, in the registry of the context object's world. */
	template<class TComponent>
	TVesk_ResolvedComponent<T, TComponent> ResolveComponent(const UObject* ContextObject) const
	{
		const UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(ContextObject);
		return Registry ? ResolveComponent<TComponent>(*Registry) : TVesk_ResolvedComponent<T, TComponent>{ Unresolved().Status };
	}

	template<class TComponent>
	TVesk_ResolvedComponent<T, TComponent> ResolveComponent(const UVesk_ReferenceSubsystem& Registry) const
	{
		static_assert(std::is_base_of_v<UActorComponent, TComponent>, "ResolveComponent narrows to an actor component class.");
		const FVesk_ResolvedReference Resolved = Registry.Resolve(Reference.Id, T::StaticClass(), TComponent::StaticClass());
		TVesk_ResolvedComponent<T, TComponent> Result;
		Result.Status = Resolved.Status;
		Result.Object = static_cast<T*>(Resolved.Object);
		Result.Component = static_cast<TComponent*>(Resolved.Component);
		Result.Generation = Resolved.Generation;
		return Result;
	}

	/** Observes this identity as a T for Consumer, in the registry of Consumer's world; null when refused or without a registry. */
	UVesk_ReferenceObservation* Observe(UObject* Consumer) const
	{
		UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(Consumer);
		return Registry ? Registry->Observe(Reference.Id, T::StaticClass(), nullptr, Consumer) : nullptr;
	}

	template<class TComponent>
	UVesk_ReferenceObservation* ObserveComponent(UObject* Consumer) const
	{
		static_assert(std::is_base_of_v<UActorComponent, TComponent>, "ObserveComponent narrows to an actor component class.");
		UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(Consumer);
		return Registry ? Registry->Observe(Reference.Id, T::StaticClass(), TComponent::StaticClass(), Consumer) : nullptr;
	}

private:
	// What the registry answers for this identity when it has no entry, as a torn-down registry does.
	TVesk_ResolvedReference<T> Unresolved() const
	{
		TVesk_ResolvedReference<T> Result;
		Result.Status = IsNull() ? EVesk_ReferenceStatus::Empty : EVesk_ReferenceStatus::Unavailable;
		return Result;
	}

	FVesk_PersistentReference Reference;
};

static_assert(sizeof(TVesk_PersistentReference<UObject>) == sizeof(FVesk_PersistentReference), "A typed reference is its untyped reference and nothing more.");
