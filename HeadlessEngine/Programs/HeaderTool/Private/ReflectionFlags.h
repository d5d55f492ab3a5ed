#pragma once

#include <cstdint>

// The engine's flag values (EPropertyFlags, EFunctionFlags, EClassFlags). The generated code
// prints them as numbers, so they must match the runtime bit for bit.
namespace HeaderTool::Flags
{
	inline constexpr uint64_t CPF_Edit = 0x0000000000000001ull;
	inline constexpr uint64_t CPF_ConstParm = 0x0000000000000002ull;
	inline constexpr uint64_t CPF_BlueprintVisible = 0x0000000000000004ull;
	inline constexpr uint64_t CPF_BlueprintReadOnly = 0x0000000000000010ull;
	inline constexpr uint64_t CPF_Parm = 0x0000000000000080ull;
	inline constexpr uint64_t CPF_OutParm = 0x0000000000000100ull;
	inline constexpr uint64_t CPF_ReturnParm = 0x0000000000000400ull;
	inline constexpr uint64_t CPF_Transient = 0x0000000000002000ull;
	inline constexpr uint64_t CPF_Config = 0x0000000000004000ull;
	inline constexpr uint64_t CPF_EditConst = 0x0000000000020000ull;
	inline constexpr uint64_t CPF_SaveGame = 0x0000000001000000ull;
	inline constexpr uint64_t CPF_ReferenceParm = 0x0000000008000000ull;
	inline constexpr uint64_t CPF_BlueprintAssignable = 0x0000000010000000ull;
	inline constexpr uint64_t CPF_NativeAccessSpecifierPublic = 0x0010000000000000ull;
	inline constexpr uint64_t CPF_NativeAccessSpecifierProtected = 0x0020000000000000ull;
	inline constexpr uint64_t CPF_NativeAccessSpecifierPrivate = 0x0040000000000000ull;

	inline constexpr uint32_t FUNC_Final = 0x00000001u;
	inline constexpr uint32_t FUNC_Native = 0x00000400u;
	inline constexpr uint32_t FUNC_Static = 0x00002000u;
	inline constexpr uint32_t FUNC_MulticastDelegate = 0x00010000u;
	inline constexpr uint32_t FUNC_Public = 0x00020000u;
	inline constexpr uint32_t FUNC_Private = 0x00040000u;
	inline constexpr uint32_t FUNC_Protected = 0x00080000u;
	inline constexpr uint32_t FUNC_Delegate = 0x00100000u;
	inline constexpr uint32_t FUNC_HasOutParms = 0x00400000u;
	inline constexpr uint32_t FUNC_BlueprintCallable = 0x04000000u;
	inline constexpr uint32_t FUNC_BlueprintPure = 0x10000000u;
	inline constexpr uint32_t FUNC_Const = 0x40000000u;

	inline constexpr uint32_t CLASS_Abstract = 0x00000001u;
	inline constexpr uint32_t CLASS_Config = 0x00000004u;
	inline constexpr uint32_t CLASS_Transient = 0x00000008u;
	inline constexpr uint32_t CLASS_MatchedSerializers = 0x00000020u;
	inline constexpr uint32_t CLASS_Native = 0x00000080u;
	inline constexpr uint32_t CLASS_EditInlineNew = 0x00001000u;
	inline constexpr uint32_t CLASS_MinimalAPI = 0x00080000u;
	inline constexpr uint32_t CLASS_RequiredAPI = 0x00100000u;
	inline constexpr uint32_t CLASS_DefaultToInstanced = 0x00200000u;
	inline constexpr uint32_t CLASS_HasInstancedReference = 0x00800000u;

	/** Class flags a class takes over from its super class. */
	inline constexpr uint32_t CLASS_Inherit = CLASS_Config | CLASS_Transient | CLASS_DefaultToInstanced | CLASS_HasInstancedReference;

	/** Names for COMPILED_IN_FLAGS(...), in bit order. */
	struct FClassFlagName
	{
		uint32_t Flag;
		const char* Name;
	};
	inline constexpr FClassFlagName ClassFlagNames[] = {
		{ CLASS_Abstract, "CLASS_Abstract" },
		{ CLASS_Config, "CLASS_Config" },
		{ CLASS_Transient, "CLASS_Transient" },
		{ CLASS_EditInlineNew, "CLASS_EditInlineNew" },
		{ CLASS_MinimalAPI, "CLASS_MinimalAPI" },
		{ CLASS_RequiredAPI, "CLASS_RequiredAPI" },
		{ CLASS_DefaultToInstanced, "CLASS_DefaultToInstanced" },
		{ CLASS_HasInstancedReference, "CLASS_HasInstancedReference" },
	};

	inline constexpr uint32_t FUNC_DelegateSignature = FUNC_MulticastDelegate | FUNC_Delegate | FUNC_Public;
}
