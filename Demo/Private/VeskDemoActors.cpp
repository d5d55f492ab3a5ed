#include "VeskDemoActors.h"

#include "Vesk_ReferenceBlueprintLibrary.h"

FString AVeskDemoCourier::FetchWater() const
{
	const TVesk_ResolvedReference<AVeskDemoWell> Found = GetWell().Resolve(this);
	if (!Found)
	{
		return UVesk_ReferenceBlueprintLibrary::Conv_ReferenceStatusToText(Found.Status).ToString();
	}
	AVeskDemoWell* FoundWell = Found.Get();
	++FoundWell->BucketsDrawn;
	return FString::Printf(TEXT("bucket %d"), FoundWell->BucketsDrawn);
}
