#include "MacroArgumentFlags.h"

#include "ReflectionFlags.h"
#include "MacroArgumentList.h"

namespace HeaderTool
{
	namespace
	{
		struct FPropertySpecifierFlags
		{
			const char* Key;
			uint64_t Flags;
		};

		// Specifiers missing here (Category, Getter, Localized, RepRetry, ...) set no flag.
		const FPropertySpecifierFlags PropertyTable[] = {
			{ "EditAnywhere", Flags::CPF_Edit },
			{ "EditInstanceOnly", Flags::CPF_Edit | Flags::CPF_DisableEditOnTemplate },
			{ "EditDefaultsOnly", Flags::CPF_Edit | Flags::CPF_DisableEditOnInstance },
			{ "VisibleAnywhere", Flags::CPF_Edit | Flags::CPF_EditConst },
			{ "VisibleInstanceOnly", Flags::CPF_Edit | Flags::CPF_EditConst | Flags::CPF_DisableEditOnTemplate },
			{ "VisibleDefaultsOnly", Flags::CPF_Edit | Flags::CPF_EditConst | Flags::CPF_DisableEditOnInstance },
			{ "BlueprintReadWrite", Flags::CPF_BlueprintVisible },
			{ "BlueprintReadOnly", Flags::CPF_BlueprintVisible | Flags::CPF_BlueprintReadOnly },
			{ "BlueprintAssignable", Flags::CPF_BlueprintAssignable },
			{ "BlueprintCallable", Flags::CPF_BlueprintCallable },
			{ "BlueprintAuthorityOnly", Flags::CPF_BlueprintAuthorityOnly },
			{ "Config", Flags::CPF_Config },
			{ "GlobalConfig", Flags::CPF_GlobalConfig | Flags::CPF_Config },
			{ "Transient", Flags::CPF_Transient },
			{ "DuplicateTransient", Flags::CPF_DuplicateTransient },
			{ "TextExportTransient", Flags::CPF_TextExportTransient },
			{ "NonPIEDuplicateTransient", Flags::CPF_NonPIEDuplicateTransient },
			{ "Export", Flags::CPF_ExportObject },
			{ "Instanced", Flags::CPF_PersistentInstance | Flags::CPF_ExportObject | Flags::CPF_InstancedReference },
			{ "NoClear", Flags::CPF_NoClear },
			{ "EditFixedSize", Flags::CPF_EditFixedSize },
			{ "Replicated", Flags::CPF_Net },
			{ "ReplicatedUsing", Flags::CPF_Net | Flags::CPF_RepNotify },
			{ "NotReplicated", Flags::CPF_RepSkip },
			{ "Interp", Flags::CPF_Edit | Flags::CPF_BlueprintVisible | Flags::CPF_Interp },
			{ "NonTransactional", Flags::CPF_NonTransactional },
			{ "AssetRegistrySearchable", Flags::CPF_AssetRegistrySearchable },
			{ "SimpleDisplay", Flags::CPF_SimpleDisplay },
			{ "AdvancedDisplay", Flags::CPF_AdvancedDisplay },
			{ "SaveGame", Flags::CPF_SaveGame },
			{ "SkipSerialization", Flags::CPF_SkipSerialization },
		};

		struct FClassSpecifierFlags
		{
			const char* Key;
			uint32_t Add;
			uint32_t Remove;
		};

		// Config=Name is handled with the class's config name; Within, ClassGroup and the
		// editor-only specifiers set no flag.
		const FClassSpecifierFlags ClassTable[] = {
			{ "Abstract", Flags::CLASS_Abstract, 0 },
			{ "DefaultConfig", Flags::CLASS_DefaultConfig, 0 },
			{ "Transient", Flags::CLASS_Transient, 0 },
			{ "NonTransient", 0, Flags::CLASS_Transient },
			{ "Optional", Flags::CLASS_Optional, 0 },
			{ "PerObjectConfig", Flags::CLASS_PerObjectConfig, 0 },
			{ "ConfigDoNotCheckDefaults", Flags::CLASS_ConfigDoNotCheckDefaults, 0 },
			{ "EditInlineNew", Flags::CLASS_EditInlineNew, 0 },
			{ "NotEditInlineNew", 0, Flags::CLASS_EditInlineNew },
			{ "NotPlaceable", Flags::CLASS_NotPlaceable, 0 },
			{ "Placeable", 0, Flags::CLASS_NotPlaceable },
			{ "DefaultToInstanced", Flags::CLASS_DefaultToInstanced, 0 },
			{ "HideDropdown", Flags::CLASS_HideDropDown, 0 },
			{ "Const", Flags::CLASS_Const, 0 },
			{ "Deprecated", Flags::CLASS_Deprecated | Flags::CLASS_NotPlaceable, 0 },
			{ "GlobalUserConfig", Flags::CLASS_GlobalUserConfig, 0 },
			{ "ProjectUserConfig", Flags::CLASS_ProjectUserConfig, 0 },
			{ "CollapseCategories", Flags::CLASS_CollapseCategories, 0 },
			{ "DontCollapseCategories", 0, Flags::CLASS_CollapseCategories },
			{ "MinimalAPI", Flags::CLASS_MinimalAPI, 0 },
			{ "MatchedSerializers", Flags::CLASS_MatchedSerializers, 0 },
		};
	}

	uint64_t PropertySpecifierFlags(const FSpecifierList& Specifiers)
	{
		uint64_t Result = 0;
		for (const FSpecifier& Specifier : Specifiers.Specifiers)
		{
			for (const FPropertySpecifierFlags& Entry : PropertyTable)
			{
				if (EqualsIgnoreCase(Specifier.Key, Entry.Key))
				{
					Result |= Entry.Flags;
				}
			}
		}
		return Result;
	}

	uint32_t ApplyClassSpecifierFlags(const FSpecifierList& Specifiers, uint32_t Flags)
	{
		for (const FSpecifier& Specifier : Specifiers.Specifiers)
		{
			for (const FClassSpecifierFlags& Entry : ClassTable)
			{
				if (EqualsIgnoreCase(Specifier.Key, Entry.Key))
				{
					Flags = (Flags & ~Entry.Remove) | Entry.Add;
				}
			}
		}
		return Flags;
	}

	uint32_t StructSpecifierFlags(const FSpecifierList& Specifiers)
	{
		uint32_t Result = 0;
		if (FindSpecifier(Specifiers, "Atomic"))
		{
			Result |= Flags::STRUCT_Atomic;
		}
		if (FindSpecifier(Specifiers, "Immutable"))
		{
			// An immutable struct is serialized as a whole, as an atomic one is.
			Result |= Flags::STRUCT_Immutable | Flags::STRUCT_Atomic;
		}
		return Result;
	}
}
