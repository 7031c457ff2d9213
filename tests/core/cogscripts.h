#pragma once

// The annotated checker scripts in tests/core/scripts, shared by the checker tests and the
// qxtool check tests. A script names each error it must produce, in order, on a line of its
// own: "# expect N: message", N being the 1-based line number; each warning of the game-aware
// checks as "# expect N: warning: message". A line "# game: jk" (or "mots") checks it for that
// game; either game otherwise. The "#" makes an annotation a comment to the checker.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/analysis/cogchecker.h"
#include "core/shell/textutils.h"

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

// The annotated errors, or with warnings set the annotated warnings (without "warning: ").
inline std::vector<TExpectedError> ReadExpectedErrors(const std::string &bytes,
                                                      bool warnings = false)
{
    const std::string tag = "# expect ";
    const std::string warningTag = "warning: ";
    std::vector<TExpectedError> expected;
    for (const std::string &line : SplitTextLines(bytes))
    {
        if (line.compare(0, tag.size(), tag) != 0)
            continue;
        const size_t colon = line.find(": ", tag.size());
        if (colon == std::string::npos)
            throw std::runtime_error("malformed annotation: " + line);
        std::string msg = line.substr(colon + 2);
        const bool warning = msg.compare(0, warningTag.size(), warningTag) == 0;
        if (warning != warnings)
            continue;
        if (warning)
            msg.erase(0, warningTag.size());
        expected.push_back({std::stoi(line.substr(tag.size(), colon - tag.size())), msg});
    }
    return expected;
}

inline std::vector<TExpectedError> ReadExpectedWarnings(const std::string &bytes)
{
    return ReadExpectedErrors(bytes, true);
}

// The game a script is checked for, as qxtool's --game takes it: "any" unless a line says.
inline std::string ReadCheckedGame(const std::string &bytes)
{
    const std::string tag = "# game: ";
    for (const std::string &line : SplitTextLines(bytes))
        if (line.compare(0, tag.size(), tag) == 0)
            return line.substr(tag.size());
    return "any";
}

// The findings as "N: message" rows, N 1-based as in the annotations.
inline std::vector<std::string> Rows(const TCOGErrors &errors)
{
    std::vector<std::string> rows;
    for (int i = 0; i < errors.Count(); ++i)
        rows.push_back(std::to_string(errors.Items(i).Line + 1) + ": " + errors.Items(i).Msg);
    return rows;
}

inline std::vector<std::string> Rows(const std::vector<TExpectedError> &expected)
{
    std::vector<std::string> rows;
    for (const TExpectedError &error : expected)
        rows.push_back(std::to_string(error.Line) + ": " + error.Msg);
    return rows;
}

// A test name made of the script's file name.
inline std::string ScriptName(const testing::TestParamInfo<std::string> &info)
{
    std::string name = std::filesystem::path(info.param).stem().string();
    for (char &c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}
