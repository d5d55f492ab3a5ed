#pragma once

#include "CoreMinimal.h"
#include "Misc/Guid.h"
#include "Vesk_PersistentReference.h"

#include <functional>
#include <vector>

/**
 * A naive model of one world's reference registry together with the engine facts it reads: objects,
 * actors and their play states, components, garbage collection, the actors' end-of-play delegates and
 * the observations' change delegates. Plain standard containers and linear scans, written from the
 * registry's contract and nothing else, so that the registry can be checked against it step by step.
 *
 * Every object is named by an index into one table (actors, components, plain objects and the
 * consumer lifetime components alike); observations and listeners have tables of their own. An index
 * never names another object, so "same index" is the engine's "same slot and serial number".
 */
namespace VeskModel
{
	// The classes that tests create or pass to the registry. Parents are listed in ClassParent.
	enum class EClass : uint8
	{
		Object,
		Actor,
		ProducerActor,
		HookedActor,
		ActorComponent,
		ProducerComponent,
		DerivedProducerComponent,
		HookedComponent,
		LifetimeComponent,
		ProducerObject,
		ChildActorComponent,
		Num,
	};

	// A class argument: an EClass value, or NoClass for a null class pointer.
	constexpr int32 NoClass = -1;

	// Worlds that tokens and objects can name. A token names NoWorld when its world pointer is null.
	constexpr int32 NoWorld = -1;
	constexpr int32 MainWorld = 0;
	constexpr int32 OtherWorld = 1;
	constexpr int32 DeadWorld = 2;

	bool IsChildOf(EClass Class, EClass Base);
	bool IsChildOf(int32 Class, EClass Base);
	const char* ClassName(int32 Class);

	enum class EPlay : uint8
	{
		NotBegun,
		Beginning,
		Begun,
	};

	// Paths through the contract that a run of the model took, counted so that a long run can show
	// which rare cases it reached and how often.
	enum class ECoverage : uint8
	{
		BindingOpened,
		BindingReturnedRunningToken,
		BindingRefusedEndedActor,
		BindingRefusedComponentBeingDestroyed,
		BindingRefusedOwnerBeingDestroyed,
		BindingRefusedRemoved,
		BindingRefusedHeldByAnother,
		PublishRefusedSavedMismatch,
		ReleaseDuringFinalPass,
		EndOfPlayReleasedEntries,
		EndOfPlayStoppedObservations,
		ResolvedComponent,
		ResolvedAmbiguous,
		ResolvedMissing,
		ResolvedSavedMismatch,
		ResolvedComponentBeingDestroyed,
		ResolvedOwnerBeingDestroyed,
		Broadcast,
		BroadcastForNewComponentOnly,
		BroadcastForNewGenerationOnly,
		NestedNotificationRequest,
		PassLimitReached,
		RefreshStoppedInactive,
		InactiveWhileActorEndsPlay,
		DroppedWithoutStop,
		KeptAliveWhileRefreshing,
		ObservationCollected,
		HandlerRemovedBySwap,
		LifetimeComponentCreated,
		ChildActorSpawned,
		Num,
	};

	const char* CoverageName(ECoverage Coverage);

	// Deliberate mistakes, so that tests of the comparison can show that it notices each kind. None
	// is the contract as written.
	enum class EFault : uint8
	{
		None,
		PublishDoesNotNotify,
		HandlersRemovedInOrder,
		SevenNotificationPasses,
		LifetimeComponentCountsAsMatch,
		WithdrawKeepsObject,
		NoStrongReferenceWhileRefreshing,
		NewComponentNotBroadcast,
	};

	struct FToken
	{
		FGuid Id;
		int64 Generation = 0;
		int32 World = NoWorld;
	};

	// What the engine says about an object: its play state, whether it is being destroyed, how many
	// consumer lifetime components an actor carries and who is bound to its end of play. Only filled
	// for a valid object.
	struct FObjectFacts
	{
		bool bValid = false;
		int32 Play = 0;
		bool bBeingDestroyed = false;
		bool bBegunPlay = false;
		int32 NumLifetimeComponents = 0;
		// Handlers bound to an actor's end of play: the registry's once, and each observation's
		// until it stops; the engine drops those of collected objects when the list next changes.
		int32 NumEndPlayHandlers = 0;

		bool operator==(const FObjectFacts& Other) const = default;
	};

	struct FResolved
	{
		EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Unavailable;
		int32 Object = INDEX_NONE;
		int32 Component = INDEX_NONE;
		int64 Generation = 0;
	};
}

