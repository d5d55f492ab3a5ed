#include "DefaultValue.h"

#include "Diagnostics.h"

#include <gtest/gtest.h>

namespace
{
	using namespace HeaderTool;

	FParameter ParameterWithDefault(EPropertyKind Kind, const std::string& DefaultValue, const std::string& EnumName = std::string())
	{
		FParameter Parameter;
		Parameter.Name = "Value";
		Parameter.Line = 12;
		Parameter.Mapped.Kind = Kind;
		Parameter.Mapped.EnumName = EnumName;
		Parameter.DefaultValue = DefaultValue;
		return Parameter;
	}

	std::string Normalized(EPropertyKind Kind, const std::string& DefaultValue, const std::string& EnumName = std::string())
	{
		return NormalizeDefaultValue(ParameterWithDefault(Kind, DefaultValue, EnumName), "Test.h");
	}
}

TEST(DefaultValue, IntegersAndBooleansAreKeptAsWritten)
{
	EXPECT_EQ(Normalized(EPropertyKind::Int, "2"), "2");
	EXPECT_EQ(Normalized(EPropertyKind::Int64, "-15"), "-15");
	EXPECT_EQ(Normalized(EPropertyKind::Bool, "true"), "true");
	EXPECT_EQ(Normalized(EPropertyKind::Bool, "false"), "false");
}

TEST(DefaultValue, FloatingPointNumbersGetSixDecimals)
{
	EXPECT_EQ(Normalized(EPropertyKind::Float, "1.5f"), "1.500000");
	EXPECT_EQ(Normalized(EPropertyKind::Float, "2.f"), "2.000000");
	EXPECT_EQ(Normalized(EPropertyKind::Double, "0.25"), "0.250000");
}

TEST(DefaultValue, StringsLoseTheirWrappersAndQuotes)
{
	EXPECT_EQ(Normalized(EPropertyKind::Str, "TEXT(\"Hello\")"), "Hello");
	EXPECT_EQ(Normalized(EPropertyKind::Str, "FString(TEXT(\"Hi\"))"), "Hi");
	EXPECT_EQ(Normalized(EPropertyKind::Str, "FString()"), "");
	EXPECT_EQ(Normalized(EPropertyKind::Name, "FName(TEXT(\"Tag\"))"), "Tag");
}

TEST(DefaultValue, NullAndEmptyNamesAreNone)
{
	EXPECT_EQ(Normalized(EPropertyKind::Object, "nullptr"), "None");
	EXPECT_EQ(Normalized(EPropertyKind::Object, "NULL"), "None");
	EXPECT_EQ(Normalized(EPropertyKind::Name, "NAME_None"), "None");
	EXPECT_EQ(Normalized(EPropertyKind::Name, "FName()"), "None");
}

TEST(DefaultValue, EnumeratorsDropTheirEnum)
{
	EXPECT_EQ(Normalized(EPropertyKind::Byte, "EFixtureMood::Angry", "EFixtureMood"), "Angry");
	EXPECT_EQ(Normalized(EPropertyKind::Byte, "EFixtureSide::Right", "EFixtureSide"), "Right");
	EXPECT_EQ(Normalized(EPropertyKind::Byte, "Left", "ERegular"), "Left");
}

TEST(DefaultValue, ConstructedValuesAreRefused)
{
	try
	{
		Normalized(EPropertyKind::Struct, "FGuid(1,2,3,4)");
		ADD_FAILURE() << "a constructed struct was accepted";
	}
	catch (const FHeaderToolError& Error)
	{
		EXPECT_EQ(Error.Format(), "Test.h:12: error: unsupported default value 'FGuid(1,2,3,4)' of parameter 'Value'");
	}
}
