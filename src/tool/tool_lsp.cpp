// qxtool lsp: the language server over standard input and output.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tool/commands.h"
#include "tool/lsp/framing.h"
#include "tool/lsp/server.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int RunLsp(const std::vector<std::string> &args)
{
    for (const std::string &arg : args)
        if (arg != "--stdio")
        {
            std::fprintf(stderr, "qxtool lsp: bad option '%s'\nUsage: qxtool lsp [--stdio]\n",
                         arg.c_str());
            return 2;
        }
#ifdef _WIN32
    // The protocol counts bytes: no CR may be taken away from what comes in (the console setup
    // made the output binary).
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);

    TLanguageServer server;
    server.OnLog = [](const std::string &line) { std::cerr << "qxtool lsp: " << line << '\n'; };
    TFrameReader reader(std::cin);
    const auto send = [](const std::vector<std::string> &bodies) {
        for (const std::string &body : bodies)
            WriteFrame(std::cout, body);
    };
    for (;;)
    {
        TFrame frame = reader.Next();
        if (frame.Kind == TFrame::TKind::End)
            break;
        if (frame.Kind == TFrame::TKind::Malformed)
        {
            server.OnLog(frame.Problem);
            continue;
        }
        send(server.Handle(frame.Body));
        if (server.Exited())
            return server.ExitCode();
        // The findings wait while further messages are at hand: a burst of edits is checked once.
        if (std::cin.rdbuf()->in_avail() <= 0)
            send(server.PublishStale());
    }
    // The client went away without "exit".
    return 1;
}
