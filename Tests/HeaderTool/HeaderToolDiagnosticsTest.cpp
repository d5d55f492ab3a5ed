// The header tool run as a build runs it, on headers it must refuse: each refusal is one line
// "<file>:<line>: error: <message>", a non-zero exit code, and no generated files.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{
	namespace fs = std::filesystem;

	struct FToolRun
	{
		int ExitCode = -1;
		std::string Output;
	};

	std::string ShellQuote(const std::string& Text)
	{
		std::string Result = "'";
		for (const char C : Text)
		{
			Result += C == '\'' ? std::string("'\\''") : std::string(1, C);
		}
		return Result + "'";
	}

	/** The 1-based line of Text that contains Marker; 0 when none does. */
	int LineOf(const std::string& Text, const std::string& Marker)
	{
		std::istringstream Stream(Text);
		std::string Line;
		for (int Number = 1; std::getline(Stream, Line); ++Number)
		{
			if (Line.find(Marker) != std::string::npos)
			{
				return Number;
			}
		}
		return 0;
	}

	/** A module "Bad" in a fresh directory, whose headers the tool is run on. */
	class HeaderToolRun : public testing::Test
	{
	protected:
		void SetUp() override
		{
			const testing::TestInfo* Info = testing::UnitTest::GetInstance()->current_test_info();
			std::string Name = std::string(Info->test_suite_name()) + "_" + Info->name();
			for (char& C : Name)
			{
				C = std::isalnum(static_cast<unsigned char>(C)) ? C : '_';
			}
			Root = fs::temp_directory_path() / ("HeaderToolRun_" + std::to_string(::getpid()) + "_" + Name);
			fs::remove_all(Root);
			fs::create_directories(Root / "Bad" / "Public");
			OutDir = Root / "Generated";
		}

		void TearDown() override
		{
			std::error_code Ignored;
			fs::remove_all(Root, Ignored);
		}

		std::string WriteFile(const std::string& RelativePath, const std::string& Text) const
		{
			const fs::path Path = Root / RelativePath;
			fs::create_directories(Path.parent_path());
			std::ofstream(Path, std::ios::binary) << Text;
			return Path.string();
		}

		FToolRun RunTool(const std::vector<std::string>& Arguments) const
		{
			std::string Command = ShellQuote(HEADER_TOOL_PATH);
			for (const std::string& Argument : Arguments)
			{
				Command += " " + ShellQuote(Argument);
			}
			Command += " 2>&1";
			FToolRun Result;
			FILE* Pipe = ::popen(Command.c_str(), "r");
			if (Pipe == nullptr)
			{
				ADD_FAILURE() << "cannot run " << Command;
				return Result;
			}
			char Buffer[512];
			size_t Read = 0;
			while ((Read = std::fread(Buffer, 1, sizeof(Buffer), Pipe)) > 0)
			{
				Result.Output.append(Buffer, Read);
			}
			const int Status = ::pclose(Pipe);
			Result.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
			return Result;
		}

		/** Runs the tool for module Bad over Headers, with Dependencies passed as --dep. */
		FToolRun RunOnModule(const std::vector<std::string>& Headers, const std::vector<std::string>& Dependencies = {}) const
		{
			std::vector<std::string> Arguments = { "--module", "Bad", "--root", (Root / "Bad").string(), "--out", OutDir.string(), "--api", "BAD_API" };
			for (const std::string& Dependency : Dependencies)
			{
				Arguments.push_back("--dep");
				Arguments.push_back(Dependency);
			}
			Arguments.insert(Arguments.end(), Headers.begin(), Headers.end());
			return RunTool(Arguments);
		}

		bool AnyOutputExists() const
		{
			return fs::exists(OutDir / "Bad.generated.h") || fs::exists(OutDir / "Bad.gen.cpp");
		}

		fs::path Root;
		fs::path OutDir;
	};

	const char* const ValidHeader = R"(#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "Bad.generated.h"

UCLASS()
class UBad : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY()
	int32 Value = 0;
};
)";
}

