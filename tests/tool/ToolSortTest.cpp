#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/analysis/symtools.h"
#include "tests/core/gobbuilder.h"
#include "tests/tool/tooltest.h"

namespace {
const std::string Script = "# keep\ttabs  \r\n"
                           "symbols\r\n"
                           "thing\tplayer\t\tlocal\r\n"
                           "end\r\n"
                           "\tthing  x;\n";
} // namespace

TEST(ToolSortTest, PrintsTheSortedScriptOrRewritesItInPlace)
{
    TScratchDir scratch;
    const std::string path = scratch.Path("a.cog");
    WriteBytes(path, Script);
    const TToolResult printed = RunTool({"sort-symbols", path});
    EXPECT_EQ(printed.ExitCode, 0);
    const std::string sorted = SortSymbolsInText(Script);
    EXPECT_NE(sorted, Script);
    EXPECT_EQ(printed.Out, sorted);
    EXPECT_EQ(ReadTextFile(path), Script);

    const std::string other = scratch.Path("b.cog");
    WriteBytes(other, "no sections\n");
    // Other permissions than a new file gets (on Windows, where only "read-only" is kept, the
    // same ones).
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write);
    const std::filesystem::perms mode = std::filesystem::status(path).permissions();
    const auto before = std::filesystem::last_write_time(other);
    const TToolResult rewritten = RunTool({"sort-symbols", "-i", path, other});
    EXPECT_EQ(rewritten.ExitCode, 0);
    EXPECT_EQ(rewritten.Out, "");
    EXPECT_EQ(ReadTextFile(path), sorted);
    EXPECT_EQ(std::filesystem::status(path).permissions(), mode);
    EXPECT_EQ(ReadTextFile(other), "no sections\n");
    EXPECT_EQ(std::filesystem::last_write_time(other), before);
    // Nothing but the script is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.Folder()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(ToolSortTest, LoneCarriageReturnsEndLinesAsInTheEditor)
{
    TScratchDir scratch;
    const std::string path = scratch.Path("cr.cog");
    WriteBytes(path, "# old\rsymbols\rthing player local\rend\r");
    const TToolResult printed = RunTool({"sort-symbols", path});
    EXPECT_EQ(printed.ExitCode, 0);
    EXPECT_EQ(printed.Out, "# old\r\nsymbols\r\nthing" + std::string(8, ' ') + "player" +
                               std::string(29, ' ') + "local" + std::string(25, ' ') + "\r\nend" +
                               std::string(75, ' ') + "\r\n");
}

TEST(ToolSortTest, FailuresAndUsage)
{
    TScratchDir scratch;
    const TToolResult missing = RunTool({"sort-symbols", scratch.Path("none.cog")});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_NE(missing.Err.find("none.cog"), std::string::npos) << missing.Err;
    for (const auto &args :
         {std::vector<std::string>{"sort-symbols"}, std::vector<std::string>{"sort-symbols", "-i"},
          std::vector<std::string>{"sort-symbols", "a.cog", "b.cog"}})
        EXPECT_EQ(RunTool(args).ExitCode, 2) << args.size();
}
