#include "UObject/UECodeGen.h"

#include "Containers/StringConv.h"
#include "Misc/AssertionMacros.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"

namespace UECodeGen_Private
{
	namespace
	{
		FString Utf8ToString(const char* Text)
		{
			return FString((const UTF8CHAR*)Text);
		}

		template<typename FieldType>
		void AddMetaData(FieldType* Field, const FMetaDataPairParam* MetaDataArray, int32 NumMetaData)
		{
			for (int32 Index = 0; Index < NumMetaData; ++Index)
			{
				const FString Key = Utf8ToString(MetaDataArray[Index].NameUTF8);
				const FString Value = Utf8ToString(MetaDataArray[Index].ValueUTF8);
				Field->SetMetaData(*Key, *Value);
			}
		}

		FProperty* NewProperty(UStruct* Owner, const FPropertyParams& Params)
		{
			const FName Name(*Utf8ToString(Params.NameUTF8));
			const EPropertyFlags Flags = Params.PropertyFlags;
			const int32 Offset = Params.Offset;
			switch (Params.Flags)
			{
				case EPropertyGenFlags::Byte:
					return new FByteProperty(Owner, Name, Flags, Offset, Params.EnumFunc ? Params.EnumFunc() : nullptr);
				case EPropertyGenFlags::Int:
					return new FIntProperty(Owner, Name, Flags, Offset);
				case EPropertyGenFlags::Int64:
					return new FInt64Property(Owner, Name, Flags, Offset);
				case EPropertyGenFlags::UInt32:
					return new FUInt32Property(Owner, Name, Flags, Offset);
				case EPropertyGenFlags::Float:
					return new FFloatProperty(Owner, Name, Flags, Offset);
				case EPropertyGenFlags::Double:
					return new FDoubleProperty(Owner, Name, Flags, Offset);
				case EPropertyGenFlags::Bool:
					return new FBoolProperty(Owner, Name, Flags, Offset, Params.ElementSize);
				case EPropertyGenFlags::Str:
					return new FStrProperty(Owner, Name, Flags, Offset);
				case EPropertyGenFlags::Name:
					return new FNameProperty(Owner, Name, Flags, Offset);
				case EPropertyGenFlags::Text:
					return new FTextProperty(Owner, Name, Flags, Offset);
				case EPropertyGenFlags::Object:
					return new FObjectProperty(Owner, Name, Flags, Offset, Params.ClassFunc ? Params.ClassFunc() : UObject::StaticClass());
				case EPropertyGenFlags::Class:
					return new FClassProperty(Owner, Name, Flags, Offset, Params.MetaClassFunc ? Params.MetaClassFunc() : UObject::StaticClass());
				case EPropertyGenFlags::Struct:
					checkf(Params.ScriptStructFunc, TEXT("Struct property %s has no struct"), *Name.ToString());
					return new FStructProperty(Owner, Name, Flags, Offset, Params.ScriptStructFunc());
				case EPropertyGenFlags::InlineMulticastDelegate:
					return new FMulticastInlineDelegateProperty(Owner, Name, Flags, Offset, Params.SignatureFunc ? Params.SignatureFunc() : nullptr);
				case EPropertyGenFlags::SparseMulticastDelegate:
					return new FMulticastSparseDelegateProperty(Owner, Name, Flags, Offset, Params.SignatureFunc ? Params.SignatureFunc() : nullptr);
				case EPropertyGenFlags::None:
					break;
			}
			checkf(false, TEXT("Property %s has no property type"), *Name.ToString());
			return nullptr;
		}

		void ConstructFProperties(UStruct* Owner, const FPropertyParams* const* PropertyArray, int32 NumProperties)
		{
			for (int32 Index = 0; Index < NumProperties; ++Index)
			{
				const FPropertyParams& Params = *PropertyArray[Index];
				FProperty* Property = NewProperty(Owner, Params);
				AddMetaData(Property, Params.MetaDataArray, Params.NumMetaData);
				Owner->AddCppProperty(Property);
			}
		}

		void ConstructUFunctionInternal(UFunction** SingletonPtr, const FFunctionParams& Params, UClass* FunctionClass)
		{
			if (*SingletonPtr)
			{
				return;
			}
			UObject* Outer = Params.OuterFunc ? Params.OuterFunc() : nullptr;
			UFunction* Super = Params.SuperFunc ? Params.SuperFunc() : nullptr;
			// The outer may have built this function while being built itself.
			if (*SingletonPtr)
			{
				return;
			}

			const FName Name(*Utf8ToString(Params.NameUTF8));
			UFunction* NewFunction = NewObject<UFunction>(Outer, FunctionClass, Name, Params.ObjectFlags);
			*SingletonPtr = NewFunction;
			NewFunction->AddToRoot();
			NewFunction->SetSuperStruct(Super);
			NewFunction->FunctionFlags = EFunctionFlags(NewFunction->FunctionFlags | Params.FunctionFlags);
			NewFunction->ParmsSize = Params.StructureSize;
			NewFunction->SetPropertiesSize(Params.StructureSize);
			ConstructFProperties(NewFunction, Params.PropertyArray, Params.NumProperties);
			AddMetaData(NewFunction, Params.MetaDataArray, Params.NumMetaData);
			NewFunction->StaticLink();
			if (NewFunction->HasAnyFunctionFlags(FUNC_Native))
			{
				NewFunction->Bind();
			}
		}
	}

