#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "core/shell/textutils.h"
#include "tests/core/piecesource.h"

namespace {
std::vector<std::string> FirstWords(const TWords &words, int count)
{
    return std::vector<std::string>(words.begin(), words.begin() + count);
}
} // namespace

TEST(StringsTest, TabsToSpacesKeepsTheLength)
{
    EXPECT_EQ(TabsToSpaces("\ta\t\tb"), " a  b");
    EXPECT_EQ(TabsToSpaces(""), "");
}

TEST(StringsTest, SplitLineNumbersWordsFromTheFirstColumn)
{
    struct Row
    {
        const char *Line;
        std::vector<std::string> Expected;
    } rows[] = {
        {"symbols", {"symbols", ""}},
        // A leading blank or tab advances the word index: the first word lands in words[1].
        {"\tsymbols", {"", "symbols", ""}},
        {"   thing player", {"", "thing", "player", ""}},
        {"a  b", {"a", "b", ""}},
        {"a b ", {"a", "b", ""}},
        {"thing\tplayer=-1\tlocal", {"thing", "player=-1", "local", ""}},
        // Only the space separates; other control characters are word characters.
        {"a\rb c", {"a\rb", "c", ""}},
        {"", {"", ""}},
    };
    for (const Row &row : rows)
    {
        TWords words;
        words[0] = "stale";
        SplitLine(row.Line, words);
        EXPECT_EQ(FirstWords(words, static_cast<int>(row.Expected.size())), row.Expected)
            << row.Line;
    }
}

TEST(StringsTest, SplitWordsAppendsWithoutClearing)
{
    TWords words;
    SplitWords("ab cd", words);
    SplitWords("ef gh", words);
    EXPECT_EQ(FirstWords(words, 3), (std::vector<std::string>{"abef", "cdgh", ""}));
}

TEST(StringsTest, WordsPastTheHundredthAreDropped)
{
    std::string line;
    for (int i = 0; i < 150; ++i)
        line += "w" + std::to_string(i) + " ";
    const TWords words = LineWords(line);
    EXPECT_EQ(words[0], "w0");
    EXPECT_EQ(words[99], "w99");
}

TEST(StringsTest, SplitLineWordsGivesTheWordsOfSplitLineWithoutBound)
{
    for (const char *line : {"symbols", "\tsymbols", "   thing player", "a  b", "a b ",
                             "thing\tplayer=-1\t\tlocal", "a\rb c", "", "  ", " \t x  y"})
    {
        const TWords bounded = LineWords(line);
        const std::vector<std::string> words = SplitLineWords(line);
        ASSERT_TRUE(words.empty() || !words.back().empty()) << line;
        EXPECT_EQ(words, FirstWords(bounded, static_cast<int>(words.size()))) << line;
        EXPECT_EQ(bounded[words.size()], "") << line;
    }
    std::string line;
    for (int i = 0; i < 150; ++i)
        line += "w" + std::to_string(i) + " ";
    const std::vector<std::string> words = SplitLineWords(line);
    ASSERT_EQ(words.size(), 150u);
    EXPECT_EQ(words.back(), "w149");
}

TEST(StringsTest, SplitNameValueCutsAtTheFirstEqualsAfterTheFirstCharacter)
{
    struct Row
    {
        const char *Text, *Name, *Value;
    } rows[] = {
        {"a = b", "a ", " b"}, {"x=1=2", "x", "1=2"},  {"=x=y", "=x", "y"},
        {"name=", "name", ""}, {"plain", "plain", ""}, {"", "", ""},
    };
    for (const Row &row : rows)
    {
        const TNameValue parts = SplitNameValue(row.Text);
        EXPECT_EQ(parts.Name, row.Name) << row.Text;
        EXPECT_EQ(parts.Value, row.Value) << row.Text;
    }
}

TEST(StringsTest, SplitAtFieldsReadsThreeFields)
{
    struct Row
    {
        const char *Text, *Name, *Value, *Rest;
    } rows[] = {
        {"Get&Thing@thing&ref@a & b", "Get Thing", "thing ref", "a & b"},
        // Each field owns its first character, even an "@".
        {"a@@b@c", "a", "@b", "c"},
        {"@x", "@x", "", ""},
        {"name@", "name", "", ""},
        {"name@par", "name", "par", ""},
        {"name@par@", "name", "par", ""},
        {"n@p@d@e&f", "n", "p", "d@e&f"},
        {"no fields here", "", "", ""},
        {"", "", "", ""},
    };
    for (const Row &row : rows)
    {
        const TFields fields = SplitAtFields(row.Text);
        EXPECT_EQ(fields.Name, row.Name) << row.Text;
        EXPECT_EQ(fields.Value, row.Value) << row.Text;
        EXPECT_EQ(fields.Rest, row.Rest) << row.Text;
    }
}

