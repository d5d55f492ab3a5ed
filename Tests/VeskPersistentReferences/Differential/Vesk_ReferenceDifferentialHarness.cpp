#include "Vesk_ReferenceDifferentialHarness.h"

#include "Components/ActorComponent.h"
#include "Components/ChildActorComponent.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "TestWorld.h"
#include "UObject/Package.h"
#include "UObject/ScriptDelegates.h"
#include "UObject/SparseDelegate.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UObjectIterator.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceRegistryModel.h"
#include "Vesk_ReferenceSubsystem.h"
#include "Vesk_SaveSubsystem.h"
#include "VeskTestChangeListener.h"
#include "VeskTestProducers.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <unordered_map>

using namespace VeskDifferential;

namespace
{
	using EStatus = EVesk_ReferenceStatus;
	using VeskModel::EClass;

	// --- Vocabulary ---

	enum class EAction : uint8
	{
		None,
		Publish,
		Withdraw,
		RemovePermanently,
		BindSelf,
		Bind,
		SavedBind,
		Observe,
		StopOwn,
		StopOther,
		Resolve,
		DropOwn,
		DropOwnAndCollect,
		DestroySelf,
		EndPlayActor,
		BeginPlayActor,
		AddListenerToOwn,
		RemoveListenerFromOwn,
		IsCurrent,
		Reincarnate,
		Num,
	};

	const char* ActionName(EAction Action)
	{
		static const char* const Names[] = { "None", "Publish", "Withdraw", "RemovePermanently", "BindSelf", "Bind", "SavedBind", "Observe", "StopOwn", "StopOther",
			"Resolve", "DropOwn", "DropOwnAndCollect", "DestroySelf", "EndPlayActor", "BeginPlayActor", "AddListenerToOwn", "RemoveListenerFromOwn", "IsCurrent", "Reincarnate" };
		static_assert(sizeof(Names) / sizeof(Names[0]) == static_cast<size_t>(EAction::Num));
		return Names[static_cast<size_t>(Action)];
	}

	struct FAction
	{
		uint8 Kind = 0;
		uint8 A = 0;
		uint8 B = 0;

		EAction GetKind() const
		{
			return static_cast<EAction>(Kind % static_cast<uint8>(EAction::Num));
		}
	};

	const char* OpName(EOp Op)
	{
		static const char* const Names[] = { "SpawnActor", "AddComponent", "NewObject", "DestroyActor", "DestroyComponent", "MarkAsGarbage", "ReleaseObject",
			"EndPlay", "BeginPlay", "CollectGarbage", "Tick", "BeginBinding", "BeginSavedBinding", "Publish", "Withdraw", "RemovePermanently", "ForgeToken",
			"Resolve", "Observe", "AddListener", "RemoveListener", "Stop", "DropObservation", "DropListener", "RekeySavedIdentity", "DestroyLifetimeComponent",
			"Teardown", "ReplaceComponent" };
		static_assert(sizeof(Names) / sizeof(Names[0]) == static_cast<size_t>(EOp::Num));
		return Names[static_cast<size_t>(Op)];
	}

	// Class arguments: 0 is the null class, the rest follow VeskModel::EClass.
	constexpr int32 NumClassChoices = 1 + static_cast<int32>(EClass::Num);

	int32 ModelClass(int32 Choice)
	{
		return Choice == 0 ? VeskModel::NoClass : Choice - 1;
	}

	int32 ClassChoice(EClass Class)
	{
		return static_cast<int32>(Class) + 1;
	}

	struct FClassPair
	{
		int32 Expected = 0;
		int32 Component = 0;
	};

	FClassPair ClassPairOf(uint8 Selector)
	{
		return FClassPair{ Selector % NumClassChoices, (Selector / NumClassChoices) % NumClassChoices };
	}

	// The pairs that every step resolves every identity with, before one that changes with the step.
	const FClassPair SnapshotPairs[] = {
		{ ClassChoice(EClass::Object), 0 },
		{ ClassChoice(EClass::Actor), 0 },
		{ ClassChoice(EClass::ProducerActor), ClassChoice(EClass::ProducerComponent) },
		{ ClassChoice(EClass::Object), ClassChoice(EClass::ActorComponent) },
		{ 0, 0 },
		{ ClassChoice(EClass::ProducerComponent), 0 },
		{ ClassChoice(EClass::Actor), ClassChoice(EClass::DerivedProducerComponent) },
		{ ClassChoice(EClass::Object), ClassChoice(EClass::Actor) },
		{ ClassChoice(EClass::ProducerObject), 0 },
	};

	constexpr int32 NumExplicitIdentities = 6;

	FGuid ExplicitIdentity(int32 Index)
	{
		return FGuid(0x1DE0u + static_cast<uint32>(Index), 0xA11CEu, static_cast<uint32>(Index) * 0x9E3779B9u, 0xE7u);
	}

	// What the save module keeps for the object at a pool index until the test re-keys it.
	FGuid SavedIdentity(int32 PoolIndex)
	{
		return FGuid(0x5A7Eu, static_cast<uint32>(PoolIndex), 0x5EED0000u + static_cast<uint32>(PoolIndex), 0xD15Cu);
	}

	FGuid FreshIdentity(int32 Counter)
	{
		return FGuid(0xF7E5u, 0xC0DEu, static_cast<uint32>(Counter), 0x1u);
	}

	// Limits that keep every step cheap however long a sequence runs.
	constexpr int32 MaxLiveActors = 8;
	constexpr int32 MaxLiveComponents = 16;
	constexpr int32 MaxLivePlainObjects = 6;
	constexpr int32 MaxObservations = 48;
	constexpr int32 MaxListeners = 96;
	constexpr int32 MaxTokens = 400;
	constexpr int32 MaxIdentities = 48;
	constexpr int32 MaxActionDepth = 4;
	constexpr int32 MaxActionsPerOp = 160;

	// Pool indices of the objects that every run starts with; index 0 is the null object.
	constexpr int32 OtherWorldActor = 1;
	constexpr int32 OtherWorldComponent = 2;
	constexpr int32 OtherWorldObject = 3;
	constexpr int32 WorldlessObject = 4;
	constexpr int32 NumSpecialObjects = 5;

	enum class EObjectKind : uint8
	{
		Special,
		Actor,
		HookedActor,
		Component,
		PlainObject,
	};

	struct FObjectRecord
	{
		EObjectKind Kind = EObjectKind::Special;
		// For components: the actor they were made on and AddComponent's kind.
		int32 Owner = INDEX_NONE;
		int32 ComponentKind = INDEX_NONE;
		bool bHeld = false;
		FAction BeginPlayAction;
		FAction EndPlayAction;
		bool bInBeginPlayHook = false;
		bool bInEndPlayHook = false;
	};

	struct FObservationRecord
	{
		int32 Consumer = INDEX_NONE;
		bool bHeld = true;
		int32 ExpectedChoice = 0;
		int32 ComponentChoice = 0;
	};

	struct FListenerRecord
	{
		int32 Observation = INDEX_NONE;
		FAction Action;
		bool bHeld = true;
	};

	// The driver's bookkeeping, kept by each side for itself: it evolves identically on both sides as
	// long as they agree, and the comparison stops at the first step where they do not.
	struct FSideState
	{
		std::vector<FObjectRecord> Objects;
		std::vector<FObservationRecord> Observations;
		std::vector<FGuid> ObservedIdentities;
		std::vector<FListenerRecord> Listeners;
		std::vector<FGuid> Identities;
		std::vector<std::string> Trace;
		int32 EngineDepth = 0;
		// While a component ends play inside its own destruction, ending or beginning play of its
		// actor would end its play a second time, which the engine forbids.
		int32 ComponentHookDepth = 0;
		int32 ActionDepth = 0;
		int32 ActionsThisOp = 0;
		int32 FreshIdentities = 0;
		int32 ReplacedIdentities = 0;
		int64 HandlerCalls = 0;
	};

	using FToken = VeskModel::FToken;
	using FResolved = VeskModel::FResolved;

	using FObjectFacts = VeskModel::FObjectFacts;

	// One implementation of the registry and its engine: the plugin on the headless engine, or the model.
	class ISide
	{
	public:
		explicit ISide(const char* InName)
			: Name(InName)
		{
		}
		virtual ~ISide() = default;

		const char* Name;
		FSideState State;

		virtual int32 SpawnActor(bool bHooked) = 0;
		// Kinds: 0 producer, 1 derived producer, 2 hooked, 3 without an owner (made in the world).
		virtual int32 AddComponent(int32 Actor, int32 Kind) = 0;
		// The component's index; its child actor, when there is one, is the next object.
		virtual int32 AddChildActorComponent(int32 Actor, bool& bOutHasChild) = 0;
		virtual int32 NewPlainObject() = 0;
		virtual void EnableHooks(int32 Object) = 0;
		virtual void DestroyActor(int32 Actor) = 0;
		virtual void DestroyComponent(int32 Component) = 0;
		virtual void MarkAsGarbage(int32 Object) = 0;
		virtual void ReleaseObject(int32 Object) = 0;
		virtual void RouteEndPlay(int32 Actor, int32 Reason) = 0;
		virtual void DispatchBeginPlay(int32 Actor) = 0;
		virtual void DestroyLifetimeComponent(int32 Actor) = 0;
		virtual void CollectGarbage() = 0;
		virtual void Tick() = 0;
		virtual void Teardown() = 0;
		virtual void SetSavedGuid(int32 Object, const FGuid& Guid) = 0;
		virtual bool IsObjectValid(int32 Object) const = 0;
		virtual FObjectFacts Facts(int32 Object) const = 0;

		virtual FToken BeginBinding(int32 Object, const FGuid& Identity) = 0;
		virtual FToken BeginSavedBinding(int32 Object) = 0;
		virtual void ForgeToken(int32 Source, int32 Mode, const FGuid& Identity) = 0;
		virtual FToken Token(int32 Token) const = 0;
		virtual void DiscardLastToken() = 0;
		virtual int32 NumTokens() const = 0;
		virtual bool Publish(int32 Token) = 0;
		virtual bool Withdraw(int32 Token) = 0;
		virtual bool RemovePermanently(int32 Token) = 0;
		virtual bool IsCurrentBinding(int32 Token) const = 0;
		virtual FGuid FindIdentity(int32 Object) const = 0;
		virtual FResolved Resolve(const FGuid& Identity, int32 ExpectedChoice, int32 ComponentChoice) = 0;

		virtual int32 Observe(const FGuid& Identity, int32 ExpectedChoice, int32 ComponentChoice, int32 Consumer) = 0;
		virtual bool IsObservationValid(int32 Observation) const = 0;
		virtual EStatus GetStatus(int32 Observation) const = 0;
		virtual bool IsActive(int32 Observation) const = 0;
		virtual int32 NumHandlers(int32 Observation) const = 0;
		virtual void Stop(int32 Observation) = 0;
		virtual void ReleaseObservation(int32 Observation) = 0;
		virtual int32 NewListener() = 0;
		virtual void ReleaseListener(int32 Listener) = 0;
		virtual void AddHandler(int32 Observation, int32 Listener, int32 Function, bool bUnique) = 0;
		virtual void RemoveHandler(int32 Observation, int32 Listener, int32 Function) = 0;
	};

	void OnListenerCalled(ISide& Side, int32 Listener, int32 Function);
	void OnActorHook(ISide& Side, int32 Actor, bool bBeginPlay);
	void OnComponentHook(ISide& Side, int32 Component);

	// --- Text ---

	void Tracef(ISide& Side, const char* Format, ...)
	{
		char Buffer[256];
		va_list Arguments;
		va_start(Arguments, Format);
		std::vsnprintf(Buffer, sizeof(Buffer), Format, Arguments);
		va_end(Arguments);
		Side.State.Trace.emplace_back(Buffer);
	}

	const char* StatusName(EStatus Status)
	{
		switch (Status)
		{
			case EStatus::Empty: return "Empty";
			case EStatus::Unavailable: return "Unavailable";
			case EStatus::Initializing: return "Initializing";
			case EStatus::TypeMismatch: return "TypeMismatch";
			case EStatus::MissingComponent: return "MissingComponent";
			case EStatus::AmbiguousComponent: return "AmbiguousComponent";
			case EStatus::Available: return "Available";
			case EStatus::Removed: return "Removed";
			default: return "?";
		}
	}

	std::string GuidText(const FGuid& Guid)
	{
		char Buffer[40];
		std::snprintf(Buffer, sizeof(Buffer), "%08X%08X%08X%08X", Guid.A, Guid.B, Guid.C, Guid.D);
		return Buffer;
	}

