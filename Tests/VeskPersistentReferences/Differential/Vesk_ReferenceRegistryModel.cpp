#include "Vesk_ReferenceRegistryModel.h"

#include <algorithm>

using namespace VeskModel;

namespace
{
	using EStatus = EVesk_ReferenceStatus;

	// Function names of the handlers that the registry and observations bind to an actor's end of play.
	constexpr int32 ActorEndPlayFunction = 0;
	constexpr int32 ConsumerEndPlayFunction = 1;

	constexpr int32 MaxNotificationPasses = 8;

	EClass ClassParent(EClass Class)
	{
		switch (Class)
		{
			case EClass::Actor: return EClass::Object;
			case EClass::ProducerActor: return EClass::Actor;
			case EClass::HookedActor: return EClass::Actor;
			case EClass::ActorComponent: return EClass::Object;
			case EClass::ProducerComponent: return EClass::ActorComponent;
			case EClass::DerivedProducerComponent: return EClass::ProducerComponent;
			case EClass::HookedComponent: return EClass::ActorComponent;
			case EClass::LifetimeComponent: return EClass::ActorComponent;
			case EClass::ProducerObject: return EClass::Object;
			case EClass::ChildActorComponent: return EClass::ActorComponent;
			default: return EClass::Num;
		}
	}
}

bool VeskModel::IsChildOf(EClass Class, EClass Base)
{
	for (EClass Walk = Class; Walk != EClass::Num; Walk = ClassParent(Walk))
	{
		if (Walk == Base)
		{
			return true;
		}
	}
	return false;
}

bool VeskModel::IsChildOf(int32 Class, EClass Base)
{
	return Class != NoClass && IsChildOf(static_cast<EClass>(Class), Base);
}

const char* VeskModel::CoverageName(ECoverage Coverage)
{
	static const char* const Names[] = { "binding opened", "binding returned the running token", "binding refused: actor ended play",
		"binding refused: component being destroyed", "binding refused: owner being destroyed", "binding refused: removed", "binding refused: held by another object",
		"publication refused: saved identity moved", "release during the final pass", "end of play released entries", "end of play stopped observations",
		"resolved to a component", "resolved ambiguous", "resolved missing component", "resolved: saved identity moved", "resolved: component being destroyed",
		"resolved: owner being destroyed", "broadcast", "broadcast for a new component only", "broadcast for a new generation only", "notification asked during a pass",
		"pass limit reached", "refresh stopped an inactive observation", "inactive while its actor ends play", "dropped without being stopped",
		"kept alive while refreshing", "observation collected", "handler removed by swap", "lifetime component created", "child actor spawned" };
	static_assert(sizeof(Names) / sizeof(Names[0]) == static_cast<size_t>(ECoverage::Num));
	return Names[static_cast<size_t>(Coverage)];
}

const char* VeskModel::ClassName(int32 Class)
{
	switch (Class)
	{
		case NoClass: return "null";
		case static_cast<int32>(EClass::Object): return "UObject";
		case static_cast<int32>(EClass::Actor): return "AActor";
		case static_cast<int32>(EClass::ProducerActor): return "AVeskTestProducerActor";
		case static_cast<int32>(EClass::HookedActor): return "AVeskTestHookedActor";
		case static_cast<int32>(EClass::ActorComponent): return "UActorComponent";
		case static_cast<int32>(EClass::ProducerComponent): return "UVeskTestProducerComponent";
		case static_cast<int32>(EClass::DerivedProducerComponent): return "UVeskTestDerivedProducerComponent";
		case static_cast<int32>(EClass::HookedComponent): return "UVeskTestHookedComponent";
		case static_cast<int32>(EClass::LifetimeComponent): return "UVesk_ReferenceConsumerLifetimeComponent";
		case static_cast<int32>(EClass::ProducerObject): return "UVeskTestProducerObject";
		case static_cast<int32>(EClass::ChildActorComponent): return "UChildActorComponent";
		default: return "?";
	}
}

FVeskReferenceRegistryModel::FVeskReferenceRegistryModel() = default;

// --- Engine ---

bool FVeskReferenceRegistryModel::IsWorldValid(int32 World) const
{
	switch (World)
	{
		case MainWorld: return !bWorldTornDown;
		case OtherWorld: return true;
		default: return false;
	}
}

bool FVeskReferenceRegistryModel::SameWorldPointer(int32 TokenWorld, int32 RegistryWorld) const
{
	return TokenWorld == RegistryWorld || (!IsWorldValid(TokenWorld) && !IsWorldValid(RegistryWorld));
}

bool FVeskReferenceRegistryModel::SameObjectPointer(int32 A, int32 B) const
{
	return (A != INDEX_NONE && A == B) || (!IsValid(A) && !IsValid(B));
}

bool FVeskReferenceRegistryModel::IsValid(int32 Object) const
{
	return Object >= 0 && Object < NumObjects() && !Objects[Object].bGarbage && !Objects[Object].bCollected;
}

bool FVeskReferenceRegistryModel::IsActor(int32 Object) const
{
	return Object >= 0 && Object < NumObjects() && IsChildOf(Objects[Object].Class, EClass::Actor);
}

