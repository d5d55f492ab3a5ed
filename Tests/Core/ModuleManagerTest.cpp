#include "Modules/ModuleManager.h"
#include "Misc/CompiledInRegistrationOrder.h"

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <vector>

namespace
{
	std::vector<std::string> GEvents;

	// Records what the manager does to it, under its own name.
	class FRecordingModule : public IModuleInterface
	{
	public:
		explicit FRecordingModule(const char* InName, bool bInAutomaticShutdown = true)
			: Name(InName)
			, bAutomaticShutdown(bInAutomaticShutdown)
		{
		}

		virtual void StartupModule() override { GEvents.push_back(Name + ":Startup"); }
		virtual void PreUnloadCallback() override { GEvents.push_back(Name + ":PreUnload"); }
		virtual void ShutdownModule() override { GEvents.push_back(Name + ":Shutdown"); }
		virtual bool SupportsAutomaticShutdown() override { return bAutomaticShutdown; }

	private:
		std::string Name;
		bool bAutomaticShutdown;
	};

	// The module this test program defines the way every module library does.
	class FCoreTestsModule : public FDefaultModuleImpl
	{
	public:
		static inline int32 NumStarted = 0;

		virtual void StartupModule() override
		{
			++NumStarted;
		}
	};

	void RegisterRecording(const TCHAR* ModuleName, const char* EventName, bool bAutomaticShutdown = true)
	{
		FModuleManager::Get().RegisterStaticallyLinkedModule(FName(ModuleName), [EventName, bAutomaticShutdown]() -> IModuleInterface* { return new FRecordingModule(EventName, bAutomaticShutdown); });
	}

	class ModuleLoadingTest : public testing::Test
	{
	protected:
		virtual void SetUp() override
		{
			GEvents.clear();
		}
	};
}

IMPLEMENT_MODULE(FCoreTestsModule, CoreTestsModule)

TEST_F(ModuleLoadingTest, ImplementModuleRegistersTheModuleUnderItsName)
{
	FModuleManager& Manager = FModuleManager::Get();
	EXPECT_TRUE(Manager.ModuleExists(TEXT("CoreTestsModule")));
	EXPECT_FALSE(Manager.IsModuleLoaded(TEXT("CoreTestsModule")));
	IModuleInterface& Module = Manager.LoadModuleChecked(TEXT("CoreTestsModule"));
	EXPECT_NE(dynamic_cast<FCoreTestsModule*>(&Module), nullptr);
	EXPECT_FALSE(Module.IsGameModule());
	EXPECT_EQ(FCoreTestsModule::NumStarted, 1);
	EXPECT_EQ(&FModuleManager::LoadModuleChecked<FCoreTestsModule>(TEXT("CoreTestsModule")), &Module);
	EXPECT_EQ(FCoreTestsModule::NumStarted, 1);
}

TEST_F(ModuleLoadingTest, ModuleLibrariesExportTheMarker)
{
	EXPECT_NE(dlsym(RTLD_DEFAULT, "ThisIsAnUnrealEngineModule"), nullptr);
}

TEST_F(ModuleLoadingTest, LoadingCreatesAndStartsTheModuleOnce)
{
	RegisterRecording(TEXT("LoadOnce"), "LoadOnce");
	FModuleManager& Manager = FModuleManager::Get();
	EXPECT_EQ(Manager.GetModule(TEXT("LoadOnce")), nullptr);
	const int32 LoadedBefore = Manager.GetModuleCount();
	IModuleInterface* First = Manager.LoadModule(TEXT("LoadOnce"));
	ASSERT_NE(First, nullptr);
	EXPECT_EQ(Manager.LoadModule(TEXT("LoadOnce")), First);
	EXPECT_EQ(Manager.GetModule(TEXT("LoadOnce")), First);
	EXPECT_EQ(FModuleManager::GetModulePtr<FRecordingModule>(TEXT("LoadOnce")), First);
	EXPECT_TRUE(Manager.IsModuleLoaded(TEXT("loadonce")));
	EXPECT_EQ(Manager.GetModuleCount(), LoadedBefore + 1);
	EXPECT_EQ(GEvents, (std::vector<std::string>{ "LoadOnce:Startup" }));
}

TEST_F(ModuleLoadingTest, UnknownModulesAreNotLoaded)
{
	FModuleManager& Manager = FModuleManager::Get();
	EXPECT_FALSE(Manager.ModuleExists(TEXT("NoSuchModule")));
	EXPECT_EQ(Manager.LoadModule(TEXT("NoSuchModule")), nullptr);
	EXPECT_FALSE(Manager.IsModuleLoaded(TEXT("NoSuchModule")));
	EXPECT_EQ(FModuleManager::LoadModulePtr<IModuleInterface>(TEXT("NoSuchModule")), nullptr);
}

TEST_F(ModuleLoadingTest, TheFirstRegistrationOfANameWins)
{
	RegisterRecording(TEXT("Registered"), "First");
	RegisterRecording(TEXT("Registered"), "Second");
	ASSERT_NE(FModuleManager::Get().LoadModule(TEXT("Registered")), nullptr);
	EXPECT_EQ(GEvents, (std::vector<std::string>{ "First:Startup" }));
}

