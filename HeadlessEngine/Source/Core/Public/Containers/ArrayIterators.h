#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"

// Iterator over an indexed container that can remove the element it stands on.
template <typename ContainerType, typename ElementType, typename SizeType>
class TIndexedContainerIterator
{
public:
	TIndexedContainerIterator(ContainerType& InContainer, SizeType StartIndex = 0)
		: Container(InContainer)
		, Index(StartIndex)
	{
	}

	TIndexedContainerIterator& operator++()
	{
		++Index;
		return *this;
	}

	TIndexedContainerIterator operator++(int)
	{
		TIndexedContainerIterator Tmp(*this);
		++Index;
		return Tmp;
	}

	TIndexedContainerIterator& operator--()
	{
		--Index;
		return *this;
	}

	TIndexedContainerIterator operator--(int)
	{
		TIndexedContainerIterator Tmp(*this);
		--Index;
		return Tmp;
	}

	TIndexedContainerIterator& operator+=(SizeType Offset)
	{
		Index += Offset;
		return *this;
	}

	ElementType& operator*() const
	{
		return Container[Index];
	}

	ElementType* operator->() const
	{
		return &Container[Index];
	}

	FORCEINLINE explicit operator bool() const
	{
		return Container.IsValidIndex(Index);
	}

	SizeType GetIndex() const
	{
		return Index;
	}

	void Reset()
	{
		Index = 0;
	}

	void SetToEnd()
	{
		Index = Container.Num();
	}

	// Removes the current element; the next ++ moves to the element that followed it.
	void RemoveCurrent()
	{
		Container.RemoveAt(Index);
		Index--;
	}

	// Swaps the last element into the current slot; the next ++ visits it.
	void RemoveCurrentSwap()
	{
		Container.RemoveAtSwap(Index);
		Index--;
	}

	FORCEINLINE bool operator==(const TIndexedContainerIterator& Rhs) const
	{
		return &Container == &Rhs.Container && Index == Rhs.Index;
	}

private:
	ContainerType& Container;
	SizeType Index;
};

// Pointer iterator for ranged-for that asserts when the array was resized during the loop.
template <typename ElementType, typename SizeType, bool bReverse = false>
class TCheckedPointerIterator
{
public:
	explicit TCheckedPointerIterator(const SizeType& InNum, ElementType* InPtr)
		: Ptr(InPtr)
		, CurrentNum(InNum)
		, InitialNum(InNum)
	{
	}

	FORCEINLINE ElementType& operator*() const
	{
		if constexpr (bReverse)
		{
			return *(Ptr - 1);
		}
		else
		{
			return *Ptr;
		}
	}

	FORCEINLINE TCheckedPointerIterator& operator++()
	{
		if constexpr (bReverse)
		{
			--Ptr;
		}
		else
		{
			++Ptr;
		}
		return *this;
	}

	FORCEINLINE bool operator!=(const TCheckedPointerIterator& Rhs) const
	{
		checkf(CurrentNum == InitialNum, TEXT("Array has changed during ranged-for iteration!"));
		return Ptr != Rhs.Ptr;
	}

	FORCEINLINE bool operator==(const TCheckedPointerIterator& Rhs) const
	{
		return !(*this != Rhs);
	}

private:
	ElementType* Ptr;
	const SizeType& CurrentNum;
	SizeType InitialNum;
};
