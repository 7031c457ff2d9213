// qxtool flags: the flag calculator on a built line, as a double-click on its verb opens it.

#include <cstdio>
#include <string>
#include <vector>

#include "core/linebuilder/flagcalc.h"
#include "tool/commands.h"

namespace {

// "3,5" into ticks; false for anything but comma-separated positions 0 to 31.
bool ReadPositions(const std::string &text, std::array<bool, FlagBitCount> &ticks)
{
    size_t start = 0;
    while (true)
    {
        const size_t end = text.find(',', start);
        const std::string item = text.substr(start, end == std::string::npos ? end : end - start);
        if (item.empty() || item.size() > 2 || item.find_first_not_of("0123456789") != item.npos)
            return false;
        const int position = std::stoi(item);
        if (position >= FlagBitCount)
            return false;
        ticks[position] = true;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

} // namespace

int RunFlags(const std::vector<std::string> &args)
{
    TFlagCalc calc;
    if (args.empty() || args.size() > 2 ||
        (args.size() == 2 && !ReadPositions(args[1], calc.Ticks)))
    {
        std::fputs("Usage: qxtool flags LINE [POSITIONS]\n"
                   "  POSITIONS: comma-separated positions 0 to 31 to tick, e.g. 3,5\n",
                   stderr);
        return 2;
    }
    if (!OpenedFlagKind(args[0]) || !calc.Open(args[0]))
    {
        std::puts("(not opened)");
        return 1;
    }
    std::printf("%s\n%s\n", calc.Title.c_str(),
                calc.SingleChoiceMode ? "single-choice" : "bit-mask");
    for (int i = 0; i < FlagBitCount; ++i)
        std::printf("%d\t%s\n", i, calc.Labels[i].c_str());

    const TFlagOutcome outcome = calc.FlagOKClick();
    if (outcome == TFlagOutcome::Written)
    {
        std::printf("%s\n", calc.FlagLine.c_str());
        return 0;
    }
    std::printf("%s\n", FlagOutcomeMessage(outcome));
    // Without positions the table is what was asked for; the message only says nothing was
    // ticked.
    return args.size() == 1 ? 0 : 1;
}
