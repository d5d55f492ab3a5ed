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

namespace UE::Core::Private
{
	// Where a TArray keeps its elements. The array keeps the count and the capacity (Max); the
	// storage says which capacity to ask for (the slack policies) and where a capacity lives.
	// Resizing takes two steps, AllocateFor then Adopt, so that an array can build a new element
	// in the new place while the arguments it is built from still refer to the old elements.

	// One FMemory block, or none: the default allocators.
	template <typename ElementType>
	class THeapArrayStorage
	{
	public:
		using SizeType = int32;

		static constexpr SizeType InitialCapacity = 0;

		THeapArrayStorage() = default;
		THeapArrayStorage(const THeapArrayStorage&) = delete;
		THeapArrayStorage& operator=(const THeapArrayStorage&) = delete;

		~THeapArrayStorage()
		{
			FMemory::Free(Data);
		}

		FORCEINLINE ElementType* GetAllocation() const { return Data; }
		FORCEINLINE bool HasAllocation() const { return Data != nullptr; }
		FORCEINLINE SIZE_T GetAllocatedSize(SizeType Max) const { return (SIZE_T)Max * sizeof(ElementType); }

		static SizeType CalculateSlackGrow(SizeType NumElements)
		{
			const int64 Grow = NumElements <= 4 ? 4 : (int64)NumElements + 3 * (int64)NumElements / 8 + 16;
			checkf(Grow <= 0x7fffffff, TEXT("Array would grow past its maximum size"));
			return (SizeType)Grow;
		}

		static SizeType CalculateSlackReserve(SizeType NumElements)
		{
			return NumElements;
		}

		static SizeType CalculateSlackShrink(SizeType NumElements, SizeType NumAllocated)
		{
			const SizeType Slack = NumAllocated - NumElements;
			const bool bTooMuchSlack = (3 * (int64)NumElements < 2 * (int64)NumAllocated) || (SIZE_T)Slack * sizeof(ElementType) >= 16384;
			return bTooMuchSlack && (Slack > 64 || NumElements == 0) ? NumElements : NumAllocated;
		}

		ElementType* AllocateFor(SizeType NewMax) const
		{
			return NewMax > 0 ? (ElementType*)FMemory::Malloc((SIZE_T)NewMax * sizeof(ElementType), alignof(ElementType)) : nullptr;
		}

		void Adopt(ElementType* NewData, SizeType NumElements)
		{
			// Without a block there are no elements to move; the test keeps compilers from
			// seeing a copy to null on that path.
			if (NewData != nullptr)
			{
				RelocateConstructItems(NewData, Data, NumElements);
			}
			Replace(NewData);
		}

		// Frees the block and keeps NewData, whose elements are already in place.
		void Replace(ElementType* NewData)
		{
			FMemory::Free(Data);
			Data = NewData;
		}

		void Release()
		{
			Replace(nullptr);
		}

		void MoveToEmpty(THeapArrayStorage& Other, SizeType /*OtherNum*/)
		{
			checkSlow(Data == nullptr);
			Data = Exchange(Other.Data, nullptr);
		}

	private:
		ElementType* Data = nullptr;
	};

	// The first NumInlineElements elements' room inside the array object, and a heap block when
	// more are needed. As in UE, the elements are either all inline or all in the block.
	template <typename ElementType, uint32 InNumInlineElements>
	class TInlineArrayStorage
	{
		static_assert(InNumInlineElements > 0, "An inline allocator needs room for at least one element");

		using FSecondaryStorage = THeapArrayStorage<ElementType>;

	public:
		using SizeType = int32;

		static constexpr SizeType NumInlineElements = (SizeType)InNumInlineElements;
		static constexpr SizeType InitialCapacity = NumInlineElements;

		TInlineArrayStorage() = default;
		TInlineArrayStorage(const TInlineArrayStorage&) = delete;
		TInlineArrayStorage& operator=(const TInlineArrayStorage&) = delete;

		FORCEINLINE ElementType* GetAllocation() const
		{
			return Secondary.HasAllocation() ? Secondary.GetAllocation() : GetInlineElements();
		}

		FORCEINLINE bool HasAllocation() const { return Secondary.HasAllocation(); }

		// The inline room is part of the array object, so UE reports only the heap block.
		FORCEINLINE SIZE_T GetAllocatedSize(SizeType Max) const
		{
			return Secondary.HasAllocation() ? Secondary.GetAllocatedSize(Max) : 0;
		}

