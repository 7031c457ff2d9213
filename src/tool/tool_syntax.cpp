// qxtool syntax: writes another editor's syntax file from its template and the language's word
// lists; the build runs it so the VS Code grammar and the Notepad++ language name every verb of
// the table.

#include <cstdio>
#include <string>
#include <vector>

#include "core/analysis/syntaxwords.h"
#include "core/linebuilder/verbtable.h"
#include "core/shell/fileio.h"
#include "tool/commands.h"

int RunSyntax(const std::vector<std::string> &args)
{
    if (args.size() != 3)
    {
        std::fputs("Usage: qxtool syntax TABLE.tsv TEMPLATE OUT\n", stderr);
        return 2;
    }
    const std::string &tablePath = args[0];
    const std::string &templatePath = args[1];
    const std::string &outPath = args[2];
    const TResult<std::string> tableText = ReadWholeFile(tablePath);
    if (!tableText)
    {
        std::fprintf(stderr, "qxtool syntax: %s\n", tableText.Error().c_str());
        return 1;
    }
    const TVerbTableResult table = ParseVerbTable(*tableText);
    if (!table.Error.empty())
    {
        std::fprintf(stderr, "%s: %s\n", tablePath.c_str(), table.Error.c_str());
        return 1;
    }
    const TResult<std::string> templateText = ReadWholeFile(templatePath);
    if (!templateText)
    {
        std::fprintf(stderr, "qxtool syntax: %s\n", templateText.Error().c_str());
        return 1;
    }
    const TSyntaxFileResult filled = FillSyntaxTemplate(*templateText, CogWordLists(table.Verbs));
    if (!filled.Error.empty())
    {
        std::fprintf(stderr, "%s: %s\n", templatePath.c_str(), filled.Error.c_str());
        return 1;
    }
    if (const TStatus written = WriteFileAtomic(outPath, filled.Text); !written)
    {
        std::fprintf(stderr, "qxtool syntax: %s\n", written.Error().c_str());
        return 1;
    }
    return 0;
}
