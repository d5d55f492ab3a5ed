#pragma once

#include "CoreTypes.h"

#include <bit>
#include <cmath>

#define UE_PI (3.1415926535897932f)
#define UE_DOUBLE_PI (3.141592653589793238462643383279502884197169399)
#define UE_SMALL_NUMBER (1.e-8f)
#define UE_KINDA_SMALL_NUMBER (1.e-4f)
#define UE_DOUBLE_SMALL_NUMBER (1.e-8)
#define UE_DOUBLE_KINDA_SMALL_NUMBER (1.e-4)
#define UE_BIG_NUMBER (3.4e+38f)
#define MAX_int32 ((int32)0x7fffffff)
#define MIN_int32 ((int32)0x80000000)
#define MAX_uint32 ((uint32)0xffffffff)
#define MAX_int64 ((int64)0x7fffffffffffffff)
#define MAX_uint8 ((uint8)0xff)
#define MAX_uint16 ((uint16)0xffff)
#define MAX_flt (3.402823466e+38F)

struct FMath
{
	template <typename T>
	static constexpr FORCEINLINE T Min(const T A, const T B)
	{
		return (A <= B) ? A : B;
	}

	template <typename T>
	static constexpr FORCEINLINE T Max(const T A, const T B)
	{
		return (B <= A) ? A : B;
	}

	template <typename T>
	static constexpr FORCEINLINE T Clamp(const T X, const T MinValue, const T MaxValue)
	{
		return Max(Min(X, MaxValue), MinValue);
	}

	template <typename T>
	static constexpr FORCEINLINE T Abs(const T A)
	{
		return (A < (T)0) ? -A : A;
	}

	template <typename T>
	static constexpr FORCEINLINE T Sign(const T A)
	{
		return (A > (T)0) ? (T)1 : ((A < (T)0) ? (T)-1 : (T)0);
	}

	template <typename T>
	static constexpr FORCEINLINE T Square(const T A)
	{
		return A * A;
	}

	template <typename T>
	static constexpr FORCEINLINE T Max3(const T A, const T B, const T C)
	{
		return Max(Max(A, B), C);
	}

	template <typename T>
	static constexpr FORCEINLINE T Min3(const T A, const T B, const T C)
	{
		return Min(Min(A, B), C);
	}

	template <typename T, typename U>
	static constexpr FORCEINLINE T Lerp(const T& A, const T& B, const U& Alpha)
	{
		return (T)(A + Alpha * (B - A));
	}

	static FORCEINLINE float Sqrt(float Value) { return std::sqrt(Value); }
	static FORCEINLINE double Sqrt(double Value) { return std::sqrt(Value); }
	static FORCEINLINE float InvSqrt(float Value) { return 1.0f / std::sqrt(Value); }
	static FORCEINLINE double InvSqrt(double Value) { return 1.0 / std::sqrt(Value); }
	static FORCEINLINE float Sin(float Value) { return std::sin(Value); }
	static FORCEINLINE double Sin(double Value) { return std::sin(Value); }
	static FORCEINLINE float Cos(float Value) { return std::cos(Value); }
	static FORCEINLINE double Cos(double Value) { return std::cos(Value); }
	static FORCEINLINE double Atan2(double Y, double X) { return std::atan2(Y, X); }
	static FORCEINLINE float Fmod(float X, float Y) { return std::fmod(X, Y); }
	static FORCEINLINE double Fmod(double X, double Y) { return std::fmod(X, Y); }
	static FORCEINLINE int32 FloorToInt(float F) { return (int32)std::floor(F); }
	static FORCEINLINE int32 FloorToInt(double F) { return (int32)std::floor(F); }
	static FORCEINLINE int32 CeilToInt(float F) { return (int32)std::ceil(F); }
	static FORCEINLINE int32 CeilToInt(double F) { return (int32)std::ceil(F); }
	static FORCEINLINE int32 RoundToInt(float F) { return FloorToInt(F + 0.5f); }
	static FORCEINLINE int32 RoundToInt(double F) { return FloorToInt(F + 0.5); }
	static FORCEINLINE int32 TruncToInt(float F) { return (int32)F; }
	static FORCEINLINE int32 TruncToInt(double F) { return (int32)F; }
	static FORCEINLINE bool IsNaN(float A) { return std::isnan(A); }
	static FORCEINLINE bool IsNaN(double A) { return std::isnan(A); }
	static FORCEINLINE bool IsFinite(float A) { return std::isfinite(A); }
	static FORCEINLINE bool IsFinite(double A) { return std::isfinite(A); }

	static FORCEINLINE bool IsNearlyEqual(float A, float B, float ErrorTolerance = UE_SMALL_NUMBER)
	{
		return Abs(A - B) <= ErrorTolerance;
	}

	static FORCEINLINE bool IsNearlyEqual(double A, double B, double ErrorTolerance = UE_DOUBLE_SMALL_NUMBER)
	{
		return Abs(A - B) <= ErrorTolerance;
	}

	static FORCEINLINE bool IsNearlyZero(float Value, float ErrorTolerance = UE_SMALL_NUMBER)
	{
		return Abs(Value) <= ErrorTolerance;
	}

	static FORCEINLINE bool IsNearlyZero(double Value, double ErrorTolerance = UE_DOUBLE_SMALL_NUMBER)
	{
		return Abs(Value) <= ErrorTolerance;
	}

	template <typename T>
	static constexpr FORCEINLINE bool IsPowerOfTwo(T Value)
	{
		return ((Value & (Value - 1)) == (T)0);
	}

	static constexpr FORCEINLINE uint32 RoundUpToPowerOfTwo(uint32 Arg)
	{
		return Arg <= 1 ? 1 : std::bit_ceil(Arg);
	}

	static constexpr FORCEINLINE uint64 RoundUpToPowerOfTwo64(uint64 Arg)
	{
		return Arg <= 1 ? 1 : std::bit_ceil(Arg);
	}

	static constexpr FORCEINLINE uint32 FloorLog2(uint32 Value)
	{
		return Value == 0 ? 0 : 31 - (uint32)std::countl_zero(Value);
	}

	static constexpr FORCEINLINE uint32 CeilLogTwo(uint32 Arg)
	{
		return Arg <= 1 ? 0 : FloorLog2(Arg - 1) + 1;
	}

	static constexpr FORCEINLINE uint32 CountLeadingZeros(uint32 Value)
	{
		return (uint32)std::countl_zero(Value);
	}

	static constexpr FORCEINLINE uint32 CountTrailingZeros(uint32 Value)
	{
		return (uint32)std::countr_zero(Value);
	}

	template <typename T>
	static constexpr FORCEINLINE T DivideAndRoundUp(T Dividend, T Divisor)
	{
		return (Dividend + Divisor - 1) / Divisor;
	}
};