	std::string IdentityText(const FSideState& State, const FGuid& Guid)
	{
		if (!Guid.IsValid())
		{
			return "zero";
		}
		for (size_t Index = 0; Index < State.Identities.size(); ++Index)
		{
			if (State.Identities[Index] == Guid)
			{
				return "id" + std::to_string(Index);
			}
		}
		return GuidText(Guid);
	}

	std::string TokenText(const FSideState& State, const FToken& Token)
	{
		static const char* const Worlds[] = { "null", "main", "other", "dead" };
		return "{" + IdentityText(State, Token.Id) + " gen " + std::to_string(Token.Generation) + " " + Worlds[Token.World + 1] + "}";
	}

	std::string ResolvedText(const FResolved& Result)
	{
		return std::string(StatusName(Result.Status)) + " obj " + std::to_string(Result.Object) + " comp " + std::to_string(Result.Component) + " gen " + std::to_string(Result.Generation);
	}

	// Every reason but RemovedFromWorld, which also takes the actor out of initialization: an actor
	// that begins play again afterwards would never end it again.
	int32 EndPlayReason(uint8 Selector)
	{
		static const int32 Reasons[] = { 0, 1, 2, 4 };
		return Reasons[Selector % 4];
	}

	// The arithmetic of forged generations wraps, as a forger's would: extreme generations are forged too.
	int64 ForgedGeneration(int64 Generation, int32 Mode)
	{
		const uint64 Bits = static_cast<uint64>(Generation);
		switch (Mode)
		{
			case 1: return static_cast<int64>(~Bits);
			case 2: return static_cast<int64>(Bits + 1);
			default: return static_cast<int64>(Bits - 1);
		}
	}

	// --- Selection ---

	// Selectors count back from the newest, so that small selectors name what was made last.
	int32 FromNewest(uint8 Selector, size_t Count)
	{
		return static_cast<int32>(Count) - 1 - static_cast<int32>(Selector % Count);
	}

	int32 PickObject(const ISide& Side, uint8 Selector)
	{
		return FromNewest(Selector, Side.State.Objects.size());
	}

	// Among the objects of one kind (any kind when AnyOf is empty); INDEX_NONE when there is none.
	int32 PickOfKind(const ISide& Side, uint8 Selector, std::initializer_list<EObjectKind> Kinds)
	{
		std::vector<int32> Candidates;
		for (size_t Index = 0; Index < Side.State.Objects.size(); ++Index)
		{
			if (std::find(Kinds.begin(), Kinds.end(), Side.State.Objects[Index].Kind) != Kinds.end())
			{
				Candidates.push_back(static_cast<int32>(Index));
			}
		}
		return Candidates.empty() ? INDEX_NONE : Candidates[FromNewest(Selector, Candidates.size())];
	}

	int32 PickActor(const ISide& Side, uint8 Selector)
	{
		return PickOfKind(Side, Selector, { EObjectKind::Actor, EObjectKind::HookedActor });
	}

	int32 CountLive(const ISide& Side, std::initializer_list<EObjectKind> Kinds)
	{
		int32 Count = 0;
		for (size_t Index = 0; Index < Side.State.Objects.size(); ++Index)
		{
			if (std::find(Kinds.begin(), Kinds.end(), Side.State.Objects[Index].Kind) != Kinds.end() && Side.IsObjectValid(static_cast<int32>(Index)))
			{
				++Count;
			}
		}
		return Count;
	}

	// Selector 0 is the first explicit identity; the all-zero one comes last in the cycle.
	FGuid PickIdentity(const ISide& Side, uint8 Selector)
	{
		return Side.State.Identities[(Selector + 1u) % Side.State.Identities.size()];
	}

	int32 PickToken(const ISide& Side, uint8 Selector)
	{
		return FromNewest(Selector, static_cast<size_t>(Side.NumTokens()));
	}

	int32 PickObservation(const ISide& Side, uint8 Selector)
	{
		return Side.State.Observations.empty() ? INDEX_NONE : FromNewest(Selector, Side.State.Observations.size());
	}

	// Identities in play: the explicit ones and every identity bound since. When the list is full the
	// oldest bound one makes room, so that the identities bound last are always among those resolved.
	// Among the identities bound last, which consumers are most likely to care about.
	FGuid PickRecentIdentity(const ISide& Side, uint8 Selector)
	{
		return Side.State.Identities[FromNewest(Selector, Side.State.Identities.size())];
	}

	void NoteIdentity(ISide& Side, const FGuid& Identity)
	{
		FSideState& State = Side.State;
		std::vector<FGuid>& Identities = State.Identities;
		if (!Identity.IsValid() || std::find(Identities.begin(), Identities.end(), Identity) != Identities.end())
		{
			return;
		}
		if (Identities.size() < MaxIdentities)
		{
			Identities.push_back(Identity);
			return;
		}
		constexpr size_t NumFixed = 1 + NumExplicitIdentities;
		Identities[NumFixed + State.ReplacedIdentities++ % (MaxIdentities - NumFixed)] = Identity;
	}

	// --- Shared steps of operations and actions ---

	// Refusals all give the empty token, which the pool has from the start; only tokens that name
	// something are kept.
	void TraceToken(ISide& Side, const char* What, const FToken& Token)
	{
		if (Token.Generation == 0 && !Token.Id.IsValid())
		{
			Side.DiscardLastToken();
			Tracef(Side, "%s -> empty", What);
			return;
		}
		Tracef(Side, "%s -> t%d %s", What, Side.NumTokens() - 1, TokenText(Side.State, Token).c_str());
		NoteIdentity(Side, Token.Id);
	}

	void DoBind(ISide& Side, int32 Object, const FGuid& Identity)
	{
		if (Side.NumTokens() >= MaxTokens)
		{
			Tracef(Side, "bind skipped: token pool full");
			return;
		}
		const FToken Token = Side.BeginBinding(Object, Identity);
		char What[96];
		std::snprintf(What, sizeof(What), "BeginBinding(o%d, %s)", Object, IdentityText(Side.State, Identity).c_str());
		TraceToken(Side, What, Token);
	}

	void DoSavedBind(ISide& Side, int32 Object)
	{
		if (Side.NumTokens() >= MaxTokens)
		{
			Tracef(Side, "bind skipped: token pool full");
			return;
		}
		const FToken Token = Side.BeginSavedBinding(Object);
		char What[64];
		std::snprintf(What, sizeof(What), "BeginSavedBinding(o%d)", Object);
		TraceToken(Side, What, Token);
	}

	void DoResolve(ISide& Side, const FGuid& Identity, FClassPair Pair)
	{
		const FResolved Result = Side.Resolve(Identity, Pair.Expected, Pair.Component);
		Tracef(Side, "Resolve(%s, %s, %s) -> %s", IdentityText(Side.State, Identity).c_str(), VeskModel::ClassName(ModelClass(Pair.Expected)),
			VeskModel::ClassName(ModelClass(Pair.Component)), ResolvedText(Result).c_str());
	}

	int32 DoNewListener(ISide& Side, int32 Observation, const FAction& Action, int32 Function, bool bUnique, bool bTwice)
	{
		if (static_cast<int32>(Side.State.Listeners.size()) >= MaxListeners)
		{
			Tracef(Side, "listener skipped: pool full");
			return INDEX_NONE;
		}
		const int32 Listener = Side.NewListener();
		Side.State.Listeners.push_back(FListenerRecord{ Observation, Action, true });
		Side.AddHandler(Observation, Listener, Function, bUnique);
		if (bTwice)
		{
			Side.AddHandler(Observation, Listener, 1 - Function, bUnique);
		}
		Tracef(Side, "listener L%d on obs%d does %s(%d,%d) -> %d handlers", Listener, Observation, ActionName(Action.GetKind()), Action.A, Action.B, Side.NumHandlers(Observation));
		return Listener;
	}

	int32 DoObserve(ISide& Side, const FGuid& Identity, FClassPair Pair, int32 Consumer, bool bHold)
	{
		if (static_cast<int32>(Side.State.Observations.size()) >= MaxObservations)
		{
			Tracef(Side, "observe skipped: pool full");
			return INDEX_NONE;
		}
		const int32 Observation = Side.Observe(Identity, Pair.Expected, Pair.Component, Consumer);
		if (Observation == INDEX_NONE)
		{
			Tracef(Side, "Observe(%s, %s, %s, o%d) -> null", IdentityText(Side.State, Identity).c_str(), VeskModel::ClassName(ModelClass(Pair.Expected)),
				VeskModel::ClassName(ModelClass(Pair.Component)), Consumer);
			return INDEX_NONE;
		}
		Side.State.Observations.push_back(FObservationRecord{ Consumer, true, Pair.Expected, Pair.Component });
		Side.State.ObservedIdentities.push_back(Identity);
		Tracef(Side, "Observe(%s, %s, %s, o%d) -> obs%d %s active %d", IdentityText(Side.State, Identity).c_str(), VeskModel::ClassName(ModelClass(Pair.Expected)),
			VeskModel::ClassName(ModelClass(Pair.Component)), Consumer, Observation, StatusName(Side.GetStatus(Observation)), Side.IsActive(Observation) ? 1 : 0);
		if (!bHold)
		{
			Side.ReleaseObservation(Observation);
			Side.State.Observations[Observation].bHeld = false;
		}
		return Observation;
	}

	void DoDestroyObject(ISide& Side, int32 Object)
	{
		if (Object < 0 || !Side.IsObjectValid(Object))
		{
			Tracef(Side, "destroy o%d: not valid", Object);
			return;
		}
		++Side.State.EngineDepth;
		switch (Side.State.Objects[Object].Kind)
		{
			case EObjectKind::Actor:
			case EObjectKind::HookedActor:
				Tracef(Side, "destroy actor o%d", Object);
				Side.DestroyActor(Object);
				break;
			case EObjectKind::Component:
				Tracef(Side, "destroy component o%d", Object);
				Side.DestroyComponent(Object);
				break;
			case EObjectKind::PlainObject:
				Tracef(Side, "mark o%d as garbage", Object);
				Side.MarkAsGarbage(Object);
				break;
			default:
				Tracef(Side, "destroy o%d: not ours", Object);
				break;
		}
		--Side.State.EngineDepth;
	}

	void DoCollectGarbage(ISide& Side)
	{
		if (Side.State.EngineDepth > 0)
		{
			// Inside an engine callback the engine is itself walking objects; collection waits.
			Tracef(Side, "collect garbage: deferred");
			return;
		}
		Tracef(Side, "collect garbage");
		Side.CollectGarbage();
	}

