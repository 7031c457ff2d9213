#pragma once

// What an editor offers someone writing a script: what a word is (hover), where it is defined
// and used, what may be written at the caret (completion) and the call being written (its
// parameters). The answers about words come from a script's analysis; those about what is being
// typed come from the caret's line and the section it stands in, because a script being typed is
// incomplete. Texts are script bytes (Windows-1252); the editor and the language server show them
// each in their own way.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/scriptanalysis.h"
#include "core/analysis/wordclasses.h"

// Reads line index of a script, without its line break; empty past the last line. The view need
// only last until the next call.
using TLineReader = std::function<std::string_view(int index)>;

// The section line index stands in, found by the nearest line above it that opens ("symbols",
// "code") or closes ("end") one.
TCogSection SectionAbove(const TLineReader &line, int index);

// The lines that open and close the sections: the first "symbols" line and the "end" after it,
// the first "code" line and the last "end" after it; -1 for a line that is not there.
struct TSectionLines
{
    int Symbols = -1;
    int SymbolsEnd = -1;
    int Code = -1;
    int CodeEnd = -1;
};
TSectionLines SectionLines(const TLineReader &line, int lineCount);

enum class TWritingKind
{
    // Outside both sections, or in a comment or a string.
    Nothing,
    // The first word of a line of the symbols section: a symbol type.
    SymbolType,
    // The name after "message" in the symbols section.
    MessageName,
    // Any other word of the symbols section.
    SymbolRest,
    // The word after "call".
    CalledLabel,
    // A word of the code section.
    CodeWord
};

struct TWritingContext
{
    TWritingKind Kind = TWritingKind::Nothing;
    // The part of the word before the caret, and where the word starts in the line.
    std::string Typed;
    int WordStart = 0;
};

// The name characters just before byte column of line: the word being typed.
std::string_view WordBefore(std::string_view line, int column);
// Letters of a word typed before the list of what fits opens by itself.
inline constexpr int AutoCompleteLetters = 3;
// Whether the word before column is long enough to open that list by itself; a number is no
// word to complete.
bool OpensCompletionByItself(std::string_view line, int column);

// What is being written at byte column of line, a line that stands in section.
TWritingContext WritingContextAt(std::string_view line, int column, TCogSection section);

// The call the caret is inside on its line, found by the "(" still open before it.
struct TOpenCall
{
    std::string Verb;
    // The argument the caret is in, from 0.
    int Argument = 0;
};
// False when the caret (a byte column of line) is in no call on its line.
bool OpenCallAt(std::string_view line, int column, TOpenCall &call);

// The rows of the verb called name to show for game: those the game knows, or all of them when
// it knows none.
std::vector<const TVerbFact *> VerbsShown(std::string_view name, TCheckGame game);

// What a word is, to be shown over it.
struct TScriptHover
{
    // A line of COG, shown as code: a verb's signature, a declaration as written; may be empty.
    std::string Code;
    // What the word is, in sentences.
    std::string Text;
    // A list after the text: the flags a number sets.
    std::vector<std::string> Items;
};
// Nothing for a place that is no word to tell about. line reads the analysed text.
std::optional<TScriptHover> HoverAt(const TScriptAnalysis &analysis, const TLineReader &line,
                                    const TScriptPlace &place, TCheckGame game);

// Where what stands at place is defined: a symbol's declaration, a label; a message leads to its
// handler, what the game runs for it, and a handler to its message.
std::optional<TScriptRange> DefinitionAt(const TScriptAnalysis &analysis,
                                         const TScriptPlace &place);

// Every range that names what stands at place, in the order of the text for each name: a
// symbol's declaration (when asked) and uses, a label (when asked) and the calls of it. A message
// and its handler are one name, so each brings the other's too.
std::vector<TScriptRange> OccurrencesAt(const TScriptAnalysis &analysis, const TScriptPlace &place,
                                        bool includeDeclaration);

// The range of the word at place when it is a name that can be renamed (a symbol, a label, a
// label after "call" that names one); null otherwise.
const TScriptRange *RenamedWord(const TScriptAnalysis &analysis, const TScriptPlace &place);
// Why the name at place cannot become newName: not a name, a word of the language, or a name
// the script holds already; empty when it can.
std::string RenameRefusal(const TScriptAnalysis &analysis, const TScriptPlace &place,
                          const std::string &newName);

// The handler of message symbol index (index in Labels); -1 when the script has none.
int HandlerOf(const TScriptAnalysis &analysis, int symbol);
bool IsMessageSymbol(const TScriptAnalysis &analysis, int symbol);

enum class TCompletionKind
{
    Verb,
    Symbol,
    Keyword,
    Label,
    SymbolType,
    Message
};

struct TCompletion
{
    std::string Text;
    TCompletionKind Kind = TCompletionKind::Keyword;
    // The verb of a Verb item.
    const TVerbFact *Verb = nullptr;
};

// The words that may be written in context: the verbs game knows, the script's symbols and the
// keywords in code; labels after "call"; types at the start of a symbols line; message names
// after "message". Unsorted and unfiltered: the caller matches them with what is typed.
std::vector<TCompletion> CompletionsFor(const TWritingContext &context,
                                        const TScriptAnalysis &analysis, TCheckGame game);
