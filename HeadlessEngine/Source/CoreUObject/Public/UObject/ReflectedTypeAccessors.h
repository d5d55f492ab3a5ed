#pragma once

class UClass;
class UEnum;
class UScriptStruct;

// Specialised for each reflected type by its generated code.
template<typename ClassType>
UClass* StaticClass();

template<typename StructType>
UScriptStruct* StaticStruct();

template<typename EnumType>
UEnum* StaticEnum();
