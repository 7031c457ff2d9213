#include "tool/lsp/server.h"

#include <cstdio>

#include "core/analysis/symtools.h"
#include "core/shell/folders.h"
#include "tool/lsp/protocol.h"

namespace {
// The protocol's error codes.
constexpr int ParseError = -32700;
constexpr int InvalidRequest = -32600;
constexpr int MethodNotFound = -32601;
constexpr int InvalidParams = -32602;
constexpr int InternalError = -32603;
constexpr int ServerNotInitialized = -32002;

// The severities of a diagnostic.
constexpr int SeverityError = 1;
constexpr int SeverityWarning = 2;

// A pasted text in another script may hold thousands of such characters; the first ones say
// enough.
constexpr int MaxUnwritableFindings = 100;

using TJson = nlohmann::json;

TJson ErrorResponse(const TJson &id, int code, const std::string &message)
{
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
}

TJson Notification(const char *method, TJson params)
{
    return {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

std::string Dump(const TJson &message)
{
    // Text from scripts is valid UTF-8 by the time it gets here; a slip must not end the server.
    return message.dump(-1, ' ', false, TJson::error_handler_t::replace);
}

} // namespace

void TLanguageServer::Log(const std::string &line)
{
    if (OnLog)
        OnLog(line);
}

const std::map<std::string, TLanguageServer::TRequestHandler, std::less<>> &
TLanguageServer::Requests()
{
    static const std::map<std::string, TRequestHandler, std::less<>> requests = {
        {"initialize", &TLanguageServer::Initialize},
        {"shutdown", &TLanguageServer::Shutdown},
        {"textDocument/formatting", &TLanguageServer::Formatting},
        {"textDocument/completion", &TLanguageServer::Completion},
        {"completionItem/resolve", &TLanguageServer::ResolveCompletion},
        {"textDocument/signatureHelp", &TLanguageServer::SignatureHelp},
        {"textDocument/hover", &TLanguageServer::Hover},
        {"textDocument/definition", &TLanguageServer::Definition},
        {"textDocument/references", &TLanguageServer::References},
        {"textDocument/documentSymbol", &TLanguageServer::DocumentSymbol},
        {"textDocument/prepareRename", &TLanguageServer::PrepareRename},
        {"textDocument/rename", &TLanguageServer::Rename},
    };
    return requests;
}

const std::map<std::string, TLanguageServer::TNoteHandler, std::less<>> &
TLanguageServer::Notifications()
{
    static const std::map<std::string, TNoteHandler, std::less<>> notifications = {
        {"initialized", &TLanguageServer::Initialized},
        {"exit", &TLanguageServer::Exit},
        {"textDocument/didOpen", &TLanguageServer::DidOpen},
        {"textDocument/didChange", &TLanguageServer::DidChange},
        {"textDocument/didClose", &TLanguageServer::DidClose},
        {"textDocument/didSave", &TLanguageServer::Ignore},
        {"workspace/didChangeConfiguration", &TLanguageServer::DidChangeConfiguration},
        {"$/cancelRequest", &TLanguageServer::Ignore},
        {"$/setTrace", &TLanguageServer::Ignore},
    };
    return notifications;
}

std::vector<std::string> TLanguageServer::Handle(std::string_view body)
{
    std::vector<std::string> out;
    TJson message = TJson::parse(body, nullptr, false);
    if (message.is_discarded())
    {
        out.push_back(Dump(ErrorResponse(nullptr, ParseError, "The message is no JSON")));
        return out;
    }
    if (message.is_array())
    {
        // A batch: the protocol has none, but JSON-RPC allows it and it costs nothing.
        for (const TJson &item : message)
            HandleMessage(item, out);
        return out;
    }
    HandleMessage(message, out);
    return out;
}

void TLanguageServer::HandleMessage(const TJson &message, std::vector<std::string> &out)
{
    const bool isObject = message.is_object();
    const TJson id = isObject && message.contains("id") ? message["id"] : TJson();
    const bool isRequest = isObject && message.contains("id") && (id.is_number() || id.is_string());
    const auto methodAt = isObject ? message.find("method") : message.end();
    if (!isObject || methodAt == message.end() || !methodAt->is_string())
    {
        // Responses to requests of ours (none are sent) and anything without a method.
        if (isObject && message.contains("id") &&
            (message.contains("result") || message.contains("error")))
            return;
        out.push_back(Dump(ErrorResponse(isRequest ? id : TJson(), InvalidRequest,
                                         "The message is no request or notification")));
        return;
    }
    const std::string method = methodAt->get<std::string>();
    static const TJson noParams = TJson::object();
    const auto paramsAt = message.find("params");
    const TJson &params = paramsAt != message.end() ? *paramsAt : noParams;

    if (!isRequest)
    {
        const auto handler = Notifications().find(method);
        if (handler == Notifications().end())
        {
            if (!method.starts_with("$/"))
                Log("Unknown notification " + method);
            return;
        }
        if (!Initialised && method != "exit")
            return;
        if (ShutdownAsked && method != "exit")
            return;
        try
        {
            (this->*handler->second)(params);
        }
        catch (const TRequestError &error)
        {
            Log(method + ": " + error.Message);
        }
        catch (const TJson::exception &error)
        {
            Log(method + ": bad parameters: " + error.what());
        }
        return;
    }

    // A request about a script sees its latest text: the findings of what changed go first.
    if (Initialised && !ShutdownAsked)
        for (std::string &body : PublishStale())
            out.push_back(std::move(body));
    TJson response = {{"jsonrpc", "2.0"}, {"id", id}};
    try
    {
        if (!Initialised && method != "initialize")
            throw TRequestError{ServerNotInitialized, "The server was not initialized"};
        if (ShutdownAsked)
            throw TRequestError{InvalidRequest, "The server is shutting down"};
        response["result"] = Dispatch(method, params);
    }
    catch (const TRequestError &error)
    {
        response = ErrorResponse(id, error.Code, error.Message);
    }
    catch (const TJson::exception &error)
    {
        response = ErrorResponse(id, InvalidParams, std::string("Bad parameters: ") + error.what());
    }
    catch (const std::exception &error)
    {
        response = ErrorResponse(id, InternalError, error.what());
    }
    out.push_back(Dump(response));
}

TJson TLanguageServer::Dispatch(const std::string &method, const TJson &params)
{
    const auto handler = Requests().find(method);
    if (handler == Requests().end())
        throw TRequestError{MethodNotFound, "Unknown method " + method};
    return (this->*handler->second)(params);
}

TJson TLanguageServer::Initialize(const TJson &params)
{
    if (Initialised)
        throw TRequestError{InvalidRequest, "The server is initialized already"};
    Initialised = true;
    if (params.is_object())
    {
        const auto options = params.find("initializationOptions");
        if (options != params.end() && options->is_object())
            ReadSettings(options->contains("quillex") ? (*options)["quillex"] : *options);
    }
    return {
        {"capabilities",
         {
             {"positionEncoding", "utf-16"},
             {"textDocumentSync", {{"openClose", true}, {"change", 2}}},
             {"documentFormattingProvider", true},
             {"hoverProvider", true},
             {"completionProvider",
              {{"triggerCharacters", TJson::array()}, {"resolveProvider", true}}},
             {"signatureHelpProvider", {{"triggerCharacters", {"(", ","}}}},
             {"definitionProvider", true},
             {"referencesProvider", true},
             {"documentSymbolProvider", true},
             {"renameProvider", {{"prepareProvider", true}}},
         }},
        {"serverInfo", {{"name", "qxtool"}, {"version", QxVersion}}},
    };
}

TJson TLanguageServer::Shutdown(const TJson &)
{
    ShutdownAsked = true;
    return nullptr;
}

void TLanguageServer::Exit(const TJson &)
{
    HasExited = true;
}

void TLanguageServer::Initialized(const TJson &) {}

void TLanguageServer::Ignore(const TJson &) {}

void TLanguageServer::ReadSettings(const TJson &quillex)
{
    if (!quillex.is_object())
        return;
    const auto game = quillex.find("game");
    if (game != quillex.end() && game->is_string() &&
        !ParseCheckGame(game->get<std::string>(), Settings.Game))
        Log("quillex.game must be jk, mots or any, not " + game->get<std::string>());
    const auto checks = quillex.find("gameChecks");
    if (checks != quillex.end() && checks->is_boolean())
        Settings.GameChecks = checks->get<bool>();
    for (auto &[uri, script] : Scripts)
        script.Analysed = script.Published = false;
}

void TLanguageServer::DidChangeConfiguration(const TJson &params)
{
    const auto settings = params.find("settings");
    if (settings != params.end() && settings->is_object() && settings->contains("quillex"))
        ReadSettings((*settings)["quillex"]);
}

TOpenScript &TLanguageServer::ScriptOf(const TJson &params)
{
    const std::string &uri = params.at("textDocument").at("uri").get_ref<const std::string &>();
    const auto script = Scripts.find(uri);
    if (script == Scripts.end())
        throw TRequestError{InvalidParams, "The document is not open: " + uri};
    return script->second;
}

void TLanguageServer::DidOpen(const TJson &params)
{
    const TJson &document = params.at("textDocument");
    const std::string &uri = document.at("uri").get_ref<const std::string &>();
    TOpenScript &script = Scripts[uri];
    script.Document.SetText(document.at("text").get_ref<const std::string &>());
    script.Version = document.value("version", 0);
    script.Analysed = script.Published = false;
}

void TLanguageServer::DidChange(const TJson &params)
{
    TOpenScript &script = ScriptOf(params);
    for (const TJson &change : params.at("contentChanges"))
    {
        const std::string &text = change.at("text").get_ref<const std::string &>();
        if (change.contains("range"))
            script.Document.Replace(RangeOf(change["range"]), text);
        else
            script.Document.SetText(text);
    }
    script.Version = params["textDocument"].value("version", script.Version);
    script.Analysed = script.Published = false;
}

void TLanguageServer::DidClose(const TJson &params)
{
    const std::string &uri = params.at("textDocument").at("uri").get_ref<const std::string &>();
    if (Scripts.erase(uri) > 0)
        Cleared.push_back(uri);
}

std::vector<std::string> TLanguageServer::PublishStale()
{
    std::vector<std::string> out;
    for (const std::string &uri : Cleared)
        out.push_back(Dump(Notification("textDocument/publishDiagnostics",
                                        {{"uri", uri}, {"diagnostics", TJson::array()}})));
    Cleared.clear();
    for (auto &[uri, script] : Scripts)
        if (!script.Published)
            out.push_back(DiagnosticsOf(uri, script));
    return out;
}

const TScriptAnalysis &TLanguageServer::AnalysisOf(TOpenScript &script)
{
    if (!script.Analysed)
    {
        TAnalysisOptions options;
        options.GameChecks = Settings.GameChecks;
        options.Game = Settings.Game;
        script.Analysis = AnalyseScript(script.Document.Bytes(), options);
        script.Analysed = true;
    }
    return script.Analysis;
}

std::string TLanguageServer::DiagnosticsOf(const std::string &uri, TOpenScript &script)
{
    script.Published = true;
    const TScriptDocument &document = script.Document;
    TJson diagnostics = TJson::array();
    for (const TScriptDiagnostic &finding : AnalysisOf(script).Diagnostics)
        diagnostics.push_back(
            {{"range", RangeJson(finding.Range)},
             {"severity",
              finding.Severity == TDiagnosticSeverity::Error ? SeverityError : SeverityWarning},
             {"source", "quillex"},
             {"message", Utf8FromScriptBytes(finding.Message)}});
    // A character outside the Basic Multilingual Plane is two code units and one finding.
    const std::vector<TForeignUnit> &foreign = document.ForeignUnits();
    int shown = 0;
    for (size_t i = 0; i < foreign.size() && shown < MaxUnwritableFindings; ++i, ++shown)
    {
        const TTextPosition at = document.PositionAt(foreign[i].Offset);
        char32_t c = foreign[i].Unit;
        int width = 1;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < foreign.size() &&
            foreign[i + 1].Offset == foreign[i].Offset + 1 && foreign[i + 1].Unit >= 0xDC00 &&
            foreign[i + 1].Unit < 0xE000)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (foreign[i + 1].Unit - 0xDC00);
            width = 2;
            ++i;
        }
        char code[16];
        std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(c));
        diagnostics.push_back(
            {{"range", RangeJson(at, {at.Line, at.Character + width})},
             {"severity", SeverityWarning},
             {"source", "quillex"},
             {"message", std::string("A script file cannot hold this character (U+") + code +
                             "): it is written as \"?\""}});
    }
    return Dump(
        Notification("textDocument/publishDiagnostics",
                     {{"uri", uri}, {"version", script.Version}, {"diagnostics", diagnostics}}));
}

