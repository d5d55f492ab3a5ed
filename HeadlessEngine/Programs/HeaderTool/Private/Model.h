#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace HeaderTool
{
	enum class EAccess
	{
		Public,
		Protected,
		Private,
	};

	/** One entry of a specifier list: `Word`, `Word=Value`, `Word=(a,b)`. Keys of meta=(...) land in FMetadata instead. */
	struct FSpecifier
	{
		std::string Key;
		std::string Value;
		std::vector<std::string> Values;
		bool bHasValue = false;
		int Line = 0;
	};

	/** Metadata key -> value; std::map keeps the emitted order sorted by key. */
	using FMetadata = std::map<std::string, std::string>;

	struct FSpecifierList
	{
		std::vector<FSpecifier> Specifiers;
		FMetadata Meta;
		int Line = 0;
	};

	/** What a C++ type maps to in the reflection data. Filled by the type mapper. */
	enum class EPropertyKind
	{
		Bool,
		Byte,
		Int,
		Int64,
		Float,
		Double,
		Str,
		Name,
		Text,
		Struct,
		Object,
		Class,
		InlineMulticastDelegate,
		SparseMulticastDelegate,
	};

	struct FMappedType
	{
		EPropertyKind Kind = EPropertyKind::Int;
		/** The type of the slot in a parameter block, and of the member for sizeof. */
		std::string SlotType;
		/** UClass / UScriptStruct / UEnum / delegate named by the descriptor, when the kind names one. */
		std::string ClassName;
		std::string MetaClassName;
		std::string StructName;
		std::string EnumName;
		std::string DelegateName;
		/** How a native value of the declared type is made from the thunk's byte local, e.g. "EEndPlayReason::Type(X)". Empty means pass as is. */
		std::string ArgumentCastPrefix;
		/** A uint8 enum class: the thunk reads it with P_GET_ENUM, as its own type. */
		bool bEnumClass = false;
	};

	struct FParsedType
	{
		/** The type as written, without the name, e.g. "const FFixtureStruct&". */
		std::string Text;
		/** The type with top-level const and reference removed, e.g. "FFixtureStruct". */
		std::string BaseText;
		bool bConst = false;
		bool bReference = false;
	};

	struct FProperty
	{
		std::string Name;
		FParsedType Type;
		FMappedType Mapped;
		FSpecifierList Specifiers;
		FMetadata Metadata;
		EAccess Access = EAccess::Public;
		uint64_t PropertyFlags = 0;
		int Line = 0;
	};

	struct FParameter
	{
		std::string Name;
		FParsedType Type;
		FMappedType Mapped;
		/** UPARAM(...) written before the type. */
		FSpecifierList Specifiers;
		/** The C++ default argument as written, e.g. "TEXT(\"x\")"; empty when there is none. */
		std::string DefaultValue;
		uint64_t PropertyFlags = 0;
		FMetadata Metadata;
		int Line = 0;
	};

	struct FFunction
	{
		std::string Name;
		std::vector<FParameter> Parameters;
		/** Absent for void. Named "ReturnValue". */
		std::optional<FParameter> ReturnValue;
		FSpecifierList Specifiers;
		FMetadata Metadata;
		EAccess Access = EAccess::Public;
		bool bStatic = false;
		bool bConst = false;
		/** Declared with the module's API macro. */
		bool bExported = false;
		uint32_t FunctionFlags = 0;
		int Line = 0;
	};

	struct FDelegate
	{
		/** C++ type name, e.g. "FActorEndPlaySignature". */
		std::string Name;
		bool bSparse = false;
		std::string OwningClass;
		std::string MemberName;
		std::vector<FParameter> Parameters;
		FMetadata Metadata;
		/** Module that declares it; names its signature constructor. */
		std::string Module;
		int Line = 0;
	};

	enum class EEnumForm
	{
		EnumClass,
		Namespaced,
		Regular,
	};

	struct FEnumEntry
	{
		std::string Name;
		/** UMETA(...) keys and the entry's own comment. */
		FMetadata Meta;
		int Line = 0;
	};

	struct FEnum
	{
		/** "EFixtureMood"; for the namespaced form the namespace name. */
		std::string Name;
		EEnumForm Form = EEnumForm::EnumClass;
		/** Underlying type as written; empty when none is given. */
		std::string UnderlyingType;
		std::vector<FEnumEntry> Entries;
		FSpecifierList Specifiers;
		FMetadata Metadata;
		/** Module that declares it; names its constructor function. */
		std::string Module;
		int Line = 0;

		/** The C++ type: "EName" or "EName::Type". */
		std::string CppType() const
		{
			return Form == EEnumForm::Namespaced ? Name + "::Type" : Name;
		}
		/** The prefix of entry names: "EName::" except for the regular form. */
		std::string EntryPrefix() const
		{
			return Form == EEnumForm::Regular ? std::string() : Name + "::";
		}
	};

	struct FConstructorInfo
	{
		bool bDeclaresAny = false;
		/** A constructor without parameters. */
		bool bDeclaresDefault = false;
		bool bDeclaresObjectInitializer = false;
		bool bDeclaresVTableHelper = false;
	};

	/** A UCLASS or USTRUCT. */
	struct FStructLike
	{
		std::string Name;
		std::string SuperName;
		/** For structs: whether SuperName is itself a USTRUCT (a plain C++ base is allowed). */
		bool bSuperIsReflected = false;
		bool bIsClass = false;
		/** The API macro written between `class` and the name, if any. */
		std::string ApiMacro;
		std::vector<FProperty> Properties;
		std::vector<FFunction> Functions;
		FSpecifierList Specifiers;
		FMetadata Metadata;
		FConstructorInfo Constructors;
		/** Struct flags written into the descriptor (structs only). */
		uint32_t StructFlags = 0;
		int Line = 0;
		int GeneratedBodyLine = 0;
		bool bLegacyGeneratedBody = false;

		// Class attributes, resolved after all headers are read.
		/** The subset of ClassFlags a class states about itself in COMPILED_IN_FLAGS(...). */
		uint32_t StaticClassFlags = 0;
		/** Specifier and inherited flags, CLASS_RequiredAPI / CLASS_MinimalAPI, and what the members imply. */
		uint32_t ClassFlags = 0;
		std::string ConfigName;
		bool bOwnConfigName = false;
		std::string WithinClass;
		/** Whether the class can be built from an FObjectInitializer: its own constructor, or the one generated for it, takes one. */
		bool bTakesObjectInitializer = false;
	};

	struct FHeader
	{
		std::string Path;
		std::string ModuleRelativePath;
		std::string IncludePath;
		std::string Stem;
		std::string FileId;
		std::string Module;
		std::vector<std::unique_ptr<FStructLike>> Classes;
		std::vector<std::unique_ptr<FStructLike>> Structs;
		std::vector<std::unique_ptr<FEnum>> Enums;
		std::vector<std::unique_ptr<FDelegate>> Delegates;
	};

	struct FModule
	{
		std::string Name;
		std::string ApiMacro;
		/** Headers generated for, in module-relative-path order. */
		std::vector<std::unique_ptr<FHeader>> Headers;
		/** Headers of other modules, read for their declarations only. */
		std::vector<std::unique_ptr<FHeader>> DependencyHeaders;
	};
}
