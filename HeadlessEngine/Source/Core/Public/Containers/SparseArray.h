#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Misc/AssertionMacros.h"
#include "Templates/UnrealTemplate.h"

#include <new>

// Array with stable indices: removing leaves a hole, and the next addition fills the hole
// freed most recently (a LIFO free list), as the engine's sparse array does.
template <typename InElementType, typename InAllocator>
class TSparseArray
{
public:
	using ElementType = InElementType;

private:
	// Holds an element or a free-list link. Moving the slot moves its element, so the
	// underlying array may relocate slots of any element type.
	struct FSlot
	{
		alignas(ElementType) unsigned char Storage[sizeof(ElementType)];
		int32 NextFreeIndex = INDEX_NONE;
		bool bAllocated = false;

		FSlot() = default;

		FSlot(const FSlot& Other)
			: NextFreeIndex(Other.NextFreeIndex)
			, bAllocated(Other.bAllocated)
		{
			if (bAllocated)
			{
				new (Storage) ElementType(Other.Get());
			}
		}

		FSlot(FSlot&& Other)
			: NextFreeIndex(Other.NextFreeIndex)
			, bAllocated(Other.bAllocated)
		{
			if (bAllocated)
			{
				new (Storage) ElementType(MoveTempIfPossible(Other.Get()));
			}
		}

		FSlot& operator=(FSlot&& Other)
		{
			if (this != &Other)
			{
				Destroy();
				NextFreeIndex = Other.NextFreeIndex;
				if (Other.bAllocated)
				{
					new (Storage) ElementType(MoveTempIfPossible(Other.Get()));
					bAllocated = true;
				}
			}
			return *this;
		}

		FSlot& operator=(const FSlot&) = delete;

		~FSlot()
		{
			Destroy();
		}

		ElementType& Get() { return *std::launder(reinterpret_cast<ElementType*>(Storage)); }
		const ElementType& Get() const { return *std::launder(reinterpret_cast<const ElementType*>(Storage)); }

		void Destroy()
		{
			if (bAllocated)
			{
				DestructItem(&Get());
				bAllocated = false;
			}
		}
	};

public:
	TSparseArray() = default;
	TSparseArray(const TSparseArray&) = default;
	TSparseArray& operator=(const TSparseArray& Other)
	{
		if (this != &Other)
		{
			Data.Reset();
			Data.Reserve(Other.Data.Num());
			for (const FSlot& Slot : Other.Data)
			{
				Data.Emplace(Slot);
			}
			FirstFreeIndex = Other.FirstFreeIndex;
			NumFreeIndices = Other.NumFreeIndices;
		}
		return *this;
	}

	TSparseArray(TSparseArray&& Other) noexcept
		: Data(MoveTemp(Other.Data))
		, FirstFreeIndex(Exchange(Other.FirstFreeIndex, (int32)INDEX_NONE))
		, NumFreeIndices(Exchange(Other.NumFreeIndices, 0))
	{
	}

	TSparseArray& operator=(TSparseArray&& Other) noexcept
	{
		if (this != &Other)
		{
			Data = MoveTemp(Other.Data);
			FirstFreeIndex = Exchange(Other.FirstFreeIndex, (int32)INDEX_NONE);
			NumFreeIndices = Exchange(Other.NumFreeIndices, 0);
		}
		return *this;
	}

	// Returns the index of a slot whose element the caller must construct with new.
	int32 AllocateIndex()
	{
		int32 Index;
		if (NumFreeIndices > 0)
		{
			Index = FirstFreeIndex;
			FirstFreeIndex = Data[Index].NextFreeIndex;
			--NumFreeIndices;
		}
		else
		{
			Index = Data.Emplace();
		}
		Data[Index].NextFreeIndex = INDEX_NONE;
		return Index;
	}

	template <typename... ArgsType>
	int32 Emplace(ArgsType&&... Args)
	{
		const int32 Index = AllocateIndex();
		FSlot& Slot = Data[Index];
		new (Slot.Storage) ElementType(Forward<ArgsType>(Args)...);
		Slot.bAllocated = true;
		return Index;
	}

