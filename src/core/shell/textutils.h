#pragma once

// Text utilities that cut a line into words or fields; each returns what it cut, or fills the
// caller's table. Only the space separates words; a tab does so only after TabsToSpaces.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The word table of a line: words past the 100th are dropped.
constexpr int MaxWords = 100;
using TWords = std::array<std::string, MaxWords>;

// A byte of a name as scripts write them: an ASCII letter, digit or "_".
inline bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A blank between the words of a line: a space or a tab.
inline bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A word of name bytes only, not empty.
inline bool IsPlainName(std::string_view word)
{
    return !word.empty() && std::all_of(word.begin(), word.end(), IsNameChar);
}

// Letter case in ASCII only, whatever the locale: scripts and member names are Windows-1252
// bytes, paths UTF-8, and the game compares names this way.
inline char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}
std::string LowerAscii(std::string_view text);
bool SameNoCase(std::string_view a, std::string_view b);

// Hashes names given as any kind of string, so that a lookup by a piece of a token copies
// nothing. FNV-1a over the bytes: names are short, and a call of the library's hash costs more
// than hashing them here.
struct TNameHash
{
    using is_transparent = void;
    size_t operator()(std::string_view name) const
    {
        uint64_t hash = 0xcbf29ce484222325ULL;
        for (const char c : name)
            hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
        return static_cast<size_t>(hash);
    }
};
template <typename Value>
using TNameMap = std::unordered_map<std::string, Value, TNameHash, std::equal_to<>>;

// A copy of s with every tab replaced by one space.
std::string TabsToSpaces(std::string_view s);
void ClearWords(TWords &words);
// Appends the words of s to words without clearing it first. A leading space advances the
// word index, so the first word of an indented line lands in words[1]. Characters of words
// past words[99] are dropped.
void SplitWords(std::string_view s, TWords &words);
// TabsToSpaces, ClearWords and SplitWords in one; returns the converted line.
std::string SplitLine(std::string_view s, TWords &words);
// The words of a line as SplitLine gives them: words[0] is empty for an indented line.
TWords LineWords(std::string_view s);
// The words SplitLine would give, with no bound on their number: the list ends with the last
// non-empty word, and an indented line starts with an empty word.
std::vector<std::string> SplitLineWords(std::string_view s);
// "name=value" cut at the first "=" after the first character; nothing is trimmed.
struct TNameValue
{
    std::string Name;
    std::string Value;
};
TNameValue SplitNameValue(std::string_view s);
// "first@second@rest" cut into its three fields; "&" stands for a blank in the first two.
struct TFields
{
    std::string Name;
    std::string Value;
    std::string Rest;
};
TFields SplitAtFields(std::string_view s);

// The lines of a text: split at CR LF, LF or a lone CR; a final line break does not start an
// extra empty line. Bytes pass unchanged.
std::vector<std::string> SplitTextLines(std::string_view text);
// The same lines as views into text, which must outlive them.
std::vector<std::string_view> SplitTextLineViews(std::string_view text);
// The index of the first CR or LF of text at or after from; text.size() when there is none.
size_t FindLineEnd(std::string_view text, size_t from);

// A text read a piece at a time, from any place in it.
class TTextSource
{
  public:
    virtual ~TTextSource() = default;
    // Copies up to count bytes of the text from offset at into to and returns how many it copied:
    // 0 only at or past the end of the text.
    virtual size_t ReadAt(size_t at, char *to, size_t count) = 0;
};

