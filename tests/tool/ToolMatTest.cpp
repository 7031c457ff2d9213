#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/core/gobbuilder.h"
#include "tests/tool/tooltest.h"

namespace {
using TBytes = std::string;

void PutInt(TBytes &bytes, size_t at, int32_t value)
{
    if (bytes.size() < at + 4)
        bytes.resize(at + 4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
}

// A width x height texture whose first row is all 1, the others all 2.
TBytes TextureMat(int width, int height)
{
    TBytes bytes(76, '\0');
    std::memcpy(bytes.data(), "MAT ", 4);
    PutInt(bytes, 8, 2);
    PutInt(bytes, 12, 1);
    bytes.resize(116, '\0');
    PutInt(bytes, 116, width);
    PutInt(bytes, 120, height);
    bytes.resize(140, '\0');
    bytes.append(static_cast<size_t>(width), '\1');
    bytes.append(static_cast<size_t>(width) * static_cast<size_t>(height - 1), '\2');
    return bytes;
}

// A colormap in which every entry is red 0x10, green 0x20, blue 0x30.
TBytes CmpBytes()
{
    TBytes bytes = "CMP ";
    bytes.resize(64, '\0');
    for (int i = 0; i < 256; ++i)
        bytes += "\x10\x20\x30";
    return bytes;
}

TBytes GobBytes(const std::vector<std::pair<std::string, TBytes>> &members)
{
    TGobBuilder builder;
    // Left-over bytes after the NUL, as old packing tools wrote them.
    for (const auto &[name, bytes] : members)
        builder.Add(name + '\0' + "junk.cog", bytes);
    return builder.Build();
}

void WriteFile(const std::string &path, const TBytes &bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TBytes ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char *const Size64Texts = "Size in pixels =  64 Wide x  64 High\n"
                                "Size in Kovo Grid = 0.20 Wide x 0.20 High\n";

class ToolMatTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        Dir = MakeTempDir();
        WriteFile(Dir + "/wall.mat", TextureMat(64, 64));
        WriteFile(Dir + "/dflt.cmp", CmpBytes());
        WriteFile(Dir + "/res.gob", GobBytes({{"misc\\cmp\\dflt.cmp", CmpBytes()},
                                              {"mat\\wall.mat", TextureMat(64, 64)}}));
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }

    std::string Dir;
};

TEST_F(ToolMatTest, ConvertsLooseAndArchivedTextures)
{
    const std::vector<std::vector<std::string>> calls = {
        {"mat2bmp", "--cmp", "dflt.cmp", "wall.mat", "out.bmp"},
        {"mat2bmp", "wall.mat", "out.bmp", "--cmp", "dflt.cmp"},
        {"mat2bmp", "--archive", "res.gob", "--cmp", "misc\\cmp\\dflt.cmp", "mat\\wall.mat",
         "out.bmp"},
        {"mat2bmp", "--archive", "res.gob", "--cmp", "misc/cmp/dflt.cmp", "mat/wall.mat",
         "out.bmp"},
    };
    for (const auto &args : calls)
    {
        SCOPED_TRACE(args[2] + " " + args[3]);
        std::filesystem::remove(Dir + "/out.bmp");
        const TToolResult result = RunTool(args, Dir);
        EXPECT_EQ(result.ExitCode, 0) << result.Err;
        EXPECT_EQ(result.Out, Size64Texts);
        const TBytes bmp = ReadFile(Dir + "/out.bmp");
        ASSERT_EQ(bmp.size(), 5174u);
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(bmp.substr(54, 4), std::string("\x30\x20\x10\0", 4));
        // The first MAT row is the top line, stored last.
        EXPECT_EQ(bmp[5174 - 1], '\1');
        EXPECT_EQ(bmp[1078], '\2');
    }
    EXPECT_FALSE(std::filesystem::exists(Dir + "/out.bmp.qxtmp"));
}

TEST_F(ToolMatTest, WithoutAColormapThePaletteIsBlack)
{
    const TToolResult result = RunTool({"mat2bmp", "wall.mat", "black.bmp"}, Dir);
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const TBytes bmp = ReadFile(Dir + "/black.bmp");
    ASSERT_EQ(bmp.size(), 5174u);
    EXPECT_EQ(bmp.substr(54, 1024), std::string(1024, '\0'));
}

TEST_F(ToolMatTest, FailuresKeepTheOldPictureAndSayWhy)
{
    WriteFile(Dir + "/old.bmp", "old");
    WriteFile(Dir + "/notmat.mat", "MAX " + std::string(200, '\0'));
    WriteFile(Dir + "/notgob.gob", "GOB!" + std::string(12, '\0'));
    TBytes huge = TextureMat(64, 64);
    PutInt(huge, 116, 4096);
    PutInt(huge, 120, 4096);
    WriteFile(Dir + "/huge.mat", huge);
    struct TCase
    {
        std::vector<std::string> Args;
        const char *Message;
    };
    const TCase cases[] = {
        {{"mat2bmp", "notmat.mat", "old.bmp"}, "Not a Mat File"},
        {{"mat2bmp", "missing.mat", "old.bmp"}, "File not found"},
        {{"mat2bmp", "huge.mat", "old.bmp"}, "does not fit"},
        {{"mat2bmp", "--cmp", "missing.cmp", "wall.mat", "old.bmp"}, "missing.cmp: File not found"},
        {{"mat2bmp", "--cmp", "notmat.mat", "wall.mat", "old.bmp"}, "Colormap too short"},
        {{"mat2bmp", "--archive", "res.gob", "mat\\none.mat", "old.bmp"},
         "no member mat\\none.mat"},
        // The name field ends at its first NUL; the bytes after it do not count.
        {{"mat2bmp", "--archive", "res.gob", "junk.cog", "old.bmp"}, "no member junk.cog"},
        {{"mat2bmp", "--archive", "res.gob", "misc\\cmp\\dflt.cmp", "old.bmp"}, "Not a Mat File"},
        {{"mat2bmp", "--archive", "notgob.gob", "mat\\wall.mat", "old.bmp"},
         "File is Not A Jedi Knight GOB ?"},
        {{"mat2bmp", "--archive", "none.gob", "mat\\wall.mat", "old.bmp"}, "File not found"},
    };
    for (const TCase &c : cases)
    {
        SCOPED_TRACE(c.Args[1] + " " + c.Args[2]);
        const TToolResult result = RunTool(c.Args, Dir);
        EXPECT_EQ(result.ExitCode, 1);
        EXPECT_NE(result.Err.find(c.Message), std::string::npos) << result.Err;
        EXPECT_EQ(result.Out, "");
        EXPECT_EQ(ReadFile(Dir + "/old.bmp"), "old");
    }
}

TEST_F(ToolMatTest, UsageErrors)
{
    const std::vector<std::vector<std::string>> calls = {
        {"mat2bmp"},
        {"mat2bmp", "wall.mat"},
        {"mat2bmp", "wall.mat", "a.bmp", "b.bmp"},
        {"mat2bmp", "wall.mat", "a.bmp", "--cmp"},
        {"mat2bmp", "--archive", "wall.mat", "a.bmp"},
        {"mat2bmp", "--palette", "dflt.cmp", "wall.mat", "a.bmp"},
    };
    for (const auto &args : calls)
    {
        const TToolResult result = RunTool(args, Dir);
        EXPECT_EQ(result.ExitCode, 2) << args.size();
        EXPECT_NE(result.Err.find("Usage: qxtool mat2bmp"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(Dir + "/a.bmp"));
    }
}
} // namespace
