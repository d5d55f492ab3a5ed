#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/Set.h"
#include "Misc/AssertionMacros.h"
#include "UObject/NameTypes.h"
#include "UObject/ObjectMacros.h"

class UObject;
class UClass;
class UPackage;
class FProperty;
class FVTableHelper;
class FObjectInstancingGraph;
template<typename T>
class TObjectPtr;

// Objects kept by every garbage collection regardless of references; none in a game.
#define GARBAGE_COLLECTION_KEEPFLAGS RF_NoFlags

// True from the engine's start-up of the object system until its exit. Code that can run outside
// that span, such as a module's shutdown, asks before it touches an object.
COREUOBJECT_API bool UObjectInitialized();

COREUOBJECT_API UPackage* GetTransientPackage();
COREUOBJECT_API UPackage* CreatePackage(const TCHAR* PackageName);

// Allocates zeroed memory for an object of InClass and takes its slot in the object table. The
// object's constructor runs next and picks up class, outer, name and flags from this allocation.
COREUOBJECT_API UObject* StaticAllocateObject(const UClass* InClass, UObject* InOuter, FName InName, EObjectFlags InFlags);
COREUOBJECT_API FName MakeUniqueObjectName(UObject* Outer, const UClass* Class, FName BaseName = NAME_None);

struct FStaticConstructObjectParameters
{
	const UClass* Class = nullptr;
	UObject* Outer = nullptr;
	FName Name;
	EObjectFlags SetFlags = RF_NoFlags;

	explicit FStaticConstructObjectParameters(const UClass* InClass)
		: Class(InClass)
	{
	}
};

COREUOBJECT_API UObject* StaticConstructObject_Internal(const FStaticConstructObjectParameters& Params);

// Describes the object being constructed. Constructors that take one may be given the current
// one with FObjectInitializer::Get().
class COREUOBJECT_API FObjectInitializer
{
public:
	FObjectInitializer();
	FObjectInitializer(UObject* InObj, const FStaticConstructObjectParameters& Params);
	~FObjectInitializer();

	FObjectInitializer(const FObjectInitializer&) = delete;
	FObjectInitializer& operator=(const FObjectInitializer&) = delete;

	UObject* GetObj() const
	{
		return Obj;
	}
	UClass* GetClass() const;

	// The initializer of the innermost object under construction on this thread.
	static FObjectInitializer& Get();

	template<class TReturnType>
	TReturnType* CreateDefaultSubobject(UObject* Outer, FName SubobjectName, bool bTransient = false) const
	{
		return static_cast<TReturnType*>(CreateDefaultSubobject(Outer, SubobjectName, TReturnType::StaticClass(), bTransient));
	}
	UObject* CreateDefaultSubobject(UObject* Outer, FName SubobjectName, UClass* ReturnType, bool bTransient) const;

private:
	UObject* Obj = nullptr;
	const UClass* Class = nullptr;
	bool bIsTopOfStack = false;
};

template<class T>
T* NewObject(UObject* Outer, const UClass* Class, FName Name = NAME_None, EObjectFlags Flags = RF_NoFlags, UObject* Template = nullptr, bool bCopyTransientsFromClassDefaults = false, FObjectInstancingGraph* InInstanceGraph = nullptr, UPackage* ExternalPackage = nullptr)
{
	(void)Template;
	(void)bCopyTransientsFromClassDefaults;
	(void)InInstanceGraph;
	(void)ExternalPackage;
	checkf(Class, TEXT("NewObject called with a nullptr class object"));
	FStaticConstructObjectParameters Params(Class);
	Params.Outer = Outer;
	Params.Name = Name;
	Params.SetFlags = Flags;
	return static_cast<T*>(StaticConstructObject_Internal(Params));
}

template<class T>
T* NewObject(UObject* Outer = (UObject*)GetTransientPackage())
{
	return NewObject<T>(Outer, T::StaticClass());
}

