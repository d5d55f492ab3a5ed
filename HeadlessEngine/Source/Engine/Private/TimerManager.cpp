#include "TimerManager.h"

#include "Math/UnrealMathUtility.h"

FTimerManager::FTimerManager(UGameInstance* InGameInstance)
{
	(void)InGameInstance;
}

FTimerManager::~FTimerManager() = default;

void FTimerManager::SetTimer(FTimerHandle& InOutHandle, FTimerDelegate const& InDelegate, float InRate, bool InbLoop, float InFirstDelay)
{
	if (!InDelegate.IsBound())
	{
		ClearTimer(InOutHandle);
		return;
	}
	InternalSetTimer(InOutHandle, nullptr, [InDelegate]()
	{
		InDelegate.ExecuteIfBound();
	}, InRate, InbLoop, InFirstDelay);
}

void FTimerManager::SetTimer(FTimerHandle& InOutHandle, TFunction<void(void)>&& Callback, float InRate, bool InbLoop, float InFirstDelay)
{
	InternalSetTimer(InOutHandle, nullptr, MoveTemp(Callback), InRate, InbLoop, InFirstDelay);
}

void FTimerManager::InternalSetTimer(FTimerHandle& InOutHandle, UObject* BoundObject, TFunction<void(void)>&& Callback, float InRate, bool InbLoop, float InFirstDelay)
{
	ClearTimer(InOutHandle);
	if (InRate <= 0.f || !Callback)
	{
		return;
	}

	FTimer& Timer = Timers.AddDefaulted_GetRef();
	Timer.Handle = ++LastAssignedHandle;
	Timer.Object = BoundObject;
	Timer.bBoundToObject = BoundObject != nullptr;
	Timer.Callback = MoveTemp(Callback);
	Timer.Rate = InRate;
	Timer.bLoop = InbLoop;
	Timer.ExpireTime = InternalTime + (InFirstDelay >= 0.f ? InFirstDelay : InRate);
	Timer.Sequence = ++LastAssignedSequence;
	Timer.bPending = bTicking;
	InOutHandle.Handle = Timer.Handle;
}

void FTimerManager::ClearTimer(FTimerHandle& InHandle)
{
	const int32 Index = FindTimerIndex(InHandle);
	if (Index != INDEX_NONE)
	{
		// Keeps the order of the rest: it breaks ties between timers due at the same time.
		Timers.RemoveAt(Index);
	}
	InHandle.Invalidate();
}

bool FTimerManager::IsTimerActive(FTimerHandle InHandle) const
{
	return FindTimerIndex(InHandle) != INDEX_NONE;
}

bool FTimerManager::TimerExists(FTimerHandle InHandle) const
{
	return FindTimerIndex(InHandle) != INDEX_NONE;
}

float FTimerManager::GetTimerRemaining(FTimerHandle InHandle) const
{
	const int32 Index = FindTimerIndex(InHandle);
	return Index == INDEX_NONE ? -1.f : (float)(Timers[Index].ExpireTime - InternalTime);
}

int32 FTimerManager::FindTimerIndex(FTimerHandle InHandle) const
{
	if (!InHandle.IsValid())
	{
		return INDEX_NONE;
	}
	return Timers.IndexOfByPredicate([&InHandle](const FTimer& Timer)
	{
		return Timer.Handle == InHandle.Handle;
	});
}

int32 FTimerManager::FindNextDueTimer() const
{
	int32 Next = INDEX_NONE;
	for (int32 Index = 0; Index < Timers.Num(); ++Index)
	{
		const FTimer& Timer = Timers[Index];
		if (Timer.bPending || Timer.ExpireTime > InternalTime)
		{
			continue;
		}
		if (Next == INDEX_NONE || Timer.ExpireTime < Timers[Next].ExpireTime
			|| (Timer.ExpireTime == Timers[Next].ExpireTime && Timer.Sequence < Timers[Next].Sequence))
		{
			Next = Index;
		}
	}
	return Next;
}

void FTimerManager::Tick(float DeltaTime)
{
	bTicking = true;
	InternalTime += DeltaTime;

	// Callbacks may set and clear timers, this one included: timers are found again by handle
	// after every call, never kept by index or reference across one.
	for (int32 Index = FindNextDueTimer(); Index != INDEX_NONE; Index = FindNextDueTimer())
	{
		FTimerHandle Handle;
		Handle.Handle = Timers[Index].Handle;
		if (Timers[Index].bBoundToObject && !Timers[Index].Object.IsValid())
		{
			Timers.RemoveAt(Index);
			continue;
		}

		const int32 CallCount = Timers[Index].bLoop ? FMath::TruncToInt((InternalTime - Timers[Index].ExpireTime) / Timers[Index].Rate) + 1 : 1;
		// A copy: the timer's own entry may be cleared or replaced by the call.
		const TFunction<void(void)> Callback = Timers[Index].Callback;
		int32 NumCalled = 0;
		for (; NumCalled < CallCount; ++NumCalled)
		{
			const int32 Current = FindTimerIndex(Handle);
			if (Current == INDEX_NONE || (Timers[Current].bBoundToObject && !Timers[Current].Object.IsValid()))
			{
				break;
			}
			Callback();
		}

		const int32 After = FindTimerIndex(Handle);
		if (After == INDEX_NONE)
		{
			continue;
		}
		if (Timers[After].bLoop && NumCalled == CallCount)
		{
			Timers[After].ExpireTime += CallCount * (double)Timers[After].Rate;
		}
		else
		{
			Timers.RemoveAt(After);
		}
	}

	for (FTimer& Timer : Timers)
	{
		Timer.bPending = false;
	}
	bTicking = false;
}
