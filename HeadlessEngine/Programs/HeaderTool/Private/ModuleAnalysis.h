#pragma once

#include "Model.h"
#include "TypeRegistry.h"

namespace HeaderTool
{
	/**
	 * Completes the module's own declarations once every header is read: maps member and
	 * parameter types, and works out property flags, function flags and metadata.
	 */
	void AnalyzeModule(FModule& Module, const FTypeRegistry& Registry);
}
