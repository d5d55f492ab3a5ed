#pragma once

#include "CoreTypes.h"
#include "Templates/TypeHash.h"

#include <type_traits>

// A reflected object pointer: the same value as T*, followed by the garbage collector.
template<typename T>
class TObjectPtr
{
public:
	TObjectPtr() = default;
	TObjectPtr(decltype(nullptr))
	{
	}
	template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TObjectPtr(U* Object)
		: Pointer(Object)
	{
	}
	template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TObjectPtr(const TObjectPtr<U>& Other)
		: Pointer(Other.Get())
	{
	}

	T* Get() const
	{
		return Pointer;
	}
	operator T*() const
	{
		return Pointer;
	}
	T* operator->() const
	{
		return Pointer;
	}
	T& operator*() const
	{
		return *Pointer;
	}
	explicit operator bool() const
	{
		return Pointer != nullptr;
	}

	template<typename U>
	bool operator==(const TObjectPtr<U>& Other) const
	{
		return Pointer == Other.Get();
	}
	template<typename U>
	bool operator==(U* Other) const
	{
		return Pointer == Other;
	}
	bool operator==(decltype(nullptr)) const
	{
		return Pointer == nullptr;
	}

	friend uint32 GetTypeHash(const TObjectPtr& Ptr)
	{
		return PointerHash(Ptr.Pointer);
	}

private:
	T* Pointer = nullptr;
};

class UObject;
static_assert(sizeof(TObjectPtr<UObject>) == sizeof(UObject*), "TObjectPtr must be layout-compatible with a raw pointer");
