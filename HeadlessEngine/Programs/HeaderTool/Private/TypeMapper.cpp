#include "TypeMapper.h"

#include "Diagnostics.h"

namespace HeaderTool
{
	namespace
	{
		std::string Trim(const std::string& Text)
		{
			const size_t First = Text.find_first_not_of(' ');
			const size_t Last = Text.find_last_not_of(' ');
			return First == std::string::npos ? std::string() : Text.substr(First, Last - First + 1);
		}

		std::string StripElaborated(const std::string& Text)
		{
			for (const char* Keyword : { "class ", "struct ", "enum " })
			{
				if (Text.rfind(Keyword, 0) == 0)
				{
					return Trim(Text.substr(std::char_traits<char>::length(Keyword)));
				}
			}
			return Text;
		}

		/** Splits "Name<Argument>" into its parts; false when Text is not a single-argument template. */
		bool SplitTemplate(const std::string& Text, std::string& OutName, std::string& OutArgument)
		{
			const size_t Open = Text.find('<');
			if (Open == std::string::npos || Text.back() != '>')
			{
				return false;
			}
			OutName = Trim(Text.substr(0, Open));
			OutArgument = StripElaborated(Trim(Text.substr(Open + 1, Text.size() - Open - 2)));
			return OutArgument.find(',') == std::string::npos && OutArgument.find('<') == std::string::npos;
		}

		class FMapper
		{
		public:
			FMapper(const FParsedType& InType, ETypeUsage InUsage, const FTypeRegistry& InRegistry, const std::string& InFile, int InLine)
				: Type(InType)
				, Usage(InUsage)
				, Registry(InRegistry)
				, File(InFile)
				, Line(InLine)
			{
			}

			FMappedType Map() const
			{
				if (Type.bReference && Usage == ETypeUsage::Member)
				{
					Unsupported();
				}
				const FMappedType Mapped = MapBase();
				const bool bOut = Usage == ETypeUsage::Parameter && Type.bReference && !Type.bConst;
				// An enum class is read by reference as its own type; the byte forms of enums are not.
				const bool bReadableOut = Mapped.Kind != EPropertyKind::Object && Mapped.Kind != EPropertyKind::Class
					&& Mapped.Kind != EPropertyKind::InlineMulticastDelegate && Mapped.Kind != EPropertyKind::SparseMulticastDelegate
					&& (Mapped.EnumName.empty() || Mapped.bEnumClass);
				if (bOut && !bReadableOut)
				{
					Unsupported("out parameters of this type cannot be reflected");
				}
				return Mapped;
			}

		private:
			FMappedType MapBase() const
			{
				const std::string Base = StripElaborated(Type.BaseText);
				if (!Base.empty() && Base.back() == '*')
				{
					return MapPointer(Trim(StripElaborated(Base.substr(0, Base.size() - 1))));
				}
				std::string TemplateName;
				std::string Argument;
				if (SplitTemplate(Base, TemplateName, Argument))
				{
					return MapTemplate(TemplateName, Argument);
				}
				const size_t Scope = Base.find("::");
				if (Scope != std::string::npos)
				{
					return MapNamespacedEnum(Base, Base.substr(0, Scope), Base.substr(Scope + 2));
				}
				return MapName(Base);
			}

			[[noreturn]] void Unsupported(const std::string& Detail = std::string()) const
			{
				throw FHeaderToolError(File, Line, "unsupported type '" + Type.Text + "'" + (Detail.empty() ? "" : " (" + Detail + ")"));
			}

			FMappedType Make(EPropertyKind Kind, const std::string& SlotType) const
			{
				FMappedType Mapped;
				Mapped.Kind = Kind;
				Mapped.SlotType = SlotType;
				return Mapped;
			}

			FMappedType MapPointer(const std::string& Pointee) const
			{
				if (Pointee == "UClass")
				{
					FMappedType Mapped = Make(EPropertyKind::Class, "UClass*");
					Mapped.ClassName = "UClass";
					Mapped.MetaClassName = "UObject";
					return Mapped;
				}
				if (Registry.FindClass(Pointee) != nullptr)
				{
					FMappedType Mapped = Make(EPropertyKind::Object, Pointee + "*");
					Mapped.ClassName = Pointee;
					return Mapped;
				}
				Unsupported();
			}

