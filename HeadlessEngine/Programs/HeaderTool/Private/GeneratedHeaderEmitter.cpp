#include "GeneratedHeaderEmitter.h"

#include "CodeText.h"
#include "FunctionEmitter.h"
#include "ReflectionFlags.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <vector>

namespace HeaderTool
{
	namespace
	{
		std::string Upper(const std::string& Text)
		{
			std::string Result = Text;
			for (char& C : Result)
			{
				C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
			}
			return Result;
		}

		/** A #define whose body lines are joined by line continuations. */
		std::string Macro(const std::string& Name, const std::vector<std::string>& Lines)
		{
			std::string Result = "#define " + Name + " \\\n";
			for (size_t Index = 0; Index < Lines.size(); ++Index)
			{
				Result += Lines[Index] + (Index + 1 < Lines.size() ? " \\\n" : "\n");
			}
			return Result;
		}

		std::string CompiledInFlags(uint32_t Flags)
		{
			// Written as the engine's tool writes it: "CLASS_Abstract" or "0" first, then " | CLASS_..." for the rest.
			std::string Result = (Flags & Flags::CLASS_Abstract) != 0 ? "CLASS_Abstract" : "0";
			for (const auto& Entry : Flags::CompiledInClassFlagNames)
			{
				if (Entry.Flag != Flags::CLASS_Abstract && (Flags & Entry.Flag) != 0)
				{
					Result += " | " + std::string(Entry.Name);
				}
			}
			return "COMPILED_IN_FLAGS(" + Result + ")";
		}

		/** The cast flag a class declares: its own, if the engine gives its name one. */
		std::string ClassCastFlagsOf(const FStructLike& Class)
		{
			for (const char* Name : Flags::ClassNamesWithCastFlags)
			{
				if (Class.Name == Name)
				{
					return "CASTCLASS_" + Class.Name;
				}
			}
			return "CASTCLASS_None";
		}

		/** The API of the members the generated body declares: a MinimalAPI class exports only those; an exported class exports them anyway. */
		std::string ApiOrNone(const FModule& Module, const FStructLike& Class)
		{
			const bool bMinimalOnly = (Class.ClassFlags & Flags::CLASS_MinimalAPI) != 0 && (Class.ClassFlags & Flags::CLASS_RequiredAPI) == 0;
			return bMinimalOnly ? Module.ApiMacro : "NO_API";
		}

		std::string EmitDelegate(const FModule& Module, const FHeader& Header, const FDelegate& Delegate)
		{
			return Macro(Header.FileId + "_" + std::to_string(Delegate.Line) + "_DELEGATE", { Module.ApiMacro + " " + DelegateWrapperSignature(Delegate) + ";" }) + "\n";
		}

		std::string EmitStruct(const FModule& Module, const FHeader& Header, const FStructLike& Struct)
		{
			std::vector<std::string> Lines = {
				"\tfriend struct Z_Construct_UScriptStruct_" + Struct.Name + "_Statics;",
				"\tstatic class UScriptStruct* StaticStruct();",
			};
			if (Struct.bSuperIsReflected)
			{
				Lines.push_back("\ttypedef " + Struct.SuperName + " Super;");
			}
			return Macro(Header.FileId + "_" + std::to_string(Struct.GeneratedBodyLine) + "_GENERATED_BODY", Lines)
				+ "template<> " + Module.ApiMacro + " UScriptStruct* StaticStruct<struct " + Struct.Name + ">();\n\n";
		}

