#include "tests/tool/tooltest.h"

#include <gtest/gtest.h>

TEST(ToolTest, HelpListsEveryCommandAndSucceeds)
{
    const TToolResult result = RunTool({"--help"});
    EXPECT_EQ(result.ExitCode, 0);
    for (const char *command : {"check", "gob list", "gob extract", "gob pack", "mat2bmp", "tpl",
                                "flags", "verbqx", "sort-symbols"})
        EXPECT_NE(result.Out.find(command), std::string::npos) << command;
}

TEST(ToolTest, VersionNamesTheProgramVersion)
{
    const TToolResult result = RunTool({"--version"});
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(result.Out, "qxtool (Quillex) 0.3 beta\n");
}

TEST(ToolTest, MissingOrUnknownCommandIsAUsageError)
{
    EXPECT_EQ(RunTool({}).ExitCode, 2);
    const TToolResult unknown = RunTool({"frobnicate"});
    EXPECT_EQ(unknown.ExitCode, 2);
    EXPECT_NE(unknown.Err.find("unknown command 'frobnicate'"), std::string::npos);
}
