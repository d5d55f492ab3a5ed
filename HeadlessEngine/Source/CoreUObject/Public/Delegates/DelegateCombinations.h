#pragma once

#include "CoreMinimal.h"
#include "Misc/AssertionMacros.h"
#include "UObject/ScriptDelegates.h"
#include "UObject/SparseDelegate.h"

namespace UE::Delegates::Private
{
	// "&UMyClass::Handler" names the reflected function "Handler".
	COREUOBJECT_API FName GetTrimmedMemberFunctionName(const TCHAR* InMacroFunctionName);
}

#define STATIC_FUNCTION_FNAME(str) UE::Delegates::Private::GetTrimmedMemberFunctionName(str)

// The native base of every dynamic multicast delegate type. Handlers are bound by object and
// function name; the method pointer only makes the binding type-safe.
template<typename TWeakPtr, typename RetValType, typename... ParamTypes>
class TBaseDynamicMulticastDelegate : public TMulticastScriptDelegate<TWeakPtr>
{
public:
	TBaseDynamicMulticastDelegate() = default;
	explicit TBaseDynamicMulticastDelegate(const TMulticastScriptDelegate<TWeakPtr>& InMulticastScriptDelegate)
		: TMulticastScriptDelegate<TWeakPtr>(InMulticastScriptDelegate)
	{
	}

	template<class UserClass>
	class TMethodPtrResolver
	{
	public:
		typedef RetValType (UserClass::*FMethodPtr)(ParamTypes... Params);
	};

	template<class UserClass>
	static void BindDynamic(TScriptDelegate<TWeakPtr>& OutDelegate, UserClass* InUserObject, typename TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName)
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		ensureMsgf(InUserObject->FindFunction(InFunctionName), TEXT("Unable to bind delegate to '%s' (function might not be marked as a UFUNCTION or object may be pending kill)"), *InFunctionName.ToString());
		OutDelegate.BindUFunction(InUserObject, InFunctionName);
	}

	template<class UserClass>
	void __Internal_AddDynamic(UserClass* InUserObject, typename TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName)
	{
		TScriptDelegate<TWeakPtr> NewDelegate;
		BindDynamic(NewDelegate, InUserObject, InMethodPtr, InFunctionName);
		this->Add(NewDelegate);
	}
	template<class UserClass>
	void __Internal_AddUniqueDynamic(UserClass* InUserObject, typename TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName)
	{
		TScriptDelegate<TWeakPtr> NewDelegate;
		BindDynamic(NewDelegate, InUserObject, InMethodPtr, InFunctionName);
		this->AddUnique(NewDelegate);
	}
	template<class UserClass>
	void __Internal_RemoveDynamic(UserClass* InUserObject, typename TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName)
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		this->Remove(InUserObject, InFunctionName);
	}
	template<class UserClass>
	bool __Internal_IsAlreadyBound(UserClass* InUserObject, typename TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName) const
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		return this->Contains(InUserObject, InFunctionName);
	}
};

#define AddDynamic(UserObject, FuncName) __Internal_AddDynamic(UserObject, FuncName, STATIC_FUNCTION_FNAME(TEXT(#FuncName)))
#define AddUniqueDynamic(UserObject, FuncName) __Internal_AddUniqueDynamic(UserObject, FuncName, STATIC_FUNCTION_FNAME(TEXT(#FuncName)))
#define RemoveDynamic(UserObject, FuncName) __Internal_RemoveDynamic(UserObject, FuncName, STATIC_FUNCTION_FNAME(TEXT(#FuncName)))
#define IsAlreadyBound(UserObject, FuncName) __Internal_IsAlreadyBound(UserObject, FuncName, STATIC_FUNCTION_FNAME(TEXT(#FuncName)))

#define FUNC_CONCAT(...) __VA_ARGS__

