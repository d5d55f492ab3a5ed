// A short headless game session. Producers in a village bind identities and publish them; a
// courier and a trader remember them by persistent reference and resolve them at every event;
// places are opened, sold out, rebuilt as something else and leave play; the game is saved, the
// world torn down, and a new world loaded from the save, where the references find their targets
// again.

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
	// Chosen when the village was designed; the producers keep them in their save data.
	const FGuid StockIdentity(0x570C0001u, 0x0000A11Cu, 0x00000000u, 0x00000001u);
	const FGuid WellIdentity(0x3E110001u, 0x0000BEEFu, 0x00000000u, 0x00000002u);
	const FGuid ShrineIdentity(0x5A1E0001u, 0x0000CAFEu, 0x00000000u, 0x00000003u);

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

	UVeskDemoStockComponent* AddStock(AActor* Owner, const TCHAR* Name)
	{
		UVeskDemoStockComponent* Stock = NewObject<UVeskDemoStockComponent>(Owner, FName(Name));
		Stock->RegisterComponent();
		return Stock;
	}

	// What a save game holds: the consumers' save-game properties and the producers' own
	// identities, then the save module's table of saved identities.
	struct FSaveGame
	{
		TArray<uint8> Courier;
		TArray<uint8> Trader;
		TArray<uint8> Well;
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

	// The questions the consumers ask: the courier wants each place as itself, the trader wants
	// the one stock component of its supplier.
	FVeskDemoConsumerReference CourierWorkshop(AVeskDemoCourier* Courier)
	{
		return { TEXT("Courier.Workshop"), Courier, &Courier->Workshop, AVeskDemoProducer::StaticClass(), nullptr };
	}
	FVeskDemoConsumerReference CourierStock(AVeskDemoCourier* Courier)
	{
		return { TEXT("Courier.Stock"), Courier, &Courier->Stock, UVeskDemoStockComponent::StaticClass(), nullptr };
	}
	FVeskDemoConsumerReference CourierWell(AVeskDemoCourier* Courier)
	{
		return { TEXT("Courier.Well"), Courier, &Courier->Well, AVeskDemoWell::StaticClass(), nullptr };
	}
	FVeskDemoConsumerReference TraderSupplier(AVeskDemoTrader* Trader)
	{
		return { TEXT("Trader.Supplier's stock"), Trader, &Trader->Supplier, AVeskDemoProducer::StaticClass(), UVeskDemoStockComponent::StaticClass() };
	}

	void WatchConsumers(FVeskDemoTimeline& Timeline, AVeskDemoCourier* Courier, AVeskDemoTrader* Trader)
	{
		Timeline.Watch(CourierWorkshop(Courier));
		Timeline.Watch(CourierStock(Courier));
		Timeline.Watch(CourierWell(Courier));
		Timeline.Watch(TraderSupplier(Trader));
		Timeline.PrintHeader();
	}

	// The consumer keeps the listener and the listener keeps the observation; each broadcast is
	// printed from inside the handler.
	UVeskDemoListener* Subscribe(FVeskDemoTimeline& Timeline, UVesk_ReferenceSubsystem* Registry, const FVeskDemoConsumerReference& Reference)
	{
		UVesk_ReferenceObservation* Observation = Registry->Observe(Reference.Reference->Id, Reference.ExpectedType, Reference.ComponentType, Reference.Consumer);
		if (!Observation)
		{
			return nullptr;
		}
		UVeskDemoListener* Listener = NewObject<UVeskDemoListener>(Reference.Consumer);
		Listener->Listen(Observation, Reference.Label, [&Timeline](const FString& Label, EVesk_ReferenceStatus Status)
		{
			Timeline.Broadcast(Label, Status);
		});
		return Listener;
	}

	void SubscribeConsumers(FVeskDemoTimeline& Timeline, UVesk_ReferenceSubsystem* Registry, AVeskDemoCourier* Courier, AVeskDemoTrader* Trader)
	{
		Courier->WorkshopListener = Subscribe(Timeline, Registry, CourierWorkshop(Courier));
		Courier->StockListener = Subscribe(Timeline, Registry, CourierStock(Courier));
		Courier->WellListener = Subscribe(Timeline, Registry, CourierWell(Courier));
		Trader->SupplierListener = Subscribe(Timeline, Registry, TraderSupplier(Trader));
	}

	void Tick(UWorld* World)
	{
		World->Tick(LEVELTICK_All, 0.016f);
	}

	// Resolving after teardown is legal and answers Unavailable; the consumers' memory lasts
	// until the collection that follows.
	void TearDown(FVeskDemoTimeline& Timeline, UWorld* World)
	{
		World->DestroyWorld(false);
		Timeline.Event(TEXT("World torn down"), TEXT("done"));
		Timeline.ForgetConsumers();
		Timeline.SetRegistry(nullptr);
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}

	FSaveGame PlayFirstSession()
	{
		FVeskDemoTimeline Timeline;
		Timeline.Note(TEXT("Session 1: the village is built"));
		UWorld* World = CreatePlayWorld();
		UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(World);
		Timeline.SetRegistry(Registry);

		AVeskDemoProducer* Workshop = Spawn<AVeskDemoProducer>(World, TEXT("Workshop"));
		AVeskDemoWell* Well = Spawn<AVeskDemoWell>(World, TEXT("Well"));
		Well->Identity = WellIdentity;
		AVeskDemoProducer* Shrine = Spawn<AVeskDemoProducer>(World, TEXT("Shrine"));
		Shrine->Identity = ShrineIdentity;
		AVeskDemoCourier* Courier = Spawn<AVeskDemoCourier>(World, TEXT("Courier"));
		AVeskDemoTrader* Trader = Spawn<AVeskDemoTrader>(World, TEXT("Trader"));
		WatchConsumers(Timeline, Courier, Trader);

		FVesk_ReferenceBinding WorkshopBinding = Registry->BeginSavedBinding(Workshop);
		Timeline.Event(TEXT("Workshop binds its saved identity"), DescribeBinding(WorkshopBinding));
		FVesk_ReferenceBinding WellBinding = Registry->BeginBinding(Well, Well->Identity);
		Timeline.Event(TEXT("Well binds its own identity"), DescribeBinding(WellBinding));
		Timeline.Event(TEXT("Workshop binds again while bound"), DescribeBinding(Registry->BeginSavedBinding(Workshop)));
		Timeline.Event(TEXT("Shrine asks for the Well's identity"), DescribeBinding(Registry->BeginBinding(Shrine, Well->Identity)));
		Timeline.Note(TEXT("The courier and the trader are told where things are; the stock is not delivered yet"));
		Courier->Workshop.Id = WorkshopBinding.Id;
		Courier->Stock.Id = StockIdentity;
		Courier->SetWell(TVesk_PersistentReference<AVeskDemoWell>(WellBinding.Id));
		Trader->Supplier.Id = WorkshopBinding.Id;
		SubscribeConsumers(Timeline, Registry, Courier, Trader);
		Timeline.Event(TEXT("Courier and Trader note and observe them"), TEXT("4 references"));
		Timeline.Event(TEXT("Publish Workshop (it has no stock yet)"), Bool(Registry->Publish(WorkshopBinding)));
		Timeline.Event(TEXT("Publish Well"), Bool(Registry->Publish(WellBinding)));
		Timeline.Event(TEXT("Courier fetches water (typed as a well)"), Courier->FetchWater());

		Timeline.Note(TEXT("Goods arrive at the workshop, more than the trader can choose from, and one crate is sold"));
		UVeskDemoStockComponent* Stock = AddStock(Workshop, TEXT("Stock"));
		Stock->Identity = StockIdentity;
		const FVesk_ReferenceBinding StockBinding = Registry->BeginBinding(Stock, Stock->Identity);
		Timeline.Event(TEXT("Stock delivered, binds its own identity"), DescribeBinding(StockBinding));
		Timeline.Event(TEXT("Publish Stock"), Bool(Registry->Publish(StockBinding)));
		AddStock(Workshop, TEXT("Crate"));
		Timeline.Event(TEXT("A second crate, Crate, is delivered"), TEXT("2 crates"));
		Timeline.Event(TEXT("Stock is sold: removed permanently"), Bool(Registry->RemovePermanently(StockBinding)));
		Stock->DestroyComponent();
		Tick(World);
		Timeline.Event(TEXT("Stock carried off; a frame ticks"), TEXT("1 crate"));

		Timeline.Note(TEXT("The well dries up, a fountain takes its identity, then a new well is dug"));
		Timeline.Event(TEXT("Withdraw Well"), Bool(Registry->Withdraw(WellBinding)));
		Timeline.Event(TEXT("Publish the withdrawn Well token"), Bool(Registry->Publish(WellBinding)));
		Well->Destroy();
		Tick(World);
		Timeline.Event(TEXT("Well actor destroyed"), TEXT("done"));
		AVeskDemoFountain* Fountain = Spawn<AVeskDemoFountain>(World, TEXT("Fountain"));
		Fountain->Identity = WellIdentity;
		const FVesk_ReferenceBinding FountainBinding = Registry->BeginBinding(Fountain, Fountain->Identity);
		Timeline.Event(TEXT("A fountain binds the well's identity"), DescribeBinding(FountainBinding));
		Timeline.Event(TEXT("Publish Fountain"), Bool(Registry->Publish(FountainBinding)));
		Timeline.Event(TEXT("Courier fetches water at the fountain"), Courier->FetchWater());
		const bool bFountainWithdrawn = Registry->Withdraw(FountainBinding);
		Fountain->Destroy();
		Tick(World);
		Timeline.Event(TEXT("Fountain withdraws and is torn down"), Bool(bFountainWithdrawn));
		const FVesk_ReferenceBinding OldWellBinding = WellBinding;
		AVeskDemoWell* NewWell = Spawn<AVeskDemoWell>(World, TEXT("Well"));
		NewWell->Identity = WellIdentity;
		WellBinding = Registry->BeginBinding(NewWell, NewWell->Identity);
		Timeline.Event(TEXT("New Well binds the same identity"), DescribeBinding(WellBinding));
		Timeline.Event(TEXT("Publish new Well"), Bool(Registry->Publish(WellBinding)));
		Timeline.Event(TEXT("Courier fetches water at the new well"), Courier->FetchWater());
		Timeline.Event(TEXT("Old Well token withdraws"), Bool(Registry->Withdraw(OldWellBinding)));

		Timeline.Note(TEXT("The workshop leaves play for a while, without being destroyed"));
		Workshop->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
		Timeline.Event(TEXT("Workshop ends play (removed from world)"), TEXT("released"));
		Timeline.Event(TEXT("Workshop binds while out of play"), DescribeBinding(Registry->BeginSavedBinding(Workshop)));
		// Back in the world, as when its level is added again: initialized afresh, then in play.
		Workshop->PreInitializeComponents();
		Workshop->InitializeComponents();
		Workshop->PostInitializeComponents();
		Workshop->DispatchBeginPlay();
		WorkshopBinding = Registry->BeginSavedBinding(Workshop);
		Timeline.Event(TEXT("Workshop begins play again and binds"), DescribeBinding(WorkshopBinding));
		Timeline.Event(TEXT("Publish Workshop"), Bool(Registry->Publish(WorkshopBinding)));

		Timeline.Note(TEXT("The shrine is torn down for good"));
		const FVesk_ReferenceBinding ShrineBinding = Registry->BeginBinding(Shrine, Shrine->Identity);
		Timeline.Event(TEXT("Shrine binds its own identity"), DescribeBinding(ShrineBinding));
		Timeline.Event(TEXT("Remove Shrine permanently"), Bool(Registry->RemovePermanently(ShrineBinding)));
		Timeline.Event(TEXT("Shrine binds its identity again"), DescribeBinding(Registry->BeginBinding(Shrine, Shrine->Identity)));

		FSaveGame Save;
		WriteSaveGame(Courier, Save.Courier);
		WriteSaveGame(Trader, Save.Trader);
		WriteSaveGame(NewWell, Save.Well);
		UVesk_SaveSubsystem::Get()->SaveToBytes(Save.SavedIdentities);
		Timeline.Event(TEXT("Game saved"), FString::Printf(TEXT("%d bytes"), Save.Courier.Num() + Save.Trader.Num() + Save.Well.Num() + Save.SavedIdentities.Num()));

		Timeline.Note(TEXT("The registry before the world goes, as the console command Vesk.References.Dump prints it"));
		Timeline.PrintRegistry(World);
		TearDown(Timeline, World);
		return Save;
	}

	void PlaySecondSession(const FSaveGame& Save)
	{
		FVeskDemoTimeline Timeline;
		Timeline.Note(TEXT("Session 2: a new world is loaded from the save; the sold stock is not in it"));
		UVesk_SaveSubsystem::Shutdown();
		UVesk_SaveSubsystem::Startup();
		UVesk_SaveSubsystem::Get()->LoadFromBytes(Save.SavedIdentities);

		UWorld* World = CreatePlayWorld();
		UVesk_ReferenceSubsystem* Registry = UVesk_ReferenceSubsystem::FromContext(World);
		Timeline.SetRegistry(Registry);

		AVeskDemoProducer* Workshop = Spawn<AVeskDemoProducer>(World, TEXT("Workshop"));
		AddStock(Workshop, TEXT("Crate"));
		AVeskDemoWell* Well = Spawn<AVeskDemoWell>(World, TEXT("Well"));
		ReadSaveGame(Well, Save.Well);
		AVeskDemoCourier* Courier = Spawn<AVeskDemoCourier>(World, TEXT("Courier"));
		ReadSaveGame(Courier, Save.Courier);
		AVeskDemoTrader* Trader = Spawn<AVeskDemoTrader>(World, TEXT("Trader"));
		ReadSaveGame(Trader, Save.Trader);
		WatchConsumers(Timeline, Courier, Trader);
		SubscribeConsumers(Timeline, Registry, Courier, Trader);
		Timeline.Event(TEXT("Village re-created, save read, observed"), TEXT("done"));

		const FVesk_ReferenceBinding WorkshopBinding = Registry->BeginSavedBinding(Workshop);
		Timeline.Event(TEXT("Workshop binds its saved identity"), DescribeBinding(WorkshopBinding));
		const FVesk_ReferenceBinding WellBinding = Registry->BeginBinding(Well, Well->Identity);
		Timeline.Event(TEXT("Well binds its saved-state identity"), DescribeBinding(WellBinding));
		Timeline.Event(TEXT("Publish Workshop"), Bool(Registry->Publish(WorkshopBinding)));
		Timeline.Event(TEXT("Publish Well"), Bool(Registry->Publish(WellBinding)));
		Timeline.Event(TEXT("Courier fetches water (typed as a well)"), Courier->FetchWater());

		Timeline.Note(TEXT("Fire: the workshop is destroyed without withdrawing, and rebuilt under its name"));
		Workshop->Destroy();
		Timeline.Event(TEXT("Workshop destroyed (its end of play)"), TEXT("released"));
		AVeskDemoProducer* Rebuilt = Spawn<AVeskDemoProducer>(World, TEXT("Workshop"));
		UVeskDemoStockComponent* Crate = AddStock(Rebuilt, TEXT("Crate"));
		const FVesk_ReferenceBinding RebuiltBinding = Registry->BeginSavedBinding(Rebuilt);
		Timeline.Event(TEXT("Rebuilt Workshop binds saved identity"), DescribeBinding(RebuiltBinding));
		Timeline.Event(TEXT("Publish rebuilt Workshop"), Bool(Registry->Publish(RebuiltBinding)));

		Timeline.Note(TEXT("Between two frames the crate is swapped for another; only the next tick can tell"));
		Crate->DestroyComponent();
		AddStock(Rebuilt, TEXT("NewCrate"));
		Timeline.Event(TEXT("Crate swapped (the registry is not told)"), TEXT("done"));
		Tick(World);
		Timeline.Event(TEXT("Frame ticks"), TEXT("done"));
		Tick(World);
		Timeline.Event(TEXT("Frame ticks, nothing changed"), TEXT("done"));

		Timeline.Note(TEXT("The trader leaves the village: its observation stops, it hears nothing more"));
		Trader->RouteEndPlay(EEndPlayReason::RemovedFromWorld);
		Timeline.Event(TEXT("Trader ends play"), TEXT("done"));
		Timeline.Event(TEXT("Withdraw rebuilt Workshop"), Bool(Registry->Withdraw(RebuiltBinding)));

		Timeline.Note(TEXT("The registry before the world goes, as the console command Vesk.References.Dump prints it"));
		Timeline.PrintRegistry(World);
		TearDown(Timeline, World);
	}
}

int main()
{
	FHeadlessEngineLoop::PreInit();
	std::printf("VeskPersistentReferences demo: one line per event; after '|', what each consumer's reference resolves to\n"
		"right then, as Resolve reports it: status, the object or component found, and the generation of its entry.\n"
		"The trader asks for its supplier narrowed to the supplier's one stock component.\n"
		"Both also observe their references: a line '~ #N' is an OnChanged broadcast, printed from inside the\n"
		"handler with the status it reads there, while the operation of event N runs.\n"
		"A line 'why' follows an event when a reference starts failing, or fails for a new reason: the status,\n"
		"the step of resolution that decided it, and why. The courier fetches water through a typed reference\n"
		"to its well, which hands back the well itself. Each session ends with the registry's table.\n");
	const FSaveGame Save = PlayFirstSession();
	PlaySecondSession(Save);
	FHeadlessEngineLoop::Exit();
	return 0;
}
