#pragma once

#include "CoreTypes.h"
#include "Logging/LogMacros.h"
#include "Misc/AssertionMacros.h"
#include "UObject/Class.h"
#include "UObject/UObjectBaseUtility.h"
#include "UObject/ObjectPtr.h"
#include "UObject/WeakObjectPtrTemplates.h"

#include <type_traits>

COREUOBJECT_API DECLARE_LOG_CATEGORY_EXTERN(LogCasts, Log, All);

// Reports a failed CastChecked as a fatal error: "Cast of <From> to <To> failed".
[[noreturn]] COREUOBJECT_API void CastLogError(const TCHAR* FromType, const TCHAR* ToType);

namespace ECastCheckedType
{
	enum Type
	{
		NullAllowed,
		NullChecked
	};
}

// The cast flag of a class that has one, so that a cast to it tests one bit of the object's class
// instead of asking IsA.
template<typename T>
struct TCastFlags
{
	static constexpr EClassCastFlags Value = CASTCLASS_None;
};

#define DECLARE_CAST_BY_FLAG_FWD(ClassName) class ClassName;
#define DECLARE_CAST_BY_FLAG_CAST(ClassName) \
	template<> \
	struct TCastFlags<ClassName> \
	{ \
		static constexpr EClassCastFlags Value = CASTCLASS_##ClassName; \
	}; \
	template<> \
	struct TCastFlags<const ClassName> \
	{ \
		static constexpr EClassCastFlags Value = CASTCLASS_##ClassName; \
	};
#define DECLARE_CAST_BY_FLAG(ClassName) \
	DECLARE_CAST_BY_FLAG_FWD(ClassName) \
	DECLARE_CAST_BY_FLAG_CAST(ClassName)

DECLARE_CAST_BY_FLAG(UField)
DECLARE_CAST_BY_FLAG(UEnum)
DECLARE_CAST_BY_FLAG(UStruct)
DECLARE_CAST_BY_FLAG(UScriptStruct)
DECLARE_CAST_BY_FLAG(UClass)
DECLARE_CAST_BY_FLAG(UFunction)
DECLARE_CAST_BY_FLAG(UDelegateFunction)
DECLARE_CAST_BY_FLAG(UPackage)
DECLARE_CAST_BY_FLAG(ULevel)
DECLARE_CAST_BY_FLAG(AActor)

#undef DECLARE_CAST_BY_FLAG
#undef DECLARE_CAST_BY_FLAG_CAST
#undef DECLARE_CAST_BY_FLAG_FWD

template<typename To, typename From>
std::conditional_t<std::is_const_v<From>, const To*, To*> Cast(From* Src)
{
	using ResultType = std::conditional_t<std::is_const_v<From>, const To*, To*>;
	if constexpr (TCastFlags<To>::Value != CASTCLASS_None)
	{
		return Src && ((const UObjectBase*)Src)->GetClass()->HasAnyCastFlag(TCastFlags<To>::Value) ? (ResultType)Src : nullptr;
	}
	else
	{
		return Src && ((const UObjectBaseUtility*)Src)->IsA<To>() ? (ResultType)Src : nullptr;
	}
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

// Only an object of exactly class To; a cast flag says nothing about that.
template<typename To, typename From>
std::conditional_t<std::is_const_v<From>, const To*, To*> ExactCast(From* Src)
{
	using ResultType = std::conditional_t<std::is_const_v<From>, const To*, To*>;
	return Src && ((const UObjectBase*)Src)->GetClass() == To::StaticClass() ? (ResultType)Src : nullptr;
}

// Cast that must succeed: an object that is not a To is a fatal error, and so is a null Src unless
// CheckType allows it.
template<typename To, typename From>
std::conditional_t<std::is_const_v<From>, const To*, To*> CastChecked(From* Src, ECastCheckedType::Type CheckType = ECastCheckedType::NullChecked)
{
	using ResultType = std::conditional_t<std::is_const_v<From>, const To*, To*>;
#if DO_CHECK
	if (Src)
	{
		ResultType Result = Cast<To>(Src);
		if (!Result)
		{
			CastLogError(*((const UObjectBaseUtility*)Src)->GetFullName(), *To::StaticClass()->GetName());
		}
		return Result;
	}
	if (CheckType == ECastCheckedType::NullChecked)
	{
		CastLogError(TEXT("nullptr"), *To::StaticClass()->GetName());
	}
	return nullptr;
#else
	(void)CheckType;
	return (ResultType)Src;
#endif
}