		static SizeType CalculateSlackGrow(SizeType NumElements)
		{
			return NumElements <= NumInlineElements ? NumInlineElements : FSecondaryStorage::CalculateSlackGrow(NumElements);
		}

		static SizeType CalculateSlackReserve(SizeType NumElements)
		{
			return NumElements <= NumInlineElements ? NumInlineElements : FSecondaryStorage::CalculateSlackReserve(NumElements);
		}

		// Elements that fit inline go back inline, whatever slack the block would keep.
		static SizeType CalculateSlackShrink(SizeType NumElements, SizeType NumAllocated)
		{
			return NumElements <= NumInlineElements ? NumInlineElements : FSecondaryStorage::CalculateSlackShrink(NumElements, NumAllocated);
		}

		ElementType* AllocateFor(SizeType NewMax) const
		{
			return NewMax <= NumInlineElements ? GetInlineElements() : Secondary.AllocateFor(NewMax);
		}

		void Adopt(ElementType* NewData, SizeType NumElements)
		{
			ElementType* OldData = GetAllocation();
			if (NewData != OldData)
			{
				RelocateConstructItems(NewData, OldData, NumElements);
				Secondary.Replace(NewData == GetInlineElements() ? nullptr : NewData);
			}
		}

		void Release()
		{
			Secondary.Release();
		}

		// A block can change hands; the other array's inline room cannot, so its elements move.
		void MoveToEmpty(TInlineArrayStorage& Other, SizeType OtherNum)
		{
			if (!Other.Secondary.HasAllocation())
			{
				RelocateConstructItems(GetInlineElements(), Other.GetInlineElements(), OtherNum);
			}
			Secondary.MoveToEmpty(Other.Secondary, OtherNum);
		}

	private:
		FORCEINLINE ElementType* GetInlineElements() const
		{
			return reinterpret_cast<ElementType*>(const_cast<uint8*>(InlineBytes));
		}

		FSecondaryStorage Secondary;
		alignas(ElementType) uint8 InlineBytes[sizeof(ElementType) * InNumInlineElements];
	};

	// Room for exactly NumInlineElements elements inside the array object; asking for more is a
	// fatal check, as UE's fixed allocator checks it.
	template <typename ElementType, uint32 InNumInlineElements>
	class TFixedArrayStorage
	{
		static_assert(InNumInlineElements > 0, "A fixed allocator needs room for at least one element");

	public:
		using SizeType = int32;

		static constexpr SizeType NumInlineElements = (SizeType)InNumInlineElements;
		static constexpr SizeType InitialCapacity = NumInlineElements;

		TFixedArrayStorage() = default;
		TFixedArrayStorage(const TFixedArrayStorage&) = delete;
		TFixedArrayStorage& operator=(const TFixedArrayStorage&) = delete;

		FORCEINLINE ElementType* GetAllocation() const
		{
			return reinterpret_cast<ElementType*>(const_cast<uint8*>(InlineBytes));
		}

		FORCEINLINE bool HasAllocation() const { return false; }
		FORCEINLINE SIZE_T GetAllocatedSize(SizeType /*Max*/) const { return 0; }

		static SizeType CalculateSlackGrow(SizeType NewMax)
		{
			check(NewMax <= NumInlineElements);
			return NumInlineElements;
		}

		static SizeType CalculateSlackReserve(SizeType NewMax)
		{
			check(NewMax <= NumInlineElements);
			return NumInlineElements;
		}

		static SizeType CalculateSlackShrink(SizeType NewMax, SizeType /*NumAllocated*/)
		{
			check(NewMax <= NumInlineElements);
			return NumInlineElements;
		}

		ElementType* AllocateFor(SizeType NewMax) const
		{
			check(NewMax <= NumInlineElements);
			return GetAllocation();
		}

		void Adopt(ElementType* /*NewData*/, SizeType /*NumElements*/)
		{
		}

		void Release()
		{
		}

		void MoveToEmpty(TFixedArrayStorage& Other, SizeType OtherNum)
		{
			RelocateConstructItems(GetAllocation(), Other.GetAllocation(), OtherNum);
		}

	private:
		alignas(ElementType) uint8 InlineBytes[sizeof(ElementType) * InNumInlineElements];
	};

	template <typename ElementType, typename AllocatorType>
	struct TArrayStorageFor
	{
		using Type = THeapArrayStorage<ElementType>;
		// Zero bytes are an empty array only with heap storage, as only UE's heap allocators
		// are zero-constructible.
		static constexpr bool bZeroConstruct = true;
	};

