#pragma once

// The annotated checker scripts in tests/core/scripts, shared by the checker tests and the
// qxtool check tests. A script names each error it must produce, in order, on a line of its
// own: "# expect N: message", N being the 1-based line number. The "#" makes the annotation a
// comment to the checker.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/shell/Strings.h"

struct TExpectedError
{
    int Line = 0; // 1-based
    std::string Msg;
};

inline std::string ReadScriptBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The paths of every script, sorted by name.
inline std::vector<std::string> ListCheckScripts()
{
    std::vector<std::string> paths;
    for (const auto &entry : std::filesystem::directory_iterator(QX_SCRIPTS_DIR))
        if (entry.path().extension() == ".cog")
            paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

inline std::vector<TExpectedError> ReadExpectedErrors(const std::string &bytes)
{
    const std::string tag = "# expect ";
    std::vector<TExpectedError> expected;
    for (const std::string &line : SplitTextLines(bytes))
    {
        if (line.compare(0, tag.size(), tag) != 0)
            continue;
        const size_t colon = line.find(": ", tag.size());
        if (colon == std::string::npos)
            throw std::runtime_error("malformed annotation: " + line);
        expected.push_back(
            {std::stoi(line.substr(tag.size(), colon - tag.size())), line.substr(colon + 2)});
    }
    return expected;
}
