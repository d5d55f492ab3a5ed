#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/ContainersFwd.h"
#include "Containers/SetUtilities.h"
#include "Containers/SparseArray.h"
#include "Misc/AssertionMacros.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTemplate.h"

#include <bit>
#include <initializer_list>

// Hash set over sparse storage. Elements keep their index until removed, iteration follows
// the storage order, and a removal's hole is reused by a later addition. Adding an element
// whose key is already held replaces that element in place (one element remains).
template <typename InElementType, typename KeyFuncs, typename Allocator>
class TSet
{
	template <typename, typename, typename, typename>
	friend class TMap;

public:
	using ElementType = InElementType;
	using KeyFuncsType = KeyFuncs;
	using KeyInitType = typename KeyFuncs::KeyInitType;
	using ElementInitType = typename KeyFuncs::ElementInitType;
	using SizeType = int32;

private:
	struct FSetElement
	{
		template <typename... ArgsType>
		explicit FSetElement(ArgsType&&... Args)
			: Value(Forward<ArgsType>(Args)...)
		{
		}

		ElementType Value;
		mutable FSetElementId HashNextId;
		mutable int32 HashIndex = 0;
	};

	using ElementArrayType = TSparseArray<FSetElement>;

	template <bool bConst>
	class TBaseIterator
	{
	public:
		using SetType = std::conditional_t<bConst, const TSet, TSet>;
		using ItElementType = std::conditional_t<bConst, const ElementType, ElementType>;

		explicit TBaseIterator(SetType& InSet, int32 StartIndex = 0)
			: Set(&InSet)
			, Index(InSet.Elements.NextAllocatedIndex(StartIndex))
		{
		}

		FORCEINLINE TBaseIterator& operator++()
		{
			Index = Set->Elements.NextAllocatedIndex(Index + 1);
			return *this;
		}

		FORCEINLINE explicit operator bool() const
		{
			return Index < Set->Elements.GetMaxIndex();
		}

		FORCEINLINE bool operator!() const
		{
			return !(bool)*this;
		}

		FORCEINLINE bool operator==(const TBaseIterator& Rhs) const
		{
			return Set == Rhs.Set && Index == Rhs.Index;
		}

		FORCEINLINE ItElementType& operator*() const
		{
			return Set->Elements[Index].Value;
		}

		FORCEINLINE ItElementType* operator->() const
		{
			return &Set->Elements[Index].Value;
		}

		FORCEINLINE FSetElementId GetId() const
		{
			return FSetElementId::FromInteger(Index);
		}

	protected:
		SetType* Set;
		int32 Index;
	};

	// Ranged-for iterator that asserts when the set changed size during the loop.
	template <bool bConst>
	class TRangedForIterator : public TBaseIterator<bConst>
	{
	public:
		using Super = TBaseIterator<bConst>;

		TRangedForIterator(typename Super::SetType& InSet, int32 StartIndex)
			: Super(InSet, StartIndex)
			, InitialNum(InSet.Num())
		{
		}

		FORCEINLINE bool operator!=(const TRangedForIterator& Rhs) const
		{
			checkf(this->Set->Num() == InitialNum, TEXT("Container has changed during ranged-for iteration!"));
			return this->Index != Rhs.Index;
		}

	private:
		int32 InitialNum;
	};

public:
	class TConstIterator : public TBaseIterator<true>
	{
	public:
		explicit TConstIterator(const TSet& InSet)
			: TBaseIterator<true>(InSet)
		{
		}
	};

	class TIterator : public TBaseIterator<false>
	{
	public:
		explicit TIterator(TSet& InSet)
			: TBaseIterator<false>(InSet)
		{
		}

		// The next ++ moves on to the element after the removed one.
		void RemoveCurrent()
		{
			this->Set->Remove(this->GetId());
		}
	};

	TSet() = default;
	TSet(const TSet&) = default;
	TSet& operator=(const TSet&) = default;
	TSet(TSet&&) = default;
	TSet& operator=(TSet&&) = default;

	TSet(std::initializer_list<ElementType> InitList)
	{
		Append(InitList);
	}

	explicit TSet(const TArray<ElementType>& InArray)
	{
		Append(InArray);
	}

	// Adding

