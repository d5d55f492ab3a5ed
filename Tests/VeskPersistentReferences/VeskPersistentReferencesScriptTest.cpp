// The module as script code meets it: every reflected function called through ProcessEvent or
// through a script frame, the binding token's fields, the persistent reference in save games, and
// the assignable change delegate.

#include "Serialization/MemoryReader.h"
#include "Serialization/MemoryWriter.h"
#include "UObject/Script.h"
#include "UObject/Stack.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UnrealType.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceSubsystem.h"
#include "Vesk_SaveSubsystem.h"
#include "VeskReferenceTestSupport.h"
#include "VeskScriptTestObjects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
	// A parameter block laid out by the function's own properties, as a script caller builds it.
	class FScriptCall
	{
	public:
		FScriptCall(UObject* InTarget, const TCHAR* FunctionName)
			: Target(InTarget)
			, Function(InTarget->FindFunctionChecked(FName(FunctionName)))
		{
			Block.SetNumZeroed(FMath::Max<int32>(Function->ParmsSize, 1));
		}

		template<typename T>
		T& Parm(const TCHAR* Name)
		{
			FProperty* Property = Function->FindPropertyByName(FName(Name));
			check(Property);
			return *Property->ContainerPtrToValuePtr<T>(Block.GetData());
		}

		FProperty* Property(const TCHAR* Name) const
		{
			return Function->FindPropertyByName(FName(Name));
		}

		void ProcessEvent()
		{
			Target->ProcessEvent(Function, Block.GetData());
		}

		UObject* Target;
		UFunction* Function;
		TArray<uint8> Block;
	};

	// The bytecode of a call's arguments, as a compiled script passes them to a native entry.
	class FArgumentCode
	{
	public:
		// A variable of the caller: the entry may take its address.
		FArgumentCode& Variable(FProperty* Property)
		{
			Code.push_back(EX_LocalVariable);
			Append(&Property, sizeof(Property));
			return *this;
		}

		// A constant: it has no address a callee could keep, so the entry gets a copy.
		FArgumentCode& StructConstant(UScriptStruct* Struct, const void* Value)
		{
			Code.push_back(EX_StructConst);
			Append(&Struct, sizeof(Struct));
			Append(&Value, sizeof(Value));
			return *this;
		}

		uint8* Finish()
		{
			Code.push_back(EX_EndFunctionParms);
			return Code.data();
		}

		const uint8* End() const
		{
			return Code.data() + Code.size();
		}

	private:
		void Append(const void* Data, size_t Size)
		{
			const uint8* Bytes = static_cast<const uint8*>(Data);
			Code.insert(Code.end(), Bytes, Bytes + Size);
		}

		std::vector<uint8> Code;
	};

	constexpr uint8 UnwrittenByte = 0xAB;
}

class FScriptCallTest : public FVeskReferenceTestBase
{
protected:
	FVesk_ReferenceBinding ScriptBeginBinding(UObject* Producer, const FGuid& Identity)
	{
		FScriptCall Call(Subsystem, TEXT("BeginBinding"));
		Call.Parm<UObject*>(TEXT("Object")) = Producer;
		Call.Parm<FGuid>(TEXT("Identity")) = Identity;
		Call.ProcessEvent();
		return Call.Parm<FVesk_ReferenceBinding>(TEXT("ReturnValue"));
	}

	// The result byte of a bool function, which the entry must overwrite whatever was there.
	uint8 ScriptRelease(const TCHAR* FunctionName, const FVesk_ReferenceBinding& Binding)
	{
		FScriptCall Call(Subsystem, FunctionName);
		Call.Parm<FVesk_ReferenceBinding>(TEXT("Binding")) = Binding;
		Call.Parm<uint8>(TEXT("ReturnValue")) = UnwrittenByte;
		Call.ProcessEvent();
		return Call.Parm<uint8>(TEXT("ReturnValue"));
	}

