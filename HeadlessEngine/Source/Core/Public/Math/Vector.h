#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Math/UnrealMathUtility.h"
#include "Serialization/Archive.h"
#include "Templates/TypeHash.h"

// Double-precision 3D vector.
struct FVector
{
	double X = 0.0;
	double Y = 0.0;
	double Z = 0.0;

	static CORE_API const FVector ZeroVector;
	static CORE_API const FVector OneVector;
	static CORE_API const FVector UpVector;
	static CORE_API const FVector ForwardVector;
	static CORE_API const FVector RightVector;

	constexpr FVector() = default;

	constexpr FVector(double InX, double InY, double InZ)
		: X(InX)
		, Y(InY)
		, Z(InZ)
	{
	}

	explicit constexpr FVector(double InF)
		: X(InF)
		, Y(InF)
		, Z(InF)
	{
	}

	explicit constexpr FVector(EForceInit)
	{
	}

	constexpr FVector operator+(const FVector& V) const { return FVector(X + V.X, Y + V.Y, Z + V.Z); }
	constexpr FVector operator-(const FVector& V) const { return FVector(X - V.X, Y - V.Y, Z - V.Z); }
	constexpr FVector operator-() const { return FVector(-X, -Y, -Z); }
	constexpr FVector operator*(double Scale) const { return FVector(X * Scale, Y * Scale, Z * Scale); }
	constexpr FVector operator/(double Scale) const { return FVector(X / Scale, Y / Scale, Z / Scale); }
	constexpr FVector operator*(const FVector& V) const { return FVector(X * V.X, Y * V.Y, Z * V.Z); }
	FVector& operator+=(const FVector& V) { X += V.X; Y += V.Y; Z += V.Z; return *this; }
	FVector& operator-=(const FVector& V) { X -= V.X; Y -= V.Y; Z -= V.Z; return *this; }
	FVector& operator*=(double Scale) { X *= Scale; Y *= Scale; Z *= Scale; return *this; }
	constexpr bool operator==(const FVector& V) const { return X == V.X && Y == V.Y && Z == V.Z; }
	constexpr bool operator!=(const FVector& V) const { return !(*this == V); }
	friend constexpr FVector operator*(double Scale, const FVector& V) { return V * Scale; }

	constexpr double operator|(const FVector& V) const { return X * V.X + Y * V.Y + Z * V.Z; }
	constexpr FVector operator^(const FVector& V) const { return FVector(Y * V.Z - Z * V.Y, Z * V.X - X * V.Z, X * V.Y - Y * V.X); }
	static constexpr double DotProduct(const FVector& A, const FVector& B) { return A | B; }
	static constexpr FVector CrossProduct(const FVector& A, const FVector& B) { return A ^ B; }

	double Size() const { return FMath::Sqrt(X * X + Y * Y + Z * Z); }
	constexpr double SizeSquared() const { return X * X + Y * Y + Z * Z; }
	static double Dist(const FVector& A, const FVector& B) { return (A - B).Size(); }
	static constexpr double DistSquared(const FVector& A, const FVector& B) { return (A - B).SizeSquared(); }
	bool IsZero() const { return X == 0.0 && Y == 0.0 && Z == 0.0; }
	bool IsNearlyZero(double Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(X) <= Tolerance && FMath::Abs(Y) <= Tolerance && FMath::Abs(Z) <= Tolerance;
	}
	bool Equals(const FVector& V, double Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(X - V.X) <= Tolerance && FMath::Abs(Y - V.Y) <= Tolerance && FMath::Abs(Z - V.Z) <= Tolerance;
	}

	FVector GetSafeNormal(double Tolerance = UE_SMALL_NUMBER) const
	{
		const double SquareSum = SizeSquared();
		if (SquareSum <= Tolerance)
		{
			return FVector();
		}
		return *this * (1.0 / FMath::Sqrt(SquareSum));
	}

	CORE_API FString ToString() const;

	friend FArchive& operator<<(FArchive& Ar, FVector& V)
	{
		return Ar << V.X << V.Y << V.Z;
	}

	friend uint32 GetTypeHash(const FVector& V)
	{
		return HashCombine(HashCombine(GetTypeHash(V.X), GetTypeHash(V.Y)), GetTypeHash(V.Z));
	}
};

template <>
struct TIsPODType<FVector>
{
	enum { Value = true };
};
