#pragma once

// How a verb is shown to someone writing a call of it: its signature with the kind and the
// readable name of each argument, for hovers, completion and signature help.

#include <string>
#include <vector>

#include "core/linebuilder/verbtable.h"

// One argument as shown: its kind, then its readable name when that says more than the kind
// ("flex volume", "sound *.snd", "thing").
std::vector<std::string> VerbParameterLabels(const TVerbFact &verb);
// "int PlaySoundThing(sound *.snd, thing, flex volume, ...)"; a verb that gives nothing shows
// no return kind.
std::string VerbSignature(const TVerbFact &verb);
// The games a verb is known in, as a reader says it: "Jedi Knight and MOTS", "MOTS only"...
std::string VerbGamesText(TVerbGame game);
