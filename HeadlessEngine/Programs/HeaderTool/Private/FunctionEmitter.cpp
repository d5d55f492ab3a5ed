#include "FunctionEmitter.h"

#include "CodeText.h"
#include "PropertyEmitter.h"
#include "ReflectionFlags.h"

#include <optional>

namespace HeaderTool
{
	namespace
	{
		std::vector<FPropertyToEmit> ParameterProperties(const std::vector<FParameter>& Parameters, const std::optional<FParameter>& ReturnValue)
		{
			std::vector<FPropertyToEmit> Result;
			for (const FParameter& Parameter : Parameters)
			{
				Result.push_back(MakePropertyToEmit(Parameter));
			}
			if (ReturnValue)
			{
				Result.push_back(MakePropertyToEmit(*ReturnValue));
			}
			return Result;
		}

		struct FFunctionToEmit
		{
			std::string Statics;
			std::string ParmsName;
			std::string OuterConstructor;
			std::string Name;
			const std::vector<FParameter>* Parameters = nullptr;
			const std::optional<FParameter>* ReturnValue = nullptr;
			uint32_t FunctionFlags = 0;
			const FMetadata* Metadata = nullptr;
		};

		/** The Statics struct of a function or delegate signature: parameter block, parameter descriptors, FuncParams. */
		std::string EmitFunctionStatics(FGenCppContext& Context, const FFunctionToEmit& Function)
		{
			const std::vector<FPropertyToEmit> Properties = ParameterProperties(*Function.Parameters, *Function.ReturnValue);
			const std::optional<FParameter>& ReturnValue = *Function.ReturnValue;
			std::string Out = "struct " + Function.Statics + "\n{\n";
			if (!Properties.empty())
			{
				Out += ParmsStruct(Function.ParmsName, *Function.Parameters, ReturnValue ? &*ReturnValue : nullptr, "\t");
			}
			DeclareProperties(Out, Properties);
			Out += "\tstatic const UECodeGen_Private::FMetaDataPairParam Function_MetaDataParams[];\n";
			Out += "\tstatic const UECodeGen_Private::FFunctionParams FuncParams;\n";
			Out += "};\n";
			DefineProperties(Out, Context, Function.Statics, Function.ParmsName, Properties);
			DefineMetadataArray(Out, Function.Statics + "::Function_MetaDataParams", *Function.Metadata);
			Out += "const UECodeGen_Private::FFunctionParams " + Function.Statics + "::FuncParams = {\n";
			Out += "\t" + CodeText::ObjectLambda(Function.OuterConstructor) + ",\n";
			Out += "\tnullptr,\n";
			Out += "\t" + CodeText::Quote(Function.Name) + ",\n";
			Out += "\t" + (Properties.empty() ? std::string("nullptr, 0, 0") : "PropPointers, UE_ARRAY_COUNT(PropPointers), sizeof(" + Function.ParmsName + ")") + ",\n";
			Out += "\t" + std::string(CodeText::NativeObjectFlags) + ",\n";
			Out += "\t(EFunctionFlags)" + CodeText::Hex32(Function.FunctionFlags) + ",\n";
			Out += "\tFunction_MetaDataParams, UE_ARRAY_COUNT(Function_MetaDataParams) };\n";
			return Out;
		}

		std::string EmitConstructorFunction(const std::string& Constructor, const std::string& Statics, const char* ConstructCall)
		{
			std::string Out = "UFunction* " + Constructor + "()\n{\n";
			Out += "\tstatic UFunction* ReturnFunction = nullptr;\n";
			Out += "\tif (!ReturnFunction)\n\t{\n";
			Out += "\t\tUECodeGen_Private::" + std::string(ConstructCall) + "(&ReturnFunction, " + Statics + "::FuncParams);\n";
			Out += "\t}\n\treturn ReturnFunction;\n}\n";
			return Out;
		}

		const char* PropertyClassFor(EPropertyKind Kind)
		{
			switch (Kind)
			{
			case EPropertyKind::Bool: return "FBoolProperty";
			case EPropertyKind::Byte: return "FByteProperty";
			case EPropertyKind::Int: return "FIntProperty";
			case EPropertyKind::Int64: return "FInt64Property";
			case EPropertyKind::Float: return "FFloatProperty";
			case EPropertyKind::Double: return "FDoubleProperty";
			case EPropertyKind::Str: return "FStrProperty";
			case EPropertyKind::Name: return "FNameProperty";
			case EPropertyKind::Text: return "FTextProperty";
			default: return nullptr;
			}
		}

		/** The P_GET_* line of a thunk for one parameter, and the expression passed to the native call. */
		struct FThunkParameter
		{
			std::string Declaration;
			std::string Argument;
		};

