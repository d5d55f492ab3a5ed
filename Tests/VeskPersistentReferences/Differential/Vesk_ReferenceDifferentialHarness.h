#pragma once

#include "CoreMinimal.h"
#include "Misc/Guid.h"
#include "Vesk_PersistentReference.h"
#include "Vesk_ReferenceRegistryModel.h"

class UClass;

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

/**
 * Drives the registry and its model with the same operations and compares them after every one.
 *
 * An operation is eight bytes: a kind and seven parameters. Parameters select among what exists at
 * that moment (objects, tokens, identities, observations, listeners) by taking the remainder of
 * their count, so every byte string is a valid sequence; the fuzz target decodes its input this way,
 * and the seeded test generates sequences with weights that keep them eventful.
 *
 * Game code that runs inside engine callbacks is part of the vocabulary too: hooked actors run an
 * action in their begin and end of play, and every listener bound to an observation's OnChanged
 * runs an action when it is called. Actions call back into the registry (publish, withdraw, bind,
 * observe, stop, resolve), drop their observation (and collect garbage), or destroy their consumer.
 */
namespace VeskDifferential
{
	enum class EOp : uint8
	{
		SpawnActor,
		AddComponent,
		NewObject,
		DestroyActor,
		DestroyComponent,
		MarkAsGarbage,
		ReleaseObject,
		EndPlay,
		BeginPlay,
		CollectGarbage,
		Tick,
		BeginBinding,
		BeginSavedBinding,
		Publish,
		Withdraw,
		RemovePermanently,
		ForgeToken,
		Resolve,
		Observe,
		AddListener,
		RemoveListener,
		Stop,
		DropObservation,
		DropListener,
		RekeySavedIdentity,
		DestroyLifetimeComponent,
		Teardown,
		ReplaceComponent,
		Num,
	};

	struct FOp
	{
		uint8 Kind = 0;
		uint8 P[7] = {};

		EOp GetKind() const
		{
			return static_cast<EOp>(Kind % static_cast<uint8>(EOp::Num));
		}
	};

	constexpr size_t BytesPerOp = 8;

	// The plugin's consumer lifetime component class, found by its name; null if it is not registered.
	UClass* LifetimeComponentClass();

	std::vector<FOp> Decode(const uint8* Data, size_t Size);
	std::vector<uint8> Encode(const std::vector<FOp>& Ops);
	std::string ToHex(const std::vector<FOp>& Ops);
	// False when the text is not whole operations in hexadecimal.
	bool FromHex(const std::string& Text, std::vector<FOp>& OutOps);
	std::string Describe(const FOp& Op);

	// A sequence that sets a world up, runs NumOperations weighted random operations, tears the world
	// down and then tries the registry once more.
	std::vector<FOp> GenerateSequence(uint32 Seed, int32 NumOperations);

	// Deliberate faults planted in the model, so that a test can show that the comparison notices
	// each kind of mistake.
	using EModelFault = VeskModel::EFault;

	struct FDivergence
	{
		bool bFound = false;
		int32 Step = INDEX_NONE;
		std::string What;
	};

	struct FRunOptions
	{
		EModelFault Fault = EModelFault::None;
		// Steps run by both sides; the rest of the sequence is ignored.
		int32 MaxSteps = INT32_MAX;
	};

	struct FRunStats
	{
		int64 Steps = 0;
		int64 HandlerCalls = 0;
		int64 Resolves = 0;
		// Summed over steps: how many observations were active after each.
		int64 ActiveObservations = 0;
		// How often the model took each of its rarer paths.
		int64 Coverage[static_cast<size_t>(VeskModel::ECoverage::Num)] = {};
	};

	// Runs the sequence on a fresh world and a fresh model; stops at the first divergence.
	FDivergence Run(const std::vector<FOp>& Ops, const FRunOptions& Options = FRunOptions(), FRunStats* Stats = nullptr);

	// What the fuzz target does with its input: at most MaxFuzzOperations operations, then teardown.
	constexpr size_t MaxFuzzOperations = 512;
	std::vector<FOp> OpsFromFuzzInput(const uint8* Data, size_t Size);

	// The shortest sequence found, within the budget, that still diverges.
	std::vector<FOp> Shrink(const std::vector<FOp>& Ops, const FRunOptions& Options, std::chrono::seconds Budget);

	// The divergence, the shrunk sequence step by step and the command that replays it.
	std::string Report(const std::string& Origin, const std::vector<FOp>& Ops, const FDivergence& Divergence, const std::vector<FOp>& Shrunk, const FRunOptions& Options);
}
