#pragma once

#include "GenCppContext.h"
#include "Model.h"

#include <string>

namespace HeaderTool
{
	/** The descriptor and constructor function of a class's reflected function. */
	std::string EmitFunction(FGenCppContext& Context, const FStructLike& Class, const FFunction& Function);

	/** The native entry "exec<Name>" of a reflected function: reads the parameters from the frame and calls the function. */
	std::string EmitThunk(const FStructLike& Class, const FFunction& Function);

	/** A delegate's signature function and the wrapper its Broadcast calls. */
	std::string EmitDelegate(FGenCppContext& Context, const FDelegate& Delegate);

	/** The wrapper that broadcasts a delegate: "void FName_DelegateWrapper(const FMulticastScriptDelegate& Name, T1 P1, ...)". */
	std::string DelegateWrapperSignature(const FDelegate& Delegate);
}