	void ExecuteAction(ISide& Side, const FAction& Action, int32 Self, int32 OwnObservation)
	{
		FSideState& State = Side.State;
		const EAction Kind = Action.GetKind();
		if (Kind == EAction::None)
		{
			return;
		}
		if (State.ActionDepth >= MaxActionDepth || State.ActionsThisOp >= MaxActionsPerOp)
		{
			Tracef(Side, "action %s skipped: depth %d, count %d", ActionName(Kind), State.ActionDepth, State.ActionsThisOp);
			return;
		}
		const bool bMovesActors = Kind == EAction::DestroySelf || Kind == EAction::EndPlayActor || Kind == EAction::BeginPlayActor;
		if (bMovesActors && State.ComponentHookDepth > 0)
		{
			Tracef(Side, "action %s skipped: a component is ending play", ActionName(Kind));
			return;
		}
		++State.ActionDepth;
		++State.ActionsThisOp;
		const bool bOwnValid = OwnObservation != INDEX_NONE && Side.IsObservationValid(OwnObservation);
		switch (Kind)
		{
			case EAction::Publish:
			{
				const int32 Token = PickToken(Side, Action.A);
				Tracef(Side, "Publish(t%d) -> %d", Token, Side.Publish(Token) ? 1 : 0);
				break;
			}
			case EAction::Withdraw:
			{
				const int32 Token = PickToken(Side, Action.A);
				Tracef(Side, "Withdraw(t%d) -> %d", Token, Side.Withdraw(Token) ? 1 : 0);
				break;
			}
			case EAction::RemovePermanently:
			{
				const int32 Token = PickToken(Side, Action.A);
				Tracef(Side, "RemovePermanently(t%d) -> %d", Token, Side.RemovePermanently(Token) ? 1 : 0);
				break;
			}
			case EAction::BindSelf:
				DoBind(Side, Self != INDEX_NONE ? Self : PickObject(Side, Action.A), PickIdentity(Side, Action.B));
				break;
			case EAction::Bind:
				DoBind(Side, PickObject(Side, Action.A), PickIdentity(Side, Action.B));
				break;
			case EAction::SavedBind:
				DoSavedBind(Side, Self != INDEX_NONE && (Action.B & 1) ? Self : PickObject(Side, Action.A));
				break;
			case EAction::Observe:
			{
				const int32 Consumer = Self != INDEX_NONE && (Action.B & 1) ? Self : PickObject(Side, Action.A);
				const int32 Observation = DoObserve(Side, PickRecentIdentity(Side, Action.A), ClassPairOf(Action.B), Consumer, ((Action.A ^ Action.B) & 2) != 0);
				if (Observation != INDEX_NONE && Side.IsObservationValid(Observation))
				{
					DoNewListener(Side, Observation, FAction(), Action.B & 4 ? 1 : 0, false, false);
				}
				break;
			}
			case EAction::StopOwn:
				if (bOwnValid)
				{
					Tracef(Side, "stop own obs%d", OwnObservation);
					Side.Stop(OwnObservation);
				}
				break;
			case EAction::StopOther:
			{
				const int32 Observation = PickObservation(Side, Action.A);
				if (Observation != INDEX_NONE && Side.IsObservationValid(Observation))
				{
					Tracef(Side, "stop obs%d", Observation);
					Side.Stop(Observation);
				}
				break;
			}
			case EAction::Resolve:
				DoResolve(Side, PickIdentity(Side, Action.A), ClassPairOf(Action.B));
				break;
			case EAction::DropOwn:
			case EAction::DropOwnAndCollect:
				if (bOwnValid && State.Observations[OwnObservation].bHeld)
				{
					Tracef(Side, "drop own obs%d", OwnObservation);
					Side.ReleaseObservation(OwnObservation);
					State.Observations[OwnObservation].bHeld = false;
				}
				if (Kind == EAction::DropOwnAndCollect)
				{
					DoCollectGarbage(Side);
				}
				break;
			case EAction::DestroySelf:
				DoDestroyObject(Side, Self);
				break;
			case EAction::EndPlayActor:
			{
				const int32 Actor = Action.B & 1 && Self != INDEX_NONE ? Self : PickActor(Side, Action.A);
				const bool bIsActor = Actor != INDEX_NONE && (State.Objects[Actor].Kind == EObjectKind::Actor || State.Objects[Actor].Kind == EObjectKind::HookedActor);
				if (bIsActor && Side.IsObjectValid(Actor))
				{
					Tracef(Side, "end play of o%d", Actor);
					++State.EngineDepth;
					Side.RouteEndPlay(Actor, EndPlayReason(Action.B));
					--State.EngineDepth;
				}
				break;
			}
			case EAction::BeginPlayActor:
			{
				const int32 Actor = PickActor(Side, Action.A);
				if (Actor != INDEX_NONE && Side.IsObjectValid(Actor))
				{
					Tracef(Side, "begin play of o%d", Actor);
					++State.EngineDepth;
					Side.DispatchBeginPlay(Actor);
					--State.EngineDepth;
				}
				break;
			}
			case EAction::AddListenerToOwn:
				if (bOwnValid)
				{
					// New listeners only log, publish, withdraw or resolve, so that handlers cannot
					// multiply without end.
					static const EAction Simple[] = { EAction::None, EAction::Publish, EAction::Withdraw, EAction::Resolve };
					const FAction NewAction{ static_cast<uint8>(Simple[Action.A % 4]), Action.B, Action.A };
					DoNewListener(Side, OwnObservation, NewAction, Action.B & 1, (Action.A & 8) != 0, false);
				}
				break;
			case EAction::RemoveListenerFromOwn:
				if (bOwnValid)
				{
					std::vector<int32> Candidates;
					for (size_t Listener = 0; Listener < State.Listeners.size(); ++Listener)
					{
						if (State.Listeners[Listener].Observation == OwnObservation)
						{
							Candidates.push_back(static_cast<int32>(Listener));
						}
					}
					const int32 Listener = Candidates[Action.A % Candidates.size()];
					Side.RemoveHandler(OwnObservation, Listener, Action.B & 1);
					Tracef(Side, "remove L%d.%d from obs%d -> %d handlers", Listener, Action.B & 1, OwnObservation, Side.NumHandlers(OwnObservation));
				}
				break;
			case EAction::Reincarnate:
				// Withdraws the observed identity, binds it to the consumer and publishes at once: a
				// handler that keeps causing changes, which the pass limit must contain.
				if (bOwnValid && Self != INDEX_NONE)
				{
					const FGuid Identity = State.ObservedIdentities[OwnObservation];
					int32 Current = INDEX_NONE;
					for (int32 Token = Side.NumTokens() - 1; Token >= 0 && Current == INDEX_NONE; --Token)
					{
						const FToken View = Side.Token(Token);
						if (View.Id == Identity && View.Generation > 0 && View.World == VeskModel::MainWorld && Side.IsCurrentBinding(Token))
						{
							Current = Token;
						}
					}
					if (Current != INDEX_NONE)
					{
						Tracef(Side, "Withdraw(t%d) -> %d", Current, Side.Withdraw(Current) ? 1 : 0);
					}
					DoBind(Side, Self, Identity);
					const FToken Newest = Side.Token(Side.NumTokens() - 1);
					if (Newest.Id == Identity && Newest.Generation > 0)
					{
						Tracef(Side, "Publish(t%d) -> %d", Side.NumTokens() - 1, Side.Publish(Side.NumTokens() - 1) ? 1 : 0);
					}
				}
				break;
			case EAction::IsCurrent:
			{
				const int32 Token = PickToken(Side, Action.A);
				Tracef(Side, "IsCurrentBinding(t%d) -> %d", Token, Side.IsCurrentBinding(Token) ? 1 : 0);
				break;
			}
			default:
				break;
		}
		--State.ActionDepth;
	}

	void OnListenerCalled(ISide& Side, int32 Listener, int32 Function)
	{
		const FListenerRecord Record = Side.State.Listeners[Listener];
		++Side.State.HandlerCalls;
		const bool bValid = Side.IsObservationValid(Record.Observation);
		Tracef(Side, "L%d.%d on obs%d sees %s active %d", Listener, Function, Record.Observation, bValid ? StatusName(Side.GetStatus(Record.Observation)) : "(gone)",
			bValid && Side.IsActive(Record.Observation) ? 1 : 0);
		ExecuteAction(Side, Record.Action, Side.State.Observations[Record.Observation].Consumer, Record.Observation);
	}

	void OnActorHook(ISide& Side, int32 Actor, bool bBeginPlay)
	{
		FObjectRecord& Record = Side.State.Objects[Actor];
		bool& bInHook = bBeginPlay ? Record.bInBeginPlayHook : Record.bInEndPlayHook;
		if (bInHook)
		{
			Tracef(Side, "o%d %s hook again: skipped", Actor, bBeginPlay ? "begin play" : "end play");
			return;
		}
		bInHook = true;
		const FAction Action = bBeginPlay ? Record.BeginPlayAction : Record.EndPlayAction;
		Tracef(Side, "o%d %s hook does %s(%d,%d)", Actor, bBeginPlay ? "begin play" : "end play", ActionName(Action.GetKind()), Action.A, Action.B);
		++Side.State.EngineDepth;
		ExecuteAction(Side, Action, Actor, INDEX_NONE);
		--Side.State.EngineDepth;
		// The record may have moved: hooks can create objects.
		FObjectRecord& After = Side.State.Objects[Actor];
		(bBeginPlay ? After.bInBeginPlayHook : After.bInEndPlayHook) = false;
	}

	void OnComponentHook(ISide& Side, int32 Component)
	{
		FObjectRecord& Record = Side.State.Objects[Component];
		if (Record.bInEndPlayHook)
		{
			Tracef(Side, "o%d destroy hook again: skipped", Component);
			return;
		}
		Record.bInEndPlayHook = true;
		const FAction Action = Record.EndPlayAction;
		Tracef(Side, "o%d destroy hook does %s(%d,%d)", Component, ActionName(Action.GetKind()), Action.A, Action.B);
		++Side.State.EngineDepth;
		++Side.State.ComponentHookDepth;
		ExecuteAction(Side, Action, Component, INDEX_NONE);
		--Side.State.ComponentHookDepth;
		--Side.State.EngineDepth;
		Side.State.Objects[Component].bInEndPlayHook = false;
	}

