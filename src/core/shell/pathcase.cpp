#include "core/shell/pathcase.h"

#include <filesystem>
#include <system_error>

#include "core/shell/fileio.h"
#include "core/shell/ioerror.h"

namespace fs = std::filesystem;

namespace {
// ASCII letters only: member names are Windows-1252 bytes and paths UTF-8, and the game's
// folder names are plain ASCII.
std::string Lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return text;
}
} // namespace

std::string FindFolderNoCase(const std::string &dir, const std::string &name)
{
    if (DirectoryExists(dir + name))
        return dir + name;
    const std::string wanted = Lower(name);
    std::error_code ec;
    for (fs::directory_iterator it(ToPath(dir.empty() ? "." : dir), ec), end; !ec && it != end;
         it.increment(ec))
    {
        const std::string found = FromPath(it->path().filename());
        std::error_code kind;
        if (Lower(found) == wanted && it->is_directory(kind))
            return dir + found;
    }
    return {};
}

std::string ResolveFoldersNoCase(const std::string &base, const std::string &relPath,
                                 bool createMissing)
{
    std::string resolved = base;
    size_t start = 0;
    for (size_t slash = relPath.find('/'); slash != std::string::npos;
         slash = relPath.find('/', start))
    {
        const std::string part = relPath.substr(start, slash - start);
        start = slash + 1;
        if (part.empty() || part == ".")
            continue;
        std::string folder = FindFolderNoCase(resolved, part);
        if (folder.empty())
        {
            folder = resolved + part;
            if (createMissing && !CreateDir(folder))
                throw TIOError("Cannot create folder " + folder);
        }
        resolved = folder + "/";
    }
    return resolved + relPath.substr(start);
}
