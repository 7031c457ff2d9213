#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/analysis/cogchecker.h"
#include "core/shell/textutils.h"

namespace {
const char *const KindTags[] = {"none", "value", "array", "var", "func",  "delim", "eol",
                                "op",   "label", "kw",    "end", "brace", "paren", "square"};

// The tokens up to the end of the text as "text/kind" rows.
std::vector<std::string> Tokens(const std::vector<std::string> &lines)
{
    TCOGChecker checker;
    TCogReader reader(lines, checker);
    std::vector<std::string> tokens;
    std::string_view text;
    TCogTokenKind kind = ckNone;
    for (int guard = 0; guard < 1000; ++guard)
    {
        reader.GetToken(text, kind);
        if (kind == ckEnd && text.empty())
            break;
        tokens.push_back(std::string(text) + "/" + KindTags[kind]);
    }
    return tokens;
}

using TRows = std::vector<std::string>;
} // namespace

TEST(LexerTest, TokenRules)
{
    struct Row
    {
        std::vector<std::string> Lines;
        TRows Expected;
    } rows[] = {
        // Comments run from the first "#" or "//" to the end of the line.
        {{"x = 1; # note"}, {"x/var", "=/op", "1/value", ";/delim"}},
        {{"x = 1; // note"}, {"x/var", "=/op", "1/value", ";/delim"}},
        {{"x = 1 / 2"}, {"x/var", "=/op", "1/value", "//op", "2/value"}},
        // Everything is read in small letters.
        {{"If (X)"}, {"if/kw", "(/paren", "x/var", ")/paren"}},
        {{"FOR while Call RETURN stop else"},
         {"for/kw", "while/kw", "call/kw", "return/kw", "stop/kw", "else/kw"}},
        // A colon right after a word makes it a label; a colon starts a word otherwise.
        {{"pulse:"}, {"pulse/label"}},
        {{"pulse :"}, {"pulse/var", ":/var"}},
        {{"end:"}, {"end/label"}},
        {{"a:b 1: ::"}, {"a/label", "b/var", "1/label", ":/label"}},
        {{"End"}, {"end/end"}},
        // '<', '>', '.' and the single quote continue a word.
        {{"a<b"}, {"a<b/var"}},
        {{"a < b"}, {"a/var", "</op", "b/var"}},
        {{"a<=b"}, {"a</var", "=/op", "b/var"}},
        {{"x>=5"}, {"x>/var", "=/op", "5/value"}},
        {{"<> x.y a'b"}, {"</op", ">/op", "x.y/var", "a'b/var"}},
        {{"$a ?b @c \\d ^e _f `g ~h"},
         {"$a/var", "?b/var", "@c/var", "\\d/var", "^e/var", "_f/var", "`g/var", "~h/var"}},
        // Function and array are decided by the rest of the current line only.
        {{"f (x)"}, {"f/func", "(/paren", "x/var", ")/paren"}},
        {{"f\t(x)"}, {"f/func", "(/paren", "x/var", ")/paren"}},
        {{"f", "(x)"}, {"f/var", "(/paren", "x/var", ")/paren"}},
        {{"a [1]"}, {"a/array", "[/square", "1/value", "]/square"}},
        {{"1(2) .[3]"},
         {"1/value", "(/paren", "2/value", ")/paren", "./value", "[/square", "3/value",
          "]/square"}},
        // Numbers are not validated beyond their first character.
        {{"0x1f 12abc . 1.5e3 .5"},
         {"0x1f/value", "12abc/value", "./value", "1.5e3/value", ".5/value"}},
        {{"&& || &| & |"}, {"&&/op", "||/op", "&/op", "|/op", "&/op", "|/op"}},
        {{"!= ! = == <= >= % * + -"},
         {"!=/op", "!/op", "=/op", "==/op", "<=/op", ">=/op", "%/op", "*/op", "+/op", "-/op"}},
        {{"{ } , ; ( ) [ ]"},
         {"{/brace", "}/brace", ",/delim", ";/delim", "(/paren", ")/paren", "[/square",
          "]/square"}},
        // Strings keep their quotes; the other quote is an ordinary character inside.
        {{"\"a b\" 'c \"d' \"it's\""}, {"\"a b\"/value", "'c \"d'/value", "\"it's\"/value"}},
        {{"a\"b\"c"}, {"a/var", "\"b\"/value", "c/var"}},
        // Type words are ordinary words to the lexer.
        {{"thing = vector"}, {"thing/var", "=/op", "vector/var"}},
        // Blanks and control characters at the ends of a line are trimmed; inside, a
        // control character starts or continues a word like a letter.
        {{"\x01\tx\x02y\t=\t1 \x03"}, {"x\x02y/var", "=/op", "1/value"}},
        {{"\x7f"}, {"\x7f/var"}},
        // Bytes above 127 are word characters and are not folded.
        {{"\xc9T\xe9 = \xa9"}, {"\xc9t\xe9/var", "=/op", "\xa9/var"}},
        // A NUL inside a line reads as the end of the text.
        {{std::string("x\0y", 3)}, {"x/var"}},
        {{std::string("<\0=", 3)}, {"</op"}},
        // A mark never takes its second character from the next line.
        {{"a <", "= b"}, {"a/var", "</op", "=/op", "b/var"}},
        {{"x &", "&", "|"}, {"x/var", "&/op", "&/op", "|/op"}},
        // Words that share their length or first letter with a keyword, or start with one, are
        // names; a keyword is one whatever follows it.
        {{"ix fi fox ens elsa stoq whilf returm cal calls iff ifs ends"},
         {"ix/var", "fi/var", "fox/var", "ens/var", "elsa/var", "stoq/var", "whilf/var",
          "returm/var", "cal/var", "calls/var", "iff/var", "ifs/var", "ends/var"}},
        {{"if1 end_ for. call<x returned"},
         {"if1/var", "end_/var", "for./var", "call<x/var", "returned/var"}},
        {{"if(x) end: for[ ELSE("},
         {"if/kw", "(/paren", "x/var", ")/paren", "end/label", "for/kw", "[/square", "else/kw",
          "(/paren"}},
        {{}, {}},
        {{"", "  \t", "# comment", "// comment"}, {}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(Tokens(row.Lines), row.Expected)
            << (row.Lines.empty() ? std::string("(no lines)") : row.Lines[0]);
}

TEST(LexerTest, LinesArePreparedBeforeReading)
{
    struct Row
    {
        const char *Line;
        const char *Prepared; // empty: the line is skipped
    } rows[] = {
        {"  X = 1;  # c", "x = 1;"},
        {"a#b//c", "a"},
        {"a//b#c", "a"},
        {"Print(\"http://x\");", "print(\"http:"},
        {"\t\x01 a \x1f", "a"},
        {"\xa0\xc0X\xa0", "\xa0\xc0x\xa0"},
        {"#", ""},
        {"   ", ""},
    };
    for (const Row &row : rows)
    {
        TCOGChecker checker;
        const std::vector<std::string> lines = {row.Line, "next"};
        TCogReader reader(lines, checker);
        ASSERT_TRUE(reader.ReadLine());
        EXPECT_EQ(reader.LineText(), *row.Prepared ? row.Prepared : "next") << row.Line;
    }
}

// Lines are prepared many bytes at a time: a comment and a trim must be found wherever they fall,
// a "//" split between two blocks included.
TEST(LexerTest, PreparingFindsCommentsAtEveryPlaceInLongLines)
{
    const auto expected = [](const std::string &line) {
        size_t cut = std::min(line.find('#'), line.find("//"));
        std::string text = line.substr(0, cut);
        const size_t first = text.find_first_not_of(' ');
        text = first == std::string::npos
                   ? ""
                   : text.substr(first, text.find_last_not_of(' ') + 1 - first);
        for (char &c : text)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        return text;
    };
    for (size_t length = 1; length <= 50; ++length)
        for (size_t at = 0; at < length; ++at)
            for (const char *comment : {"#", "//", "/ /"})
            {
                std::string line = "  " + std::string(length, 'A');
                line.replace(2 + at, std::min(std::strlen(comment), length - at), comment);
                TCOGChecker checker;
                const std::vector<std::string> lines = {line, "next"};
                TCogReader reader(lines, checker);
                ASSERT_TRUE(reader.ReadLine());
                const std::string want = expected(line);
                ASSERT_EQ(reader.LineText(), want.empty() ? "next" : want) << line;
            }
}

// Lines are lower-cased many bytes at a time: only 'A' to 'Z' change, wherever they fall, and bytes
// from 128 on stay as they are, whatever their low seven bits.
TEST(LexerTest, PreparingLowersOnlyAsciiCapitalsWhereverTheyFall)
{
    struct Row
    {
        char Byte;
        char Prepared;
    } rows[] = {
        {'A', 'a'},       {'M', 'm'},       {'Z', 'z'},       {'@', '@'},       {'[', '['},
        {'`', '`'},       {'a', 'a'},       {'{', '{'},       {'\x7f', '\x7f'}, {'\x80', '\x80'},
        {'\xc1', '\xc1'}, {'\xda', '\xda'}, {'\xe1', '\xe1'}, {'\xff', '\xff'},
    };
    for (const Row &row : rows)
        for (size_t length = 1; length <= 24; ++length)
            for (size_t at = 0; at < length; ++at)
            {
                std::string line(length, 'x');
                line[at] = row.Byte;
                std::string want = line;
                want[at] = row.Prepared;
                TCOGChecker checker;
                const std::vector<std::string> lines = {line};
                TCogReader reader(lines, checker);
                ASSERT_TRUE(reader.ReadLine());
                ASSERT_EQ(reader.LineText(), want) << static_cast<int>(row.Byte) << " " << at;
            }
}

// Words are scanned many bytes at a time: a word must run on over every byte that continues one
// and end at its first stop, wherever the two fall.
TEST(LexerTest, WordsEndAtTheirFirstStopWhereverItFalls)
{
    // Bytes that continue a word, whether or not they are small letters or digits.
    const char *const inner[] = {"b", "7", "<", ">", ".", "'", "_", "\xe9", "\x01", "@", "~", "Q"};
    const char stops[] = {'\t', ' ', '!', '"', '%', '&', '(', ')', '*', '+', ',',
                          '-',  '/', ';', '=', '[', ']', '{', '|', '}', ':', '\0'};
    for (const char *const piece : inner)
        for (const char stop : stops)
            for (size_t length = 1; length <= 20; ++length)
                for (size_t before = 0; before < 8; before += 3)
                {
                    std::string word = "w";
                    while (word.size() < length)
                        word += piece;
                    const std::string line = std::string(before, '(') + word + stop + "z";
                    TCOGChecker checker;
                    const std::vector<std::string> lines = {line};
                    TCogReader reader(lines, checker);
                    std::string_view text;
                    TCogTokenKind kind = ckNone;
                    for (size_t i = 0; i <= before; ++i)
                        reader.GetToken(text, kind);
                    std::string lower = word;
                    for (char &c : lower)
                        c = LowerAscii(c);
                    ASSERT_EQ(text, lower) << line;
                    ASSERT_EQ(kind == ckLabel, stop == ':') << line;
                }
}

// Where each token stands in its line as written: preparing cuts the front of a line, and a return
// to a remembered place must find the tokens where they were.
TEST(LexerTest, TokensKnowWhereTheyStand)
{
    struct Row
    {
        std::vector<std::string> Lines;
        TRows Places; // "text line:start-end"
    } rows[] = {
        {{"x = Foo(1);"},
         {"x 0:0-1", "= 0:2-3", "foo 0:4-7", "( 0:7-8", "1 0:8-9", ") 0:9-10", "; 0:10-11"}},
        {{"\t  a<=b  # c", "", "// d", " \x01 call  x;"},
         {"a< 0:3-5", "= 0:5-6", "b 0:6-7", "call 3:3-7", "x 3:9-10", "; 3:10-11"}},
        {{"  AVeryLongNameOfAVerb(x)"},
         {"averylongnameofaverb 0:2-22", "( 0:22-23", "x 0:23-24", ") 0:24-25"}},
        // An open string ends where its line was cut; its place is kept with the copy.
        {{"  'ab  ", "c"}, {"'ab' 0:2-5", "c 1:0-1"}},
    };
    for (const Row &row : rows)
    {
        TCOGChecker checker;
        TCogReader reader(row.Lines, checker);
        TRows places;
        std::string_view text;
        TCogTokenKind kind = ckNone;
        for (reader.GetToken(text, kind); !(kind == ckEnd && text.empty());
             reader.GetToken(text, kind))
        {
            const TCogPlace place = reader.PlaceOf(text);
            places.push_back(std::string(text) + " " + std::to_string(place.Line) + ":" +
                             std::to_string(place.Start) + "-" + std::to_string(place.End));
        }
        EXPECT_EQ(places, row.Places) << row.Lines[0];
        EXPECT_EQ(reader.PlaceOf(text), TCogPlace()) << row.Lines[0];
    }

    // The token read before going back to the line before it still has its place, and so have the
    // tokens read again.
    TCOGChecker checker;
    const std::vector<std::string> lines = {"f(a", "", "  b)"};
    TCogReader reader(lines, checker);
    std::string_view text;
    TCogTokenKind kind = ckNone;
    reader.GetToken(text, kind);
    reader.GetToken(text, kind);
    int line = 0;
    int pos = 0;
    reader.SavePos(line, pos);
    reader.GetToken(text, kind);
    reader.GetToken(text, kind);
    const std::string_view ahead = text;
    EXPECT_EQ(reader.PlaceOf(ahead), (TCogPlace{2, 2, 3}));
    reader.RestorePos(line, pos);
    EXPECT_EQ(reader.PlaceOf(ahead), (TCogPlace{2, 2, 3}));
    reader.GetToken(text, kind);
    EXPECT_EQ(reader.PlaceOf(text), (TCogPlace{0, 2, 3}));
    reader.GetToken(text, kind);
    EXPECT_EQ(reader.PlaceOf(text), (TCogPlace{2, 2, 3}));
}

TEST(LexerTest, APositionPastItsLineReadsAsTheLineEnd)
{
    TCOGChecker checker;
    const std::vector<std::string> lines = {"ab", "cd"};
    TCogReader reader(lines, checker);
    std::string_view text;
    TCogTokenKind kind = ckNone;
    reader.GetToken(text, kind);
    int line = 0;
    int pos = 0;
    reader.SavePos(line, pos);
    reader.RestorePos(line, pos + 100);
    EXPECT_EQ(reader.PeekChar(), '\r');
    reader.GetToken(text, kind);
    EXPECT_EQ(text, "cd");
    EXPECT_EQ(reader.PlaceOf(text), (TCogPlace{1, 0, 2}));
    // At the end of the text the end repeats, however far past it reading is put.
    reader.SavePos(line, pos);
    reader.RestorePos(line, pos + 100);
    EXPECT_EQ(reader.NextChar(), '\0');
    EXPECT_EQ(reader.NextChar(), '\0');
    reader.GetToken(text, kind);
    EXPECT_EQ(kind, ckEnd);
    EXPECT_EQ(text, "");
}

TEST(LexerTest, CharactersSignalLineEndsAndAStickyEnd)
{
    TCOGChecker checker;
    const std::vector<std::string> lines = {"ab", "", "# c", "d", "  "};
    TCogReader reader(lines, checker);
    EXPECT_EQ(reader.CurLine(), 0);
    std::string read;
    for (int i = 0; i < 7; ++i)
        read += reader.NextChar();
    // The first line is loaded like any other, with its line end before it.
    EXPECT_EQ(read, std::string("\rab\rd\0\0", 7));
    EXPECT_EQ(reader.CurLine(), 4);
    EXPECT_FALSE(reader.ReadLine());
}

TEST(LexerTest, PeekCharNeverCrossesALine)
{
    TCOGChecker checker;
    const std::vector<std::string> lines = {"a", "b"};
    TCogReader reader(lines, checker);
    ASSERT_TRUE(reader.ReadLine());
    EXPECT_EQ(reader.PeekChar(), 'a');
    EXPECT_EQ(reader.NextChar(), 'a');
    EXPECT_EQ(reader.PeekChar(), '\r');
    EXPECT_EQ(reader.PeekChar(), '\r');
    EXPECT_EQ(reader.NextChar(), '\r');
    EXPECT_EQ(reader.NextChar(), 'b');
}

TEST(LexerTest, RestorePosReturnsToARememberedLine)
{
    TCOGChecker checker;
    const std::vector<std::string> lines = {"f(a", "", "# gap", "b) c", "d"};
    TCogReader reader(lines, checker);
    std::string_view text;
    TCogTokenKind kind = ckNone;
    reader.GetToken(text, kind);
    reader.GetToken(text, kind);
    int line = -1;
    int pos = -1;
    reader.SavePos(line, pos);
    for (int i = 0; i < 4; ++i)
        reader.GetToken(text, kind);
    EXPECT_EQ(text, "c");
    EXPECT_EQ(reader.CurLine(), 3);
    reader.RestorePos(line, pos);
    EXPECT_EQ(reader.CurLine(), 0);
    TRows again;
    for (int i = 0; i < 5; ++i)
    {
        reader.GetToken(text, kind);
        again.emplace_back(text);
    }
    EXPECT_EQ(again, (TRows{"a", "b", ")", "c", "d"}));

    // Within the current line only the position moves back.
    reader.SavePos(line, pos);
    reader.GetToken(text, kind);
    EXPECT_EQ(kind, ckEnd);
    reader.RestorePos(line, pos);
    reader.GetToken(text, kind);
    EXPECT_EQ(kind, ckEnd);
    EXPECT_EQ(text, "");
}

// An open string is closed with its own quote and reported on the line the reader has moved
// to: the next non-empty line, or the last line of the list.
TEST(LexerTest, UnterminatedStringIsReportedOnTheLineReadNext)
{
    struct Row
    {
        std::vector<std::string> Lines;
        TRows Tokens;
        int ErrorLine;
    } rows[] = {
        {{"x = \"abc", "", "# c", "y"}, {"x/var", "=/op", "\"abc\"/value", "y/var"}, 3},
        {{"'abc", "", ""}, {"'abc'/value"}, 2},
        {{"\"abc"}, {"\"abc\"/value"}, 0},
        {{"\"a#bc\"", "y"}, {"\"a\"/value", "y/var"}, 1},
        {{"'a // b'", "y"}, {"'a'/value", "y/var"}, 1},
        {{std::string("'a\0b' c", 7)}, {"'a'/value", "b'/var", "c/var"}, 0},
        // A CR inside a line ends a string as the line end does.
        {{"'a\rb"}, {"'a'/value", "b/var"}, 0},
    };
    for (const Row &row : rows)
    {
        EXPECT_EQ(Tokens(row.Lines), row.Tokens) << row.Lines[0];
        TCOGChecker checker;
        TCogReader reader(row.Lines, checker);
        std::string_view text;
        TCogTokenKind kind = ckNone;
        do
            reader.GetToken(text, kind);
        while (!(kind == ckEnd && text.empty()));
        ASSERT_EQ(checker.Errors.Count(), 1) << row.Lines[0];
        EXPECT_EQ(checker.Errors.Items(0).Msg, "Unterminated string!");
        EXPECT_EQ(checker.Errors.Items(0).Line, row.ErrorLine) << row.Lines[0];
    }
}

TEST(LexerTest, TypeCodes)
{
    struct Row
    {
        const char *Word;
        int Code;
    } rows[] = {
        {"ai", 1},        {"cog", 2},       {"keyframe", 3},    {"material", 4},
        {"message", 5},   {"model", 6},     {"sector", 7},      {"sound", 8},
        {"surface", 9},   {"template", 10}, {"thing", 11},      {"int", 12},
        {"float", 13},    {"flex", 13},     {"vector", 14},     {"THING", 11},
        {"Flex", 13},     {"", 0},          {"things", 0},      {"thin", 0},
        {"a", 0},         {"zzz", 0},       {"flags=0x240", 0}, {"symbols", 0},
        {"keyframes", 0},
    };
    for (const Row &row : rows)
        EXPECT_EQ(TypeCode(row.Word), row.Code) << row.Word;
    EXPECT_EQ(COGTypes.size(), 15u);
}

TEST(LexerTest, Keywords)
{
    for (const char *word : {"if", "else", "call", "return", "stop", "while", "for", "IF", "While"})
        EXPECT_TRUE(IsCogKeyword(word)) << word;
    for (const char *word : {"", "end", "do", "break", "i", "iff", "returns", "code", "symbols"})
        EXPECT_FALSE(IsCogKeyword(word)) << word;
}

TEST(LexerTest, KindNames)
{
    const char *const names[] = {"Unidentified token",
                                 "Value",
                                 "Array",
                                 "Variable",
                                 "Function",
                                 "Delimiter",
                                 "End of line",
                                 "Operator",
                                 "Label",
                                 "Keyword",
                                 "End label",
                                 "Bracket",
                                 "Unidentified token",
                                 "Unidentified token",
                                 "Unidentified token"};
    for (int code = 0; code <= 14; ++code)
        EXPECT_EQ(TokenKindName(static_cast<TCogTokenKind>(code)), names[code]) << code;
    EXPECT_EQ(TokenKindName(static_cast<TCogTokenKind>(255)), "Unidentified token");
}
