// The module's registration with the engine, read back the way the engine and other modules read it:
// through the reflection objects, the registration records, the module manager and the library's
// exported symbols.

#include "Components/ActorComponent.h"
#include "Engine/EngineTypes.h"
#include "GameFramework/Actor.h"
#include "Misc/CompiledInRegistrationOrder.h"
#include "Modules/ModuleManager.h"
#include "Subsystems/WorldSubsystem.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UECodeGen.h"
#include "UObject/UObjectIterator.h"
#include "UObject/UnrealType.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceConsumerLifetimeComponent.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceSubsystem.h"
#include "VeskReferenceTestSupport.h"
#include "VeskScriptTestObjects.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <set>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

// The module's reflection constructor functions, declared as every other module that names its
// types declares them.
UPackage* Z_Construct_UPackage__Script_VeskPersistentReferences();
UScriptStruct* Z_Construct_UScriptStruct_FVesk_PersistentReference();
UScriptStruct* Z_Construct_UScriptStruct_FVesk_ReferenceBinding();
UEnum* Z_Construct_UEnum_VeskPersistentReferences_EVesk_ReferenceStatus();
UFunction* Z_Construct_UDelegateFunction_VeskPersistentReferences_Vesk_ReferenceChanged__DelegateSignature();
UClass* Z_Construct_UClass_UVesk_ReferenceConsumerLifetimeComponent();
UClass* Z_Construct_UClass_UVesk_ReferenceConsumerLifetimeComponent_NoRegister();
UClass* Z_Construct_UClass_UVesk_ReferenceObservation();
UClass* Z_Construct_UClass_UVesk_ReferenceObservation_NoRegister();
UClass* Z_Construct_UClass_UVesk_ReferenceSubsystem();
UClass* Z_Construct_UClass_UVesk_ReferenceSubsystem_NoRegister();

namespace
{
	const TCHAR* const PackageName = TEXT("/Script/VeskPersistentReferences");
	const TCHAR* const ModuleName = TEXT("VeskPersistentReferences");

	// Flags that the engine and the reflection code generator give every compiled-in class, whatever
	// it declares.
	const EClassFlags EveryCompiledInClass = EClassFlags(CLASS_Native | CLASS_Intrinsic | CLASS_Constructed | CLASS_MatchedSerializers | CLASS_TokenStreamAssembled);

	// Flags through which scripts, editors and save games see a property.
	const EPropertyFlags ScriptAndEditorFlags = CPF_Edit | CPF_BlueprintVisible | CPF_BlueprintReadOnly | CPF_BlueprintAssignable | CPF_BlueprintCallable
		| CPF_BlueprintAuthorityOnly | CPF_SaveGame | CPF_Transient | CPF_Config | CPF_GlobalConfig | CPF_EditConst | CPF_DisableEditOnInstance
		| CPF_DisableEditOnTemplate | CPF_ExposeOnSpawn | CPF_Interp | CPF_SimpleDisplay | CPF_AdvancedDisplay;

	const EPropertyFlags NativeAccessFlags = CPF_NativeAccessSpecifierPublic | CPF_NativeAccessSpecifierProtected | CPF_NativeAccessSpecifierPrivate;

	const EPropertyFlags ParameterFlags = CPF_Parm | CPF_OutParm | CPF_ReturnParm | CPF_ReferenceParm | CPF_ConstParm;

	using FKeys = std::set<std::string>;

	FKeys KeysOf(const TMap<FName, FString>& MetaData)
	{
		FKeys Keys;
		for (const TPair<FName, FString>& Pair : MetaData)
		{
			Keys.insert(Utf8(Pair.Key.ToString()));
		}
		return Keys;
	}

	std::string ValueOf(const TMap<FName, FString>& MetaData, const char* Key)
	{
		const FString* Value = MetaData.Find(FName(UTF8_TO_TCHAR(Key)));
		return Value ? Utf8(*Value) : std::string("<absent>");
	}

	// A tooltip's lines as they stand in the source: each behind "// ", each ended by a new line.
	std::string SourceComment(const std::vector<std::string>& Lines)
	{
		std::string Comment;
		for (const std::string& Line : Lines)
		{
			Comment += "// " + Line + "\n";
		}
		return Comment;
	}

	std::string ToolTip(const std::vector<std::string>& Lines)
	{
		std::string Text;
		for (const std::string& Line : Lines)
		{
			Text += (Text.empty() ? "" : "\n") + Line;
		}
		return Text;
	}

	UPackage* ScriptPackage()
	{
		return FindObject<UPackage>(nullptr, PackageName);
	}

	UClass* FindClass(const TCHAR* Name)
	{
		return FindObject<UClass>(ScriptPackage(), Name);
	}

	UEnum* EndPlayReasonEnum()
	{
		return FindObject<UEnum>(FindObject<UPackage>(nullptr, TEXT("/Script/Engine")), TEXT("EEndPlayReason"));
	}

	std::string PathOfLibrary(const void* Address)
	{
		Dl_info Info{};
		return dladdr(Address, &Info) != 0 && Info.dli_fname ? std::string(Info.dli_fname) : std::string();
	}

	std::string PluginLibrary()
	{
		return PathOfLibrary(reinterpret_cast<const void*>(&Z_Construct_UPackage__Script_VeskPersistentReferences));
	}

	// The records that the plugin's library queued, told apart from other libraries' by where the
	// record itself lives.
	TArray<FCompiledInRecord> PluginRecords()
	{
		const std::string Library = PluginLibrary();
		TArray<FCompiledInRecord> Records;
		for (const FCompiledInRecord& Record : GetCompiledInRegistrationOrder())
		{
			if (PathOfLibrary(Record.Info) == Library)
			{
				Records.Add(Record);
			}
		}
		return Records;
	}

	// The plugin library's own symbol table, as another module's loader sees it.
	class FPluginSymbols
	{
	public:
		FPluginSymbols()
			: Handle(dlopen(PluginLibrary().c_str(), RTLD_LAZY | RTLD_NOLOAD))
		{
		}

		~FPluginSymbols()
		{
			if (Handle)
			{
				dlclose(Handle);
			}
		}

		bool IsLoaded() const
		{
			return Handle != nullptr;
		}

		// Exported by the plugin library itself, not merely reachable from it.
		bool Exports(const char* MangledName) const
		{
			void* Address = dlsym(Handle, MangledName);
			return Address && PathOfLibrary(Address) == PluginLibrary();
		}

	private:
		void* Handle;
	};
}

// The module object and what the library exports.

class FModuleObjectTest : public testing::Test
{
};

TEST_F(FModuleObjectTest, EngineStartUpLoadedOneDefaultModuleObjectUnderTheModuleName)
{
	FModuleManager& Manager = FModuleManager::Get();
	ASSERT_TRUE(Manager.ModuleExists(ModuleName));
	ASSERT_TRUE(Manager.IsModuleLoaded(ModuleName));
	IModuleInterface* Module = Manager.GetModule(ModuleName);
	ASSERT_NE(Module, nullptr);

	EXPECT_TRUE(typeid(*Module) == typeid(FDefaultModuleImpl));
	EXPECT_TRUE(Module->SupportsDynamicReloading());
	EXPECT_TRUE(Module->SupportsAutomaticShutdown());
	EXPECT_FALSE(Module->IsGameModule());
	EXPECT_EQ(Manager.LoadModule(ModuleName), Module);
}

TEST_F(FModuleObjectTest, StartupAndShutdownChangeNothing)
{
	const FCompiledInRecord* Record = nullptr;
	const TArray<FCompiledInRecord> Records = PluginRecords();
	for (const FCompiledInRecord& Candidate : Records)
	{
		if (Candidate.Kind == FCompiledInRecord::EKind::Module)
		{
			Record = &Candidate;
		}
	}
	ASSERT_NE(Record, nullptr);
	const FModuleInitializerEntry* Entry = static_cast<const FModuleInitializerEntry*>(Record->Info);

	int32 ObjectsBefore = 0;
	for (TObjectIterator<UObject> It; It; ++It)
	{
		++ObjectsBefore;
	}
	const int32 ModulesBefore = FModuleManager::Get().GetModuleCount();
	const int32 RecordsBefore = GetCompiledInRegistrationOrder().Num();
	IModuleInterface* Module = Entry->Function();
	ASSERT_NE(Module, nullptr);
	EXPECT_TRUE(typeid(*Module) == typeid(FDefaultModuleImpl));
	Module->StartupModule();
	Module->PreUnloadCallback();
	Module->ShutdownModule();
	delete Module;

	int32 ObjectsAfter = 0;
	for (TObjectIterator<UObject> It; It; ++It)
	{
		++ObjectsAfter;
	}
	EXPECT_EQ(ObjectsAfter, ObjectsBefore);
	EXPECT_EQ(FModuleManager::Get().GetModuleCount(), ModulesBefore);
	EXPECT_EQ(GetCompiledInRegistrationOrder().Num(), RecordsBefore);
}

