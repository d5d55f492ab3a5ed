#include "Misc/AssertionMacros.h"
#include "UObject/Class.h"
#include "UObject/Object.h"
#include "UObject/SparseDelegate.h"
#include "UObject/UObjectArray.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UnrealType.h"
#include "UObjectAllocation.h"

#include <vector>

// What keeps an object alive through a collection:
// - the root set, a non-zero reference count (TStrongObjectPtr), or one of the keep flags;
// - a reference from a kept object: through its reflected object and class properties (inside
//   structs too), through its class's AddReferencedObjects, and from an object to its outer.
// Everything else is destroyed. An object marked as garbage is destroyed even when referenced,
// and the references to it from reflected properties and AddReferencedObjects are set to null,
// as the engine does. Its inner objects still keep it as their outer. Only an explicit strong holder (root set or reference count) keeps a
// garbage object, because destroying it would leave that holder dangling.
namespace
{
	bool GIsGarbageCollecting = false;

	class FReachabilityCollector final : public FReferenceCollector
	{
	public:
		explicit FReachabilityCollector(std::vector<UObject*>& InWorkList)
			: WorkList(InWorkList)
		{
		}

		virtual void HandleObjectReference(UObject*& InObject, const UObject* InReferencingObject, const FProperty* InReferencingProperty) override
		{
			(void)InReferencingObject;
			(void)InReferencingProperty;
			if (!InObject)
			{
				return;
			}
			FUObjectItem* Item = GUObjectArray.ObjectToObjectItem(InObject);
			if (!Item)
			{
				return;
			}
			if (Item->IsGarbage() && !IsExplicitlyHeld(*Item))
			{
				InObject = nullptr;
				return;
			}
			Mark(InObject, *Item);
		}

		void Mark(UObject* Object, FUObjectItem& Item)
		{
			if (Item.IsUnreachable())
			{
				Item.ClearFlags(EInternalObjectFlags::Unreachable);
				WorkList.push_back(Object);
			}
		}

		static bool IsExplicitlyHeld(const FUObjectItem& Item)
		{
			return Item.IsRootSet() || Item.GetRefCount() > 0;
		}

	private:
		std::vector<UObject*>& WorkList;
	};

	void VisitStructReferences(const UStruct* Struct, uint8* Data, FReachabilityCollector& Collector, const UObject* Referencer)
	{
		for (FProperty* Property = Struct->PropertyLink; Property; Property = Property->PropertyLinkNext)
		{
			if (CastField<FObjectPropertyBase>(Property))
			{
				for (int32 Index = 0; Index < Property->ArrayDim; ++Index)
				{
					UObject*& Reference = *Property->ContainerPtrToValuePtr<UObject*>(Data, Index);
					Collector.HandleObjectReference(Reference, Referencer, Property);
				}
			}
			else if (FStructProperty* StructProperty = CastField<FStructProperty>(Property))
			{
				for (int32 Index = 0; Index < Property->ArrayDim; ++Index)
				{
					VisitStructReferences(StructProperty->Struct, Property->ContainerPtrToValuePtr<uint8>(Data, Index), Collector, Referencer);
				}
			}
		}
	}

	void VisitObjectReferences(UObject* Object, FReachabilityCollector& Collector)
	{
		// An object keeps its outer even when the outer is garbage: the inner still names it.
		if (UObject* Outer = Object->GetOuter())
		{
			if (FUObjectItem* OuterItem = GUObjectArray.ObjectToObjectItem(Outer))
			{
				Collector.Mark(Outer, *OuterItem);
			}
		}
		UClass* Class = Object->GetClass();
		if (!Class)
		{
			return;
		}
		VisitStructReferences(Class, (uint8*)Object, Collector, Object);
		if (Class->CppClassStaticFunctions.AddReferencedObjects)
		{
			Class->CppClassStaticFunctions.AddReferencedObjects(Object, Collector);
		}
	}

	void DestroyObject(UObject* Object)
	{
		const int32 Index = int32(Object->GetUniqueID());
		FSparseDelegateStorage::OnObjectDestroyed(Object);
		UE::CoreUObject::Private::RemoveFromNameHash(Object);
		Object->~UObject();
		GUObjectArray.FreeUObjectIndex(Index);
		UE::CoreUObject::Private::FreeObjectMemory(Object);
	}

	// Every object begins destruction before any is freed, so that BeginDestroy may still look at
	// the others.
	void DestroyObjects(const std::vector<UObject*>& Objects)
	{
		for (UObject* Object : Objects)
		{
			Object->ConditionalBeginDestroy();
		}
		for (UObject* Object : Objects)
		{
			Object->ConditionalFinishDestroy();
		}
		for (UObject* Object : Objects)
		{
			DestroyObject(Object);
		}
	}
}

void CollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge)
{
	(void)bPerformFullPurge;
	checkf(!GIsGarbageCollecting, TEXT("CollectGarbage called during a garbage collection"));
	GIsGarbageCollecting = true;

	std::vector<UObject*> WorkList;
	FReachabilityCollector Collector(WorkList);

	const int32 NumItems = GUObjectArray.GetObjectArrayNum();
	for (int32 Index = 0; Index < NumItems; ++Index)
	{
		FUObjectItem* Item = GUObjectArray.IndexToObject(Index);
		if (Item->Object)
		{
			Item->SetFlags(EInternalObjectFlags::Unreachable);
		}
	}
	for (int32 Index = 0; Index < NumItems; ++Index)
	{
		FUObjectItem* Item = GUObjectArray.IndexToObject(Index);
		if (!Item->Object)
		{
			continue;
		}
		UObject* Object = (UObject*)Item->Object;
		const bool bKeptByFlags = KeepFlags != RF_NoFlags && Object->HasAnyFlags(KeepFlags) && !Item->IsGarbage();
		if (FReachabilityCollector::IsExplicitlyHeld(*Item) || bKeptByFlags)
		{
			Collector.Mark(Object, *Item);
		}
	}
	while (!WorkList.empty())
	{
		UObject* Object = WorkList.back();
		WorkList.pop_back();
		VisitObjectReferences(Object, Collector);
	}

	std::vector<UObject*> Unreachable;
	for (int32 Index = 0; Index < NumItems; ++Index)
	{
		FUObjectItem* Item = GUObjectArray.IndexToObject(Index);
		if (Item->Object && Item->IsUnreachable())
		{
			Unreachable.push_back((UObject*)Item->Object);
		}
	}
	DestroyObjects(Unreachable);
	GIsGarbageCollecting = false;
}

// Newest first, so that instances go before the classes, structs and packages they were made
// from; at shutdown nothing is reachable any more, so the collector's order does not apply.
void UE::CoreUObject::Private::DestroyAllObjects()
{
	checkf(!GIsGarbageCollecting, TEXT("DestroyAllObjects called during a garbage collection"));
	GIsGarbageCollecting = true;
	std::vector<UObject*> Remaining;
	for (int32 Index = GUObjectArray.GetObjectArrayNum() - 1; Index >= 0; --Index)
	{
		FUObjectItem* Item = GUObjectArray.IndexToObject(Index);
		if (Item->Object)
		{
			Item->SetFlags(EInternalObjectFlags::Unreachable);
			Remaining.push_back((UObject*)Item->Object);
		}
	}
	DestroyObjects(Remaining);
	GIsGarbageCollecting = false;
}

bool TryCollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge)
{
	if (GIsGarbageCollecting)
	{
		return false;
	}
	CollectGarbage(KeepFlags, bPerformFullPurge);
	return true;
}

bool IsGarbageCollecting()
{
	return GIsGarbageCollecting;
}
