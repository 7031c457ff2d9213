#include "core/analysis/scriptanalysis.h"

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {
// "line:column-line:column", 0-based, as the rows below write ranges.
std::string Span(const TScriptRange &range)
{
    return std::to_string(range.Start.Line) + ":" + std::to_string(range.Start.Column) + "-" +
           std::to_string(range.End.Line) + ":" + std::to_string(range.End.Column);
}

// A script of the given symbol lines and code lines; the symbols start on line 1, the code on
// line 3 plus the number of symbol lines.
std::string Script(const std::string &symbols, const std::string &code)
{
    return "symbols\n" + symbols + "end\ncode\n" + code + "\nend\n";
}

TScriptAnalysis Analyse(const std::string &text, bool gameChecks = true)
{
    TAnalysisOptions options;
    options.GameChecks = gameChecks;
    return AnalyseScript(text, options);
}

// "E 3:4-3:5 message" or "W ..." for each diagnostic.
std::vector<std::string> Diagnostics(const TScriptAnalysis &analysis)
{
    std::vector<std::string> rows;
    for (const TScriptDiagnostic &diagnostic : analysis.Diagnostics)
        rows.push_back(
            std::string(diagnostic.Severity == TDiagnosticSeverity::Error ? "E " : "W ") +
            Span(diagnostic.Range) + " " + diagnostic.Message);
    return rows;
}

// "3:4-3:9 symbol" for each use, the symbol by its name as declared.
std::vector<std::string> Uses(const TScriptAnalysis &analysis)
{
    std::vector<std::string> rows;
    for (const TSymbolUse &use : analysis.Uses)
        rows.push_back(Span(use.Range) + " " +
                       analysis.Symbols[static_cast<size_t>(use.Symbol)].Name);
    return rows;
}

// The text of text at range, which lies in one line.
std::string TextAt(std::string_view text, const TScriptRange &range)
{
    const std::vector<std::string_view> lines = SplitTextLineViews(text);
    return std::string(lines.at(static_cast<size_t>(range.Start.Line))
                           .substr(static_cast<size_t>(range.Start.Column),
                                   static_cast<size_t>(range.End.Column - range.Start.Column)));
}

// "Verb name (parens) ^parent [argument|delimiter] [argument|delimiter=number]" for each call of
// text.
std::vector<std::string> Calls(const TScriptAnalysis &analysis, std::string_view text)
{
    std::vector<std::string> rows;
    for (const TScriptCall &call : analysis.Calls)
    {
        std::string row =
            TextAt(text, call.Name) + " " + Span(call.Name) + " (" + Span(call.Parens) + ")";
        if (call.Parent >= 0)
            row += " ^" + TextAt(text, analysis.Calls[static_cast<size_t>(call.Parent)].Name);
        for (const TCallArgument &argument : ArgumentsOf(analysis, call))
        {
            row += " [" + Span(argument.Range) + "|" + std::to_string(argument.Delimiter.Line) +
                   ":" + std::to_string(argument.Delimiter.Column);
            if (argument.Number)
                row += "=" + TextAt(text, argument.Range);
            row += "]";
        }
        rows.push_back(row);
    }
    return rows;
}

// Each range of the analysis lies inside its line of text: a position no further than the line's
// end, and an end no earlier than the start.
void ExpectRangesInsideTheirLines(const TScriptAnalysis &analysis, const std::string &text)
{
    const std::vector<std::string_view> lines = SplitTextLineViews(text);
    const auto inside = [&](const TScriptRange &range) {
        const auto fits = [&](const TScriptPos &pos) {
            return pos.Line >= 0 && static_cast<size_t>(pos.Line) < lines.size() &&
                   pos.Column >= 0 &&
                   static_cast<size_t>(pos.Column) <= lines[static_cast<size_t>(pos.Line)].size();
        };
        EXPECT_TRUE(fits(range.Start) && fits(range.End) && !(range.End < range.Start))
            << Span(range) << " in\n"
            << text;
    };
    for (const TScriptDiagnostic &each : analysis.Diagnostics)
        inside(each.Range);
    for (const TSymbolUse &each : analysis.Uses)
        inside(each.Range);
    for (const TScriptCall &each : analysis.Calls)
    {
        inside(each.Name);
        inside(each.Parens);
        for (const TCallArgument &argument : ArgumentsOf(analysis, each))
            inside(argument.Range);
    }
}
} // namespace

