#include "ClassResolver.h"

#include "Diagnostics.h"
#include "ReflectionFlags.h"
#include "MacroArgumentFlags.h"
#include "MacroArgumentList.h"

#include <map>

namespace HeaderTool
{
	namespace
	{
		constexpr uint32_t CompiledInFlagMask()
		{
			uint32_t Mask = 0;
			for (const Flags::FClassFlagName& Entry : Flags::CompiledInClassFlagNames)
			{
				Mask |= Entry.Flag;
			}
			return Mask;
		}

		class FClassResolver
		{
		public:
			FClassResolver(FModule& Module, const FTypeRegistry& InRegistry)
				: Registry(InRegistry)
			{
				for (const auto& Header : Module.DependencyHeaders)
				{
					AddHeader(*Header, false);
				}
				for (const auto& Header : Module.Headers)
				{
					AddHeader(*Header, true);
				}
			}

			void Run()
			{
				for (auto& [Name, Entry] : Entries)
				{
					Resolve(Entry);
				}
			}

		private:
			enum class EState
			{
				Unresolved,
				Resolving,
				Resolved,
			};

			struct FEntry
			{
				FStructLike* Class = nullptr;
				const FHeader* Header = nullptr;
				bool bOwnModule = false;
				EState State = EState::Unresolved;
			};

			void AddHeader(FHeader& Header, bool bOwnModule)
			{
				for (auto& Class : Header.Classes)
				{
					Entries[Class->Name] = FEntry{ Class.get(), &Header, bOwnModule };
				}
			}

			[[noreturn]] void Fail(const FEntry& Entry, int Line, const std::string& Message) const
			{
				throw FHeaderToolError(Entry.Header->Path, Line, Message);
			}

			void Resolve(FEntry& Entry)
			{
				if (Entry.State == EState::Resolved)
				{
					return;
				}
				FStructLike& Class = *Entry.Class;
				if (Entry.State == EState::Resolving)
				{
					Fail(Entry, Class.Line, "class '" + Class.Name + "' derives from itself");
				}
				Entry.State = EState::Resolving;

				const FStructLike* Super = ResolveSuper(Entry);
				uint32_t ClassFlags = Super != nullptr ? Super->ClassFlags & Flags::CLASS_Inherit : 0;
				Class.ConfigName = Super != nullptr ? Super->ConfigName : std::string();
				ClassFlags = ApplyClassSpecifierFlags(Class.Specifiers, ClassFlags);
				if (const FSpecifier* Config = FindSpecifier(Class.Specifiers, "Config"))
				{
					if (Config->Value.empty())
					{
						Fail(Entry, Config->Line, "Config requires a name, e.g. Config=Game");
					}
					ClassFlags |= Flags::CLASS_Config;
					Class.ConfigName = Config->Value;
					Class.bOwnConfigName = true;
				}
				if (!Class.ApiMacro.empty())
				{
					ClassFlags |= Flags::CLASS_RequiredAPI;
				}
				for (const FProperty& Property : Class.Properties)
				{
					if (HoldsInstancedReference(Property))
					{
						ClassFlags |= Flags::CLASS_HasInstancedReference;
					}
				}
				Class.ClassFlags = ClassFlags;
				Class.StaticClassFlags = ClassFlags & CompiledInFlagMask();
				// A class that declares no constructor gets one that passes the initializer on when its super class takes one.
				const bool bSuperTakesObjectInitializer = Super == nullptr || Super->bTakesObjectInitializer;
				Class.bTakesObjectInitializer = Class.Constructors.bDeclaresObjectInitializer || Class.bLegacyGeneratedBody
					|| (!Class.Constructors.bDeclaresAny && bSuperTakesObjectInitializer);
				ResolveWithin(Entry);
				Entry.State = EState::Resolved;
			}

			const FStructLike* ResolveSuper(FEntry& Entry)
			{
				const FStructLike& Class = *Entry.Class;
				const auto Found = Entries.find(Class.SuperName);
				if (Found != Entries.end())
				{
					Resolve(Found->second);
					return Found->second.Class;
				}
				// UObject and UClass are written by hand and have no declaration to resolve.
				if (const FStructLike* Core = Registry.FindClass(Class.SuperName))
				{
					return Core;
				}
				if (Entry.bOwnModule)
				{
					if (Class.SuperName.empty())
					{
						Fail(Entry, Class.Line, "class '" + Class.Name + "' must derive from a UCLASS");
					}
					Fail(Entry, Class.Line, "super class '" + Class.SuperName + "' of '" + Class.Name + "' is not a known UCLASS");
				}
				return nullptr;
			}

			/** Delegates and instanced objects: what makes the engine treat a class as holding instanced references. */
			bool HoldsInstancedReference(const FProperty& Property) const
			{
				return FindSpecifier(Property.Specifiers, "Instanced") != nullptr || Registry.FindDelegate(Property.Type.BaseText) != nullptr;
			}

			void ResolveWithin(const FEntry& Entry)
			{
				FStructLike& Class = *Entry.Class;
				const FSpecifier* Within = FindSpecifier(Class.Specifiers, "Within");
				if (Within == nullptr)
				{
					return;
				}
				// Written with or without the class's prefix letter, as in Within=PlayerController.
				for (const std::string& Candidate : { Within->Value, "U" + Within->Value, "A" + Within->Value })
				{
					if (Registry.FindClass(Candidate) != nullptr)
					{
						Class.WithinClass = Candidate;
						return;
					}
				}
				if (Entry.bOwnModule)
				{
					Fail(Entry, Within->Line, "Within class '" + Within->Value + "' is not a known UCLASS");
				}
			}

			const FTypeRegistry& Registry;
			std::map<std::string, FEntry> Entries;
		};
	}

	void ResolveClasses(FModule& Module, const FTypeRegistry& Registry)
	{
		FClassResolver(Module, Registry).Run();
	}
}
