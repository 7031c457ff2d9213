#pragma once

// The keywords by which the flag calculator chooses the kind of a flag argument: it looks
// for each of them, in table order, anywhere in the built line ("SetActorFlags(actor,
// flag*)" holds "ActorFlag"), and every keyword found runs its kind, so the last one found
// decides the names shown.

#include <string_view>
#include <vector>

struct TFlagKeyword
{
    const char *Keyword;
    // The calculator's method for the kind ("EditActor").
    const char *Kind;
};

// The 29 keywords in the order the calculator tests them.
const std::vector<TFlagKeyword> &FlagKeywords();

// The keywords line holds, in table order (case-sensitive).
std::vector<const TFlagKeyword *> FlagKeywordsIn(std::string_view line);

// Whether a double-click on the built line opens the calculator: the line holds the flag
// placeholder "flag*" and no "Get" (a line that reads a value takes no flag to compose).
bool OpensFlagCalculator(std::string_view line);
