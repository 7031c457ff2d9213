#include "core/analysis/scriptanalysis.h"

#include <algorithm>
#include <span>

#include "core/shell/textutils.h"

namespace {
// Follows a check through a script and notes where each thing stands. The words of the events
// come in small letters, so the names are taken as written from the lines, at their places.
class TScriptCollector : public TCogCodeSink
{
  public:
    TScriptCollector(std::span<const std::string_view> lines, TScriptAnalysis &analysis,
                     std::stop_token stop)
        : Lines(lines), Analysis(analysis), Stop(std::move(stop))
    {}

    // Thrown through the check when a stop was asked.
    struct TStopped
    {};

    void Symbol(const TCogDeclaration &declaration) override;
    void Label(std::string_view word, const TCogPlace &place) override;
    void Operand(std::string_view word, TCogTokenKind kind, const TCogPlace &place) override;
    void Call(std::string_view word, bool valueUsed, const TCogPlace &place,
              const TCogPlace &open) override;
    void CallArgument(const TCogPlace &first, const TCogPlace &last,
                      const TCogPlace &delimiter) override;
    void CallEnd(int arguments, const TCogPlace &close) override;
    void CallLabel(std::string_view word, const TCogPlace &place) override;
    // Closes the calls a check that stopped early left open, and finds the label each call of a
    // label names.
    void Finish();

    // The findings of a check, each at its token or else at its line's text.
    void AddDiagnostics(const TCOGErrors &findings, TDiagnosticSeverity severity);

  private:
    // A call whose arguments are being read (index in Calls), with what its current argument
    // holds so far at its own level: how many operands, and the last of them when it is a number.
    struct TOpenCall
    {
        int Index = 0;
        int Operands = 0;
        TCogPlace Number;
        // The arguments read so far, and where the last of them ends and its delimiter stands.
        int Arguments = 0;
        TScriptPos LastEnd;
        TScriptPos LastDelimiter;
    };
    // An argument read, with its call (index in Calls): the arguments come in the order they
    // end, those of a call inside an argument before it, and are put together by call at the end.
    struct TReadArgument
    {
        int Call = 0;
        TCallArgument Argument;
    };

    static TScriptPos StartOf(const TCogPlace &place) { return {place.Line, place.Start}; }
    static TScriptPos EndOf(const TCogPlace &place) { return {place.Line, place.End}; }
    static TScriptRange RangeOf(const TCogPlace &place) { return {StartOf(place), EndOf(place)}; }
    std::string_view Written(const TCogPlace &place) const;
    void Use(std::string_view name, const TCogPlace &place);
    bool IsNumberArgument(const TOpenCall &call, const TCogPlace &first,
                          const TCogPlace &last) const;

