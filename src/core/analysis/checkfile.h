#pragma once

// A script file checked as qxtool check checks it, read as the check goes.

#include <string>

class TCOGChecker;
class TGameChecker;

// Checks the script file at path with syntax and, when game is given, with the game-aware pass
// too; the findings are left in syntax.Errors and game->Warnings. The file is read piece by
// piece as the check goes; one that grew meanwhile is read again whole and checked again, so the
// findings are those of one whole text. Throws TIOError when the file cannot be read.
void CheckScriptFile(const std::string &path, TCOGChecker &syntax, TGameChecker *game);
