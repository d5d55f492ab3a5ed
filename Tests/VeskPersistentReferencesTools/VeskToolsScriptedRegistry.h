#pragma once

#include "CoreMinimal.h"
#include "UObject/StrongObjectPtr.h"
#include "Vesk_ReferenceObservation.h"
#include "Vesk_ReferenceSubsystem.h"
#include "VeskToolsTestSupport.h"

// A registry brought through one of everything a view must show: an entry in each status and
// origin, an entry whose object is gone, a component's entry, observations active and stopped,
// and an actor that ended play. Objects are named, so that what a tool prints can be read back.
class FVeskScriptedRegistryTest : public FVeskToolsTestBase
{
protected:
	void SetUp() override
	{
		FVeskToolsTestBase::SetUp();

		Workshop = SpawnActor(TEXT("Workshop"));
		const FVesk_ReferenceBinding WorkshopBinding = Registry->BeginSavedBinding(Workshop);
		Registry->Publish(WorkshopBinding);
		WorkshopIdentity = WorkshopBinding.Id;

		Ledger = NewWorldObject(TEXT("Ledger"));
		Bind(Ledger, ToolsTestIdentity(2));

		Stock = AddComponent(Workshop, TEXT("Stock"));
		Registry->RemovePermanently(BindAndPublish(Stock, ToolsTestIdentity(3)));

		Registry->Withdraw(BindAndPublish(SpawnActor(TEXT("Well")), ToolsTestIdentity(4)));

		Shed = SpawnActor(TEXT("Shed"));
		BindAndPublish(Shed, ToolsTestIdentity(5));
		Shed->RouteEndPlay(EEndPlayReason::RemovedFromWorld);

		Crate = NewWorldObject(TEXT("Crate"));
		BindAndPublish(Crate, ToolsTestIdentity(6));
		Crate->MarkAsGarbage();

		Gate = SpawnActor(TEXT("Gate"));
		Hinge = AddComponent(Gate, TEXT("Hinge"));
		BindAndPublish(Hinge, ToolsTestIdentity(7));

		Courier = SpawnActor(TEXT("Courier"));
		Clerk = NewWorldObject(TEXT("Clerk"));
		Porter = SpawnActor(TEXT("Porter"));
		Observations.Emplace(Registry->Observe(WorkshopIdentity, AActor::StaticClass(), UVeskToolsTestComponent::StaticClass(), Courier));
		Observations.Emplace(Registry->Observe(ToolsTestIdentity(4), UObject::StaticClass(), nullptr, Courier));
		Observations.Emplace(Registry->Observe(ToolsTestIdentity(2), UObject::StaticClass(), nullptr, Clerk));
		Observations.Emplace(Registry->Observe(ToolsTestIdentity(7), UObject::StaticClass(), nullptr, Porter));
		// Stopped, and not yet dropped: the registry drops it at its next notification pass.
		Observations.Last()->Stop();
	}

	void TearDown() override
	{
		Observations.Reset();
		FVeskToolsTestBase::TearDown();
	}

	FGuid WorkshopIdentity;
	AVeskToolsTestActor* Workshop = nullptr;
	UVeskToolsTestObject* Ledger = nullptr;
	UVeskToolsTestComponent* Stock = nullptr;
	AVeskToolsTestActor* Shed = nullptr;
	UVeskToolsTestObject* Crate = nullptr;
	AVeskToolsTestActor* Gate = nullptr;
	UVeskToolsTestComponent* Hinge = nullptr;
	AVeskToolsTestActor* Courier = nullptr;
	UVeskToolsTestObject* Clerk = nullptr;
	AVeskToolsTestActor* Porter = nullptr;
	TArray<TStrongObjectPtr<UVesk_ReferenceObservation>> Observations;
};
