#include "core/analysis/gamecheck.h"

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/shell/settings.h"
#include "core/shell/textutils.h"
#include "tests/core/cogscripts.h"
#include "tests/core/memorykey.h"

namespace {
// The warnings for a script whose symbols section is symbols and whose code section is code;
// the code starts on line 4 plus the number of symbol lines.
std::vector<std::string> WarningsFor(const std::string &symbols, const std::string &code,
                                     TCheckGame game = TCheckGame::Either)
{
    TCOGChecker syntax;
    TGameChecker checker;
    checker.Game = game;
    checker.Check(syntax, SplitTextLines("symbols\n" + symbols + "end\ncode\n" + code + "\nend\n"));
    EXPECT_EQ(Rows(syntax.Errors), std::vector<std::string>()) << code;
    return Rows(checker.Warnings);
}

} // namespace

class GameCheckScriptTest : public testing::TestWithParam<std::string>
{};

TEST_P(GameCheckScriptTest, ReportsExactlyTheAnnotatedWarningsInOrder)
{
    const std::string bytes = ReadScriptBytes(GetParam());
    TGameChecker checker;
    ASSERT_TRUE(ParseCheckGame(ReadCheckedGame(bytes), checker.Game));
    TCOGChecker syntax;
    checker.Check(syntax, SplitTextLines(bytes));
    EXPECT_EQ(Rows(checker.Warnings), Rows(ReadExpectedWarnings(bytes)));
    // The whole text, as qxtool reads it, gives the same.
    TGameChecker fromText;
    fromText.Game = checker.Game;
    TCOGChecker textSyntax;
    fromText.CheckText(textSyntax, bytes);
    EXPECT_EQ(Rows(fromText.Warnings), Rows(checker.Warnings));
    EXPECT_EQ(Rows(textSyntax.Errors), Rows(syntax.Errors));
    // Following the check changes none of its findings.
    TCOGChecker alone;
    alone.CheckText(bytes);
    EXPECT_EQ(Rows(syntax.Errors), Rows(alone.Errors));
    EXPECT_EQ(syntax.Sink, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Scripts, GameCheckScriptTest, testing::ValuesIn(ListCheckScripts()),
                         ScriptName);

TEST(GameCheckTest, ValuesAreUsedWhereverAnExpressionTakesThem)
{
    struct Row
    {
        std::string Code;
        std::vector<std::string> Warnings;
    } rows[] = {
        // A statement throws the value away: no verb is wrong there.
        {"Sleep(1); GetThingHealth(0); StopThing(0);", {}},
        {"for (Sleep(1); 1 < 2; i = i + 1) StopThing(0);", {"4: 'i' is declared nowhere"}},
        {"while (Sleep(1)) StopThing(0);", {"4: 'Sleep' returns nothing"}},
        // Within a line the calls come first: names are judged when the labels are known.
        {"for (i = 0; Sleep(i); i = i + 1) { }",
         {"4: 'Sleep' returns nothing", "4: 'i' is declared nowhere"}},
        {"if (1) StopThing(0); else if (StopThing(0)) Sleep(1); else Sleep(2);",
         {"4: 'StopThing' returns nothing"}},
        {"a[Sleep(1)] = 1;", {"4: 'Sleep' returns nothing", "4: 'a' is declared nowhere"}},
        {"x = -!(Sleep(1));", {"4: 'Sleep' returns nothing", "4: 'x' is declared nowhere"}},
        // Calls in the arguments count once each; the outer call counts its own.
        {"Print(VectorX(GetThingPos(0), 1));", {"4: 'VectorX' takes 1 argument, 2 given"}},
        {"SetPulse(\n  GetThingHealth(0,\n 1));",
         {"5: 'GetThingHealth' takes 1 argument, 2 given"}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(WarningsFor("", row.Code), row.Warnings) << row.Code;
}

TEST(GameCheckTest, NamesAreShownAsTheScriptSpellsThem)
{
    struct Row
    {
        std::string Code;
        std::vector<std::string> Warnings;
    } rows[] = {
        // The name inside a longer word is not the one meant.
        {"MaxHealth = MAX + maximum;",
         {"4: 'MaxHealth' is declared nowhere", "4: 'MAX' is declared nowhere",
          "4: 'maximum' is declared nowhere"}},
        {"x = \"Nope\"; x = NoPe;",
         {"4: 'x' is declared nowhere", "4: 'NoPe' is declared nowhere"}},
        {"GETTHINGHELTH(0);", {"4: Unknown verb 'GETTHINGHELTH' (did you mean 'GetThingHealth'?)"}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(WarningsFor("", row.Code), row.Warnings) << row.Code;
}

TEST(GameCheckTest, SymbolLinesDeclareTheirSecondWord)
{
    struct Row
    {
        std::string Symbols;
        std::vector<std::string> Warnings;
    } rows[] = {
        {"thing a local\nint b=0 local\nint c = 1\nsound d=x.wav\nflex e 2.0 desc=e\n", {}},
        // A line with its type alone declares nothing.
        {"message\n",
         {"5: 'a' is declared nowhere", "5: 'b' is declared nowhere", "5: 'c' is declared nowhere",
          "5: 'd' is declared nowhere", "5: 'e' is declared nowhere"}},
        {"thing a\nint b\nint c\nint d\nint e\nsector A\n", {"7: Symbol 'A' is declared twice"}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(WarningsFor(row.Symbols, "a = b + c + d + e;"), row.Warnings) << row.Symbols;
}

TEST(GameCheckTest, EachCheckReplacesTheWarningsAndErrorsSilenceThem)
{
    TCOGChecker syntax;
    TGameChecker checker;
    checker.Check(syntax, {"symbols", "end", "code", "x = 1;", "end"});
    EXPECT_EQ(Rows(checker.Warnings), std::vector<std::string>{"4: 'x' is declared nowhere"});
    checker.Check(syntax, {"symbols", "end", "code", "x = 1", "end"});
    EXPECT_GT(syntax.Errors.Count(), 0);
    EXPECT_EQ(checker.Warnings.Count(), 0);
    checker.Check(syntax, {"symbols", "int x", "end", "code", "x = 1;", "end"});
    EXPECT_EQ(syntax.Errors.Count(), 0);
    EXPECT_EQ(checker.Warnings.Count(), 0);
}

TEST(GameCheckTest, GameWordsReadInAnyCase)
{
    struct Row
    {
        std::string Word;
        bool Known;
        TCheckGame Game;
    } rows[] = {
        {"any", true, TCheckGame::Either}, {"JK", true, TCheckGame::JK},
        {"Mots", true, TCheckGame::Mots},  {"both", false, TCheckGame::Mots},
        {"", false, TCheckGame::Mots},     {"jk ", false, TCheckGame::Mots},
    };
    for (const Row &row : rows)
    {
        TCheckGame game = TCheckGame::Mots;
        EXPECT_EQ(ParseCheckGame(row.Word, game), row.Known) << row.Word;
        EXPECT_EQ(game, row.Game) << row.Word;
        if (row.Known)
        {
            EXPECT_TRUE(ParseCheckGame(CheckGameWord(game), game));
        }
    }
}

TEST(GameCheckTest, SettingsKeepTheSwitchAndTheGame)
{
    TMemoryKey key;
    TGameCheckSettings settings = ReadGameCheckSettings(key);
    EXPECT_TRUE(settings.Enabled);
    EXPECT_EQ(settings.Game, TCheckGame::Either);
    EXPECT_TRUE(key.Values.empty());

    WriteGameCheckSettings(key, {false, TCheckGame::Mots});
    EXPECT_EQ(key.Values,
              (std::map<std::string, std::string>{{"CheckGame", "mots"}, {"GameChecks", "0"}}));
    settings = ReadGameCheckSettings(key);
    EXPECT_FALSE(settings.Enabled);
    EXPECT_EQ(settings.Game, TCheckGame::Mots);

    // A damaged store falls back to the defaults rather than turning the checks off.
    key.Values = {{"CheckGame", "quake"}, {"GameChecks", ""}};
    settings = ReadGameCheckSettings(key);
    EXPECT_TRUE(settings.Enabled);
    EXPECT_EQ(settings.Game, TCheckGame::Either);
}
