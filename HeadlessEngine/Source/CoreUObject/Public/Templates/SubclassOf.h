#pragma once

#include "CoreTypes.h"
#include "UObject/Class.h"

// A class reference restricted to T and the classes derived from it.
template<class T>
class TSubclassOf
{
public:
	TSubclassOf() = default;
	TSubclassOf(decltype(nullptr))
	{
	}
	TSubclassOf(UClass* From)
		: Class(From)
	{
	}
	template<class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TSubclassOf(const TSubclassOf<U>& From)
		: Class(*From)
	{
	}

	TSubclassOf& operator=(UClass* From)
	{
		Class = From;
		return *this;
	}

	// Null when the class held is not T or one of its subclasses.
	UClass* Get() const
	{
		return Class && Class->IsChildOf(T::StaticClass()) ? Class : nullptr;
	}
	UClass* operator*() const
	{
		return Get();
	}
	UClass* operator->() const
	{
		return Get();
	}
	operator UClass*() const
	{
		return Get();
	}
	T* GetDefaultObject() const
	{
		UClass* Result = Get();
		return Result ? (T*)Result->GetDefaultObject() : nullptr;
	}

private:
	UClass* Class = nullptr;
};
