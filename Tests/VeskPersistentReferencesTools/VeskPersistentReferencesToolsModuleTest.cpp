#include "Modules/ModuleManager.h"

#include "CoreGlobals.h"
#include "Misc/OutputDevice.h"
#include "Vesk_ReferenceRegistryTable.h"
#include "Vesk_ReferenceRegistryView.h"
#include "Vesk_ReferenceResolutionExplanation.h"
#include "Vesk_TypedReference.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UObjectHash.h"
#include "UObject/UnrealType.h"
#include "Vesk_ReferenceBlueprintLibrary.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceSubsystem.h"
#include "Vesk_WaitForReferenceAction.h"
#include "VeskToolsTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace
{
	// Each reflected type of a script package as "Kind Name", the package's own inventory.
	std::set<std::string> Inventory(const TCHAR* PackageName)
	{
		std::set<std::string> Types;
		UPackage* Package = FindObject<UPackage>(nullptr, PackageName);
		if (!Package)
		{
			return Types;
		}
		TArray<UObject*> Objects;
		GetObjectsWithOuter(Package, Objects, false);
		for (const UObject* Object : Objects)
		{
			if (Object->IsA<UField>())
			{
				Types.insert(Utf8(Object->GetClass()->GetName()) + " " + Utf8(Object->GetName()));
			}
		}
		return Types;
	}

	int32 NumFunctions(const UClass* Class)
	{
		int32 Count = 0;
		for (const UField* Field = Class->Children; Field; Field = Field->Next)
		{
			Count += Field->IsA<UFunction>() ? 1 : 0;
		}
		return Count;
	}

	int32 NumOwnProperties(const UStruct* Struct)
	{
		int32 Count = 0;
		for (TFieldIterator<FProperty> It(Struct, EFieldIteratorFlags::ExcludeSuper); It; ++It)
		{
			++Count;
		}
		return Count;
	}

	std::string ReadFile(const char* Path)
	{
		std::ifstream File(Path);
		std::stringstream Text;
		Text << File.rdbuf();
		return Text.str();
	}
}

TEST(ToolsModuleTest, IsAnEngineModuleOfItsOwn)
{
	ASSERT_TRUE(FModuleManager::Get().ModuleExists(TEXT("VeskPersistentReferencesTools")));
	IModuleInterface* Module = FModuleManager::Get().LoadModule(TEXT("VeskPersistentReferencesTools"));
	ASSERT_NE(Module, nullptr);
	EXPECT_FALSE(Module->IsGameModule());
	EXPECT_TRUE(FModuleManager::Get().IsModuleLoaded(TEXT("VeskPersistentReferencesTools")));
}

TEST(ToolsModuleTest, ItsTypesLiveInItsOwnScriptPackage)
{
	EXPECT_EQ(Inventory(TEXT("/Script/VeskPersistentReferencesTools")), (std::set<std::string>{
		"Class Vesk_ReferenceBlueprintLibrary",
		"Class Vesk_WaitForReferenceAction",
		"DelegateFunction Vesk_WaitForReferenceResult__DelegateSignature",
	}));
	EXPECT_EQ(UVesk_ReferenceBlueprintLibrary::StaticClass()->GetOutermost(), FindObject<UPackage>(nullptr, TEXT("/Script/VeskPersistentReferencesTools")));
}

TEST(ToolsModuleTest, TheReferenceModuleKeepsExactlyWhatItRegisters)
{
	EXPECT_EQ(Inventory(TEXT("/Script/VeskPersistentReferences")), (std::set<std::string>{
		"Class Vesk_ReferenceSubsystem",
		"Class Vesk_ReferenceObservation",
		"Class Vesk_ReferenceConsumerLifetimeComponent",
		"ScriptStruct Vesk_PersistentReference",
		"ScriptStruct Vesk_ReferenceBinding",
		"Enum EVesk_ReferenceStatus",
		"DelegateFunction Vesk_ReferenceChanged__DelegateSignature",
	}));
	// The tools read the registry and the observation through a friend, never through new members.
	EXPECT_EQ(NumFunctions(UVesk_ReferenceSubsystem::StaticClass()), 6);
	EXPECT_EQ(NumOwnProperties(UVesk_ReferenceSubsystem::StaticClass()), 0);
	EXPECT_EQ(NumFunctions(UVesk_ReferenceObservation::StaticClass()), 4);
	EXPECT_EQ(NumOwnProperties(UVesk_ReferenceObservation::StaticClass()), 3);
}

