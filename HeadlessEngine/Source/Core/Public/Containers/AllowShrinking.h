#pragma once

// Whether a removal may give memory back to the allocator.
enum class EAllowShrinking : unsigned char
{
	No,
	Yes
};

inline constexpr EAllowShrinking AllowShrinkingFromBool(bool bAllowShrinking)
{
	return bAllowShrinking ? EAllowShrinking::Yes : EAllowShrinking::No;
}
