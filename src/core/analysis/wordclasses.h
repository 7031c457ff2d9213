#pragma once

// The word classes of a COG script line as the editor colours them. The classes follow the
// script's sections: a line's words mean different things in the symbols section (a type, a
// name, extensions) and in the code section (keywords, verbs, labels), so each line is read
// with the section it stands in.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

enum class TCogWordClass : uint8_t
{
    Section,    // symbols, code, end, flags=
    SymbolType, // the type word that opens a symbol line
    Extension,  // local, nolink, desc=, linkid=, mask=
    Keyword,    // the statement keywords
    Verb,       // a verb of the verb table, in any letter case
    Number,
    String,
    Comment, // "#" or "//" to the end of the line
    Label,   // a name followed by ":" at the start of a code line
};

// The words after a symbol's name that stand alone, and the keys of those that take a value
// after an "=" ("desc=text"), in small letters; the game reads them in any letter case.
inline constexpr std::array<std::string_view, 2> COGSymbolFlags = {"local", "nolink"};
inline constexpr std::array<std::string_view, 3> COGSymbolKeys = {"desc", "linkid", "mask"};

// The part of the script a line stands in; the section words move between them.
enum class TCogSection : uint8_t
{
    Outside, // before "symbols", between the sections, after the last "end"
    Symbols,
    Code,
};

struct TCogSpan
{
    int Start = 0;
    int Length = 0;
    TCogWordClass Class = TCogWordClass::Comment;

    bool operator==(const TCogSpan &) const = default;
};

// The section the line after line stands in, when line stands in section; only the section
// words at the start of the line change it. Much cheaper than ClassifyCogLine.
TCogSection NextCogSection(std::string_view line, TCogSection section);
// The section the lines after line stand in when line starts with "symbols", "code" or "end";
// nothing for any other line.
std::optional<TCogSection> SectionOpenedBy(std::string_view line);

// Fills spans with the classed words of line (script bytes, one byte per character), left
// to right; words of no class get no span. section is the section the line stands in; it
// comes back as the section of the next line.
void ClassifyCogLine(std::string_view line, TCogSection &section, std::vector<TCogSpan> &spans);
