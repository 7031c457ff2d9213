#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/tool/tooltest.h"

TEST(ToolVerbQxTest, WritesVerbQxFromATableAndRefusesABrokenOne)
{
    const std::string dir = MakeTempDir();
    const std::string table = dir + "/verbs.tsv";
    const std::string out = dir + "/verb.qx";
    const auto write = [](const std::string &path, const std::string &text) {
        std::ofstream(path, std::ios::binary) << text;
    };
    write(table, "# c\nname\tparam_kinds\tparam_names\treturns\tsection\tgame\tdescription\n"
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
    write(table, "name\tparam_kinds\treturns\tsection\tgame\nSleep\tflex\tnone\tNowhere\tJK\n");
    const TToolResult bad = RunTool({"verbqx", table, out});
    EXPECT_EQ(bad.ExitCode, 1);
    EXPECT_NE(bad.Err.find("'Sleep': no verb section is called 'Nowhere'"), std::string::npos)
        << bad.Err;
    EXPECT_EQ(ReadTextFile(out), text);
    EXPECT_EQ(RunTool({"verbqx", dir + "/none.tsv", out}).ExitCode, 1);
    EXPECT_EQ(RunTool({"verbqx", table}).ExitCode, 2);
    std::filesystem::remove_all(dir);
}
