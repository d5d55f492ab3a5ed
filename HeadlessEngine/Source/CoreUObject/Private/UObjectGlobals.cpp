#include "UObject/UObjectGlobals.h"

#include "HeadlessEngineLoop.h"
#include "Misc/AssertionMacros.h"
#include "UObject/Class.h"
#include "UObject/Object.h"
#include "UObject/Package.h"
#include "UObjectAllocation.h"

#include <new>
#include <unordered_map>
#include <vector>

namespace UE::CoreUObject::Private
{
	struct FNameHashKey
	{
		const UObject* Outer;
		FName Name;
		bool operator==(const FNameHashKey& Other) const
		{
			return Outer == Other.Outer && Name == Other.Name;
		}
	};
	struct FNameHashKeyHasher
	{
		size_t operator()(const FNameHashKey& Key) const
		{
			return HashCombine(PointerHash(Key.Outer), GetTypeHash(Key.Name));
		}
	};

	static std::unordered_map<FNameHashKey, UObject*, FNameHashKeyHasher>& GetNameHash()
	{
		static std::unordered_map<FNameHashKey, UObject*, FNameHashKeyHasher> NameHash;
		return NameHash;
	}

	void* AllocateObjectMemory(SIZE_T Size)
	{
		void* Memory = ::operator new(Size, std::align_val_t(ObjectAlignment));
		FMemory::Memzero(Memory, Size);
		return Memory;
	}

	void FreeObjectMemory(void* Memory)
	{
		::operator delete(Memory, std::align_val_t(ObjectAlignment));
	}

	void AddToNameHash(UObject* Object)
	{
		GetNameHash()[FNameHashKey{Object->GetOuter(), Object->GetFName()}] = Object;
	}

	void RemoveFromNameHash(UObject* Object)
	{
		auto& NameHash = GetNameHash();
		auto It = NameHash.find(FNameHashKey{Object->GetOuter(), Object->GetFName()});
		if (It != NameHash.end() && It->second == Object)
		{
			NameHash.erase(It);
		}
	}

	UObject* FindInNameHash(const UObject* Outer, FName Name)
	{
		auto& NameHash = GetNameHash();
		auto It = NameHash.find(FNameHashKey{Outer, Name});
		return It != NameHash.end() ? It->second : nullptr;
	}

	void MarkAsPermanent(UObject* Object)
	{
		Object->AddToRoot();
	}

	// Initializers of the objects under construction on this thread, innermost last.
	static thread_local std::vector<FObjectInitializer*> GInitializerStack;
}

using namespace UE::CoreUObject::Private;

FName MakeUniqueObjectName(UObject* Outer, const UClass* Class, FName BaseName)
{
	checkf(Class, TEXT("MakeUniqueObjectName needs a class"));
	const FString Base = BaseName.IsNone() ? Class->GetName() : BaseName.ToString();
	for (;;)
	{
		const FName Candidate(*FString::Printf(TEXT("%s_%d"), *Base, const_cast<UClass*>(Class)->ClassUnique++));
		if (!FindInNameHash(Outer, Candidate))
		{
			return Candidate;
		}
	}
}

UObject* StaticAllocateObject(const UClass* InClass, UObject* InOuter, FName InName, EObjectFlags InFlags)
{
	checkf(InClass, TEXT("StaticAllocateObject needs a class"));
	checkf(InOuter || InClass->IsChildOf(UPackage::StaticClass()), TEXT("Object of class %s created without an outer; only packages are outermost"), *InClass->GetName());

	FName Name = InName;
	if (Name.IsNone())
	{
		Name = MakeUniqueObjectName(InOuter, InClass);
	}
	else if (UObject* Existing = FindInNameHash(InOuter, Name))
	{
		// An object that is only waiting for the collector gives its name up to the new one.
		checkf(!IsValid(Existing), TEXT("Cannot create object %s: an object of that name already exists in %s"), *Name.ToString(), InOuter ? *InOuter->GetPathName() : TEXT("None"));
		Existing->LowLevelRename(MakeUniqueObjectName(InOuter, Existing->GetClass(), FName(*(Name.ToString() + TEXT("_Garbage")))));
	}

	const SIZE_T Size = SIZE_T(InClass->GetPropertiesSize());
	checkf(Size >= sizeof(UObject) && SIZE_T(InClass->GetMinAlignment()) <= ObjectAlignment, TEXT("Class %s has an invalid size or alignment"), *InClass->GetName());
	void* Memory = AllocateObjectMemory(Size);

	FUObjectAllocation Allocation;
	Allocation.Object = (UObjectBase*)Memory;
	Allocation.Class = const_cast<UClass*>(InClass);
	Allocation.Outer = InOuter;
	Allocation.Name = Name;
	Allocation.Flags = InFlags;
	Allocation.Index = GUObjectArray.AllocateUObjectIndex(Allocation.Object);
	FUObjectAllocation::Push(Allocation);

	// Give the object its identity now: code that runs in its constructors may look it up.
	UObject* Object = (UObject*)Memory;
	FUObjectAllocation::Apply(Object, Allocation);
	AddToNameHash(Object);
	return Object;
}

