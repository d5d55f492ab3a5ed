#include "Vesk_ReferenceSubsystem.h"

#include "Components/ActorComponent.h"
#include "UObject/StrongObjectPtr.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_SaveSubsystem.h"
#include "VeskReferenceTestSupport.h"
#include "VeskTestChangeListener.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using Access = FVesk_ReferenceSubsystemTestAccess;

namespace
{
	const char* StatusName(EVesk_ReferenceStatus Status)
	{
		switch (Status)
		{
			case EVesk_ReferenceStatus::Empty: return "Empty";
			case EVesk_ReferenceStatus::Unavailable: return "Unavailable";
			case EVesk_ReferenceStatus::Initializing: return "Initializing";
			case EVesk_ReferenceStatus::TypeMismatch: return "TypeMismatch";
			case EVesk_ReferenceStatus::MissingComponent: return "MissingComponent";
			case EVesk_ReferenceStatus::AmbiguousComponent: return "AmbiguousComponent";
			case EVesk_ReferenceStatus::Available: return "Available";
			case EVesk_ReferenceStatus::Removed: return "Removed";
			default: return "?";
		}
	}

	std::string Describe(const FVesk_ReferenceBinding& Binding)
	{
		if (!Binding.Id.IsValid() && Binding.Generation == 0 && Binding.World.IsExplicitlyNull())
		{
			return "empty token";
		}
		return "token generation " + std::to_string(Binding.Generation);
	}

	std::string Describe(bool bValue)
	{
		return bValue ? "true" : "false";
	}

	std::string Describe(const FVesk_ResolvedReference& Result)
	{
		std::string Text = StatusName(Result.Status);
		Text += Result.Object ? " with object" : "";
		Text += Result.Component ? " with component" : "";
		return Text + " generation " + std::to_string(Result.Generation);
	}

	std::string Describe(const UObject* Object)
	{
		return Object ? "an object" : "null";
	}

	FVesk_ReferenceBinding Forged(FVesk_ReferenceBinding Binding, const std::function<void(FVesk_ReferenceBinding&)>& Change)
	{
		Change(Binding);
		return Binding;
	}
}

/**
 * A world in which every kind of entry exists at once: published, initializing, saved, removed,
 * withdrawn, replaced, released by end of play; beside it unbound, garbage, destroyed, worldless
 * and foreign objects, tokens of every kind, and observations whose listeners count their calls.
 * One observation watches a component that has just become ambiguous without the registry being
 * told, so that any notification pass, even one that changes no entry, shows in its status.
 */
struct FHostileScene
{
	FTestWorld& World;
	UVesk_ReferenceSubsystem* Registry = nullptr;
	FTestWorld OtherWorld;

	AActor* Producer = nullptr;
	UActorComponent* ProducerComponent = nullptr;
	UObject* SavedProducer = nullptr;
	UObject* Unbound = nullptr;
	UObject* Garbage = nullptr;
	UObject* Worldless = nullptr;
	AActor* DestroyedActor = nullptr;
	UActorComponent* DestroyedComponent = nullptr;
	UObject* Foreign = nullptr;
	AActor* Consumer = nullptr;

	FGuid X = MakeTestIdentity(1);
	FGuid Y = MakeTestIdentity(2);
	FGuid Z;
	FGuid R = MakeTestIdentity(4);
	FGuid W = MakeTestIdentity(5);
	FGuid V = MakeTestIdentity(6);
	FGuid DX = MakeTestIdentity(7);
	FGuid Fresh = MakeTestIdentity(8);

	FVesk_ReferenceBinding TokX;
	FVesk_ReferenceBinding TokY;
	FVesk_ReferenceBinding TokZ;
	FVesk_ReferenceBinding TokR;
	FVesk_ReferenceBinding TokW;
	FVesk_ReferenceBinding TokV;
	FVesk_ReferenceBinding TokVStale;
	FVesk_ReferenceBinding TokForeign;

	UVesk_ReferenceObservation* ObservesX = nullptr;
	UVesk_ReferenceObservation* ObservesComponent = nullptr;
	int32 HandlerCalls = 0;

	std::vector<TStrongObjectPtr<UObject>> Held;

