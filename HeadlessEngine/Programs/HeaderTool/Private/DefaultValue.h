#pragma once

#include "Model.h"

#include <string>

namespace HeaderTool
{
	/**
	 * The "CPP_Default_<Param>" metadata value of a parameter's default argument, in the form the
	 * engine stores it: strings without TEXT(...) and quotes, "None" for null pointers and empty
	 * names, enumerators without their enum, floating-point numbers with six decimals. Fails on
	 * defaults that form cannot hold, such as constructed structs.
	 */
	std::string NormalizeDefaultValue(const FParameter& Parameter, const std::string& File);
}