TEST_F(HeaderToolRun, ValidHeaderWritesItsGeneratedHeaderAndTheModuleSourceSilently)
{
	const std::string Header = WriteFile("Bad/Public/Bad.h", ValidHeader);
	const FToolRun Run = RunOnModule({ Header });
	EXPECT_EQ(Run.ExitCode, 0);
	EXPECT_EQ(Run.Output, "");
	EXPECT_TRUE(fs::exists(OutDir / "Bad.generated.h"));
	EXPECT_TRUE(fs::exists(OutDir / "Bad.gen.cpp"));
}

TEST_F(HeaderToolRun, FailedRunRemovesTheOutputsOfAnEarlierRun)
{
	const std::string Header = WriteFile("Bad/Public/Bad.h", ValidHeader);
	ASSERT_EQ(RunOnModule({ Header }).ExitCode, 0);
	ASSERT_TRUE(AnyOutputExists());
	WriteFile("Bad/Public/Bad.h", std::string(ValidHeader) + "GENERATED_BODY()\n");
	const FToolRun Run = RunOnModule({ Header });
	EXPECT_NE(Run.ExitCode, 0);
	EXPECT_FALSE(AnyOutputExists());
}

TEST_F(HeaderToolRun, MissingArgumentsPrintTheUsage)
{
	const FToolRun Run = RunTool({ "--module", "Bad" });
	EXPECT_EQ(Run.ExitCode, 1);
	EXPECT_EQ(Run.Output, "HeadlessHeaderTool: error: usage: HeadlessHeaderTool --module <Module> --root <dir> --out <dir> --api <API> [--dep <header>]... <header>...\n");
}

TEST_F(HeaderToolRun, UnknownOptionIsRefused)
{
	const FToolRun Run = RunTool({ "--modul", "Bad" });
	EXPECT_EQ(Run.ExitCode, 1);
	EXPECT_EQ(Run.Output, "HeadlessHeaderTool: error: unknown option --modul\n");
}

TEST_F(HeaderToolRun, UnreadableHeaderIsReportedAtItsFirstLine)
{
	const std::string Missing = (Root / "Bad" / "Public" / "Missing.h").string();
	const FToolRun Run = RunOnModule({ Missing });
	EXPECT_EQ(Run.ExitCode, 1);
	EXPECT_EQ(Run.Output, Missing + ":1: error: cannot open file\n");
}

TEST_F(HeaderToolRun, TypesOfAnotherModuleAreKnownOnlyThroughDependencies)
{
	const std::string Other = WriteFile("Other/Public/OtherThing.h", R"(#pragma once
#include "UObject/Object.h"
#include "OtherThing.generated.h"

UCLASS()
class UOtherThing : public UObject
{
	GENERATED_BODY()
};
)");
	const std::string Text = R"(#pragma once
#include "OtherThing.h"
#include "Bad.generated.h"

UCLASS()
class UBad : public UOtherThing
{
	GENERATED_BODY()

	UPROPERTY()
	TObjectPtr<UOtherThing> Thing;
};
)";
	const std::string Header = WriteFile("Bad/Public/Bad.h", Text);
	const FToolRun Without = RunOnModule({ Header });
	EXPECT_EQ(Without.ExitCode, 1);
	EXPECT_EQ(Without.Output, Header + ":" + std::to_string(LineOf(Text, "class UBad")) + ": error: super class 'UOtherThing' of 'UBad' is not a known UCLASS\n");
	const FToolRun With = RunOnModule({ Header }, { Other });
	EXPECT_EQ(With.ExitCode, 0) << With.Output;
	EXPECT_EQ(With.Output, "");
}

TEST_F(HeaderToolRun, ErrorInADependencyNamesTheDependency)
{
	const std::string Text = "#pragma once\n#include \"OtherThing.generated.h\"\nUPROPERTY()\n";
	const std::string Other = WriteFile("Other/Public/OtherThing.h", Text);
	const std::string Header = WriteFile("Bad/Public/Bad.h", ValidHeader);
	const FToolRun Run = RunOnModule({ Header }, { Other });
	EXPECT_EQ(Run.ExitCode, 1);
	EXPECT_EQ(Run.Output, Other + ":3: error: UPROPERTY outside of a UCLASS or USTRUCT\n");
}

