#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/core/gobbuilder.h"
#include "tests/tool/tooltest.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {
bool Contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}
} // namespace

TEST(ToolGobTest, ListPrintsEveryEntryOrSaysWhyNot)
{
    TScratchDir scratch;
    const std::string path = scratch.Path("a.gob");
    WriteBytes(path, TGobBuilder()
                         .Add("cog\\door.cog", "12345")
                         .Add("mat\\wall.mat\0old.cog"s, "678")
                         .Add("cog\\door.cog", "")
                         .Build());
    const TToolResult list = RunTool({"gob", "list", path});
    EXPECT_EQ(list.ExitCode, 0);
    EXPECT_EQ(list.Out,
              "0\t424\t5\tcog\\door.cog\n1\t429\t3\tmat\\wall.mat\n2\t432\t0\tcog\\door.cog\n");

    const std::pair<std::string, std::string> bad[] = {
        {TGobBuilder().Signature("GOB!").Build(), "File is Not A Jedi Knight GOB ?"},
        {"Not a real gob file\n", "Read beyond end of file"},
    };
    for (const auto &[bytes, reason] : bad)
    {
        WriteBytes(path, bytes);
        const TToolResult result = RunTool({"gob", "list", path});
        EXPECT_EQ(result.ExitCode, 1) << reason;
        EXPECT_TRUE(Contains(result.Err, reason)) << result.Err;
        EXPECT_EQ(RunTool({"gob", "extract", path, "-C", scratch.Path("out")}).ExitCode, 1);
    }
    EXPECT_TRUE(Contains(RunTool({"gob", "list", scratch.Path("none")}).Err, "File not found"));

    for (const std::vector<std::string> &args : {std::vector<std::string>{"gob"},
                                                 {"gob", "frob", path},
                                                 {"gob", "list"},
                                                 {"gob", "extract", path, "-C"},
                                                 {"gob", "extract", path, "-x"},
                                                 {"gob", "pack", path}})
        EXPECT_EQ(RunTool(args).ExitCode, 2) << args.back();
}

TEST(ToolGobTest, ExtractWritesMembersAtTheirPathsAndRefusesUnsafeOnes)
{
    TScratchDir scratch;
    const std::string path = scratch.Path("a.gob");
    const std::string big = PatternBytes(100000);
    WriteBytes(path, TGobBuilder()
                         .Add("cog\\door.cog\0garbage"s, "door")
                         .Add("3do\\mat\\x.mat", big)
                         .Add("cog\\door.cog", "second door")
                         .Add("..\\escape.cog", "x")
                         .Add("\\rooted.cog", "x")
                         .Add("C:\\drive.cog", "x")
                         .Add("cog\\past.cog", "", 1000000, 10)
                         .Build());
    const TToolResult all = RunTool({"gob", "extract", path, "-C", scratch.Path("out/deep")});
    EXPECT_EQ(all.ExitCode, 1);
    EXPECT_EQ(ReadBytes(scratch.Path("out/deep/cog/door.cog")), "door"); // the first wins
    EXPECT_EQ(ReadBytes(scratch.Path("out/deep/3do/mat/x.mat")), big);
    for (const char *reason :
         {"climbs out of the target folder: ..\\escape.cog", "absolute path: \\rooted.cog",
          "drive letter: C:\\drive.cog", "cog\\past.cog: Read beyond end of file"})
        EXPECT_TRUE(Contains(all.Err, reason)) << reason << "\n" << all.Err;
    size_t files = 0;
    for (const auto &entry : fs::recursive_directory_iterator(scratch.Folder()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 3u); // the archive and the two good members, nothing elsewhere

    // Named members, with slashes or backslashes, into the current folder.
    fs::create_directory(scratch.Path("here"));
    const TToolResult named =
        RunTool({"gob", "extract", path, "cog/door.cog", "cog\\none.cog"}, scratch.Path("here"));
    EXPECT_EQ(named.ExitCode, 1);
    EXPECT_TRUE(Contains(named.Err, "cog\\none.cog: not in the archive")) << named.Err;
    EXPECT_EQ(ReadBytes(scratch.Path("here/cog/door.cog")), "door");
    EXPECT_FALSE(fs::exists(scratch.Path("here/3do")));
}

TEST(ToolGobTest, PackedArchiveListsAndExtractsBackToTheSameFiles)
{
    TScratchDir scratch;
    const std::string src = scratch.Path("src");
    fs::create_directories(src + "/cog");
    fs::create_directories(src + "/3do/mat");
    WriteBytes(src + "/cog/door.cog", "door");
    WriteBytes(src + "/3do/mat/x.mat", PatternBytes(70000));
    WriteBytes(src + "/episode.jk", "");
#ifndef _WIN32
    // Links are not packed. (Windows lets only administrators make them.)
    fs::create_symlink(src + "/episode.jk", src + "/link.jk");
#endif

    const std::string packed = scratch.Path("packed.gob");
    ASSERT_EQ(RunTool({"gob", "pack", packed, src}).ExitCode, 0);
    const std::string bytes = ReadBytes(packed);
    EXPECT_EQ(bytes.substr(0, 16), "GOB \x14\0\0\0\x0c\0\0\0\x03\0\0\0"s);
    EXPECT_EQ(RunTool({"gob", "list", packed}).Out, "0\t424\t70000\t3do\\mat\\x.mat\n"
                                                    "1\t70424\t4\tcog\\door.cog\n"
                                                    "2\t70428\t0\tepisode.jk\n");
    ASSERT_EQ(RunTool({"gob", "extract", packed, "-C", scratch.Path("back")}).ExitCode, 0);
    for (const char *name : {"cog/door.cog", "3do/mat/x.mat", "episode.jk"})
        EXPECT_EQ(ReadBytes(scratch.Path("back/") + name), ReadBytes(src + "/" + name)) << name;

    // The same folder packs to the same bytes, also when the archive lies inside it.
    ASSERT_EQ(RunTool({"gob", "pack", src + "/self.gob", src}).ExitCode, 0);
    ASSERT_EQ(RunTool({"gob", "pack", src + "/self.gob", src}).ExitCode, 0);
    EXPECT_EQ(ReadBytes(src + "/self.gob"), bytes);

    // A name too long for the directory is refused, leaving the old archive whole.
    fs::create_directories(src + "/sub");
    WriteBytes(src + "/sub/" + std::string(124, 'n'), "");
    const TToolResult refused = RunTool({"gob", "pack", packed, src});
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_TRUE(Contains(refused.Err, "name of 128 bytes")) << refused.Err;
    EXPECT_EQ(ReadBytes(packed), bytes);
    EXPECT_FALSE(fs::exists(packed + ".qxtmp"));
    EXPECT_EQ(RunTool({"gob", "pack", packed, scratch.Path("none")}).ExitCode, 1);
}
