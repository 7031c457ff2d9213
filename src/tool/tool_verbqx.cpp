// qxtool verbqx: writes the Line Builder's verb.qx from the verb table; the build runs it so
// the shipped verb.qx always says what the table says.

#include <cstdio>
#include <string>
#include <vector>

#include "core/linebuilder/refdata.h"
#include "core/linebuilder/verbtable.h"
#include "core/shell/fileio.h"
#include "tool/commands.h"

int RunVerbQx(const std::vector<std::string> &args)
{
    if (args.size() != 2)
    {
        std::fputs("Usage: qxtool verbqx TABLE.tsv OUT\n", stderr);
        return 2;
    }
    const std::string &tablePath = args[0];
    const std::string &outPath = args[1];
    const TResult<std::string> tableText = ReadWholeFile(tablePath);
    if (!tableText)
    {
        std::fprintf(stderr, "qxtool verbqx: %s\n", tableText.Error().c_str());
        return 1;
    }
    const TVerbTableResult table = ParseVerbTable(*tableText);
    if (!table.Error.empty())
    {
        std::fprintf(stderr, "%s: %s\n", tablePath.c_str(), table.Error.c_str());
        return 1;
    }
    const TVerbQxResult verbQx = FormatVerbQx(table.Verbs);
    if (!verbQx.Error.empty())
    {
        std::fprintf(stderr, "%s: %s\n", tablePath.c_str(), verbQx.Error.c_str());
        return 1;
    }
    if (const TStatus written = WriteFileAtomic(outPath, verbQx.Text); !written)
    {
        std::fprintf(stderr, "qxtool verbqx: %s\n", written.Error().c_str());
        return 1;
    }
    return 0;
}
