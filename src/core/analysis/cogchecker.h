#pragma once

// The COG lexer and the syntax checker built on it, with the fixed word lists of the language
// (symbol types and statement keywords).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/shell/textutils.h"

// The kind of a COG token. The codes are fixed: messages name the kind of the token found, and
// codes 12 and 13 have never had a display name of their own.
enum TCogTokenKind : uint8_t
{
    ckNone = 0,
    ckValue = 1,
    ckArray = 2,
    ckVariable = 3,
    ckFunction = 4,
    ckDelimiter = 5,
    ckEndOfLine = 6,
    ckOperator = 7,
    ckLabel = 8,
    ckKeyword = 9,
    ckEnd = 10,
    ckBrace = 11,
    ckParen = 12,
    ckSquare = 13,
};

// The name of a kind as the checker's messages show it; "Unidentified token" for codes 0, 12, 13
// and anything above 13.
std::string_view TokenKindName(TCogTokenKind kind);

// A symbol type word of the symbols section with its type code.
struct TCogTypeWord
{
    std::string_view Word;
    uint8_t Code;
};

// The symbol type words, sorted for a binary search. "float" and "flex" are the same type.
inline constexpr std::array<TCogTypeWord, 15> COGTypes = {{
    {"ai", 1},
    {"cog", 2},
    {"flex", 13},
    {"float", 13},
    {"int", 12},
    {"keyframe", 3},
    {"material", 4},
    {"message", 5},
    {"model", 6},
    {"sector", 7},
    {"sound", 8},
    {"surface", 9},
    {"template", 10},
    {"thing", 11},
    {"vector", 14},
}};

// The statement keywords, sorted. "else" begins no statement but is a keyword all the same.
inline constexpr std::array<std::string_view, 7> COGKeywords = {
    "call", "else", "for", "if", "return", "stop", "while",
};

// The type code of word in COGTypes, ignoring ASCII case; 0 when it is no type word.
uint8_t TypeCode(std::string_view word);
// Whether word is in COGKeywords, ignoring ASCII case.
bool IsCogKeyword(std::string_view word);

// Where a token stands: the 0-based index of its line and the byte columns it takes in that line
// as the script has it, Start included and End not. The reader prepares each line before it cuts
// it (see TCogReader), but only by cutting its ends, so a place counts the bytes of the original
// line. Line is -1 for no place: the end of the text, or a finding about a whole line.
struct TCogPlace
{
    int Line = -1;
    int Start = 0;
    int End = 0;

    bool operator==(const TCogPlace &) const = default;
};

// One finding of the checker: the 0-based index of the line the reader was in, the text, and the
// token it is about: the one in hand when it was recorded. That token may stand on an earlier line
// than Line (a string left open is reported from the line after it).
struct TCOGError
{
    int Line = 0;
    std::string Msg;
    TCogPlace Token;
};

// The findings of one check, in the order found.
class TCOGErrors
{
  public:
    int Count() const { return static_cast<int>(List.size()); }
    // Throws std::out_of_range "Error is out of bounds: %d" for an index outside
    // the list.
    const TCOGError &Items(int index) const;
    void Clear() { List.clear(); }
    void Add(TCOGError error) { List.push_back(std::move(error)); }

  private:
    std::vector<TCOGError> List;
};

class TCOGChecker;

// The lines of a script, given as views (of lines that outlive them) or as one text whose lines
// are found as they are asked for, so that no table of all its lines is made.
class TCogLines
{
  public:
    explicit TCogLines(std::span<const std::string_view> lines) : Views(lines) {}
    explicit TCogLines(std::string_view text) : Text(text), FromText(true) {}
    explicit TCogLines(TTextSource &source) : Text(source), FromText(true) {}
    // Lines found by lines, which outlives this and may serve other readers too: readers that
    // follow each other closely share the finding of each line.
    explicit TCogLines(TTextLines &lines) : Shared(&lines), FromText(true) {}

    // Line index in line; false when the script has fewer lines.
    bool Get(int index, std::string_view &line)
    {
        if (index < 0)
            return false;
        if (FromText)
            return (Shared ? *Shared : Text).Get(static_cast<size_t>(index), line);
        if (static_cast<size_t>(index) >= Views.size())
            return false;
        line = Views[static_cast<size_t>(index)];
        return true;
    }

  private:
    std::span<const std::string_view> Views;
    TTextLines Text{std::string_view()};
    TTextLines *Shared = nullptr;
    bool FromText = false;
};

