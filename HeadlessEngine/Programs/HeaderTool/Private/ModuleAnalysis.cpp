#include "ModuleAnalysis.h"

#include "Diagnostics.h"
#include "ReflectionFlags.h"
#include "SpecifierList.h"
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

		uint64_t MemberSpecifierFlags(const FSpecifierList& Specifiers)
		{
			static const struct
			{
				const char* Key;
				uint64_t Flags;
			} Table[] = {
				{ "SaveGame", Flags::CPF_SaveGame },
				{ "BlueprintReadOnly", Flags::CPF_BlueprintVisible | Flags::CPF_BlueprintReadOnly },
				{ "BlueprintReadWrite", Flags::CPF_BlueprintVisible },
				{ "BlueprintAssignable", Flags::CPF_BlueprintAssignable },
				{ "Transient", Flags::CPF_Transient },
				{ "EditAnywhere", Flags::CPF_Edit },
				{ "VisibleAnywhere", Flags::CPF_Edit | Flags::CPF_EditConst },
				{ "Config", Flags::CPF_Config },
			};
			uint64_t Result = 0;
			for (const FSpecifier& Specifier : Specifiers.Specifiers)
			{
				for (const auto& Entry : Table)
				{
					if (EqualsIgnoreCase(Specifier.Key, Entry.Key))
					{
						Result |= Entry.Flags;
					}
				}
			}
			return Result;
		}

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
			void AnalyzeParameter(FParameter& Parameter, ETypeUsage Usage)
			{
				Parameter.Mapped = MapType(Parameter.Type, Usage, Registry, Header.Path, Parameter.Line);
				Parameter.PropertyFlags = Flags::CPF_Parm;
				if (Usage == ETypeUsage::ReturnValue)
				{
					Parameter.PropertyFlags |= Flags::CPF_OutParm | Flags::CPF_ReturnParm;
					return;
				}
				if (Parameter.Type.bReference && Parameter.Type.bConst)
				{
					Parameter.PropertyFlags |= Flags::CPF_OutParm | Flags::CPF_ReferenceParm | Flags::CPF_ConstParm;
					Parameter.Metadata["NativeConst"] = "";
				}
				else if (Parameter.Type.bReference)
				{
					Parameter.PropertyFlags |= Flags::CPF_OutParm;
				}
				else if (Parameter.Type.bConst && (Parameter.Mapped.Kind == EPropertyKind::Object || Parameter.Mapped.Kind == EPropertyKind::Class))
				{
					// A pointer to const: the engine marks the parameter const as well.
					Parameter.PropertyFlags |= Flags::CPF_ConstParm;
					Parameter.Metadata["NativeConst"] = "";
				}
			}

			void AnalyzeDelegate(FDelegate& Delegate)
			{
				for (FParameter& Parameter : Delegate.Parameters)
				{
					AnalyzeParameter(Parameter, ETypeUsage::Parameter);
				}
				if (Delegate.bSparse && Registry.FindClass(Delegate.OwningClass) == nullptr)
				{
					throw FHeaderToolError(Header.Path, Delegate.Line, "owning class '" + Delegate.OwningClass + "' of sparse delegate '" + Delegate.Name + "' is not a known UCLASS");
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
					throw FHeaderToolError(Header.Path, Enum.Line, "UENUM '" + Enum.Name + "' has no entries");
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
				Property.PropertyFlags = MemberSpecifierFlags(Property.Specifiers) | AccessPropertyFlag(Property.Access);
				AddSpecifierMetadata(Property.Specifiers, Property.Metadata);
				Property.Metadata["ModuleRelativePath"] = Header.ModuleRelativePath;
				const bool bDelegate = Property.Mapped.Kind == EPropertyKind::InlineMulticastDelegate || Property.Mapped.Kind == EPropertyKind::SparseMulticastDelegate;
				if (FindSpecifier(Property.Specifiers, "BlueprintAssignable") && !bDelegate)
				{
					throw FHeaderToolError(Header.Path, Property.Line, "BlueprintAssignable is only allowed on multicast delegate properties");
				}
				if (FindSpecifier(Property.Specifiers, "BlueprintReadOnly") && FindSpecifier(Property.Specifiers, "BlueprintReadWrite"))
				{
					throw FHeaderToolError(Header.Path, Property.Line, "BlueprintReadOnly and BlueprintReadWrite cannot both be given");
				}
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
				for (FProperty& Property : Struct.Properties)
				{
					AnalyzeMember(Property);
				}
			}

			void AnalyzeFunction(FFunction& Function)
			{
				uint32_t FunctionFlags = Flags::FUNC_Native | Flags::FUNC_Final | AccessFunctionFlag(Function.Access);
				if (Function.bConst)
				{
					FunctionFlags |= Flags::FUNC_Const;
				}
				if (Function.bStatic)
				{
					FunctionFlags |= Flags::FUNC_Static;
				}
				if (FindSpecifier(Function.Specifiers, "BlueprintCallable"))
				{
					FunctionFlags |= Flags::FUNC_BlueprintCallable;
				}
				if (const FSpecifier* Pure = FindSpecifier(Function.Specifiers, "BlueprintPure"))
				{
					FunctionFlags |= Flags::FUNC_BlueprintCallable;
					if (!EqualsIgnoreCase(Pure->Value, "false"))
					{
						FunctionFlags |= Flags::FUNC_BlueprintPure;
					}
				}
				for (FParameter& Parameter : Function.Parameters)
				{
					AnalyzeParameter(Parameter, ETypeUsage::Parameter);
					MakeThunkParameter(Parameter, Header.Path);
				}
				if (Function.ReturnValue)
				{
					AnalyzeParameter(*Function.ReturnValue, ETypeUsage::ReturnValue);
				}
				bool bHasOut = Function.ReturnValue.has_value();
				for (const FParameter& Parameter : Function.Parameters)
				{
					bHasOut = bHasOut || (Parameter.PropertyFlags & Flags::CPF_OutParm) != 0;
				}
				if (bHasOut)
				{
					FunctionFlags |= Flags::FUNC_HasOutParms;
				}
				Function.FunctionFlags = FunctionFlags;
				AddSpecifierMetadata(Function.Specifiers, Function.Metadata);
				Function.Metadata["ModuleRelativePath"] = Header.ModuleRelativePath;
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
							throw FHeaderToolError(Header.Path, Class.Functions[Index].Line, "overloaded UFUNCTION '" + Class.Functions[Index].Name + "' is not supported");
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