	FHostileScene(FTestWorld& InWorld, UVesk_ReferenceSubsystem* InRegistry)
		: World(InWorld)
		, Registry(InRegistry)
	{
		UWorld* Main = World.Get();
		Producer = World.SpawnActor<AVeskTestProducerActor>();
		ProducerComponent = Hold(NewObject<UVeskTestProducerComponent>(Producer));
		ProducerComponent->RegisterComponent();
		SavedProducer = Hold(NewObject<UVeskTestProducerObject>(Main));
		Unbound = Hold(NewObject<UVeskTestProducerObject>(Main));
		Garbage = Hold(NewObject<UVeskTestProducerObject>(Main));
		Garbage->MarkAsGarbage();
		Worldless = Hold(NewObject<UVeskTestProducerObject>(GetTransientPackage()));
		Foreign = Hold(NewObject<UVeskTestProducerObject>(OtherWorld.Get()));
		Consumer = World.SpawnActor<AVeskTestProducerActor>();

		// X is bound first, so that it and the foreign registry's first token share a generation.
		TokX = Registry->BeginBinding(Producer, X);
		Registry->Publish(TokX);
		TokForeign = UVesk_ReferenceSubsystem::FromContext(OtherWorld.Get())->BeginBinding(Foreign, X);
		TokY = Registry->BeginBinding(ProducerComponent, Y);
		TokZ = Registry->BeginSavedBinding(SavedProducer);
		Z = TokZ.Id;
		Registry->Publish(TokZ);
		TokR = Registry->BeginBinding(Hold(NewObject<UVeskTestProducerObject>(Main)), R);
		Registry->RemovePermanently(TokR);
		TokW = Registry->BeginBinding(Hold(NewObject<UVeskTestProducerObject>(Main)), W);
		Registry->Withdraw(TokW);
		TokVStale = Registry->BeginBinding(Hold(NewObject<UVeskTestProducerObject>(Main)), V);
		Registry->Withdraw(TokVStale);
		TokV = Registry->BeginBinding(Hold(NewObject<UVeskTestProducerObject>(Main)), V);
		DestroyedActor = World.SpawnActor<AVeskTestProducerActor>();
		Registry->Publish(Registry->BeginBinding(DestroyedActor, DX));
		DestroyedActor->Destroy();
		DestroyedComponent = NewObject<UVeskTestProducerComponent>(Producer);
		DestroyedComponent->RegisterComponent();
		DestroyedComponent->DestroyComponent();

		ObservesX = Observe(X, UObject::StaticClass(), nullptr);
		ObservesComponent = Observe(X, AActor::StaticClass(), UVeskTestProducerComponent::StaticClass());
		// A second matching component that the registry is not told of: the next pass, whatever
		// runs it, makes the component observation ambiguous.
		NewObject<UVeskTestProducerComponent>(Producer)->RegisterComponent();
	}

	template<class T>
	T* Hold(T* Object)
	{
		Held.emplace_back(Object);
		return Object;
	}

	UVesk_ReferenceObservation* Observe(const FGuid& Identity, UClass* ExpectedType, UClass* ComponentType)
	{
		UVesk_ReferenceObservation* Observation = Hold(Registry->Observe(Identity, ExpectedType, ComponentType, Consumer));
		UVeskTestChangeListener* Listener = Hold(NewObject<UVeskTestChangeListener>(GetTransientPackage()));
		Listener->OnCalled = [this](int32) { ++HandlerCalls; };
		Observation->OnChanged.AddDynamic(Listener, &UVeskTestChangeListener::HandleChanged);
		return Observation;
	}

	std::string Name(const FGuid& Guid) const
	{
		const std::pair<const FGuid*, const char*> Names[] = { { &X, "X" }, { &Y, "Y" }, { &Z, "Z" }, { &R, "R" }, { &W, "W" }, { &V, "V" }, { &DX, "DX" }, { &Fresh, "Fresh" } };
		for (const auto& [Known, Text] : Names)
		{
			if (*Known == Guid)
			{
				return Text;
			}
		}
		return Guid.IsValid() ? Utf8(Guid.ToString(EGuidFormats::Digits)) : "zero";
	}

