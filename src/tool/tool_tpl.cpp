// qxtool tpl: the template file as the Line Builder sees it, names or one template's line.

#include <cstdio>
#include <string>
#include <vector>

#include "core/gamedata/archive.h"
#include "core/gamedata/templates.h"
#include "tool/commands.h"

int RunTpl(const std::vector<std::string> &args)
{
    if (args.empty() || args.size() > 2)
    {
        std::fputs("Usage: qxtool tpl FILE [NAME]\n", stderr);
        return 2;
    }
    const std::string &path = args[0];
    const TResult<TTemplateFile> read = LoadTemplateFile(path);
    if (!read)
    {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), read.Error().c_str());
        return 1;
    }
    const TTemplateFile &file = *read;
    if (!file.Found)
    {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), NoTemplateFileMessage);
        return 1;
    }
    // The table is what the program works with; lines past it are reported, not hidden.
    if (file.DroppedLines > 0)
        std::fprintf(stderr, "%s: %d template lines past the first %d were not read\n",
                     path.c_str(), file.DroppedLines, MaxTemplates);

    if (args.size() == 2)
    {
        const std::string line = FindTemplate(file.Table, args[1]);
        if (line.empty())
        {
            std::fprintf(stderr, "%s: no template named %s\n", path.c_str(), args[1].c_str());
            return 1;
        }
        std::printf("%s\n", line.c_str());
        return 0;
    }
    for (const std::string &name : file.Table.TplName)
        if (!name.empty())
            std::printf("%s\n", name.c_str());
    return 0;
}
