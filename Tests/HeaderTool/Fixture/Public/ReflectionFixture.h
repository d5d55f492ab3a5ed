#pragma once

#include "CoreMinimal.h"
#include "Misc/Guid.h"
#include "Templates/SubclassOf.h"
#include "UObject/Object.h"
#include "UObject/ObjectPtr.h"
#include "ReflectionFixture.generated.h"

class UFixtureObject;

/** Broadcast when the fixture changes. */
DECLARE_DYNAMIC_MULTICAST_DELEGATE(FFixtureChanged);
DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(FFixtureMoved, UObject*, Source, int32, Distance);
DECLARE_DYNAMIC_MULTICAST_SPARSE_DELEGATE_OneParam(FFixtureSparseSignature, UFixtureObject, OnSparse, bool, bFlag);

UENUM(BlueprintType)
enum class EFixtureMood : uint8
{
	/** The mood every fixture starts in. */
	Calm,
	Angry = 5,
	Sleepy UMETA(DisplayName="Very Sleepy"),
};

UENUM()
namespace EFixtureSide
{
	enum Type : int
	{
		Left,
		Right,
	};
}

/** Value carried through the fixture's functions. */
USTRUCT(BlueprintType)
struct HEADERTOOLFIXTURE_API FFixtureStruct
{
	GENERATED_BODY()

	UPROPERTY(SaveGame)
	FGuid Id;

	UPROPERTY(BlueprintReadOnly, Category="Fixture")
	int64 Generation = 0;

	// Not reflected: the descriptors must skip it and still find the members after it.
	int32 Padding = 0;

	UPROPERTY(BlueprintReadOnly, Category="Fixture")
	float Weight = 1.0f;

	UPROPERTY()
	bool bEnabled = false;

	UPROPERTY(EditAnywhere, Category="Fixture")
	FName Tag;

	UPROPERTY(Transient)
	double Scale = 0.0;
};

// Extends the fixture value with one more member.
USTRUCT()
struct FFixtureDerivedStruct : public FFixtureStruct
{
	GENERATED_BODY()

	UPROPERTY()
	int32 Extra = 0;
};

// First line of the fixture object's comment.
// Second line.
UCLASS(Transient, meta=(IsBlueprintBase=false))
class HEADERTOOLFIXTURE_API UFixtureObject : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION(BlueprintCallable, Category="Fixture")
	bool Take(const FFixtureStruct& S, FGuid G, UObject* O);

	UFUNCTION(meta=(ScriptCallable))
	FFixtureStruct Make(FGuid InId) const;

	UFUNCTION(BlueprintPure, Category="Fixture")
	EFixtureMood GetMood() const { return Mood; }

	/** Repeats the label Count times. */
	UFUNCTION()
	void SetLabel(const FString& InLabel, int32 Count = 2);

	UFUNCTION()
	static int32 CountSides(EFixtureSide::Type First, TEnumAsByte<EFixtureSide::Type> Second);

	// Writes through its out parameters, so a caller of the native entry sees the values in its block.
	UFUNCTION()
	void Fill(int32& OutCount, FFixtureStruct& OutStruct, UPARAM(ref) FFixtureStruct& InOutStruct) const;

	// Handlers for the fixture's own delegates: each records what a broadcast delivered.
	UFUNCTION()
	void HandleChanged();

	UFUNCTION()
	void HandleMoved(UObject* Source, int32 Distance);

	UFUNCTION()
	void HandleSparse(bool bFlag);

	UPROPERTY(BlueprintAssignable)
	FFixtureChanged OnChanged;

	UPROPERTY(BlueprintAssignable)
	FFixtureMoved OnMoved;

	UPROPERTY()
	FFixtureSparseSignature OnSparse;

	UPROPERTY()
	EFixtureMood Mood = EFixtureMood::Calm;

	UPROPERTY()
	TEnumAsByte<EFixtureSide::Type> Side = EFixtureSide::Left;

	UPROPERTY()
	TObjectPtr<UObject> Held;

	/** What the last call of Take received, so tests can see what the script entry passed on. */
	FFixtureStruct LastStruct;
	const FFixtureStruct* LastStructAddress = nullptr;
	FGuid LastGuid;
	UObject* LastObject = nullptr;
	FString Label;
	int32 ChangedCount = 0;
	int32 LastDistance = 0;
	bool bLastFlag = false;

	template<typename T>
	T* FindLast() const
	{
		return Cast<T>(LastObject);
	}

private:
	UFUNCTION()
	void OnFixtureEvent(UObject* Source, EFixtureMood NewMood);

	UPROPERTY()
	TObjectPtr<UClass> ExpectedType;

	UPROPERTY()
	TSubclassOf<UObject> ComponentType;

	struct FNotReflected
	{
		int32 Value = 0;
	};
	FNotReflected Hidden;
};

/**
 * A configurable child: inherits the transient flag
 * and the instanced-reference flag from its parent.
 */
UCLASS(Config=Game)
class UFixtureConfigObject : public UFixtureObject
{
	GENERATED_BODY()

public:
	UFixtureConfigObject(const FObjectInitializer& ObjectInitializer);

	UPROPERTY(Config, EditAnywhere, Category="Fixture")
	int32 Limit = 3;

protected:
	UPROPERTY(VisibleAnywhere, Transient)
	FString Note;
};

// Declares no config of its own: takes its parent's.
UCLASS()
class UFixtureConfigChild : public UFixtureConfigObject
{
	GENERATED_BODY()

public:
	UFixtureConfigChild(const FObjectInitializer& ObjectInitializer);
};

// Only ever created inside a fixture object.
UCLASS(Within=FixtureObject)
class UFixtureInnerObject : public UObject
{
	GENERATED_BODY()
};