	void ApplyOp(ISide& Side, const FOp& Op)
	{
		FSideState& State = Side.State;
		State.Trace.clear();
		State.ActionsThisOp = 0;
		const uint8* P = Op.P;
		switch (Op.GetKind())
		{
			case EOp::SpawnActor:
			{
				if (CountLive(Side, { EObjectKind::Actor, EObjectKind::HookedActor }) >= MaxLiveActors)
				{
					Tracef(Side, "spawn skipped: enough actors");
					break;
				}
				const bool bHooked = (P[0] & 1) != 0;
				const bool bWithChild = (P[0] & 6) == 6;
				++State.EngineDepth;
				const int32 Actor = Side.SpawnActor(bHooked);
				--State.EngineDepth;
				if (Actor == INDEX_NONE)
				{
					Tracef(Side, "spawn -> null");
					break;
				}
				FObjectRecord Record;
				Record.Kind = bHooked ? EObjectKind::HookedActor : EObjectKind::Actor;
				Record.BeginPlayAction = FAction{ P[1], P[2], P[3] };
				Record.EndPlayAction = FAction{ P[4], P[5], P[6] };
				State.Objects.push_back(Record);
				Side.SetSavedGuid(Actor, SavedIdentity(Actor));
				if (bHooked)
				{
					Side.EnableHooks(Actor);
				}
				Tracef(Side, "spawn -> o%d%s", Actor, bHooked ? " hooked" : "");
				if (bWithChild)
				{
					// Made first, so that the engine reaches it first among the actor's components.
					bool bHasChild = false;
					++State.EngineDepth;
					const int32 Component = Side.AddChildActorComponent(Actor, bHasChild);
					--State.EngineDepth;
					FObjectRecord ComponentRecord;
					ComponentRecord.Kind = EObjectKind::Component;
					State.Objects.push_back(ComponentRecord);
					Side.SetSavedGuid(Component, SavedIdentity(Component));
					if (bHasChild)
					{
						FObjectRecord ChildRecord;
						ChildRecord.Kind = EObjectKind::Actor;
						State.Objects.push_back(ChildRecord);
						Side.SetSavedGuid(Component + 1, SavedIdentity(Component + 1));
					}
					Tracef(Side, "child actor component o%d%s", Component, bHasChild ? " with its child actor" : " without a child");
				}
				break;
			}
			case EOp::AddComponent:
			{
				const int32 Actor = PickActor(Side, P[0]);
				if (Actor == INDEX_NONE || !Side.IsObjectValid(Actor) || CountLive(Side, { EObjectKind::Component }) >= MaxLiveComponents)
				{
					Tracef(Side, "add component skipped");
					break;
				}
				const int32 Kind = P[1] % 4;
				++State.EngineDepth;
				const int32 Component = Side.AddComponent(Actor, Kind);
				--State.EngineDepth;
				FObjectRecord Record;
				Record.Kind = EObjectKind::Component;
				Record.Owner = Kind == 3 ? INDEX_NONE : Actor;
				Record.ComponentKind = Kind;
				Record.EndPlayAction = FAction{ P[2], P[3], P[4] };
				State.Objects.push_back(Record);
				Side.SetSavedGuid(Component, SavedIdentity(Component));
				if (Kind == 2)
				{
					Side.EnableHooks(Component);
				}
				Tracef(Side, "add component kind %d to o%d -> o%d", Kind, Actor, Component);
				break;
			}
			case EOp::NewObject:
			{
				if (CountLive(Side, { EObjectKind::PlainObject }) >= MaxLivePlainObjects)
				{
					Tracef(Side, "new object skipped");
					break;
				}
				const int32 Object = Side.NewPlainObject();
				FObjectRecord Record;
				Record.Kind = EObjectKind::PlainObject;
				Record.bHeld = true;
				State.Objects.push_back(Record);
				Side.SetSavedGuid(Object, SavedIdentity(Object));
				Tracef(Side, "new object -> o%d", Object);
				break;
			}
			case EOp::DestroyActor:
				DoDestroyObject(Side, PickActor(Side, P[0]));
				break;
			case EOp::DestroyComponent:
				DoDestroyObject(Side, PickOfKind(Side, P[0], { EObjectKind::Component }));
				break;
			case EOp::MarkAsGarbage:
				DoDestroyObject(Side, PickOfKind(Side, P[0], { EObjectKind::PlainObject }));
				break;
			case EOp::ReleaseObject:
			{
				const int32 Object = PickOfKind(Side, P[0], { EObjectKind::PlainObject });
				if (Object != INDEX_NONE && State.Objects[Object].bHeld)
				{
					Side.ReleaseObject(Object);
					State.Objects[Object].bHeld = false;
					Tracef(Side, "release o%d", Object);
				}
				break;
			}
			case EOp::EndPlay:
			{
				const int32 Actor = PickActor(Side, P[0]);
				if (Actor != INDEX_NONE && Side.IsObjectValid(Actor))
				{
					const int32 Reason = EndPlayReason(P[1]);
					Tracef(Side, "end play of o%d, reason %d", Actor, Reason);
					++State.EngineDepth;
					Side.RouteEndPlay(Actor, Reason);
					--State.EngineDepth;
				}
				break;
			}
			case EOp::BeginPlay:
			{
				const int32 Actor = PickActor(Side, P[0]);
				if (Actor != INDEX_NONE && Side.IsObjectValid(Actor))
				{
					Tracef(Side, "begin play of o%d", Actor);
					++State.EngineDepth;
					Side.DispatchBeginPlay(Actor);
					--State.EngineDepth;
				}
				break;
			}
			case EOp::CollectGarbage:
				DoCollectGarbage(Side);
				break;
			case EOp::Tick:
				Tracef(Side, "tick");
				++State.EngineDepth;
				Side.Tick();
				--State.EngineDepth;
				break;
			case EOp::BeginBinding:
				// A quarter of the bindings take an identity never used before, as new producers do.
				DoBind(Side, PickObject(Side, P[0]), P[2] % 4 == 0 ? FreshIdentity(State.FreshIdentities++) : PickIdentity(Side, P[1]));
				break;
			case EOp::BeginSavedBinding:
				DoSavedBind(Side, PickObject(Side, P[0]));
				break;
			case EOp::Publish:
			{
				const int32 Token = PickToken(Side, P[0]);
				Tracef(Side, "Publish(t%d) -> %d", Token, Side.Publish(Token) ? 1 : 0);
				break;
			}
			case EOp::Withdraw:
			{
				const int32 Token = PickToken(Side, P[0]);
				Tracef(Side, "Withdraw(t%d) -> %d", Token, Side.Withdraw(Token) ? 1 : 0);
				break;
			}
			case EOp::RemovePermanently:
			{
				const int32 Token = PickToken(Side, P[0]);
				Tracef(Side, "RemovePermanently(t%d) -> %d", Token, Side.RemovePermanently(Token) ? 1 : 0);
				break;
			}
			case EOp::ForgeToken:
			{
				if (Side.NumTokens() >= MaxTokens)
				{
					Tracef(Side, "forge skipped: token pool full");
					break;
				}
				const int32 Source = PickToken(Side, P[0]);
				Side.ForgeToken(Source, P[1] % 9, PickIdentity(Side, P[2]));
				Tracef(Side, "forge t%d from t%d mode %d -> %s", Side.NumTokens() - 1, Source, P[1] % 9, TokenText(State, Side.Token(Side.NumTokens() - 1)).c_str());
				break;
			}
			case EOp::Resolve:
				DoResolve(Side, PickIdentity(Side, P[0]), ClassPairOf(P[1]));
				break;
			case EOp::Observe:
			{
				const int32 Observation = DoObserve(Side, PickRecentIdentity(Side, P[0]), FClassPair{ P[1] % NumClassChoices, P[2] % NumClassChoices }, PickObject(Side, P[3]), true);
				if (Observation != INDEX_NONE && (P[6] & 0x18) != 0x18)
				{
					DoNewListener(Side, Observation, FAction{ P[4], P[5], static_cast<uint8>(P[6] >> 4) }, (P[6] & 2) ? 1 : 0, (P[6] & 1) != 0, (P[6] & 4) != 0);
				}
				break;
			}
			case EOp::AddListener:
			{
				const int32 Observation = PickObservation(Side, P[0]);
				if (Observation != INDEX_NONE && Side.IsObservationValid(Observation))
				{
					DoNewListener(Side, Observation, FAction{ P[1], P[2], P[3] }, P[4] & 1, (P[4] & 2) != 0, (P[4] & 4) != 0);
				}
				break;
			}
			case EOp::RemoveListener:
			{
				const int32 Observation = PickObservation(Side, P[0]);
				if (Observation != INDEX_NONE && Side.IsObservationValid(Observation) && !State.Listeners.empty())
				{
					// Mostly a listener of this observation; sometimes any listener, which removes nothing.
					int32 Listener = static_cast<int32>(P[1] % State.Listeners.size());
					if ((P[2] & 2) == 0)
					{
						std::vector<int32> Own;
						for (size_t Index = 0; Index < State.Listeners.size(); ++Index)
						{
							if (State.Listeners[Index].Observation == Observation)
							{
								Own.push_back(static_cast<int32>(Index));
							}
						}
						if (!Own.empty())
						{
							Listener = Own[P[1] % Own.size()];
						}
					}
					if (Side.IsObservationValid(Observation))
					{
						Side.RemoveHandler(Observation, Listener, P[2] & 1);
						Tracef(Side, "remove L%d.%d from obs%d -> %d handlers", Listener, P[2] & 1, Observation, Side.NumHandlers(Observation));
					}
				}
				break;
			}
			case EOp::Stop:
			{
				const int32 Observation = PickObservation(Side, P[0]);
				if (Observation != INDEX_NONE && Side.IsObservationValid(Observation))
				{
					Tracef(Side, "stop obs%d", Observation);
					Side.Stop(Observation);
				}
				break;
			}
			case EOp::DropObservation:
			{
				const int32 Observation = PickObservation(Side, P[0]);
				if (Observation != INDEX_NONE && State.Observations[Observation].bHeld)
				{
					Tracef(Side, "drop obs%d", Observation);
					Side.ReleaseObservation(Observation);
					State.Observations[Observation].bHeld = false;
				}
				break;
			}
			case EOp::DropListener:
			{
				if (State.Listeners.empty())
				{
					break;
				}
				const int32 Listener = static_cast<int32>(P[0] % State.Listeners.size());
				if (State.Listeners[Listener].bHeld)
				{
					Tracef(Side, "drop L%d", Listener);
					Side.ReleaseListener(Listener);
					State.Listeners[Listener].bHeld = false;
				}
				break;
			}
			case EOp::RekeySavedIdentity:
			{
				const int32 Object = PickOfKind(Side, P[0], { EObjectKind::Actor, EObjectKind::HookedActor, EObjectKind::Component, EObjectKind::PlainObject });
				if (Object == INDEX_NONE || !Side.IsObjectValid(Object))
				{
					break;
				}
				FGuid Guid;
				switch (P[1] % 4)
				{
					case 0: Guid = PickIdentity(Side, P[2]); break;
					case 1: Guid = SavedIdentity(PickObject(Side, P[2])); break;
					case 2: Guid = SavedIdentity(Object); break;
					default: Guid = FreshIdentity(State.FreshIdentities++); break;
				}
				if (!Guid.IsValid())
				{
					Guid = SavedIdentity(Object);
				}
				Side.SetSavedGuid(Object, Guid);
				Tracef(Side, "saved identity of o%d is now %s", Object, IdentityText(State, Guid).c_str());
				break;
			}
			case EOp::DestroyLifetimeComponent:
			{
				const int32 Actor = PickActor(Side, P[0]);
				if (Actor != INDEX_NONE && Side.IsObjectValid(Actor))
				{
					Tracef(Side, "destroy lifetime component of o%d", Actor);
					++State.EngineDepth;
					Side.DestroyLifetimeComponent(Actor);
					--State.EngineDepth;
				}
				break;
			}
			case EOp::ReplaceComponent:
			{
				// A component destroyed and made again between two notifications: an observation that
				// saw the old one must be told of the new one although its status is the same.
				int32 Old = PickOfKind(Side, P[0], { EObjectKind::Component });
				// Mostly the component that an observation resolves to now.
				const int32 Observation = PickObservation(Side, P[4]);
				if ((P[5] & 3) != 0 && Observation != INDEX_NONE)
				{
					const FObservationRecord& Watched = State.Observations[Observation];
					const FResolved Now = Side.Resolve(State.ObservedIdentities[Observation], Watched.ExpectedChoice, Watched.ComponentChoice);
					Old = Now.Component >= 0 ? Now.Component : Old;
				}
				if (Old == INDEX_NONE || !Side.IsObjectValid(Old))
				{
					break;
				}
				const FObjectRecord Record = State.Objects[Old];
				if (Record.Owner == INDEX_NONE || Record.ComponentKind == INDEX_NONE || !Side.IsObjectValid(Record.Owner))
				{
					break;
				}
				++State.EngineDepth;
				Side.DestroyComponent(Old);
				const int32 New = Side.AddComponent(Record.Owner, Record.ComponentKind);
				--State.EngineDepth;
				FObjectRecord Replacement = Record;
				Replacement.EndPlayAction = FAction{ P[1], P[2], P[3] };
				State.Objects.push_back(Replacement);
				Side.SetSavedGuid(New, SavedIdentity(New));
				if (Record.ComponentKind == 2)
				{
					Side.EnableHooks(New);
				}
				Tracef(Side, "replace component o%d of o%d by o%d", Old, Record.Owner, New);
				break;
			}
			case EOp::Teardown:
				Tracef(Side, "teardown");
				++State.EngineDepth;
				Side.Teardown();
				--State.EngineDepth;
				break;
			default:
				break;
		}
	}

	// --- The plugin on the headless engine ---

	UClass* FindLifetimeComponentClass()
	{
		return VeskDifferential::LifetimeComponentClass();
	}

	UClass* RealClass(int32 Choice)
	{
		switch (ModelClass(Choice))
		{
			case VeskModel::NoClass: return nullptr;
			case static_cast<int32>(EClass::Object): return UObject::StaticClass();
			case static_cast<int32>(EClass::Actor): return AActor::StaticClass();
			case static_cast<int32>(EClass::ProducerActor): return AVeskTestProducerActor::StaticClass();
			case static_cast<int32>(EClass::HookedActor): return AVeskTestHookedActor::StaticClass();
			case static_cast<int32>(EClass::ActorComponent): return UActorComponent::StaticClass();
			case static_cast<int32>(EClass::ProducerComponent): return UVeskTestProducerComponent::StaticClass();
			case static_cast<int32>(EClass::DerivedProducerComponent): return UVeskTestDerivedProducerComponent::StaticClass();
			case static_cast<int32>(EClass::HookedComponent): return UVeskTestHookedComponent::StaticClass();
			case static_cast<int32>(EClass::LifetimeComponent): return FindLifetimeComponentClass();
			case static_cast<int32>(EClass::ProducerObject): return UVeskTestProducerObject::StaticClass();
			case static_cast<int32>(EClass::ChildActorComponent): return UChildActorComponent::StaticClass();
			default: return nullptr;
		}
	}

	class FPluginSide final : public ISide
	{
	public:
		FPluginSide()
			: ISide("plugin")
		{
			// Saved identities are kept per path within a world, and paths repeat from world to world.
			UVesk_SaveSubsystem::Shutdown();
			UVesk_SaveSubsystem::Startup();
			FindLifetimeComponentClass();

			FVesk_ReferenceBinding DeadToken;
			{
				FTestWorld Dead;
				UVesk_ReferenceSubsystem* DeadRegistry = UVesk_ReferenceSubsystem::FromContext(Dead.Get());
				DeadToken = DeadRegistry->BeginBinding(NewObject<UVeskTestProducerObject>(Dead.Get()), ExplicitIdentity(1));
			}
			Other = std::make_unique<FTestWorld>();
			World = std::make_unique<FTestWorld>();
			Registry = UVesk_ReferenceSubsystem::FromContext(World->Get());
			RegistryHold.Reset(Registry);

			Objects.resize(NumSpecialObjects);
			AActor* OtherActor = Other->SpawnActor<AVeskTestProducerActor>();
			Objects[OtherWorldActor].Weak = OtherActor;
			UVeskTestProducerComponent* OtherComponent = NewObject<UVeskTestProducerComponent>(OtherActor);
			OtherComponent->RegisterComponent();
			Objects[OtherWorldComponent].Weak = OtherComponent;
			UObject* OtherObject = NewObject<UVeskTestProducerObject>(Other->Get());
			Objects[OtherWorldObject].Weak = OtherObject;
			Objects[OtherWorldObject].Hold.Reset(OtherObject);
			UObject* Worldless = NewObject<UVeskTestProducerObject>(GetTransientPackage());
			Objects[WorldlessObject].Weak = Worldless;
			Objects[WorldlessObject].Hold.Reset(Worldless);

			Tokens.push_back(FVesk_ReferenceBinding());
			Tokens.push_back(UVesk_ReferenceSubsystem::FromContext(Other->Get())->BeginBinding(OtherObject, ExplicitIdentity(1)));
			Tokens.push_back(DeadToken);
		}