	template <typename ArgType>
	FSetElementId Emplace(ArgType&& Arg, bool* bIsAlreadyInSetPtr = nullptr)
	{
		FSetElement Element(Forward<ArgType>(Arg));
		const uint32 KeyHash = KeyFuncs::GetKeyHash(KeyFuncs::GetSetKey(Element.Value));

		if constexpr (!KeyFuncs::bAllowDuplicateKeys)
		{
			const FSetElementId ExistingId = FindIdByHash(KeyHash, KeyFuncs::GetSetKey(Element.Value));
			if (ExistingId.IsValidId())
			{
				// Replace the held element; it keeps its index and its place in the bucket.
				ElementType& Existing = Elements[ExistingId.AsInteger()].Value;
				DestructItem(&Existing);
				new (&Existing) ElementType(MoveTemp(Element.Value));
				if (bIsAlreadyInSetPtr)
				{
					*bIsAlreadyInSetPtr = true;
				}
				return ExistingId;
			}
		}

		const int32 Index = Elements.Emplace(MoveTemp(Element));
		if (!ConditionalRehash(Elements.Num()))
		{
			LinkElement(Index, KeyHash);
		}
		if (bIsAlreadyInSetPtr)
		{
			*bIsAlreadyInSetPtr = false;
		}
		return FSetElementId::FromInteger(Index);
	}

	FORCEINLINE FSetElementId Add(const ElementType& InElement, bool* bIsAlreadyInSetPtr = nullptr)
	{
		return Emplace(InElement, bIsAlreadyInSetPtr);
	}

	FORCEINLINE FSetElementId Add(ElementType&& InElement, bool* bIsAlreadyInSetPtr = nullptr)
	{
		return Emplace(MoveTempIfPossible(InElement), bIsAlreadyInSetPtr);
	}

	ElementType& FindOrAdd(const ElementType& InElement, bool* bIsAlreadyInSetPtr = nullptr)
	{
		if (ElementType* Existing = Find(KeyFuncs::GetSetKey(InElement)))
		{
			if (bIsAlreadyInSetPtr)
			{
				*bIsAlreadyInSetPtr = true;
			}
			return *Existing;
		}
		return (*this)[Add(InElement, bIsAlreadyInSetPtr)];
	}

	template <typename OtherAllocator>
	void Append(const TArray<ElementType, OtherAllocator>& InElements)
	{
		Reserve(Elements.Num() + InElements.Num());
		for (const ElementType& Element : InElements)
		{
			Add(Element);
		}
	}

	void Append(std::initializer_list<ElementType> InitList)
	{
		Reserve(Elements.Num() + (int32)InitList.size());
		for (const ElementType& Element : InitList)
		{
			Add(Element);
		}
	}

	template <typename OtherKeyFuncs, typename OtherAllocator>
	void Append(const TSet<ElementType, OtherKeyFuncs, OtherAllocator>& OtherSet)
	{
		Reserve(Elements.Num() + OtherSet.Num());
		for (const ElementType& Element : OtherSet)
		{
			Add(Element);
		}
	}

	// Removing

	void Remove(FSetElementId ElementId)
	{
		const int32 Index = ElementId.AsInteger();
		checkf(Elements.IsAllocated(Index), TEXT("Invalid set element id %lld"), (long long)Index);
		UnlinkElement(Index);
		Elements.RemoveAt(Index);
	}

	int32 Remove(KeyInitType Key)
	{
		int32 NumRemoved = 0;
		if (Elements.Num() == 0)
		{
			return 0;
		}
		const uint32 KeyHash = KeyFuncs::GetKeyHash(Key);
		for (;;)
		{
			const FSetElementId Id = FindIdByHash(KeyHash, Key);
			if (!Id.IsValidId())
			{
				break;
			}
			Remove(Id);
			++NumRemoved;
			if constexpr (!KeyFuncs::bAllowDuplicateKeys)
			{
				break;
			}
		}
		return NumRemoved;
	}

	// Empties the set and keeps its storage and hash for reuse.
	void Reset()
	{
		Elements.Reset();
		ClearHash();
	}