// Lays out the symbols sections in columns, as Sort Symbol does: one edit per line whose text
// changes. A line holding a character no script file can hold is left alone, since the layout
// works on the bytes a file would hold and would turn it into "?".
TJson TLanguageServer::Formatting(const TJson &params)
{
    const TScriptDocument &document = ScriptOf(params).Document;
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(document.LineCount()));
    for (int i = 0; i < document.LineCount(); ++i)
        lines.emplace_back(document.Line(i));
    TJson edits = TJson::array();
    if (SetSpace(lines) == 0)
        return edits;
    const std::vector<TForeignUnit> &foreign = document.ForeignUnits();
    auto nextForeign = foreign.begin();
    for (int i = 0; i < document.LineCount(); ++i)
    {
        const std::string_view line = document.Line(i);
        const size_t start = document.LineStart(i);
        while (nextForeign != foreign.end() && nextForeign->Offset < start)
            ++nextForeign;
        const bool holdsForeign =
            nextForeign != foreign.end() && nextForeign->Offset < start + line.size();
        if (line == lines[static_cast<size_t>(i)] || holdsForeign)
            continue;
        edits.push_back({{"range", RangeJson({i, 0}, {i, static_cast<int>(line.size())})},
                         {"newText", Utf8FromScriptBytes(lines[static_cast<size_t>(i)])}});
    }
    return edits;
}
