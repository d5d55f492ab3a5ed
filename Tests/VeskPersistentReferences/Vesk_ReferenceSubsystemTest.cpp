#include "Vesk_ReferenceSubsystem.h"

#include "UObject/Class.h"
#include "UObject/StrongObjectPtr.h"
#include "VeskReferenceTestSupport.h"

#include <gtest/gtest.h>

using Access = FVesk_ReferenceSubsystemTestAccess;

class FReferenceRegistryLookupTest : public FVeskReferenceTestBase
{
};

TEST_F(FReferenceRegistryLookupTest, RefusesMissingGarbageAndWorldlessContexts)
{
	UVeskTestProducerObject* Garbage = NewProducerObject();
	Garbage->MarkAsGarbage();
	UVeskTestProducerObject* Worldless = NewObject<UVeskTestProducerObject>(GetTransientPackage());

	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(nullptr), nullptr);
	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Garbage), nullptr);
	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Worldless), nullptr);
}

TEST_F(FReferenceRegistryLookupTest, GivesOneRegistryPerWorldFromAnyObjectOfIt)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	UVeskTestProducerComponent* Component = AddProducerComponent(Actor);
	UVeskTestProducerObject* Object = NewProducerObject();
	FTestWorld OtherWorld;

	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Actor), Subsystem);
	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Component), Subsystem);
	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Object), Subsystem);
	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(World.Get()), Subsystem);
	EXPECT_EQ(UVesk_ReferenceSubsystem::FromContext(Subsystem), Subsystem);
	EXPECT_EQ(Subsystem->GetWorld(), World.Get());

	UVesk_ReferenceSubsystem* Other = UVesk_ReferenceSubsystem::FromContext(OtherWorld.Get());
	ASSERT_NE(Other, nullptr);
	EXPECT_NE(Other, Subsystem);
	EXPECT_EQ(Other->GetWorld(), OtherWorld.Get());
}

TEST_F(FReferenceRegistryLookupTest, NewRegistryStartsEmpty)
{
	EXPECT_EQ(Access::NumEntries(*Subsystem), 0);
	EXPECT_EQ(Access::NumEndedActors(*Subsystem), 0);
	EXPECT_EQ(NextGeneration(), 0);
	EXPECT_FALSE(Access::IsDeinitialized(*Subsystem));
	EXPECT_TRUE(Subsystem->IsAllowedToTick());
}

struct FWorldTypeCase
{
	EWorldType::Type Type;
	bool bHasRegistry;
};

class FReferenceRegistryWorldTypeTest : public testing::TestWithParam<FWorldTypeCase>
{
};

TEST_P(FReferenceRegistryWorldTypeTest, RegistryExistsOnlyInGameEditorAndPlayInEditorWorlds)
{
	FTestWorld TypedWorld(GetParam().Type, false);

	UVesk_ReferenceSubsystem* Found = UVesk_ReferenceSubsystem::FromContext(TypedWorld.Get());

	EXPECT_EQ(Found != nullptr, GetParam().bHasRegistry) << "world type " << static_cast<int>(GetParam().Type);
	if (Found)
	{
		EXPECT_EQ(Found->GetWorld(), TypedWorld.Get());
	}
}

INSTANTIATE_TEST_SUITE_P(WorldTypes, FReferenceRegistryWorldTypeTest, testing::Values(
	FWorldTypeCase{ EWorldType::Game, true },
	FWorldTypeCase{ EWorldType::Editor, true },
	FWorldTypeCase{ EWorldType::PIE, true },
	FWorldTypeCase{ EWorldType::EditorPreview, false },
	FWorldTypeCase{ EWorldType::GamePreview, false },
	FWorldTypeCase{ EWorldType::GameRPC, false },
	FWorldTypeCase{ EWorldType::Inactive, false }));

class FReferenceRegistryTickTest : public FVeskReferenceTestBase
{
};