class FExportedSymbolsTest : public testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_TRUE(Symbols.IsLoaded());
	}

	FPluginSymbols Symbols;
};

TEST_F(FExportedSymbolsTest, LibraryExportsTheEngineModuleMarker)
{
	EXPECT_TRUE(Symbols.Exports("ThisIsAnUnrealEngineModule"));
}

TEST_F(FExportedSymbolsTest, ExportedClassesAndStructuresExportTheirMembers)
{
	// Names as the Itanium C++ ABI mangles them.
	const char* const Exported[] = {
		"_ZN24UVesk_ReferenceSubsystem12BeginBindingEP7UObject5FGuid",
		"_ZN24UVesk_ReferenceSubsystem7PublishERK22FVesk_ReferenceBinding",
		"_ZN24UVesk_ReferenceSubsystem21GetPrivateStaticClassEv",
		"_ZN24UVesk_ReferenceSubsystemC1ER13FVTableHelper",
		"_ZNK26UVesk_ReferenceObservation9GetStatusEv",
		"_ZN26UVesk_ReferenceObservationC1ERK18FObjectInitializer",
		"_ZN26UVesk_ReferenceObservationC1ER13FVTableHelper",
		"_ZN26UVesk_ReferenceObservation21GetPrivateStaticClassEv",
		"_ZN26UVesk_ReferenceObservation47StaticRegisterNativesUVesk_ReferenceObservationEv",
		"_ZNK25FVesk_PersistentReference8ToStringEv",
		"_ZN25FVesk_PersistentReference12StaticStructEv",
		"_ZN22FVesk_ReferenceBinding12StaticStructEv",
		"_Z10StaticEnumI21EVesk_ReferenceStatusEP5UEnumv",
		"_Z38FVesk_ReferenceChanged_DelegateWrapperRK24TMulticastScriptDelegateI14FWeakObjectPtrE",
	};
	for (const char* Name : Exported)
	{
		EXPECT_TRUE(Symbols.Exports(Name)) << Name;
	}
}

TEST_F(FExportedSymbolsTest, LifetimeComponentExportsOnlyItsReflectionConstructorFunctions)
{
	// Its class object is reached through these; the members below are mangled exactly as the
	// observation's exported ones are.
	const char* const Exported[] = {
		"_Z59Z_Construct_UClass_UVesk_ReferenceConsumerLifetimeComponentv",
		"_Z70Z_Construct_UClass_UVesk_ReferenceConsumerLifetimeComponent_NoRegisterv",
		"_Z11StaticClassI40UVesk_ReferenceConsumerLifetimeComponentEP6UClassv",
	};
	for (const char* Name : Exported)
	{
		EXPECT_TRUE(Symbols.Exports(Name)) << Name;
	}
	const char* const Hidden[] = {
		"_ZN40UVesk_ReferenceConsumerLifetimeComponentC1ERK18FObjectInitializer",
		"_ZN40UVesk_ReferenceConsumerLifetimeComponentC1ER13FVTableHelper",
		"_ZN40UVesk_ReferenceConsumerLifetimeComponent21GetPrivateStaticClassEv",
		"_ZN40UVesk_ReferenceConsumerLifetimeComponent61StaticRegisterNativesUVesk_ReferenceConsumerLifetimeComponentEv",
		"_ZN29VeskReferenceConsumerLifetime12FindOrCreateER6AActor",
	};
	for (const char* Name : Hidden)
	{
		EXPECT_FALSE(Symbols.Exports(Name)) << Name;
	}
}

TEST_F(FExportedSymbolsTest, EveryTypeIsReachableThroughItsExportedConstructorFunction)
{
	EXPECT_EQ(Z_Construct_UClass_UVesk_ReferenceConsumerLifetimeComponent(), StaticClass<UVesk_ReferenceConsumerLifetimeComponent>());
	EXPECT_EQ(Z_Construct_UClass_UVesk_ReferenceConsumerLifetimeComponent_NoRegister(), StaticClass<UVesk_ReferenceConsumerLifetimeComponent>());
	EXPECT_EQ(Z_Construct_UClass_UVesk_ReferenceObservation_NoRegister(), UVesk_ReferenceObservation::StaticClass());
	EXPECT_EQ(Z_Construct_UClass_UVesk_ReferenceSubsystem_NoRegister(), UVesk_ReferenceSubsystem::StaticClass());
	EXPECT_EQ(StaticClass<UVesk_ReferenceConsumerLifetimeComponent>(), FindClass(TEXT("Vesk_ReferenceConsumerLifetimeComponent")));
}

// The load sequence: what the library queued, in which order, and what the engine built from it.

class FLoadSequenceTest : public testing::Test
{
};

TEST_F(FLoadSequenceTest, LibraryQueuesPackageTypesAndModuleInLoadOrder)
{
	using EKind = FCompiledInRecord::EKind;
	struct FExpected
	{
		EKind Kind;
		const char* Name;
	};
	const FExpected Expected[] = {
		{ EKind::Package, "/Script/VeskPersistentReferences" },
		{ EKind::Struct, "Vesk_PersistentReference" },
		{ EKind::Struct, "Vesk_ReferenceBinding" },
		{ EKind::Enum, "EVesk_ReferenceStatus" },
		{ EKind::Class, "UVesk_ReferenceConsumerLifetimeComponent" },
		{ EKind::Class, "UVesk_ReferenceObservation" },
		{ EKind::Class, "UVesk_ReferenceSubsystem" },
		{ EKind::Module, "VeskPersistentReferences" },
	};

	const TArray<FCompiledInRecord> Records = PluginRecords();
	ASSERT_EQ(Records.Num(), int32(UE_ARRAY_COUNT(Expected)));
	for (int32 Index = 0; Index < Records.Num(); ++Index)
	{
		EXPECT_EQ(Records[Index].Kind, Expected[Index].Kind) << "record " << Index;
		EXPECT_EQ(Utf8(Records[Index].Name), Expected[Index].Name) << "record " << Index;
	}
}

TEST_F(FLoadSequenceTest, EachRecordCarriesItsAccessorAndItsGeneratedHashes)
{
	std::set<uint32> TypeHashes;
	int32 NumTypes = 0;
	for (const FCompiledInRecord& Record : PluginRecords())
	{
		SCOPED_TRACE(Utf8(Record.Name));
		switch (Record.Kind)
		{
			case FCompiledInRecord::EKind::Package:
			{
				const FPackageRegisterCompiledInInfo& Info = *static_cast<const FPackageRegisterCompiledInInfo*>(Record.Info);
				EXPECT_EQ(Info.OuterRegister(), ScriptPackage());
				EXPECT_EQ(Info.Info->OuterSingleton, ScriptPackage());
				EXPECT_NE(Info.VersionInfo.BodiesHash, 0u);
				EXPECT_NE(Info.VersionInfo.DeclarationsHash, 0u);
				break;
			}
			case FCompiledInRecord::EKind::Struct:
			{
				const FStructRegisterCompiledInInfo& Info = *static_cast<const FStructRegisterCompiledInInfo*>(Record.Info);
				UScriptStruct* Struct = Info.OuterRegister();
				ASSERT_NE(Struct, nullptr);
				EXPECT_EQ(Struct, FindObject<UScriptStruct>(ScriptPackage(), Record.Name));
				EXPECT_EQ(SIZE_T(Struct->GetStructureSize()), Info.VersionInfo.Size);
				EXPECT_NE(Info.CreateCppStructOps, nullptr);
				TypeHashes.insert(Info.VersionInfo.Hash);
				++NumTypes;
				break;
			}
			case FCompiledInRecord::EKind::Enum:
			{
				const FEnumRegisterCompiledInInfo& Info = *static_cast<const FEnumRegisterCompiledInInfo*>(Record.Info);
				EXPECT_EQ(Info.OuterRegister(), StaticEnum<EVesk_ReferenceStatus>());
				TypeHashes.insert(Info.VersionInfo.Hash);
				++NumTypes;
				break;
			}
			case FCompiledInRecord::EKind::Class:
			{
				const FClassRegisterCompiledInInfo& Info = *static_cast<const FClassRegisterCompiledInInfo*>(Record.Info);
				UClass* Class = Info.InnerRegister();
				ASSERT_NE(Class, nullptr);
				// The record's name keeps the engine letter; the class's own name does not.
				EXPECT_EQ(Utf8(Record.Name), "U" + Utf8(Class->GetName()));
				EXPECT_EQ(Info.OuterRegister(), Class);
				EXPECT_EQ(SIZE_T(Class->GetPropertiesSize()), Info.VersionInfo.Size);
				TypeHashes.insert(Info.VersionInfo.Hash);
				++NumTypes;
				break;
			}
			case FCompiledInRecord::EKind::Module:
			{
				const FModuleInitializerEntry& Entry = *static_cast<const FModuleInitializerEntry*>(Record.Info);
				EXPECT_EQ(Utf8(Entry.Name), "VeskPersistentReferences");
				EXPECT_NE(Entry.Function, nullptr);
				break;
			}
		}
	}
	EXPECT_EQ(NumTypes, 6);
	// Each type's hash covers its own generated description, so no two agree.
	EXPECT_EQ(int32(TypeHashes.size()), NumTypes);
	EXPECT_EQ(TypeHashes.count(0u), 0u);
}