    std::span<const std::string_view> Lines;
    TScriptAnalysis &Analysis;
    // The first declaration of each name, and the first message of each name (index in Symbols);
    // the first label of each name (index in Labels). Names in small letters.
    TNameMap<int> Symbols;
    TNameMap<int> Messages;
    TNameMap<int> Labels;
    std::vector<TOpenCall> Open;
    std::vector<TReadArgument> Read;
    std::stop_token Stop;
    // Operands until the stop is looked at again.
    int UntilStopLook = 0;
};

// The bytes of the script at place; the places of the checker's events lie inside their lines.
std::string_view TScriptCollector::Written(const TCogPlace &place) const
{
    if (place.Line < 0 || static_cast<size_t>(place.Line) >= Lines.size())
        return {};
    const std::string_view line = Lines[static_cast<size_t>(place.Line)];
    const size_t start = std::min(static_cast<size_t>(std::max(place.Start, 0)), line.size());
    const size_t end = std::min(static_cast<size_t>(std::max(place.End, 0)), line.size());
    return line.substr(start, end > start ? end - start : 0);
}

void TScriptCollector::Symbol(const TCogDeclaration &declaration)
{
    const int index = static_cast<int>(Analysis.Symbols.size());
    TScriptSymbol &symbol = Analysis.Symbols.emplace_back();
    symbol.Type = Written(declaration.TypePlace);
    symbol.Name = Written(declaration.NamePlace);
    symbol.Value = Written(declaration.ValuePlace);
    for (const TCogPlace &flag : declaration.Extensions)
        symbol.Flags.emplace_back(Written(flag));
    symbol.Range = RangeOf(declaration.NamePlace);
    const std::string name(declaration.Name);
    Symbols.try_emplace(name, index);
    if (TypeCode(declaration.Type) == TypeCode("message"))
        Messages.try_emplace(name, index);
}

void TScriptCollector::Label(std::string_view word, const TCogPlace &place)
{
    const int index = static_cast<int>(Analysis.Labels.size());
    const auto message = Messages.find(word);
    Analysis.Labels.push_back(TScriptLabel{std::string(Written(place)), RangeOf(place),
                                           message == Messages.end() ? -1 : message->second});
    Labels.try_emplace(std::string(word), index);
}

void TScriptCollector::Use(std::string_view name, const TCogPlace &place)
{
    if (const auto symbol = Symbols.find(name); symbol != Symbols.end())
        Analysis.Uses.push_back(TSymbolUse{symbol->second, RangeOf(place)});
}

void TScriptCollector::Operand(std::string_view word, TCogTokenKind kind, const TCogPlace &place)
{
    if (--UntilStopLook < 0)
    {
        if (Stop.stop_requested())
            throw TStopped();
        UntilStopLook = 4096;
    }
    const bool text = kind == ckValue && (word[0] == '"' || word[0] == '\'');
    if (!Open.empty())
    {
        // The lexer makes a value of every word that starts as a number; "0<x" is two operands.
        TOpenCall &call = Open.back();
        ++call.Operands;
        const bool number = kind == ckValue && !text && word.find_first_of("<>") == word.npos;
        call.Number = number ? place : TCogPlace();
    }
    // A string holds no names.
    if (text)
        return;
    ForEachWordPiece(word, place,
                     [this](std::string_view piece, const TCogPlace &at, bool) { Use(piece, at); });
}

void TScriptCollector::Call(std::string_view word, bool, const TCogPlace &place,
                            const TCogPlace &open)
{
    TScriptCall call;
    if (!Open.empty())
    {
        call.Parent = Open.back().Index;
        ++Open.back().Operands;
        Open.back().Number = TCogPlace();
    }
    // "x<GetThingHealth(p)" uses x and calls the verb after it. A declared name may be called too.
    ForEachWordPiece(word, place, [&](std::string_view piece, const TCogPlace &at, bool last) {
        Use(piece, at);
        if (last)
            call.Name = RangeOf(at);
    });
    // Until its end is known the call ends with its "(".
    call.Parens = RangeOf(open);
    Open.push_back(TOpenCall{static_cast<int>(Analysis.Calls.size()), 0, TCogPlace(), 0, {}, {}});
    Analysis.Calls.push_back(std::move(call));
}

// One number, maybe after a "-": its one operand is a number and ends the argument, and only a
// "-" and blanks come before it.
bool TScriptCollector::IsNumberArgument(const TOpenCall &call, const TCogPlace &first,
                                        const TCogPlace &last) const
{
    const TCogPlace &number = call.Number;
    if (call.Operands != 1 || number.Line < 0 || !(number == last) || first.Line != number.Line)
        return false;
    if (first.Start == number.Start)
        return true;
    const std::string_view before = Written(TCogPlace{first.Line, first.Start, number.Start});
    return !before.empty() && before[0] == '-' &&
           std::all_of(before.begin() + 1, before.end(), IsBlank);
}

void TScriptCollector::CallArgument(const TCogPlace &first, const TCogPlace &last,
                                    const TCogPlace &delimiter)
{
    if (Open.empty())
        return;
    TOpenCall &open = Open.back();
    const TScriptCall &call = Analysis.Calls[static_cast<size_t>(open.Index)];
    TCallArgument argument;
    // An argument cut short by an error may lack its first or last token.
    const TScriptPos after = open.Arguments == 0 ? call.Parens.End : open.LastDelimiter;
    argument.Range.Start = first.Line >= 0 ? StartOf(first) : after;
    argument.Range.End = std::max(last.Line >= 0 ? EndOf(last) : after, argument.Range.Start);
    argument.Delimiter = delimiter.Line >= 0 ? StartOf(delimiter) : argument.Range.End;
    argument.Number = IsNumberArgument(open, first, last);
    ++open.Arguments;
    open.LastEnd = argument.Range.End;
    open.LastDelimiter = argument.Delimiter;
    Read.push_back(TReadArgument{open.Index, argument});
    open.Operands = 0;
    open.Number = TCogPlace();
}

void TScriptCollector::CallEnd(int, const TCogPlace &close)
{
    if (Open.empty())
        return;
    const TOpenCall open = Open.back();
    TScriptCall &call = Analysis.Calls[static_cast<size_t>(open.Index)];
    Open.pop_back();
    // A call cut short may end without a token in hand; its parentheses still hold its arguments.
    if (close.Line >= 0)
        call.Parens.End = std::max(call.Parens.End, EndOf(close));
    if (open.Arguments > 0)
        call.Parens.End = std::max(call.Parens.End, open.LastEnd);
}

void TScriptCollector::CallLabel(std::string_view, const TCogPlace &place)
{
    // The label is looked for at the end: it may be defined further on.
    Analysis.LabelCalls.push_back(TLabelCall{std::string(Written(place)), RangeOf(place), -1});
}

void TScriptCollector::Finish()
{
    // A check stops inside calls only when their nesting is too deep; they end with their last
    // argument.
    for (; !Open.empty(); Open.pop_back())
    {
        TScriptCall &call = Analysis.Calls[static_cast<size_t>(Open.back().Index)];
        if (Open.back().Arguments > 0)
            call.Parens.End = std::max(call.Parens.End, Open.back().LastEnd);
    }
    // The arguments by call, each call's in the order read: counted, then placed.
    for (const TReadArgument &read : Read)
        ++Analysis.Calls[static_cast<size_t>(read.Call)].ArgumentCount;
    int first = 0;
    for (TScriptCall &call : Analysis.Calls)
    {
        call.FirstArgument = first;
        first += call.ArgumentCount;
    }
    Analysis.Arguments.resize(Read.size());
    std::vector<int> placed(Analysis.Calls.size(), 0);
    for (const TReadArgument &read : Read)
    {
        const auto call = static_cast<size_t>(read.Call);
        Analysis
            .Arguments[static_cast<size_t>(Analysis.Calls[call].FirstArgument + placed[call]++)] =
            read.Argument;
    }
    Read = {};
    for (TLabelCall &call : Analysis.LabelCalls)
        if (const auto label = Labels.find(LowerAscii(call.Name)); label != Labels.end())
            call.Label = label->second;
}

void TScriptCollector::AddDiagnostics(const TCOGErrors &findings, TDiagnosticSeverity severity)
{
    for (int i = 0; i < findings.Count(); ++i)
    {
        const TCOGError &finding = findings.Items(i);
        TScriptRange range = RangeOf(finding.Token);
        if (finding.Token.Line < 0)
        {
            // A finding about a whole line (a section missing, the text ended) takes its text
            // after the leading blanks; a text without lines has only the place 0:0.
            const int line =
                std::clamp(finding.Line, 0, std::max(0, static_cast<int>(Lines.size()) - 1));
            const std::string_view text =
                Lines.empty() ? std::string_view() : Lines[static_cast<size_t>(line)];
            size_t start = 0;
            while (start < text.size() && IsBlank(text[start]))
                ++start;
            range = TScriptRange{{line, static_cast<int>(start)},
                                 {line, static_cast<int>(text.size())}};
        }
        Analysis.Diagnostics.push_back(TScriptDiagnostic{severity, finding.Msg, range});
    }
}

// The entry of list whose range holds p, its end included; -1 for none. The entries stand in the
// order of the text and do not overlap.
template <typename List, typename RangeOf>
int FindHolding(const List &list, TScriptPos p, RangeOf rangeOf)
{
    const auto at = std::partition_point(list.begin(), list.end(),
                                         [&](const auto &entry) { return rangeOf(entry).End < p; });
    if (at == list.end() || p < rangeOf(*at).Start)
        return -1;
    return static_cast<int>(at - list.begin());
}

bool InParens(const TScriptCall &call, TScriptPos p)
{
    return call.Parens.Start < p && p < call.Parens.End;
}

bool OnName(const TScriptCall &call, TScriptPos p)
{
    return call.Name.Start <= p && p <= call.Name.End;
}

// The innermost call whose name or parentheses hold p; -1 for none. A call that holds p and
// starts before the last call named before p holds that call too, so the search goes up from it
// through the calls that hold it.
int InnermostCall(const std::vector<TScriptCall> &calls, TScriptPos p)
{
    const auto after = std::partition_point(
        calls.begin(), calls.end(), [&](const TScriptCall &call) { return call.Name.Start <= p; });
    for (int index = static_cast<int>(after - calls.begin()) - 1; index >= 0;)
    {
        const TScriptCall &call = calls[static_cast<size_t>(index)];
        if (OnName(call, p) || InParens(call, p))
            return index;
        // A call's parent comes before it.
        index = call.Parent < index ? call.Parent : -1;
    }
    return -1;
}
} // namespace

