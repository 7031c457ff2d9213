#include <string>

#include <gtest/gtest.h>

#include "tests/core/gobbuilder.h"
#include "tests/tool/tooltest.h"

TEST(ToolVerbQxTest, WritesVerbQxFromATableAndRefusesABrokenOne)
{
    TScratchDir scratch;
    const std::string table = scratch.Path("verbs.tsv");
    const std::string out = scratch.Path("verb.qx");
    WriteBytes(table, "# c\nname\tparam_kinds\tparam_names\treturns\tsection\tgame\tdescription\n"
                      "Sleep\tflex\tseconds\tnone\tSystem\tJK+MOTS\tWaits.\n"
                      "Rand\t-\t-\tflex\tSystem\tJK+MOTS\tA number.\n");
    const TToolResult ok = RunTool({"verbqx", table, out});
    EXPECT_EQ(ok.ExitCode, 0) << ok.Err;
    const std::string text = ReadTextFile(out);
    EXPECT_EQ(text.rfind("[Actor]\n[Anim]\n", 0), 0u) << text;
    EXPECT_NE(text.find("[Sys]\nSleep@(seconds)@Waits.\nRand@()@A number.\n[Thing]\n"),
              std::string::npos)
        << text;

    // A broken table fails the build's generation and leaves the old file as it was.
    WriteBytes(table,
               "name\tparam_kinds\treturns\tsection\tgame\nSleep\tflex\tnone\tNowhere\tJK\n");
    const TToolResult bad = RunTool({"verbqx", table, out});
    EXPECT_EQ(bad.ExitCode, 1);
    EXPECT_NE(bad.Err.find("'Sleep': no verb section is called 'Nowhere'"), std::string::npos)
        << bad.Err;
    EXPECT_EQ(ReadTextFile(out), text);
    EXPECT_EQ(RunTool({"verbqx", scratch.Path("none.tsv"), out}).ExitCode, 1);
    EXPECT_EQ(RunTool({"verbqx", table}).ExitCode, 2);
}
