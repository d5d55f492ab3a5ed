#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/ContainersFwd.h"
#include "Containers/Set.h"
#include "Misc/AssertionMacros.h"
#include "Templates/Tuple.h"
#include "Templates/UnrealTemplate.h"

template <typename KeyType, typename ValueType, bool bInAllowDuplicateKeys>
struct TDefaultMapKeyFuncs : BaseKeyFuncs<TPair<KeyType, ValueType>, KeyType, bInAllowDuplicateKeys>
{
	using KeyInitType = typename TTypeTraits<KeyType>::ConstPointerType;
	using ElementInitType = const TPair<KeyType, ValueType>&;

	static FORCEINLINE KeyInitType GetSetKey(ElementInitType Element)
	{
		return Element.Key;
	}

	static FORCEINLINE bool Matches(KeyInitType A, KeyInitType B)
	{
		return A == B;
	}

	template <typename ComparableKey>
	static FORCEINLINE bool Matches(KeyInitType A, const ComparableKey& B)
	{
		return A == B;
	}

	static FORCEINLINE uint32 GetKeyHash(KeyInitType Key)
	{
		return GetTypeHash(Key);
	}

	template <typename ComparableKey>
	static FORCEINLINE uint32 GetKeyHash(const ComparableKey& Key)
	{
		return GetTypeHash(Key);
	}
};

template <typename KeyType, typename ValueType, bool bInAllowDuplicateKeys>
struct TDefaultMapHashableKeyFuncs : TDefaultMapKeyFuncs<KeyType, ValueType, bInAllowDuplicateKeys>
{
};

// Map from keys to values over a set of pairs: pairs keep their place until removed,
// iteration follows that order, and a removed pair's slot is reused by a later addition.
template <typename InKeyType, typename InValueType, typename SetAllocator, typename KeyFuncs>
class TMap
{
public:
	using KeyType = InKeyType;
	using ValueType = InValueType;
	using ElementType = TPair<KeyType, ValueType>;
	using KeyConstPointerType = typename TTypeTraits<KeyType>::ConstPointerType;
	using KeyInitType = typename TTypeTraits<KeyType>::ConstInitType;
	using ValueInitType = typename TTypeTraits<ValueType>::ConstInitType;
	using ElementSetType = TSet<ElementType, KeyFuncs, SetAllocator>;

private:
	template <bool bConst>
	class TBaseIterator
	{
	public:
		using SetItType = std::conditional_t<bConst, typename ElementSetType::TConstIterator, typename ElementSetType::TIterator>;
		using ItKeyType = std::conditional_t<bConst, const KeyType, KeyType>;
		using ItValueType = std::conditional_t<bConst, const ValueType, ValueType>;
		using PairType = std::conditional_t<bConst, const ElementType, ElementType>;

		explicit TBaseIterator(const SetItType& InElementIt)
			: PairIt(InElementIt)
		{
		}

		FORCEINLINE TBaseIterator& operator++()
		{
			++PairIt;
			return *this;
		}

		FORCEINLINE explicit operator bool() const { return !!PairIt; }
		FORCEINLINE bool operator!() const { return !PairIt; }
		FORCEINLINE ItKeyType& Key() const { return PairIt->Key; }
		FORCEINLINE ItValueType& Value() const { return PairIt->Value; }
		FORCEINLINE PairType& operator*() const { return *PairIt; }
		FORCEINLINE PairType* operator->() const { return &*PairIt; }
		FORCEINLINE FSetElementId GetId() const { return PairIt.GetId(); }

	protected:
		SetItType PairIt;
	};

public:
	class TIterator : public TBaseIterator<false>
	{
	public:
		explicit TIterator(TMap& InMap)
			: TBaseIterator<false>(InMap.Pairs.CreateIterator())
		{
		}

		// The next ++ moves on to the pair after the removed one.
		FORCEINLINE void RemoveCurrent()
		{
			this->PairIt.RemoveCurrent();
		}
	};

	class TConstIterator : public TBaseIterator<true>
	{
	public:
		explicit TConstIterator(const TMap& InMap)
			: TBaseIterator<true>(InMap.Pairs.CreateConstIterator())
		{
		}
	};

	TMap() = default;
	TMap(const TMap&) = default;
	TMap(TMap&&) = default;
	TMap& operator=(const TMap&) = default;
	TMap& operator=(TMap&&) = default;

