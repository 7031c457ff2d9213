#include <cctype>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/analysis/cogchecker.h"
#include "core/shell/textutils.h"
#include "tests/core/cogscripts.h"
#include "tests/core/piecesource.h"

namespace {
// A script whose code section holds code, so tests can focus on the statements.
std::string InCode(const std::string &code)
{
    return "symbols\nend\ncode\n" + code + "\nend\n";
}

std::string Repeat(const std::string &piece, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

// The findings as "line: message @line:start-end", with the 0-based lines the checker records and
// the place of each finding's token.
std::vector<std::string> PlacedRows(const TCOGErrors &errors)
{
    std::vector<std::string> rows;
    for (int i = 0; i < errors.Count(); ++i)
    {
        const TCOGError &error = errors.Items(i);
        rows.push_back(std::to_string(error.Line) + ": " + error.Msg + " @" +
                       std::to_string(error.Token.Line) + ":" + std::to_string(error.Token.Start) +
                       "-" + std::to_string(error.Token.End));
    }
    return rows;
}
} // namespace

class CheckScriptTest : public testing::TestWithParam<std::string>
{};

TEST_P(CheckScriptTest, ReportsExactlyTheAnnotatedErrorsInOrder)
{
    const std::string bytes = ReadScriptBytes(GetParam());
    TCOGChecker checker;
    checker.CheckText(bytes);
    EXPECT_EQ(Rows(checker.Errors), Rows(ReadExpectedErrors(bytes)));
    // The editor's lines take the same path.
    checker.Check(SplitTextLines(bytes));
    EXPECT_EQ(Rows(checker.Errors), Rows(ReadExpectedErrors(bytes)));
    // So does a text that comes in pieces while it is checked.
    TPieceSource source(bytes, 3);
    checker.CheckSource(source);
    EXPECT_EQ(Rows(checker.Errors), Rows(ReadExpectedErrors(bytes)));
}

INSTANTIATE_TEST_SUITE_P(Scripts, CheckScriptTest, testing::ValuesIn(ListCheckScripts()),
                         ScriptName);

TEST(CheckerTest, ScriptsFolderIsFound)
{
    EXPECT_GE(ListCheckScripts().size(), 10u);
}

TEST(CheckerTest, MissingSymbolsSectionIsReportedAtTheLastLine)
{
    struct Row
    {
        std::vector<std::string> Lines;
        int Line;
    } rows[] = {
        {{}, 0},
        {{"", "   ", "# only comments", "// and more"}, 3},
        {{"code", "x = 1;", "end", ""}, 3},
        // "symbols" must be the first word, alone.
        {{"symbols:", "end", "code", "end"}, 3},
    };
    for (const Row &row : rows)
    {
        TCOGChecker checker;
        checker.Check(row.Lines);
        ASSERT_EQ(checker.Errors.Count(), 1);
        EXPECT_EQ(checker.Errors.Items(0).Msg, "No symbols section!");
        EXPECT_EQ(checker.Errors.Items(0).Line, row.Line);
    }
}

TEST(CheckerTest, BytesAboveAsciiPassThroughUnchanged)
{
    TCOGChecker checker;
    // Only ASCII letters are folded: the Latin-1 capital stays as it is.
    checker.CheckText(InCode("x = 1 \xc9Z;"));
    EXPECT_EQ(Rows(checker.Errors),
              (std::vector<std::string>{
                  "4: Operator, delimiter or closing bracket expected,  Variable found",
                  "4: ; expected, \xc9z found",
                  "4: Variable, Function or Keyword expected, but ; found"}));
}

TEST(CheckerTest, EachCheckReplacesTheFindingsOfTheLastOne)
{
    TCOGChecker checker;
    checker.CheckText(InCode("x += 1;"));
    EXPECT_EQ(checker.Errors.Count(), 4);
    checker.CheckText(InCode("x = 1;"));
    EXPECT_EQ(checker.Errors.Count(), 0);
}

TEST(CheckerTest, ItemsOutsideTheListThrowWithTheIndex)
{
    TCOGChecker checker;
    checker.CheckText(InCode("x += 1;"));
    ASSERT_EQ(checker.Errors.Count(), 4);
    for (int index : {4, -1, 1000000})
    {
        try
        {
            checker.Errors.Items(index);
            ADD_FAILURE() << "no exception for " << index;
        }
        catch (const std::out_of_range &error)
        {
            EXPECT_EQ(std::string(error.what()),
                      "Error is out of bounds: " + std::to_string(index));
        }
    }
    EXPECT_NO_THROW(checker.Errors.Items(3));
}

TEST(CheckerTest, FormattedMessagesTakeTheArgumentLiterally)
{
    TCOGChecker checker;
    checker.AddErrorFmt("= expected, %s found", "%d%s", 7);
    checker.AddErrorFmt("Variable expected, %s found", "", 8);
    ASSERT_EQ(checker.Errors.Count(), 2);
    EXPECT_EQ(checker.Errors.Items(0).Msg, "= expected, %d%s found");
    EXPECT_EQ(checker.Errors.Items(0).Line, 7);
    EXPECT_EQ(checker.Errors.Items(1).Msg, "Variable expected,  found");
}

TEST(CheckerTest, ExtractWordSkipsBlanksAndReturnsThePositionAfter)
{
    struct Row
    {
        const char *Text;
        int Start;
        const char *Word;
        int Next;
    } rows[] = {
        {"", 1, "", 1},
        {"", 5, "", 1},
        {"symbols", 1, "symbols", 8},
        {"thing player local", 1, "thing", 6},
        {"thing player local", 6, "player", 13},
        {" \t x\ty", 1, "x", 5},
        {"abc   ", 4, "", 7},
        {"abc", 10, "", 10},
    };
    for (const Row &row : rows)
    {
        std::string word = "stale";
        EXPECT_EQ(TCOGChecker::ExtractWord(row.Text, row.Start, word), row.Next)
            << row.Text << " " << row.Start;
        EXPECT_EQ(word, row.Word) << row.Text << " " << row.Start;
    }
}

// The recogniser is recursive; nesting beyond its bound ends the check with one error instead
// of running out of stack.
TEST(CheckerTest, HostileNestingStopsTheCheckWithOneError)
{
    const int deep = 100000;
    const struct Row
    {
        const char *Name;
        std::string Code;
    } rows[] = {
        {"braces", Repeat("{", deep)},
        {"parentheses", "x = " + Repeat("(", deep)},
        {"calls", "x = " + Repeat("f(", deep)},
        {"indexes", "x = " + Repeat("a[", deep)},
        {"array targets", Repeat("a[", deep)},
        {"if bodies", Repeat("if (x) ", deep)},
        {"while bodies", Repeat("while (x)\n", deep)},
        {"for clauses", Repeat("for (", deep)},
    };
    for (const Row &row : rows)
    {
        TCOGChecker checker;
        checker.CheckText(InCode(row.Code));
        ASSERT_EQ(checker.Errors.Count(), 1) << row.Name;
        EXPECT_EQ(checker.Errors.Items(0).Msg, "Nesting too deep") << row.Name;
    }
}

TEST(CheckerTest, NestingWithinTheBoundIsAccepted)
{
    const int depth = 200;
    const std::string code[] = {
        Repeat("{", depth) + "x = 1;" + Repeat("}", depth),
        "x = " + Repeat("(", depth) + "1" + Repeat(")", depth) + ";",
        "x = " + Repeat("f(", depth) + Repeat(")", depth) + ";",
        Repeat("if (x) ", depth) + "y = 1;",
        // Prefix operators and "else if" chains are loops, not nestings.
        "x = " + Repeat("-!", 100000) + "1;",
        "if (x) y = 1;" + Repeat("\nelse if (x) y = 1;", 100000) + "\nelse y = 2;",
    };
    for (const std::string &text : code)
    {
        TCOGChecker checker;
        checker.CheckText(InCode(text));
        EXPECT_EQ(Rows(checker.Errors), std::vector<std::string>{}) << text.substr(0, 40);
    }
}

TEST(CheckerTest, LookAheadOverLongRunsOfCommentLinesKeepsTheLineNumbers)
{
    const std::string run = Repeat("# comment\n\n", 1000);
    TCOGChecker checker;
    checker.CheckText("symbols\nend\ncode\nif (a) if (b) if (c) x = 1;\n" + run + "else y = ;\n" +
                      run + "if (a) x = 1;\n" + run);
    // Lines: 4 header lines, then each run adds 2000.
    EXPECT_EQ(
        Rows(checker.Errors),
        (std::vector<std::string>{"2005: Value, Variable or Function expected,  Delimiter found",
                                  "6006: No end of code section"}));
}

// The recogniser looks one token ahead after a call's "(" and after an if statement's body, and
// keeps that token when it is not the one looked for. A finding made with it in hand carries the
// line the reader was in before it, as if reading had gone back, and the place of the token.
TEST(CheckerTest, FindingsAfterALookAheadCarryTheLineBeforeIt)
{
    struct Row
    {
        std::string Name;
        std::string Code; // from line 3
        std::vector<std::string> Findings;
    } rows[] = {
        {"call whose first argument is lines away",
         "f(\n\n  ;",
         {"5: Value, Variable or Function expected,  Delimiter found @5:2-3",
          "5: ) expected, ; found @5:2-3", "6: ; expected, end found @6:0-3",
          "6: No end of code section @-1:0-0"}},
        {"if statement followed by a stray token lines away",
         "if (a) x = 1;\n\n  )",
         {"5: Variable, Function or Keyword expected, but ) found @5:2-3"}},
        {"else looked for over comment lines",
         "if (a) x = 1;\n  # c\n\n  else y = 2;\nif (b) f(\n  else\n);",
         {"8: Value, Variable or Function expected,  Keyword found @8:2-6",
          "8: ) expected, else found @8:2-6", "9: ; expected, ) found @9:0-1",
          "9: Variable, Function or Keyword expected, but ; found @9:1-2"}},
        // The nesting bound is met right after the look-ahead into the next line.
        {"nesting too deep at a call's first argument",
         "x = " + Repeat("f(", TCOGChecker::MaxNesting - 1) + "\n  1" +
             Repeat(")", TCOGChecker::MaxNesting - 1) + ";",
         {"3: Nesting too deep @4:2-3"}},
        // A string left open is reported each time it is read, so twice when a look-ahead met it.
        {"open string met by a look-ahead",
         "f(\n  'ab\n);",
         {"5: Unterminated string! @4:2-5", "5: Unterminated string! @4:2-5"}},
    };
    for (const Row &row : rows)
    {
        TCOGChecker checker;
        checker.CheckText(InCode(row.Code));
        EXPECT_EQ(PlacedRows(checker.Errors), row.Findings) << row.Name;
    }
}

// Hears the calls of a check as rows of places: "name: (", "first last delimiter" per argument,
// "count to )".
class TCallSink : public TCogCodeSink
{
  public:
    std::vector<std::string> Calls;