TEST_F(FLoadSequenceTest, PackageIsCompiledInWithoutMetadataAndHoldsExactlyTheModulesTypes)
{
	UPackage* Package = ScriptPackage();
	ASSERT_NE(Package, nullptr);
	EXPECT_EQ(Z_Construct_UPackage__Script_VeskPersistentReferences(), Package);
	EXPECT_TRUE(Package->HasAnyPackageFlags(PKG_CompiledIn));
	EXPECT_EQ(Package->GetMetaDataMap().Num(), 0);

	std::set<std::string> Inner;
	for (TObjectIterator<UObject> It; It; ++It)
	{
		if (It->GetOuter() == Package)
		{
			Inner.insert(Utf8(It->GetClass()->GetName()) + " " + Utf8(It->GetName()));
		}
	}
	const std::set<std::string> Expected = {
		"Class Vesk_ReferenceConsumerLifetimeComponent",
		"Class Vesk_ReferenceObservation",
		"Class Vesk_ReferenceSubsystem",
		"ScriptStruct Vesk_PersistentReference",
		"ScriptStruct Vesk_ReferenceBinding",
		"Enum EVesk_ReferenceStatus",
		"DelegateFunction Vesk_ReferenceChanged__DelegateSignature",
	};
	// Class default objects live in the package too; they are the engine's, not the registration's.
	std::set<std::string> Registered;
	for (const std::string& Name : Inner)
	{
		if (Name.find(" Default__") == std::string::npos)
		{
			Registered.insert(Name);
		}
	}
	EXPECT_EQ(Registered, Expected);
}

TEST_F(FLoadSequenceTest, TheDelegateSignatureIsTheOnlyFunctionBuiltWithThePackage)
{
	UPackage* Package = ScriptPackage();
	ASSERT_NE(Package, nullptr);
	TArray<UFunction*> PackageFunctions;
	for (TObjectIterator<UFunction> It; It; ++It)
	{
		if (It->GetOuter() == Package)
		{
			PackageFunctions.Add(*It);
		}
	}
	ASSERT_EQ(PackageFunctions.Num(), 1);
	EXPECT_EQ(PackageFunctions[0], Z_Construct_UDelegateFunction_VeskPersistentReferences_Vesk_ReferenceChanged__DelegateSignature());
}

TEST_F(FLoadSequenceTest, EachTypeIsBuiltOnceAndItsConstructorFunctionReturnsTheCachedType)
{
	int32 ObjectsBefore = 0;
	for (TObjectIterator<UObject> It; It; ++It)
	{
		++ObjectsBefore;
	}

	for (int32 Call = 0; Call < 2; ++Call)
	{
		EXPECT_EQ(Z_Construct_UPackage__Script_VeskPersistentReferences(), ScriptPackage());
		EXPECT_EQ(Z_Construct_UScriptStruct_FVesk_PersistentReference(), FVesk_PersistentReference::StaticStruct());
		EXPECT_EQ(Z_Construct_UScriptStruct_FVesk_ReferenceBinding(), FVesk_ReferenceBinding::StaticStruct());
		EXPECT_EQ(Z_Construct_UEnum_VeskPersistentReferences_EVesk_ReferenceStatus(), StaticEnum<EVesk_ReferenceStatus>());
		EXPECT_EQ(Z_Construct_UDelegateFunction_VeskPersistentReferences_Vesk_ReferenceChanged__DelegateSignature(),
			FindObject<UFunction>(ScriptPackage(), TEXT("Vesk_ReferenceChanged__DelegateSignature")));
		EXPECT_EQ(Z_Construct_UClass_UVesk_ReferenceConsumerLifetimeComponent(), FindClass(TEXT("Vesk_ReferenceConsumerLifetimeComponent")));
		EXPECT_EQ(Z_Construct_UClass_UVesk_ReferenceObservation(), UVesk_ReferenceObservation::StaticClass());
		EXPECT_EQ(Z_Construct_UClass_UVesk_ReferenceSubsystem(), UVesk_ReferenceSubsystem::StaticClass());
		for (const TCHAR* Class : { TEXT("Vesk_ReferenceConsumerLifetimeComponent"), TEXT("Vesk_ReferenceObservation"), TEXT("Vesk_ReferenceSubsystem") })
		{
			for (UField* Field = FindClass(Class)->Children; Field; Field = Field->Next)
			{
				const UFunction* Function = Cast<UFunction>(Field);
				ASSERT_NE(Function, nullptr);
				EXPECT_EQ(FindClass(Class)->FindFunctionByName(Function->GetFName()), Function);
			}
		}
	}

	int32 ObjectsAfter = 0;
	for (TObjectIterator<UObject> It; It; ++It)
	{
		++ObjectsAfter;
	}
	EXPECT_EQ(ObjectsAfter, ObjectsBefore);

	// One object of each name: nothing was built twice at start-up either.
	for (const TCHAR* Name : { TEXT("Vesk_PersistentReference"), TEXT("Vesk_ReferenceBinding"), TEXT("EVesk_ReferenceStatus"), TEXT("Vesk_ReferenceChanged__DelegateSignature"),
			TEXT("Vesk_ReferenceConsumerLifetimeComponent"), TEXT("Vesk_ReferenceObservation"), TEXT("Vesk_ReferenceSubsystem") })
	{
		int32 Count = 0;
		for (TObjectIterator<UObject> It; It; ++It)
		{
			if (It->GetFName() == FName(Name) && It->GetOuter() == ScriptPackage())
			{
				++Count;
			}
		}
		EXPECT_EQ(Count, 1) << Utf8(Name);
	}
}

TEST_F(FLoadSequenceTest, TypesOfOtherModulesAreFilledInFromTheirModules)
{
	UScriptStruct* Guid = TBaseStructure<FGuid>::Get();
	for (const UScriptStruct* Struct : { FVesk_PersistentReference::StaticStruct(), FVesk_ReferenceBinding::StaticStruct() })
	{
		const FStructProperty* Id = CastField<FStructProperty>(Struct->FindPropertyByName(TEXT("Id")));
		ASSERT_NE(Id, nullptr) << Utf8(Struct->GetName());
		EXPECT_EQ(Id->Struct, Guid) << Utf8(Struct->GetName());
	}

	UClass* Subsystem = UVesk_ReferenceSubsystem::StaticClass();
	UClass* Observation = UVesk_ReferenceObservation::StaticClass();
	const FStructProperty* Identity = CastField<FStructProperty>(Subsystem->FindFunctionByName(TEXT("BeginBinding"))->FindPropertyByName(TEXT("Identity")));
	ASSERT_NE(Identity, nullptr);
	EXPECT_EQ(Identity->Struct, Guid);

	for (const TCHAR* Function : { TEXT("BeginBinding"), TEXT("BeginSavedBinding") })
	{
		const FObjectProperty* Object = CastField<FObjectProperty>(Subsystem->FindFunctionByName(FName(Function))->FindPropertyByName(TEXT("Object")));
		ASSERT_NE(Object, nullptr) << Utf8(Function);
		EXPECT_EQ(Object->PropertyClass, UObject::StaticClass()) << Utf8(Function);
	}

	ASSERT_NE(EndPlayReasonEnum(), nullptr);
	for (const UFunction* Handler : { Subsystem->FindFunctionByName(TEXT("OnActorEndPlay")), Observation->FindFunctionByName(TEXT("OnConsumerEndPlay")) })
	{
		ASSERT_NE(Handler, nullptr);
		const FObjectProperty* Actor = CastField<FObjectProperty>(Handler->FindPropertyByName(TEXT("Actor")));
		const FByteProperty* Reason = CastField<FByteProperty>(Handler->FindPropertyByName(TEXT("Reason")));
		ASSERT_NE(Actor, nullptr) << Utf8(Handler->GetName());
		ASSERT_NE(Reason, nullptr) << Utf8(Handler->GetName());
		EXPECT_EQ(Actor->PropertyClass, AActor::StaticClass()) << Utf8(Handler->GetName());
		EXPECT_EQ(Reason->Enum, EndPlayReasonEnum()) << Utf8(Handler->GetName());
	}

	for (const TCHAR* Name : { TEXT("ExpectedType"), TEXT("ComponentType") })
	{
		const FClassProperty* Property = CastField<FClassProperty>(Observation->FindPropertyByName(FName(Name)));
		ASSERT_NE(Property, nullptr) << Utf8(Name);
		EXPECT_EQ(Property->PropertyClass, UClass::StaticClass()) << Utf8(Name);
		EXPECT_EQ(Property->MetaClass, UObject::StaticClass()) << Utf8(Name);
	}

	EXPECT_EQ(FindClass(TEXT("Vesk_ReferenceConsumerLifetimeComponent"))->GetSuperClass(), UActorComponent::StaticClass());
	EXPECT_EQ(Observation->GetSuperClass(), UObject::StaticClass());
	EXPECT_EQ(Subsystem->GetSuperClass(), UTickableWorldSubsystem::StaticClass());
}

