// qxtool gob: lists, extracts and packs GOB/GOO archives through the program's archive reader.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "core/gamedata/archive.h"
#include "core/gamedata/extraction.h"
#include "core/shell/binfile.h"
#include "core/shell/fileio.h"
#include "core/shell/shellrules.h"
#include "tool/commands.h"

namespace fs = std::filesystem;

namespace {
const char *const GobUsage = "Usage: qxtool gob list ARCHIVE\n"
                             "       qxtool gob extract ARCHIVE [-C DIR] [-f] [MEMBER...]\n"
                             "       qxtool gob pack ARCHIVE DIR\n";

int Usage(const char *problem)
{
    std::fprintf(stderr, "qxtool gob: %s\n%s", problem, GobUsage);
    return 2;
}

void PrintName(std::string_view name)
{
    std::fwrite(name.data(), 1, name.size(), stdout);
}

// Reads the header and directory of the archive at path into archive. Prints why and returns
// false when the archive is refused or its directory cannot be read.
bool OpenArchive(const std::string &path, TGobArchive &archive)
{
    TResult<TGobArchive> read = ReadGobArchive(path);
    if (!read)
    {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), read.Error().c_str());
        return false;
    }
    archive = std::move(*read);
    return true;
}

// The directory table holds MaxGobEntries; a larger archive is handled only in part, which
// the caller reports as a failure after doing that part.
bool ReportTruncation(const TGobArchive &archive)
{
    if (!archive.CountTruncated)
        return false;
    std::fprintf(stderr, "%s: the archive declares %d entries; only the first %d were read\n",
                 archive.Path.c_str(), static_cast<int>(archive.Header.Count), MaxGobEntries);
    return true;
}

int ListArchive(const std::vector<std::string> &args)
{
    if (args.size() != 2)
        return Usage("list takes one archive");
    TGobArchive archive;
    if (!OpenArchive(args[1], archive))
        return 1;
    for (int k = 0; k < archive.Count(); ++k)
    {
        const TGobEntry &entry = archive.Entries[static_cast<size_t>(k)];
        std::printf("%d\t%d\t%d\t", k, static_cast<int>(entry.Offset),
                    static_cast<int>(entry.Length));
        PrintName(GobEntryName(archive, k));
        std::fputc('\n', stdout);
    }
    std::fflush(stdout);
    return ReportTruncation(archive) ? 1 : 0;
}

// Extracts the members at indices under base ("" or a folder ending in "/"). An existing file
// with a member's bytes is left alone; one that differs is kept, with a word on stderr, unless
// force. Returns false when a member was refused or failed, after printing why.
bool Extract(const TGobArchive &archive, const std::vector<int> &indices, const std::string &base,
             bool force)
{
    TExtractHandlers handlers;
    // Member names are Windows-1252 bytes; the files get their names in UTF-8, as the
    // extraction dialog gives them.
    handlers.ToFilePath = [](const std::string &relPath) { return Utf8FromScriptBytes(relPath); };
    handlers.OnDiffers = [force](const std::string &) {
        return force ? TDiffersAnswer::Replace : TDiffersAnswer::Keep;
    };
    handlers.OnNote = [&archive](const TExtractNote &note) {
        const char *path = archive.Path.c_str();
        switch (note.Kind)
        {
        case TExtractNote::TKind::Refused:
            std::fprintf(stderr, "%s: %s\n", path, note.Message.c_str());
            break;
        case TExtractNote::TKind::Duplicate:
            std::fprintf(stderr, "%s: skipped entry %d, an earlier member has the name %s\n", path,
                         note.Index, note.Name.c_str());
            break;
        case TExtractNote::TKind::Kept:
            std::fprintf(stderr, "%s: kept %s, which differs from the member; -f replaces it\n",
                         path, note.Target.c_str());
            break;
        case TExtractNote::TKind::Failed:
            std::fprintf(stderr, "%s: %s: %s\n", path, note.Name.c_str(), note.Message.c_str());
            break;
        }
        return true;
    };
    return !ExtractMembers(archive, indices, base, handlers).Problems;
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

    TGobArchive read;
    if (!OpenArchive(archive, read))
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
        base = FolderPrefix(dir);
    }

    int status = 0;
    if (members.empty())
    {
        std::vector<int> all(static_cast<size_t>(read.Count()));
        for (int k = 0; k < read.Count(); ++k)
            all[static_cast<size_t>(k)] = k;
        if (!Extract(read, all, base, force))
            status = 1;
        if (ReportTruncation(read))
            status = 1;
        return status;
    }
    for (const std::string &member : members)
    {
        const int index = FindTypedGobMember(read, member);
        if (index < 0)
        {
            std::fprintf(stderr, "%s: %s: not in the archive\n", archive.c_str(), member.c_str());
            status = 1;
            continue;
        }
        if (!Extract(read, {index}, base, force))
            status = 1;
    }
    return status;
}

struct TPackFile
{
    std::string Name; // relative to the packed folder, backslash-separated, Windows-1252
    std::string Path;
    int64_t Size;
};

// Every regular file under root, named relative to it with backslashes, sorted by name so the
// same folder always packs to the same bytes. Links are not followed. skip is left out (the
// archive being replaced, when it lies inside root). A name Windows-1252 cannot spell fails
// the whole, after printing why.
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
        if (!skip.empty() && SameFile(FromPath(it->path()), skip))
            continue;
        std::string relative = FromPath(it->path().lexically_relative(rootPath));
        std::replace(relative.begin(), relative.end(), '/', '\\');
        // Archives hold their names in Windows-1252, as extraction reads them.
        std::string name;
        if (!ScriptBytesFromUtf8(relative, name))
        {
            std::fprintf(stderr, "%s: an archive cannot hold the name %s\n", root.c_str(),
                         relative.c_str());
            return false;
        }
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
    std::vector<TGobMemberInfo> members;
    members.reserve(files.size());
    for (const TPackFile &file : files)
        members.push_back({file.Name, file.Size});
    const TStatus written = WriteGobArchive(archive, members, [&](size_t k, TBinFile &output) {
        TBinFile input;
        input.OpenRead(files[k].Path);
        CopyFileBlock(input, output, input.Size());
    });
    if (!written)
    {
        std::fprintf(stderr, "%s: %s\n", archive.c_str(), written.Error().c_str());
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
    if (action == "list")
        return ListArchive(args);
    if (action == "extract")
        return ExtractArchive(args);
    if (action == "pack")
        return PackArchive(args);
    return Usage(("unknown action " + action).c_str());
}
