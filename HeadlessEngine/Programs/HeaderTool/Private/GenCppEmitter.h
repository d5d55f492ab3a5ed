#pragma once

#include "Model.h"
#include "TypeRegistry.h"

#include <cstdint>
#include <string>

namespace HeaderTool
{
	/**
	 * The text of "<Module>.gen.cpp": the reflection descriptors and thunks of every type of the
	 * module, and its registration records. DeclarationsHash is the hash of the generated headers.
	 */
	std::string EmitGenCpp(const FModule& Module, const FTypeRegistry& Registry, uint32_t DeclarationsHash);
}
