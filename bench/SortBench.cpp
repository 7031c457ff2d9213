// Sort Symbol over large scripts: a 5 MB symbols section, and a 5 MB script that is mostly
// code after a short one (what qxtool sort-symbols reads and writes).

#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "core/analysis/symtools.h"

namespace {
// Declarations as scripts write them: tabs, "=" values, extensions and comments.
const char *const Declarations = "thing\t\tplayer%d\t\t\tlocal\r\n"
                                 "surface     wall%d                        linkid=1 mask=0x448\r\n"
                                 "sound\tclick%d=beep1.wav local // the click\r\n"
                                 "\r\n"
                                 "int count%d=0 local # counter\r\n";

const char *const Code = "handler%d:\r\n"
                         "    player = GetLocalPlayerThing();      // the local player\r\n"
                         "\tSetThingPos(player, VectorAdd(GetThingPos(player), dir));\r\n"
                         "    return;\r\n"
                         "\r\n";

std::string MakeScript(size_t size, bool symbols)
{
    std::string text = "# Generated script\r\nsymbols\r\nmessage startup\r\n";
    char piece[512];
    int n = 0;
    if (symbols)
        for (; text.size() < size; ++n)
        {
            std::snprintf(piece, sizeof piece, Declarations, n, n, n, n);
            text += piece;
        }
    text += "end\r\ncode\r\n";
    for (; text.size() < size; ++n)
    {
        std::snprintf(piece, sizeof piece, Code, n);
        text += piece;
    }
    return text + "end\r\n";
}

void SortText(benchmark::State &state, bool symbols)
{
    const std::string text = MakeScript(static_cast<size_t>(state.range(0)) << 20, symbols);
    for (auto _ : state)
        benchmark::DoNotOptimize(SortSymbolsInText(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

void BM_SortSymbolsSection(benchmark::State &state)
{
    SortText(state, true);
}

void BM_SortSymbolsCode(benchmark::State &state)
{
    SortText(state, false);
}

// The scan behind the Line Builder's "Symbols Used" branch.
void BM_ScanSymbols(benchmark::State &state)
{
    std::vector<std::string> lines;
    const std::string text = MakeScript(static_cast<size_t>(state.range(0)) << 20, true);
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    for (auto _ : state)
    {
        const std::vector<TSymbolEntry> entries = ParseSymbol(lines, LastSymbolsLine(lines));
        benchmark::DoNotOptimize(FillSymbolTree(entries));
    }
}
} // namespace

BENCHMARK(BM_SortSymbolsSection)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortSymbolsCode)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanSymbols)->Arg(5)->Unit(benchmark::kMillisecond);
