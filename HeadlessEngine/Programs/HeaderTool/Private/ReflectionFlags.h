#pragma once

#include <cstdint>

// The engine's flag values (EPropertyFlags, EFunctionFlags, EClassFlags, EStructFlags). The
// generated code prints them as numbers, so they must match the runtime bit for bit.
namespace HeaderTool::Flags
{
	inline constexpr uint64_t CPF_Edit = 0x0000000000000001ull;
	inline constexpr uint64_t CPF_ConstParm = 0x0000000000000002ull;
	inline constexpr uint64_t CPF_BlueprintVisible = 0x0000000000000004ull;
	inline constexpr uint64_t CPF_ExportObject = 0x0000000000000008ull;
	inline constexpr uint64_t CPF_BlueprintReadOnly = 0x0000000000000010ull;
	inline constexpr uint64_t CPF_Net = 0x0000000000000020ull;
	inline constexpr uint64_t CPF_EditFixedSize = 0x0000000000000040ull;
	inline constexpr uint64_t CPF_Parm = 0x0000000000000080ull;
	inline constexpr uint64_t CPF_OutParm = 0x0000000000000100ull;
	inline constexpr uint64_t CPF_ReturnParm = 0x0000000000000400ull;
	inline constexpr uint64_t CPF_DisableEditOnTemplate = 0x0000000000000800ull;
	inline constexpr uint64_t CPF_Transient = 0x0000000000002000ull;
	inline constexpr uint64_t CPF_Config = 0x0000000000004000ull;
	inline constexpr uint64_t CPF_RequiredParm = 0x0000000000008000ull;
	inline constexpr uint64_t CPF_DisableEditOnInstance = 0x0000000000010000ull;
	inline constexpr uint64_t CPF_EditConst = 0x0000000000020000ull;
	inline constexpr uint64_t CPF_GlobalConfig = 0x0000000000040000ull;
	inline constexpr uint64_t CPF_InstancedReference = 0x0000000000080000ull;
	inline constexpr uint64_t CPF_DuplicateTransient = 0x0000000000200000ull;
	inline constexpr uint64_t CPF_SaveGame = 0x0000000001000000ull;
	inline constexpr uint64_t CPF_NoClear = 0x0000000002000000ull;
	inline constexpr uint64_t CPF_ReferenceParm = 0x0000000008000000ull;
	inline constexpr uint64_t CPF_BlueprintAssignable = 0x0000000010000000ull;
	inline constexpr uint64_t CPF_RepSkip = 0x0000000080000000ull;
	inline constexpr uint64_t CPF_RepNotify = 0x0000000100000000ull;
	inline constexpr uint64_t CPF_Interp = 0x0000000200000000ull;
	inline constexpr uint64_t CPF_NonTransactional = 0x0000000400000000ull;
	inline constexpr uint64_t CPF_ContainsInstancedReference = 0x0000008000000000ull;
	inline constexpr uint64_t CPF_AssetRegistrySearchable = 0x0000010000000000ull;
	inline constexpr uint64_t CPF_SimpleDisplay = 0x0000020000000000ull;
	inline constexpr uint64_t CPF_AdvancedDisplay = 0x0000040000000000ull;
	inline constexpr uint64_t CPF_BlueprintCallable = 0x0000100000000000ull;
	inline constexpr uint64_t CPF_BlueprintAuthorityOnly = 0x0000200000000000ull;
	inline constexpr uint64_t CPF_TextExportTransient = 0x0000400000000000ull;
	inline constexpr uint64_t CPF_NonPIEDuplicateTransient = 0x0000800000000000ull;
	inline constexpr uint64_t CPF_PersistentInstance = 0x0002000000000000ull;
	inline constexpr uint64_t CPF_UObjectWrapper = 0x0004000000000000ull;
	inline constexpr uint64_t CPF_NativeAccessSpecifierPublic = 0x0010000000000000ull;
	inline constexpr uint64_t CPF_NativeAccessSpecifierProtected = 0x0020000000000000ull;
	inline constexpr uint64_t CPF_NativeAccessSpecifierPrivate = 0x0040000000000000ull;
	inline constexpr uint64_t CPF_SkipSerialization = 0x0080000000000000ull;
	inline constexpr uint64_t CPF_TObjectPtr = 0x0100000000000000ull;
	inline constexpr uint64_t CPF_TObjectPtrWrapper = CPF_UObjectWrapper | CPF_TObjectPtr;

