// qxtool: Quillex's script checker and game-data tools on the command line.

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "core/shell/folders.h"
#include "tool/commands.h"
#include "tool/console.h"

namespace {
const char *const HelpText =
    "Usage: qxtool COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  check FILE... [--game jk|mots|any] [--no-game-checks] [--werror]\n"
    "                                check COG scripts; prints FILE:LINE: MESSAGE per error,\n"
    "                                then FILE:LINE: warning: MESSAGE per game-aware finding\n"
    "  gob list ARCHIVE              list the members of a GOB/GOO archive\n"
    "  gob extract ARCHIVE [-C DIR] [MEMBER...]\n"
    "                                extract members (all when none is named)\n"
    "  gob pack ARCHIVE DIR          pack every file under DIR into a new archive\n"
    "  mat2bmp [--archive ARCHIVE] [--cmp CMP] MAT OUT.bmp\n"
    "                                convert a MAT texture to an 8-bit BMP\n"
    "  tpl FILE [NAME]               list template names, or print one template's line\n"
    "  flags LINE [POSITIONS]        open the flag calculator on a built line; tick the\n"
    "                                comma-separated POSITIONS and print the completed line\n"
    "  verbqx TABLE.tsv OUT          write the Line Builder's verb.qx from a verb table\n"
    "  syntax TABLE.tsv TEMPLATE OUT write an editor's syntax file from its template, with\n"
    "                                the verbs of the table and the language's words\n"
    "  sort-symbols FILE             print the script with its symbols sections in columns\n"
    "  sort-symbols -i FILE...       rewrite the scripts in place\n"
    "  lsp [--stdio]                 serve editors as a language server on standard input\n"
    "                                and output\n"
    "\n"
    "Options:\n"
    "  --help                        show this text\n"
    "  --version                     show the version\n";

struct TCommand
{
    const char *Name;
    int (*Run)(const std::vector<std::string> &);
};

const TCommand Commands[] = {
    {"check", RunCheck},     {"gob", RunGob},
    {"mat2bmp", RunMat2Bmp}, {"tpl", RunTpl},
    {"flags", RunFlags},     {"verbqx", RunVerbQx},
    {"syntax", RunSyntax},   {"sort-symbols", RunSortSymbols},
    {"lsp", RunLsp},
};

// The commands report every failure a file or the machine can cause, which the core gives back
// as results; an exception is a fault of the program or memory running out, and ends the
// command with its text rather than with an abort.
int RunCommand(const TCommand &command, const std::vector<std::string> &args)
{
    try
    {
        return command.Run(args);
    }
    catch (const std::exception &error)
    {
        std::fprintf(stderr, "qxtool %s: %s\n", command.Name, error.what());
        return 1;
    }
}
} // namespace

int main(int argc, char **argv)
{
    const TConsoleSetup console;
    const std::vector<std::string> args = ProgramArguments(argc, argv);
    if (args.empty())
    {
        std::fputs(HelpText, stderr);
        return 2;
    }
    const std::string &command = args[0];
    if (command == "--help" || command == "-h" || command == "help")
    {
        std::fputs(HelpText, stdout);
        return 0;
    }
    if (command == "--version")
    {
        std::printf("qxtool (Quillex) %s\n", QxVersion);
        return 0;
    }
    for (const TCommand &entry : Commands)
        if (command == entry.Name)
            return RunCommand(entry, std::vector<std::string>(args.begin() + 1, args.end()));
    std::fprintf(stderr, "qxtool: unknown command '%s'\n\n%s", command.c_str(), HelpText);
    return 2;
}