// The lines of a text as SplitTextLines gives them, found when asked for: no table of all the
// lines is made. Reading them in order scans each line once; going back starts from the line
// asked for before, or from a remembered start of every 64th line. A text from a source is read
// through a window that moves on with the lines asked for (and grows to hold a longer line), so
// that its bytes are still in the processor's cache when they are read, however long the text.
class TTextLines
{
  public:
    explicit TTextLines(std::string_view text) : Text(text.data()), End(text.size()), Ended(true) {}
    // A window of up to window bytes: it starts small and grows with each read to that size, so
    // that a short text takes little memory and a long one is read in large pieces.
    explicit TTextLines(TTextSource &source, size_t window = size_t{1} << 18)
        : Source(&source), Preferred(window > 0 ? window : 1),
          Window(std::min(Preferred, size_t{4096}))
    {}
    // Line index of the text in line; false when the text has fewer lines. The line is a view of
    // the text, or of the window, which holds it until the next call.
    bool Get(size_t index, std::string_view &line)
    {
        // Lines read in order within what the window holds, the common case, need no seeking
        // and no reading: the line after the one given last, whose end and the byte after it
        // (which tells a CR LF from a lone CR) are in the window, as is the start of the line
        // after it.
        if (index == CursorLine && CursorAt >= Base && CursorAt < End)
        {
            const size_t start = CursorAt;
            const size_t end =
                Base + FindLineEnd(std::string_view(Data(), End - Base), start - Base);
            if (end + 1 < End)
            {
                const size_t next = end + (At(end) == '\r' && At(end + 1) == '\n' ? 2 : 1);
                if (next < End)
                {
                    LastLine = index;
                    LastNext = next;
                    Recent[index % Recent.size()] = {index, start};
                    CursorLine = index + 1;
                    CursorAt = next;
                    if (CursorLine % MarkEvery == 0)
                        Mark(next);
                    line = std::string_view(Data() + (start - Base), end - start);
                    return true;
                }
            }
        }
        return GetAfterSeek(index, line);
    }

  private:
    static constexpr size_t MarkEvery = 64;
    // Get for any other line: moves the cursor onto it, reading the source as needed.
    bool GetAfterSeek(size_t index, std::string_view &line);
    // Moves the cursor onto the line index; false when the text ends before it.
    bool Seek(size_t index);
    // Notes that the line at the cursor, a multiple of MarkEvery, starts at at.
    void Mark(size_t at)
    {
        if (CursorLine / MarkEvery == Marks.size())
            Marks.push_back(at);
    }
    // Moves the cursor past the line it is at, which ends at end.
    void Step(size_t end);
    // Whether the text reaches beyond at, reading the source when needed; the window keeps the
    // text from keep (at or before at) on.
    bool Has(size_t keep, size_t at);
    // The end of the line that starts at from.
    size_t LineEnd(size_t from);
    // The bytes of the window.
    const char *Data() const { return Source ? Window.data() : Text; }
    char At(size_t at) const { return Data()[at - Base]; }

    // The window holds the bytes of the text from Base up to End; Ended when End is the end of
    // the text. A whole text given at once is its own window.
    const char *Text = nullptr;
    size_t Base = 0;
    size_t End = 0;
    bool Ended = false;
    TTextSource *Source = nullptr;
    size_t Preferred = 0;
    std::vector<char> Window;
    // The line the cursor is at and where it starts.
    size_t CursorLine = 0;
    size_t CursorAt = 0;
    // The line given last and where the line after it starts.
    size_t LastLine = SIZE_MAX;
    size_t LastNext = 0;
    // Where the lines given lately start, each in the place of its index modulo their number: a
    // reader that looks back a few lines finds them at once.
    struct TLineStart
    {
        size_t Line = SIZE_MAX;
        size_t At = 0;
    };
    std::array<TLineStart, 8> Recent{};
    // Marks[k] is where line k * MarkEvery starts, for every such line reached.
    std::vector<size_t> Marks = {0};
};

// The lines joined with CR LF, as scripts are saved.
std::string JoinTextLines(const std::vector<std::string> &lines);

// ---- UTF-8 ----

// Appends code point c to out as UTF-8.
void AppendUtf8(std::string &out, char32_t c);
// The UTF-16 code units of a UTF-8 text; a byte that starts no valid sequence gives U+FFFD.
std::u16string Utf16FromUtf8(std::string_view utf8);
// UTF-8 of UTF-16 code units; a lone surrogate gives U+FFFD.
std::string Utf8FromUtf16(std::u16string_view units);