TScriptAnalysis AnalyseScript(std::string_view text, const TAnalysisOptions &options)
{
    const std::vector<std::string_view> lines = SplitTextLineViews(text);
    TScriptAnalysis analysis;
    TScriptCollector collector(lines, analysis, options.Stop);
    TCOGChecker syntax;
    syntax.Sink = &collector;
    // One check: the game pass follows it beside the collector.
    TGameChecker game;
    game.Enabled = options.GameChecks;
    game.Game = options.Game;
    game.Verbs = options.Verbs;
    const TCogLines each(lines);
    try
    {
        game.CheckLines(syntax, each, each);
    }
    catch (const TScriptCollector::TStopped &)
    {
        return analysis;
    }
    collector.Finish();
    collector.AddDiagnostics(syntax.Errors, TDiagnosticSeverity::Error);
    collector.AddDiagnostics(game.Warnings, TDiagnosticSeverity::Warning);
    // An editor keeps the analysis of every open script: the long lists keep no spare room.
    analysis.Uses.shrink_to_fit();
    analysis.Calls.shrink_to_fit();
    return analysis;
}

TScriptPlace PlaceAt(const TScriptAnalysis &analysis, int line, int byteColumn)
{
    const TScriptPos p{line, byteColumn};
    const auto rangeOf = [](const auto &entry) { return entry.Range; };
    TScriptPlace place;
    if (const int symbol = FindHolding(analysis.Symbols, p, rangeOf); symbol >= 0)
    {
        place.Kind = TPlaceKind::SymbolDeclaration;
        place.Item = place.Symbol = symbol;
    }
    else if (const int label = FindHolding(analysis.Labels, p, rangeOf); label >= 0)
    {
        place.Item = place.Label = label;
        place.Symbol = analysis.Labels[static_cast<size_t>(label)].Message;
        place.Kind = place.Symbol >= 0 ? TPlaceKind::Handler : TPlaceKind::Label;
    }
    else if (const int call = FindHolding(analysis.LabelCalls, p, rangeOf); call >= 0)
    {
        place.Kind = TPlaceKind::LabelCall;
        place.Item = call;
        place.Label = analysis.LabelCalls[static_cast<size_t>(call)].Label;
    }
    else if (const int use = FindHolding(analysis.Uses, p, rangeOf); use >= 0)
    {
        place.Kind = TPlaceKind::SymbolUse;
        place.Item = use;
        place.Symbol = analysis.Uses[static_cast<size_t>(use)].Symbol;
    }

    place.Call = InnermostCall(analysis.Calls, p);
    if (place.Call < 0)
        return place;
    const TScriptCall &call = analysis.Calls[static_cast<size_t>(place.Call)];
    if (OnName(call, p))
    {
        if (place.Kind == TPlaceKind::Nothing)
        {
            place.Kind = TPlaceKind::VerbName;
            place.Item = place.Call;
        }
        return place;
    }
    const std::span<const TCallArgument> arguments = ArgumentsOf(analysis, call);
    place.Argument = static_cast<int>(
        std::count_if(arguments.begin(), arguments.end(),
                      [&](const TCallArgument &argument) { return argument.Delimiter < p; }));
    if (place.Kind == TPlaceKind::Nothing)
    {
        place.Kind = TPlaceKind::Argument;
        if (static_cast<size_t>(place.Argument) < arguments.size())
        {
            const TCallArgument &argument = arguments[static_cast<size_t>(place.Argument)];
            place.Number = argument.Number;
            if (argument.Number)
                place.NumberRange = argument.Range;
        }
    }
    return place;
}
