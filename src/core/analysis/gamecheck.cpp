#include "core/analysis/gamecheck.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/linebuilder/verbtable.h"
#include "core/shell/binfile.h"
#include "core/shell/fileio.h"
#include "core/shell/ioerror.h"
#include "core/shell/settings.h"

namespace {
// The messages the engine sends by name, sorted. A label of one of these names is a handler;
// the names are also constants every script may use undeclared (SendMessage(cog, user1)).
// MOTS adds "enterbubble", "exitbubble" and "playeraction" of its own.
constexpr std::array<std::string_view, 44> MessageNames = {
    "activate",   "activated",    "aievent", "arrived",     "autoselect", "blocked",     "changed",
    "created",    "crossed",      "damaged", "deactivated", "deselected", "enterbubble", "entered",
    "exitbubble", "exited",       "fire",    "join",        "killed",     "leave",       "loading",
    "newplayer",  "playeraction", "pulse",   "removed",     "respawn",    "selected",    "shutdown",
    "sighted",    "skill",        "splash",  "startup",     "taken",      "timer",       "touched",
    "trigger",    "user0",        "user1",   "user2",       "user3",      "user4",       "user5",
    "user6",      "user7",
};

constexpr bool IsSortedList(const auto &list)
{
    for (size_t i = 1; i < list.size(); ++i)
        if (!(list[i - 1] < list[i]))
            return false;
    return true;
}
static_assert(IsSortedList(MessageNames));

bool IsMessageName(std::string_view lower)
{
    return std::binary_search(MessageNames.begin(), MessageNames.end(), lower);
}

// The engine's own variables: "global0" to "global15", shared by every script.
bool IsGlobalName(std::string_view lower)
{
    if (lower.size() < 7 || lower.size() > 8 || lower.substr(0, 6) != "global")
        return false;
    const std::string_view digits = lower.substr(6);
    if (digits.size() == 1)
        return digits[0] >= '0' && digits[0] <= '9';
    return digits[0] == '1' && digits[1] >= '0' && digits[1] <= '5';
}

bool KnownIn(const TVerbFact &verb, TCheckGame game)
{
    switch (game)
    {
    case TCheckGame::JK:
        return verb.Game != TVerbGame::Mots;
    case TCheckGame::Mots:
        return verb.Game != TVerbGame::JK;
    case TCheckGame::Either:
        break;
    }
    return true;
}

// Levenshtein distance in ASCII small letters, or limit + 1 when it is above limit.
int EditDistance(std::string_view a, std::string_view b, int limit)
{
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    // Verb names are far shorter than the row; a longer word is no near miss of any.
    std::array<int, 64> row{};
    if (n - m > limit || m - n > limit || m >= static_cast<int>(row.size()))
        return limit + 1;
    for (int j = 0; j <= m; ++j)
        row[static_cast<size_t>(j)] = j;
    for (int i = 1; i <= n; ++i)
    {
        int diagonal = row[0];
        row[0] = i;
        int best = row[0];
        for (int j = 1; j <= m; ++j)
        {
            const int above = row[static_cast<size_t>(j)];
            const bool same = LowerAscii(a[static_cast<size_t>(i - 1)]) ==
                              LowerAscii(b[static_cast<size_t>(j - 1)]);
            row[static_cast<size_t>(j)] = std::min(
                {above + 1, row[static_cast<size_t>(j - 1)] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
            best = std::min(best, row[static_cast<size_t>(j)]);
        }
        if (best > limit)
            return limit + 1;
    }
    return std::min(row[static_cast<size_t>(m)], limit + 1);
}

// The one verb of the game nearest to name, at most two edits away; none when there is no such
// verb or when two verbs are equally near.
const TVerbFact *NearestVerb(const TVerbIndex &verbs, std::string_view name, TCheckGame game)
{
    constexpr int MaxEdits = 2;
    const TVerbFact *nearest = nullptr;
    int best = MaxEdits + 1;
    bool tie = false;
    for (const auto &[lower, rows] : verbs)
    {
        const auto known = std::find_if(
            rows.begin(), rows.end(), [game](const TVerbFact *row) { return KnownIn(*row, game); });
        if (known == rows.end())
            continue;
        const int distance = EditDistance(lower, name, MaxEdits);
        if (distance < best)
        {
            best = distance;
            nearest = *known;
            tie = false;
        }
        else if (distance == best && distance <= MaxEdits)
            tie = true;
    }
    return tie ? nullptr : nearest;
}

std::string Quoted(std::string_view name)
{
    std::string quoted;
    quoted.reserve(name.size() + 2);
    quoted.push_back('\'');
    quoted.append(name);
    quoted.push_back('\'');
    return quoted;
}

// Hands every event of a check to two sinks: the pass and a sink that was following the check
// before it.
class TBothSinks : public TCogCodeSink
{
  public:
    TBothSinks(TCogCodeSink &first, TCogCodeSink &second) : First(first), Second(second) {}

    void Symbol(const TCogDeclaration &declaration) override
    {
        First.Symbol(declaration);
        Second.Symbol(declaration);
    }
    void Label(std::string_view word, const TCogPlace &place) override
    {
        First.Label(word, place);
        Second.Label(word, place);
    }
    void Operand(std::string_view word, TCogTokenKind kind, const TCogPlace &place) override
    {
        First.Operand(word, kind, place);
        Second.Operand(word, kind, place);
    }
    void Call(std::string_view word, bool valueUsed, const TCogPlace &place) override
    {
        First.Call(word, valueUsed, place);
        Second.Call(word, valueUsed, place);
    }
    void CallArgument(const TCogPlace &first, const TCogPlace &last,
                      const TCogPlace &delimiter) override
    {
        First.CallArgument(first, last, delimiter);
        Second.CallArgument(first, last, delimiter);
    }
    void CallEnd(int arguments, const TCogPlace &open, const TCogPlace &close) override
    {
        First.CallEnd(arguments, open, close);
        Second.CallEnd(arguments, open, close);
    }
    void CallLabel(std::string_view word, const TCogPlace &place) override
    {
        First.CallLabel(word, place);
        Second.CallLabel(word, place);
    }

  private:
    TCogCodeSink &First;
    TCogCodeSink &Second;
};

// One run of the pass. It follows the checker through the script, told of each declaration,
// label, operand and call the checker finds, and notes what the script declares and uses. What
// needs the whole script (labels, calls of labels, names declared nowhere) is judged at the end.
class TGamePass : public TCogCodeSink
{
  public:
    // Takes the names as the script spells them from raw, the lines the check reads.
    TGamePass(TCogLines raw, const TVerbIndex &verbs, TCheckGame game,
              std::vector<TCOGError> &found)
        : Lines(std::move(raw)), Verbs(verbs), Game(game), Found(found)
    {}

    void Symbol(const TCogDeclaration &declaration) override;
    void Label(std::string_view word, const TCogPlace &place) override;
    void Operand(std::string_view word, TCogTokenKind kind, const TCogPlace &place) override;
    void Call(std::string_view word, bool valueUsed, const TCogPlace &place) override;
    // The number of arguments CallEnd gives is all the pass judges.
    void CallArgument(const TCogPlace &, const TCogPlace &, const TCogPlace &) override {}
    void CallEnd(int arguments, const TCogPlace &open, const TCogPlace &close) override;
    void CallLabel(std::string_view word, const TCogPlace &place) override;
    void Finish();

  private:
    struct TLabel
    {
        TCogPlace Place;
        bool Called = false;
    };
    struct TUse
    {
        std::string Name;
        TCogPlace Place;
        std::string Spelling;
    };
    // A call whose arguments are being read: the rows of its verb (none: not a verb) and the
    // place of its name.
    struct TOpenCall
    {
        const std::vector<const TVerbFact *> *Rows = nullptr;
        TCogPlace Place;
    };

    void Warn(const TCogPlace &place, std::string msg)
    {
        Found.push_back(TCOGError{place.Line, std::move(msg), place});
    }
    void UseName(std::string_view name, const TCogPlace &place);
    void CheckVerb(const std::vector<const TVerbFact *> &rows, bool valueUsed,
                   const TCogPlace &place);
    void CheckArgumentCount(const std::vector<const TVerbFact *> &rows, int given,
                            const TCogPlace &place);
    std::string Spelled(const TCogPlace &place, std::string_view lower);

    TCogLines Lines;
    const TVerbIndex &Verbs;
    TCheckGame Game;
    std::vector<TCOGError> &Found;
    std::vector<TOpenCall> OpenCalls;

    // Whether each declared name was declared a message (at least once).
    TNameMap<bool> Symbols;
    std::vector<std::pair<std::string, TCogPlace>> Messages;
    TNameMap<TLabel> Labels;
    // The names of the labels (keys of Labels) in the order they were defined.
    std::vector<const std::string *> LabelOrder;
    std::vector<TUse> LabelCalls;
    // Every name the code has used so far.
    TNameMap<bool> Seen;
    // Names found neither among the symbols nor the verbs nor the engine's own names, with their
    // first use; only the labels can still declare them.
    std::vector<TUse> Unknown;
    // The verb suggested for each unknown verb name met so far (none: nullptr).
    TNameMap<const TVerbFact *> Suggestions;
};

void TGamePass::Symbol(const TCogDeclaration &declaration)
{
    const std::string name(declaration.Name);
    const bool message = TypeCode(declaration.Type) == TypeCode("message");
    const auto [symbol, added] = Symbols.try_emplace(name, false);
    if (!added)
        Warn(declaration.NamePlace,
             "Symbol " + Quoted(Spelled(declaration.NamePlace, name)) + " is declared twice");
    // A name declared twice, once as a message, still has its handler looked for.
    if (message && !symbol->second)
    {
        symbol->second = true;
        Messages.emplace_back(name, declaration.NamePlace);
    }
}

void TGamePass::Label(std::string_view word, const TCogPlace &place)
{
    if (Labels.find(word) == Labels.end())
        LabelOrder.push_back(&Labels.emplace(word, TLabel{place, false}).first->first);
    else
        Warn(place, "Label " + Quoted(Spelled(place, word)) + " is defined twice");
}

void TGamePass::Operand(std::string_view word, TCogTokenKind kind, const TCogPlace &place)
{
    // A number may hide names behind "<" or ">" ("0<x"); a string holds none.
    if (kind == ckValue && (word[0] == '"' || word[0] == '\''))
        return;
    ForEachWordPiece(word, place, [this](std::string_view piece, const TCogPlace &at, bool) {
        UseName(piece, at);
    });
}

void TGamePass::Call(std::string_view word, bool valueUsed, const TCogPlace &place)
{
    // "x<GetThingHealth(p)" is one token to the lexer: a comparison that uses the value.
    std::string_view name;
    TCogPlace namePlace;
    ForEachWordPiece(word, place, [&](std::string_view piece, const TCogPlace &at, bool last) {
        if (!last)
            UseName(piece, at);
        name = piece;
        namePlace = at;
    });
    if (name.size() != word.size())
        valueUsed = true;
    const std::vector<const TVerbFact *> &rows = FindVerb(Verbs, name);
    OpenCalls.push_back(TOpenCall{rows.empty() ? nullptr : &rows, namePlace});
    if (!rows.empty())
        CheckVerb(rows, valueUsed, namePlace);
    else if (!Symbols.count(name))
    {
        // Names are compared in small letters, but shown as the script spells them. The search
        // for a near verb goes through the whole table, so it is done once per name.
        std::string msg = "Unknown verb " + Quoted(Spelled(namePlace, name));
        auto nearest = Suggestions.find(name);
        if (nearest == Suggestions.end())
            nearest = Suggestions.emplace(name, NearestVerb(Verbs, name, Game)).first;
        if (nearest->second)
            msg += " (did you mean " + Quoted(nearest->second->Name) + "?)";
        Warn(namePlace, std::move(msg));
    }
}

void TGamePass::CallEnd(int arguments, const TCogPlace &, const TCogPlace &)
{
    if (OpenCalls.empty())
        return;
    const TOpenCall call = OpenCalls.back();
    OpenCalls.pop_back();
    if (call.Rows)
        CheckArgumentCount(*call.Rows, arguments, call.Place);
}

void TGamePass::CallLabel(std::string_view word, const TCogPlace &place)
{
    // A label not defined yet may still come; it is spelt only when it turns out missing.
    if (const auto label = Labels.find(word); label != Labels.end())
        label->second.Called = true;
    else
        LabelCalls.push_back(TUse{std::string(word), place, {}});
}

// The verb facts that need no arguments: the game, and a value taken where none is given.
void TGamePass::CheckVerb(const std::vector<const TVerbFact *> &rows, bool valueUsed,
                          const TCogPlace &place)
{
    const TVerbFact &first = *rows.front();
    if (std::none_of(rows.begin(), rows.end(),
                     [this](const TVerbFact *row) { return KnownIn(*row, Game); }))
    {
        Warn(place, Quoted(first.Name) + " exists only in " +
                        (Game == TCheckGame::JK ? "MOTS" : "Jedi Knight"));
        return;
    }
    if (valueUsed && std::all_of(rows.begin(), rows.end(), [this](const TVerbFact *row) {
            return !KnownIn(*row, Game) || row->Returns == "none";
        }))
        Warn(place, Quoted(first.Name) + " returns nothing");
}

// The engine takes exactly as many values off the script's stack as the verb has parameters;
// a call with another count leaves the stack wrong for the rest of the handler.
void TGamePass::CheckArgumentCount(const std::vector<const TVerbFact *> &rows, int given,
                                   const TCogPlace &place)
{
    std::vector<int> counts;
    for (const TVerbFact *row : rows)
    {
        if (!KnownIn(*row, Game))
            continue;
        const int count = static_cast<int>(row->ParamKinds.size());
        if (count == given)
            return;
        if (std::find(counts.begin(), counts.end(), count) == counts.end())
            counts.push_back(count);
    }
    if (counts.empty())
        return; // a verb of the other game, reported as such
    std::string takes;
    for (size_t i = 0; i < counts.size(); ++i)
        takes += (i == 0 ? "" : " or ") + std::to_string(counts[i]);
    Warn(place, Quoted(rows.front()->Name) + " takes " + takes +
                    (counts.size() == 1 && counts[0] == 1 ? " argument, " : " arguments, ") +
                    std::to_string(given) + " given");
}

// A name in the code: a symbol, a verb, a message or one of the engine's variables; else a label,
// which only the end of the code can tell. Pieces that start as numbers are no names.
void TGamePass::UseName(std::string_view name, const TCogPlace &place)
{
    if (name.empty() || (name[0] >= '0' && name[0] <= '9') || name[0] == '.')
        return;
    // The symbols are all read before the code, so a name once looked up stays what it was.
    if (Seen.find(name) != Seen.end())
        return;
    Seen.emplace(name, true);
    if (Symbols.count(name) || !FindVerb(Verbs, name).empty() || IsMessageName(name) ||
        IsGlobalName(name))
        return;
    Unknown.push_back(TUse{std::string(name), place, Spelled(place, name)});
}

void TGamePass::Finish()
{
    for (const TUse &call : LabelCalls)
    {
        const auto label = Labels.find(call.Name);
        if (label == Labels.end())
            Warn(call.Place, "Label " + Quoted(Spelled(call.Place, call.Name)) + " does not exist");
        else
            label->second.Called = true;
    }
    // The game finds a handler through the message symbol of its name; a message label that is
    // not declared runs only when code falls or calls into it.
    for (const std::string *each : LabelOrder)
    {
        const std::string &name = *each;
        const TLabel &label = Labels.at(name);
        if (label.Called || !IsMessageName(name))
            continue;
        const auto symbol = Symbols.find(name);
        if (symbol == Symbols.end() || !symbol->second)
            Warn(label.Place, "Message " + Quoted(Spelled(label.Place, name)) +
                                  " is not declared, so its handler never runs");
    }
    for (const auto &[name, place] : Messages)
        if (!Labels.count(name))
            Warn(place, "Message " + Quoted(Spelled(place, name)) + " has no handler");
    for (const TUse &use : Unknown)
        if (!Labels.count(use.Name))
            Warn(use.Place, Quoted(use.Spelling) + " is declared nowhere");
}

// The name as the script spells it: the bytes of its line at place; lower itself when the line is
// not there.
std::string TGamePass::Spelled(const TCogPlace &place, std::string_view lower)
{
    std::string_view raw;
    if (place.Line < 0 || !Lines.Get(place.Line, raw) || place.Start < 0 ||
        place.Start > place.End || static_cast<size_t>(place.End) > raw.size())
        return std::string(lower);
    return std::string(
        raw.substr(static_cast<size_t>(place.Start), static_cast<size_t>(place.End - place.Start)));
}
} // namespace

std::string_view CheckGameWord(TCheckGame game)
{
    switch (game)
    {
    case TCheckGame::JK:
        return "jk";
    case TCheckGame::Mots:
        return "mots";
    case TCheckGame::Either:
        break;
    }
    return "any";
}

bool ParseCheckGame(std::string_view word, TCheckGame &game)
{
    const std::string lower = LowerAscii(word);
    for (TCheckGame each : {TCheckGame::Either, TCheckGame::JK, TCheckGame::Mots})
        if (lower == CheckGameWord(each))
        {
            game = each;
            return true;
        }
    return false;
}

void TGameChecker::Check(TCOGChecker &syntax, const std::vector<std::string> &lines)
{
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    const TCogLines each(views);
    CheckLines(syntax, each, each);
}

void TGameChecker::CheckText(TCOGChecker &syntax, std::string_view text)
{
    // The names are spelt from the lines the check has just read.
    TTextLines shared(text);
    CheckLines(syntax, TCogLines(shared), TCogLines(shared));
}

void TGameChecker::CheckSource(TCOGChecker &syntax, TTextSource &source)
{
    TTextLines shared(source);
    CheckLines(syntax, TCogLines(shared), TCogLines(shared));
}

TStatus TGameChecker::CheckFile(TCOGChecker &syntax, const std::string &path)
{
    bool grew = false;
    const TStatus read = CatchIOError([&]() -> TStatus {
        TFileText text(path);
        CheckSource(syntax, text);
        grew = text.Grew();
        return {};
    });
    if (!read || !grew)
        return read;
    const TResult<std::string> whole = ReadWholeFile(path);
    if (!whole)
        return TFailure{whole.Error()};
    CheckText(syntax, *whole);
    return {};
}

void TGameChecker::CheckLines(TCOGChecker &syntax, TCogLines raw, TCogLines code)
{
    Warnings.Clear();
    if (!Enabled)
    {
        syntax.CheckLines(std::move(code));
        return;
    }
    std::vector<TCOGError> found;
    TGamePass pass(std::move(raw), Verbs ? *Verbs : VerbIndex(), Game, found);
    {
        // A sink that was following the checker hears the check beside the pass, and is given
        // back also when reading the text fails.
        struct TFollow
        {
            TCOGChecker &Syntax;
            TCogCodeSink *Before;
            ~TFollow() { Syntax.Sink = Before; }
        } follow{syntax, syntax.Sink};
        std::optional<TBothSinks> both;
        if (follow.Before)
            both.emplace(pass, *follow.Before);
        syntax.Sink = both ? static_cast<TCogCodeSink *>(&*both) : &pass;
        syntax.CheckLines(std::move(code));
    }
    if (syntax.Errors.Count() > 0)
        return;
    pass.Finish();
    std::stable_sort(found.begin(), found.end(),
                     [](const TCOGError &a, const TCOGError &b) { return a.Line < b.Line; });
    for (TCOGError &warning : found)
        Warnings.Add(std::move(warning));
}

TGameCheckSettings ReadGameCheckSettings(TSettingsKey &key)
{
    TGameCheckSettings settings;
    if (key.ValueExists("GameChecks"))
        settings.Enabled = key.ReadString("GameChecks") != "0";
    if (key.ValueExists("CheckGame"))
        ParseCheckGame(key.ReadString("CheckGame"), settings.Game);
    return settings;
}

void WriteGameCheckSettings(TSettingsKey &key, const TGameCheckSettings &settings)
{
    key.WriteString("GameChecks", settings.Enabled ? "1" : "0");
    key.WriteString("CheckGame", std::string(CheckGameWord(settings.Game)));
}