TEST(ScriptAnalysisTest, DiagnosticsStandAtTheTokenTheyAreAbout)
{
    struct Row
    {
        std::string Text;
        std::vector<std::string> Diagnostics;
    } rows[] = {
        // The token in hand when the error was recorded; the end of the text is no token.
        {Script("", "\tx = 1 +;"),
         {"E 3:8-3:9 Value, Variable or Function expected,  Delimiter found"}},
        {Script("", "x = 1"),
         {"E 4:0-4:3 Operator, delimiter or closing bracket expected,  End label found",
          "E 4:0-4:3 ; expected, end found", "E 4:0-4:3 No end of code section"}},
        // A type word after blanks and a tab.
        {"symbols\n \tbogus x\nend\ncode\nend\n", {"E 1:2-1:7 Unknown type"}},
        // An open string is reported from the next line, but stands on its own.
        {Script("", "x = 'abc;\n;"), {"E 3:4-3:9 Unterminated string!"}},
        // No token: the line's text without its leading blanks.
        {"symbols\nend\n \t tail text\n", {"E 2:3-2:12 No code section!"}},
        {"", {"E 0:0-0:0 No symbols section!"}},
        // Game-aware warnings: at the name they are about, a piece of a longer word included.
        {Script("int x\n", "x = x<GetThingHelth(1);"),
         {"W 4:6-4:19 Unknown verb 'GetThingHelth' (did you mean 'GetThingHealth'?)"}},
        {Script("", "Print(VectorX(\n  GetThingPos(0), 1));"),
         {"W 3:6-3:13 'VectorX' takes 1 argument, 2 given"}},
        {Script("int a\nthing A\n", "a = 1;"), {"W 2:6-2:7 Symbol 'A' is declared twice"}},
        {Script("message  Pulse\n", "return;"), {"W 1:9-1:14 Message 'Pulse' has no handler"}},
        {Script("", "call Nowhere;"), {"W 3:5-3:12 Label 'Nowhere' does not exist"}},
        // Errors come first, and a script with errors gets no warnings.
        {Script("", "Unknown(1)\n"),
         {"E 5:0-5:3 ; expected, end found", "E 5:0-5:3 No end of code section"}},
    };
    for (const Row &row : rows)
    {
        const TScriptAnalysis analysis = Analyse(row.Text);
        EXPECT_EQ(Diagnostics(analysis), row.Diagnostics) << row.Text;
        if (!row.Text.empty())
            ExpectRangesInsideTheirLines(analysis, row.Text);
    }
}

TEST(ScriptAnalysisTest, SymbolsKeepTheirWordsAsWritten)
{
    struct Row
    {
        std::string Line;
        std::string Type, Name, Value;
        std::vector<std::string> Flags;
        std::string Range;
    } rows[] = {
        {"thing Player local", "thing", "Player", "", {"local"}, "1:6-1:12"},
        {"\t Sound  snd=Beep.WAV nolink  # the click",
         "Sound",
         "snd",
         "Beep.WAV",
         {"nolink"},
         "1:9-1:12"},
        {"flex speed = 2.0 desc=fast mask=0x400",
         "flex",
         "speed",
         "2.0",
         {"desc=fast", "mask=0x400"},
         "1:5-1:10"},
        {"surface wall linkid=1 mask=0x448 // to open",
         "surface",
         "wall",
         "",
         {"linkid=1", "mask=0x448"},
         "1:8-1:12"},
        {"int x=", "int", "x", "", {}, "1:4-1:5"},
    };
    for (const Row &row : rows)
    {
        const TScriptAnalysis analysis = Analyse(Script(row.Line + "\n", "return;"));
        ASSERT_EQ(analysis.Symbols.size(), 1U) << row.Line;
        const TScriptSymbol &symbol = analysis.Symbols[0];
        EXPECT_EQ(symbol.Type, row.Type) << row.Line;
        EXPECT_EQ(symbol.Name, row.Name) << row.Line;
        EXPECT_EQ(symbol.Value, row.Value) << row.Line;
        EXPECT_EQ(symbol.Flags, row.Flags) << row.Line;
        EXPECT_EQ(Span(symbol.Range), row.Range) << row.Line;
    }
    // A type word alone declares nothing; a symbol declared twice is listed twice.
    EXPECT_TRUE(Analyse(Script("message\n", "return;")).Symbols.empty());
    EXPECT_EQ(Analyse(Script("int a\nint a\n", "return;")).Symbols.size(), 2U);
}

