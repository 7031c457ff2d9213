#pragma once

// The Line Builder's reference data: verb.qx and symbol.qx, whose entries fill the tree and
// whose lines are read again at every lookup, and extra.qx, the operator list.
//
// Line kinds of verb.qx and symbol.qx, tested in this order:
//   - a line holding "#" anywhere is a comment and counts as empty;
//   - a line holding "[" anywhere is a header; the whole line is compared with the file's
//     header texts (RefVerbHeaders, RefSymbolHeaders), and on a match that category becomes
//     the current one ("[Actor] " with its trailing blank matches nothing);
//   - a line holding "@" is an entry "name@parameters@description", cut by SplitAtFields:
//     "&" stands for a blank in the name and the parameters;
//   - any other line, the empty one included, has an empty name.
// Every line of these two files gives a tree node, so a blank or comment line inside a
// section shows as an empty node: the shipped files have none.
//
// The functions return plain results and never ask anything; the window shows the message
// they return (ShowMessage) and the read failure (ShowIOError), and fills its controls with
// the texts. Texts are the files' bytes: the window decodes them as it decodes script bytes.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/linebuilder/verbtable.h"

// The three files, found in the data folder whatever the letter case of their names.
inline constexpr const char *VerbFileName = "verb.qx";
inline constexpr const char *SymbolFileName = "symbol.qx";
inline constexpr const char *ExtraFileName = "extra.qx";

// Shown when a file is missing, at start (the first missing file ends the loading) and at
// a lookup.
inline constexpr const char *NoVerbFileMessage =
    " Cannot find \"Verb.qx\" in \"\\qxdata \" Directory";
inline constexpr const char *NoSymbolFileMessage =
    " Cannot find \"Symbol.qx\" in \"\\qxdata \" Directory";
inline constexpr const char *NoExtraFileMessage =
    " Cannot find \"Extra.qx\" in \"\\qxdata \" Directory";

// The fixed top-level nodes of the tree.
inline constexpr const char *RefVerbsNode = "Verbs";
inline constexpr const char *RefSymbolsUsedNode = "Symbols Used";
inline constexpr const char *RefSymbolsNode = "Symbols";

// A section header of a data file and the category node it selects.
struct TRefHeader
{
    const char *Header;
    const char *Category;
};

// The 15 verb sections, in the order their categories stand under "Verbs".
const std::vector<TRefHeader> &RefVerbHeaders();
// The 15 symbol sections, in the order their categories stand under "Symbols"
// ("[Operators]", "- Symbol Operators" first).
const std::vector<TRefHeader> &RefSymbolHeaders();

// A tree node: its text, and its children in display order.
struct TRefNode
{
    std::string Text;
    std::vector<TRefNode> Children;
};

// What loading the three files gives the window.
struct TRefData
{
    // The top-level nodes in display order: "Verbs" with its 15 category nodes, "Symbols
    // Used" (empty), "Symbols" with its 15 category nodes, then, as further top-level nodes,
    // any entries read before the first known header. Entry nodes follow file order under
    // their category; nothing is sorted.
    std::vector<TRefNode> Nodes;
    // The lines of extra.qx, whole and in file order (the list control sorts them).
    std::vector<std::string> Operators;
    // NoVerbFileMessage, NoSymbolFileMessage or NoExtraFileMessage for the first missing
    // file; empty when all three were found.
    std::string Message;
    // The text of a read failure that ended the loading; what was read before it stays.
    std::string IOError;
    // All three files were read: the window clears SuppressLookup at the end of loading;
    // otherwise the flag stays set until the tree is clicked.
    bool Complete = false;
};

// Loads verb.qx, symbol.qx and extra.qx from dataDir (ending with a separator), in this
// order; the first missing or unreadable file ends the loading.
TRefData LoadRefData(const std::string &dataDir);

// The same from texts in hand; an absent text stands for a missing file.
TRefData BuildRefData(const std::optional<std::string> &verbText,
                      const std::optional<std::string> &symbolText,
                      const std::optional<std::string> &extraText);

// What looking up a selected node gives the window. Before the lookup the window empties
// the description box RE2 and sets the caption of P1 to the node's text (unless
// SuppressLookup is set or no node is selected, when nothing happens at all).
struct TRefLookup
{
    // The lines for RE2: two per entry named caption, its name followed directly by its
    // parameters, then its description (possibly empty), in file order.
    std::vector<std::string> Lines;
    // NoVerbFileMessage, or NoSymbolFileMessage when symbol.qx had to be read; else empty.
    std::string Message;
    // The text of a read failure that ended the lookup; Lines holds what was found before.
    std::string IOError;
    // The lookup ran to its end: the window hides the operator list LB1. It stays as it was
    // after a message or a read failure.
    bool HideOperators = false;
};

// Looks caption up in verb.qx of dataDir and, only when no verb.qx entry carries it, in
// symbol.qx. The files are read again at every call, so an edited file shows at once.
// Only entry lines can match: a blank, comment or header line never does, whatever the
// caption. An entry's name always holds its first character, so an empty node finds nothing.
TRefLookup LookupRefEntry(const std::string &dataDir, const std::string &caption);

// The same from texts in hand; an absent text stands for a missing file.
TRefLookup LookupRefText(const std::string &caption, const std::optional<std::string> &verbText,
                         const std::optional<std::string> &symbolText);

// verb.qx written from the verb table.
struct TVerbQxResult
{
    std::string Text;
    // The first verb that cannot be written ("'Name': what is wrong"); Text is empty then.
    std::string Error;
};

// Writes verb.qx: the 15 verb headers in order, each followed by its verbs in table order,
// one entry line "Name@(param,&param)@Description" per verb. Rows of one name that give
// the same line (a verb the table lists once per game with equal arguments) are written
// once. Refuses a section without a header, an empty name, and a "#", "[", "@", "&", ","
// or line break where it would change what the line means.
TVerbQxResult FormatVerbQx(const std::vector<TVerbFact> &verbs);

// The line a verb's entry gives in the Line Builder: name followed by its parameters, the
// text a double-click builds ("SetActorFlags(actor, flag*)").
std::string VerbLine(const TVerbFact &verb);

// A placeholder a built line holds for a resource, and the extension of the members the
// picker lists for it.
struct TResourcePlaceholder
{
    const char *Text;
    const char *Extension;
};

// "*.3do", "*.cog", "*.key", "*.mat", "*.snd", in the order they are filled.
const std::vector<TResourcePlaceholder> &ResourcePlaceholders();

// The selected text of a built line with each placeholder it holds (the first occurrence of
// each, in ResourcePlaceholders order) replaced by the name pick gives for the placeholder's
// extension; an empty name (a cancelled pick) leaves the placeholder. The rest of the
// selection stays.
std::string FillResourcePlaceholders(std::string selected,
                                     const std::function<std::string(const std::string &)> &pick);

// The word of a built line that asks for a template name.
inline constexpr std::string_view TemplatePlaceholder = "template";

// The selected text with its first "template" replaced by name; unchanged when name is empty
// (a cancelled pick leaves the word).
std::string PutTemplateName(std::string selected, const std::string &name);