	// Everything a refusal must leave as it was: what every public read gives, and the registry's
	// counters that no public call can show without changing them.
	std::vector<std::string> Fingerprint() const
	{
		std::vector<std::string> Lines;
		const std::pair<UClass*, UClass*> Pairs[] = {
			{ UObject::StaticClass(), nullptr },
			{ AActor::StaticClass(), UVeskTestProducerComponent::StaticClass() },
			{ UVeskTestProducerComponent::StaticClass(), nullptr },
		};
		for (const FGuid& Identity : { FGuid(), X, Y, Z, R, W, V, DX, Fresh })
		{
			for (const auto& [Expected, Component] : Pairs)
			{
				Lines.push_back("Resolve(" + Name(Identity) + ", " + Utf8(Expected->GetName()) + ", " + (Component ? Utf8(Component->GetName()) : "null")
					+ ") = " + Describe(Registry->Resolve(Identity, Expected, Component)));
			}
			const FEntryState Entry = Access::Entry(*Registry, Identity);
			Lines.push_back("entry " + Name(Identity) + ": exists " + Describe(Entry.bExists) + ", " + StatusName(Entry.Status) + ", object " + Describe(Entry.Object)
				+ ", generation " + std::to_string(Entry.Generation) + ", saved " + Describe(Entry.bSaved));
		}
		const UObject* Objects[] = { Producer, ProducerComponent, SavedProducer, Unbound, Consumer };
		for (const UObject* Object : Objects)
		{
			Lines.push_back("FindIdentity(" + Utf8(Object->GetName()) + ") = " + Name(Registry->FindIdentity(Object)));
		}
		const std::pair<const FVesk_ReferenceBinding*, const char*> Tokens[] = { { &TokX, "X" }, { &TokY, "Y" }, { &TokZ, "Z" }, { &TokR, "R" }, { &TokW, "W" }, { &TokV, "V" },
			{ &TokVStale, "stale V" }, { &TokForeign, "foreign X" } };
		for (const auto& [Token, Text] : Tokens)
		{
			Lines.push_back(std::string("IsCurrentBinding(") + Text + ") = " + Describe(Registry->IsCurrentBinding(*Token)));
		}
		for (const UVesk_ReferenceObservation* Observation : { ObservesX, ObservesComponent })
		{
			Lines.push_back(std::string("observation: ") + StatusName(Observation->GetStatus()) + ", active " + Describe(Observation->IsActive()) + ", handlers "
				+ std::to_string(Observation->OnChanged.Num()));
		}
		Lines.push_back("handler calls " + std::to_string(HandlerCalls));
		Lines.push_back("entries " + std::to_string(Access::NumEntries(*Registry)) + ", next generation " + std::to_string(Access::NextGeneration(*Registry))
			+ ", ended actors " + std::to_string(Access::NumEndedActors(*Registry)) + ", observations " + std::to_string(Access::NumObservations(*Registry))
			+ ", deinitialized " + Describe(Access::IsDeinitialized(*Registry)));
		return Lines;
	}
};

struct FHostileCase
{
	FHostileCase(std::string InName, std::string InExpected, std::function<std::string(FHostileScene&)> InCall, std::function<void(FHostileScene&)> InPrepare = nullptr)
		: Name(std::move(InName))
		, Expected(std::move(InExpected))
		, Call(std::move(InCall))
		, Prepare(std::move(InPrepare))
	{
	}

	std::string Name;
	std::string Expected;
	std::function<std::string(FHostileScene&)> Call;
	// Brings the scene to the state the call is hostile to, before the state is taken.
	std::function<void(FHostileScene&)> Prepare;
};

// Only the lines that differ, so that a failure names what changed.
std::vector<std::string> Changes(const std::vector<std::string>& Before, const std::vector<std::string>& After)
{
	std::vector<std::string> Lines;
	for (size_t Index = 0; Index < std::max(Before.size(), After.size()); ++Index)
	{
		const std::string Was = Index < Before.size() ? Before[Index] : "(none)";
		const std::string Is = Index < After.size() ? After[Index] : "(none)";
		if (Was != Is)
		{
			Lines.push_back(Was + "  ->  " + Is);
		}
	}
	return Lines;
}

void PrintTo(const FHostileCase& Case, std::ostream* Out)
{
	*Out << Case.Name;
}

class FReferenceHostileInputTest : public FVeskReferenceTestBase, public testing::WithParamInterface<FHostileCase>
{
protected:
	void SetUp() override
	{
		FVeskReferenceTestBase::SetUp();
		Scene = std::make_unique<FHostileScene>(World, Subsystem);
	}

	void TearDown() override
	{
		Scene.reset();
		UVesk_SaveSubsystem::Shutdown();
		UVesk_SaveSubsystem::Startup();
	}

