#pragma once

// One analysis of a script's text, for the language server and the editor's live aids: the
// findings of the checks with the ranges they are about, the declarations of the symbols section,
// the labels and the calls of labels, every use of a symbol and every call with its arguments, all
// placed in the text; and what stands at a given place. It comes from one run of the checker,
// followed through its events, so it reads a script exactly as the checks do. It reads nothing
// but what it is given and keeps nothing, so analyses may run at once on any threads.

#include <compare>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/gamecheck.h"
#include "core/linebuilder/verbtable.h"

// A place in a script: the 0-based line and the byte column in that line as the script has it
// (its bytes are Windows-1252; a client counting in other units converts).
struct TScriptPos
{
    int Line = 0;
    int Column = 0;

    auto operator<=>(const TScriptPos &) const = default;
};

// The bytes from Start up to End, End excluded: one line for a word, maybe more for a call.
struct TScriptRange
{
    TScriptPos Start;
    TScriptPos End;

    bool operator==(const TScriptRange &) const = default;
};

enum class TDiagnosticSeverity
{
    Error,
    Warning
};

// A finding of the checks: its text as the checker gives it, and the range of the token it is
// about, or of its line's text after the leading blanks when it is about no token.
struct TScriptDiagnostic
{
    TDiagnosticSeverity Severity = TDiagnosticSeverity::Error;
    std::string Message;
    TScriptRange Range;

    bool operator==(const TScriptDiagnostic &) const = default;
};

// A declaration of the symbols section, its words as written.
struct TScriptSymbol
{
    // The type word ("thing", "flex"...).
    std::string Type;
    std::string Name;
    // The default value after "="; empty without one.
    std::string Value;
    // The words after name and value: "local", "nolink", "desc=...", "mask=...", "linkid=...".
    std::vector<std::string> Flags;
    // Where the name stands; its line is the declaration's.
    TScriptRange Range;

    bool operator==(const TScriptSymbol &) const = default;
};

// A label of the code section.
struct TScriptLabel
{
    std::string Name;
    TScriptRange Range;
    // The message symbol of the label's name (index in Symbols), which makes the label the
    // handler the game runs for that message; -1 when there is none.
    int Message = -1;

    bool operator==(const TScriptLabel &) const = default;
};

// The label named after "call".
struct TLabelCall
{
    std::string Name;
    TScriptRange Range;
    // The first label of that name (index in Labels); -1 when the script has none.
    int Label = -1;

    bool operator==(const TLabelCall &) const = default;
};

// A word of the code section that names a declared symbol; a word that holds "<" or ">" is read
// as the game reads it, as several names.
struct TSymbolUse
{
    // The first declaration of the name (index in Symbols).
    int Symbol = -1;
    TScriptRange Range;

    bool operator==(const TSymbolUse &) const = default;
};

struct TCallArgument
{
    // From the first to the last token of the argument.
    TScriptRange Range;
    // Where the "," or ")" after the argument stands.
    TScriptPos Delimiter;
    // Whether the argument is one number ("0x81", "1.0", "-1"); its text is the script's at Range.
    bool Number = false;

    bool operator==(const TCallArgument &) const = default;
};

// A call of a verb (or of any name the grammar reads as a function).
struct TScriptCall
{
    // Where the verb's name stands; the script's text there is the verb as written.
    TScriptRange Name;
    // From "(" to ")", both included; a call the checker found without its ")" ends with its
    // last argument.
    TScriptRange Parens;
    // Its arguments in TScriptAnalysis::Arguments: ArgumentCount of them from FirstArgument. An
    // editor keeps the analysis of every open script, so no call has a list of its own.
    int FirstArgument = 0;
    int ArgumentCount = 0;
    // The call among whose arguments this one stands (index in Calls); -1 for none.
    int Parent = -1;

    bool operator==(const TScriptCall &) const = default;
};

// Everything one analysis found; each list in the order of the text.
struct TScriptAnalysis
{
    // The syntax errors in the order the checker found them, then the game-aware warnings.
    std::vector<TScriptDiagnostic> Diagnostics;
    std::vector<TScriptSymbol> Symbols;
    std::vector<TScriptLabel> Labels;
    std::vector<TLabelCall> LabelCalls;
    std::vector<TSymbolUse> Uses;
    std::vector<TScriptCall> Calls;
    // The arguments of all calls, those of each call together and in order.
    std::vector<TCallArgument> Arguments;

    bool operator==(const TScriptAnalysis &) const = default;
};

// The arguments of call, one of analysis' calls.
inline std::span<const TCallArgument> ArgumentsOf(const TScriptAnalysis &analysis,
                                                  const TScriptCall &call)
{
    return std::span<const TCallArgument>(analysis.Arguments)
        .subspan(static_cast<size_t>(call.FirstArgument), static_cast<size_t>(call.ArgumentCount));
}

struct TAnalysisOptions
{
    // Whether the game-aware pass runs, and for which game.
    bool GameChecks = true;
    TCheckGame Game = TCheckGame::Either;
    // The verbs that pass knows, handed in; null for the table built into the program.
    const TVerbIndex *Verbs = nullptr;
    // A request to stop ends the analysis early: an editor asks it when the text changed again.
    // The analysis it then returns is cut short and of no use.
    std::stop_token Stop;
};

// Analyses a script's text (CR LF, LF or a lone CR ends a line). A script with syntax errors
// still gives what the checker read before and after them; the game-aware pass runs only on a
// script without errors, as it always does.
TScriptAnalysis AnalyseScript(std::string_view text, const TAnalysisOptions &options);

// What a word at a place is.
enum class TPlaceKind
{
    Nothing,
    // No word of the lists below, but inside the parentheses of a call: an argument.
    Argument,
    VerbName,
    SymbolDeclaration,
    SymbolUse,
    Label,
    // A label that is the handler of a declared message.
    Handler,
    LabelCall,
};

// What stands at a place. A place at the end of a word is on that word.
struct TScriptPlace
{
    TPlaceKind Kind = TPlaceKind::Nothing;
    // The word's entry in its list: Symbols for a declaration, Uses for a use, Labels for a
    // label or handler, LabelCalls for the label after "call", Calls for a verb name; -1 for none.
    int Item = -1;
    // The symbol declared or used, or the message a handler handles (index in Symbols); -1 for
    // none.
    int Symbol = -1;
    // The label defined there, or the one the label after "call" names (index in Labels); -1 for
    // none.
    int Label = -1;
    // The innermost call whose name or parentheses hold the place (index in Calls), and the
    // argument the place is in by the commas before it (0 also in empty parentheses); -1 for
    // none.
    int Call = -1;
    int Argument = -1;
    // For an Argument: whether it is one number, and then where its text stands.
    bool Number = false;
    TScriptRange NumberRange;

    bool operator==(const TScriptPlace &) const = default;
};

TScriptPlace PlaceAt(const TScriptAnalysis &analysis, int line, int byteColumn);
