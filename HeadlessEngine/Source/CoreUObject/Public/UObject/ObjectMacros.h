#pragma once

#include "CoreTypes.h"
#include "Misc/EnumClassFlags.h"

class UObject;
class UClass;
class FObjectInitializer;

// Reflection markup. The header tool reads these; the compiler sees nothing.
#define UCLASS(...)
#define USTRUCT(...)
#define UENUM(...)
#define UFUNCTION(...)
#define UPROPERTY(...)
#define UPARAM(...)
#define UMETA(...)
#define UINTERFACE(...)

#define NO_API

#define BODY_MACRO_COMBINE_INNER(A, B, C, D) A##B##C##D
#define BODY_MACRO_COMBINE(A, B, C, D) BODY_MACRO_COMBINE_INNER(A, B, C, D)

// Pastes the macro that the header tool wrote for this file and line into the declaration.
#define GENERATED_BODY(...) BODY_MACRO_COMBINE(CURRENT_FILE_ID, _, __LINE__, _GENERATED_BODY)
#define GENERATED_USTRUCT_BODY(...) GENERATED_BODY()
#define GENERATED_UCLASS_BODY(...) GENERATED_BODY()

#define STRUCT_OFFSET(Struct, Member) offsetof(Struct, Member)

enum EObjectFlags
{
	RF_NoFlags = 0x00000000,
	RF_Public = 0x00000001,
	RF_Standalone = 0x00000002,
	RF_MarkAsNative = 0x00000004,
	RF_Transactional = 0x00000008,
	RF_ClassDefaultObject = 0x00000010,
	RF_ArchetypeObject = 0x00000020,
	RF_Transient = 0x00000040,
	RF_MarkAsRootSet = 0x00000080,
	RF_TagGarbageTemp = 0x00000100,
	RF_NeedInitialization = 0x00000200,
	RF_NeedLoad = 0x00000400,
	RF_KeepForCooker = 0x00000800,
	RF_NeedPostLoad = 0x00001000,
	RF_NeedPostLoadSubobjects = 0x00002000,
	RF_NewerVersionExists = 0x00004000,
	RF_BeginDestroyed = 0x00008000,
	RF_FinishDestroyed = 0x00010000,
	RF_BeingRegenerated = 0x00020000,
	RF_DefaultSubObject = 0x00040000,
	RF_WasLoaded = 0x00080000,
	RF_TextExportTransient = 0x00100000,
	RF_LoadCompleted = 0x00200000,
	RF_InheritableComponentTemplate = 0x00400000,
	RF_DuplicateTransient = 0x00800000,
	RF_StrongRefOnFrame = 0x01000000,
	RF_NonPIEDuplicateTransient = 0x02000000,
	RF_WillBeLoaded = 0x08000000,
	RF_HasExternalPackage = 0x10000000,
	RF_MirroredGarbage = 0x40000000,
	RF_AllocatedInSharedPage = 0x80000000,
};
ENUM_CLASS_FLAGS(EObjectFlags);

#define RF_AllFlags ((EObjectFlags)0xffffffff)

enum class EInternalObjectFlags : int32
{
	None = 0,
	Garbage = 1 << 21,
	Unreachable = 1 << 28,
	RootSet = 1 << 30,
};
ENUM_CLASS_FLAGS(EInternalObjectFlags);

enum EClassFlags
{
	CLASS_None = 0x00000000u,
	CLASS_Abstract = 0x00000001u,
	CLASS_DefaultConfig = 0x00000002u,
	CLASS_Config = 0x00000004u,
	CLASS_Transient = 0x00000008u,
	CLASS_Optional = 0x00000010u,
	CLASS_MatchedSerializers = 0x00000020u,
	CLASS_ProjectUserConfig = 0x00000040u,
	CLASS_Native = 0x00000080u,
	CLASS_NotPlaceable = 0x00000200u,
	CLASS_PerObjectConfig = 0x00000400u,
	CLASS_ReplicationDataIsSetUp = 0x00000800u,
	CLASS_EditInlineNew = 0x00001000u,
	CLASS_CollapseCategories = 0x00002000u,
	CLASS_Interface = 0x00004000u,
	CLASS_Const = 0x00010000u,
	CLASS_NeedsDeferredDependencyLoading = 0x00020000u,
	CLASS_CompiledFromBlueprint = 0x00040000u,
	CLASS_MinimalAPI = 0x00080000u,
	CLASS_RequiredAPI = 0x00100000u,
	CLASS_DefaultToInstanced = 0x00200000u,
	CLASS_TokenStreamAssembled = 0x00400000u,
	CLASS_HasInstancedReference = 0x00800000u,
	CLASS_Hidden = 0x01000000u,
	CLASS_Deprecated = 0x02000000u,
	CLASS_HideDropDown = 0x04000000u,
	CLASS_GlobalUserConfig = 0x08000000u,
	CLASS_Intrinsic = 0x10000000u,
	CLASS_Constructed = 0x20000000u,
	CLASS_ConfigDoNotCheckDefaults = 0x40000000u,
	CLASS_NewerVersionExists = 0x80000000u,
};
ENUM_CLASS_FLAGS(EClassFlags);

