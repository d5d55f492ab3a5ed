#pragma once

#include "Model.h"

#include <memory>
#include <string>

namespace HeaderTool
{
	/**
	 * Reads the reflected declarations of one header into Header (whose path fields are already
	 * set). Everything not annotated is stepped over. Throws FHeaderToolError on syntax the tool
	 * does not support.
	 */
	void ParseHeader(const std::string& Source, FHeader& Header);
}
