#pragma once

#include "CoreTypes.h"
#include "Containers/AllowShrinking.h"
#include "Containers/ArrayIterators.h"
#include "Containers/ContainerAllocationPolicies.h"
#include "Containers/ContainersFwd.h"
#include "HAL/UnrealMemory.h"
#include "Misc/AssertionMacros.h"
#include "Serialization/Archive.h"
#include "Templates/Less.h"
#include "Templates/MemoryOps.h"
#include "Templates/Sorting.h"
#include "Templates/UnrealTemplate.h"
#include "Templates/UnrealTypeTraits.h"

#include <algorithm>
#include <initializer_list>

// Contiguous array. Reset keeps the allocation, Empty gives it back (beyond the requested
// slack), and removals only shrink when a lot of slack would be left, as the engine's do.
template <typename InElementType, typename InAllocatorType>
class TArray
{
	template <typename OtherElementType, typename OtherAllocatorType>
	friend class TArray;

public:
	using SizeType = int32;
	using ElementType = InElementType;
	using AllocatorType = InAllocatorType;
	using ElementAllocatorType = InAllocatorType;

	using TIterator = TIndexedContainerIterator<TArray, ElementType, SizeType>;
	using TConstIterator = TIndexedContainerIterator<const TArray, const ElementType, SizeType>;
	using RangedForIteratorType = TCheckedPointerIterator<ElementType, SizeType>;
	using RangedForConstIteratorType = TCheckedPointerIterator<const ElementType, SizeType>;

	TArray() = default;

	TArray(const ElementType* Ptr, SizeType Count)
	{
		check(Ptr != nullptr || Count == 0);
		CopyToEmpty(Ptr, Count, 0);
	}

	TArray(std::initializer_list<ElementType> InitList)
	{
		CopyToEmpty(InitList.begin(), (SizeType)InitList.size(), 0);
	}

	TArray(const TArray& Other)
	{
		CopyToEmpty(Other.GetData(), Other.Num(), 0);
	}

	template <typename OtherElementType, typename OtherAllocator>
	explicit TArray(const TArray<OtherElementType, OtherAllocator>& Other)
	{
		CopyToEmpty(Other.GetData(), Other.Num(), 0);
	}

	TArray(const TArray& Other, SizeType ExtraSlack)
	{
		CopyToEmpty(Other.GetData(), Other.Num(), ExtraSlack);
	}

	TArray(TArray&& Other) noexcept
		: Data(Other.Data)
		, ArrayNum(Other.ArrayNum)
		, ArrayMax(Other.ArrayMax)
	{
		Other.Data = nullptr;
		Other.ArrayNum = 0;
		Other.ArrayMax = 0;
	}

	template <typename OtherAllocator>
		requires(!std::is_same_v<OtherAllocator, AllocatorType>)
	TArray(TArray<ElementType, OtherAllocator>&& Other) noexcept
		: Data(Other.Data)
		, ArrayNum(Other.ArrayNum)
		, ArrayMax(Other.ArrayMax)
	{
		Other.Data = nullptr;
		Other.ArrayNum = 0;
		Other.ArrayMax = 0;
	}

	~TArray()
	{
		DestructItems(Data, ArrayNum);
		FMemory::Free(Data);
	}

	TArray& operator=(std::initializer_list<ElementType> InitList)
	{
		Reset();
		Append(InitList.begin(), (SizeType)InitList.size());
		return *this;
	}

	TArray& operator=(const TArray& Other)
	{
		if (this != &Other)
		{
			Reset();
			Append(Other.GetData(), Other.Num());
		}
		return *this;
	}

	template <typename OtherAllocator>
	TArray& operator=(const TArray<ElementType, OtherAllocator>& Other)
	{
		Reset();
		Append(Other.GetData(), Other.Num());
		return *this;
	}

	TArray& operator=(TArray&& Other) noexcept
	{
		if (this != &Other)
		{
			DestructItems(Data, ArrayNum);
			FMemory::Free(Data);
			Data = Exchange(Other.Data, nullptr);
			ArrayNum = Exchange(Other.ArrayNum, 0);
			ArrayMax = Exchange(Other.ArrayMax, 0);
		}
		return *this;
	}

