#pragma once

#include "GenCppContext.h"
#include "Model.h"

#include <string>

namespace HeaderTool
{
	/**
	 * Everything the .gen.cpp holds for one class: the native entries of its functions and their
	 * registration, the functions' descriptors, the private static-class function, the class's
	 * descriptor and its constructor function.
	 */
	std::string EmitClass(FGenCppContext& Context, const FStructLike& Class);
}