// The three classes, row by row.

namespace
{
	struct FClassRow
	{
		const TCHAR* Name;
		UClass* (*SuperClass)();
		EClassFlags FlagsBeyondNative;
		EClassFlags StaticClassFlags;
		const char* Header;
		std::vector<std::string> ToolTipLines;
		std::vector<const char*> Functions;
		std::vector<const char*> Properties;
		bool bExported;
		std::vector<std::pair<const char*, const char*>> ExtraMetaData;
	};

	void PrintTo(const FClassRow& Row, std::ostream* Out)
	{
		*Out << Utf8(Row.Name);
	}

	const FClassRow ClassRows[] = {
		{
			TEXT("Vesk_ReferenceSubsystem"),
			&UTickableWorldSubsystem::StaticClass,
			CLASS_RequiredAPI,
			UVesk_ReferenceSubsystem::StaticClassFlags,
			"Public/Vesk_ReferenceSubsystem.h",
			{ "Availability index only. Producers own data and persistence, and explicitly commit restored bindings." },
			{ "BeginBinding", "BeginSavedBinding", "OnActorEndPlay", "Publish", "RemovePermanently", "Withdraw" },
			{},
			true,
			{},
		},
		{
			TEXT("Vesk_ReferenceObservation"),
			&UObject::StaticClass,
			EClassFlags(CLASS_RequiredAPI | CLASS_HasInstancedReference),
			UVesk_ReferenceObservation::StaticClassFlags,
			"Public/Vesk_ReferenceObservation.h",
			{ "Retain this subscription in the consumer. Neither the registry nor the subscription retains the consumer/target." },
			{ "GetStatus", "IsActive", "OnConsumerEndPlay", "Stop" },
			{ "OnChanged", "ExpectedType", "ComponentType" },
			true,
			{},
		},
		{
			TEXT("Vesk_ReferenceConsumerLifetimeComponent"),
			&UActorComponent::StaticClass,
			EClassFlags(CLASS_Transient | CLASS_Config | CLASS_DefaultToInstanced),
			UVesk_ReferenceConsumerLifetimeComponent::StaticClassFlags,
			"Private/Vesk_ReferenceConsumerLifetimeComponent.h",
			{ "Native component play state spans the actor's ReceiveEndPlay callback.", "Shared per consumer actor; never ticks, replicates, or keeps subscriptions alive." },
			{},
			{},
			false,
			{ { "IsBlueprintBase", "false" } },
		},
	};
}

class FClassRegistrationTest : public testing::TestWithParam<FClassRow>
{
protected:
	void SetUp() override
	{
		Class = FindClass(GetParam().Name);
		ASSERT_NE(Class, nullptr);
	}

	UClass* Class = nullptr;
};

TEST_P(FClassRegistrationTest, IsNamedWithoutItsEngineLetterInTheScriptPackage)
{
	EXPECT_EQ(Utf8(Class->GetName()), Utf8(GetParam().Name));
	EXPECT_EQ(Class->GetOuter(), ScriptPackage());
	EXPECT_TRUE(Class->HasAllFlags(EObjectFlags(RF_Public | RF_MarkAsNative)));
}

TEST_P(FClassRegistrationTest, DerivesFromItsSuperClassWithinObjectUnderTheEngineConfiguration)
{
	EXPECT_EQ(Class->GetSuperClass(), GetParam().SuperClass());
	EXPECT_EQ(Class->ClassWithin, UObject::StaticClass());
	EXPECT_EQ(Class->ClassConfigName, FName(TEXT("Engine")));
	EXPECT_EQ(Class->ClassCastFlags, CASTCLASS_None);
}

TEST_P(FClassRegistrationTest, CarriesExactlyItsClassFlagsBeyondThoseOfEveryCompiledInClass)
{
	EXPECT_TRUE(Class->HasAllClassFlags(CLASS_Native));
	EXPECT_EQ(EClassFlags(Class->ClassFlags & ~EveryCompiledInClass), GetParam().FlagsBeyondNative);
}

TEST_P(FClassRegistrationTest, StaticRegistrationGivesItsOwnFlagsPackageAndCallbacks)
{
	// The static flags are the class's own, marked intrinsic; what the super class passes on is added
	// when the class object is made.
	EXPECT_TRUE(EnumHasAllFlags(GetParam().StaticClassFlags, CLASS_Intrinsic));
	const EClassFlags Own = EClassFlags(GetParam().FlagsBeyondNative & (CLASS_Transient | CLASS_Config));
	EXPECT_EQ(GetParam().StaticClassFlags, EClassFlags(CLASS_Intrinsic | Own));
	EXPECT_NE(Class->ClassConstructor, nullptr);
	EXPECT_NE(Class->ClassVTableHelperCtorCaller, nullptr);
	EXPECT_NE(Class->CppClassStaticFunctions.AddReferencedObjects, nullptr);
}

TEST_P(FClassRegistrationTest, MetadataIsTheHeaderAndTheSourceComment)
{
	const TMap<FName, FString>& MetaData = Class->GetMetaDataMap();
	FKeys Expected = { "Comment", "IncludePath", "ModuleRelativePath", "ToolTip" };
	for (const auto& Extra : GetParam().ExtraMetaData)
	{
		Expected.insert(Extra.first);
		EXPECT_EQ(ValueOf(MetaData, Extra.first), Extra.second) << Extra.first;
	}
	EXPECT_EQ(KeysOf(MetaData), Expected);

	const std::string Header = GetParam().Header;
	EXPECT_EQ(ValueOf(MetaData, "ModuleRelativePath"), Header);
	EXPECT_EQ(ValueOf(MetaData, "IncludePath"), Header.substr(Header.find('/') + 1));
	EXPECT_EQ(ValueOf(MetaData, "ToolTip"), ToolTip(GetParam().ToolTipLines));
	EXPECT_EQ(ValueOf(MetaData, "Comment"), SourceComment(GetParam().ToolTipLines));
}

TEST_P(FClassRegistrationTest, ReflectsExactlyItsFunctionsAndProperties)
{
	std::set<std::string> Functions;
	for (UField* Field = Class->Children; Field; Field = Field->Next)
	{
		ASSERT_TRUE(Field->IsA(UFunction::StaticClass())) << Utf8(Field->GetName());
		Functions.insert(Utf8(Field->GetName()));
	}
	EXPECT_EQ(Functions, std::set<std::string>(GetParam().Functions.begin(), GetParam().Functions.end()));

	std::vector<std::string> Properties;
	for (TFieldIterator<FProperty> It(Class, EFieldIteratorFlags::ExcludeSuper); It; ++It)
	{
		Properties.push_back(Utf8(It->GetName()));
	}
	EXPECT_EQ(Properties, std::vector<std::string>(GetParam().Properties.begin(), GetParam().Properties.end()));
}