	// Empties the set and keeps storage for ExpectedNumElements only.
	void Empty(int32 ExpectedNumElements = 0)
	{
		Elements.Empty(ExpectedNumElements);
		const int32 NewHashSize = GetNumberOfHashBuckets(ExpectedNumElements);
		Hash.Empty(NewHashSize);
		Hash.AddDefaulted(NewHashSize);
		if (NewHashSize == 0)
		{
			Hash.Empty();
		}
	}

	void Reserve(int32 Number)
	{
		if (Number > Elements.Num())
		{
			Elements.Reserve(Number);
			ConditionalRehash(Number);
		}
	}

	void Shrink()
	{
		Elements.Shrink();
		Rehash(GetNumberOfHashBuckets(Elements.Num()));
	}

	void Compact()
	{
		CompactStable();
	}

	void CompactStable()
	{
		if (Elements.CompactStable())
		{
			Rehash(Hash.Num());
		}
	}

	template <typename PredicateType>
	void Sort(const PredicateType& Predicate)
	{
		Elements.CompactStable();
		Elements.SortCompacted([&Predicate](const FSetElement& A, const FSetElement& B) { return Predicate(A.Value, B.Value); });
		Rehash(Hash.Num());
	}

	// Lookup

	FSetElementId FindId(KeyInitType Key) const
	{
		return Elements.Num() ? FindIdByHash(KeyFuncs::GetKeyHash(Key), Key) : FSetElementId();
	}

	template <typename ComparableKey>
	FSetElementId FindIdByHash(uint32 KeyHash, const ComparableKey& Key) const
	{
		if (Hash.Num() == 0)
		{
			return FSetElementId();
		}
		for (FSetElementId Id = Hash[KeyHash & (Hash.Num() - 1)]; Id.IsValidId(); Id = Elements[Id.AsInteger()].HashNextId)
		{
			if (KeyFuncs::Matches(KeyFuncs::GetSetKey(Elements[Id.AsInteger()].Value), Key))
			{
				return Id;
			}
		}
		return FSetElementId();
	}

	ElementType* Find(KeyInitType Key)
	{
		const FSetElementId Id = FindId(Key);
		return Id.IsValidId() ? &Elements[Id.AsInteger()].Value : nullptr;
	}

	const ElementType* Find(KeyInitType Key) const
	{
		return const_cast<TSet*>(this)->Find(Key);
	}

	template <typename ComparableKey>
	ElementType* FindByHash(uint32 KeyHash, const ComparableKey& Key)
	{
		const FSetElementId Id = FindIdByHash(KeyHash, Key);
		return Id.IsValidId() ? &Elements[Id.AsInteger()].Value : nullptr;
	}

	FORCEINLINE bool Contains(KeyInitType Key) const
	{
		return FindId(Key).IsValidId();
	}

	FORCEINLINE bool IsValidId(FSetElementId Id) const
	{
		return Elements.IsAllocated(Id.AsInteger());
	}

	FORCEINLINE ElementType& operator[](FSetElementId Id)
	{
		return Elements[Id.AsInteger()].Value;
	}

	FORCEINLINE const ElementType& operator[](FSetElementId Id) const
	{
		return Elements[Id.AsInteger()].Value;
	}

	FORCEINLINE ElementType& Get(FSetElementId Id) { return (*this)[Id]; }
	FORCEINLINE const ElementType& Get(FSetElementId Id) const { return (*this)[Id]; }

	FORCEINLINE int32 Num() const { return Elements.Num(); }
	FORCEINLINE bool IsEmpty() const { return Elements.Num() == 0; }
	FORCEINLINE int32 GetMaxIndex() const { return Elements.GetMaxIndex(); }
	FORCEINLINE int32 Max() const { return Elements.Max(); }

	FORCEINLINE SIZE_T GetAllocatedSize() const
	{
		return Elements.GetAllocatedSize() + Hash.GetAllocatedSize();
	}

	TArray<ElementType> Array() const
	{
		TArray<ElementType> Result;
		Result.Reserve(Num());
		for (const ElementType& Element : *this)
		{
			Result.Add(Element);
		}
		return Result;
	}

	TSet Union(const TSet& OtherSet) const
	{
		TSet Result(*this);
		Result.Append(OtherSet);
		return Result;
	}

