#include "core/linebuilder/refdata.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/core/gobbuilder.h"

namespace {

// The tree as "category|entry" rows for every entry node, "|entry" for a top-level one.
std::vector<std::string> EntryRows(const TRefData &data)
{
    std::vector<std::string> rows;
    for (size_t top = 0; top < data.Nodes.size(); ++top)
    {
        if (top > 2)
        {
            rows.push_back("|" + data.Nodes[top].Text);
            continue;
        }
        for (const TRefNode &category : data.Nodes[top].Children)
            for (const TRefNode &entry : category.Children)
                rows.push_back(category.Text + "|" + entry.Text);
    }
    return rows;
}

using TRows = std::vector<std::string>;

} // namespace

TEST(RefDataTest, LoadingPutsEveryLineUnderTheCategoryItsHeaderChose)
{
    struct Case
    {
        const char *What;
        const char *Verb;
        const char *Symbol;
        TRows Rows;
    };
    const Case cases[] = {
        {"blanks in name and parameters",
         "[Actor]\nFoo&Bar@(x,&y)@Two words.\n",
         "",
         {"Actor|Foo Bar"}},
        {"blank, comment and plain lines are empty nodes",
         "[Snd]\nA@@\n\n# note\nplain text\nB@(x)@d\n",
         "",
         {"Sound|A", "Sound|", "Sound|", "Sound|", "Sound|B"}},
        {"the line after a header escapes the comment test",
         "[Actor]\nA@(x)@has # a hash\nB@()@too # here\n",
         "",
         {"Actor|A", "Actor|"}},
        {"a header with a trailing blank keeps the category",
         "[Anim]\nA@@\n[Actor] \nB@@\n",
         "",
         {"Animation_Keys|A", "Animation_Keys|B"}},
        {"a commented header is an empty line", "[Actor] # x\nA@@\n", "", {"|", "|A"}},
        {"entries before any header stand at the top",
         "X@()@\n[Wrld]\nY@@\n",
         "",
         {"World|Y", "|X"}},
        {"a symbol header means nothing in verb.qx", "[Cog]\nA@@\n", "", {"|A"}},
        {"the category carries over into symbol.qx",
         "[Wrld]\nA@@\n",
         "B@@\n[Cog]\nC@@\n",
         {"World|A", "World|B", "- Cog|C"}},
        {"an empty section: a header right after a header",
         "[Actor]\n[Anim]\nA@@\n",
         "",
         {"Animation_Keys|A"}},
        {"a header at the end adds nothing", "[Actor]\nA@@\n[Anim]", "", {"Actor|A"}},
        {"CR LF lines and a single @",
         "[Vec]\r\nA@(x\r\nB&&C@\r\n",
         "",
         {"Vector|A", "Vector|B  C"}},
        {"symbol operators come first under Symbols",
         "",
         "[Vector]\nv@@\n[Operators]\nop@@\n",
         {"- Symbol Operators|op", "- Vector|v"}},
    };
    for (const Case &c : cases)
    {
        const TRefData data = BuildRefData(c.Verb, c.Symbol, "");
        EXPECT_EQ(EntryRows(data), c.Rows) << c.What;
        EXPECT_TRUE(data.Complete) << c.What;
        EXPECT_EQ(data.Message, "") << c.What;
    }
}

TEST(RefDataTest, FixedNodesStandBeforeWhatTheFilesAdd)
{
    const TRefData data = BuildRefData("loose@@\n", "", "b and\n  a\n\n");
    ASSERT_EQ(data.Nodes.size(), 4u);
    EXPECT_EQ(data.Nodes[0].Text, RefVerbsNode);
    EXPECT_EQ(data.Nodes[0].Children.size(), 15u);
    EXPECT_EQ(data.Nodes[1].Text, RefSymbolsUsedNode);
    EXPECT_TRUE(data.Nodes[1].Children.empty());
    EXPECT_EQ(data.Nodes[2].Text, RefSymbolsNode);
    EXPECT_EQ(data.Nodes[2].Children.size(), 15u);
    EXPECT_EQ(data.Nodes[3].Text, "loose");
    // Operator lines are taken whole, the empty one included; the list sorts them.
    EXPECT_EQ(data.Operators, (TRows{"b and", "  a", ""}));
}