TEST_P(FClassRegistrationTest, RegistersTheScriptEntryOfEachFunctionByName)
{
	std::set<std::string> Entries;
	for (const TPair<FName, FNativeFuncPtr>& Entry : Class->GetNativeFunctionTable())
	{
		Entries.insert(Utf8(Entry.Key.ToString()));
		const UFunction* Function = Class->FindFunctionByName(Entry.Key, false);
		ASSERT_NE(Function, nullptr) << Utf8(Entry.Key.ToString());
		EXPECT_EQ(Function->GetNativeFunc(), Entry.Value) << Utf8(Entry.Key.ToString());
		EXPECT_NE(Entry.Value, nullptr) << Utf8(Entry.Key.ToString());
	}
	EXPECT_EQ(Entries, std::set<std::string>(GetParam().Functions.begin(), GetParam().Functions.end()));
}

TEST_P(FClassRegistrationTest, NothingMarksItAsAScriptType)
{
	EXPECT_FALSE(Class->HasMetaData(TEXT("BlueprintType")));
	EXPECT_FALSE(Class->HasMetaData(TEXT("BlueprintSpawnableComponent")));
	EXPECT_FALSE(Class->HasMetaData(TEXT("Blueprintable")));
}

INSTANTIATE_TEST_SUITE_P(Classes, FClassRegistrationTest, testing::ValuesIn(ClassRows),
	[](const testing::TestParamInfo<FClassRow>& Info) { return Utf8(Info.param.Name); });

class FClassConstructionTest : public FVeskReferenceTestBase
{
};

TEST_F(FClassConstructionTest, ComponentInheritsConfigAndDefaultToInstancedFromItsSuperClass)
{
	const UClass* Component = FindClass(TEXT("Vesk_ReferenceConsumerLifetimeComponent"));
	ASSERT_NE(Component, nullptr);
	EXPECT_TRUE(UActorComponent::StaticClass()->HasAllClassFlags(EClassFlags(CLASS_Config | CLASS_DefaultToInstanced)));
	EXPECT_FALSE(EnumHasAnyFlags(UVesk_ReferenceConsumerLifetimeComponent::StaticClassFlags, CLASS_DefaultToInstanced));
	EXPECT_TRUE(Component->HasAllClassFlags(EClassFlags(CLASS_Config | CLASS_DefaultToInstanced)));
	EXPECT_FALSE(UActorComponent::StaticClass()->HasAnyClassFlags(CLASS_Transient));
}

TEST_F(FClassConstructionTest, RegistryTakesNoObjectInitializerAndTheObservationTakesAnOptionalOne)
{
	static_assert(std::is_default_constructible_v<UVesk_ReferenceSubsystem>);
	static_assert(!std::is_constructible_v<UVesk_ReferenceSubsystem, const FObjectInitializer&>);
	static_assert(std::is_constructible_v<UVesk_ReferenceObservation, const FObjectInitializer&>);
	static_assert(std::is_default_constructible_v<UVesk_ReferenceObservation>);
	static_assert(std::is_constructible_v<UVesk_ReferenceConsumerLifetimeComponent, const FObjectInitializer&>);

	// The class's construction callback builds each in place, whichever constructor it has.
	UVesk_ReferenceObservation* Observation = NewObject<UVesk_ReferenceObservation>(GetTransientPackage());
	ASSERT_NE(Observation, nullptr);
	EXPECT_EQ(Observation->GetClass(), UVesk_ReferenceObservation::StaticClass());
	EXPECT_EQ(Observation->GetStatus(), EVesk_ReferenceStatus::Empty);
	EXPECT_EQ(Subsystem->GetClass(), UVesk_ReferenceSubsystem::StaticClass());
}

TEST_F(FClassConstructionTest, VTableHelperCallerBuildsAThrowAwayDefaultObjectInTheTransientPackage)
{
	for (UClass* Class : { UVesk_ReferenceSubsystem::StaticClass(), UVesk_ReferenceObservation::StaticClass() })
	{
		SCOPED_TRACE(Utf8(Class->GetName()));
		FVTableHelper Helper;
		UObject* Object = Class->ClassVTableHelperCtorCaller(Helper);
		ASSERT_NE(Object, nullptr);
		const TWeakObjectPtr<UObject> Weak(Object);
		EXPECT_EQ(Object->GetClass(), Class);
		EXPECT_EQ(Object->GetOuter(), GetTransientPackage());
		EXPECT_TRUE(Object->HasAllFlags(EObjectFlags(RF_NeedLoad | RF_ClassDefaultObject | RF_TagGarbageTemp)));
		EXPECT_NE(Object, Class->GetDefaultObject());

		// Nothing keeps it.
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		EXPECT_FALSE(Weak.IsValid());
	}
}

// The two structures.

class FStructRegistrationTest : public testing::Test
{
};

TEST_F(FStructRegistrationTest, BothAreExportedNativeStructuresOfThePublicHeader)
{
	for (UScriptStruct* Struct : { FVesk_PersistentReference::StaticStruct(), FVesk_ReferenceBinding::StaticStruct() })
	{
		SCOPED_TRACE(Utf8(Struct->GetName()));
		EXPECT_EQ(Struct->GetOuter(), ScriptPackage());
		EXPECT_TRUE((Struct->StructFlags & (STRUCT_Native | STRUCT_RequiredAPI)) == (STRUCT_Native | STRUCT_RequiredAPI));
		EXPECT_EQ(Struct->GetSuperStruct(), nullptr);
		EXPECT_EQ(ValueOf(Struct->GetMetaDataMap(), "ModuleRelativePath"), "Public/Vesk_PersistentReference.h");
	}
	EXPECT_EQ(Utf8(FVesk_PersistentReference::StaticStruct()->GetName()), "Vesk_PersistentReference");
	EXPECT_EQ(Utf8(FVesk_ReferenceBinding::StaticStruct()->GetName()), "Vesk_ReferenceBinding");
	EXPECT_EQ(FVesk_PersistentReference::StaticStruct(), StaticStruct<FVesk_PersistentReference>());
	EXPECT_EQ(FVesk_ReferenceBinding::StaticStruct(), StaticStruct<FVesk_ReferenceBinding>());
}

TEST_F(FStructRegistrationTest, PersistentReferenceIsNoScriptTypeAndCarriesItsTooltip)
{
	const std::vector<std::string> Lines = { "Shared storage for every typed specialization. Contains no instance or class pointers." };
	const TMap<FName, FString>& MetaData = FVesk_PersistentReference::StaticStruct()->GetMetaDataMap();
	EXPECT_EQ(KeysOf(MetaData), (FKeys{ "Comment", "ModuleRelativePath", "ToolTip" }));
	EXPECT_EQ(ValueOf(MetaData, "ToolTip"), ToolTip(Lines));
	EXPECT_EQ(ValueOf(MetaData, "Comment"), SourceComment(Lines));
}

TEST_F(FStructRegistrationTest, BindingIsAScriptTypeAndCarriesItsTooltip)
{
	const std::vector<std::string> Lines = { "A producer must retain this token; callbacks from previous incarnations cannot detach a replacement." };
	const TMap<FName, FString>& MetaData = FVesk_ReferenceBinding::StaticStruct()->GetMetaDataMap();
	EXPECT_EQ(KeysOf(MetaData), (FKeys{ "BlueprintType", "Comment", "ModuleRelativePath", "ToolTip" }));
	EXPECT_EQ(ValueOf(MetaData, "BlueprintType"), "true");
	EXPECT_EQ(ValueOf(MetaData, "ToolTip"), ToolTip(Lines));
	EXPECT_EQ(ValueOf(MetaData, "Comment"), SourceComment(Lines));
}

TEST_F(FStructRegistrationTest, ReflectedFieldsAreListedInDeclarationOrderWithoutTheWorld)
{
	const auto Names = [](const UScriptStruct* Struct)
	{
		std::vector<std::string> Result;
		for (TFieldIterator<FProperty> It(Struct); It; ++It)
		{
			Result.push_back(Utf8(It->GetName()));
		}
		return Result;
	};
	EXPECT_EQ(Names(FVesk_PersistentReference::StaticStruct()), (std::vector<std::string>{ "Id" }));
	EXPECT_EQ(Names(FVesk_ReferenceBinding::StaticStruct()), (std::vector<std::string>{ "Id", "Generation" }));
}