bool FVeskReferenceRegistryModel::IsComponent(int32 Object) const
{
	return Object >= 0 && Object < NumObjects() && IsChildOf(Objects[Object].Class, EClass::ActorComponent);
}

FVeskReferenceRegistryModel::EClass FVeskReferenceRegistryModel::GetClass(int32 Object) const
{
	return Objects[Object].Class;
}

int32 FVeskReferenceRegistryModel::GetOwner(int32 Component) const
{
	return Objects[Component].Owner;
}

int32 FVeskReferenceRegistryModel::NewObject(EClass Class, int32 World)
{
	FObject Object;
	Object.Class = Class;
	Object.World = World;
	Objects.push_back(Object);
	return NumObjects() - 1;
}

int32 FVeskReferenceRegistryModel::SpawnActor(EClass Class, int32 World)
{
	return SpawnActorInternal(Class, World, INDEX_NONE);
}

int32 FVeskReferenceRegistryModel::SpawnActorInternal(EClass Class, int32 World, int32 ParentComponent)
{
	if (World == MainWorld && bWorldTearingDown)
	{
		return INDEX_NONE;
	}
	const int32 Actor = NewObject(Class, World);
	if (World == MainWorld)
	{
		Level.push_back(Actor);
	}
	// A child actor waits for its parent's play.
	const int32 Parent = ParentComponent != INDEX_NONE ? Objects[ParentComponent].Owner : INDEX_NONE;
	const bool bParentInPlay = Parent == INDEX_NONE || Objects[Parent].Play != EPlay::NotBegun;
	const bool bWorldInPlayNow = World == MainWorld ? bWorldInPlay : true;
	if (bWorldInPlayNow && bParentInPlay && IsValid(Actor))
	{
		DispatchBeginPlay(Actor);
	}
	return IsValid(Actor) ? Actor : INDEX_NONE;
}

int32 FVeskReferenceRegistryModel::NewOwnerlessComponent(EClass Class, int32 World)
{
	return NewObject(Class, World);
}

int32 FVeskReferenceRegistryModel::GetChildActor(int32 ChildActorComponent) const
{
	return Objects[ChildActorComponent].ChildActor;
}

void FVeskReferenceRegistryModel::CreateChildActor(int32 Component)
{
	DestroyChildActor(Component);
	if (bWorldTearingDown || Objects[Component].Owner == INDEX_NONE)
	{
		return;
	}
	const int32 Child = SpawnActorInternal(EClass::ProducerActor, Objects[Component].World, Component);
	Objects[Component].ChildActor = Child;
	Hit(ECoverage::ChildActorSpawned);
}

void FVeskReferenceRegistryModel::DestroyChildActor(int32 Component)
{
	const int32 Child = Objects[Component].ChildActor;
	Objects[Component].ChildActor = INDEX_NONE;
	if (IsValid(Child))
	{
		DestroyActor(Child);
	}
}

void FVeskReferenceRegistryModel::BeginComponentPlay(int32 Component)
{
	Objects[Component].bBegunPlay = true;
	if (Objects[Component].Class == EClass::ChildActorComponent)
	{
		const int32 Child = Objects[Component].ChildActor;
		if (IsValid(Child) && Objects[Child].Play == EPlay::NotBegun)
		{
			DispatchBeginPlay(Child);
		}
	}
}

int32 FVeskReferenceRegistryModel::NewComponent(int32 Actor, EClass Class)
{
	const int32 Component = NewObject(Class, Objects[Actor].World);
	Objects[Component].Owner = Actor;
	Objects[Actor].Components.push_back(Component);
	RegisterComponent(Component);
	return Component;
}

void FVeskReferenceRegistryModel::RegisterComponent(int32 Component)
{
	FObject& Object = Objects[Component];
	if (Object.bRegistered || Object.bComponentBeingDestroyed || !IsValid(Component))
	{
		return;
	}
	if (Object.Owner == INDEX_NONE)
	{
		// Registration needs the owner's world; a component without an owner stays unregistered.
		return;
	}
	Object.bRegistered = true;
	if (Object.Class == EClass::ChildActorComponent && Objects[Component].ChildActor == INDEX_NONE)
	{
		CreateChildActor(Component);
	}
	const FObject& Owner = Objects[Objects[Component].Owner];
	if (Objects[Component].bRegistered && !Objects[Component].bBegunPlay && (Owner.Play == EPlay::Begun || Owner.Play == EPlay::Beginning))
	{
		BeginComponentPlay(Component);
	}
}

int32 FVeskReferenceRegistryModel::NewPlainObject(int32 World, bool bHeld)
{
	const int32 Object = NewObject(EClass::ProducerObject, World);
	Objects[Object].bHeld = bHeld;
	return Object;
}

void FVeskReferenceRegistryModel::EnableHooks(int32 Object)
{
	Objects[Object].bHooksEnabled = true;
}

void FVeskReferenceRegistryModel::SetHeld(int32 Object, bool bHeld)
{
	Objects[Object].bHeld = bHeld;
}

void FVeskReferenceRegistryModel::MarkAsGarbage(int32 Object)
{
	Objects[Object].bGarbage = true;
}

