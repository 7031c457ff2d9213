#include "core/analysis/symtools.h"

#include <algorithm>

#include "core/shell/textutils.h"

const std::array<TSymbolType, SymbolTypeCount> SymbolTypes = {{
    {"ai", "AI", &TSym::AI},
    {"cog", "Cog", &TSym::Cog},
    {"flex", "Flex", &TSym::Flex},
    {"int", "Int", &TSym::Int},
    {"keyframe", "KeyFrame", &TSym::KeyFrame},
    {"material", "Material", &TSym::Material},
    {"message", "Message", &TSym::Message},
    {"model", "Model", &TSym::Model},
    {"sector", "Sector", &TSym::Sector},
    {"sound", "Sound", &TSym::Sound},
    {"surface", "Surface", &TSym::Surface},
    {"template", "Template", &TSym::Template},
    {"thing", "Thing", &TSym::Thing},
    {"vector", "Vector", &TSym::Vector},
}};

namespace {
constexpr int VectorType = SymbolTypeCount - 1;

// Where the columns of a laid-out line end: the name starts at character 14, the third
// column at 49 and the fourth at 79, so the first three columns are 13, 35 and 30 wide.
constexpr int NameColumnEnd = 13;
constexpr int ThirdColumnEnd = 48;
constexpr int FourthColumnEnd = 78;
// A comment in the third column holds five words (the fourth to the eighth), one in the
// fourth column four, joined by single blanks even where they are missing, so a short
// comment ends in blanks.
constexpr size_t CommentLastWord = 7;

bool IsIndented(std::string_view line)
{
    return line.empty() || line[0] == ' ' || line[0] == '\t';
}

// The first word of a line whatever its indentation.
std::string_view FirstWordOf(std::string_view line)
{
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    const size_t end = line.find_first_of(" \t", start);
    return line.substr(start, end == std::string_view::npos ? end : end - start);
}

bool IsSectionEnd(std::string_view firstWord)
{
    // The checker accepts "end" in any letter case; a section closed by "End" must not run
    // on into the code.
    return SameNoCase(firstWord, "end");
}

bool IsCodeHeader(std::string_view firstWord)
{
    return SameNoCase(firstWord, "code");
}

// A word that starts a comment in the third or fourth column: one holding "//", or a "#"
// comment (such as one made by an earlier run, which so keeps its place).
bool IsCommentWord(std::string_view word)
{
    return word.find("//") != std::string_view::npos || (!word.empty() && word[0] == '#');
}

// The comment that starts with words[marker], taking the words up to the eighth; the words
// after them are appended to rest. The "//" becomes "# " and keeps the text glued to it:
// '//loop' gives '# loop', 'local//loop' gives 'local# loop'.
std::string CommentColumn(const std::vector<std::string> &words, size_t marker,
                          std::vector<std::string> &rest)
{
    const std::string &word = words[marker];
    std::string text;
    std::vector<std::string> following;
    const size_t slash = word.find("//");
    if (slash != std::string::npos)
    {
        text = word.substr(0, slash) + "#";
        if (slash + 2 < word.size())
            following.push_back(word.substr(slash + 2));
    }
    else
        text = word;
    following.insert(following.end(), words.begin() + static_cast<std::ptrdiff_t>(marker) + 1,
                     words.end());
    const size_t slots = CommentLastWord - marker;
    for (size_t k = 0; k < slots; ++k)
    {
        text += ' ';
        if (k < following.size())
            text += following[k];
    }
    if (following.size() > slots)
        rest.assign(following.begin() + static_cast<std::ptrdiff_t>(slots), following.end());
    return text;
}

void AppendColumn(std::string &line, std::string_view text, int columnEnd)
{
    line += AddSpacesTo(text, columnEnd - static_cast<int>(line.size()));
}
} // namespace

int SymbolTypeOf(std::string_view word)
{
    for (int k = 0; k < SymbolTypeCount; ++k)
        if (word == SymbolTypes[static_cast<size_t>(k)].Word)
            return k;
    return -1;
}

int IsLineBlank(const std::vector<std::string> &lines, int from)
{
    const int count = static_cast<int>(lines.size());
    int index = std::clamp(from, 0, count);
    while (index < count && IsIndented(lines[static_cast<size_t>(index)]))
        ++index;
    return index;
}

int LastSymbolsLine(const std::vector<std::string> &lines)
{
    for (int index = static_cast<int>(lines.size()) - 1; index >= 0; --index)
    {
        const std::string &line = lines[static_cast<size_t>(index)];
        if (line.compare(0, 7, "symbols") == 0 &&
            (line.size() == 7 || line[7] == ' ' || line[7] == '\t'))
            return index;
    }
    return -1;
}

