#include "UObject/UObjectHash.h"

#include "Templates/Casts.h"
#include "UObject/Class.h"
#include "UObject/UObjectArray.h"

namespace
{
	template<typename FunctorType>
	void ForEachLiveObject(FunctorType&& Functor)
	{
		for (int32 Index = 0; Index < GUObjectArray.GetObjectArrayNum(); ++Index)
		{
			const FUObjectItem* Item = GUObjectArray.IndexToObject(Index);
			if (Item && Item->Object && !Item->IsUnreachable())
			{
				Functor((UObject*)Item->Object);
			}
		}
	}
}

void GetDerivedClasses(const UClass* ClassToLookFor, TArray<UClass*>& Results, bool bRecursive)
{
	ForEachLiveObject([&](UObject* Object)
		{
			if (UClass* Class = Cast<UClass>(Object))
			{
				if (Class == ClassToLookFor)
				{
					return;
				}
				const bool bDerived = bRecursive ? Class->IsChildOf(ClassToLookFor) : Class->GetSuperClass() == ClassToLookFor;
				if (bDerived)
				{
					Results.Add(Class);
				}
			}
		});
}

void GetObjectsWithOuter(const UObject* Outer, TArray<UObject*>& Results, bool bIncludeNestedObjects)
{
	ForEachLiveObject([&](UObject* Object)
		{
			for (UObject* Candidate = Object->GetOuter(); Candidate; Candidate = bIncludeNestedObjects ? Candidate->GetOuter() : nullptr)
			{
				if (Candidate == Outer)
				{
					Results.Add(Object);
					return;
				}
			}
		});
}

void GetObjectsOfClass(const UClass* ClassToLookFor, TArray<UObject*>& Results, bool bIncludeDerivedClasses)
{
	ForEachLiveObject([&](UObject* Object)
		{
			const bool bMatches = bIncludeDerivedClasses ? Object->IsA(ClassToLookFor) : Object->GetClass() == ClassToLookFor;
			if (bMatches)
			{
				Results.Add(Object);
			}
		});
}
