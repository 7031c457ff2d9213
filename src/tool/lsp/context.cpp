#include "tool/lsp/context.h"

#include <algorithm>

#include "core/shell/textutils.h"

namespace {
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The line before the caret, cut at a comment; false when the caret is inside one.
bool CodeBefore(std::string_view line, size_t caret, std::string_view &before)
{
    before = line.substr(0, std::min(caret, line.size()));
    const size_t hash = before.find('#');
    const size_t slashes = before.find("//");
    return hash == std::string_view::npos && slashes == std::string_view::npos;
}

// The first word of a line, in small letters, with the comment cut.
std::string FirstWord(std::string_view line)
{
    size_t start = 0;
    while (start < line.size() && IsBlank(line[start]))
        ++start;
    size_t end = start;
    while (end < line.size() && !IsBlank(line[end]) && line[end] != '#' &&
           line.substr(end, 2) != "//")
        ++end;
    return LowerAscii(line.substr(start, end - start));
}

// Whether the line at index lies in a symbols section (true) or elsewhere (false), found by the
// nearest line above it that opens or closes a section.
bool InSymbolsSection(const TScriptDocument &document, int index, bool &inCode)
{
    inCode = false;
    for (int i = index - 1; i >= 0; --i)
    {
        const std::string word = FirstWord(document.Line(i));
        if (word == "symbols")
            return true;
        if (word == "code")
        {
            inCode = true;
            return false;
        }
        if (word == "end")
            return false;
    }
    return false;
}
} // namespace

TWritingContext WritingContextAt(const TScriptDocument &document, TTextPosition position)
{
    TWritingContext context;
    const std::string_view line = document.Line(position.Line);
    std::string_view before;
    if (!CodeBefore(line, static_cast<size_t>(std::max(position.Character, 0)), before))
        return context;
    size_t start = before.size();
    while (start > 0 && IsNameChar(before[start - 1]))
        --start;
    context.Typed = std::string(before.substr(start));
    context.WordStart = static_cast<int>(start);
    const std::string_view head = before.substr(0, start);

    bool inCode = false;
    if (InSymbolsSection(document, position.Line, inCode))
    {
        size_t lead = 0;
        while (lead < head.size() && IsBlank(head[lead]))
            ++lead;
        if (lead == head.size())
            context.Kind = lead == 0 ? TWritingKind::SymbolType : TWritingKind::Nothing;
        else if (FirstWord(head) == "message" &&
                 head.find_first_not_of(" \t", lead + 7) == std::string_view::npos)
            context.Kind = TWritingKind::MessageName;
        else
            context.Kind = TWritingKind::SymbolRest;
        return context;
    }
    if (!inCode)
        return context;
    // Inside a string nothing is offered: an odd count of quotes before the caret.
    size_t quotes = 0;
    for (const char c : head)
        quotes += c == '"';
    if (quotes % 2)
        return context;
    size_t end = head.size();
    while (end > 0 && IsBlank(head[end - 1]))
        --end;
    size_t word = end;
    while (word > 0 && IsNameChar(head[word - 1]))
        --word;
    const bool afterCall = end < head.size() && SameNoCase(head.substr(word, end - word), "call") &&
                           (word == 0 || !IsNameChar(head[word - 1]));
    context.Kind = afterCall ? TWritingKind::CalledLabel : TWritingKind::CodeWord;
    return context;
}

bool OpenCallAt(const TScriptDocument &document, TTextPosition position, TOpenCall &call)
{
    const std::string_view line = document.Line(position.Line);
    std::string_view before;
    if (!CodeBefore(line, static_cast<size_t>(std::max(position.Character, 0)), before))
        return false;
    // Walk back to the "(" still open, counting the commas of its level on the way.
    int depth = 0;
    int commas = 0;
    bool inString = false;
    for (size_t i = before.size(); i-- > 0;)
    {
        const char c = before[i];
        if (c == '"')
            inString = !inString;
        if (inString)
            continue;
        if (c == ')' || c == ']')
            ++depth;
        else if ((c == '(' || c == '[') && depth > 0)
            --depth;
        else if (c == ',' && depth == 0)
            ++commas;
        else if (c == '[' && depth == 0)
            return false;
        else if (c == '(' && depth == 0)
        {
            size_t end = i;
            while (end > 0 && IsBlank(before[end - 1]))
                --end;
            size_t start = end;
            while (start > 0 && IsNameChar(before[start - 1]))
                --start;
            if (start == end)
            {
                // A bracketed expression: the call, if any, is further out.
                commas = 0;
                continue;
            }
            call.Verb = std::string(before.substr(start, end - start));
            call.Argument = commas;
            return true;
        }
        else if (c == ';' || c == '{' || c == '}')
            return false;
    }
    return false;
}

TSectionLines SectionLines(const TScriptDocument &document)
{
    TSectionLines lines;
    for (int i = 0; i < document.LineCount(); ++i)
    {
        const std::string word = FirstWord(document.Line(i));
        if (word == "symbols" && lines.Symbols < 0)
            lines.Symbols = i;
        else if (word == "code" && lines.Code < 0)
            lines.Code = i;
        else if (word == "end" && lines.Code >= 0)
            lines.CodeEnd = i;
        else if (word == "end" && lines.Symbols >= 0 && lines.SymbolsEnd < 0)
            lines.SymbolsEnd = i;
    }
    return lines;
}