	FORCEINLINE ElementType* GetData() { return Data; }
	FORCEINLINE const ElementType* GetData() const { return Data; }
	FORCEINLINE static constexpr uint32 GetTypeSize() { return sizeof(ElementType); }
	FORCEINLINE SIZE_T GetAllocatedSize() const { return (SIZE_T)ArrayMax * sizeof(ElementType); }
	FORCEINLINE SizeType GetSlack() const { return ArrayMax - ArrayNum; }
	FORCEINLINE SizeType Num() const { return ArrayNum; }
	FORCEINLINE SizeType Max() const { return ArrayMax; }
	FORCEINLINE bool IsEmpty() const { return ArrayNum == 0; }
	FORCEINLINE bool IsValidIndex(SizeType Index) const { return Index >= 0 && Index < ArrayNum; }

	FORCEINLINE void CheckInvariants() const
	{
		checkSlow((ArrayNum >= 0) & (ArrayMax >= ArrayNum));
	}

	FORCEINLINE void RangeCheck(SizeType Index) const
	{
		checkf((Index >= 0) & (Index < ArrayNum), TEXT("Array index out of bounds: %lld into an array of size %lld"), (long long)Index, (long long)ArrayNum);
	}

	FORCEINLINE ElementType& operator[](SizeType Index)
	{
		RangeCheck(Index);
		return Data[Index];
	}

	FORCEINLINE const ElementType& operator[](SizeType Index) const
	{
		RangeCheck(Index);
		return Data[Index];
	}

	ElementType& Last(SizeType IndexFromTheEnd = 0)
	{
		RangeCheck(ArrayNum - IndexFromTheEnd - 1);
		return Data[ArrayNum - IndexFromTheEnd - 1];
	}

	const ElementType& Last(SizeType IndexFromTheEnd = 0) const
	{
		RangeCheck(ArrayNum - IndexFromTheEnd - 1);
		return Data[ArrayNum - IndexFromTheEnd - 1];
	}

	ElementType& Top() { return Last(); }
	const ElementType& Top() const { return Last(); }

	ElementType Pop(EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		RangeCheck(0);
		ElementType Result = MoveTempIfPossible(Data[ArrayNum - 1]);
		RemoveAt(ArrayNum - 1, 1, AllowShrinking);
		return Result;
	}

	ElementType Pop(bool bAllowShrinking)
	{
		return Pop(AllowShrinkingFromBool(bAllowShrinking));
	}

	void Push(const ElementType& Item) { Add(Item); }
	void Push(ElementType&& Item) { Add(MoveTempIfPossible(Item)); }

	// Adding

	template <typename... ArgsType>
	SizeType Emplace(ArgsType&&... Args)
	{
		const SizeType Index = ArrayNum;
		if (ArrayNum == ArrayMax)
		{
			// The arguments may refer to our own elements: construct the new one first.
			const SizeType NewMax = CalculateSlackGrow(ArrayNum + 1);
			ElementType* NewData = Allocate(NewMax);
			new (NewData + Index) ElementType(Forward<ArgsType>(Args)...);
			RelocateConstructItems(NewData, Data, ArrayNum);
			FMemory::Free(Data);
			Data = NewData;
			ArrayMax = NewMax;
		}
		else
		{
			new (Data + Index) ElementType(Forward<ArgsType>(Args)...);
		}
		++ArrayNum;
		return Index;
	}

	template <typename... ArgsType>
	ElementType& Emplace_GetRef(ArgsType&&... Args)
	{
		// Data is read only once the element is in: the call may reallocate it.
		const SizeType Index = Emplace(Forward<ArgsType>(Args)...);
		return Data[Index];
	}

	template <typename... ArgsType>
	void EmplaceAt(SizeType Index, ArgsType&&... Args)
	{
		ElementType Temp(Forward<ArgsType>(Args)...);
		InsertUninitialized(Index, 1);
		new (Data + Index) ElementType(MoveTemp(Temp));
	}

