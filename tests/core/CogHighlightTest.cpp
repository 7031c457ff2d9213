#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/analysis/wordclasses.h"

namespace {
using C = TCogWordClass;

// The classed words of line as "class:text" items, for readable expectations.
std::vector<std::string> Words(std::string_view line, TCogSection section)
{
    static const char *const Names[] = {"section", "type",   "ext",     "keyword", "verb",
                                        "number",  "string", "comment", "label"};
    std::vector<TCogSpan> spans;
    ClassifyCogLine(line, section, spans);
    std::vector<std::string> words;
    for (const TCogSpan &span : spans)
        words.push_back(std::string(Names[static_cast<int>(span.Class)]) + ":" +
                        std::string(line.substr(span.Start, span.Length)));
    return words;
}

struct TLineCase
{
    const char *Line;
    TCogSection Section;
    std::vector<std::string> Expected;
};

using W = std::vector<std::string>;
} // namespace

TEST(CogHighlightTest, ClassifiesTheWordsOfEachKindOfLine)
{
    const TCogSection S = TCogSection::Symbols;
    const TCogSection K = TCogSection::Code;
    const TCogSection O = TCogSection::Outside;
    const std::vector<TLineCase> cases = {
        {"# Jedi Knight Cog Script", O, W{"comment:# Jedi Knight Cog Script"}},
        {"flags=0x240", O, W{"section:flags=", "number:0x240"}},
        {"FLAGS = 0x40", O, W{"section:FLAGS =", "number:0x40"}},
        {"Symbols", O, W{"section:Symbols"}},
        {"end   # of symbols", S, W{"section:end", "comment:# of symbols"}},
        {"thing player local", S, W{"type:thing", "ext:local"}},
        {"sound hit=00_boom.wav nolink", S, W{"type:sound", "ext:nolink"}},
        {"int count=5 desc=counter", S, W{"type:int", "number:5", "ext:desc="}},
        {"surface door linkid=3 mask=0x408", S,
         W{"type:surface", "ext:linkid=", "number:3", "ext:mask=", "number:0x408"}},
        {"message startup", S, W{"type:message"}},
        // A type word past the first word is a name, not a type.
        {"thing sector", S, W{"type:thing"}},
        {"startup:", K, W{"label:startup"}},
        {"  If (x == 1.5) Sleep(2);", K, W{"keyword:If", "number:1.5", "verb:Sleep", "number:2"}},
        {"print(\"done # not a comment\"); // it is", K,
         W{"verb:print", "string:\"done # not a comment\"", "comment:// it is"}},
        {"x = \"open string", K, W{"string:\"open string"}},
        {"player = GetSenderRef(); return;", K, W{"verb:GetSenderRef", "keyword:return"}},
        // Verbs and keywords mean nothing outside the code section.
        {"Sleep(1) return", O, W{"number:1"}},
        {"x = 1e-3 + .5 + 0x1F + 12abc", K, W{"number:1e-3", "number:.5", "number:0x1F"}},
        {"", K, W{}},
    };
    for (const TLineCase &c : cases)
        EXPECT_EQ(Words(c.Line, c.Section), c.Expected) << c.Line;
}

TEST(CogHighlightTest, SectionWordsMoveBetweenSections)
{
    const std::vector<std::pair<std::string, TCogSection>> script = {
        {"# comment", TCogSection::Outside}, {"symbols", TCogSection::Symbols},
        {"thing t", TCogSection::Symbols},   {"end", TCogSection::Outside},
        {"  CODE", TCogSection::Code},       {"ending:", TCogSection::Code},
        {"flags=1", TCogSection::Code},      {"End", TCogSection::Outside},
    };
    TCogSection classified = TCogSection::Outside;
    TCogSection quick = TCogSection::Outside;
    std::vector<TCogSpan> spans;
    for (const auto &[line, after] : script)
    {
        ClassifyCogLine(line, classified, spans);
        quick = NextCogSection(line, quick);
        EXPECT_EQ(classified, after) << line;
        EXPECT_EQ(quick, after) << line;
    }
}