TEST_F(FReferenceRegistryTickTest, CycleStatIsNamedAfterTheRegistryAndCreatedOnce)
{
	const TStatId First = Subsystem->GetStatId();
	ASSERT_TRUE(First.IsValidStat());
	EXPECT_EQ(First.GetName(), FName(TEXT("UVesk_ReferenceSubsystem")));
	EXPECT_TRUE(First == Subsystem->GetStatId());
	EXPECT_TRUE(First == UVesk_ReferenceSubsystem::StaticClass()->GetDefaultObject<UVesk_ReferenceSubsystem>()->GetStatId());
}

TEST_F(FReferenceRegistryTickTest, PrunesDestroyedEndedActorsAndChangesNothingElse)
{
	AVeskTestProducerActor* Staying = SpawnProducerActor();
	AVeskTestProducerActor* Leaving = SpawnProducerActor();
	const FGuid StayingId = MakeTestIdentity(1);
	const FGuid LeavingId = MakeTestIdentity(2);
	ASSERT_GT(Subsystem->BeginBinding(Staying, StayingId).Generation, 0);
	ASSERT_GT(Subsystem->BeginBinding(Leaving, LeavingId).Generation, 0);

	Staying->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
	Leaving->Destroy();
	ASSERT_TRUE(Access::HasEnded(*Subsystem, Staying));
	ASSERT_EQ(Access::NumEndedActors(*Subsystem), 2);

	const FEntryState StayingBefore = Entry(StayingId);
	const FEntryState LeavingBefore = Entry(LeavingId);
	const int64 GenerationBefore = NextGeneration();

	World.Tick();

	EXPECT_EQ(Access::NumEndedActors(*Subsystem), 1);
	EXPECT_TRUE(Access::HasEnded(*Subsystem, Staying));
	EXPECT_EQ(Entry(StayingId), StayingBefore);
	EXPECT_EQ(Entry(LeavingId), LeavingBefore);
	EXPECT_EQ(NextGeneration(), GenerationBefore);
	EXPECT_EQ(Access::NumEntries(*Subsystem), 2);
}

TEST_F(FReferenceRegistryTickTest, EndedActorThatStaysAliveIsKept)
{
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	ASSERT_GT(Subsystem->BeginBinding(Actor, MakeTestIdentity(1)).Generation, 0);
	Actor->RouteEndPlay(EEndPlayReason::LevelTransition);

	World.Tick();
	World.Tick();

	EXPECT_TRUE(Access::HasEnded(*Subsystem, Actor));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Actor, MakeTestIdentity(2))));
}

TEST_F(FReferenceRegistryTickTest, TickOfAnEmptyRegistryChangesNothing)
{
	World.Tick();
	World.Tick();

	EXPECT_EQ(Access::NumEntries(*Subsystem), 0);
	EXPECT_EQ(Access::NumEndedActors(*Subsystem), 0);
	EXPECT_EQ(NextGeneration(), 0);
}

TEST_F(FReferenceRegistryTickTest, TickKeepsEveryEntryWhateverItsStatus)
{
	UVeskTestProducerObject* Initializing = NewProducerObject();
	UVeskTestProducerObject* Available = NewProducerObject();
	UVeskTestProducerObject* Gone = NewProducerObject();
	Subsystem->BeginBinding(Initializing, MakeTestIdentity(1));
	ASSERT_TRUE(Subsystem->Publish(Subsystem->BeginBinding(Available, MakeTestIdentity(2))));
	ASSERT_TRUE(Subsystem->Withdraw(Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(3))));
	ASSERT_TRUE(Subsystem->RemovePermanently(Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(4))));
	ASSERT_TRUE(Subsystem->Publish(Subsystem->BeginBinding(Gone, MakeTestIdentity(5))));
	Gone->MarkAsGarbage();
	FEntryState Before[5];
	for (uint32 Index = 0; Index < 5; ++Index)
	{
		Before[Index] = Entry(MakeTestIdentity(Index + 1));
	}

	World.Tick();

	for (uint32 Index = 0; Index < 5; ++Index)
	{
		EXPECT_EQ(Entry(MakeTestIdentity(Index + 1)), Before[Index]) << "identity " << Index + 1;
	}
	EXPECT_EQ(NextGeneration(), 5);
}