// Flags a class passes on to the classes derived from it.
#define CLASS_Inherit ((EClassFlags)(CLASS_Transient | CLASS_Optional | CLASS_DefaultConfig | CLASS_Config | CLASS_PerObjectConfig | CLASS_ConfigDoNotCheckDefaults | CLASS_NotPlaceable | CLASS_Const | CLASS_HasInstancedReference | CLASS_Deprecated | CLASS_DefaultToInstanced | CLASS_GlobalUserConfig | CLASS_ProjectUserConfig | CLASS_NeedsDeferredDependencyLoading))

// One bit per class that casts test for directly: a class has its own flag (if any) and every
// flag of its super classes. The values are the engine's; only the classes this engine has are
// listed.
enum EClassCastFlags : uint64
{
	CASTCLASS_None = 0x0000000000000000ull,

	CASTCLASS_UField = 0x0000000000000001ull,
	CASTCLASS_UEnum = 0x0000000000000004ull,
	CASTCLASS_UStruct = 0x0000000000000008ull,
	CASTCLASS_UScriptStruct = 0x0000000000000010ull,
	CASTCLASS_UClass = 0x0000000000000020ull,
	CASTCLASS_UFunction = 0x0000000000080000ull,
	CASTCLASS_UPackage = 0x0000000400000000ull,
	CASTCLASS_ULevel = 0x0000000800000000ull,
	CASTCLASS_AActor = 0x0000001000000000ull,
	CASTCLASS_UDelegateFunction = 0x0000100000000000ull,

	CASTCLASS_AllFlags = 0xFFFFFFFFFFFFFFFFull,
};
ENUM_CLASS_FLAGS(EClassCastFlags);

