#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/tool/tooltest.h"

namespace {

// The output lines of a run.
std::vector<std::string> Lines(const std::string &out)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(out.substr(start, end - start));
    return lines;
}

} // namespace

TEST(ToolFlagsTest, PrintsTheKindItsPositionsAndTheCompletedLine)
{
    const TToolResult actor = RunTool({"flags", "SetActorFlags(player, flag*)", "3,5"});
    EXPECT_EQ(actor.ExitCode, 0) << actor.Err;
    const std::vector<std::string> lines = Lines(actor.Out);
    ASSERT_EQ(lines.size(), 35u) << actor.Out;
    EXPECT_EQ(lines[0], "Actor Flags");
    EXPECT_EQ(lines[1], "bit-mask");
    EXPECT_EQ(lines[2], "0\t0x00000001");
    EXPECT_EQ(lines[5], "3\tInvulnerable");
    EXPECT_EQ(lines[33], "31\t0x80000000");
    EXPECT_EQ(lines[34], "SetActorFlags(player, 0x28)");

    const TToolResult light = RunTool({"flags", "SetSurfaceFlags(s, flag*) LightMode", "3"});
    EXPECT_EQ(light.ExitCode, 0);
    const std::vector<std::string> lightLines = Lines(light.Out);
    ASSERT_EQ(lightLines.size(), 35u) << light.Out;
    EXPECT_EQ(lightLines[0], "Light Mode");
    EXPECT_EQ(lightLines[1], "single-choice");
    EXPECT_EQ(lightLines[33], "31\t0x1F");
    EXPECT_EQ(lightLines[34], "SetSurfaceFlags(s, 0x3) LightMode");
}

TEST(ToolFlagsTest, MessagesAndLinesThatOpenNothing)
{
    struct Case
    {
        std::vector<std::string> Args;
        int ExitCode;
        const char *LastLine;
    };
    const Case cases[] = {
        {{"flags", "SetActorFlags(player, flag*)"}, 0, "Choose a flag "},
        {{"flags", "SetCollideType(thing, flag*)", "0,1"},
         1,
         "More than one bit selected Not Allowed - Redo"},
        {{"flags", "GetActorFlags(flag*)", "1"}, 1, "(not opened)"},
        {{"flags", "SetActorFlags(player, 4)", "1"}, 1, "(not opened)"},
        {{"flags", "Frobnicate(flag*)", "1"}, 1, "(not opened)"},
        {{"flags", "flag=flag* z", "6"}, 0, "flag=0x40"},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.Args[1]);
        const TToolResult result = RunTool(c.Args);
        EXPECT_EQ(result.ExitCode, c.ExitCode);
        const std::vector<std::string> lines = Lines(result.Out);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), c.LastLine);
    }
    for (const char *positions : {"32", "a", "1,,2", "", "-1", "1,"})
        EXPECT_EQ(RunTool({"flags", "SetActorFlags(player, flag*)", positions}).ExitCode, 2)
            << positions;
    EXPECT_EQ(RunTool({"flags"}).ExitCode, 2);
}
