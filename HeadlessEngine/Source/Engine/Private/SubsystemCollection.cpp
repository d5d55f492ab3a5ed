#include "Subsystems/SubsystemCollection.h"

#include "Misc/AssertionMacros.h"
#include "Subsystems/Subsystem.h"
#include "UObject/Class.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UObjectHash.h"

FSubsystemCollectionBase::FSubsystemCollectionBase(UClass* InBaseType)
	: BaseType(InBaseType)
{
}

void FSubsystemCollectionBase::Initialize(UObject* NewOuter)
{
	if (Outer != nullptr)
	{
		return;
	}
	check(NewOuter);
	Outer = NewOuter;
	TArray<UClass*> SubsystemClasses;
	GetDerivedClasses(BaseType, SubsystemClasses, true);
	for (UClass* SubsystemClass : SubsystemClasses)
	{
		AddAndInitializeSubsystem(SubsystemClass);
	}
}

void FSubsystemCollectionBase::Deinitialize()
{
	if (Outer == nullptr)
	{
		return;
	}
	// The list stays whole while subsystems deinitialize, so each can still find the others.
	for (USubsystem* Subsystem : Subsystems)
	{
		if (Subsystem)
		{
			Subsystem->Deinitialize();
			Subsystem->InternalOwningSubsystem = nullptr;
		}
	}
	Subsystems.Empty();
	Outer = nullptr;
}

USubsystem* FSubsystemCollectionBase::InitializeDependency(TSubclassOf<USubsystem> SubsystemClass)
{
	UClass* Class = SubsystemClass.Get();
	if (!Class || !bPopulating || !Class->IsChildOf(BaseType))
	{
		return nullptr;
	}
	return AddAndInitializeSubsystem(Class);
}

void FSubsystemCollectionBase::AddReferencedObjects(FReferenceCollector& Collector)
{
	Collector.AddReferencedObjects(Subsystems);
}

USubsystem* FSubsystemCollectionBase::GetSubsystemInternal(UClass* SubsystemClass) const
{
	if (!SubsystemClass)
	{
		return nullptr;
	}
	for (USubsystem* Subsystem : Subsystems)
	{
		if (Subsystem && Subsystem->GetClass() == SubsystemClass)
		{
			return Subsystem;
		}
	}
	for (USubsystem* Subsystem : Subsystems)
	{
		if (Subsystem && Subsystem->IsA(SubsystemClass))
		{
			return Subsystem;
		}
	}
	return nullptr;
}

USubsystem* FSubsystemCollectionBase::AddAndInitializeSubsystem(UClass* SubsystemClass)
{
	for (USubsystem* Subsystem : Subsystems)
	{
		if (Subsystem && Subsystem->GetClass() == SubsystemClass)
		{
			return Subsystem;
		}
	}
	if (!SubsystemClass || SubsystemClass->HasAnyClassFlags(CLASS_Abstract))
	{
		return nullptr;
	}
	const USubsystem* DefaultObject = SubsystemClass->GetDefaultObject<USubsystem>();
	if (!DefaultObject || !DefaultObject->ShouldCreateSubsystem(Outer))
	{
		return nullptr;
	}
	const bool bWasPopulating = bPopulating;
	bPopulating = true;
	USubsystem* Subsystem = NewObject<USubsystem>(Outer, SubsystemClass);
	Subsystems.Add(Subsystem);
	Subsystem->InternalOwningSubsystem = this;
	Subsystem->Initialize(*this);
	bPopulating = bWasPopulating;
	return Subsystem;
}
