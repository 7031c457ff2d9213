#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "tests/core/gobbuilder.h"
#include "tests/tool/tooltest.h"

TEST(ToolTplTest, ListsNamesAndPrintsTheLastTemplateOfAName)
{
    TScratchDir scratch;
    const std::string path = scratch.Path("master.tpl");
    WriteBytes(path, "# DESC: walking player\r\n"
                     "_walkplayer\tnone type=player\r\n"
                     "\r\n"
                     "  hidden none\r\n"
                     "zeta _walkplayer mass=1\r\n"
                     "alpha none # comment\r\n"
                     "zeta _walkplayer mass=3");
    const TToolResult list = RunTool({"tpl", path});
    EXPECT_EQ(list.ExitCode, 0);
    EXPECT_EQ(list.Out, "_walkplayer\nzeta\nzeta\n");
    EXPECT_EQ(RunTool({"tpl", path, "zeta"}).Out, "zeta _walkplayer mass=3\n");
    EXPECT_EQ(RunTool({"tpl", path, "_walkplayer"}).Out, "_walkplayer none type=player\n");
    for (const char *missing : {"Zeta", "hidden", "alpha"})
        EXPECT_EQ(RunTool({"tpl", path, missing}).ExitCode, 1) << missing;

    const TToolResult none = RunTool({"tpl", scratch.Path("none.tpl")});
    EXPECT_EQ(none.ExitCode, 1);
    EXPECT_NE(none.Err.find("Cannot find Kovo Tpl file"), std::string::npos) << none.Err;
    EXPECT_EQ(RunTool({"tpl"}).ExitCode, 2);
    EXPECT_EQ(RunTool({"tpl", "a", "b", "c"}).ExitCode, 2);
}

TEST(ToolTplTest, LongFileKeepsTheFirstThousandTemplatesAndSaysSo)
{
    TScratchDir scratch;
    std::string text;
    for (int k = 0; k < 1961; ++k)
        text.append("t").append(std::to_string(k)).append(" none\n");
    WriteBytes(scratch.Path("ijim.tpl"), text);
    const TToolResult list = RunTool({"tpl", scratch.Path("ijim.tpl")});
    EXPECT_EQ(list.ExitCode, 0);
    EXPECT_EQ(std::count(list.Out.begin(), list.Out.end(), '\n'), 1000);
    EXPECT_NE(list.Err.find("961 template lines past the first 1000 were not read"),
              std::string::npos)
        << list.Err;
}
