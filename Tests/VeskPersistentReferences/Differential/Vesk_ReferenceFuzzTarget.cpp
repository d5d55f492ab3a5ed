#include "HeadlessEngineLoop.h"
#include "Vesk_ReferenceDifferentialHarness.h"

#include <cstdio>
#include <cstdlib>

// libFuzzer's entry points: the input is a sequence of operations in the differential test's
// encoding, run against the registry and its model with the same comparison after every step.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	FHeadlessEngineLoop::PreInit();
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	using namespace VeskDifferential;
	const std::vector<FOp> Ops = OpsFromFuzzInput(Data, Size);
	const FDivergence Divergence = Run(Ops);
	if (Divergence.bFound)
	{
		const std::vector<FOp> Shrunk = Shrink(Ops, FRunOptions(), std::chrono::seconds(30));
		std::fputs(Report("fuzz input", Ops, Divergence, Shrunk, FRunOptions()).c_str(), stderr);
		std::abort();
	}
	return 0;
}
