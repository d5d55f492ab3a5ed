#include "VeskTestChangeListener.h"

void UVeskTestChangeListener::HandleChanged()
{
	if (OnCalled)
	{
		OnCalled(0);
	}
}

void UVeskTestChangeListener::HandleChangedAgain()
{
	if (OnCalled)
	{
		OnCalled(1);
	}
}
