#include "Vesk_ReferenceSubsystem.h"

#include "Vesk_SaveSubsystem.h"
#include "VeskReferenceTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using Access = FVesk_ReferenceSubsystemTestAccess;

// Drives the registry with seeded random sequences of producer and engine events and compares every
// result, and the whole visible state after every step, with a plain model of the entry table.
namespace
{
	struct FModelObject
	{
		UObject* Object = nullptr;
		int32 OwnerActor = INDEX_NONE;	// actor slot for actors and components, none for plain objects
		bool bIsActor = false;
		bool bAlive = true;
		FGuid SavedGuid;
	};

	struct FModelEntry
	{
		EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Unavailable;
		int32 Object = INDEX_NONE;
		int64 Generation = 0;
		bool bSaved = false;
	};

	struct FModelActor
	{
		int32 Object = INDEX_NONE;
		bool bInPlay = true;
		bool bWatched = false;
		bool bEnded = false;
	};
}

class FReferenceRegistryModelTest : public FVeskReferenceTestBase
{
protected:
	// Saved identities follow paths, which repeat from world to world: each test starts from an
	// empty keeper.
	void TearDown() override
	{
		UVesk_SaveSubsystem::Shutdown();
		UVesk_SaveSubsystem::Startup();
	}

	int32 AddObject(UObject* Object, int32 OwnerActor, bool bIsActor)
	{
		FModelObject Model;
		Model.Object = Object;
		Model.OwnerActor = OwnerActor;
		Model.bIsActor = bIsActor;
		Model.SavedGuid = UVesk_SaveSubsystem::Get()->FindOrAddGuidByObject(Object);
		NoteIdentity(Model.SavedGuid);
		Objects.push_back(Model);
		return static_cast<int32>(Objects.size()) - 1;
	}

	void NoteIdentity(const FGuid& Identity)
	{
		Identities.AddUnique(Identity);
	}

	bool IsModelCurrent(const FVesk_ReferenceBinding& Binding) const
	{
		const FModelEntry* Entry = Entries.Find(Binding.Id);
		return Binding.World.Get() == World.Get() && Binding.World.IsValid() && Binding.Generation > 0 && Entry && Entry->Generation == Binding.Generation;
	}

	bool IsLive(int32 Object) const
	{
		return Object != INDEX_NONE && Objects[Object].bAlive;
	}

	int64 ModelBind(int32 Object, const FGuid& Identity, bool bSaved)
	{
		FModelObject& Producer = Objects[Object];
		if (!Producer.bAlive || !Identity.IsValid())
		{
			return 0;
		}
		FModelActor* Owner = Producer.OwnerActor != INDEX_NONE ? &Actors[Producer.OwnerActor] : nullptr;
		if (Owner && Owner->bEnded)
		{
			if (!Owner->bInPlay)
			{
				return 0;
			}
			Owner->bEnded = false;
		}
		if (FModelEntry* Entry = Entries.Find(Identity))
		{
			if (Entry->Status == EVesk_ReferenceStatus::Removed)
			{
				return 0;
			}
			if (IsLive(Entry->Object))
			{
				return Entry->Object == Object ? Entry->Generation : 0;
			}
		}
		for (const TPair<FGuid, FModelEntry>& Pair : Entries)
		{
			if (Pair.Value.Object == Object)
			{
				return 0;
			}
		}
		FModelEntry& Entry = Entries.FindOrAdd(Identity);
		Entry.Object = Object;
		Entry.Generation = ++ModelNextGeneration;
		Entry.bSaved = bSaved;
		Entry.Status = EVesk_ReferenceStatus::Initializing;
		if (Owner)
		{
			Owner->bWatched = true;
		}
		return Entry.Generation;
	}

	bool ModelPublish(const FVesk_ReferenceBinding& Binding)
	{
		FModelEntry* Entry = Entries.Find(Binding.Id);
		if (!IsModelCurrent(Binding) || !IsLive(Entry->Object))
		{
			return false;
		}
		if (Entry->Status != EVesk_ReferenceStatus::Initializing && Entry->Status != EVesk_ReferenceStatus::Available)
		{
			return false;
		}
		if (Entry->bSaved && Objects[Entry->Object].SavedGuid != Binding.Id)
		{
			return false;
		}
		Entry->Status = EVesk_ReferenceStatus::Available;
		return true;
	}

