#pragma once

#include "GenCppContext.h"
#include "Model.h"

#include <string>

namespace HeaderTool
{
	/** StaticStruct(), the struct's operations, its property descriptors and its constructor function. */
	std::string EmitStruct(FGenCppContext& Context, const FStructLike& Struct);
}