	void ExpectRefusedWithoutChange()
	{
		if (GetParam().Prepare)
		{
			GetParam().Prepare(*Scene);
		}
		const std::vector<std::string> Before = Scene->Fingerprint();
		const std::string Result = GetParam().Call(*Scene);
		EXPECT_EQ(Result, GetParam().Expected);
		EXPECT_EQ(Changes(Before, Scene->Fingerprint()), std::vector<std::string>());
	}

	std::unique_ptr<FHostileScene> Scene;
};

TEST_P(FReferenceHostileInputTest, IsRefusedAndChangesNothing)
{
	ExpectRefusedWithoutChange();
}

namespace
{
	using S = FHostileScene;

	// Tokens that no registry issued for the running incarnation they name.
	const std::pair<const char*, std::function<FVesk_ReferenceBinding(const S&)>> ForgedTokens[] = {
		{ "ZeroToken", [](const S&) { return FVesk_ReferenceBinding(); } },
		{ "NegativeGeneration", [](const S& Scene) { return Forged(Scene.TokX, [](FVesk_ReferenceBinding& T) { T.Generation = -T.Generation; }); } },
		{ "FutureGeneration", [](const S& Scene) { return Forged(Scene.TokX, [](FVesk_ReferenceBinding& T) { T.Generation += 1000; }); } },
		{ "LargestGeneration", [](const S& Scene) { return Forged(Scene.TokX, [](FVesk_ReferenceBinding& T) { T.Generation = INT64_MAX; }); } },
		{ "SmallestGeneration", [](const S& Scene) { return Forged(Scene.TokX, [](FVesk_ReferenceBinding& T) { T.Generation = INT64_MIN; }); } },
		{ "OtherWorldsToken", [](const S& Scene) { return Scene.TokForeign; } },
		{ "NullWorld", [](const S& Scene) { return Forged(Scene.TokX, [](FVesk_ReferenceBinding& T) { T.World = nullptr; }); } },
		{ "OtherWorld", [](const S& Scene) { return Forged(Scene.TokX, [&Scene](FVesk_ReferenceBinding& T) { T.World = Scene.OtherWorld.Get(); }); } },
		{ "StaleGeneration", [](const S& Scene) { return Scene.TokVStale; } },
		{ "RemovedIdentity", [](const S& Scene) { return Scene.TokR; } },
		{ "AnotherIdentitysGeneration", [](const S& Scene) { return Forged(Scene.TokX, [&Scene](FVesk_ReferenceBinding& T) { T.Id = Scene.Y; }); } },
	};

	std::vector<FHostileCase> TokenCases()
	{
		std::vector<FHostileCase> Cases;
		for (const auto& [Name, Make] : ForgedTokens)
		{
			const auto TokenOf = Make;
			Cases.push_back({ std::string("Publish_") + Name, "false", [TokenOf](S& Scene) { return Describe(Scene.Registry->Publish(TokenOf(Scene))); } });
			Cases.push_back({ std::string("Withdraw_") + Name, "false", [TokenOf](S& Scene) { return Describe(Scene.Registry->Withdraw(TokenOf(Scene))); } });
			Cases.push_back({ std::string("RemovePermanently_") + Name, "false", [TokenOf](S& Scene) { return Describe(Scene.Registry->RemovePermanently(TokenOf(Scene))); } });
			Cases.push_back({ std::string("IsCurrentBinding_") + Name, "false", [TokenOf](S& Scene) { return Describe(Scene.Registry->IsCurrentBinding(TokenOf(Scene))); } });
		}
		return Cases;
	}

	// Objects that may not be bound, observed from or looked up.
	const std::pair<const char*, std::function<UObject*(const S&)>> HostileObjects[] = {
		{ "Null", [](const S&) -> UObject* { return nullptr; } },
		{ "Garbage", [](const S& Scene) { return Scene.Garbage; } },
		{ "Worldless", [](const S& Scene) { return Scene.Worldless; } },
		{ "OtherWorlds", [](const S& Scene) { return Scene.Foreign; } },
		{ "DestroyedActor", [](const S& Scene) -> UObject* { return Scene.DestroyedActor; } },
		{ "DestroyedComponent", [](const S& Scene) -> UObject* { return Scene.DestroyedComponent; } },
	};

