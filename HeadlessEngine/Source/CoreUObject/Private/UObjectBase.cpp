#include "UObject/UObjectBase.h"

#include "Misc/AssertionMacros.h"
#include "UObject/Class.h"
#include "UObject/Object.h"
#include "UObject/Package.h"
#include "UObject/UObjectBaseUtility.h"
#include "UObjectAllocation.h"

#include <vector>

namespace
{
	// Allocations whose constructors are running on this thread, innermost last.
	thread_local std::vector<FUObjectAllocation> GPendingAllocations;
}

void FUObjectAllocation::Push(const FUObjectAllocation& Allocation)
{
	GPendingAllocations.push_back(Allocation);
}

FUObjectAllocation FUObjectAllocation::Take(const UObjectBase* Object)
{
	for (auto It = GPendingAllocations.rbegin(); It != GPendingAllocations.rend(); ++It)
	{
		if (It->Object == Object)
		{
			FUObjectAllocation Result = *It;
			GPendingAllocations.erase(std::next(It).base());
			return Result;
		}
	}
	checkf(false, TEXT("Objects must be created with NewObject, not constructed directly"));
	return FUObjectAllocation();
}

void FUObjectAllocation::Apply(UObjectBase* Object, const FUObjectAllocation& Allocation)
{
	Object->ObjectFlags = Allocation.Flags;
	Object->InternalIndex = Allocation.Index;
	Object->ClassPrivate = Allocation.Class;
	Object->NamePrivate = Allocation.Name;
	Object->OuterPrivate = Allocation.Outer;
}

UObjectBase::UObjectBase()
{
	InitializeFromPendingAllocation();
}

UObjectBase::UObjectBase(EObjectFlags InFlags)
{
	InitializeFromPendingAllocation();
	ObjectFlags = EObjectFlags(ObjectFlags | InFlags);
}

UObjectBase::~UObjectBase() = default;

void UObjectBase::InitializeFromPendingAllocation()
{
	FUObjectAllocation::Apply(this, FUObjectAllocation::Take(this));
}

bool UObjectBase::IsValidLowLevel() const
{
	return GUObjectArray.ObjectToObjectItem(this) != nullptr && ClassPrivate != nullptr;
}

void UObjectBase::LowLevelRename(FName NewName, UObject* NewOuter)
{
	UE::CoreUObject::Private::RemoveFromNameHash((UObject*)this);
	NamePrivate = NewName;
	if (NewOuter)
	{
		OuterPrivate = NewOuter;
	}
	UE::CoreUObject::Private::AddToNameHash((UObject*)this);
}

bool UObjectBaseUtility::HasAnyInternalFlags(EInternalObjectFlags FlagsToCheck) const
{
	const FUObjectItem* Item = GUObjectArray.ObjectToObjectItem(this);
	return Item && Item->HasAnyFlags(FlagsToCheck);
}

void UObjectBaseUtility::MarkAsGarbage()
{
	// A rooted object is kept on purpose; UE refuses to mark one as garbage rather than let the
	// two states disagree about whether it should live.
	check(!IsRooted());
	FUObjectItem* Item = GUObjectArray.ObjectToObjectItem(this);
	check(Item);
	Item->SetFlags(EInternalObjectFlags::Garbage);
	SetFlags(RF_MirroredGarbage);
}

void UObjectBaseUtility::ClearGarbage()
{
	FUObjectItem* Item = GUObjectArray.ObjectToObjectItem(this);
	check(Item);
	Item->ClearFlags(EInternalObjectFlags::Garbage);
	ClearFlags(RF_MirroredGarbage);
}

bool UObjectBaseUtility::IsUnreachable() const
{
	return HasAnyInternalFlags(EInternalObjectFlags::Unreachable);
}

void UObjectBaseUtility::AddToRoot()
{
	FUObjectItem* Item = GUObjectArray.ObjectToObjectItem(this);
	check(Item);
	Item->SetFlags(EInternalObjectFlags::RootSet);
}

void UObjectBaseUtility::RemoveFromRoot()
{
	FUObjectItem* Item = GUObjectArray.ObjectToObjectItem(this);
	check(Item);
	Item->ClearFlags(EInternalObjectFlags::RootSet);
}

bool UObjectBaseUtility::IsRooted() const
{
	return HasAnyInternalFlags(EInternalObjectFlags::RootSet);
}

void UObjectBaseUtility::GetPathName(const UObject* StopOuter, FString& ResultString) const
{
	if (this == (const UObjectBaseUtility*)StopOuter)
	{
		ResultString += TEXT("None");
		return;
	}
	UObject* ObjOuter = GetOuter();
	if (ObjOuter && ObjOuter != StopOuter)
	{
		ObjOuter->GetPathName(StopOuter, ResultString);
		// A subobject of a package's top-level object is written Package.Object:Subobject.
		UObject* OuterOuter = ObjOuter->GetOuter();
		const bool bOuterIsTopLevel = !ObjOuter->IsA(UPackage::StaticClass()) && OuterOuter && OuterOuter->IsA(UPackage::StaticClass());
		ResultString += bOuterIsTopLevel ? TEXT(":") : TEXT(".");
	}
	ResultString += GetName();
}

FString UObjectBaseUtility::GetPathName(const UObject* StopOuter) const
{
	FString Result;
	GetPathName(StopOuter, Result);
	return Result;
}

FString UObjectBaseUtility::GetFullName(const UObject* StopOuter) const
{
	FString Result = GetClass() ? GetClass()->GetName() : FString(TEXT("None"));
	Result += TEXT(" ");
	GetPathName(StopOuter, Result);
	return Result;
}

UPackage* UObjectBaseUtility::GetOutermost() const
{
	const UObjectBaseUtility* Top = this;
	while (Top->GetOuter())
	{
		Top = Top->GetOuter();
	}
	return (UPackage*)Top;
}

UObject* UObjectBaseUtility::GetTypedOuter(UClass* Target) const
{
	for (UObject* Outer = GetOuter(); Outer; Outer = Outer->GetOuter())
	{
		if (Outer->IsA(Target))
		{
			return Outer;
		}
	}
	return nullptr;
}

bool UObjectBaseUtility::IsIn(const UObject* SomeOuter) const
{
	for (UObject* Outer = GetOuter(); Outer; Outer = Outer->GetOuter())
	{
		if (Outer == SomeOuter)
		{
			return true;
		}
	}
	return false;
}

bool UObjectBaseUtility::IsTemplate(EObjectFlags TemplateTypes) const
{
	for (const UObjectBaseUtility* Test = this; Test; Test = Test->GetOuter())
	{
		if (Test->HasAnyFlags(TemplateTypes))
		{
			return true;
		}
	}
	return false;
}