	TMap(std::initializer_list<ElementType> InitList)
	{
		Reserve((int32)InitList.size());
		for (const ElementType& Element : InitList)
		{
			Add(Element.Key, Element.Value);
		}
	}

	// An existing key keeps its place and takes the new value.
	template <typename InitKeyType, typename InitValueType>
	ValueType& Emplace(InitKeyType&& InKey, InitValueType&& InValue)
	{
		const FSetElementId Id = Pairs.Emplace(ElementType(Forward<InitKeyType>(InKey), Forward<InitValueType>(InValue)));
		return Pairs[Id].Value;
	}

	template <typename InitKeyType>
	ValueType& Emplace(InitKeyType&& InKey)
	{
		const FSetElementId Id = Pairs.Emplace(ElementType(Forward<InitKeyType>(InKey), ValueType()));
		return Pairs[Id].Value;
	}

	FORCEINLINE ValueType& Add(const KeyType& InKey, const ValueType& InValue) { return Emplace(InKey, InValue); }
	FORCEINLINE ValueType& Add(const KeyType& InKey, ValueType&& InValue) { return Emplace(InKey, MoveTempIfPossible(InValue)); }
	FORCEINLINE ValueType& Add(KeyType&& InKey, const ValueType& InValue) { return Emplace(MoveTempIfPossible(InKey), InValue); }
	FORCEINLINE ValueType& Add(KeyType&& InKey, ValueType&& InValue) { return Emplace(MoveTempIfPossible(InKey), MoveTempIfPossible(InValue)); }
	FORCEINLINE ValueType& Add(const KeyType& InKey) { return Emplace(InKey); }
	FORCEINLINE ValueType& Add(KeyType&& InKey) { return Emplace(MoveTempIfPossible(InKey)); }
	FORCEINLINE ValueType& Add(const ElementType& InPair) { return Emplace(InPair.Key, InPair.Value); }

	ValueType& FindOrAdd(const KeyType& Key)
	{
		if (ValueType* Found = Find(Key))
		{
			return *Found;
		}
		return Add(Key);
	}

	ValueType& FindOrAdd(KeyType&& Key)
	{
		if (ValueType* Found = Find(Key))
		{
			return *Found;
		}
		return Add(MoveTempIfPossible(Key));
	}

	template <typename InitValueType>
	ValueType& FindOrAdd(const KeyType& Key, InitValueType&& Value)
	{
		if (ValueType* Found = Find(Key))
		{
			return *Found;
		}
		return Emplace(Key, Forward<InitValueType>(Value));
	}

	int32 Remove(KeyConstPointerType InKey)
	{
		return Pairs.Remove(InKey);
	}

	bool RemoveAndCopyValue(KeyInitType Key, ValueType& OutRemovedValue)
	{
		const FSetElementId Id = Pairs.FindId(Key);
		if (!Id.IsValidId())
		{
			return false;
		}
		OutRemovedValue = MoveTempIfPossible(Pairs[Id].Value);
		Pairs.Remove(Id);
		return true;
	}

	ValueType FindAndRemoveChecked(KeyConstPointerType Key)
	{
		const FSetElementId Id = Pairs.FindId(Key);
		check(Id.IsValidId());
		ValueType Result = MoveTempIfPossible(Pairs[Id].Value);
		Pairs.Remove(Id);
		return Result;
	}

	ValueType* Find(KeyConstPointerType Key)
	{
		ElementType* Pair = Pairs.Find(Key);
		return Pair ? &Pair->Value : nullptr;
	}

	const ValueType* Find(KeyConstPointerType Key) const
	{
		return const_cast<TMap*>(this)->Find(Key);
	}

	ValueType FindRef(KeyConstPointerType Key) const
	{
		const ValueType* Found = Find(Key);
		return Found ? *Found : ValueType();
	}

	ValueType& FindChecked(KeyConstPointerType Key)
	{
		ValueType* Found = Find(Key);
		check(Found != nullptr);
		return *Found;
	}

	const ValueType& FindChecked(KeyConstPointerType Key) const
	{
		return const_cast<TMap*>(this)->FindChecked(Key);
	}

