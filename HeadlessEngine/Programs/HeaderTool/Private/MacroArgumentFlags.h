#pragma once

#include "Model.h"

#include <cstdint>
#include <string>

namespace HeaderTool
{
	/** The property flags that the specifiers of a UPROPERTY(...) stand for. */
	uint64_t PropertySpecifierFlags(const FSpecifierList& Specifiers);

	/**
	 * Applies the class specifiers of a UCLASS(...) to Flags, which already holds the flags
	 * inherited from the super class: most specifiers add flags, a few (NonTransient, Placeable,
	 * NotEditInlineNew) take inherited ones away.
	 */
	uint32_t ApplyClassSpecifierFlags(const FSpecifierList& Specifiers, uint32_t Flags);

	/** The struct flags that the specifiers of a USTRUCT(...) stand for. */
	uint32_t StructSpecifierFlags(const FSpecifierList& Specifiers);
}
