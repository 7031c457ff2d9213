#pragma once

// The word lists of COG that other editors' syntax files are made from, and the filling of a
// syntax file's template with them: the build writes the VS Code grammar and the Notepad++
// language from the same tables the checker and the editor's colours read.

#include <string>
#include <string_view>
#include <vector>

#include "core/linebuilder/verbtable.h"

// The language's words by kind. Every list holds each word once, ordered by its small letters.
struct TCogWordLists
{
    // The verbs of the table in its spelling; a verb with a row per game is named once.
    std::vector<std::string> Verbs;
    std::vector<std::string> Types;
    std::vector<std::string> Keywords;
    // The words after a symbol's name that stand alone ("local") and those that take a value
    // after an "=" ("desc").
    std::vector<std::string> SymbolFlags;
    std::vector<std::string> SymbolKeys;
    // The messages the engine sends by name.
    std::vector<std::string> Messages;
};

// The lists for the verbs of table and the language's fixed words.
TCogWordLists CogWordLists(const std::vector<TVerbFact> &table);

struct TSyntaxFileResult
{
    std::string Text;
    // The first problem found, as "line N: what is wrong"; empty when the template was filled.
    std::string Error;
};

// Fills a syntax file's template: each "{{LIST:FORM}}" becomes the list LIST (verbs, types,
// keywords, symbolflags, symbolkeys or messages) in the form FORM: "regex" joins the words as
// spelled with "|", for a regular expression's alternation; "words" joins them in small letters
// with spaces, for the word lists of editors that match them in any letter case. Everything
// else is kept byte for byte. An unknown list or form, an unclosed "{{" and a word that is no
// plain name (letters, digits, "_"; a file format could need it escaped) are errors.
TSyntaxFileResult FillSyntaxTemplate(std::string_view templ, const TCogWordLists &lists);
