// Throughput of the COG checker on large generated scripts of realistic statements, in memory
// and from a file to its errors beside a plain read of the same file.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/benchscripts.h"
#include "core/analysis/cogchecker.h"
#include "core/analysis/gamecheck.h"
#include "core/shell/fileio.h"
#include "core/shell/textutils.h"

namespace {
// The lines as the editor hands them over.
void BM_Check(benchmark::State &state)
{
    const std::string text = MakeScript(static_cast<size_t>(state.range(0)) << 20);
    const std::vector<std::string> lines = SplitTextLines(text);
    TCOGChecker checker;
    checker.Check(lines);
    if (checker.Errors.Count() != 0)
    {
        state.SkipWithError(checker.Errors.Items(0).Msg.c_str());
        return;
    }
    for (auto _ : state)
    {
        checker.Check(lines);
        benchmark::DoNotOptimize(checker.Errors.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

// The whole text, split into lines first, as qxtool does.
void BM_CheckText(benchmark::State &state)
{
    const std::string text = MakeScript(static_cast<size_t>(state.range(0)) << 20);
    TCOGChecker checker;
    for (auto _ : state)
    {
        checker.CheckText(text);
        benchmark::DoNotOptimize(checker.Errors.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

// A script file in the system's temporary folder, removed at exit: the given text, or a script
// of the given size.
class TScriptFile
{
  public:
    explicit TScriptFile(const std::string &text)
        : Path((std::filesystem::temp_directory_path() /
                ("qx-checkbench-" + std::to_string(std::random_device()()) + ".cog"))
                   .string()),
          Size(text.size())
    {
        if (const TStatus written = WriteFileAtomic(Path, text); !written)
            throw std::runtime_error(written.Error());
    }
    explicit TScriptFile(size_t size) : TScriptFile(MakeScript(size)) {}
    ~TScriptFile()
    {
        std::error_code ignored;
        std::filesystem::remove(Path, ignored);
    }
    TScriptFile(const TScriptFile &) = delete;
    TScriptFile &operator=(const TScriptFile &) = delete;

    std::string Path;
    size_t Size = 0;
};

// What "qxtool check --no-game-checks" does for one file, the output aside: the syntax check alone,
// reading the file piece by piece as the check goes.
void BM_CheckFile(benchmark::State &state)
{
    const TScriptFile file(static_cast<size_t>(state.range(0)) << 20);
    TCOGChecker checker;
    TGameChecker plain;
    plain.Enabled = false;
    for (auto _ : state)
    {
        if (const TStatus read = plain.CheckFile(checker, file.Path); !read)
        {
            state.SkipWithError(read.Error().c_str());
            break;
        }
        benchmark::DoNotOptimize(checker.Errors.Count());
    }
    if (checker.Errors.Count() != 0)
        state.SkipWithError(checker.Errors.Items(0).Msg.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.Size));
}

// The baseline: the same file read through the C library and its lines counted, as a line
// counting tool does.
void BM_ReadFileCountLines(benchmark::State &state)
{
    const TScriptFile file(static_cast<size_t>(state.range(0)) << 20);
    std::vector<char> block(1 << 17);
    for (auto _ : state)
    {
        FILE *in = std::fopen(file.Path.c_str(), "rb");
        size_t lines = 0;
        size_t got;
        while ((got = std::fread(block.data(), 1, block.size(), in)) > 0)
            lines += static_cast<size_t>(std::count(block.data(), block.data() + got, '\n'));
        std::fclose(in);
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.Size));
}

// Hostile input: one long line of statements ending in statements nested to the checker's
// limit, each of which looks one token ahead into the next line and back. The time must stay that
// of one pass over the long line, not one pass per nesting level.
void BM_CheckNestedAfterLongLine(benchmark::State &state)
{
    std::string longLine;
    while (longLine.size() < (static_cast<size_t>(state.range(0)) << 20))
        longLine += "x = x + 1; ";
    const size_t size = longLine.size();
    for (int i = 0; i < TCOGChecker::MaxNesting - 8; ++i)
        longLine += "if (x) ";
    longLine += "y = 1;";
    const std::vector<std::string> lines = {"symbols", "end", "code", longLine, "end"};
    TCOGChecker checker;
    for (auto _ : state)
    {
        checker.Check(lines);
        benchmark::DoNotOptimize(checker.Errors.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
// What qxtool check does with one file, the output aside: read it and check it, and (with the
// argument 1) run the game-aware pass after the check, on a script that pass finds clean.
void BM_CheckFileGame(benchmark::State &state)
{
    const std::string text = MakeGameCleanScript(static_cast<size_t>(state.range(0)) << 20);
    const TScriptFile file(text);
    TCOGChecker checker;
    TGameChecker gameChecker;
    gameChecker.Check(checker, SplitTextLines(text));
    if (checker.Errors.Count() + gameChecker.Warnings.Count() != 0)
    {
        state.SkipWithError("the generated script is not clean");
        return;
    }
    gameChecker.Enabled = state.range(1) != 0;
    for (auto _ : state)
    {
        if (const TStatus read = gameChecker.CheckFile(checker, file.Path); !read)
        {
            state.SkipWithError(read.Error().c_str());
            break;
        }
        benchmark::DoNotOptimize(checker.Errors.Count() + gameChecker.Warnings.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}
} // namespace

BENCHMARK(BM_CheckFileGame)
    ->ArgNames({"MB", "game"})
    ->Args({20, 0})
    ->Args({20, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckNestedAfterLongLine)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check)->Arg(1)->Arg(4)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckText)->Arg(1)->Arg(4)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckFile)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileCountLines)->Arg(20)->Unit(benchmark::kMillisecond);
