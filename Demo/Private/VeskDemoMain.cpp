// A short headless game session. Producers in a village bind identities and publish them; a
// courier remembers them by persistent reference; places are destroyed, re-created and leave
// play; the game is saved, the world torn down, and a new world loaded from the save, where the
// courier's references find their targets again.

#include "CoreMinimal.h"
#include "Engine/World.h"
#include "HeadlessEngineLoop.h"
#include "Serialization/MemoryReader.h"
#include "Serialization/MemoryWriter.h"
#include "UObject/UObjectGlobals.h"
#include "VeskDemoActors.h"
#include "VeskDemoTimeline.h"
#include "Vesk_ReferenceSubsystem.h"
#include "Vesk_SaveSubsystem.h"

#include <cstdio>

namespace
{
	const TCHAR* Bool(bool bValue)
	{
		return bValue ? TEXT("true") : TEXT("false");
	}

	UWorld* CreatePlayWorld()
	{
		UWorld* World = UWorld::CreateWorld(EWorldType::Game, false, FName(TEXT("Village")));
		World->InitializeActorsForPlay(FURL());
		World->BeginPlay();
		return World;
	}

	template<typename T>
	T* Spawn(UWorld* World, const TCHAR* Name)
	{
		FActorSpawnParameters Parameters;
		Parameters.Name = FName(Name);
		return World->SpawnActor<T>(Parameters);
	}

	UVeskDemoStockComponent* AddStock(AActor* Owner)
	{
		UVeskDemoStockComponent* Stock = NewObject<UVeskDemoStockComponent>(Owner, FName(TEXT("Stock")));
		Stock->RegisterComponent();
		return Stock;
	}

	// What a save game holds: the courier's save-game properties and the producers' own identities,
	// then the save module's table of saved identities.
	struct FSaveGame
	{
		TArray<uint8> Courier;
		TArray<uint8> Well;
		TArray<uint8> Stock;
		TArray<uint8> SavedIdentities;
	};

	void WriteSaveGame(UObject* Object, TArray<uint8>& Bytes)
	{
		FMemoryWriter Writer(Bytes, true);
		Writer.ArIsSaveGame = true;
		Object->Serialize(Writer);
	}

	void ReadSaveGame(UObject* Object, const TArray<uint8>& Bytes)
	{
		FMemoryReader Reader(Bytes, true);
		Reader.ArIsSaveGame = true;
		Object->Serialize(Reader);
	}

	void ShowReference(FVeskDemoTimeline& Timeline, const TCHAR* Field, const FVesk_PersistentReference& Reference, const TCHAR* Target, const FVesk_ReferenceBinding& TargetBinding, UVesk_ReferenceSubsystem* Registry)
	{
		const bool bFound = Reference.Id.IsValid() && Reference.Id == TargetBinding.Id && Registry->IsCurrentBinding(TargetBinding);
		Timeline.Event(FString::Printf(TEXT("Courier.%s = %s"), Field, *ShortId(Reference.Id)),
			bFound ? FString::Printf(TEXT("%s, gen %lld"), Target, (long long)TargetBinding.Generation) : FString(TEXT("not bound here")));
	}