void FVeskReferenceRegistryModel::RemoveFromLevel(int32 Actor)
{
	const auto Found = std::find(Level.begin(), Level.end(), Actor);
	if (Found == Level.end())
	{
		return;
	}
	// While the world walks its actors, a leaving actor leaves a hole, so that indices stay put.
	if (LevelIterationDepth > 0)
	{
		*Found = INDEX_NONE;
	}
	else
	{
		Level.erase(Found);
	}
}

void FVeskReferenceRegistryModel::DestroyActor(int32 Actor)
{
	if (Objects[Actor].bBeingDestroyed || Objects[Actor].bGarbage)
	{
		return;
	}
	if (Objects[Actor].Play == EPlay::Beginning)
	{
		Objects[Actor].bWantsDestroyDuringBeginPlay = true;
		return;
	}
	Objects[Actor].bBeingDestroyed = true;
	// Destroyed() routes end of play, and the world routes it once more for overrides that do not.
	RouteEndPlay(Actor);
	RouteEndPlay(Actor);
	const std::vector<int32> Components = Objects[Actor].Components;
	for (int32 Component : Components)
	{
		Objects[Component].bRegistered = false;
	}
	Objects[Actor].bGarbage = true;
	const std::vector<int32> Marked = Objects[Actor].Components;
	for (int32 Component : Marked)
	{
		if (Objects[Component].Class == EClass::ChildActorComponent)
		{
			DestroyChildActor(Component);
		}
		Objects[Component].bGarbage = true;
	}
	RemoveFromLevel(Actor);
}

void FVeskReferenceRegistryModel::DestroyComponent(int32 Component)
{
	if (Objects[Component].bComponentBeingDestroyed)
	{
		return;
	}
	Objects[Component].bComponentBeingDestroyed = true;
	if (Objects[Component].bBegunPlay)
	{
		// A hooked component's override runs its hook first, while it still counts as in play.
		if (Objects[Component].bHooksEnabled && OnComponentHook)
		{
			OnComponentHook(Component);
		}
		Objects[Component].bBegunPlay = false;
	}
	Objects[Component].bRegistered = false;
	const int32 Owner = Objects[Component].Owner;
	if (Owner != INDEX_NONE)
	{
		std::vector<int32>& Components = Objects[Owner].Components;
		Components.erase(std::remove(Components.begin(), Components.end(), Component), Components.end());
	}
	if (Objects[Component].Class == EClass::ChildActorComponent)
	{
		DestroyChildActor(Component);
	}
	Objects[Component].bGarbage = true;
}

void FVeskReferenceRegistryModel::RouteEndPlay(int32 Actor)
{
	if (Objects[Actor].Play == EPlay::Begun)
	{
		EndPlay(Actor);
	}
}

void FVeskReferenceRegistryModel::EndPlay(int32 Actor)
{
	// A hooked actor's override runs its hook first, while the actor is still in play.
	if (Objects[Actor].bHooksEnabled && OnActorHook)
	{
		OnActorHook(Actor, false);
	}
	if (Objects[Actor].Play != EPlay::Begun)
	{
		return;
	}
	Objects[Actor].Play = EPlay::NotBegun;
	BroadcastEndPlay(Actor);
	// Taken after the callbacks: components that they destroyed have left the actor already.
	const std::vector<int32> Components = Objects[Actor].Components;
	for (int32 Component : Components)
	{
		if (Objects[Component].bBegunPlay)
		{
			Objects[Component].bBegunPlay = false;
		}
	}
}

void FVeskReferenceRegistryModel::DispatchBeginPlay(int32 Actor)
{
	if (Objects[Actor].World == NoWorld || Objects[Actor].Play != EPlay::NotBegun || Objects[Actor].bBeingDestroyed || Objects[Actor].bGarbage)
	{
		return;
	}
	Objects[Actor].Play = EPlay::Beginning;
	if (Objects[Actor].bHooksEnabled && OnActorHook)
	{
		OnActorHook(Actor, true);
	}
	const std::vector<int32> Components = Objects[Actor].Components;
	for (int32 Component : Components)
	{
		if (IsValid(Component) && Objects[Component].bRegistered && !Objects[Component].bBegunPlay)
		{
			BeginComponentPlay(Component);
		}
	}
	Objects[Actor].Play = EPlay::Begun;
	if (Objects[Actor].bWantsDestroyDuringBeginPlay)
	{
		Objects[Actor].bWantsDestroyDuringBeginPlay = false;
		DestroyActor(Actor);
	}
}

void FVeskReferenceRegistryModel::CollectGarbage()
{
	for (FObject& Object : Objects)
	{
		if (Object.bCollected)
		{
			continue;
		}
		// A strong reference keeps an object, garbage or not. Otherwise actors are kept by their level
		// and components by their actor until they are destroyed, and nothing else is kept.
		const bool bKeptByWorld = IsChildOf(Object.Class, EClass::Actor) || (IsChildOf(Object.Class, EClass::ActorComponent) && Object.Owner != INDEX_NONE);
		Object.bCollected = !Object.bHeld && (!bKeptByWorld || Object.bGarbage);
	}
	for (FObject& Object : Objects)
	{
		std::erase_if(Object.Components, [this](int32 Component) { return Objects[Component].bCollected; });
	}
	for (FObservation& Observation : Observations)
	{
		if (Observation.bCollected || Observation.bHeld)
		{
			continue;
		}
		if (Observation.StrongReferences == 0)
		{
			Observation.bCollected = true;
			Hit(ECoverage::ObservationCollected);
		}
		else
		{
			Hit(ECoverage::KeptAliveWhileRefreshing);
		}
	}
	for (FListener& Listener : Listeners)
	{
		if (!Listener.bHeld)
		{
			Listener.bCollected = true;
		}
	}
}

