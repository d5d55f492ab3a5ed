#pragma once

#include "Model.h"
#include "TypeRegistry.h"

#include <string>

namespace HeaderTool
{
	/** The text of "<Stem>.generated.h" for one of the module's headers. */
	std::string EmitGeneratedHeader(const FModule& Module, const FHeader& Header);

	/** The wrapper that broadcasts a delegate: "void FName_DelegateWrapper(const FMulticastScriptDelegate& Name, T1 P1, ...)". */
	std::string DelegateWrapperSignature(const FDelegate& Delegate);
}