		// The type mapper has refused every parameter that a native entry cannot read.
		FThunkParameter MakeThunkParameter(const FParameter& Parameter)
		{
			const FMappedType& Mapped = Parameter.Mapped;
			const bool bOut = Parameter.Type.bReference && !Parameter.Type.bConst;
			const bool bStructRef = Parameter.Type.bReference && Mapped.Kind == EPropertyKind::Struct;
			const std::string Local = (bOut || bStructRef ? "Z_Param_Out_" : "Z_Param_") + Parameter.Name;
			FThunkParameter Result;
			Result.Argument = Mapped.ArgumentCastPrefix.empty() ? Local : Mapped.ArgumentCastPrefix + "(" + Local + ")";
			switch (Mapped.Kind)
			{
			case EPropertyKind::Struct:
				Result.Declaration = std::string(bStructRef ? "P_GET_STRUCT_REF(" : "P_GET_STRUCT(") + Mapped.StructName + "," + Local + ");";
				break;
			case EPropertyKind::Object:
				Result.Declaration = "P_GET_OBJECT(" + Mapped.ClassName + "," + Local + ");";
				break;
			case EPropertyKind::Class:
				Result.Declaration = "P_GET_OBJECT(UClass," + Local + ");";
				break;
			case EPropertyKind::Bool:
				// A bool out parameter is read like any other property: the frame holds a whole bool.
				Result.Declaration = bOut ? "P_GET_PROPERTY_REF(FBoolProperty," + Local + ");" : "P_GET_UBOOL(" + Local + ");";
				break;
			default:
				if (Mapped.bEnumClass)
				{
					Result.Declaration = std::string(bOut ? "P_GET_ENUM_REF(" : "P_GET_ENUM(") + Mapped.EnumName + "," + Local + ");";
					break;
				}
				Result.Declaration = std::string(bOut ? "P_GET_PROPERTY_REF(" : "P_GET_PROPERTY(") + PropertyClassFor(Mapped.Kind) + "," + Local + ");";
				break;
			}
			return Result;
		}
	}

	std::string EmitFunction(FGenCppContext& Context, const FStructLike& Class, const FFunction& Function)
	{
		const std::string Constructor = "Z_Construct_UFunction_" + Class.Name + "_" + Function.Name;
		FFunctionToEmit ToEmit;
		ToEmit.Statics = Constructor + "_Statics";
		ToEmit.ParmsName = CodeText::WithoutPrefix(Class.Name) + "_event" + Function.Name + "_Parms";
		ToEmit.OuterConstructor = Context.ClassConstructor(Class.Name);
		ToEmit.Name = Function.Name;
		ToEmit.Parameters = &Function.Parameters;
		ToEmit.ReturnValue = &Function.ReturnValue;
		ToEmit.FunctionFlags = Function.FunctionFlags;
		ToEmit.Metadata = &Function.Metadata;
		return EmitFunctionStatics(Context, ToEmit) + EmitConstructorFunction(Constructor, ToEmit.Statics, "ConstructUFunction");
	}

	std::string EmitThunk(const FStructLike& Class, const FFunction& Function)
	{
		std::string Out = "DEFINE_FUNCTION(" + Class.Name + "::exec" + Function.Name + ")\n{\n";
		std::string Arguments;
		for (const FParameter& Parameter : Function.Parameters)
		{
			const FThunkParameter Thunk = MakeThunkParameter(Parameter);
			Out += "\t" + Thunk.Declaration + "\n";
			Arguments += (Arguments.empty() ? "" : ",") + Thunk.Argument;
		}
		Out += "\tP_FINISH;\n\tP_NATIVE_BEGIN;\n";
		const std::string Call = (Function.bStatic ? Class.Name + "::" : std::string("P_THIS->")) + Function.Name + "(" + Arguments + ");";
		if (Function.ReturnValue)
		{
			Out += "\t*(" + Function.ReturnValue->Mapped.SlotType + "*)Z_Param__Result=" + Call + "\n";
		}
		else
		{
			Out += "\t" + Call + "\n";
		}
		return Out + "\tP_NATIVE_END;\n}\n";
	}

	std::string EmitDelegate(FGenCppContext& Context, const FDelegate& Delegate)
	{
		static const std::optional<FParameter> NoReturnValue;
		const std::string Name = CodeText::WithoutPrefix(Delegate.Name);
		const std::string Constructor = FGenCppContext::DelegateConstructorName(Delegate);
		FFunctionToEmit ToEmit;
		ToEmit.Statics = Constructor + "_Statics";
		ToEmit.ParmsName = "_Script_" + Context.Module.Name + "_event" + Name + "_Parms";
		// A sparse delegate's signature lives in its owning class; any other in the package.
		ToEmit.OuterConstructor = Delegate.bSparse ? Context.ClassConstructor(Delegate.OwningClass) : Context.PackageConstructor;
		ToEmit.Name = Name + "__DelegateSignature";
		ToEmit.Parameters = &Delegate.Parameters;
		ToEmit.ReturnValue = &NoReturnValue;
		ToEmit.FunctionFlags = Flags::FUNC_DelegateSignature;
		ToEmit.Metadata = &Delegate.Metadata;
		std::string Out = EmitFunctionStatics(Context, ToEmit) + EmitConstructorFunction(Constructor, ToEmit.Statics, "ConstructUDelegateFunction");

		Out += DelegateWrapperSignature(Delegate) + "\n{\n";
		if (Delegate.Parameters.empty())
		{
			Out += "\t" + Name + ".ProcessMulticastDelegate<UObject>(NULL);\n";
		}
		else
		{
			Out += ParmsStruct(ToEmit.ParmsName, Delegate.Parameters, nullptr, "\t");
			Out += "\t" + ToEmit.ParmsName + " Parms;\n";
			for (const FParameter& Parameter : Delegate.Parameters)
			{
				Out += "\tParms." + Parameter.Name + "=" + Parameter.Name + ";\n";
			}
			Out += "\t" + Name + ".ProcessMulticastDelegate<UObject>(&Parms);\n";
		}
		return Out + "}\n\n";
	}

	std::string DelegateWrapperSignature(const FDelegate& Delegate)
	{
		std::string Result = "void " + Delegate.Name + "_DelegateWrapper(const FMulticastScriptDelegate& " + CodeText::WithoutPrefix(Delegate.Name);
		for (const FParameter& Parameter : Delegate.Parameters)
		{
			Result += ", " + Parameter.Type.Text + " " + Parameter.Name;
		}
		return Result + ")";
	}
}
