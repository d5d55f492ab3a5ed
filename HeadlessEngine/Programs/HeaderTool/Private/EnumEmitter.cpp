#include "EnumEmitter.h"

#include "CodeText.h"
#include "PropertyEmitter.h"
#include "MacroArgumentList.h"

namespace HeaderTool
{
	namespace
	{
		const char* CppFormName(EEnumForm Form)
		{
			switch (Form)
			{
			case EEnumForm::EnumClass: return "EnumClass";
			case EEnumForm::Namespaced: return "Namespaced";
			case EEnumForm::Regular: return "Regular";
			}
			return "";
		}
	}

	std::string EmitEnum(FGenCppContext& Context, const FEnum& Enum)
	{
		const std::string Constructor = FGenCppContext::EnumConstructorName(Enum);
		const std::string Info = "Z_Registration_Info_UEnum_" + Enum.Name;
		const std::string Statics = Constructor + "_Statics";
		std::string Out = "static FEnumRegistrationInfo " + Info + ";\n";
		Out += "template<> " + Context.Module.ApiMacro + " UEnum* StaticEnum<" + Enum.CppType() + ">()\n{\n";
		Out += "\treturn " + Constructor + "();\n}\n";
		Out += "struct " + Statics + "\n{\n";
		Out += "\tstatic const UECodeGen_Private::FEnumeratorParam Enumerators[];\n";
		Out += "\tstatic const UECodeGen_Private::FMetaDataPairParam Enum_MetaDataParams[];\n";
		Out += "\tstatic const UECodeGen_Private::FEnumParams EnumParams;\n";
		Out += "};\n";
		Out += "const UECodeGen_Private::FEnumeratorParam " + Statics + "::Enumerators[] = {\n";
		for (const FEnumEntry& Entry : Enum.Entries)
		{
			// Registered under the full name; the value is whatever the compiler gives the enumerator.
			const std::string Qualified = Enum.EntryPrefix() + Entry.Name;
			Out += "\t{ " + CodeText::Quote(Qualified) + ", (int64)" + (Enum.Form == EEnumForm::Regular ? Entry.Name : Qualified) + " },\n";
		}
		Out += "};\n";
		DefineMetadataArray(Out, Statics + "::Enum_MetaDataParams", Enum.Metadata);
		Out += "const UECodeGen_Private::FEnumParams " + Statics + "::EnumParams = {\n";
		Out += "\t" + CodeText::ObjectLambda(Context.PackageConstructor) + ",\n";
		Out += "\tnullptr,\n";
		Out += "\t" + CodeText::Quote(Enum.Name) + ",\n";
		Out += "\t" + CodeText::Quote(Enum.CppType()) + ",\n";
		Out += "\tEnumerators, UE_ARRAY_COUNT(Enumerators),\n";
		Out += "\t" + std::string(CodeText::NativeObjectFlags) + ",\n";
		Out += std::string("\t") + (FindSpecifier(Enum.Specifiers, "Flags") ? "EEnumFlags::Flags" : "EEnumFlags::None") + ",\n";
		Out += "\t(uint8)UEnum::ECppForm::" + std::string(CppFormName(Enum.Form)) + ",\n";
		Out += "\tEnum_MetaDataParams, UE_ARRAY_COUNT(Enum_MetaDataParams) };\n";
		Out += "UEnum* " + Constructor + "()\n{\n";
		Out += "\tif (!" + Info + ".InnerSingleton)\n\t{\n";
		Out += "\t\tUECodeGen_Private::ConstructUEnum(" + Info + ".InnerSingleton, " + Statics + "::EnumParams);\n";
		Out += "\t}\n\treturn " + Info + ".InnerSingleton;\n}\n\n";
		return Out;
	}
}
