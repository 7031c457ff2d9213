#include "core/analysis/checkfile.h"

#include "core/analysis/gamecheck.h"
#include "core/analysis/u_cogcheck.h"
#include "core/shell/fileio.h"

void CheckScriptFile(const std::string &path, TCOGChecker &syntax, TGameChecker *game)
{
    TFileText text(path);
    if (game)
        game->CheckSource(syntax, text);
    else
        syntax.CheckSource(text);
    if (!text.Grew())
        return;
    const TFileBytes bytes(path);
    if (game)
        game->CheckText(syntax, bytes.View());
    else
        syntax.CheckText(bytes.View());
}