	template <typename ElementType, uint32 NumInlineElements, typename SecondaryAllocator>
	struct TArrayStorageFor<ElementType, TInlineAllocator<NumInlineElements, SecondaryAllocator>>
	{
		static_assert(std::is_same_v<typename TArrayStorageFor<ElementType, SecondaryAllocator>::Type, THeapArrayStorage<ElementType>>, "The secondary allocator of an inline allocator must be a heap allocator");

		using Type = TInlineArrayStorage<ElementType, NumInlineElements>;
		static constexpr bool bZeroConstruct = false;
	};

	template <typename ElementType, uint32 NumInlineElements>
	struct TArrayStorageFor<ElementType, TFixedAllocator<NumInlineElements>>
	{
		using Type = TFixedArrayStorage<ElementType, NumInlineElements>;
		static constexpr bool bZeroConstruct = false;
	};
}

// Contiguous array. Reset keeps the allocation, Empty gives it back (beyond the requested
// slack), and removals only shrink when a lot of slack would be left, as the engine's do.
// With TInlineAllocator<N> or TFixedAllocator<N> the first N elements live in the array object.
template <typename InElementType, typename InAllocatorType>
class TArray
{
	template <typename OtherElementType, typename OtherAllocatorType>
	friend class TArray;

	using StorageType = typename UE::Core::Private::TArrayStorageFor<InElementType, InAllocatorType>::Type;

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
	{
		MoveToEmpty(Other);
	}

	// As UE's, this moves only between heap storages, which can hand over their block; from or
	// to inline or fixed storage it copies, and the source keeps its elements.
	template <typename OtherAllocator>
		requires(!std::is_same_v<OtherAllocator, AllocatorType>)
	explicit TArray(TArray<ElementType, OtherAllocator>&& Other) noexcept(bCanMoveStorageFrom<OtherAllocator>)
	{
		if constexpr (bCanMoveStorageFrom<OtherAllocator>)
		{
			MoveToEmpty(Other);
		}
		else
		{
			CopyToEmpty(Other.GetData(), Other.Num(), 0);
		}
	}

