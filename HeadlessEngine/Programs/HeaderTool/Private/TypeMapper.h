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
	 * "unsupported type '<T>'" for anything the reflection data cannot describe.
	 */
	FMappedType MapType(const FParsedType& Type, ETypeUsage Usage, const FTypeRegistry& Registry, const std::string& File, int Line);

	/** The P_GET_* line of a thunk for one parameter, and the expression passed to the native call. */
	struct FThunkParameter
	{
		std::string Declaration;
		std::string Argument;
	};
	FThunkParameter MakeThunkParameter(const FParameter& Parameter, const std::string& File);
}
