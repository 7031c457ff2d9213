#include <climits>
#include <csignal>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <gtest/gtest.h>

#include "core/gamedata/archive.h"
#include "core/shell/binfile.h"
#include "core/shell/fileio.h"
#include "tests/core/gobbuilder.h"

using namespace std::string_literals;
using TNames = std::vector<std::string>;

namespace {
class GobTest : public ::testing::Test
{
  protected:
    // Writes bytes as an archive and reads it into Archive as the program does; returns the
    // read's failure, "" when there is none, "rejected" for a failed signature.
    std::string Open(const std::string &bytes)
    {
        WriteBytes(Path, bytes);
        const TStatus header = ReadGobHeader(Path, Archive);
        if (!header)
            return IsNotAGob(header.Error()) ? "rejected" : header.Error();
        return ReadGobDirectory(Archive).Error();
    }

    TScratchDir Scratch;
    const std::string Path = Scratch.Path("a.gob");
    TGobArchive Archive;
};

std::string AsText(const std::vector<uint8_t> &bytes)
{
    return std::string(bytes.begin(), bytes.end());
}
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
        EXPECT_EQ(ReadGobArchive(Path).Error(), result == "rejected" ? NotAGobMessage : result)
            << bytes;
        EXPECT_EQ(Archive.Count(), 0) << bytes;
    }
    EXPECT_EQ(Archive.Header.Word2, 12); // the last case filled what it had
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
    ASSERT_EQ(Archive.Count(), 4);
    EXPECT_EQ(GobMemberEntry(Archive, 1).Offset, 16 + 4 * 136 + 4);
    EXPECT_EQ(GobMemberEntry(Archive, 1).Length, 1);
    EXPECT_EQ(GobMemberNames(Archive),
              (TNames{"cog\\door.cog", "mat\\cracks.mat", std::string(128, 'a'), "cog\\door.cog"}));
    EXPECT_EQ(GobEntryRawName(Archive, 1), field + std::string(128 - field.size(), '\0'));
    EXPECT_FALSE(IsCogMemberName(GobEntryRawName(Archive, 1)));
    // The first of two equal names is the one found, by the list and by the directory.
    EXPECT_EQ(FindGobMember(Archive, "cog\\door.cog"), 0);
    EXPECT_EQ(FindFirstName(GobMemberNames(Archive), "cog\\door.cog"), 0);
    EXPECT_EQ(FindGobMember(Archive, "mat\\cracks.mat"), 1);
    EXPECT_EQ(FindGobMember(Archive, "cog\\door"), -1);
    EXPECT_THROW(GobEntryName(Archive, 4), std::out_of_range);
    EXPECT_THROW((void)ReadGobMemberBytes(Archive, -1), std::out_of_range);
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
        EXPECT_EQ(GobMemberNames(Archive), c.Names) << c.Bytes.size();
    }
}

TEST_F(GobTest, CountAboveTheTableReadsItsFirstEntriesAndSaysSo)
{
    TGobBuilder builder;
    for (int k = 0; k <= MaxGobEntries; ++k)
        builder.Add(std::string("m").append(std::to_string(k)), "");
    EXPECT_EQ(Open(builder.Build()), "");
    EXPECT_EQ(Archive.Count(), MaxGobEntries);
    EXPECT_TRUE(Archive.CountTruncated);
    EXPECT_EQ(GobEntryName(Archive, MaxGobEntries - 1), "m8191");

    // Reading another archive into the same value replaces the whole directory; a rejected
    // one leaves it empty.
    Open(TGobBuilder().Add("z", "9").Build());
    EXPECT_FALSE(Archive.CountTruncated);
    EXPECT_EQ(GobMemberNames(Archive), TNames{"z"});
    EXPECT_THROW(GobEntryName(Archive, 1), std::out_of_range);
    EXPECT_EQ(Open(TGobBuilder().Signature("GOB!").Add("q", "1").Build()), "rejected");
    EXPECT_TRUE(Archive.Entries.empty());
    EXPECT_EQ(Archive.Path, Path);
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
    EXPECT_EQ(AsText(*ReadGobMemberBytes(Archive, 0)), data);
    EXPECT_EQ(AsText(*ReadGobMemberBytes(Archive, 0, 100)), data.substr(0, 100));
    EXPECT_TRUE(ReadGobMemberBytes(Archive, 1)->empty());
    const std::string target = Scratch.Path("keep");
    for (int k = 2; k < Archive.Count(); ++k)
    {
        WriteBytes(target, "previous");
        EXPECT_EQ(ReadGobMemberBytes(Archive, k).Error(), "Read beyond end of file") << k;
        // A limit does not let a damaged member through either.
        EXPECT_EQ(ReadGobMemberBytes(Archive, k, 1).Error(), "Read beyond end of file") << k;
        EXPECT_EQ(CopyGobMemberToFile(Archive, k, target).Error(), "Read beyond end of file") << k;
        EXPECT_EQ(ReadBytes(target), "previous") << k;
    }
}