		~FPluginSide() override
		{
			// Nothing may call back into a driver that is going away.
			for (FRealObject& Object : Objects)
			{
				if (AVeskTestHookedActor* Hooked = Cast<AVeskTestHookedActor>(Object.Weak.Get(true)))
				{
					Hooked->BeginPlayHook = nullptr;
					Hooked->EndPlayHook = nullptr;
				}
				if (UVeskTestHookedComponent* Hooked = Cast<UVeskTestHookedComponent>(Object.Weak.Get(true)))
				{
					Hooked->EndPlayHook = nullptr;
				}
				Object.Hold.Reset();
			}
			for (FRealListener& Listener : Listeners)
			{
				if (UVeskTestChangeListener* Found = Listener.Weak.Get())
				{
					Found->OnCalled = nullptr;
				}
				Listener.Hold.Reset();
			}
			for (FRealObservation& Observation : Observations)
			{
				Observation.Hold.Reset();
			}
			RegistryHold.Reset();
			World.reset();
			Other.reset();
		}

		int32 AddObject(UObject* Object, bool bHold)
		{
			FRealObject Record;
			Record.Weak = Object;
			if (bHold)
			{
				Record.Hold.Reset(Object);
			}
			Objects.push_back(std::move(Record));
			const int32 Index = static_cast<int32>(Objects.size()) - 1;
			PoolIndexOf[Object] = Index;
			return Index;
		}

		UObject* Get(int32 Object) const
		{
			return Object >= 0 && Object < static_cast<int32>(Objects.size()) ? Objects[Object].Weak.Get() : nullptr;
		}

		// Objects that the registry is handed: raw pointers, as game code would pass them, also when
		// they are garbage, as long as their memory is still there.
		UObject* GetEvenIfGarbage(int32 Object) const
		{
			return Object >= 0 && Object < static_cast<int32>(Objects.size()) ? Objects[Object].Weak.Get(true) : nullptr;
		}

		int32 ToPoolIndex(const UObject* Object) const
		{
			if (!Object)
			{
				return INDEX_NONE;
			}
			const auto Found = PoolIndexOf.find(Object);
			return Found != PoolIndexOf.end() && Get(Found->second) == Object ? Found->second : -2;
		}

		int32 SpawnActor(bool bHooked) override
		{
			AActor* Actor = bHooked ? static_cast<AActor*>(World->SpawnActor<AVeskTestHookedActor>()) : static_cast<AActor*>(World->SpawnActor<AVeskTestProducerActor>());
			return Actor ? AddObject(Actor, false) : INDEX_NONE;
		}

		int32 AddComponent(int32 Actor, int32 Kind) override
		{
			AActor* Owner = Cast<AActor>(Get(Actor));
			UActorComponent* Component = nullptr;
			switch (Kind)
			{
				case 0: Component = NewObject<UVeskTestProducerComponent>(Owner); break;
				case 1: Component = NewObject<UVeskTestDerivedProducerComponent>(Owner); break;
				case 2: Component = NewObject<UVeskTestHookedComponent>(Owner); break;
				default: Component = NewObject<UVeskTestProducerComponent>(World->Get()); break;
			}
			// A component without an owner has no world to register with; its maker keeps it alive.
			if (Kind != 3)
			{
				Component->RegisterComponent();
			}
			return AddObject(Component, Kind == 3);
		}

		int32 AddChildActorComponent(int32 Actor, bool& bOutHasChild) override
		{
			UChildActorComponent* Component = NewObject<UChildActorComponent>(Cast<AActor>(Get(Actor)));
			Component->SetChildActorClass(AVeskTestProducerActor::StaticClass());
			Component->RegisterComponent();
			const int32 Index = AddObject(Component, false);
			bOutHasChild = Component->GetChildActor() != nullptr;
			if (bOutHasChild)
			{
				AddObject(Component->GetChildActor(), false);
			}
			return Index;
		}

		int32 NewPlainObject() override
		{
			return AddObject(NewObject<UVeskTestProducerObject>(World->Get()), true);
		}

		void EnableHooks(int32 Object) override
		{
			if (AVeskTestHookedActor* Hooked = Cast<AVeskTestHookedActor>(Get(Object)))
			{
				Hooked->BeginPlayHook = [this, Object](AVeskTestHookedActor*) { OnActorHook(*this, Object, true); };
				Hooked->EndPlayHook = [this, Object](AVeskTestHookedActor*) { OnActorHook(*this, Object, false); };
			}
			else if (UVeskTestHookedComponent* Component = Cast<UVeskTestHookedComponent>(Get(Object)))
			{
				// Only while it is being destroyed: in its actor's end of play, components end play in
				// an order that is the engine's business.
				Component->EndPlayHook = [this, Object](UVeskTestHookedComponent* Self)
				{
					if (Self->IsBeingDestroyed())
					{
						OnComponentHook(*this, Object);
					}
				};
			}
		}

		void DestroyActor(int32 Actor) override
		{
			Cast<AActor>(Get(Actor))->Destroy();
		}

		void DestroyComponent(int32 Component) override
		{
			Cast<UActorComponent>(Get(Component))->DestroyComponent();
		}

		void MarkAsGarbage(int32 Object) override
		{
			Get(Object)->MarkAsGarbage();
		}

		void ReleaseObject(int32 Object) override
		{
			Objects[Object].Hold.Reset();
		}

		void RouteEndPlay(int32 Actor, int32 Reason) override
		{
			Cast<AActor>(Get(Actor))->RouteEndPlay(static_cast<EEndPlayReason::Type>(Reason));
		}

		void DispatchBeginPlay(int32 Actor) override
		{
			Cast<AActor>(Get(Actor))->DispatchBeginPlay();
		}

		void DestroyLifetimeComponent(int32 Actor) override
		{
			UActorComponent* Lifetime = Cast<AActor>(Get(Actor))->FindComponentByClass(FindLifetimeComponentClass());
			if (Lifetime)
			{
				Lifetime->DestroyComponent();
			}
		}

		void CollectGarbage() override
		{
			::CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		}

		void Tick() override
		{
			World->Tick();
		}

		void Teardown() override
		{
			World->Destroy();
		}

		void SetSavedGuid(int32 Object, const FGuid& Guid) override
		{
			UVesk_SaveSubsystem::Get()->SetGuidForObject(Get(Object), Guid);
		}

		bool IsObjectValid(int32 Object) const override
		{
			return Get(Object) != nullptr;
		}

		FObjectFacts Facts(int32 Object) const override
		{
			FObjectFacts Result;
			UObject* Found = Get(Object);
			Result.bValid = Found != nullptr;
			if (AActor* Actor = Cast<AActor>(Found))
			{
				Result.Play = Actor->HasActorBegunPlay() ? 2 : Actor->IsActorBeginningPlay() ? 1 : 0;
				Result.bBeingDestroyed = Actor->IsActorBeingDestroyed();
				UClass* Lifetime = FindLifetimeComponentClass();
				for (UActorComponent* Component : Actor->GetComponents())
				{
					Result.NumLifetimeComponents += Component && Component->IsA(Lifetime) ? 1 : 0;
				}
				static const FName EndPlayName(TEXT("OnEndPlay"));
				const FMulticastScriptDelegate* EndPlay = FSparseDelegateStorage::GetMulticastDelegate(Actor, EndPlayName);
				Result.NumEndPlayHandlers = EndPlay ? EndPlay->Num() : 0;
			}
			else if (UActorComponent* Component = Cast<UActorComponent>(Found))
			{
				Result.bBegunPlay = Component->HasBegunPlay();
				Result.bBeingDestroyed = Component->IsBeingDestroyed();
			}
			return Result;
		}

		int32 WorldTag(const TWeakObjectPtr<UWorld>& TokenWorld) const
		{
			if (TokenWorld.IsExplicitlyNull())
			{
				return VeskModel::NoWorld;
			}
			if (TokenWorld.HasSameIndexAndSerialNumber(TWeakObjectPtr<UWorld>(World->Get())))
			{
				return VeskModel::MainWorld;
			}
			if (TokenWorld.HasSameIndexAndSerialNumber(TWeakObjectPtr<UWorld>(Other->Get())))
			{
				return VeskModel::OtherWorld;
			}
			return VeskModel::DeadWorld;
		}

		FToken ToToken(const FVesk_ReferenceBinding& Binding) const
		{
			return FToken{ Binding.Id, Binding.Generation, WorldTag(Binding.World) };
		}

		FToken BeginBinding(int32 Object, const FGuid& Identity) override
		{
			Tokens.push_back(Registry->BeginBinding(GetEvenIfGarbage(Object), Identity));
			return ToToken(Tokens.back());
		}

		FToken BeginSavedBinding(int32 Object) override
		{
			Tokens.push_back(Registry->BeginSavedBinding(GetEvenIfGarbage(Object)));
			return ToToken(Tokens.back());
		}

		void ForgeToken(int32 Source, int32 Mode, const FGuid& Identity) override
		{
			FVesk_ReferenceBinding Forged = Tokens[Source];
			switch (Mode)
			{
				case 0: Forged.Generation = 0; break;
				case 1: Forged.Generation = ForgedGeneration(Forged.Generation, 1); break;
				case 2: Forged.Generation = ForgedGeneration(Forged.Generation, 2); break;
				case 3: Forged.Generation = ForgedGeneration(Forged.Generation, 3); break;
				case 4: Forged.World = nullptr; break;
				case 5: Forged.World = Other->Get(); break;
				case 6: Forged.World = World->Get(); break;
				case 7: Forged.Id = Identity; break;
				default: Forged.Generation = Forged.Generation & 1 ? INT64_MAX : INT64_MIN; break;
			}
			Tokens.push_back(Forged);
		}

		FToken Token(int32 Token) const override
		{
			return ToToken(Tokens[Token]);
		}

		void DiscardLastToken() override
		{
			Tokens.pop_back();
		}

		int32 NumTokens() const override
		{
			return static_cast<int32>(Tokens.size());
		}

		bool Publish(int32 Token) override
		{
			const FVesk_ReferenceBinding Binding = Tokens[Token];
			return Registry->Publish(Binding);
		}

		bool Withdraw(int32 Token) override
		{
			const FVesk_ReferenceBinding Binding = Tokens[Token];
			return Registry->Withdraw(Binding);
		}

		bool RemovePermanently(int32 Token) override
		{
			const FVesk_ReferenceBinding Binding = Tokens[Token];
			return Registry->RemovePermanently(Binding);
		}

		bool IsCurrentBinding(int32 Token) const override
		{
			return Registry->IsCurrentBinding(Tokens[Token]);
		}

		FGuid FindIdentity(int32 Object) const override
		{
			return Registry->FindIdentity(GetEvenIfGarbage(Object));
		}

		FResolved Resolve(const FGuid& Identity, int32 ExpectedChoice, int32 ComponentChoice) override
		{
			const FVesk_ResolvedReference Result = Registry->Resolve(Identity, RealClass(ExpectedChoice), RealClass(ComponentChoice));
			return FResolved{ Result.Status, ToPoolIndex(Result.Object), ToPoolIndex(Result.Component), Result.Generation };
		}

		int32 Observe(const FGuid& Identity, int32 ExpectedChoice, int32 ComponentChoice, int32 Consumer) override
		{
			UVesk_ReferenceObservation* Observation = Registry->Observe(Identity, RealClass(ExpectedChoice), RealClass(ComponentChoice), GetEvenIfGarbage(Consumer));
			if (!Observation)
			{
				return INDEX_NONE;
			}
			FRealObservation Record;
			Record.Weak = Observation;
			Record.Hold.Reset(Observation);
			Observations.push_back(std::move(Record));
			return static_cast<int32>(Observations.size()) - 1;
		}

		UVesk_ReferenceObservation* GetObservation(int32 Observation) const
		{
			return Observations[Observation].Weak.Get();
		}

		bool IsObservationValid(int32 Observation) const override
		{
			return GetObservation(Observation) != nullptr;
		}

		EStatus GetStatus(int32 Observation) const override
		{
			return GetObservation(Observation)->GetStatus();
		}

		bool IsActive(int32 Observation) const override
		{
			return GetObservation(Observation)->IsActive();
		}

		int32 NumHandlers(int32 Observation) const override
		{
			return GetObservation(Observation)->OnChanged.Num();
		}

