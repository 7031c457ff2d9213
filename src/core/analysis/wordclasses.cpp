#include "core/analysis/wordclasses.h"

#include <algorithm>
#include <cctype>

#include "core/analysis/cogchecker.h"
#include "core/linebuilder/verbtable.h"
#include "core/shell/textutils.h"

namespace {
bool IsWordStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A number as the game reads one: decimal, hexadecimal after "0x", with a fraction or an
// exponent; a leading sign belongs to the expression, not to the number.
bool IsNumber(std::string_view word)
{
    if (word.empty())
        return false;
    size_t i = 0;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X'))
    {
        for (i = 2; i < word.size(); ++i)
            if (!std::isxdigit(static_cast<unsigned char>(word[i])))
                return false;
        return true;
    }
    bool digits = false;
    for (; i < word.size(); ++i)
    {
        const char c = word[i];
        if (IsDigit(c))
            digits = true;
        else if (c == '.' || ((c == 'e' || c == 'E') && digits) ||
                 ((c == '-' || c == '+') && i > 0 && (word[i - 1] == 'e' || word[i - 1] == 'E')))
            continue;
        else
            return false;
    }
    return digits;
}

template <typename List> bool InList(const List &list, std::string_view word)
{
    return std::any_of(list.begin(), list.end(),
                       [word](std::string_view entry) { return SameNoCase(entry, word); });
}

bool CommentAt(std::string_view line, size_t i)
{
    return line[i] == '#' || (line[i] == '/' && i + 1 < line.size() && line[i + 1] == '/');
}

size_t SkipBlanks(std::string_view line, size_t i)
{
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    return i;
}

size_t WordEnd(std::string_view line, size_t i)
{
    while (i < line.size() && IsWordChar(line[i]))
        ++i;
    return i;
}

void Add(std::vector<TCogSpan> &spans, size_t start, size_t end, TCogWordClass cls)
{
    spans.push_back({static_cast<int>(start), static_cast<int>(end - start), cls});
}

// The section the word "symbols", "code" or "end" leads to.
std::optional<TCogSection> SectionOfWord(std::string_view word)
{
    if (SameNoCase(word, "symbols"))
        return TCogSection::Symbols;
    if (SameNoCase(word, "code"))
        return TCogSection::Code;
    if (SameNoCase(word, "end"))
        return TCogSection::Outside;
    return std::nullopt;
}

// The section word that opens line, if any: its class span end, and the section it leads
// to. Returns false when the line does not start with one.
bool SectionWordAt(std::string_view line, size_t start, size_t &end, TCogSection &next,
                   TCogSection current)
{
    if (start >= line.size() || !IsWordStart(line[start]))
        return false;
    const size_t wordEnd = WordEnd(line, start);
    const std::string_view word = line.substr(start, wordEnd - start);
    end = wordEnd;
    if (const std::optional<TCogSection> opened = SectionOfWord(word))
        next = *opened;
    else if (SameNoCase(word, "flags"))
    {
        // "flags=" may carry blanks before its "=", as the game reads it.
        const size_t eq = SkipBlanks(line, wordEnd);
        if (eq >= line.size() || line[eq] != '=')
            return false;
        end = eq + 1;
        next = current;
    }
    else
        return false;
    return true;
}

// A line of the symbols section: TYPE NAME[=VALUE] [EXTENSION...], where an extension is
// "local", "nolink" or KEY=VALUE. Words are separated by blanks; values are file names,
// template names and numbers, so only a whole numeric value counts as a number.
void ClassifySymbolLine(std::string_view line, size_t i, std::vector<TCogSpan> &spans)
{
    bool first = true;
    while (i < line.size())
    {
        i = SkipBlanks(line, i);
        if (i >= line.size())
            break;
        if (CommentAt(line, i))
        {
            Add(spans, i, line.size(), TCogWordClass::Comment);
            return;
        }
        size_t end = i;
        while (end < line.size() && !IsBlank(line[end]) && !CommentAt(line, end))
            ++end;
        const std::string_view word = line.substr(i, end - i);
        const size_t eq = word.find('=');
        if (first)
        {
            if (TypeCode(word) != 0)
                Add(spans, i, end, TCogWordClass::SymbolType);
        }
        else if (eq != std::string_view::npos)
        {
            const std::string_view key = word.substr(0, eq);
            if (InList(COGSymbolKeys, key))
                Add(spans, i, i + eq + 1, TCogWordClass::Extension);
            if (IsNumber(word.substr(eq + 1)))
                Add(spans, i + eq + 1, end, TCogWordClass::Number);
        }
        else if (InList(COGSymbolFlags, word))
            Add(spans, i, end, TCogWordClass::Extension);
        else if (IsNumber(word))
            Add(spans, i, end, TCogWordClass::Number);
        first = false;
        i = end;
    }
}

// A line of the code section, or of no section: statements read word by word. Outside the
// code section only numbers, strings and comments have a class.
void ClassifyCodeLine(std::string_view line, size_t i, bool code, std::vector<TCogSpan> &spans)
{
    bool first = true;
    while (i < line.size())
    {
        const char c = line[i];
        if (IsBlank(c))
        {
            ++i;
            continue;
        }
        if (CommentAt(line, i))
        {
            Add(spans, i, line.size(), TCogWordClass::Comment);
            return;
        }
        if (c == '"')
        {
            // A string ends at its closing quote or with the line.
            const size_t close = line.find('"', i + 1);
            const size_t end = close == std::string_view::npos ? line.size() : close + 1;
            Add(spans, i, end, TCogWordClass::String);
            i = end;
        }
        else if (IsDigit(c) || (c == '.' && i + 1 < line.size() && IsDigit(line[i + 1])))
        {
            size_t end = i + 1;
            while (end < line.size() && (IsWordChar(line[end]) || line[end] == '.' ||
                                         ((line[end] == '-' || line[end] == '+') &&
                                          (line[end - 1] == 'e' || line[end - 1] == 'E'))))
                ++end;
            if (IsNumber(line.substr(i, end - i)))
                Add(spans, i, end, TCogWordClass::Number);
            i = end;
        }
        else if (IsWordStart(c))
        {
            const size_t end = WordEnd(line, i);
            const std::string_view word = line.substr(i, end - i);
            if (code)
            {
                const size_t after = SkipBlanks(line, end);
                if (IsCogKeyword(word))
                    Add(spans, i, end, TCogWordClass::Keyword);
                else if (first && after < line.size() && line[after] == ':')
                    Add(spans, i, end, TCogWordClass::Label);
                else if (!FindVerb(word).empty())
                    Add(spans, i, end, TCogWordClass::Verb);
            }
            i = end;
        }
        else
            ++i;
        first = false;
    }
}
} // namespace

TCogSection NextCogSection(std::string_view line, TCogSection section)
{
    size_t end = 0;
    TCogSection next = section;
    SectionWordAt(line, SkipBlanks(line, 0), end, next, section);
    return next;
}

std::optional<TCogSection> SectionOpenedBy(std::string_view line)
{
    const size_t start = SkipBlanks(line, 0);
    if (start >= line.size() || !IsWordStart(line[start]))
        return std::nullopt;
    return SectionOfWord(line.substr(start, WordEnd(line, start) - start));
}

void ClassifyCogLine(std::string_view line, TCogSection &section, std::vector<TCogSpan> &spans)
{
    spans.clear();
    const TCogSection current = section;
    size_t i = SkipBlanks(line, 0);
    size_t end = 0;
    if (SectionWordAt(line, i, end, section, current))
    {
        Add(spans, i, end, TCogWordClass::Section);
        // The rest of a section line: a comment, or the value of "flags=".
        ClassifyCodeLine(line, end, false, spans);
        return;
    }
    if (current == TCogSection::Symbols)
        ClassifySymbolLine(line, i, spans);
    else
        ClassifyCodeLine(line, i, current == TCogSection::Code, spans);
}
