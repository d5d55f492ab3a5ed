#pragma once

// Everything a module's generated registration source needs.
#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"
#include "UObject/UECodeGen.h"
#include "UObject/Stack.h"
#include "UObject/ScriptMacros.h"
#include "UObject/ScriptDelegates.h"
#include "UObject/SparseDelegate.h"
#include "Templates/Casts.h"