	static uint8 ScriptGetStatus(UVesk_ReferenceObservation* Observation)
	{
		FScriptCall Call(Observation, TEXT("GetStatus"));
		Call.Parm<uint8>(TEXT("ReturnValue")) = UnwrittenByte;
		Call.ProcessEvent();
		return Call.Parm<uint8>(TEXT("ReturnValue"));
	}

	static uint8 ScriptIsActive(UVesk_ReferenceObservation* Observation)
	{
		FScriptCall Call(Observation, TEXT("IsActive"));
		Call.Parm<uint8>(TEXT("ReturnValue")) = UnwrittenByte;
		Call.ProcessEvent();
		return Call.Parm<uint8>(TEXT("ReturnValue"));
	}

	// A published identity and an observation of it by a plain object of the world.
	UVesk_ReferenceObservation* ObservePublished(UVeskTestProducerObject*& OutProducer, const FGuid& Identity)
	{
		OutProducer = NewProducerObject();
		PublishedBinding = Subsystem->BeginBinding(OutProducer, Identity);
		EXPECT_TRUE(Subsystem->Publish(PublishedBinding));
		Consumer.Reset(NewProducerObject());
		UVesk_ReferenceObservation* Observation = Subsystem->Observe(Identity, UVeskTestProducerObject::StaticClass(), nullptr, Consumer.Get());
		EXPECT_NE(Observation, nullptr);
		KeptObservation.Reset(Observation);
		return Observation;
	}

	FVesk_ReferenceBinding PublishedBinding;
	TStrongObjectPtr<UVeskTestProducerObject> Consumer;
	TStrongObjectPtr<UVesk_ReferenceObservation> KeptObservation;
};

// A script caller reaches the same operations as native code, checks and notification included.
TEST_F(FScriptCallTest, BeginBindingReturnsTheWholeTokenOfTheNativeOperation)
{
	UVeskTestProducerObject* Object = NewProducerObject();

	const FVesk_ReferenceBinding Token = ScriptBeginBinding(Object, MakeTestIdentity(7));

	EXPECT_EQ(Token.Id, MakeTestIdentity(7));
	EXPECT_EQ(Token.Generation, 1);
	EXPECT_EQ(Token.World.Get(), World.Get());
	EXPECT_TRUE(Subsystem->IsCurrentBinding(Token));
	EXPECT_EQ(Entry(Token.Id).Status, EVesk_ReferenceStatus::Initializing);
	EXPECT_EQ(Entry(Token.Id).Object, Object);
	EXPECT_TRUE(IsEmptyToken(ScriptBeginBinding(nullptr, MakeTestIdentity(8))));
}

TEST_F(FScriptCallTest, BeginSavedBindingTakesTheSaveModulesIdentity)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	FScriptCall Call(Subsystem, TEXT("BeginSavedBinding"));
	Call.Parm<UObject*>(TEXT("Object")) = Object;

	Call.ProcessEvent();

	const FVesk_ReferenceBinding& Token = Call.Parm<FVesk_ReferenceBinding>(TEXT("ReturnValue"));
	EXPECT_EQ(Token.Id, UVesk_SaveSubsystem::Get()->FindOrAddGuidByObject(Object));
	EXPECT_EQ(Token.Generation, 1);
	EXPECT_TRUE(Subsystem->IsCurrentBinding(Token));
	EXPECT_TRUE(Entry(Token.Id).bSaved);
}