TEST(RefDataTest, FirstMissingFileEndsTheLoadingWithItsMessage)
{
    const std::optional<std::string> none;
    struct Case
    {
        std::optional<std::string> Verb, Symbol, Extra;
        const char *Message;
        size_t TopNodes;
        size_t Operators;
    };
    const Case cases[] = {
        {none, "x@@", "+ plus", NoVerbFileMessage, 3, 0},
        {"v@@", none, "+ plus", NoSymbolFileMessage, 4, 0},
        {"v@@", "s@@", none, NoExtraFileMessage, 5, 0},
        {"v@@", "s@@", "+ plus", "", 5, 1},
    };
    for (const Case &c : cases)
    {
        const TRefData data = BuildRefData(c.Verb, c.Symbol, c.Extra);
        EXPECT_EQ(data.Message, c.Message);
        EXPECT_EQ(data.Nodes.size(), c.TopNodes) << c.Message;
        EXPECT_EQ(data.Operators.size(), c.Operators) << c.Message;
        EXPECT_EQ(data.Complete, std::string(c.Message).empty()) << c.Message;
    }
    EXPECT_EQ(std::string(NoVerbFileMessage),
              " Cannot find \"Verb.qx\" in \"\\qxdata \" Directory");
}

TEST(RefDataTest, LookupShowsEveryEntryOfTheNameFromTheFirstFileThatHasIt)
{
    const std::optional<std::string> none;
    struct Case
    {
        const char *What;
        std::string Caption;
        std::optional<std::string> Verb, Symbol;
        TRows Lines;
        const char *Message;
    };
    const Case cases[] = {
        {"blanks restored",
         "Foo Bar",
         "[Actor]\nFoo&Bar@(x,&y)@Two words.\n",
         "",
         {"Foo Bar(x, y)", "Two words."},
         ""},
        {"empty description", "A", "A@(x)@\n", "", {"A(x)", ""}, ""},
        {"a single @", "A", "A@(x\n", "", {"A(x", ""}, ""},
        {"description keeps @ and &", "A", "A@()@a@b & c\n", "", {"A()", "a@b & c"}, ""},
        {"two entries of a name, in file order",
         "A",
         "A@(1)@one\nB@@\nA@(2)@two\n",
         "",
         {"A(1)", "one", "A(2)", "two"},
         ""},
        {"verb.qx wins; symbol.qx is not read", "A", "A@(v)@verb\n", none, {"A(v)", "verb"}, ""},
        {"found in symbol.qx",
         "mask",
         "A@@\n",
         "[Thing2]\nmask@=flag*@Types.\n",
         {"mask=flag*", "Types."},
         ""},
        {"names are compared exactly", "a", "A@(x)@d\n", "", {}, ""},
        {"a commented entry is never found, even after a header",
         "A",
         "[Actor]\nA@(x)@# c\n",
         "",
         {},
         ""},
        {"a header line is never found", "[Actor]", "[Actor]@(x)@d\n", "", {}, ""},
        {"a category finds nothing without an entry of its name",
         "Actor",
         "[Actor]\nA@@\n",
         "Actor@(x)@named like it\n",
         {"Actor(x)", "named like it"},
         ""},
        // The first character always belongs to the name, so no entry has an empty one.
        {"an empty node finds nothing",
         "",
         "[Actor]\n\n# c\nplain\nA@@\n",
         "@(x)@unnamed\n",
         {},
         ""},
        {"symbol.qx missing when needed", "Z", "A@@\n", none, {}, NoSymbolFileMessage},
        {"verb.qx missing", "A", none, "A@@\n", {}, NoVerbFileMessage},
    };
    for (const Case &c : cases)
    {
        const TRefLookup found = LookupRefText(c.Caption, c.Verb, c.Symbol);
        EXPECT_EQ(found.Lines, c.Lines) << c.What;
        EXPECT_EQ(found.Message, c.Message) << c.What;
        EXPECT_EQ(found.HideOperators, std::string(c.Message).empty()) << c.What;
    }
}

TEST(RefDataTest, FilesAreFoundInAnyCaseAndReadAgainAtEveryLookup)
{
    TScratchDir dir;
    WriteBytes(dir.Path("Verb.QX"), "[Sys]\nSleep@(seconds)@Waits.\n");
    WriteBytes(dir.Path("SYMBOL.qx"), "[Flex]\nflex@&name=0.0@A number.\n");
    WriteBytes(dir.Path("extra.Qx"), "+ adds\n");
    const TRefData data = LoadRefData(dir.Folder());
    EXPECT_TRUE(data.Complete);
    EXPECT_EQ(EntryRows(data), (TRows{"System|Sleep", "- Flex|flex"}));
    EXPECT_EQ(data.Operators, TRows{"+ adds"});

    EXPECT_EQ(LookupRefEntry(dir.Folder(), "flex").Lines, (TRows{"flex name=0.0", "A number."}));
    WriteBytes(dir.Path("Verb.QX"), "[Sys]\nSleep@(time)@Pauses.\n");
    EXPECT_EQ(LookupRefEntry(dir.Folder(), "Sleep").Lines, (TRows{"Sleep(time)", "Pauses."}));

    std::filesystem::remove(dir.Path("SYMBOL.qx"));
    EXPECT_EQ(LookupRefEntry(dir.Folder(), "Sleep").Message, "");
    EXPECT_EQ(LookupRefEntry(dir.Folder(), "flex").Message, NoSymbolFileMessage);
    std::filesystem::remove(dir.Path("Verb.QX"));
    const TRefLookup none = LookupRefEntry(dir.Folder(), "Sleep");
    EXPECT_EQ(none.Message, NoVerbFileMessage);
    EXPECT_FALSE(none.HideOperators);
    const TRefData empty = LoadRefData(dir.Folder());
    EXPECT_EQ(empty.Message, NoVerbFileMessage);
    EXPECT_TRUE(empty.Operators.empty());
}

