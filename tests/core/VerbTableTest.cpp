#include "core/linebuilder/verbtable.h"

#include <string>

#include <gtest/gtest.h>

TEST(VerbTableTest, ShippedTableHoldsEveryRegisteredVerb)
{
    const std::vector<TVerbFact> &verbs = VerbTable();
    ASSERT_EQ(verbs.size(), 541u);
    // Four verbs take other arguments in MOTS and have a row for each game.
    const auto rows = FindVerb("createthingatpos");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_NE(rows[0]->Game, rows[1]->Game);
    const auto sleep = FindVerb("SLEEP");
    ASSERT_EQ(sleep.size(), 1u);
    EXPECT_EQ(sleep[0]->Returns, "none");
    EXPECT_EQ(sleep[0]->ParamKinds.size(), 1u);
    EXPECT_TRUE(FindVerb("GetThingHelth").empty());
}

TEST(VerbTableTest, ParseReportsTheFirstBadRow)
{
    struct Case
    {
        const char *Text;
        const char *Error;
    };
    const Case cases[] = {
        {"name\tparam_kinds\treturns\tsection\tgame\nA\t-\tnone\tSys\tJK+MOTS\n", ""},
        {"name\treturns\n", "line 1: the header lacks a needed column"},
        {"name\tparam_kinds\treturns\tsection\tgame\nA\t-\tnone\tSys\n",
         "line 2: expected 5 fields, found 4"},
        {"#c\nname\tparam_kinds\treturns\tsection\tgame\nA\tint\tnone\tSys\tJK3\n",
         "line 3: unknown game 'JK3'"},
        {"name\tparam_kinds\tparam_names\treturns\tsection\tgame\nA\tint,int\tx\tnone\tS\tJK\n",
         "line 2: 'A' has a different number of parameter names and kinds"},
        {"", "no header line"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseVerbTable(c.Text).Error, c.Error) << c.Text;
    const TVerbTableResult ok = ParseVerbTable(cases[0].Text);
    ASSERT_EQ(ok.Verbs.size(), 1u);
    EXPECT_TRUE(ok.Verbs[0].ParamKinds.empty());
}