TEST(StringsTest, SplitTextLinesAcceptsEveryLineEnd)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    // A final line break does not start an extra line; an empty line before it does count.
    EXPECT_EQ(SplitTextLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(SplitTextLines("\n"), (Lines{""}));
    EXPECT_EQ(SplitTextLines(""), (Lines{}));
    EXPECT_EQ(SplitTextLines("\r\r\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitTextLines("caf\xe9"), (Lines{"caf\xe9"}));
    // Lone CRs before, between and after LFs.
    EXPECT_EQ(SplitTextLines("a\rb\rc\nd\re\r\nf\r"), (Lines{"a", "b", "c", "d", "e", "f"}));
    EXPECT_EQ(SplitTextLines("\n\r\n\r"), (Lines{"", "", ""}));
}

TEST(StringsTest, TextLinesGiveEachLineInAnyOrderOfAsking)
{
    // Long texts too, so that going back starts from a remembered mark; and texts that come in
    // pieces of a byte or a few through a window of a few bytes, so that a CR LF may be split
    // between two pieces, lines outgrow the window and going back reads the text again.
    std::minstd_rand random(11);
    const char alphabet[] = {'a', '\r', '\n', '\n', ' '};
    for (int round = 0; round < 600; ++round)
    {
        std::string text(static_cast<size_t>(random() % (round % 3 == 0 ? 900 : 40)), ' ');
        for (char &c : text)
            c = alphabet[random() % sizeof alphabet];
        const std::vector<std::string> lines = SplitTextLines(text);
        TPieceSource source(text, 1 + random() % 5);
        TTextLines whole(text);
        TTextLines pieces(source, 1 + random() % 8);
        // In order, then at random, then past the end.
        std::vector<size_t> asked;
        for (size_t i = 0; i < lines.size(); ++i)
            asked.push_back(i);
        for (int i = 0; i < 40 && !lines.empty(); ++i)
            asked.push_back(random() % lines.size());
        for (const size_t index : asked)
            for (TTextLines *each : {&whole, &pieces})
            {
                std::string_view line;
                ASSERT_TRUE(each->Get(index, line)) << round << " " << index;
                ASSERT_EQ(line, lines[index]) << round << " " << index;
            }
        std::string_view line;
        EXPECT_FALSE(whole.Get(lines.size(), line)) << round;
        EXPECT_FALSE(pieces.Get(lines.size() + 1, line)) << round;
        EXPECT_TRUE(lines.empty() || pieces.Get(0, line)) << round;
    }
}

// Lines read in order are found without seeking while the window holds them. Every window edge
// must still be right: a line end, or the LF after a CR, or the line after, just past the window.
TEST(StringsTest, TextLinesReadInOrderAcrossEveryWindowEdge)
{
    const std::string texts[] = {"ab\r\ncd\r\nef", "a\rb\r\nc\n\r\nd\r", "abc\r\n\r\n\r\nx",
                                 "\r\n\r\n"};
    for (const std::string &text : texts)
    {
        const std::vector<std::string> lines = SplitTextLines(text);
        for (size_t window = 1; window <= 12; ++window)
            for (size_t piece = 1; piece <= 4; ++piece)
            {
                TPieceSource source(text, piece);
                TTextLines pieces(source, window);
                std::string_view line;
                for (size_t i = 0; i < lines.size(); ++i)
                {
                    ASSERT_TRUE(pieces.Get(i, line)) << window << " " << piece << " " << i;
                    ASSERT_EQ(line, lines[i]) << window << " " << piece << " " << i;
                }
                EXPECT_FALSE(pieces.Get(lines.size(), line)) << window << " " << piece;
                ASSERT_TRUE(pieces.Get(0, line));
                EXPECT_EQ(line, lines[0]) << window << " " << piece;
            }
    }
}

TEST(StringsTest, JoinTextLinesSeparatesWithCrLf)
{
    EXPECT_EQ(JoinTextLines({"a", "", "b"}), "a\r\n\r\nb");
    EXPECT_EQ(JoinTextLines({}), "");
}
