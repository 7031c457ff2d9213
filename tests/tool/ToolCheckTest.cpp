#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/core/cogscripts.h"
#include "tests/tool/tooltest.h"

namespace {
// What qxtool check prints for one annotated script.
std::string ExpectedOutput(const std::string &path)
{
    std::string out;
    for (const TExpectedError &error : ReadExpectedErrors(ReadScriptBytes(path)))
        out += path + ":" + std::to_string(error.Line) + ": " + error.Msg + "\n";
    return out;
}

std::string WriteFile(const std::string &dir, const std::string &name, const std::string &bytes)
{
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}
} // namespace

TEST(ToolCheckTest, PrintsTheAnnotatedErrorsOfEachScript)
{
    const std::vector<std::string> scripts = ListCheckScripts();
    ASSERT_FALSE(scripts.empty());
    for (const std::string &path : scripts)
    {
        const TToolResult result = RunTool({"check", path});
        const std::string expected = ExpectedOutput(path);
        EXPECT_EQ(result.Out, expected) << path;
        EXPECT_EQ(result.ExitCode, expected.empty() ? 0 : 1) << path;
        EXPECT_EQ(result.Err, "") << path;
    }
}

TEST(ToolCheckTest, FilesAreReportedInArgumentOrder)
{
    const std::string dir = QX_SCRIPTS_DIR;
    const std::vector<std::string> paths = {dir + "/no_code.cog", dir + "/clean.cog",
                                            dir + "/compound_assign.cog"};
    const TToolResult result = RunTool({"check", paths[0], paths[1], paths[2]});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Out,
              ExpectedOutput(paths[0]) + ExpectedOutput(paths[1]) + ExpectedOutput(paths[2]));
}

TEST(ToolCheckTest, CleanFilesExitWithZeroAndPrintNothing)
{
    const std::string clean = std::string(QX_SCRIPTS_DIR) + "/clean.cog";
    const TToolResult result = RunTool({"check", clean, clean});
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(result.Out, "");
}

TEST(ToolCheckTest, UnreadableFileWinsButTheOthersAreStillChecked)
{
    const std::string dir = MakeTempDir();
    const std::string missing = dir + "/missing.cog";
    const std::string bad = WriteFile(dir, "bad.cog", "symbols\nend\ncode\nx += 1;\nend\n");
    const TToolResult result = RunTool({"check", missing, bad, dir});
    EXPECT_EQ(result.ExitCode, 2);
    EXPECT_NE(result.Err.find(missing + ": File not found"), std::string::npos) << result.Err;
    // The folder cannot be read as a file either.
    EXPECT_NE(result.Err.find(dir + ": "), std::string::npos) << result.Err;
    EXPECT_EQ(result.Out.find(bad + ":4: = expected, + found\n"), 0u) << result.Out;
    std::filesystem::remove_all(dir);
}

TEST(ToolCheckTest, WithoutFilesPrintsUsage)
{
    const TToolResult result = RunTool({"check"});
    EXPECT_EQ(result.ExitCode, 2);
    EXPECT_EQ(result.Out, "");
    EXPECT_NE(result.Err.find("Usage: qxtool check FILE..."), std::string::npos);
}

TEST(ToolCheckTest, ReadsBytesWithEveryKindOfLineBreak)
{
    const std::string dir = MakeTempDir();
    const std::string path =
        WriteFile(dir, "mixed.cog", "\xa9 symbols\r\nsymbols\r\nend\rcode\n\n\xc9 += 1;\r\nend");
    const TToolResult result = RunTool({"check", path});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Out.substr(0, result.Out.find('\n')), path + ":6: = expected, + found");
    std::filesystem::remove_all(dir);
}
