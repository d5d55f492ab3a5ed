#pragma once

#include "CoreMinimal.h"
#include "Containers/StringConv.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"

#include <gtest/gtest.h>

#include <string>

// Reflection data read back as std::string, so that failed expectations print readable text.
namespace HeaderToolTests
{
	inline std::string Utf8(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	inline std::string Meta(const UField* Field, const TCHAR* Key)
	{
		return Utf8(Field->GetMetaData(Key));
	}

	inline std::string Meta(const FField* Field, const TCHAR* Key)
	{
		return Utf8(Field->GetMetaData(Key));
	}

	inline std::string NameOf(const UObject* Object)
	{
		return Object ? Utf8(Object->GetName()) : std::string("<null>");
	}

	inline std::string NameOf(const FField* Field)
	{
		return Field ? Utf8(Field->GetName()) : std::string("<null>");
	}

	/** The property named Name of Struct itself, cast to its expected field class; fails the test when either is wrong. */
	template<typename PropertyType>
	PropertyType* FindTypedProperty(const UStruct* Struct, const TCHAR* Name)
	{
		FProperty* Property = Struct->FindPropertyByName(FName(Name));
		EXPECT_NE(Property, nullptr) << Utf8(Name) << " is not a property of " << NameOf(Struct);
		PropertyType* Typed = CastField<PropertyType>(Property);
		EXPECT_NE(Typed, nullptr) << Utf8(Name) << " is a " << (Property ? Utf8(Property->GetClass()->GetName()) : std::string("<missing>"));
		return Typed;
	}
}
