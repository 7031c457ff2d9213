// The language features of the server: completion, signature help, hover, definitions and
// references, the outline, rename. Each shows in the protocol's terms what the core's aids say
// about the open script's analysis or, for what is being typed, about the caret's line.

#include <algorithm>

#include "core/analysis/scriptaids.h"
#include "core/linebuilder/verbdocs.h"
#include "core/shell/textutils.h"
#include "tool/lsp/protocol.h"
#include "tool/lsp/server.h"

namespace {
using TJson = nlohmann::json;

// The kinds of completion items the client shows with their own icons.
constexpr int ItemFunction = 3;
constexpr int ItemVariable = 6;
constexpr int ItemKeyword = 14;
constexpr int ItemEvent = 23;
constexpr int ItemTypeParameter = 25;
constexpr int InsertAsSnippet = 2;

// A snippet's placeholder text: "$", "}" and "\" stand for themselves only escaped.
std::string SnippetText(std::string_view text)
{
    std::string escaped;
    for (const char c : text)
    {
        if (c == '$' || c == '}' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

// "PlaySoundThing(${1:snd}, ${2:thing}, ...)": each argument a stop named by its word.
std::string VerbSnippet(const TVerbFact &verb)
{
    std::string snippet = verb.Name + "(";
    const std::vector<std::string> words = VerbParameterWords(verb);
    for (size_t i = 0; i < words.size(); ++i)
        snippet += (i ? ", ${" : "${") + std::to_string(i + 1) + ":" + SnippetText(words[i]) + "}";
    return snippet + ")";
}

std::string CodeBlock(const std::string &code)
{
    return "```cog\n" + code + "\n```\n";
}

TJson VerbDocumentation(const TVerbFact &verb)
{
    return {{"kind", "markdown"}, {"value", CodeBlock(VerbSignature(verb)) + verb.Description}};
}

// A script's line as the core's aids read it.
TLineReader LinesOf(const TScriptDocument &document)
{
    return [&document](int index) { return document.Line(index); };
}

int ItemKind(TCompletionKind kind)
{
    switch (kind)
    {
    case TCompletionKind::Verb:
    case TCompletionKind::Label:
        return ItemFunction;
    case TCompletionKind::Symbol:
        return ItemVariable;
    case TCompletionKind::SymbolType:
        return ItemTypeParameter;
    case TCompletionKind::Message:
        return ItemEvent;
    case TCompletionKind::Keyword:
        break;
    }
    return ItemKeyword;
}
} // namespace

TJson TLanguageServer::Completion(const TJson &params)
{
    TOpenScript &script = ScriptOf(params);
    const TTextPosition position = PositionOf(params.at("position"));
    const TScriptDocument &document = script.Document;
    const TWritingContext context =
        WritingContextAt(document.Line(position.Line), position.Character,
                         SectionAbove(LinesOf(document), position.Line));
    TJson items = TJson::array();
    for (const TCompletion &item : CompletionsFor(context, AnalysisOf(script), Settings.Game))
    {
        TJson entry{{"label", Utf8FromScriptBytes(item.Text)}, {"kind", ItemKind(item.Kind)}};
        if (item.Verb)
        {
            // The description comes when the client resolves the item it shows: the list of
            // all verbs stays small.
            entry["detail"] = VerbSignature(*item.Verb);
            entry["insertText"] = VerbSnippet(*item.Verb);
            entry["insertTextFormat"] = InsertAsSnippet;
            entry["data"] = {{"verb", item.Verb - VerbTable().data()}};
        }
        items.push_back(std::move(entry));
    }
    return {{"isIncomplete", false}, {"items", std::move(items)}};
}

TJson TLanguageServer::ResolveCompletion(const TJson &params)
{
    TJson item = params;
    const TJson *verb =
        params.contains("data") && params["data"].is_object() && params["data"].contains("verb")
            ? &params["data"]["verb"]
            : nullptr;
    if (verb && verb->is_number_unsigned() && verb->get<size_t>() < VerbTable().size())
        item["documentation"] = VerbDocumentation(VerbTable()[verb->get<size_t>()]);
    return item;
}

TJson TLanguageServer::SignatureHelp(const TJson &params)
{
    TOpenScript &script = ScriptOf(params);
    const TTextPosition position = PositionOf(params.at("position"));
    TOpenCall call;
    if (!OpenCallAt(script.Document.Line(position.Line), position.Character, call))
        return nullptr;
    TJson signatures = TJson::array();
    for (const TVerbFact *verb : VerbsShown(call.Verb, Settings.Game))
    {
        // The parameters as ranges of the label, so the client can mark the one being written.
        TJson parameters = TJson::array();
        for (const TTextSpan &span : VerbParameterSpans(*verb))
            parameters.push_back({{"label", {span.Start, span.Start + span.Length}}});
        signatures.push_back({{"label", VerbSignature(*verb)},
                              {"documentation", verb->Description},
                              {"parameters", std::move(parameters)}});
    }
    if (signatures.empty())
        return nullptr;
    return {{"signatures", std::move(signatures)},
            {"activeSignature", 0},
            {"activeParameter", call.Argument}};
}

namespace {
// The kinds of document symbols the client shows with their own icons.
constexpr int SymbolNamespace = 3;
constexpr int SymbolFunction = 12;
constexpr int SymbolVariable = 13;
constexpr int SymbolConstant = 14;
constexpr int SymbolEvent = 24;

// Script text in Markdown: the characters that would mark it up stand for themselves.
std::string MarkdownText(std::string_view text)
{
    std::string escaped;
    for (const char c : Utf8FromScriptBytes(text))
    {
        if (std::string_view("\\`*_[]<>#").find(c) != std::string_view::npos)
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}
} // namespace

// Where a position of the protocol lies in the analysis: the document keeps one byte per code
// unit, so the column carries over as it is.
TScriptPlace TLanguageServer::PlaceOf(const TJson &params, TOpenScript *&script)
{
    script = &ScriptOf(params);
    const TTextPosition position = PositionOf(params.at("position"));
    return PlaceAt(AnalysisOf(*script), position.Line, position.Character);
}

TJson TLanguageServer::Hover(const TJson &params)
{
    TOpenScript *script = nullptr;
    const TScriptPlace place = PlaceOf(params, script);
    const std::optional<TScriptHover> hover =
        HoverAt(AnalysisOf(*script), LinesOf(script->Document), place, Settings.Game);
    if (!hover)
        return nullptr;
    std::string text = hover->Code.empty() ? "" : CodeBlock(Utf8FromScriptBytes(hover->Code));
    text += MarkdownText(hover->Text);
    for (const std::string &item : hover->Items)
        text += "\n- " + MarkdownText(item);
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}};
}

TJson TLanguageServer::Definition(const TJson &params)
{
    TOpenScript *script = nullptr;
    const TScriptPlace place = PlaceOf(params, script);
    if (const std::optional<TScriptRange> range = DefinitionAt(AnalysisOf(*script), place))
        return {{"uri", params["textDocument"]["uri"]}, {"range", RangeJson(*range)}};
    return nullptr;
}

TJson TLanguageServer::References(const TJson &params)
{
    TOpenScript *script = nullptr;
    const TScriptPlace place = PlaceOf(params, script);
    const bool includeDeclaration = params.value("/context/includeDeclaration"_json_pointer, true);
    const std::string &uri = params["textDocument"]["uri"].get_ref<const std::string &>();
    TJson locations = TJson::array();
    for (const TScriptRange &range : OccurrencesAt(AnalysisOf(*script), place, includeDeclaration))
        locations.push_back({{"uri", uri}, {"range", RangeJson(range)}});
    return locations;
}

TJson TLanguageServer::DocumentSymbol(const TJson &params)
{
    TOpenScript &script = ScriptOf(params);
    const TScriptAnalysis &analysis = AnalysisOf(script);
    const TScriptDocument &document = script.Document;
    // The sections from their opening line to the line before the next one opens.
    TJson outline = TJson::array();
    const auto section = [&](const char *name, int from, int to, TJson children) {
        const int last = std::max(from, to);
        outline.push_back(
            {{"name", name},
             {"kind", SymbolNamespace},
             {"range", RangeJson({from, 0}, {last, static_cast<int>(document.Line(last).size())})},
             {"selectionRange", RangeJson({from, 0}, {from, 0})},
             {"children", std::move(children)}});
    };
    TJson symbols = TJson::array();
    for (size_t i = 0; i < analysis.Symbols.size(); ++i)
    {
        const TScriptSymbol &symbol = analysis.Symbols[i];
        const bool message = IsMessageSymbol(analysis, static_cast<int>(i));
        symbols.push_back(
            {{"name", Utf8FromScriptBytes(symbol.Name)},
             {"detail", Utf8FromScriptBytes(symbol.Type)},
             {"kind", message                                         ? SymbolEvent
                      : symbol.Flags.empty() && !symbol.Value.empty() ? SymbolConstant
                                                                      : SymbolVariable},
             {"range", RangeJson(symbol.Range)},
             {"selectionRange", RangeJson(symbol.Range)}});
    }
    TJson labels = TJson::array();
    for (size_t i = 0; i < analysis.Labels.size(); ++i)
    {
        const TScriptLabel &label = analysis.Labels[i];
        // A label's body runs to the line before the next label.
        const int end = i + 1 < analysis.Labels.size() ? analysis.Labels[i + 1].Range.Start.Line - 1
                                                       : label.Range.Start.Line;
        labels.push_back({{"name", Utf8FromScriptBytes(label.Name)},
                          {"detail", label.Message >= 0 ? "handler" : "label"},
                          {"kind", label.Message >= 0 ? SymbolEvent : SymbolFunction},
                          {"range", RangeJson({label.Range.Start.Line, 0},
                                              {std::max(end, label.Range.Start.Line), 0})},
                          {"selectionRange", RangeJson(label.Range)}});
    }
    const TSectionLines lines = SectionLines(LinesOf(document), document.LineCount());
    const auto last = [](const auto &list, int fallback) {
        return list.empty() ? fallback : list.back().Range.Start.Line;
    };
    const int symbolsFrom = lines.Symbols >= 0 ? lines.Symbols : 0;
    const int codeFrom = lines.Code >= 0 ? lines.Code : 0;
    section("symbols", symbolsFrom,
            lines.SymbolsEnd >= 0 ? lines.SymbolsEnd : last(analysis.Symbols, symbolsFrom),
            std::move(symbols));
    section("code", codeFrom, lines.CodeEnd >= 0 ? lines.CodeEnd : last(analysis.Labels, codeFrom),
            std::move(labels));
    return outline;
}

namespace {
// The protocol's code for a request that could not be done as asked.
constexpr int RequestFailed = -32803;

} // namespace

TJson TLanguageServer::PrepareRename(const TJson &params)
{
    TOpenScript *script = nullptr;
    const TScriptPlace place = PlaceOf(params, script);
    const TScriptRange *word = RenamedWord(AnalysisOf(*script), place);
    if (!word)
        return nullptr;
    const TScriptDocument &document = script->Document;
    const size_t start = document.LineStart(word->Start.Line);
    return {{"range", RangeJson(*word)},
            {"placeholder", document.Utf8(start + static_cast<size_t>(word->Start.Column),
                                          start + static_cast<size_t>(word->End.Column))}};
}

TJson TLanguageServer::Rename(const TJson &params)
{
    TOpenScript *script = nullptr;
    const TScriptPlace place = PlaceOf(params, script);
    const TScriptAnalysis &analysis = AnalysisOf(*script);
    const std::string &newName = params.at("newName").get_ref<const std::string &>();
    if (const std::string refusal = RenameRefusal(analysis, place, newName); !refusal.empty())
        throw TRequestError{RequestFailed, refusal};
    TJson edits = TJson::array();
    for (const TScriptRange &range : OccurrencesAt(analysis, place, true))
        edits.push_back({{"range", RangeJson(range)}, {"newText", newName}});
    return {{"changes", {{params["textDocument"]["uri"].get<std::string>(), std::move(edits)}}}};
}
