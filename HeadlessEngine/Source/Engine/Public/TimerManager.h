#pragma once

#include "CoreMinimal.h"
#include "Containers/Array.h"
#include "Delegates/Delegate.h"
#include "Engine/TimerHandle.h"
#include "Templates/Function.h"
#include "UObject/Object.h"
#include "UObject/WeakObjectPtr.h"

#include <type_traits>

class UGameInstance;

DECLARE_DELEGATE(FTimerDelegate);

/**
 * Calls functions after a delay, once or in a loop, measured in the seconds its owner's ticks
 * give it. A world ticks its timer manager (its game instance's, when it has one) once per
 * world tick, before its tickable objects. A timer whose object is gone is dropped without a call.
 */
class ENGINE_API FTimerManager
{
public:
	/** The game instance that owns it, if any; kept for the engine's signature, not used here. */
	explicit FTimerManager(UGameInstance* InGameInstance = nullptr);
	~FTimerManager();

	FTimerManager(const FTimerManager&) = delete;
	FTimerManager& operator=(const FTimerManager&) = delete;

	/**
	 * Advances the clock and fires every timer that has come due, earliest first. A looping
	 * timer due several times over fires that many times. Timers set during the tick wait for
	 * the next one.
	 */
	void Tick(float DeltaTime);

	/**
	 * Calls InTimerMethod on InObj every InRate seconds when looping, else once, first after
	 * InFirstDelay seconds (InRate when negative). A valid handle's timer is cleared first, and
	 * the handle is given the new timer; a rate of zero or less only clears it. InObj is held
	 * weakly.
	 */
	template<class UserClass>
	void SetTimer(FTimerHandle& InOutHandle, UserClass* InObj, typename FTimerDelegate::template TMethodPtr<UserClass> InTimerMethod, float InRate, bool InbLoop = false, float InFirstDelay = -1.f)
	{
		static_assert(std::is_base_of_v<UObject, UserClass>, "A timer bound to an object method needs a UObject; use a delegate or a function otherwise.");
		check(InObj != nullptr && InTimerMethod != nullptr);
		InternalSetTimer(InOutHandle, InObj, [InObj, InTimerMethod]()
		{
			(InObj->*InTimerMethod)();
		}, InRate, InbLoop, InFirstDelay);
	}

	void SetTimer(FTimerHandle& InOutHandle, FTimerDelegate const& InDelegate, float InRate, bool InbLoop, float InFirstDelay = -1.f);
	void SetTimer(FTimerHandle& InOutHandle, TFunction<void(void)>&& Callback, float InRate, bool InbLoop, float InFirstDelay = -1.f);

	/** Removes the timer, if any, and invalidates the handle. */
	void ClearTimer(FTimerHandle& InHandle);

	/** Set and not yet fired (a one-shot timer counts as active while it runs), or looping. */
	bool IsTimerActive(FTimerHandle InHandle) const;
	bool TimerExists(FTimerHandle InHandle) const;

	/** Seconds until the timer fires next; -1 for a handle that names no timer. */
	float GetTimerRemaining(FTimerHandle InHandle) const;

private:
	struct FTimer
	{
		uint64 Handle = 0;
		/** Only for timers bound to an object: a timer whose object is gone is dropped. */
		FWeakObjectPtr Object;
		bool bBoundToObject = false;
		TFunction<void(void)> Callback;
		float Rate = 0.f;
		bool bLoop = false;
		double ExpireTime = 0.0;
		/** Orders timers that come due at the same time: the one set first fires first. */
		uint64 Sequence = 0;
		/** Set during a tick: waits for the next tick. */
		bool bPending = false;
	};

	void InternalSetTimer(FTimerHandle& InOutHandle, UObject* BoundObject, TFunction<void(void)>&& Callback, float InRate, bool InbLoop, float InFirstDelay);
	int32 FindTimerIndex(FTimerHandle InHandle) const;
	/** The due timer that fires next, or INDEX_NONE. */
	int32 FindNextDueTimer() const;

	TArray<FTimer> Timers;
	double InternalTime = 0.0;
	uint64 LastAssignedHandle = 0;
	uint64 LastAssignedSequence = 0;
	bool bTicking = false;
};