// The pieces of a word as the game reads it: the lexer keeps "<" and ">" inside a word ("x<8" is
// one word, "a>=b" gives "a>", "=", "b"), but the game reads them as operators, so each piece
// between them is an operand of its own. Calls each(piece, place, last) for every piece of the word
// at place, the empty ones included, in order; the last piece is the one a call's "(" follows.
template <typename Each>
void ForEachWordPiece(std::string_view word, const TCogPlace &place, Each each)
{
    const auto pieceAt = [&](size_t from, size_t to) {
        return TCogPlace{place.Line, place.Start + static_cast<int>(from),
                         place.Start + static_cast<int>(to)};
    };
    size_t from = 0;
    for (size_t at = 0; at < word.size(); ++at)
        // '<' and '>' are the two bytes that give '>' with bit 1 set.
        if ((word[at] | 2) == '>')
        {
            each(word.substr(from, at - from), pieceAt(from, at), false);
            from = at + 1;
        }
    // Most words are one piece, whose place is the word's.
    if (from == 0)
        each(word, place, true);
    else
        each(word.substr(from), pieceAt(from, word.size()), true);
}

// One line of the symbols section as the checks read it: a type word, the declared name, the
// default value after an "=" and the words after them ("local", "desc=text", "linkid=1"). Words
// are views of the prepared line, so in small letters and without the comment; the places say
// where each stands in the line as written.
struct TCogDeclaration
{
    std::string_view Type;
    std::string_view Name;
    std::string_view Value;
    TCogPlace TypePlace;
    TCogPlace NamePlace;
    // Line is -1 when there is no "=".
    TCogPlace ValuePlace;
    std::span<const TCogPlace> Extensions;
};

// Follows a check through a script: told what the grammar finds in the symbols and code sections as
// the checker reads them, a second pass needs neither a lexer nor a grammar of its own. Words come
// as the lexer gives them (in small letters, with any "<" and ">" inside them), each with its place
// in the script, from which a pass takes the word as written. Only the events of a script the check
// accepts mean anything; a check that stops early may leave a call without its end.
class TCogCodeSink
{
  public:
    virtual ~TCogCodeSink() = default;
    // A line of the symbols section that names a symbol; lines with a type word alone name none.
    virtual void Symbol(const TCogDeclaration &declaration) = 0;
    // A label at the top of the code section.
    virtual void Label(std::string_view word, const TCogPlace &place) = 0;
    // A word used as an operand or assigned to: a value, a variable or an array.
    virtual void Operand(std::string_view word, TCogTokenKind kind, const TCogPlace &place) = 0;
    // A call of a function, and whether its value is used, with the places of its name and its
    // "(". The events of its arguments follow, each argument's closed by CallArgument with the
    // places of its first and last token and of the "," or ")" after it; then CallEnd with their
    // number and the place of the ")". An argument cut short by an error has the token in hand
    // for its delimiter; a call without its ")" closes at the last token before the one in hand.
    virtual void Call(std::string_view word, bool valueUsed, const TCogPlace &place,
                      const TCogPlace &open) = 0;
    virtual void CallArgument(const TCogPlace &first, const TCogPlace &last,
                              const TCogPlace &delimiter) = 0;
    virtual void CallEnd(int arguments, const TCogPlace &close) = 0;
    // The word after "call".
    virtual void CallLabel(std::string_view word, const TCogPlace &place) = 0;
};

// Reads a script, given as its lines, character by character and cuts it into tokens. Each line is
// prepared before it is read: cut at the first "#" and then at the first "//", trimmed of codes up
// to 32 and lower-cased in ASCII only (scripts are Windows-1252 bytes). The cut ignores quotes, so
// a string holding "#" or "//" is reported unterminated; the checker has always read comments this
// way. Empty prepared lines are skipped. The end of a line shows as one CR, the end of the text as
// a NUL that stays.
class TCogReader
{
  public:
    // Errors of the lexer ("Unterminated string!") go to checker's error list.
    TCogReader(const std::vector<std::string> &lines, TCOGChecker &checker);
    // The reader keeps a reference to the lines.
    TCogReader(std::vector<std::string> &&lines, TCOGChecker &checker) = delete;
    // The lines as views, into a text that outlives the reader as the views themselves do.
    TCogReader(std::span<const std::string_view> lines, TCOGChecker &checker);
    // The lines of a text that outlives the reader, found as reading reaches them.
    TCogReader(TCogLines lines, TCOGChecker &checker);

    // Loads the next non-empty prepared line into LineText; false when no line is
    // left.
    bool ReadLine();
    // ReadLine, giving the line's first word: how the sections of a script are found.
    bool NextSectionLine(std::string &firstWord);
    std::string_view LineText() const { return Text.View(); }
    // How many bytes preparing cut from the front of the current line: index i of LineText is
    // column LineTrim() + i of the line as written.
    int LineTrim() const { return Text.Trim; }
    // The 0-based index of the line the reader is in; every error is recorded with it.
    int CurLine() const { return NextLine > 0 ? NextLine - 1 : 0; }
    // The next character: CR when the current line is used up and a further line
    // was loaded, NUL (again and again) at the end of the text.
    char NextChar();
    // The next character of the current line, or CR at its end; never crosses a line.
    char PeekChar() const { return Pos < Text.Size ? Text.Bytes[Pos] : '\r'; }
    void SavePos(int &line, int &pos) const;
    void RestorePos(int line, int pos);
    // Empties the current line, so that reading goes on with the line after the one read last; the
    // code section starts this way after its "code" line.
    void SkipRestOfLine();