	bool ModelRelease(const FVesk_ReferenceBinding& Binding, EVesk_ReferenceStatus Target)
	{
		FModelEntry* Entry = Entries.Find(Binding.Id);
		if (!IsModelCurrent(Binding) || Entry->Status == EVesk_ReferenceStatus::Removed)
		{
			return false;
		}
		Entry->Status = Target;
		Entry->Object = INDEX_NONE;
		return true;
	}

	void ModelEndPlay(int32 ActorSlot)
	{
		FModelActor& Actor = Actors[ActorSlot];
		Actor.bInPlay = false;
		if (!Actor.bWatched)
		{
			return;
		}
		Actor.bEnded = true;
		for (TPair<FGuid, FModelEntry>& Pair : Entries)
		{
			if (IsLive(Pair.Value.Object) && Objects[Pair.Value.Object].OwnerActor == ActorSlot)
			{
				Pair.Value.Status = EVesk_ReferenceStatus::Unavailable;
				Pair.Value.Object = INDEX_NONE;
			}
		}
	}

	void ExpectMatchesModel()
	{
		EXPECT_EQ(NextGeneration(), ModelNextGeneration);
		for (const FGuid& Identity : Identities)
		{
			FEntryState Expected;
			if (const FModelEntry* Entry = Entries.Find(Identity))
			{
				Expected = FEntryState{ true, Entry->Status, IsLive(Entry->Object) ? Objects[Entry->Object].Object : nullptr, Entry->Generation, Entry->bSaved };
			}
			ASSERT_EQ(Entry(Identity), Expected) << Utf8(Identity.ToString());
		}
		for (const FVesk_ReferenceBinding& Binding : Tokens)
		{
			const FModelEntry* Entry = Entries.Find(Binding.Id);
			const bool bCurrent = IsModelCurrent(Binding) && Entry->Status != EVesk_ReferenceStatus::Removed;
			ASSERT_EQ(Subsystem->IsCurrentBinding(Binding), bCurrent) << Utf8(Binding.Id.ToString()) << " generation " << Binding.Generation;
		}
		for (int32 Index = 0; Index < static_cast<int32>(Objects.size()); ++Index)
		{
			FGuid Expected;
			for (const TPair<FGuid, FModelEntry>& Pair : Entries)
			{
				if (Objects[Index].bAlive && Pair.Value.Object == Index)
				{
					Expected = Pair.Key;
				}
			}
			ASSERT_EQ(Subsystem->FindIdentity(Objects[Index].Object), Expected) << "object " << Index;
		}
		for (const FModelActor& Actor : Actors)
		{
			ASSERT_EQ(Access::HasEnded(*Subsystem, Cast<AActor>(Objects[Actor.Object].Object)), Actor.bEnded);
		}
	}

