#pragma once

#include "CoreTypes.h"

// Names that exist before anything runs, at fixed indices of the name table.
#define UE_FOR_EACH_HARDCODED_NAME(Op) \
	Op(None, 0) \
	Op(ByteProperty, 1) \
	Op(IntProperty, 2) \
	Op(BoolProperty, 3) \
	Op(FloatProperty, 4) \
	Op(ObjectProperty, 5) \
	Op(NameProperty, 6) \
	Op(DelegateProperty, 7) \
	Op(DoubleProperty, 8) \
	Op(ArrayProperty, 9) \
	Op(StructProperty, 10) \
	Op(VectorProperty, 11) \
	Op(RotatorProperty, 12) \
	Op(StrProperty, 13) \
	Op(TextProperty, 14) \
	Op(InterfaceProperty, 15) \
	Op(MulticastDelegateProperty, 16) \
	Op(LazyObjectProperty, 17) \
	Op(SoftObjectProperty, 18) \
	Op(UInt64Property, 19) \
	Op(UInt32Property, 20) \
	Op(UInt16Property, 21) \
	Op(Int64Property, 22) \
	Op(Int16Property, 23) \
	Op(Int8Property, 24) \
	Op(MapProperty, 25) \
	Op(SetProperty, 26) \
	Op(EnumProperty, 27) \
	Op(ClassProperty, 28) \
	Op(WeakObjectProperty, 29) \
	Op(Core, 30) \
	Op(Engine, 31) \
	Op(CoreUObject, 32) \
	Op(Object, 33) \
	Op(Class, 34) \
	Op(Package, 35) \
	Op(Function, 36) \
	Op(Struct, 37) \
	Op(Enum, 38) \
	Op(Guid, 39) \
	Op(Vector, 40) \
	Op(Rotator, 41) \
	Op(Name, 42) \
	Op(Actor, 43) \
	Op(Game, 44) \
	Op(Default__, 45)

enum EName : uint32
{
#define UE_DECLARE_ENAME(Name, Value) NAME_##Name = Value,
	UE_FOR_EACH_HARDCODED_NAME(UE_DECLARE_ENAME)
#undef UE_DECLARE_ENAME
	NAME_MaxHardcodedNameIndex
};

// The number suffix "_N" is stored as N + 1; 0 means the name has no number.
#define NAME_NO_NUMBER_INTERNAL 0
#define NAME_EXTERNAL_TO_INTERNAL(x) (x + 1)
#define NAME_INTERNAL_TO_EXTERNAL(x) (x - 1)
#define NAME_NO_NUMBER NAME_INTERNAL_TO_EXTERNAL(NAME_NO_NUMBER_INTERNAL)