    // The next token; its text is a view that holds until the next token is read.
    void GetToken(std::string_view &text, TCogTokenKind &kind);
    // Where the token in hand stands, given its text as GetToken gave it; found from where that
    // text lies, so reading costs nothing more. It holds after a return to the place before the
    // token. No place for the end of the text; a string left open ends with its line.
    TCogPlace PlaceOf(std::string_view token) const
    {
        int start = 0;
        if (token.empty())
            return {};
        if (Holds(Text, token, start))
            return TCogPlace{Text.Index, start, start + static_cast<int>(token.size())};
        if (Holds(Spare, token, start))
            return TCogPlace{Spare.Index, start, start + static_cast<int>(token.size())};
        return token.data() == OpenString.data() ? OpenPlace : TCogPlace();
    }

  private:
    // A prepared line: its bytes and a NUL after them, which ends every scan of the line, in a
    // buffer that only grows, so that preparing a line writes no more bytes than the line has.
    // The buffer keeps room for 15 bytes after the NUL, which scans may read but never use.
    struct TPreparedLine
    {
        std::vector<char> Bytes = std::vector<char>(16, '\0');
        size_t Size = 0;
        // The index of the line in the script; -1 when it is none.
        int Index = -1;
        // How many bytes preparing cut from the line's front.
        int Trim = 0;

        std::string_view View() const { return {Bytes.data(), Size}; }
    };

    // ReadLine but for the position, which may then lie past the end of the line.
    bool LoadLine();
    // Prepares line into text, which is then the prepared line of no index.
    static void PrepareLine(std::string_view line, TPreparedLine &text);
    void RememberSkip(int from, int to);
    // Whether token lies in the prepared line text; the column it starts at when it does. The
    // addresses are compared as numbers: the token may lie in another buffer.
    static bool Holds(const TPreparedLine &text, std::string_view token, int &start)
    {
        const auto base = reinterpret_cast<uintptr_t>(text.Bytes.data());
        const auto at = reinterpret_cast<uintptr_t>(token.data());
        if (text.Index < 0 || at < base || at + token.size() > base + text.Size)
            return false;
        start = text.Trim + static_cast<int>(at - base);
        return true;
    }
    // GetToken when the current line has no token left.
    void GetTokenOfNextLine(std::string_view &text, TCogTokenKind &kind);
    void ReadString(size_t start, std::string_view &text);
    void ReadWord(size_t start, std::string_view &text, TCogTokenKind &kind);

    // Views of the lines given as strings; empty when views or a text were given.
    std::vector<std::string_view> LineViews;
    TCogLines Lines;
    TCOGChecker &Checker;
    int NextLine = 0;
    // The current prepared line; its buffer is reused from line to line.
    TPreparedLine Text;
    // The prepared line read before the current one, kept for a return to it.
    TPreparedLine Spare;
    // The text of the last string that was left open, with the quote that closes it.
    std::string OpenString;
    // Index in Text of the next character to read; never past the end of the line.
    size_t Pos = 0;
    // The lines from SkipFrom up to SkipTo (excluded) are known to be empty once prepared.
    int SkipFrom = -1;
    int SkipTo = -1;
    // Where the last string left open stands.
    TCogPlace OpenPlace;
};

// Checks the syntax of COG scripts: finds the "symbols" and "code" sections and runs a
// recursive-descent recogniser over the code, recording every error it meets and going on from the
// token in hand. Only the section errors (and a nesting too deep to follow) stop it.
class TCOGChecker
{
  public:
    // Nesting of blocks, statement bodies and bracketed expressions beyond this depth stops the
    // check with "Nesting too deep": the recogniser is recursive, and hostile input must not run
    // it out of stack. Real scripts stay far below it.
    static constexpr int MaxNesting = 256;

    TCOGErrors Errors;
    // When set, each check tells it what the grammar finds in the script.
    TCogCodeSink *Sink = nullptr;

    // Replaces Errors with the findings for the script's lines.
    void Check(const std::vector<std::string> &lines);
    // The same for lines held as views.
    void CheckLines(std::span<const std::string_view> lines);
    // Check of a whole text, split at CR LF, LF or a lone CR into views of it as reading reaches
    // them: no line is copied and no table of the lines is made.
    void CheckText(std::string_view text);
    // The same for a text that comes in as the check reads it.
    void CheckSource(TTextSource &source);
    // Any of the above; every other entry point comes here.
    void CheckLines(TCogLines lines);

    void AddError(std::string msg, int line, const TCogPlace &token = {});
    // Records fmt with its one "%s" replaced by arg.
    void AddErrorFmt(std::string_view fmt, std::string_view arg, int line,
                     const TCogPlace &token = {});

    // The word of s that starts at the 1-based position start, after blanks (space, TAB); returns
    // the position just after it. An empty s gives an empty word and 1.
    static int ExtractWord(std::string_view s, int start, std::string &word);
};