std::vector<TSymbolEntry> ParseSymbol(const std::vector<std::string> &lines, int symbolsLine)
{
    std::vector<TSymbolEntry> entries;
    const int count = static_cast<int>(lines.size());
    for (int index = IsLineBlank(lines, symbolsLine + 1); index < count;
         index = IsLineBlank(lines, index + 1))
    {
        const std::vector<std::string> words = SplitLineWords(lines[static_cast<size_t>(index)]);
        if (IsSectionEnd(words[0]) || IsCodeHeader(words[0]))
            break;
        TSymbolEntry entry;
        entry.Type = SymbolTypeOf(words[0]);
        if (words.size() > 1)
        {
            // 'thing player=-1 local' declares "player".
            if (words[1].find('=') != std::string::npos)
            {
                entry.Name = SplitNameValue(words[1]).Name;
            }
            else
                entry.Name = words[1];
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

void FillSymbolTable(const std::vector<TSymbolEntry> &entries, TSym &table)
{
    const size_t rows = std::min(entries.size(), static_cast<size_t>(MaxSymbols));
    for (size_t row = 0; row < rows; ++row)
    {
        const TSymbolEntry &entry = entries[row];
        for (int k = 0; k < SymbolTypeCount; ++k)
        {
            std::string &cell = (table.*SymbolTypes[static_cast<size_t>(k)].Field)[row];
            if (k == entry.Type)
                cell = entry.Name;
            else
                cell.clear();
        }
    }
}

TSymbolTree FillSymbolTree(const std::vector<TSymbolEntry> &entries)
{
    std::array<std::vector<std::string>, SymbolTypeCount> names;
    std::vector<int> firstSeen;
    for (const TSymbolEntry &entry : entries)
    {
        if (entry.Type < 0 || entry.Name.empty())
            continue;
        std::vector<std::string> &list = names[static_cast<size_t>(entry.Type)];
        if (list.empty())
            firstSeen.push_back(entry.Type);
        list.push_back(entry.Name);
    }
    TSymbolTree tree;
    for (auto type = firstSeen.rbegin(); type != firstSeen.rend(); ++type)
        if (*type != VectorType)
            tree.push_back({*type, std::move(names[static_cast<size_t>(*type)])});
    if (!names[VectorType].empty())
        tree.push_back({VectorType, std::move(names[VectorType])});
    return tree;
}

std::vector<int> SymbolJumps(std::string_view selected)
{
    static const char *const JumpOrder[] = {"ai",       "cog",     "flex",     "int",    "keyframe",
                                            "material", "message", "model",    "sector", "sound",
                                            "surface",  "thing",   "template", "vector"};
    std::vector<int> jumps;
    for (const char *keyword : JumpOrder)
        if (selected.find(keyword) != std::string_view::npos)
            jumps.push_back(SymbolTypeOf(keyword));
    return jumps;
}

std::string AddSpacesTo(std::string_view s, int count)
{
    std::string result(static_cast<size_t>(std::max(count, 1)), ' ');
    result += s;
    return result;
}

std::string FormatSymbolLine(std::string_view line)
{
    std::vector<std::string> words = SplitLineWords(line);
    if (words.size() < 4)
        words.resize(4);
    std::vector<std::string> rest;
    std::string result = words[0];
    AppendColumn(result, words[1], NameColumnEnd);
    if (IsCommentWord(words[2]))
        AppendColumn(result, CommentColumn(words, 2, rest), ThirdColumnEnd);
    else
    {
        AppendColumn(result, words[2], ThirdColumnEnd);
        if (IsCommentWord(words[3]))
            AppendColumn(result, CommentColumn(words, 3, rest), FourthColumnEnd);
        else
        {
            AppendColumn(result, words[3], FourthColumnEnd);
            rest.assign(words.begin() + 4, words.end());
        }
    }
    for (const std::string &word : rest)
        result.append(" ").append(word);
    return result;
}

int SetSpace(std::vector<std::string> &lines)
{
    int changed = 0;
    const size_t count = lines.size();
    for (size_t header = 0; header < count; ++header)
    {
        if (lines[header] != "symbols")
            continue;
        for (size_t index = header + 1; index < count; ++index)
        {
            std::string &line = lines[index];
            const std::string_view first = FirstWordOf(line);
            if (IsCodeHeader(first))
                break;
            const bool last = IsSectionEnd(first);
            if (!IsIndented(line))
            {
                std::string laidOut = FormatSymbolLine(line);
                if (laidOut != line)
                {
                    line = std::move(laidOut);
                    ++changed;
                }
            }
            if (last)
                break;
        }
    }
    return changed;
}

std::string SortSymbolsInText(std::string_view text)
{
    std::vector<std::string> lines;
    std::vector<std::string_view> ends;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        const size_t endLength =
            text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
        lines.emplace_back(text.substr(start, i - start));
        // A lone CR ends a line, as it does in the editor, and is written as the editor saves
        // a line end; CR LF and LF stay as they are.
        ends.push_back(endLength == 1 && text[i] == '\r' ? std::string_view("\r\n")
                                                         : text.substr(i, endLength));
        i += endLength - 1;
        start = i + 1;
    }
    if (start < text.size())
    {
        lines.emplace_back(text.substr(start));
        ends.emplace_back();
    }
    if (SetSpace(lines) == 0)
        return std::string(text);
    std::string result;
    result.reserve(text.size() + text.size() / 2);
    for (size_t k = 0; k < lines.size(); ++k)
        result.append(lines[k]).append(ends[k]);
    return result;
}
