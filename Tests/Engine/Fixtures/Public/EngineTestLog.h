#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include <string>
#include <vector>

/**
 * What the fixture objects did, as "<What>:<ObjectName>", in the order they did it, across all
 * of them. Order tests reset it before acting.
 */
struct FEngineTestLog
{
	static std::vector<std::string>& Get()
	{
		static std::vector<std::string> Events;
		return Events;
	}
	static void Reset()
	{
		Get().clear();
	}
	static void Add(const char* What, const UObject* Who)
	{
		Get().push_back(std::string(What) + ":" + TCHAR_TO_UTF8(*Who->GetName()));
	}
};
