#pragma once

// Runs the qxtool binary for the command-line tests and captures what it prints.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

struct TToolResult
{
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

inline std::string ShellQuote(const std::string &text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// A fresh empty folder under the system's temporary folder.
inline std::string MakeTempDir()
{
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (;;)
    {
        const auto dir = base / ("qxtool-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(dir))
            return dir.string();
    }
}

inline std::string ReadTextFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs qxtool with args (in workDir when given) and returns its exit code and output.
inline TToolResult RunTool(const std::vector<std::string> &args, const std::string &workDir = "")
{
    const std::string scratch = MakeTempDir();
    std::string command;
    if (!workDir.empty())
        command += "cd " + ShellQuote(workDir) + " && ";
    command += ShellQuote(QXTOOL_PATH);
    for (const std::string &arg : args)
    {
        command += ' ';
        command += ShellQuote(arg);
    }
    command += " >" + ShellQuote(scratch + "/out") + " 2>" + ShellQuote(scratch + "/err");
    const int status = std::system(command.c_str());
    TToolResult result;
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Out = ReadTextFile(scratch + "/out");
    result.Err = ReadTextFile(scratch + "/err");
    std::filesystem::remove_all(scratch);
    return result;
}
