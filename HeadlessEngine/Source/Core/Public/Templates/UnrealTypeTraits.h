#pragma once

#include "CoreTypes.h"

#include <type_traits>

// The engine's traits keep their pre-standard shape (an unnamed enum holding Value) because
// engine and game code specialise them that way.

template <bool bPredicate, typename Result = void>
class TEnableIf;

template <typename Result>
class TEnableIf<true, Result>
{
public:
	using type = Result;
	using Type = Result;
};

template <typename Result>
class TEnableIf<false, Result>
{
};

template <typename T>
struct TIsEnum
{
	enum { Value = __is_enum(T) };
};

template <typename T>
struct TIsEnumClass
{
	enum { Value = std::is_enum_v<T> && !std::is_convertible_v<T, int64> };
};

template <typename T>
struct TIsArithmetic
{
	enum { Value = std::is_arithmetic_v<T> };
};

template <typename T>
struct TIsPointer
{
	enum { Value = std::is_pointer_v<T> };
};

template <typename T>
struct TIsIntegral
{
	enum { Value = std::is_integral_v<T> };
};

template <typename T>
struct TIsFloatingPoint
{
	enum { Value = std::is_floating_point_v<T> };
};

template <typename A, typename B>
struct TIsSame
{
	enum { Value = std::is_same_v<A, B> };
};

template <typename A, typename B>
struct TAreTypesEqual
{
	enum { Value = std::is_same_v<A, B> };
};

template <typename From, typename To>
struct TIsDerivedFrom
{
	enum { IsDerived = std::is_base_of_v<To, From> || std::is_same_v<From, To>, Value = IsDerived };
};

template <typename T>
struct TIsPODType
{
	enum { Value = (std::is_trivial_v<T> && std::is_standard_layout_v<T>) || std::is_enum_v<T> };
};

// Types whose default state is all-zero bytes; containers may zero-fill instead of constructing.
template <typename T>
struct TIsZeroConstructType
{
	enum { Value = std::is_enum_v<T> || std::is_arithmetic_v<T> || std::is_pointer_v<T> };
};

template <typename T>
struct TIsTriviallyDestructible
{
	enum { Value = std::is_trivially_destructible_v<T> };
};

template <typename T>
struct TIsTriviallyCopyConstructible
{
	enum { Value = std::is_trivially_copy_constructible_v<T> };
};

template <typename T>
struct TIsTriviallyCopyAssignable
{
	enum { Value = std::is_trivially_copy_assignable_v<T> };
};

template <typename T>
struct TIsTriviallyRelocatable
{
	enum { Value = std::is_trivially_copyable_v<T> };
};

template <typename T>
struct TIsLValueReferenceType
{
	enum { Value = std::is_lvalue_reference_v<T> };
};

template <typename T>
struct TIsRValueReferenceType
{
	enum { Value = std::is_rvalue_reference_v<T> };
};

template <typename T>
struct TRemoveReference
{
	using Type = std::remove_reference_t<T>;
};

template <typename T>
struct TRemoveCV
{
	using Type = std::remove_cv_t<T>;
};

template <typename T>
struct TDecay
{
	using Type = std::decay_t<T>;
};

template <typename T>
struct TRemovePointer
{
	using Type = std::remove_pointer_t<T>;
};

template <bool bCondition, typename TrueType, typename FalseType>
struct TChooseClass
{
	using Result = std::conditional_t<bCondition, TrueType, FalseType>;
};

template <typename... Types>
struct TAnd
{
	enum { Value = (Types::Value && ...) };
};

template <typename... Types>
struct TOr
{
	enum { Value = (Types::Value || ...) };
};

template <typename Type>
struct TNot
{
	enum { Value = !Type::Value };
};

template <typename T>
struct TIsContiguousContainer
{
	enum { Value = false };
};

// How a container passes its element or key type to functions: small values by value;
// a pointer key may be looked up with a pointer to const.
template <typename T>
struct TCallTraits
{
private:
	static constexpr bool bPassByValue = std::is_arithmetic_v<T> || std::is_pointer_v<T> || std::is_enum_v<T>;

	template <typename U>
	struct TConstPointer
	{
		using Type = std::conditional_t<bPassByValue, const U, const U&>;
	};

	template <typename U>
	struct TConstPointer<U*>
	{
		using Type = const U*;
	};

public:
	using ValueType = T;
	using ParamType = std::conditional_t<bPassByValue, const T, const T&>;
	using ConstParamType = typename TConstPointer<T>::Type;
	using ConstPointerType = typename TConstPointer<T>::Type;
	using Reference = T&;
	using ConstReference = const T&;
};

template <typename T>
struct TTypeTraits
{
	using ConstInitType = typename TCallTraits<T>::ParamType;
	using ConstPointerType = typename TCallTraits<T>::ConstPointerType;
	enum { IsBytewiseComparable = std::is_enum_v<T> || std::is_arithmetic_v<T> || std::is_pointer_v<T> };
};

// Arguments that may go through a C variadic call (printf-style formatting).
template <typename T>
struct TIsValidVariadicFunctionArg
{
private:
	using D = std::decay_t<T>;

public:
	enum { Value = std::is_arithmetic_v<D> || std::is_pointer_v<D> || std::is_enum_v<D> || std::is_null_pointer_v<D> };
};
