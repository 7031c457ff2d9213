#pragma once

// How an archive member compares with a file already on disk, so extraction replaces only
// what would change and asks before replacing a file the user may have edited.

#include <string>

#include "core/shell/result.h"

enum class TMemberTarget
{
    // No file at the target: extracting loses nothing.
    Missing,
    // The file holds exactly the member's bytes: nothing to do.
    Same,
    // The file holds something else: replacing it loses that.
    Differs
};

struct TGobArchive;

// Compares member index of archive with the file at target. Fails when the archive or the file
// cannot be read.
TResult<TMemberTarget> CompareMemberWithFile(const TGobArchive &archive, int index,
                                             const std::string &target);
