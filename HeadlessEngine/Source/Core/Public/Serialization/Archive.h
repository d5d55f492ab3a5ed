#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTypeTraits.h"

#include <type_traits>

class FName;
class FString;
class UObject;
class FObjectPtr;
struct FWeakObjectPtr;
struct FSoftObjectPtr;
struct FSoftObjectPath;
struct FLazyObjectPtr;

// Base of every archive: a byte stream with a direction (loading or saving) and flags that
// tell serializers what the stream is for. Derived archives set the direction.
class CORE_API FArchive
{
public:
	CORE_API FArchive();
	FArchive(const FArchive&) = default;
	FArchive& operator=(const FArchive&) = default;
	CORE_API virtual ~FArchive();

	virtual void Serialize(void* /*Data*/, int64 /*Num*/)
	{
	}

	virtual void SerializeBits(void* Data, int64 LengthBits)
	{
		Serialize(Data, (LengthBits + 7) / 8);
	}

	virtual int64 Tell()
	{
		return INDEX_NONE;
	}

	virtual int64 TotalSize()
	{
		return INDEX_NONE;
	}

	virtual bool AtEnd()
	{
		const int64 Pos = Tell();
		return Pos != INDEX_NONE && Pos >= TotalSize();
	}

	virtual void Seek(int64 /*InPos*/)
	{
	}

	virtual void Flush()
	{
	}

	virtual bool Close()
	{
		return !ArIsError;
	}

	virtual void CountBytes(SIZE_T /*InNum*/, SIZE_T /*InMax*/)
	{
	}

	CORE_API virtual FString GetArchiveName() const;

	// Names go as strings; object-aware archives replace these.
	CORE_API virtual FArchive& operator<<(FName& Value);
	virtual FArchive& operator<<(UObject*& /*Value*/)
	{
		return *this;
	}
	virtual FArchive& operator<<(FObjectPtr& /*Value*/)
	{
		return *this;
	}
	virtual FArchive& operator<<(FWeakObjectPtr& /*Value*/)
	{
		return *this;
	}
	virtual FArchive& operator<<(FSoftObjectPtr& /*Value*/)
	{
		return *this;
	}
	virtual FArchive& operator<<(FSoftObjectPath& /*Value*/)
	{
		return *this;
	}
	virtual FArchive& operator<<(FLazyObjectPtr& /*Value*/)
	{
		return *this;
	}

	FORCEINLINE FArchive& ByteOrderSerialize(void* V, int32 Length)
	{
		Serialize(V, Length);
		return *this;
	}

	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, ANSICHAR& Value) { Ar.Serialize(&Value, 1); return Ar; }
	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, WIDECHAR& Value) { return Ar.ByteOrderSerialize(&Value, sizeof(Value)); }
	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, uint8& Value) { Ar.Serialize(&Value, 1); return Ar; }
	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, int8& Value) { Ar.Serialize(&Value, 1); return Ar; }
	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, uint16& Value) { return Ar.ByteOrderSerialize(&Value, sizeof(Value)); }
	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, int16& Value) { return Ar.ByteOrderSerialize(&Value, sizeof(Value)); }
	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, uint32& Value) { return Ar.ByteOrderSerialize(&Value, sizeof(Value)); }
	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, int32& Value) { return Ar.ByteOrderSerialize(&Value, sizeof(Value)); }
	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, uint64& Value) { return Ar.ByteOrderSerialize(&Value, sizeof(Value)); }
	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, int64& Value) { return Ar.ByteOrderSerialize(&Value, sizeof(Value)); }
	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, float& Value) { return Ar.ByteOrderSerialize(&Value, sizeof(Value)); }
	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, double& Value) { return Ar.ByteOrderSerialize(&Value, sizeof(Value)); }

	// A bool goes as a 32-bit word; anything but 0 or 1 on load marks the archive as corrupt.
	CORE_API friend FArchive& operator<<(FArchive& Ar, bool& Value);

	// Length including the terminator, then the characters: positive for 8-bit characters,
	// negative for UTF-16. Zero is the empty string.
	CORE_API friend FArchive& operator<<(FArchive& Ar, FString& Value);

	template <typename EnumType>
		requires std::is_enum_v<EnumType>
	FORCEINLINE friend FArchive& operator<<(FArchive& Ar, EnumType& Value)
	{
		return Ar << (std::underlying_type_t<EnumType>&)Value;
	}

	FORCEINLINE bool IsLoading() const { return ArIsLoading; }
	FORCEINLINE bool IsSaving() const { return ArIsSaving; }
	FORCEINLINE bool IsTransacting() const { return ArIsTransacting; }
	FORCEINLINE bool IsPersistent() const { return ArIsPersistent; }
	FORCEINLINE bool IsSaveGame() const { return ArIsSaveGame; }
	FORCEINLINE bool IsTextFormat() const { return false; }
	FORCEINLINE bool IsCountingMemory() const { return ArIsCountingMemory; }
	FORCEINLINE bool IsObjectReferenceCollector() const { return ArIsObjectReferenceCollector; }
	FORCEINLINE bool IsError() const { return ArIsError; }
	FORCEINLINE bool IsCriticalError() const { return ArIsCriticalError; }
	FORCEINLINE bool HasAnyPortFlags(uint32 Flags) const { return (ArPortFlags & Flags) != 0; }
	FORCEINLINE uint32 GetPortFlags() const { return ArPortFlags; }
	FORCEINLINE bool WantBinaryPropertySerialization() const { return ArWantBinaryPropertySerialization; }

	virtual void SetIsLoading(bool bInIsLoading) { ArIsLoading = bInIsLoading; }
	virtual void SetIsSaving(bool bInIsSaving) { ArIsSaving = bInIsSaving; }
	virtual void SetIsTransacting(bool bInIsTransacting) { ArIsTransacting = bInIsTransacting; }
	virtual void SetIsPersistent(bool bInIsPersistent) { ArIsPersistent = bInIsPersistent; }
	virtual void SetWantBinaryPropertySerialization(bool bInWant) { ArWantBinaryPropertySerialization = bInWant; }
	void SetPortFlags(uint32 InPortFlags) { ArPortFlags = InPortFlags; }
	void SetError() { ArIsError = true; }
	void SetCriticalError() { ArIsError = true; ArIsCriticalError = true; }
	void ClearError() { ArIsError = false; ArIsCriticalError = false; }

	// Only properties marked SaveGame are written when this is set.
	uint8 ArIsSaveGame : 1;
	uint8 ArIsLoading : 1;
	uint8 ArIsSaving : 1;
	uint8 ArIsTransacting : 1;
	uint8 ArIsPersistent : 1;
	uint8 ArIsError : 1;
	uint8 ArIsCriticalError : 1;
	uint8 ArIsCountingMemory : 1;
	uint8 ArIsObjectReferenceCollector : 1;
	uint8 ArWantBinaryPropertySerialization : 1;
	uint8 ArNoDelta : 1;
	uint32 ArPortFlags = 0;
};
