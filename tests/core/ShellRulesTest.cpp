#include "core/shell/shellrules.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

TEST(ShellRulesTest, TheExtensionIsJudgedByItsFirstFourCharactersInAnyCase)
{
    struct TRow
    {
        const char *Path;
        const char *Key;
        TOpenKind Kind;
    };
    const TRow rows[] = {
        {"/cog/door.cog", ".COG", TOpenKind::Script},
        {"/cog/DOOR.Cog", ".COG", TOpenKind::Script},
        {"a.cogx", ".COG", TOpenKind::Script},
        {"res2.gob", ".GOB", TOpenKind::Archive},
        {"jkmres.goo", ".GOO", TOpenKind::Archive},
        {"a.goob", ".GOO", TOpenKind::Archive},
        {"Master.tpl", ".TPL", TOpenKind::Nothing},
        {"a.co", ".CO", TOpenKind::Nothing},
        {"/dir.cog/readme", "", TOpenKind::Nothing},
        {"archive.tar.gob", ".GOB", TOpenKind::Archive},
        {"trailing.", ".", TOpenKind::Nothing},
    };
    for (const TRow &row : rows)
    {
        EXPECT_EQ(ExtensionKey(row.Path), row.Key) << row.Path;
        EXPECT_EQ(OpenKindOf(row.Path), row.Kind) << row.Path;
    }
}

TEST(ShellRulesTest, TheMostRecentlyActivatedChildComesFirst)
{
    EXPECT_EQ(MostRecentFirst(std::vector<int>{1, 2, 3}), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(MostRecentFirst(std::vector<int>{}), std::vector<int>{});
}

TEST(ShellRulesTest, LineEndsBecomeLfAndGoBackAsCrLf)
{
    struct TRow
    {
        std::string File;
        std::string Text;
        std::string Saved;
    };
    const TRow rows[] = {
        {"a\r\nb\r\n", "a\nb\n", "a\r\nb\r\n"},
        {"a\nb", "a\nb", "a\r\nb"},
        {"a\rb\r", "a\nb\n", "a\r\nb\r\n"},
        {"a\r\r\nb", "a\n\nb", "a\r\n\r\nb"},
        {"\r\n", "\n", "\r\n"},
        {"", "", ""},
        {std::string("x\0y\x80\r\n", 6), std::string("x\0y\x80\n", 5),
         std::string("x\0y\x80\r\n", 6)},
    };
    for (const TRow &row : rows)
    {
        EXPECT_EQ(TextFromFileBytes(row.File), row.Text);
        EXPECT_EQ(FileBytesFromText(row.Text), row.Saved);
    }
}

TEST(ShellRulesTest, EveryScriptByteMapsToACharacterAndBack)
{
    for (int byte = 0; byte < 256; ++byte)
    {
        const char16_t c = CharFromScriptByte(static_cast<unsigned char>(byte));
        EXPECT_EQ(static_cast<unsigned char>(ScriptByteFromChar(c)), byte) << byte;
    }
    EXPECT_EQ(CharFromScriptByte(0x80), u'\u20ac');
    EXPECT_EQ(CharFromScriptByte(0x92), u'\u2019');
    EXPECT_EQ(CharFromScriptByte(0xE9), u'\u00e9');
    EXPECT_EQ(ScriptByteFromChar(u'\u2713'), '?');
    // A C1 control that the code page gives another meaning has no byte of its own.
    EXPECT_EQ(ScriptByteFromChar(u'\u0080'), '?');
}

TEST(ShellRulesTest, SaveAsAddsTheExtensionOnlyToANameWithoutOne)
{
    EXPECT_EQ(WithDefaultExt("/cog/door", ".cog"), "/cog/door.cog");
    EXPECT_EQ(WithDefaultExt("/cog/door.cog", ".cog"), "/cog/door.cog");
    EXPECT_EQ(WithDefaultExt("/cog/door.txt", ".cog"), "/cog/door.txt");
    EXPECT_EQ(WithDefaultExt("/my.cogs/door", ".cog"), "/my.cogs/door.cog");
}