	FORCEINLINE SizeType Add(const ElementType& Item) { return Emplace(Item); }
	FORCEINLINE SizeType Add(ElementType&& Item) { return Emplace(MoveTempIfPossible(Item)); }
	FORCEINLINE ElementType& Add_GetRef(const ElementType& Item) { return Emplace_GetRef(Item); }
	FORCEINLINE ElementType& Add_GetRef(ElementType&& Item) { return Emplace_GetRef(MoveTempIfPossible(Item)); }

	SizeType AddUnique(const ElementType& Item)
	{
		const SizeType Index = Find(Item);
		return Index != INDEX_NONE ? Index : Add(Item);
	}

	SizeType AddUnique(ElementType&& Item)
	{
		const SizeType Index = Find(Item);
		return Index != INDEX_NONE ? Index : Add(MoveTempIfPossible(Item));
	}

	SizeType AddUninitialized(SizeType Count = 1)
	{
		check(Count >= 0);
		const SizeType OldNum = ArrayNum;
		if (ArrayNum + Count > ArrayMax)
		{
			ResizeTo(CalculateSlackGrow(ArrayNum + Count));
		}
		ArrayNum += Count;
		return OldNum;
	}

	SizeType AddZeroed(SizeType Count = 1)
	{
		const SizeType Index = AddUninitialized(Count);
		FMemory::Memzero(Data + Index, (SIZE_T)Count * sizeof(ElementType));
		return Index;
	}

	ElementType& AddZeroed_GetRef()
	{
		const SizeType Index = AddZeroed(1);
		return Data[Index];
	}

	SizeType AddDefaulted(SizeType Count = 1)
	{
		const SizeType Index = AddUninitialized(Count);
		DefaultConstructItems<ElementType>(Data + Index, Count);
		return Index;
	}

	ElementType& AddDefaulted_GetRef()
	{
		const SizeType Index = AddDefaulted(1);
		return Data[Index];
	}

	void Init(const ElementType& Element, SizeType Number)
	{
		Empty(Number);
		for (SizeType Index = 0; Index < Number; ++Index)
		{
			new (Data + Index) ElementType(Element);
		}
		ArrayNum = Number;
	}

	SizeType Insert(const ElementType& Item, SizeType Index)
	{
		ElementType Temp(Item);
		InsertUninitialized(Index, 1);
		new (Data + Index) ElementType(MoveTemp(Temp));
		return Index;
	}

	SizeType Insert(ElementType&& Item, SizeType Index)
	{
		ElementType Temp(MoveTempIfPossible(Item));
		InsertUninitialized(Index, 1);
		new (Data + Index) ElementType(MoveTemp(Temp));
		return Index;
	}

	template <typename OtherAllocator>
	SizeType Insert(const TArray<ElementType, OtherAllocator>& Items, SizeType Index)
	{
		check((const void*)&Items != (const void*)this);
		InsertUninitialized(Index, Items.Num());
		ConstructItems<ElementType>(Data + Index, Items.GetData(), Items.Num());
		return Index;
	}

	void InsertUninitialized(SizeType Index, SizeType Count = 1)
	{
		checkf((Index >= 0) & (Index <= ArrayNum) & (Count >= 0), TEXT("Array insertion index out of bounds: %lld into an array of size %lld"), (long long)Index, (long long)ArrayNum);
		if (ArrayNum + Count > ArrayMax)
		{
			ResizeTo(CalculateSlackGrow(ArrayNum + Count));
		}
		RelocateConstructItems(Data + Index + Count, Data + Index, ArrayNum - Index);
		ArrayNum += Count;
	}

	void InsertZeroed(SizeType Index, SizeType Count = 1)
	{
		InsertUninitialized(Index, Count);
		FMemory::Memzero(Data + Index, (SIZE_T)Count * sizeof(ElementType));
	}

	void InsertDefaulted(SizeType Index, SizeType Count = 1)
	{
		InsertUninitialized(Index, Count);
		DefaultConstructItems<ElementType>(Data + Index, Count);
	}