		std::string EmitClass(const FModule& Module, const FHeader& Header, const FStructLike& Class)
		{
			const std::string Api = ApiOrNone(Module, Class);
			std::vector<std::string> Lines;
			if (!Class.Functions.empty())
			{
				Lines.push_back("public:");
			}
			for (const FFunction& Function : Class.Functions)
			{
				Lines.push_back("\tDECLARE_FUNCTION(exec" + Function.Name + ");");
			}
			Lines.push_back("private:");
			Lines.push_back("\tstatic void StaticRegisterNatives" + Class.Name + "();");
			Lines.push_back("\tfriend struct Z_Construct_UClass_" + Class.Name + "_Statics;");
			Lines.push_back("public:");
			Lines.push_back("\tDECLARE_CLASS(" + Class.Name + ", " + Class.SuperName + ", " + CompiledInFlags(Class.StaticClassFlags)
				+ ", " + ClassCastFlagsOf(Class) + ", TEXT(\"/Script/" + Module.Name + "\"), " + Api + ")");
			if (Class.bOwnConfigName)
			{
				Lines.push_back("\tstatic const TCHAR* StaticConfigName() { return TEXT(" + CodeText::Quote(Class.ConfigName) + "); }");
			}
			if (!Class.WithinClass.empty())
			{
				Lines.push_back("\tDECLARE_WITHIN(" + Class.WithinClass + ")");
			}
			// The legacy body declares the object-initializer constructor itself; a class without
			// constructors gets one here, taking an initializer when its super class does.
			const bool bGeneratesConstructor = !Class.Constructors.bDeclaresAny && !Class.bLegacyGeneratedBody;
			bool bObjectInitializerCall = Class.bLegacyGeneratedBody || (Class.Constructors.bDeclaresObjectInitializer && !Class.Constructors.bDeclaresDefault);
			if (Class.bLegacyGeneratedBody && !Class.Constructors.bDeclaresObjectInitializer)
			{
				Lines.push_back("\t" + Api + " " + Class.Name + "(const FObjectInitializer& ObjectInitializer);");
			}
			if (bGeneratesConstructor && Class.bTakesObjectInitializer)
			{
				Lines.push_back("\t" + Class.Name + "(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get()) : Super(ObjectInitializer) {}");
				bObjectInitializerCall = true;
			}
			else if (bGeneratesConstructor)
			{
				Lines.push_back("\t" + Class.Name + "() = default;");
			}
			Lines.push_back(std::string("\t") + (bObjectInitializerCall ? "DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(" : "DEFINE_DEFAULT_CONSTRUCTOR_CALL(") + Class.Name + ")");
			if (!Class.Constructors.bDeclaresVTableHelper)
			{
				Lines.push_back("\t" + Api + " " + Class.Name + "(FVTableHelper& Helper);");
			}
			Lines.push_back("private:");
			Lines.push_back("\t" + Class.Name + "(" + Class.Name + "&&) = delete;");
			Lines.push_back("\t" + Class.Name + "(const " + Class.Name + "&) = delete;");
			Lines.push_back(Class.bLegacyGeneratedBody ? "public:" : "private:");

			const std::string Prefix = Header.FileId + "_" + std::to_string(Class.GeneratedBodyLine);
			std::string Result = Macro(Prefix + "_GENERATED_BODY", Lines);
			if (Class.bLegacyGeneratedBody)
			{
				Result += Macro(Prefix + "_GENERATED_BODY_LEGACY", Lines);
			}
			// Exported even for a class whose members are not: other modules reach its class object through it.
			return Result + "template<> " + Module.ApiMacro + " UClass* StaticClass<class " + Class.Name + ">();\n\n";
		}

		std::string EmitEnum(const FModule& Module, const FEnum& Enum)
		{
			std::vector<std::string> Lines;
			for (const FEnumEntry& Entry : Enum.Entries)
			{
				Lines.push_back("\top(" + Enum.EntryPrefix() + Entry.Name + ")");
			}
			std::string Result = Macro("FOREACH_ENUM_" + Upper(Enum.Name) + "(op)", Lines);
			if (Enum.Form == EEnumForm::EnumClass)
			{
				Result += "enum class " + Enum.Name + (Enum.UnderlyingType.empty() ? "" : " : " + Enum.UnderlyingType) + ";\n";
				Result += "template<> " + Module.ApiMacro + " UEnum* StaticEnum<" + Enum.Name + ">();\n";
			}
			return Result + "\n";
		}
	}

	std::string EmitGeneratedHeader(const FModule& Module, const FHeader& Header)
	{
		std::string ModuleUpper = Module.ApiMacro;
		if (ModuleUpper.size() > 4 && ModuleUpper.compare(ModuleUpper.size() - 4, 4, "_API") == 0)
		{
			ModuleUpper.resize(ModuleUpper.size() - 4);
		}
		const std::string Guard = ModuleUpper + "_" + Header.Stem + "_generated_h";
		std::string Text;
		Text += "// Generated by HeadlessHeaderTool from " + Header.ModuleRelativePath + ". Do not edit.\n";
		Text += "#include \"UObject/ObjectMacros.h\"\n";
		Text += "#include \"UObject/ScriptMacros.h\"\n\n";
		Text += "#ifdef " + Guard + "\n";
		Text += "#error \"" + Header.Stem + ".generated.h already included, missing '#pragma once' in " + Header.Stem + ".h\"\n";
		Text += "#endif\n";
		Text += "#define " + Guard + "\n\n";
		Text += "#undef CURRENT_FILE_ID\n";
		Text += "#define CURRENT_FILE_ID " + Header.FileId + "\n\n";

		// Declarations in source order, so the file reads like the header it belongs to.
		std::vector<std::pair<int, std::function<std::string()>>> Parts;
		for (const auto& Delegate : Header.Delegates)
		{
			Parts.emplace_back(Delegate->Line, [&]() { return EmitDelegate(Module, Header, *Delegate); });
		}
		for (const auto& Struct : Header.Structs)
		{
			Parts.emplace_back(Struct->Line, [&]() { return EmitStruct(Module, Header, *Struct); });
		}
		for (const auto& Class : Header.Classes)
		{
			Parts.emplace_back(Class->Line, [&]() { return EmitClass(Module, Header, *Class); });
		}
		for (const auto& Enum : Header.Enums)
		{
			Parts.emplace_back(Enum->Line, [&]() { return EmitEnum(Module, *Enum); });
		}
		std::stable_sort(Parts.begin(), Parts.end(), [](const auto& A, const auto& B) { return A.first < B.first; });
		for (const auto& Part : Parts)
		{
			Text += Part.second();
		}
		return Text;
	}
}
