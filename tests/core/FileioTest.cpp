#include "core/shell/fileio.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "core/shell/binfile.h"
#include "core/shell/folders.h"
#include "tests/core/gobbuilder.h"

namespace fs = std::filesystem;

namespace {
class FileioTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() /
              ("qx-fileio-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override
    {
        fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(Dir);
    }
    std::string Path(const std::string &name) const { return (Dir / name).string(); }

    fs::path Dir;
};
} // namespace

TEST_F(FileioTest, AFileThatCannotBeReadFailsWithTheStandardText)
{
    fs::create_directory(Path("folder"));
    std::ofstream(Path("plain")) << "x";
    const std::pair<std::string, std::string> rows[] = {
        {"missing", "File not found"},
        {"plain/below", "Path not found"},
        {"folder", "File access denied"},
    };
    for (const auto &[name, text] : rows)
    {
        const TResult<std::string> read = ReadWholeFile(Path(name));
        EXPECT_FALSE(read) << name;
        EXPECT_EQ(read.Error(), text) << name;
    }
}

TEST_F(FileioTest, WriteFileAtomicReplacesTheFileWhole)
{
    std::ofstream(Path("f.cog")) << "old text that is longer";
    ASSERT_TRUE(WriteFileAtomic(Path("f.cog"), "new"));
    EXPECT_EQ(*ReadWholeFile(Path("f.cog")), "new");
    EXPECT_FALSE(FileExists(Path("f.cog.qxtmp")));
}

TEST_F(FileioTest, AFailedAtomicWriteSaysWhyAndLeavesTheOldFile)
{
    std::ofstream(Path("three")) << "abc";
    const struct
    {
        const char *What;
        std::function<void(TBinFile &)> Write;
        const char *Error;
    } rows[] = {
        {"a read past the end of what the writer copies",
         [this](TBinFile &output) {
             TBinFile input;
             input.OpenRead(Path("three"));
             char buffer[4];
             input.Read(buffer, sizeof buffer);
             output.Write(buffer, sizeof buffer);
         },
         "Read beyond end of file"},
        {"a file the writer copies that is missing",
         [this](TBinFile &output) {
             output.Write("half", 4);
             TBinFile input;
             input.OpenRead(Path("missing"));
         },
         "File not found"},
    };
    for (const auto &row : rows)
    {
        std::ofstream(Path("f.cog")) << "old";
        const TStatus written = WriteFileAtomic(Path("f.cog"), row.Write);
        EXPECT_FALSE(written) << row.What;
        EXPECT_EQ(written.Error(), row.Error) << row.What;
        EXPECT_EQ(*ReadWholeFile(Path("f.cog")), "old") << row.What;
        EXPECT_FALSE(FileExists(Path("f.cog.qxtmp"))) << row.What;
    }
}

TEST_F(FileioTest, WriteFileAtomicIntoAReadOnlyFolderLeavesTheOldFile)
{
#ifdef _WIN32
    GTEST_SKIP() << "the read-only attribute of a folder does not stop Windows writing in it";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes anywhere";
#endif
    std::ofstream(Path("f.cog")) << "old";
    fs::permissions(Dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(WriteFileAtomic(Path("f.cog"), "new").Error(), "File access denied");
    EXPECT_EQ(*ReadWholeFile(Path("f.cog")), "old");
}

TEST_F(FileioTest, FindFileNoCaseMatchesAnyLetterCase)
{
    std::ofstream(Path("Default.COG")) << "x";
    const std::string dir = Dir.string() + "/";
    EXPECT_EQ(FindFileNoCase(dir, "default.cog"), dir + "Default.COG");
    EXPECT_EQ(FindFileNoCase(dir, "other.cog"), "");
}

TEST_F(FileioTest, FileNamePartsSplitAtEitherSeparator)
{
    EXPECT_EQ(ExtractFileName("cog\\door.cog"), "door.cog");
    EXPECT_EQ(ExtractFileName("/a/b.goob"), "b.goob");
    EXPECT_EQ(ExtractFilePath("/a/b.gob"), "/a/");
    EXPECT_EQ(ExtractFileExt("/a.b/c"), "");
    EXPECT_EQ(ExtractFileExt("x.tar.gz"), ".gz");
}

TEST_F(FileioTest, ProgramDirFallsBackToASeededUserFolder)
{
    const std::string installed = Path("install") + "/";
    const std::string user = Path("user") + "/";
    fs::create_directories(installed + "cog");
    fs::create_directories(installed + "qxdata");
    std::ofstream(installed + "cog/default.cog") << "installed";
    std::ofstream(installed + "qxdata/verb.qx") << "verbs";

    // A writable program folder is used as it is.
    EXPECT_EQ(ChooseProgramDir(installed, user), installed);
    EXPECT_FALSE(fs::exists(user));

    fs::create_directories(user + "cog");
    std::ofstream(user + "cog/default.cog") << "mine";
    SeedUserFolder(installed, user);
    EXPECT_EQ(*ReadWholeFile(user + "qxdata/verb.qx"), "verbs");
    // The user's own edited starter script is kept.
    EXPECT_EQ(*ReadWholeFile(user + "cog/default.cog"), "mine");

    // A program folder that cannot be written (here: below a plain file, which stops root
    // too) sends the program to the user's folder.
    std::ofstream(Path("plain")) << "x";
    EXPECT_EQ(ChooseProgramDir(Path("plain") + "/sub/", user), user);
}

TEST_F(FileioTest, FileTextReadsAnyPlaceUpToItsSizeAndTellsAFileThatGrew)
{
    std::string bytes;
    for (int i = 0; bytes.size() < 700000; ++i)
        bytes += "line " + std::to_string(i) + "\r\n";
    ASSERT_TRUE(WriteFileAtomic(Path("a.cog"), bytes));
    // All of it read in pieces, then pieces from anywhere in it, going back as well.
    const auto readAll = [](TFileText &text) {
        std::string all;
        char piece[70000];
        while (const size_t got = text.ReadAt(all.size(), piece, sizeof piece))
            all.append(piece, got);
        return all;
    };
    {
        TFileText text(Path("a.cog"));
        EXPECT_EQ(readAll(text), bytes);
        EXPECT_FALSE(text.Grew());
        char piece[10];
        for (const size_t at : {size_t{5}, size_t{654321}, size_t{17}, bytes.size() - 3})
        {
            const size_t got = text.ReadAt(at, piece, sizeof piece);
            EXPECT_EQ(std::string_view(piece, got), std::string_view(bytes).substr(at, 10));
        }
        EXPECT_EQ(text.ReadAt(bytes.size() + 5, piece, sizeof piece), 0u);
    }
    // Appended after opening: the text ends at the size the file had, and says so.
    TFileText text(Path("a.cog"));
    std::ofstream(Path("a.cog"), std::ios::binary | std::ios::app) << "more\r\n";
    EXPECT_EQ(readAll(text), bytes);
    EXPECT_TRUE(text.Grew());
    EXPECT_ANY_THROW(TFileText(Path("missing.cog")));
}

TEST_F(FileioTest, NamesNoCodePageSpellsReachTheFileSystem)
{
    const std::string dir = FromPath(Dir) + "/Ünï 测试 Ωmega/";
    ASSERT_TRUE(CreateDir(dir));
    const std::string file = dir + "café ключ.cog";
    ASSERT_TRUE(WriteFileAtomic(file, "bytes"));
    EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"café ключ.cog"});
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(DirectoryExists(dir));
    EXPECT_EQ(*ReadWholeFile(file), "bytes");
    EXPECT_EQ(FindFileNoCase(dir, "CAFé ключ.COG"), file);
    EXPECT_TRUE(SameFile(file, dir + "./café ключ.cog"));
    TFileText text(file);
    char piece[5];
    EXPECT_EQ(text.ReadAt(0, piece, sizeof piece), 5u);
}