void FVeskReferenceRegistryModel::TickWorld()
{
	if (bWorldTearingDown)
	{
		return;
	}
	std::erase_if(EndedActors, [this](int32 Actor) { return !IsValid(Actor); });
	NotifyObservers();
}

void FVeskReferenceRegistryModel::DestroyWorld()
{
	if (bWorldTearingDown)
	{
		return;
	}
	bWorldTearingDown = true;
	bWorldInPlay = false;
	++LevelIterationDepth;
	for (size_t Index = 0; Index < Level.size(); ++Index)
	{
		const int32 Actor = Level[Index];
		if (IsValid(Actor))
		{
			RouteEndPlay(Actor);
		}
	}
	--LevelIterationDepth;
	std::erase(Level, INDEX_NONE);

	Deinitialize();

	for (FObject& Object : Objects)
	{
		// Everything inside the level: actors and the components they own. Objects made directly in
		// the world are not in the level.
		if (Object.World == MainWorld && (IsChildOf(Object.Class, EClass::Actor) || (IsChildOf(Object.Class, EClass::ActorComponent) && Object.Owner != INDEX_NONE)))
		{
			Object.bRegistered = false;
			Object.bGarbage = true;
		}
	}
	bWorldTornDown = true;
}

FObjectFacts FVeskReferenceRegistryModel::Facts(int32 Object) const
{
	FObjectFacts Result;
	Result.bValid = IsValid(Object);
	if (!Result.bValid)
	{
		return Result;
	}
	if (IsActor(Object))
	{
		Result.Play = static_cast<int32>(Objects[Object].Play);
		Result.bBeingDestroyed = Objects[Object].bBeingDestroyed;
		Result.NumLifetimeComponents = NumLifetimeComponents(Object);
		Result.NumEndPlayHandlers = static_cast<int32>(Objects[Object].OnEndPlay.size());
	}
	else if (IsComponent(Object))
	{
		Result.bBegunPlay = Objects[Object].bBegunPlay;
		Result.bBeingDestroyed = Objects[Object].bComponentBeingDestroyed;
	}
	return Result;
}

int32 FVeskReferenceRegistryModel::FindLifetimeComponent(int32 Actor) const
{
	for (int32 Component : Objects[Actor].Components)
	{
		if (Objects[Component].Class == EClass::LifetimeComponent)
		{
			return Component;
		}
	}
	return INDEX_NONE;
}

int32 FVeskReferenceRegistryModel::NumLifetimeComponents(int32 Actor) const
{
	return static_cast<int32>(std::count_if(Objects[Actor].Components.begin(), Objects[Actor].Components.end(),
		[this](int32 Component) { return Objects[Component].Class == EClass::LifetimeComponent; }));
}

void FVeskReferenceRegistryModel::SetSavedGuid(int32 Object, const FGuid& Guid)
{
	Objects[Object].SavedGuid = Guid;
}

// --- Delegates ---

bool FVeskReferenceRegistryModel::IsHandlerCollected(const FHandler& Handler) const
{
	switch (Handler.Target)
	{
		case ETarget::Observation: return Observations[Handler.Index].bCollected;
		case ETarget::Listener: return Listeners[Handler.Index].bCollected;
		default: return false;
	}
}

bool FVeskReferenceRegistryModel::IsHandlerBound(const FHandler& Handler) const
{
	// Observations and listeners are never marked as garbage, so only collection unbinds them.
	return !IsHandlerCollected(Handler);
}

void FVeskReferenceRegistryModel::Compact(std::vector<FHandler>& Handlers) const
{
	std::erase_if(Handlers, [this](const FHandler& Handler) { return IsHandlerCollected(Handler); });
}

void FVeskReferenceRegistryModel::AddUnique(std::vector<FHandler>& Handlers, const FHandler& Handler) const
{
	Compact(Handlers);
	const bool bPresent = std::any_of(Handlers.begin(), Handlers.end(), [&Handler](const FHandler& Existing)
		{ return Existing.Target == Handler.Target && Existing.Index == Handler.Index && Existing.Function == Handler.Function; });
	if (!bPresent)
	{
		Handlers.push_back(Handler);
	}
}

void FVeskReferenceRegistryModel::Remove(std::vector<FHandler>& Handlers, ETarget Target, int32 Index, int32 Function) const
{
	for (size_t Position = 0; Position < Handlers.size(); ++Position)
	{
		const FHandler& Existing = Handlers[Position];
		if (Existing.Target == Target && Existing.Index == Index && Existing.Function == Function && !IsHandlerCollected(Existing))
		{
			// The first match goes, and the last handler takes its place.
			if (Position + 1 < Handlers.size())
			{
				Hit(ECoverage::HandlerRemovedBySwap);
			}
			if (Fault == EFault::HandlersRemovedInOrder)
			{
				Handlers.erase(Handlers.begin() + static_cast<std::ptrdiff_t>(Position));
			}
			else
			{
				Handlers[Position] = Handlers.back();
				Handlers.pop_back();
			}
			break;
		}
	}
	Compact(Handlers);
}

