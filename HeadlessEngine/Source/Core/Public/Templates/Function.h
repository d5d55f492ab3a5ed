#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "Templates/UnrealTemplate.h"

#include <functional>
#include <memory>
#include <type_traits>

template <typename FuncType>
class TFunction;

template <typename FuncType>
class TUniqueFunction;

template <typename FuncType>
class TFunctionRef;

// Owning, copyable callable. Calling an unbound one is fatal.
template <typename Ret, typename... ParamTypes>
class TFunction<Ret(ParamTypes...)>
{
public:
	TFunction() = default;

	TFunction(TYPE_OF_NULLPTR)
	{
	}

	template <typename FunctorType>
		requires(!std::is_same_v<std::decay_t<FunctorType>, TFunction> && std::is_invocable_r_v<Ret, std::decay_t<FunctorType>&, ParamTypes...>)
	TFunction(FunctorType&& InFunc)
		: Callable(Forward<FunctorType>(InFunc))
	{
	}

	TFunction(const TFunction&) = default;
	TFunction(TFunction&&) = default;
	TFunction& operator=(const TFunction&) = default;
	TFunction& operator=(TFunction&&) = default;

	TFunction& operator=(TYPE_OF_NULLPTR)
	{
		Callable = nullptr;
		return *this;
	}

	Ret operator()(ParamTypes... Params) const
	{
		checkf(Callable != nullptr, TEXT("Attempting to call an unbound TFunction!"));
		return Callable(Forward<ParamTypes>(Params)...);
	}

	FORCEINLINE explicit operator bool() const
	{
		return Callable != nullptr;
	}

	FORCEINLINE bool IsSet() const
	{
		return Callable != nullptr;
	}

	void Reset()
	{
		Callable = nullptr;
	}

	friend bool operator==(const TFunction& Func, TYPE_OF_NULLPTR) { return !Func; }

private:
	std::function<Ret(ParamTypes...)> Callable;
};

// Owning, move-only callable.
template <typename Ret, typename... ParamTypes>
class TUniqueFunction<Ret(ParamTypes...)>
{
	struct ICallable
	{
		virtual ~ICallable() = default;
		virtual Ret Call(ParamTypes... Params) = 0;
	};

	template <typename FunctorType>
	struct TCallable final : ICallable
	{
		explicit TCallable(FunctorType&& InFunctor)
			: Functor(MoveTemp(InFunctor))
		{
		}

		explicit TCallable(const FunctorType& InFunctor)
			: Functor(InFunctor)
		{
		}

		virtual Ret Call(ParamTypes... Params) override
		{
			return std::invoke(Functor, Forward<ParamTypes>(Params)...);
		}

		FunctorType Functor;
	};

public:
	TUniqueFunction() = default;

	TUniqueFunction(TYPE_OF_NULLPTR)
	{
	}

	template <typename FunctorType>
		requires(!std::is_same_v<std::decay_t<FunctorType>, TUniqueFunction> && std::is_invocable_r_v<Ret, std::decay_t<FunctorType>&, ParamTypes...>)
	TUniqueFunction(FunctorType&& InFunc)
		: Callable(std::make_unique<TCallable<std::decay_t<FunctorType>>>(Forward<FunctorType>(InFunc)))
	{
	}

	TUniqueFunction(TUniqueFunction&&) = default;
	TUniqueFunction& operator=(TUniqueFunction&&) = default;
	TUniqueFunction(const TUniqueFunction&) = delete;
	TUniqueFunction& operator=(const TUniqueFunction&) = delete;

	Ret operator()(ParamTypes... Params) const
	{
		checkf(Callable != nullptr, TEXT("Attempting to call an unbound TUniqueFunction!"));
		return Callable->Call(Forward<ParamTypes>(Params)...);
	}

	FORCEINLINE explicit operator bool() const
	{
		return Callable != nullptr;
	}

	FORCEINLINE bool IsSet() const
	{
		return Callable != nullptr;
	}

	void Reset()
	{
		Callable.reset();
	}

private:
	std::unique_ptr<ICallable> Callable;
};

// Non-owning reference to a callable; must not outlive it. Never null.
template <typename Ret, typename... ParamTypes>
class TFunctionRef<Ret(ParamTypes...)>
{
public:
	template <typename FunctorType>
		requires(!std::is_same_v<std::decay_t<FunctorType>, TFunctionRef> && std::is_invocable_r_v<Ret, std::remove_reference_t<FunctorType>&, ParamTypes...>)
	TFunctionRef(FunctorType&& InFunc)
		: Ptr((void*)std::addressof(InFunc))
		, Invoker(&Invoke<std::remove_reference_t<FunctorType>>)
	{
	}

	TFunctionRef(const TFunctionRef&) = default;
	TFunctionRef& operator=(const TFunctionRef&) = delete;

	Ret operator()(ParamTypes... Params) const
	{
		return Invoker(Ptr, Forward<ParamTypes>(Params)...);
	}

private:
	template <typename FunctorType>
	static Ret Invoke(void* Functor, ParamTypes... Params)
	{
		return std::invoke(*(FunctorType*)Functor, Forward<ParamTypes>(Params)...);
	}

	void* Ptr;
	Ret (*Invoker)(void*, ParamTypes...);
};
