#include "ModuleAnalysis.h"

#include "DefaultValue.h"
#include "Diagnostics.h"
#include "ReflectionFlags.h"
#include "MacroArgumentFlags.h"
#include "MacroArgumentList.h"
#include "TypeMapper.h"

namespace HeaderTool
{
	namespace
	{
		void AddSpecifierMetadata(const FSpecifierList& Specifiers, FMetadata& Metadata)
		{
			for (const auto& [Key, Value] : Specifiers.Meta)
			{
				Metadata[Key] = Value;
			}
			if (const FSpecifier* Category = FindSpecifier(Specifiers, "Category"))
			{
				Metadata["Category"] = Category->Value;
			}
		}

		uint64_t AccessPropertyFlag(EAccess Access)
		{
			switch (Access)
			{
			case EAccess::Public: return Flags::CPF_NativeAccessSpecifierPublic;
			case EAccess::Protected: return Flags::CPF_NativeAccessSpecifierProtected;
			case EAccess::Private: return Flags::CPF_NativeAccessSpecifierPrivate;
			}
			return 0;
		}

		uint32_t AccessFunctionFlag(EAccess Access)
		{
			switch (Access)
			{
			case EAccess::Public: return Flags::FUNC_Public;
			case EAccess::Protected: return Flags::FUNC_Protected;
			case EAccess::Private: return Flags::FUNC_Private;
			}
			return 0;
		}

		/** What the engine records about the C++ spelling of an object or class type. */
		uint64_t WrapperFlags(const FParsedType& Type, const FMappedType& Mapped)
		{
			if (Mapped.Kind != EPropertyKind::Object && Mapped.Kind != EPropertyKind::Class)
			{
				return 0;
			}
			if (Type.BaseText.rfind("TObjectPtr<", 0) == 0)
			{
				return Flags::CPF_TObjectPtrWrapper;
			}
			if (Type.BaseText.rfind("TSubclassOf<", 0) == 0)
			{
				return Flags::CPF_UObjectWrapper;
			}
			return 0;
		}

		bool IsDelegate(const FMappedType& Mapped)
		{
			return Mapped.Kind == EPropertyKind::InlineMulticastDelegate || Mapped.Kind == EPropertyKind::SparseMulticastDelegate;
		}

		struct FFunctionSpecifierFlag
		{
			const char* Key;
			uint32_t Flags;
		};

		const FFunctionSpecifierFlag FunctionSpecifierTable[] = {
			{ "BlueprintCallable", Flags::FUNC_BlueprintCallable },
			{ "BlueprintAuthorityOnly", Flags::FUNC_BlueprintAuthorityOnly },
			{ "BlueprintCosmetic", Flags::FUNC_BlueprintCosmetic },
			{ "Exec", Flags::FUNC_Exec },
		};

		class FAnalyzer
		{
		public:
			FAnalyzer(FHeader& InHeader, const FTypeRegistry& InRegistry)
				: Header(InHeader)
				, Registry(InRegistry)
			{
			}

			void Run()
			{
				for (auto& Delegate : Header.Delegates)
				{
					AnalyzeDelegate(*Delegate);
				}
				for (auto& Enum : Header.Enums)
				{
					AnalyzeEnum(*Enum);
				}
				for (auto& Struct : Header.Structs)
				{
					AnalyzeStruct(*Struct);
				}
				for (auto& Class : Header.Classes)
				{
					AnalyzeClass(*Class);
				}
			}

		private:
			[[noreturn]] void Fail(int Line, const std::string& Message) const
			{
				throw FHeaderToolError(Header.Path, Line, Message);
			}