TEST(ToolsModuleTest, ThePluginListsTheModuleWhichDependsOnTheReferenceModule)
{
	const std::string Plugin = ReadFile(VESK_PLUGIN_DIR "/VeskPersistentReferences.uplugin");
	EXPECT_NE(Plugin.find("\"Name\": \"VeskPersistentReferencesTools\",\n\t\t\t\"Type\": \"Runtime\""), std::string::npos) << Plugin;

	const std::string Rules = ReadFile(VESK_PLUGIN_DIR "/Source/VeskPersistentReferencesTools/VeskPersistentReferencesTools.Build.cs");
	const size_t Public = Rules.find("PublicDependencyModuleNames");
	const size_t Private = Rules.find("PrivateDependencyModuleNames");
	ASSERT_NE(Public, std::string::npos);
	ASSERT_NE(Private, std::string::npos);
	const size_t Reference = Rules.find("\"VeskPersistentReferences\"");
	EXPECT_TRUE(Reference > Public && Reference < Private) << Rules;
}

namespace
{
	class FCountingOutputDevice : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR*, ELogVerbosity::Type, const FName&) override
		{
			++NumLines;
		}

		int32 NumLines = 0;
	};

	// Stands in for the engine's log while it lives.
	class FLogCapture
	{
	public:
		FLogCapture()
			: Previous(GLog)
		{
			GLog = &Device;
		}
		~FLogCapture()
		{
			GLog = Previous;
		}

		FCountingOutputDevice Device;

	private:
		FOutputDevice* Previous;
	};
}

class FToolsQuietTest : public FVeskToolsTestBase
{
};

TEST_F(FToolsQuietTest, NothingWritesToTheLogUnlessAsked)
{
	const FLogCapture Log;
	AVeskToolsTestActor* Producer = SpawnActor();
	const FVesk_ReferenceBinding Binding = Bind(Producer, ToolsTestIdentity(1));
	GiveWorldAGameInstance();

	UVesk_WaitForReferenceAction* Action = UVesk_WaitForReferenceAction::WaitForReference(Producer, ToolsTestIdentity(1), UObject::StaticClass(), 1.f);
	Action->Activate();
	UVesk_WaitForReferenceAction::WaitForReference(Producer, ToolsTestIdentity(2), nullptr, 0.5f)->Activate();
	Registry->Publish(Binding);
	World.Tick(1.f);
	EVesk_ReferenceStatus Status = EVesk_ReferenceStatus::Empty;
	UVesk_ReferenceBlueprintLibrary::ResolvePersistentReference(Producer, ToolsTestIdentity(1), nullptr, Status);
	UVesk_ReferenceBlueprintLibrary::ResolvePersistentReferenceComponent(Producer, ToolsTestIdentity(1), nullptr, Status);
	UVesk_ReferenceBlueprintLibrary::Conv_ReferenceStatusToText(Status);
	TVesk_PersistentReference<AVeskToolsTestActor>(ToolsTestIdentity(1)).Resolve(Producer);
	FVesk_ReferenceResolutionExplanation::Explain(*Registry, ToolsTestIdentity(3), nullptr, nullptr);
	FVesk_ReferenceRegistryTable::ToLines(FVesk_ReferenceRegistryView(*Registry));

	EXPECT_EQ(Log.Device.NumLines, 0);
	EXPECT_TRUE(Action->HasFinished());
}