void FVeskReferenceRegistryModel::BroadcastEndPlay(int32 Actor)
{
	const std::vector<FHandler> Copy = Objects[Actor].OnEndPlay;
	for (const FHandler& Handler : Copy)
	{
		if (!IsHandlerBound(Handler))
		{
			continue;
		}
		if (Handler.Target == ETarget::Registry)
		{
			OnActorEndPlay(Actor);
		}
		else if (Handler.Target == ETarget::Observation)
		{
			Stop(Handler.Index);
		}
	}
}

void FVeskReferenceRegistryModel::BroadcastChanged(int32 Observation)
{
	const std::vector<FHandler> Copy = Observations[Observation].OnChanged;
	for (const FHandler& Handler : Copy)
	{
		if (IsHandlerBound(Handler) && OnListenerCalled)
		{
			OnListenerCalled(Handler.Index, Handler.Function);
		}
	}
}

// --- Registry ---

FVeskReferenceRegistryModel::FEntry* FVeskReferenceRegistryModel::FindEntry(const FGuid& Identity)
{
	for (FEntry& Entry : Entries)
	{
		if (Entry.Id == Identity)
		{
			return &Entry;
		}
	}
	return nullptr;
}

const FVeskReferenceRegistryModel::FEntry* FVeskReferenceRegistryModel::FindEntry(const FGuid& Identity) const
{
	return const_cast<FVeskReferenceRegistryModel*>(this)->FindEntry(Identity);
}

bool FVeskReferenceRegistryModel::IsEnded(int32 Actor) const
{
	return std::any_of(EndedActors.begin(), EndedActors.end(), [this, Actor](int32 Ended) { return SameObjectPointer(Ended, Actor); });
}

bool FVeskReferenceRegistryModel::HasEnded(int32 Actor) const
{
	return IsEnded(Actor);
}

FVeskReferenceRegistryModel::FToken FVeskReferenceRegistryModel::BeginBinding(int32 Object, const FGuid& Identity)
{
	return BeginBindingInternal(Object, Identity, false);
}

FVeskReferenceRegistryModel::FToken FVeskReferenceRegistryModel::BeginSavedBinding(int32 Object)
{
	if (!IsValid(Object) || Objects[Object].World != MainWorld)
	{
		return FToken();
	}
	return BeginBindingInternal(Object, Objects[Object].SavedGuid, true);
}

FVeskReferenceRegistryModel::FToken FVeskReferenceRegistryModel::BeginBindingInternal(int32 Object, const FGuid& Identity, bool bSaved)
{
	if (bDeinitialized || !Identity.IsValid() || !IsValid(Object) || Objects[Object].World != MainWorld)
	{
		return FToken();
	}
	int32 Owner = INDEX_NONE;
	if (IsComponent(Object))
	{
		if (Objects[Object].bComponentBeingDestroyed)
		{
			Hit(ECoverage::BindingRefusedComponentBeingDestroyed);
			return FToken();
		}
		Owner = Objects[Object].Owner;
	}
	else if (IsActor(Object))
	{
		Owner = Object;
	}
	if (Owner != INDEX_NONE)
	{
		if (Objects[Owner].bBeingDestroyed)
		{
			Hit(ECoverage::BindingRefusedOwnerBeingDestroyed);
			return FToken();
		}
		if (IsEnded(Owner) && Objects[Owner].Play == EPlay::NotBegun)
		{
			Hit(ECoverage::BindingRefusedEndedActor);
			return FToken();
		}
		std::erase_if(EndedActors, [this, Owner](int32 Ended) { return SameObjectPointer(Ended, Owner); });
	}
	if (const FEntry* Existing = FindEntry(Identity))
	{
		if (Existing->Status == EStatus::Removed)
		{
			Hit(ECoverage::BindingRefusedRemoved);
			return FToken();
		}
		if (IsValid(Existing->Object))
		{
			if (Existing->Object != Object)
			{
				Hit(ECoverage::BindingRefusedHeldByAnother);
				return FToken();
			}
			Hit(ECoverage::BindingReturnedRunningToken);
			return FToken{ Identity, Existing->Generation, MainWorld };
		}
	}
	if (FindIdentity(Object).IsValid())
	{
		return FToken();
	}
	FEntry* Entry = FindEntry(Identity);
	if (!Entry)
	{
		Entries.push_back(FEntry{ Identity });
		Entry = &Entries.back();
	}
	Entry->Object = Object;
	Entry->Generation = ++NextGeneration;
	Entry->bSaved = bSaved;
	Entry->Status = EStatus::Initializing;
	const FToken Token{ Identity, Entry->Generation, MainWorld };
	Hit(ECoverage::BindingOpened);
	if (Owner != INDEX_NONE)
	{
		AddUnique(Objects[Owner].OnEndPlay, FHandler{ ETarget::Registry, 0, ActorEndPlayFunction });
	}
	NotifyObservers();
	return Token;
}

