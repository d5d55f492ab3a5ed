#pragma once

#include "CoreMinimal.h"
#include "Containers/StringConv.h"
#include "UObject/Class.h"
#include "UObject/UObjectIterator.h"

#include <string>
#include <vector>

// Checks of the constant-time class queries (IsChildOf, cast flags) against the plain walk up the
// super struct pointers, over every type a test program has registered.
namespace HeadlessTests
{
	// Whether Struct is SomeBase or derives from it, found by following the super struct pointers.
	inline bool IsChildOfBySuperWalk(const UStruct* Struct, const UStruct* SomeBase)
	{
		if (!SomeBase)
		{
			return false;
		}
		for (const UStruct* Current = Struct; Current; Current = Current->GetSuperStruct())
		{
			if (Current == SomeBase)
			{
				return true;
			}
		}
		return false;
	}

	inline std::string NameOfType(const UObject* Object)
	{
		return std::string(TCHAR_TO_UTF8(*Object->GetPathName()));
	}

	// Every live object of class T or a subclass, in slot order.
	template<class T>
	std::vector<T*> AllLive()
	{
		std::vector<T*> Result;
		for (TObjectIterator<T> It; It; ++It)
		{
			Result.push_back(*It);
		}
		return Result;
	}

	struct FDisagreements
	{
		int32 NumCompared = 0;
		std::vector<std::string> Cases;
	};

	// Each ordered pair of live structs (classes, script structs, functions) on which IsChildOf
	// and the walk disagree.
	inline FDisagreements FindIsChildOfDisagreements()
	{
		FDisagreements Result;
		const std::vector<UStruct*> Structs = AllLive<UStruct>();
		for (const UStruct* Child : Structs)
		{
			for (const UStruct* Base : Structs)
			{
				++Result.NumCompared;
				const bool bExpected = IsChildOfBySuperWalk(Child, Base);
				if (Child->IsChildOf(Base) != bExpected)
				{
					Result.Cases.push_back(NameOfType(Child) + (bExpected ? " derives from " : " does not derive from ") + NameOfType(Base));
				}
			}
		}
		return Result;
	}

	// Each live class whose flag for To disagrees with whether it derives from To by the walk.
	inline FDisagreements FindCastFlagDisagreements(const UClass* To, EClassCastFlags ToFlag)
	{
		FDisagreements Result;
		for (const UClass* Class : AllLive<UClass>())
		{
			++Result.NumCompared;
			const bool bExpected = IsChildOfBySuperWalk(Class, To);
			if (Class->HasAnyCastFlag(ToFlag) != bExpected)
			{
				Result.Cases.push_back(NameOfType(Class) + (bExpected ? " lacks the flag of " : " has the flag of ") + NameOfType(To));
			}
		}
		return Result;
	}

	inline std::string Describe(const FDisagreements& Disagreements)
	{
		std::string Text;
		for (const std::string& Case : Disagreements.Cases)
		{
			Text += Case + "\n";
		}
		return Text;
	}
}
