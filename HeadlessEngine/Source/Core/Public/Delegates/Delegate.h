#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "Templates/Function.h"
#include "Templates/UnrealTemplate.h"

#include <type_traits>

/** The user policy of UE's delegates; this layer has only the default one. */
struct FDefaultDelegateUserPolicy
{
};

template <typename DelegateSignature, typename UserPolicy = FDefaultDelegateUserPolicy>
class TDelegate;

/**
 * A single-cast native delegate: at most one function bound, called with Execute. Bindings to
 * static functions, functors and raw pointers only; payload variables are appended to the call's
 * arguments, as UE does.
 */
template <typename InRetValType, typename... ParamTypes, typename UserPolicy>
class TDelegate<InRetValType(ParamTypes...), UserPolicy>
{
public:
	using RetValType = InRetValType;
	using TFuncType = InRetValType(ParamTypes...);

	template <typename... VarTypes>
	using TFuncPtr = RetValType (*)(ParamTypes..., VarTypes...);
	template <typename UserClass, typename... VarTypes>
	using TMethodPtr = RetValType (UserClass::*)(ParamTypes..., VarTypes...);
	template <typename UserClass, typename... VarTypes>
	using TConstMethodPtr = RetValType (UserClass::*)(ParamTypes..., VarTypes...) const;

	TDelegate() = default;

	TDelegate(TYPE_OF_NULLPTR)
	{
	}

	template <typename... VarTypes>
	[[nodiscard]] static TDelegate CreateStatic(TFuncPtr<std::type_identity_t<VarTypes>...> InFunc, VarTypes... Vars)
	{
		TDelegate Result;
		Result.BindStatic(InFunc, Vars...);
		return Result;
	}

	template <typename FunctorType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateLambda(FunctorType&& InFunctor, VarTypes... Vars)
	{
		TDelegate Result;
		Result.BindLambda(Forward<FunctorType>(InFunctor), Vars...);
		return Result;
	}

	/** The object is not owned or tracked: it must outlive the binding. */
	template <typename UserClass, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateRaw(UserClass* InUserObject, TMethodPtr<UserClass, std::type_identity_t<VarTypes>...> InFunc, VarTypes... Vars)
	{
		TDelegate Result;
		Result.BindRaw(InUserObject, InFunc, Vars...);
		return Result;
	}

	template <typename... VarTypes>
	void BindStatic(TFuncPtr<std::type_identity_t<VarTypes>...> InFunc, VarTypes... Vars)
	{
		Bound = [InFunc, Vars...](ParamTypes... Params) -> RetValType
		{
			return InFunc(Forward<ParamTypes>(Params)..., Vars...);
		};
	}

	template <typename FunctorType, typename... VarTypes>
	void BindLambda(FunctorType&& InFunctor, VarTypes... Vars)
	{
		Bound = [Functor = std::decay_t<FunctorType>(Forward<FunctorType>(InFunctor)), Vars...](ParamTypes... Params) mutable -> RetValType
		{
			return Functor(Forward<ParamTypes>(Params)..., Vars...);
		};
	}

	template <typename UserClass, typename... VarTypes>
	void BindRaw(UserClass* InUserObject, TMethodPtr<UserClass, std::type_identity_t<VarTypes>...> InFunc, VarTypes... Vars)
	{
		check(InUserObject != nullptr && InFunc != nullptr);
		Bound = [InUserObject, InFunc, Vars...](ParamTypes... Params) -> RetValType
		{
			return (InUserObject->*InFunc)(Forward<ParamTypes>(Params)..., Vars...);
		};
	}

	bool IsBound() const
	{
		return Bound.IsSet();
	}

	void Unbind()
	{
		Bound.Reset();
	}

	/** Fatal when nothing is bound; ExecuteIfBound is the checked form. */
	RetValType Execute(ParamTypes... Params) const
	{
		checkf(IsBound(), TEXT("Execute was called on a delegate with nothing bound; ExecuteIfBound checks first"));
		return Bound(Forward<ParamTypes>(Params)...);
	}

	/** Calls the bound function, if any; false when nothing is bound. */
	bool ExecuteIfBound(ParamTypes... Params) const
		requires std::is_void_v<RetValType>
	{
		if (!IsBound())
		{
			return false;
		}
		Bound(Forward<ParamTypes>(Params)...);
		return true;
	}

private:
	TFunction<RetValType(ParamTypes...)> Bound;
};

#define FUNC_DECLARE_DELEGATE(DelegateName, ReturnType, ...) \
	typedef TDelegate<ReturnType(__VA_ARGS__)> DelegateName;

#define DECLARE_DELEGATE(DelegateName) FUNC_DECLARE_DELEGATE(DelegateName, void)
#define DECLARE_DELEGATE_OneParam(DelegateName, Param1Type) FUNC_DECLARE_DELEGATE(DelegateName, void, Param1Type)
#define DECLARE_DELEGATE_TwoParams(DelegateName, Param1Type, Param2Type) FUNC_DECLARE_DELEGATE(DelegateName, void, Param1Type, Param2Type)
#define DECLARE_DELEGATE_ThreeParams(DelegateName, Param1Type, Param2Type, Param3Type) FUNC_DECLARE_DELEGATE(DelegateName, void, Param1Type, Param2Type, Param3Type)
#define DECLARE_DELEGATE_RetVal(ReturnValueType, DelegateName) FUNC_DECLARE_DELEGATE(DelegateName, ReturnValueType)
#define DECLARE_DELEGATE_RetVal_OneParam(ReturnValueType, DelegateName, Param1Type) FUNC_DECLARE_DELEGATE(DelegateName, ReturnValueType, Param1Type)
