#include <string>

#include <gtest/gtest.h>

#include "tests/core/gobbuilder.h"
#include "tests/tool/tooltest.h"

TEST(ToolSyntaxTest, FillsATemplateFromATableAndRefusesBrokenInput)
{
    TScratchDir scratch;
    const std::string table = scratch.Path("verbs.tsv");
    const std::string templ = scratch.Path("cog.xml.in");
    const std::string out = scratch.Path("cog.xml");
    WriteBytes(table, "# c\nname\tparam_kinds\tparam_names\treturns\tsection\tgame\tdescription\n"
                      "Sleep\tflex\tseconds\tnone\tSystem\tJK+MOTS\tWaits.\n"
                      "Rand\t-\t-\tflex\tSystem\tJK+MOTS\tA number.\n");
    WriteBytes(templ, "<K>{{verbs:words}}</K>\r\n<R>{{verbs:regex}}</R>\r\n");
    const TToolResult ok = RunTool({"syntax", table, templ, out});
    EXPECT_EQ(ok.ExitCode, 0) << ok.Err;
    // The template's own bytes, its CR LF line ends too, are kept.
    const std::string text = ReadTextFile(out);
    EXPECT_EQ(text, "<K>rand sleep</K>\r\n<R>Rand|Sleep</R>\r\n");

    // A broken template or table fails the build's generation and leaves the old file as it was.
    WriteBytes(templ, "ok\n<K>{{verbz:words}}</K>\n");
    const TToolResult badTemplate = RunTool({"syntax", table, templ, out});
    EXPECT_EQ(badTemplate.ExitCode, 1);
    EXPECT_NE(badTemplate.Err.find("cog.xml.in: line 2: unknown list 'verbz'"), std::string::npos)
        << badTemplate.Err;
    WriteBytes(templ, "{{verbs:words}}");
    WriteBytes(table, "name\tparam_kinds\treturns\tsection\tgame\nSleep\tflex\tnone\tSystem\n");
    const TToolResult badTable = RunTool({"syntax", table, templ, out});
    EXPECT_EQ(badTable.ExitCode, 1);
    EXPECT_NE(badTable.Err.find("verbs.tsv: line 2: expected 5 fields, found 4"), std::string::npos)
        << badTable.Err;
    EXPECT_EQ(ReadTextFile(out), text);

    EXPECT_EQ(RunTool({"syntax", scratch.Path("none.tsv"), templ, out}).ExitCode, 1);
    EXPECT_EQ(RunTool({"syntax", table, scratch.Path("none.in"), out}).ExitCode, 1);
    EXPECT_EQ(RunTool({"syntax", table, templ}).ExitCode, 2);
}