    void Symbol(const TCogDeclaration &) override {}
    void Label(std::string_view, const TCogPlace &) override {}
    void Operand(std::string_view, TCogTokenKind, const TCogPlace &) override {}
    void CallLabel(std::string_view, const TCogPlace &) override {}
    void Call(std::string_view word, bool, const TCogPlace &, const TCogPlace &open) override
    {
        Calls.push_back(std::string(word) + ": " + Text(open));
    }
    void CallArgument(const TCogPlace &first, const TCogPlace &last,
                      const TCogPlace &delimiter) override
    {
        Calls.push_back(Text(first) + " " + Text(last) + " " + Text(delimiter));
    }
    void CallEnd(int arguments, const TCogPlace &close) override
    {
        Calls.push_back(std::to_string(arguments) + " to " + Text(close));
    }

  private:
    static std::string Text(const TCogPlace &place)
    {
        return std::to_string(place.Line) + ":" + std::to_string(place.Start) + "-" +
               std::to_string(place.End);
    }
};

// An argument's last token is placed while it is in hand: a string left open after it moves the
// reader two lines on, and the line the last token lay in is gone by the argument's end.
TEST(CheckerTest, CallArgumentsKnowWhereTheyBeginAndEnd)
{
    struct Row
    {
        std::string Code; // from line 3
        std::vector<std::string> Calls;
    } rows[] = {
        {"f(a + g(b),\n  c[1]);",
         {"f: 3:1-2", "g: 3:7-8", "3:8-9 3:8-9 3:9-10", "1 to 3:9-10", "3:2-3 3:9-10 3:10-11",
          "4:2-3 4:5-6 4:6-7", "2 to 4:6-7"}},
        {"f(x\n'ab\n);", {"f: 3:1-2", "3:2-3 3:2-3 4:0-3", "1 to 3:2-3"}},
        {"f();", {"f: 3:1-2", "0 to 3:2-3"}},
    };
    for (const Row &row : rows)
    {
        TCOGChecker checker;
        TCallSink sink;
        checker.Sink = &sink;
        checker.CheckText(InCode(row.Code));
        EXPECT_EQ(sink.Calls, row.Calls) << row.Code;
    }
}
