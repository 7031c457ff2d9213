#include "core/gamedata/templates.h"

#include "core/shell/fileio.h"
#include "core/shell/textutils.h"

void ClearTemplates(TTPLRec &table)
{
    for (int k = 0; k < MaxTemplates; ++k)
    {
        table.TplName[k].clear();
        table.TplParent[k].clear();
        table.TplLine[k].clear();
    }
}

int LoadTemplateText(std::string_view text, TTPLRec &table)
{
    ClearTemplates(table);
    TWords words;
    int k = 0;
    int dropped = 0;
    for (const std::string_view line : SplitTextLineViews(text))
    {
        // A "#" anywhere makes the whole line a comment, a template line with a trailing
        // comment included: the level editor's own reader does the same.
        if (line.find('#') != std::string_view::npos)
            continue;
        // Every other line takes a slot, empty ones too. Files of later games hold about two
        // thousand templates; the table keeps the first MaxTemplates and counts the rest.
        if (k == MaxTemplates)
        {
            ++dropped;
            continue;
        }
        std::string converted = SplitLine(line, words);
        table.TplName[k] = words[0];
        table.TplParent[k] = words[1];
        table.TplLine[k] = std::move(converted);
        ++k;
    }
    return dropped;
}

TResult<TTemplateFile> LoadTemplateFile(const std::string &path)
{
    TTemplateFile file;
    if (!FileExists(path))
        return file;
    const TResult<std::string> text = ReadWholeFile(path);
    if (!text)
        return TFailure{text.Error()};
    file.Found = true;
    file.DroppedLines = LoadTemplateText(*text, file.Table);
    return file;
}

std::string FindTemplate(const TTPLRec &table, const std::string &name)
{
    // The whole table is scanned and the last match kept: a template redefined further down
    // the file overrides the earlier one.
    std::string result;
    for (int k = 0; k < MaxTemplates; ++k)
        if (table.TplName[k] == name)
            result = TabsToSpaces(table.TplLine[k]);
    return result;
}
