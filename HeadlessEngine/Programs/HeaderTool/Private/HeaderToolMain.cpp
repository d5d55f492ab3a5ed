// HeadlessHeaderTool: reads a module's reflected headers and writes "<Stem>.generated.h" for each
// and "<Module>.gen.cpp" for the module.
//
//   HeadlessHeaderTool --module <Module> --root <module dir> --out <dir> --api <MODULE>_API
//                      [--dep <header>]... <header>...

#include "ClassResolver.h"
#include "CodeText.h"
#include "Diagnostics.h"
#include "GenCppEmitter.h"
#include "GeneratedHeaderEmitter.h"
#include "HeaderLocation.h"
#include "HeaderParser.h"
#include "ModuleAnalysis.h"
#include "TypeRegistry.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace HeaderTool
{
	namespace
	{
		namespace fs = std::filesystem;

		struct FCommandLine
		{
			std::string Module;
			std::string Root;
			std::string OutDir;
			std::string Api;
			std::vector<std::string> Dependencies;
			std::vector<std::string> Headers;
		};

		class FUsageError : public std::runtime_error
		{
		public:
			using std::runtime_error::runtime_error;
		};

		FCommandLine ParseCommandLine(int ArgC, char** ArgV)
		{
			FCommandLine Result;
			for (int Index = 1; Index < ArgC; ++Index)
			{
				const std::string Argument = ArgV[Index];
				auto Value = [&]() -> std::string
				{
					if (Index + 1 >= ArgC)
					{
						throw FUsageError("missing value after " + Argument);
					}
					return ArgV[++Index];
				};
				if (Argument == "--module")
				{
					Result.Module = Value();
				}
				else if (Argument == "--root")
				{
					Result.Root = Value();
				}
				else if (Argument == "--out")
				{
					Result.OutDir = Value();
				}
				else if (Argument == "--api")
				{
					Result.Api = Value();
				}
				else if (Argument == "--dep")
				{
					Result.Dependencies.push_back(Value());
				}
				else if (Argument.rfind("--", 0) == 0)
				{
					throw FUsageError("unknown option " + Argument);
				}
				else
				{
					Result.Headers.push_back(Argument);
				}
			}
			if (Result.Module.empty() || Result.Root.empty() || Result.OutDir.empty() || Result.Api.empty())
			{
				throw FUsageError("usage: HeadlessHeaderTool --module <Module> --root <dir> --out <dir> --api <API> [--dep <header>]... <header>...");
			}
			return Result;
		}

		std::string ReadFile(const std::string& Path)
		{
			std::ifstream Stream(Path, std::ios::binary);
			if (!Stream)
			{
				throw FHeaderToolError(Path, 1, "cannot open file");
			}
			std::ostringstream Buffer;
			Buffer << Stream.rdbuf();
			return Buffer.str();
		}

		std::vector<std::pair<fs::path, std::string>> Generate(const FCommandLine& CommandLine)
		{
			FModule Module;
			Module.Name = CommandLine.Module;
			Module.ApiMacro = CommandLine.Api;

			for (const std::string& Path : CommandLine.Headers)
			{
				auto Header = std::make_unique<FHeader>();
				DescribeModuleHeader(*Header, Path, CommandLine.Root, Module.Name);
				Module.Headers.push_back(std::move(Header));
			}
			std::stable_sort(Module.Headers.begin(), Module.Headers.end(),
				[](const auto& A, const auto& B) { return A->ModuleRelativePath < B->ModuleRelativePath; });
			for (size_t Index = 0; Index < Module.Headers.size(); ++Index)
			{
				for (size_t Other = 0; Other < Index; ++Other)
				{
					if (Module.Headers[Other]->Stem == Module.Headers[Index]->Stem)
					{
						throw FHeaderToolError(Module.Headers[Index]->Path, 1, "another header of the module has the same file name: " + Module.Headers[Other]->Path);
					}
				}
			}

			FTypeRegistry Registry;
			for (const std::string& Path : CommandLine.Dependencies)
			{
				const fs::path Canonical = fs::weakly_canonical(fs::absolute(Path));
				const bool bOwnHeader = std::any_of(Module.Headers.begin(), Module.Headers.end(),
					[&](const auto& Header) { return fs::weakly_canonical(fs::absolute(Header->Path)) == Canonical; });
				if (bOwnHeader)
				{
					continue;
				}
				auto Header = std::make_unique<FHeader>();
				DescribeDependencyHeader(*Header, Path);
				ParseHeader(ReadFile(Path), *Header);
				Registry.AddHeader(*Header);
				Module.DependencyHeaders.push_back(std::move(Header));
			}
			for (const auto& Header : Module.Headers)
			{
				const std::string Source = ReadFile(Header->Path);
				ParseHeader(Source, *Header);
				CheckGeneratedHeaderInclude(Source, *Header);
				Registry.AddHeader(*Header);
			}
			ResolveClasses(Module, Registry);
			AnalyzeModule(Module, Registry);

			std::vector<std::pair<fs::path, std::string>> Outputs;
			std::string AllDeclarations;
			for (const auto& Header : Module.Headers)
			{
				std::string Text = EmitGeneratedHeader(Module, *Header);
				AllDeclarations += Text;
				Outputs.emplace_back(fs::path(CommandLine.OutDir) / (Header->Stem + ".generated.h"), std::move(Text));
			}
			Outputs.emplace_back(fs::path(CommandLine.OutDir) / (Module.Name + ".gen.cpp"), EmitGenCpp(Module, Registry, CodeText::Hash(AllDeclarations)));
			return Outputs;
		}

		/** Outputs of an earlier run must not survive a failed one: the build would take them as current. */
		void RemoveOutputs(const FCommandLine& CommandLine)
		{
			std::error_code Ignored;
			for (const std::string& Path : CommandLine.Headers)
			{
				fs::remove(fs::path(CommandLine.OutDir) / (fs::path(Path).stem().string() + ".generated.h"), Ignored);
			}
			fs::remove(fs::path(CommandLine.OutDir) / (CommandLine.Module + ".gen.cpp"), Ignored);
		}

		bool WriteOutputs(const std::vector<std::pair<fs::path, std::string>>& Outputs, const FCommandLine& CommandLine)
		{
			std::error_code Error;
			fs::create_directories(CommandLine.OutDir, Error);
			for (const auto& [Path, Text] : Outputs)
			{
				std::ofstream Stream(Path, std::ios::binary | std::ios::trunc);
				Stream << Text;
				Stream.close();
				if (!Stream)
				{
					std::cerr << Path.string() << ": error: cannot write file\n";
					RemoveOutputs(CommandLine);
					return false;
				}
			}
			return true;
		}
	}
}

int main(int ArgC, char** ArgV)
{
	using namespace HeaderTool;
	FCommandLine CommandLine;
	try
	{
		CommandLine = ParseCommandLine(ArgC, ArgV);
	}
	catch (const FUsageError& Error)
	{
		std::cerr << "HeadlessHeaderTool: error: " << Error.what() << "\n";
		return 1;
	}
	try
	{
		const auto Outputs = Generate(CommandLine);
		return WriteOutputs(Outputs, CommandLine) ? 0 : 1;
	}
	catch (const FHeaderToolError& Error)
	{
		std::cerr << Error.Format() << "\n";
	}
	catch (const std::exception& Error)
	{
		std::cerr << "HeadlessHeaderTool: error: " << Error.what() << "\n";
	}
	RemoveOutputs(CommandLine);
	return 1;
}
