// qxtool check: the COG syntax checker and the game-aware checks over files, one line per finding.

#include <cstdio>
#include <string>
#include <vector>

#include "core/analysis/cogchecker.h"
#include "core/analysis/gamecheck.h"
#include "tool/commands.h"

namespace {
const char *const CheckUsage =
    "Usage: qxtool check FILE... [--game jk|mots|any] [--no-game-checks] [--werror]\n";
} // namespace

int RunCheck(const std::vector<std::string> &args)
{
    TGameChecker gameChecker;
    bool warningsFail = false;
    std::vector<std::string> paths;
    bool optionsEnd = false;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const std::string &arg = args[i];
        if (optionsEnd || arg.size() < 2 || arg[0] != '-')
            paths.push_back(arg);
        else if (arg == "--")
            optionsEnd = true;
        else if (arg == "--no-game-checks")
            gameChecker.Enabled = false;
        else if (arg == "--werror")
            warningsFail = true;
        else if (arg == "--game" && i + 1 < args.size() &&
                 ParseCheckGame(args[i + 1], gameChecker.Game))
            ++i;
        else if (arg.rfind("--game=", 0) == 0 && ParseCheckGame(arg.substr(7), gameChecker.Game))
            continue;
        else
        {
            std::fprintf(stderr, "qxtool check: bad option '%s'\n%s", arg.c_str(), CheckUsage);
            return 2;
        }
    }
    if (paths.empty())
    {
        std::fputs(CheckUsage, stderr);
        return 2;
    }

    TCOGChecker checker;
    bool anyError = false;
    bool anyWarning = false;
    bool anyUnreadable = false;
    for (const std::string &path : paths)
    {
        if (const TStatus read = gameChecker.CheckFile(checker, path); !read)
        {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), read.Error().c_str());
            anyUnreadable = true;
            continue;
        }
        for (int i = 0; i < checker.Errors.Count(); ++i)
        {
            const TCOGError &error = checker.Errors.Items(i);
            std::printf("%s:%d: %s\n", path.c_str(), error.Line + 1, error.Msg.c_str());
        }
        if (checker.Errors.Count() > 0)
            anyError = true;
        for (int i = 0; i < gameChecker.Warnings.Count(); ++i)
        {
            const TCOGError &warning = gameChecker.Warnings.Items(i);
            std::printf("%s:%d: warning: %s\n", path.c_str(), warning.Line + 1,
                        warning.Msg.c_str());
        }
        if (gameChecker.Warnings.Count() > 0)
            anyWarning = true;
    }
    std::fflush(stdout);
    if (anyUnreadable)
        return 2;
    return anyError || (warningsFail && anyWarning) ? 1 : 0;
}
