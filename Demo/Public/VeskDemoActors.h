#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "GameFramework/Actor.h"
#include "Templates/Function.h"
#include "UObject/ObjectPtr.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_TypedReference.h"
#include "VeskDemoActors.generated.h"

// A place in the village that others can refer to: the workshop, the shrine. One that chooses its
// own identity keeps it in its save data.
UCLASS()
class AVeskDemoProducer : public AActor
{
	GENERATED_BODY()

public:
	UPROPERTY(SaveGame)
	FGuid Identity;
};

// A distinct class so that a consumer can insist on a well, and tell one from whatever else
// takes the well's identity.
UCLASS()
class AVeskDemoWell : public AVeskDemoProducer
{
	GENERATED_BODY()

public:
	UPROPERTY()
	int32 BucketsDrawn = 0;
};

UCLASS()
class AVeskDemoFountain : public AVeskDemoProducer
{
	GENERATED_BODY()
};

// Goods kept by a producer; referable on their own, apart from their actor.
UCLASS()
class UVeskDemoStockComponent : public UActorComponent
{
	GENERATED_BODY()

public:
	UPROPERTY(SaveGame)
	FGuid Identity;
};

// Hears the changes of one observation for its consumer, and reads the new status inside the
// handler, as game code does. It keeps the observation alive: the registry holds it only weakly.
UCLASS()
class UVeskDemoListener : public UObject
{
	GENERATED_BODY()

public:
	void Listen(UVesk_ReferenceObservation* InObservation, const FString& InLabel, TFunction<void(const FString&, EVesk_ReferenceStatus)> InReport)
	{
		Observation = InObservation;
		Label = InLabel;
		Report = MoveTemp(InReport);
		Observation->OnChanged.AddDynamic(this, &UVeskDemoListener::HandleChanged);
	}

	UFUNCTION()
	void HandleChanged()
	{
		if (Report)
		{
			Report(Label, Observation->GetStatus());
		}
	}

	UPROPERTY()
	TObjectPtr<UVesk_ReferenceObservation> Observation;

	FString Label;
	TFunction<void(const FString&, EVesk_ReferenceStatus)> Report;
};

// A villager who remembers places by identity. Only the references go into the save game.
UCLASS()
class AVeskDemoCourier : public AActor
{
	GENERATED_BODY()

public:
	UPROPERTY(SaveGame)
	FVesk_PersistentReference Workshop;

	// One particular crate of goods, by the crate's own identity.
	UPROPERTY(SaveGame)
	FVesk_PersistentReference Stock;

	// Saved untyped, as reflection requires; the courier itself thinks of it as a well (GetWell).
	UPROPERTY(SaveGame)
	FVesk_PersistentReference Well;

	UPROPERTY()
	int32 StepsWalked = 0;

	// Subscriptions live as long as the courier; they are never saved.
	UPROPERTY(Transient)
	TObjectPtr<UVeskDemoListener> WorkshopListener;

	UPROPERTY(Transient)
	TObjectPtr<UVeskDemoListener> StockListener;

	UPROPERTY(Transient)
	TObjectPtr<UVeskDemoListener> WellListener;

	TVesk_PersistentReference<AVeskDemoWell> GetWell() const
	{
		return Well;
	}

	void SetWell(const TVesk_PersistentReference<AVeskDemoWell>& InWell)
	{
		Well = InWell.ToPersistentReference();
	}

	// Draws a bucket at its well, which the typed reference hands back as a well; or says, as a
	// Blueprint graph would show it, why there is no well to draw from.
	FString FetchWater() const;
};

// Buys from whatever stock its supplier holds: it remembers the supplier and asks for the supplier's
// one stock component when it resolves, so it follows the goods from crate to crate.
UCLASS()
class AVeskDemoTrader : public AActor
{
	GENERATED_BODY()

public:
	UPROPERTY(SaveGame)
	FVesk_PersistentReference Supplier;

	UPROPERTY(Transient)
	TObjectPtr<UVeskDemoListener> SupplierListener;
};