class FVeskReferenceRegistryModel
{
public:
	using EClass = VeskModel::EClass;
	using EFault = VeskModel::EFault;
	using FToken = VeskModel::FToken;
	using FResolved = VeskModel::FResolved;

	FVeskReferenceRegistryModel();

	VeskModel::EFault Fault = VeskModel::EFault::None;

	int64 Coverage[static_cast<size_t>(VeskModel::ECoverage::Num)] = {};

	// What game code does inside engine callbacks: hooked actors' begin and end of play, and
	// listeners' change handlers. Set by the driver.
	std::function<void(int32 Actor, bool bBeginPlay)> OnActorHook;
	std::function<void(int32 Listener, int32 Function)> OnListenerCalled;
	// A hooked component's end of play while it is being destroyed.
	std::function<void(int32 Component)> OnComponentHook;

	// --- Engine ---

	// Spawns into World; an actor spawned into a world in play begins play at once. INDEX_NONE once
	// the main world is torn down.
	int32 SpawnActor(EClass Class, int32 World);
	// A component created with the actor as outer and registered. A child actor component spawns
	// its child actor (a producer actor) when it registers.
	int32 NewComponent(int32 Actor, EClass Class);
	// A component created with the world as outer: it has no owner and is never registered.
	int32 NewOwnerlessComponent(EClass Class, int32 World);
	int32 GetChildActor(int32 ChildActorComponent) const;
	int32 NewPlainObject(int32 World, bool bHeld);
	// A hooked actor runs OnActorHook in its begin and end of play from now on, a hooked component
	// OnComponentHook when it ends play while being destroyed.
	void EnableHooks(int32 Object);
	void SetHeld(int32 Object, bool bHeld);
	void MarkAsGarbage(int32 Object);
	void DestroyActor(int32 Actor);
	void DestroyComponent(int32 Component);
	void RouteEndPlay(int32 Actor);
	void DispatchBeginPlay(int32 Actor);
	void CollectGarbage();
	void TickWorld();
	void DestroyWorld();

	bool IsValid(int32 Object) const;
	bool IsActor(int32 Object) const;
	bool IsComponent(int32 Object) const;
	EClass GetClass(int32 Object) const;
	int32 GetOwner(int32 Component) const;
	bool IsWorldTornDown() const
	{
		return bWorldTornDown;
	}
	VeskModel::FObjectFacts Facts(int32 Object) const;
	int32 FindLifetimeComponent(int32 Actor) const;
	int32 NumLifetimeComponents(int32 Actor) const;
	int32 NumObjects() const
	{
		return static_cast<int32>(Objects.size());
	}

	// The save module's identity for an object, as the test sets it.
	void SetSavedGuid(int32 Object, const FGuid& Guid);

	// --- Registry ---

	FToken BeginBinding(int32 Object, const FGuid& Identity);
	FToken BeginSavedBinding(int32 Object);
	FGuid FindIdentity(int32 Object) const;
	bool Publish(const FToken& Binding);
	bool Withdraw(const FToken& Binding);
	bool RemovePermanently(const FToken& Binding);
	bool IsCurrentBinding(const FToken& Binding) const;
	FResolved Resolve(const FGuid& Identity, int32 ExpectedType, int32 ComponentType) const;
	// The new observation's index, or INDEX_NONE when refused. The caller holds it, as a consumer must.
	int32 Observe(const FGuid& Identity, int32 ExpectedType, int32 ComponentType, int32 Consumer);

	bool HasEnded(int32 Actor) const;
	int32 NumEndedActors() const
	{
		return static_cast<int32>(EndedActors.size());
	}

	// --- Observations and their handlers ---

	bool IsObservationValid(int32 Observation) const;
	EVesk_ReferenceStatus GetStatus(int32 Observation) const;
	bool IsActive(int32 Observation) const;
	void Stop(int32 Observation);
	int32 NumHandlers(int32 Observation) const;
	void SetObservationHeld(int32 Observation, bool bHeld);
	void AddHandler(int32 Observation, int32 Listener, int32 Function, bool bUnique);
	void RemoveHandler(int32 Observation, int32 Listener, int32 Function);

	int32 NewListener();
	void SetListenerHeld(int32 Listener, bool bHeld);
	bool IsListenerValid(int32 Listener) const;

private:
	enum class ETarget : uint8
	{
		Registry,
		Observation,
		Listener,
	};

