#pragma once

#include "CoreMinimal.h"
#include "Vesk_PersistentReference.h"

class UVesk_ReferenceSubsystem;

// Prints one line per event of the session: what happened, what it returned, and where each
// tracked token stands in the registry.
class FVeskDemoTimeline
{
public:
	void SetRegistry(UVesk_ReferenceSubsystem* InRegistry)
	{
		Registry = InRegistry;
	}

	// Follows a producer's token under a display name; tracking a name again replaces its token.
	void Track(const TCHAR* Name, const FVesk_ReferenceBinding& Binding);

	void Event(const FString& What, const FString& Result);
	void Note(const FString& Text);

private:
	FString DescribeTokens() const;

	struct FTracked
	{
		FString Name;
		FVesk_ReferenceBinding Binding;
	};

	UVesk_ReferenceSubsystem* Registry = nullptr;
	TArray<FTracked> Tracked;
	int32 Step = 0;
};

FString DescribeBinding(const FVesk_ReferenceBinding& Binding);
FString ShortId(const FGuid& Id);
