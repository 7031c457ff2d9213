#pragma once

// The game-aware checks: a second pass over a script the syntax checker accepted. It knows the
// verbs and messages of the game and the script's own symbols and labels, and warns where the
// game would fail silently at run time: an unknown verb, a wrong number of arguments, a value
// taken from a verb that gives none, a name declared nowhere, a handler the game never runs.

#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/cogchecker.h"
#include "core/linebuilder/verbtable.h"
#include "core/shell/result.h"

class TSettingsKey;

// The game a script is checked for. Either: only what neither game knows is reported.
enum class TCheckGame
{
    Either,
    JK,
    Mots
};

// "any", "jk" or "mots": the words of qxtool's --game option and of the settings.
std::string_view CheckGameWord(TCheckGame game);
// Reads such a word in any letter case; false, leaving game as it was, for any other word.
bool ParseCheckGame(std::string_view word, TCheckGame &game);

// Runs the game-aware pass and keeps its findings.
class TGameChecker
{
  public:
    TCheckGame Game = TCheckGame::Either;
    // Whether the pass runs at all: without it a check is the syntax check alone, and leaves
    // no warnings.
    bool Enabled = true;
    // The verbs the pass knows: the table built into the program unless another is handed in.
    const TVerbIndex *Verbs = &VerbIndex();
    // The findings of the last Check, by line; within a line those of calls come before those of
    // names, which are judged at the end. Each has the 0-based index of its line, as the syntax
    // errors have.
    TCOGErrors Warnings;

    // Checks lines with syntax (its Errors as Check gives them), then replaces Warnings with the
    // findings of the pass. Only a script syntax accepted is read, over the tokens the syntax check
    // took: the pass follows the grammar with no recovery of its own. A script with errors gets
    // no warnings. A sink set on syntax hears the check too, and is set again afterwards.
    void Check(TCOGChecker &syntax, const std::vector<std::string> &lines);
    // The same for a whole text, read as TCOGChecker::CheckText reads it: no line is copied.
    void CheckText(TCOGChecker &syntax, std::string_view text);
    // The same for a text that comes in as the checks read it.
    void CheckSource(TCOGChecker &syntax, TTextSource &source);
    // The same for the script file at path, read as the checks go; one that grew meanwhile is
    // read again whole and checked again, so the findings are those of one whole text. Fails
    // when the file cannot be read; the findings are then of no use.
    TStatus CheckFile(TCOGChecker &syntax, const std::string &path);
    // Any of the above: the lines of one script twice over, for the spelling of names and for the
    // check; the two may share their lines.
    void CheckLines(TCOGChecker &syntax, TCogLines raw, TCogLines code);
};

// Whether the pass runs after an accepted check, and for which game.
struct TGameCheckSettings
{
    bool Enabled = true;
    TCheckGame Game = TCheckGame::Either;
};

// "GameChecks" ("0" turns the pass off; anything else or nothing leaves it on) and "CheckGame"
// (a CheckGameWord; either game when missing or unknown).
TGameCheckSettings ReadGameCheckSettings(TSettingsKey &key);
void WriteGameCheckSettings(TSettingsKey &key, const TGameCheckSettings &settings);