	std::vector<FHostileCase> ObjectCases()
	{
		std::vector<FHostileCase> Cases;
		for (const auto& [Name, Make] : HostileObjects)
		{
			const auto ObjectOf = Make;
			Cases.push_back({ std::string("BeginBinding_") + Name + "Object", "empty token", [ObjectOf](S& Scene) { return Describe(Scene.Registry->BeginBinding(ObjectOf(Scene), Scene.Fresh)); } });
			Cases.push_back({ std::string("BeginSavedBinding_") + Name + "Object", "empty token", [ObjectOf](S& Scene) { return Describe(Scene.Registry->BeginSavedBinding(ObjectOf(Scene))); } });
			Cases.push_back({ std::string("FindIdentity_") + Name + "Object", "zero", [ObjectOf](S& Scene) { return Scene.Name(Scene.Registry->FindIdentity(ObjectOf(Scene))); } });
			Cases.push_back({ std::string("Observe_") + Name + "Consumer", "null",
				[ObjectOf](S& Scene) { return Describe(Scene.Registry->Observe(Scene.X, UObject::StaticClass(), nullptr, ObjectOf(Scene))); } });
			// An object of another world finds that world's registry; that is no refusal.
			if (std::string(Name) != "OtherWorlds")
			{
				Cases.push_back({ std::string("FromContext_") + Name + "Object", "null", [ObjectOf](S& Scene) { return Describe(UVesk_ReferenceSubsystem::FromContext(ObjectOf(Scene))); } });
			}
		}
		return Cases;
	}

	std::vector<FHostileCase> OtherCases()
	{
		return {
			{ "BeginBinding_ZeroIdentity", "empty token", [](S& Scene) { return Describe(Scene.Registry->BeginBinding(Scene.Unbound, FGuid())); } },
			{ "BeginBinding_RemovedIdentity", "empty token", [](S& Scene) { return Describe(Scene.Registry->BeginBinding(Scene.Unbound, Scene.R)); } },
			{ "BeginBinding_IdentityOfALiveProducer", "empty token", [](S& Scene) { return Describe(Scene.Registry->BeginBinding(Scene.Unbound, Scene.X)); } },
			{ "BeginBinding_ProducerBoundElsewhere", "empty token", [](S& Scene) { return Describe(Scene.Registry->BeginBinding(Scene.Producer, Scene.Fresh)); } },
			{ "BeginSavedBinding_ProducerBoundElsewhere", "empty token", [](S& Scene) { return Describe(Scene.Registry->BeginSavedBinding(Scene.Producer)); } },
			{ "Publish_WithdrawnToken", "false", [](S& Scene) { return Describe(Scene.Registry->Publish(Scene.TokW)); } },
			{ "Resolve_ZeroIdentity", "Empty generation 0", [](S& Scene) { return Describe(Scene.Registry->Resolve(FGuid(), UObject::StaticClass(), nullptr)); } },
			{ "Resolve_UnknownIdentity", "Unavailable generation 0", [](S& Scene) { return Describe(Scene.Registry->Resolve(Scene.Fresh, UObject::StaticClass(), nullptr)); } },
			{ "Resolve_NullExpectedType", "TypeMismatch generation 1", [](S& Scene) { return Describe(Scene.Registry->Resolve(Scene.X, nullptr, nullptr)); } },
			{ "Resolve_ActorAsComponentType", "TypeMismatch generation 1",
				[](S& Scene) { return Describe(Scene.Registry->Resolve(Scene.X, UObject::StaticClass(), AActor::StaticClass())); } },
			{ "Resolve_RootClassAsComponentType", "TypeMismatch generation 1",
				[](S& Scene) { return Describe(Scene.Registry->Resolve(Scene.X, UObject::StaticClass(), UObject::StaticClass())); } },
			{ "Resolve_PlainClassAsComponentType", "TypeMismatch generation 1",
				[](S& Scene) { return Describe(Scene.Registry->Resolve(Scene.X, UObject::StaticClass(), UVeskTestProducerObject::StaticClass())); } },
			{ "Resolve_ComponentOfAPlainObject", "TypeMismatch generation 3",
				[](S& Scene) { return Describe(Scene.Registry->Resolve(Scene.Z, UObject::StaticClass(), UVeskTestProducerComponent::StaticClass())); } },
			{ "Resolve_RemovedIdentityWhateverTheTypes", "Removed generation 4", [](S& Scene) { return Describe(Scene.Registry->Resolve(Scene.R, nullptr, AActor::StaticClass())); } },
			{ "Resolve_WrongExpectedTypeOfAnUnpublishedProducer", "TypeMismatch generation 2",
				[](S& Scene) { return Describe(Scene.Registry->Resolve(Scene.Y, AActor::StaticClass(), nullptr)); } },
			{ "Stop_AStoppedObservation", "inactive",
				[](S& Scene)
				{
					Scene.ObservesX->Stop();
					return std::string(Scene.ObservesX->IsActive() ? "active" : "inactive");
				},
				[](S& Scene) { Scene.ObservesX->Stop(); } },
			{ "Publish_SavedIdentityTheSaveModuleNoLongerGives", "false", [](S& Scene) { return Describe(Scene.Registry->Publish(Scene.TokZ)); },
				[](S& Scene) { UVesk_SaveSubsystem::Get()->SetGuidForObject(Scene.SavedProducer, Scene.Fresh); } },
		};
	}