		void Stop(int32 Observation) override
		{
			GetObservation(Observation)->Stop();
		}

		void ReleaseObservation(int32 Observation) override
		{
			Observations[Observation].Hold.Reset();
		}

		int32 NewListener() override
		{
			UVeskTestChangeListener* Listener = NewObject<UVeskTestChangeListener>(GetTransientPackage());
			const int32 Index = static_cast<int32>(Listeners.size());
			Listener->OnCalled = [this, Index](int32 Function) { OnListenerCalled(*this, Index, Function); };
			FRealListener Record;
			Record.Weak = Listener;
			Record.Hold.Reset(Listener);
			Listeners.push_back(std::move(Record));
			return Index;
		}

		void ReleaseListener(int32 Listener) override
		{
			Listeners[Listener].Hold.Reset();
		}

		void AddHandler(int32 Observation, int32 Listener, int32 Function, bool bUnique) override
		{
			UVeskTestChangeListener* Target = Listeners[Listener].Weak.Get();
			FVesk_ReferenceChanged& OnChanged = GetObservation(Observation)->OnChanged;
			if (!Target)
			{
				return;
			}
			if (Function == 0)
			{
				bUnique ? OnChanged.AddUniqueDynamic(Target, &UVeskTestChangeListener::HandleChanged) : OnChanged.AddDynamic(Target, &UVeskTestChangeListener::HandleChanged);
			}
			else
			{
				bUnique ? OnChanged.AddUniqueDynamic(Target, &UVeskTestChangeListener::HandleChangedAgain) : OnChanged.AddDynamic(Target, &UVeskTestChangeListener::HandleChangedAgain);
			}
		}

		void RemoveHandler(int32 Observation, int32 Listener, int32 Function) override
		{
			UVeskTestChangeListener* Target = Listeners[Listener].Weak.Get(true);
			FVesk_ReferenceChanged& OnChanged = GetObservation(Observation)->OnChanged;
			if (!Target)
			{
				// A collected listener cannot be named any more; removing it only compacts the list.
				OnChanged.Remove(nullptr, NAME_None);
				return;
			}
			if (Function == 0)
			{
				OnChanged.RemoveDynamic(Target, &UVeskTestChangeListener::HandleChanged);
			}
			else
			{
				OnChanged.RemoveDynamic(Target, &UVeskTestChangeListener::HandleChangedAgain);
			}
		}

	private:
		struct FRealObject
		{
			TWeakObjectPtr<UObject> Weak;
			TStrongObjectPtr<UObject> Hold;
		};

		struct FRealObservation
		{
			TWeakObjectPtr<UVesk_ReferenceObservation> Weak;
			TStrongObjectPtr<UVesk_ReferenceObservation> Hold;
		};

		struct FRealListener
		{
			TWeakObjectPtr<UVeskTestChangeListener> Weak;
			TStrongObjectPtr<UVeskTestChangeListener> Hold;
		};

		std::unique_ptr<FTestWorld> Other;
		std::unique_ptr<FTestWorld> World;
		UVesk_ReferenceSubsystem* Registry = nullptr;
		TStrongObjectPtr<UVesk_ReferenceSubsystem> RegistryHold;
		std::vector<FRealObject> Objects;
		std::unordered_map<const UObject*, int32> PoolIndexOf;
		std::vector<FVesk_ReferenceBinding> Tokens;
		std::vector<FRealObservation> Observations;
		std::vector<FRealListener> Listeners;
	};

	// --- The model ---

	class FModelSide final : public ISide
	{
	public:
		explicit FModelSide(EModelFault Fault)
			: ISide("model")
		{
			Model.Fault = static_cast<VeskModel::EFault>(Fault);
			Model.OnActorHook = [this](int32 Actor, bool bBeginPlay)
			{
				const int32 Pool = PoolOf(Actor);
				if (Pool >= 0)
				{
					OnActorHook(*this, Pool, bBeginPlay);
				}
			};
			Model.OnListenerCalled = [this](int32 Listener, int32 Function) { OnListenerCalled(*this, Listener, Function); };
			Model.OnComponentHook = [this](int32 Component)
			{
				const int32 Pool = PoolOf(Component);
				if (Pool >= 0)
				{
					OnComponentHook(*this, Pool);
				}
			};

			ModelIds.resize(NumSpecialObjects, INDEX_NONE);
			ModelIds[OtherWorldActor] = Model.SpawnActor(EClass::ProducerActor, VeskModel::OtherWorld);
			ModelIds[OtherWorldComponent] = Model.NewComponent(ModelIds[OtherWorldActor], EClass::ProducerComponent);
			ModelIds[OtherWorldObject] = Model.NewPlainObject(VeskModel::OtherWorld, true);
			ModelIds[WorldlessObject] = Model.NewPlainObject(VeskModel::NoWorld, true);
			for (int32 Pool = 0; Pool < NumSpecialObjects; ++Pool)
			{
				NotePool(ModelIds[Pool], Pool);
			}

			Tokens.push_back(FToken());
			Tokens.push_back(FToken{ ExplicitIdentity(1), 1, VeskModel::OtherWorld });
			Tokens.push_back(FToken{ ExplicitIdentity(1), 1, VeskModel::DeadWorld });
		}

		void NotePool(int32 ModelId, int32 Pool)
		{
			if (ModelId < 0)
			{
				return;
			}
			if (static_cast<int32>(PoolOfModel.size()) <= ModelId)
			{
				PoolOfModel.resize(ModelId + 1, -2);
			}
			PoolOfModel[ModelId] = Pool;
		}

		int32 PoolOf(int32 ModelId) const
		{
			if (ModelId < 0)
			{
				return INDEX_NONE;
			}
			return ModelId < static_cast<int32>(PoolOfModel.size()) ? PoolOfModel[ModelId] : -2;
		}

		int32 AddPool(int32 ModelId)
		{
			ModelIds.push_back(ModelId);
			const int32 Pool = static_cast<int32>(ModelIds.size()) - 1;
			NotePool(ModelId, Pool);
			return Pool;
		}

		int32 Id(int32 Pool) const
		{
			return Pool >= 0 && Pool < static_cast<int32>(ModelIds.size()) ? ModelIds[Pool] : INDEX_NONE;
		}

		int32 SpawnActor(bool bHooked) override
		{
			const int32 Actor = Model.SpawnActor(bHooked ? EClass::HookedActor : EClass::ProducerActor, VeskModel::MainWorld);
			return Actor == INDEX_NONE ? INDEX_NONE : AddPool(Actor);
		}

		int32 AddComponent(int32 Actor, int32 Kind) override
		{
			static const EClass Kinds[] = { EClass::ProducerComponent, EClass::DerivedProducerComponent, EClass::HookedComponent };
			if (Kind == 3)
			{
				const int32 Component = Model.NewOwnerlessComponent(EClass::ProducerComponent, VeskModel::MainWorld);
				Model.SetHeld(Component, true);
				return AddPool(Component);
			}
			return AddPool(Model.NewComponent(Id(Actor), Kinds[Kind]));
		}

		int32 AddChildActorComponent(int32 Actor, bool& bOutHasChild) override
		{
			const int32 Component = Model.NewComponent(Id(Actor), EClass::ChildActorComponent);
			const int32 Index = AddPool(Component);
			const int32 Child = Model.GetChildActor(Component);
			bOutHasChild = Child != INDEX_NONE;
			if (bOutHasChild)
			{
				AddPool(Child);
			}
			return Index;
		}

		int32 NewPlainObject() override
		{
			return AddPool(Model.NewPlainObject(VeskModel::MainWorld, true));
		}

		void EnableHooks(int32 Object) override
		{
			Model.EnableHooks(Id(Object));
		}

		void DestroyActor(int32 Actor) override
		{
			Model.DestroyActor(Id(Actor));
		}

		void DestroyComponent(int32 Component) override
		{
			Model.DestroyComponent(Id(Component));
		}

		void MarkAsGarbage(int32 Object) override
		{
			Model.MarkAsGarbage(Id(Object));
		}

		void ReleaseObject(int32 Object) override
		{
			Model.SetHeld(Id(Object), false);
		}

		void RouteEndPlay(int32 Actor, int32) override
		{
			Model.RouteEndPlay(Id(Actor));
		}

		void DispatchBeginPlay(int32 Actor) override
		{
			Model.DispatchBeginPlay(Id(Actor));
		}

		void DestroyLifetimeComponent(int32 Actor) override
		{
			const int32 Lifetime = Model.FindLifetimeComponent(Id(Actor));
			if (Lifetime != INDEX_NONE)
			{
				Model.DestroyComponent(Lifetime);
			}
		}

		void CollectGarbage() override
		{
			Model.CollectGarbage();
		}

		void Tick() override
		{
			Model.TickWorld();
		}

		void Teardown() override
		{
			Model.DestroyWorld();
		}

		void SetSavedGuid(int32 Object, const FGuid& Guid) override
		{
			Model.SetSavedGuid(Id(Object), Guid);
		}

		bool IsObjectValid(int32 Object) const override
		{
			return Model.IsValid(Id(Object));
		}

		FObjectFacts Facts(int32 Object) const override
		{
			return Model.Facts(Id(Object));
		}

		FToken BeginBinding(int32 Object, const FGuid& Identity) override
		{
			Tokens.push_back(Model.BeginBinding(Id(Object), Identity));
			return Tokens.back();
		}

		FToken BeginSavedBinding(int32 Object) override
		{
			Tokens.push_back(Model.BeginSavedBinding(Id(Object)));
			return Tokens.back();
		}

		void ForgeToken(int32 Source, int32 Mode, const FGuid& Identity) override
		{
			FToken Forged = Tokens[Source];
			switch (Mode)
			{
				case 0: Forged.Generation = 0; break;
				case 1: Forged.Generation = ForgedGeneration(Forged.Generation, 1); break;
				case 2: Forged.Generation = ForgedGeneration(Forged.Generation, 2); break;
				case 3: Forged.Generation = ForgedGeneration(Forged.Generation, 3); break;
				case 4: Forged.World = VeskModel::NoWorld; break;
				case 5: Forged.World = VeskModel::OtherWorld; break;
				case 6: Forged.World = VeskModel::MainWorld; break;
				case 7: Forged.Id = Identity; break;
				default: Forged.Generation = Forged.Generation & 1 ? INT64_MAX : INT64_MIN; break;
			}
			Tokens.push_back(Forged);
		}

		FToken Token(int32 Token) const override
		{
			return Tokens[Token];
		}

		void DiscardLastToken() override
		{
			Tokens.pop_back();
		}

		int32 NumTokens() const override
		{
			return static_cast<int32>(Tokens.size());
		}

		bool Publish(int32 Token) override
		{
			const FToken Binding = Tokens[Token];
			return Model.Publish(Binding);
		}

		bool Withdraw(int32 Token) override
		{
			const FToken Binding = Tokens[Token];
			return Model.Withdraw(Binding);
		}

		bool RemovePermanently(int32 Token) override
		{
			const FToken Binding = Tokens[Token];
			return Model.RemovePermanently(Binding);
		}

		bool IsCurrentBinding(int32 Token) const override
		{
			return Model.IsCurrentBinding(Tokens[Token]);
		}

		FGuid FindIdentity(int32 Object) const override
		{
			return Model.FindIdentity(Id(Object));
		}

		FResolved Resolve(const FGuid& Identity, int32 ExpectedChoice, int32 ComponentChoice) override
		{
			FResolved Result = Model.Resolve(Identity, ModelClass(ExpectedChoice), ModelClass(ComponentChoice));
			Result.Object = PoolOf(Result.Object);
			Result.Component = PoolOf(Result.Component);
			return Result;
		}

		int32 Observe(const FGuid& Identity, int32 ExpectedChoice, int32 ComponentChoice, int32 Consumer) override
		{
			const int32 Observation = Model.Observe(Identity, ModelClass(ExpectedChoice), ModelClass(ComponentChoice), Id(Consumer));
			if (Observation != INDEX_NONE)
			{
				Model.SetObservationHeld(Observation, true);
			}
			return Observation;
		}

		bool IsObservationValid(int32 Observation) const override
		{
			return Model.IsObservationValid(Observation);
		}

		EStatus GetStatus(int32 Observation) const override
		{
			return Model.GetStatus(Observation);
		}

		bool IsActive(int32 Observation) const override
		{
			return Model.IsActive(Observation);
		}

		int32 NumHandlers(int32 Observation) const override
		{
			return Model.NumHandlers(Observation);
		}

		void Stop(int32 Observation) override
		{
			Model.Stop(Observation);
		}

