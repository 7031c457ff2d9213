#pragma once

// The program's folders and the game's folders as values the frame owns and hands to the
// windows that use them. Folder strings end with the platform's separator ("/") and paths are
// built by plain concatenation.

#include <array>
#include <string>
#include <vector>

// The version written to the settings at every start and shown in the About box.
inline constexpr const char *QxVersion = "0.3 beta";

// The folders of the program itself: the one it works in, its data and its scripts.
struct TProgramFolders
{
    std::string ProgramDir;
    std::string DataDir;
    std::string CogDir;
};
// The folders below the program's folder (with its trailing separator).
TProgramFolders ProgramFoldersIn(const std::string &folder);

// Where the user keeps the game's resources, as set in the Directories dialog.
struct TGameFolders
{
    std::string TemplateFile;
    std::string JKDir;
    std::string MotsDir;
    std::string ProjectDir;
    // The game whose resources the Resource Picker reads: Jedi Knight unless the user chose
    // MOTS.
    bool UseJK = true;
};

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
