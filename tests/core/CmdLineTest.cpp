// The command line of a Windows program split and its wildcards expanded as the C runtime
// does it.

#include "core/shell/cmdline.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/core/gobbuilder.h"

namespace {
// The arguments after the program's name, each wild one marked with a leading "~".
std::vector<std::string> Marked(const std::vector<TCommandArg> &args)
{
    std::vector<std::string> marked;
    for (size_t i = 1; i < args.size(); ++i)
        marked.push_back((args[i].Wild ? "~" : "") + args[i].Text);
    return marked;
}
} // namespace

TEST(CmdLineTest, SplitsArgumentsAsTheCRuntimeDoes)
{
    const struct
    {
        const char *Line;
        std::vector<std::string> Args;
    } rows[] = {
        {"qxtool", {}},
        {"qxtool  check \t a.cog  ", {"check", "a.cog"}},
        {R"(qxtool "C:\My Scripts\a.cog" b)", {R"(C:\My Scripts\a.cog)", "b"}},
        {R"(qxtool a" "b "")", {"a b", ""}},
        {R"(qxtool C:\dir\ x)", {R"(C:\dir\)", "x"}},
        {R"(qxtool "C:\dir\\" x)", {R"(C:\dir\)", "x"}},
        {R"(qxtool a\"b a\\"b c" a\\\"b)", {R"(a"b)", R"(a\b c)", R"(a\"b)"}},
        {R"(qxtool "say ""hi""" x)", {R"(say "hi")", "x"}},
        {R"(qxtool "unclosed arg)", {"unclosed arg"}},
        {"qxtool check *.cog d\\?x.cog", {"check", "~*.cog", "~d\\?x.cog"}},
        {R"(qxtool "*.cog" "flag*" a"*")", {"*.cog", "flag*", "a*"}},
        {R"(qxtool a*"b c")", {"~a*b c"}},
        {"qxtool caf\xc3\xa9 \xe6\xb5\x8b", {"caf\xc3\xa9", "\xe6\xb5\x8b"}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(Marked(SplitCommandLine(row.Line)), row.Args) << row.Line;
}

TEST(CmdLineTest, TheProgramNameIsCutAtItsQuoteOrFirstBlank)
{
    const std::pair<const char *, const char *> rows[] = {
        {R"("C:\Program Files\Quillex\qxtool.exe" check)",
         R"(C:\Program Files\Quillex\qxtool.exe)"},
        {R"(C:\tools\qxtool.exe check)", R"(C:\tools\qxtool.exe)"},
        // Backslashes in the name escape nothing.
        {R"("C:\tools\\" check)", R"(C:\tools\\)"},
        {"", ""},
    };
    for (const auto &[line, name] : rows)
    {
        const std::vector<TCommandArg> args = SplitCommandLine(line);
        ASSERT_FALSE(args.empty()) << line;
        EXPECT_EQ(args[0].Text, name) << line;
        EXPECT_FALSE(args[0].Wild) << line;
    }
    EXPECT_EQ(Marked(SplitCommandLine(R"("C:\a b\qxtool.exe" check)")),
              std::vector<std::string>{"check"});
}

TEST(CmdLineTest, WildcardsMatchAnyRunOrOneCharacterWhateverTheCase)
{
    const struct
    {
        const char *Pattern;
        const char *Name;
        bool Matches;
    } rows[] = {
        {"*.cog", "door.cog", true},
        {"*.cog", "DOOR.COG", true},
        {"*.cog", "door.cogx", false},
        {"*.cog", ".cog", true},
        {"d??r.cog", "door.cog", true},
        {"d??r.cog", "dor.cog", false},
        // "?" is one character of UTF-8, whatever its length in bytes.
        {"caf?.cog", "caf\xc3\xa9.cog", true},
        {"?.cog", "\xe6\xb5\x8b.cog", true},
        {"*", "", true},
        {"?", "", false},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
        {"*x*", "abc", false},
        {"door.cog", "door.cog", true},
        {"door.cog", "door", false},
    };
    for (const auto &row : rows)
        EXPECT_EQ(MatchesWildcard(row.Pattern, row.Name), row.Matches)
            << row.Pattern << " " << row.Name;
}

TEST(CmdLineTest, WildArgumentsBecomeTheMatchingPathsInOrder)
{
    TScratchDir scratch;
    const std::string dir = scratch.Folder();
    for (const char *name : {"b.cog", "A.cog", "c.txt", "caf\xc3\xa9.cog"})
        WriteBytes(dir + name, "x");
    std::filesystem::create_directory(dir + "sub.cog");
    const struct
    {
        TCommandArg Arg;
        std::vector<std::string> Expanded;
    } rows[] = {
        {{dir + "*.cog", true},
         {dir + "A.cog", dir + "b.cog", dir + "caf\xc3\xa9.cog", dir + "sub.cog"}},
        {{dir + "?.COG", true}, {dir + "A.cog", dir + "b.cog"}},
        {{dir + "*.txt", true}, {dir + "c.txt"}},
        // Nothing matches: the argument stays, and names a missing file.
        {{dir + "*.mat", true}, {dir + "*.mat"}},
        // Quoted: a name, even with a wildcard in it.
        {{dir + "*.cog", false}, {dir + "*.cog"}},
        // Only the last part is a pattern.
        {{dir + "s*/x.cog", true}, {dir + "s*/x.cog"}},
        {{"check", false}, {"check"}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ExpandWildcards({row.Arg}), row.Expanded) << row.Arg.Text;
    // Each argument in its place.
    EXPECT_EQ(ExpandWildcards({{"check", false}, {dir + "*.txt", true}, {"--werror", false}}),
              (std::vector<std::string>{"check", dir + "c.txt", "--werror"}));
}
