#include "core/gamedata/extractreport.h"

#include <utility>

namespace {
std::string Folder(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string Scripts(size_t count)
{
    return std::to_string(count) + (count == 1 ? " script" : " scripts");
}
} // namespace

std::string ExtractionReport(const std::vector<std::string> &files)
{
    if (files.empty())
        return "No script extracted";
    std::vector<std::pair<std::string, size_t>> folders;
    for (const std::string &file : files)
    {
        const std::string folder = Folder(file);
        auto it = folders.begin();
        while (it != folders.end() && it->first != folder)
            ++it;
        if (it == folders.end())
            folders.emplace_back(folder, 1);
        else
            ++it->second;
    }
    if (folders.size() == 1)
        return Scripts(files.size()) + " extracted to " + folders.front().first;
    std::string text = Scripts(files.size()) + " extracted:";
    for (size_t i = 0; i < folders.size(); ++i)
        text += (i ? ", " : " ") + std::to_string(folders[i].second) + " to " + folders[i].first;
    return text;
}
