#include "Engine/EngineBaseTypes.h"

FURL::FURL(const TCHAR* Filename)
	: Protocol(TEXT("unreal"))
	, Port(7777)
	, Map(Filename ? Filename : TEXT(""))
	, Valid(1)
{
}