TEST_F(HeaderToolRun, TypeDeclaredTwiceNamesTheFirstDeclaration)
{
	const std::string Struct = "USTRUCT()\nstruct FTwice\n{\n\tGENERATED_BODY()\n};\n";
	const std::string First = WriteFile("Bad/Public/First.h", "#pragma once\n#include \"First.generated.h\"\n" + Struct);
	const std::string Second = WriteFile("Bad/Public/Second.h", "#pragma once\n#include \"Second.generated.h\"\n\n" + Struct);
	const FToolRun Run = RunOnModule({ First, Second });
	EXPECT_EQ(Run.ExitCode, 1);
	EXPECT_EQ(Run.Output, Second + ":5: error: 'FTwice' is already declared in " + First + ":4\n");
}

namespace
{
	/** One refused form: the header, its offending line marked with "// <-", and the message. */
	struct FRefusal
	{
		const char* Name;
		const char* Body;
		const char* Message;
		bool bWithGeneratedInclude = true;
	};

	void PrintTo(const FRefusal& Refusal, std::ostream* Out)
	{
		*Out << Refusal.Name;
	}

	class HeaderToolRefusal : public HeaderToolRun, public testing::WithParamInterface<FRefusal>
	{
	};

	const FRefusal Refusals[] = {
		{ "UnknownPropertySpecifier", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUPROPERTY(EditAnywher) // <-\n\tint32 Value;\n};\n",
			"unknown specifier 'EditAnywher' on UPROPERTY" },
		{ "UnknownClassSpecifier", "UCLASS(Blueprintabel) // <-\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n};\n",
			"unknown specifier 'Blueprintabel' on UCLASS" },
		{ "UnknownStructSpecifier", "USTRUCT(Bogus) // <-\nstruct FBad\n{\n\tGENERATED_BODY()\n};\n",
			"unknown specifier 'Bogus' on USTRUCT" },
		{ "UnknownEnumSpecifier", "UENUM(Bogus) // <-\nenum class EBad : uint8\n{\n\tA,\n};\n",
			"unknown specifier 'Bogus' on UENUM" },
		{ "UnknownFunctionSpecifier", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION(Bogus) // <-\n\tvoid Do();\n};\n",
			"unknown specifier 'Bogus' on UFUNCTION" },
		{ "UnknownParameterSpecifier", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION()\n\tvoid Do(UPARAM(Bogus) int32& Value); // <-\n};\n",
			"unknown specifier 'Bogus' on UPARAM" },
		{ "EventSpecifier", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION(BlueprintNativeEvent) // <-\n\tvoid Do();\n};\n",
			"unsupported specifier 'BlueprintNativeEvent' on UFUNCTION" },
		{ "ContainerProperty", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUPROPERTY()\n\tTArray<int32> Values; // <-\n};\n",
			"unsupported type 'TArray<int32>'" },
		{ "UnreflectedStructProperty", "USTRUCT()\nstruct FBad\n{\n\tGENERATED_BODY()\n\tUPROPERTY()\n\tFVector Where; // <-\n};\n",
			"unsupported type 'FVector'" },
		{ "PointerToUnknownClass", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUPROPERTY()\n\tAActor* Actor; // <-\n};\n",
			"unsupported type 'AActor*'" },
		{ "StaticArrayProperty", "USTRUCT()\nstruct FBad\n{\n\tGENERATED_BODY()\n\tUPROPERTY()\n\tint32 Values[4]; // <-\n};\n",
			"unsupported static array property 'int32 Values'" },
		{ "BitfieldProperty", "USTRUCT()\nstruct FBad\n{\n\tGENERATED_BODY()\n\tUPROPERTY()\n\tuint8 bFlag : 1; // <-\n};\n",
			"unsupported bitfield property 'uint8 bFlag'" },
		{ "StaticProperty", "USTRUCT()\nstruct FBad\n{\n\tGENERATED_BODY()\n\tUPROPERTY()\n\tstatic int32 Count; // <-\n};\n",
			"a UPROPERTY cannot be static" },
		{ "TwoVariablesInOneProperty", "USTRUCT()\nstruct FBad\n{\n\tGENERATED_BODY()\n\tUPROPERTY()\n\tint32 A, B; // <-\n};\n",
			"a UPROPERTY must declare exactly one variable" },
		{ "WideEnumClassProperty", "UENUM()\nenum class EWide : int32\n{\n\tA,\n};\nUSTRUCT()\nstruct FBad\n{\n\tGENERATED_BODY()\n\tUPROPERTY()\n\tEWide Wide; // <-\n};\n",
			"unsupported type 'EWide' (a reflected enum class must have the underlying type uint8)" },
		{ "UnscopedEnumProperty", "UENUM()\nenum ERegular\n{\n\tA,\n};\nUSTRUCT()\nstruct FBad\n{\n\tGENERATED_BODY()\n\tUPROPERTY()\n\tERegular Value; // <-\n};\n",
			"unsupported type 'ERegular' (a member must use TEnumAsByte<ERegular>)" },
		{ "EmptyEnum", "UENUM()\nenum class EEmpty : uint8 // <-\n{\n};\n",
			"UENUM 'EEmpty' has no entries" },
		{ "MissingGeneratedInclude", "\nUSTRUCT() // <-\nstruct FBad\n{\n\tGENERATED_BODY()\n};\n",
			"missing #include \"Bad.generated.h\" (a header with reflected declarations must include it last)", false },
		{ "IncludeAfterGeneratedHeader", "#include \"Later.h\" // <-\nUSTRUCT()\nstruct FBad\n{\n\tGENERATED_BODY()\n};\n",
			"#include after \"Bad.generated.h\": the generated header must be the last #include" },
		{ "GeneratedBodyOutsideType", "struct FPlain\n{\n\tGENERATED_BODY() // <-\n};\n",
			"GENERATED_BODY outside of a UCLASS or USTRUCT" },
		{ "MissingGeneratedBody", "UCLASS()\nclass UBad : public UObject // <-\n{\n};\n",
			"missing GENERATED_BODY() in class 'UBad'" },
		{ "FunctionInStruct", "USTRUCT()\nstruct FBad\n{\n\tGENERATED_BODY()\n\tUFUNCTION() // <-\n\tvoid Do();\n};\n",
			"UFUNCTION is not allowed in a USTRUCT" },
		{ "PropertyOutsideType", "UPROPERTY() // <-\nint32 Loose;\n",
			"UPROPERTY outside of a UCLASS or USTRUCT" },
		{ "UnknownSuperClass", "class UPlain : public UObject {};\nUCLASS()\nclass UBad : public UPlain // <-\n{\n\tGENERATED_BODY()\n};\n",
			"super class 'UPlain' of 'UBad' is not a known UCLASS" },
		{ "UnknownWithinClass", "UCLASS(Within=Nowhere) // <-\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n};\n",
			"Within class 'Nowhere' is not a known UCLASS" },
		{ "ConfigWithoutName", "UCLASS(Config) // <-\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n};\n",
			"Config requires a name, e.g. Config=Game" },
		{ "ForwardDeclaration", "UCLASS()\nclass UBad; // <-\n",
			"UCLASS must be followed by a definition of 'UBad', not a forward declaration" },
		{ "ClassTemplate", "UCLASS()\ntemplate<typename T> // <-\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n};\n",
			"UCLASS cannot be applied to a template" },
		{ "ClassInNamespace", "namespace Inner\n{\n\tUCLASS() // <-\n\tclass UBad : public UObject\n\t{\n\t\tGENERATED_BODY()\n\t};\n}\n",
			"UCLASS must be declared at global scope" },
		{ "Interface", "UINTERFACE() // <-\nclass UBadInterface : public UInterface\n{\n\tGENERATED_BODY()\n};\n",
			"UINTERFACE is not supported" },
		{ "SingleCastDelegate", "DECLARE_DYNAMIC_DELEGATE(FBadDelegate); // <-\n",
			"unsupported delegate declaration 'DECLARE_DYNAMIC_DELEGATE' (only dynamic multicast delegates are reflected)" },
		{ "DelegateParameter", "DECLARE_DYNAMIC_MULTICAST_DELEGATE(FBadDelegate);\nUCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION()\n\tvoid Do(FBadDelegate Delegate); // <-\n};\n",
			"unsupported type 'FBadDelegate' (delegates can only be reflected as members)" },
		{ "AssignableNonDelegate", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUPROPERTY(BlueprintAssignable)\n\tint32 Value; // <-\n};\n",
			"BlueprintAssignable is only allowed on multicast delegate properties" },
		{ "InstancedNonObject", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUPROPERTY(Instanced)\n\tint32 Value; // <-\n};\n",
			"Instanced is only allowed on object properties" },
		{ "OverloadedFunction", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION()\n\tvoid Do();\n\tUFUNCTION()\n\tvoid Do(int32 Value); // <-\n};\n",
			"overloaded UFUNCTION 'Do' is not supported" },
		{ "ReferenceResult", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION()\n\tint32& Get(); // <-\n};\n",
			"unsupported type 'int32&' (reference results cannot be reflected)" },
		{ "ObjectOutParameter", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION()\n\tvoid Get(UObject*& Out); // <-\n};\n",
			"unsupported type 'UObject*&' (out parameters of this type cannot be reflected)" },
		{ "RefOnValueParameter", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION()\n\tvoid Do(UPARAM(ref) int32 Value); // <-\n};\n",
			"UPARAM(ref) requires a non-const reference parameter" },
		{ "UnnamedParameter", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION()\n\tvoid Do(int32); // <-\n};\n",
			"parameter 'int32' must be named" },
		{ "ParameterNamedReturnValue", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION()\n\tvoid Do(int32 ReturnValue); // <-\n};\n",
			"a parameter cannot be named 'ReturnValue': the result is registered under that name" },
		{ "StructDefaultArgument", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION()\n\tvoid Do(FGuid Id = FGuid(1, 2, 3, 4)); // <-\n};\n",
			"unsupported default value 'FGuid(1,2,3,4)' of parameter 'Id'" },
		{ "UnclosedSpecifierList", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUPROPERTY(EditAnywhere\n\tint32 Value; // <-\n};\n",
			"expected ',' or ')' in UPROPERTY(...), found 'int32'" },
		{ "UnbalancedSpecifierList", "UCLASS()\nclass UBad : public UObject\n{\n\tGENERATED_BODY()\n\tUPROPERTY(Category=\"A\"; // <-\n\tint32 Value;\n};\n",
			"unbalanced parentheses in UPROPERTY(...)" },
		{ "MetaOutsideEnum", "USTRUCT()\nstruct FBad\n{\n\tGENERATED_BODY()\n};\nUMETA(DisplayName=\"X\") // <-\n",
			"UMETA outside of a UENUM" },
	};
}

TEST_P(HeaderToolRefusal, IsReportedAtItsLineWithoutWritingAnything)
{
	const FRefusal& Refusal = GetParam();
	std::string Text = "#pragma once\n\n#include \"CoreMinimal.h\"\n#include \"UObject/Object.h\"\n";
	if (Refusal.bWithGeneratedInclude)
	{
		Text += "#include \"Bad.generated.h\"\n";
	}
	Text += "\n" + std::string(Refusal.Body);
	const int Line = LineOf(Text, "// <-");
	ASSERT_GT(Line, 0) << "the case marks no line";
	const std::string Header = WriteFile("Bad/Public/Bad.h", Text);
	const FToolRun Run = RunOnModule({ Header });
	EXPECT_EQ(Run.ExitCode, 1);
	EXPECT_EQ(Run.Output, Header + ":" + std::to_string(Line) + ": error: " + Refusal.Message + "\n");
	EXPECT_FALSE(AnyOutputExists());
}

INSTANTIATE_TEST_SUITE_P(UnsupportedForms, HeaderToolRefusal, testing::ValuesIn(Refusals),
	[](const testing::TestParamInfo<FRefusal>& Info) { return std::string(Info.param.Name); });