TEST_F(FScriptCallTest, PublishWithdrawAndRemovePermanentlyAnswerInOneResultByte)
{
	const FVesk_ReferenceBinding First = ScriptBeginBinding(NewProducerObject(), MakeTestIdentity(1));

	EXPECT_EQ(ScriptRelease(TEXT("Publish"), First), 1);
	EXPECT_EQ(Entry(First.Id).Status, EVesk_ReferenceStatus::Available);
	EXPECT_EQ(ScriptRelease(TEXT("Withdraw"), First), 1);
	EXPECT_EQ(Entry(First.Id).Status, EVesk_ReferenceStatus::Unavailable);
	EXPECT_EQ(ScriptRelease(TEXT("Publish"), First), 0);

	const FVesk_ReferenceBinding Second = ScriptBeginBinding(NewProducerObject(), MakeTestIdentity(1));
	EXPECT_EQ(ScriptRelease(TEXT("Withdraw"), First), 0);
	EXPECT_EQ(ScriptRelease(TEXT("RemovePermanently"), Second), 1);
	EXPECT_EQ(Entry(Second.Id).Status, EVesk_ReferenceStatus::Removed);
	EXPECT_EQ(ScriptRelease(TEXT("RemovePermanently"), Second), 0);
	EXPECT_EQ(ScriptRelease(TEXT("Withdraw"), FVesk_ReferenceBinding()), 0);
}

TEST_F(FScriptCallTest, ObservationAnswersGetStatusAndIsActiveAndStops)
{
	UVeskTestProducerObject* Producer = nullptr;
	UVesk_ReferenceObservation* Observation = ObservePublished(Producer, MakeTestIdentity(3));
	const TStrongObjectPtr<UVeskScriptTestListener> Listener(NewObject<UVeskScriptTestListener>());
	Observation->OnChanged.AddDynamic(Listener.Get(), &UVeskScriptTestListener::HandleChanged);

	EXPECT_EQ(ScriptGetStatus(Observation), uint8(EVesk_ReferenceStatus::Available));
	EXPECT_EQ(ScriptIsActive(Observation), 1);

	FScriptCall Stop(Observation, TEXT("Stop"));
	Stop.ProcessEvent();

	EXPECT_EQ(ScriptIsActive(Observation), 0);
	EXPECT_FALSE(Observation->OnChanged.IsBound());
	// A stopped observation keeps the last status it saw.
	EXPECT_EQ(ScriptGetStatus(Observation), uint8(EVesk_ReferenceStatus::Available));
	Stop.ProcessEvent();
	EXPECT_EQ(ScriptIsActive(Observation), 0);
}

// Not for scripts, but the actors' end-of-play delegates call them by name through the same path.
TEST_F(FScriptCallTest, EndOfPlayHandlersRunWhenCalledByName)
{
	AVeskTestProducerActor* Producer = SpawnProducerActor();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(4));
	ASSERT_TRUE(Subsystem->Publish(Binding));

	FScriptCall ActorEndPlay(Subsystem, TEXT("OnActorEndPlay"));
	ActorEndPlay.Parm<UObject*>(TEXT("Actor")) = Producer;
	ActorEndPlay.Parm<uint8>(TEXT("Reason")) = uint8(EEndPlayReason::RemovedFromWorld);
	ActorEndPlay.ProcessEvent();
	EXPECT_EQ(Entry(Binding.Id).Status, EVesk_ReferenceStatus::Unavailable);

	AVeskTestProducerActor* ConsumerActor = SpawnProducerActor();
	UVesk_ReferenceObservation* Observation = Subsystem->Observe(MakeTestIdentity(4), AVeskTestProducerActor::StaticClass(), nullptr, ConsumerActor);
	ASSERT_NE(Observation, nullptr);
	const TStrongObjectPtr<UVesk_ReferenceObservation> Keep(Observation);
	ASSERT_TRUE(Observation->IsActive());
	FScriptCall ConsumerEndPlay(Observation, TEXT("OnConsumerEndPlay"));
	ConsumerEndPlay.Parm<UObject*>(TEXT("Actor")) = ConsumerActor;
	ConsumerEndPlay.Parm<uint8>(TEXT("Reason")) = uint8(EEndPlayReason::Destroyed);
	ConsumerEndPlay.ProcessEvent();
	EXPECT_FALSE(Observation->IsActive());
}

class FScriptCallDeathTest : public FVeskReferenceTestBase
{
};