class FReferenceRegistryTeardownTest : public FVeskReferenceTestBase
{
};

TEST_F(FReferenceRegistryTeardownTest, EmptiesTablesKeepsGenerationsAndStopsTicking)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	const TStrongObjectPtr<UVeskTestProducerObject> KeepObject(Object);
	const TStrongObjectPtr<UVesk_ReferenceSubsystem> KeepSubsystem(Subsystem);
	const FGuid Identity = MakeTestIdentity(1);
	const FVesk_ReferenceBinding First = Subsystem->BeginBinding(Object, Identity);
	ASSERT_TRUE(Subsystem->Publish(First));
	ASSERT_TRUE(Subsystem->Withdraw(First));
	const FVesk_ReferenceBinding Second = Subsystem->BeginBinding(Object, Identity);
	ASSERT_EQ(Second.Generation, 2);
	const FVesk_ReferenceBinding Copy = Second;
	ASSERT_TRUE(Subsystem->IsCurrentBinding(Copy));

	World.Destroy();

	EXPECT_TRUE(Access::IsDeinitialized(*Subsystem));
	EXPECT_EQ(Access::NumEntries(*Subsystem), 0);
	EXPECT_EQ(NextGeneration(), 2);
	EXPECT_FALSE(Subsystem->IsAllowedToTick());

	EXPECT_FALSE(Subsystem->IsCurrentBinding(Second));
	EXPECT_FALSE(Subsystem->IsCurrentBinding(Copy));
	EXPECT_FALSE(Subsystem->Publish(Second));
	EXPECT_FALSE(Subsystem->Withdraw(Second));
	EXPECT_FALSE(Subsystem->RemovePermanently(Second));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Object, Identity)));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginBinding(Object, MakeTestIdentity(2))));
	EXPECT_TRUE(IsEmptyToken(Subsystem->BeginSavedBinding(Object)));
	EXPECT_FALSE(Subsystem->FindIdentity(Object).IsValid());
	EXPECT_EQ(Access::NumEntries(*Subsystem), 0);
	EXPECT_EQ(NextGeneration(), 2);
}

TEST_F(FReferenceRegistryTeardownTest, KeepsEndedActorsAndNotifies)
{
	const TStrongObjectPtr<UVesk_ReferenceSubsystem> KeepSubsystem(Subsystem);
	AVeskTestProducerActor* Ended = SpawnProducerActor();
	ASSERT_GT(Subsystem->BeginBinding(Ended, MakeTestIdentity(1)).Generation, 0);
	Ended->RouteEndPlay(EEndPlayReason::LevelTransition);
	ASSERT_EQ(Access::NumEndedActors(*Subsystem), 1);

	// A plain object is never released by end of play: only the final pass can tell its observer.
	const TStrongObjectPtr<UVeskTestProducerObject> Plain(NewProducerObject());
	ASSERT_TRUE(Subsystem->Publish(Subsystem->BeginBinding(Plain.Get(), MakeTestIdentity(2))));
	const FObserved Observed = ObserveWithListener(MakeTestIdentity(2), Plain.Get());

	World.Destroy();

	EXPECT_EQ(Observed.Seen(), TArray<EVesk_ReferenceStatus>({ EVesk_ReferenceStatus::Unavailable }));

	EXPECT_TRUE(Access::IsDeinitialized(*Subsystem));
	EXPECT_EQ(Access::NumEndedActors(*Subsystem), 1);
}

TEST_F(FReferenceRegistryTeardownTest, LateEndOfPlayIsStillRecorded)
{
	const TStrongObjectPtr<UVesk_ReferenceSubsystem> KeepSubsystem(Subsystem);
	AVeskTestProducerActor* Actor = SpawnProducerActor();
	const TStrongObjectPtr<AVeskTestProducerActor> KeepActor(Actor);
	World.Destroy();
	const int32 EndedBefore = Access::NumEndedActors(*Subsystem);

	Access::ActorEndPlay(*Subsystem, Actor, EEndPlayReason::Quit);

	EXPECT_EQ(Access::NumEndedActors(*Subsystem), EndedBefore + 1);
	EXPECT_EQ(Access::NumEntries(*Subsystem), 0);
}