	FSaveGame PlayFirstSession()
	{
		FVeskDemoTimeline Timeline;
		Timeline.Note(TEXT("Session 1: the village is built"));
		UWorld* World = CreatePlayWorld();
		UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(World);
		Timeline.SetRegistry(Registry);

		AVeskDemoProducer* Workshop = Spawn<AVeskDemoProducer>(World, TEXT("Workshop"));
		UVeskDemoStockComponent* Stock = AddStock(Workshop);
		Stock->Identity = FGuid(0x570C0001u, 0x0000A11Cu, 0x00000000u, 0x00000001u);
		AVeskDemoProducer* Well = Spawn<AVeskDemoProducer>(World, TEXT("Well"));
		Well->Identity = FGuid(0x3E110001u, 0x0000BEEFu, 0x00000000u, 0x00000002u);
		AVeskDemoProducer* Shrine = Spawn<AVeskDemoProducer>(World, TEXT("Shrine"));
		Shrine->Identity = FGuid(0x5A1E0001u, 0x0000CAFEu, 0x00000000u, 0x00000003u);
		AVeskDemoCourier* Courier = Spawn<AVeskDemoCourier>(World, TEXT("Courier"));

		FVesk_ReferenceBinding WorkshopBinding = Registry->BeginSavedBinding(Workshop);
		Timeline.Track(TEXT("Workshop"), WorkshopBinding);
		Timeline.Event(TEXT("Workshop binds its saved identity"), DescribeBinding(WorkshopBinding));
		FVesk_ReferenceBinding StockBinding = Registry->BeginBinding(Stock, Stock->Identity);
		Timeline.Track(TEXT("Stock"), StockBinding);
		Timeline.Event(TEXT("Workshop.Stock binds its own identity"), DescribeBinding(StockBinding));
		FVesk_ReferenceBinding WellBinding = Registry->BeginBinding(Well, Well->Identity);
		Timeline.Track(TEXT("Well"), WellBinding);
		Timeline.Event(TEXT("Well binds its own identity"), DescribeBinding(WellBinding));
		Timeline.Event(TEXT("Workshop binds again while bound"), DescribeBinding(Registry->BeginSavedBinding(Workshop)));
		Timeline.Event(TEXT("Well's identity asked for by the Shrine"), DescribeBinding(Registry->BeginBinding(Shrine, Well->Identity)));

		Timeline.Event(TEXT("Publish Workshop"), Bool(Registry->Publish(WorkshopBinding)));
		Timeline.Event(TEXT("Publish Stock"), Bool(Registry->Publish(StockBinding)));
		Timeline.Event(TEXT("Publish Well"), Bool(Registry->Publish(WellBinding)));

		Courier->Workshop.Id = WorkshopBinding.Id;
		Courier->Stock.Id = StockBinding.Id;
		Courier->Well.Id = WellBinding.Id;
		ShowReference(Timeline, TEXT("Workshop"), Courier->Workshop, TEXT("Workshop"), WorkshopBinding, Registry);
		ShowReference(Timeline, TEXT("Stock"), Courier->Stock, TEXT("Workshop.Stock"), StockBinding, Registry);
		ShowReference(Timeline, TEXT("Well"), Courier->Well, TEXT("Well"), WellBinding, Registry);

		Timeline.Note(TEXT("The well dries up, is destroyed and dug again"));
		Timeline.Event(TEXT("Withdraw Well"), Bool(Registry->Withdraw(WellBinding)));
		Timeline.Event(TEXT("Publish the withdrawn Well token"), Bool(Registry->Publish(WellBinding)));
		const FGuid WellIdentity = Well->Identity;
		Well->Destroy();
		World->Tick(LEVELTICK_All, 0.016f);
		Timeline.Event(TEXT("Well actor destroyed"), TEXT("done"));
		const FVesk_ReferenceBinding OldWellBinding = WellBinding;
		AVeskDemoProducer* NewWell = Spawn<AVeskDemoProducer>(World, TEXT("Well"));
		NewWell->Identity = WellIdentity;
		WellBinding = Registry->BeginBinding(NewWell, NewWell->Identity);
		Timeline.Track(TEXT("Well"), WellBinding);
		Timeline.Event(TEXT("New Well binds the same identity"), DescribeBinding(WellBinding));
		Timeline.Event(TEXT("Publish new Well"), Bool(Registry->Publish(WellBinding)));
		Timeline.Event(TEXT("Old Well token withdraws"), Bool(Registry->Withdraw(OldWellBinding)));
		ShowReference(Timeline, TEXT("Well"), Courier->Well, TEXT("new Well"), WellBinding, Registry);

		Timeline.Note(TEXT("The workshop leaves play for a while, without being destroyed"));
		Workshop->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
		Timeline.Event(TEXT("Workshop ends play (removed from world)"), TEXT("Workshop, Stock released"));
		Timeline.Event(TEXT("Workshop binds while out of play"), DescribeBinding(Registry->BeginSavedBinding(Workshop)));
		// Back in the world, as when its level is added again: initialized afresh, then in play.
		Workshop->PreInitializeComponents();
		Workshop->InitializeComponents();
		Workshop->PostInitializeComponents();
		Workshop->DispatchBeginPlay();
		WorkshopBinding = Registry->BeginSavedBinding(Workshop);
		Timeline.Track(TEXT("Workshop"), WorkshopBinding);
		Timeline.Event(TEXT("Workshop begins play again and binds"), DescribeBinding(WorkshopBinding));
		StockBinding = Registry->BeginBinding(Stock, Stock->Identity);
		Timeline.Track(TEXT("Stock"), StockBinding);
		Timeline.Event(TEXT("Workshop.Stock binds again"), DescribeBinding(StockBinding));
		Timeline.Event(TEXT("Publish Workshop"), Bool(Registry->Publish(WorkshopBinding)));
		Timeline.Event(TEXT("Publish Stock"), Bool(Registry->Publish(StockBinding)));

		Timeline.Note(TEXT("The shrine is torn down for good"));
		const FVesk_ReferenceBinding ShrineBinding = Registry->BeginBinding(Shrine, Shrine->Identity);
		Timeline.Track(TEXT("Shrine"), ShrineBinding);
		Timeline.Event(TEXT("Shrine binds its own identity"), DescribeBinding(ShrineBinding));
		Timeline.Event(TEXT("Remove Shrine permanently"), Bool(Registry->RemovePermanently(ShrineBinding)));
		Timeline.Event(TEXT("Shrine binds its identity again"), DescribeBinding(Registry->BeginBinding(Shrine, Shrine->Identity)));

		FSaveGame Save;
		WriteSaveGame(Courier, Save.Courier);
		WriteSaveGame(NewWell, Save.Well);
		WriteSaveGame(Stock, Save.Stock);
		UVesk_SaveSubsystem::Get()->SaveToBytes(Save.SavedIdentities);
		Timeline.Event(TEXT("Game saved"), FString::Printf(TEXT("%d bytes"), Save.Courier.Num() + Save.Well.Num() + Save.Stock.Num() + Save.SavedIdentities.Num()));

		World->DestroyWorld(false);
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		Timeline.SetRegistry(nullptr);
		Timeline.Event(TEXT("World torn down"), TEXT("registry gone"));
		return Save;
	}

