#pragma once

#include "CoreTypes.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTypeTraits.h"

// Names one element of a set (its index in the set's sparse storage).
class FSetElementId
{
public:
	FORCEINLINE constexpr FSetElementId() = default;

	FORCEINLINE bool IsValidId() const
	{
		return Index != INDEX_NONE;
	}

	FORCEINLINE int32 AsInteger() const
	{
		return Index;
	}

	FORCEINLINE static FSetElementId FromInteger(int32 Integer)
	{
		return FSetElementId(Integer);
	}

	FORCEINLINE friend bool operator==(const FSetElementId& A, const FSetElementId& B)
	{
		return A.Index == B.Index;
	}

	friend uint32 GetTypeHash(const FSetElementId& Id)
	{
		return GetTypeHash(Id.Index);
	}

private:
	FORCEINLINE explicit constexpr FSetElementId(int32 InIndex)
		: Index(InIndex)
	{
	}

	int32 Index = INDEX_NONE;
};

// How a set gets the key of an element, compares keys and hashes them.
template <typename ElementType, typename InKeyType, bool bInAllowDuplicateKeys = false>
struct BaseKeyFuncs
{
	using KeyType = InKeyType;
	using KeyInitType = typename TTypeTraits<InKeyType>::ConstPointerType;
	using ElementInitType = typename TCallTraits<ElementType>::ParamType;

	enum { bAllowDuplicateKeys = bInAllowDuplicateKeys };
};

template <typename ElementType, bool bInAllowDuplicateKeys>
struct DefaultKeyFuncs : BaseKeyFuncs<ElementType, ElementType, bInAllowDuplicateKeys>
{
	using KeyInitType = typename TTypeTraits<ElementType>::ConstPointerType;
	using ElementInitType = typename TCallTraits<ElementType>::ParamType;

	static FORCEINLINE KeyInitType GetSetKey(ElementInitType Element)
	{
		return Element;
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