FGuid FVeskReferenceRegistryModel::FindIdentity(int32 Object) const
{
	if (!IsValid(Object))
	{
		return FGuid();
	}
	for (const FEntry& Entry : Entries)
	{
		if (SameObjectPointer(Entry.Object, Object))
		{
			return Entry.Id;
		}
	}
	return FGuid();
}

FVeskReferenceRegistryModel::FEntry* FVeskReferenceRegistryModel::FindCurrent(const FToken& Binding)
{
	FEntry* Entry = FindEntry(Binding.Id);
	if (!Entry || !SameWorldPointer(Binding.World, MainWorld) || Binding.Generation <= 0 || Entry->Generation != Binding.Generation)
	{
		return nullptr;
	}
	return Entry;
}

const FVeskReferenceRegistryModel::FEntry* FVeskReferenceRegistryModel::FindCurrent(const FToken& Binding) const
{
	return const_cast<FVeskReferenceRegistryModel*>(this)->FindCurrent(Binding);
}

bool FVeskReferenceRegistryModel::Publish(const FToken& Binding)
{
	if (bDeinitialized)
	{
		return false;
	}
	FEntry* Entry = FindCurrent(Binding);
	if (!Entry || !IsValid(Entry->Object) || (Entry->Status != EStatus::Initializing && Entry->Status != EStatus::Available))
	{
		return false;
	}
	if (Entry->bSaved && Objects[Entry->Object].SavedGuid != Binding.Id)
	{
		Hit(ECoverage::PublishRefusedSavedMismatch);
		return false;
	}
	Entry->Status = EStatus::Available;
	if (Fault != EFault::PublishDoesNotNotify)
	{
		NotifyObservers();
	}
	return true;
}

bool FVeskReferenceRegistryModel::Release(const FToken& Binding, EVesk_ReferenceStatus TargetStatus)
{
	FEntry* Entry = FindCurrent(Binding);
	if (!Entry || Entry->Status == EStatus::Removed)
	{
		return false;
	}
	if (bDeinitialized)
	{
		Hit(ECoverage::ReleaseDuringFinalPass);
	}
	Entry->Status = TargetStatus;
	if (Fault != EFault::WithdrawKeepsObject)
	{
		Entry->Object = INDEX_NONE;
	}
	NotifyObservers();
	return true;
}

bool FVeskReferenceRegistryModel::Withdraw(const FToken& Binding)
{
	return Release(Binding, EStatus::Unavailable);
}

bool FVeskReferenceRegistryModel::RemovePermanently(const FToken& Binding)
{
	return Release(Binding, EStatus::Removed);
}

bool FVeskReferenceRegistryModel::IsCurrentBinding(const FToken& Binding) const
{
	const FEntry* Entry = bDeinitialized ? nullptr : FindCurrent(Binding);
	return Entry && Entry->Status != EStatus::Removed;
}

void FVeskReferenceRegistryModel::OnActorEndPlay(int32 Actor)
{
	if (!IsEnded(Actor))
	{
		EndedActors.push_back(Actor);
	}
	for (size_t Position = 0; Position < ObservationList.size(); ++Position)
	{
		const int32 Observation = ObservationList[Position];
		if (!Observations[Observation].bCollected && SameObjectPointer(Observations[Observation].ConsumerActor, Actor))
		{
			Hit(ECoverage::EndOfPlayStoppedObservations);
			Stop(Observation);
		}
	}
	for (FEntry& Entry : Entries)
	{
		const int32 Object = IsValid(Entry.Object) ? Entry.Object : INDEX_NONE;
		if (Object != INDEX_NONE && (Object == Actor || (IsComponent(Object) && Objects[Object].Owner == Actor)))
		{
			Hit(ECoverage::EndOfPlayReleasedEntries);
			Entry.Status = EStatus::Unavailable;
			Entry.Object = INDEX_NONE;
		}
	}
	NotifyObservers();
}

