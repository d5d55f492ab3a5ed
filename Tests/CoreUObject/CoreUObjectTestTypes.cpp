#include "CoreUObjectTestTypes.h"

#include "Templates/Casts.h"

void UTestCustomReferencer::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	UTestCustomReferencer* This = CastChecked<UTestCustomReferencer>(InThis);
	Collector.AddReferencedObject(This->Extra, This);
	Super::AddReferencedObjects(InThis, Collector);
}

void UTestListener::HandleSignal(int32 Value)
{
	Received.Emplace(FName(TEXT("HandleSignal")), Value);
	if (DuringSignal)
	{
		DuringSignal(Value);
	}
}

void UTestListener::HandleOther(int32 Value)
{
	Received.Emplace(FName(TEXT("HandleOther")), Value);
}

void UTestListener::HandleUnreflected(int32 Value)
{
	Received.Emplace(FName(TEXT("HandleUnreflected")), Value);
}

int64 UTestListener::Add(int64 A, int64 B)
{
	return A + B;
}

void UTestListener::Bump(FTestPayload& Payload, int32 Amount)
{
	Payload.Saved += Amount;
}

FTestPayload UTestListener::Echo(FTestPayload Payload, UObject* Object)
{
	Payload.Held = Object;
	return Payload;
}
