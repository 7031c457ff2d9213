#include "core/shell/editorprefs.h"

#include <algorithm>

namespace {
std::string RecentName(size_t index)
{
    return "Recent" + std::to_string(index + 1);
}
} // namespace

std::vector<std::string> AddRecentFile(std::vector<std::string> list, const std::string &path,
                                       size_t limit)
{
    list = RemoveRecentFile(std::move(list), path);
    list.insert(list.begin(), path);
    if (list.size() > limit)
        list.resize(limit);
    return list;
}

std::vector<std::string> RemoveRecentFile(std::vector<std::string> list, const std::string &path)
{
    list.erase(std::remove(list.begin(), list.end(), path), list.end());
    return list;
}

std::vector<std::string> ReadRecentFiles(TSettingsKey &key)
{
    std::vector<std::string> list;
    for (size_t i = 0; i < RecentFileLimit; ++i)
    {
        const std::string name = RecentName(i);
        if (!key.ValueExists(name))
            continue;
        const std::string path = key.ReadString(name);
        if (!path.empty() && std::find(list.begin(), list.end(), path) == list.end())
            list.push_back(path);
    }
    return list;
}

void WriteRecentFiles(TSettingsKey &key, const std::vector<std::string> &list)
{
    for (size_t i = 0; i < RecentFileLimit; ++i)
        key.WriteString(RecentName(i), i < list.size() ? list[i] : std::string());
}

namespace {
// A switch that is on unless stored as "0".
bool ReadSwitch(TSettingsKey &key, const std::string &name)
{
    return !key.ValueExists(name) || key.ReadString(name) != "0";
}

void WriteSwitch(TSettingsKey &key, const std::string &name, bool on)
{
    key.WriteString(name, on ? "1" : "0");
}
} // namespace

bool ReadHighlightSetting(TSettingsKey &key)
{
    return ReadSwitch(key, "Highlight");
}

void WriteHighlightSetting(TSettingsKey &key, bool on)
{
    WriteSwitch(key, "Highlight", on);
}

bool ReadCheckAsYouTypeSetting(TSettingsKey &key)
{
    return ReadSwitch(key, "CheckAsYouType");
}

void WriteCheckAsYouTypeSetting(TSettingsKey &key, bool on)
{
    WriteSwitch(key, "CheckAsYouType", on);
}