template<class T>
T* NewObject(UObject* Outer, FName Name, EObjectFlags Flags = RF_NoFlags, UObject* Template = nullptr, bool bCopyTransientsFromClassDefaults = false, FObjectInstancingGraph* InInstanceGraph = nullptr)
{
	return NewObject<T>(Outer, T::StaticClass(), Name, Flags, Template, bCopyTransientsFromClassDefaults, InInstanceGraph);
}

// Destroys every object that nothing keeps: see GarbageCollection.cpp for what keeps an object.
COREUOBJECT_API void CollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge = true);
COREUOBJECT_API bool TryCollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge = true);
COREUOBJECT_API bool IsGarbageCollecting();

COREUOBJECT_API UObject* StaticFindObject(UClass* Class, UObject* InOuter, const TCHAR* Name, bool bExactClass = false);
COREUOBJECT_API UObject* StaticFindObjectFast(UClass* Class, UObject* InOuter, FName InName, bool bExactClass = false);

template<class T>
T* FindObject(UObject* Outer, const TCHAR* Name, bool bExactClass = false)
{
	return (T*)StaticFindObject(T::StaticClass(), Outer, Name, bExactClass);
}

// Registers what the compiled-in records of newly loaded libraries describe; the engine loop
// calls it at start, and a library loaded later calls it again.
COREUOBJECT_API void ProcessNewlyLoadedUObjects();

// Collects the references an object holds outside its reflected properties.
class COREUOBJECT_API FReferenceCollector
{
public:
	virtual ~FReferenceCollector() = default;

	virtual void HandleObjectReference(UObject*& InObject, const UObject* InReferencingObject, const FProperty* InReferencingProperty) = 0;

	template<class UObjectType>
	void AddReferencedObject(UObjectType*& Object, const UObject* ReferencingObject = nullptr)
	{
		HandleObjectReference(*reinterpret_cast<UObject**>(&Object), ReferencingObject, nullptr);
	}
	template<class UObjectType>
	void AddReferencedObject(TObjectPtr<UObjectType>& Object, const UObject* ReferencingObject = nullptr)
	{
		HandleObjectReference(*reinterpret_cast<UObject**>(&Object), ReferencingObject, nullptr);
	}
	template<class UObjectType, typename AllocatorType>
	void AddReferencedObjects(TArray<UObjectType*, AllocatorType>& ObjectArray, const UObject* ReferencingObject = nullptr)
	{
		for (UObjectType*& Object : ObjectArray)
		{
			AddReferencedObject(Object, ReferencingObject);
		}
	}
	template<class UObjectType, typename AllocatorType>
	void AddReferencedObjects(TArray<TObjectPtr<UObjectType>, AllocatorType>& ObjectArray, const UObject* ReferencingObject = nullptr)
	{
		for (TObjectPtr<UObjectType>& Object : ObjectArray)
		{
			AddReferencedObject(Object, ReferencingObject);
		}
	}
	template<class UObjectType>
	void AddReferencedObjects(TSet<UObjectType*>& ObjectSet, const UObject* ReferencingObject = nullptr)
	{
		for (UObjectType* Object : ObjectSet)
		{
			UObjectType* Copy = Object;
			AddReferencedObject(Copy, ReferencingObject);
		}
	}
};

// Class-level callbacks the object system calls without knowing the C++ type.
struct FCppClassStaticFunctions
{
	void (*AddReferencedObjects)(UObject* InThis, FReferenceCollector& Collector) = nullptr;
};

#define UOBJECT_CPPCLASS_STATICFUNCTIONS_FORCLASS(CLASS) \
	FCppClassStaticFunctions{&CLASS::AddReferencedObjects}

template<class T>
void InternalConstructor(const FObjectInitializer& X)
{
	T::__DefaultConstructor(X);
}

template<class T>
UObject* InternalVTableHelperCtorCaller(FVTableHelper& Helper)
{
	return new (EC_InternalUseOnlyConstructor, (UObject*)GetTransientPackage(), NAME_None, EObjectFlags(RF_NeedLoad | RF_ClassDefaultObject | RF_TagGarbageTemp)) T(Helper);
}