TEST(ScriptAnalysisTest, LabelsKnowTheirHandlersAndTheirCalls)
{
    const TScriptAnalysis analysis =
        Analyse(Script("message startup\nint pulse\nmessage Pulse\n",
                       "startup:\n  call Helper;\n  call PULSE;\n  call missing;\n"
                       "helper:\npulse:\n  return;"));
    struct LabelRow
    {
        std::string Name, Range;
        int Message;
    };
    const std::vector<LabelRow> labels = {
        {"startup", "6:0-6:7", 0},
        {"helper", "10:0-10:6", -1},
        // A name declared twice is a message if either declaration says so.
        {"pulse", "11:0-11:5", 2},
    };
    ASSERT_EQ(analysis.Labels.size(), labels.size());
    for (size_t i = 0; i < labels.size(); ++i)
    {
        EXPECT_EQ(analysis.Labels[i].Name, labels[i].Name);
        EXPECT_EQ(Span(analysis.Labels[i].Range), labels[i].Range) << labels[i].Name;
        EXPECT_EQ(analysis.Labels[i].Message, labels[i].Message) << labels[i].Name;
    }
    struct CallRow
    {
        std::string Name, Range;
        int Label;
    };
    const std::vector<CallRow> calls = {
        // Calls name labels defined further on, in any letter case.
        {"Helper", "7:7-7:13", 1},
        {"PULSE", "8:7-8:12", 2},
        {"missing", "9:7-9:14", -1},
    };
    ASSERT_EQ(analysis.LabelCalls.size(), calls.size());
    for (size_t i = 0; i < calls.size(); ++i)
    {
        EXPECT_EQ(analysis.LabelCalls[i].Name, calls[i].Name);
        EXPECT_EQ(Span(analysis.LabelCalls[i].Range), calls[i].Range) << calls[i].Name;
        EXPECT_EQ(analysis.LabelCalls[i].Label, calls[i].Label) << calls[i].Name;
    }
}

TEST(ScriptAnalysisTest, UsesFindEveryNameOfADeclaredSymbol)
{
    const std::string symbols = "thing Player\nint i\nint values\nflex speed\n";
    struct Row
    {
        std::string Code;
        std::vector<std::string> Uses;
    } rows[] = {
        {"player = i<speed;", {"7:0-7:6 Player", "7:9-7:10 i", "7:11-7:16 speed"}},
        // Strings and comments hold no names; words that only contain a name are not it.
        {"Print(\"player\"); i = 1; // player", {"7:17-7:18 i"}},
        {"iplayer = player_2;", {}},
        {"values[i] = 0;", {"7:0-7:6 values", "7:7-7:8 i"}},
        {"for (i = 0; i < 3; i = i + 1) speed = -!i;",
         {"7:5-7:6 i", "7:12-7:13 i", "7:19-7:20 i", "7:23-7:24 i", "7:30-7:35 speed",
          "7:40-7:41 i"}},
        // A number hides a name behind "<"; a call may come after one, or be a symbol's name.
        {"i = 0<i;", {"7:0-7:1 i", "7:6-7:7 i"}},
        {"i = i>GetThingHealth(Player);", {"7:0-7:1 i", "7:4-7:5 i", "7:21-7:27 Player"}},
        {"speed(1);", {"7:0-7:5 speed"}},
        {"call i;", {}},
    };
    for (const Row &row : rows)
    {
        const std::string text = Script(symbols, row.Code);
        const TScriptAnalysis analysis = Analyse(text);
        EXPECT_EQ(Uses(analysis), row.Uses) << row.Code;
        ExpectRangesInsideTheirLines(analysis, text);
    }
}

