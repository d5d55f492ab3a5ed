#pragma once

#include "Model.h"

#include <string>

namespace HeaderTool
{
	/** The text of "<Stem>.generated.h" for one of the module's headers. */
	std::string EmitGeneratedHeader(const FModule& Module, const FHeader& Header);
}
