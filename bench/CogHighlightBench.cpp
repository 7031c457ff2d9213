// The line classifier behind the editor's syntax colours, over the lines of a 5 MB script:
// the whole script classified (what colouring everything at once would cost) and the cheap
// section pass that the editor makes over lines not yet shown.

#include <string>
#include <string_view>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/analysis/wordclasses.h"

namespace {
std::vector<std::string> LargeScriptLines()
{
    const std::vector<std::string> pattern = {
        "# a comment line of the script",
        "symbols",
        "thing       player                         local",
        "sound       hit=00_boom.wav                nolink",
        "int         count=5                        desc=counter",
        "end",
        "code",
        "startup:",
        "   player = GetLocalPlayerThing();",
        "   if (count > 2.5) PlaySoundThing(hit, player, 1.0, -1, -1, 0x80);",
        "   Print(\"Hello from the script\");   // a trailing comment",
        "   return;",
        "end",
    };
    std::vector<std::string> lines;
    size_t bytes = 0;
    while (bytes < 5 * 1024 * 1024)
        for (const std::string &line : pattern)
        {
            lines.push_back(line);
            bytes += line.size() + 2;
        }
    return lines;
}

void BM_ClassifyWholeScript(benchmark::State &state)
{
    const std::vector<std::string> lines = LargeScriptLines();
    std::vector<TCogSpan> spans;
    for (auto _ : state)
    {
        TCogSection section = TCogSection::Outside;
        size_t count = 0;
        for (const std::string &line : lines)
        {
            ClassifyCogLine(line, section, spans);
            count += spans.size();
        }
        benchmark::DoNotOptimize(count);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}
BENCHMARK(BM_ClassifyWholeScript)->Unit(benchmark::kMillisecond);

void BM_SectionPass(benchmark::State &state)
{
    const std::vector<std::string> lines = LargeScriptLines();
    for (auto _ : state)
    {
        TCogSection section = TCogSection::Outside;
        for (const std::string &line : lines)
            section = NextCogSection(line, section);
        benchmark::DoNotOptimize(section);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}
BENCHMARK(BM_SectionPass)->Unit(benchmark::kMillisecond);
} // namespace