UObject* StaticConstructObject_Internal(const FStaticConstructObjectParameters& Params)
{
	const UClass* Class = Params.Class;
	checkf(Class, TEXT("NewObject called with a nullptr class object"));
	checkf(!Class->HasAnyClassFlags(CLASS_Abstract) || (Params.SetFlags & RF_ClassDefaultObject), TEXT("Cannot create an object of the abstract class %s"), *Class->GetName());
	checkf(Class->ClassConstructor, TEXT("Class %s has no constructor"), *Class->GetName());

	UObject* Object = StaticAllocateObject(Class, Params.Outer, Params.Name, Params.SetFlags);
	{
		FObjectInitializer Initializer(Object, Params);
		(*Class->ClassConstructor)(Initializer);
	}
	return Object;
}

FObjectInitializer::FObjectInitializer()
{
	checkf(false, TEXT("FObjectInitializer is made by NewObject; inside a constructor use FObjectInitializer::Get()"));
}

FObjectInitializer::FObjectInitializer(UObject* InObj, const FStaticConstructObjectParameters& Params)
	: Obj(InObj)
	, Class(Params.Class)
	, bIsTopOfStack(true)
{
	GInitializerStack.push_back(this);
}

FObjectInitializer::~FObjectInitializer()
{
	if (!bIsTopOfStack)
	{
		return;
	}
	check(!GInitializerStack.empty() && GInitializerStack.back() == this);
	GInitializerStack.pop_back();
	Obj->PostInitProperties();
}

UClass* FObjectInitializer::GetClass() const
{
	return const_cast<UClass*>(Class);
}

FObjectInitializer& FObjectInitializer::Get()
{
	checkf(!GInitializerStack.empty(), TEXT("FObjectInitializer::Get() can only be used inside of UObject-derived class constructor."));
	return *GInitializerStack.back();
}

UObject* FObjectInitializer::CreateDefaultSubobject(UObject* Outer, FName SubobjectName, UClass* ReturnType, bool bTransient) const
{
	EObjectFlags Flags = EObjectFlags(RF_DefaultSubObject | (Obj->GetFlags() & (RF_Public | RF_ClassDefaultObject | RF_ArchetypeObject | RF_Transient)));
	if (bTransient)
	{
		Flags = EObjectFlags(Flags | RF_Transient);
	}
	return NewObject<UObject>(Outer, ReturnType, SubobjectName, Flags);
}

UPackage* CreatePackage(const TCHAR* PackageName)
{
	// Building the package class creates its own package, which may be this one.
	UClass* PackageClass = UPackage::StaticClass();
	const FName Name(PackageName);
	if (UObject* Existing = FindInNameHash(nullptr, Name))
	{
		checkf(Existing->GetClass() == PackageClass, TEXT("%s is not a package"), PackageName);
		return (UPackage*)Existing;
	}
	UPackage* Package = NewObject<UPackage>(nullptr, PackageClass, Name, RF_Public);
	MarkAsPermanent(Package);
	return Package;
}

// The engine loop starts the object system and ends it, with every object, at its exit.
bool UObjectInitialized()
{
	return FHeadlessEngineLoop::IsInitialized();
}

UPackage* GetTransientPackage()
{
	static UPackage* TransientPackage = nullptr;
	if (!TransientPackage)
	{
		TransientPackage = CreatePackage(TEXT("/Engine/Transient"));
		TransientPackage->SetFlags(RF_Transient);
	}
	return TransientPackage;
}

UObject* StaticFindObjectFast(UClass* Class, UObject* InOuter, FName InName, bool bExactClass)
{
	UObject* Found = FindInNameHash(InOuter, InName);
	if (!Found || Found->IsUnreachable())
	{
		return nullptr;
	}
	if (Class && (bExactClass ? Found->GetClass() != Class : !Found->IsA(Class)))
	{
		return nullptr;
	}
	return Found;
}

UObject* StaticFindObject(UClass* Class, UObject* InOuter, const TCHAR* Name, bool bExactClass)
{
	return StaticFindObjectFast(Class, InOuter, FName(Name), bExactClass);
}
