#pragma once

#include "Templates/Less.h"

#include <type_traits>

// Containers of pointers sort by the pointed-to values, as the engine's do.
template <typename T, class PredicateType>
class TDereferenceWrapper
{
public:
	explicit TDereferenceWrapper(const PredicateType& InPredicate)
		: Predicate(InPredicate)
	{
	}

	FORCEINLINE bool operator()(const T& A, const T& B) const
	{
		return Predicate(A, B);
	}

private:
	const PredicateType& Predicate;
};

template <typename T, class PredicateType>
class TDereferenceWrapper<T*, PredicateType>
{
public:
	explicit TDereferenceWrapper(const PredicateType& InPredicate)
		: Predicate(InPredicate)
	{
	}

	FORCEINLINE bool operator()(T* A, T* B) const
	{
		return Predicate(*A, *B);
	}

private:
	const PredicateType& Predicate;
};
