#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "GameFramework/Actor.h"
#include "Vesk_PersistentReference.h"
#include "VeskDemoActors.generated.h"

// A place in the village that others can refer to: the workshop, the well. One that chooses its
// own identity keeps it in its save data.
UCLASS()
class AVeskDemoProducer : public AActor
{
	GENERATED_BODY()

public:
	UPROPERTY(SaveGame)
	FGuid Identity;
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

// A villager who remembers places by identity. Only the references go into the save game.
UCLASS()
class AVeskDemoCourier : public AActor
{
	GENERATED_BODY()

public:
	UPROPERTY(SaveGame)
	FVesk_PersistentReference Workshop;

	UPROPERTY(SaveGame)
	FVesk_PersistentReference Stock;

	UPROPERTY(SaveGame)
	FVesk_PersistentReference Well;

	UPROPERTY()
	int32 StepsWalked = 0;
};
