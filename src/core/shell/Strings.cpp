#include "core/shell/Strings.h"

#include "core/shell/GlobalVar.h"

std::string TabsToSpaces(std::string_view s)
{
    std::string result(s);
    for (char &c : result)
        if (c == '\t')
            c = ' ';
    return result;
}

void ClearWords()
{
    for (std::string &word : Words)
        word.clear();
}

void SplitWords(std::string_view s)
{
    int k = 0;
    bool afterSpace = false;
    for (const char c : s)
    {
        if (c != ' ')
        {
            if (k < MaxWords)
                Words[k] += c;
            afterSpace = false;
        }
        else if (!afterSpace)
        {
            afterSpace = true;
            ++k;
        }
    }
}

std::string SplitLine(std::string_view s)
{
    std::string converted = TabsToSpaces(s);
    ClearWords();
    SplitWords(converted);
    return converted;
}

std::vector<std::string> SplitLineWords(std::string_view s)
{
    std::vector<std::string> words;
    size_t k = 0;
    bool afterSpace = false;
    for (const char c : s)
    {
        if (c != ' ' && c != '\t')
        {
            if (words.size() <= k)
                words.resize(k + 1);
            words[k] += c;
            afterSpace = false;
        }
        else if (!afterSpace)
        {
            afterSpace = true;
            ++k;
        }
    }
    return words;
}

void SplitNameValue(std::string_view s)
{
    NamePart.clear();
    ValuePart.clear();
    if (s.empty())
        return;
    // The first character always belongs to the name, so "=x=y" names "=x".
    const size_t eq = s.find('=', 1);
    if (eq == std::string_view::npos)
    {
        NamePart = s;
        return;
    }
    NamePart = s.substr(0, eq);
    ValuePart = s.substr(eq + 1);
}

namespace {
// Copies s[from, to) into target with every "&" turned into a blank.
void CopyField(std::string_view s, size_t from, size_t to, std::string &target)
{
    for (size_t i = from; i < to; ++i)
        target += s[i] == '&' ? ' ' : s[i];
}
} // namespace

void SplitAtFields(std::string_view s)
{
    NamePart.clear();
    ValuePart.clear();
    RestPart.clear();
    if (s.empty() || s.find('@') == std::string_view::npos)
        return;

    // Each field owns its first character, even an "@": "a@@b@c" gives "a", "@b" and "c".
    size_t firstAt = s.find('@', 1);
    if (firstAt == std::string_view::npos)
        firstAt = s.size();
    CopyField(s, 0, firstAt, NamePart);
    if (firstAt + 1 >= s.size())
        return;

    const size_t secondStart = firstAt + 1;
    size_t secondAt = s.find('@', secondStart + 1);
    if (secondAt == std::string_view::npos)
        secondAt = s.size();
    CopyField(s, secondStart, secondAt, ValuePart);
    if (secondAt + 1 < s.size())
        RestPart = s.substr(secondAt + 1);
}

void ClearSymbolTable()
{
    for (TSymColumn *column :
         {&SymbolTable.AI, &SymbolTable.Cog, &SymbolTable.Flex, &SymbolTable.Int,
          &SymbolTable.KeyFrame, &SymbolTable.Material, &SymbolTable.Message, &SymbolTable.Model,
          &SymbolTable.Sector, &SymbolTable.Sound, &SymbolTable.Surface, &SymbolTable.Template,
          &SymbolTable.Thing, &SymbolTable.Vector})
        for (std::string &entry : *column)
            entry.clear();
}

std::vector<std::string> SplitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string JoinTextLines(const std::vector<std::string> &lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
    {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}
