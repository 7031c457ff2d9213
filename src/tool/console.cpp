#include "tool/console.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "core/shell/cmdline.h"
#endif

#ifdef _WIN32
namespace {
std::string Utf8FromWide(const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}
} // namespace

std::vector<std::string> ProgramArguments(int, char **)
{
    std::vector<TCommandArg> args = SplitCommandLine(Utf8FromWide(GetCommandLineW()));
    if (!args.empty())
        args.erase(args.begin());
    return ExpandWildcards(args);
}

TConsoleSetup::TConsoleSetup()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    OldOutputCodePage = GetConsoleOutputCP();
    if (OldOutputCodePage != 0)
        SetConsoleOutputCP(CP_UTF8);
}

TConsoleSetup::~TConsoleSetup()
{
    std::fflush(stdout);
    std::fflush(stderr);
    if (OldOutputCodePage != 0)
        SetConsoleOutputCP(OldOutputCodePage);
}
#else
std::vector<std::string> ProgramArguments(int argc, char **argv)
{
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

TConsoleSetup::TConsoleSetup() = default;
TConsoleSetup::~TConsoleSetup() = default;
#endif
