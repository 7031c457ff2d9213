// The files the build makes from the verb table with qxtool: the Line Builder's verb.qx
// ("verbqx") and other editors' syntax files ("syntax"), so that what ships always says what
// the table says.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/syntaxwords.h"
#include "core/linebuilder/refdata.h"
#include "core/linebuilder/verbtable.h"
#include "core/shell/fileio.h"
#include "tool/commands.h"

namespace {
// The verbs of the table at path; a failure is told as command's and gives nothing.
std::optional<std::vector<TVerbFact>> ReadTable(const char *command, const std::string &path)
{
    const TResult<std::string> text = ReadWholeFile(path);
    if (!text)
    {
        std::fprintf(stderr, "qxtool %s: %s\n", command, text.Error().c_str());
        return std::nullopt;
    }
    TVerbTableResult table = ParseVerbTable(*text);
    if (!table.Error.empty())
    {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), table.Error.c_str());
        return std::nullopt;
    }
    return std::move(table.Verbs);
}

// Writes text to path whole or not at all; a failure is told as command's.
int Write(const char *command, const std::string &path, const std::string &text)
{
    if (const TStatus written = WriteFileAtomic(path, text); !written)
    {
        std::fprintf(stderr, "qxtool %s: %s\n", command, written.Error().c_str());
        return 1;
    }
    return 0;
}
} // namespace

int RunVerbQx(const std::vector<std::string> &args)
{
    if (args.size() != 2)
    {
        std::fputs("Usage: qxtool verbqx TABLE.tsv OUT\n", stderr);
        return 2;
    }
    const std::optional<std::vector<TVerbFact>> verbs = ReadTable("verbqx", args[0]);
    if (!verbs)
        return 1;
    const TVerbQxResult verbQx = FormatVerbQx(*verbs);
    if (!verbQx.Error.empty())
    {
        std::fprintf(stderr, "%s: %s\n", args[0].c_str(), verbQx.Error.c_str());
        return 1;
    }
    return Write("verbqx", args[1], verbQx.Text);
}

int RunSyntax(const std::vector<std::string> &args)
{
    if (args.size() != 3)
    {
        std::fputs("Usage: qxtool syntax TABLE.tsv TEMPLATE OUT\n", stderr);
        return 2;
    }
    const std::optional<std::vector<TVerbFact>> verbs = ReadTable("syntax", args[0]);
    if (!verbs)
        return 1;
    const std::string &templatePath = args[1];
    const TResult<std::string> templateText = ReadWholeFile(templatePath);
    if (!templateText)
    {
        std::fprintf(stderr, "qxtool syntax: %s\n", templateText.Error().c_str());
        return 1;
    }
    const TSyntaxFileResult filled = FillSyntaxTemplate(*templateText, CogWordLists(*verbs));
    if (!filled.Error.empty())
    {
        std::fprintf(stderr, "%s: %s\n", templatePath.c_str(), filled.Error.c_str());
        return 1;
    }
    return Write("syntax", args[2], filled.Text);
}
