#include "HeaderParserPrivate.h"

// DECLARE_DYNAMIC_MULTICAST_[SPARSE_]DELEGATE[_<N>Params](...) at global scope.
namespace HeaderTool::Private
{
	namespace
	{
		const char* const DelegateParamCounts[] = { "", "_OneParam", "_TwoParams", "_ThreeParams", "_FourParams", "_FiveParams",
			"_SixParams", "_SevenParams", "_EightParams", "_NineParams" };
	}

	void FHeaderParser::ParseDelegate()
	{
		const FToken& MacroToken = Cursor.Current();
		const size_t MacroIndex = Cursor.Position();
		const std::string& Macro = MacroToken.Text;
		const std::string SparsePrefix = "DECLARE_DYNAMIC_MULTICAST_SPARSE_DELEGATE";
		const std::string MulticastPrefix = "DECLARE_DYNAMIC_MULTICAST_DELEGATE";
		const bool bSparse = Macro.rfind(SparsePrefix, 0) == 0;
		if (!bSparse && Macro.rfind(MulticastPrefix, 0) != 0)
		{
			Cursor.Fail("unsupported delegate declaration '" + Macro + "' (only dynamic multicast delegates are reflected)");
		}
		const std::string Suffix = Macro.substr(bSparse ? SparsePrefix.size() : MulticastPrefix.size());
		int ParamCount = -1;
		for (int Count = 0; Count < static_cast<int>(std::size(DelegateParamCounts)); ++Count)
		{
			if (Suffix == DelegateParamCounts[Count])
			{
				ParamCount = Count;
			}
		}
		if (ParamCount < 0 || (bSparse && ParamCount == 0))
		{
			Cursor.Fail("unsupported delegate declaration '" + Macro + "'");
		}

		auto Delegate = std::make_unique<FDelegate>();
		Delegate->Line = MacroToken.Line;
		Delegate->bSparse = bSparse;
		Delegate->Module = Header.Module;
		Delegate->Metadata = CommentMetadataAt(MacroIndex);
		Cursor.Advance();
		const FTokenRun Arguments = ReadParenthesized(Macro.c_str(), Delegate->Line);
		const std::vector<FTokenRun> Parts = SplitTopLevel(Arguments);
		const size_t Leading = bSparse ? 3 : 1;
		if (Parts.size() != Leading + 2 * ParamCount)
		{
			Cursor.FailAt(Delegate->Line, Macro + " expects " + std::to_string(Leading + 2 * ParamCount) + " arguments");
		}
		for (size_t Index = 0; Index < Leading; ++Index)
		{
			if (Parts[Index].size() != 1 || Parts[Index].front()->Kind != ETokenKind::Identifier)
			{
				Cursor.FailAt(Delegate->Line, "expected a name as argument " + std::to_string(Index + 1) + " of " + Macro);
			}
		}
		Delegate->Name = Parts[0].front()->Text;
		if (Delegate->Name.size() < 2 || Delegate->Name[0] != 'F')
		{
			Cursor.FailAt(Delegate->Line, "delegate type '" + Delegate->Name + "' must start with 'F'");
		}
		if (bSparse)
		{
			Delegate->OwningClass = Parts[1].front()->Text;
			Delegate->MemberName = Parts[2].front()->Text;
		}
		for (int Index = 0; Index < ParamCount; ++Index)
		{
			const FTokenRun& TypeTokens = Parts[Leading + 2 * Index];
			const FTokenRun& NameTokens = Parts[Leading + 2 * Index + 1];
			if (TypeTokens.empty() || NameTokens.size() != 1 || NameTokens.front()->Kind != ETokenKind::Identifier)
			{
				Cursor.FailAt(Delegate->Line, "expected a type and a name for parameter " + std::to_string(Index + 1) + " of " + Macro);
			}
			FParameter Parameter;
			Parameter.Name = NameTokens.front()->Text;
			Parameter.Line = Delegate->Line;
			Parameter.Type = ParseTypeTokens(Cursor, TypeTokens, Delegate->Line);
			Delegate->Parameters.push_back(std::move(Parameter));
		}
		Cursor.TryConsume(";");
		Header.Delegates.push_back(std::move(Delegate));
	}
}
