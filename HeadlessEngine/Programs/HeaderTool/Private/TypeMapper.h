#pragma once

#include "Model.h"
#include "TypeRegistry.h"

namespace HeaderTool
{
	enum class ETypeUsage
	{
		Member,
		Parameter,
		ReturnValue,
	};

	/**
	 * Maps a declared C++ type to its property kind and descriptor fields. Fails with
	 * "unsupported type '<T>'" for anything the reflection data cannot describe, and for
	 * parameters a native entry cannot read (non-const references to objects, enums and
	 * delegates).
	 */
	FMappedType MapType(const FParsedType& Type, ETypeUsage Usage, const FTypeRegistry& Registry, const std::string& File, int Line);

}
