#pragma once

#include "Model.h"
#include "TypeRegistry.h"

namespace HeaderTool
{
	/**
	 * Works out the class flags, config name and within class of every class, the module's own
	 * and those of its dependency headers, super classes first: a class takes over the
	 * inheritable flags of its super class before its own specifiers apply. Fails when a class of
	 * the module derives from something that is not a known UCLASS.
	 */
	void ResolveClasses(FModule& Module, const FTypeRegistry& Registry);
}
