#pragma once

// How a verb is shown to someone writing a call of it: its signature with the kind and the
// readable name of each argument, for hovers, completion and signature help.

#include <string>
#include <vector>

#include "core/linebuilder/verbtable.h"

// One argument as shown: its kind, then its readable name when that says more than the kind
// ("flex volume", "sound *.snd", "thing").
std::vector<std::string> VerbParameterLabels(const TVerbFact &verb);
// The words that stand for the arguments in a call being written, from their readable names
// without the "*." of resource names and the "*" of flags: "snd", "thing", "volume"...
std::vector<std::string> VerbParameterWords(const TVerbFact &verb);
// "int PlaySoundThing(sound *.snd, thing, flex volume, ...)"; a verb that gives nothing shows
// no return kind.
std::string VerbSignature(const TVerbFact &verb);
// Where each parameter stands in VerbSignature(verb): its first character and its length.
struct TTextSpan
{
    size_t Start = 0;
    size_t Length = 0;
};
std::vector<TTextSpan> VerbParameterSpans(const TVerbFact &verb);
// The games a verb is known in, as a reader says it: "Jedi Knight and MOTS", "MOTS only"...
std::string VerbGamesText(TVerbGame game);
