// The Line Builder's start-up reading of its three shipped data files, and the lookup that
// runs at every selection in its tree (a verb near the end of verb.qx, and a symbol entry,
// which reads both files).

#include <string>

#include <benchmark/benchmark.h>

#include "core/linebuilder/refdata.h"

namespace {
const std::string ShippedDir = QX_DATA_DIR;

void BM_LoadShippedFiles(benchmark::State &state)
{
    for (auto _ : state)
    {
        const TRefData data = LoadRefData(ShippedDir);
        if (!data.Complete)
            state.SkipWithError("the shipped data files are missing");
        benchmark::DoNotOptimize(data.Nodes.data());
    }
}
BENCHMARK(BM_LoadShippedFiles)->Unit(benchmark::kMicrosecond);

void BM_LookupVerb(benchmark::State &state)
{
    for (auto _ : state)
    {
        const TRefLookup found = LookupRefEntry(ShippedDir, "SetGravity");
        benchmark::DoNotOptimize(found.Lines.data());
    }
}
BENCHMARK(BM_LookupVerb)->Unit(benchmark::kMicrosecond);

void BM_LookupSymbol(benchmark::State &state)
{
    for (auto _ : state)
    {
        const TRefLookup found = LookupRefEntry(ShippedDir, "startup");
        benchmark::DoNotOptimize(found.Lines.data());
    }
}
BENCHMARK(BM_LookupSymbol)->Unit(benchmark::kMicrosecond);
} // namespace
