#include "ClassEmitter.h"

#include "CodeText.h"
#include "FunctionEmitter.h"
#include "PropertyEmitter.h"
#include "ReflectionFlags.h"

#include <algorithm>

namespace HeaderTool
{
	namespace
	{
		/** The engine registers native entries and links functions in name order. */
		std::vector<const FFunction*> SortedByName(const std::vector<FFunction>& Functions)
		{
			std::vector<const FFunction*> Sorted;
			for (const FFunction& Function : Functions)
			{
				Sorted.push_back(&Function);
			}
			std::sort(Sorted.begin(), Sorted.end(), [](const FFunction* A, const FFunction* B) { return A->Name < B->Name; });
			return Sorted;
		}

		std::string EmitRegisterNatives(const FStructLike& Class, const std::vector<const FFunction*>& Functions)
		{
			std::string Out = "void " + Class.Name + "::StaticRegisterNatives" + Class.Name + "()\n{\n";
			if (!Functions.empty())
			{
				Out += "\tUClass* Class = " + Class.Name + "::StaticClass();\n";
				Out += "\tstatic const FNameNativePtrPair Funcs[] = {\n";
				for (const FFunction* Function : Functions)
				{
					Out += "\t\t{ " + CodeText::Quote(Function->Name) + ", &" + Class.Name + "::exec" + Function->Name + " },\n";
				}
				Out += "\t};\n";
				Out += "\tFNativeFunctionRegistrar::RegisterFunctions(Class, Funcs, UE_ARRAY_COUNT(Funcs));\n";
			}
			return Out + "}\n";
		}
	}

	std::string EmitClass(FGenCppContext& Context, const FStructLike& Class)
	{
		const std::string Constructor = "Z_Construct_UClass_" + Class.Name;
		const std::string Info = "Z_Registration_Info_UClass_" + Class.Name;
		const std::string Statics = Constructor + "_Statics";
		const std::vector<const FFunction*> Functions = SortedByName(Class.Functions);

		std::string Out;
		for (const FFunction& Function : Class.Functions)
		{
			Out += EmitThunk(Class, Function);
		}
		Out += EmitRegisterNatives(Class, Functions);
		for (const FFunction& Function : Class.Functions)
		{
			Out += EmitFunction(Context, Class, Function);
		}

		std::vector<FPropertyToEmit> Properties;
		for (const FProperty& Property : Class.Properties)
		{
			Properties.push_back(MakePropertyToEmit(Property));
		}
		Out += "static FClassRegistrationInfo " + Info + ";\n";
		Out += "IMPLEMENT_CLASS_NO_AUTO_REGISTRATION(" + Class.Name + ");\n";
		Out += "UClass* " + Constructor + "_NoRegister()\n{\n\treturn " + Class.Name + "::StaticClass();\n}\n";
		Out += "struct " + Statics + "\n{\n";
		Out += "\tstatic UObject* (*const DependentSingletons[])();\n";
		if (!Functions.empty())
		{
			Out += "\tstatic const FClassFunctionLinkInfo FuncInfo[];\n";
		}
		Out += "\tstatic const UECodeGen_Private::FMetaDataPairParam Class_MetaDataParams[];\n";
		DeclareProperties(Out, Properties);
		Out += "\tstatic const UECodeGen_Private::FClassParams ClassParams;\n";
		Out += "};\n";
		// The super class and the package are built before the class itself.
		Out += "UObject* (*const " + Statics + "::DependentSingletons[])() = {\n";
		Out += "\t" + CodeText::ObjectLambda(Context.ClassConstructor(Class.SuperName)) + ",\n";
		Out += "\t" + CodeText::ObjectLambda(Context.PackageConstructor) + ",\n";
		Out += "};\n";
		if (!Functions.empty())
		{
			Out += "const FClassFunctionLinkInfo " + Statics + "::FuncInfo[] = {\n";
			for (const FFunction* Function : Functions)
			{
				Out += "\t{ &Z_Construct_UFunction_" + Class.Name + "_" + Function->Name + ", " + CodeText::Quote(Function->Name) + " },\n";
			}
			Out += "};\n";
		}
		DefineMetadataArray(Out, Statics + "::Class_MetaDataParams", Class.Metadata);
		DefineProperties(Out, Context, Statics, Class.Name, Properties);
		Out += "const UECodeGen_Private::FClassParams " + Statics + "::ClassParams = {\n";
		Out += "\t&" + Class.Name + "::StaticClass,\n";
		Out += "\t" + (Class.bOwnConfigName ? CodeText::Quote(Class.ConfigName) : std::string("nullptr")) + ",\n";
		Out += "\tDependentSingletons, UE_ARRAY_COUNT(DependentSingletons),\n";
		Out += "\t" + CodeText::ArrayOrNull(!Functions.empty(), "FuncInfo") + ",\n";
		Out += "\t" + CodeText::ArrayOrNull(!Properties.empty(), "PropPointers") + ",\n";
		Out += "\t" + CodeText::Hex32(Class.ClassFlags | Flags::CLASS_Native | Flags::CLASS_MatchedSerializers) + "u,\n";
		Out += "\tClass_MetaDataParams, UE_ARRAY_COUNT(Class_MetaDataParams) };\n";
		Out += "UClass* " + Constructor + "()\n{\n";
		Out += "\tif (!" + Info + ".OuterSingleton)\n\t{\n";
		Out += "\t\tUECodeGen_Private::ConstructUClass(" + Info + ".OuterSingleton, " + Statics + "::ClassParams);\n";
		Out += "\t}\n\treturn " + Info + ".OuterSingleton;\n}\n";
		Out += "template<> " + Context.Module.ApiMacro + " UClass* StaticClass<" + Class.Name + ">()\n{\n\treturn " + Class.Name + "::StaticClass();\n}\n";
		if (!Class.Constructors.bDeclaresVTableHelper)
		{
			Out += "DEFINE_VTABLE_PTR_HELPER_CTOR(" + Class.Name + ");\n";
		}
		return Out + "\n";
	}
}