TEST_F(FScriptCallDeathTest, BindingFromScriptOffTheGameThreadIsFatal)
{
	UVeskTestProducerObject* Object = NewProducerObject();
	UVesk_SaveSubsystem::Get();
	FScriptCall Explicit(Subsystem, TEXT("BeginBinding"));
	Explicit.Parm<UObject*>(TEXT("Object")) = Object;
	Explicit.Parm<FGuid>(TEXT("Identity")) = MakeTestIdentity(1);
	FScriptCall Saved(Subsystem, TEXT("BeginSavedBinding"));
	Saved.Parm<UObject*>(TEXT("Object")) = Object;

	EXPECT_DEATH(RunOffGameThread([&] { Explicit.ProcessEvent(); }), GameThreadCheckPattern());
	EXPECT_DEATH(RunOffGameThread([&] { Saved.ProcessEvent(); }), GameThreadCheckPattern());
}

TEST_F(FScriptCallDeathTest, ReleasingFromScriptOffTheGameThreadIsFatal)
{
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(1));
	for (const TCHAR* Name : { TEXT("Publish"), TEXT("Withdraw"), TEXT("RemovePermanently") })
	{
		FScriptCall Call(Subsystem, Name);
		Call.Parm<FVesk_ReferenceBinding>(TEXT("Binding")) = Binding;
		EXPECT_DEATH(RunOffGameThread([&] { Call.ProcessEvent(); }), GameThreadCheckPattern()) << Utf8(Name);
	}
}

// A binding passed by a script variable is that variable, not a copy of it.

class FScriptBindingVariableTest : public FVeskReferenceTestBase
{
protected:
	// A saved binding: publishing it asks the save module for the producer's identity again, and
	// that asks the producer for its world, in the middle of the publication.
	FVesk_ReferenceBinding BeginHookedBinding()
	{
		Producer = NewObject<UVeskTestWorldHookedObject>(World.Get());
		const FVesk_ReferenceBinding Binding = Subsystem->BeginSavedBinding(Producer);
		EXPECT_GT(Binding.Generation, 0);
		return Binding;
	}

	UVeskTestWorldHookedObject* Producer = nullptr;
};

TEST_F(FScriptBindingVariableTest, PublishReadsTheCallersVariableItselfThroughoutTheCall)
{
	const FVesk_ReferenceBinding Binding = BeginHookedBinding();
	UFunction* Publish = Subsystem->FindFunctionChecked(TEXT("Publish"));
	FProperty* BindingProperty = Publish->FindPropertyByName(TEXT("Binding"));
	TArray<uint8> Locals;
	Locals.SetNumZeroed(Publish->ParmsSize);
	FVesk_ReferenceBinding& Variable = *BindingProperty->ContainerPtrToValuePtr<FVesk_ReferenceBinding>(Locals.GetData());
	Variable = Binding;
	// The caller's variable changes while the operation runs; only the variable itself shows that.
	Producer->GetWorldHook = [&Variable] { Variable.Id = MakeTestIdentity(99); };

	FArgumentCode Arguments;
	FFrame Stack(Subsystem, Publish, Locals.GetData());
	Stack.Code = Arguments.Variable(BindingProperty).Finish();
	bool bPublished = true;
	Publish->GetNativeFunc()(Subsystem, Stack, &bPublished);

	EXPECT_FALSE(bPublished);
	EXPECT_EQ(Entry(Binding.Id).Status, EVesk_ReferenceStatus::Initializing);
	EXPECT_EQ(Stack.Code, Arguments.End());
}

