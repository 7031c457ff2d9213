#pragma once

// The facts about every verb the game engine registers: its arguments, what it returns, the
// Line Builder section it is listed under and the games that know it. The table is built into
// the program from verbs.tsv, the one source that verb.qx is also generated from, so the Line
// Builder and the checker can never disagree about a verb.

#include <string>
#include <string_view>
#include <vector>

#include "core/shell/textutils.h"

enum class TVerbGame
{
    Both,
    JK,
    Mots
};

struct TVerbFact
{
    // The usual spelling; the game itself matches verb names in any letter case.
    std::string Name;
    // One kind per argument ("thing", "flex", "int", "vector", "template"...), in order.
    std::vector<std::string> ParamKinds;
    // One readable name per argument, as the Line Builder shows it ("thing", "flag*", "*.snd").
    std::vector<std::string> ParamNames;
    // What the verb gives back; "none" when it gives nothing.
    std::string Returns;
    // The category node under "Verbs" ("Actor", "Animation_Keys"...).
    std::string Section;
    TVerbGame Game = TVerbGame::Both;
    // One line in our own words, free of "#", "[", "@" and "&" (verb.qx gives them meaning);
    // it says "MOTS only" for a verb only MOTS knows.
    std::string Description;
};

struct TVerbTableResult
{
    std::vector<TVerbFact> Verbs;
    // The first problem found, as "line N: what is wrong"; empty when the text was whole.
    std::string Error;
};

// Reads the tab-separated table: "#" lines are comments, the first other line names the
// columns (at least name, param_kinds, returns, section and game), "-" stands for no
// arguments. Rows stay in text order. A row that cannot be read stops the parse with an error.
TVerbTableResult ParseVerbTable(std::string_view text);

// The table built into the program, parsed once on first use.
const std::vector<TVerbFact> &VerbTable();

// The rows of each verb of VerbTable, in the table's order, by its name in small letters: one,
// or one per game for the verbs whose arguments differ between Jedi Knight and MOTS.
using TVerbIndex = TNameMap<std::vector<const TVerbFact *>>;
const TVerbIndex &VerbIndex();

// The rows for name, in any letter case; none when it is no verb.
const std::vector<const TVerbFact *> &FindVerb(std::string_view name);
// The same in another index.
const std::vector<const TVerbFact *> &FindVerb(const TVerbIndex &index, std::string_view name);