TEST_F(FileioTest, SameFileKnowsAFolderByAnyOfItsSpellings)
{
    fs::create_directories(Dir / "Cog");
    std::ofstream(Path("Cog/a.cog")) << "a";
    std::ofstream(Path("Cog/b.cog")) << "b";
    const std::string base = FromPath(Dir);
    const struct
    {
        std::string A, B;
        bool Same;
    } rows[] = {
        {base + "/Cog", base + "/Cog/", true},
        {base + "/Cog/", base + "/./Cog/../Cog", true},
        {base + "/Cog/a.cog", base + "/Cog/./a.cog", true},
        {base + "/Cog/a.cog", base + "/Cog/b.cog", false},
        {base + "/Cog", base + "/Cog/a.cog", false},
        {base + "/Cog", base + "/missing", false},
#ifdef _WIN32
        // Letter case and backslashes are other spellings of one name on Windows.
        {base + "/Cog", base + "\\COG\\", true},
        {base + "/Cog/a.cog", base + "\\cog\\A.COG", true},
#endif
    };
    for (const auto &row : rows)
        EXPECT_EQ(SameFile(row.A, row.B), row.Same) << row.A << " " << row.B;
}

TEST_F(FileioTest, FolderPrefixEndsAFolderWithOneSeparator)
{
    const std::pair<std::string, std::string> rows[] = {
        {"", ""},
        {"out", "out/"},
        {"out/", "out/"},
        {"/", "/"},
#ifdef _WIN32
        {"C:\\out\\", "C:\\out\\"},
        {"C:\\out", "C:\\out/"},
        {"C:", "C:"},
        {"C:\\", "C:\\"},
#else
        // A backslash is a character of a name here.
        {"out\\", "out\\/"},
#endif
    };
    for (const auto &[folder, prefix] : rows)
        EXPECT_EQ(FolderPrefix(folder), prefix) << folder;
}

TEST_F(FileioTest, AFileHeldOpenElsewhereIsReplacedOrKeptWhole)
{
    std::ofstream(Path("held.cog")) << "old";
#ifdef _WIN32
    // Held as most programs hold a file they read, without sharing its deletion: Windows
    // refuses to replace it, and the write fails with the old file whole.
    const HANDLE held =
        CreateFileW(ToPath(Path("held.cog")).c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const TStatus written = WriteFileAtomic(Path("held.cog"), "new");
    CloseHandle(held);
    EXPECT_EQ(written.Error(), "File access denied");
    EXPECT_EQ(*ReadWholeFile(Path("held.cog")), "old");
#else
    // The reader goes on reading the file it opened; the name gets the new one.
    std::ifstream held(Path("held.cog"), std::ios::binary);
    ASSERT_TRUE(WriteFileAtomic(Path("held.cog"), "new"));
    std::string seen;
    held >> seen;
    EXPECT_EQ(seen, "old");
    EXPECT_EQ(*ReadWholeFile(Path("held.cog")), "new");
#endif
    EXPECT_FALSE(FileExists(Path("held.cog.qxtmp")));
    // Let go, it is replaced.
    ASSERT_TRUE(WriteFileAtomic(Path("held.cog"), "newer"));
    EXPECT_EQ(*ReadWholeFile(Path("held.cog")), "newer");
}
