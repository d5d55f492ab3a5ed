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

	/**
	 * A module's own header must end its includes with "<Stem>.generated.h", as the engine's
	 * tool requires: the generated macros are defined there and must not be redefined later.
	 */
	void CheckGeneratedHeaderInclude(const std::string& Source, const FHeader& Header);
}