TEST(ScriptAnalysisTest, CallsPlaceTheirNameParenthesesAndArguments)
{
    struct Row
    {
        std::string Code;
        std::vector<std::string> Calls;
    } rows[] = {
        {"x = VectorX(GetThingPos(p), 1);",
         {"VectorX 3:4-3:11 (3:11-3:30) [3:12-3:26|3:26] [3:28-3:29|3:29=1]",
          "GetThingPos 3:12-3:23 (3:23-3:26) ^VectorX [3:24-3:25|3:25]"}},
        // A call over several lines, with a comment between its arguments.
        {"SetPulse(\n  GetThingHealth(0,  # first\n 1));",
         {"SetPulse 3:0-3:8 (3:8-5:4) [4:2-5:3|5:3]",
          "GetThingHealth 4:2-4:16 (4:16-5:3) ^SetPulse [4:17-4:18|4:18=0] [5:1-5:2|5:2=1]"}},
        {"\tGetSenderRef ( );", {"GetSenderRef 3:1-3:13 (3:14-3:17)"}},
        // Which arguments are one number: a sign may stand before it, nothing else around it.
        {"f(0x81, -1, - 2.5, (3), x+1, \"4\", 0<x, .5);",
         {"f 3:0-3:1 (3:1-3:42) [3:2-3:6|3:6=0x81] [3:8-3:10|3:10=-1] [3:12-3:17|3:17=- 2.5] "
          "[3:19-3:22|3:22] [3:24-3:27|3:27] [3:29-3:32|3:32] [3:34-3:37|3:37] "
          "[3:39-3:41|3:41=.5]"}},
    };
    for (const Row &row : rows)
    {
        const std::string text = Script("", row.Code);
        const TScriptAnalysis analysis = Analyse(text);
        EXPECT_EQ(Calls(analysis, text), row.Calls) << row.Code;
        ExpectRangesInsideTheirLines(analysis, text);
    }
}

TEST(ScriptAnalysisTest, PlaceAtTellsWhatStandsThere)
{
    // 0: symbols
    // 1: thing player
    // 2: message startup
    // 3: end
    // 4: code
    // 5: startup:
    // 6:   PlaySoundThing(snd, player, 1.0, -1, -1, 0x81);
    // 7:   x = VectorX(GetThingPos(player), 2) + GetSenderRef( );
    // 8:   call done;
    // 9: done:
    const std::string text = Script("thing player\nmessage startup\n",
                                    "startup:\n  PlaySoundThing(snd, player, 1.0, -1, -1, 0x81);\n"
                                    "  x = VectorX(GetThingPos(player), 2) + GetSenderRef( );\n"
                                    "  call done;\ndone:");
    const TScriptAnalysis analysis = Analyse(text);
    using K = TPlaceKind;
    struct Row
    {
        int Line, Column;
        TPlaceKind Kind;
        int Item, Symbol, Label, Call, Argument;
        std::string Number;
    } rows[] = {
        {1, 6, K::SymbolDeclaration, 0, 0, -1, -1, -1, ""},
        {1, 12, K::SymbolDeclaration, 0, 0, -1, -1, -1, ""},
        {1, 2, K::Nothing, -1, -1, -1, -1, -1, ""},
        {5, 0, K::Handler, 0, 1, 0, -1, -1, ""},
        {9, 4, K::Label, 1, -1, 1, -1, -1, ""},
        {8, 9, K::LabelCall, 0, -1, 1, -1, -1, ""},
        // A verb's name, up to the "(" right after it.
        {6, 2, K::VerbName, 0, -1, -1, 0, -1, ""},
        {6, 16, K::VerbName, 0, -1, -1, 0, -1, ""},
        // Inside the parentheses: the argument by the commas before the place.
        {6, 17, K::Argument, -1, -1, -1, 0, 0, ""},
        {6, 20, K::Argument, -1, -1, -1, 0, 0, ""},
        {6, 21, K::Argument, -1, -1, -1, 0, 1, ""},
        {6, 24, K::SymbolUse, 0, 0, -1, 0, 1, ""},
        {6, 32, K::Argument, -1, -1, -1, 0, 2, "1.0"},
        {6, 37, K::Argument, -1, -1, -1, 0, 3, "-1"},
        {6, 45, K::Argument, -1, -1, -1, 0, 5, "0x81"},
        {6, 47, K::Argument, -1, -1, -1, 0, 5, "0x81"},
        {6, 48, K::Nothing, -1, -1, -1, -1, -1, ""},
        // The innermost call wins.
        {7, 20, K::VerbName, 2, -1, -1, 2, -1, ""},
        {7, 28, K::SymbolUse, 1, 0, -1, 2, 0, ""},
        {7, 36, K::Argument, -1, -1, -1, 1, 1, "2"},
        {7, 38, K::Nothing, -1, -1, -1, -1, -1, ""},
        // Empty parentheses hold the first argument.
        {7, 53, K::Argument, -1, -1, -1, 3, 0, ""},
        {7, 55, K::Nothing, -1, -1, -1, -1, -1, ""},
        // Nowhere in the text.
        {7, 200, K::Nothing, -1, -1, -1, -1, -1, ""},
        {-1, 0, K::Nothing, -1, -1, -1, -1, -1, ""},
        {40, 3, K::Nothing, -1, -1, -1, -1, -1, ""},
    };
    for (const Row &row : rows)
    {
        const TScriptPlace place = PlaceAt(analysis, row.Line, row.Column);
        const std::string at = std::to_string(row.Line) + ":" + std::to_string(row.Column);
        EXPECT_EQ(place.Kind, row.Kind) << at;
        EXPECT_EQ(place.Item, row.Item) << at;
        EXPECT_EQ(place.Symbol, row.Symbol) << at;
        EXPECT_EQ(place.Label, row.Label) << at;
        EXPECT_EQ(place.Call, row.Call) << at;
        EXPECT_EQ(place.Argument, row.Argument) << at;
        EXPECT_EQ(place.Number, !row.Number.empty()) << at;
        EXPECT_EQ(place.Number ? TextAt(text, place.NumberRange) : "", row.Number) << at;
    }
}