	const KeyType* FindKey(ValueInitType Value) const
	{
		for (const ElementType& Pair : Pairs)
		{
			if (Pair.Value == Value)
			{
				return &Pair.Key;
			}
		}
		return nullptr;
	}

	FORCEINLINE ValueType& operator[](KeyConstPointerType Key) { return FindChecked(Key); }
	FORCEINLINE const ValueType& operator[](KeyConstPointerType Key) const { return FindChecked(Key); }

	FORCEINLINE bool Contains(KeyConstPointerType Key) const { return Pairs.Contains(Key); }
	FORCEINLINE int32 Num() const { return Pairs.Num(); }
	FORCEINLINE bool IsEmpty() const { return Pairs.IsEmpty(); }
	FORCEINLINE int32 Max() const { return Pairs.Max(); }
	FORCEINLINE SIZE_T GetAllocatedSize() const { return Pairs.GetAllocatedSize(); }

	// Empties the map and keeps its storage for reuse.
	FORCEINLINE void Reset() { Pairs.Reset(); }
	// Empties the map and keeps storage for ExpectedNumElements only.
	FORCEINLINE void Empty(int32 ExpectedNumElements = 0) { Pairs.Empty(ExpectedNumElements); }
	FORCEINLINE void Reserve(int32 Number) { Pairs.Reserve(Number); }
	FORCEINLINE void Shrink() { Pairs.Shrink(); }
	FORCEINLINE void Compact() { Pairs.Compact(); }
	FORCEINLINE void CompactStable() { Pairs.CompactStable(); }

	template <typename PredicateType>
	void KeySort(const PredicateType& Predicate)
	{
		Pairs.Sort([&Predicate](const ElementType& A, const ElementType& B) { return Predicate(A.Key, B.Key); });
	}

	template <typename PredicateType>
	void ValueSort(const PredicateType& Predicate)
	{
		Pairs.Sort([&Predicate](const ElementType& A, const ElementType& B) { return Predicate(A.Value, B.Value); });
	}

	template <typename Allocator>
	int32 GetKeys(TArray<KeyType, Allocator>& OutKeys) const
	{
		OutKeys.Reset();
		for (const ElementType& Pair : Pairs)
		{
			OutKeys.Add(Pair.Key);
		}
		return OutKeys.Num();
	}

	int32 GetKeys(TSet<KeyType>& OutKeys) const
	{
		OutKeys.Reset();
		for (const ElementType& Pair : Pairs)
		{
			OutKeys.Add(Pair.Key);
		}
		return OutKeys.Num();
	}

	template <typename Allocator>
	void GenerateKeyArray(TArray<KeyType, Allocator>& OutArray) const
	{
		OutArray.Empty(Pairs.Num());
		for (const ElementType& Pair : Pairs)
		{
			OutArray.Add(Pair.Key);
		}
	}

	template <typename Allocator>
	void GenerateValueArray(TArray<ValueType, Allocator>& OutArray) const
	{
		OutArray.Empty(Pairs.Num());
		for (const ElementType& Pair : Pairs)
		{
			OutArray.Add(Pair.Value);
		}
	}

	void Append(const TMap& OtherMap)
	{
		Reserve(Num() + OtherMap.Num());
		for (const ElementType& Pair : OtherMap.Pairs)
		{
			Add(Pair.Key, Pair.Value);
		}
	}

	bool OrderIndependentCompareEqual(const TMap& Other) const
	{
		if (Num() != Other.Num())
		{
			return false;
		}
		for (const ElementType& Pair : Pairs)
		{
			const ValueType* OtherValue = Other.Find(Pair.Key);
			if (!OtherValue || !(*OtherValue == Pair.Value))
			{
				return false;
			}
		}
		return true;
	}

	TArray<ElementType> Array() const
	{
		return Pairs.Array();
	}

	TIterator CreateIterator() { return TIterator(*this); }
	TConstIterator CreateConstIterator() const { return TConstIterator(*this); }

	FORCEINLINE auto begin() { return Pairs.begin(); }
	FORCEINLINE auto begin() const { return Pairs.begin(); }
	FORCEINLINE auto end() { return Pairs.end(); }
	FORCEINLINE auto end() const { return Pairs.end(); }

	friend FArchive& operator<<(FArchive& Ar, TMap& Map)
	{
		return Ar << Map.Pairs;
	}

private:
	ElementSetType Pairs;
};
