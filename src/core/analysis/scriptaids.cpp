#include "core/analysis/scriptaids.h"

#include <algorithm>

#include "core/analysis/cogchecker.h"
#include "core/linebuilder/flagcalc.h"
#include "core/linebuilder/verbdocs.h"
#include "core/shell/textutils.h"

namespace {
// The line before the caret, cut at a comment; false when the caret is inside one.
bool CodeBefore(std::string_view line, int caret, std::string_view &before)
{
    before = line.substr(0, std::min(static_cast<size_t>(std::max(caret, 0)), line.size()));
    return before.find('#') == std::string_view::npos &&
           before.find("//") == std::string_view::npos;
}

} // namespace

TCogSection SectionAbove(const TLineReader &line, int index)
{
    for (int i = index - 1; i >= 0; --i)
        if (const std::optional<TCogSection> opened = SectionOpenedBy(line(i)))
            return *opened;
    return TCogSection::Outside;
}

TSectionLines SectionLines(const TLineReader &line, int lineCount)
{
    TSectionLines lines;
    for (int i = 0; i < lineCount; ++i)
    {
        const std::optional<TCogSection> opened = SectionOpenedBy(line(i));
        if (opened == TCogSection::Symbols && lines.Symbols < 0)
            lines.Symbols = i;
        else if (opened == TCogSection::Code && lines.Code < 0)
            lines.Code = i;
        else if (opened == TCogSection::Outside && lines.Code >= 0)
            lines.CodeEnd = i;
        else if (opened == TCogSection::Outside && lines.Symbols >= 0 && lines.SymbolsEnd < 0)
            lines.SymbolsEnd = i;
    }
    return lines;
}

std::string_view WordBefore(std::string_view line, int column)
{
    const size_t end = std::min(static_cast<size_t>(std::max(column, 0)), line.size());
    size_t start = end;
    while (start > 0 && IsNameChar(line[start - 1]))
        --start;
    return line.substr(start, end - start);
}

bool OpensCompletionByItself(std::string_view line, int column)
{
    const std::string_view word = WordBefore(line, column);
    return word.size() >= AutoCompleteLetters && !(word[0] >= '0' && word[0] <= '9');
}

TWritingContext WritingContextAt(std::string_view line, int column, TCogSection section)
{
    TWritingContext context;
    std::string_view before;
    if (section == TCogSection::Outside || !CodeBefore(line, column, before))
        return context;
    context.Typed = std::string(WordBefore(before, static_cast<int>(before.size())));
    const size_t start = before.size() - context.Typed.size();
    context.WordStart = static_cast<int>(start);
    const std::string_view head = before.substr(0, start);

    if (section == TCogSection::Symbols)
    {
        size_t lead = 0;
        while (lead < head.size() && IsBlank(head[lead]))
            ++lead;
        if (lead == head.size())
            context.Kind = lead == 0 ? TWritingKind::SymbolType : TWritingKind::Nothing;
        else if (SameNoCase(head.substr(lead, 7), "message") && head.size() > lead + 7 &&
                 head.find_first_not_of(" \t", lead + 7) == std::string_view::npos)
            context.Kind = TWritingKind::MessageName;
        else
            context.Kind = TWritingKind::SymbolRest;
        return context;
    }
    // Inside a string nothing is offered: an odd count of quotes before the caret.
    if (std::count(head.begin(), head.end(), '"') % 2)
        return context;
    size_t end = head.size();
    while (end > 0 && IsBlank(head[end - 1]))
        --end;
    size_t word = end;
    while (word > 0 && IsNameChar(head[word - 1]))
        --word;
    const bool afterCall = end < head.size() && SameNoCase(head.substr(word, end - word), "call") &&
                           (word == 0 || !IsNameChar(head[word - 1]));
    context.Kind = afterCall ? TWritingKind::CalledLabel : TWritingKind::CodeWord;
    return context;
}

bool OpenCallAt(std::string_view line, int column, TOpenCall &call)
{
    std::string_view before;
    if (!CodeBefore(line, column, before))
        return false;
    // Walk back to the "(" still open, counting the commas of its level on the way.
    int depth = 0;
    int commas = 0;
    bool inString = false;
    for (size_t i = before.size(); i-- > 0;)
    {
        const char c = before[i];
        if (c == '"')
            inString = !inString;
        if (inString)
            continue;
        if (c == ')' || c == ']')
            ++depth;
        else if ((c == '(' || c == '[') && depth > 0)
            --depth;
        else if (c == ',' && depth == 0)
            ++commas;
        else if (c == '[' && depth == 0)
            return false;
        else if (c == '(' && depth == 0)
        {
            size_t end = i;
            while (end > 0 && IsBlank(before[end - 1]))
                --end;
            size_t start = end;
            while (start > 0 && IsNameChar(before[start - 1]))
                --start;
            if (start == end)
            {
                // A bracketed expression: the call, if any, is further out.
                commas = 0;
                continue;
            }
            call.Verb = std::string(before.substr(start, end - start));
            call.Argument = commas;
            return true;
        }
        else if (c == ';' || c == '{' || c == '}')
            return false;
    }
    return false;
}

