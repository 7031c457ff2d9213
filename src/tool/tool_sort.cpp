// qxtool sort-symbols: the editor's Sort Symbol over script files.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/analysis/symtools.h"
#include "core/shell/fileio.h"
#include "tool/commands.h"

namespace {
const char *const Usage = "Usage: qxtool sort-symbols FILE\n"
                          "       qxtool sort-symbols -i FILE...\n";

// Writes text over the file at path through a temporary file, keeping the file's permissions.
TStatus WriteInPlace(const std::string &path, const std::string &text)
{
    try
    {
        const std::filesystem::perms mode = std::filesystem::status(ToPath(path)).permissions();
        if (const TStatus written = WriteFileAtomic(path, text); !written)
            return written;
        std::filesystem::permissions(ToPath(path), mode);
    }
    catch (const std::filesystem::filesystem_error &error)
    {
        return TFailure{error.what()};
    }
    return {};
}
} // namespace

int RunSortSymbols(const std::vector<std::string> &args)
{
    const bool inPlace = !args.empty() && args[0] == "-i";
    const std::vector<std::string> files(args.begin() + (inPlace ? 1 : 0), args.end());
    if (files.empty() || (!inPlace && files.size() > 1))
    {
        std::fputs(Usage, stderr);
        return 2;
    }
    bool failed = false;
    for (const std::string &path : files)
    {
        const TResult<std::string> bytes = ReadWholeFile(path);
        if (!bytes)
        {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), bytes.Error().c_str());
            failed = true;
            continue;
        }
        const std::string sorted = SortSymbolsInText(*bytes);
        if (!inPlace)
            std::fwrite(sorted.data(), 1, sorted.size(), stdout);
        // An unchanged file is not written again.
        else if (sorted != *bytes)
        {
            if (const TStatus written = WriteInPlace(path, sorted); !written)
            {
                std::fprintf(stderr, "%s: %s\n", path.c_str(), written.Error().c_str());
                failed = true;
            }
        }
    }
    if (std::fflush(stdout) != 0)
    {
        std::perror("qxtool: standard output");
        return 1;
    }
    return failed ? 1 : 0;
}