TEST(ScriptAnalysisTest, ColumnsCountTheBytesOfTheLineWhateverItsEnd)
{
    // A Windows-1252 "e acute" before the token counts one byte.
    const std::string text = Script("int x\n", "Print(\"caf\xe9\"); x = 1;");
    const TScriptAnalysis analysis = Analyse(text);
    EXPECT_EQ(Uses(analysis), std::vector<std::string>{"4:15-4:16 x"});
    // The same script with each line end gives the same analysis.
    std::string crlf;
    std::string cr;
    for (char c : text)
    {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
    }
    EXPECT_EQ(Analyse(crlf), analysis);
    EXPECT_EQ(Analyse(cr), analysis);
}

TEST(ScriptAnalysisTest, AScriptWithErrorsStillGivesWhatTheCheckerRead)
{
    const std::string text = Script("thing player\n", "startup:\n  x = GetThingPos(player;\n"
                                                      "  Print(\"open);\n  player = 1;\n");
    const TScriptAnalysis analysis = Analyse(text);
    // The checker goes on from the token in hand: "Print" is taken for what the assignment
    // lacked, and the line after the open string is read as it should be.
    EXPECT_EQ(Diagnostics(analysis),
              (std::vector<std::string>{
                  "E 5:24-5:25 ) expected, ; found",
                  "E 6:2-6:7 Operator, delimiter or closing bracket expected,  Function found",
                  "E 6:2-6:7 ; expected, print found",
                  "E 6:7-6:8 Variable, Function or Keyword expected, but ( found",
                  "E 6:8-6:15 Unterminated string!",
                  "E 6:8-6:15 Variable, Function or Keyword expected, but \"open);\" found"}));
    EXPECT_EQ(analysis.Symbols.size(), 1U);
    EXPECT_EQ(analysis.Labels.size(), 1U);
    EXPECT_EQ(Uses(analysis), (std::vector<std::string>{"5:18-5:24 player", "7:2-7:8 player"}));
    // Calls without their ")" end with their last argument.
    EXPECT_EQ(Calls(analysis, text),
              (std::vector<std::string>{"GetThingPos 5:6-5:17 (5:17-5:24) [5:18-5:24|5:24]"}));
    ExpectRangesInsideTheirLines(analysis, text);

    // A call cut short by the end of the text: its empty argument stands after its "(".
    const std::string cut = "symbols\nend\ncode\nx = f (";
    const TScriptAnalysis cutAnalysis = Analyse(cut);
    EXPECT_EQ(Calls(cutAnalysis, cut),
              std::vector<std::string>{"f 3:4-3:5 (3:6-3:7) [3:7-3:7|3:7]"});
    ExpectRangesInsideTheirLines(cutAnalysis, cut);
}

