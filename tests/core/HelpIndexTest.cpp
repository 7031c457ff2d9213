#include "core/shell/helpindex.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

const std::string Page = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Quillex Help: The editor</title></head>
<body>
<p class="lead">Scripts are edited in windows of their own.</p>
<h1 id="editor">The &lt;editor&gt;</h1>
<p>Press <b class="ui">Ctrl+B</b> to paste.</p>
<h2>Keys without an id</h2>
<p>Ctrl+U undoes.</p>
<h2 class="x" id='find'>Find and   replace</h2>
<p>Ctrl+F finds; Ctrl+H replaces &amp; counts.</p>
<h3 id="goto">Go to line</h3><p>Ctrl+G.</p>
</body></html>
)";

std::vector<std::string> Anchors(const std::vector<THelpSection> &sections)
{
    std::vector<std::string> anchors;
    for (const THelpSection &section : sections)
        anchors.push_back(section.Anchor);
    return anchors;
}

} // namespace

TEST(HelpIndexTest, HtmlToTextDropsTagsDecodesEntitiesAndJoinsBlanks)
{
    struct
    {
        const char *Html;
        const char *Text;
    } rows[] = {
        {"<b>Check</b> <i>Cog</i>", "Check Cog"},
        {"a<br>b", "a b"},
        {"Options &gt; Set Options", "Options > Set Options"},
        {"&lt;&amp;&quot;&nbsp;x", "<&\" x"},
        {"  many \n\t blanks  ", "many blanks"},
        {"AT&T; &unknown; stays", "AT&T; &unknown; stays"},
        {"cut <off", "cut"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(HtmlToText(row.Html), row.Text) << row.Html;
}

TEST(HelpIndexTest, SectionsStartAtHeadingsWithAnId)
{
    const std::vector<THelpSection> sections = ReadHelpSections(Page, "editor.html");
    EXPECT_EQ(Anchors(sections), (std::vector<std::string>{"", "editor", "find", "goto"}));
    EXPECT_EQ(sections[0].Title, "Quillex Help: The editor");
    EXPECT_EQ(sections[1].Title, "The <editor>");
    EXPECT_EQ(sections[2].Title, "Find and replace");
    for (const THelpSection &section : sections)
        EXPECT_EQ(section.Page, "editor.html");
    // A heading without an id belongs to the section before it.
    EXPECT_NE(sections[1].Text.find("keys without an id ctrl+u undoes."), std::string::npos);
    EXPECT_EQ(sections[2].Text, "find and replace ctrl+f finds; ctrl+h replaces & counts.");
    // The head of the page is not searched.
    EXPECT_EQ(sections[0].Text.find("quillex help"), std::string::npos);
}

TEST(HelpIndexTest, APageWithoutHeadingsIsOneSection)
{
    const std::vector<THelpSection> sections =
        ReadHelpSections("<html><body><p>Only text</p></body></html>", "plain.html");
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0].Anchor, "");
    EXPECT_EQ(sections[0].Text, "only text");
    EXPECT_TRUE(ReadHelpSections("", "empty.html").empty());
}

TEST(HelpIndexTest, FindListsTheSectionsHoldingEveryWord)
{
    const std::vector<THelpSection> sections = ReadHelpSections(Page, "editor.html");
    struct
    {
        const char *Query;
        std::vector<std::string> Anchors;
    } rows[] = {
        {"ctrl", {"editor", "find", "goto"}},
        {"CTRL+h", {"find"}},
        {"  paste   ctrl+b ", {"editor"}},
        {"paste replaces", {}},
        {"repl", {"find"}},
        {"scripts", {""}},
        {"", {}},
        {"   ", {}},
    };
    for (const auto &row : rows)
    {
        std::vector<std::string> anchors;
        for (const size_t i : FindHelpSections(sections, row.Query))
            anchors.push_back(sections[i].Anchor);
        EXPECT_EQ(anchors, row.Anchors) << row.Query;
    }
}
