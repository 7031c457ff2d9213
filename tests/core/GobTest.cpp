#include <climits>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/gamedata/G_fileops.h"
#include "core/shell/GlobalVar.h"
#include "core/shell/fileio.h"
#include "core/shell/ioerror.h"
#include "tests/core/gobbuilder.h"

using namespace std::string_literals;
using TNames = std::vector<std::string>;

namespace {
class GobTest : public ::testing::Test
{
  protected:
    void TearDown() override
    {
        SetCopyBlockHook(nullptr);
        ProgramDir.clear();
    }

    // Writes bytes as an archive and reads it as the program does; returns the read's
    // TIOError message, "" when there is none, "rejected" for a failed signature.
    std::string Open(const std::string &bytes)
    {
        WriteBytes(Path, bytes);
        try
        {
            if (!ReadGobHeader(Path))
                return "rejected";
            ReadGobDirectory(Path);
        }
        catch (const TIOError &error)
        {
            return error.what();
        }
        return "";
    }

    TScratchDir Scratch;
    const std::string Path = Scratch.Path("a.gob");
};

template <typename F> std::string IOErrorOf(F run)
{
    try
    {
        run();
    }
    catch (const TIOError &error)
    {
        return error.what();
    }
    return "";
}

std::vector<size_t> Blocks;
} // namespace

TEST_F(GobTest, OnlyTheFourthSignatureByteIsTested)
{
    const std::pair<std::string, std::string> cases[] = {
        {TGobBuilder().Signature("XYZ ").Build(), ""},
        {TGobBuilder().Signature("GOB!").Build(), "rejected"},
        {"", "rejected"},           // empty file
        {"GO", "rejected"},         // cut inside the signature
        {"XYZ ", ""},               // cut after it: count 0
        {"GOB \x14\0\0\0\x0c"s, ""} // cut inside the words
    };
    for (const auto &[bytes, result] : cases)
    {
        EXPECT_EQ(Open(bytes), result) << bytes;
        EXPECT_EQ(NotAGob, result.empty() ? 0 : 1) << bytes;
        EXPECT_EQ(GobEntryCount(), 0) << bytes;
    }
    EXPECT_EQ(GobHeader.Word2, 12); // the last case filled what it had
}

TEST_F(GobTest, DirectoryNamesEndAtTheirFirstNul)
{
    const std::string field = "mat\\cracks.mat\0cog\\00_door.cog"s; // leftover of an old name
    ASSERT_EQ(Open(TGobBuilder()
                       .Add("cog\\door.cog", "door")
                       .Add(field, "m")
                       .Add(std::string(128, 'a'), "") // no NUL at all
                       .Add("cog\\door.cog\0x"s, "second door")
                       .Build()),
              "");
    ASSERT_EQ(GobEntryCount(), 4);
    EXPECT_EQ(GobDirectory[1].Offset, 16 + 4 * 136 + 4);
    EXPECT_EQ(GobDirectory[1].Length, 1);
    EXPECT_EQ(GobMemberNames(),
              (TNames{"cog\\door.cog", "mat\\cracks.mat", std::string(128, 'a'), "cog\\door.cog"}));
    EXPECT_EQ(GobEntryRawName(1), field + std::string(128 - field.size(), '\0'));
    EXPECT_FALSE(IsCogMemberName(GobEntryRawName(1)));
    // The first of two equal names is the one found, by the list and by the directory.
    EXPECT_EQ(FindGobMember("cog\\door.cog"), 0);
    EXPECT_EQ(FindFirstName(GobMemberNames(), "cog\\door.cog"), 0);
    EXPECT_EQ(FindGobMember("mat\\cracks.mat"), 1);
    EXPECT_EQ(FindGobMember("cog\\door"), -1);
    EXPECT_THROW(GobEntryName(4), std::out_of_range);
    EXPECT_THROW(ReadGobMember(Path, -1), std::out_of_range);
}

TEST(GobNameTest, CogFilterIsACaseSensitiveSubstringBeforeTheNul)
{
    const std::pair<std::string, bool> cases[] = {
        {"cog\\door.cog", true},
        {"cog\\DOOR.COG", false},
        {"cog\\door.cogs", true},
        {"misc\\cogstrings.uni", false},
        {"episode.jk\0jkl\\x.cog"s, false},
        {"", false},
    };
    for (const auto &[name, listed] : cases)
        EXPECT_EQ(IsCogMemberName(name), listed) << name;
}

