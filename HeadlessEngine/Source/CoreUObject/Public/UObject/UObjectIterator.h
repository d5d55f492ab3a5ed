#pragma once

#include "CoreMinimal.h"
#include "UObject/UObjectArray.h"
#include "UObject/Object.h"
#include "UObject/Class.h"

// Walks the live objects of class T (and its subclasses) in slot order. Garbage objects and
// class default objects are included, as the engine's iterator includes them by default.
template<class T>
class TObjectIterator
{
public:
	TObjectIterator()
	{
		Advance();
	}

	explicit operator bool() const
	{
		return Current != nullptr;
	}
	TObjectIterator& operator++()
	{
		Advance();
		return *this;
	}
	T* operator*() const
	{
		return Current;
	}
	T* operator->() const
	{
		return Current;
	}

private:
	void Advance()
	{
		Current = nullptr;
		while (++Index < GUObjectArray.GetObjectArrayNum())
		{
			const FUObjectItem* Item = GUObjectArray.IndexToObject(Index);
			UObject* Object = (UObject*)Item->Object;
			if (Object && !Item->IsUnreachable() && Object->GetClass() && Object->IsA(T::StaticClass()))
			{
				Current = (T*)Object;
				return;
			}
		}
	}

	int32 Index = -1;
	T* Current = nullptr;
};
