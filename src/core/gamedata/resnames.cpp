#include "core/gamedata/resnames.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/shell/fileio.h"
#include "core/shell/textutils.h"

namespace {
struct TFolderRow
{
    std::string_view Ext;
    std::string_view Folder;
};

// Where the game keeps each kind of resource under its resource root. Textures and sounds are
// spread over several folders and are listed with theirs, so they need no entry.
constexpr TFolderRow FolderMap[] = {
    {".3do", "3do\\"},       {".key", "3do\\key\\"},  {".cog", "cog\\"},
    {".jkl", "jkl\\"},       {".ai", "misc\\ai\\"},   {".ai0", "misc\\ai\\"},
    {".ai2", "misc\\ai\\"},  {".par", "misc\\par\\"}, {".per", "misc\\per\\"},
    {".pup", "misc\\pup\\"}, {".snd", "misc\\snd\\"}, {".spr", "misc\\spr\\"},
};
} // namespace

std::string TrimMemberName(std::string_view nameField)
{
    std::string_view name = nameField.substr(0, nameField.find('\0'));
    while (!name.empty() && static_cast<unsigned char>(name.back()) <= ' ')
        name.remove_suffix(1);
    return std::string(name);
}

// Member names split at either separator, as paths do.
std::string MemberFileName(std::string_view name)
{
    return ExtractFileName(std::string(name));
}

std::string MemberExt(std::string_view name)
{
    return ExtractFileExt(std::string(name));
}

std::string ChangeMemberExt(std::string_view name, std::string_view ext)
{
    const size_t stem = name.size() - MemberExt(name).size();
    return std::string(name.substr(0, stem)) + std::string(ext);
}

std::string ResFolder(std::string_view ext)
{
    for (const TFolderRow &row : FolderMap)
        if (row.Ext == ext)
            return std::string(row.Folder);
    return {};
}

std::string ResMemberPath(std::string_view listed)
{
    return ResFolder(MemberExt(listed)) + std::string(listed);
}

bool ListedWithFolder(std::string_view ext)
{
    return ext == ".mat" || ext == ".wav";
}

std::optional<std::string> ResListName(std::string_view member, std::string_view ext)
{
    if (MemberExt(member) != ext)
        return std::nullopt;
    return ListedWithFolder(ext) ? std::string(member) : MemberFileName(member);
}

std::vector<std::string> ListResNames(const std::vector<std::string> &members, std::string_view ext)
{
    std::vector<std::string> listed;
    for (const std::string &member : members)
        if (std::optional<std::string> name = ResListName(member, ext))
            listed.push_back(std::move(*name));
    return listed;
}

std::vector<int> ColormapMembers(const std::vector<std::string> &members, int limit)
{
    std::vector<int> indices;
    for (size_t i = 0; i < members.size() && static_cast<int>(indices.size()) < limit; ++i)
        if (MemberExt(members[i]) == ".cmp")
            indices.push_back(static_cast<int>(i));
    return indices;
}

int ChooseColormap(const std::vector<std::string> &items, std::string_view text, int current)
{
    int chosen = current;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == text)
            chosen = static_cast<int>(i);
    return chosen;
}

std::string MemberPreviewText(const std::vector<uint8_t> &bytes)
{
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return std::string(bytes.begin(), end);
}

std::vector<std::string> ArchiveFilesIn(const std::string &folder)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    if (folder.empty())
        return names;
    std::error_code ec;
    for (fs::directory_iterator it(ToPath(folder), ec), end; !ec && it != end; it.increment(ec))
    {
        if (!it->is_regular_file(ec))
            continue;
        const std::string name = FromPath(it->path().filename());
        const std::string ext = LowerAscii(MemberExt(name));
        if (ext == ".gob" || ext == ".goo")
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return LowerAscii(a) < LowerAscii(b);
    });
    return names;
}

TPickerArchives ChoosePickerArchives(const TGameFolders &game)
{
    // An unset folder holds nothing.
    const std::string jk =
        game.JKDir.empty() ? std::string() : FindFileNoCase(game.JKDir, "res2.gob");
    const std::string mots =
        game.MotsDir.empty() ? std::string() : FindFileNoCase(game.MotsDir, "jkmres.goo");
    TPickerArchives chosen;
    chosen.ChoiceFolder = game.UseJK ? game.JKDir : game.MotsDir;
    chosen.ChoiceShown = game.UseJK ? "res2.gob" : "jkmres.goo";
    chosen.Found = !(game.UseJK ? jk : mots).empty();
    if (!chosen.Found)
    {
        chosen.Archive = chosen.ChoiceFolder + chosen.ChoiceShown;
        chosen.Message = game.UseJK ? " JK Directory Invalid  Reset in Options"
                                    : " Mots Directory Invalid ,Reset in Options";
        return chosen;
    }
    chosen.Archive = jk.empty() ? mots : jk;
    return chosen;
}