	~TArray()
	{
		DestructItems(GetData(), ArrayNum);
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
			DestructItems(GetData(), ArrayNum);
			Storage.Release();
			MoveToEmpty(Other);
		}
		return *this;
	}

	FORCEINLINE ElementType* GetData() { return Storage.GetAllocation(); }
	FORCEINLINE const ElementType* GetData() const { return Storage.GetAllocation(); }
	FORCEINLINE static constexpr uint32 GetTypeSize() { return sizeof(ElementType); }
	FORCEINLINE SIZE_T GetAllocatedSize() const { return Storage.GetAllocatedSize(ArrayMax); }
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
		return GetData()[Index];
	}

	FORCEINLINE const ElementType& operator[](SizeType Index) const
	{
		RangeCheck(Index);
		return GetData()[Index];
	}

	ElementType& Last(SizeType IndexFromTheEnd = 0)
	{
		RangeCheck(ArrayNum - IndexFromTheEnd - 1);
		return GetData()[ArrayNum - IndexFromTheEnd - 1];
	}

	const ElementType& Last(SizeType IndexFromTheEnd = 0) const
	{
		RangeCheck(ArrayNum - IndexFromTheEnd - 1);
		return GetData()[ArrayNum - IndexFromTheEnd - 1];
	}

	ElementType& Top() { return Last(); }
	const ElementType& Top() const { return Last(); }

	ElementType Pop(EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		RangeCheck(0);
		ElementType Result = MoveTempIfPossible(GetData()[ArrayNum - 1]);
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
			const SizeType NewMax = StorageType::CalculateSlackGrow(ArrayNum + 1);
			ElementType* NewData = Storage.AllocateFor(NewMax);
			new (NewData + Index) ElementType(Forward<ArgsType>(Args)...);
			Storage.Adopt(NewData, ArrayNum);
			ArrayMax = NewMax;
		}
		else
		{
			new (GetData() + Index) ElementType(Forward<ArgsType>(Args)...);
		}
		++ArrayNum;
		return Index;
	}

	template <typename... ArgsType>
	ElementType& Emplace_GetRef(ArgsType&&... Args)
	{
		// The data is read only once the element is in: the call may move the elements.
		const SizeType Index = Emplace(Forward<ArgsType>(Args)...);
		return GetData()[Index];
	}

	template <typename... ArgsType>
	void EmplaceAt(SizeType Index, ArgsType&&... Args)
	{
		ElementType Temp(Forward<ArgsType>(Args)...);
		InsertUninitialized(Index, 1);
		new (GetData() + Index) ElementType(MoveTemp(Temp));
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
			ResizeGrow(ArrayNum + Count);
		}
		ArrayNum += Count;
		return OldNum;
	}

	SizeType AddZeroed(SizeType Count = 1)
	{
		const SizeType Index = AddUninitialized(Count);
		FMemory::Memzero(GetData() + Index, (SIZE_T)Count * sizeof(ElementType));
		return Index;
	}

	ElementType& AddZeroed_GetRef()
	{
		const SizeType Index = AddZeroed(1);
		return GetData()[Index];
	}

	SizeType AddDefaulted(SizeType Count = 1)
	{
		const SizeType Index = AddUninitialized(Count);
		DefaultConstructItems<ElementType>(GetData() + Index, Count);
		return Index;
	}

	ElementType& AddDefaulted_GetRef()
	{
		const SizeType Index = AddDefaulted(1);
		return GetData()[Index];
	}

	void Init(const ElementType& Element, SizeType Number)
	{
		Empty(Number);
		for (SizeType Index = 0; Index < Number; ++Index)
		{
			new (GetData() + Index) ElementType(Element);
		}
		ArrayNum = Number;
	}

	SizeType Insert(const ElementType& Item, SizeType Index)
	{
		ElementType Temp(Item);
		InsertUninitialized(Index, 1);
		new (GetData() + Index) ElementType(MoveTemp(Temp));
		return Index;
	}

	SizeType Insert(ElementType&& Item, SizeType Index)
	{
		ElementType Temp(MoveTempIfPossible(Item));
		InsertUninitialized(Index, 1);
		new (GetData() + Index) ElementType(MoveTemp(Temp));
		return Index;
	}

	template <typename OtherAllocator>
	SizeType Insert(const TArray<ElementType, OtherAllocator>& Items, SizeType Index)
	{
		check((const void*)&Items != (const void*)this);
		InsertUninitialized(Index, Items.Num());
		ConstructItems<ElementType>(GetData() + Index, Items.GetData(), Items.Num());
		return Index;
	}

	void InsertUninitialized(SizeType Index, SizeType Count = 1)
	{
		checkf((Index >= 0) & (Index <= ArrayNum) & (Count >= 0), TEXT("Array insertion index out of bounds: %lld into an array of size %lld"), (long long)Index, (long long)ArrayNum);
		if (ArrayNum + Count > ArrayMax)
		{
			ResizeGrow(ArrayNum + Count);
		}
		RelocateConstructItems(GetData() + Index + Count, GetData() + Index, ArrayNum - Index);
		ArrayNum += Count;
	}

	void InsertZeroed(SizeType Index, SizeType Count = 1)
	{
		InsertUninitialized(Index, Count);
		FMemory::Memzero(GetData() + Index, (SIZE_T)Count * sizeof(ElementType));
	}

	void InsertDefaulted(SizeType Index, SizeType Count = 1)
	{
		InsertUninitialized(Index, Count);
		DefaultConstructItems<ElementType>(GetData() + Index, Count);
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
			const SizeType NewMax = StorageType::CalculateSlackGrow(ArrayNum + Count);
			ElementType* NewData = Storage.AllocateFor(NewMax);
			ConstructItems<ElementType>(NewData + ArrayNum, Ptr, Count);
			Storage.Adopt(NewData, ArrayNum);
			ArrayMax = NewMax;
		}
		else
		{
			ConstructItems<ElementType>(GetData() + ArrayNum, Ptr, Count);
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
		DestructItems(GetData(), ArrayNum);
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
		DestructItems(GetData(), ArrayNum);
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
			if (GetData()[Index] == Item)
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
			if (GetData()[Index] == Item)
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
			if (GetData()[Index] == Key)
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
			if (Pred(GetData()[Index]))
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
			if (Pred(GetData()[Index]))
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
		return Index != INDEX_NONE ? GetData() + Index : nullptr;
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
		return Index != INDEX_NONE ? GetData() + Index : nullptr;
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
		DestructItems(GetData() + Index, Count);
		RelocateConstructItems(GetData() + Index, GetData() + Index + Count, ArrayNum - Index - Count);
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
		DestructItems(GetData() + Index, Count);
		const SizeType NumElementsAfterHole = ArrayNum - (Index + Count);
		const SizeType NumElementsToMove = std::min(Count, NumElementsAfterHole);
		RelocateConstructItems(GetData() + Index, GetData() + ArrayNum - NumElementsToMove, NumElementsToMove);
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
			if (Pred(GetData()[ReadIndex]))
			{
				DestructItem(GetData() + ReadIndex);
			}
			else
			{
				if (WriteIndex != ReadIndex)
				{
					RelocateConstructItems(GetData() + WriteIndex, GetData() + ReadIndex, 1);
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
			if (Pred(GetData()[Index]))
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
			::Swap(GetData()[FirstIndexToSwap], GetData()[SecondIndexToSwap]);
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
		std::sort(GetData(), GetData() + ArrayNum, TDereferenceWrapper<ElementType, PredicateType>(Predicate));
	}

	void StableSort()
	{
		StableSort(TLess<>());
	}

	template <typename PredicateType>
	void StableSort(const PredicateType& Predicate)
	{
		std::stable_sort(GetData(), GetData() + ArrayNum, TDereferenceWrapper<ElementType, PredicateType>(Predicate));
	}

	template <typename OtherAllocator>
	bool operator==(const TArray<ElementType, OtherAllocator>& Other) const
	{
		return ArrayNum == Other.Num() && CompareItems(GetData(), Other.GetData(), ArrayNum);
	}

	// Iteration

	TIterator CreateIterator() { return TIterator(*this); }
	TConstIterator CreateConstIterator() const { return TConstIterator(*this); }

	FORCEINLINE RangedForIteratorType begin() { return RangedForIteratorType(ArrayNum, GetData()); }
	FORCEINLINE RangedForConstIteratorType begin() const { return RangedForConstIteratorType(ArrayNum, GetData()); }
	FORCEINLINE RangedForIteratorType end() { return RangedForIteratorType(ArrayNum, GetData() + ArrayNum); }
	FORCEINLINE RangedForConstIteratorType end() const { return RangedForConstIteratorType(ArrayNum, GetData() + ArrayNum); }

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
	template <typename OtherAllocator>
	static constexpr bool bCanMoveStorageFrom = std::is_same_v<StorageType, UE::Core::Private::THeapArrayStorage<ElementType>> && std::is_same_v<typename TArray<ElementType, OtherAllocator>::StorageType, StorageType>;

	// This array must hold no elements and no block.
	template <typename OtherAllocator>
	void MoveToEmpty(TArray<ElementType, OtherAllocator>& Other)
	{
		Storage.MoveToEmpty(Other.Storage, Other.ArrayNum);
		ArrayNum = Exchange(Other.ArrayNum, 0);
		ArrayMax = Exchange(Other.ArrayMax, StorageType::InitialCapacity);
	}

	void ResizeGrow(SizeType NumElements)
	{
		ResizeAllocation(StorageType::CalculateSlackGrow(NumElements));
	}

	void ShrinkIfSlackIsLarge()
	{
		ResizeAllocation(StorageType::CalculateSlackShrink(ArrayNum, ArrayMax));
	}

	// UE does not round a request for nothing up to the inline count: an emptied inline array
	// reports Max() 0, though its inline room is still there.
	void ResizeTo(SizeType NewMax)
	{
		ResizeAllocation(NewMax > 0 ? StorageType::CalculateSlackReserve(NewMax) : 0);
	}

	void ResizeAllocation(SizeType NewMax)
	{
		check(NewMax >= ArrayNum);
		if (NewMax == ArrayMax)
		{
			return;
		}
		Storage.Adopt(Storage.AllocateFor(NewMax), ArrayNum);
		ArrayMax = NewMax;
	}

	template <typename OtherElementType>
	void CopyToEmpty(const OtherElementType* Source, SizeType Count, SizeType ExtraSlack)
	{
		// An empty copy keeps its initial room, as UE's does.
		if (Count + ExtraSlack > 0)
		{
			ResizeTo(Count + ExtraSlack);
		}
		ConstructItems<ElementType>(GetData(), Source, Count);
		ArrayNum = Count;
	}

	StorageType Storage;
	SizeType ArrayNum = 0;
	SizeType ArrayMax = StorageType::InitialCapacity;
};

template <typename T, typename Allocator>
struct TIsZeroConstructType<TArray<T, Allocator>>
{
	enum { Value = UE::Core::Private::TArrayStorageFor<T, Allocator>::bZeroConstruct };
};

template <typename T, typename Allocator>
struct TIsContiguousContainer<TArray<T, Allocator>>
{
	enum { Value = true };
};