TEST_F(ModuleLoadingTest, UnloadShutsTheModuleDown)
{
	RegisterRecording(TEXT("Unloaded"), "Unloaded");
	FModuleManager& Manager = FModuleManager::Get();
	EXPECT_FALSE(Manager.UnloadModule(TEXT("Unloaded")));
	ASSERT_NE(Manager.LoadModule(TEXT("Unloaded")), nullptr);
	EXPECT_TRUE(Manager.UnloadModule(TEXT("Unloaded")));
	EXPECT_FALSE(Manager.IsModuleLoaded(TEXT("Unloaded")));
	EXPECT_EQ(GEvents, (std::vector<std::string>{ "Unloaded:Startup", "Unloaded:PreUnload", "Unloaded:Shutdown" }));
	// A later load makes a fresh module.
	ASSERT_NE(Manager.LoadModule(TEXT("Unloaded")), nullptr);
	EXPECT_EQ(GEvents.back(), "Unloaded:Startup");
}

TEST_F(ModuleLoadingTest, FindModulesMatchesWildcards)
{
	RegisterRecording(TEXT("WildAlpha"), "WildAlpha");
	RegisterRecording(TEXT("WildBeta"), "WildBeta");
	RegisterRecording(TEXT("TameAlpha"), "TameAlpha");
	TArray<FName> Found;
	FModuleManager::Get().FindModules(TEXT("wild*"), Found);
	EXPECT_EQ(Found.Num(), 2);
	EXPECT_TRUE(Found.Contains(FName(TEXT("WildAlpha"))));
	EXPECT_TRUE(Found.Contains(FName(TEXT("WildBeta"))));
	FModuleManager::Get().FindModules(TEXT("?ameAlph?"), Found);
	EXPECT_EQ(Found, (TArray<FName>{ FName(TEXT("TameAlpha")) }));
}

TEST(ModuleShutdownDeathTest, ShutdownUnloadsInReverseOrderAfterWarningEveryModule)
{
	// Run in a child: shutting down every module would affect the tests that follow.
	auto Shutdown = []()
	{
		GEvents.clear();
		RegisterRecording(TEXT("ShutFirst"), "ShutFirst");
		RegisterRecording(TEXT("ShutSecond"), "ShutSecond");
		RegisterRecording(TEXT("ShutKept"), "ShutKept", false);
		FModuleManager& Manager = FModuleManager::Get();
		Manager.LoadModule(TEXT("ShutFirst"));
		Manager.LoadModule(TEXT("ShutKept"));
		Manager.LoadModule(TEXT("ShutSecond"));
		Manager.UnloadModulesAtShutdown();
		std::string Events;
		for (const std::string& Event : GEvents)
		{
			Events += Event + " ";
		}
		const bool bKeptLoaded = Manager.IsModuleLoaded(TEXT("ShutKept")) && !Manager.IsModuleLoaded(TEXT("ShutFirst"));
		fprintf(stderr, "%s%s\n", Events.c_str(), bKeptLoaded ? "kept" : "lost");
		exit(0);
	};
	EXPECT_EXIT(Shutdown(), testing::ExitedWithCode(0), "ShutFirst:Startup ShutKept:Startup ShutSecond:Startup ShutSecond:PreUnload ShutFirst:PreUnload ShutSecond:Shutdown ShutFirst:Shutdown kept");
}

TEST(ModuleLoadingDeathTest, LoadModuleCheckedOfAnUnknownModuleIsFatal)
{
	EXPECT_DEATH(FModuleManager::Get().LoadModuleChecked(TEXT("MissingForCheck")), "Module 'MissingForCheck' could not be loaded");
}

TEST(ModuleLoadingDeathTest, GetModuleCheckedOfAModuleNotLoadedIsFatal)
{
	RegisterRecording(TEXT("NotLoadedForCheck"), "NotLoadedForCheck");
	EXPECT_DEATH(FModuleManager::GetModuleChecked<IModuleInterface>(TEXT("NotLoadedForCheck")), "Module is not loaded: NotLoadedForCheck");
}

TEST_F(ModuleLoadingTest, ImplementModuleQueuesAnInitializerEntryThatCreatesTheModule)
{
	const TArray<FCompiledInRecord> Records = GetCompiledInRegistrationOrder();
	const FCompiledInRecord* Record = Records.FindByPredicate([](const FCompiledInRecord& Candidate)
		{ return Candidate.Kind == FCompiledInRecord::EKind::Module && FString(Candidate.Name) == TEXT("CoreTestsModule"); });
	ASSERT_NE(Record, nullptr);
	const FModuleInitializerEntry* Entry = static_cast<const FModuleInitializerEntry*>(Record->Info);
	ASSERT_NE(Entry, nullptr);
	EXPECT_EQ(FString(Entry->Name), TEXT("CoreTestsModule"));
	// Each call makes a new module object, owned by the caller; starting it is the manager's job.
	const int32 StartedBefore = FCoreTestsModule::NumStarted;
	IModuleInterface* Created = Entry->Function();
	EXPECT_NE(dynamic_cast<FCoreTestsModule*>(Created), nullptr);
	EXPECT_EQ(FCoreTestsModule::NumStarted, StartedBefore);
	delete Created;
}