std::vector<const TVerbFact *> VerbsShown(std::string_view name, TCheckGame game)
{
    const std::vector<const TVerbFact *> &rows = FindVerb(name);
    std::vector<const TVerbFact *> shown;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(shown),
                 [game](const TVerbFact *verb) { return VerbKnownIn(*verb, game); });
    return shown.empty() ? rows : shown;
}

int HandlerOf(const TScriptAnalysis &analysis, int symbol)
{
    for (size_t i = 0; i < analysis.Labels.size(); ++i)
        if (analysis.Labels[i].Message == symbol)
            return static_cast<int>(i);
    return -1;
}

bool IsMessageSymbol(const TScriptAnalysis &analysis, int symbol)
{
    return symbol >= 0 &&
           TypeCode(analysis.Symbols[static_cast<size_t>(symbol)].Type) == TypeCode("message");
}

namespace {
std::string LineText(int line)
{
    return "line " + std::to_string(line + 1);
}

// The script's bytes at range, which lies in one line: a verb's name, a number.
std::string TextAt(const TLineReader &line, const TScriptRange &range)
{
    const std::string_view text = line(range.Start.Line);
    const size_t start =
        std::min(static_cast<size_t>(std::max(range.Start.Column, 0)), text.size());
    return std::string(text.substr(
        start, static_cast<size_t>(std::max(range.End.Column - range.Start.Column, 0))));
}

// The line of a declaration as written, without its leading blanks and its comment.
std::string DeclarationText(const TLineReader &line, const TScriptSymbol &symbol)
{
    std::string_view text = line(symbol.Range.Start.Line);
    for (const std::string_view comment : {"#", "//"})
        text = text.substr(0, text.find(comment));
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    return std::string(text.substr(start, text.find_last_not_of(" \t") + 1 - start));
}

// What a hover adds about the games that know verb, from all its rows (a verb may have one row
// per game): nothing when both games know it, or when its description says so already.
std::string GamesNote(const TVerbFact &verb)
{
    bool jk = false;
    bool mots = false;
    for (const TVerbFact *row : FindVerb(verb.Name))
    {
        jk = jk || row->Game != TVerbGame::Mots;
        mots = mots || row->Game != TVerbGame::JK;
    }
    if (jk && mots)
        return {};
    const std::string games = VerbGamesText(jk ? TVerbGame::JK : TVerbGame::Mots);
    return verb.Description.find(games) == std::string::npos ? "\n\n" + games + "." : "";
}

// The flags a number in a flag argument sets, as the flag calculator names them.
std::optional<TScriptHover> FlagHover(const TVerbFact &verb, int argument,
                                      const std::string &number)
{
    if (argument < 0 || static_cast<size_t>(argument) >= verb.ParamNames.size() ||
        verb.ParamNames[static_cast<size_t>(argument)] != FlagPlaceholder)
        return std::nullopt;
    uint32_t value = 0;
    if (!ParseFlagNumber(number, value))
        return std::nullopt;
    static const TFlagKind plainMask{"", "Flags", false, false, {}};
    const TFlagKind *kind = MatchFlagKind(verb.Name);
    if (!kind)
        kind = &plainMask;
    TScriptHover hover;
    hover.Items = FlagNamesOf(*kind, value);
    hover.Text = std::string(kind->Title) + " " + number +
                 (hover.Items.empty()  ? ": none set"
                  : kind->SingleChoice ? ":"
                                       : " sets:");
    return hover;
}
} // namespace

std::optional<TScriptHover> HoverAt(const TScriptAnalysis &analysis, const TLineReader &line,
                                    const TScriptPlace &place, TCheckGame game)
{
    const auto verbOf = [&](int call) -> const TVerbFact * {
        const std::vector<const TVerbFact *> rows =
            VerbsShown(TextAt(line, analysis.Calls[static_cast<size_t>(call)].Name), game);
        return rows.empty() ? nullptr : rows.front();
    };
    switch (place.Kind)
    {
    case TPlaceKind::Nothing:
        return std::nullopt;
    case TPlaceKind::VerbName:
        if (const TVerbFact *verb = verbOf(place.Call))
            return TScriptHover{VerbSignature(*verb), verb->Description + GamesNote(*verb), {}};
        return std::nullopt;
    case TPlaceKind::Argument:
        if (const TVerbFact *verb = place.Number ? verbOf(place.Call) : nullptr)
            return FlagHover(*verb, place.Argument, TextAt(line, place.NumberRange));
        return std::nullopt;
    case TPlaceKind::SymbolDeclaration:
    case TPlaceKind::SymbolUse:
    {
        const TScriptSymbol &symbol = analysis.Symbols[static_cast<size_t>(place.Symbol)];
        TScriptHover hover{DeclarationText(line, symbol),
                           "Declared on " + LineText(symbol.Range.Start.Line) + ".",
                           {}};
        if (IsMessageSymbol(analysis, place.Symbol))
        {
            const int handler = HandlerOf(analysis, place.Symbol);
            hover.Text +=
                handler < 0
                    ? " No handler: the game's message goes unanswered."
                    : " Its handler is on " +
                          LineText(analysis.Labels[static_cast<size_t>(handler)].Range.Start.Line) +
                          ".";
        }
        return hover;
    }
    case TPlaceKind::Handler:
    {
        const TScriptSymbol &message = analysis.Symbols[static_cast<size_t>(place.Symbol)];
        return TScriptHover{{},
                            "The handler of message \"" + message.Name + "\", declared on " +
                                LineText(message.Range.Start.Line) + ".",
                            {}};
    }
    case TPlaceKind::Label:
    case TPlaceKind::LabelCall:
    {
        if (place.Label < 0)
            return TScriptHover{{}, "No label of this name.", {}};
        const TScriptLabel &label = analysis.Labels[static_cast<size_t>(place.Label)];
        return TScriptHover{
            {}, "Label \"" + label.Name + "\" on " + LineText(label.Range.Start.Line) + ".", {}};
    }
    }
    return std::nullopt;
}

