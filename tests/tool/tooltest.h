#pragma once

// Runs the qxtool binary for the command-line tests and captures what it prints. On Linux the
// shell starts it; on Windows (under Wine too) the test starts qxtool.exe itself with a command
// line quoted as the C runtime splits it, since there is no POSIX shell to go through.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

struct TToolResult
{
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

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
    std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())),
                     std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

#ifdef _WIN32
inline std::wstring Wide(const std::string &utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

// arg as a command line holds it for the C runtime to split back out: in quotes when it has
// blanks, quotes or wildcards (which qxtool would expand) or is empty, a quote escaped with a
// backslash and the backslashes before a quote doubled.
inline std::string CommandLineArgument(const std::string &arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"*?") == std::string::npos)
        return arg;
    std::string quoted = "\"";
    for (size_t i = 0;; ++i)
    {
        size_t backslashes = 0;
        while (i < arg.size() && arg[i] == '\\')
        {
            ++backslashes;
            ++i;
        }
        if (i == arg.size())
        {
            quoted.append(backslashes * 2, '\\');
            break;
        }
        quoted.append(arg[i] == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        quoted += arg[i];
    }
    return quoted + "\"";
}

// Runs qxtool with the text after its name as given, in workDir when given, its output and
// errors going to the files out and err; returns its exit code, -1 when it could not start.
inline int RunToolProcess(const std::string &tail, const std::string &workDir,
                          const std::string &out, const std::string &err)
{
    std::string program = QXTOOL_PATH;
    for (char &c : program)
        if (c == '/')
            c = '\\';
    std::wstring line = Wide(CommandLineArgument(program) + " " + tail);
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const auto create = [&inherited](const std::string &path) {
        return CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inherited, OPEN_EXISTING, 0, nullptr);
    startup.hStdOutput = create(out);
    startup.hStdError = create(err);
    PROCESS_INFORMATION process{};
    const std::wstring dir = Wide(workDir);
    const BOOL started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       workDir.empty() ? nullptr : dir.c_str(), &startup, &process);
    for (const HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        CloseHandle(handle);
    if (!started)
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    const bool known = GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return known ? static_cast<int>(code) : -1;
}

#else
inline std::string CommandLineArgument(const std::string &text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline int RunToolProcess(const std::string &tail, const std::string &workDir,
                          const std::string &out, const std::string &err)
{
    std::string command;
    if (!workDir.empty())
        command += "cd " + CommandLineArgument(workDir) + " && ";
    command += CommandLineArgument(QXTOOL_PATH) + " " + tail;
    command += " >" + CommandLineArgument(out) + " 2>" + CommandLineArgument(err);
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

// Runs qxtool with the command line tail after its name, taken as it is (so a wildcard in it
// is expanded: by the shell on Linux, by qxtool on Windows), in workDir when given, and
// returns its exit code and output.
inline TToolResult RunToolLine(const std::string &tail, const std::string &workDir = "")
{
    const std::string scratch = MakeTempDir();
    TToolResult result;
    result.ExitCode = RunToolProcess(tail, workDir, scratch + "/out", scratch + "/err");
    result.Out = ReadTextFile(scratch + "/out");
    result.Err = ReadTextFile(scratch + "/err");
    std::filesystem::remove_all(scratch);
    return result;
}

// Runs qxtool with args (in workDir when given) and returns its exit code and output.
inline TToolResult RunTool(const std::vector<std::string> &args, const std::string &workDir = "")
{
    std::string tail;
    for (const std::string &arg : args)
        tail += (tail.empty() ? "" : " ") + CommandLineArgument(arg);
    return RunToolLine(tail, workDir);
}
