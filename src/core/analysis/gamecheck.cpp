#include "core/analysis/gamecheck.h"

#include <algorithm>
#include <array>

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

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
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
const TVerbFact *NearestVerb(std::string_view name, TCheckGame game)
{
    constexpr int MaxEdits = 2;
    const TVerbFact *nearest = nullptr;
    int best = MaxEdits + 1;
    bool tie = false;
    for (const auto &[lower, rows] : VerbIndex())
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

// One run of the pass. It reads the symbols section as the syntax checker does; then it follows
// the checker through the code section, told of each label, operand and call the checker finds,
// and notes what the code declares and uses. What needs the whole script (labels, calls of
// labels, names declared nowhere) is judged at the end.
class TGamePass : public TCogCodeSink
{
  public:
    // Reads the symbols section from symbols, and the names as the script spells them from raw:
    // two readers of the same lines.
    TGamePass(TCogLines symbols, TCogLines raw, TCheckGame game, std::vector<TCOGError> &found)
        : Lines(std::move(raw)), Game(game), Found(found), Reader(std::move(symbols), Scratch)
    {}

    void ReadSymbols();
    void Label(std::string_view word, int line) override;
    void Operand(std::string_view word, TCogTokenKind kind, int line) override;
    void Call(std::string_view word, bool valueUsed, int line) override;
    void CallEnd(int arguments) override;
    void CallLabel(std::string_view word, int line) override;
    void Finish();

  private:
    struct TSymbol
    {
        int Line = 0;
        bool Message = false;
    };
    struct TLabel
    {
        int Line = 0;
        bool Called = false;
    };
    struct TUse
    {
        std::string Name;
        int Line = 0;
        std::string Spelling;
    };
    // A call whose arguments are being read: the rows of its verb (none: not a verb) and its line.
    struct TOpenCall
    {
        const std::vector<const TVerbFact *> *Rows = nullptr;
        int Line = 0;
    };

    void Declare(const std::string &typeWord);
    void Warn(int line, std::string msg) { Found.push_back(TCOGError{line, std::move(msg)}); }
    std::string_view UseNamesBeforeLast(std::string_view word, int line);
    void UseName(std::string_view name, int line);
    void CheckVerb(const std::vector<const TVerbFact *> &rows, bool valueUsed, int line);
    void CheckArgumentCount(const std::vector<const TVerbFact *> &rows, int given, int line);
    std::string Spelled(int line, std::string_view lower);

    TCogLines Lines;
    TCheckGame Game;
    std::vector<TCOGError> &Found;
    // Reads the symbols section; the lexer's reports of open strings would land in Scratch.
    TCOGChecker Scratch;
    TCogReader Reader;
    std::vector<TOpenCall> OpenCalls;

    TNameMap<TSymbol> Symbols;
    std::vector<std::pair<std::string, int>> Messages;
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

    // Where the search for the spelling of the next name starts: names are looked up in the order
    // they stand in the text, so a line is searched once however many names it gives.
    int SpellLine = -1;
    size_t SpellFrom = 0;
};

// Script: any lines, "symbols" line, {type-word line}, "end" line, any lines, "code" line,
//         code section
// Only the symbols section is read here: the checker reads the rest and hands the code over.
void TGamePass::ReadSymbols()
{
    std::string word;
    do
        if (!Reader.NextSectionLine(word))
            return;
    while (word != "symbols");
    for (;;)
    {
        if (!Reader.NextSectionLine(word))
            return;
        if (word == "end")
            break;
        Declare(word);
    }
}

// SymbolLine: type-word name["=" value] {extension}
// The name ends at a blank or "=": "sound s=foo.wav", "int x = 0 local" and "thing player local"
// all declare their second word.
void TGamePass::Declare(const std::string &typeWord)
{
    const std::string_view text = Reader.LineText();
    std::string first;
    size_t from = static_cast<size_t>(TCOGChecker::ExtractWord(text, 1, first)) - 1;
    while (from < text.size() && IsBlank(text[from]))
        ++from;
    size_t to = from;
    while (to < text.size() && !IsBlank(text[to]) && text[to] != '=')
        ++to;
    if (to == from)
        return;
    const std::string name(text.substr(from, to - from));
    const int line = Reader.CurLine();
    const bool message = TypeCode(typeWord) == TypeCode("message");
    const auto [symbol, added] = Symbols.try_emplace(name, TSymbol{line, false});
    if (!added)
        Warn(line, "Symbol " + Quoted(Spelled(line, name)) + " is declared twice");
    // A name declared twice, once as a message, still has its handler looked for.
    if (message && !symbol->second.Message)
    {
        symbol->second.Message = true;
        Messages.emplace_back(name, line);
    }
}

void TGamePass::Label(std::string_view word, int line)
{
    if (Labels.find(word) == Labels.end())
        LabelOrder.push_back(&Labels.emplace(word, TLabel{line, false}).first->first);
    else
        Warn(line, "Label " + Quoted(Spelled(line, word)) + " is defined twice");
}

void TGamePass::Operand(std::string_view word, TCogTokenKind kind, int line)
{
    // A number may hide names behind "<" or ">" ("0<x"); a string holds none.
    if (kind == ckValue && (word[0] == '"' || word[0] == '\''))
        return;
    UseName(UseNamesBeforeLast(word, line), line);
}

void TGamePass::Call(std::string_view word, bool valueUsed, int line)
{
    // "x<GetThingHealth(p)" is one token to the lexer: a comparison that uses the value.
    const std::string_view name = UseNamesBeforeLast(word, line);
    if (name.size() != word.size())
        valueUsed = true;
    const std::vector<const TVerbFact *> &rows = FindVerb(name);
    OpenCalls.push_back(TOpenCall{rows.empty() ? nullptr : &rows, line});
    if (!rows.empty())
        CheckVerb(rows, valueUsed, line);
    else if (!Symbols.count(name))
    {
        // Names are compared in small letters, but shown as the script spells them. The search
        // for a near verb goes through the whole table, so it is done once per name.
        std::string msg = "Unknown verb " + Quoted(Spelled(line, name));
        auto nearest = Suggestions.find(name);
        if (nearest == Suggestions.end())
            nearest = Suggestions.emplace(name, NearestVerb(name, Game)).first;
        if (nearest->second)
            msg += " (did you mean " + Quoted(nearest->second->Name) + "?)";
        Warn(line, std::move(msg));
    }
}

void TGamePass::CallEnd(int arguments)
{
    if (OpenCalls.empty())
        return;
    const TOpenCall call = OpenCalls.back();
    OpenCalls.pop_back();
    if (call.Rows)
        CheckArgumentCount(*call.Rows, arguments, call.Line);
}

void TGamePass::CallLabel(std::string_view word, int line)
{
    // A label not defined yet may still come; it is spelt only when it turns out missing.
    if (const auto label = Labels.find(word); label != Labels.end())
        label->second.Called = true;
    else
        LabelCalls.push_back(TUse{std::string(word), line, {}});
}

// The verb facts that need no arguments: the game, and a value taken where none is given.
void TGamePass::CheckVerb(const std::vector<const TVerbFact *> &rows, bool valueUsed, int line)
{
    const TVerbFact &first = *rows.front();
    if (std::none_of(rows.begin(), rows.end(),
                     [this](const TVerbFact *row) { return KnownIn(*row, Game); }))
    {
        Warn(line, Quoted(first.Name) + " exists only in " +
                       (Game == TCheckGame::JK ? "MOTS" : "Jedi Knight"));
        return;
    }
    if (valueUsed && std::all_of(rows.begin(), rows.end(), [this](const TVerbFact *row) {
            return !KnownIn(*row, Game) || row->Returns == "none";
        }))
        Warn(line, Quoted(first.Name) + " returns nothing");
}

// The engine takes exactly as many values off the script's stack as the verb has parameters;
// a call with another count leaves the stack wrong for the rest of the handler.
void TGamePass::CheckArgumentCount(const std::vector<const TVerbFact *> &rows, int given, int line)
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
    Warn(line, Quoted(rows.front()->Name) + " takes " + takes +
                   (counts.size() == 1 && counts[0] == 1 ? " argument, " : " arguments, ") +
                   std::to_string(given) + " given");
}

