#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Containers/StringConv.h"
#include "Containers/UnrealString.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "Misc/Guid.h"
#include "TestWorld.h"
#include "UObject/UObjectGlobals.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceSubsystem.h"
#include "Vesk_SaveSubsystem.h"
#include "VeskToolsTestTypes.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// Engine text is TCHAR; test messages are narrow.
inline std::string Utf8(const FString& Text)
{
	return std::string(TCHAR_TO_UTF8(*Text));
}

inline void PrintTo(const FString& Text, std::ostream* Out)
{
	*Out << '"' << Utf8(Text) << '"';
}

inline void PrintTo(const FGuid& Guid, std::ostream* Out)
{
	*Out << Utf8(Guid.ToString(EGuidFormats::Digits));
}

inline std::string StatusName(EVesk_ReferenceStatus Status)
{
	return Utf8(StaticEnum<EVesk_ReferenceStatus>()->GetNameStringByValue(static_cast<int64>(Status)));
}

inline void PrintTo(EVesk_ReferenceStatus Status, std::ostream* Out)
{
	*Out << StatusName(Status);
}

inline FGuid ToolsTestIdentity(uint32 Index)
{
	return FGuid(0x7001500u + Index, Index, 0xA11CEu, ~Index);
}

// One game world with its registry, as a game has it, and the producers that tests bind in it.
class FVeskToolsTestBase : public testing::Test
{
protected:
	void SetUp() override
	{
		Registry = UVesk_ReferenceSubsystem::FromContext(World.Get());
		ASSERT_NE(Registry, nullptr);
	}

	// Saved identities follow object paths, which repeat from one test's world to the next.
	void TearDown() override
	{
		UVesk_SaveSubsystem::Shutdown();
		UVesk_SaveSubsystem::Startup();
	}

	template<class T = AVeskToolsTestActor>
	T* SpawnActor(const TCHAR* Name = nullptr)
	{
		return World.SpawnActor<T>(Name ? FName(Name) : NAME_None);
	}

	template<class T = UVeskToolsTestComponent>
	static T* AddComponent(AActor* Owner, const TCHAR* Name = nullptr)
	{
		T* Component = NewObject<T>(Owner, Name ? FName(Name) : NAME_None);
		Component->RegisterComponent();
		return Component;
	}

	UVeskToolsTestObject* NewWorldObject(const TCHAR* Name = nullptr)
	{
		return NewObject<UVeskToolsTestObject>(World.Get(), Name ? FName(Name) : NAME_None);
	}

	FVesk_ReferenceBinding Bind(UObject* Object, const FGuid& Identity)
	{
		const FVesk_ReferenceBinding Binding = Registry->BeginBinding(Object, Identity);
		EXPECT_GT(Binding.Generation, 0) << "binding " << Utf8(Object->GetName());
		return Binding;
	}

	FVesk_ReferenceBinding BindAndPublish(UObject* Object, const FGuid& Identity)
	{
		const FVesk_ReferenceBinding Binding = Bind(Object, Identity);
		EXPECT_TRUE(Registry->Publish(Binding)) << "publishing " << Utf8(Object->GetName());
		return Binding;
	}

	// The world plays in a game instance, as a game's worlds do; the world keeps it alive.
	UGameInstance* GiveWorldAGameInstance()
	{
		UGameInstance* GameInstance = NewObject<UGameInstance>();
		World->SetGameInstance(GameInstance);
		return GameInstance;
	}

	static void Collect()
	{
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	}

	FTestWorld World;
	UVesk_ReferenceSubsystem* Registry = nullptr;
};
