#pragma once

#include "CoreTypes.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTypeTraits.h"

// Stores an old-style enum in one byte.
template <class InEnumType>
class TEnumAsByte
{
public:
	using EnumType = InEnumType;

	constexpr TEnumAsByte() = default;
	constexpr TEnumAsByte(const TEnumAsByte&) = default;
	constexpr TEnumAsByte& operator=(const TEnumAsByte&) = default;

	FORCEINLINE constexpr TEnumAsByte(EnumType InValue)
		: Value(static_cast<uint8>(InValue))
	{
	}

	explicit FORCEINLINE constexpr TEnumAsByte(int32 InValue)
		: Value(static_cast<uint8>(InValue))
	{
	}

	explicit FORCEINLINE constexpr TEnumAsByte(uint8 InValue)
		: Value(InValue)
	{
	}

	FORCEINLINE constexpr bool operator==(EnumType InValue) const
	{
		return static_cast<EnumType>(Value) == InValue;
	}

	FORCEINLINE constexpr bool operator==(TEnumAsByte InValue) const
	{
		return Value == InValue.Value;
	}

	FORCEINLINE constexpr operator EnumType() const
	{
		return (EnumType)Value;
	}

	FORCEINLINE constexpr EnumType GetValue() const
	{
		return (EnumType)Value;
	}

	FORCEINLINE constexpr uint8 GetIntValue() const
	{
		return Value;
	}

	friend FORCEINLINE uint32 GetTypeHash(const TEnumAsByte& Enum)
	{
		return GetTypeHash(Enum.Value);
	}

private:
	uint8 Value = 0;
};

template <class T>
struct TIsPODType<TEnumAsByte<T>>
{
	enum { Value = true };
};

template <class T>
struct TIsZeroConstructType<TEnumAsByte<T>>
{
	enum { Value = true };
};
