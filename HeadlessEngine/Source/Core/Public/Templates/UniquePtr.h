#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "Templates/UnrealTemplate.h"

#include <type_traits>

template <typename T>
struct TDefaultDelete
{
	TDefaultDelete() = default;

	template <typename U>
		requires std::is_convertible_v<U*, T*>
	TDefaultDelete(const TDefaultDelete<U>&)
	{
	}

	void operator()(T* Ptr) const
	{
		static_assert(sizeof(T) > 0, "Cannot delete an incomplete type");
		delete Ptr;
	}
};

template <typename T>
struct TDefaultDelete<T[]>
{
	void operator()(T* Ptr) const
	{
		delete[] Ptr;
	}
};

// Sole owner of a heap object.
template <typename T, typename Deleter = TDefaultDelete<T>>
class TUniquePtr : private Deleter
{
	template <typename OtherT, typename OtherDeleter>
	friend class TUniquePtr;

public:
	using ElementType = T;

	FORCEINLINE constexpr TUniquePtr() = default;

	FORCEINLINE constexpr TUniquePtr(TYPE_OF_NULLPTR)
	{
	}

	FORCEINLINE explicit TUniquePtr(T* InPtr)
		: Ptr(InPtr)
	{
	}

	FORCEINLINE TUniquePtr(TUniquePtr&& Other)
		: Deleter(MoveTemp(Other.GetDeleter()))
		, Ptr(Other.Ptr)
	{
		Other.Ptr = nullptr;
	}

	template <typename OtherT, typename OtherDeleter>
		requires std::is_convertible_v<OtherT*, T*>
	FORCEINLINE TUniquePtr(TUniquePtr<OtherT, OtherDeleter>&& Other)
		: Deleter(MoveTemp(Other.GetDeleter()))
		, Ptr(Other.Ptr)
	{
		Other.Ptr = nullptr;
	}

	TUniquePtr(const TUniquePtr&) = delete;
	TUniquePtr& operator=(const TUniquePtr&) = delete;

	FORCEINLINE TUniquePtr& operator=(TUniquePtr&& Other)
	{
		if (this != &Other)
		{
			Reset(Other.Release());
			GetDeleter() = MoveTemp(Other.GetDeleter());
		}
		return *this;
	}

	template <typename OtherT, typename OtherDeleter>
		requires std::is_convertible_v<OtherT*, T*>
	FORCEINLINE TUniquePtr& operator=(TUniquePtr<OtherT, OtherDeleter>&& Other)
	{
		Reset(Other.Release());
		return *this;
	}

	FORCEINLINE TUniquePtr& operator=(TYPE_OF_NULLPTR)
	{
		Reset();
		return *this;
	}

	FORCEINLINE ~TUniquePtr()
	{
		Reset();
	}

	FORCEINLINE bool IsValid() const { return Ptr != nullptr; }
	FORCEINLINE explicit operator bool() const { return Ptr != nullptr; }
	FORCEINLINE bool operator!() const { return Ptr == nullptr; }

	FORCEINLINE T* operator->() const
	{
		check(Ptr != nullptr);
		return Ptr;
	}

	FORCEINLINE T& operator*() const
	{
		check(Ptr != nullptr);
		return *Ptr;
	}

	FORCEINLINE T* Get() const { return Ptr; }

	[[nodiscard]] FORCEINLINE T* Release()
	{
		return Exchange(Ptr, nullptr);
	}

	FORCEINLINE void Reset(T* InPtr = nullptr)
	{
		if (Ptr != InPtr)
		{
			T* OldPtr = Exchange(Ptr, InPtr);
			if (OldPtr)
			{
				GetDeleter()(OldPtr);
			}
		}
	}

	FORCEINLINE Deleter& GetDeleter() { return static_cast<Deleter&>(*this); }
	FORCEINLINE const Deleter& GetDeleter() const { return static_cast<const Deleter&>(*this); }

	template <typename U>
	friend bool operator==(const TUniquePtr& Lhs, const TUniquePtr<U>& Rhs) { return Lhs.Get() == Rhs.Get(); }
	friend bool operator==(const TUniquePtr& Lhs, TYPE_OF_NULLPTR) { return !Lhs.IsValid(); }

private:
	T* Ptr = nullptr;
};

template <typename T, typename Deleter>
class TUniquePtr<T[], Deleter> : private Deleter
{
public:
	FORCEINLINE constexpr TUniquePtr() = default;

	FORCEINLINE explicit TUniquePtr(T* InPtr)
		: Ptr(InPtr)
	{
	}

	FORCEINLINE TUniquePtr(TUniquePtr&& Other)
		: Ptr(Exchange(Other.Ptr, nullptr))
	{
	}

	TUniquePtr(const TUniquePtr&) = delete;
	TUniquePtr& operator=(const TUniquePtr&) = delete;

	FORCEINLINE TUniquePtr& operator=(TUniquePtr&& Other)
	{
		if (this != &Other)
		{
			Reset(Exchange(Other.Ptr, nullptr));
		}
		return *this;
	}

	FORCEINLINE ~TUniquePtr()
	{
		Reset();
	}

	FORCEINLINE bool IsValid() const { return Ptr != nullptr; }
	FORCEINLINE explicit operator bool() const { return Ptr != nullptr; }
	FORCEINLINE T& operator[](SIZE_T Index) const { return Ptr[Index]; }
	FORCEINLINE T* Get() const { return Ptr; }

	[[nodiscard]] FORCEINLINE T* Release()
	{
		return Exchange(Ptr, nullptr);
	}

	FORCEINLINE void Reset(T* InPtr = nullptr)
	{
		T* OldPtr = Exchange(Ptr, InPtr);
		if (OldPtr && OldPtr != InPtr)
		{
			static_cast<Deleter&>(*this)(OldPtr);
		}
	}

private:
	T* Ptr = nullptr;
};

template <typename T, typename... TArgs>
	requires(!std::is_array_v<T>)
FORCEINLINE TUniquePtr<T> MakeUnique(TArgs&&... Args)
{
	return TUniquePtr<T>(new T(Forward<TArgs>(Args)...));
}

template <typename T>
	requires std::is_unbounded_array_v<T>
FORCEINLINE TUniquePtr<T> MakeUnique(SIZE_T Size)
{
	using ElementType = std::remove_extent_t<T>;
	return TUniquePtr<T>(new ElementType[Size]());
}
