#include "core/gamedata/resnames.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/core/gobbuilder.h"

namespace {
struct TFolderCase
{
    const char *Ext;
    const char *Folder;
};

// A request for Ext, the member, and what the list shows for it ("" when nothing).
struct TFilterCase
{
    const char *Ext;
    const char *Member;
    const char *Listed;
};
} // namespace

TEST(ResNamesTest, EachExtensionFindsItsFolder)
{
    const TFolderCase cases[] = {
        {".3do", "3do\\"},
        {".key", "3do\\key\\"},
        {".cog", "cog\\"},
        {".jkl", "jkl\\"},
        {".ai", "misc\\ai\\"},
        {".ai0", "misc\\ai\\"},
        {".ai2", "misc\\ai\\"},
        {".par", "misc\\par\\"},
        {".per", "misc\\per\\"},
        {".pup", "misc\\pup\\"},
        {".snd", "misc\\snd\\"},
        {".spr", "misc\\spr\\"},
        // Listed with their folder already.
        {".mat", ""},
        {".wav", ""},
        // Unknown, or another letter case: no folder.
        {".cmp", ""},
        {".COG", ""},
        {".3DO", ""},
        {"cog", ""},
        {"", ""},
        {".ai1", ""},
    };
    for (const TFolderCase &c : cases)
        EXPECT_EQ(ResFolder(c.Ext), c.Folder) << c.Ext;
}

TEST(ResNamesTest, ARequestListsTheMembersOfItsExtension)
{
    const TFilterCase cases[] = {
        {".cog", "cog\\door.cog", "door.cog"},
        {".cog", "cog\\sub\\deep.cog", "deep.cog"},
        {".cog", "door.cog", "door.cog"},
        {".mat", "mat\\wall.mat", "mat\\wall.mat"},
        {".mat", "3do\\mat\\gun.mat", "3do\\mat\\gun.mat"},
        {".wav", "sound\\hum.wav", "sound\\hum.wav"},
        {".key", "3do\\key\\walk.key", "walk.key"},
        {".3do", "3do\\crate.3do", "crate.3do"},
        // The extension is compared exactly.
        {".cog", "cog\\LOUD.COG", ""},
        {".COG", "cog\\LOUD.COG", "LOUD.COG"},
        {".MAT", "mat\\WALL.MAT", "WALL.MAT"},
        {".cog", "cog\\door.cogs", ""},
        {".cog", "cog\\door.cog.bak", ""},
        {".mat", "mat\\wall.cog", ""},
        // Only the file name's extension counts, not a dot in a folder.
        {".d", "cog.d\\readme", ""},
        {".cog", "x.cog\\readme", ""},
        {".ai", "misc\\ai\\ai0.ai", "ai0.ai"},
        {".ai", "misc\\ai\\ai0.ai0", ""},
    };
    for (const TFilterCase &c : cases)
    {
        const std::optional<std::string> listed = ResListName(c.Member, c.Ext);
        EXPECT_EQ(listed.value_or(""), c.Listed) << c.Ext << " " << c.Member;
    }
}

TEST(ResNamesTest, AListedNameLeadsBackToItsMember)
{
    for (const char *member :
         {"cog\\door.cog", "mat\\wall.mat", "3do\\key\\w.key", "misc\\snd\\beep.snd",
          "sound\\hum.wav", "misc\\ai\\mob.ai2", "3do\\mat\\gun.mat"})
    {
        const std::optional<std::string> listed = ResListName(member, MemberExt(member));
        ASSERT_TRUE(listed) << member;
        EXPECT_EQ(ResMemberPath(*listed), member);
    }
    // A script outside cog\ is listed, but its bare name leads to cog\.
    EXPECT_EQ(ResMemberPath(*ResListName("other\\door.cog", ".cog")), "cog\\door.cog");
}

TEST(ResNamesTest, StoredNamesLoseTrailingBlanksControlsAndLeftovers)
{
    EXPECT_EQ(TrimMemberName(std::string("cog\\a.cog\0\0\0", 12)), "cog\\a.cog");
    EXPECT_EQ(TrimMemberName("cog\\a.cog  \t\r\n"), "cog\\a.cog");
    // What an old packer left after the NUL is not part of the name.
    EXPECT_EQ(TrimMemberName(std::string("cog\\a.cog\0old\\name.cog  ", 25)), "cog\\a.cog");
    EXPECT_EQ(TrimMemberName(std::string("mat\\w all.mat \0", 15)), "mat\\w all.mat");
    EXPECT_EQ(TrimMemberName("  lead.cog"), "  lead.cog");
    EXPECT_EQ(TrimMemberName("caf\xe9.cog"), "caf\xe9.cog");
    EXPECT_EQ(TrimMemberName(std::string(128, '\0')), "");
}

TEST(ResNamesTest, FileNamesAndExtensions)
{
    EXPECT_EQ(MemberFileName("mat\\wall.mat"), "wall.mat");
    EXPECT_EQ(MemberFileName("a/b\\c.cog"), "c.cog");
    EXPECT_EQ(MemberFileName("plain.cog"), "plain.cog");
    EXPECT_EQ(MemberFileName("folder\\"), "");
    EXPECT_EQ(MemberExt("noext"), "");
    EXPECT_EQ(MemberExt("x.tar.gz"), ".gz");
    EXPECT_EQ(ChangeMemberExt("mat\\wall.mat", ".bmp"), "mat\\wall.bmp");
    EXPECT_EQ(ChangeMemberExt("v1.0\\noext", ".bmp"), "v1.0\\noext.bmp");
}

TEST(ResNamesTest, ColormapsAreTakenInOrderUpToTheLimit)
{
    std::vector<std::string> members = {"misc\\cmp\\a.cmp", "cog\\x.cog", "b.cmp", "c.CMP"};
    EXPECT_EQ(ColormapMembers(members, 20), (std::vector<int>{0, 2}));
    for (int i = 0; i < 25; ++i)
        members.push_back("misc\\cmp\\m" + std::to_string(i) + ".cmp");
    const std::vector<int> taken = ColormapMembers(members, 20);
    ASSERT_EQ(taken.size(), 20u);
    EXPECT_EQ(taken.back(), 4 + 17);
}

TEST(ResNamesTest, TheLastEqualColormapItemWins)
{
    const std::vector<std::string> items = {"dflt.cmp", "sky.cmp", "dflt.cmp"};
    EXPECT_EQ(ChooseColormap(items, "dflt.cmp", 1), 2);
    EXPECT_EQ(ChooseColormap(items, "sky.cmp", 0), 1);
    EXPECT_EQ(ChooseColormap(items, "DFLT.CMP", 1), 1);
    EXPECT_EQ(ChooseColormap({}, "dflt.cmp", 3), 3);
}

TEST(ResNamesTest, ArchivesOfAFolderWhateverTheCaseOfTheirExtension)
{
    TScratchDir dir;
    for (const char *name : {"res2.gob", "B.GOO", "c.Gob", "notes.txt", "x.gob.bak", "a.goo"})
        WriteBytes(dir.Path(name), "x");
    std::filesystem::create_directory(dir.Path("folder.gob"));
    EXPECT_EQ(ArchiveFilesIn(dir.Folder()),
              (std::vector<std::string>{"a.goo", "B.GOO", "c.Gob", "res2.gob"}));
    EXPECT_TRUE(ArchiveFilesIn("").empty());
    EXPECT_TRUE(ArchiveFilesIn(dir.Path("missing/")).empty());
}
