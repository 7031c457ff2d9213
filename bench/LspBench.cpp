// The language server on large scripts: the time from an edit to its findings, and the memory
// an open script holds beside its size.

#include <algorithm>
#include <malloc.h>
#include <nlohmann/json.hpp>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/benchscripts.h"
#include "tool/lsp/server.h"

namespace {
using TJson = nlohmann::json;

const char *const Uri = "file:///bench.cog";

TLanguageServer OpenServer(const std::string &text)
{
    TLanguageServer server;
    (void)server.Handle(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{}})");
    (void)server.Handle(TJson{
        {"jsonrpc", "2.0"},
        {"method", "textDocument/didOpen"},
        {"params",
         {{"textDocument", {{"uri", Uri}, {"languageId", "cog"}, {"version", 1}, {"text", text}}}}}}
                            .dump());
    (void)server.PublishStale();
    return server;
}

// One key typed in the middle of the script and the findings that follow, alternately an
// insertion and its removal.
void TypeAndCheck(benchmark::State &state, const std::string &text)
{
    TLanguageServer server = OpenServer(text);
    const int line = static_cast<int>(std::count(text.begin(), text.end(), '\n') / 2);
    int version = 1;
    for (auto _ : state)
    {
        const bool insert = version % 2 == 1;
        TJson change = {{"range",
                         {{"start", {{"line", line}, {"character", 0}}},
                          {"end", {{"line", line}, {"character", insert ? 0 : 1}}}}},
                        {"text", insert ? " " : ""}};
        ++version;
        (void)server.Handle(TJson{{"jsonrpc", "2.0"},
                                  {"method", "textDocument/didChange"},
                                  {"params",
                                   {{"textDocument", {{"uri", Uri}, {"version", version}}},
                                    {"contentChanges", TJson::array({change})}}}}
                                .dump());
        benchmark::DoNotOptimize(server.PublishStale());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

void BM_LspEditIn5000Lines(benchmark::State &state)
{
    TypeAndCheck(state, MakeScript(SIZE_MAX, 5000));
}
BENCHMARK(BM_LspEditIn5000Lines)->Unit(benchmark::kMillisecond);

void BM_LspEditIn5MB(benchmark::State &state)
{
    TypeAndCheck(state, MakeScript(5 << 20));
}
BENCHMARK(BM_LspEditIn5MB)->Unit(benchmark::kMillisecond);

// The heap an open 5 MB script holds, as a multiple of its size.
void BM_LspMemoryOf5MBScript(benchmark::State &state)
{
    const std::string text = MakeScript(5 << 20);
    double ratio = 0;
    for (auto _ : state)
    {
        const size_t before = mallinfo2().uordblks;
        TLanguageServer server = OpenServer(text);
        ratio =
            static_cast<double>(mallinfo2().uordblks - before) / static_cast<double>(text.size());
        benchmark::DoNotOptimize(server);
    }
    state.counters["HeldPerScriptByte"] = ratio;
}
BENCHMARK(BM_LspMemoryOf5MBScript)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace
