#pragma once

// Folder names as a case-insensitive disk would treat them: archive members and fixed names
// written in one letter case must reach the folders a user or another tool made in another.

#include <string>

#include "core/shell/result.h"

// base + relPath ("/" separators), with each folder of relPath's folder part spelled as the
// existing folder that matches it whatever its letter case. A folder with no match keeps
// relPath's spelling; with createMissing it is created (failing with "Cannot create folder
// PATH" when that fails), so a new folder appears only where none matches. The file name itself
// is kept as given. Without createMissing it cannot fail.
TResult<std::string> ResolveFoldersNoCase(const std::string &base, const std::string &relPath,
                                          bool createMissing);
