#pragma once

// The symbols-section tools of the script editor, on a script's list of lines: the scan that
// reads the declared names for the Line Builder's "Symbols Used" branch, and the Sort Symbol
// formatter that lays the section out in fixed columns. Both read the section line by line
// and word by word, apart from the checker: no comment is removed, no letter case changed.

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The names declared in a symbols section: entry i of every array belongs to the i-th
// non-blank line of the section, and only the array of that line's type holds a name there.
constexpr int MaxSymbols = 200;
using TSymColumn = std::array<std::string, MaxSymbols>;
struct TSym
{
    TSymColumn AI, Cog, Flex, Int, KeyFrame, Material, Message, Model, Sector, Sound, Surface,
        Template, Thing, Vector;
};

// One kind of declared symbol: the type word of the script, the caption of its tree node and
// its column of the symbol table.
struct TSymbolType
{
    const char *Word;
    const char *Caption;
    TSymColumn TSym::*Field;
};

constexpr int SymbolTypeCount = 14;
// The kinds in the order of TSym's fields. Float symbols have no kind: they are not listed.
extern const std::array<TSymbolType, SymbolTypeCount> SymbolTypes;

// The index in SymbolTypes of a type word, compared exactly ("Thing" is none); -1 for none.
int SymbolTypeOf(std::string_view word);

// The first line at or after from whose first word is not empty, that is, which neither is
// empty nor begins with a blank or tab; lines.size() when there is none.
int IsLineBlank(const std::vector<std::string> &lines, int from);

// The last line whose first word is "symbols"; -1 when there is none. Each such line starts a
// scan that replaces the one before, so only the last one decides what the tree shows.
int LastSymbolsLine(const std::vector<std::string> &lines);

// One non-blank line of a symbols section: its kind (-1 when the first word is no type word)
// and the declared name ("player" of 'thing player=-1 local').
struct TSymbolEntry
{
    int Type = -1;
    std::string Name;
};

// The entries of the section after the "symbols" line at symbolsLine, one per non-blank
// line. Lines that begin with a blank or tab are passed over, an indented "end" included.
// The section ends at an unindented "end" or "code" in any letter case, or after the last
// line when neither follows.
std::vector<TSymbolEntry> ParseSymbol(const std::vector<std::string> &lines, int symbolsLine);

// Writes the names of entries into table: entry i goes to row i of its kind's column. The
// table has MaxSymbols rows; entries past them are not kept there. Other rows are untouched.
void FillSymbolTable(const std::vector<TSymbolEntry> &entries, TSym &table);

// A type node of the "Symbols Used" branch with its names in the order of their lines.
struct TSymbolTypeNode
{
    int Type = -1;
    std::vector<std::string> Names;
};
// The type nodes in the order they stand under "Symbols Used".
using TSymbolTree = std::vector<TSymbolTypeNode>;

// The "Symbols Used" branch of entries: every named entry of a kind under that kind's node.
// Each kind's node is put first when it first appears, so the nodes stand in the reverse
// order of first appearance, except Vector, which is always put last.
TSymbolTree FillSymbolTree(const std::vector<TSymbolEntry> &entries);

// The kinds the Line Builder jumps to for a selected text: each kind whose keyword the text
// contains, in the order of the jumps (the last one stays selected). Thing comes before
// Template there, unlike in the table.
std::vector<int> SymbolJumps(std::string_view selected);

// s with count blanks in front of it; a count below 1 gives one blank, so a word too long for
// its column stays apart from the one before it.
std::string AddSpacesTo(std::string_view s, int count);

// One line of a symbols section laid out in columns: the first word, the name from character
// 14, the third word from character 49, the fourth from character 79, padded to 78
// characters. A third or fourth word holding "//" (or beginning with "#") starts a comment
// that takes the column with the words after it: "//" becomes "# ". Words the columns do not
// place follow at the end of the line, so no word is lost.
std::string FormatSymbolLine(std::string_view line);

// Sort Symbol over the whole text: every section after a line that is exactly "symbols" is
// laid out with FormatSymbolLine. Blank lines and lines beginning with a blank or tab are left
// as they are. A section ends at the first line whose first word is "end" in any letter case,
// whatever its indentation (an unindented one is laid out too), or at a line whose first word
// is "code", which is left as it is; without either it runs to the last line. Returns the
// number of lines whose text changed.
int SetSpace(std::vector<std::string> &lines);

// Sort Symbol over a script file's bytes, with the editor's lines: CR LF, LF and a lone CR each
// end a line. A text with nothing to sort comes back as it was; otherwise lines keep their CR LF
// or LF, a lone CR becomes CR LF (the line end the editor saves), and lines outside the
// symbols sections keep every other byte.
std::string SortSymbolsInText(std::string_view text);
