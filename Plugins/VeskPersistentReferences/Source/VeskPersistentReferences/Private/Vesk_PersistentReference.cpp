#include "Vesk_PersistentReference.h"

FString FVesk_PersistentReference::ToString() const
{
	FString Result;
	Id.AppendString(Result, EGuidFormats::Digits);
	return Result;
}