			FMappedType MapTemplate(const std::string& Name, const std::string& Argument) const
			{
				const bool bMember = Usage == ETypeUsage::Member;
				if (Name == "TObjectPtr")
				{
					FMappedType Mapped = MapPointer(Argument);
					if (bMember)
					{
						Mapped.SlotType = "TObjectPtr<" + Argument + ">";
					}
					return Mapped;
				}
				if (Name == "TSubclassOf")
				{
					if (Registry.FindClass(Argument) == nullptr)
					{
						Unsupported("'" + Argument + "' is not a known UCLASS");
					}
					FMappedType Mapped = Make(EPropertyKind::Class, "TSubclassOf<" + Argument + ">");
					Mapped.ClassName = "UClass";
					Mapped.MetaClassName = Argument;
					return Mapped;
				}
				if (Name == "TEnumAsByte")
				{
					const FEnum* Enum = nullptr;
					const size_t Scope = Argument.find("::");
					if (Scope != std::string::npos)
					{
						Enum = Registry.FindEnum(Argument.substr(0, Scope));
						if (Enum == nullptr || Enum->Form != EEnumForm::Namespaced || Argument.substr(Scope + 2) != "Type")
						{
							Unsupported();
						}
					}
					else
					{
						Enum = Registry.FindEnum(Argument);
						if (Enum == nullptr || Enum->Form != EEnumForm::Regular)
						{
							Unsupported(Enum != nullptr ? "TEnumAsByte takes a namespaced or unscoped enum" : "");
						}
					}
					FMappedType Mapped = Make(EPropertyKind::Byte, "TEnumAsByte<" + Argument + ">");
					Mapped.EnumName = Enum->Name;
					Mapped.ArgumentCastPrefix = Mapped.SlotType;
					return Mapped;
				}
				Unsupported();
			}

			FMappedType MapNamespacedEnum(const std::string& Base, const std::string& Namespace, const std::string& Member) const
			{
				const FEnum* Enum = Registry.FindEnum(Namespace);
				if (Enum == nullptr || Enum->Form != EEnumForm::Namespaced || Member != "Type")
				{
					Unsupported();
				}
				if (Usage == ETypeUsage::Member)
				{
					Unsupported("a member must use TEnumAsByte<" + Base + ">");
				}
				FMappedType Mapped = Make(EPropertyKind::Byte, "TEnumAsByte<" + Base + ">");
				Mapped.EnumName = Enum->Name;
				Mapped.ArgumentCastPrefix = Base;
				return Mapped;
			}

			FMappedType MapName(const std::string& Name) const
			{
				static const struct
				{
					const char* CppName;
					EPropertyKind Kind;
				} Simple[] = {
					{ "bool", EPropertyKind::Bool },
					{ "uint8", EPropertyKind::Byte },
					{ "int32", EPropertyKind::Int },
					{ "int64", EPropertyKind::Int64 },
					{ "float", EPropertyKind::Float },
					{ "double", EPropertyKind::Double },
					{ "FString", EPropertyKind::Str },
					{ "FName", EPropertyKind::Name },
					{ "FText", EPropertyKind::Text },
				};
				for (const auto& Entry : Simple)
				{
					if (Name == Entry.CppName)
					{
						return Make(Entry.Kind, Name);
					}
				}
				if (const FEnum* Enum = Registry.FindEnum(Name))
				{
					if (Enum->Form == EEnumForm::Namespaced)
					{
						Unsupported("use " + Name + "::Type");
					}
					if (Enum->Form == EEnumForm::Regular)
					{
						if (Usage == ETypeUsage::Member)
						{
							Unsupported("a member must use TEnumAsByte<" + Name + ">");
						}
						FMappedType Mapped = Make(EPropertyKind::Byte, "TEnumAsByte<" + Name + ">");
						Mapped.EnumName = Name;
						Mapped.ArgumentCastPrefix = Name;
						return Mapped;
					}
					if (Enum->UnderlyingType != "uint8")
					{
						Unsupported("a reflected enum class must have the underlying type uint8");
					}
					FMappedType Mapped = Make(EPropertyKind::Byte, Name);
					Mapped.EnumName = Name;
					Mapped.bEnumClass = true;
					return Mapped;
				}
				if (Registry.FindStruct(Name) != nullptr)
				{
					FMappedType Mapped = Make(EPropertyKind::Struct, Name);
					Mapped.StructName = Name;
					return Mapped;
				}
				if (const FDelegate* Delegate = Registry.FindDelegate(Name))
				{
					if (Usage != ETypeUsage::Member)
					{
						Unsupported("delegates can only be reflected as members");
					}
					FMappedType Mapped = Make(Delegate->bSparse ? EPropertyKind::SparseMulticastDelegate : EPropertyKind::InlineMulticastDelegate, Name);
					Mapped.DelegateName = Name;
					return Mapped;
				}
				Unsupported();
			}

			const FParsedType& Type;
			ETypeUsage Usage;
			const FTypeRegistry& Registry;
			const std::string& File;
			int Line;
		};
	}

	FMappedType MapType(const FParsedType& Type, ETypeUsage Usage, const FTypeRegistry& Registry, const std::string& File, int Line)
	{
		return FMapper(Type, Usage, Registry, File, Line).Map();
	}
}
