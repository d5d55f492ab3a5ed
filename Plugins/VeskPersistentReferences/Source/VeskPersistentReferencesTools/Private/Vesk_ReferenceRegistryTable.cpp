#include "Vesk_ReferenceRegistryTable.h"

#include "Misc/OutputDevice.h"
#include "Vesk_ReferenceRegistryView.h"

namespace VeskReferenceRegistryTable
{
	static FString StatusName(EVesk_ReferenceStatus Status)
	{
		return StaticEnum<EVesk_ReferenceStatus>()->GetNameStringByValue(static_cast<int64>(Status));
	}

	static FString OrDash(const FString& Text)
	{
		return Text.IsEmpty() ? FString(TEXT("-")) : Text;
	}

	static FString Plural(int32 Count, const TCHAR* Singular, const TCHAR* PluralForm)
	{
		return FString::Printf(TEXT("%d %s"), Count, Count == 1 ? Singular : PluralForm);
	}
}

TArray<FString> FVesk_ReferenceRegistryTable::ToLines(const FVesk_ReferenceRegistryView& View)
{
	using namespace VeskReferenceRegistryTable;

	TArray<FString> Lines;
	Lines.Add(FString::Printf(TEXT("Reference registry of world %s%s: %s, %s (%d active), %s; last generation %lld"),
		*OrDash(View.WorldName),
		View.bDeinitialized ? TEXT(" (torn down)") : TEXT(""),
		*Plural(View.Entries.Num(), TEXT("entry"), TEXT("entries")),
		*Plural(View.Observations.Num(), TEXT("observation"), TEXT("observations")),
		View.NumActiveObservations(),
		*Plural(View.EndedActorNames.Num(), TEXT("ended actor"), TEXT("ended actors")),
		(long long)View.LastGeneration));

	Lines.Add(TEXT("Entries:"));
	Lines.Add(FString::Printf(TEXT("  %-32s  %-12s  %4s  %-8s  %-20s  %s"), TEXT("Identity"), TEXT("Status"), TEXT("Gen"), TEXT("Origin"), TEXT("Object"), TEXT("Owning actor")));
	for (const FVesk_ReferenceEntryRow& Row : View.Entries)
	{
		const FString Object = Row.bObjectGone ? FString(TEXT("(gone)")) : OrDash(Row.ObjectName);
		Lines.Add(FString::Printf(TEXT("  %-32s  %-12s  %4lld  %-8s  %-20s  %s"),
			*Row.Identity.ToString(EGuidFormats::Digits),
			*StatusName(Row.Status),
			(long long)Row.Generation,
			Row.Origin == EVesk_ReferenceIdentityOrigin::Saved ? TEXT("Saved") : TEXT("Explicit"),
			*Object,
			*OrDash(Row.OwningActorName)).TrimEnd());
	}

	Lines.Add(TEXT("Observations:"));
	Lines.Add(FString::Printf(TEXT("  %-32s  %-20s  %-18s  %-6s  %s"), TEXT("Identity"), TEXT("Consumer"), TEXT("Last status"), TEXT("Active"), TEXT("Expects")));
	for (const FVesk_ReferenceObservationRow& Row : View.Observations)
	{
		// The class asked for, and after a dot the component class, as the observation resolves them.
		FString Expects = OrDash(Row.ExpectedTypeName);
		if (!Row.ComponentTypeName.IsEmpty())
		{
			Expects += TEXT(".") + Row.ComponentTypeName;
		}
		Lines.Add(FString::Printf(TEXT("  %-32s  %-20s  %-18s  %-6s  %s"),
			*Row.Identity.ToString(EGuidFormats::Digits),
			*OrDash(Row.ConsumerName),
			*StatusName(Row.LastStatus),
			Row.bActive ? TEXT("yes") : TEXT("no"),
			*Expects));
	}

	Lines.Add(FString::Printf(TEXT("Ended actors: %s"), View.EndedActorNames.IsEmpty() ? TEXT("-") : *FString::Join(View.EndedActorNames, TEXT(", "))));
	return Lines;
}

void FVesk_ReferenceRegistryTable::Print(const FVesk_ReferenceRegistryView& View, FOutputDevice& Output)
{
	for (const FString& Line : ToLines(View))
	{
		Output.Log(Line);
	}
}