	// One handler of a dynamic delegate: who is called, and under which function name.
	struct FHandler
	{
		ETarget Target = ETarget::Registry;
		int32 Index = INDEX_NONE;
		int32 Function = 0;
	};

	struct FObject
	{
		EClass Class = EClass::Object;
		int32 World = VeskModel::NoWorld;
		bool bGarbage = false;
		bool bCollected = false;
		bool bHeld = false;
		FGuid SavedGuid;

		VeskModel::EPlay Play = VeskModel::EPlay::NotBegun;
		bool bBeingDestroyed = false;
		bool bWantsDestroyDuringBeginPlay = false;
		bool bHooksEnabled = false;
		std::vector<int32> Components;
		std::vector<FHandler> OnEndPlay;

		int32 Owner = INDEX_NONE;
		int32 ChildActor = INDEX_NONE;
		bool bRegistered = false;
		bool bBegunPlay = false;
		bool bComponentBeingDestroyed = false;
	};

	struct FEntry
	{
		FGuid Id;
		int32 Object = INDEX_NONE;
		int64 Generation = 0;
		EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Unavailable;
		bool bSaved = false;
	};

	struct FObservation
	{
		bool bHeld = false;
		bool bCollected = false;
		int32 StrongReferences = 0;

		int32 ConsumerActor = INDEX_NONE;
		int32 LifetimeComponent = INDEX_NONE;
		bool bSubsystem = false;
		int32 Consumer = INDEX_NONE;
		int32 ExpectedType = VeskModel::NoClass;
		int32 ComponentType = VeskModel::NoClass;
		FGuid Identity;
		EVesk_ReferenceStatus LastStatus = EVesk_ReferenceStatus::Empty;
		int64 LastGeneration = 0;
		int32 LastComponent = INDEX_NONE;
		std::vector<FHandler> OnChanged;
	};

	struct FListener
	{
		bool bHeld = true;
		bool bCollected = false;
	};

	void Hit(VeskModel::ECoverage Path) const
	{
		++const_cast<FVeskReferenceRegistryModel*>(this)->Coverage[static_cast<size_t>(Path)];
	}

	// Engine
	bool IsWorldValid(int32 World) const;
	bool SameWorldPointer(int32 TokenWorld, int32 RegistryWorld) const;
	bool SameObjectPointer(int32 A, int32 B) const;
	int32 NewObject(EClass Class, int32 World);
	void RegisterComponent(int32 Component);
	void BeginComponentPlay(int32 Component);
	void CreateChildActor(int32 Component);
	void DestroyChildActor(int32 Component);
	int32 SpawnActorInternal(EClass Class, int32 World, int32 ParentComponent);
	void EndPlay(int32 Actor);
	void RemoveFromLevel(int32 Actor);

	// Delegates
	bool IsHandlerBound(const FHandler& Handler) const;
	bool IsHandlerCollected(const FHandler& Handler) const;
	void Compact(std::vector<FHandler>& Handlers) const;
	void AddUnique(std::vector<FHandler>& Handlers, const FHandler& Handler) const;
	void Remove(std::vector<FHandler>& Handlers, ETarget Target, int32 Index, int32 Function) const;
	void BroadcastEndPlay(int32 Actor);
	void BroadcastChanged(int32 Observation);

	// Registry
	FToken BeginBindingInternal(int32 Object, const FGuid& Identity, bool bSaved);
	FEntry* FindEntry(const FGuid& Identity);
	const FEntry* FindEntry(const FGuid& Identity) const;
	const FEntry* FindCurrent(const FToken& Binding) const;
	FEntry* FindCurrent(const FToken& Binding);
	bool Release(const FToken& Binding, EVesk_ReferenceStatus TargetStatus);
	void OnActorEndPlay(int32 Actor);
	void NotifyObservers();
	void Deinitialize();
	bool IsEnded(int32 Actor) const;

	// Observation
	void BindConsumer(int32 Observation, int32 Consumer);
	void Refresh(int32 Observation);

	std::vector<FObject> Objects;
	std::vector<int32> Level;
	int32 LevelIterationDepth = 0;
	bool bWorldInPlay = true;
	bool bWorldTearingDown = false;
	bool bWorldTornDown = false;

	std::vector<FEntry> Entries;
	std::vector<int32> ObservationList;
	std::vector<int32> EndedActors;
	int64 NextGeneration = 0;
	bool bNotifying = false;
	bool bNotifyAgain = false;
	bool bDeinitialized = false;

	std::vector<FObservation> Observations;
	std::vector<FListener> Listeners;
};