// The lexer keeps "<" and ">" inside a word ("x<8" is one word, "a>=b" gives "a>", "=", "b"), but
// the game reads them as operators, so each piece between them is an operand of its own. Uses the
// name pieces but the last, and gives the last.
std::string_view TGamePass::UseNamesBeforeLast(std::string_view word, int line)
{
    size_t from = 0;
    for (size_t at = 0; at < word.size(); ++at)
        // '<' and '>' are the two bytes that give '>' with bit 1 set.
        if ((word[at] | 2) == '>')
        {
            UseName(word.substr(from, at - from), line);
            from = at + 1;
        }
    return word.substr(from);
}

// A name in the code: a symbol, a verb, a message or one of the engine's variables; else a label,
// which only the end of the code can tell. Pieces that start as numbers are no names.
void TGamePass::UseName(std::string_view name, int line)
{
    if (name.empty() || (name[0] >= '0' && name[0] <= '9') || name[0] == '.')
        return;
    // The symbols are all read before the code, so a name once looked up stays what it was.
    if (Seen.find(name) != Seen.end())
        return;
    Seen.emplace(name, true);
    if (Symbols.count(name) || !FindVerb(name).empty() || IsMessageName(name) || IsGlobalName(name))
        return;
    Unknown.push_back(TUse{std::string(name), line, Spelled(line, name)});
}

