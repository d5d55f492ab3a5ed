#pragma once

#include "Model.h"

#include <filesystem>
#include <string>

namespace HeaderTool
{
	/**
	 * Fills in where a header of the module sits: its module-relative path ("Public/Foo.h"), the
	 * path that #include lines use ("Foo.h"), its stem and the file id that prefixes its
	 * generated macros.
	 */
	void DescribeModuleHeader(FHeader& Header, const std::string& Path, const std::filesystem::path& ModuleRoot, const std::string& Module);

	/**
	 * The same for a header of another module. Modules keep their headers under <Module>/Public,
	 * <Module>/Private or <Module>/Classes, so the directory above the nearest such part is the
	 * module's root and names it.
	 */
	void DescribeDependencyHeader(FHeader& Header, const std::string& Path);
}