TEST_F(FScriptBindingVariableTest, PublishGivenAConstantWorksOnItsOwnCopy)
{
	FVesk_ReferenceBinding Constant = BeginHookedBinding();
	const FGuid Identity = Constant.Id;
	UFunction* Publish = Subsystem->FindFunctionChecked(TEXT("Publish"));
	TArray<uint8> Locals;
	Locals.SetNumZeroed(Publish->ParmsSize);
	Producer->GetWorldHook = [&Constant] { Constant.Id = MakeTestIdentity(99); };

	FArgumentCode Arguments;
	FFrame Stack(Subsystem, Publish, Locals.GetData());
	Stack.Code = Arguments.StructConstant(FVesk_ReferenceBinding::StaticStruct(), &Constant).Finish();
	bool bPublished = false;
	Publish->GetNativeFunc()(Subsystem, Stack, &bPublished);

	EXPECT_TRUE(bPublished);
	EXPECT_EQ(Entry(Identity).Status, EVesk_ReferenceStatus::Available);
	EXPECT_EQ(Stack.Code, Arguments.End());
}

TEST_F(FScriptBindingVariableTest, ProcessEventPassesTheParameterBlocksOwnSlot)
{
	const FVesk_ReferenceBinding Binding = BeginHookedBinding();
	FScriptCall Call(Subsystem, TEXT("Publish"));
	FVesk_ReferenceBinding& Slot = Call.Parm<FVesk_ReferenceBinding>(TEXT("Binding"));
	Slot = Binding;
	Producer->GetWorldHook = [&Slot] { Slot.Id = MakeTestIdentity(99); };

	Call.ProcessEvent();

	EXPECT_FALSE(Call.Parm<bool>(TEXT("ReturnValue")));
	EXPECT_EQ(Entry(Binding.Id).Status, EVesk_ReferenceStatus::Initializing);
}

TEST_F(FScriptBindingVariableTest, WithdrawAndRemovePermanentlyTakeTheVariableByAddress)
{
	for (const TCHAR* Name : { TEXT("Withdraw"), TEXT("RemovePermanently") })
	{
		SCOPED_TRACE(Utf8(Name));
		const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(Name[0]));
		UFunction* Function = Subsystem->FindFunctionChecked(FName(Name));
		FProperty* BindingProperty = Function->FindPropertyByName(TEXT("Binding"));
		TArray<uint8> Locals;
		Locals.SetNumZeroed(Function->ParmsSize);
		FVesk_ReferenceBinding& Variable = *BindingProperty->ContainerPtrToValuePtr<FVesk_ReferenceBinding>(Locals.GetData());
		Variable = Binding;

		FArgumentCode Arguments;
		FFrame Stack(Subsystem, Function, Locals.GetData());
		Stack.Code = Arguments.Variable(BindingProperty).Finish();
		bool bReleased = false;
		Function->GetNativeFunc()(Subsystem, Stack, &bReleased);

		EXPECT_TRUE(bReleased);
		EXPECT_EQ(Stack.MostRecentPropertyAddress, reinterpret_cast<uint8*>(&Variable));
		EXPECT_EQ(Stack.MostRecentProperty, BindingProperty);
		EXPECT_NE(Entry(Binding.Id).Status, EVesk_ReferenceStatus::Initializing);
		EXPECT_EQ(Stack.Code, Arguments.End());
	}
}

// GetStatus reads what the latest refresh stored.

class FScriptGetStatusTest : public FScriptCallTest
{
};

TEST_F(FScriptGetStatusTest, ReturnsTheStoredStatusWithoutRefreshing)
{
	UVeskTestProducerObject* Producer = nullptr;
	UVesk_ReferenceObservation* Observation = ObservePublished(Producer, MakeTestIdentity(5));
	ASSERT_EQ(ScriptGetStatus(Observation), uint8(EVesk_ReferenceStatus::Available));

	// The registry is not told; only the next refresh would see it.
	Producer->MarkAsGarbage();
	ASSERT_EQ(Subsystem->Resolve(MakeTestIdentity(5), UVeskTestProducerObject::StaticClass(), nullptr).Status, EVesk_ReferenceStatus::Unavailable);

	EXPECT_EQ(ScriptGetStatus(Observation), uint8(EVesk_ReferenceStatus::Available));
	EXPECT_EQ(ScriptGetStatus(Observation), uint8(EVesk_ReferenceStatus::Available));

	World.Tick();
	EXPECT_EQ(ScriptGetStatus(Observation), uint8(EVesk_ReferenceStatus::Unavailable));
}