			void AnalyzeParameter(FParameter& Parameter, ETypeUsage Usage)
			{
				Parameter.Mapped = MapType(Parameter.Type, Usage, Registry, Header.Path, Parameter.Line);
				uint64_t PropertyFlags = Flags::CPF_Parm | Flags::CPF_NativeAccessSpecifierPublic | WrapperFlags(Parameter.Type, Parameter.Mapped);
				AddSpecifierMetadata(Parameter.Specifiers, Parameter.Metadata);
				if (const FSpecifier* DisplayName = FindSpecifier(Parameter.Specifiers, "DisplayName"))
				{
					Parameter.Metadata["DisplayName"] = DisplayName->Value;
				}
				if (Usage == ETypeUsage::ReturnValue)
				{
					Parameter.PropertyFlags = PropertyFlags | Flags::CPF_OutParm | Flags::CPF_ReturnParm;
					return;
				}
				const bool bStruct = Parameter.Mapped.Kind == EPropertyKind::Struct;
				const bool bRef = FindSpecifier(Parameter.Specifiers, "ref") != nullptr;
				if (bRef && !(Parameter.Type.bReference && !Parameter.Type.bConst))
				{
					Fail(Parameter.Line, "UPARAM(ref) requires a non-const reference parameter");
				}
				if (Parameter.Type.bReference && Parameter.Type.bConst)
				{
					// A constant reference to a struct is passed by reference; to anything else, as a value.
					if (bStruct)
					{
						PropertyFlags |= Flags::CPF_OutParm | Flags::CPF_ReferenceParm | Flags::CPF_ConstParm;
					}
					Parameter.Metadata["NativeConst"] = "";
				}
				else if (Parameter.Type.bReference)
				{
					PropertyFlags |= Flags::CPF_OutParm | (bRef ? Flags::CPF_ReferenceParm : 0);
				}
				else if (Parameter.Type.bConst && (Parameter.Mapped.Kind == EPropertyKind::Object || Parameter.Mapped.Kind == EPropertyKind::Class))
				{
					// A pointer to const: the engine marks the parameter const as well.
					PropertyFlags |= Flags::CPF_ConstParm;
					Parameter.Metadata["NativeConst"] = "";
				}
				if (FindSpecifier(Parameter.Specifiers, "const"))
				{
					PropertyFlags |= Flags::CPF_ConstParm;
				}
				if (FindSpecifier(Parameter.Specifiers, "Required"))
				{
					PropertyFlags |= Flags::CPF_RequiredParm;
				}
				Parameter.PropertyFlags = PropertyFlags;
			}

			void AnalyzeParameters(std::vector<FParameter>& Parameters)
			{
				for (size_t Index = 0; Index < Parameters.size(); ++Index)
				{
					if (Parameters[Index].Name == "ReturnValue")
					{
						Fail(Parameters[Index].Line, "a parameter cannot be named 'ReturnValue': the result is registered under that name");
					}
					for (size_t Other = 0; Other < Index; ++Other)
					{
						if (Parameters[Other].Name == Parameters[Index].Name)
						{
							Fail(Parameters[Index].Line, "parameter '" + Parameters[Index].Name + "' is declared twice");
						}
					}
					AnalyzeParameter(Parameters[Index], ETypeUsage::Parameter);
				}
			}

			void AnalyzeDelegate(FDelegate& Delegate)
			{
				AnalyzeParameters(Delegate.Parameters);
				if (Delegate.bSparse && Registry.FindClass(Delegate.OwningClass) == nullptr)
				{
					Fail(Delegate.Line, "owning class '" + Delegate.OwningClass + "' of sparse delegate '" + Delegate.Name + "' is not a known UCLASS");
				}
				Delegate.Metadata["ModuleRelativePath"] = Header.ModuleRelativePath;
			}

