#pragma once

#include "Model.h"
#include "TypeRegistry.h"

#include <set>
#include <string>

namespace HeaderTool
{
	/**
	 * State shared while one .gen.cpp is written: the module, the type registry, and every
	 * constructor function the text refers to, so that each gets declared before use.
	 */
	class FGenCppContext
	{
	public:
		FGenCppContext(const FModule& InModule, const FTypeRegistry& InRegistry);

		// Names of constructor functions; each call also records the function's declaration.
		std::string ClassConstructor(const std::string& ClassName);
		std::string ClassNoRegister(const std::string& ClassName);
		std::string StructConstructor(const std::string& StructName);
		std::string EnumConstructor(const std::string& EnumName);
		std::string DelegateConstructor(const std::string& DelegateName);

		// Names only, for the types the module defines itself.
		static std::string EnumConstructorName(const FEnum& Enum);
		static std::string DelegateConstructorName(const FDelegate& Delegate);

		const FModule& Module;
		const FTypeRegistry& Registry;
		/** "/Script/<Module>". */
		const std::string PackageName;
		const std::string PackageConstructor;
		/** Declarations "UClass* Z_Construct_UClass_X();" of everything referenced. */
		std::set<std::string> ReferencedDeclarations;
	};
}