		void ReleaseObservation(int32 Observation) override
		{
			Model.SetObservationHeld(Observation, false);
		}

		int32 NewListener() override
		{
			return Model.NewListener();
		}

		void ReleaseListener(int32 Listener) override
		{
			Model.SetListenerHeld(Listener, false);
		}

		void AddHandler(int32 Observation, int32 Listener, int32 Function, bool bUnique) override
		{
			if (Model.IsListenerValid(Listener))
			{
				Model.AddHandler(Observation, Listener, Function, bUnique);
			}
		}

		void RemoveHandler(int32 Observation, int32 Listener, int32 Function) override
		{
			Model.RemoveHandler(Observation, Listener, Function);
		}

		const int64* Coverage() const
		{
			return Model.Coverage;
		}

	private:
		FVeskReferenceRegistryModel Model;
		std::vector<int32> ModelIds;
		std::vector<int32> PoolOfModel;
		std::vector<FToken> Tokens;
	};

	// --- Comparison ---

	struct FResolvedAt
	{
		int32 Identity = 0;
		FClassPair Pair;
		FResolved Result;
	};

	struct FObservationFacts
	{
		bool bValid = false;
		EStatus Status = EStatus::Empty;
		bool bActive = false;
		int32 NumHandlers = 0;

		bool operator==(const FObservationFacts& Other) const = default;
	};

	struct FSnapshot
	{
		std::vector<FToken> Tokens;
		std::vector<bool> Current;
		std::vector<FObjectFacts> Objects;
		std::vector<FGuid> Identities;
		std::vector<FResolvedAt> Resolved;
		std::vector<FObservationFacts> Observations;
		std::vector<FGuid> KnownIdentities;
		size_t NumListeners = 0;
	};

	bool SameResult(const FResolved& A, const FResolved& B)
	{
		return A.Status == B.Status && A.Object == B.Object && A.Component == B.Component && A.Generation == B.Generation;
	}

	bool SameToken(const FToken& A, const FToken& B)
	{
		return A.Id == B.Id && A.Generation == B.Generation && A.World == B.World;
	}

	FSnapshot TakeSnapshot(ISide& Side, int32 Step, FRunStats* Stats)
	{
		FSnapshot Snapshot;
		const FSideState& State = Side.State;
		Snapshot.KnownIdentities = State.Identities;
		Snapshot.NumListeners = State.Listeners.size();
		for (int32 Token = 0; Token < Side.NumTokens(); ++Token)
		{
			Snapshot.Tokens.push_back(Side.Token(Token));
			Snapshot.Current.push_back(Side.IsCurrentBinding(Token));
		}
		for (int32 Object = 0; Object < static_cast<int32>(State.Objects.size()); ++Object)
		{
			Snapshot.Objects.push_back(Side.Facts(Object));
			Snapshot.Identities.push_back(Side.FindIdentity(Object));
		}
		std::vector<FClassPair> Pairs(std::begin(SnapshotPairs), std::end(SnapshotPairs));
		Pairs.push_back(FClassPair{ Step % NumClassChoices, (Step / NumClassChoices) % NumClassChoices });
		for (int32 Identity = 0; Identity < static_cast<int32>(State.Identities.size()); ++Identity)
		{
			for (const FClassPair& Pair : Pairs)
			{
				Snapshot.Resolved.push_back(FResolvedAt{ Identity, Pair, Side.Resolve(State.Identities[Identity], Pair.Expected, Pair.Component) });
			}
		}
		if (Stats)
		{
			Stats->Resolves += static_cast<int64>(Snapshot.Resolved.size());
		}
		for (int32 Observation = 0; Observation < static_cast<int32>(State.Observations.size()); ++Observation)
		{
			FObservationFacts Facts;
			Facts.bValid = Side.IsObservationValid(Observation);
			if (Facts.bValid)
			{
				Facts.Status = Side.GetStatus(Observation);
				Facts.bActive = Side.IsActive(Observation);
				Facts.NumHandlers = Side.NumHandlers(Observation);
				if (Stats && Facts.bActive)
				{
					++Stats->ActiveObservations;
				}
			}
			Snapshot.Observations.push_back(Facts);
		}
		return Snapshot;
	}

	std::string FactsText(const FObjectFacts& Facts)
	{
		return "valid " + std::to_string(Facts.bValid) + " play " + std::to_string(Facts.Play) + " being destroyed " + std::to_string(Facts.bBeingDestroyed) + " begun play "
			+ std::to_string(Facts.bBegunPlay) + " lifetime components " + std::to_string(Facts.NumLifetimeComponents) + " end-of-play handlers "
			+ std::to_string(Facts.NumEndPlayHandlers);
	}

	std::string ObservationText(const FObservationFacts& Facts)
	{
		if (!Facts.bValid)
		{
			return "collected";
		}
		return std::string(StatusName(Facts.Status)) + " active " + std::to_string(Facts.bActive) + " handlers " + std::to_string(Facts.NumHandlers);
	}

	// The first difference, described for a reader; empty when the snapshots agree.
	std::string Compare(const FSnapshot& Plugin, const FSnapshot& Model, const FSideState& State)
	{
		std::ostringstream Out;
		if (Plugin.Tokens.size() != Model.Tokens.size() || Plugin.Objects.size() != Model.Objects.size() || Plugin.Observations.size() != Model.Observations.size()
			|| Plugin.NumListeners != Model.NumListeners || Plugin.KnownIdentities != Model.KnownIdentities)
		{
			Out << "pools differ: tokens " << Plugin.Tokens.size() << "/" << Model.Tokens.size() << ", objects " << Plugin.Objects.size() << "/" << Model.Objects.size()
				<< ", observations " << Plugin.Observations.size() << "/" << Model.Observations.size() << ", listeners " << Plugin.NumListeners << "/" << Model.NumListeners
				<< ", identities " << Plugin.KnownIdentities.size() << "/" << Model.KnownIdentities.size();
			return Out.str();
		}
		for (size_t Token = 0; Token < Plugin.Tokens.size(); ++Token)
		{
			if (!SameToken(Plugin.Tokens[Token], Model.Tokens[Token]))
			{
				Out << "token t" << Token << ": plugin " << TokenText(State, Plugin.Tokens[Token]) << ", model " << TokenText(State, Model.Tokens[Token]);
				return Out.str();
			}
			if (Plugin.Current[Token] != Model.Current[Token])
			{
				Out << "IsCurrentBinding(t" << Token << " " << TokenText(State, Plugin.Tokens[Token]) << "): plugin " << Plugin.Current[Token] << ", model " << Model.Current[Token];
				return Out.str();
			}
		}
		for (size_t Object = 0; Object < Plugin.Objects.size(); ++Object)
		{
			if (!(Plugin.Objects[Object] == Model.Objects[Object]))
			{
				Out << "engine facts of o" << Object << ": plugin's engine " << FactsText(Plugin.Objects[Object]) << ", model " << FactsText(Model.Objects[Object]);
				return Out.str();
			}
			if (Plugin.Identities[Object] != Model.Identities[Object])
			{
				Out << "FindIdentity(o" << Object << "): plugin " << IdentityText(State, Plugin.Identities[Object]) << ", model " << IdentityText(State, Model.Identities[Object]);
				return Out.str();
			}
		}
		for (size_t Index = 0; Index < Plugin.Resolved.size(); ++Index)
		{
			const FResolvedAt& A = Plugin.Resolved[Index];
			const FResolvedAt& B = Model.Resolved[Index];
			if (!SameResult(A.Result, B.Result))
			{
				Out << "Resolve(id" << A.Identity << ", " << VeskModel::ClassName(ModelClass(A.Pair.Expected)) << ", " << VeskModel::ClassName(ModelClass(A.Pair.Component))
					<< "): plugin " << ResolvedText(A.Result) << ", model " << ResolvedText(B.Result);
				return Out.str();
			}
		}
		for (size_t Observation = 0; Observation < Plugin.Observations.size(); ++Observation)
		{
			if (!(Plugin.Observations[Observation] == Model.Observations[Observation]))
			{
				Out << "observation obs" << Observation << ": plugin " << ObservationText(Plugin.Observations[Observation]) << ", model " << ObservationText(Model.Observations[Observation]);
				return Out.str();
			}
		}
		return std::string();
	}

	std::string CompareTraces(const std::vector<std::string>& Plugin, const std::vector<std::string>& Model)
	{
		if (Plugin == Model)
		{
			return std::string();
		}
		std::ostringstream Out;
		size_t First = 0;
		while (First < Plugin.size() && First < Model.size() && Plugin[First] == Model[First])
		{
			++First;
		}
		Out << "what happened differs from line " << First << "\n    plugin:";
		for (const std::string& Line : Plugin)
		{
			Out << "\n      " << Line;
		}
		Out << "\n    model:";
		for (const std::string& Line : Model)
		{
			Out << "\n      " << Line;
		}
		return Out.str();
	}

	void InitState(ISide& Side)
	{
		Side.State.Objects.resize(NumSpecialObjects);
		Side.State.Identities.push_back(FGuid());
		for (int32 Index = 1; Index <= NumExplicitIdentities; ++Index)
		{
			Side.State.Identities.push_back(ExplicitIdentity(Index));
		}
	}

	uint8 RandomByte(std::mt19937& Random)
	{
		return static_cast<uint8>(Random() & 0xFF);
	}
}

UClass* VeskDifferential::LifetimeComponentClass()
{
	// The class is private to the plugin; the engine knows it by name.
	static UClass* Found = nullptr;
	if (!Found)
	{
		for (TObjectIterator<UClass> It; It; ++It)
		{
			if (It->GetName() == TEXT("Vesk_ReferenceConsumerLifetimeComponent"))
			{
				Found = *It;
				break;
			}
		}
	}
	return Found;
}

// --- Encoding ---

std::vector<FOp> VeskDifferential::Decode(const uint8* Data, size_t Size)
{
	std::vector<FOp> Ops;
	for (size_t Offset = 0; Offset + BytesPerOp <= Size; Offset += BytesPerOp)
	{
		FOp Op;
		Op.Kind = Data[Offset];
		std::copy(Data + Offset + 1, Data + Offset + BytesPerOp, Op.P);
		Ops.push_back(Op);
	}
	return Ops;
}

std::vector<uint8> VeskDifferential::Encode(const std::vector<FOp>& Ops)
{
	std::vector<uint8> Bytes;
	for (const FOp& Op : Ops)
	{
		Bytes.push_back(Op.Kind);
		Bytes.insert(Bytes.end(), std::begin(Op.P), std::end(Op.P));
	}
	return Bytes;
}

std::vector<FOp> VeskDifferential::OpsFromFuzzInput(const uint8* Data, size_t Size)
{
	std::vector<FOp> Ops = Decode(Data, std::min(Size, MaxFuzzOperations * BytesPerOp));
	FOp Teardown;
	Teardown.Kind = static_cast<uint8>(EOp::Teardown);
	Ops.push_back(Teardown);
	return Ops;
}

std::string VeskDifferential::ToHex(const std::vector<FOp>& Ops)
{
	static const char Digits[] = "0123456789abcdef";
	std::string Text;
	for (uint8 Byte : Encode(Ops))
	{
		Text.push_back(Digits[Byte >> 4]);
		Text.push_back(Digits[Byte & 15]);
	}
	return Text;
}

bool VeskDifferential::FromHex(const std::string& Text, std::vector<FOp>& OutOps)
{
	if (Text.size() % (2 * BytesPerOp) != 0)
	{
		return false;
	}
	std::vector<uint8> Bytes;
	for (size_t Index = 0; Index < Text.size(); Index += 2)
	{
		const auto Nibble = [](char Digit) -> int
		{
			if (Digit >= '0' && Digit <= '9')
			{
				return Digit - '0';
			}
			if (Digit >= 'a' && Digit <= 'f')
			{
				return Digit - 'a' + 10;
			}
			if (Digit >= 'A' && Digit <= 'F')
			{
				return Digit - 'A' + 10;
			}
			return -1;
		};
		const int High = Nibble(Text[Index]);
		const int Low = Nibble(Text[Index + 1]);
		if (High < 0 || Low < 0)
		{
			return false;
		}
		Bytes.push_back(static_cast<uint8>(High * 16 + Low));
	}
	OutOps = Decode(Bytes.data(), Bytes.size());
	return true;
}

std::string VeskDifferential::Describe(const FOp& Op)
{
	char Buffer[128];
	std::snprintf(Buffer, sizeof(Buffer), "%s %u %u %u %u %u %u %u", OpName(Op.GetKind()), Op.P[0], Op.P[1], Op.P[2], Op.P[3], Op.P[4], Op.P[5], Op.P[6]);
	return Buffer;
}

