#include "core/analysis/symtools.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {
std::string Blanks(size_t count)
{
    return std::string(count, ' ');
}

// The tree as "Caption: name name" rows.
std::vector<std::string> TreeRows(const TSymbolTree &tree)
{
    std::vector<std::string> rows;
    for (const TSymbolTypeNode &node : tree)
    {
        std::string row = SymbolTypes[static_cast<size_t>(node.Type)].Caption;
        row += ":";
        for (const std::string &name : node.Names)
            row += " " + name;
        rows.push_back(row);
    }
    return rows;
}

TSymbolTree ScanTree(const std::vector<std::string> &lines)
{
    return FillSymbolTree(ParseSymbol(lines, LastSymbolsLine(lines)));
}
} // namespace

TEST(SymToolsTest, ScanGroupsNamesByTypeNewestTypeFirst)
{
    const std::vector<std::string> lines = {"symbols", "thing player local", "message startup",
                                            "sound hit=hit.wav", "end"};
    const std::vector<TSymbolEntry> entries = ParseSymbol(lines, 0);
    EXPECT_EQ(TreeRows(FillSymbolTree(entries)),
              (std::vector<std::string>{"Sound: hit", "Message: startup", "Thing: player"}));

    TSym table;
    table.AI[5] = "kept";
    table.Thing[1] = "stale";
    FillSymbolTable(entries, table);
    EXPECT_EQ(table.Thing[0], "player");
    EXPECT_EQ(table.Message[1], "startup");
    EXPECT_EQ(table.Sound[2], "hit");
    EXPECT_EQ(table.Thing[1], "");
    EXPECT_EQ(table.Sound[0], "");
    EXPECT_EQ(table.AI[5], "kept");
}

TEST(SymToolsTest, ScanTreeOrderAndWhatItPassesOver)
{
    struct Row
    {
        const char *What;
        std::vector<std::string> Lines;
        size_t Entries;
        std::vector<std::string> Tree;
    } rows[] = {
        {"vector always last",
         {"symbols", "vector dir", "thing a", "sound s", "thing b", "end"},
         4,
         {"Sound: s", "Thing: a b", "Vector: dir"}},
        {"capitals and floats count but show nowhere",
         {"symbols", "Thing player", "float speed=1.0", "cog c=x.cog", "end"},
         3,
         {"Cog: c"}},
        {"indented lines and an indented end are passed over",
         {"symbols", "  thing hidden", "\tend", "", "int n=1", "end", "thing after"},
         1,
         {"Int: n"}},
        {"no declarations", {"symbols", "end"}, 0, {}},
        {"a type word alone names nothing",
         {"symbols", "thing", "thing =x", "end"},
         2,
         {"Thing: =x"}},
        {"no end: the scan stops at the last line",
         {"symbols", "", "thing a", "model m=x.3do"},
         2,
         {"Model: m", "Thing: a"}},
        {"End in capitals ends the section",
         {"symbols", "thing a", "End", "thing b", "end"},
         1,
         {"Thing: a"}},
        {"a code line ends a section without end",
         {"symbols", "thing a", "\tend", "code", "sound=x", "end"},
         1,
         {"Thing: a"}},
    };
    for (const Row &row : rows)
    {
        EXPECT_EQ(ParseSymbol(row.Lines, 0).size(), row.Entries) << row.What;
        EXPECT_EQ(TreeRows(ScanTree(row.Lines)), row.Tree) << row.What;
    }
}

TEST(SymToolsTest, TheLastSymbolsLineDecides)
{
    EXPECT_EQ(LastSymbolsLine({"symbols", "thing a", "end", "symbols # again", "sound b", "end"}),
              3);
    EXPECT_EQ(TreeRows(ScanTree({"symbols", "thing a", "end", "symbols", "sound b", "end"})),
              (std::vector<std::string>{"Sound: b"}));
    for (const char *header : {"\tsymbols", " symbols", "Symbols", "symbolsx", ""})
        EXPECT_EQ(LastSymbolsLine({header, "thing a", "end"}), -1) << header;
}

TEST(SymToolsTest, TheTableKeepsTwoHundredRowsTheTreeEveryName)
{
    std::vector<std::string> lines = {"symbols"};
    for (int k = 0; k < 250; ++k)
        lines.push_back("thing t" + std::to_string(k));
    lines.push_back("end");
    const std::vector<TSymbolEntry> entries = ParseSymbol(lines, 0);
    ASSERT_EQ(entries.size(), 250u);
    TSym table;
    FillSymbolTable(entries, table);
    EXPECT_EQ(table.Thing[199], "t199");
    const TSymbolTree tree = FillSymbolTree(entries);
    ASSERT_EQ(tree.size(), 1u);
    EXPECT_EQ(tree[0].Names.size(), 250u);
    EXPECT_EQ(tree[0].Names.back(), "t249");
}

TEST(SymToolsTest, SymbolJumpsFollowTheirOwnOrder)
{
    const auto captions = [](std::string_view text) {
        std::vector<std::string> result;
        for (const int type : SymbolJumps(text))
            result.push_back(SymbolTypes[static_cast<size_t>(type)].Caption);
        return result;
    };
    EXPECT_EQ(captions("*.cog"), std::vector<std::string>{"Cog"});
    // Thing is shown before Template, so Template stays selected.
    EXPECT_EQ(captions("template thing"), (std::vector<std::string>{"Thing", "Template"}));
    EXPECT_EQ(captions("Thing"), std::vector<std::string>{});
    EXPECT_EQ(captions("print"), std::vector<std::string>{"Int"});
}