TEST_F(GobTest, AMemberIsNeverExtractedOverItsOwnArchive)
{
    const std::string bytes = TGobBuilder().Add("a.gob", "member").Build();
    Open(bytes);
    EXPECT_EQ(CopyGobMemberToFile(Archive, 0, Path).Error(),
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
    for (const auto &[size, blocks] : cases)
    {
        const std::string data = PatternBytes(size, static_cast<unsigned>(size) + 1);
        Open(TGobBuilder().Add("lead", "ab").Add("m", data).Build());
        std::vector<size_t> moved;
        {
            TBinFile source;
            TBinFile dest;
            const int64_t length = OpenGobMember(source, Archive, 1);
            dest.Create(Scratch.Path("out"));
            CopyFileBlock(source, dest, length, [&](size_t block) { moved.push_back(block); });
        }
        EXPECT_EQ(moved, blocks) << size;
        EXPECT_EQ(ReadBytes(Scratch.Path("out")), data) << size;
        ASSERT_TRUE(CopyGobMemberToFile(Archive, 1, Scratch.Path("member")));
        EXPECT_EQ(ReadBytes(Scratch.Path("member")), data) << size;
    }
}

TEST_F(GobTest, CopyToAFileReplacesItWholeAndCreatesNoFolder)
{
    Open(TGobBuilder().Add("cog\\door.cog", "door").Add("mat\\wall.mat", "wall").Build());
    ASSERT_TRUE(CopyGobMemberToFile(Archive, 0, Scratch.Path("door.cog")));
    EXPECT_EQ(ReadBytes(Scratch.Path("door.cog")), "door");
    WriteBytes(Scratch.Path("door.cog"), "an older and longer text");
    ASSERT_TRUE(CopyGobMemberToFile(Archive, 0, Scratch.Path("door.cog")));
    EXPECT_EQ(ReadBytes(Scratch.Path("door.cog")), "door");
    // Windows tells a missing folder from a missing file; errno does not.
#ifdef _WIN32
    const char *const missingFolder = "Path not found";
#else
    const char *const missingFolder = "File not found";
#endif
    EXPECT_EQ(CopyGobMemberToFile(Archive, 1, Scratch.Path("mat/wall.mat")).Error(), missingFolder);
    EXPECT_FALSE(std::filesystem::exists(Scratch.Path("mat")));
}

TEST_F(GobTest, ACopyThatFailsOnTheWayLeavesTheFileThatWasThere)
{
#ifdef _WIN32
    GTEST_SKIP() << "the file size limit that makes a write fail half way is POSIX's";
#else
    Open(TGobBuilder().Add("cog\\big.cog", PatternBytes(70000)).Build());
    WriteBytes(Scratch.Path("big.cog"), "the user's own");
    // Writes past 40000 bytes fail, as on a full disk.
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 40000;
    setrlimit(RLIMIT_FSIZE, &small);
    const TStatus copied = CopyGobMemberToFile(Archive, 0, Scratch.Path("big.cog"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(copied);
    EXPECT_TRUE(ReadBytes(Scratch.Path("big.cog")) == "the user's own");
    EXPECT_EQ(FolderEntries(Scratch.Folder()), (std::vector<std::string>{"a.gob", "big.cog"}));
#endif
}

TEST(GobNameTest, MemberNamesBecomeRelativePathsOrAreRefused)
{
    const std::pair<std::string, std::string> cases[] = {
        // name, relative path ("" when refused)
        {"cog\\door.cog", "cog/door.cog"},
        {"3do\\mat\\a.mat", "3do/mat/a.mat"},
        {"cog\\\\.\\x.cog", "cog/x.cog"},
        {"...x", "...x"},
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
        // Names Windows takes for devices or streams, cuts short, or cannot make.
        {"cog\\con", ""},
        {"Nul.cog", ""},
        {"aux .txt", ""},
        {"com1.cog", ""},
        {"lpt9", ""},
        {"cog\\x.cog:stream", ""},
        {"cog.\\x.cog", ""},
        {"x.cog ", ""},
        {"...", ""},
        {"a*.cog", ""},
        {"a?.cog", ""},
        {"a|b.cog", ""},
        {"a\"b.cog", ""},
        {"a<b>.cog", ""},
        {"a\tb.cog", ""},
        // Only the whole stem is a device's name.
        {"console.cog", "console.cog"},
        {"com10.cog", "com10.cog"},
        {"com0.cog", "com0.cog"},
        {"nul_door.cog", "nul_door.cog"},
        {"cog\\.nul", "cog/.nul"},
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
    ASSERT_TRUE(WriteGobArchive(Path, members, [&](size_t k, TBinFile &output) {
        output.Write(files[k].second.data(), files[k].second.size());
    }));
    ASSERT_TRUE(ReadGobHeader(Path, Archive));
    ASSERT_TRUE(ReadGobDirectory(Archive));
    EXPECT_EQ(ReadBytes(Path).substr(0, 16), "GOB \x14\0\0\0\x0c\0\0\0\x03\0\0\0"s);
    ASSERT_EQ(Archive.Count(), 3);
    for (int k = 0; k < 3; ++k)
    {
        EXPECT_EQ(GobEntryName(Archive, k), files[k].first);
        EXPECT_EQ(AsText(*ReadGobMemberBytes(Archive, k)), files[k].second);
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
        const std::string error = WriteGobArchive(Path, members, writer).Error();
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
    // A failure of the writer's own files comes back as it is.
    const std::string missing = Scratch.Path("missing");
    EXPECT_EQ(refusal({{"a", 1}},
                      [&](size_t, TBinFile &) {
                          TBinFile input;
                          input.OpenRead(missing);
                      }),
              "File not found");
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
        EXPECT_EQ(FindTypedGobMember(Archive, typed), index) << typed;
}

TEST_F(GobTest, ExtractionToAFolderCreatesTheMembersFolders)
{
    Open(TGobBuilder().Add("3do\\mat\\x.mat", "x").Add("cog\\y.cog", "y").Build());
    const std::string target = Scratch.Path("out/");
    std::filesystem::create_directory(target);
    ASSERT_TRUE(ExtractGobMember(Archive, 0, target, "3do/mat/x.mat"));
    EXPECT_EQ(ReadBytes(target + "3do/mat/x.mat"), "x");
    WriteBytes(target + "cog", "a file where the folder would go");
    EXPECT_EQ(ExtractGobMember(Archive, 1, target, "cog/y.cog").Error(),
              "Cannot create folder " + target + "cog");
    EXPECT_THROW((void)ExtractGobMember(Archive, 2, target, "z"), std::out_of_range);
}

TEST_F(GobTest, ArchivesReadAtOnceEachReadTheirOwnMembers)
{
    // The same names at other places, and a member only one of them has.
    const std::string firstPath = Scratch.Path("first.gob");
    const std::string secondPath = Scratch.Path("second.goo");
    WriteBytes(firstPath,
               TGobBuilder().Add("cog\\door.cog", "door 1").Add("mat\\a.mat", "mat 1").Build());
    WriteBytes(secondPath, TGobBuilder()
                               .Add("mat\\a.mat", "the second archive's mat")
                               .Add("cog\\door.cog", "door 2")
                               .Add("only.cog", "only 2")
                               .Build());
    const TResult<TGobArchive> first = ReadGobArchive(firstPath);
    const TResult<TGobArchive> second = ReadGobArchive(secondPath);
    ASSERT_TRUE(first && second);
    // A third read meanwhile changes neither.
    Open(TGobBuilder().Add("cog\\door.cog", "door 3").Build());
    const struct
    {
        const TGobArchive &Archive;
        std::string Name;
        int Index;
        std::string Bytes;
    } cases[] = {
        {*first, "cog\\door.cog", 0, "door 1"},
        {*second, "cog\\door.cog", 1, "door 2"},
        {Archive, "cog\\door.cog", 0, "door 3"},
        {*first, "mat\\a.mat", 1, "mat 1"},
        {*second, "mat\\a.mat", 0, "the second archive's mat"},
        {*first, "only.cog", -1, ""},
        {*second, "only.cog", 2, "only 2"},
    };
    for (const auto &c : cases)
    {
        ASSERT_EQ(FindGobMember(c.Archive, c.Name), c.Index) << c.Archive.Path << " " << c.Name;
        if (c.Index < 0)
            continue;
        EXPECT_EQ(AsText(*ReadGobMemberBytes(c.Archive, c.Index)), c.Bytes) << c.Name;
        ASSERT_TRUE(CopyGobMemberToFile(c.Archive, c.Index, Scratch.Path("out")));
        EXPECT_EQ(ReadBytes(Scratch.Path("out")), c.Bytes) << c.Name;
    }
    EXPECT_EQ(first->Path, firstPath);
    EXPECT_EQ(second->Count(), 3);
}
