#pragma once

// What qxtool needs of the system it runs on, so that it takes the same arguments and writes
// the same bytes everywhere.

#include <string>
#include <vector>

// The arguments after the program's name, as UTF-8. On Windows they are read from the wide
// command line (the narrow one holds only what the local code page can spell) and their
// wildcards are expanded, as a shell of Linux would have done.
std::vector<std::string> ProgramArguments(int argc, char **argv);

// For the program's run: standard output and error write their bytes as given (no "\n" to
// "\r\n" on Windows: the output is the same bytes as on Linux, and sort-symbols prints a
// script's own line breaks), and a console of Windows shows them as UTF-8. The console's code
// page is restored at the end.
class TConsoleSetup
{
  public:
    TConsoleSetup();
    ~TConsoleSetup();
    TConsoleSetup(const TConsoleSetup &) = delete;
    TConsoleSetup &operator=(const TConsoleSetup &) = delete;

  private:
    unsigned OldOutputCodePage = 0;
};
