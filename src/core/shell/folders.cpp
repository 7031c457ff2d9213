#include "core/shell/folders.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

#include "core/shell/binfile.h"
#include "core/shell/fileio.h"
#include "core/shell/ioerror.h"

namespace fs = std::filesystem;

TProgramFolders ProgramFoldersIn(const std::string &folder)
{
    return {folder, folder + "qxdata/", folder + "cog/"};
}

namespace {
bool IsWritableFolder(const fs::path &folder)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    // Made the way the program makes its files, with the name as the system's wide string on
    // Windows: a folder whose name the local code page cannot spell is writable all the same.
    const fs::path probe = folder / ".quillex-write-test";
    try
    {
        TBinFile file;
        file.Create(FromPath(probe));
        file.Close();
    }
    catch (const TIOError &)
    {
        return false;
    }
    fs::remove(probe, ec);
    return true;
}
} // namespace

std::string ChooseProgramDir(const std::string &executableFolder, const std::string &userFolder,
                             std::vector<std::string> *kept)
{
    const fs::path installed = ToPath(executableFolder);
    if (userFolder.empty() || IsWritableFolder(installed))
        return executableFolder;

    const std::vector<std::string> keptFiles = SeedUserFolder(executableFolder, userFolder);
    if (kept)
        *kept = keptFiles;
    return userFolder;
}

namespace {
// The record of seeded program files in the user's folder: one line per file, its path
// relative to the folder, the fingerprint of the copy the program wrote there, and the
// fingerprint of the installed file it last compared the copy with.
constexpr const char *SeedManifestName = ".quillex-seeded";

struct TSeedRecord
{
    std::string Written;
    std::string Offered;
};

// Size and 64-bit FNV-1a hash of a file's bytes; empty when it cannot be read.
std::string Fingerprint(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    uint64_t hash = 1469598103934665603ull;
    uint64_t size = 0;
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0)
    {
        const auto got = static_cast<size_t>(in.gcount());
        for (size_t i = 0; i < got; ++i)
        {
            hash ^= static_cast<unsigned char>(block[i]);
            hash *= 1099511628211ull;
        }
        size += got;
        if (got < sizeof block)
            break;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%llu:%016llx", static_cast<unsigned long long>(size),
                  static_cast<unsigned long long>(hash));
    return text;
}

std::map<std::string, TSeedRecord> ReadSeedManifest(const fs::path &file)
{
    std::map<std::string, TSeedRecord> records;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line))
    {
        const size_t first = line.find('\t');
        const size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
        if (second == std::string::npos)
            continue;
        records[line.substr(0, first)] = {line.substr(first + 1, second - first - 1),
                                          line.substr(second + 1)};
    }
    return records;
}

void WriteSeedManifest(const fs::path &file, const std::map<std::string, TSeedRecord> &records)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const auto &[name, record] : records)
        out << name << '\t' << record.Written << '\t' << record.Offered << '\n';
}

// The user owns the folder and every copy in it, whatever bits the installed files carry.
void MakeUserWritable(const fs::path &path, bool folder)
{
    std::error_code ec;
    const fs::perms own =
        folder ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(path, own, fs::perm_options::add, ec);
}

bool CopyOver(const fs::path &from, const fs::path &to)
{
    std::error_code ec;
    fs::create_directories(to.parent_path(), ec);
    MakeUserWritable(to.parent_path(), true);
    if (fs::exists(to, ec))
        MakeUserWritable(to, false);
    // Read and written whole rather than with std::filesystem::copy_file, which with the
    // compilers for Windows takes any existing target for the source itself and refuses to
    // replace it.
    const TResult<std::string> bytes = ReadWholeFile(FromPath(from));
    if (!bytes || !WriteFileAtomic(FromPath(to), *bytes))
        return false;
    MakeUserWritable(to, false);
    return true;
}
} // namespace

std::vector<std::string> SeedUserFolder(const std::string &installedFolder,
                                        const std::string &userFolder)
{
    std::error_code ec;
    const fs::path installed = ToPath(installedFolder);
    const fs::path user = ToPath(userFolder);
    fs::create_directories(user, ec);
    MakeUserWritable(user, true);
    const fs::path manifest = user / SeedManifestName;
    std::map<std::string, TSeedRecord> records = ReadSeedManifest(manifest);
    std::vector<std::string> kept;
    for (const char *sub : {"qxdata", "cog", "help"})
    {
        const fs::path from = installed / sub;
        if (!fs::is_directory(from, ec))
            continue;
        // The user's scripts live in cog: a file there is the user's from the moment it is
        // copied. The program's own data and help follow the installed version unless the
        // user changed a copy.
        const bool programFiles = std::string(sub) != "cog";
        fs::create_directories(user / sub, ec);
        MakeUserWritable(user / sub, true);
        for (fs::recursive_directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
        {
            std::error_code kind;
            const fs::path relative = it->path().lexically_relative(installed);
            const fs::path target = user / relative;
            if (it->is_directory(kind))
            {
                fs::create_directories(target, kind);
                MakeUserWritable(target, true);
                continue;
            }
            if (!it->is_regular_file(kind))
                continue;
            const bool exists = fs::exists(target, kind);
            if (!programFiles)
            {
                if (!exists)
                    CopyOver(it->path(), target);
                continue;
            }
            const std::string name = FromPath(relative);
            const std::string offered = Fingerprint(it->path());
            const std::string current = exists ? Fingerprint(target) : std::string();
            const auto found = records.find(name);
            const bool unchanged = found != records.end() && !found->second.Written.empty() &&
                                   found->second.Written == current;
            if (!exists || current == offered || unchanged)
            {
                if (current == offered || CopyOver(it->path(), target))
                    records[name] = {offered, offered};
                MakeUserWritable(target, false);
                continue;
            }
            // The user's own edit: kept, and named once for each installed version.
            const std::string written = found != records.end() ? found->second.Written : "";
            if (found == records.end() || found->second.Offered != offered)
                kept.push_back(name);
            records[name] = {written, offered};
        }
    }
    WriteSeedManifest(manifest, records);
    return kept;
}