TEST_F(GobTest, CountsTheFileCannotHoldKeepTheWholeEntriesThere)
{
    std::string cut = TGobBuilder().Add("a", "1").Add("b", "2").Add("c", "3").Build();
    cut.resize(16 + 2 * 136 + 60);
    const struct
    {
        std::string Bytes, Error;
        TNames Names;
    } cases[] = {
        {TGobBuilder().Add("a", "1").Count(0).Build(), "", {}},
        {TGobBuilder().Add("a", "1").Count(-1).Build(), "", {}},
        {TGobBuilder().Count(INT32_MIN).Build(), "", {}},
        // Text renamed to .gob: its count reads as 1.7 billion.
        {"Not a real gob file\n", "Read beyond end of file", {}},
        // Nothing follows the header: there is no directory to read, whatever the count.
        {TGobBuilder().Count(5).Build(), "", {}},
        {TGobBuilder().Count(5).Build() + "x", "Read beyond end of file", {}},
        {cut, "Read beyond end of file", {"a", "b"}},
    };
    for (const auto &c : cases)
    {
        EXPECT_EQ(Open(c.Bytes), c.Error) << c.Bytes.size();
        EXPECT_EQ(GobMemberNames(), c.Names) << c.Bytes.size();
    }
}

TEST_F(GobTest, CountAboveTheTableReadsItsFirstEntriesAndSaysSo)
{
    TGobBuilder builder;
    for (int k = 0; k <= MaxGobEntries; ++k)
        builder.Add(std::string("m").append(std::to_string(k)), "");
    EXPECT_EQ(Open(builder.Build()), "");
    EXPECT_EQ(GobEntryCount(), MaxGobEntries);
    EXPECT_TRUE(GobCountTruncated());
    EXPECT_EQ(GobEntryName(MaxGobEntries - 1), "m8191");

    // The next archive replaces the whole directory; a rejected one leaves it empty.
    Open(TGobBuilder().Add("z", "9").Build());
    EXPECT_FALSE(GobCountTruncated());
    EXPECT_EQ(GobMemberNames(), TNames{"z"});
    EXPECT_EQ(GobDirectory[1].Name[0], '\0');
    EXPECT_EQ(Open(TGobBuilder().Signature("GOB!").Add("q", "1").Build()), "rejected");
    EXPECT_EQ(GobDirectory[0].Name[0], '\0');
}

TEST_F(GobTest, MemberOutsideTheFileFailsBeforeAnythingIsAllocatedOrWritten)
{
    const std::string data = PatternBytes(70000);
    Open(TGobBuilder()
             .Add("good", data)
             .Add("empty", "")
             .Add("past end", "", 16 + 6 * 136 + 1, 70000)
             .Add("huge", "", 16, INT32_MAX)
             .Add("negative offset", "", -1, 1)
             .Add("negative length", "", 16, -5)
             .Build());
    ReadGobMember(Path, 0);
    EXPECT_EQ(std::string(MemberBuffer.begin(), MemberBuffer.end()), data);
    ReadGobMember(Path, 1);
    EXPECT_TRUE(MemberBuffer.empty());
    const std::string target = Scratch.Path("keep");
    for (int k = 2; k < GobEntryCount(); ++k)
    {
        WriteBytes(target, "previous");
        ReadGobMember(Path, 0);
        EXPECT_EQ(IOErrorOf([&] { ReadGobMember(Path, k); }), "Read beyond end of file") << k;
        EXPECT_TRUE(MemberBuffer.empty()) << k;
        EXPECT_EQ(IOErrorOf([&] { CopyGobMemberToFile(Path, k, target); }),
                  "Read beyond end of file")
            << k;
        EXPECT_EQ(ReadBytes(target), "previous") << k;
    }
}