std::optional<TScriptRange> DefinitionAt(const TScriptAnalysis &analysis, const TScriptPlace &place)
{
    switch (place.Kind)
    {
    case TPlaceKind::SymbolDeclaration:
    case TPlaceKind::SymbolUse:
        if (IsMessageSymbol(analysis, place.Symbol))
            if (const int handler = HandlerOf(analysis, place.Symbol); handler >= 0)
                return analysis.Labels[static_cast<size_t>(handler)].Range;
        return analysis.Symbols[static_cast<size_t>(place.Symbol)].Range;
    case TPlaceKind::Handler:
        return analysis.Symbols[static_cast<size_t>(place.Symbol)].Range;
    case TPlaceKind::Label:
    case TPlaceKind::LabelCall:
        if (place.Label >= 0)
            return analysis.Labels[static_cast<size_t>(place.Label)].Range;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::vector<TScriptRange> OccurrencesAt(const TScriptAnalysis &analysis, const TScriptPlace &place,
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

std::string RenameRefusal(const TScriptAnalysis &analysis, const TScriptPlace &place,
                          const std::string &newName)
{
    if (!RenamedWord(analysis, place))
        return "Only a symbol or a label can be renamed";
    // The game reads names in any letter case and knows its own words before a script's.
    if (!IsPlainName(newName) || (newName[0] >= '0' && newName[0] <= '9'))
        return "A name is letters, digits and \"_\", not starting with a digit";
    if (TypeCode(newName) || IsCogKeyword(newName) || !FindVerb(newName).empty() ||
        SameNoCase(newName, "end") || SameNoCase(newName, "code") || SameNoCase(newName, "symbols"))
        return "\"" + newName + "\" is a word of the language";
    if (place.Symbol >= 0)
        for (size_t i = 0; i < analysis.Symbols.size(); ++i)
            if (static_cast<int>(i) != place.Symbol &&
                SameNoCase(analysis.Symbols[i].Name, newName))
                return "The script has a symbol called " + newName + " already";
    // A message and its handler are renamed together.
    const bool renamesLabel = place.Label >= 0 || place.Kind == TPlaceKind::Label ||
                              IsMessageSymbol(analysis, place.Symbol);
    if (renamesLabel)
        for (size_t i = 0; i < analysis.Labels.size(); ++i)
            if (static_cast<int>(i) != place.Label && SameNoCase(analysis.Labels[i].Name, newName))
                return "The script has a label called " + newName + " already";
    return {};
}

std::vector<TCompletion> CompletionsFor(const TWritingContext &context,
                                        const TScriptAnalysis &analysis, TCheckGame game)
{
    std::vector<TCompletion> items;
    const auto add = [&items](std::string_view text, TCompletionKind kind,
                              const TVerbFact *verb = nullptr) {
        items.push_back({std::string(text), kind, verb});
    };
    switch (context.Kind)
    {
    case TWritingKind::Nothing:
    case TWritingKind::SymbolRest:
        break;
    case TWritingKind::SymbolType:
        for (const TCogTypeWord &type : COGTypes)
            add(type.Word, TCompletionKind::SymbolType);
        add("end", TCompletionKind::Keyword);
        break;
    case TWritingKind::MessageName:
        for (const std::string_view name : GameMessageNames())
            add(name, TCompletionKind::Message);
        break;
    case TWritingKind::CalledLabel:
        for (const TScriptLabel &label : analysis.Labels)
            add(label.Name, TCompletionKind::Label);
        break;
    case TWritingKind::CodeWord:
        for (const TVerbFact &verb : VerbTable())
            if (VerbKnownIn(verb, game))
                add(verb.Name, TCompletionKind::Verb, &verb);
        for (const TScriptSymbol &symbol : analysis.Symbols)
            add(symbol.Name, TCompletionKind::Symbol);
        for (const std::string_view keyword : COGKeywords)
            add(keyword, TCompletionKind::Keyword);
        break;
    }
    return items;
}
