#include "Math/Rotator.h"

const FRotator FRotator::ZeroRotator(0.0, 0.0, 0.0);

FString FRotator::ToString() const
{
	return FString::Printf(TEXT("P=%f Y=%f R=%f"), Pitch, Yaw, Roll);
}