typedef uint64 EPropertyFlags;
#define CPF_None ((EPropertyFlags)0)
#define CPF_Edit ((EPropertyFlags)0x0000000000000001)
#define CPF_ConstParm ((EPropertyFlags)0x0000000000000002)
#define CPF_BlueprintVisible ((EPropertyFlags)0x0000000000000004)
#define CPF_ExportObject ((EPropertyFlags)0x0000000000000008)
#define CPF_BlueprintReadOnly ((EPropertyFlags)0x0000000000000010)
#define CPF_Net ((EPropertyFlags)0x0000000000000020)
#define CPF_EditFixedSize ((EPropertyFlags)0x0000000000000040)
#define CPF_Parm ((EPropertyFlags)0x0000000000000080)
#define CPF_OutParm ((EPropertyFlags)0x0000000000000100)
#define CPF_ZeroConstructor ((EPropertyFlags)0x0000000000000200)
#define CPF_ReturnParm ((EPropertyFlags)0x0000000000000400)
#define CPF_DisableEditOnTemplate ((EPropertyFlags)0x0000000000000800)
#define CPF_NonNullable ((EPropertyFlags)0x0000000000001000)
#define CPF_Transient ((EPropertyFlags)0x0000000000002000)
#define CPF_Config ((EPropertyFlags)0x0000000000004000)
#define CPF_RequiredParm ((EPropertyFlags)0x0000000000008000)
#define CPF_DisableEditOnInstance ((EPropertyFlags)0x0000000000010000)
#define CPF_EditConst ((EPropertyFlags)0x0000000000020000)
#define CPF_GlobalConfig ((EPropertyFlags)0x0000000000040000)
#define CPF_InstancedReference ((EPropertyFlags)0x0000000000080000)
#define CPF_DuplicateTransient ((EPropertyFlags)0x0000000000200000)
#define CPF_SaveGame ((EPropertyFlags)0x0000000001000000)
#define CPF_NoClear ((EPropertyFlags)0x0000000002000000)
#define CPF_ReferenceParm ((EPropertyFlags)0x0000000008000000)
#define CPF_BlueprintAssignable ((EPropertyFlags)0x0000000010000000)
#define CPF_Deprecated ((EPropertyFlags)0x0000000020000000)
#define CPF_IsPlainOldData ((EPropertyFlags)0x0000000040000000)
#define CPF_RepSkip ((EPropertyFlags)0x0000000080000000)
#define CPF_RepNotify ((EPropertyFlags)0x0000000100000000)
#define CPF_Interp ((EPropertyFlags)0x0000000200000000)
#define CPF_NonTransactional ((EPropertyFlags)0x0000000400000000)
#define CPF_EditorOnly ((EPropertyFlags)0x0000000800000000)
#define CPF_NoDestructor ((EPropertyFlags)0x0000001000000000)
#define CPF_AutoWeak ((EPropertyFlags)0x0000004000000000)
#define CPF_ContainsInstancedReference ((EPropertyFlags)0x0000008000000000)
#define CPF_AssetRegistrySearchable ((EPropertyFlags)0x0000010000000000)
#define CPF_SimpleDisplay ((EPropertyFlags)0x0000020000000000)
#define CPF_AdvancedDisplay ((EPropertyFlags)0x0000040000000000)
#define CPF_Protected ((EPropertyFlags)0x0000080000000000)
#define CPF_BlueprintCallable ((EPropertyFlags)0x0000100000000000)
#define CPF_BlueprintAuthorityOnly ((EPropertyFlags)0x0000200000000000)
#define CPF_TextExportTransient ((EPropertyFlags)0x0000400000000000)
#define CPF_NonPIEDuplicateTransient ((EPropertyFlags)0x0000800000000000)
#define CPF_ExposeOnSpawn ((EPropertyFlags)0x0001000000000000)
#define CPF_PersistentInstance ((EPropertyFlags)0x0002000000000000)
#define CPF_UObjectWrapper ((EPropertyFlags)0x0004000000000000)
#define CPF_HasGetValueTypeHash ((EPropertyFlags)0x0008000000000000)
#define CPF_NativeAccessSpecifierPublic ((EPropertyFlags)0x0010000000000000)
#define CPF_NativeAccessSpecifierProtected ((EPropertyFlags)0x0020000000000000)
#define CPF_NativeAccessSpecifierPrivate ((EPropertyFlags)0x0040000000000000)
#define CPF_SkipSerialization ((EPropertyFlags)0x0080000000000000)
#define CPF_TObjectPtr ((EPropertyFlags)0x0100000000000000)
#define CPF_TObjectPtrWrapper ((EPropertyFlags)(CPF_UObjectWrapper | CPF_TObjectPtr))

enum EStructFlags
{
	STRUCT_NoFlags = 0x00000000,
	STRUCT_Native = 0x00000001,
	STRUCT_IdenticalNative = 0x00000002,
	STRUCT_HasInstancedReference = 0x00000004,
	STRUCT_NoExport = 0x00000008,
	STRUCT_Atomic = 0x00000010,
	STRUCT_Immutable = 0x00000020,
	STRUCT_AddStructReferencedObjects = 0x00000040,
	STRUCT_RequiredAPI = 0x00000200,
	STRUCT_NetSerializeNative = 0x00000400,
	STRUCT_SerializeNative = 0x00000800,
	STRUCT_CopyNative = 0x00001000,
	STRUCT_IsPlainOldData = 0x00002000,
	STRUCT_NoDestructor = 0x00004000,
	STRUCT_ZeroConstructor = 0x00008000,
};
ENUM_CLASS_FLAGS(EStructFlags);

enum EPackageFlags
{
	PKG_None = 0x00000000,
	PKG_NewlyCreated = 0x00000001,
	PKG_ClientOptional = 0x00000002,
	PKG_ServerSideOnly = 0x00000004,
	PKG_CompiledIn = 0x00000010,
	PKG_ContainsMap = 0x00020000,
	PKG_PlayInEditor = 0x00000008,
	PKG_EditorOnly = 0x00000040,
	PKG_Developer = 0x00000080,
	PKG_UncookedOnly = 0x00000100,
	PKG_ContainsScript = 0x00200000,
	PKG_RuntimeGenerated = 0x00008000,
};
ENUM_CLASS_FLAGS(EPackageFlags);

