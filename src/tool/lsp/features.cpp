// The language features of the server: completion, signature help, hover, definitions and
// references, the outline, rename. Each reads the open script's analysis or, for what is being
// typed, the words before the caret.

#include <algorithm>
#include <set>

#include "core/analysis/cogchecker.h"
#include "core/linebuilder/flagcalc.h"
#include "core/linebuilder/verbdocs.h"
#include "core/shell/textutils.h"
#include "tool/lsp/context.h"
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

// "PlaySoundThing(${1:snd}, ${2:thing}, ...)": each argument a stop named after its readable
// name, without the "*." of resource names and the "*" of flags.
std::string VerbSnippet(const TVerbFact &verb)
{
    std::string snippet = verb.Name + "(";
    for (size_t i = 0; i < verb.ParamKinds.size(); ++i)
    {
        std::string name = i < verb.ParamNames.size() ? verb.ParamNames[i] : verb.ParamKinds[i];
        std::erase(name, '*');
        if (name.starts_with('.'))
            name.erase(0, 1);
        snippet += (i ? ", ${" : "${") + std::to_string(i + 1) + ":" + SnippetText(name) + "}";
    }
    return snippet + ")";
}

std::vector<std::string> SymbolNames(const TScriptAnalysis &analysis)
{
    std::vector<std::string> names;
    for (const TScriptSymbol &symbol : analysis.Symbols)
        names.push_back(Utf8FromScriptBytes(symbol.Name));
    return names;
}

std::vector<std::string> LabelNames(const TScriptAnalysis &analysis)
{
    std::vector<std::string> names;
    for (const TScriptLabel &label : analysis.Labels)
        names.push_back(Utf8FromScriptBytes(label.Name));
    return names;
}

TJson VerbDocumentation(const TVerbFact &verb)
{
    return {{"kind", "markdown"},
            {"value", "```cog\n" + VerbSignature(verb) + "\n```\n" + verb.Description}};
}
} // namespace

TJson TLanguageServer::Completion(const TJson &params)
{
    TOpenScript &script = ScriptOf(params);
    const TWritingContext context =
        WritingContextAt(script.Document, PositionOf(params.at("position")));
    TJson items = TJson::array();
    const auto add = [&items](const std::string &label, int kind, TJson extra = TJson::object()) {
        extra["label"] = label;
        extra["kind"] = kind;
        items.push_back(std::move(extra));
    };
    const TScriptAnalysis &analysis = AnalysisOf(script);
    switch (context.Kind)
    {
    case TWritingKind::Nothing:
    case TWritingKind::SymbolRest:
        break;
    case TWritingKind::SymbolType:
        for (const TCogTypeWord &type : COGTypes)
            add(std::string(type.Word), ItemTypeParameter);
        add("end", ItemKeyword);
        break;
    case TWritingKind::MessageName:
        for (const std::string_view name : GameMessageNames())
            add(std::string(name), ItemEvent);
        break;
    case TWritingKind::CalledLabel:
        for (const std::string &label : LabelNames(analysis))
            add(label, ItemFunction);
        break;
    case TWritingKind::CodeWord:
        for (const TVerbFact &verb : VerbTable())
            if (VerbKnownIn(verb, Settings.Game))
                add(verb.Name, ItemFunction,
                    {{"detail", VerbSignature(verb)},
                     {"documentation", VerbDocumentation(verb)},
                     {"insertText", VerbSnippet(verb)},
                     {"insertTextFormat", InsertAsSnippet}});
        for (const std::string &symbol : SymbolNames(analysis))
            add(symbol, ItemVariable);
        for (const std::string_view keyword : COGKeywords)
            add(std::string(keyword), ItemKeyword);
        break;
    }
    return {{"isIncomplete", false}, {"items", std::move(items)}};
}

