#pragma once

// The variables that several windows share. They live for the whole run; folder strings end
// with the platform's separator ("/") and paths are built by plain concatenation.

#include <array>
#include <string>
#include <vector>

// The version written to the settings at every start and shown in the About box.
inline constexpr const char *QxVersion = "0.3 beta";

extern std::string AppVersion;
extern std::string ProgramDir;
extern std::string DataDir;
extern std::string CogDir;
extern std::string TemplateFile;
extern std::string JKDir;
extern std::string MotsDir;
extern std::string ProjectDir;
// The game whose resources the Resource Picker reads: Jedi Knight unless the user chose MOTS.
extern bool UseJK;

// Sets ProgramDir, DataDir and CogDir from the program's folder (with its trailing separator).
void SetProgramDir(const std::string &folder);

// The folder the program works in: the executable's own folder when the user can write
// there (a portable install or the build tree); otherwise userFolder, seeded from the
// installed folder by SeedUserFolder, whose list of kept files goes to kept. Both end with "/".
std::string ChooseProgramDir(const std::string &executableFolder, const std::string &userFolder,
                             std::vector<std::string> *kept = nullptr);
// Seeds userFolder with the qxdata, cog and help files of installedFolder. In cog only
// missing files are copied: the scripts there are the user's. qxdata and help hold the
// program's own files: a copy the user has not changed since it was seeded follows the
// installed file; a copy the user edited is kept, and its path (relative to userFolder, "/"
// separators) is returned the first time it is kept against an installed version. A record of
// what was seeded stays in userFolder. The folders and copies are writable by the user,
// whatever the installed files' permission bits.
std::vector<std::string> SeedUserFolder(const std::string &installedFolder,
                                        const std::string &userFolder);