	void Append(const ElementType* Ptr, SizeType Count)
	{
		check(Ptr != nullptr || Count == 0);
		if (Count == 0)
		{
			return;
		}
		if (ArrayNum + Count > ArrayMax)
		{
			// Ptr may point into this array.
			const SizeType NewMax = CalculateSlackGrow(ArrayNum + Count);
			ElementType* NewData = Allocate(NewMax);
			ConstructItems<ElementType>(NewData + ArrayNum, Ptr, Count);
			RelocateConstructItems(NewData, Data, ArrayNum);
			FMemory::Free(Data);
			Data = NewData;
			ArrayMax = NewMax;
		}
		else
		{
			ConstructItems<ElementType>(Data + ArrayNum, Ptr, Count);
		}
		ArrayNum += Count;
	}

	template <typename OtherElementType, typename OtherAllocator>
	void Append(const TArray<OtherElementType, OtherAllocator>& Source)
	{
		Reserve(ArrayNum + Source.Num());
		for (const OtherElementType& Element : Source)
		{
			Emplace(Element);
		}
	}

	template <typename OtherAllocator>
	void Append(TArray<ElementType, OtherAllocator>&& Source)
	{
		Reserve(ArrayNum + Source.Num());
		for (ElementType& Element : Source)
		{
			Emplace(MoveTempIfPossible(Element));
		}
		Source.Empty();
	}

	void Append(std::initializer_list<ElementType> InitList)
	{
		Append(InitList.begin(), (SizeType)InitList.size());
	}

	template <typename OtherAllocator>
	TArray& operator+=(const TArray<ElementType, OtherAllocator>& Other)
	{
		Append(Other);
		return *this;
	}

	TArray& operator+=(TArray&& Other)
	{
		Append(MoveTemp(Other));
		return *this;
	}

	TArray& operator+=(std::initializer_list<ElementType> InitList)
	{
		Append(InitList);
		return *this;
	}

	// Sizing

	void SetNum(SizeType NewNum, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		check(NewNum >= 0);
		if (NewNum > ArrayNum)
		{
			AddDefaulted(NewNum - ArrayNum);
		}
		else if (NewNum < ArrayNum)
		{
			RemoveAt(NewNum, ArrayNum - NewNum, AllowShrinking);
		}
	}

	void SetNum(SizeType NewNum, bool bAllowShrinking) { SetNum(NewNum, AllowShrinkingFromBool(bAllowShrinking)); }

	void SetNumZeroed(SizeType NewNum, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		check(NewNum >= 0);
		if (NewNum > ArrayNum)
		{
			AddZeroed(NewNum - ArrayNum);
		}
		else if (NewNum < ArrayNum)
		{
			RemoveAt(NewNum, ArrayNum - NewNum, AllowShrinking);
		}
	}

	void SetNumUninitialized(SizeType NewNum, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		check(NewNum >= 0);
		if (NewNum > ArrayNum)
		{
			AddUninitialized(NewNum - ArrayNum);
		}
		else if (NewNum < ArrayNum)
		{
			RemoveAt(NewNum, ArrayNum - NewNum, AllowShrinking);
		}
	}

	void Reserve(SizeType Number)
	{
		check(Number >= 0);
		if (Number > ArrayMax)
		{
			ResizeTo(Number);
		}
	}

	void Shrink()
	{
		if (ArrayMax != ArrayNum)
		{
			ResizeTo(ArrayNum);
		}
	}

	// Destroys the elements; the allocation stays unless NewSize needs a bigger one.
	void Reset(SizeType NewSize = 0)
	{
		DestructItems(Data, ArrayNum);
		ArrayNum = 0;
		if (NewSize > ArrayMax)
		{
			ResizeTo(NewSize);
		}
	}

	// Destroys the elements and keeps an allocation of exactly Slack elements (none for 0).
	void Empty(SizeType Slack = 0)
	{
		check(Slack >= 0);
		DestructItems(Data, ArrayNum);
		ArrayNum = 0;
		if (ArrayMax != Slack)
		{
			ResizeTo(Slack);
		}
	}

	// Searching