TEST_F(FStructRegistrationTest, SizesAndAlignmentsAreThoseOfTheNativeTypes)
{
	EXPECT_EQ(FVesk_PersistentReference::StaticStruct()->GetStructureSize(), 16);
	EXPECT_EQ(FVesk_PersistentReference::StaticStruct()->GetMinAlignment(), 4);
	EXPECT_EQ(FVesk_ReferenceBinding::StaticStruct()->GetStructureSize(), 32);
	EXPECT_EQ(FVesk_ReferenceBinding::StaticStruct()->GetMinAlignment(), 8);
}

TEST_F(FStructRegistrationTest, OperationsAreZeroConstructionBytewiseCopyAndHashOnlyForTheReference)
{
	const UScriptStruct::ICppStructOps* ReferenceOps = FVesk_PersistentReference::StaticStruct()->GetCppStructOps();
	const UScriptStruct::ICppStructOps* BindingOps = FVesk_ReferenceBinding::StaticStruct()->GetCppStructOps();
	ASSERT_NE(ReferenceOps, nullptr);
	ASSERT_NE(BindingOps, nullptr);

	EXPECT_TRUE(ReferenceOps->HasZeroConstructor());
	EXPECT_TRUE(ReferenceOps->IsPlainOldData());
	EXPECT_TRUE(ReferenceOps->HasGetTypeHash());
	EXPECT_TRUE(BindingOps->HasZeroConstructor());
	EXPECT_TRUE(BindingOps->IsPlainOldData());
	EXPECT_FALSE(BindingOps->HasGetTypeHash());

	// A copy through the reflected type is a copy of every byte.
	FVesk_ReferenceBinding Source;
	Source.Id = FGuid(1, 2, 3, 4);
	Source.Generation = 0x0102030405060708LL;
	FVesk_ReferenceBinding Copy;
	FVesk_ReferenceBinding::StaticStruct()->CopyScriptStruct(&Copy, &Source);
	EXPECT_EQ(FMemory::Memcmp(&Copy, &Source, sizeof(FVesk_ReferenceBinding)), 0);
}

TEST_F(FStructRegistrationTest, ReflectedHashIsTheLowHalfOfCityHash64OfTheIdentity)
{
	// Known answers from an independent CityHash64 (v1.1) implementation over the guid's four
	// little-endian words, low 32 bits.
	const struct
	{
		FGuid Guid;
		uint32 Low32;
	} Vectors[] = {
		{ FGuid(0u, 0u, 0u, 0u), 0xcfed5815u },
		{ FGuid(1u, 42u, 0u, 255u), 0xe2b0eed8u },
		{ FGuid(0xdeadbeefu, 0x01234567u, 0x89abcdefu, 0xffffffffu), 0x823b2882u },
	};
	for (const auto& Vector : Vectors)
	{
		FVesk_PersistentReference Reference;
		Reference.Id = Vector.Guid;
		EXPECT_EQ(FVesk_PersistentReference::StaticStruct()->GetStructTypeHash(&Reference), Vector.Low32) << Utf8(Reference.ToString());
		EXPECT_EQ(FVesk_PersistentReference::StaticStruct()->GetStructTypeHash(&Reference), GetTypeHash(Reference.Id)) << Utf8(Reference.ToString());
	}
}

// Every reflected property, row by row.

namespace
{
	struct FPropertyRow
	{
		UStruct* (*Owner)();
		const TCHAR* Name;
		FFieldClass* (*Type)();
		EPropertyFlags ScriptAndEditor;
		EPropertyFlags Access;
		const char* Header;
		std::vector<std::pair<const char*, const char*>> OtherMetaData;
	};

	void PrintTo(const FPropertyRow& Row, std::ostream* Out)
	{
		*Out << Utf8(Row.Owner()->GetName()) << "." << Utf8(Row.Name);
	}

	UStruct* PersistentReferenceStruct()
	{
		return FVesk_PersistentReference::StaticStruct();
	}

	UStruct* BindingStruct()
	{
		return FVesk_ReferenceBinding::StaticStruct();
	}

	UStruct* ObservationClass()
	{
		return UVesk_ReferenceObservation::StaticClass();
	}

	const FPropertyRow PropertyRows[] = {
		{ &PersistentReferenceStruct, TEXT("Id"), &FStructProperty::StaticClass, CPF_SaveGame, CPF_NativeAccessSpecifierPublic, "Public/Vesk_PersistentReference.h", {} },
		{ &BindingStruct, TEXT("Id"), &FStructProperty::StaticClass, CPF_BlueprintVisible | CPF_BlueprintReadOnly, CPF_NativeAccessSpecifierPublic, "Public/Vesk_PersistentReference.h",
			{ { "Category", "Vesk_ReferenceBinding" } } },
		{ &BindingStruct, TEXT("Generation"), &FInt64Property::StaticClass, CPF_BlueprintVisible | CPF_BlueprintReadOnly, CPF_NativeAccessSpecifierPublic, "Public/Vesk_PersistentReference.h",
			{ { "Category", "Vesk_ReferenceBinding" } } },
		{ &ObservationClass, TEXT("OnChanged"), &FMulticastInlineDelegateProperty::StaticClass, CPF_BlueprintAssignable, CPF_NativeAccessSpecifierPublic, "Public/Vesk_ReferenceObservation.h", {} },
		{ &ObservationClass, TEXT("ExpectedType"), &FClassProperty::StaticClass, CPF_None, CPF_NativeAccessSpecifierPrivate, "Public/Vesk_ReferenceObservation.h", {} },
		{ &ObservationClass, TEXT("ComponentType"), &FClassProperty::StaticClass, CPF_None, CPF_NativeAccessSpecifierPrivate, "Public/Vesk_ReferenceObservation.h", {} },
	};
}

class FPropertyRegistrationTest : public testing::TestWithParam<FPropertyRow>
{
protected:
	void SetUp() override
	{
		Property = GetParam().Owner()->FindPropertyByName(FName(GetParam().Name));
		ASSERT_NE(Property, nullptr);
	}

	FProperty* Property = nullptr;
};

TEST_P(FPropertyRegistrationTest, HasItsTypeAccessAndScriptFlags)
{
	EXPECT_TRUE(Property->IsA(GetParam().Type())) << Utf8(Property->GetClass()->GetName());
	EXPECT_EQ(Property->GetOwnerStruct(), GetParam().Owner());
	EXPECT_EQ(Property->PropertyFlags & ScriptAndEditorFlags, GetParam().ScriptAndEditor);
	EXPECT_EQ(Property->PropertyFlags & NativeAccessFlags, GetParam().Access);
	EXPECT_FALSE(Property->HasAnyPropertyFlags(ParameterFlags));
}

TEST_P(FPropertyRegistrationTest, CarriesItsModuleRelativePathAndNoOtherMetadataThanListed)
{
	const TMap<FName, FString>& MetaData = Property->GetMetaDataMap();
	FKeys Expected = { "ModuleRelativePath" };
	for (const auto& Other : GetParam().OtherMetaData)
	{
		Expected.insert(Other.first);
		EXPECT_EQ(ValueOf(MetaData, Other.first), Other.second) << Other.first;
	}
	EXPECT_EQ(KeysOf(MetaData), Expected);
	EXPECT_EQ(ValueOf(MetaData, "ModuleRelativePath"), GetParam().Header);
}

INSTANTIATE_TEST_SUITE_P(Properties, FPropertyRegistrationTest, testing::ValuesIn(PropertyRows),
	[](const testing::TestParamInfo<FPropertyRow>& Info) { return Utf8(Info.param.Owner()->GetName()) + "_" + Utf8(Info.param.Name); });

class FClassReferenceCollectionTest : public FVeskReferenceTestBase
{
};

TEST_F(FClassReferenceCollectionTest, CollectorFollowsTheObservationsTwoClassReferences)
{
	const TStrongObjectPtr<UVesk_ReferenceObservation> Observation(NewObject<UVesk_ReferenceObservation>(GetTransientPackage()));
	for (const TCHAR* Name : { TEXT("ExpectedType"), TEXT("ComponentType") })
	{
		SCOPED_TRACE(Utf8(Name));
		const FClassProperty* Property = CastField<FClassProperty>(UVesk_ReferenceObservation::StaticClass()->FindPropertyByName(FName(Name)));
		ASSERT_NE(Property, nullptr);
		// A class that nothing else holds: only the observation's property can keep it.
		UClass* Held = NewObject<UClass>(GetTransientPackage());
		const TWeakObjectPtr<UClass> Weak(Held);
		Property->SetObjectPropertyValue(Property->ContainerPtrToValuePtr<void>(Observation.Get()), Held);

		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		EXPECT_TRUE(Weak.IsValid());

		Property->SetObjectPropertyValue(Property->ContainerPtrToValuePtr<void>(Observation.Get()), nullptr);
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		EXPECT_FALSE(Weak.IsValid());
	}
}

