// The paths qxtool is given and makes: names no code page spells, archive names in
// Windows-1252, wildcards, and on Windows drive letters and backslashes.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/analysis/symtools.h"
#include "tests/core/gobbuilder.h"
#include "tests/tool/tooltest.h"

namespace fs = std::filesystem;

namespace {
// A script with one error, on its line 2.
const char *const NoCode = "symbols\nend\n";
const char *const NoCodeError = ":2: No code section!\n";

bool Contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}
} // namespace

TEST(ToolPathsTest, NamesBeyondASCIIAreReadWrittenAndPrintedAsGiven)
{
    TScratchDir scratch;
    const std::string dir = scratch.Path("Ünï 测试") + "/";
    fs::create_directories(Utf8Path(dir));
    const std::string script = dir + "café ключ.cog";
    WriteBytes(script, NoCode);
    const TToolResult checked = RunTool({"check", "--no-game-checks", script});
    EXPECT_EQ(checked.ExitCode, 1) << checked.Err;
    EXPECT_EQ(checked.Out, script + NoCodeError);

    const std::string unsorted = "symbols\nthing player local\nend\n";
    WriteBytes(script, unsorted);
    const TToolResult sorted = RunTool({"sort-symbols", "-i", script});
    EXPECT_EQ(sorted.ExitCode, 0) << sorted.Err;
    EXPECT_EQ(ReadBytes(script), SortSymbolsInText(unsorted));
    EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"café ключ.cog"});

    const TToolResult missing = RunTool({"check", dir + "naïve.cog"});
    EXPECT_EQ(missing.ExitCode, 2);
    EXPECT_EQ(missing.Err, dir + "naïve.cog: File not found\n");
}

TEST(ToolPathsTest, MemberNamesInWindows1252BecomeUTF8FileNamesAndBack)
{
    TScratchDir scratch;
    const std::string archive = scratch.Path("a.gob");
    // 0xE9 is "é" and 0x80 the euro sign in Windows-1252.
    WriteBytes(archive, TGobBuilder()
                            .Add("cog\\caf\xe9.cog", "coffee")
                            .Add("mat\\\x80.mat", "euro")
                            .Add("cog\\nul.cog", "device")
                            .Build());
    const std::string out = scratch.Path("Ωut") + "/";
    const TToolResult extracted = RunTool({"gob", "extract", archive, "-C", out});
    EXPECT_EQ(extracted.ExitCode, 1);
    EXPECT_EQ(extracted.Err, archive + ": Member name is no file name on Windows: cog\\nul.cog\n");
    EXPECT_EQ(ReadBytes(out + "cog/café.cog"), "coffee");
    EXPECT_EQ(ReadBytes(out + "mat/€.mat"), "euro");
    EXPECT_EQ(FolderEntries(out + "cog"), std::vector<std::string>{"café.cog"});

    // Packed again, the names are the archive's bytes they were.
    const std::string packed = scratch.Path("b.gob");
    ASSERT_EQ(RunTool({"gob", "pack", packed, out}).ExitCode, 0);
    const std::string listed = RunTool({"gob", "list", packed}).Out;
    EXPECT_EQ(listed, "0\t288\t6\tcog\\caf\xe9.cog\n1\t294\t4\tmat\\\x80.mat\n");

    // A name Windows-1252 cannot spell has no place in an archive.
    WriteBytes(out + "测.cog", "x");
    const TToolResult refused = RunTool({"gob", "pack", packed, out});
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_TRUE(Contains(refused.Err, "an archive cannot hold the name 测.cog")) << refused.Err;
    EXPECT_EQ(RunTool({"gob", "list", packed}).Out, listed);
}

TEST(ToolPathsTest, WildcardsNameTheMatchingFilesInOrder)
{
    TScratchDir scratch;
    for (const char *name : {"b.cog", "a.cog", "c.txt"})
        WriteBytes(scratch.Path(name), NoCode);
    // Expanded by the shell on Linux, by qxtool on Windows, whose shells leave them.
    const TToolResult all = RunToolLine("check --no-game-checks *.cog", scratch.Folder());
    EXPECT_EQ(all.ExitCode, 1) << all.Err;
    EXPECT_EQ(all.Out, "a.cog" + std::string(NoCodeError) + "b.cog" + NoCodeError);
    // Quoted, a pattern is a name; one that matches nothing is one too.
    const std::pair<const char *, const char *> rows[] = {
        {"check \"*.cog\"", "*.cog: File not found\n"},
        {"check *.mat", "*.mat: File not found\n"},
    };
    for (const auto &[line, err] : rows)
    {
        const TToolResult none = RunToolLine(line, scratch.Folder());
        EXPECT_EQ(none.ExitCode, 2) << line;
        EXPECT_EQ(none.Err, err) << line;
    }
}

#ifdef _WIN32
TEST(ToolPathsTest, DriveLettersAndBackslashesNameFilesOnWindows)
{
    TScratchDir scratch;
    std::string dir = scratch.Folder();
    std::replace(dir.begin(), dir.end(), '/', '\\');
    ASSERT_EQ(dir.substr(1, 2), ":\\");
    WriteBytes(dir + "a.cog", NoCode);
    const TToolResult checked = RunTool({"check", "--no-game-checks", dir + "a.cog"});
    EXPECT_EQ(checked.Out, dir + "a.cog" + NoCodeError);

    // A folder ending with a backslash takes the members below it; its letter case is the
    // one on disk, whatever the member's.
    fs::create_directories(Utf8Path(dir + "out\\cog"));
    WriteBytes(dir + "a.gob", TGobBuilder().Add("COG\\x.cog", "x").Build());
    WriteBytes(dir + "out\\cog\\x.cog", "mine");
    const TToolResult kept = RunTool({"gob", "extract", dir + "a.gob", "-C", dir + "out\\"});
    EXPECT_EQ(kept.Err, dir + "a.gob: kept " + dir + "out\\cog/x.cog, which differs from the " +
                            "member; -f replaces it\n");
    EXPECT_EQ(FolderEntries(dir + "out"), std::vector<std::string>{"cog"});

    // The drive alone is its current folder.
    const TToolResult relative =
        RunTool({"check", "--no-game-checks", dir.substr(0, 2) + "a.cog"}, dir);
    EXPECT_EQ(relative.Out, dir.substr(0, 2) + "a.cog" + NoCodeError);
}
#endif
