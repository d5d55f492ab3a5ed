#pragma once

#include "CoreMinimal.h"
#include "Vesk_PersistentReference.h"

class UClass;
class UObject;
class UVesk_ReferenceSubsystem;
class UWorld;

// One reference that a consumer holds, with the question the consumer asks of it: the class it
// needs, and the component class when it wants one component of the referred actor.
struct FVeskDemoConsumerReference
{
	FString Label;
	UObject* Consumer = nullptr;
	const FVesk_PersistentReference* Reference = nullptr;
	UClass* ExpectedType = nullptr;
	UClass* ComponentType = nullptr;
};

// Prints one line per event of the session: what happened, what it returned, and what each watched
// reference resolves to at that moment, as its consumer would see it. Under it, a 'why' line
// explains each failing resolution when it begins or its reason changes.
class FVeskDemoTimeline
{
public:
	void SetRegistry(UVesk_ReferenceSubsystem* InRegistry)
	{
		Registry = InRegistry;
	}

	// Resolved at every event, in the order watched.
	void Watch(const FVeskDemoConsumerReference& Reference);

	// The references are read from their consumers at every event, so they must be forgotten
	// before the garbage collector releases the consumers.
	void ForgetConsumers();

	void PrintHeader() const;
	void Event(const FString& What, const FString& Result);
	// One OnChanged broadcast, printed while the operation of the next event runs.
	void Broadcast(const FString& Label, EVesk_ReferenceStatus Status);
	void Note(const FString& Text);
	// The registry's table, as the console command prints it for the world.
	void PrintRegistry(UWorld* World) const;

private:
	FString DescribeResolution(const FVeskDemoConsumerReference& Watched) const;
	void ExplainFailures();

	UVesk_ReferenceSubsystem* Registry = nullptr;
	TArray<FVeskDemoConsumerReference> References;
	// The explanation last printed for each watched reference; empty while it resolves.
	TArray<FString> LastExplanations;
	int32 Step = 0;
};

FString DescribeBinding(const FVesk_ReferenceBinding& Binding);
FString ShortId(const FGuid& Id);
