#pragma once

// A program's arguments as Windows hands them over: one command line that the program splits
// itself, by the rules of the C runtime, and in which it expands the wildcards of file names
// itself, since the shells of Windows leave them as typed.

#include <string>
#include <string_view>
#include <vector>

struct TCommandArg
{
    std::string Text;
    // A "*" or "?" of Text stood outside quotes: a pattern of file names, not a name.
    bool Wild = false;
};

// The arguments of a command line, the program's name first. Spaces and tabs outside quotes
// separate arguments; quotes group and are dropped; a quote after an odd number of
// backslashes is kept with half of them, after an even number it groups with half of them;
// other backslashes are kept, so that "C:\dir\" is not needed to name a folder; "" inside
// quotes is one quote. The name is cut at the first space, or taken whole from quote to
// quote, and nothing in it is escaped.
std::vector<TCommandArg> SplitCommandLine(std::string_view line);

// Whether name matches pattern, in which "*" stands for any run of characters and "?" for
// one character (a UTF-8 sequence), letter case aside in ASCII as the file system of Windows
// sees it.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

// The arguments' texts, each wild one replaced by the paths of the files and folders of its
// folder whose names match its last part, sorted by name (letter case aside), its folder part
// kept as typed; one that matches nothing stays as typed, and so names a missing file.
std::vector<std::string> ExpandWildcards(const std::vector<TCommandArg> &args);