	SizeType Find(const ElementType& Item) const
	{
		for (SizeType Index = 0; Index < ArrayNum; ++Index)
		{
			if (Data[Index] == Item)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	bool Find(const ElementType& Item, SizeType& Index) const
	{
		Index = Find(Item);
		return Index != INDEX_NONE;
	}

	SizeType FindLast(const ElementType& Item) const
	{
		for (SizeType Index = ArrayNum - 1; Index >= 0; --Index)
		{
			if (Data[Index] == Item)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	template <typename KeyType>
	SizeType IndexOfByKey(const KeyType& Key) const
	{
		for (SizeType Index = 0; Index < ArrayNum; ++Index)
		{
			if (Data[Index] == Key)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	template <typename Predicate>
	SizeType IndexOfByPredicate(Predicate Pred) const
	{
		for (SizeType Index = 0; Index < ArrayNum; ++Index)
		{
			if (Pred(Data[Index]))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	template <typename Predicate>
	SizeType FindLastByPredicate(Predicate Pred) const
	{
		for (SizeType Index = ArrayNum - 1; Index >= 0; --Index)
		{
			if (Pred(Data[Index]))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	template <typename KeyType>
	ElementType* FindByKey(const KeyType& Key)
	{
		const SizeType Index = IndexOfByKey(Key);
		return Index != INDEX_NONE ? Data + Index : nullptr;
	}

	template <typename KeyType>
	const ElementType* FindByKey(const KeyType& Key) const
	{
		return const_cast<TArray*>(this)->FindByKey(Key);
	}

	template <typename Predicate>
	ElementType* FindByPredicate(Predicate Pred)
	{
		const SizeType Index = IndexOfByPredicate(Pred);
		return Index != INDEX_NONE ? Data + Index : nullptr;
	}

	template <typename Predicate>
	const ElementType* FindByPredicate(Predicate Pred) const
	{
		return const_cast<TArray*>(this)->FindByPredicate(Pred);
	}

	template <typename Predicate>
	TArray FilterByPredicate(Predicate Pred) const
	{
		TArray Result;
		for (const ElementType& Element : *this)
		{
			if (Pred(Element))
			{
				Result.Add(Element);
			}
		}
		return Result;
	}

	template <typename ComparisonType>
	bool Contains(const ComparisonType& Item) const
	{
		return IndexOfByKey(Item) != INDEX_NONE;
	}

	template <typename Predicate>
	bool ContainsByPredicate(Predicate Pred) const
	{
		return IndexOfByPredicate(Pred) != INDEX_NONE;
	}

	// Removing

	void RemoveAt(SizeType Index, SizeType Count = 1, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		if (Count == 0)
		{
			return;
		}
		checkf((Count > 0) & (Index >= 0) & (Index + Count <= ArrayNum), TEXT("Array remove out of bounds: %lld (count %lld) from an array of size %lld"), (long long)Index, (long long)Count, (long long)ArrayNum);
		DestructItems(Data + Index, Count);
		RelocateConstructItems(Data + Index, Data + Index + Count, ArrayNum - Index - Count);
		ArrayNum -= Count;
		if (AllowShrinking == EAllowShrinking::Yes)
		{
			ShrinkIfSlackIsLarge();
		}
	}

	void RemoveAt(SizeType Index, SizeType Count, bool bAllowShrinking) { RemoveAt(Index, Count, AllowShrinkingFromBool(bAllowShrinking)); }

	// Fills the hole with the last elements: fast, but does not keep the order.
	void RemoveAtSwap(SizeType Index, SizeType Count = 1, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		if (Count == 0)
		{
			return;
		}
		checkf((Count > 0) & (Index >= 0) & (Index + Count <= ArrayNum), TEXT("Array remove out of bounds: %lld (count %lld) from an array of size %lld"), (long long)Index, (long long)Count, (long long)ArrayNum);
		DestructItems(Data + Index, Count);
		const SizeType NumElementsAfterHole = ArrayNum - (Index + Count);
		const SizeType NumElementsToMove = std::min(Count, NumElementsAfterHole);
		RelocateConstructItems(Data + Index, Data + ArrayNum - NumElementsToMove, NumElementsToMove);
		ArrayNum -= Count;
		if (AllowShrinking == EAllowShrinking::Yes)
		{
			ShrinkIfSlackIsLarge();
		}
	}

	void RemoveAtSwap(SizeType Index, SizeType Count, bool bAllowShrinking) { RemoveAtSwap(Index, Count, AllowShrinkingFromBool(bAllowShrinking)); }

	// Removes every element equal to Item, keeping the order of the rest.
	SizeType Remove(const ElementType& Item)
	{
		// Item may be one of our elements, which the compaction overwrites.
		const ElementType Copy(Item);
		return RemoveAll([&Copy](const ElementType& Element) { return Element == Copy; });
	}

	SizeType RemoveSingle(const ElementType& Item)
	{
		const SizeType Index = Find(Item);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		RemoveAt(Index, 1, EAllowShrinking::No);
		return 1;
	}

	SizeType RemoveSwap(const ElementType& Item, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		const ElementType Copy(Item);
		return RemoveAllSwap([&Copy](const ElementType& Element) { return Element == Copy; }, AllowShrinking);
	}

	SizeType RemoveSingleSwap(const ElementType& Item, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		const SizeType Index = Find(Item);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		RemoveAtSwap(Index, 1, AllowShrinking);
		return 1;
	}

	// Keeps the order of the remaining elements and never shrinks the allocation.
	template <typename Predicate>
	SizeType RemoveAll(const Predicate& Pred)
	{
		const SizeType OriginalNum = ArrayNum;
		SizeType WriteIndex = 0;
		for (SizeType ReadIndex = 0; ReadIndex < OriginalNum; ++ReadIndex)
		{
			if (Pred(Data[ReadIndex]))
			{
				DestructItem(Data + ReadIndex);
			}
			else
			{
				if (WriteIndex != ReadIndex)
				{
					RelocateConstructItems(Data + WriteIndex, Data + ReadIndex, 1);
				}
				++WriteIndex;
			}
		}
		ArrayNum = WriteIndex;
		return OriginalNum - WriteIndex;
	}

	template <typename Predicate>
	SizeType RemoveAllSwap(const Predicate& Pred, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		const SizeType OriginalNum = ArrayNum;
		for (SizeType Index = 0; Index < ArrayNum;)
		{
			if (Pred(Data[Index]))
			{
				RemoveAtSwap(Index, 1, EAllowShrinking::No);
			}
			else
			{
				++Index;
			}
		}
		if (AllowShrinking == EAllowShrinking::Yes)
		{
			ShrinkIfSlackIsLarge();
		}
		return OriginalNum - ArrayNum;
	}

	void Swap(SizeType FirstIndexToSwap, SizeType SecondIndexToSwap)
	{
		RangeCheck(FirstIndexToSwap);
		RangeCheck(SecondIndexToSwap);
		if (FirstIndexToSwap != SecondIndexToSwap)
		{
			::Swap(Data[FirstIndexToSwap], Data[SecondIndexToSwap]);
		}
	}

	// Ordering; arrays of pointers compare the pointed-to values.

	void Sort()
	{
		Sort(TLess<>());
	}

	template <typename PredicateType>
	void Sort(const PredicateType& Predicate)
	{
		std::sort(Data, Data + ArrayNum, TDereferenceWrapper<ElementType, PredicateType>(Predicate));
	}

	void StableSort()
	{
		StableSort(TLess<>());
	}

	template <typename PredicateType>
	void StableSort(const PredicateType& Predicate)
	{
		std::stable_sort(Data, Data + ArrayNum, TDereferenceWrapper<ElementType, PredicateType>(Predicate));
	}

	template <typename OtherAllocator>
	bool operator==(const TArray<ElementType, OtherAllocator>& Other) const
	{
		return ArrayNum == Other.Num() && CompareItems(Data, Other.GetData(), ArrayNum);
	}

	// Iteration

	TIterator CreateIterator() { return TIterator(*this); }
	TConstIterator CreateConstIterator() const { return TConstIterator(*this); }

	FORCEINLINE RangedForIteratorType begin() { return RangedForIteratorType(ArrayNum, Data); }
	FORCEINLINE RangedForConstIteratorType begin() const { return RangedForConstIteratorType(ArrayNum, Data); }
	FORCEINLINE RangedForIteratorType end() { return RangedForIteratorType(ArrayNum, Data + ArrayNum); }
	FORCEINLINE RangedForConstIteratorType end() const { return RangedForConstIteratorType(ArrayNum, Data + ArrayNum); }

	friend FArchive& operator<<(FArchive& Ar, TArray& Array)
	{
		Array.CountBytes(Ar);
		SizeType SerializeNum = Ar.IsLoading() ? 0 : Array.ArrayNum;
		Ar << SerializeNum;
		if (!Ar.IsLoading())
		{
			for (ElementType& Element : Array)
			{
				Ar << Element;
			}
			return Ar;
		}

		Array.Empty();
		if (SerializeNum < 0)
		{
			Ar.SetError();
			return Ar;
		}
		// A corrupt count must not turn into a huge allocation: trust it only as far as the
		// bytes that are left.
		const int64 Remaining = Ar.TotalSize() > 0 ? Ar.TotalSize() - Ar.Tell() : 0;
		Array.Reserve((SizeType)std::min<int64>(SerializeNum, std::max<int64>(Remaining, 0)));
		for (SizeType Index = 0; Index < SerializeNum && !Ar.IsError(); ++Index)
		{
			Ar << Array.AddDefaulted_GetRef();
		}
		if (Ar.IsError())
		{
			Array.Empty();
		}
		return Ar;
	}

	void CountBytes(FArchive& Ar) const
	{
		Ar.CountBytes((SIZE_T)ArrayNum * sizeof(ElementType), (SIZE_T)ArrayMax * sizeof(ElementType));
	}

private:
	static ElementType* Allocate(SizeType Count)
	{
		return Count > 0 ? (ElementType*)FMemory::Malloc((SIZE_T)Count * sizeof(ElementType), alignof(ElementType)) : nullptr;
	}

	static SizeType CalculateSlackGrow(SizeType NumElements)
	{
		const int64 Grow = NumElements <= 4 ? 4 : (int64)NumElements + 3 * (int64)NumElements / 8 + 16;
		checkf(Grow <= 0x7fffffff, TEXT("Array would grow past its maximum size"));
		return (SizeType)Grow;
	}

	void ShrinkIfSlackIsLarge()
	{
		const SizeType Slack = ArrayMax - ArrayNum;
		const bool bTooMuchSlack = (3 * (int64)ArrayNum < 2 * (int64)ArrayMax) || (SIZE_T)Slack * sizeof(ElementType) >= 16384;
		if (bTooMuchSlack && (Slack > 64 || ArrayNum == 0))
		{
			ResizeTo(ArrayNum);
		}
	}

	void ResizeTo(SizeType NewMax)
	{
		check(NewMax >= ArrayNum);
		if (NewMax == ArrayMax)
		{
			return;
		}
		ElementType* NewData = nullptr;
		if (NewMax > 0)
		{
			NewData = Allocate(NewMax);
			if (ArrayNum > 0)
			{
				RelocateConstructItems(NewData, Data, ArrayNum);
			}
		}
		FMemory::Free(Data);
		Data = NewData;
		ArrayMax = NewMax;
	}

	template <typename OtherElementType>
	void CopyToEmpty(const OtherElementType* Source, SizeType Count, SizeType ExtraSlack)
	{
		ResizeTo(Count + ExtraSlack);
		ConstructItems<ElementType>(Data, Source, Count);
		ArrayNum = Count;
	}

	ElementType* Data = nullptr;
	SizeType ArrayNum = 0;
	SizeType ArrayMax = 0;
};

template <typename T, typename Allocator>
struct TIsZeroConstructType<TArray<T, Allocator>>
{
	enum { Value = true };
};

template <typename T, typename Allocator>
struct TIsContiguousContainer<TArray<T, Allocator>>
{
	enum { Value = true };
};
