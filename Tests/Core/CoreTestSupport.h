#pragma once

#include "CoreMinimal.h"

#include <string>

namespace CoreTests
{
	// Escapes text for a POSIX extended regular expression, as death tests match.
	inline std::string RegexEscape(const std::string& Text)
	{
		std::string Result;
		for (const char Char : Text)
		{
			if (std::string("\\^$.|?*+()[]{}").find(Char) != std::string::npos)
			{
				Result += '\\';
			}
			Result += Char;
		}
		return Result;
	}

	// The first line a failed check prints.
	inline std::string AssertionPattern(const std::string& Expression, const char* File, int32 Line)
	{
		return RegexEscape("Assertion failed: " + Expression + " [File:" + File + "] [Line: " + std::to_string(Line) + "]");
	}

	inline std::string ToStd(const FString& Text)
	{
		std::string Result;
		for (const TCHAR Char : Text)
		{
			Result += Char < 0x80 ? (char)Char : '?';
		}
		return Result;
	}

	// Counts live instances, so that tests see every construction matched by one destruction.
	struct FTracked
	{
		static inline int32 Live = 0;

		int32 Value = 0;
		// Points into the object itself: a bitwise move would leave it pointing at the old place.
		const FTracked* Self = this;

		FTracked()
		{
			++Live;
		}

		explicit FTracked(int32 InValue)
			: Value(InValue)
		{
			++Live;
		}

		FTracked(const FTracked& Other)
			: Value(Other.Value)
		{
			++Live;
		}

		FTracked(FTracked&& Other)
			: Value(Other.Value)
		{
			Other.Value = -1;
			++Live;
		}

		FTracked& operator=(const FTracked& Other)
		{
			Value = Other.Value;
			return *this;
		}

		FTracked& operator=(FTracked&& Other)
		{
			Value = Other.Value;
			Other.Value = -1;
			return *this;
		}

		~FTracked()
		{
			--Live;
		}

		bool IsIntact() const
		{
			return Self == this;
		}

		friend bool operator==(const FTracked& A, const FTracked& B)
		{
			return A.Value == B.Value;
		}

		friend bool operator<(const FTracked& A, const FTracked& B)
		{
			return A.Value < B.Value;
		}

		friend uint32 GetTypeHash(const FTracked& Tracked)
		{
			return GetTypeHash(Tracked.Value);
		}
	};
}
