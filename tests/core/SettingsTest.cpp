#include "core/shell/settings.h"

#include <map>

#include <gtest/gtest.h>

#include "core/shell/GlobalVar.h"
#include "tests/core/memorykey.h"

namespace {
// A key in memory that records the order of writes.
void ResetSettings()
{
    AppVersion = TemplateFile = JKDir = MotsDir = ProjectDir = "";
    UseJK = true;
}
} // namespace

TEST(SettingsTest, FirstStartCreatesOnlyTheVersion)
{
    ResetSettings();
    TMemoryKey key;
    ReadStartupSettings(key);
    EXPECT_EQ(key.Values, (std::map<std::string, std::string>{{"QxVer", "0.3 beta"}}));
    EXPECT_EQ(AppVersion, "0.3 beta");
    EXPECT_EQ(TemplateFile, "");
    EXPECT_EQ(JKDir, "");
    EXPECT_EQ(MotsDir, "");
    EXPECT_TRUE(UseJK);
}

TEST(SettingsTest, StoredVersionIsOverwrittenBeforeItIsRead)
{
    ResetSettings();
    TMemoryKey key;
    key.Values = {{"QxVer", "0.1"},
                  {"Kovo", "/g/master.tpl"},
                  {"JK", "/g/jk/"},
                  {"MOTS", "/g/mots/"},
                  {"PRJ", "/g/mine/"}};
    ReadStartupSettings(key);
    EXPECT_EQ(key.Values["QxVer"], "0.3 beta");
    EXPECT_EQ(AppVersion, "0.3 beta");
    EXPECT_EQ(TemplateFile, "/g/master.tpl");
    EXPECT_EQ(JKDir, "/g/jk/");
    EXPECT_EQ(MotsDir, "/g/mots/");
    // The resources folder is stored but not read back.
    EXPECT_EQ(ProjectDir, "");
}

TEST(SettingsTest, TheResourcesChoiceIsKeptAndJediKnightUnlessItSaysMots)
{
    for (const auto &[stored, useJk] : {std::pair{"MOTS", false}, {"JK", true}, {"mots", true}})
    {
        ResetSettings();
        TMemoryKey key;
        key.Values = {{"Resources", stored}};
        ReadStartupSettings(key);
        EXPECT_EQ(UseJK, useJk) << stored;
        TMemoryKey saved;
        SaveDirectorySettings(saved);
        EXPECT_EQ(saved.Values["Resources"], useJk ? "JK" : "MOTS");
    }
}

TEST(SettingsTest, SaveWritesItsValuesInOrderEmptyOnesIncluded)
{
    ResetSettings();
    JKDir = "/g/jk/";
    TemplateFile = "/g/MOTS.TPL";
    TMemoryKey key;
    SaveDirectorySettings(key);
    EXPECT_EQ(key.Writes, (std::vector<std::string>{"JK", "MOTS", "Kovo", "PRJ", "Resources"}));
    EXPECT_EQ(key.Values["MOTS"], "");
    EXPECT_EQ(key.Values["Kovo"], "/g/MOTS.TPL");
}
