#pragma once

#include "GenCppContext.h"
#include "Model.h"

#include <string>

namespace HeaderTool
{
	/** StaticEnum<E>(), the enum's descriptor and its constructor function. */
	std::string EmitEnum(FGenCppContext& Context, const FEnum& Enum);
}
