#pragma once

#include "CoreTypes.h"
#include "Containers/ContainerAllocationPolicies.h"

template <typename T, typename Allocator = FDefaultAllocator> class TArray;
template <typename T, typename InAllocator = FDefaultSparseArrayAllocator> class TSparseArray;
template <typename ElementType, bool bInAllowDuplicateKeys = false> struct DefaultKeyFuncs;
template <typename InElementType, typename KeyFuncs = DefaultKeyFuncs<InElementType>, typename Allocator = FDefaultSetAllocator> class TSet;
template <typename KeyType, typename ValueType, bool bInAllowDuplicateKeys> struct TDefaultMapHashableKeyFuncs;
template <typename InKeyType, typename InValueType, typename SetAllocator = FDefaultSetAllocator, typename KeyFuncs = TDefaultMapHashableKeyFuncs<InKeyType, InValueType, false>> class TMap;
template <typename T> class TArrayView;
template <typename FuncType> class TFunction;
template <typename FuncType> class TFunctionRef;

class FString;
class FName;