	void ConstructUFunction(UFunction** SingletonPtr, const FFunctionParams& Params)
	{
		ConstructUFunctionInternal(SingletonPtr, Params, UFunction::StaticClass());
	}

	void ConstructUDelegateFunction(UFunction** SingletonPtr, const FFunctionParams& Params)
	{
		ConstructUFunctionInternal(SingletonPtr, Params, UDelegateFunction::StaticClass());
	}

	void ConstructUEnum(UEnum*& OutEnum, const FEnumParams& Params)
	{
		if (OutEnum)
		{
			return;
		}
		UObject* Outer = Params.OuterFunc ? Params.OuterFunc() : nullptr;
		const FName Name(*Utf8ToString(Params.NameUTF8));
		UEnum* NewEnum = NewObject<UEnum>(Outer, UEnum::StaticClass(), Name, Params.ObjectFlags);
		OutEnum = NewEnum;
		NewEnum->AddToRoot();

		TArray<TPair<FName, int64>> EnumNames;
		EnumNames.Reserve(Params.NumEnumerators);
		for (int32 Index = 0; Index < Params.NumEnumerators; ++Index)
		{
			EnumNames.Emplace(FName(*Utf8ToString(Params.EnumeratorParams[Index].NameUTF8)), Params.EnumeratorParams[Index].Value);
		}
		NewEnum->SetEnums(EnumNames, UEnum::ECppForm(Params.CppForm), Params.EnumFlags);
		NewEnum->SetCppType(Utf8ToString(Params.CppTypeUTF8));
		NewEnum->EnumDisplayNameFn = Params.DisplayNameFunc;
		AddMetaData(NewEnum, Params.MetaDataArray, Params.NumMetaData);
	}

	void ConstructUScriptStruct(UScriptStruct*& OutStruct, const FStructParams& Params)
	{
		if (OutStruct)
		{
			return;
		}
		UObject* Outer = Params.OuterFunc ? Params.OuterFunc() : nullptr;
		UScriptStruct* Super = Params.SuperFunc ? Params.SuperFunc() : nullptr;
		UScriptStruct::ICppStructOps* StructOps = Params.StructOpsFunc ? (UScriptStruct::ICppStructOps*)Params.StructOpsFunc() : nullptr;

		const FName Name(*Utf8ToString(Params.NameUTF8));
		UScriptStruct* NewStruct = NewObject<UScriptStruct>(Outer, UScriptStruct::StaticClass(), Name, Params.ObjectFlags);
		OutStruct = NewStruct;
		NewStruct->AddToRoot();
		NewStruct->SetSuperStruct(Super);
		NewStruct->StructFlags = EStructFlags(NewStruct->StructFlags | Params.StructFlags);
		NewStruct->SetPropertiesSize(Params.SizeOf);
		NewStruct->SetMinAlignment(Params.AlignOf);
		NewStruct->SetCppStructOps(StructOps);
		ConstructFProperties(NewStruct, Params.PropertyArray, Params.NumProperties);
		AddMetaData(NewStruct, Params.MetaDataArray, Params.NumMetaData);
		NewStruct->StaticLink();
	}

	void ConstructUPackage(UPackage*& OutPackage, const FPackageParams& Params)
	{
		if (OutPackage)
		{
			return;
		}
		UPackage* NewPackage = CreatePackage(*Utf8ToString(Params.NameUTF8));
		OutPackage = NewPackage;
		NewPackage->SetPackageFlags(Params.PackageFlags);
		AddMetaData(NewPackage, Params.MetaDataArray, Params.NumMetaData);
		for (int32 Index = 0; Index < Params.NumSingletons; ++Index)
		{
			Params.SingletonFuncArray[Index]();
		}
	}

	void ConstructUClass(UClass*& OutClass, const FClassParams& Params)
	{
		if (OutClass && OutClass->HasAnyClassFlags(CLASS_Constructed))
		{
			return;
		}
		for (int32 Index = 0; Index < Params.NumDependencySingletons; ++Index)
		{
			Params.DependencySingletonFuncArray[Index]();
		}

		UClass* NewClass = Params.ClassNoRegisterFunc();
		// Published before the class's functions are built: each names the class as its outer.
		OutClass = NewClass;
		if (NewClass->HasAnyClassFlags(CLASS_Constructed))
		{
			return;
		}
		if (UClass* SuperClass = NewClass->GetSuperClass())
		{
			NewClass->ClassFlags = EClassFlags(NewClass->ClassFlags | (SuperClass->ClassFlags & CLASS_Inherit));
		}
		NewClass->ClassFlags = EClassFlags(NewClass->ClassFlags | Params.ClassFlags | CLASS_Constructed);

		for (int32 Index = 0; Index < Params.NumFunctions; ++Index)
		{
			const FClassFunctionLinkInfo& Link = Params.FunctionLinkArray[Index];
			UFunction* Function = Link.CreateFuncPtr();
			Function->Next = NewClass->Children;
			NewClass->Children = Function;
			NewClass->AddFunctionToFunctionMap(Function, FName(*Utf8ToString(Link.FuncNameUTF8)));
		}
		ConstructFProperties(NewClass, Params.PropertyArray, Params.NumProperties);
		if (Params.ClassConfigNameUTF8)
		{
			NewClass->ClassConfigName = FName(*Utf8ToString(Params.ClassConfigNameUTF8));
		}
		AddMetaData(NewClass, Params.MetaDataArray, Params.NumMetaData);
		NewClass->StaticLink();
	}
}
