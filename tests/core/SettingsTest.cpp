#include "core/shell/settings.h"

#include <map>

#include <gtest/gtest.h>

#include "core/shell/folders.h"
#include "tests/core/memorykey.h"

TEST(SettingsTest, FirstStartCreatesOnlyTheVersion)
{
    TMemoryKey key;
    const TStartupSettings read = ReadStartupSettings(key);
    EXPECT_EQ(key.Values, (std::map<std::string, std::string>{{"QxVer", "0.3 beta"}}));
    EXPECT_EQ(read.AppVersion, "0.3 beta");
    EXPECT_EQ(read.Game.TemplateFile, "");
    EXPECT_EQ(read.Game.JKDir, "");
    EXPECT_EQ(read.Game.MotsDir, "");
    EXPECT_TRUE(read.Game.UseJK);
}

TEST(SettingsTest, StoredVersionIsOverwrittenBeforeItIsRead)
{
    TMemoryKey key;
    key.Values = {{"QxVer", "0.1"},
                  {"Kovo", "/g/master.tpl"},
                  {"JK", "/g/jk/"},
                  {"MOTS", "/g/mots/"},
                  {"PRJ", "/g/mine/"}};
    const TStartupSettings read = ReadStartupSettings(key);
    EXPECT_EQ(key.Values["QxVer"], "0.3 beta");
    EXPECT_EQ(read.AppVersion, "0.3 beta");
    EXPECT_EQ(read.Game.TemplateFile, "/g/master.tpl");
    EXPECT_EQ(read.Game.JKDir, "/g/jk/");
    EXPECT_EQ(read.Game.MotsDir, "/g/mots/");
    // The resources folder is stored but not read back.
    EXPECT_EQ(read.Game.ProjectDir, "");
}

TEST(SettingsTest, TheResourcesChoiceIsKeptAndJediKnightUnlessItSaysMots)
{
    for (const auto &[stored, useJk] : {std::pair{"MOTS", false}, {"JK", true}, {"mots", true}})
    {
        TMemoryKey key;
        key.Values = {{"Resources", stored}};
        const TStartupSettings read = ReadStartupSettings(key);
        EXPECT_EQ(read.Game.UseJK, useJk) << stored;
        TMemoryKey saved;
        SaveDirectorySettings(saved, read.Game);
        EXPECT_EQ(saved.Values["Resources"], useJk ? "JK" : "MOTS");
    }
}

TEST(SettingsTest, SaveWritesItsValuesInOrderEmptyOnesIncluded)
{
    TGameFolders game;
    game.JKDir = "/g/jk/";
    game.TemplateFile = "/g/MOTS.TPL";
    TMemoryKey key;
    SaveDirectorySettings(key, game);
    EXPECT_EQ(key.Writes, (std::vector<std::string>{"JK", "MOTS", "Kovo", "PRJ", "Resources"}));
    EXPECT_EQ(key.Values["MOTS"], "");
    EXPECT_EQ(key.Values["Kovo"], "/g/MOTS.TPL");
}
