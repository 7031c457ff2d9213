#include <filesystem>
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "core/gamedata/archive.h"
#include "core/gamedata/templates.h"
#include "tests/core/gobbuilder.h"

using TNames = std::vector<std::string>;

namespace {
// The names as the Line Builder lists them: non-empty, in table order.
TNames ListedNames(const TTPLRec &table)
{
    TNames names;
    for (const std::string &name : table.TplName)
        if (!name.empty())
            names.push_back(name);
    return names;
}
} // namespace

TEST(TemplateTest, EveryLineWithoutHashTakesTheNextEntry)
{
    TTPLRec table;
    LoadTemplateText("# DESC: a comment\r\n"
                     "\r\n"
                     "_walkplayer\tnone  type=player\r\n"
                     "rail none # a trailing comment drops the line\n"
                     "  ghost none\r"
                     "crate none mass=10\r\n"
                     "Crate none mass=20\r\n"
                     "crate none mass=30",
                     table);
    EXPECT_EQ(table.TplLine[0], "");
    EXPECT_EQ(table.TplName[1], "_walkplayer");
    EXPECT_EQ(table.TplParent[1], "none");
    EXPECT_EQ(table.TplLine[1], "_walkplayer none  type=player");
    // A leading blank leaves the first word empty and shifts the name into the parent.
    EXPECT_EQ(table.TplName[2], "");
    EXPECT_EQ(table.TplParent[2], "ghost");
    EXPECT_EQ(table.TplLine[2], "  ghost none");
    EXPECT_EQ(ListedNames(table), (TNames{"_walkplayer", "crate", "Crate", "crate"}));

    EXPECT_EQ(FindTemplate(table, "crate"), "crate none mass=30");
    EXPECT_EQ(FindTemplate(table, "Crate"), "Crate none mass=20");
    for (const char *missing : {"CRATE", "crat", "crate ", "ghost", "rail"})
        EXPECT_EQ(FindTemplate(table, missing), "") << missing;
}

TEST(TemplateTest, LinesPastTheTableAreCountedNotStored)
{
    // Comments take no entry, so the cut falls after the 1000th template line.
    std::string text;
    for (int k = 0; k < 1961; ++k)
        text.append("t").append(std::to_string(k)).append(" none\n# BBOX: -0.1 0.1\n");
    TTPLRec table;
    EXPECT_EQ(LoadTemplateText(text, table), 961);
    EXPECT_EQ(table.TplName[MaxTemplates - 1], "t999");
    EXPECT_EQ(FindTemplate(table, "t1000"), "");
    // Filling a table again clears what it held.
    EXPECT_EQ(LoadTemplateText("only none\n", table), 0);
    EXPECT_EQ(table.TplName[1], "");
    EXPECT_EQ(ListedNames(table), TNames{"only"});
}

TEST(TemplateTest, FileLoadsGiveTheirTableAndSayWhatWasMissingOrCut)
{
    TScratchDir scratch;
    WriteBytes(scratch.Path("master.tpl"), "b none\r\na none\r\n");
    std::string overfull;
    for (int k = 0; k <= MaxTemplates; ++k)
        overfull.append("t").append(std::to_string(k)).append(" none\n");
    WriteBytes(scratch.Path("overfull.tpl"), overfull);
    const struct
    {
        std::string Path;
        bool Found;
        size_t Listed;
        std::string Last;
        int Dropped;
    } cases[] = {
        {scratch.Path("master.tpl"), true, 2, "a", 0},
        {scratch.Path("overfull.tpl"), true, MaxTemplates, "t999", 1},
        {scratch.Path("none.tpl"), false, 0, "", 0},
        {scratch.Folder(), false, 0, "", 0},
        {"", false, 0, "", 0},
    };
    for (const auto &c : cases)
    {
        const TResult<TTemplateFile> read = LoadTemplateFile(c.Path);
        ASSERT_TRUE(read) << c.Path << ": " << read.Error();
        const TTemplateFile &file = *read;
        EXPECT_EQ(file.Found, c.Found) << c.Path;
        EXPECT_EQ(file.DroppedLines, c.Dropped) << c.Path;
        const TNames names = ListedNames(file.Table);
        EXPECT_EQ(names.size(), c.Listed) << c.Path;
        EXPECT_EQ(names.empty() ? "" : names.back(), c.Last) << c.Path;
    }

    // A file that is there but cannot be read is an error, not a missing file.
    std::string locked = scratch.Path("locked.tpl");
    WriteBytes(locked, "other none\n");
#ifdef _WIN32
    // Permissions do not lock a file on Windows; another program's open that shares nothing
    // does.
    const HANDLE held = CreateFileW(Utf8Path(locked).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const TResult<TTemplateFile> heldRead = LoadTemplateFile(locked);
    CloseHandle(held);
    EXPECT_FALSE(heldRead);
    EXPECT_EQ(heldRead.Error(), "File in use by another program");
#else
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    if (::access(locked.c_str(), R_OK) == 0)
        locked = "/proc/self/mem"; // a regular file whose first page nobody can read
    if (!std::filesystem::is_regular_file(locked))
        GTEST_SKIP() << "no unreadable file available";
    const TResult<TTemplateFile> read = LoadTemplateFile(locked);
    EXPECT_FALSE(read);
    EXPECT_NE(read.Error(), "");
#endif
}