// The enumeration.

class FEnumRegistrationTest : public testing::Test
{
protected:
	void SetUp() override
	{
		Enum = StaticEnum<EVesk_ReferenceStatus>();
		ASSERT_NE(Enum, nullptr);
	}

	UEnum* Enum = nullptr;
};

TEST_F(FEnumRegistrationTest, IsAByteEnumClassOfThePackage)
{
	static_assert(std::is_same_v<std::underlying_type_t<EVesk_ReferenceStatus>, uint8>);
	EXPECT_EQ(Enum->GetOuter(), ScriptPackage());
	EXPECT_EQ(Utf8(Enum->GetName()), "EVesk_ReferenceStatus");
	EXPECT_EQ(Utf8(Enum->CppType()), "EVesk_ReferenceStatus");
	EXPECT_EQ(Enum->GetCppForm(), UEnum::ECppForm::EnumClass);
}

TEST_F(FEnumRegistrationTest, EntriesAreRegisteredInOrderUnderTheirFullNamesWithTheirValues)
{
	const struct
	{
		const char* Name;
		EVesk_ReferenceStatus Entry;
		int64 Value;
	} Expected[] = {
		{ "Empty", EVesk_ReferenceStatus::Empty, 0 },
		{ "Unavailable", EVesk_ReferenceStatus::Unavailable, 1 },
		{ "Initializing", EVesk_ReferenceStatus::Initializing, 2 },
		{ "TypeMismatch", EVesk_ReferenceStatus::TypeMismatch, 3 },
		{ "MissingComponent", EVesk_ReferenceStatus::MissingComponent, 4 },
		{ "AmbiguousComponent", EVesk_ReferenceStatus::AmbiguousComponent, 5 },
		{ "Available", EVesk_ReferenceStatus::Available, 6 },
		{ "Removed", EVesk_ReferenceStatus::Removed, 7 },
	};
	// The eight declared entries, then the one past the largest that the engine adds to every enum.
	ASSERT_EQ(Enum->NumEnums(), 9);
	for (int32 Index = 0; Index < 8; ++Index)
	{
		const std::string FullName = std::string("EVesk_ReferenceStatus::") + Expected[Index].Name;
		EXPECT_EQ(Utf8(Enum->GetNameByIndex(Index).ToString()), FullName);
		EXPECT_EQ(Enum->GetValueByIndex(Index), Expected[Index].Value) << FullName;
		EXPECT_EQ(int64(Expected[Index].Entry), Expected[Index].Value) << FullName;
		EXPECT_EQ(Enum->GetValueByName(FName(UTF8_TO_TCHAR(FullName.c_str()))), Expected[Index].Value) << FullName;
	}
	EXPECT_EQ(Utf8(Enum->GetNameByIndex(8).ToString()), "EVesk_ReferenceStatus::EVesk_ReferenceStatus_MAX");
	EXPECT_EQ(Enum->GetValueByIndex(8), 8);
}

TEST_F(FEnumRegistrationTest, EachEntryHasANameKeyHoldingItsFullNameAndNothingMarksAScriptType)
{
	FKeys Expected = { "ModuleRelativePath" };
	for (int32 Index = 0; Index < 8; ++Index)
	{
		const std::string Short = Utf8(Enum->GetNameStringByIndex(Index));
		Expected.insert(Short + ".Name");
		EXPECT_EQ(Utf8(Enum->GetMetaData(TEXT("Name"), Index)), Utf8(Enum->GetNameByIndex(Index).ToString())) << Short;
	}
	EXPECT_EQ(KeysOf(Enum->GetMetaDataMap()), Expected);
	EXPECT_EQ(ValueOf(Enum->GetMetaDataMap(), "Available.Name"), "EVesk_ReferenceStatus::Available");
	EXPECT_EQ(ValueOf(Enum->GetMetaDataMap(), "ModuleRelativePath"), "Public/Vesk_PersistentReference.h");
	EXPECT_FALSE(Enum->HasMetaData(TEXT("BlueprintType")));
}

TEST_F(FEnumRegistrationTest, HasNoDisplayNameFunctionAndIsNoFlagsEnum)
{
	EXPECT_EQ(Enum->EnumDisplayNameFn, nullptr);
	EXPECT_EQ(Utf8(Enum->GetDisplayNameTextByIndex(6)), "Available");
	EXPECT_FALSE(Enum->HasAnyEnumFlags(EEnumFlags::Flags));
}

// The delegate signature.

class FDelegateSignatureTest : public testing::Test
{
protected:
	void SetUp() override
	{
		Signature = FindObject<UFunction>(ScriptPackage(), TEXT("Vesk_ReferenceChanged__DelegateSignature"));
		ASSERT_NE(Signature, nullptr);
	}

	UFunction* Signature = nullptr;
};

TEST_F(FDelegateSignatureTest, IsAPublicMulticastDelegateWithoutParametersOwnedByThePackage)
{
	EXPECT_TRUE(Signature->IsA(UDelegateFunction::StaticClass()));
	EXPECT_EQ(Signature->GetOuter(), ScriptPackage());
	EXPECT_EQ(Signature->FunctionFlags, EFunctionFlags(FUNC_MulticastDelegate | FUNC_Delegate | FUNC_Public));
	EXPECT_EQ(Signature->NumParms, 0);
	EXPECT_EQ(Signature->ParmsSize, 0);
	EXPECT_EQ(Signature->GetReturnProperty(), nullptr);
	EXPECT_FALSE(TFieldIterator<FProperty>(Signature));
	EXPECT_EQ(KeysOf(Signature->GetMetaDataMap()), (FKeys{ "ModuleRelativePath" }));
	EXPECT_EQ(ValueOf(Signature->GetMetaDataMap(), "ModuleRelativePath"), "Public/Vesk_ReferenceObservation.h");
}

TEST_F(FDelegateSignatureTest, IsTheSignatureOfOnChanged)
{
	const FMulticastDelegateProperty* OnChanged = CastField<FMulticastDelegateProperty>(UVesk_ReferenceObservation::StaticClass()->FindPropertyByName(TEXT("OnChanged")));
	ASSERT_NE(OnChanged, nullptr);
	EXPECT_EQ(OnChanged->SignatureFunction, Signature);
}

TEST_F(FDelegateSignatureTest, ExportedWrapperBroadcastsWithoutArguments)
{
	const TStrongObjectPtr<UVeskScriptTestListener> First(NewObject<UVeskScriptTestListener>());
	const TStrongObjectPtr<UVeskScriptTestListener> Second(NewObject<UVeskScriptTestListener>());
	FMulticastScriptDelegate Delegate;
	FScriptDelegate ToFirst;
	ToFirst.BindUFunction(First.Get(), TEXT("HandleChanged"));
	FScriptDelegate ToSecond;
	ToSecond.BindUFunction(Second.Get(), TEXT("HandleChanged"));
	Delegate.Add(ToFirst);
	Delegate.Add(ToSecond);

	FVesk_ReferenceChanged_DelegateWrapper(Delegate);

	for (const UVeskScriptTestListener* Listener : { First.Get(), Second.Get() })
	{
		EXPECT_EQ(Listener->NumHandled, 1);
		ASSERT_EQ(Listener->Calls.Num(), 1);
		EXPECT_EQ(Listener->Calls[0].Function, FName(TEXT("HandleChanged")));
		EXPECT_EQ(Listener->Calls[0].Parms, nullptr);
	}
}

// Every reflected function and its parameters, row by row.

namespace
{
	enum class EParameterType : uint8
	{
		Object,
		Actor,
		Guid,
		Binding,
		EndPlayReason,
		Bool,
		Status,
	};

	struct FParameterRow
	{
		const char* Name;
		EParameterType Type;
		bool bConstReference;
		bool bReturn;
	};

	struct FFunctionRow
	{
		UClass* (*Class)();
		const char* Name;
		bool bPublic;
		bool bConst;
		std::vector<FParameterRow> Parameters;
	};

	void PrintTo(const FFunctionRow& Row, std::ostream* Out)
	{
		*Out << Row.Name;
	}

	const FParameterRow BindingParameter{ "Binding", EParameterType::Binding, true, false };
	const FParameterRow AcceptedResult{ "ReturnValue", EParameterType::Bool, false, true };
	const FParameterRow TokenResult{ "ReturnValue", EParameterType::Binding, false, true };
	const FParameterRow ObjectParameter{ "Object", EParameterType::Object, false, false };
	const FParameterRow ActorParameter{ "Actor", EParameterType::Actor, false, false };
	const FParameterRow ReasonParameter{ "Reason", EParameterType::EndPlayReason, false, false };

