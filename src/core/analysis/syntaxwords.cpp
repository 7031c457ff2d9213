#include "core/analysis/syntaxwords.h"

#include <algorithm>
#include <cctype>

#include "core/analysis/cogchecker.h"
#include "core/analysis/gamecheck.h"
#include "core/analysis/wordclasses.h"
#include "core/shell/textutils.h"

namespace {
// The words in order of their small letters, each once: the first spelling met is kept.
std::vector<std::string> SortedWords(std::vector<std::string> words)
{
    std::stable_sort(words.begin(), words.end(), [](const std::string &a, const std::string &b) {
        return LowerAscii(a) < LowerAscii(b);
    });
    words.erase(
        std::unique(words.begin(), words.end(),
                    [](const std::string &a, const std::string &b) { return SameNoCase(a, b); }),
        words.end());
    return words;
}

template <typename List> std::vector<std::string> WordsOf(const List &list)
{
    std::vector<std::string> words;
    for (const auto &word : list)
        words.emplace_back(word);
    return SortedWords(std::move(words));
}

const std::vector<std::string> *ListNamed(std::string_view name, const TCogWordLists &lists)
{
    if (name == "verbs")
        return &lists.Verbs;
    if (name == "types")
        return &lists.Types;
    if (name == "keywords")
        return &lists.Keywords;
    if (name == "symbolflags")
        return &lists.SymbolFlags;
    if (name == "symbolkeys")
        return &lists.SymbolKeys;
    if (name == "messages")
        return &lists.Messages;
    return nullptr;
}

std::string LineError(std::string_view text, size_t at, const std::string &what)
{
    const auto line = std::count(text.begin(), text.begin() + static_cast<long>(at), '\n') + 1;
    return "line " + std::to_string(line) + ": " + what;
}

// The words of list in form; an error text instead when form is unknown or a word is unfit.
bool JoinList(const std::vector<std::string> &list, std::string_view form, std::string &out,
              std::string &error)
{
    const bool regex = form == "regex";
    if (!regex && form != "words")
    {
        error = "unknown form '" + std::string(form) + "'";
        return false;
    }
    for (size_t i = 0; i < list.size(); ++i)
    {
        if (!IsPlainName(list[i]))
        {
            error = "'" + list[i] + "' is no plain name";
            return false;
        }
        if (i > 0)
            out += regex ? '|' : ' ';
        out += regex ? list[i] : LowerAscii(list[i]);
    }
    return true;
}
} // namespace

TCogWordLists CogWordLists(const std::vector<TVerbFact> &table)
{
    TCogWordLists lists;
    std::vector<std::string> verbs;
    verbs.reserve(table.size());
    for (const TVerbFact &verb : table)
        verbs.push_back(verb.Name);
    lists.Verbs = SortedWords(std::move(verbs));
    std::vector<std::string> types;
    for (const TCogTypeWord &type : COGTypes)
        types.emplace_back(type.Word);
    lists.Types = SortedWords(std::move(types));
    lists.Keywords = WordsOf(COGKeywords);
    lists.SymbolFlags = WordsOf(COGSymbolFlags);
    lists.SymbolKeys = WordsOf(COGSymbolKeys);
    lists.Messages = WordsOf(GameMessageNames());
    return lists;
}

TSyntaxFileResult FillSyntaxTemplate(std::string_view templ, const TCogWordLists &lists)
{
    TSyntaxFileResult result;
    result.Text.reserve(templ.size() + 16 * lists.Verbs.size());
    size_t from = 0;
    while (from < templ.size())
    {
        const size_t open = templ.find("{{", from);
        if (open == std::string_view::npos)
            break;
        result.Text.append(templ, from, open - from);
        const size_t close = templ.find("}}", open + 2);
        const size_t lineEnd = templ.find('\n', open);
        if (close == std::string_view::npos || close > lineEnd)
        {
            result.Text.clear();
            result.Error = LineError(templ, open, "'{{' without '}}'");
            return result;
        }
        const std::string_view place = templ.substr(open + 2, close - open - 2);
        const size_t colon = place.find(':');
        const std::string_view name = place.substr(0, colon);
        const std::vector<std::string> *list = ListNamed(name, lists);
        std::string error;
        if (!list)
            error = "unknown list '" + std::string(name) + "'";
        else if (colon == std::string_view::npos)
            error = "'{{" + std::string(place) + "}}' names no form";
        else
            JoinList(*list, place.substr(colon + 1), result.Text, error);
        if (!error.empty())
        {
            result.Text.clear();
            result.Error = LineError(templ, open, error);
            return result;
        }
        from = close + 2;
    }
    result.Text.append(templ.substr(std::min(from, templ.size())));
    return result;
}