	void PlaySecondSession(const FSaveGame& Save)
	{
		FVeskDemoTimeline Timeline;
		Timeline.Note(TEXT("Session 2: a new world is loaded from the save"));
		UVesk_SaveSubsystem::Shutdown();
		UVesk_SaveSubsystem::Startup();
		UVesk_SaveSubsystem::Get()->LoadFromBytes(Save.SavedIdentities);

		UWorld* World = CreatePlayWorld();
		UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(World);
		Timeline.SetRegistry(Registry);

		AVeskDemoProducer* Workshop = Spawn<AVeskDemoProducer>(World, TEXT("Workshop"));
		UVeskDemoStockComponent* Stock = AddStock(Workshop);
		ReadSaveGame(Stock, Save.Stock);
		AVeskDemoProducer* Well = Spawn<AVeskDemoProducer>(World, TEXT("Well"));
		ReadSaveGame(Well, Save.Well);
		AVeskDemoCourier* Courier = Spawn<AVeskDemoCourier>(World, TEXT("Courier"));
		ReadSaveGame(Courier, Save.Courier);
		Timeline.Event(TEXT("Village re-created, save read"), TEXT("done"));

		const FVesk_ReferenceBinding WorkshopBinding = Registry->BeginSavedBinding(Workshop);
		Timeline.Track(TEXT("Workshop"), WorkshopBinding);
		Timeline.Event(TEXT("Workshop binds its saved identity"), DescribeBinding(WorkshopBinding));
		const FVesk_ReferenceBinding StockBinding = Registry->BeginBinding(Stock, Stock->Identity);
		Timeline.Track(TEXT("Stock"), StockBinding);
		Timeline.Event(TEXT("Workshop.Stock binds its saved-state identity"), DescribeBinding(StockBinding));
		const FVesk_ReferenceBinding WellBinding = Registry->BeginBinding(Well, Well->Identity);
		Timeline.Track(TEXT("Well"), WellBinding);
		Timeline.Event(TEXT("Well binds its saved-state identity"), DescribeBinding(WellBinding));
		Timeline.Event(TEXT("Publish Workshop"), Bool(Registry->Publish(WorkshopBinding)));
		Timeline.Event(TEXT("Publish Stock"), Bool(Registry->Publish(StockBinding)));
		Timeline.Event(TEXT("Publish Well"), Bool(Registry->Publish(WellBinding)));

		ShowReference(Timeline, TEXT("Workshop"), Courier->Workshop, TEXT("Workshop"), WorkshopBinding, Registry);
		ShowReference(Timeline, TEXT("Stock"), Courier->Stock, TEXT("Workshop.Stock"), StockBinding, Registry);
		ShowReference(Timeline, TEXT("Well"), Courier->Well, TEXT("Well"), WellBinding, Registry);

		World->DestroyWorld(false);
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		Timeline.SetRegistry(nullptr);
		Timeline.Event(TEXT("World torn down"), TEXT("registry gone"));
	}
}

int main()
{
	FHeadlessEngineLoop::PreInit();
	std::printf("VeskPersistentReferences demo: one line per event; after '|', each token and whether the registry still holds it as current.\n");
	const FSaveGame Save = PlayFirstSession();
	PlaySecondSession(Save);
	FHeadlessEngineLoop::Exit();
	return 0;
}
