// qxtool sort-symbols: the editor's Sort Symbol over script files.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "core/analysis/symtools.h"
#include "core/shell/fileio.h"
#include "tool/commands.h"

namespace {
const char *const Usage = "Usage: qxtool sort-symbols FILE\n"
                          "       qxtool sort-symbols -i FILE...\n";
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
        try
        {
            const std::string bytes = ReadWholeFile(path);
            const std::string sorted = SortSymbolsInText(bytes);
            if (!inPlace)
                std::fwrite(sorted.data(), 1, sorted.size(), stdout);
            // An unchanged file is not written again; a rewritten one keeps its permissions.
            else if (sorted != bytes)
            {
                const std::filesystem::perms mode = std::filesystem::status(path).permissions();
                WriteFileAtomic(path, sorted);
                std::filesystem::permissions(path, mode);
            }
        }
        catch (const std::exception &error)
        {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), error.what());
            failed = true;
        }
    }
    if (std::fflush(stdout) != 0)
    {
        std::perror("qxtool: standard output");
        return 1;
    }
    return failed ? 1 : 0;
}
