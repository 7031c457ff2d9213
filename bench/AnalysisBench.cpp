// Time of one analysis of a script, as the language server makes one at each change of a
// document: on a script of 5,000 lines and on one of 5 MB, each beside the checks alone on the
// same text, which the analysis runs once and follows.

#include <string>

#include <benchmark/benchmark.h>

#include "bench/benchscripts.h"
#include "core/analysis/gamecheck.h"
#include "core/analysis/scriptanalysis.h"

namespace {
// The script the arguments ask for, clean for the game-aware checks too, so that the time is
// that of reading it rather than of reporting.
std::string ScriptFor(const benchmark::State &state)
{
    if (state.range(0) > 0)
        return MakeGameCleanScript(SIZE_MAX, static_cast<size_t>(state.range(0)));
    return MakeGameCleanScript(static_cast<size_t>(state.range(1)) << 20);
}

void BM_AnalyseScript(benchmark::State &state)
{
    const std::string text = ScriptFor(state);
    const TAnalysisOptions options;
    if (!AnalyseScript(text, options).Diagnostics.empty())
    {
        state.SkipWithError("the generated script is not clean");
        return;
    }
    for (auto _ : state)
    {
        const TScriptAnalysis analysis = AnalyseScript(text, options);
        benchmark::DoNotOptimize(analysis.Calls.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

// The baseline: the syntax check and the game-aware pass of the same text.
void BM_CheckGameText(benchmark::State &state)
{
    const std::string text = ScriptFor(state);
    TCOGChecker syntax;
    TGameChecker game;
    for (auto _ : state)
    {
        game.CheckText(syntax, text);
        benchmark::DoNotOptimize(syntax.Errors.Count() + game.Warnings.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}
} // namespace

BENCHMARK(BM_AnalyseScript)
    ->ArgNames({"lines", "MB"})
    ->Args({5000, 0})
    ->Args({0, 5})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckGameText)
    ->ArgNames({"lines", "MB"})
    ->Args({5000, 0})
    ->Args({0, 5})
    ->Unit(benchmark::kMillisecond);
