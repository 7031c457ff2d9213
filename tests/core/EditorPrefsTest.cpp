#include "core/shell/editorprefs.h"

#include <map>

#include <gtest/gtest.h>

#include "core/gamedata/extractreport.h"
#include "tests/core/memorykey.h"

namespace {
using L = std::vector<std::string>;
} // namespace

TEST(EditorPrefsTest, RecentFilesKeepTheLastEightMostRecentFirst)
{
    L list;
    for (int i = 1; i <= 10; ++i)
        list = AddRecentFile(list, "f" + std::to_string(i));
    EXPECT_EQ(list, (L{"f10", "f9", "f8", "f7", "f6", "f5", "f4", "f3"}));
    // Opening a listed file again moves it to the front without a second entry.
    list = AddRecentFile(list, "f5");
    EXPECT_EQ(list, (L{"f5", "f10", "f9", "f8", "f7", "f6", "f4", "f3"}));
    // Paths differing in letter case are different files.
    list = AddRecentFile(list, "F5");
    EXPECT_EQ(list.front(), "F5");
    EXPECT_EQ(list[1], "f5");
    EXPECT_EQ(RemoveRecentFile(L{"a", "b", "c"}, "b"), (L{"a", "c"}));
    EXPECT_EQ(RemoveRecentFile(L{"a"}, "x"), (L{"a"}));
}

TEST(EditorPrefsTest, RecentFilesRoundTripThroughTheSettings)
{
    TMemoryKey key;
    EXPECT_TRUE(ReadRecentFiles(key).empty());
    WriteRecentFiles(key, L{"a", "b", "c"});
    EXPECT_EQ(ReadRecentFiles(key), (L{"a", "b", "c"}));
    // A shorter list clears the places the longer one used.
    WriteRecentFiles(key, L{"c"});
    EXPECT_EQ(ReadRecentFiles(key), (L{"c"}));
    // Hand-edited settings: gaps and repeats are skipped.
    key.Values = {{"Recent1", "x"}, {"Recent3", "y"}, {"Recent4", "x"}, {"Recent9", "z"}};
    EXPECT_EQ(ReadRecentFiles(key), (L{"x", "y"}));
}

TEST(EditorPrefsTest, HighlightingIsOnUnlessSwitchedOff)
{
    TMemoryKey key;
    EXPECT_TRUE(ReadHighlightSetting(key));
    WriteHighlightSetting(key, false);
    EXPECT_FALSE(ReadHighlightSetting(key));
    WriteHighlightSetting(key, true);
    EXPECT_TRUE(ReadHighlightSetting(key));
}

TEST(EditorPrefsTest, ExtractionReportCountsScriptsPerFolder)
{
    const std::vector<std::pair<L, std::string>> cases = {
        {L{}, "No script extracted"},
        {L{"/p/cog/a.cog"}, "1 script extracted to /p/cog/"},
        {L{"/p/cog/a.cog", "/p/cog/b.cog"}, "2 scripts extracted to /p/cog/"},
        {L{"/p/cog/a.cog", "/p/mots/b.cog", "/p/cog/c.cog"},
         "3 scripts extracted: 2 to /p/cog/, 1 to /p/mots/"},
    };
    for (const auto &[files, report] : cases)
        EXPECT_EQ(ExtractionReport(files), report);
}
