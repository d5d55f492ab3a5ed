#include "Vesk_SaveSubsystem.h"

#include "Engine/World.h"
#include "Serialization/MemoryReader.h"
#include "Serialization/MemoryWriter.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

namespace VeskSaveSubsystem
{
	// Written first, so that bytes of another format are refused instead of misread.
	static constexpr uint32 FormatTag = 0x56534C31;

	static UVesk_SaveSubsystem* Instance = nullptr;
	static bool bShutDown = false;
}

UVesk_SaveSubsystem* UVesk_SaveSubsystem::Get()
{
	using namespace VeskSaveSubsystem;
	if (!Instance && !bShutDown)
	{
		Instance = NewObject<UVesk_SaveSubsystem>(GetTransientPackage(), NAME_None, RF_Transient);
		Instance->AddToRoot();
	}
	return Instance;
}

void UVesk_SaveSubsystem::Startup()
{
	VeskSaveSubsystem::bShutDown = false;
}

void UVesk_SaveSubsystem::Shutdown()
{
	using namespace VeskSaveSubsystem;
	// The module can shut down after the object system has exited, which destroyed the instance
	// with every other object.
	if (Instance && UObjectInitialized())
	{
		Instance->RemoveFromRoot();
	}
	Instance = nullptr;
	bShutDown = true;
}

FGuid UVesk_SaveSubsystem::FindOrAddGuidByObject(UObject* Object)
{
	if (!Object)
	{
		return FGuid();
	}
	if (const FKnownObject* Known = KnownObjects.Find(FObjectKey(Object)))
	{
		if (IsStillKnown(Object, *Known))
		{
			return Known->Guid;
		}
	}

	FGuid& Guid = GuidsByObjectPath.FindOrAdd(MakeObjectKey(Object));
	if (!Guid.IsValid())
	{
		Guid = FGuid::NewGuid();
	}
	const FGuid Result = Guid;
	RememberObject(Object, Result);
	return Result;
}

void UVesk_SaveSubsystem::SetGuidForObject(const UObject* Object, const FGuid& Guid)
{
	if (!Object)
	{
		return;
	}
	if (Guid.IsValid())
	{
		GuidsByObjectPath.Add(MakeObjectKey(Object), Guid);
	}
	else
	{
		GuidsByObjectPath.Remove(MakeObjectKey(Object));
	}
	// Objects of other worlds can share the path, so no remembered answer can be trusted as it is.
	ForgetKnownObjects();
}

void UVesk_SaveSubsystem::SaveToBytes(TArray<uint8>& OutBytes) const
{
	OutBytes.Reset();
	FMemoryWriter Writer(OutBytes);

	uint32 Tag = VeskSaveSubsystem::FormatTag;
	int32 Count = GuidsByObjectPath.Num();
	Writer << Tag;
	Writer << Count;
	for (const TPair<FString, FGuid>& Pair : GuidsByObjectPath)
	{
		FString Key = Pair.Key;
		FGuid Guid = Pair.Value;
		Writer << Key;
		Writer << Guid;
	}
}

bool UVesk_SaveSubsystem::LoadFromBytes(const TArray<uint8>& Bytes)
{
	FMemoryReader Reader(Bytes);

	uint32 Tag = 0;
	int32 Count = 0;
	Reader << Tag;
	Reader << Count;
	// Each record takes at least a string length and a guid, which bounds a corrupt count before any
	// allocation.
	constexpr int64 MinRecordSize = sizeof(int32) + sizeof(FGuid);
	if (Reader.IsError() || Tag != VeskSaveSubsystem::FormatTag || Count < 0 || Count * MinRecordSize > Bytes.Num())
	{
		return false;
	}

	TMap<FString, FGuid> Loaded;
	Loaded.Reserve(Count);
	for (int32 Index = 0; Index < Count && !Reader.IsError(); ++Index)
	{
		// The engine's string loader allocates whatever length it reads, so a corrupt length is refused
		// here, before the string is read.
		const int64 KeyStart = Reader.Tell();
		int32 KeyLength = 0;
		Reader << KeyLength;
		const int64 KeyBytes = KeyLength < 0 ? -int64(KeyLength) * int64(sizeof(TCHAR)) : int64(KeyLength);
		if (Reader.IsError() || KeyLength == MIN_int32 || KeyBytes > Bytes.Num() - Reader.Tell())
		{
			return false;
		}
		Reader.Seek(KeyStart);
		FString Key;
		FGuid Guid;
		Reader << Key;
		Reader << Guid;
		Loaded.Add(MoveTemp(Key), Guid);
	}
	if (Reader.IsError() || !Reader.AtEnd())
	{
		return false;
	}

	GuidsByObjectPath = MoveTemp(Loaded);
	ForgetKnownObjects();
	return true;
}

FString UVesk_SaveSubsystem::MakeObjectKey(const UObject* Object)
{
	// Relative to the world, so that the key does not carry the world's own (per-session) name. A world
	// relative to itself has no path at all, so it keeps its full one rather than share "None" with
	// every other world.
	const UWorld* World = Object->GetWorld();
	return World && World != Object ? Object->GetPathName(World) : Object->GetPathName();
}

bool UVesk_SaveSubsystem::IsStillKnown(const UObject* Object, const FKnownObject& Known) const
{
	if (Known.TableVersion != TableVersion)
	{
		return false;
	}

	// The key is relative to the world, so the same chain under another world is another key.
	const UWorld* World = Object->GetWorld();
	const UObject* StopOuter = World && World != Object ? World : nullptr;
	if (Known.World != FObjectKey(StopOuter))
	{
		return false;
	}

	// A rename of the object or of any outer on the way, or a move to another outer, changes the key.
	const UObject* Link = Object;
	for (const FKeyLink& KnownLink : Known.Links)
	{
		if (!Link || Link == StopOuter || Link->GetFName() != KnownLink.Name || KnownLink.Object != FObjectKey(Link))
		{
			return false;
		}
		Link = Link->GetOuter();
	}
	return Known.bEndsAtWorld ? Link == StopOuter && Link != nullptr : Link == nullptr;
}

void UVesk_SaveSubsystem::RememberObject(const UObject* Object, const FGuid& Guid)
{
	// Entries of gone objects are never found again (a new object in their slot has another serial
	// number); dropping them when the memory has doubled keeps the cost per request constant.
	if (KnownObjects.Num() >= KnownObjectsPruneSize)
	{
		for (auto It = KnownObjects.CreateIterator(); It; ++It)
		{
			if (!It->Key.ResolveObjectPtrEvenIfGarbage())
			{
				It.RemoveCurrent();
			}
		}
		KnownObjectsPruneSize = FMath::Max(1024, 2 * KnownObjects.Num());
	}

	const UWorld* World = Object->GetWorld();
	const UObject* StopOuter = World && World != Object ? World : nullptr;

	FKnownObject& Known = KnownObjects.FindOrAdd(FObjectKey(Object));
	Known.Guid = Guid;
	Known.TableVersion = TableVersion;
	Known.World = StopOuter;
	Known.Links.Reset();
	const UObject* Link = Object;
	for (; Link && Link != StopOuter; Link = Link->GetOuter())
	{
		Known.Links.Add(FKeyLink{ Link, Link->GetFName() });
	}
	Known.bEndsAtWorld = Link != nullptr;
}

void UVesk_SaveSubsystem::ForgetKnownObjects()
{
	// A version check instead of emptying the memory: each object checks its key against the table
	// once, the next time it is asked for.
	++TableVersion;
}
