#pragma once

#include "Model.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace HeaderTool
{
	/**
	 * Every reflected type the module can name: its own, those of the dependency headers, and the
	 * few core types the object system defines by hand (UObject, UClass, FGuid).
	 */
	class FTypeRegistry
	{
	public:
		FTypeRegistry();

		/** Registers the types of Header; a name declared twice is an error. */
		void AddHeader(const FHeader& Header);

		const FStructLike* FindClass(const std::string& Name) const;
		const FStructLike* FindStruct(const std::string& Name) const;
		const FEnum* FindEnum(const std::string& Name) const;
		const FDelegate* FindDelegate(const std::string& Name) const;

		/** The header that declares a type; null for the core types. */
		const FHeader* FindDeclaringHeader(const std::string& Name) const;

	private:
		void Declare(const std::string& Name, const FHeader& Header, int Line);

		std::map<std::string, const FStructLike*> Classes;
		std::map<std::string, const FStructLike*> Structs;
		std::map<std::string, const FEnum*> Enums;
		std::map<std::string, const FDelegate*> Delegates;
		std::map<std::string, const FHeader*> DeclaringHeaders;
		std::map<std::string, int> DeclaringLines;
		std::vector<std::unique_ptr<FStructLike>> CoreTypes;
	};
}
