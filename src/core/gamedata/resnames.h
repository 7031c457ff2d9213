#pragma once

// The Resource Picker's rules for archive member names: how a stored name is cleaned up for the
// list, which members a request for one extension lists, in which folder of the archive a listed
// name is found, and which files of a folder are archives.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/folders.h"

// A stored name field as the picker lists it: up to its first NUL (old packers left bytes of
// earlier names after it), then without trailing blanks and control characters.
std::string TrimMemberName(std::string_view nameField);
// The part of a member name after its last backslash (or slash).
std::string MemberFileName(std::string_view name);
// The extension of the file-name part from its last dot, dot included; empty when it has none.
std::string MemberExt(std::string_view name);
// The same name with its extension replaced by ext (added when it has none).
std::string ChangeMemberExt(std::string_view name, std::string_view ext);

// The archive folder that holds members of extension ext (exact, case-sensitive, dot included),
// with its trailing backslash; empty for extensions listed with their folder (".mat", ".wav")
// and for unknown ones.
std::string ResFolder(std::string_view ext);
// The member name under which a listed name is stored: its folder put in front.
std::string ResMemberPath(std::string_view listed);
// Whether the list shows members of extension ext with their folder: textures and sounds live
// in many folders, so their bare names would not find them again.
bool ListedWithFolder(std::string_view ext);

// The text a request for extension ext lists for member, or nothing when member is not of that
// extension (exact, case-sensitive). Bare file names, except for ".mat" and ".wav" members,
// which keep their folder.
std::optional<std::string> ResListName(std::string_view member, std::string_view ext);
// ResListName over every member, in order.
std::vector<std::string> ListResNames(const std::vector<std::string> &members,
                                      std::string_view ext);
// The indices of the colormap (".cmp") members, in order, at most limit of them.
std::vector<int> ColormapMembers(const std::vector<std::string> &members, int limit);
// The colormap slot chosen by the text of the colormap box: the last item equal to text, or
// current when none is.
int ChooseColormap(const std::vector<std::string> &items, std::string_view text, int current);
// A member's bytes as preview text: up to its end or its first NUL, whichever comes first.
std::string MemberPreviewText(const std::vector<uint8_t> &bytes);

// The GOB and GOO files of folder (extension in any letter case), sorted by name without
// regard to case; empty when the folder is unset or cannot be listed.
std::vector<std::string> ArchiveFilesIn(const std::string &folder);

// The archive the Resource Picker reads for the game's folders, and the folder whose archives
// it offers to choose from. Only the chosen game's folder must hold its archive (found whatever
// its letter case); with MOTS chosen the Jedi Knight archive is still the one read where there
// is one.
struct TPickerArchives
{
    // The chosen game's folder holds its archive; otherwise Message says so, and Archive is
    // where the archive was looked for.
    bool Found = false;
    std::string Archive;
    std::string ChoiceFolder;
    // The name the choice of archives shows.
    std::string ChoiceShown;
    std::string Message;
};
TPickerArchives ChoosePickerArchives(const TGameFolders &game);
