// The byte work of the script editor's load and save of a 5 MB script: line ends to LF and
// Windows-1252 to characters on load, and back on save; and the whole way from the file to the
// characters and back to the file.

#include <filesystem>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "core/shell/fileio.h"
#include "core/shell/shellrules.h"

namespace {
std::string LargeScript()
{
    const std::string line = "\tSetThingFlags(player, 0x400);   # caf\xe9 \x80 line of code\r\n";
    std::string bytes;
    while (bytes.size() < 5 * 1024 * 1024)
        bytes += line;
    return bytes;
}

void BM_LoadScript(benchmark::State &state)
{
    const std::string bytes = LargeScript();
    for (auto _ : state)
    {
        const std::string text = TextFromFileBytes(bytes);
        std::u16string chars(text.size(), u'\0');
        for (size_t i = 0; i < text.size(); ++i)
            chars[i] = CharFromScriptByte(static_cast<unsigned char>(text[i]));
        benchmark::DoNotOptimize(chars.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadScript)->Unit(benchmark::kMillisecond);

void BM_SaveScript(benchmark::State &state)
{
    const std::string text = TextFromFileBytes(LargeScript());
    std::u16string chars(text.size(), u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        chars[i] = CharFromScriptByte(static_cast<unsigned char>(text[i]));
    for (auto _ : state)
    {
        std::string encoded(chars.size(), '\0');
        for (size_t i = 0; i < chars.size(); ++i)
            encoded[i] = ScriptByteFromChar(chars[i]);
        const std::string bytes = FileBytesFromText(encoded);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SaveScript)->Unit(benchmark::kMillisecond);

// A 5 MB script read from its file into characters and saved back through a temporary file, as
// the editor's Open and Save do apart from the text widget.
void BM_LoadAndSaveScriptFile(benchmark::State &state)
{
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("qx-editorbench-" + std::to_string(std::random_device()()) + ".cog"))
                                 .string();
    const std::string original = LargeScript();
    if (const TStatus written = WriteFileAtomic(path, original); !written)
    {
        state.SkipWithError(written.Error().c_str());
        return;
    }
    for (auto _ : state)
    {
        const TResult<std::string> bytes = ReadWholeFile(path);
        if (!bytes)
        {
            state.SkipWithError(bytes.Error().c_str());
            break;
        }
        const std::string text = TextFromFileBytes(*bytes);
        std::u16string chars(text.size(), u'\0');
        for (size_t i = 0; i < text.size(); ++i)
            chars[i] = CharFromScriptByte(static_cast<unsigned char>(text[i]));
        std::string encoded(chars.size(), '\0');
        for (size_t i = 0; i < chars.size(); ++i)
            encoded[i] = ScriptByteFromChar(chars[i]);
        if (const TStatus written = WriteFileAtomic(path, FileBytesFromText(encoded)); !written)
        {
            state.SkipWithError(written.Error().c_str());
            break;
        }
    }
    const TResult<std::string> saved = ReadWholeFile(path);
    if (!saved || *saved != original)
        state.SkipWithError("the saved file differs from the loaded one");
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * original.size()));
}
BENCHMARK(BM_LoadAndSaveScriptFile)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
