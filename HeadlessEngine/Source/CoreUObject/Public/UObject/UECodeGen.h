#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "Misc/CompiledInRegistrationOrder.h"
#include "UObject/Script.h"

class UObject;
class UClass;
class UEnum;
class UFunction;
class UPackage;
class UScriptStruct;

// Descriptions of reflected types as the header tool writes them into a module's registration
// source. The engine builds each type from its description once, on first demand.
namespace UECodeGen_Private
{
	enum class EPropertyGenFlags : uint8
	{
		None,
		Byte,
		Int,
		Int64,
		UInt32,
		Float,
		Double,
		Bool,
		Str,
		Name,
		Text,
		Object,
		Class,
		Struct,
		InlineMulticastDelegate,
		SparseMulticastDelegate,
	};

	struct FMetaDataPairParam
	{
		const char* NameUTF8;
		const char* ValueUTF8;
	};

	struct FPropertyParams
	{
		const char* NameUTF8 = nullptr;
		EPropertyGenFlags Flags = EPropertyGenFlags::None;
		EPropertyFlags PropertyFlags = CPF_None;
		int32 Offset = 0;
		int32 ElementSize = 0;
		UClass* (*ClassFunc)() = nullptr;
		UClass* (*MetaClassFunc)() = nullptr;
		UScriptStruct* (*ScriptStructFunc)() = nullptr;
		UEnum* (*EnumFunc)() = nullptr;
		UFunction* (*SignatureFunc)() = nullptr;
		const FMetaDataPairParam* MetaDataArray = nullptr;
		int32 NumMetaData = 0;
	};

	struct FFunctionParams
	{
		UObject* (*OuterFunc)();
		UFunction* (*SuperFunc)();
		const char* NameUTF8;
		const FPropertyParams* const* PropertyArray;
		int32 NumProperties;
		uint16 StructureSize;
		EObjectFlags ObjectFlags;
		EFunctionFlags FunctionFlags;
		const FMetaDataPairParam* MetaDataArray;
		int32 NumMetaData;
	};

	struct FEnumeratorParam
	{
		const char* NameUTF8;
		int64 Value;
	};

	struct FEnumParams
	{
		UObject* (*OuterFunc)();
		FString (*DisplayNameFunc)(int32);
		const char* NameUTF8;
		const char* CppTypeUTF8;
		const FEnumeratorParam* EnumeratorParams;
		int32 NumEnumerators;
		EObjectFlags ObjectFlags;
		EEnumFlags EnumFlags;
		uint8 CppForm;
		const FMetaDataPairParam* MetaDataArray;
		int32 NumMetaData;
	};

	struct FStructParams
	{
		UObject* (*OuterFunc)();
		UScriptStruct* (*SuperFunc)();
		void* (*StructOpsFunc)();
		const char* NameUTF8;
		const FPropertyParams* const* PropertyArray;
		int32 NumProperties;
		uint16 SizeOf;
		uint8 AlignOf;
		EObjectFlags ObjectFlags;
		EStructFlags StructFlags;
		const FMetaDataPairParam* MetaDataArray;
		int32 NumMetaData;
	};

	struct FClassFunctionLinkInfo
	{
		UFunction* (*CreateFuncPtr)();
		const char* FuncNameUTF8;
	};

	struct FClassParams
	{
		UClass* (*ClassNoRegisterFunc)();
		const char* ClassConfigNameUTF8;
		UObject* (*const* DependencySingletonFuncArray)();
		int32 NumDependencySingletons;
		const FClassFunctionLinkInfo* FunctionLinkArray;
		int32 NumFunctions;
		const FPropertyParams* const* PropertyArray;
		int32 NumProperties;
		uint32 ClassFlags;
		const FMetaDataPairParam* MetaDataArray;
		int32 NumMetaData;
	};

	struct FPackageParams
	{
		const char* NameUTF8;
		UObject* (*const* SingletonFuncArray)();
		int32 NumSingletons;
		uint32 PackageFlags;
		uint32 BodiesHash;
		uint32 DeclarationsHash;
		const FMetaDataPairParam* MetaDataArray;
		int32 NumMetaData;
	};

	COREUOBJECT_API void ConstructUFunction(UFunction** SingletonPtr, const FFunctionParams& Params);
	COREUOBJECT_API void ConstructUDelegateFunction(UFunction** SingletonPtr, const FFunctionParams& Params);
	COREUOBJECT_API void ConstructUEnum(UEnum*& OutEnum, const FEnumParams& Params);
	COREUOBJECT_API void ConstructUScriptStruct(UScriptStruct*& OutStruct, const FStructParams& Params);
	COREUOBJECT_API void ConstructUPackage(UPackage*& OutPackage, const FPackageParams& Params);
	COREUOBJECT_API void ConstructUClass(UClass*& OutClass, const FClassParams& Params);
}

typedef UECodeGen_Private::FClassFunctionLinkInfo FClassFunctionLinkInfo;

struct FClassRegistrationInfo
{
	UClass* InnerSingleton = nullptr;
	UClass* OuterSingleton = nullptr;
};

struct FStructRegistrationInfo
{
	UScriptStruct* InnerSingleton = nullptr;
	UScriptStruct* OuterSingleton = nullptr;
};

struct FEnumRegistrationInfo
{
	UEnum* InnerSingleton = nullptr;
	UEnum* OuterSingleton = nullptr;
};

struct FPackageRegistrationInfo
{
	UPackage* OuterSingleton = nullptr;
};

struct FClassReloadVersionInfo
{
	SIZE_T Size = 0;
	uint32 Hash = 0;
};

struct FStructReloadVersionInfo
{
	SIZE_T Size = 0;
	uint32 Hash = 0;
};

struct FEnumReloadVersionInfo
{
	uint32 Hash = 0;
};

struct FPackageReloadVersionInfo
{
	uint32 BodiesHash = 0;
	uint32 DeclarationsHash = 0;
};

#define CONSTRUCT_RELOAD_VERSION_INFO(VersionInfo, ...) VersionInfo{__VA_ARGS__}

struct FClassRegisterCompiledInInfo
{
	UClass* (*OuterRegister)();
	UClass* (*InnerRegister)();
	const TCHAR* Name;
	FClassRegistrationInfo* Info;
	FClassReloadVersionInfo VersionInfo;
};

struct FStructRegisterCompiledInInfo
{
	UScriptStruct* (*OuterRegister)();
	void* (*CreateCppStructOps)();
	const TCHAR* Name;
	FStructRegistrationInfo* Info;
	FStructReloadVersionInfo VersionInfo;
};

struct FEnumRegisterCompiledInInfo
{
	UEnum* (*OuterRegister)();
	const TCHAR* Name;
	FEnumRegistrationInfo* Info;
	FEnumReloadVersionInfo VersionInfo;
};

// What a package's registration carries; the engine passes these as arguments instead.
struct FPackageRegisterCompiledInInfo
{
	UPackage* (*OuterRegister)() = nullptr;
	const TCHAR* Name = nullptr;
	FPackageRegistrationInfo* Info = nullptr;
	FPackageReloadVersionInfo VersionInfo;
};

// A static object of this type in a module's registration source queues the module's package,
// or its structs, enums and classes, with the engine; ProcessNewlyLoadedUObjects builds them.
struct COREUOBJECT_API FRegisterCompiledInInfo
{
	FRegisterCompiledInInfo(UPackage* (*OuterRegister)(), const TCHAR* PackageName, FPackageRegistrationInfo& Info, const FPackageReloadVersionInfo& VersionInfo);
	FRegisterCompiledInInfo(const TCHAR* PackageName, const FClassRegisterCompiledInInfo* ClassInfo, size_t NumClassInfo, const FStructRegisterCompiledInInfo* StructInfo, size_t NumStructInfo, const FEnumRegisterCompiledInInfo* EnumInfo, size_t NumEnumInfo);

	FRegisterCompiledInInfo(const FRegisterCompiledInInfo&) = delete;
	FRegisterCompiledInInfo& operator=(const FRegisterCompiledInInfo&) = delete;

private:
	// Kept here so that the queued record lives as long as the library.
	FPackageRegisterCompiledInInfo PackageInfo;
};