	std::vector<FHostileCase> AllCases()
	{
		std::vector<FHostileCase> Cases = TokenCases();
		const std::vector<FHostileCase> Objects = ObjectCases();
		const std::vector<FHostileCase> Others = OtherCases();
		Cases.insert(Cases.end(), Objects.begin(), Objects.end());
		Cases.insert(Cases.end(), Others.begin(), Others.end());
		return Cases;
	}

	std::string CaseName(const testing::TestParamInfo<FHostileCase>& Info)
	{
		return Info.param.Name;
	}
}

INSTANTIATE_TEST_SUITE_P(EntryPoints, FReferenceHostileInputTest, testing::ValuesIn(AllCases()), CaseName);

// The same scene after its world ended: every entry point refuses, and the emptied tables stay empty.
class FReferenceTornDownInputTest : public FReferenceHostileInputTest
{
protected:
	void SetUp() override
	{
		FReferenceHostileInputTest::SetUp();
		World.Destroy();
	}
};

TEST_P(FReferenceTornDownInputTest, IsRefusedAndChangesNothing)
{
	ASSERT_TRUE(Access::IsDeinitialized(*Subsystem));
	ExpectRefusedWithoutChange();
}

INSTANTIATE_TEST_SUITE_P(EntryPoints, FReferenceTornDownInputTest,
	testing::Values(FHostileCase{ "BeginBinding", "empty token", [](S& Scene) { return Describe(Scene.Registry->BeginBinding(Scene.Unbound, Scene.Fresh)); } },
		FHostileCase{ "BeginBinding_ProducerOfALiveEntry", "empty token", [](S& Scene) { return Describe(Scene.Registry->BeginBinding(Scene.SavedProducer, Scene.Z)); } },
		FHostileCase{ "BeginSavedBinding", "empty token", [](S& Scene) { return Describe(Scene.Registry->BeginSavedBinding(Scene.SavedProducer)); } },
		FHostileCase{ "Publish", "false", [](S& Scene) { return Describe(Scene.Registry->Publish(Scene.TokZ)); } },
		FHostileCase{ "Withdraw", "false", [](S& Scene) { return Describe(Scene.Registry->Withdraw(Scene.TokW)); } },
		FHostileCase{ "RemovePermanently", "false", [](S& Scene) { return Describe(Scene.Registry->RemovePermanently(Scene.TokZ)); } },
		FHostileCase{ "IsCurrentBinding", "false", [](S& Scene) { return Describe(Scene.Registry->IsCurrentBinding(Scene.TokZ)); } },
		FHostileCase{ "FindIdentity", "zero", [](S& Scene) { return Scene.Name(Scene.Registry->FindIdentity(Scene.SavedProducer)); } },
		FHostileCase{ "Resolve", "Unavailable generation 0", [](S& Scene) { return Describe(Scene.Registry->Resolve(Scene.Z, UObject::StaticClass(), nullptr)); } },
		FHostileCase{ "Resolve_ZeroIdentity", "Empty generation 0", [](S& Scene) { return Describe(Scene.Registry->Resolve(FGuid(), UObject::StaticClass(), nullptr)); } },
		FHostileCase{ "Observe", "null", [](S& Scene) { return Describe(Scene.Registry->Observe(Scene.Z, UObject::StaticClass(), nullptr, Scene.Unbound)); } },
		FHostileCase{ "FromContext", "null", [](S& Scene) { return Describe(UVesk_ReferenceSubsystem::FromContext(Scene.Unbound)); } }),
	CaseName);

// A consumer that destroys itself from inside its own handler: the call that notified completes,
// the handlers after it on the same delegate still run, other observations are still told, and
// the observation never runs again.
enum class EConsumerKind
{
	Actor,
	Component,
	PlainObject,
};