TEST_F(GobTest, AMemberIsNeverExtractedOverItsOwnArchive)
{
    const std::string bytes = TGobBuilder().Add("a.gob", "member").Build();
    Open(bytes);
    EXPECT_EQ(IOErrorOf([&] { CopyGobMemberToFile(Path, 0, Path); }),
              "Cannot extract a member over its own archive");
    EXPECT_EQ(ReadBytes(Path), bytes);
}

TEST_F(GobTest, CopyMovesFullBlocksOfAtMost32768Bytes)
{
    const std::pair<size_t, std::vector<size_t>> cases[] = {
        {0, {}},
        {32768, {32768}},
        {32769, {32768, 1}},
        {65536, {32768, 32768}},
        {100000, {32768, 32768, 32768, 1696}},
    };
    SetCopyBlockHook([](size_t size) { Blocks.push_back(size); });
    for (const auto &[size, blocks] : cases)
    {
        const std::string data = PatternBytes(size, static_cast<unsigned>(size) + 1);
        Open(TGobBuilder().Add("lead", "ab").Add("m", data).Build());
        Blocks.clear();
        CopyGobMemberToFile(Path, 1, Scratch.Path("out"));
        EXPECT_EQ(Blocks, blocks) << size;
        EXPECT_EQ(ReadBytes(Scratch.Path("out")), data) << size;
    }
}

TEST_F(GobTest, ExtractionCreatesOnlyTheCogFolderAndReplacesTargets)
{
    ProgramDir = Scratch.Folder();
    ArchivePath = Path;
    Open(TGobBuilder().Add("cog\\door.cog", "door").Add("mat\\wall.mat", "wall").Build());
    ExtractGobMember(ProgramDir + "cog/door.cog", 0);
    WriteBytes(Scratch.Path("cog/door.cog"), "an older and longer text");
    ExtractGobMember(ProgramDir + "cog/door.cog", 0);
    EXPECT_EQ(ReadBytes(Scratch.Path("cog/door.cog")), "door");
    EXPECT_THROW(ExtractGobMember(ProgramDir + "mat/wall.mat", 1), TIOError);
    EXPECT_FALSE(std::filesystem::exists(Scratch.Path("mat")));

    std::filesystem::remove_all(Scratch.Path("cog"));
    Open(TGobBuilder().Signature("GOB!").Add("cog\\door.cog", "door").Build());
    ExtractGobMember(ProgramDir + "cog/door.cog", 0); // a rejected archive extracts nothing
    EXPECT_FALSE(std::filesystem::exists(Scratch.Path("cog")));
}

TEST(GobNameTest, MemberNamesBecomeRelativePathsOrAreRefused)
{
    const std::pair<std::string, std::string> cases[] = {
        // name, relative path ("" when refused)
        {"cog\\door.cog", "cog/door.cog"},
        {"3do\\mat\\a.mat", "3do/mat/a.mat"},
        {"cog\\\\.\\x.cog", "cog/x.cog"},
        {"...", "..."},
        {"cog\\x.cog\0..\\..\\evil"s, "cog/x.cog"},
        {"", ""},
        {"\0cog\\x.cog"s, ""},
        {"\\windows\\x.cog", ""},
        {"/etc/x", ""},
        {"C:\\x.cog", ""},
        {"c:x.cog", ""},
        {"cog\\..\\..\\x.cog", ""},
        {"cog/../x.cog", ""},
        {"cog\\..", ""},
        {"cog\\", ""},
        {".\\.", ""},
    };
    for (const auto &[name, expected] : cases)
    {
        std::string relPath = "stale";
        std::string error = "stale";
        EXPECT_EQ(MemberPathToRelative(name, relPath, error), !expected.empty()) << name;
        EXPECT_EQ(relPath, expected) << name;
        EXPECT_EQ(error.empty(), !expected.empty()) << name;
    }
}

