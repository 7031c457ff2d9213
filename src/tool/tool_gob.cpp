// qxtool gob: lists, extracts and packs GOB/GOO archives through the program's archive reader.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "core/gamedata/G_fileops.h"
#include "core/gamedata/memberfile.h"
#include "core/shell/fileio.h"
#include "core/shell/ioerror.h"
#include "core/shell/pathcase.h"
#include "tool/commands.h"

namespace fs = std::filesystem;

namespace {
const char *const GobUsage = "Usage: qxtool gob list ARCHIVE\n"
                             "       qxtool gob extract ARCHIVE [-C DIR] [-f] [MEMBER...]\n"
                             "       qxtool gob pack ARCHIVE DIR\n";

// The layout written by pack: the two header words every archive of the game carries, the
// directory right after the header, the members right after the directory.
constexpr int32_t PackWord1 = 0x14;
constexpr int32_t PackWord2 = 12;
constexpr size_t HeaderBytes = sizeof(TGobHeader);
constexpr size_t EntryBytes = sizeof(TGobEntry);
constexpr size_t NameBytes = sizeof(TGobEntry::Name);

int Usage(const char *problem)
{
    std::fprintf(stderr, "qxtool gob: %s\n%s", problem, GobUsage);
    return 2;
}

// Paths are UTF-8 strings throughout the program.
fs::path ToPath(const std::string &path)
{
    return fs::path(std::u8string(path.begin(), path.end()));
}

std::string FromPath(const fs::path &path)
{
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

void PrintName(std::string_view name)
{
    std::fwrite(name.data(), 1, name.size(), stdout);
}

// Reads the header and directory of archive into the program's directory. Prints why and
// returns false when the archive is refused or its directory cannot be read.
bool OpenArchive(const std::string &archive)
{
    try
    {
        if (!ReadGobHeader(archive))
        {
            std::fprintf(stderr, "%s: %s\n", archive.c_str(), NotAGobMessage);
            return false;
        }
        ReadGobDirectory(archive);
    }
    catch (const TIOError &error)
    {
        std::fprintf(stderr, "%s: %s\n", archive.c_str(), error.what());
        return false;
    }
    return true;
}

// The directory table holds MaxGobEntries; a larger archive is handled only in part, which
// the caller reports as a failure after doing that part.
bool ReportTruncation(const std::string &archive)
{
    if (!GobCountTruncated())
        return false;
    std::fprintf(stderr, "%s: the archive declares %d entries; only the first %d were read\n",
                 archive.c_str(), static_cast<int>(GobHeader.Count), MaxGobEntries);
    return true;
}

int ListArchive(const std::vector<std::string> &args)
{
    if (args.size() != 2)
        return Usage("list takes one archive");
    const std::string &archive = args[1];
    if (!OpenArchive(archive))
        return 1;
    for (int k = 0; k < GobEntryCount(); ++k)
    {
        std::printf("%d\t%d\t%d\t", k, static_cast<int>(GobDirectory[k].Offset),
                    static_cast<int>(GobDirectory[k].Length));
        PrintName(NameToFirstNul(std::string_view(GobDirectory[k].Name, NameBytes)));
        std::fputc('\n', stdout);
    }
    std::fflush(stdout);
    return ReportTruncation(archive) ? 1 : 0;
}

// Extracts member index under base ("" or a folder ending in "/"), its folders matched
// whatever their letter case. An existing file with the member's bytes is left alone; one
// that differs is kept, with a word on stderr, unless force. Returns false after printing
// why when it was refused or failed.
bool ExtractOne(const std::string &archive, int index, const std::string &base,
                std::set<std::string> &written, bool force)
{
    const std::string name = GobEntryName(index);
    std::string relPath;
    std::string error;
    if (!MemberPathToRelative(name, relPath, error))
    {
        std::fprintf(stderr, "%s: %s\n", archive.c_str(), error.c_str());
        return false;
    }
    // Two entries with one name: the first is the one the game and the program use, so a
    // later one does not overwrite it.
    if (!written.insert(relPath).second)
    {
        std::fprintf(stderr, "%s: skipped entry %d, an earlier member has the name %s\n",
                     archive.c_str(), index, name.c_str());
        return true;
    }
    try
    {
        const std::string target = ResolveFoldersNoCase(base, relPath, true);
        switch (CompareMemberWithFile(archive, index, target))
        {
        case TMemberTarget::Same:
            return true;
        case TMemberTarget::Differs:
            if (!force)
            {
                std::fprintf(stderr, "%s: kept %s, which differs from the member; -f replaces it\n",
                             archive.c_str(), target.c_str());
                return true;
            }
            break;
        case TMemberTarget::Missing:
            break;
        }
        CopyGobMemberToFile(archive, index, target);
    }
    catch (const TIOError &failure)
    {
        std::fprintf(stderr, "%s: %s: %s\n", archive.c_str(), name.c_str(), failure.what());
        return false;
    }
    return true;
}

int ExtractArchive(const std::vector<std::string> &args)
{
    if (args.size() < 2)
        return Usage("extract takes an archive");
    const std::string &archive = args[1];
    std::string dir;
    std::vector<std::string> members;
    bool force = false;
    bool optionsEnded = false;
    for (size_t i = 2; i < args.size(); ++i)
    {
        if (!optionsEnded && args[i] == "--")
            optionsEnded = true;
        else if (!optionsEnded && args[i] == "-C")
        {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return Usage("-C takes a folder");
            dir = args[++i];
        }
        else if (!optionsEnded && (args[i] == "-f" || args[i] == "--force"))
            force = true;
        else if (!optionsEnded && args[i].size() > 1 && args[i][0] == '-')
            return Usage(("unknown option " + args[i]).c_str());
        else
            members.push_back(args[i]);
    }

    if (!OpenArchive(archive))
        return 1;
    std::string base;
    if (!dir.empty())
    {
        std::error_code ec;
        fs::create_directories(ToPath(dir), ec);
        if (!DirectoryExists(dir))
        {
            std::fprintf(stderr, "%s: cannot create the folder\n", dir.c_str());
            return 1;
        }
        base = dir.back() == '/' ? dir : dir + "/";
    }

    int status = 0;
    std::set<std::string> written;
    if (members.empty())
    {
        for (int k = 0; k < GobEntryCount(); ++k)
            if (!ExtractOne(archive, k, base, written, force))
                status = 1;
        if (ReportTruncation(archive))
            status = 1;
        return status;
    }
    for (const std::string &member : members)
    {
        // Names are stored with backslashes; a name typed with slashes finds them too.
        int index = FindGobMember(member);
        if (index < 0)
        {
            std::string stored = member;
            std::replace(stored.begin(), stored.end(), '/', '\\');
            index = FindGobMember(stored);
        }
        if (index < 0)
        {
            std::fprintf(stderr, "%s: %s: not in the archive\n", archive.c_str(), member.c_str());
            status = 1;
            continue;
        }
        written.clear();
        if (!ExtractOne(archive, index, base, written, force))
            status = 1;
    }
    return status;
}

struct TPackFile
{
    std::string Name; // relative to the packed folder, backslash-separated
    std::string Path;
    int64_t Size;
};

void PutInt32(std::vector<uint8_t> &bytes, size_t at, int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(bits >> (8 * i));
}

// Every regular file under root, named relative to it with backslashes, sorted by name so the
// same folder always packs to the same bytes. Links are not followed. skip is left out (the
// archive being replaced, when it lies inside root).
bool CollectFiles(const std::string &root, const std::string &skip, std::vector<TPackFile> &files)
{
    std::error_code ec;
    const fs::path rootPath = ToPath(root);
    fs::recursive_directory_iterator it(rootPath, ec), end;
    for (; !ec && it != end; it.increment(ec))
    {
        const fs::file_status status = it->symlink_status(ec);
        if (ec)
            break;
        if (!fs::is_regular_file(status))
            continue;
        std::error_code same;
        if (!skip.empty() && fs::equivalent(it->path(), ToPath(skip), same))
            continue;
        std::string name = FromPath(it->path().lexically_relative(rootPath));
        std::replace(name.begin(), name.end(), '/', '\\');
        const auto size = static_cast<int64_t>(it->file_size(ec));
        if (ec)
            break;
        files.push_back({name, FromPath(it->path()), size});
    }
    if (ec)
    {
        std::fprintf(stderr, "%s: %s\n", root.c_str(), ec.message().c_str());
        return false;
    }
    std::sort(files.begin(), files.end(),
              [](const TPackFile &a, const TPackFile &b) { return a.Name < b.Name; });
    return true;
}

int PackArchive(const std::vector<std::string> &args)
{
    if (args.size() != 3)
        return Usage("pack takes an archive and a folder");
    const std::string &archive = args[1];
    const std::string &root = args[2];
    if (!DirectoryExists(root))
    {
        std::fprintf(stderr, "%s: not a folder\n", root.c_str());
        return 1;
    }
    std::vector<TPackFile> files;
    if (!CollectFiles(root, FileExists(archive) ? archive : std::string(), files))
        return 1;

    // The reader's table and the format's signed 32-bit offsets bound what can be packed;
    // everything is checked before the first byte is written.
    if (files.size() > static_cast<size_t>(MaxGobEntries))
    {
        std::fprintf(stderr, "%s: %zu files; an archive holds at most %d\n", root.c_str(),
                     files.size(), MaxGobEntries);
        return 1;
    }
    for (const TPackFile &file : files)
        if (file.Name.size() >= NameBytes)
        {
            std::fprintf(stderr, "%s: name of %zu bytes; the directory holds up to %zu\n",
                         file.Name.c_str(), file.Name.size(), NameBytes - 1);
            return 1;
        }
    std::vector<uint8_t> directory(HeaderBytes + files.size() * EntryBytes, 0);
    directory[0] = 'G';
    directory[1] = 'O';
    directory[2] = 'B';
    directory[3] = ' ';
    PutInt32(directory, 4, PackWord1);
    PutInt32(directory, 8, PackWord2);
    PutInt32(directory, 12, static_cast<int32_t>(files.size()));
    int64_t offset = static_cast<int64_t>(directory.size());
    for (size_t k = 0; k < files.size(); ++k)
    {
        if (offset + files[k].Size > INT32_MAX)
        {
            std::fprintf(stderr, "%s: the archive would pass 2 GiB\n", archive.c_str());
            return 1;
        }
        const size_t at = HeaderBytes + k * EntryBytes;
        PutInt32(directory, at, static_cast<int32_t>(offset));
        PutInt32(directory, at + 4, static_cast<int32_t>(files[k].Size));
        std::copy(files[k].Name.begin(), files[k].Name.end(), directory.begin() + at + 8);
        offset += files[k].Size;
    }

    // Written beside the archive and renamed over it at the end, so a failure leaves no half
    // archive and an old archive of the same name stays whole.
    const std::string temp = archive + ".qxtmp";
    try
    {
        TBinFile output;
        output.Create(temp);
        output.Write(directory.data(), directory.size());
        for (const TPackFile &file : files)
        {
            TBinFile input;
            input.OpenRead(file.Path);
            // A file that changed size since it was listed would no longer match its entry.
            if (input.Size() != file.Size)
                throw TIOError(file.Name + " changed while packing");
            CopyFileBlock(input, output, file.Size);
        }
        output.Close();
        std::error_code ec;
        fs::rename(ToPath(temp), ToPath(archive), ec);
        if (ec)
            throw TIOError::FromErrno(ec.value());
    }
    catch (const TIOError &error)
    {
        std::error_code ignored;
        fs::remove(ToPath(temp), ignored);
        std::fprintf(stderr, "%s: %s\n", archive.c_str(), error.what());
        return 1;
    }
    return 0;
}
} // namespace

int RunGob(const std::vector<std::string> &args)
{
    if (args.empty())
        return Usage("missing action");
    const std::string &action = args[0];
    try
    {
        if (action == "list")
            return ListArchive(args);
        if (action == "extract")
            return ExtractArchive(args);
        if (action == "pack")
            return PackArchive(args);
    }
    catch (const std::exception &error)
    {
        std::fprintf(stderr, "qxtool gob: %s\n", error.what());
        return 1;
    }
    return Usage(("unknown action " + action).c_str());
}
