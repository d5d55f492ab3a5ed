#pragma once

#include "CoreTypes.h"
#include "UObject/WeakObjectPtr.h"

#include <type_traits>

template<typename T>
class TObjectPtr;

template<class T, class TWeakObjectPtrBase = FWeakObjectPtr>
struct TWeakObjectPtr;

template<class T, class TWeakObjectPtrBase>
struct TWeakObjectPtr
{
	TWeakObjectPtr() = default;
	TWeakObjectPtr(decltype(nullptr))
	{
	}
	template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TWeakObjectPtr(U* Object)
		: WeakPtr((const UObject*)Object)
	{
	}
	template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TWeakObjectPtr(const TObjectPtr<U>& Object)
		: WeakPtr((const UObject*)Object.Get())
	{
	}
	template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TWeakObjectPtr(const TWeakObjectPtr<U>& Other)
		: WeakPtr(Other.GetWeakPtr())
	{
	}

	template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TWeakObjectPtr& operator=(U* Object)
	{
		WeakPtr = (const UObject*)Object;
		return *this;
	}

	void Reset()
	{
		WeakPtr.Reset();
	}
	T* Get() const
	{
		return (T*)WeakPtr.Get();
	}
	T* Get(bool bEvenIfGarbage) const
	{
		return (T*)WeakPtr.Get(bEvenIfGarbage);
	}
	T* GetEvenIfUnreachable() const
	{
		return (T*)WeakPtr.GetEvenIfUnreachable();
	}
	T& operator*() const
	{
		return *Get();
	}
	T* operator->() const
	{
		return Get();
	}
	bool IsValid() const
	{
		return WeakPtr.IsValid();
	}
	bool IsValid(bool bEvenIfGarbage, bool bThreadsafeTest = false) const
	{
		return WeakPtr.IsValid(bEvenIfGarbage, bThreadsafeTest);
	}
	bool IsStale(bool bIncludingGarbage = true, bool bThreadsafeTest = false) const
	{
		return WeakPtr.IsStale(bIncludingGarbage, bThreadsafeTest);
	}
	bool IsExplicitlyNull() const
	{
		return WeakPtr.IsExplicitlyNull();
	}
	explicit operator bool() const
	{
		return WeakPtr.IsValid();
	}

	const FWeakObjectPtr& GetWeakPtr() const
	{
		return WeakPtr;
	}

	// Both were set to the same object, even if it is gone now.
	bool HasSameIndexAndSerialNumber(const TWeakObjectPtr& Other) const
	{
		return WeakPtr.HasSameIndexAndSerialNumber(Other.WeakPtr);
	}

	template<typename U>
	bool operator==(const TWeakObjectPtr<U>& Other) const
	{
		return WeakPtr == Other.GetWeakPtr();
	}
	template<typename U>
	bool operator!=(const TWeakObjectPtr<U>& Other) const
	{
		return !(WeakPtr == Other.GetWeakPtr());
	}
	template<typename U>
	bool operator==(const U* Other) const
	{
		return Get() == Other;
	}
	template<typename U>
	bool operator!=(const U* Other) const
	{
		return Get() != Other;
	}
	bool operator==(decltype(nullptr)) const
	{
		return !IsValid();
	}
	bool operator!=(decltype(nullptr)) const
	{
		return IsValid();
	}

	friend uint32 GetTypeHash(const TWeakObjectPtr& WeakObjectPtr)
	{
		return GetTypeHash(WeakObjectPtr.WeakPtr);
	}

private:
	TWeakObjectPtrBase WeakPtr;
};

template<class T>
struct TIsPODType<TWeakObjectPtr<T>>
{
	enum
	{
		Value = true
	};
};

template<class T>
struct TIsZeroConstructType<TWeakObjectPtr<T>>
{
	enum
	{
		Value = true
	};
};
