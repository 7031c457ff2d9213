#pragma once

// What an author is in the middle of writing at a position, read from the text around it: the
// script is incomplete while it is typed, so completion and signature help look at the words
// before the caret rather than at a check of the whole text.

#include <string>
#include <string_view>

#include "tool/lsp/document.h"

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

TWritingContext WritingContextAt(const TScriptDocument &document, TTextPosition position);

// The verb call the caret is inside on its line, found by the "(" still open before it.
struct TOpenCall
{
    std::string Verb;
    // The argument the caret is in, from 0.
    int Argument = 0;
};
// False when the caret is in no call on its line.
bool OpenCallAt(const TScriptDocument &document, TTextPosition position, TOpenCall &call);

// The lines that open and close the sections: the first "symbols" line and the "end" after it,
// the first "code" line and the last "end" after it; -1 for a line that is not there.
struct TSectionLines
{
    int Symbols = -1;
    int SymbolsEnd = -1;
    int Code = -1;
    int CodeEnd = -1;
};
TSectionLines SectionLines(const TScriptDocument &document);
