#include "Containers/Array.h"
#include "Misc/AssertionMacros.h"
#include "UObject/Class.h"
#include "UObject/UECodeGen.h"
#include "UObject/UObjectGlobals.h"

// Registration records arrive from static initialisers, in the order the libraries' static
// objects are constructed, before the engine exists. They wait here until
// ProcessNewlyLoadedUObjects, at start-up or after a library is loaded later.
namespace
{
	struct FPendingPackage
	{
		UPackage* (*OuterRegister)();
	};

	struct FPendingFile
	{
		const FClassRegisterCompiledInInfo* ClassInfo;
		size_t NumClassInfo;
		const FStructRegisterCompiledInInfo* StructInfo;
		size_t NumStructInfo;
		const FEnumRegisterCompiledInInfo* EnumInfo;
		size_t NumEnumInfo;
	};

	struct FCompiledInQueue
	{
		TArray<FPendingPackage> Packages;
		TArray<FPendingFile> Files;
	};

	// Constructed on first use: records of other libraries may be queued before this library's own
	// static objects are initialised.
	FCompiledInQueue& GetQueue()
	{
		static FCompiledInQueue Queue;
		return Queue;
	}
}

FRegisterCompiledInInfo::FRegisterCompiledInInfo(UPackage* (*OuterRegister)(), const TCHAR* PackageName, FPackageRegistrationInfo& Info, const FPackageReloadVersionInfo& VersionInfo)
	: PackageInfo{ OuterRegister, PackageName, &Info, VersionInfo }
{
	GetQueue().Packages.Add({ OuterRegister });
	AddCompiledInRecord(FCompiledInRecord::EKind::Package, PackageName, &PackageInfo);
}

FRegisterCompiledInInfo::FRegisterCompiledInInfo(const TCHAR* PackageName, const FClassRegisterCompiledInInfo* ClassInfo, size_t NumClassInfo, const FStructRegisterCompiledInInfo* StructInfo, size_t NumStructInfo, const FEnumRegisterCompiledInInfo* EnumInfo, size_t NumEnumInfo)
{
	(void)PackageName;
	FCompiledInQueue& Queue = GetQueue();
	Queue.Files.Add({ ClassInfo, NumClassInfo, StructInfo, NumStructInfo, EnumInfo, NumEnumInfo });
	for (size_t Index = 0; Index < NumStructInfo; ++Index)
	{
		AddCompiledInRecord(FCompiledInRecord::EKind::Struct, StructInfo[Index].Name, &StructInfo[Index]);
	}
	for (size_t Index = 0; Index < NumEnumInfo; ++Index)
	{
		AddCompiledInRecord(FCompiledInRecord::EKind::Enum, EnumInfo[Index].Name, &EnumInfo[Index]);
	}
	for (size_t Index = 0; Index < NumClassInfo; ++Index)
	{
		AddCompiledInRecord(FCompiledInRecord::EKind::Class, ClassInfo[Index].Name, &ClassInfo[Index]);
	}
}

// As the engine does: every class object first (so that any type can name any class), then the
// packages, structs and enums, then the classes' properties and functions.
void ProcessNewlyLoadedUObjects()
{
	check(IsInGameThread());
	FCompiledInQueue& Queue = GetQueue();
	const TArray<FPendingPackage> Packages = MoveTemp(Queue.Packages);
	const TArray<FPendingFile> Files = MoveTemp(Queue.Files);
	Queue.Packages.Reset();
	Queue.Files.Reset();

	for (const FPendingFile& File : Files)
	{
		for (size_t Index = 0; Index < File.NumClassInfo; ++Index)
		{
			File.ClassInfo[Index].InnerRegister();
		}
	}
	for (const FPendingPackage& Package : Packages)
	{
		Package.OuterRegister();
	}
	for (const FPendingFile& File : Files)
	{
		for (size_t Index = 0; Index < File.NumStructInfo; ++Index)
		{
			File.StructInfo[Index].OuterRegister();
		}
		for (size_t Index = 0; Index < File.NumEnumInfo; ++Index)
		{
			File.EnumInfo[Index].OuterRegister();
		}
	}
	for (const FPendingFile& File : Files)
	{
		for (size_t Index = 0; Index < File.NumClassInfo; ++Index)
		{
			File.ClassInfo[Index].OuterRegister();
		}
	}
}