TEST(SymToolsTest, SortSymbolLaysLinesOutInColumns)
{
    const std::string longType = "templatestring"; // 14 characters
    const std::string longName(40, 'n');
    struct Row
    {
        std::string Line;
        std::string Expected;
        // Whether a second run gives the same line.
        bool Stable = true;
    } rows[] = {
        {"thing player local", "thing" + Blanks(8) + "player" + Blanks(29) + "local" + Blanks(25)},
        {"int count=0 local // loop counter",
         "int" + Blanks(10) + "count=0" + Blanks(28) + "local" + Blanks(25) + "# loop counter  "},
        {"int count=0 // loop counter",
         "int" + Blanks(10) + "count=0" + Blanks(28) + "# loop counter   "},
        {"end", "end" + Blanks(75)},
        {"thing\tplayer=-1\t\t\tlocal",
         "thing" + Blanks(8) + "player=-1" + Blanks(26) + "local" + Blanks(25)},
        // A word too long for its column is kept apart by one blank; the next column starts
        // where the lengths allow.
        {longType + " x", longType + " x" + Blanks(32) + Blanks(30)},
        {"thing " + longName + " local mask=0x400",
         "thing" + Blanks(8) + longName + " local" + Blanks(19) + "mask=0x400"},
        // Words past the columns stay at the end of the line.
        {"thing a local mask=1 nolink desc=x",
         "thing" + Blanks(8) + "a" + Blanks(34) + "local" + Blanks(25) + "mask=1 nolink desc=x"},
        {"int a // one two three four five six seven",
         "int" + Blanks(10) + "a" + Blanks(34) + "# one two three four five six seven"},
        {"int a local // 1 2 3 4 5",
         "int" + Blanks(10) + "a" + Blanks(34) + "local" + Blanks(25) + "# 1 2 3 4 5"},
        // Text glued to "//" stays with the comment.
        {"int a //loop", "int" + Blanks(10) + "a" + Blanks(34) + "# loop    "},
        {"int a local//loop", "int" + Blanks(10) + "a" + Blanks(34) + "local# loop    ", false},
        {"int a local x//y",
         "int" + Blanks(10) + "a" + Blanks(34) + "local" + Blanks(25) + "x# y   ", false},
        // A "#" comment keeps its words together as one made from "//" does.
        {"int a # loop counter", "int" + Blanks(10) + "a" + Blanks(34) + "# loop counter   "},
    };
    for (const Row &row : rows)
    {
        EXPECT_EQ(FormatSymbolLine(row.Line), row.Expected) << row.Line;
        if (row.Stable)
        {
            EXPECT_EQ(FormatSymbolLine(row.Expected), row.Expected) << row.Line;
        }
    }
    EXPECT_EQ(FormatSymbolLine("thing player local").size(), 78u);
}

TEST(SymToolsTest, SortSymbolRewritesOnlyTheSectionsOfAnExactHeader)
{
    const std::string thing = "thing" + Blanks(8) + "a" + Blanks(34) + Blanks(30);
    const std::string end = "end" + Blanks(75);
    struct Row
    {
        const char *What;
        std::vector<std::string> Lines;
        std::vector<std::string> Expected;
    } rows[] = {
        {"a header not exactly symbols does nothing",
         {"Symbols", "thing a", "end", "symbols ", "thing a", "end", "symbols # x", "thing a"},
         {"Symbols", "thing a", "end", "symbols ", "thing a", "end", "symbols # x", "thing a"}},
        {"blank and indented lines are left as they are",
         {"# head", "symbols", "", "  thing  x", "thing a", "end", "code", "thing a"},
         {"# head", "symbols", "", "  thing  x", thing, end, "code", "thing a"}},
        {"an indented end ends the pass",
         {"symbols", "thing a", "\tend", "code", "x:", "end"},
         {"symbols", thing, "\tend", "code", "x:", "end"}},
        {"end in capitals ends the pass and is laid out",
         {"symbols", "thing a", "End", "thing a"},
         {"symbols", thing, "End" + Blanks(75), "thing a"}},
        {"a code line ends a pass without end",
         {"symbols", "thing a", "Code", "thing a"},
         {"symbols", thing, "Code", "thing a"}},
        {"without end the pass runs to the last line",
         {"symbols", "thing a", "", "thing a"},
         {"symbols", thing, "", thing}},
        {"every exact header starts its own pass",
         {"symbols", "thing a", "end", "thing a", "symbols", "thing a", "end"},
         {"symbols", thing, end, "thing a", "symbols", thing, end}},
    };
    for (const Row &row : rows)
    {
        std::vector<std::string> lines = row.Lines;
        const int changed = SetSpace(lines);
        EXPECT_EQ(lines, row.Expected) << row.What;
        int differing = 0;
        for (size_t k = 0; k < lines.size(); ++k)
            differing += lines[k] != row.Lines[k] ? 1 : 0;
        EXPECT_EQ(changed, differing) << row.What;
    }
}

TEST(SymToolsTest, SortSymbolsInTextKeepsLineEndsAndOtherBytes)
{
    const std::string text = "# a\tb  \r\nsymbols\nthing a\rend\r\n\tcode  \r\nx \t";
    const std::string sorted = SortSymbolsInText(text);
    EXPECT_EQ(sorted, "# a\tb  \r\nsymbols\n" + ("thing" + Blanks(8) + "a" + Blanks(64)) +
                          "\r\nend" + Blanks(75) + "\r\n\tcode  \r\nx \t");
    EXPECT_EQ(SortSymbolsInText(sorted), sorted);
    for (const char *unchanged : {"", "\n", "symbols", "symbols\r\n", "code\r\nsymbols\r\n\r\n"})
        EXPECT_EQ(SortSymbolsInText(unchanged), unchanged);
}
