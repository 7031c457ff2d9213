// Arbitrary bytes as what a client sends the language server, framed and as one bare body:
// whatever comes, the server answers with protocol messages only (valid JSON-RPC 2.0 objects)
// and neither crashes nor stops answering. Each run starts with the server initialized, so
// the bytes reach the handlers of open scripts too.

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzzcheck.h"
#include "tool/lsp/framing.h"
#include "tool/lsp/server.h"

namespace {
void CheckAnswers(const std::vector<std::string> &bodies)
{
    for (const std::string &body : bodies)
    {
        const nlohmann::json message = nlohmann::json::parse(body, nullptr, false);
        Check(message.is_object() && message.value("jsonrpc", "") == "2.0");
    }
}

TLanguageServer InitializedServer()
{
    TLanguageServer server;
    CheckAnswers(server.Handle(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{}})"));
    CheckAnswers(server.Handle(R"({"jsonrpc":"2.0","method":"initialized","params":{}})"));
    return server;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    {
        TLanguageServer server = InitializedServer();
        std::istringstream input(bytes);
        TFrameReader reader(input);
        for (TFrame frame = reader.Next(); frame.Kind != TFrame::TKind::End; frame = reader.Next())
        {
            if (frame.Kind == TFrame::TKind::Message)
                CheckAnswers(server.Handle(frame.Body));
            CheckAnswers(server.PublishStale());
            if (server.Exited())
                break;
        }
    }
    TLanguageServer server = InitializedServer();
    CheckAnswers(server.Handle(bytes));
    CheckAnswers(server.PublishStale());
    return 0;
}
