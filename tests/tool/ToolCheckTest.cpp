#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/core/cogscripts.h"
#include "tests/tool/tooltest.h"

namespace {
// What qxtool check prints for one annotated script: its errors, then its warnings.
std::string ExpectedOutput(const std::string &path, bool warnings = true)
{
    const std::string bytes = ReadScriptBytes(path);
    std::string out;
    for (const TExpectedError &error : ReadExpectedErrors(bytes))
        out += path + ":" + std::to_string(error.Line) + ": " + error.Msg + "\n";
    if (warnings)
        for (const TExpectedError &warning : ReadExpectedWarnings(bytes))
            out += path + ":" + std::to_string(warning.Line) + ": warning: " + warning.Msg + "\n";
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
        const std::string bytes = ReadScriptBytes(path);
        const TToolResult result = RunTool({"check", "--game", ReadCheckedGame(bytes), path});
        EXPECT_EQ(result.Out, ExpectedOutput(path)) << path;
        // Warnings alone leave the exit code at 0.
        EXPECT_EQ(result.ExitCode, ReadExpectedErrors(bytes).empty() ? 0 : 1) << path;
        EXPECT_EQ(result.Err, "") << path;
    }
}

TEST(ToolCheckTest, OptionsChooseTheGameTheChecksAndTheExitCode)
{
    const std::string dir = QX_SCRIPTS_DIR;
    const std::string verbs = dir + "/game_verbs.cog";
    const std::string other = dir + "/game_other_game.cog";
    const std::string errors = dir + "/game_syntax_first.cog";
    struct Row
    {
        std::vector<std::string> Args;
        std::string Out;
        int ExitCode;
    } rows[] = {
        // Warnings alone exit with 0, with --werror as errors do; options go before or after.
        {{"check", verbs}, ExpectedOutput(verbs), 0},
        {{"check", "--werror", verbs}, ExpectedOutput(verbs), 1},
        {{"check", verbs, "--werror"}, ExpectedOutput(verbs), 1},
        {{"check", "--no-game-checks", "--werror", verbs}, "", 0},
        {{"check", "--no-game-checks", errors}, ExpectedOutput(errors, false), 1},
        // Either game knows every verb of the other script; Jedi Knight alone does not.
        {{"check", "--werror", "--game", "any", other}, "", 0},
        {{"check", "--game", "mots", other}, "", 0},
        {{"check", "--game=JK", other}, ExpectedOutput(other), 0},
        // "--" ends the options: a file may start with "-".
        {{"check", "--no-game-checks", "--", verbs}, "", 0},
    };
    for (const Row &row : rows)
    {
        const TToolResult result = RunTool(row.Args);
        std::string args;
        for (const std::string &arg : row.Args)
            args += arg + " ";
        EXPECT_EQ(result.Out, row.Out) << args;
        EXPECT_EQ(result.ExitCode, row.ExitCode) << args;
        EXPECT_EQ(result.Err, "") << args;
    }
}

TEST(ToolCheckTest, BadOptionsPrintUsage)
{
    const std::string clean = std::string(QX_SCRIPTS_DIR) + "/clean.cog";
    for (const std::vector<std::string> &args :
         std::vector<std::vector<std::string>>{{"check", "--game", "quake", clean},
                                               {"check", clean, "--game"},
                                               {"check", "--warnings", clean},
                                               {"check", "--werror"}})
    {
        const TToolResult result = RunTool(args);
        EXPECT_EQ(result.ExitCode, 2) << args[1];
        EXPECT_EQ(result.Out, "") << args[1];
        EXPECT_NE(result.Err.find("Usage: qxtool check FILE..."), std::string::npos) << result.Err;
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
    // The script has no errors; its warnings are left out here.
    const TToolResult result = RunTool({"check", "--no-game-checks", clean, clean});
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
