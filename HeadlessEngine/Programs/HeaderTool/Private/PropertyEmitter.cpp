#include "PropertyEmitter.h"

#include "CodeText.h"

namespace HeaderTool
{
	namespace
	{
		const char* GenFlagName(EPropertyKind Kind)
		{
			switch (Kind)
			{
			case EPropertyKind::Bool: return "Bool";
			case EPropertyKind::Byte: return "Byte";
			case EPropertyKind::Int: return "Int";
			case EPropertyKind::Int64: return "Int64";
			case EPropertyKind::Float: return "Float";
			case EPropertyKind::Double: return "Double";
			case EPropertyKind::Str: return "Str";
			case EPropertyKind::Name: return "Name";
			case EPropertyKind::Text: return "Text";
			case EPropertyKind::Struct: return "Struct";
			case EPropertyKind::Object: return "Object";
			case EPropertyKind::Class: return "Class";
			case EPropertyKind::InlineMulticastDelegate: return "InlineMulticastDelegate";
			case EPropertyKind::SparseMulticastDelegate: return "SparseMulticastDelegate";
			}
			return "";
		}
	}

	FPropertyToEmit MakePropertyToEmit(const FProperty& Property)
	{
		return FPropertyToEmit{ Property.Name, &Property.Mapped, Property.PropertyFlags, &Property.Metadata };
	}

	FPropertyToEmit MakePropertyToEmit(const FParameter& Parameter)
	{
		return FPropertyToEmit{ Parameter.Name, &Parameter.Mapped, Parameter.PropertyFlags, &Parameter.Metadata };
	}

	void DeclareProperties(std::string& Out, const std::vector<FPropertyToEmit>& Properties)
	{
		for (const FPropertyToEmit& Property : Properties)
		{
			if (!Property.Metadata->empty())
			{
				Out += "\tstatic const UECodeGen_Private::FMetaDataPairParam NewProp_" + Property.Name + "_MetaData[];\n";
			}
			Out += "\tstatic const UECodeGen_Private::FPropertyParams NewProp_" + Property.Name + ";\n";
		}
		if (!Properties.empty())
		{
			Out += "\tstatic const UECodeGen_Private::FPropertyParams* const PropPointers[];\n";
		}
	}

	void DefineMetadataArray(std::string& Out, const std::string& QualifiedName, const FMetadata& Metadata)
	{
		Out += "const UECodeGen_Private::FMetaDataPairParam " + QualifiedName + "[] = {\n";
		for (const auto& [Key, Value] : Metadata)
		{
			Out += "\t{ " + CodeText::Quote(Key) + ", " + CodeText::Quote(Value) + " },\n";
		}
		Out += "};\n";
	}

	void DefineProperties(std::string& Out, FGenCppContext& Context, const std::string& Statics, const std::string& OffsetOwner, const std::vector<FPropertyToEmit>& Properties)
	{
		for (const FPropertyToEmit& Property : Properties)
		{
			const FMappedType& Mapped = *Property.Mapped;
			const std::string MetadataName = "NewProp_" + Property.Name + "_MetaData";
			if (!Property.Metadata->empty())
			{
				DefineMetadataArray(Out, Statics + "::" + MetadataName, *Property.Metadata);
			}
			Out += "const UECodeGen_Private::FPropertyParams " + Statics + "::NewProp_" + Property.Name + " = {\n";
			Out += "\t.NameUTF8 = " + CodeText::Quote(Property.Name) + ",\n";
			Out += "\t.Flags = UECodeGen_Private::EPropertyGenFlags::" + std::string(GenFlagName(Mapped.Kind)) + ",\n";
			Out += "\t.PropertyFlags = (EPropertyFlags)" + CodeText::Hex64(Property.PropertyFlags) + ",\n";
			Out += "\t.Offset = STRUCT_OFFSET(" + OffsetOwner + ", " + Property.Name + "),\n";
			Out += "\t.ElementSize = sizeof(" + Mapped.SlotType + "),\n";
			switch (Mapped.Kind)
			{
			case EPropertyKind::Object:
				Out += "\t.ClassFunc = " + Context.ClassNoRegister(Mapped.ClassName) + ",\n";
				break;
			case EPropertyKind::Class:
				Out += "\t.ClassFunc = " + Context.ClassNoRegister("UClass") + ",\n";
				Out += "\t.MetaClassFunc = " + Context.ClassNoRegister(Mapped.MetaClassName) + ",\n";
				break;
			case EPropertyKind::Struct:
				Out += "\t.ScriptStructFunc = " + Context.StructConstructor(Mapped.StructName) + ",\n";
				break;
			case EPropertyKind::Byte:
				if (!Mapped.EnumName.empty())
				{
					Out += "\t.EnumFunc = " + Context.EnumConstructor(Mapped.EnumName) + ",\n";
				}
				break;
			case EPropertyKind::InlineMulticastDelegate:
			case EPropertyKind::SparseMulticastDelegate:
				Out += "\t.SignatureFunc = " + Context.DelegateConstructor(Mapped.DelegateName) + ",\n";
				break;
			default:
				break;
			}
			if (!Property.Metadata->empty())
			{
				Out += "\t.MetaDataArray = " + MetadataName + ",\n";
				Out += "\t.NumMetaData = UE_ARRAY_COUNT(" + MetadataName + "),\n";
			}
			Out += "};\n";
		}
		if (!Properties.empty())
		{
			Out += "const UECodeGen_Private::FPropertyParams* const " + Statics + "::PropPointers[] = {\n";
			for (const FPropertyToEmit& Property : Properties)
			{
				Out += "\t&NewProp_" + Property.Name + ",\n";
			}
			Out += "};\n";
		}
	}

	std::string ParmsStruct(const std::string& Name, const std::vector<FParameter>& Parameters, const FParameter* ReturnValue, const std::string& Indent)
	{
		std::string Out = Indent + "struct " + Name + "\n" + Indent + "{\n";
		for (const FParameter& Parameter : Parameters)
		{
			Out += Indent + "\t" + Parameter.Mapped.SlotType + " " + Parameter.Name + ";\n";
		}
		if (ReturnValue != nullptr)
		{
			Out += Indent + "\t" + ReturnValue->Mapped.SlotType + " ReturnValue;\n";
		}
		return Out + Indent + "};\n";
	}
}