	TSet Intersect(const TSet& OtherSet) const
	{
		TSet Result;
		for (const ElementType& Element : *this)
		{
			if (OtherSet.Contains(KeyFuncs::GetSetKey(Element)))
			{
				Result.Add(Element);
			}
		}
		return Result;
	}

	TSet Difference(const TSet& OtherSet) const
	{
		TSet Result;
		for (const ElementType& Element : *this)
		{
			if (!OtherSet.Contains(KeyFuncs::GetSetKey(Element)))
			{
				Result.Add(Element);
			}
		}
		return Result;
	}

	bool Includes(const TSet& OtherSet) const
	{
		for (const ElementType& Element : OtherSet)
		{
			if (!Contains(KeyFuncs::GetSetKey(Element)))
			{
				return false;
			}
		}
		return true;
	}

	TIterator CreateIterator() { return TIterator(*this); }
	TConstIterator CreateConstIterator() const { return TConstIterator(*this); }

	FORCEINLINE TRangedForIterator<false> begin() { return TRangedForIterator<false>(*this, 0); }
	FORCEINLINE TRangedForIterator<true> begin() const { return TRangedForIterator<true>(*this, 0); }
	FORCEINLINE TRangedForIterator<false> end() { return TRangedForIterator<false>(*this, Elements.GetMaxIndex()); }
	FORCEINLINE TRangedForIterator<true> end() const { return TRangedForIterator<true>(*this, Elements.GetMaxIndex()); }

	friend FArchive& operator<<(FArchive& Ar, TSet& Set)
	{
		int32 NewNumElements = Set.Num();
		Ar << NewNumElements;
		if (Ar.IsLoading())
		{
			Set.Empty();
			if (NewNumElements < 0)
			{
				Ar.SetError();
				return Ar;
			}
			for (int32 Index = 0; Index < NewNumElements && !Ar.IsError(); ++Index)
			{
				ElementType Element{};
				Ar << Element;
				Set.Add(MoveTemp(Element));
			}
		}
		else
		{
			for (ElementType& Element : Set)
			{
				Ar << Element;
			}
		}
		return Ar;
	}

private:
	static int32 GetNumberOfHashBuckets(int32 NumHashedElements)
	{
		if (NumHashedElements >= 4)
		{
			return (int32)std::bit_ceil((uint32)(NumHashedElements / 2 + 8));
		}
		return NumHashedElements > 0 ? 1 : 0;
	}

	// Grows the hash when the element count asks for more buckets; true if it rehashed.
	bool ConditionalRehash(int32 NumHashedElements)
	{
		const int32 DesiredHashSize = GetNumberOfHashBuckets(NumHashedElements);
		if (DesiredHashSize > Hash.Num())
		{
			Rehash(DesiredHashSize);
			return true;
		}
		return false;
	}

	void Rehash(int32 NewHashSize)
	{
		Hash.Reset();
		Hash.AddDefaulted(NewHashSize);
		if (NewHashSize == 0)
		{
			return;
		}
		for (int32 Index = 0; Index < Elements.GetMaxIndex(); ++Index)
		{
			if (Elements.IsAllocated(Index))
			{
				LinkElement(Index, KeyFuncs::GetKeyHash(KeyFuncs::GetSetKey(Elements[Index].Value)));
			}
		}
	}

	void ClearHash()
	{
		for (FSetElementId& Bucket : Hash)
		{
			Bucket = FSetElementId();
		}
	}

	void LinkElement(int32 Index, uint32 KeyHash)
	{
		const FSetElement& Element = Elements[Index];
		Element.HashIndex = (int32)(KeyHash & (Hash.Num() - 1));
		Element.HashNextId = Hash[Element.HashIndex];
		Hash[Element.HashIndex] = FSetElementId::FromInteger(Index);
	}

	void UnlinkElement(int32 Index)
	{
		if (Hash.Num() == 0)
		{
			return;
		}
		const FSetElement& Element = Elements[Index];
		for (FSetElementId* NextId = &Hash[Element.HashIndex]; NextId->IsValidId(); NextId = &Elements[NextId->AsInteger()].HashNextId)
		{
			if (NextId->AsInteger() == Index)
			{
				*NextId = Element.HashNextId;
				break;
			}
		}
	}

	ElementArrayType Elements;
	TArray<FSetElementId> Hash;
};
