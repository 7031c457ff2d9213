// Archive reading speed: the directory of a full 8192-entry archive, and extraction of a
// 100 MiB member set next to plain copies of the same bytes.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/gamedata/archive.h"
#include "core/shell/binfile.h"

namespace fs = std::filesystem;

namespace {
constexpr int BigMembers = 100;
constexpr int64_t BigMemberSize = 1 << 20;

// The benchmarks measure work that succeeds: a failure ends the run with its text.
void Require(const TStatus &status)
{
    if (!status)
        throw std::runtime_error(status.Error());
}

template <class T> T Require(TResult<T> result)
{
    if (!result)
        throw std::runtime_error(result.Error());
    return std::move(*result);
}

// Writes an archive of count members of memberSize pseudo-random bytes each, named like the
// game's own members.
void WriteArchive(const std::string &path, int count, int64_t memberSize)
{
    std::vector<TGobMemberInfo> members;
    for (int k = 0; k < count; ++k)
        members.push_back({"mat\\texture" + std::to_string(k) + ".mat", memberSize});
    std::vector<uint8_t> member(static_cast<size_t>(memberSize));
    std::minstd_rand random(1);
    Require(WriteGobArchive(path, members, [&](size_t, TBinFile &output) {
        for (uint8_t &byte : member)
            byte = static_cast<uint8_t>(random());
        output.Write(member.data(), member.size());
    }));
}

// The scratch folder with its archives, made once and removed at exit.
struct TBenchFiles
{
    TBenchFiles()
    {
        Dir = fs::temp_directory_path() / ("qx-gobbench-" + std::to_string(std::random_device()()));
        fs::create_directories(Dir / "out");
        Directory = (Dir / "dir8192.gob").string();
        WriteArchive(Directory, MaxGobEntries, 16);
        Big = (Dir / "big.gob").string();
        WriteArchive(Big, BigMembers, BigMemberSize);
        // The same 100 MiB as one plain file, for the copy baselines.
        Plain = (Dir / "plain.bin").string();
        TBinFile source;
        source.OpenRead(Big);
        source.Seek(16 + 136 * BigMembers);
        TBinFile dest;
        dest.Create(Plain);
        CopyFileBlock(source, dest, BigMembers * BigMemberSize);
        dest.Close();
    }
    ~TBenchFiles()
    {
        std::error_code ignored;
        fs::remove_all(Dir, ignored);
    }
    std::string Out(const std::string &name) const { return (Dir / "out" / name).string(); }

    fs::path Dir;
    std::string Directory;
    std::string Big;
    std::string Plain;
};

const TBenchFiles &Files()
{
    static const TBenchFiles files;
    return files;
}

// Every copy writes new files: overwriting a file by truncation makes the file system flush
// it on close, which would measure the disk rather than the copy.
void ClearOutput(benchmark::State &state)
{
    state.PauseTiming();
    for (const auto &entry : fs::directory_iterator(Files().Dir / "out"))
        fs::remove(entry.path());
    state.ResumeTiming();
}

void BM_ReadGobDirectory8192(benchmark::State &state)
{
    const std::string &path = Files().Directory;
    TGobArchive archive;
    for (auto _ : state)
    {
        Require(ReadGobHeader(path, archive));
        Require(ReadGobDirectory(archive));
        benchmark::DoNotOptimize(archive.Entries[MaxGobEntries - 1].Offset);
    }
    state.SetItemsProcessed(state.iterations() * MaxGobEntries);
}
BENCHMARK(BM_ReadGobDirectory8192)->Unit(benchmark::kMicrosecond);

void BM_ExtractMembers100MiB(benchmark::State &state)
{
    const TBenchFiles &files = Files();
    const TGobArchive archive = Require(ReadGobArchive(files.Big));
    for (auto _ : state)
    {
        ClearOutput(state);
        for (int k = 0; k < BigMembers; ++k)
        {
            char name[16];
            std::snprintf(name, sizeof name, "m%d", k);
            Require(CopyGobMemberToFile(archive, k, files.Out(name)));
        }
    }
    state.SetBytesProcessed(state.iterations() * BigMembers * BigMemberSize);
}
BENCHMARK(BM_ExtractMembers100MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadMembers100MiB(benchmark::State &state)
{
    const TBenchFiles &files = Files();
    const TGobArchive archive = Require(ReadGobArchive(files.Big));
    for (auto _ : state)
        for (int k = 0; k < BigMembers; ++k)
        {
            const std::vector<uint8_t> bytes = Require(ReadGobMemberBytes(archive, k));
            benchmark::DoNotOptimize(bytes.data());
        }
    state.SetBytesProcessed(state.iterations() * BigMembers * BigMemberSize);
}
BENCHMARK(BM_ReadMembers100MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baselines: the same bytes as one file, through the C library with a large buffer and
// through the system's own file copy.
void BM_PlainStdioCopy100MiB(benchmark::State &state)
{
    const TBenchFiles &files = Files();
    std::vector<char> buffer(1 << 20);
    for (auto _ : state)
    {
        ClearOutput(state);
        FILE *in = std::fopen(files.Plain.c_str(), "rb");
        FILE *out = std::fopen(files.Out("plain").c_str(), "wb");
        size_t got;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0)
            std::fwrite(buffer.data(), 1, got, out);
        std::fclose(out);
        std::fclose(in);
    }
    state.SetBytesProcessed(state.iterations() * BigMembers * BigMemberSize);
}
BENCHMARK(BM_PlainStdioCopy100MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FilesystemCopy100MiB(benchmark::State &state)
{
    const TBenchFiles &files = Files();
    for (auto _ : state)
    {
        ClearOutput(state);
        fs::copy_file(files.Plain, files.Out("copied"));
    }
    state.SetBytesProcessed(state.iterations() * BigMembers * BigMemberSize);
}
BENCHMARK(BM_FilesystemCopy100MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
