#pragma once

#include "CoreTypes.h"
#include "Serialization/Archive.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTemplate.h"

#include <tuple>
#include <type_traits>

// A fixed group of values. The two-element form is the map pair, with members Key and Value.
template <typename... Types>
struct TTuple
{
	TTuple() = default;

	template <typename... ArgTypes>
		requires(sizeof...(ArgTypes) == sizeof...(Types) && sizeof...(Types) > 0)
	explicit TTuple(ArgTypes&&... Args)
		: Values(Forward<ArgTypes>(Args)...)
	{
	}

	template <uint32 Index>
	decltype(auto) Get() &
	{
		return std::get<Index>(Values);
	}

	template <uint32 Index>
	decltype(auto) Get() const&
	{
		return std::get<Index>(Values);
	}

	template <typename FuncType>
	decltype(auto) ApplyAfter(FuncType&& Func) const
	{
		return std::apply(Forward<FuncType>(Func), Values);
	}

	friend bool operator==(const TTuple& A, const TTuple& B)
	{
		return A.Values == B.Values;
	}

	friend bool operator<(const TTuple& A, const TTuple& B)
	{
		return A.Values < B.Values;
	}

	static constexpr uint32 Num()
	{
		return sizeof...(Types);
	}

private:
	std::tuple<Types...> Values;
};

template <typename KeyType, typename ValueType>
struct TTuple<KeyType, ValueType>
{
	using KeyInitType = KeyType;
	using ValueInitType = ValueType;

	TTuple() = default;
	TTuple(const TTuple&) = default;
	TTuple(TTuple&&) = default;
	TTuple& operator=(const TTuple&) = default;
	TTuple& operator=(TTuple&&) = default;

	template <typename KeyArgType, typename ValueArgType>
	TTuple(KeyArgType&& InKey, ValueArgType&& InValue)
		: Key(Forward<KeyArgType>(InKey))
		, Value(Forward<ValueArgType>(InValue))
	{
	}

	template <uint32 Index>
	decltype(auto) Get() &
	{
		static_assert(Index < 2, "Tuple index out of range");
		if constexpr (Index == 0)
		{
			return (Key);
		}
		else
		{
			return (Value);
		}
	}

	template <uint32 Index>
	decltype(auto) Get() const&
	{
		static_assert(Index < 2, "Tuple index out of range");
		if constexpr (Index == 0)
		{
			return (Key);
		}
		else
		{
			return (Value);
		}
	}

	friend bool operator==(const TTuple& A, const TTuple& B)
	{
		return A.Key == B.Key && A.Value == B.Value;
	}

	friend bool operator<(const TTuple& A, const TTuple& B)
	{
		return A.Key < B.Key || (!(B.Key < A.Key) && A.Value < B.Value);
	}

	friend uint32 GetTypeHash(const TTuple& Tuple)
	{
		return HashCombine(GetTypeHash(Tuple.Key), GetTypeHash(Tuple.Value));
	}

	friend FArchive& operator<<(FArchive& Ar, TTuple& Tuple)
	{
		return Ar << Tuple.Key << Tuple.Value;
	}

	static constexpr uint32 Num()
	{
		return 2;
	}

	KeyType Key;
	ValueType Value;
};

template <typename KeyType, typename ValueType>
using TPair = TTuple<KeyType, ValueType>;

template <typename... Types>
FORCEINLINE TTuple<std::decay_t<Types>...> MakeTuple(Types&&... Args)
{
	return TTuple<std::decay_t<Types>...>(Forward<Types>(Args)...);
}

template <typename T>
struct TTupleArity;

template <typename... Types>
struct TTupleArity<TTuple<Types...>>
{
	enum { Value = sizeof...(Types) };
};
