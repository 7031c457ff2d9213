#pragma once

// The COG language server: the protocol's lifecycle, the open scripts and their findings, and
// one handler per method. It takes message bodies and gives back the bodies to send, so that
// tests and the fuzz target drive it without a process or a pipe.

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/gamecheck.h"
#include "core/analysis/scriptanalysis.h"
#include "tool/lsp/document.h"

// What the client chose through "quillex.game" and "quillex.gameChecks".
struct TServerSettings
{
    TCheckGame Game = TCheckGame::Either;
    bool GameChecks = true;
};

// One open script: its text, its version, its analysis and whether that and the findings the
// client has are those of the text.
struct TOpenScript
{
    TScriptDocument Document;
    int Version = 0;
    TScriptAnalysis Analysis;
    bool Analysed = false;
    bool Published = false;
};

class TLanguageServer
{
  public:
    using TJson = nlohmann::json;

    // Told each line worth a look in the server's log (the client shows standard error).
    std::function<void(const std::string &line)> OnLog;

    // Handles one message body; returns the bodies to send back, in order.
    std::vector<std::string> Handle(std::string_view body);
    // The findings of every script changed since the last call, as notifications. The loop
    // calls it when no further message waits, so a burst of edits is checked once.
    std::vector<std::string> PublishStale();

    // After "exit": the process ends with ExitCode (0 when "shutdown" came first).
    bool Exited() const { return HasExited; }
    int ExitCode() const { return ShutdownAsked ? 0 : 1; }

  private:
    // A handler's failure, sent back as the response's error.
    struct TRequestError
    {
        int Code;
        std::string Message;
    };
    using TRequestHandler = TJson (TLanguageServer::*)(const TJson &params);
    using TNoteHandler = void (TLanguageServer::*)(const TJson &params);

    void Log(const std::string &line);
    void HandleMessage(const TJson &message, std::vector<std::string> &out);
    TJson Dispatch(const std::string &method, const TJson &params);

    TJson Initialize(const TJson &params);
    TJson Shutdown(const TJson &params);
    void Exit(const TJson &params);
    void Initialized(const TJson &params);
    void DidOpen(const TJson &params);
    void DidChange(const TJson &params);
    void DidClose(const TJson &params);
    void DidChangeConfiguration(const TJson &params);
    void Ignore(const TJson &params);
    TJson Formatting(const TJson &params);
    TJson Completion(const TJson &params);
    TJson ResolveCompletion(const TJson &params);
    TJson SignatureHelp(const TJson &params);
    TJson Hover(const TJson &params);
    TJson Definition(const TJson &params);
    TJson References(const TJson &params);
    TJson DocumentSymbol(const TJson &params);
    TJson PrepareRename(const TJson &params);
    TJson Rename(const TJson &params);

    // The open script named by params.textDocument.uri; a request error when there is none.
    TOpenScript &ScriptOf(const TJson &params);
    void ReadSettings(const TJson &quillex);
    // The analysis of the script's text, made when the text changed.
    const TScriptAnalysis &AnalysisOf(TOpenScript &script);
    // What stands at params.position in the script params.textDocument names.
    TScriptPlace PlaceOf(const TJson &params, TOpenScript *&script);
    std::string DiagnosticsOf(const std::string &uri, TOpenScript &script);

    static const std::map<std::string, TRequestHandler, std::less<>> &Requests();
    static const std::map<std::string, TNoteHandler, std::less<>> &Notifications();

    std::map<std::string, TOpenScript, std::less<>> Scripts;
    // Closed scripts whose findings must be cleared in the client.
    std::vector<std::string> Cleared;
    TServerSettings Settings;
    bool Initialised = false;
    bool ShutdownAsked = false;
    bool HasExited = false;
};