// --- Generation ---

std::vector<FOp> VeskDifferential::GenerateSequence(uint32 Seed, int32 NumOperations)
{
	std::mt19937 Random(Seed);
	// Small selectors most of the time: they name what was made last.
	const auto Selector = [&Random]() -> uint8 { return Random() % 10 < 6 ? static_cast<uint8>(Random() % 6) : RandomByte(Random); };
	// Mostly the classes that consumers ask for: any object, an actor, a producer component.
	const auto ExpectedClass = [&Random]() -> uint8
	{
		static const EClass Usual[] = { EClass::Object, EClass::Object, EClass::Object, EClass::Actor, EClass::ProducerActor, EClass::ProducerComponent };
		return Random() % 10 < 8 ? static_cast<uint8>(ClassChoice(Usual[Random() % 6])) : static_cast<uint8>(Random() % NumClassChoices);
	};
	const auto ComponentClass = [&Random]() -> uint8
	{
		static const EClass Usual[] = { EClass::ActorComponent, EClass::ProducerComponent, EClass::DerivedProducerComponent };
		const uint32 Roll = Random() % 20;
		return Roll < 12 ? 0 : Roll < 17 ? static_cast<uint8>(ClassChoice(Usual[Random() % 3])) : static_cast<uint8>(Random() % NumClassChoices);
	};
	const auto Make = [&](EOp Kind)
	{
		FOp Op;
		Op.Kind = static_cast<uint8>(Kind);
		for (uint8& Parameter : Op.P)
		{
			Parameter = Selector();
		}
		switch (Kind)
		{
			case EOp::SpawnActor:
			case EOp::AddListener:
				// Action kinds and flags are chosen evenly.
				Op.P[1] = RandomByte(Random);
				Op.P[4] = RandomByte(Random);
				Op.P[6] = RandomByte(Random);
				break;
			case EOp::Observe:
				Op.P[1] = ExpectedClass();
				Op.P[2] = ComponentClass();
				Op.P[4] = RandomByte(Random);
				Op.P[6] = RandomByte(Random);
				break;
			case EOp::Resolve:
				Op.P[1] = static_cast<uint8>(ExpectedClass() + NumClassChoices * ComponentClass());
				break;
			default:
				break;
		}
		return Op;
	};

	struct FWeight
	{
		EOp Kind;
		int32 Weight;
	};
	static const FWeight Weights[] = {
		{ EOp::SpawnActor, 25 },
		{ EOp::AddComponent, 40 },
		{ EOp::NewObject, 20 },
		{ EOp::DestroyActor, 15 },
		{ EOp::DestroyComponent, 20 },
		{ EOp::MarkAsGarbage, 6 },
		{ EOp::ReleaseObject, 6 },
		{ EOp::EndPlay, 30 },
		{ EOp::BeginPlay, 35 },
		{ EOp::CollectGarbage, 25 },
		{ EOp::Tick, 35 },
		{ EOp::BeginBinding, 120 },
		{ EOp::BeginSavedBinding, 45 },
		{ EOp::Publish, 110 },
		{ EOp::Withdraw, 45 },
		{ EOp::RemovePermanently, 8 },
		{ EOp::ForgeToken, 15 },
		{ EOp::Resolve, 15 },
		{ EOp::Observe, 100 },
		{ EOp::AddListener, 60 },
		{ EOp::RemoveListener, 30 },
		{ EOp::Stop, 12 },
		{ EOp::DropObservation, 15 },
		{ EOp::DropListener, 6 },
		{ EOp::RekeySavedIdentity, 15 },
		{ EOp::DestroyLifetimeComponent, 8 },
		{ EOp::ReplaceComponent, 15 },
	};
	int32 TotalWeight = 0;
	for (const FWeight& Weight : Weights)
	{
		TotalWeight += Weight.Weight;
	}

	std::vector<FOp> Ops;
	for (EOp Kind : { EOp::SpawnActor, EOp::SpawnActor, EOp::SpawnActor, EOp::AddComponent, EOp::AddComponent, EOp::AddComponent, EOp::NewObject, EOp::NewObject })
	{
		Ops.push_back(Make(Kind));
	}
	// A producer actor with one component of its own class, published and observed through that
	// component, whose component is then replaced between two passes: rare by chance, so now and then
	// made on purpose. Selectors count back from the newest: the actor is the object before its component.
	const auto ComponentScenario = [&]()
	{
		const auto Op = [](EOp Kind, std::initializer_list<uint8> Parameters)
		{
			FOp Made;
			Made.Kind = static_cast<uint8>(Kind);
			std::copy(Parameters.begin(), Parameters.end(), Made.P);
			return Made;
		};
		const uint8 Hooked = static_cast<uint8>(ClassChoice(EClass::HookedComponent));
		Ops.push_back(Op(EOp::SpawnActor, { 0, 0, 0, 0, 0, 0, 0 }));
		Ops.push_back(Op(EOp::AddComponent, { 0, 2, RandomByte(Random), RandomByte(Random), RandomByte(Random), 0, 0 }));
		Ops.push_back(Op(EOp::BeginBinding, { 1, 0, 0, 0, 0, 0, 0 }));
		Ops.push_back(Op(EOp::Publish, { 0, 0, 0, 0, 0, 0, 0 }));
		Ops.push_back(Op(EOp::Observe, { 0, static_cast<uint8>(ClassChoice(EClass::Object)), Hooked, Selector(), RandomByte(Random), RandomByte(Random), RandomByte(Random) }));
		Ops.push_back(Op(EOp::ReplaceComponent, { 0, RandomByte(Random), RandomByte(Random), RandomByte(Random), 0, 1, 0 }));
		Ops.push_back(Op(EOp::Tick, { 0, 0, 0, 0, 0, 0, 0 }));
	};

	for (int32 Index = 0; Index < NumOperations; ++Index)
	{
		if (Random() % 100 == 0)
		{
			ComponentScenario();
			continue;
		}
		int32 Roll = static_cast<int32>(Random() % static_cast<uint32>(TotalWeight));
		for (const FWeight& Weight : Weights)
		{
			if (Roll < Weight.Weight)
			{
				Ops.push_back(Make(Weight.Kind));
				break;
			}
			Roll -= Weight.Weight;
		}
	}
	// After teardown every entry point must refuse.
	for (EOp Kind : { EOp::Teardown, EOp::BeginBinding, EOp::BeginSavedBinding, EOp::Publish, EOp::Withdraw, EOp::RemovePermanently, EOp::Observe, EOp::Resolve, EOp::Tick,
			 EOp::EndPlay, EOp::CollectGarbage, EOp::Publish })
	{
		Ops.push_back(Make(Kind));
	}
	return Ops;
}

// --- Running ---

namespace
{
	void AddStats(FRunStats* Stats, const FPluginSide& Plugin, const FModelSide& Model)
	{
		if (!Stats)
		{
			return;
		}
		Stats->HandlerCalls += Plugin.State.HandlerCalls;
		for (size_t Path = 0; Path < static_cast<size_t>(VeskModel::ECoverage::Num); ++Path)
		{
			Stats->Coverage[Path] += Model.Coverage()[Path];
		}
	}

	FDivergence RunInternal(const std::vector<FOp>& Ops, const FRunOptions& Options, FRunStats* Stats, std::vector<std::vector<std::string>>* OutTraces)
	{
		// VESK_DIFF_TRACE=1 prints what the plugin did at every step, for reading a sequence.
		static const bool bPrintTraces = std::getenv("VESK_DIFF_TRACE") != nullptr;
		FPluginSide Plugin;
		FModelSide Model(Options.Fault);
		InitState(Plugin);
		InitState(Model);
		const int32 NumSteps = std::min(static_cast<int32>(Ops.size()), Options.MaxSteps);
		for (int32 Step = 0; Step < NumSteps; ++Step)
		{
			ApplyOp(Plugin, Ops[Step]);
			ApplyOp(Model, Ops[Step]);
			if (OutTraces)
			{
				OutTraces->push_back(Plugin.State.Trace);
			}
			if (bPrintTraces)
			{
				std::fprintf(stderr, "[%d] %s\n", Step, Describe(Ops[Step]).c_str());
				for (const std::string& Line : Plugin.State.Trace)
				{
					std::fprintf(stderr, "      %s\n", Line.c_str());
				}
			}
			if (Stats)
			{
				++Stats->Steps;
			}
			std::string What = CompareTraces(Plugin.State.Trace, Model.State.Trace);
			if (What.empty())
			{
				What = Compare(TakeSnapshot(Plugin, Step, Stats), TakeSnapshot(Model, Step, nullptr), Plugin.State);
			}
			if (!What.empty())
			{
				AddStats(Stats, Plugin, Model);
				return FDivergence{ true, Step, What };
			}
		}
		AddStats(Stats, Plugin, Model);
		return FDivergence();
	}
}

FDivergence VeskDifferential::Run(const std::vector<FOp>& Ops, const FRunOptions& Options, FRunStats* Stats)
{
	return RunInternal(Ops, Options, Stats, nullptr);
}

std::vector<FOp> VeskDifferential::Shrink(const std::vector<FOp>& Ops, const FRunOptions& Options, std::chrono::seconds Budget)
{
	const auto Deadline = std::chrono::steady_clock::now() + Budget;
	const auto Fails = [&Options](const std::vector<FOp>& Candidate) { return RunInternal(Candidate, Options, nullptr, nullptr).bFound; };
	const FDivergence First = RunInternal(Ops, Options, nullptr, nullptr);
	if (!First.bFound)
	{
		return Ops;
	}
	std::vector<FOp> Current(Ops.begin(), Ops.begin() + First.Step + 1);

	// Delta debugging: drop ever smaller chunks while the rest still diverges.
	size_t Granularity = 2;
	while (Current.size() >= 2 && std::chrono::steady_clock::now() < Deadline)
	{
		const size_t Chunk = (Current.size() + Granularity - 1) / Granularity;
		bool bReduced = false;
		for (size_t Start = 0; Start < Current.size() && std::chrono::steady_clock::now() < Deadline; Start += Chunk)
		{
			std::vector<FOp> Candidate(Current.begin(), Current.begin() + static_cast<std::ptrdiff_t>(Start));
			Candidate.insert(Candidate.end(), Current.begin() + static_cast<std::ptrdiff_t>(std::min(Start + Chunk, Current.size())), Current.end());
			if (!Candidate.empty() && Fails(Candidate))
			{
				Current = std::move(Candidate);
				Granularity = std::max<size_t>(Granularity - 1, 2);
				bReduced = true;
				break;
			}
		}
		if (!bReduced)
		{
			if (Granularity >= Current.size())
			{
				break;
			}
			Granularity = std::min(Current.size(), Granularity * 2);
		}
	}
	// Then plainer parameters: zero where zero still diverges.
	for (size_t Index = 0; Index < Current.size() && std::chrono::steady_clock::now() < Deadline; ++Index)
	{
		for (uint8& Parameter : Current[Index].P)
		{
			if (Parameter == 0)
			{
				continue;
			}
			const uint8 Was = Parameter;
			Parameter = 0;
			if (!Fails(Current))
			{
				Parameter = Was;
			}
		}
	}
	return Current;
}

std::string VeskDifferential::Report(const std::string& Origin, const std::vector<FOp>& Ops, const FDivergence& Divergence, const std::vector<FOp>& Shrunk, const FRunOptions& Options)
{
	std::ostringstream Out;
	Out << "The registry and its model disagree (" << Origin << "), at step " << Divergence.Step << " of " << Ops.size() << ":\n  " << Divergence.What << "\n";
	std::vector<std::vector<std::string>> Traces;
	const FDivergence Again = RunInternal(Shrunk, Options, nullptr, &Traces);
	Out << "Shrunk to " << Shrunk.size() << " operations; what the plugin did at each:\n";
	for (size_t Step = 0; Step < Shrunk.size(); ++Step)
	{
		Out << "  [" << Step << "] " << Describe(Shrunk[Step]) << "\n";
		if (Step < Traces.size())
		{
			for (const std::string& Line : Traces[Step])
			{
				Out << "        " << Line << "\n";
			}
		}
	}
	if (Again.bFound)
	{
		Out << "The shrunk sequence diverges at step " << Again.Step << ":\n  " << Again.What << "\n";
	}
	Out << "Replay: VESK_DIFF_REPLAY=" << ToHex(Shrunk) << " Build/default/bin/VeskReferenceDifferentialTests --gtest_filter='*Replay*'\n";
	return Out.str();
}
