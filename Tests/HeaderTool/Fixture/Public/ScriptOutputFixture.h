#pragma once

#include "CoreMinimal.h"
#include "Internationalization/Text.h"
#include "Templates/SubclassOf.h"
#include "UObject/Object.h"
#include "ReflectionFixture.h"
#include "ScriptOutputFixture.generated.h"

// What Blueprint nodes hand back to a graph: display text, enum outputs beside a result, and the
// metadata that tells the editor how to draw the node.
UCLASS()
class UFixtureScriptOutputObject : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION(BlueprintPure, Category="Fixture")
	static FText DescribeMood(EFixtureMood Mood)
	{
		return FText::FromString(Mood == EFixtureMood::Angry ? TEXT("Angry") : TEXT("Not angry"));
	}

	UFUNCTION(BlueprintCallable, Category="Fixture")
	bool ReadMood(EFixtureMood& OutMood, FText& OutCaption) const
	{
		OutMood = Mood;
		OutCaption = Caption;
		return true;
	}

	UFUNCTION(BlueprintCallable, Category="Fixture", meta=(WorldContext="WorldContextObject", DeterminesOutputType="Class", Class="/Script/CoreUObject.Object"))
	static UObject* FindByClass(const UObject* WorldContextObject, TSubclassOf<UObject> Class)
	{
		return WorldContextObject && Class && WorldContextObject->IsA(Class) ? const_cast<UObject*>(WorldContextObject) : nullptr;
	}

	UFUNCTION(BlueprintCallable, meta=(BlueprintInternalUseOnly="true"))
	static UFixtureScriptOutputObject* CreateForNode(UObject* WorldContextObject)
	{
		return NewObject<UFixtureScriptOutputObject>(WorldContextObject);
	}

	UPROPERTY()
	FText Caption;

	EFixtureMood Mood = EFixtureMood::Calm;
};
