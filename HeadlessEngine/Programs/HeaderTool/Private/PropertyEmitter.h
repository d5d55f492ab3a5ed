#pragma once

#include "GenCppContext.h"
#include "Model.h"

#include <string>
#include <vector>

namespace HeaderTool
{
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
