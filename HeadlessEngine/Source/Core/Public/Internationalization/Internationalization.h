#pragma once

#include "CoreTypes.h"
#include "Internationalization/Text.h"

// A localizable text literal: its namespace, its key within the namespace, and its source string.
#define NSLOCTEXT(InNamespace, InKey, InTextLiteral) FText::AsLocalizable_Advanced(TEXT(InNamespace), TEXT(InKey), TEXT(InTextLiteral))

// NSLOCTEXT in the namespace that the including file defines as LOCTEXT_NAMESPACE.
#define LOCTEXT(InKey, InTextLiteral) NSLOCTEXT(LOCTEXT_NAMESPACE, InKey, InTextLiteral)