TJson TLanguageServer::SignatureHelp(const TJson &params)
{
    TOpenScript &script = ScriptOf(params);
    TOpenCall call;
    if (!OpenCallAt(script.Document, PositionOf(params.at("position")), call))
        return nullptr;
    const std::vector<const TVerbFact *> &rows = FindVerb(call.Verb);
    TJson signatures = TJson::array();
    for (const TVerbFact *verb : rows)
    {
        if (!VerbKnownIn(*verb, Settings.Game) && rows.size() > 1)
            continue;
        // The parameters as ranges of the label, so the client can mark the one being written.
        const std::string label = VerbSignature(*verb);
        TJson parameters = TJson::array();
        size_t at = label.find('(') + 1;
        for (const std::string &parameter : VerbParameterLabels(*verb))
        {
            parameters.push_back({{"label", {at, at + parameter.size()}}});
            at += parameter.size() + 2;
        }
        signatures.push_back({{"label", label},
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

TJson Markdown(const std::string &text)
{
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}};
}

std::string CodeBlock(const std::string &code)
{
    return "```cog\n" + code + "\n```\n";
}

// The line of a declaration as written, without its leading blanks and its comment.
std::string DeclarationText(const TScriptDocument &document, const TScriptSymbol &symbol)
{
    std::string_view line = document.Line(symbol.Range.Start.Line);
    for (const std::string_view comment : {"#", "//"})
        line = line.substr(0, line.find(comment));
    const size_t start = line.find_first_not_of(" \t");
    const size_t end = line.find_last_not_of(" \t");
    return start == std::string_view::npos
               ? std::string()
               : document.Utf8(document.LineStart(symbol.Range.Start.Line) + start,
                               document.LineStart(symbol.Range.Start.Line) + end + 1);
}

std::string LineText(int line)
{
    return "line " + std::to_string(line + 1);
}

// The handler of message symbol index; -1 when the script has none.
int HandlerOf(const TScriptAnalysis &analysis, int symbol)
{
    for (size_t i = 0; i < analysis.Labels.size(); ++i)
        if (analysis.Labels[i].Message == symbol)
            return static_cast<int>(i);
    return -1;
}

bool IsMessageSymbol(const TScriptAnalysis &analysis, int symbol)
{
    return symbol >= 0 && SameNoCase(analysis.Symbols[static_cast<size_t>(symbol)].Type, "message");
}

// The flags a number in a flag argument sets, as the flag calculator names them.
std::string FlagHover(const TVerbFact &verb, int argument, const std::string &number)
{
    if (argument < 0 || static_cast<size_t>(argument) >= verb.ParamNames.size() ||
        verb.ParamNames[static_cast<size_t>(argument)] != FlagPlaceholder)
        return {};
    uint32_t value = 0;
    if (!ParseFlagNumber(number, value))
        return {};
    const TFlagKind *kind = MatchFlagKind(verb.Name);
    static const TFlagKind plainMask{"", "Flags", false, false, {}};
    if (!kind)
        kind = &plainMask;
    const std::vector<std::string> names = FlagNamesOf(*kind, value);
    std::string text = "**" + std::string(kind->Title) + "** " + number;
    if (names.empty())
        return text + ": none set";
    text += kind->SingleChoice ? ":" : " sets:";
    for (const std::string &name : names)
        text += "\n- " + name;
    return text;
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

namespace {
// The script's bytes at range, which lies in one line: a verb's name, a number.
std::string_view TextOf(const TScriptDocument &document, const TScriptRange &range)
{
    const std::string_view line = document.Line(range.Start.Line);
    const size_t start =
        std::min(static_cast<size_t>(std::max(range.Start.Column, 0)), line.size());
    return line.substr(start,
                       static_cast<size_t>(std::max(range.End.Column - range.Start.Column, 0)));
}
} // namespace

TJson TLanguageServer::Hover(const TJson &params)
{
    TOpenScript *script = nullptr;
    const TScriptPlace place = PlaceOf(params, script);
    const TScriptAnalysis &analysis = AnalysisOf(*script);
    const TScriptDocument &document = script->Document;
    const auto verbOf = [&](int call) -> const TVerbFact * {
        const std::vector<const TVerbFact *> &rows =
            FindVerb(TextOf(document, analysis.Calls[static_cast<size_t>(call)].Name));
        for (const TVerbFact *verb : rows)
            if (VerbKnownIn(*verb, Settings.Game))
                return verb;
        return rows.empty() ? nullptr : rows.front();
    };
    switch (place.Kind)
    {
    case TPlaceKind::Nothing:
        return nullptr;
    case TPlaceKind::VerbName:
        if (const TVerbFact *verb = verbOf(place.Call))
            return Markdown(
                CodeBlock(VerbSignature(*verb)) + verb->Description +
                (verb->Game == TVerbGame::Both ? "" : "\n\n" + VerbGamesText(verb->Game) + "."));
        return nullptr;
    case TPlaceKind::Argument:
        if (const TVerbFact *verb = place.Number ? verbOf(place.Call) : nullptr)
            if (const std::string text = FlagHover(
                    *verb, place.Argument, std::string(TextOf(document, place.NumberRange)));
                !text.empty())
                return Markdown(text);
        return nullptr;
    case TPlaceKind::SymbolDeclaration:
    case TPlaceKind::SymbolUse:
    {
        const TScriptSymbol &symbol = analysis.Symbols[static_cast<size_t>(place.Symbol)];
        std::string text = CodeBlock(DeclarationText(document, symbol)) + "Declared on " +
                           LineText(symbol.Range.Start.Line) + ".";
        if (IsMessageSymbol(analysis, place.Symbol))
        {
            const int handler = HandlerOf(analysis, place.Symbol);
            text +=
                handler < 0
                    ? " No handler: the game's message goes unanswered."
                    : " Its handler is on " +
                          LineText(analysis.Labels[static_cast<size_t>(handler)].Range.Start.Line) +
                          ".";
        }
        return Markdown(text);
    }
    case TPlaceKind::Handler:
    {
        const TScriptSymbol &message = analysis.Symbols[static_cast<size_t>(place.Symbol)];
        return Markdown("The handler of message `" + Utf8FromScriptBytes(message.Name) +
                        "`, declared on " + LineText(message.Range.Start.Line) + ".");
    }
    case TPlaceKind::Label:
    case TPlaceKind::LabelCall:
    {
        if (place.Label < 0)
            return Markdown("No label of this name.");
        const TScriptLabel &label = analysis.Labels[static_cast<size_t>(place.Label)];
        return Markdown("Label `" + Utf8FromScriptBytes(label.Name) + "` on " +
                        LineText(label.Range.Start.Line) + ".");
    }
    }
    return nullptr;
}

TJson TLanguageServer::Definition(const TJson &params)
{
    TOpenScript *script = nullptr;
    const TScriptPlace place = PlaceOf(params, script);
    const TScriptAnalysis &analysis = AnalysisOf(*script);
    const std::string &uri = params["textDocument"]["uri"].get_ref<const std::string &>();
    const auto location = [&uri](const TScriptRange &range) {
        return TJson{{"uri", uri}, {"range", RangeJson(range)}};
    };
    switch (place.Kind)
    {
    case TPlaceKind::SymbolDeclaration:
    case TPlaceKind::SymbolUse:
        // A message leads to its handler, what the game runs for it; other symbols to their
        // declaration.
        if (IsMessageSymbol(analysis, place.Symbol))
            if (const int handler = HandlerOf(analysis, place.Symbol); handler >= 0)
                return location(analysis.Labels[static_cast<size_t>(handler)].Range);
        return location(analysis.Symbols[static_cast<size_t>(place.Symbol)].Range);
    case TPlaceKind::Handler:
        return location(analysis.Symbols[static_cast<size_t>(place.Symbol)].Range);
    case TPlaceKind::Label:
    case TPlaceKind::LabelCall:
        if (place.Label >= 0)
            return location(analysis.Labels[static_cast<size_t>(place.Label)].Range);
        return nullptr;
    default:
        return nullptr;
    }
}

// Every range that names what stands at place: a symbol's declaration and uses, a label and the
// calls of it; a message and its handler are one name, so each brings the other's too.
std::vector<TScriptRange> TLanguageServer::Occurrences(const TScriptAnalysis &analysis,
                                                       const TScriptPlace &place,
                                                       bool includeDeclaration)
{
    int symbol = -1;
    int label = -1;
    switch (place.Kind)
    {
    case TPlaceKind::SymbolDeclaration:
    case TPlaceKind::SymbolUse:
        symbol = place.Symbol;
        if (IsMessageSymbol(analysis, symbol))
            label = HandlerOf(analysis, symbol);
        break;
    case TPlaceKind::Handler:
        symbol = place.Symbol;
        label = place.Label;
        break;
    case TPlaceKind::Label:
    case TPlaceKind::LabelCall:
        label = place.Label;
        break;
    default:
        return {};
    }
    std::vector<TScriptRange> ranges;
    if (symbol >= 0)
    {
        if (includeDeclaration)
            ranges.push_back(analysis.Symbols[static_cast<size_t>(symbol)].Range);
        for (const TSymbolUse &use : analysis.Uses)
            if (use.Symbol == symbol)
                ranges.push_back(use.Range);
    }
    if (label >= 0)
    {
        if (includeDeclaration || symbol >= 0)
            ranges.push_back(analysis.Labels[static_cast<size_t>(label)].Range);
        for (const TLabelCall &call : analysis.LabelCalls)
            if (call.Label == label)
                ranges.push_back(call.Range);
    }
    return ranges;
}

TJson TLanguageServer::References(const TJson &params)
{
    TOpenScript *script = nullptr;
    const TScriptPlace place = PlaceOf(params, script);
    const bool includeDeclaration = params.value("/context/includeDeclaration"_json_pointer, true);
    const std::string &uri = params["textDocument"]["uri"].get_ref<const std::string &>();
    TJson locations = TJson::array();
    for (const TScriptRange &range : Occurrences(AnalysisOf(*script), place, includeDeclaration))
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
    for (const TScriptSymbol &symbol : analysis.Symbols)
    {
        const bool message = SameNoCase(symbol.Type, "message");
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
    const TSectionLines lines = SectionLines(document);
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

bool IsNameWord(std::string_view name)
{
    if (name.empty() || (name[0] >= '0' && name[0] <= '9'))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

// The range of the word at place, when it is a name that rename can change.
const TScriptRange *RenamedWord(const TScriptAnalysis &analysis, const TScriptPlace &place)
{
    const size_t item = static_cast<size_t>(place.Item);
    switch (place.Kind)
    {
    case TPlaceKind::SymbolDeclaration:
        return &analysis.Symbols[item].Range;
    case TPlaceKind::SymbolUse:
        return &analysis.Uses[item].Range;
    case TPlaceKind::Label:
    case TPlaceKind::Handler:
        return &analysis.Labels[item].Range;
    case TPlaceKind::LabelCall:
        return place.Label >= 0 ? &analysis.LabelCalls[item].Range : nullptr;
    default:
        return nullptr;
    }
}
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
    if (!RenamedWord(analysis, place))
        throw TRequestError{RequestFailed, "Only a symbol or a label can be renamed"};
    const std::string &newName = params.at("newName").get_ref<const std::string &>();
    // The game reads names in any letter case and knows its own words before a script's.
    if (!IsNameWord(newName))
        throw TRequestError{RequestFailed,
                            "A name is letters, digits and \"_\", not starting with a digit"};
    if (TypeCode(newName) || IsCogKeyword(newName) || !FindVerb(newName).empty() ||
        SameNoCase(newName, "end") || SameNoCase(newName, "code") || SameNoCase(newName, "symbols"))
        throw TRequestError{RequestFailed, "\"" + newName + "\" is a word of the language"};
    const std::vector<TScriptRange> ranges = Occurrences(analysis, place, true);
    const bool renamesSymbol = place.Symbol >= 0;
    const bool renamesLabel = place.Label >= 0 || place.Kind == TPlaceKind::Label;
    for (size_t i = 0; i < analysis.Symbols.size(); ++i)
        if (static_cast<int>(i) != place.Symbol && SameNoCase(analysis.Symbols[i].Name, newName) &&
            renamesSymbol)
            throw TRequestError{RequestFailed,
                                "The script has a symbol called " + newName + " already"};
    for (size_t i = 0; i < analysis.Labels.size(); ++i)
        if (static_cast<int>(i) != place.Label && SameNoCase(analysis.Labels[i].Name, newName) &&
            (renamesLabel || IsMessageSymbol(analysis, place.Symbol)))
            throw TRequestError{RequestFailed,
                                "The script has a label called " + newName + " already"};
    TJson edits = TJson::array();
    for (const TScriptRange &range : ranges)
        edits.push_back({{"range", RangeJson(range)}, {"newText", newName}});
    return {{"changes", {{params["textDocument"]["uri"].get<std::string>(), std::move(edits)}}}};
}
