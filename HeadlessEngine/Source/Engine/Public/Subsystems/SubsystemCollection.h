#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "Templates/Casts.h"
#include "Templates/SubclassOf.h"

#include <type_traits>

class FReferenceCollector;
class UClass;
class UObject;
class USubsystem;

/**
 * The subsystems of one outer: on Initialize, one instance of every concrete class derived
 * from the collection's base type whose default object agrees to exist for that outer.
 * The owner of a collection reports it to the garbage collector through AddReferencedObjects.
 */
class ENGINE_API FSubsystemCollectionBase
{
public:
	/** Creates and initializes the subsystems for NewOuter; does nothing if already initialized. */
	void Initialize(UObject* NewOuter);
	/** Deinitializes the subsystems in the order they were created and forgets them. */
	void Deinitialize();

	bool IsInitialized() const
	{
		return Outer != nullptr;
	}
	UObject* GetOuter() const
	{
		return Outer;
	}

	/**
	 * Makes sure the subsystem of SubsystemClass exists and is initialized before the caller
	 * goes on. Only meaningful from a subsystem's Initialize(); returns null otherwise, and for
	 * classes that are not of this collection or that decline to exist.
	 */
	USubsystem* InitializeDependency(TSubclassOf<USubsystem> SubsystemClass);
	template<typename TSubsystemClass>
	TSubsystemClass* InitializeDependency()
	{
		return Cast<TSubsystemClass>(InitializeDependency(TSubsystemClass::StaticClass()));
	}

	/** Calls Operation on every subsystem, in the order they were created. */
	template<typename FuncType>
	void ForEachSubsystem(FuncType&& Operation) const
	{
		const TArray<USubsystem*> Snapshot = Subsystems;
		for (USubsystem* Subsystem : Snapshot)
		{
			Operation(Subsystem);
		}
	}

	void AddReferencedObjects(FReferenceCollector& Collector);

protected:
	explicit FSubsystemCollectionBase(UClass* InBaseType);

	FSubsystemCollectionBase(const FSubsystemCollectionBase&) = delete;
	FSubsystemCollectionBase& operator=(const FSubsystemCollectionBase&) = delete;

	/** The subsystem of exactly SubsystemClass, else the first one derived from it, else null. */
	USubsystem* GetSubsystemInternal(UClass* SubsystemClass) const;

private:
	USubsystem* AddAndInitializeSubsystem(UClass* SubsystemClass);

	TArray<USubsystem*> Subsystems;
	UClass* BaseType = nullptr;
	UObject* Outer = nullptr;
	bool bPopulating = false;
};

template<typename TBaseType>
class FSubsystemCollection : public FSubsystemCollectionBase
{
public:
	FSubsystemCollection()
		: FSubsystemCollectionBase(TBaseType::StaticClass())
	{
	}

	template<typename TSubsystemClass>
	TSubsystemClass* GetSubsystem(const TSubclassOf<TSubsystemClass>& SubsystemClass) const
	{
		static_assert(std::is_base_of_v<TBaseType, TSubsystemClass>, "TSubsystemClass must be derived from TBaseType");
		return static_cast<TSubsystemClass*>(GetSubsystemInternal(SubsystemClass));
	}
};

/** The collection an object (a world, for world subsystems) keeps of its own subsystems. */
template<typename TBaseType>
class FObjectSubsystemCollection : public FSubsystemCollection<TBaseType>
{
};