class FReferenceRegistryReflectionTest : public FVeskReferenceTestBase
{
};

TEST_F(FReferenceRegistryReflectionTest, ClassCarriesItsTooltipAndScriptEntries)
{
	const UClass* Class = UVesk_ReferenceSubsystem::StaticClass();

	EXPECT_EQ(Class->GetMetaData(TEXT("ToolTip")), FString(TEXT("Availability index only. Producers own data and persistence, and explicitly commit restored bindings.")));
	EXPECT_TRUE(Class->IsChildOf(UTickableWorldSubsystem::StaticClass()));
	for (const TCHAR* Name : { TEXT("BeginBinding"), TEXT("BeginSavedBinding"), TEXT("Publish"), TEXT("Withdraw"), TEXT("RemovePermanently") })
	{
		const UFunction* Function = Subsystem->FindFunction(FName(Name));
		ASSERT_NE(Function, nullptr) << Utf8(Name);
		EXPECT_TRUE(Function->HasMetaData(TEXT("ScriptCallable"))) << Utf8(Name);
		EXPECT_FALSE(Function->HasAnyFunctionFlags(FUNC_BlueprintCallable | FUNC_BlueprintPure)) << Utf8(Name);
	}
	// Bound by name to the producer actors' end-of-play delegate, so it must be found, yet scripts
	// have no business calling it.
	const UFunction* EndPlayHandler = Subsystem->FindFunction(TEXT("OnActorEndPlay"));
	ASSERT_NE(EndPlayHandler, nullptr);
	EXPECT_FALSE(EndPlayHandler->HasMetaData(TEXT("ScriptCallable")));
	EXPECT_EQ(Subsystem->FindFunction(TEXT("FindIdentity")), nullptr);
	EXPECT_EQ(Subsystem->FindFunction(TEXT("IsCurrentBinding")), nullptr);
}

namespace
{
	struct FScriptParameter
	{
		const TCHAR* Name;
		FFieldClass* Type;
		bool bConstReference;
	};

	struct FScriptFunction
	{
		const TCHAR* Name;
		bool bScriptCallable;
		TArray<FScriptParameter> Parameters;
	};
}

