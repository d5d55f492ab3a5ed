#include "StructEmitter.h"

#include "CodeText.h"
#include "PropertyEmitter.h"

namespace HeaderTool
{
	std::string EmitStruct(FGenCppContext& Context, const FStructLike& Struct)
	{
		const std::string Constructor = "Z_Construct_UScriptStruct_" + Struct.Name;
		const std::string Info = "Z_Registration_Info_UScriptStruct_" + Struct.Name;
		const std::string Statics = Constructor + "_Statics";
		std::vector<FPropertyToEmit> Properties;
		for (const FProperty& Property : Struct.Properties)
		{
			Properties.push_back(MakePropertyToEmit(Property));
		}
		std::string Out = "static FStructRegistrationInfo " + Info + ";\n";
		Out += "class UScriptStruct* " + Struct.Name + "::StaticStruct()\n{\n\treturn " + Constructor + "();\n}\n";
		Out += "template<> " + Context.Module.ApiMacro + " UScriptStruct* StaticStruct<" + Struct.Name + ">()\n{\n\treturn " + Struct.Name + "::StaticStruct();\n}\n";
		Out += "struct " + Statics + "\n{\n";
		Out += "\tstatic const UECodeGen_Private::FMetaDataPairParam Struct_MetaDataParams[];\n";
		Out += "\tstatic void* NewStructOps()\n\t{\n";
		Out += "\t\treturn (UScriptStruct::ICppStructOps*)new UScriptStruct::TCppStructOps<" + Struct.Name + ">();\n\t}\n";
		DeclareProperties(Out, Properties);
		Out += "\tstatic const UECodeGen_Private::FStructParams StructParams;\n";
		Out += "};\n";
		DefineMetadataArray(Out, Statics + "::Struct_MetaDataParams", Struct.Metadata);
		DefineProperties(Out, Context, Statics, Struct.Name, Properties);
		Out += "const UECodeGen_Private::FStructParams " + Statics + "::StructParams = {\n";
		Out += "\t" + CodeText::ObjectLambda(Context.PackageConstructor) + ",\n";
		Out += "\t" + (Struct.bSuperIsReflected ? Context.StructConstructor(Struct.SuperName) : std::string("nullptr")) + ",\n";
		Out += "\t&NewStructOps,\n";
		Out += "\t" + CodeText::Quote(CodeText::WithoutPrefix(Struct.Name)) + ",\n";
		Out += "\t" + CodeText::ArrayOrNull(!Properties.empty(), "PropPointers") + ",\n";
		Out += "\tsizeof(" + Struct.Name + "), alignof(" + Struct.Name + "),\n";
		Out += "\t" + std::string(CodeText::NativeObjectFlags) + ",\n";
		Out += "\tEStructFlags(" + CodeText::Hex32(Struct.StructFlags) + "),\n";
		Out += "\tStruct_MetaDataParams, UE_ARRAY_COUNT(Struct_MetaDataParams) };\n";
		Out += "UScriptStruct* " + Constructor + "()\n{\n";
		Out += "\tif (!" + Info + ".InnerSingleton)\n\t{\n";
		Out += "\t\tUECodeGen_Private::ConstructUScriptStruct(" + Info + ".InnerSingleton, " + Statics + "::StructParams);\n";
		Out += "\t}\n\treturn " + Info + ".InnerSingleton;\n}\n\n";
		return Out;
	}
}
