#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

class UObject;
class UObjectBase;
class UClass;

// What StaticAllocateObject decided for an object whose constructor has not yet run. The
// constructor of UObjectBase takes it over, so every constructor in the chain sees a complete
// identity.
struct FUObjectAllocation
{
	UObjectBase* Object = nullptr;
	UClass* Class = nullptr;
	UObject* Outer = nullptr;
	FName Name;
	EObjectFlags Flags = RF_NoFlags;
	int32 Index = 0;

	static void Push(const FUObjectAllocation& Allocation);
	// Removes and returns the allocation made for Object; fatal if there is none.
	static FUObjectAllocation Take(const UObjectBase* Object);
	static void Apply(UObjectBase* Object, const FUObjectAllocation& Allocation);
};

namespace UE::CoreUObject::Private
{
	// Memory of objects: zeroed, aligned for any object class.
	constexpr SIZE_T ObjectAlignment = 16;
	void* AllocateObjectMemory(SIZE_T Size);
	void FreeObjectMemory(void* Memory);

	// The (outer, name) index of live objects.
	void AddToNameHash(UObject* Object);
	void RemoveFromNameHash(UObject* Object);
	UObject* FindInNameHash(const UObject* Outer, FName Name);

	// Registers a reflection object that lives as long as the process: rooted, never collected.
	void MarkAsPermanent(UObject* Object);

	// Engine shutdown: destroys every object that is left, rooted or not.
	void DestroyAllObjects();
}