// The delegate type; Broadcast packs its arguments and hands them to the generated wrapper.
#define FUNC_DECLARE_DYNAMIC_MULTICAST_DELEGATE(TWeakPtr, DynamicMulticastDelegateClassName, ExecFunction, FuncParamList, FuncParamPassThru, ...) \
	class DynamicMulticastDelegateClassName : public TBaseDynamicMulticastDelegate<TWeakPtr, __VA_ARGS__> \
	{ \
	public: \
		DynamicMulticastDelegateClassName() \
		{ \
		} \
		explicit DynamicMulticastDelegateClassName(const TMulticastScriptDelegate<TWeakPtr>& InMulticastScriptDelegate) \
			: TBaseDynamicMulticastDelegate<TWeakPtr, __VA_ARGS__>(InMulticastScriptDelegate) \
		{ \
		} \
		void Broadcast(FuncParamList) const \
		{ \
			ExecFunction(FuncParamPassThru); \
		} \
	};

#define DECLARE_DYNAMIC_MULTICAST_DELEGATE(DelegateName) \
	BODY_MACRO_COMBINE(CURRENT_FILE_ID, _, __LINE__, _DELEGATE) \
	FUNC_DECLARE_DYNAMIC_MULTICAST_DELEGATE(FWeakObjectPtr, DelegateName, DelegateName##_DelegateWrapper, , FUNC_CONCAT(*this), void)

#define DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(DelegateName, Param1Type, Param1Name) \
	BODY_MACRO_COMBINE(CURRENT_FILE_ID, _, __LINE__, _DELEGATE) \
	FUNC_DECLARE_DYNAMIC_MULTICAST_DELEGATE(FWeakObjectPtr, DelegateName, DelegateName##_DelegateWrapper, FUNC_CONCAT(Param1Type InParam1), FUNC_CONCAT(*this, InParam1), void, Param1Type)

#define DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(DelegateName, Param1Type, Param1Name, Param2Type, Param2Name) \
	BODY_MACRO_COMBINE(CURRENT_FILE_ID, _, __LINE__, _DELEGATE) \
	FUNC_DECLARE_DYNAMIC_MULTICAST_DELEGATE(FWeakObjectPtr, DelegateName, DelegateName##_DelegateWrapper, FUNC_CONCAT(Param1Type InParam1, Param2Type InParam2), FUNC_CONCAT(*this, InParam1, InParam2), void, Param1Type, Param2Type)

#define DECLARE_DYNAMIC_MULTICAST_SPARSE_DELEGATE_OneParam(SparseDelegateClass, OwningClass, DelegateName, Param1Type, Param1Name) \
	BODY_MACRO_COMBINE(CURRENT_FILE_ID, _, __LINE__, _DELEGATE) \
	FUNC_DECLARE_DYNAMIC_MULTICAST_DELEGATE(FWeakObjectPtr, SparseDelegateClass##_MCSignature, SparseDelegateClass##_DelegateWrapper, FUNC_CONCAT(Param1Type InParam1), FUNC_CONCAT(*this, InParam1), void, Param1Type) \
	DECLARE_SPARSE_DELEGATE_INFO_GETTER(SparseDelegateClass, OwningClass, DelegateName) \
	struct SparseDelegateClass : public TSparseDynamicDelegate<SparseDelegateClass##_MCSignature, OwningClass, SparseDelegateClass##InfoGetter> \
	{ \
	};

#define DECLARE_DYNAMIC_MULTICAST_SPARSE_DELEGATE_TwoParams(SparseDelegateClass, OwningClass, DelegateName, Param1Type, Param1Name, Param2Type, Param2Name) \
	BODY_MACRO_COMBINE(CURRENT_FILE_ID, _, __LINE__, _DELEGATE) \
	FUNC_DECLARE_DYNAMIC_MULTICAST_DELEGATE(FWeakObjectPtr, SparseDelegateClass##_MCSignature, SparseDelegateClass##_DelegateWrapper, FUNC_CONCAT(Param1Type InParam1, Param2Type InParam2), FUNC_CONCAT(*this, InParam1, InParam2), void, Param1Type, Param2Type) \
	DECLARE_SPARSE_DELEGATE_INFO_GETTER(SparseDelegateClass, OwningClass, DelegateName) \
	struct SparseDelegateClass : public TSparseDynamicDelegate<SparseDelegateClass##_MCSignature, OwningClass, SparseDelegateClass##InfoGetter> \
	{ \
	};