	inline constexpr uint32_t FUNC_Final = 0x00000001u;
	inline constexpr uint32_t FUNC_RequiredAPI = 0x00000002u;
	inline constexpr uint32_t FUNC_BlueprintAuthorityOnly = 0x00000004u;
	inline constexpr uint32_t FUNC_BlueprintCosmetic = 0x00000008u;
	inline constexpr uint32_t FUNC_Exec = 0x00000200u;
	inline constexpr uint32_t FUNC_Native = 0x00000400u;
	inline constexpr uint32_t FUNC_Static = 0x00002000u;
	inline constexpr uint32_t FUNC_MulticastDelegate = 0x00010000u;
	inline constexpr uint32_t FUNC_Public = 0x00020000u;
	inline constexpr uint32_t FUNC_Private = 0x00040000u;
	inline constexpr uint32_t FUNC_Protected = 0x00080000u;
	inline constexpr uint32_t FUNC_Delegate = 0x00100000u;
	inline constexpr uint32_t FUNC_HasOutParms = 0x00400000u;
	inline constexpr uint32_t FUNC_HasDefaults = 0x00800000u;
	inline constexpr uint32_t FUNC_BlueprintCallable = 0x04000000u;
	inline constexpr uint32_t FUNC_BlueprintPure = 0x10000000u;
	inline constexpr uint32_t FUNC_Const = 0x40000000u;

	inline constexpr uint32_t FUNC_DelegateSignature = FUNC_MulticastDelegate | FUNC_Delegate | FUNC_Public;

	inline constexpr uint32_t CLASS_Abstract = 0x00000001u;
	inline constexpr uint32_t CLASS_DefaultConfig = 0x00000002u;
	inline constexpr uint32_t CLASS_Config = 0x00000004u;
	inline constexpr uint32_t CLASS_Transient = 0x00000008u;
	inline constexpr uint32_t CLASS_Optional = 0x00000010u;
	inline constexpr uint32_t CLASS_MatchedSerializers = 0x00000020u;
	inline constexpr uint32_t CLASS_ProjectUserConfig = 0x00000040u;
	inline constexpr uint32_t CLASS_Native = 0x00000080u;
	inline constexpr uint32_t CLASS_NotPlaceable = 0x00000200u;
	inline constexpr uint32_t CLASS_PerObjectConfig = 0x00000400u;
	inline constexpr uint32_t CLASS_EditInlineNew = 0x00001000u;
	inline constexpr uint32_t CLASS_CollapseCategories = 0x00002000u;
	inline constexpr uint32_t CLASS_Const = 0x00010000u;
	inline constexpr uint32_t CLASS_MinimalAPI = 0x00080000u;
	inline constexpr uint32_t CLASS_RequiredAPI = 0x00100000u;
	inline constexpr uint32_t CLASS_DefaultToInstanced = 0x00200000u;
	inline constexpr uint32_t CLASS_HasInstancedReference = 0x00800000u;
	inline constexpr uint32_t CLASS_Deprecated = 0x02000000u;
	inline constexpr uint32_t CLASS_HideDropDown = 0x04000000u;
	inline constexpr uint32_t CLASS_GlobalUserConfig = 0x08000000u;
	inline constexpr uint32_t CLASS_ConfigDoNotCheckDefaults = 0x40000000u;

	/** Class flags a class takes over from its super class (the engine's CLASS_Inherit). */
	inline constexpr uint32_t CLASS_Inherit = CLASS_Transient | CLASS_Optional | CLASS_DefaultConfig | CLASS_Config | CLASS_PerObjectConfig
		| CLASS_ConfigDoNotCheckDefaults | CLASS_NotPlaceable | CLASS_Const | CLASS_HasInstancedReference | CLASS_Deprecated
		| CLASS_DefaultToInstanced | CLASS_GlobalUserConfig | CLASS_ProjectUserConfig;

	/** Names for COMPILED_IN_FLAGS(...): the flags a class's own declaration states, in bit order. */
	struct FClassFlagName
	{
		uint32_t Flag;
		const char* Name;
	};
	inline constexpr FClassFlagName CompiledInClassFlagNames[] = {
		{ CLASS_Abstract, "CLASS_Abstract" },
		{ CLASS_DefaultConfig, "CLASS_DefaultConfig" },
		{ CLASS_Config, "CLASS_Config" },
		{ CLASS_Transient, "CLASS_Transient" },
		{ CLASS_ProjectUserConfig, "CLASS_ProjectUserConfig" },
		{ CLASS_Deprecated, "CLASS_Deprecated" },
		{ CLASS_GlobalUserConfig, "CLASS_GlobalUserConfig" },
	};

	/**
	 * The engine's classes that have a cast flag of their own (EClassCastFlags), by name, as the
	 * engine's tool gives it: a class of one of these names declares CASTCLASS_<Name>; every other
	 * class declares CASTCLASS_None and takes its bases' flags only when its class object is linked.
	 * The classes of the object system itself are written by hand and not listed.
	 */
	inline constexpr const char* ClassNamesWithCastFlags[] = {
		"ULevel",
		"AActor",
	};

	inline constexpr uint32_t STRUCT_Native = 0x00000001u;
	inline constexpr uint32_t STRUCT_Atomic = 0x00000010u;
	inline constexpr uint32_t STRUCT_Immutable = 0x00000020u;
	inline constexpr uint32_t STRUCT_RequiredAPI = 0x00000200u;
}
