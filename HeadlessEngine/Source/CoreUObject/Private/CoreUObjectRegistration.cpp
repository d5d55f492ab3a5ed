#include "Misc/Guid.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UECodeGen.h"
#include "UObject/UnrealType.h"

// The object system's own types. They are intrinsic: written by hand rather than by the header
// tool, and complete as soon as their class objects exist.

#define IMPLEMENT_INTRINSIC_CLASS(TClass) \
	static FClassRegistrationInfo Z_Registration_Info_UClass_##TClass; \
	IMPLEMENT_CLASS_NO_AUTO_REGISTRATION(TClass) \
	COREUOBJECT_API UClass* Z_Construct_UClass_##TClass##_NoRegister() \
	{ \
		return TClass::StaticClass(); \
	} \
	COREUOBJECT_API UClass* Z_Construct_UClass_##TClass() \
	{ \
		UClass* Class = TClass::StaticClass(); \
		Class->ClassFlags = EClassFlags(Class->ClassFlags | CLASS_Constructed); \
		return Class; \
	}

IMPLEMENT_INTRINSIC_CLASS(UObject)
IMPLEMENT_INTRINSIC_CLASS(UField)
IMPLEMENT_INTRINSIC_CLASS(UStruct)
IMPLEMENT_INTRINSIC_CLASS(UScriptStruct)
IMPLEMENT_INTRINSIC_CLASS(UFunction)
IMPLEMENT_INTRINSIC_CLASS(UDelegateFunction)
IMPLEMENT_INTRINSIC_CLASS(UEnum)
IMPLEMENT_INTRINSIC_CLASS(UClass)
IMPLEMENT_INTRINSIC_CLASS(UPackage)

#undef IMPLEMENT_INTRINSIC_CLASS

template<>
struct TStructOpsTypeTraits<FGuid> : public TStructOpsTypeTraitsBase2<FGuid>
{
	enum
	{
		WithZeroConstructor = true,
		WithSerializer = true,
	};
};

namespace
{
	FPackageRegistrationInfo Z_Registration_Info_UPackage__Script_CoreUObject;
	FStructRegistrationInfo Z_Registration_Info_UScriptStruct_FGuid;

	UPackage* Z_Construct_UPackage__Script_CoreUObject()
	{
		if (!Z_Registration_Info_UPackage__Script_CoreUObject.OuterSingleton)
		{
			static const UECodeGen_Private::FPackageParams PackageParams = {
				"/Script/CoreUObject",
				nullptr, 0,
				PKG_CompiledIn,
				0, 0,
				nullptr, 0 };
			UECodeGen_Private::ConstructUPackage(Z_Registration_Info_UPackage__Script_CoreUObject.OuterSingleton, PackageParams);
		}
		return Z_Registration_Info_UPackage__Script_CoreUObject.OuterSingleton;
	}

	// FGuid's words are saved by save games, as the engine's own declaration marks them.
	constexpr EPropertyFlags GuidWordFlags = EPropertyFlags(CPF_Edit | CPF_BlueprintVisible | CPF_SaveGame | CPF_ZeroConstructor | CPF_IsPlainOldData | CPF_NoDestructor | CPF_HasGetValueTypeHash);

	_Pragma("GCC diagnostic push")
	_Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"")
	const UECodeGen_Private::FPropertyParams GuidA = { .NameUTF8 = "A", .Flags = UECodeGen_Private::EPropertyGenFlags::Int, .PropertyFlags = GuidWordFlags, .Offset = STRUCT_OFFSET(FGuid, A), .ElementSize = sizeof(int32) };
	const UECodeGen_Private::FPropertyParams GuidB = { .NameUTF8 = "B", .Flags = UECodeGen_Private::EPropertyGenFlags::Int, .PropertyFlags = GuidWordFlags, .Offset = STRUCT_OFFSET(FGuid, B), .ElementSize = sizeof(int32) };
	const UECodeGen_Private::FPropertyParams GuidC = { .NameUTF8 = "C", .Flags = UECodeGen_Private::EPropertyGenFlags::Int, .PropertyFlags = GuidWordFlags, .Offset = STRUCT_OFFSET(FGuid, C), .ElementSize = sizeof(int32) };
	const UECodeGen_Private::FPropertyParams GuidD = { .NameUTF8 = "D", .Flags = UECodeGen_Private::EPropertyGenFlags::Int, .PropertyFlags = GuidWordFlags, .Offset = STRUCT_OFFSET(FGuid, D), .ElementSize = sizeof(int32) };
	_Pragma("GCC diagnostic pop")
	const UECodeGen_Private::FPropertyParams* const GuidProperties[] = { &GuidA, &GuidB, &GuidC, &GuidD };

	void* NewGuidStructOps()
	{
		return (UScriptStruct::ICppStructOps*)new UScriptStruct::TCppStructOps<FGuid>();
	}
}

COREUOBJECT_API UScriptStruct* Z_Construct_UScriptStruct_FGuid()
{
	if (!Z_Registration_Info_UScriptStruct_FGuid.InnerSingleton)
	{
		static const UECodeGen_Private::FStructParams StructParams = {
			+[]() -> UObject* { return Z_Construct_UPackage__Script_CoreUObject(); },
			nullptr,
			&NewGuidStructOps,
			"Guid",
			GuidProperties, UE_ARRAY_COUNT(GuidProperties),
			sizeof(FGuid), alignof(FGuid),
			EObjectFlags(RF_Public | RF_Transient | RF_MarkAsNative),
			STRUCT_Native,
			nullptr, 0 };
		UECodeGen_Private::ConstructUScriptStruct(Z_Registration_Info_UScriptStruct_FGuid.InnerSingleton, StructParams);
	}
	return Z_Registration_Info_UScriptStruct_FGuid.InnerSingleton;
}

UScriptStruct* TBaseStructure<FGuid>::Get()
{
	return Z_Construct_UScriptStruct_FGuid();
}
