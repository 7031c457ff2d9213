// The user's files: the seeded program folder, folders matched whatever their letter case,
// and archive members compared with the files they would replace.

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "core/gamedata/archive.h"
#include "core/gamedata/memberfile.h"
#include "core/shell/fileio.h"
#include "core/shell/folders.h"
#include "core/shell/pathcase.h"
#include "tests/core/gobbuilder.h"

namespace fs = std::filesystem;

namespace {
class UserFilesTest : public ::testing::Test
{
  protected:
    std::string Path(const std::string &name) const { return Scratch.Path(name); }
    static void Write(const std::string &path, const std::string &bytes)
    {
        fs::create_directories(Utf8Path(path).parent_path());
        WriteBytes(path, bytes);
    }
    static bool OwnerWritable(const std::string &path)
    {
        return (fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none;
    }

    TScratchDir Scratch;
    const std::string Installed = Path("install") + "/";
    const std::string User = Path("user") + "/";
};
} // namespace

TEST_F(UserFilesTest, SeedingFollowsUnchangedProgramFilesAndKeepsEditedOnes)
{
    Write(Installed + "qxdata/verb.qx", "verbs 1");
    Write(Installed + "qxdata/symbol.qx", "symbols 1");
    Write(Installed + "help/index.html", "help 1");
    Write(Installed + "cog/default.cog", "starter 1");
    EXPECT_TRUE(SeedUserFolder(Installed, User).empty());
    EXPECT_EQ(*ReadWholeFile(User + "qxdata/verb.qx"), "verbs 1");

    // The user edits one data file and the starter script; then the program is upgraded.
    Write(User + "qxdata/symbol.qx", "my symbols");
    Write(User + "cog/default.cog", "my starter");
    Write(Installed + "qxdata/verb.qx", "verbs 2");
    Write(Installed + "qxdata/symbol.qx", "symbols 2");
    Write(Installed + "help/index.html", "help 2");
    Write(Installed + "cog/default.cog", "starter 2");
    EXPECT_EQ(SeedUserFolder(Installed, User), std::vector<std::string>{"qxdata/symbol.qx"});

    EXPECT_EQ(*ReadWholeFile(User + "qxdata/verb.qx"), "verbs 2");
    EXPECT_EQ(*ReadWholeFile(User + "help/index.html"), "help 2");
    EXPECT_EQ(*ReadWholeFile(User + "qxdata/symbol.qx"), "my symbols");
    EXPECT_EQ(*ReadWholeFile(User + "cog/default.cog"), "my starter");

    // Said once: the next start with the same installation names nothing.
    EXPECT_TRUE(SeedUserFolder(Installed, User).empty());
    EXPECT_EQ(*ReadWholeFile(User + "qxdata/symbol.qx"), "my symbols");
    // A later version is named again.
    Write(Installed + "qxdata/symbol.qx", "symbols 3");
    EXPECT_EQ(SeedUserFolder(Installed, User), std::vector<std::string>{"qxdata/symbol.qx"});
}

TEST_F(UserFilesTest, FolderSeededBeforeTheRecordKeepsItsDifferingFilesOnce)
{
    Write(Installed + "qxdata/verb.qx", "verbs 2");
    Write(Installed + "qxdata/extra.qx", "extra");
    Write(User + "qxdata/verb.qx", "verbs 1");
    Write(User + "qxdata/extra.qx", "extra");
    // No record of what was seeded: a differing copy may be the user's, so it stays.
    EXPECT_EQ(SeedUserFolder(Installed, User), std::vector<std::string>{"qxdata/verb.qx"});
    EXPECT_EQ(*ReadWholeFile(User + "qxdata/verb.qx"), "verbs 1");
    EXPECT_TRUE(SeedUserFolder(Installed, User).empty());
}

TEST_F(UserFilesTest, ReadOnlyInstallationSeedsAWritableUserFolder)
{
    Write(Installed + "qxdata/verb.qx", "verbs");
    Write(Installed + "cog/default.cog", "starter");
    Write(Installed + "help/index.html", "help");
    for (const char *file : {"qxdata/verb.qx", "cog/default.cog", "help/index.html"})
        fs::permissions(Installed + file, fs::perms::owner_read | fs::perms::group_read);
    for (const char *folder : {"qxdata", "cog", "help"})
        fs::permissions(Installed + folder, fs::perms::owner_read | fs::perms::owner_exec);

    SeedUserFolder(Installed, User);
    for (const char *path :
         {"", "qxdata", "cog", "help", "qxdata/verb.qx", "cog/default.cog", "help/index.html"})
        EXPECT_TRUE(OwnerWritable(User + path)) << path;
    EXPECT_EQ(*ReadWholeFile(User + "cog/default.cog"), "starter");

    // An installed upgrade of a read-only copy seeded earlier still reaches it.
    fs::permissions(User + "qxdata/verb.qx", fs::perms::owner_read);
    fs::permissions(Installed + "qxdata", fs::perms::owner_all);
    Write(Installed + "qxdata/verb.qx", "verbs 2");
    SeedUserFolder(Installed, User);
    EXPECT_EQ(*ReadWholeFile(User + "qxdata/verb.qx"), "verbs 2");
    EXPECT_TRUE(OwnerWritable(User + "qxdata/verb.qx"));
}

TEST_F(UserFilesTest, FoldersNamedBeyondASCIIServeAsProgramAndUserFolders)
{
    // A portable install in a folder of a user whose name no code page spells is used as it
    // is; a user's folder of such a name (the local application data on Windows) is seeded.
    const std::string portable = Path("Desktop/Ünï 测试/Quillex") + "/";
    Write(portable + "qxdata/verb.qx", "verbs");
    EXPECT_EQ(ChooseProgramDir(portable, User), portable);

    Write(Installed + "qxdata/verb.qx", "verbs");
    Write(Installed + "cog/default.cog", "starter");
    // A folder where the write probe would go: the installation cannot be written.
    fs::create_directories(Utf8Path(Installed + ".quillex-write-test"));
    const std::string user = Path("AppData/Local/Ostrel Forge/Quillex Ωmega") + "/";
    std::vector<std::string> kept;
    EXPECT_EQ(ChooseProgramDir(Installed, user, &kept), user);
    EXPECT_TRUE(kept.empty());
    EXPECT_EQ(*ReadWholeFile(user + "qxdata/verb.qx"), "verbs");
    EXPECT_EQ(*ReadWholeFile(user + "cog/default.cog"), "starter");

    // The record of what was seeded is read back there: an edit is kept and named once.
    Write(user + "qxdata/verb.qx", "my verbs");
    Write(Installed + "qxdata/verb.qx", "verbs 2");
    EXPECT_EQ(SeedUserFolder(Installed, user), std::vector<std::string>{"qxdata/verb.qx"});
    EXPECT_TRUE(SeedUserFolder(Installed, user).empty());
    EXPECT_EQ(*ReadWholeFile(user + "qxdata/verb.qx"), "my verbs");
}

TEST_F(UserFilesTest, MemberFoldersMatchExistingFoldersWhateverTheirCase)
{
    fs::create_directories(Path("base/cog"));
    fs::create_directories(Path("base/Mat/Sub"));
    const std::string base = Path("base") + "/";
    struct
    {
        const char *Rel;
        const char *Resolved;
    } rows[] = {
        {"COG/x.cog", "cog/x.cog"}, {"cog/x.cog", "cog/x.cog"}, {"mat/sub/y.mat", "Mat/Sub/y.mat"},
        {"x.cog", "x.cog"},         {"NEW/z.cog", "NEW/z.cog"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(*ResolveFoldersNoCase(base, row.Rel, false), base + row.Resolved) << row.Rel;
    EXPECT_FALSE(fs::exists(base + "NEW"));

    // Creation makes only the folders no existing one matches.
    EXPECT_EQ(*ResolveFoldersNoCase(base, "MAT/Other/w.mat", true), base + "Mat/Other/w.mat");
    EXPECT_TRUE(fs::is_directory(base + "Mat/Other"));
    EXPECT_EQ(FolderEntries(base), (std::vector<std::string>{"Mat", "cog"}));
    EXPECT_EQ(FolderEntries(base + "Mat"), (std::vector<std::string>{"Other", "Sub"}));
    EXPECT_EQ(FindFolderNoCase(base, "COG"), base + "cog");
    EXPECT_EQ(FindFolderNoCase(base, "nothing"), "");
}

TEST_F(UserFilesTest, MemberComparedWithTheFileItWouldReplace)
{
    Write(
        Path("a.gob"),
        TGobBuilder().Add("cog\\a.cog", "alpha").Add("cog\\big.cog", PatternBytes(70000)).Build());
    const TResult<TGobArchive> read = ReadGobArchive(Path("a.gob"));
    ASSERT_TRUE(read);
    const TGobArchive &archive = *read;

    EXPECT_EQ(*CompareMemberWithFile(archive, 0, Path("none.cog")), TMemberTarget::Missing);
    Write(Path("same.cog"), "alpha");
    EXPECT_EQ(*CompareMemberWithFile(archive, 0, Path("same.cog")), TMemberTarget::Same);
    Write(Path("edited.cog"), "alphA");
    EXPECT_EQ(*CompareMemberWithFile(archive, 0, Path("edited.cog")), TMemberTarget::Differs);
    Write(Path("longer.cog"), "alpha\r\n");
    EXPECT_EQ(*CompareMemberWithFile(archive, 0, Path("longer.cog")), TMemberTarget::Differs);

    std::string big = PatternBytes(70000);
    Write(Path("big.cog"), big);
    EXPECT_EQ(*CompareMemberWithFile(archive, 1, Path("big.cog")), TMemberTarget::Same);
    big[69999] ^= 1;
    Write(Path("big.cog"), big);
    EXPECT_EQ(*CompareMemberWithFile(archive, 1, Path("big.cog")), TMemberTarget::Differs);
}

TEST_F(UserFilesTest, ExtractionCreatesNoCogFolderBesideOneInAnotherCase)
{
    Write(Path("a.gob"), TGobBuilder().Add("COG\\x.cog", "x").Build());
    fs::create_directories(Path("prog/Cog"));
    const TResult<TGobArchive> archive = ReadGobArchive(Path("a.gob"));
    ASSERT_TRUE(archive);
    ASSERT_TRUE(ExtractGobMember(*archive, 0, Path("prog") + "/", "COG/x.cog"));
    EXPECT_EQ(*ReadWholeFile(Path("prog/Cog/x.cog")), "x");
    EXPECT_EQ(FolderEntries(Path("prog")), std::vector<std::string>{"Cog"});
}