class FReferenceSelfDestroyingConsumerTest : public FVeskReferenceTestBase, public testing::WithParamInterface<EConsumerKind>
{
protected:
	struct FSeen
	{
		int32 Calls = 0;
		EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Empty;
	};

	UVeskTestChangeListener* Listen(UVesk_ReferenceObservation* Observation, TFunction<void(int32)> OnCalled)
	{
		UVeskTestChangeListener* Listener = NewObject<UVeskTestChangeListener>(GetTransientPackage());
		Held.emplace_back(Listener);
		Listener->OnCalled = MoveTemp(OnCalled);
		Observation->OnChanged.AddDynamic(Listener, &UVeskTestChangeListener::HandleChanged);
		return Listener;
	}

	std::vector<TStrongObjectPtr<UObject>> Held;
};

TEST_P(FReferenceSelfDestroyingConsumerTest, NotifyingCallCompletesAndOthersAreStillTold)
{
	AVeskTestProducerActor* Producer = SpawnProducerActor();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(1));
	AVeskTestProducerActor* Bystander = SpawnProducerActor();
	UObject* Consumer = nullptr;
	switch (GetParam())
	{
		case EConsumerKind::Actor: Consumer = SpawnProducerActor(); break;
		case EConsumerKind::Component: Consumer = AddProducerComponent(SpawnProducerActor()); break;
		default:
			Consumer = NewProducerObject();
			Held.emplace_back(Consumer);
			break;
	}
	UVesk_ReferenceObservation* Doomed = Subsystem->Observe(MakeTestIdentity(1), UObject::StaticClass(), nullptr, Consumer);
	UVesk_ReferenceObservation* Other = Subsystem->Observe(MakeTestIdentity(1), UObject::StaticClass(), nullptr, Bystander);
	Held.emplace_back(Doomed);
	Held.emplace_back(Other);
	FSeen Destroyer;
	FSeen After;
	FSeen Bystanders;
	Listen(Doomed, [&](int32)
		{
			++Destroyer.Calls;
			Destroyer.Status = Doomed->GetStatus();
			if (AActor* Actor = Cast<AActor>(Consumer))
			{
				Actor->Destroy();
			}
			else if (UActorComponent* Component = Cast<UActorComponent>(Consumer))
			{
				Component->DestroyComponent();
			}
			else
			{
				Consumer->MarkAsGarbage();
			}
		});
	Listen(Doomed, [&](int32)
		{
			++After.Calls;
			After.Status = Doomed->GetStatus();
		});
	Listen(Other, [&](int32)
		{
			++Bystanders.Calls;
			Bystanders.Status = Other->GetStatus();
		});

	EXPECT_TRUE(Subsystem->Publish(Binding));

	EXPECT_EQ(Destroyer.Calls, 1);
	EXPECT_EQ(Destroyer.Status, EVesk_ReferenceStatus::Available);
	EXPECT_EQ(After.Calls, 1);
	EXPECT_EQ(After.Status, EVesk_ReferenceStatus::Available);
	EXPECT_EQ(Bystanders.Calls, 1);
	EXPECT_FALSE(IsValid(Consumer));
	EXPECT_FALSE(Doomed->IsActive());
	EXPECT_EQ(Doomed->GetStatus(), EVesk_ReferenceStatus::Available);
	EXPECT_EQ(Access::NumObservations(*Subsystem), 1);

	EXPECT_TRUE(Subsystem->Withdraw(Binding));
	World.Tick();
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	World.Tick();

	EXPECT_EQ(Destroyer.Calls, 1);
	EXPECT_EQ(After.Calls, 1);
	EXPECT_EQ(Bystanders.Calls, 2);
	EXPECT_EQ(Bystanders.Status, EVesk_ReferenceStatus::Unavailable);
	EXPECT_EQ(Doomed->GetStatus(), EVesk_ReferenceStatus::Available);
}

INSTANTIATE_TEST_SUITE_P(Consumers, FReferenceSelfDestroyingConsumerTest, testing::Values(EConsumerKind::Actor, EConsumerKind::Component, EConsumerKind::PlainObject),
	[](const testing::TestParamInfo<EConsumerKind>& Info)
	{
		switch (Info.param)
		{
			case EConsumerKind::Actor: return std::string("Actor");
			case EConsumerKind::Component: return std::string("Component");
			default: return std::string("PlainObject");
		}
	});
