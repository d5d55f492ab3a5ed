#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Internationalization/Text.h"
#include "Kismet/BlueprintFunctionLibrary.h"
#include "Misc/Guid.h"
#include "Templates/SubclassOf.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceBlueprintLibrary.generated.h"

// Blueprint nodes over the registry of the calling graph's world. The persistent reference struct
// is not a Blueprint type, so identities travel as guids, as BeginBinding takes them.
UCLASS()
class VESKPERSISTENTREFERENCESTOOLS_API UVesk_ReferenceBlueprintLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	// Finds the live object bound to Identity, as an Expected Class. None, with the reason in Status, when there is no such object.
	UFUNCTION(BlueprintCallable, Category="Vesk|Persistent References", meta=(WorldContext="WorldContextObject", DeterminesOutputType="ExpectedClass", ExpectedClass="/Script/CoreUObject.Object"))
	static UObject* ResolvePersistentReference(const UObject* WorldContextObject, FGuid Identity, TSubclassOf<UObject> ExpectedClass, EVesk_ReferenceStatus& Status);

	// Finds the one component of Component Class on the actor bound to Identity. None, with the reason in Status, when the actor has none or several.
	UFUNCTION(BlueprintCallable, Category="Vesk|Persistent References", meta=(WorldContext="WorldContextObject", DeterminesOutputType="ComponentClass"))
	static UActorComponent* ResolvePersistentReferenceComponent(const UObject* WorldContextObject, FGuid Identity, TSubclassOf<UActorComponent> ComponentClass, EVesk_ReferenceStatus& Status);

	// A reference status as text a player or designer can read.
	UFUNCTION(BlueprintPure, Category="Vesk|Persistent References", meta=(DisplayName="To Text (Reference Status)", CompactNodeTitle="->", BlueprintAutocast))
	static FText Conv_ReferenceStatusToText(EVesk_ReferenceStatus Status);
};
