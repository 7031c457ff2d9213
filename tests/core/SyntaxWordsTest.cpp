#include "core/analysis/syntaxwords.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {
TVerbFact Verb(std::string name, TVerbGame game = TVerbGame::Both)
{
    TVerbFact verb;
    verb.Name = std::move(name);
    verb.Game = game;
    return verb;
}

TCogWordLists SmallLists()
{
    TCogWordLists lists;
    lists.Verbs = {"GetSenderRef", "Sleep"};
    lists.Keywords = {"call", "if"};
    lists.Types = {"thing"};
    lists.SymbolFlags = {"local"};
    lists.SymbolKeys = {"desc"};
    lists.Messages = {"pulse", "timer"};
    return lists;
}
} // namespace

TEST(SyntaxWordsTest, VerbsAreNamedOnceInOrderOfTheirSmallLetters)
{
    // A verb with a row per game, and names whose order changes with the letter case.
    const std::vector<TVerbFact> table = {
        Verb("Sleep"),     Verb("CreateThingAtPos", TVerbGame::JK),
        Verb("aiFlee"),    Verb("CREATETHINGATPOS", TVerbGame::Mots),
        Verb("AISetMode"),
    };
    const TCogWordLists lists = CogWordLists(table);
    EXPECT_EQ(lists.Verbs,
              (std::vector<std::string>{"aiFlee", "AISetMode", "CreateThingAtPos", "Sleep"}));
}

TEST(SyntaxWordsTest, ListsHoldTheWordsTheCheckerAndTheEditorKnow)
{
    const TCogWordLists lists = CogWordLists(VerbTable());
    const auto holds = [](const std::vector<std::string> &list, const std::string &word) {
        return std::find(list.begin(), list.end(), word) != list.end();
    };
    // "float" and "flex" are one type with two words; both are written.
    EXPECT_TRUE(holds(lists.Types, "float"));
    EXPECT_TRUE(holds(lists.Types, "flex"));
    EXPECT_TRUE(holds(lists.Keywords, "else"));
    EXPECT_TRUE(holds(lists.SymbolFlags, "nolink"));
    EXPECT_TRUE(holds(lists.SymbolKeys, "linkid"));
    EXPECT_TRUE(holds(lists.Messages, "playeraction"));
    EXPECT_TRUE(holds(lists.Verbs, "GetSenderRef"));
    EXPECT_FALSE(holds(lists.Verbs, "return"));
    for (const std::vector<std::string> *list :
         {&lists.Verbs, &lists.Types, &lists.Keywords, &lists.SymbolFlags, &lists.Messages})
        EXPECT_TRUE(std::is_sorted(list->begin(), list->end(), [](const auto &a, const auto &b) {
            return LowerAscii(a) < LowerAscii(b);
        }));
}

TEST(SyntaxWordsTest, FillsEachPlaceInItsForm)
{
    struct Case
    {
        const char *Template;
        const char *Text;
        const char *Error;
    };
    const Case cases[] = {
        {"\"match\": \"\\\\b(?i:{{verbs:regex}})\\\\b\"",
         "\"match\": \"\\\\b(?i:GetSenderRef|Sleep)\\\\b\"", ""},
        {"<Keywords>{{verbs:words}}</Keywords>", "<Keywords>getsenderref sleep</Keywords>", ""},
        {"{{keywords:words}} {{types:regex}}\n{{symbolflags:words}}={{symbolkeys:regex}};"
         "{{messages:regex}}",
         "call if thing\nlocal=desc;pulse|timer", ""},
        {"no places at all { } }} {", "no places at all { } }} {", ""},
        {"", "", ""},
        {"a\n{{verb:regex}}", "", "line 2: unknown list 'verb'"},
        {"{{verbs:list}}", "", "line 1: unknown form 'list'"},
        {"{{verbs}}", "", "line 1: '{{verbs}}' names no form"},
        {"\n\n{{verbs:regex", "", "line 3: '{{' without '}}'"},
        // A place ends on its own line: a "}}" further down closes nothing.
        {"{{verbs:regex\n}}", "", "line 1: '{{' without '}}'"},
    };
    const TCogWordLists lists = SmallLists();
    for (const Case &c : cases)
    {
        const TSyntaxFileResult result = FillSyntaxTemplate(c.Template, lists);
        EXPECT_EQ(result.Error, c.Error) << c.Template;
        EXPECT_EQ(result.Text, c.Text) << c.Template;
    }
}

TEST(SyntaxWordsTest, RefusesAWordThatAFileFormatWouldNeedEscaped)
{
    // A quote would end the grammar's JSON string, "|" would split an alternation and "<" would
    // break the XML; a verb table with such a name fails the build rather than its output.
    for (const char *name : {"Say\"Hi", "A|B", "A<B", "Two Words", ""})
    {
        TCogWordLists lists = SmallLists();
        lists.Verbs.push_back(name);
        const TSyntaxFileResult result = FillSyntaxTemplate("x {{verbs:words}}", lists);
        EXPECT_EQ(result.Error, "line 1: '" + std::string(name) + "' is no plain name") << name;
        EXPECT_TRUE(result.Text.empty());
    }
}
