#include "HeadlessEngineLoop.h"

#include <benchmark/benchmark.h>

int main(int ArgC, char** ArgV)
{
	benchmark::Initialize(&ArgC, ArgV);
	if (benchmark::ReportUnrecognizedArguments(ArgC, ArgV))
	{
		return 1;
	}
	FHeadlessEngineLoop::PreInit();
	benchmark::RunSpecifiedBenchmarks();
	benchmark::Shutdown();
	FHeadlessEngineLoop::Exit();
	return 0;
}