	int32 Add(const ElementType& Element) { return Emplace(Element); }
	int32 Add(ElementType&& Element) { return Emplace(MoveTempIfPossible(Element)); }

	void RemoveAt(int32 Index, int32 Count = 1)
	{
		for (int32 It = Index; It < Index + Count; ++It)
		{
			checkf(IsAllocated(It), TEXT("Sparse array index %lld is not allocated"), (long long)It);
			FSlot& Slot = Data[It];
			Slot.Destroy();
			Slot.NextFreeIndex = FirstFreeIndex;
			FirstFreeIndex = It;
			++NumFreeIndices;
		}
	}

	void Reset()
	{
		Data.Reset();
		FirstFreeIndex = INDEX_NONE;
		NumFreeIndices = 0;
	}

	void Empty(int32 ExpectedNumElements = 0)
	{
		Data.Empty(ExpectedNumElements);
		FirstFreeIndex = INDEX_NONE;
		NumFreeIndices = 0;
	}

	void Reserve(int32 ExpectedNumElements)
	{
		Data.Reserve(ExpectedNumElements);
	}

	// Removes trailing holes and gives back unused storage; indices of elements stay.
	void Shrink()
	{
		int32 NewNum = Data.Num();
		while (NewNum > 0 && !Data[NewNum - 1].bAllocated)
		{
			--NewNum;
		}
		if (NewNum != Data.Num())
		{
			Data.SetNum(NewNum, EAllowShrinking::No);
			RebuildFreeList();
		}
		Data.Shrink();
	}

	// Closes the holes keeping the order of the elements. Returns true if anything moved.
	bool CompactStable()
	{
		if (NumFreeIndices == 0)
		{
			return false;
		}
		Data.RemoveAll([](const FSlot& Slot) { return !Slot.bAllocated; });
		FirstFreeIndex = INDEX_NONE;
		NumFreeIndices = 0;
		return true;
	}

	// Sorts a compact array; call CompactStable first.
	template <typename PredicateType>
	void SortCompacted(const PredicateType& Predicate)
	{
		check(NumFreeIndices == 0);
		Data.Sort([&Predicate](const FSlot& A, const FSlot& B) { return Predicate(A.Get(), B.Get()); });
	}

	FORCEINLINE int32 Num() const { return Data.Num() - NumFreeIndices; }
	FORCEINLINE int32 GetMaxIndex() const { return Data.Num(); }
	FORCEINLINE int32 Max() const { return Data.Max(); }
	FORCEINLINE bool IsEmpty() const { return Num() == 0; }
	FORCEINLINE bool IsValidIndex(int32 Index) const { return Data.IsValidIndex(Index) && Data[Index].bAllocated; }
	FORCEINLINE bool IsAllocated(int32 Index) const { return IsValidIndex(Index); }
	FORCEINLINE bool IsCompact() const { return NumFreeIndices == 0; }
	FORCEINLINE SIZE_T GetAllocatedSize() const { return Data.GetAllocatedSize(); }

	ElementType& operator[](int32 Index)
	{
		checkf(IsAllocated(Index), TEXT("Sparse array index %lld is not allocated"), (long long)Index);
		return Data[Index].Get();
	}

	const ElementType& operator[](int32 Index) const
	{
		checkf(IsAllocated(Index), TEXT("Sparse array index %lld is not allocated"), (long long)Index);
		return Data[Index].Get();
	}

	// Index of the first allocated slot at or after Index, or GetMaxIndex().
	int32 NextAllocatedIndex(int32 Index) const
	{
		while (Index < Data.Num() && !Data[Index].bAllocated)
		{
			++Index;
		}
		return Index;
	}

private:
	void RebuildFreeList()
	{
		FirstFreeIndex = INDEX_NONE;
		NumFreeIndices = 0;
		for (int32 Index = 0; Index < Data.Num(); ++Index)
		{
			if (!Data[Index].bAllocated)
			{
				Data[Index].NextFreeIndex = FirstFreeIndex;
				FirstFreeIndex = Index;
				++NumFreeIndices;
			}
		}
	}

	TArray<FSlot> Data;
	int32 FirstFreeIndex = INDEX_NONE;
	int32 NumFreeIndices = 0;
};