// What scripts see of the two structures.

class FScriptStructFieldsTest : public FVeskReferenceTestBase
{
};

TEST_F(FScriptStructFieldsTest, BindingIdAndGenerationAreReadableButNotWritableFromScript)
{
	const FVesk_ReferenceBinding Token = Subsystem->BeginBinding(NewProducerObject(), MakeTestIdentity(6));
	const UScriptStruct* Struct = FVesk_ReferenceBinding::StaticStruct();

	const FProperty* Id = Struct->FindPropertyByName(TEXT("Id"));
	const FProperty* Generation = Struct->FindPropertyByName(TEXT("Generation"));
	ASSERT_NE(Id, nullptr);
	ASSERT_NE(Generation, nullptr);
	EXPECT_EQ(*Id->ContainerPtrToValuePtr<FGuid>(&Token), MakeTestIdentity(6));
	EXPECT_EQ(*Generation->ContainerPtrToValuePtr<int64>(&Token), 1);
	for (const FProperty* Property : { Id, Generation })
	{
		// Script compilers offer a getter for a visible property and a setter only when it is not
		// read-only.
		EXPECT_TRUE(Property->HasAnyPropertyFlags(CPF_BlueprintVisible)) << Utf8(Property->GetName());
		EXPECT_TRUE(Property->HasAnyPropertyFlags(CPF_BlueprintReadOnly)) << Utf8(Property->GetName());
		EXPECT_FALSE(Property->HasAnyPropertyFlags(CPF_Edit)) << Utf8(Property->GetName());
	}
	// The world stays out of reach: scripts can neither read nor forge it.
	EXPECT_EQ(Struct->FindPropertyByName(TEXT("World")), nullptr);
}

TEST_F(FScriptStructFieldsTest, PersistentReferenceIdIsHiddenFromScriptYetWrittenBySaveGames)
{
	const FProperty* Id = FVesk_PersistentReference::StaticStruct()->FindPropertyByName(TEXT("Id"));
	ASSERT_NE(Id, nullptr);
	EXPECT_FALSE(Id->HasAnyPropertyFlags(CPF_BlueprintVisible | CPF_BlueprintReadOnly | CPF_Edit));
	EXPECT_TRUE(Id->HasAnyPropertyFlags(CPF_SaveGame));

	FVesk_PersistentReference Saved;
	Saved.Id = MakeTestIdentity(7);
	TArray<uint8> Bytes;
	FMemoryWriter Writer(Bytes, true);
	Writer.ArIsSaveGame = true;
	FVesk_PersistentReference::StaticStruct()->SerializeItem(Writer, &Saved, nullptr);

	FVesk_PersistentReference Loaded;
	FMemoryReader Reader(Bytes, true);
	Reader.ArIsSaveGame = true;
	FVesk_PersistentReference::StaticStruct()->SerializeItem(Reader, &Loaded, nullptr);
	EXPECT_FALSE(Reader.IsError());
	EXPECT_EQ(Loaded.Id, MakeTestIdentity(7));

	// A token's identity is not marked for save games, so the same archive leaves it behind.
	FVesk_ReferenceBinding Token;
	Token.Id = MakeTestIdentity(7);
	TArray<uint8> TokenBytes;
	FMemoryWriter TokenWriter(TokenBytes, true);
	TokenWriter.ArIsSaveGame = true;
	FVesk_ReferenceBinding::StaticStruct()->SerializeItem(TokenWriter, &Token, nullptr);
	FVesk_ReferenceBinding LoadedToken;
	FMemoryReader TokenReader(TokenBytes, true);
	TokenReader.ArIsSaveGame = true;
	FVesk_ReferenceBinding::StaticStruct()->SerializeItem(TokenReader, &LoadedToken, nullptr);
	EXPECT_FALSE(LoadedToken.Id.IsValid());
}

