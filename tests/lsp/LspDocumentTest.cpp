#include <gtest/gtest.h>

#include "tool/lsp/document.h"

namespace {
struct TReplaceCase
{
    const char *Name;
    const char *Before;
    TTextRange Range;
    const char *Text;
    const char *After;
};

// Edits as clients send them, including ends the protocol says to clamp.
const TReplaceCase ReplaceCases[] = {
    {"insert inside a line", "ab\ncd", {{1, 1}, {1, 1}}, "X", "ab\ncXd"},
    {"replace across lines", "ab\ncd\nef", {{0, 1}, {2, 1}}, "-", "a-f"},
    {"column past the line's end", "ab\ncd", {{0, 9}, {0, 9}}, "!", "ab!\ncd"},
    {"line past the end", "ab", {{5, 0}, {7, 3}}, "\nz", "ab\nz"},
    {"between CR and LF", "a\r\nb", {{0, 1}, {0, 1}}, "x", "ax\r\nb"},
    {"reversed range", "abcd", {{0, 3}, {0, 1}}, "", "ad"},
    {"after a character outside Windows-1252",
     "\xE2\x82\xAC\xE4\xB8\x80x",
     {{0, 2}, {0, 3}},
     "y",
     "\xE2\x82\xAC\xE4\xB8\x80y"},
    {"after a surrogate pair", "\xF0\x9F\x98\x80x", {{0, 2}, {0, 3}}, "y", "\xF0\x9F\x98\x80y"},
};

TEST(LspDocumentTest, ReplaceEditsTheTextAsTheClientSeesIt)
{
    for (const TReplaceCase &c : ReplaceCases)
    {
        TScriptDocument document(c.Before);
        document.Replace(c.Range, c.Text);
        EXPECT_EQ(document.Utf8(0, document.Bytes().size()), c.After) << c.Name;
    }
}

TEST(LspDocumentTest, OneBytePerCodeUnitKeepsColumnsAndForeignUnits)
{
    // "€" is byte 0x80 of Windows-1252; "一" and the emoji's two code units are not in it.
    TScriptDocument document("\xE2\x82\xAC\xE4\xB8\x80\xF0\x9F\x98\x80"
                             "a\r\nb");
    EXPECT_EQ(document.Bytes(), "\x80???a\r\nb");
    ASSERT_EQ(document.ForeignUnits().size(), 3u);
    EXPECT_EQ(document.ForeignUnits()[0].Offset, 1u);
    EXPECT_EQ(document.ForeignUnits()[0].Unit, 0x4E00);
    EXPECT_EQ(document.Line(0), "\x80???a");
    EXPECT_EQ(document.PositionAt(4).Character, 4);

    // An edit before them moves them; one over them drops them.
    document.Replace({{0, 0}, {0, 0}}, "zz");
    EXPECT_EQ(document.ForeignUnits()[0].Offset, 3u);
    document.Replace({{0, 3}, {0, 5}}, "");
    ASSERT_EQ(document.ForeignUnits().size(), 1u);
    EXPECT_EQ(document.ForeignUnits()[0].Unit, 0xDE00);
    // The lone low surrogate left comes back as U+FFFD.
    EXPECT_EQ(document.Utf8(0, document.Bytes().size()), "zz\xE2\x82\xAC\xEF\xBF\xBD"
                                                         "a\r\nb");
}

TEST(LspDocumentTest, LinesEndAtCrLfLfOrCr)
{
    const TScriptDocument document("a\r\nb\nc\rd\r");
    ASSERT_EQ(document.LineCount(), 5);
    const char *lines[] = {"a", "b", "c", "d", ""};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(document.Line(i), lines[i]) << i;
    EXPECT_EQ(document.OffsetAt({2, 0}), 5u);
    EXPECT_EQ(document.PositionAt(6).Line, 2);
    EXPECT_EQ(document.OffsetAt({-1, 4}), 0u);
}

TEST(LspDocumentTest, InvalidUtf8BecomesReplacementCharacters)
{
    struct
    {
        const char *Bytes;
        std::u16string Units;
    } cases[] = {
        {"a\xFF"
         "b",
         u"a\uFFFDb"},
        {"\xC0\xAF", u"\uFFFD\uFFFD"},   // an overlong "/"
        {"\xED\xA0\x80", u"\uFFFD"},     // an encoded surrogate
        {"\xE4\xB8", u"\uFFFD"},         // cut short at the end
        {"\xF4\x90\x80\x80", u"\uFFFD"}, // past U+10FFFF
        {"\xC3\xA9\xF0\x9F\x98\x80", u"\u00E9\U0001F600"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Utf16FromUtf8(c.Bytes), c.Units) << c.Bytes;
}
} // namespace
