#pragma once

#include "CoreTypes.h"
#include "UObject/UObjectBase.h"

#include <type_traits>

// Keeps its object alive through the object's reference count until it is reset or destroyed.
template<typename ObjectType>
class TStrongObjectPtr
{
public:
	TStrongObjectPtr() = default;
	TStrongObjectPtr(decltype(nullptr))
	{
	}
	explicit TStrongObjectPtr(ObjectType* InObject)
	{
		Reset(InObject);
	}
	TStrongObjectPtr(const TStrongObjectPtr& Other)
	{
		Reset(Other.Get());
	}
	TStrongObjectPtr(TStrongObjectPtr&& Other)
		: Object(Other.Object)
	{
		Other.Object = nullptr;
	}
	~TStrongObjectPtr()
	{
		Reset();
	}
	TStrongObjectPtr& operator=(const TStrongObjectPtr& Other)
	{
		Reset(Other.Get());
		return *this;
	}
	TStrongObjectPtr& operator=(TStrongObjectPtr&& Other)
	{
		if (this != &Other)
		{
			Reset();
			Object = Other.Object;
			Other.Object = nullptr;
		}
		return *this;
	}

	ObjectType* Get() const
	{
		return Object;
	}
	ObjectType* operator->() const
	{
		return Object;
	}
	ObjectType& operator*() const
	{
		return *Object;
	}
	bool IsValid() const
	{
		return Object != nullptr;
	}
	explicit operator bool() const
	{
		return Object != nullptr;
	}

	void Reset(ObjectType* NewObject = nullptr)
	{
		if (NewObject)
		{
			((const UObjectBase*)NewObject)->AddRef();
		}
		if (Object)
		{
			((const UObjectBase*)Object)->ReleaseRef();
		}
		Object = NewObject;
	}

private:
	ObjectType* Object = nullptr;
};