void TGamePass::Finish()
{
    // The lines are gone back to here in any order.
    SpellLine = -1;
    for (const TUse &call : LabelCalls)
    {
        const auto label = Labels.find(call.Name);
        if (label == Labels.end())
            Warn(call.Line, "Label " + Quoted(Spelled(call.Line, call.Name)) + " does not exist");
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
        if (symbol == Symbols.end() || !symbol->second.Message)
            Warn(label.Line, "Message " + Quoted(Spelled(label.Line, name)) +
                                 " is not declared, so its handler never runs");
    }
    for (const auto &[name, line] : Messages)
        if (!Labels.count(name))
            Warn(line, "Message " + Quoted(Spelled(line, name)) + " has no handler");
    for (const TUse &use : Unknown)
        if (!Labels.count(use.Name))
            Warn(use.Line, Quoted(use.Spelling) + " is declared nowhere");
}

// The name as the script spells it: the first whole word outside strings, at or after the last one
// found on the same line, that equals lower in any letter case.
std::string TGamePass::Spelled(int line, std::string_view lower)
{
    std::string_view raw;
    if (lower.empty() || !Lines.Get(line, raw))
        return std::string(lower);
    if (line != SpellLine)
    {
        SpellLine = line;
        SpellFrom = 0;
    }
    const size_t n = lower.size();
    for (size_t at = SpellFrom; at + n <= raw.size(); ++at)
    {
        // A quote that starts no word starts a string, which holds no names.
        if ((raw[at] == '"' || raw[at] == '\'') && (at == 0 || !IsNameChar(raw[at - 1])))
        {
            const size_t close = raw.find(raw[at], at + 1);
            if (close == std::string_view::npos)
                break;
            at = close;
            continue;
        }
        if (LowerAscii(raw[at]) != lower[0])
            continue;
        if (at > 0 && IsNameChar(raw[at - 1]))
            continue;
        if (at + n < raw.size() && IsNameChar(raw[at + n]) && IsNameChar(lower[n - 1]))
            continue;
        size_t i = 1;
        while (i < n && LowerAscii(raw[at + i]) == lower[i])
            ++i;
        if (i == n)
        {
            SpellFrom = at + n;
            return std::string(raw.substr(at, n));
        }
    }
    return std::string(lower);
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
    CheckLines(syntax, each, each, each);
}

void TGameChecker::CheckText(TCOGChecker &syntax, std::string_view text)
{
    // The names are spelt from the lines the check has just read.
    TTextLines shared(text);
    CheckLines(syntax, TCogLines(text), TCogLines(shared), TCogLines(shared));
}

void TGameChecker::CheckSource(TCOGChecker &syntax, TTextSource &source)
{
    TTextLines shared(source);
    CheckLines(syntax, TCogLines(source), TCogLines(shared), TCogLines(shared));
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

void TGameChecker::CheckLines(TCOGChecker &syntax, TCogLines symbols, TCogLines raw, TCogLines code)
{
    Warnings.Clear();
    if (!Enabled)
    {
        syntax.CheckLines(std::move(code));
        return;
    }
    std::vector<TCOGError> found;
    TGamePass pass(std::move(symbols), std::move(raw), Game, found);
    pass.ReadSymbols();
    {
        // The sink is given back also when reading the text fails.
        struct TFollow
        {
            TCOGChecker &Syntax;
            TCogCodeSink *Before;
            ~TFollow() { Syntax.Sink = Before; }
        } follow{syntax, syntax.Sink};
        syntax.Sink = &pass;
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