			void AnalyzeEnum(FEnum& Enum)
			{
				AddSpecifierMetadata(Enum.Specifiers, Enum.Metadata);
				if (FindSpecifier(Enum.Specifiers, "BlueprintType"))
				{
					Enum.Metadata["BlueprintType"] = "true";
				}
				Enum.Metadata["ModuleRelativePath"] = Header.ModuleRelativePath;
				if (Enum.Entries.empty())
				{
					Fail(Enum.Line, "UENUM '" + Enum.Name + "' has no entries");
				}
				for (const FEnumEntry& Entry : Enum.Entries)
				{
					Enum.Metadata[Entry.Name + ".Name"] = Enum.EntryPrefix() + Entry.Name;
					for (const auto& [Key, Value] : Entry.Meta)
					{
						Enum.Metadata[Entry.Name + "." + Key] = Value;
					}
				}
			}

			void AnalyzeMember(FProperty& Property)
			{
				Property.Mapped = MapType(Property.Type, ETypeUsage::Member, Registry, Header.Path, Property.Line);
				uint64_t PropertyFlags = PropertySpecifierFlags(Property.Specifiers) | AccessPropertyFlag(Property.Access) | WrapperFlags(Property.Type, Property.Mapped);
				AddSpecifierMetadata(Property.Specifiers, Property.Metadata);
				Property.Metadata["ModuleRelativePath"] = Header.ModuleRelativePath;
				if (IsDelegate(Property.Mapped))
				{
					// The engine counts the objects bound to a delegate as instanced references.
					PropertyFlags |= Flags::CPF_InstancedReference;
				}
				else if (FindSpecifier(Property.Specifiers, "BlueprintAssignable"))
				{
					Fail(Property.Line, "BlueprintAssignable is only allowed on multicast delegate properties");
				}
				if (FindSpecifier(Property.Specifiers, "Instanced"))
				{
					if (Property.Mapped.Kind != EPropertyKind::Object)
					{
						Fail(Property.Line, "Instanced is only allowed on object properties");
					}
					Property.Metadata["EditInline"] = "true";
				}
				if (FindSpecifier(Property.Specifiers, "BlueprintReadOnly") && FindSpecifier(Property.Specifiers, "BlueprintReadWrite"))
				{
					Fail(Property.Line, "BlueprintReadOnly and BlueprintReadWrite cannot both be given");
				}
				Property.PropertyFlags = PropertyFlags;
			}

			void AnalyzeStruct(FStructLike& Struct)
			{
				AddSpecifierMetadata(Struct.Specifiers, Struct.Metadata);
				if (FindSpecifier(Struct.Specifiers, "BlueprintType"))
				{
					Struct.Metadata["BlueprintType"] = "true";
				}
				Struct.Metadata["ModuleRelativePath"] = Header.ModuleRelativePath;
				Struct.bSuperIsReflected = !Struct.SuperName.empty() && Registry.FindStruct(Struct.SuperName) != nullptr;
				Struct.StructFlags = Flags::STRUCT_Native | StructSpecifierFlags(Struct.Specifiers) | (Struct.ApiMacro.empty() ? 0 : Flags::STRUCT_RequiredAPI);
				for (FProperty& Property : Struct.Properties)
				{
					AnalyzeMember(Property);
				}
			}