FVeskReferenceRegistryModel::FResolved FVeskReferenceRegistryModel::Resolve(const FGuid& Identity, int32 ExpectedType, int32 ComponentType) const
{
	FResolved Result;
	if (!Identity.IsValid())
	{
		Result.Status = EStatus::Empty;
		return Result;
	}
	const FEntry* Entry = FindEntry(Identity);
	if (bDeinitialized || !Entry)
	{
		return Result;
	}
	Result.Generation = Entry->Generation;
	if (Entry->Status == EStatus::Removed)
	{
		Result.Status = EStatus::Removed;
		return Result;
	}
	const int32 Object = IsValid(Entry->Object) ? Entry->Object : INDEX_NONE;
	if (Object == INDEX_NONE)
	{
		return Result;
	}
	if (Entry->bSaved && Objects[Object].SavedGuid != Identity)
	{
		Hit(ECoverage::ResolvedSavedMismatch);
		return Result;
	}
	int32 Owner = INDEX_NONE;
	if (IsComponent(Object))
	{
		if (Objects[Object].bComponentBeingDestroyed)
		{
			Hit(ECoverage::ResolvedComponentBeingDestroyed);
			return Result;
		}
		Owner = Objects[Object].Owner;
	}
	else if (IsActor(Object))
	{
		Owner = Object;
	}
	if (Owner != INDEX_NONE && Objects[Owner].bBeingDestroyed)
	{
		Hit(ECoverage::ResolvedOwnerBeingDestroyed);
		return Result;
	}
	if (ExpectedType == NoClass || !IsChildOf(Objects[Object].Class, static_cast<EClass>(ExpectedType)))
	{
		Result.Status = EStatus::TypeMismatch;
		return Result;
	}
	if (Entry->Status != EStatus::Available)
	{
		Result.Status = Entry->Status;
		return Result;
	}
	if (ComponentType == NoClass)
	{
		Result.Status = EStatus::Available;
		Result.Object = Object;
		return Result;
	}
	if (!IsActor(Object) || !IsChildOf(ComponentType, EClass::ActorComponent))
	{
		Result.Status = EStatus::TypeMismatch;
		return Result;
	}
	int32 NumMatches = 0;
	int32 Match = INDEX_NONE;
	for (int32 Component : Objects[Object].Components)
	{
		if (!IsChildOf(Objects[Component].Class, static_cast<EClass>(ComponentType)))
		{
			continue;
		}
		const bool bLifetime = Objects[Component].Class == EClass::LifetimeComponent && Fault != EFault::LifetimeComponentCountsAsMatch;
		if (!IsValid(Component) || Objects[Component].bComponentBeingDestroyed || bLifetime)
		{
			continue;
		}
		++NumMatches;
		Match = Component;
	}
	Hit(NumMatches == 1 ? ECoverage::ResolvedComponent : NumMatches == 0 ? ECoverage::ResolvedMissing : ECoverage::ResolvedAmbiguous);
	if (NumMatches == 1)
	{
		Result.Status = EStatus::Available;
		Result.Object = Object;
		Result.Component = Match;
	}
	else
	{
		Result.Status = NumMatches == 0 ? EStatus::MissingComponent : EStatus::AmbiguousComponent;
	}
	return Result;
}

void FVeskReferenceRegistryModel::NotifyObservers()
{
	if (bNotifying)
	{
		Hit(ECoverage::NestedNotificationRequest);
		bNotifyAgain = true;
		return;
	}
	bNotifying = true;
	int32 PassCount = 0;
	for (;;)
	{
		bNotifyAgain = false;
		const std::vector<int32> Snapshot = ObservationList;
		for (int32 Observation : Snapshot)
		{
			if (Observations[Observation].bCollected)
			{
				continue;
			}
			const int32 Reference = Fault == EFault::NoStrongReferenceWhileRefreshing ? 0 : 1;
			Observations[Observation].StrongReferences += Reference;
			Refresh(Observation);
			Observations[Observation].StrongReferences -= Reference;
		}
		std::erase_if(ObservationList, [this](int32 Observation)
			{
				if (Observations[Observation].bCollected || IsActive(Observation))
				{
					return Observations[Observation].bCollected;
				}
				// Inactive, and yet holding a consumer: it became so after its own refresh in this pass.
				if (Observations[Observation].bSubsystem)
				{
					Hit(ECoverage::DroppedWithoutStop);
				}
				return true;
			});
		if (!bNotifyAgain)
		{
			break;
		}
		++PassCount;
		if (PassCount >= (Fault == EFault::SevenNotificationPasses ? MaxNotificationPasses - 1 : MaxNotificationPasses))
		{
			Hit(ECoverage::PassLimitReached);
			break;
		}
	}
	bNotifying = false;
}

void FVeskReferenceRegistryModel::Deinitialize()
{
	bDeinitialized = true;
	NotifyObservers();
	for (size_t Position = 0; Position < ObservationList.size(); ++Position)
	{
		const int32 Observation = ObservationList[Position];
		if (!Observations[Observation].bCollected)
		{
			Stop(Observation);
		}
	}
	ObservationList.clear();
	Entries.clear();
}

int32 FVeskReferenceRegistryModel::Observe(const FGuid& Identity, int32 ExpectedType, int32 ComponentType, int32 Consumer)
{
	if (bDeinitialized || !IsValid(Consumer) || Objects[Consumer].World != MainWorld)
	{
		return INDEX_NONE;
	}
	Observations.push_back(FObservation());
	const int32 Observation = static_cast<int32>(Observations.size()) - 1;
	Observations[Observation].bSubsystem = true;
	BindConsumer(Observation, Consumer);
	Observations[Observation].Identity = Identity;
	Observations[Observation].ExpectedType = ExpectedType;
	Observations[Observation].ComponentType = ComponentType;
	Refresh(Observation);
	ObservationList.push_back(Observation);
	return Observation;
}

// --- Observations ---

void FVeskReferenceRegistryModel::BindConsumer(int32 Observation, int32 Consumer)
{
	Observations[Observation].Consumer = Consumer;
	int32 Actor = INDEX_NONE;
	if (IsComponent(Consumer))
	{
		Actor = Objects[Consumer].Owner;
	}
	else if (IsActor(Consumer))
	{
		Actor = Consumer;
	}
	Observations[Observation].ConsumerActor = Actor;
	if (!IsValid(Actor))
	{
		return;
	}
	int32 Lifetime = FindLifetimeComponent(Actor);
	if (Lifetime == INDEX_NONE)
	{
		Hit(ECoverage::LifetimeComponentCreated);
		Lifetime = NewObject(EClass::LifetimeComponent, Objects[Actor].World);
		Objects[Lifetime].Owner = Actor;
		Objects[Actor].Components.push_back(Lifetime);
		RegisterComponent(Lifetime);
	}
	Observations[Observation].LifetimeComponent = Lifetime;
	AddUnique(Objects[Actor].OnEndPlay, FHandler{ ETarget::Observation, Observation, ConsumerEndPlayFunction });
}

