// Arbitrary bytes as a script for one analysis: its findings are those of the checks alone, every
// range lies inside its line, each call's parent comes before it and its arguments lie in its
// parentheses, and what PlaceAt finds at any place points into the analysis' own lists.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/gamecheck.h"
#include "core/analysis/scriptanalysis.h"
#include "core/shell/textutils.h"
#include "fuzz/fuzzcheck.h"

namespace {
// Checks the ranges of one analysis against the lines of its text.
class TRangeCheck
{
  public:
    explicit TRangeCheck(std::string_view text) : Lines(SplitTextLineViews(text)) {}

    int LineCount() const { return static_cast<int>(Lines.size()); }
    int LineLength(int line) const
    {
        return static_cast<int>(Lines[static_cast<size_t>(line)].size());
    }

    void Inside(const TScriptRange &range, bool oneLine = true) const
    {
        Check(Fits(range.Start) && Fits(range.End) && !(range.End < range.Start) &&
              (!oneLine || range.Start.Line == range.End.Line));
    }

  private:
    bool Fits(const TScriptPos &pos) const
    {
        // A text without lines has the one place 0:0.
        if (Lines.empty())
            return pos.Line == 0 && pos.Column == 0;
        return pos.Line >= 0 && pos.Line < LineCount() && pos.Column >= 0 &&
               pos.Column <= LineLength(pos.Line);
    }

    std::vector<std::string_view> Lines;
};

// Whether index points into list, or is -1.
template <typename List> bool Indexes(const List &list, int index)
{
    return index >= -1 && index < static_cast<int>(list.size());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte chooses the game and whether the game-aware pass runs; the rest is the
    // script.
    if (size == 0)
        return 0;
    TAnalysisOptions options;
    options.Game = static_cast<TCheckGame>(data[0] % 3);
    options.GameChecks = (data[0] & 4) == 0;
    const std::string_view text(reinterpret_cast<const char *>(data + 1), size - 1);
    const TScriptAnalysis analysis = AnalyseScript(text, options);
    const TRangeCheck ranges(text);

    TCOGChecker syntax;
    TGameChecker game;
    game.Enabled = options.GameChecks;
    game.Game = options.Game;
    game.CheckText(syntax, text);
    Check(static_cast<int>(analysis.Diagnostics.size()) ==
          syntax.Errors.Count() + game.Warnings.Count());
    for (size_t i = 0; i < analysis.Diagnostics.size(); ++i)
    {
        const int index = static_cast<int>(i);
        const bool error = index < syntax.Errors.Count();
        const TCOGError &finding =
            error ? syntax.Errors.Items(index) : game.Warnings.Items(index - syntax.Errors.Count());
        const TScriptDiagnostic &diagnostic = analysis.Diagnostics[i];
        Check(diagnostic.Message == finding.Msg &&
              (diagnostic.Severity == TDiagnosticSeverity::Error) == error);
        ranges.Inside(diagnostic.Range);
    }

    for (const TScriptSymbol &symbol : analysis.Symbols)
        ranges.Inside(symbol.Range);
    for (const TScriptLabel &label : analysis.Labels)
    {
        ranges.Inside(label.Range);
        Check(Indexes(analysis.Symbols, label.Message));
    }
    for (const TLabelCall &call : analysis.LabelCalls)
    {
        ranges.Inside(call.Range);
        Check(Indexes(analysis.Labels, call.Label));
    }
    for (const TSymbolUse &use : analysis.Uses)
    {
        ranges.Inside(use.Range);
        Check(use.Symbol >= 0 && Indexes(analysis.Symbols, use.Symbol));
    }
    for (size_t i = 0; i < analysis.Calls.size(); ++i)
    {
        const TScriptCall &call = analysis.Calls[i];
        Check(call.Parent < static_cast<int>(i) && call.Parent >= -1);
        ranges.Inside(call.Name);
        ranges.Inside(call.Parens, false);
        Check(call.FirstArgument >= 0 && call.ArgumentCount >= 0 &&
              static_cast<size_t>(call.FirstArgument + call.ArgumentCount) <=
                  analysis.Arguments.size());
        for (const TCallArgument &argument : ArgumentsOf(analysis, call))
        {
            ranges.Inside(argument.Range, false);
            ranges.Inside(TScriptRange{argument.Delimiter, argument.Delimiter});
            Check(!(argument.Range.Start < call.Parens.Start) &&
                  !(call.Parens.End < argument.Range.End));
        }
    }

    // Every place of the first lines, one past their ends, and a few places nowhere.
    const auto probe = [&](int line, int column) {
        const TScriptPlace place = PlaceAt(analysis, line, column);
        Check(Indexes(analysis.Symbols, place.Symbol) && Indexes(analysis.Labels, place.Label) &&
              Indexes(analysis.Calls, place.Call));
        if (place.Call >= 0)
            Check(place.Argument >= -1 &&
                  place.Argument <=
                      static_cast<int>(
                          analysis.Calls[static_cast<size_t>(place.Call)].ArgumentCount));
        Check((place.Kind == TPlaceKind::Nothing) == (place.Item < 0 && place.Call < 0));
        if (place.Number)
            ranges.Inside(place.NumberRange);
    };
    for (int line = 0; line < ranges.LineCount() && line < 64; ++line)
        for (int column = 0; column <= ranges.LineLength(line) + 1 && column < 256; ++column)
            probe(line, column);
    probe(-1, 0);
    probe(0, -1);
    probe(ranges.LineCount(), 0);
    probe(INT32_MAX, INT32_MAX);
    return 0;
}
