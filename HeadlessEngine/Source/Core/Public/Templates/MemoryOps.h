#pragma once

#include "CoreTypes.h"
#include "HAL/UnrealMemory.h"
#include "Templates/UnrealTemplate.h"

#include <new>
#include <type_traits>

template <typename ElementType, typename SizeType>
FORCEINLINE void DefaultConstructItems(void* Address, SizeType Count)
{
	if constexpr (TIsZeroConstructType<ElementType>::Value)
	{
		FMemory::Memzero(Address, sizeof(ElementType) * Count);
	}
	else
	{
		ElementType* Element = (ElementType*)Address;
		for (SizeType Index = 0; Index < Count; ++Index)
		{
			new (Element + Index) ElementType();
		}
	}
}

template <typename ElementType>
FORCEINLINE void DestructItem(ElementType* Element)
{
	if constexpr (!std::is_trivially_destructible_v<ElementType>)
	{
		Element->~ElementType();
	}
}

template <typename ElementType, typename SizeType>
FORCEINLINE void DestructItems(ElementType* Element, SizeType Count)
{
	if constexpr (!std::is_trivially_destructible_v<ElementType>)
	{
		for (SizeType Index = 0; Index < Count; ++Index)
		{
			Element[Index].~ElementType();
		}
	}
}

template <typename DestinationElementType, typename SourceElementType, typename SizeType>
FORCEINLINE void ConstructItems(void* Dest, const SourceElementType* Source, SizeType Count)
{
	if constexpr (std::is_same_v<DestinationElementType, SourceElementType> && std::is_trivially_copyable_v<SourceElementType>)
	{
		FMemory::Memcpy(Dest, Source, sizeof(SourceElementType) * Count);
	}
	else
	{
		DestinationElementType* Element = (DestinationElementType*)Dest;
		for (SizeType Index = 0; Index < Count; ++Index)
		{
			new (Element + Index) DestinationElementType(Source[Index]);
		}
	}
}

// Moves Count elements from Source to Dest and ends the lifetime of the sources. The ranges
// may overlap, as with memmove. Types that are not trivially copyable are moved element by
// element, so objects that point into themselves stay valid.
template <typename ElementType, typename SizeType>
FORCEINLINE void RelocateConstructItems(void* Dest, ElementType* Source, SizeType Count)
{
	if (Count <= 0 || Dest == Source)
	{
		return;
	}
	if constexpr (std::is_trivially_copyable_v<ElementType>)
	{
		FMemory::Memmove(Dest, Source, sizeof(ElementType) * Count);
	}
	else
	{
		ElementType* DestElements = (ElementType*)Dest;
		if (DestElements < Source)
		{
			for (SizeType Index = 0; Index < Count; ++Index)
			{
				new (DestElements + Index) ElementType(MoveTempIfPossible(Source[Index]));
				Source[Index].~ElementType();
			}
		}
		else
		{
			for (SizeType Index = Count; Index-- > 0;)
			{
				new (DestElements + Index) ElementType(MoveTempIfPossible(Source[Index]));
				Source[Index].~ElementType();
			}
		}
	}
}

template <typename ElementType, typename SizeType>
FORCEINLINE bool CompareItems(const ElementType* A, const ElementType* B, SizeType Count)
{
	for (SizeType Index = 0; Index < Count; ++Index)
	{
		if (!(A[Index] == B[Index]))
		{
			return false;
		}
	}
	return true;
}
