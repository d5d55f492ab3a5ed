#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "UObject/UObjectBaseUtility.h"
#include "UObject/ObjectPtr.h"
#include "UObject/WeakObjectPtrTemplates.h"

#include <type_traits>

template<typename To, typename From>
std::conditional_t<std::is_const_v<From>, const To*, To*> Cast(From* Src)
{
	using ResultType = std::conditional_t<std::is_const_v<From>, const To*, To*>;
	return Src && ((const UObjectBaseUtility*)Src)->IsA(To::StaticClass()) ? (ResultType)Src : nullptr;
}

template<typename To, typename From>
To* Cast(const TObjectPtr<From>& Src)
{
	return Cast<To>(Src.Get());
}

template<typename To, typename From>
To* Cast(const TWeakObjectPtr<From>& Src)
{
	return Cast<To>(Src.Get());
}

template<typename To, typename From>
std::conditional_t<std::is_const_v<From>, const To*, To*> ExactCast(From* Src)
{
	using ResultType = std::conditional_t<std::is_const_v<From>, const To*, To*>;
	return Src && ((const UObjectBase*)Src)->GetClass() == To::StaticClass() ? (ResultType)Src : nullptr;
}

template<typename To, typename From>
std::conditional_t<std::is_const_v<From>, const To*, To*> CastChecked(From* Src)
{
	auto Result = Cast<To>(Src);
	checkf(!Src || Result, TEXT("Cast of object to an unrelated class failed"));
	return Result;
}
