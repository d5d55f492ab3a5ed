#include "TypeRegistry.h"

#include "Diagnostics.h"

namespace HeaderTool
{
	namespace
	{
		bool IsCoreType(const std::string& Name)
		{
			return Name == "UObject" || Name == "UClass" || Name == "FGuid";
		}
	}

	FTypeRegistry::FTypeRegistry()
	{
		auto AddCore = [this](const char* Name, const char* SuperName, bool bClass)
		{
			auto Type = std::make_unique<FStructLike>();
			Type->Name = Name;
			Type->SuperName = SuperName;
			Type->bIsClass = bClass;
			Type->bTakesObjectInitializer = bClass;
			(bClass ? Classes : Structs)[Name] = Type.get();
			CoreTypes.push_back(std::move(Type));
		};
		AddCore("UObject", "", true);
		AddCore("UClass", "UObject", true);
		AddCore("FGuid", "", false);
	}

	void FTypeRegistry::Declare(const std::string& Name, const FHeader& Header, int Line)
	{
		if (IsCoreType(Name))
		{
			throw FHeaderToolError(Header.Path, Line, "'" + Name + "' is a core type and cannot be redeclared");
		}
		const auto Existing = DeclaringHeaders.find(Name);
		if (Existing != DeclaringHeaders.end())
		{
			throw FHeaderToolError(Header.Path, Line, "'" + Name + "' is already declared in " + Existing->second->Path + ":" + std::to_string(DeclaringLines[Name]));
		}
		DeclaringHeaders[Name] = &Header;
		DeclaringLines[Name] = Line;
	}

	void FTypeRegistry::AddHeader(const FHeader& Header)
	{
		for (const auto& Class : Header.Classes)
		{
			Declare(Class->Name, Header, Class->Line);
			Classes[Class->Name] = Class.get();
		}
		for (const auto& Struct : Header.Structs)
		{
			Declare(Struct->Name, Header, Struct->Line);
			Structs[Struct->Name] = Struct.get();
		}
		for (const auto& Enum : Header.Enums)
		{
			Declare(Enum->Name, Header, Enum->Line);
			Enums[Enum->Name] = Enum.get();
		}
		for (const auto& Delegate : Header.Delegates)
		{
			Declare(Delegate->Name, Header, Delegate->Line);
			Delegates[Delegate->Name] = Delegate.get();
		}
	}

	const FStructLike* FTypeRegistry::FindClass(const std::string& Name) const
	{
		const auto Found = Classes.find(Name);
		return Found == Classes.end() ? nullptr : Found->second;
	}

	const FStructLike* FTypeRegistry::FindStruct(const std::string& Name) const
	{
		const auto Found = Structs.find(Name);
		return Found == Structs.end() ? nullptr : Found->second;
	}

	const FEnum* FTypeRegistry::FindEnum(const std::string& Name) const
	{
		const auto Found = Enums.find(Name);
		return Found == Enums.end() ? nullptr : Found->second;
	}

	const FDelegate* FTypeRegistry::FindDelegate(const std::string& Name) const
	{
		const auto Found = Delegates.find(Name);
		return Found == Delegates.end() ? nullptr : Found->second;
	}

	const FHeader* FTypeRegistry::FindDeclaringHeader(const std::string& Name) const
	{
		const auto Found = DeclaringHeaders.find(Name);
		return Found == DeclaringHeaders.end() ? nullptr : Found->second;
	}
}