	const FFunctionRow FunctionRows[] = {
		{ &UVesk_ReferenceSubsystem::StaticClass, "BeginBinding", true, false, { ObjectParameter, { "Identity", EParameterType::Guid, false, false }, TokenResult } },
		{ &UVesk_ReferenceSubsystem::StaticClass, "BeginSavedBinding", true, false, { ObjectParameter, TokenResult } },
		{ &UVesk_ReferenceSubsystem::StaticClass, "Publish", true, false, { BindingParameter, AcceptedResult } },
		{ &UVesk_ReferenceSubsystem::StaticClass, "Withdraw", true, false, { BindingParameter, AcceptedResult } },
		{ &UVesk_ReferenceSubsystem::StaticClass, "RemovePermanently", true, false, { BindingParameter, AcceptedResult } },
		{ &UVesk_ReferenceSubsystem::StaticClass, "OnActorEndPlay", false, false, { ActorParameter, ReasonParameter } },
		{ &UVesk_ReferenceObservation::StaticClass, "GetStatus", true, true, { { "ReturnValue", EParameterType::Status, false, true } } },
		{ &UVesk_ReferenceObservation::StaticClass, "IsActive", true, true, { AcceptedResult } },
		{ &UVesk_ReferenceObservation::StaticClass, "Stop", true, false, {} },
		{ &UVesk_ReferenceObservation::StaticClass, "OnConsumerEndPlay", false, false, { ActorParameter, ReasonParameter } },
	};

	// Whether the property holds the value the row names, as the engine will read and write it.
	void ExpectType(const FProperty* Property, EParameterType Type)
	{
		switch (Type)
		{
			case EParameterType::Object:
			case EParameterType::Actor:
			{
				const FObjectProperty* Object = CastField<FObjectProperty>(Property);
				ASSERT_NE(Object, nullptr);
				EXPECT_FALSE(Property->IsA<FClassProperty>());
				EXPECT_EQ(Object->PropertyClass, Type == EParameterType::Actor ? AActor::StaticClass() : UObject::StaticClass());
				EXPECT_EQ(Property->GetElementSize(), int32(sizeof(UObject*)));
				break;
			}
			case EParameterType::Guid:
			case EParameterType::Binding:
			{
				const FStructProperty* Struct = CastField<FStructProperty>(Property);
				ASSERT_NE(Struct, nullptr);
				EXPECT_EQ(Struct->Struct, Type == EParameterType::Guid ? TBaseStructure<FGuid>::Get() : FVesk_ReferenceBinding::StaticStruct());
				EXPECT_EQ(Property->GetElementSize(), Struct->Struct->GetStructureSize());
				break;
			}
			case EParameterType::EndPlayReason:
			case EParameterType::Status:
			{
				const FByteProperty* Byte = CastField<FByteProperty>(Property);
				ASSERT_NE(Byte, nullptr);
				EXPECT_EQ(Byte->Enum, Type == EParameterType::Status ? StaticEnum<EVesk_ReferenceStatus>() : EndPlayReasonEnum());
				EXPECT_EQ(Property->GetElementSize(), 1);
				break;
			}
			case EParameterType::Bool:
				EXPECT_TRUE(Property->IsA<FBoolProperty>());
				EXPECT_EQ(Property->GetElementSize(), int32(sizeof(bool)));
				break;
		}
	}
}

class FFunctionRegistrationTest : public testing::TestWithParam<FFunctionRow>
{
protected:
	void SetUp() override
	{
		Class = GetParam().Class();
		Function = Class->FindFunctionByName(FName(GetParam().Name), false);
		ASSERT_NE(Function, nullptr);
	}

	UClass* Class = nullptr;
	UFunction* Function = nullptr;
};

TEST_P(FFunctionRegistrationTest, IsANativeFinalFunctionOfItsClassWithItsAccess)
{
	EXPECT_EQ(Function->GetOuter(), Class);
	EXPECT_TRUE(Function->HasAllFunctionFlags(EFunctionFlags(FUNC_Native | FUNC_Final)));
	EXPECT_EQ(Function->HasAnyFunctionFlags(FUNC_Public), GetParam().bPublic);
	EXPECT_EQ(Function->HasAnyFunctionFlags(FUNC_Private), !GetParam().bPublic);
	EXPECT_FALSE(Function->HasAnyFunctionFlags(FUNC_Protected));
	EXPECT_EQ(Function->HasAnyFunctionFlags(FUNC_Const), GetParam().bConst);
	EXPECT_FALSE(Function->HasAnyFunctionFlags(EFunctionFlags(FUNC_BlueprintCallable | FUNC_BlueprintPure | FUNC_BlueprintEvent | FUNC_Event | FUNC_Static | FUNC_Delegate | FUNC_Net | FUNC_Exec)));
	EXPECT_EQ(Function->GetNativeFunc(), Class->FindNativeFunction(Function->GetFName()));
	EXPECT_NE(Function->GetNativeFunc(), nullptr);
}

TEST_P(FFunctionRegistrationTest, IsScriptCallableExactlyWhenPublicAndHasNoCategoryOrTooltip)
{
	const TMap<FName, FString>& MetaData = Function->GetMetaDataMap();
	const std::string Header = Class == UVesk_ReferenceSubsystem::StaticClass() ? "Public/Vesk_ReferenceSubsystem.h" : "Public/Vesk_ReferenceObservation.h";
	EXPECT_EQ(ValueOf(MetaData, "ModuleRelativePath"), Header);
	if (GetParam().bPublic)
	{
		EXPECT_EQ(KeysOf(MetaData), (FKeys{ "ModuleRelativePath", "ScriptCallable" }));
		EXPECT_EQ(ValueOf(MetaData, "ScriptCallable"), "");
	}
	else
	{
		EXPECT_EQ(KeysOf(MetaData), (FKeys{ "ModuleRelativePath" }));
	}
}

TEST_P(FFunctionRegistrationTest, ParametersAreRegisteredInOrderUnderTheirNames)
{
	const std::vector<FParameterRow>& Expected = GetParam().Parameters;
	int32 Index = 0;
	bool bAnyOut = false;
	for (TFieldIterator<FProperty> It(Function); It; ++It, ++Index)
	{
		ASSERT_LT(size_t(Index), Expected.size());
		const FParameterRow& Row = Expected[Index];
		SCOPED_TRACE(Row.Name);
		EXPECT_EQ(Utf8(It->GetName()), Row.Name);
		ExpectType(*It, Row.Type);

		EPropertyFlags Flags = CPF_Parm;
		if (Row.bConstReference)
		{
			Flags |= CPF_OutParm | CPF_ReferenceParm | CPF_ConstParm;
		}
		if (Row.bReturn)
		{
			Flags |= CPF_OutParm | CPF_ReturnParm;
		}
		EXPECT_EQ(It->PropertyFlags & ParameterFlags, Flags);
		EXPECT_EQ(It->PropertyFlags & ScriptAndEditorFlags, CPF_None);
		bAnyOut |= Row.bConstReference;

		const TMap<FName, FString>& MetaData = It->GetMetaDataMap();
		if (Row.bConstReference)
		{
			EXPECT_EQ(KeysOf(MetaData), (FKeys{ "NativeConst" }));
			EXPECT_EQ(ValueOf(MetaData, "NativeConst"), "");
		}
		else
		{
			EXPECT_EQ(KeysOf(MetaData), FKeys{});
		}
	}
	EXPECT_EQ(size_t(Index), Expected.size());
	EXPECT_EQ(int32(Function->NumParms), Index);
	EXPECT_EQ(Function->HasAnyFunctionFlags(FUNC_HasOutParms), bAnyOut);

	const bool bHasResult = !Expected.empty() && Expected.back().bReturn;
	const FProperty* Result = Function->GetReturnProperty();
	EXPECT_EQ(Result != nullptr, bHasResult);
	if (Result)
	{
		EXPECT_EQ(Utf8(Result->GetName()), "ReturnValue");
		EXPECT_EQ(int32(Function->ReturnValueOffset), Result->GetOffset_ForUFunction());
	}
}

INSTANTIATE_TEST_SUITE_P(Functions, FFunctionRegistrationTest, testing::ValuesIn(FunctionRows),
	[](const testing::TestParamInfo<FFunctionRow>& Info) { return std::string(Info.param.Name); });
