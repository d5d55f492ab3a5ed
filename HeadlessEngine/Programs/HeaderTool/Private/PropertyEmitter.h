#pragma once

#include "Model.h"
#include "TypeRegistry.h"

#include <set>
#include <string>
#include <vector>

namespace HeaderTool
{
	/**
	 * State shared while one .gen.cpp is written: the module, the type registry, and every
	 * constructor function the text refers to, so that each gets declared before use.
	 */
	class FGenCppContext
	{
	public:
		FGenCppContext(const FModule& InModule, const FTypeRegistry& InRegistry)
			: Module(InModule)
			, Registry(InRegistry)
		{
		}

		std::string ClassConstructor(const std::string& ClassName);
		std::string ClassNoRegister(const std::string& ClassName);
		std::string StructConstructor(const std::string& StructName);
		std::string EnumConstructor(const std::string& EnumName);
		std::string DelegateConstructor(const std::string& DelegateName);
		static std::string DelegateConstructorName(const FDelegate& Delegate);

		const FModule& Module;
		const FTypeRegistry& Registry;
		/** Declarations "UClass* Z_Construct_UClass_X();" of everything referenced. */
		std::set<std::string> ReferencedDeclarations;
	};

	/** One property descriptor to write: a member or a parameter. */
	struct FPropertyToEmit
	{
		std::string Name;
		const FMappedType* Mapped = nullptr;
		uint64_t PropertyFlags = 0;
		const FMetadata* Metadata = nullptr;
	};

	FPropertyToEmit MakePropertyToEmit(const FProperty& Property);
	FPropertyToEmit MakePropertyToEmit(const FParameter& Parameter);

	/** Declarations inside a Statics struct for the properties, ending with PropPointers when there are any. */
	void DeclareProperties(std::string& Out, const std::vector<FPropertyToEmit>& Properties);

	/** Definitions of the metadata arrays, descriptors and PropPointers declared by DeclareProperties. */
	void DefineProperties(std::string& Out, FGenCppContext& Context, const std::string& Statics, const std::string& OffsetOwner, const std::vector<FPropertyToEmit>& Properties);

	/** `{ "Key", "Value" },` lines of a FMetaDataPairParam array definition. */
	void DefineMetadataArray(std::string& Out, const std::string& QualifiedName, const FMetadata& Metadata);

	/** The parameter block of a function or delegate: `struct Name { T A; ...; R ReturnValue; };`. */
	std::string ParmsStruct(const std::string& Name, const std::vector<FParameter>& Parameters, const FParameter* ReturnValue, const std::string& Indent);
}