// OnChanged as scripts use it.

class FScriptOnChangedTest : public FScriptCallTest
{
protected:
	static FScriptDelegate HandlerOf(UVeskScriptTestListener* Listener)
	{
		FScriptDelegate Delegate;
		Delegate.BindUFunction(Listener, TEXT("HandleChanged"));
		return Delegate;
	}
};

TEST_F(FScriptOnChangedTest, ScriptBindsAHandlerThroughTheAssignableProperty)
{
	UVeskTestProducerObject* Producer = NewProducerObject();
	const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Producer, MakeTestIdentity(8));
	Consumer.Reset(NewProducerObject());
	UVesk_ReferenceObservation* Observation = Subsystem->Observe(MakeTestIdentity(8), UVeskTestProducerObject::StaticClass(), nullptr, Consumer.Get());
	ASSERT_NE(Observation, nullptr);
	KeptObservation.Reset(Observation);
	const TStrongObjectPtr<UVeskScriptTestListener> Listener(NewObject<UVeskScriptTestListener>());
	uint8 StatusSeen = UnwrittenByte;
	Listener->DuringHandle = [&] { StatusSeen = ScriptGetStatus(Observation); };

	FMulticastDelegateProperty* OnChanged = CastField<FMulticastDelegateProperty>(UVesk_ReferenceObservation::StaticClass()->FindPropertyByName(TEXT("OnChanged")));
	ASSERT_NE(OnChanged, nullptr);
	ASSERT_TRUE(OnChanged->HasAnyPropertyFlags(CPF_BlueprintAssignable));
	OnChanged->AddDelegate(HandlerOf(Listener.Get()), Observation);
	EXPECT_TRUE(Observation->OnChanged.IsBound());
	EXPECT_EQ(OnChanged->GetMulticastDelegate(&Observation->OnChanged)->Num(), 1);

	ASSERT_TRUE(Subsystem->Publish(Binding));

	EXPECT_EQ(Listener->NumHandled, 1);
	EXPECT_EQ(StatusSeen, uint8(EVesk_ReferenceStatus::Available));

	OnChanged->RemoveDelegate(HandlerOf(Listener.Get()), Observation);
	ASSERT_TRUE(Subsystem->Withdraw(Binding));
	EXPECT_EQ(Listener->NumHandled, 1);
}

TEST_F(FScriptOnChangedTest, BroadcastCarriesNoArguments)
{
	UVeskTestProducerObject* Producer = nullptr;
	UVesk_ReferenceObservation* Observation = ObservePublished(Producer, MakeTestIdentity(9));
	const TStrongObjectPtr<UVeskScriptTestListener> Listener(NewObject<UVeskScriptTestListener>());
	FMulticastDelegateProperty* OnChanged = CastField<FMulticastDelegateProperty>(UVesk_ReferenceObservation::StaticClass()->FindPropertyByName(TEXT("OnChanged")));
	ASSERT_NE(OnChanged, nullptr);
	OnChanged->AddDelegate(HandlerOf(Listener.Get()), Observation);

	ASSERT_TRUE(Subsystem->Withdraw(PublishedBinding));
	ASSERT_TRUE(Subsystem->Publish(Subsystem->BeginBinding(Producer, MakeTestIdentity(9))));

	// Unavailable, Initializing, Available: one broadcast for each.
	ASSERT_EQ(Listener->Calls.Num(), 3);
	for (const UVeskScriptTestListener::FCall& Call : Listener->Calls)
	{
		EXPECT_EQ(Call.Function, FName(TEXT("HandleChanged")));
		EXPECT_EQ(Call.Parms, nullptr);
	}
	EXPECT_EQ(OnChanged->SignatureFunction->NumParms, 0);
}
