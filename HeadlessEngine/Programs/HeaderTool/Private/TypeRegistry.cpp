#include "TypeRegistry.h"

#include "Diagnostics.h"
#include "ReflectionFlags.h"
#include "SpecifierList.h"

namespace HeaderTool
{
	namespace
	{
		enum EResolveState
		{
			Unresolved = 0,
			Resolving = 1,
			Resolved = 2,
		};

		/** The reflected type named by a member type such as "TObjectPtr<UX>" or "UX*", for the delegate-property check. */
		std::string StripPointerSyntax(const std::string& Text)
		{
			std::string Result = Text;
			while (!Result.empty() && Result.back() == '*')
			{
				Result.pop_back();
			}
			return Result;
		}
	}

	FTypeRegistry::FTypeRegistry()
	{
		auto AddCore = [this](const char* Name, bool bClass)
		{
			auto Type = std::make_unique<FStructLike>();
			Type->Name = Name;
			Type->bIsClass = bClass;
			(bClass ? Classes : Structs)[Name] = Type.get();
			ResolveState[Type.get()] = Resolved;
			CoreTypes.push_back(std::move(Type));
		};
		AddCore("UObject", true);
		AddCore("UClass", true);
		AddCore("FGuid", false);
		Classes["UClass"]->SuperName = "UObject";
	}

	void FTypeRegistry::Declare(const std::string& Name, const FHeader& Header, int Line)
	{
		const auto Existing = DeclaringHeaders.find(Name);
		const bool bCore = Name == "UObject" || Name == "UClass" || Name == "FGuid";
		if (bCore)
		{
			throw FHeaderToolError(Header.Path, Line, "'" + Name + "' is a core type and cannot be redeclared");
		}
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
			ClassHeaders[Class.get()] = &Header;
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

	void FTypeRegistry::ResolveClasses(const FModule& Module)
	{
		for (const auto& Header : Module.DependencyHeaders)
		{
			for (const auto& Class : Header->Classes)
			{
				ResolveClass(*Class, *Header, false);
			}
		}
		for (const auto& Header : Module.Headers)
		{
			for (const auto& Class : Header->Classes)
			{
				ResolveClass(*Class, *Header, true);
			}
		}
	}

	void FTypeRegistry::ResolveClass(FStructLike& Class, const FHeader& Header, bool bOwnModule)
	{
		int& State = ResolveState[&Class];
		if (State == Resolved)
		{
			return;
		}
		if (State == Resolving)
		{
			throw FHeaderToolError(Header.Path, Class.Line, "class '" + Class.Name + "' derives from itself");
		}
		State = Resolving;

		uint32_t Flags = 0;
		for (const FSpecifier& Specifier : Class.Specifiers.Specifiers)
		{
			if (EqualsIgnoreCase(Specifier.Key, "Transient"))
			{
				Flags |= Flags::CLASS_Transient;
			}
			else if (EqualsIgnoreCase(Specifier.Key, "Config"))
			{
				if (Specifier.Value.empty())
				{
					throw FHeaderToolError(Header.Path, Specifier.Line, "Config requires a name, e.g. Config=Game");
				}
				Flags |= Flags::CLASS_Config;
				Class.ConfigName = Specifier.Value;
				Class.bOwnConfigName = true;
			}
			else if (EqualsIgnoreCase(Specifier.Key, "Abstract"))
			{
				Flags |= Flags::CLASS_Abstract;
			}
			else if (EqualsIgnoreCase(Specifier.Key, "MinimalAPI"))
			{
				Flags |= Flags::CLASS_MinimalAPI;
			}
			else if (EqualsIgnoreCase(Specifier.Key, "DefaultToInstanced"))
			{
				Flags |= Flags::CLASS_DefaultToInstanced;
			}
			else if (EqualsIgnoreCase(Specifier.Key, "EditInlineNew"))
			{
				Flags |= Flags::CLASS_EditInlineNew;
			}
		}
		Class.StaticClassFlags = Flags;

		FStructLike* Super = nullptr;
		if (!Class.SuperName.empty())
		{
			const auto Found = Classes.find(Class.SuperName);
			if (Found != Classes.end())
			{
				Super = Found->second;
			}
		}
		if (Super == nullptr && bOwnModule)
		{
			if (Class.SuperName.empty())
			{
				throw FHeaderToolError(Header.Path, Class.Line, "class '" + Class.Name + "' must derive from a UCLASS");
			}
			throw FHeaderToolError(Header.Path, Class.Line, "super class '" + Class.SuperName + "' of '" + Class.Name + "' is not a known UCLASS");
		}
		if (Super != nullptr)
		{
			const auto SuperHeader = ClassHeaders.find(Super);
			if (SuperHeader != ClassHeaders.end())
			{
				ResolveClass(*Super, *SuperHeader->second, false);
			}
			Flags |= Super->ClassFlags & Flags::CLASS_Inherit;
			if (!Class.bOwnConfigName)
			{
				Class.ConfigName = Super->ConfigName;
			}
		}
		if (!Class.ApiMacro.empty())
		{
			Flags |= Flags::CLASS_RequiredAPI;
		}
		// Declaration-level flags end here; what follows comes from the class's members.
		Class.StaticClassFlags = Flags;
		for (const FProperty& Property : Class.Properties)
		{
			if (Delegates.count(StripPointerSyntax(Property.Type.BaseText)) != 0)
			{
				Flags |= Flags::CLASS_HasInstancedReference;
			}
		}
		Class.ClassFlags = Flags;

		if (const FSpecifier* Within = FindSpecifier(Class.Specifiers, "Within"))
		{
			const std::string& Name = Within->Value;
			for (const std::string& Candidate : { Name, "U" + Name, "A" + Name })
			{
				if (Classes.count(Candidate) != 0)
				{
					Class.WithinClass = Candidate;
					break;
				}
			}
			if (Class.WithinClass.empty() && bOwnModule)
			{
				throw FHeaderToolError(Header.Path, Within->Line, "Within class '" + Name + "' is not a known UCLASS");
			}
		}
		State = Resolved;
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