	void RunSequence(uint32 Seed, int32 Steps)
	{
		std::mt19937 Random(Seed);
		auto Pick = [&Random](int32 Count) { return static_cast<int32>(Random() % static_cast<uint32>(Count)); };

		for (int32 Slot = 0; Slot < 2; ++Slot)
		{
			AVeskTestProducerActor* Actor = SpawnProducerActor();
			FModelActor ModelActor;
			ModelActor.Object = AddObject(Actor, Slot, true);
			Actors.push_back(ModelActor);
			AddObject(AddProducerComponent(Actor), Slot, false);
			AddObject(AddProducerComponent(Actor), Slot, false);
		}
		AddObject(NewProducerObject(), INDEX_NONE, false);
		AddObject(NewProducerObject(), INDEX_NONE, false);

		TArray<FGuid> Explicit;
		for (uint32 Index = 1; Index <= 4; ++Index)
		{
			Explicit.Add(MakeTestIdentity(Index));
			NoteIdentity(MakeTestIdentity(Index));
		}

		// Tokens that are never current here: the empty one, and one from another world's registry.
		FTestWorld OtherWorld;
		UVesk_ReferenceSubsystem* Other = UVesk_ReferenceSubsystem::FromContext(OtherWorld.Get());
		Tokens.Add(FVesk_ReferenceBinding());
		Tokens.Add(Other->BeginBinding(NewObject<UVeskTestProducerObject>(OtherWorld.Get()), Explicit[0]));

		for (int32 Step = 0; Step < Steps; ++Step)
		{
			SCOPED_TRACE(testing::Message() << "seed " << Seed << " step " << Step);
			const int32 Roll = Pick(100);
			const int32 Object = Pick(static_cast<int32>(Objects.size()));
			const FVesk_ReferenceBinding Token = Tokens[Pick(Tokens.Num())];

			if (Roll < 30)
			{
				const FGuid Identity = Pick(8) == 0 ? FGuid() : Explicit[Pick(Explicit.Num())];
				const int64 Expected = ModelBind(Object, Identity, false);
				const FVesk_ReferenceBinding Binding = Subsystem->BeginBinding(Objects[Object].Object, Identity);
				ASSERT_EQ(Binding.Generation, Expected) << "BeginBinding of object " << Object;
				ASSERT_EQ(Binding.Id, Expected ? Identity : FGuid());
				Tokens.Add(Binding);
			}
			else if (Roll < 40)
			{
				const int64 Expected = ModelBind(Object, Objects[Object].SavedGuid, true);
				const FVesk_ReferenceBinding Binding = Subsystem->BeginSavedBinding(Objects[Object].Object);
				ASSERT_EQ(Binding.Generation, Expected) << "BeginSavedBinding of object " << Object;
				Tokens.Add(Binding);
			}
			else if (Roll < 60)
			{
				const bool bExpected = ModelPublish(Token);
				ASSERT_EQ(Subsystem->Publish(Token), bExpected) << "Publish";
			}
			else if (Roll < 70)
			{
				const bool bExpected = ModelRelease(Token, EVesk_ReferenceStatus::Unavailable);
				ASSERT_EQ(Subsystem->Withdraw(Token), bExpected) << "Withdraw";
			}
			else if (Roll < 74)
			{
				const bool bExpected = ModelRelease(Token, EVesk_ReferenceStatus::Removed);
				ASSERT_EQ(Subsystem->RemovePermanently(Token), bExpected) << "RemovePermanently";
			}
			else if (Roll < 82)
			{
				const int32 Slot = Pick(static_cast<int32>(Actors.size()));
				if (Actors[Slot].bInPlay)
				{
					ModelEndPlay(Slot);
					Cast<AActor>(Objects[Actors[Slot].Object].Object)->RouteEndPlay(static_cast<EEndPlayReason::Type>(Pick(5)));
				}
			}
			else if (Roll < 90)
			{
				const int32 Slot = Pick(static_cast<int32>(Actors.size()));
				if (!Actors[Slot].bInPlay)
				{
					Actors[Slot].bInPlay = true;
					FTestWorld::ReturnToPlay(Cast<AActor>(Objects[Actors[Slot].Object].Object));
				}
			}
			else if (Roll < 93)
			{
				// Destroys a plain object or a component and creates its replacement at the same place.
				FModelObject& Victim = Objects[Object];
				if (Victim.bAlive && !Victim.bIsActor)
				{
					Victim.bAlive = false;
					if (UActorComponent* Component = Cast<UActorComponent>(Victim.Object))
					{
						AActor* Owner = Component->GetOwner();
						Component->DestroyComponent();
						AddObject(AddProducerComponent(Owner), Victim.OwnerActor, false);
					}
					else
					{
						Victim.Object->MarkAsGarbage();
						AddObject(NewProducerObject(), INDEX_NONE, false);
					}
				}
			}
			else if (Roll < 96)
			{
				const FGuid Rekeyed = MakeTestIdentity(1000 + static_cast<uint32>(Step));
				Objects[Object].SavedGuid = Rekeyed;
				NoteIdentity(Rekeyed);
				UVesk_SaveSubsystem::Get()->SetGuidForObject(Objects[Object].Object, Rekeyed);
			}
			else
			{
				World.Tick();
			}

			ExpectMatchesModel();
			if (HasFatalFailure())
			{
				return;
			}
		}
	}

	std::vector<FModelObject> Objects;
	std::vector<FModelActor> Actors;
	TMap<FGuid, FModelEntry> Entries;
	TArray<FGuid> Identities;
	TArray<FVesk_ReferenceBinding> Tokens;
	int64 ModelNextGeneration = 0;
};

class FReferenceRegistryModelSeedTest : public FReferenceRegistryModelTest, public testing::WithParamInterface<uint32>
{
};

TEST_P(FReferenceRegistryModelSeedTest, AgreesWithTheModelOnEveryStep)
{
	RunSequence(GetParam(), 300);
}

INSTANTIATE_TEST_SUITE_P(Seeds, FReferenceRegistryModelSeedTest, testing::Range(1u, 17u));
