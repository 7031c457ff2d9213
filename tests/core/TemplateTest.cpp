#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "core/gamedata/G_fileops.h"
#include "core/shell/ioerror.h"
#include "tests/core/gobbuilder.h"

namespace {
// The names as the Line Builder lists them: non-empty, in table order.
std::vector<std::string> ListedNames()
{
    std::vector<std::string> names;
    for (const std::string &name : Templates.TplName)
        if (!name.empty())
            names.push_back(name);
    return names;
}
} // namespace

TEST(TemplateTest, EveryLineWithoutHashTakesTheNextEntry)
{
    LoadTemplateText("# DESC: a comment\r\n"
                     "\r\n"
                     "_walkplayer\tnone  type=player\r\n"
                     "rail none # a trailing comment drops the line\n"
                     "  ghost none\r"
                     "crate none mass=10\r\n"
                     "Crate none mass=20\r\n"
                     "crate none mass=30");
    EXPECT_EQ(Templates.TplLine[0], "");
    EXPECT_EQ(Templates.TplName[1], "_walkplayer");
    EXPECT_EQ(Templates.TplParent[1], "none");
    EXPECT_EQ(Templates.TplLine[1], "_walkplayer none  type=player");
    // A leading blank leaves the first word empty and shifts the name into the parent.
    EXPECT_EQ(Templates.TplName[2], "");
    EXPECT_EQ(Templates.TplParent[2], "ghost");
    EXPECT_EQ(Templates.TplLine[2], "  ghost none");
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"_walkplayer", "crate", "Crate", "crate"}));

    EXPECT_EQ(FindTemplate("crate"), "crate none mass=30");
    EXPECT_EQ(FindTemplate("Crate"), "Crate none mass=20");
    for (const char *missing : {"CRATE", "crat", "crate ", "ghost", "rail"})
        EXPECT_EQ(FindTemplate(missing), "") << missing;
}

TEST(TemplateTest, LinesPastTheTableAreCountedNotStored)
{
    // Comments take no entry, so the cut falls after the 1000th template line.
    std::string text;
    for (int k = 0; k < 1961; ++k)
        text.append("t").append(std::to_string(k)).append(" none\n# BBOX: -0.1 0.1\n");
    EXPECT_EQ(LoadTemplateText(text), 961);
    EXPECT_EQ(Templates.TplName[MaxTemplates - 1], "t999");
    EXPECT_EQ(FindTemplate("t1000"), "");
    EXPECT_EQ(LoadTemplateText("only none\n"), 0);
    EXPECT_EQ(Templates.TplName[1], "");
}

TEST(TemplateTest, FileLoadsReplaceTheTableAndFailuresKeepIt)
{
    TScratchDir scratch;
    const std::string path = scratch.Path("master.tpl");
    WriteBytes(path, "b none\r\na none\r\n");
    int dropped = -1;
    ASSERT_TRUE(LoadTemplateFile(path, &dropped));
    ASSERT_TRUE(LoadTemplateFile(path));
    EXPECT_EQ(dropped, 0);
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"b", "a"}));

    for (const std::string &missing : {scratch.Path("none.tpl"), scratch.Folder(), std::string()})
        EXPECT_FALSE(LoadTemplateFile(missing)) << missing;
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"b", "a"}));

    // A file that is there but cannot be read fails before the table is cleared.
    std::string locked = scratch.Path("locked.tpl");
    WriteBytes(locked, "other none\n");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    if (::access(locked.c_str(), R_OK) == 0)
        locked = "/proc/self/mem"; // a regular file whose first page nobody can read
    if (!std::filesystem::is_regular_file(locked))
        GTEST_SKIP() << "no unreadable file available";
    EXPECT_THROW(LoadTemplateFile(locked), TIOError);
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"b", "a"}));
}
