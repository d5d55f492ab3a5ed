#include "VeskDemoTimeline.h"

#include "Components/ActorComponent.h"
#include "Containers/StringConv.h"
#include "HAL/IConsoleManager.h"
#include "Misc/OutputDevice.h"
#include "Vesk_ReferenceResolutionExplanation.h"
#include "Vesk_ReferenceSubsystem.h"

#include <cstdio>

namespace VeskDemoTimeline
{
	// Wide enough for the longest status with a name and a generation, "AmbiguousComponent g12".
	static constexpr int32 ColumnWidth = 24;

	static FString PadRight(const FString& Text, int32 Width)
	{
		FString Padded = Text;
		while (Padded.Len() < Width)
		{
			Padded += TEXT(" ");
		}
		return Padded;
	}

	static FString StatusName(EVesk_ReferenceStatus Status)
	{
		return StaticEnum<EVesk_ReferenceStatus>()->GetNameStringByValue(static_cast<int64>(Status));
	}

	// Console output, indented under the timeline.
	class FIndentedStdOut : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type, const FName&) override
		{
			std::printf("       %s\n", TCHAR_TO_UTF8(V));
		}
	};
}

FString ShortId(const FGuid& Id)
{
	return Id.IsValid() ? Id.ToString(EGuidFormats::Digits).Left(8) : FString(TEXT("--------"));
}

FString DescribeBinding(const FVesk_ReferenceBinding& Binding)
{
	if (Binding.Generation == 0)
	{
		return TEXT("refused");
	}
	return FString::Printf(TEXT("%s g%lld"), *ShortId(Binding.Id), (long long)Binding.Generation);
}

void FVeskDemoTimeline::Watch(const FVeskDemoConsumerReference& Reference)
{
	References.Add(Reference);
	LastExplanations.AddDefaulted();
}

void FVeskDemoTimeline::ForgetConsumers()
{
	References.Reset();
	LastExplanations.Reset();
}

FString FVeskDemoTimeline::DescribeResolution(const FVeskDemoConsumerReference& Watched) const
{
	if (!Registry)
	{
		return TEXT("(no registry)");
	}
	const FVesk_ResolvedReference Resolved = Registry->Resolve(Watched.Reference->Id, Watched.ExpectedType, Watched.ComponentType);
	FString Text = VeskDemoTimeline::StatusName(Resolved.Status);
	if (const UObject* Found = Resolved.Component ? static_cast<const UObject*>(Resolved.Component) : Resolved.Object)
	{
		Text += TEXT(" ") + Found->GetName();
	}
	return Text + FString::Printf(TEXT(" g%lld"), (long long)Resolved.Generation);
}

void FVeskDemoTimeline::PrintHeader() const
{
	FString Line = FString::Printf(TEXT("%2s  %-40s    %-14s |"), TEXT("#"), TEXT("event"), TEXT("returns"));
	for (const FVeskDemoConsumerReference& Watched : References)
	{
		Line += TEXT(" ") + VeskDemoTimeline::PadRight(Watched.Label, VeskDemoTimeline::ColumnWidth);
	}
	std::printf("%s\n", TCHAR_TO_UTF8(*Line.TrimEnd()));
}

void FVeskDemoTimeline::Event(const FString& What, const FString& Result)
{
	++Step;
	FString Line = FString::Printf(TEXT("%2d  %-40s -> %-14s |"), Step, *What, *Result);
	for (const FVeskDemoConsumerReference& Watched : References)
	{
		Line += TEXT(" ") + VeskDemoTimeline::PadRight(DescribeResolution(Watched), VeskDemoTimeline::ColumnWidth);
	}
	std::printf("%s\n", TCHAR_TO_UTF8(*Line.TrimEnd()));
	ExplainFailures();
}

void FVeskDemoTimeline::ExplainFailures()
{
	if (!Registry)
	{
		return;
	}
	for (int32 Index = 0; Index < References.Num(); ++Index)
	{
		const FVeskDemoConsumerReference& Watched = References[Index];
		const FVesk_ReferenceResolutionExplanation Explanation = FVesk_ReferenceResolutionExplanation::Explain(*Registry, Watched.Reference->Id, Watched.ExpectedType, Watched.ComponentType);
		const FString Text = Explanation.Status == EVesk_ReferenceStatus::Available ? FString() : Explanation.ToString();
		if (!Text.IsEmpty() && Text != LastExplanations[Index])
		{
			std::printf("        why %s: %s\n", TCHAR_TO_UTF8(*Watched.Label), TCHAR_TO_UTF8(*Text));
		}
		LastExplanations[Index] = Text;
	}
}

void FVeskDemoTimeline::PrintRegistry(UWorld* World) const
{
	VeskDemoTimeline::FIndentedStdOut Output;
	IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Vesk.References.Dump"), Output, World);
}

void FVeskDemoTimeline::Broadcast(const FString& Label, EVesk_ReferenceStatus Status)
{
	std::printf("        ~ #%d %s is told: %s\n", Step + 1, TCHAR_TO_UTF8(*Label), TCHAR_TO_UTF8(*VeskDemoTimeline::StatusName(Status)));
}

void FVeskDemoTimeline::Note(const FString& Text)
{
	std::printf("    -- %s\n", TCHAR_TO_UTF8(*Text));
}
