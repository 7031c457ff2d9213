// Arbitrary bytes as an archive file: the header and directory reads, every member read and
// copy, and the name rules on whatever names the directory holds.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "core/gamedata/archive.h"
#include "fuzz/fuzzcheck.h"

namespace {
// Members read per input; a directory of thousands of entries would only repeat itself.
constexpr int MaxMembersPerInput = 64;

// One folder for the whole run, removed at exit. Held on the heap so that it outlives the
// static destructors that run before the exit handler.
const std::string &ScratchFolder()
{
    static const std::string *folder = [] {
        const auto dir = std::filesystem::temp_directory_path() /
                         ("qx-fuzzgob-" + std::to_string(static_cast<long>(::getpid())));
        std::filesystem::create_directories(dir);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(*folder, ignored);
        });
        return new std::string(dir.string() + "/");
    }();
    return *folder;
}

void CheckRelativePath(std::string_view name)
{
    std::string relPath;
    std::string error;
    if (!MemberPathToRelative(name, relPath, error))
    {
        Check(!error.empty() && relPath.empty());
        return;
    }
    // An accepted name stays below the target folder.
    Check(!relPath.empty() && relPath.front() != '/' && relPath.back() != '/');
    Check(relPath.find('\\') == std::string::npos && relPath.find('\0') == std::string::npos);
    size_t start = 0;
    while (start <= relPath.size())
    {
        size_t end = relPath.find('/', start);
        if (end == std::string::npos)
            end = relPath.size();
        const std::string_view part = std::string_view(relPath).substr(start, end - start);
        Check(!part.empty() && part != "." && part != "..");
        start = end + 1;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string archive = ScratchFolder() + "input.gob";
    if (FILE *file = std::fopen(archive.c_str(), "wb"))
    {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    else
        return 0;

    TGobArchive gob;
    const TStatus header = ReadGobHeader(archive, gob);
    if (!header)
    {
        // The file was just written: the only refusal is its signature.
        Check(IsNotAGob(header.Error()) && gob.Count() == 0);
        const TResult<TGobArchive> whole = ReadGobArchive(archive);
        Check(!whole && IsNotAGob(whole.Error()));
        return 0;
    }
    // A directory the file cannot hold fails, but its whole entries are still there.
    const TStatus directory = ReadGobDirectory(gob);
    Check(directory || directory.Error() == "Read beyond end of file");
    Check(static_cast<bool>(ReadGobArchive(archive)) == static_cast<bool>(directory));
    const int count = gob.Count();
    Check(count >= 0 && count <= MaxGobEntries);
    Check(static_cast<int64_t>(count) * 136 + 16 <= static_cast<int64_t>(size) || count == 0);
    Check(!gob.CountTruncated || gob.Header.Count > MaxGobEntries);
    for (int k = 0; k < count && k < MaxMembersPerInput; ++k)
    {
        const std::string name = GobEntryName(gob, k);
        Check(name.size() <= 128 && GobEntryRawName(gob, k).size() == 128);
        Check(IsCogMemberName(name) == IsCogMemberName(GobEntryRawName(gob, k)));
        const int found = FindGobMember(gob, name);
        Check(found >= 0 && found <= k);
        CheckRelativePath(GobEntryRawName(gob, k));
        const TResult<std::vector<uint8_t>> bytes = ReadGobMemberBytes(gob, k);
        if (bytes)
            Check(bytes->size() == static_cast<size_t>(gob.Entries[k].Length));
        // A member is copied exactly when it can be read.
        const TStatus copied = CopyGobMemberToFile(gob, k, ScratchFolder() + "member");
        Check(static_cast<bool>(copied) == static_cast<bool>(bytes));
        Check(copied || copied.Error() == bytes.Error());
    }
    return 0;
}