TEST_F(GobTest, WrittenArchivesReadBackMemberForMember)
{
    const std::vector<std::pair<std::string, std::string>> files = {
        {"cog\\door.cog", "door"},
        {"3do\\mat\\x.mat", PatternBytes(70000)},
        {"episode.jk", ""},
    };
    std::vector<TGobMemberInfo> members;
    for (const auto &[name, bytes] : files)
        members.push_back({name, static_cast<int64_t>(bytes.size())});
    WriteGobArchive(Path, members, [&](size_t k, TBinFile &output) {
        output.Write(files[k].second.data(), files[k].second.size());
    });
    ASSERT_TRUE(ReadGobHeader(Path));
    ReadGobDirectory(Path);
    EXPECT_EQ(ReadBytes(Path).substr(0, 16), "GOB \x14\0\0\0\x0c\0\0\0\x03\0\0\0"s);
    ASSERT_EQ(GobEntryCount(), 3);
    for (int k = 0; k < 3; ++k)
    {
        EXPECT_EQ(GobEntryName(k), files[k].first);
        ReadGobMember(Path, k);
        EXPECT_EQ(std::string(MemberBuffer.begin(), MemberBuffer.end()), files[k].second);
    }
    // The tests' builder lays archives out the same way.
    TGobBuilder builder;
    for (const auto &[name, bytes] : files)
        builder.Add(name, bytes);
    EXPECT_EQ(builder.Build(), ReadBytes(Path));
}

TEST_F(GobTest, ArchivesTheReaderCannotHoldAreRefusedBeforeWriting)
{
    WriteBytes(Path, "old archive");
    const auto refusal = [&](const std::vector<TGobMemberInfo> &members,
                             const TGobMemberWriter &writer) {
        const std::string error = IOErrorOf([&] { WriteGobArchive(Path, members, writer); });
        EXPECT_EQ(ReadBytes(Path), "old archive") << error;
        EXPECT_FALSE(std::filesystem::exists(Path + ".qxtmp")) << error;
        return error;
    };
    const TGobMemberWriter silent = [](size_t, TBinFile &) {};
    const TGobMemberWriter one = [](size_t, TBinFile &output) { output.Write("x", 1); };
    EXPECT_EQ(refusal(std::vector<TGobMemberInfo>(MaxGobEntries + 1), silent),
              "8193 members; an archive holds at most 8192");
    EXPECT_EQ(refusal({{"ok", 0}, {std::string(128, 'n'), 0}}, silent),
              std::string(128, 'n') + ": name of 128 bytes; the directory holds up to 127");
    EXPECT_EQ(refusal({{"a", INT32_MAX - 200}, {"b", 100}}, silent),
              "The archive would pass 2 GiB");
    EXPECT_EQ(refusal({{"grown", 0}}, one), "grown changed while packing");
    EXPECT_EQ(refusal({{"shrunk", 2}}, one), "shrunk changed while packing");
    EXPECT_EQ(refusal({{"a", 1}}, [](size_t, TBinFile &) { throw TIOError("Disk full"); }),
              "Disk full");
}

TEST_F(GobTest, ATypedNameFindsItsMemberWithEitherSlash)
{
    Open(TGobBuilder()
             .Add("cog\\door.cog", "1")
             .Add("mat/stored.mat", "2")
             .Add("cog\\door.cog", "3")
             .Add("a/b\\c", "4")
             .Build());
    const std::pair<std::string, int> cases[] = {
        {"cog\\door.cog", 0},    {"cog/door.cog", 0}, {"mat/stored.mat", 1},
        {"mat\\stored.mat", -1}, {"a/b/c", -1},       {"a/b\\c", 3},
        {"COG/door.cog", -1},    {"cog/door", -1},    {"", -1},
    };
    for (const auto &[typed, index] : cases)
        EXPECT_EQ(FindTypedGobMember(typed), index) << typed;
}

TEST_F(GobTest, ExtractionToAFolderCreatesTheMembersFolders)
{
    Open(TGobBuilder().Add("3do\\mat\\x.mat", "x").Add("cog\\y.cog", "y").Build());
    const std::string target = Scratch.Path("out/");
    std::filesystem::create_directory(target);
    ExtractGobMember(Path, 0, target, "3do/mat/x.mat");
    EXPECT_EQ(ReadBytes(target + "3do/mat/x.mat"), "x");
    WriteBytes(target + "cog", "a file where the folder would go");
    EXPECT_EQ(IOErrorOf([&] { ExtractGobMember(Path, 1, target, "cog/y.cog"); }),
              "Cannot create folder " + target + "cog");
    EXPECT_THROW(ExtractGobMember(Path, 2, target, "z"), std::out_of_range);
}