TEST_F(FReferenceRegistryReflectionTest, ScriptSurfaceListsEveryParameterInOrder)
{
	const FScriptParameter Binding{ TEXT("Binding"), FStructProperty::StaticClass(), true };
	const FScriptParameter Accepted{ TEXT("ReturnValue"), FBoolProperty::StaticClass(), false };
	const FScriptParameter Token{ TEXT("ReturnValue"), FStructProperty::StaticClass(), false };
	const FScriptParameter Object{ TEXT("Object"), FObjectProperty::StaticClass(), false };
	const TArray<FScriptFunction> Functions = {
		{ TEXT("BeginBinding"), true, { Object, { TEXT("Identity"), FStructProperty::StaticClass(), false }, Token } },
		{ TEXT("BeginSavedBinding"), true, { Object, Token } },
		{ TEXT("Publish"), true, { Binding, Accepted } },
		{ TEXT("Withdraw"), true, { Binding, Accepted } },
		{ TEXT("RemovePermanently"), true, { Binding, Accepted } },
		{ TEXT("OnActorEndPlay"), false, { { TEXT("Actor"), FObjectProperty::StaticClass(), false }, { TEXT("Reason"), FByteProperty::StaticClass(), false } } },
	};

	for (const FScriptFunction& Expected : Functions)
	{
		SCOPED_TRACE(Utf8(Expected.Name));
		const UFunction* Function = UVesk_ReferenceSubsystem::StaticClass()->FindFunctionByName(FName(Expected.Name));
		ASSERT_NE(Function, nullptr);
		EXPECT_TRUE(Function->HasAllFunctionFlags(FUNC_Native | FUNC_Final));
		EXPECT_FALSE(Function->HasAnyFunctionFlags(FUNC_BlueprintCallable | FUNC_BlueprintPure));
		EXPECT_EQ(Function->HasAnyFunctionFlags(FUNC_Public), Expected.bScriptCallable);
		EXPECT_EQ(Function->HasMetaData(TEXT("ScriptCallable")), Expected.bScriptCallable);
		if (Expected.bScriptCallable)
		{
			EXPECT_EQ(Function->GetMetaData(TEXT("ScriptCallable")), FString());
		}
		EXPECT_TRUE(Function->HasMetaData(TEXT("ModuleRelativePath")));
		EXPECT_FALSE(Function->HasMetaData(TEXT("Category")));
		EXPECT_FALSE(Function->HasMetaData(TEXT("ToolTip")));
		EXPECT_NE(UVesk_ReferenceSubsystem::StaticClass()->FindNativeFunction(FName(Expected.Name)), nullptr);

		int32 Index = 0;
		for (TFieldIterator<FProperty> It(Function); It; ++It, ++Index)
		{
			ASSERT_LT(Index, Expected.Parameters.Num());
			const FScriptParameter& Parameter = Expected.Parameters[Index];
			EXPECT_EQ(It->GetFName(), FName(Parameter.Name));
			EXPECT_TRUE(It->IsA(Parameter.Type)) << Utf8(It->GetName());
			EXPECT_EQ(It->HasAllPropertyFlags(CPF_ConstParm | CPF_ReferenceParm), Parameter.bConstReference);
			EXPECT_EQ(It->HasMetaData(TEXT("NativeConst")), Parameter.bConstReference);
			EXPECT_EQ(It->HasAnyPropertyFlags(CPF_ReturnParm), FName(Parameter.Name) == FName(TEXT("ReturnValue")));
		}
		EXPECT_EQ(Index, Expected.Parameters.Num());
	}
}

// A script caller reaches the same operation as native code, checks and notification included.
TEST_F(FReferenceRegistryReflectionTest, ScriptEntriesRunTheNativeOperations)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	UFunction* BeginBinding = Subsystem->FindFunctionChecked(TEXT("BeginBinding"));
	TArray<uint8> BindParms;
	BindParms.SetNumZeroed(BeginBinding->ParmsSize);
	*BeginBinding->FindPropertyByName(TEXT("Object"))->ContainerPtrToValuePtr<UObject*>(BindParms.GetData()) = Object;
	*BeginBinding->FindPropertyByName(TEXT("Identity"))->ContainerPtrToValuePtr<FGuid>(BindParms.GetData()) = MakeTestIdentity(7);
	Subsystem->ProcessEvent(BeginBinding, BindParms.GetData());
	const FVesk_ReferenceBinding Token = *BeginBinding->FindPropertyByName(TEXT("ReturnValue"))->ContainerPtrToValuePtr<FVesk_ReferenceBinding>(BindParms.GetData());
	EXPECT_EQ(Token.Id, MakeTestIdentity(7));
	EXPECT_EQ(Token.Generation, 1);
	EXPECT_TRUE(Subsystem->IsCurrentBinding(Token));

	UFunction* Publish = Subsystem->FindFunctionChecked(TEXT("Publish"));
	TArray<uint8> PublishParms;
	PublishParms.SetNumZeroed(Publish->ParmsSize);
	*Publish->FindPropertyByName(TEXT("Binding"))->ContainerPtrToValuePtr<FVesk_ReferenceBinding>(PublishParms.GetData()) = Token;
	Subsystem->ProcessEvent(Publish, PublishParms.GetData());
	EXPECT_TRUE(*Publish->FindPropertyByName(TEXT("ReturnValue"))->ContainerPtrToValuePtr<bool>(PublishParms.GetData()));
	EXPECT_EQ(Entry(Token.Id).Status, EVesk_ReferenceStatus::Available);
}
