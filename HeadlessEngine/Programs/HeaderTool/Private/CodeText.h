#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Small text helpers shared by the emitters.
namespace HeaderTool::CodeText
{
	/** A C string literal, quotes included. Bytes outside ASCII pass through: the runtime reads UTF-8. */
	inline std::string Quote(const std::string& Text)
	{
		std::string Result = "\"";
		for (const char C : Text)
		{
			switch (C)
			{
			case '\\': Result += "\\\\"; break;
			case '"': Result += "\\\""; break;
			case '\n': Result += "\\n"; break;
			case '\r': Result += "\\r"; break;
			case '\t': Result += "\\t"; break;
			default:
				if (static_cast<unsigned char>(C) < 0x20)
				{
					char Buffer[8];
					std::snprintf(Buffer, sizeof(Buffer), "\\%03o", static_cast<unsigned>(static_cast<unsigned char>(C)));
					Result += Buffer;
				}
				else
				{
					Result += C;
				}
			}
		}
		return Result + "\"";
	}

	inline std::string Hex32(uint32_t Value)
	{
		char Buffer[16];
		std::snprintf(Buffer, sizeof(Buffer), "0x%08X", Value);
		return Buffer;
	}

	inline std::string Hex64(uint64_t Value)
	{
		char Buffer[24];
		std::snprintf(Buffer, sizeof(Buffer), "0x%016llX", static_cast<unsigned long long>(Value));
		return Buffer;
	}

	/** FNV-1a: the hashes in registration records only need to change when the generated text does. */
	inline uint32_t Hash(const std::string& Text)
	{
		uint32_t Value = 2166136261u;
		for (const char C : Text)
		{
			Value ^= static_cast<unsigned char>(C);
			Value *= 16777619u;
		}
		return Value;
	}

	/** `+[]() -> UObject* { return Call(); }`: a constructor function in a slot that takes UObject* (*)(). */
	inline std::string ObjectLambda(const std::string& Call)
	{
		return "+[]() -> UObject* { return " + Call + "(); }";
	}

	/** "Array, UE_ARRAY_COUNT(Array)", or "nullptr, 0" for an array that is not written. */
	inline std::string ArrayOrNull(bool bHasArray, const std::string& Array)
	{
		return bHasArray ? Array + ", UE_ARRAY_COUNT(" + Array + ")" : std::string("nullptr, 0");
	}

	/** The object flags of every reflected type and function the generated code constructs. */
	inline constexpr const char* NativeObjectFlags = "RF_Public | RF_Transient | RF_MarkAsNative";

	/** "UFixtureObject" -> "FixtureObject": the engine's names drop the type prefix letter. */
	inline std::string WithoutPrefix(const std::string& Name)
	{
		return Name.size() > 1 ? Name.substr(1) : Name;
	}
}
