#pragma once

#include <stdexcept>
#include <string>

namespace HeaderTool
{
	/** A problem in an input header. Printed as "<file>:<line>: error: <message>"; the tool then writes nothing. */
	class FHeaderToolError : public std::runtime_error
	{
	public:
		FHeaderToolError(std::string InFile, int InLine, const std::string& InMessage)
			: std::runtime_error(InMessage)
			, File(std::move(InFile))
			, Line(InLine)
		{
		}

		std::string Format() const
		{
			return File + ":" + std::to_string(Line) + ": error: " + what();
		}

		std::string File;
		int Line;
	};
}