TEST(RefDataTest, VerbQxWritesEachSectionUnderItsHeaderAndRefusesWhatWouldBreakALine)
{
    const auto verb = [](std::string name, std::vector<std::string> params, std::string section,
                         std::string description) {
        TVerbFact fact;
        fact.Name = std::move(name);
        fact.ParamNames = std::move(params);
        fact.ParamKinds = fact.ParamNames;
        fact.Section = std::move(section);
        fact.Description = std::move(description);
        return fact;
    };
    const std::vector<TVerbFact> verbs = {
        verb("Sleep", {"seconds"}, "System", "Waits."),
        verb("SetActorFlags", {"actor", "flag*"}, "Actor", "Sets flags."),
        verb("Twice", {}, "System", "Same row for each game."),
        verb("Twice", {}, "System", "Same row for each game."),
    };
    const TVerbQxResult written = FormatVerbQx(verbs);
    ASSERT_EQ(written.Error, "");
    EXPECT_NE(written.Text.find("[Actor]\nSetActorFlags@(actor,&flag*)@Sets flags.\n[Anim]\n"),
              std::string::npos);
    EXPECT_NE(written.Text.find("[Sys]\nSleep@(seconds)@Waits.\nTwice@()@Same row for each "
                                "game.\n[Thing]\n"),
              std::string::npos);
    // What the loader and the lookup make of it is what the table says.
    const TRefData data = BuildRefData(written.Text, "", "");
    EXPECT_EQ(EntryRows(data), (TRows{"Actor|SetActorFlags", "System|Sleep", "System|Twice"}));
    EXPECT_EQ(LookupRefText("SetActorFlags", written.Text, "").Lines,
              (TRows{VerbLine(verbs[1]), "Sets flags."}));

    struct Bad
    {
        TVerbFact Verb;
        const char *Error;
    };
    const Bad bad[] = {
        {verb("A", {}, "Nowhere", ""), "'A': no verb section is called 'Nowhere'"},
        {verb("A B", {}, "System", ""),
         "'A B': the name must be one word without '#', '[', '@' or '&'"},
        {verb("A", {"x y"}, "System", ""),
         "'A': parameter name 'x y' is empty or holds a blank or one of #[@&,()"},
        {verb("A", {"x"}, "System", "costs 5 & more"), "'A': the description holds a '&'"},
        {verb("A", {"x"}, "System", "see [x]"), "'A': the description holds a '['"},
        {verb("A", {"x"}, "System", "mail@home"), "'A': the description holds a '@'"},
        {verb("A", {"x"}, "System", "two\nlines"), "'A': the description holds a line break"},
    };
    for (const Bad &b : bad)
    {
        const TVerbQxResult refused = FormatVerbQx({verbs[0], b.Verb});
        EXPECT_EQ(refused.Error, b.Error);
        EXPECT_EQ(refused.Text, "");
    }
}

TEST(RefDataTest, PlaceholdersOfASelectionAreFilledInOrder)
{
    std::vector<std::string> asked;
    const auto pick = [&asked](const std::string &ext) {
        asked.push_back(ext);
        return ext == ".mat" ? std::string("wall.mat") : std::string();
    };
    // A cancelled pick (no name) leaves its placeholder.
    EXPECT_EQ(FillResourcePlaceholders("SetMat(*.mat, *.snd) *.mat", pick),
              "SetMat(wall.mat, *.snd) *.mat");
    EXPECT_EQ(asked, (std::vector<std::string>{".mat", ".snd"}));
    EXPECT_EQ(PutTemplateName("Create(template, template)", "crate"), "Create(crate, template)");
    EXPECT_EQ(PutTemplateName("Create(template)", ""), "Create(template)");
}
