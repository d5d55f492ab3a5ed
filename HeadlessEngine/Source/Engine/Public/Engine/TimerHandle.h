#pragma once

#include "CoreMinimal.h"
#include "Templates/TypeHash.h"

/** Names one timer of a timer manager; the default handle names none. */
struct FTimerHandle
{
	FTimerHandle() = default;

	bool IsValid() const
	{
		return Handle != 0;
	}

	void Invalidate()
	{
		Handle = 0;
	}

	bool operator==(const FTimerHandle& Other) const
	{
		return Handle == Other.Handle;
	}

	friend uint32 GetTypeHash(const FTimerHandle& InHandle)
	{
		return GetTypeHash(InHandle.Handle);
	}

private:
	friend class FTimerManager;

	uint64 Handle = 0;
};
