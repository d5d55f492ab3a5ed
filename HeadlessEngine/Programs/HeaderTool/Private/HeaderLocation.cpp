#include "HeaderLocation.h"

#include <cctype>

namespace HeaderTool
{
	namespace
	{
		namespace fs = std::filesystem;

		std::string MakeIdentifier(const std::string& Text)
		{
			std::string Result = Text;
			for (char& C : Result)
			{
				if (!std::isalnum(static_cast<unsigned char>(C)) && C != '_')
				{
					C = '_';
				}
			}
			return Result;
		}

		/** The path below "Public/", "Private/" or "Classes/", as it is written in #include lines. */
		std::string IncludePathOf(const std::string& ModuleRelativePath)
		{
			for (const char* Prefix : { "Public/", "Private/", "Classes/" })
			{
				if (ModuleRelativePath.rfind(Prefix, 0) == 0)
				{
					return ModuleRelativePath.substr(std::char_traits<char>::length(Prefix));
				}
			}
			return ModuleRelativePath;
		}
	}

	void DescribeModuleHeader(FHeader& Header, const std::string& Path, const fs::path& ModuleRoot, const std::string& Module)
	{
		Header.Path = Path;
		Header.Module = Module;
		const fs::path Absolute = fs::weakly_canonical(fs::absolute(Path));
		const fs::path Relative = Absolute.lexically_relative(fs::weakly_canonical(fs::absolute(ModuleRoot)));
		const bool bUnderRoot = !Relative.empty() && *Relative.begin() != "..";
		Header.ModuleRelativePath = bUnderRoot ? Relative.generic_string() : Absolute.filename().generic_string();
		Header.IncludePath = IncludePathOf(Header.ModuleRelativePath);
		Header.Stem = Absolute.stem().string();
		Header.FileId = "FID_" + MakeIdentifier(Module) + "_" + MakeIdentifier(Header.ModuleRelativePath);
	}

	void DescribeDependencyHeader(FHeader& Header, const std::string& Path)
	{
		const fs::path Absolute = fs::weakly_canonical(fs::absolute(Path));
		fs::path ModuleRoot = Absolute.parent_path();
		for (fs::path Probe = Absolute.parent_path(); Probe.has_relative_path(); Probe = Probe.parent_path())
		{
			const std::string Name = Probe.filename().string();
			if (Name == "Public" || Name == "Private" || Name == "Classes")
			{
				ModuleRoot = Probe.parent_path();
				break;
			}
		}
		DescribeModuleHeader(Header, Path, ModuleRoot, ModuleRoot.filename().string());
	}
}
