#pragma once

#include "HAL/Platform.h"

enum { INDEX_NONE = -1 };
enum { UNICODE_BOM = 0xfeff };

enum EForceInit
{
	ForceInit,
	ForceInitToZero
};

enum ENoInit
{
	NoInit
};

enum EInPlace
{
	InPlace
};

#define UE_DEPRECATED(Version, Message) [[deprecated(Message " Please update your code to the new API before upgrading to the next release, otherwise your project will no longer compile.")]]

#define UE_NONCOPYABLE(TypeName) \
	TypeName(TypeName&&) = delete; \
	TypeName(const TypeName&) = delete; \
	TypeName& operator=(const TypeName&) = delete; \
	TypeName& operator=(TypeName&&) = delete;

// Used in place of a body for functions that must be overridden; reaching it is fatal.
#define PURE_VIRTUAL(Func, ...) { checkf(false, TEXT("Pure virtual not implemented (%s)"), TEXT(#Func)); __VA_ARGS__ }