enum class EEnumFlags
{
	None,
	Flags = 0x00000001,
	NewerVersionExists = 0x00000002,
};
ENUM_CLASS_FLAGS(EEnumFlags);

// Tag of the operator new that builds an object in memory the object system has allocated.
enum EInternal
{
	EC_InternalUseOnlyConstructor
};

// Marks the constructor used only to build a throw-away object for its vtable (hot reload).
class FVTableHelper
{
public:
	FVTableHelper() = default;
};

#define COMPILED_IN_FLAGS(TStaticFlags) ((EClassFlags)((TStaticFlags) | CLASS_Intrinsic))

#define DECLARE_CLASS(TClass, TSuperClass, TStaticFlags, TStaticCastFlags, TPackage, TRequiredAPI) \
private: \
	TClass& operator=(TClass&&); \
	TClass& operator=(const TClass&); \
	TRequiredAPI static UClass* GetPrivateStaticClass(); \
\
public: \
	static constexpr EClassFlags StaticClassFlags = EClassFlags(TStaticFlags); \
	typedef TSuperClass Super; \
	typedef TClass ThisClass; \
	inline static UClass* StaticClass() \
	{ \
		return GetPrivateStaticClass(); \
	} \
	inline static const TCHAR* StaticPackage() \
	{ \
		return TPackage; \
	} \
	inline static EClassCastFlags StaticClassCastFlags() \
	{ \
		return TStaticCastFlags; \
	} \
	inline void* operator new(const size_t, EInternal, UObject* InOuter, FName InName = NAME_None, EObjectFlags InSetFlags = RF_NoFlags) \
	{ \
		return StaticAllocateObject(StaticClass(), InOuter, InName, InSetFlags); \
	} \
	inline void* operator new(const size_t, EInternal* InMem) \
	{ \
		return (void*)InMem; \
	} \
	inline void operator delete(void* InMem) \
	{ \
		::operator delete(InMem); \
	}

#define DECLARE_WITHIN(TWithinClass) \
	typedef class TWithinClass WithinClass;

#define DEFINE_DEFAULT_CONSTRUCTOR_CALL(TClass) \
	static void __DefaultConstructor(const FObjectInitializer& X) \
	{ \
		new ((EInternal*)X.GetObj()) TClass; \
	}

#define DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(TClass) \
	static void __DefaultConstructor(const FObjectInitializer& X) \
	{ \
		new ((EInternal*)X.GetObj()) TClass(X); \
	}

#define DECLARE_VTABLE_PTR_HELPER_CTOR(API, TClass) \
	API TClass(FVTableHelper& Helper);

#define DEFINE_VTABLE_PTR_HELPER_CTOR(TClass) \
	TClass::TClass(FVTableHelper& Helper) \
		: Super(Helper) \
	{ \
	}

// Defines a class's private static-class function: built once, on first demand, from what the
// class itself declares; the generated full construction then adds functions and properties.
#define IMPLEMENT_CLASS_NO_AUTO_REGISTRATION(TClass) \
	UClass* TClass::GetPrivateStaticClass() \
	{ \
		if (!Z_Registration_Info_UClass_##TClass.InnerSingleton) \
		{ \
			GetPrivateStaticClassBody( \
				StaticPackage(), \
				(TCHAR*)TEXT(#TClass) + 1, \
				Z_Registration_Info_UClass_##TClass.InnerSingleton, \
				StaticRegisterNatives##TClass, \
				sizeof(TClass), \
				alignof(TClass), \
				TClass::StaticClassFlags, \
				TClass::StaticClassCastFlags(), \
				TClass::StaticConfigName(), \
				(UClass::ClassConstructorType)InternalConstructor<TClass>, \
				(UClass::ClassVTableHelperCtorCallerType)InternalVTableHelperCtorCaller<TClass>, \
				UOBJECT_CPPCLASS_STATICFUNCTIONS_FORCLASS(TClass), \
				&TClass::Super::StaticClass, \
				&TClass::WithinClass::StaticClass); \
		} \
		return Z_Registration_Info_UClass_##TClass.InnerSingleton; \
	}
