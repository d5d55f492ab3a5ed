#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Math/UnrealMathUtility.h"
#include "Serialization/Archive.h"

// Rotation in degrees.
struct FRotator
{
	double Pitch = 0.0;
	double Yaw = 0.0;
	double Roll = 0.0;

	static CORE_API const FRotator ZeroRotator;

	constexpr FRotator() = default;

	constexpr FRotator(double InPitch, double InYaw, double InRoll)
		: Pitch(InPitch)
		, Yaw(InYaw)
		, Roll(InRoll)
	{
	}

	explicit constexpr FRotator(double InF)
		: Pitch(InF)
		, Yaw(InF)
		, Roll(InF)
	{
	}

	explicit constexpr FRotator(EForceInit)
	{
	}

	constexpr FRotator operator+(const FRotator& R) const { return FRotator(Pitch + R.Pitch, Yaw + R.Yaw, Roll + R.Roll); }
	constexpr FRotator operator-(const FRotator& R) const { return FRotator(Pitch - R.Pitch, Yaw - R.Yaw, Roll - R.Roll); }
	constexpr FRotator operator*(double Scale) const { return FRotator(Pitch * Scale, Yaw * Scale, Roll * Scale); }
	constexpr bool operator==(const FRotator& R) const { return Pitch == R.Pitch && Yaw == R.Yaw && Roll == R.Roll; }
	constexpr bool operator!=(const FRotator& R) const { return !(*this == R); }

	bool IsZero() const { return Pitch == 0.0 && Yaw == 0.0 && Roll == 0.0; }
	bool IsNearlyZero(double Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(Pitch) <= Tolerance && FMath::Abs(Yaw) <= Tolerance && FMath::Abs(Roll) <= Tolerance;
	}
	bool Equals(const FRotator& R, double Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(Pitch - R.Pitch) <= Tolerance && FMath::Abs(Yaw - R.Yaw) <= Tolerance && FMath::Abs(Roll - R.Roll) <= Tolerance;
	}

	CORE_API FString ToString() const;

	friend FArchive& operator<<(FArchive& Ar, FRotator& R)
	{
		return Ar << R.Pitch << R.Yaw << R.Roll;
	}
};

template <>
struct TIsPODType<FRotator>
{
	enum { Value = true };
};
