#pragma once

// Folder names as a case-insensitive disk would treat them: archive members and fixed names
// written in one letter case must reach the folders a user or another tool made in another.

#include <string>

// The path of the folder called name in dir, whatever the letter case of its name on disk
// (the exact spelling first); empty when there is none. dir is "" or ends with a separator.
std::string FindFolderNoCase(const std::string &dir, const std::string &name);

// base + relPath ("/" separators), with each folder of relPath's folder part spelled as the
// existing folder that matches it whatever its letter case. A folder with no match keeps
// relPath's spelling; with createMissing it is created (TIOError when that fails), so a new
// folder appears only where none matches. The file name itself is kept as given.
std::string ResolveFoldersNoCase(const std::string &base, const std::string &relPath,
                                 bool createMissing);