			void AnalyzeFunction(FFunction& Function)
			{
				uint32_t FunctionFlags = Flags::FUNC_Native | Flags::FUNC_Final | AccessFunctionFlag(Function.Access);
				FunctionFlags |= (Function.bConst ? Flags::FUNC_Const : 0) | (Function.bStatic ? Flags::FUNC_Static : 0) | (Function.bExported ? Flags::FUNC_RequiredAPI : 0);
				for (const FFunctionSpecifierFlag& Entry : FunctionSpecifierTable)
				{
					if (FindSpecifier(Function.Specifiers, Entry.Key))
					{
						FunctionFlags |= Entry.Flags;
					}
				}
				if (const FSpecifier* Pure = FindSpecifier(Function.Specifiers, "BlueprintPure"))
				{
					FunctionFlags |= Flags::FUNC_BlueprintCallable;
					if (!EqualsIgnoreCase(Pure->Value, "false"))
					{
						FunctionFlags |= Flags::FUNC_BlueprintPure;
					}
				}
				AddSpecifierMetadata(Function.Specifiers, Function.Metadata);
				Function.Metadata["ModuleRelativePath"] = Header.ModuleRelativePath;

				AnalyzeParameters(Function.Parameters);
				if (Function.ReturnValue)
				{
					AnalyzeParameter(*Function.ReturnValue, ETypeUsage::ReturnValue);
					if (Function.ReturnValue->Mapped.Kind == EPropertyKind::Struct)
					{
						FunctionFlags |= Flags::FUNC_HasDefaults;
					}
				}
				for (const FParameter& Parameter : Function.Parameters)
				{
					// Struct parameters are built from their defaults before a call; out parameters are copied back after it.
					if (Parameter.Mapped.Kind == EPropertyKind::Struct)
					{
						FunctionFlags |= Flags::FUNC_HasDefaults;
					}
					if ((Parameter.PropertyFlags & Flags::CPF_OutParm) != 0)
					{
						FunctionFlags |= Flags::FUNC_HasOutParms;
					}
					if (!Parameter.DefaultValue.empty())
					{
						Function.Metadata["CPP_Default_" + Parameter.Name] = NormalizeDefaultValue(Parameter, Header.Path);
					}
				}
				Function.FunctionFlags = FunctionFlags;
			}

			void AnalyzeClass(FStructLike& Class)
			{
				AddSpecifierMetadata(Class.Specifiers, Class.Metadata);
				if (FindSpecifier(Class.Specifiers, "BlueprintType"))
				{
					Class.Metadata["BlueprintType"] = "true";
				}
				if (FindSpecifier(Class.Specifiers, "Blueprintable"))
				{
					Class.Metadata["IsBlueprintBase"] = "true";
					Class.Metadata["BlueprintType"] = "true";
				}
				if (FindSpecifier(Class.Specifiers, "NotBlueprintable"))
				{
					Class.Metadata["IsBlueprintBase"] = "false";
				}
				if (FindSpecifier(Class.Specifiers, "NotBlueprintType"))
				{
					Class.Metadata.erase("BlueprintType");
					Class.Metadata["NotBlueprintType"] = "true";
				}
				if (const FSpecifier* Group = FindSpecifier(Class.Specifiers, "ClassGroup"))
				{
					std::string Names;
					for (const std::string& Name : Group->Values)
					{
						Names += (Names.empty() ? "" : " ") + Name;
					}
					Class.Metadata["ClassGroupNames"] = Names;
				}
				if (const FSpecifier* DisplayName = FindSpecifier(Class.Specifiers, "DisplayName"))
				{
					Class.Metadata["DisplayName"] = DisplayName->Value;
				}
				// meta=(...) written by hand wins over what the specifiers imply.
				for (const auto& [Key, Value] : Class.Specifiers.Meta)
				{
					Class.Metadata[Key] = Value;
				}
				Class.Metadata["IncludePath"] = Header.IncludePath;
				Class.Metadata["ModuleRelativePath"] = Header.ModuleRelativePath;
				for (FProperty& Property : Class.Properties)
				{
					AnalyzeMember(Property);
				}
				for (size_t Index = 0; Index < Class.Functions.size(); ++Index)
				{
					for (size_t Other = 0; Other < Index; ++Other)
					{
						if (Class.Functions[Other].Name == Class.Functions[Index].Name)
						{
							Fail(Class.Functions[Index].Line, "overloaded UFUNCTION '" + Class.Functions[Index].Name + "' is not supported");
						}
					}
					AnalyzeFunction(Class.Functions[Index]);
				}
			}

			FHeader& Header;
			const FTypeRegistry& Registry;
		};
	}

	void AnalyzeModule(FModule& Module, const FTypeRegistry& Registry)
	{
		for (auto& Header : Module.Headers)
		{
			FAnalyzer(*Header, Registry).Run();
		}
	}
}
