// qxtool check: the COG syntax checker over files, one line per finding.

#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/u_cogcheck.h"
#include "core/shell/fileio.h"
#include "tool/commands.h"

int RunCheck(const std::vector<std::string> &args)
{
    if (args.empty())
    {
        std::fputs("Usage: qxtool check FILE...\n", stderr);
        return 2;
    }
    TCOGChecker checker;
    bool anyError = false;
    bool anyUnreadable = false;
    for (const std::string &path : args)
    {
        std::optional<TFileBytes> bytes;
        try
        {
            bytes.emplace(path);
        }
        catch (const std::exception &error)
        {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), error.what());
            anyUnreadable = true;
            continue;
        }
        checker.CheckText(bytes->View());
        for (int i = 0; i < checker.Errors.Count(); ++i)
        {
            const TCOGError &error = checker.Errors.Items(i);
            std::printf("%s:%d: %s\n", path.c_str(), error.Line + 1, error.Msg.c_str());
        }
        if (checker.Errors.Count() > 0)
            anyError = true;
    }
    std::fflush(stdout);
    if (anyUnreadable)
        return 2;
    return anyError ? 1 : 0;
}
