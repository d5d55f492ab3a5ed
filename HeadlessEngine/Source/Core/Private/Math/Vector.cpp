#include "Math/Vector.h"

const FVector FVector::ZeroVector(0.0, 0.0, 0.0);
const FVector FVector::OneVector(1.0, 1.0, 1.0);
const FVector FVector::UpVector(0.0, 0.0, 1.0);
const FVector FVector::ForwardVector(1.0, 0.0, 0.0);
const FVector FVector::RightVector(0.0, 1.0, 0.0);

FString FVector::ToString() const
{
	return FString::Printf(TEXT("X=%3.3f Y=%3.3f Z=%3.3f"), X, Y, Z);
}
