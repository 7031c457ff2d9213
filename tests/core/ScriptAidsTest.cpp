#include "core/analysis/scriptaids.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/shell/textutils.h"

namespace {
const std::string Script = "# a door\n"                                          // 0
                           "symbols\n"                                           // 1
                           "message  activated\n"                                // 2
                           "message  pulse\n"                                    // 3
                           "thing    door    desc=the_door\n"                    // 4
                           "sound    snd=lvrclik2.wav   local\n"                 // 5
                           "end\n"                                               // 6
                           "code\n"                                              // 7
                           "activated:\n"                                        // 8
                           "    PlaySoundThing(snd, door, 1.0, -1, -1, 0x81);\n" // 9
                           "    call open;\n"                                    // 10
                           "    return;\n"                                       // 11
                           "open:\n"                                             // 12
                           "    SetPulse(0.5); // \"(\n"                         // 13
                           "    call open;\n"                                    // 14
                           "end\n";                                              // 15

struct TAnalysed
{
    std::vector<std::string_view> Lines = SplitTextLineViews(Script);
    TScriptAnalysis Analysis = AnalyseScript(Script, TAnalysisOptions());
    TLineReader Reader = [this](int index) {
        return index < static_cast<int>(Lines.size()) ? Lines[static_cast<size_t>(index)]
                                                      : std::string_view();
    };
    TScriptPlace At(int line, int column) const { return PlaceAt(Analysis, line, column); }
};

std::string Lines(const std::vector<TScriptRange> &ranges)
{
    std::string text;
    for (const TScriptRange &range : ranges)
        text += std::to_string(range.Start.Line) + ":" + std::to_string(range.Start.Column) + " ";
    return text;
}

TEST(ScriptAidsTest, WritingContextFollowsSectionsCommentsStringsAndCall)
{
    const struct
    {
        const char *Line;
        TCogSection Section;
        TWritingKind Kind;
        const char *Typed;
    } rows[] = {
        {"thi", TCogSection::Symbols, TWritingKind::SymbolType, "thi"},
        {"  thi", TCogSection::Symbols, TWritingKind::Nothing, "thi"},
        {"message  ent", TCogSection::Symbols, TWritingKind::MessageName, "ent"},
        {"thing door  loc", TCogSection::Symbols, TWritingKind::SymbolRest, "loc"},
        {"    Play", TCogSection::Code, TWritingKind::CodeWord, "Play"},
        {"    x = a+Ge", TCogSection::Code, TWritingKind::CodeWord, "Ge"},
        {"    call op", TCogSection::Code, TWritingKind::CalledLabel, "op"},
        {"    recall op", TCogSection::Code, TWritingKind::CodeWord, "op"},
        {"    Print(\"Pla", TCogSection::Code, TWritingKind::Nothing, "Pla"},
        {"    # Pla", TCogSection::Code, TWritingKind::Nothing, ""},
        {"    x=1; // Pla", TCogSection::Code, TWritingKind::Nothing, ""},
        {"Play", TCogSection::Outside, TWritingKind::Nothing, ""},
    };
    for (const auto &row : rows)
    {
        const std::string line = row.Line;
        const TWritingContext context =
            WritingContextAt(line, static_cast<int>(line.size()), row.Section);
        EXPECT_EQ(context.Kind, row.Kind) << row.Line;
        if (row.Kind != TWritingKind::Nothing)
        {
            EXPECT_EQ(context.Typed, row.Typed) << row.Line;
            EXPECT_EQ(context.WordStart, static_cast<int>(line.size() - context.Typed.size()));
        }
    }
}

TEST(ScriptAidsTest, SectionsAreFoundFromTheLinesAbove)
{
    const TAnalysed script;
    EXPECT_EQ(SectionAbove(script.Reader, 1), TCogSection::Outside);
    EXPECT_EQ(SectionAbove(script.Reader, 4), TCogSection::Symbols);
    EXPECT_EQ(SectionAbove(script.Reader, 7), TCogSection::Outside);
    EXPECT_EQ(SectionAbove(script.Reader, 13), TCogSection::Code);
    EXPECT_EQ(SectionAbove(script.Reader, 16), TCogSection::Outside);
    const TSectionLines lines = SectionLines(script.Reader, static_cast<int>(script.Lines.size()));
    EXPECT_EQ(lines.Symbols, 1);
    EXPECT_EQ(lines.SymbolsEnd, 6);
    EXPECT_EQ(lines.Code, 7);
    EXPECT_EQ(lines.CodeEnd, 15);
}

TEST(ScriptAidsTest, OpenCallCountsItsOwnCommasOnly)
{
    const struct
    {
        const char *Line;
        bool Open;
        const char *Verb;
        int Argument;
    } rows[] = {
        {"    PlaySoundThing(", true, "PlaySoundThing", 0},
        {"    PlaySoundThing(snd, GetSenderRef(), ", true, "PlaySoundThing", 2},
        {"    PlaySoundThing(snd, GetThingPos(a, ", true, "GetThingPos", 1},
        {"    x = Rand() * (a, ", false, "", 0},
        {"    SetPulse((a + b), ", true, "SetPulse", 1},
        {"    Print(\"a, (b\", ", true, "Print", 1},
        {"    x = a[GetThingPos(b, ", true, "GetThingPos", 1},
        {"    x = a[GetSenderRef(), ", false, "", 0},
        {"    x = a[1", false, "", 0},
        {"    SetPulse(1); y = ", false, "", 0},
        {"    SetPulse(1) # (", false, "", 0},
    };
    for (const auto &row : rows)
    {
        const std::string line = row.Line;
        TOpenCall call;
        ASSERT_EQ(OpenCallAt(line, static_cast<int>(line.size()), call), row.Open) << row.Line;
        if (row.Open)
        {
            EXPECT_EQ(call.Verb, row.Verb) << row.Line;
            EXPECT_EQ(call.Argument, row.Argument) << row.Line;
        }
    }
}

TEST(ScriptAidsTest, HoverTellsVerbsFlagsSymbolsHandlersAndLabels)
{
    const TAnalysed script;
    const struct
    {
        int Line;
        int Column;
        const char *Code;
        const char *Text;
        std::vector<std::string> Items;
    } rows[] = {
        {9, 6, "int PlaySoundThing(sound *.snd, thing, flex volume", "Plays a sound", {}},
        {9, 46, "", "0x81 sets:", {"Loops till stopped", "Sound pos moves with thing"}},
        {9, 19, "sound    snd=lvrclik2.wav   local", "Declared on line 6.", {}},
        {2, 12, "message  activated", "Its handler is on line 9.", {}},
        {3, 12, "message  pulse", "No handler", {}},
        {8, 3, "", "The handler of message \"activated\", declared on line 3.", {}},
        {10, 10, "", "Label \"open\" on line 13.", {}},
    };
    for (const auto &row : rows)
    {
        const std::optional<TScriptHover> hover = HoverAt(
            script.Analysis, script.Reader, script.At(row.Line, row.Column), TCheckGame::Either);
        ASSERT_TRUE(hover) << row.Line << ":" << row.Column;
        EXPECT_TRUE(hover->Code.starts_with(row.Code)) << hover->Code;
        EXPECT_NE(hover->Text.find(row.Text), std::string::npos) << hover->Text;
        EXPECT_EQ(hover->Items, row.Items);
    }
    // Not a flag argument, a blank, a keyword.
    for (const auto &[line, column] : {std::pair{9, 40}, {9, 2}, {11, 6}})
        EXPECT_FALSE(
            HoverAt(script.Analysis, script.Reader, script.At(line, column), TCheckGame::Either))
            << line << ":" << column;
}

TEST(ScriptAidsTest, AVerbsHoverSaysOnceWhichGamesKnowIt)
{
    const std::string text = "symbols\nend\ncode\nstartup:\n"
                             "    CreateThingAtPos(a, b, c, d);\n"
                             "    AIGetAlignment(a);\n"
                             "end\n";
    const TScriptAnalysis analysis = AnalyseScript(text, TAnalysisOptions());
    const std::vector<std::string_view> lines = SplitTextLineViews(text);
    const TLineReader reader = [&](int index) { return lines[static_cast<size_t>(index)]; };
    const struct
    {
        int Line;
        TCheckGame Game;
        size_t JediKnightOnly;
        size_t MotsOnly;
    } rows[] = {
        // One row per game: both know it, whichever row is shown.
        {4, TCheckGame::Either, 0, 0},
        {4, TCheckGame::Mots, 0, 0},
        // The description says "MOTS only." already.
        {5, TCheckGame::Either, 0, 1},
    };
    const auto count = [](const std::string &text, const std::string &word) {
        size_t n = 0;
        for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
            ++n;
        return n;
    };
    for (const auto &row : rows)
    {
        const std::optional<TScriptHover> hover =
            HoverAt(analysis, reader, PlaceAt(analysis, row.Line, 6), row.Game);
        ASSERT_TRUE(hover) << row.Line;
        EXPECT_EQ(count(hover->Text, "Jedi Knight only"), row.JediKnightOnly) << hover->Text;
        EXPECT_EQ(count(hover->Text, "MOTS only"), row.MotsOnly) << hover->Text;
    }
}

TEST(ScriptAidsTest, DefinitionsAndOccurrencesJoinMessagesAndHandlers)
{
    const TAnalysed script;
    const struct
    {
        int Line;
        int Column;
        const char *Definition;
        const char *All;
        const char *Uses;
    } rows[] = {
        {9, 24, "4:9 ", "4:9 9:24 ", "9:24 "},              // door
        {2, 12, "8:0 ", "2:9 8:0 ", "8:0 "},                // activated, declared
        {8, 3, "2:9 ", "2:9 8:0 ", "8:0 "},                 // its handler
        {10, 10, "12:0 ", "12:0 10:9 14:9 ", "10:9 14:9 "}, // call open
        {12, 1, "12:0 ", "12:0 10:9 14:9 ", "10:9 14:9 "},  // open:
        {11, 6, "", "", ""},                                // return
    };
    for (const auto &row : rows)
    {
        const TScriptPlace place = script.At(row.Line, row.Column);
        const std::optional<TScriptRange> definition = DefinitionAt(script.Analysis, place);
        EXPECT_EQ(definition ? Lines({*definition}) : "", row.Definition) << row.Line;
        EXPECT_EQ(Lines(OccurrencesAt(script.Analysis, place, true)), row.All) << row.Line;
        EXPECT_EQ(Lines(OccurrencesAt(script.Analysis, place, false)), row.Uses) << row.Line;
    }
}

TEST(ScriptAidsTest, CompletionsFitWhatIsWritten)
{
    const TAnalysed script;
    const auto texts = [&](TWritingKind kind, TCheckGame game = TCheckGame::Either) {
        std::vector<std::string> list;
        for (const TCompletion &item : CompletionsFor({kind, "", 0}, script.Analysis, game))
            list.push_back(item.Text);
        return list;
    };
    const auto has = [](const std::vector<std::string> &list, const std::string &word) {
        return std::find(list.begin(), list.end(), word) != list.end();
    };
    const std::vector<std::string> code = texts(TWritingKind::CodeWord);
    for (const char *word : {"PlaySoundThing", "door", "snd", "return"})
        EXPECT_TRUE(has(code, word)) << word;
    EXPECT_EQ(texts(TWritingKind::CalledLabel), (std::vector<std::string>{"activated", "open"}));
    EXPECT_TRUE(has(texts(TWritingKind::SymbolType), "thing"));
    EXPECT_TRUE(has(texts(TWritingKind::MessageName), "entered"));
    EXPECT_TRUE(texts(TWritingKind::SymbolRest).empty());

    // A verb only MOTS knows is offered for MOTS and not for Jedi Knight.
    const TVerbFact *motsOnly = nullptr;
    for (const TVerbFact &verb : VerbTable())
        if (verb.Game == TVerbGame::Mots && !motsOnly)
            motsOnly = &verb;
    ASSERT_TRUE(motsOnly);
    EXPECT_TRUE(has(texts(TWritingKind::CodeWord, TCheckGame::Mots), motsOnly->Name));
    EXPECT_FALSE(has(texts(TWritingKind::CodeWord, TCheckGame::JK), motsOnly->Name));
}

TEST(ScriptAidsTest, AStoppedAnalysisEndsEarly)
{
    std::string text = "symbols\nint x\nend\ncode\nstartup:\n";
    for (int i = 0; i < 20000; ++i)
        text += "    x = x + 1;\n";
    text += "end\n";
    std::stop_source stop;
    stop.request_stop();
    TAnalysisOptions options;
    options.Stop = stop.get_token();
    EXPECT_LT(AnalyseScript(text, options).Uses.size(), 10000u);
    EXPECT_EQ(AnalyseScript(text, TAnalysisOptions()).Uses.size(), 40000u);
}
} // namespace