TEST(ScriptAnalysisTest, CallsNestedTooDeepEndWithTheCheck)
{
    std::string code = "x = ";
    for (int i = 0; i < TCOGChecker::MaxNesting; ++i)
        code += "f(";
    const std::string text = Script("", code);
    const TScriptAnalysis analysis = Analyse(text);
    ASSERT_FALSE(analysis.Diagnostics.empty());
    EXPECT_EQ(analysis.Diagnostics.back().Message, "Nesting too deep");
    ASSERT_FALSE(analysis.Calls.empty());
    for (size_t i = 1; i < analysis.Calls.size(); ++i)
        EXPECT_EQ(analysis.Calls[i].Parent, static_cast<int>(i) - 1);
    ExpectRangesInsideTheirLines(analysis, text);
    EXPECT_EQ(PlaceAt(analysis, 3, 4).Call, 0);
    EXPECT_EQ(PlaceAt(analysis, 3, 8).Call, 2);
}

TEST(ScriptAnalysisTest, GameChecksFollowTheOptions)
{
    const std::string text =
        Script("thing player\n", "player = GetThingGuid(player);\nx = GetSenderRef();");
    struct Row
    {
        bool GameChecks;
        TCheckGame Game;
        std::vector<std::string> Diagnostics;
    } rows[] = {
        {true, TCheckGame::Either, {"W 5:0-5:1 'x' is declared nowhere"}},
        {true,
         TCheckGame::JK,
         {"W 4:9-4:21 'GetThingGuid' exists only in MOTS", "W 5:0-5:1 'x' is declared nowhere"}},
        {false, TCheckGame::JK, {}},
    };
    const TScriptAnalysis plain = Analyse(text, false);
    for (const Row &row : rows)
    {
        TAnalysisOptions options;
        options.GameChecks = row.GameChecks;
        options.Game = row.Game;
        TScriptAnalysis analysis = AnalyseScript(text, options);
        EXPECT_EQ(Diagnostics(analysis), row.Diagnostics);
        // The pass changes nothing but the warnings.
        analysis.Diagnostics.clear();
        EXPECT_EQ(analysis, plain);
    }

    // The pass knows only the verbs handed in.
    const TVerbTableResult table = ParseVerbTable("name\tparam_kinds\treturns\tsection\tgame\n"
                                                  "GetThingGuid\tthing\tint\tThing\tJK+MOTS\n");
    ASSERT_EQ(table.Error, "");
    TVerbIndex verbs;
    verbs["getthingguid"].push_back(&table.Verbs[0]);
    TAnalysisOptions options;
    options.Verbs = &verbs;
    EXPECT_EQ(Diagnostics(AnalyseScript(text, options)),
              (std::vector<std::string>{"W 5:4-5:16 Unknown verb 'GetSenderRef'",
                                        "W 5:0-5:1 'x' is declared nowhere"}));
}

TEST(ScriptAnalysisTest, AnalysesOnTwoThreadsAgreeWithOneAfterTheOther)
{
    std::string first = "symbols\nthing player\nmessage startup\nend\ncode\nstartup:\n";
    std::string second = "symbols\nint x\nend\ncode\n";
    for (int i = 0; i < 400; ++i)
    {
        first += "  PlaySoundThing(snd, player, 1.0, -1, -1, 0x81);\n";
        second += "  x = VectorX(GetThingPos(x), " + std::to_string(i) + ") + y;\n";
    }
    first += "end\n";
    second += "end\n";
    const TScriptAnalysis expectedFirst = Analyse(first);
    const TScriptAnalysis expectedSecond = Analyse(second);
    ASSERT_FALSE(expectedFirst.Diagnostics.empty());
    ASSERT_FALSE(expectedSecond.Diagnostics.empty());
    TScriptAnalysis gotFirst;
    TScriptAnalysis gotSecond;
    std::thread one([&] { gotFirst = Analyse(first); });
    std::thread two([&] { gotSecond = Analyse(second); });
    one.join();
    two.join();
    EXPECT_EQ(gotFirst, expectedFirst);
    EXPECT_EQ(gotSecond, expectedSecond);
}
