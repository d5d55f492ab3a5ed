#pragma once

#include "CoreTypes.h"
#include "Serialization/Archive.h"

// Archive over memory with a position; names go through the base archive as strings.
class FMemoryArchive : public FArchive
{
public:
	virtual void Seek(int64 InPos) override
	{
		Offset = InPos;
	}

	virtual int64 Tell() override
	{
		return Offset;
	}

	using FArchive::operator<<;

protected:
	FMemoryArchive() = default;

	int64 Offset = 0;
};
