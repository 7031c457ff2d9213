// qxtool gob extract against files already on disk: folders whatever their letter case, and
// existing files that differ from the member kept unless -f.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/core/gobbuilder.h"
#include "tests/tool/tooltest.h"

namespace fs = std::filesystem;

TEST(ToolExtractTest, MembersReachFoldersInAnotherCaseAndKeepEditedFilesUnlessForced)
{
    TScratchDir scratch;
    const std::string path = scratch.Path("a.gob");
    WriteBytes(path, TGobBuilder()
                         .Add("COG\\edited.cog", "archive")
                         .Add("COG\\same.cog", "same")
                         .Add("COG\\new.cog", "new")
                         .Build());
    const std::string out = scratch.Path("out");
    fs::create_directories(out + "/cog");
    WriteBytes(out + "/cog/edited.cog", "mine");
    WriteBytes(out + "/cog/same.cog", "same");

    const TToolResult kept = RunTool({"gob", "extract", path, "-C", out});
    EXPECT_EQ(kept.ExitCode, 0) << kept.Err;
    EXPECT_EQ(FolderEntries(out), std::vector<std::string>{"cog"});
    EXPECT_EQ(ReadBytes(out + "/cog/new.cog"), "new");
    EXPECT_EQ(ReadBytes(out + "/cog/edited.cog"), "mine");
    EXPECT_NE(kept.Err.find("kept " + out + "/cog/edited.cog"), std::string::npos) << kept.Err;
    EXPECT_EQ(kept.Err.find("same.cog"), std::string::npos) << kept.Err;

    for (const char *force : {"-f", "--force"})
    {
        WriteBytes(out + "/cog/edited.cog", "mine");
        const TToolResult forced = RunTool({"gob", "extract", path, force, "-C", out});
        EXPECT_EQ(forced.ExitCode, 0) << forced.Err;
        EXPECT_EQ(ReadBytes(out + "/cog/edited.cog"), "archive") << force;
        EXPECT_TRUE(forced.Err.empty()) << forced.Err;
    }
}

TEST(ToolExtractTest, AMemberWhoseFolderCannotBeMadeFailsAloneAndSaysWhy)
{
    TScratchDir scratch;
    const std::string path = scratch.Path("a.gob");
    WriteBytes(path, TGobBuilder().Add("cog\\a.cog", "a").Add("b.cog", "b").Build());
    const std::string out = scratch.Path("out");
    fs::create_directories(out);
    WriteBytes(out + "/cog", "a file where the folder would go");

    const TToolResult result = RunTool({"gob", "extract", path, "-C", out});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Err, path + ": cog\\a.cog: Cannot create folder " + out + "/cog\n");
    EXPECT_EQ(ReadBytes(out + "/b.cog"), "b");
    EXPECT_EQ(ReadBytes(out + "/cog"), "a file where the folder would go");
}
