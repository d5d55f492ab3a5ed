#include "GenCppContext.h"

#include "CodeText.h"

namespace HeaderTool
{
	FGenCppContext::FGenCppContext(const FModule& InModule, const FTypeRegistry& InRegistry)
		: Module(InModule)
		, Registry(InRegistry)
		, PackageName("/Script/" + InModule.Name)
		, PackageConstructor("Z_Construct_UPackage__Script_" + InModule.Name)
	{
	}

	std::string FGenCppContext::ClassConstructor(const std::string& ClassName)
	{
		const std::string Name = "Z_Construct_UClass_" + ClassName;
		ReferencedDeclarations.insert("UClass* " + Name + "();");
		return Name;
	}

	std::string FGenCppContext::ClassNoRegister(const std::string& ClassName)
	{
		const std::string Name = "Z_Construct_UClass_" + ClassName + "_NoRegister";
		ReferencedDeclarations.insert("UClass* " + Name + "();");
		return Name;
	}

	std::string FGenCppContext::StructConstructor(const std::string& StructName)
	{
		const std::string Name = "Z_Construct_UScriptStruct_" + StructName;
		ReferencedDeclarations.insert("UScriptStruct* " + Name + "();");
		return Name;
	}

	std::string FGenCppContext::EnumConstructor(const std::string& EnumName)
	{
		const std::string Name = EnumConstructorName(*Registry.FindEnum(EnumName));
		ReferencedDeclarations.insert("UEnum* " + Name + "();");
		return Name;
	}

	std::string FGenCppContext::DelegateConstructor(const std::string& DelegateName)
	{
		const std::string Name = DelegateConstructorName(*Registry.FindDelegate(DelegateName));
		ReferencedDeclarations.insert("UFunction* " + Name + "();");
		return Name;
	}

	std::string FGenCppContext::EnumConstructorName(const FEnum& Enum)
	{
		return "Z_Construct_UEnum_" + Enum.Module + "_" + Enum.Name;
	}

	std::string FGenCppContext::DelegateConstructorName(const FDelegate& Delegate)
	{
		return "Z_Construct_UDelegateFunction_" + Delegate.Module + "_" + CodeText::WithoutPrefix(Delegate.Name) + "__DelegateSignature";
	}
}