bool FVeskReferenceRegistryModel::IsObservationValid(int32 Observation) const
{
	return !Observations[Observation].bCollected;
}

EVesk_ReferenceStatus FVeskReferenceRegistryModel::GetStatus(int32 Observation) const
{
	return Observations[Observation].LastStatus;
}

bool FVeskReferenceRegistryModel::IsActive(int32 Observation) const
{
	const FObservation& State = Observations[Observation];
	const int32 Actor = IsValid(State.ConsumerActor) ? State.ConsumerActor : INDEX_NONE;
	const int32 ConsumerComponent = IsValid(State.Consumer) && IsComponent(State.Consumer) ? State.Consumer : INDEX_NONE;
	if (Actor != INDEX_NONE)
	{
		if (!IsValid(State.LifetimeComponent))
		{
			return false;
		}
		const FObject& Lifetime = Objects[State.LifetimeComponent];
		if (Lifetime.bComponentBeingDestroyed)
		{
			return false;
		}
		if (Lifetime.bBegunPlay && Objects[Actor].Play == EPlay::NotBegun)
		{
			Hit(ECoverage::InactiveWhileActorEndsPlay);
			return false;
		}
	}
	if (!State.bSubsystem || !IsValid(State.Consumer))
	{
		return false;
	}
	if (Actor != INDEX_NONE && Objects[Actor].bBeingDestroyed)
	{
		return false;
	}
	if (ConsumerComponent != INDEX_NONE && Objects[ConsumerComponent].bComponentBeingDestroyed)
	{
		return false;
	}
	return true;
}

void FVeskReferenceRegistryModel::Refresh(int32 Observation)
{
	if (!IsActive(Observation))
	{
		if (Observations[Observation].bSubsystem)
		{
			Hit(ECoverage::RefreshStoppedInactive);
		}
		Stop(Observation);
		return;
	}
	const FResolved Result = Resolve(Observations[Observation].Identity, Observations[Observation].ExpectedType, Observations[Observation].ComponentType);
	FObservation& State = Observations[Observation];
	const bool bSameStatus = Result.Status == State.LastStatus;
	const bool bSameGeneration = Result.Generation == State.LastGeneration;
	const bool bSameComponent = SameObjectPointer(State.LastComponent, Result.Component) || Fault == EFault::NewComponentNotBroadcast;
	const bool bChanged = !bSameStatus || (Result.Status == EStatus::Available && (!bSameGeneration || !bSameComponent));
	State.LastStatus = Result.Status;
	State.LastGeneration = Result.Generation;
	State.LastComponent = Result.Component;
	if (bChanged)
	{
		Hit(ECoverage::Broadcast);
		if (bSameStatus)
		{
			Hit(bSameGeneration ? ECoverage::BroadcastForNewComponentOnly : ECoverage::BroadcastForNewGenerationOnly);
		}
		BroadcastChanged(Observation);
	}
}

void FVeskReferenceRegistryModel::Stop(int32 Observation)
{
	const int32 Actor = Observations[Observation].ConsumerActor;
	if (IsValid(Actor))
	{
		Remove(Objects[Actor].OnEndPlay, ETarget::Observation, Observation, ConsumerEndPlayFunction);
	}
	FObservation& State = Observations[Observation];
	State.ConsumerActor = INDEX_NONE;
	State.LifetimeComponent = INDEX_NONE;
	State.bSubsystem = false;
	State.Consumer = INDEX_NONE;
	State.OnChanged.clear();
}

int32 FVeskReferenceRegistryModel::NumHandlers(int32 Observation) const
{
	return static_cast<int32>(Observations[Observation].OnChanged.size());
}

void FVeskReferenceRegistryModel::SetObservationHeld(int32 Observation, bool bHeld)
{
	Observations[Observation].bHeld = bHeld;
}

void FVeskReferenceRegistryModel::AddHandler(int32 Observation, int32 Listener, int32 Function, bool bUnique)
{
	const FHandler Handler{ ETarget::Listener, Listener, Function };
	if (bUnique)
	{
		AddUnique(Observations[Observation].OnChanged, Handler);
	}
	else
	{
		Compact(Observations[Observation].OnChanged);
		Observations[Observation].OnChanged.push_back(Handler);
	}
}

void FVeskReferenceRegistryModel::RemoveHandler(int32 Observation, int32 Listener, int32 Function)
{
	Remove(Observations[Observation].OnChanged, ETarget::Listener, Listener, Function);
}

int32 FVeskReferenceRegistryModel::NewListener()
{
	Listeners.push_back(FListener());
	return static_cast<int32>(Listeners.size()) - 1;
}

void FVeskReferenceRegistryModel::SetListenerHeld(int32 Listener, bool bHeld)
{
	Listeners[Listener].bHeld = bHeld;
}

bool FVeskReferenceRegistryModel::IsListenerValid(int32 Listener) const
{
	return !Listeners[Listener].bCollected;
}
