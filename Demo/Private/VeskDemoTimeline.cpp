#include "VeskDemoTimeline.h"

#include "Containers/StringConv.h"
#include "Vesk_ReferenceSubsystem.h"

#include <cstdio>

FString ShortId(const FGuid& Id)
{
	return Id.IsValid() ? Id.ToString(EGuidFormats::Digits).Left(8) : FString(TEXT("--------"));
}

FString DescribeBinding(const FVesk_ReferenceBinding& Binding)
{
	if (Binding.Generation == 0)
	{
		return TEXT("refused (empty token)");
	}
	return FString::Printf(TEXT("token %s gen %lld"), *ShortId(Binding.Id), (long long)Binding.Generation);
}

void FVeskDemoTimeline::Track(const TCHAR* Name, const FVesk_ReferenceBinding& Binding)
{
	for (FTracked& Existing : Tracked)
	{
		if (Existing.Name == Name)
		{
			Existing.Binding = Binding;
			return;
		}
	}
	Tracked.Add({ FString(Name), Binding });
}

FString FVeskDemoTimeline::DescribeTokens() const
{
	FString Result;
	for (const FTracked& Entry : Tracked)
	{
		const bool bCurrent = Registry && Registry->IsCurrentBinding(Entry.Binding);
		if (!Result.IsEmpty())
		{
			Result += TEXT(", ");
		}
		Result += FString::Printf(TEXT("%s g%lld %s"), *Entry.Name, (long long)Entry.Binding.Generation, bCurrent ? TEXT("current") : TEXT("stale"));
	}
	return Result;
}

void FVeskDemoTimeline::Event(const FString& What, const FString& Result)
{
	++Step;
	const FString Line = FString::Printf(TEXT("%2d  %-46s -> %-26s | %s"), Step, *What, *Result, *DescribeTokens());
	std::printf("%s\n", TCHAR_TO_UTF8(*Line));
}

void FVeskDemoTimeline::Note(const FString& Text)
{
	std::printf("    -- %s\n", TCHAR_TO_UTF8(*Text));
}
