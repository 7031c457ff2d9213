#include "core/analysis/cogchecker.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "core/shell/textutils.h"

namespace {
// Compares in ASCII lower case, byte by byte; other bytes compare by value.
int CompareNoCase(std::string_view a, std::string_view b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i)
    {
        const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
        const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Binary search in a list sorted by its lower-cased words; returns the index or -1.
template <typename List, typename WordOf>
int FindNoCase(const List &list, std::string_view word, WordOf wordOf)
{
    int low = 0;
    int high = static_cast<int>(list.size()) - 1;
    while (low <= high)
    {
        const int mid = (low + high) / 2;
        const int order = CompareNoCase(wordOf(list[mid]), word);
        if (order == 0)
            return mid;
        if (order < 0)
            low = mid + 1;
        else
            high = mid - 1;
    }
    return -1;
}

template <typename List, typename WordOf> constexpr bool IsSorted(const List &list, WordOf wordOf)
{
    for (size_t i = 1; i < list.size(); ++i)
        if (!(wordOf(list[i - 1]) < wordOf(list[i])))
            return false;
    return true;
}
static_assert(IsSorted(COGTypes, [](const TCogTypeWord &entry) { return entry.Word; }));
static_assert(IsSorted(COGKeywords, [](std::string_view entry) { return entry; }));

constexpr size_t LongestKeyword = 6;
constexpr size_t LongestTypeWord = 8;

// What a character is to a word. A colon ends the word as a label. '<', '>', '.', the single quote
// and the rest of the ASCII punctuation continue a word, so 'a<b' and 'x.y' are single words; the
// checker has always read them this way.
enum TWordChar : uint8_t
{
    wcWord,
    wcEnd,
    wcColon,
};
constexpr std::array<TWordChar, 256> MakeWordChars()
{
    std::array<TWordChar, 256> chars{};
    const char stops[] = {'\0', '\t', '\r', ' ', '!', '"', '%', '&', '(', ')', '*',
                          '+',  ',',  '-',  '/', ';', '=', '[', ']', '{', '|', '}'};
    for (char c : stops)
        chars[static_cast<unsigned char>(c)] = wcEnd;
    chars[':'] = wcColon;
    return chars;
}
constexpr std::array<TWordChar, 256> WordChars = MakeWordChars();

constexpr size_t Byte(char c)
{
    return static_cast<unsigned char>(c);
}

// The words the lexer gives a kind of their own: the statement keywords and "end". None is longer
// than seven bytes, and no two share their length and first letter.
constexpr std::array<std::string_view, 8> LexerKeywords = {
    "call", "else", "end", "for", "if", "return", "stop", "while",
};

// What the first character of a token makes of it. Every byte that is not a blank, a quote, the
// NUL or one of the marks below starts a word, control characters and bytes above 127 included.
enum TStartClass : uint8_t
{
    scWord,
    scBlank,
    scString,
    // A token of one character, or of two when Second follows ("<=", "&&").
    scMark,
    // A NUL inside a line reads as the end of the text.
    scEnd,
};
// The second character of a mark that has none: a "#", which a prepared line never holds, so that
// one comparison with the byte after the mark tells a mark of two characters.
constexpr char NoSecond = '#';
// Four bytes, so that an entry is read at once and indexed without a multiplication.
struct alignas(4) TTokenStart
{
    TStartClass Class = scWord;
    // The kind of a mark; for a word ckValue when it is a number, else ckVariable.
    TCogTokenKind Kind = ckVariable;
    char Second = NoSecond;
    // For a letter a keyword or "end" starts with, its number among those letters (from 1).
    uint8_t KeywordLetter = 0;
};
constexpr std::array<TTokenStart, 256> MakeTokenStarts()
{
    std::array<TTokenStart, 256> starts{};
    const auto set = [&](std::initializer_list<char> chars, TTokenStart start) {
        for (char c : chars)
            starts[static_cast<unsigned char>(c)] = start;
    };
    // A CR inside a line is passed over as a blank.
    set({' ', '\t', '\r'}, {scBlank, ckNone, NoSecond, 0});
    set({'\0'}, {scEnd, ckEnd, NoSecond, 0});
    set({'"', '\''}, {scString, ckValue, NoSecond, 0});
    set({'%', '*', '+', '-', '/'}, {scMark, ckOperator, NoSecond, 0});
    set({'!', '<', '=', '>'}, {scMark, ckOperator, '=', 0});
    set({'&'}, {scMark, ckOperator, '&', 0});
    set({'|'}, {scMark, ckOperator, '|', 0});
    set({',', ';'}, {scMark, ckDelimiter, NoSecond, 0});
    set({'{', '}'}, {scMark, ckBrace, NoSecond, 0});
    set({'(', ')'}, {scMark, ckParen, NoSecond, 0});
    set({'[', ']'}, {scMark, ckSquare, NoSecond, 0});
    // Numbers are not validated beyond their first character: "0x1f", "12abc" and "." are values
    // alike.
    set({'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '.'}, {scWord, ckValue, NoSecond, 0});
    uint8_t letters = 0;
    for (const std::string_view word : LexerKeywords)
        if (TTokenStart &first = starts[static_cast<unsigned char>(word[0])]; !first.KeywordLetter)
            first.KeywordLetter = ++letters;
    return starts;
}
constexpr std::array<TTokenStart, 256> TokenStarts = MakeTokenStarts();

// The word a keyword slot holds, packed as eight bytes read from memory on a little-endian
// machine give it, with the mask that keeps its bytes; an empty slot matches no word.
struct TKeywordSlot
{
    uint64_t Word = 1;
    uint64_t Mask = 0;
    TCogTokenKind Kind = ckNone;
};
// No two words of LexerKeywords share their length and first letter, so those two pick the one
// keyword a word can be: the slot of a word of length n (up to 7) whose first letter has the
// number k is n * 8 + k.
constexpr std::array<TKeywordSlot, 64> MakeKeywordSlots()
{
    std::array<TKeywordSlot, 64> slots{};
    for (const std::string_view word : LexerKeywords)
    {
        TKeywordSlot &slot = slots[word.size() * 8 + TokenStarts[Byte(word[0])].KeywordLetter];
        slot.Word = 0;
        for (size_t i = 0; i < word.size(); ++i)
            slot.Word |= static_cast<uint64_t>(Byte(word[i])) << (8 * i);
        slot.Mask = (uint64_t{1} << (8 * word.size())) - 1;
        slot.Kind = word == "end" ? ckEnd : ckKeyword;
    }
    return slots;
}
constexpr std::array<TKeywordSlot, 64> KeywordSlots = MakeKeywordSlots();

// Lines are prepared and words scanned eight bytes at a time, each byte a lane of a 64-bit word.
// The arithmetic keeps every lane below 256, so no carry crosses into the next lane.
constexpr uint64_t Lanes(char c)
{
    return 0x0101010101010101ULL * static_cast<unsigned char>(c);
}
constexpr uint64_t HighBits = Lanes('\x80');
constexpr uint64_t LowBits = Lanes('\x7f');

// The high bit of every lane of x that is 0, and of no other lane.
constexpr uint64_t ZeroLanes(uint64_t x)
{
    return ~(((x & LowBits) + LowBits) | x | LowBits);
}

// x with 'A' to 'Z' in small letters: (x & 0x7F) + (0x80 - 'A') has the high bit from 'A' on,
// (x & 0x7F) + (0x80 - 'Z' - 1) from past 'Z' on; lanes from 128 on are left alone. The high bit
// moved down by two is the case bit 0x20.
constexpr uint64_t LowerLanes(uint64_t x)
{
    const uint64_t low = x & LowBits;
    const uint64_t fromA = low + Lanes(static_cast<char>(0x80 - 'A'));
    const uint64_t pastZ = low + Lanes(static_cast<char>(0x80 - 'Z' - 1));
    return x | ((fromA & ~pastZ & ~x & HighBits) >> 2);
}

// The high bit of every lane that starts a comment: a "#", or a "/" before another "/". The lanes
// are in the order of the bytes in memory only on a little-endian machine, where the next byte's
// lane is the next higher one; slashNext tells whether the byte after the eight is a "/".
constexpr uint64_t CommentLanes(uint64_t x, bool slashNext)
{
    const uint64_t slashes = ZeroLanes(x ^ Lanes('/'));
    const uint64_t beforeSlash = (slashes >> 8) | (slashNext ? uint64_t{1} << 63 : 0);
    return ZeroLanes(x ^ Lanes('#')) | (slashes & beforeSlash);
}
static_assert(LowerLanes(0x5B5A41403F7F80C1ULL) == 0x5B7A61403F7F80C1ULL);
static_assert(CommentLanes(0x2F2F2E2F23002F00ULL, false) == 0x0080000080000000ULL);
static_assert(CommentLanes(0x2F00000000000000ULL, true) == 0x8000000000000000ULL);

// Whether any lane of x is 0. Unlike ZeroLanes it may mark lanes above a lane that is 0, as the
// borrow runs on, but as a yes or no it is exact, and quicker.
constexpr uint64_t AnyZeroLane(uint64_t x)
{
    return (x - Lanes('\x01')) & ~x & HighBits;
}

// Copies the n bytes at in to out in small letters, up to the first "#" or "//", and returns
// how many it copied. It writes whole words of eight bytes: out must have room for 7 bytes
// beyond n.
size_t CopyToComment(const char *in, size_t n, char *out)
{
    if constexpr (std::endian::native == std::endian::little)
    {
        // Most words hold neither "#" nor "/": a quick test passes them, and only the others are
        // looked at lane by lane.
        const auto mayCut = [](uint64_t bytes) {
            return (AnyZeroLane(bytes ^ Lanes('#')) | AnyZeroLane(bytes ^ Lanes('/'))) != 0;
        };
        size_t i = 0;
        for (; i + 8 <= n; i += 8)
        {
            uint64_t bytes;
            std::memcpy(&bytes, in + i, 8);
            const uint64_t lower = LowerLanes(bytes);
            std::memcpy(out + i, &lower, 8);
            if (mayCut(bytes))
                if (const uint64_t stops = CommentLanes(bytes, i + 8 < n && in[i + 8] == '/'))
                    return i + static_cast<size_t>(std::countr_zero(stops)) / 8;
        }
        if (i == n)
            return n;
        // The last bytes in the low lanes, NULs above them: a NUL starts no comment. A line of
        // eight bytes or more gives them with its last word, shifted down; a shorter one byte by
        // byte.
        uint64_t bytes = 0;
        if (n >= 8)
        {
            std::memcpy(&bytes, in + n - 8, 8);
            bytes >>= 8 * (i + 8 - n);
        }
        else
            for (size_t k = 0; k < n; ++k)
                bytes |= static_cast<uint64_t>(Byte(in[k])) << (8 * k);
        const uint64_t lower = LowerLanes(bytes);
        std::memcpy(out + i, &lower, 8);
        const uint64_t stops = mayCut(bytes) ? CommentLanes(bytes, false) : 0;
        return stops ? i + static_cast<size_t>(std::countr_zero(stops)) / 8 : n;
    }
    else
    {
        for (size_t i = 0; i < n; ++i)
        {
            if (in[i] == '#' || (in[i] == '/' && i + 1 < n && in[i + 1] == '/'))
                return i;
            out[i] = LowerAscii(in[i]);
        }
        return n;
    }
}

// The lanes of x that surely hold word characters: small letters and digits, and the bytes from
// 128 on whose low seven bits are such, as every byte from 128 on is a word character. The high
// bit of (x & 0x7F) + (0x80 - lo) is set from lo on, that of (x & 0x7F) + (0x7F - hi) from past
// hi on.
constexpr uint64_t SureWordLanes(uint64_t x)
{
    const uint64_t low = x & LowBits;
    const uint64_t letter = (low + Lanes(static_cast<char>(0x80 - 'a'))) &
                            ~(low + Lanes(static_cast<char>(0x7f - 'z')));
    const uint64_t digit = (low + Lanes(static_cast<char>(0x80 - '0'))) &
                           ~(low + Lanes(static_cast<char>(0x7f - '9')));
    return (letter | digit) & HighBits;
}
static_assert(SureWordLanes(0x7B7A61602F30393AULL) == 0x0080800000808000ULL);
static_assert(SureWordLanes(0xE1C1B0A0ULL) == 0x80008000ULL);

// The end of a word whose bytes go on at at: the first byte there that ends a word. Most words are
// small letters and digits, which are passed eight at a time, so that a word's end costs no
// mispredicted branch per byte; any other byte is looked up. The NUL after the line ends every
// word; the bytes read past it lie in the room a prepared line's buffer keeps for them.
size_t WordEnd(const char *s, size_t at)
{
    if constexpr (std::endian::native == std::endian::little)
    {
        for (;;)
        {
            uint64_t bytes;
            std::memcpy(&bytes, s + at, 8);
            const uint64_t others = SureWordLanes(bytes) ^ HighBits;
            if (others == 0)
            {
                at += 8;
                continue;
            }
            at += static_cast<size_t>(std::countr_zero(others)) / 8;
            if (WordChars[Byte(s[at])] != wcWord)
                return at;
            ++at;
        }
    }
    else
    {
        while (WordChars[Byte(s[at])] == wcWord)
            ++at;
        return at;
    }
}

// The kind of a word that is no number and no keyword, by the byte after it and its blanks.
constexpr std::array<TCogTokenKind, 256> MakeAfterWord()
{
    std::array<TCogTokenKind, 256> kinds{};
    kinds.fill(ckVariable);
    kinds['('] = ckFunction;
    kinds['['] = ckArray;
    return kinds;
}
constexpr std::array<TCogTokenKind, 256> AfterWord = MakeAfterWord();

// ckKeyword for a statement keyword, ckEnd for "end", ckNone for any other word; the word is in
// small letters, as the reader gives every word.
constexpr TCogTokenKind KeywordKind(std::string_view word)
{
    switch (word.size())
    {
    case 2:
        return word == "if" ? ckKeyword : ckNone;
    case 3:
        return word == "for" ? ckKeyword : (word == "end" ? ckEnd : ckNone);
    case 4:
        return word == "call" || word == "else" || word == "stop" ? ckKeyword : ckNone;
    case 5:
        return word == "while" ? ckKeyword : ckNone;
    case 6:
        return word == "return" ? ckKeyword : ckNone;
    default:
        return ckNone;
    }
}
static_assert(std::all_of(COGKeywords.begin(), COGKeywords.end(),
                          [](std::string_view word) { return KeywordKind(word) == ckKeyword; }));
static_assert(std::all_of(LexerKeywords.begin(), LexerKeywords.end(), [](std::string_view word) {
    return word.size() <= 7 &&
           KeywordSlots[word.size() * 8 + TokenStarts[Byte(word[0])].KeywordLetter].Kind ==
               KeywordKind(word);
}));
} // namespace

std::string_view TokenKindName(TCogTokenKind kind)
{
    switch (kind)
    {
    case ckValue:
        return "Value";
    case ckArray:
        return "Array";
    case ckVariable:
        return "Variable";
    case ckFunction:
        return "Function";
    case ckDelimiter:
        return "Delimiter";
    case ckEndOfLine:
        return "End of line";
    case ckOperator:
        return "Operator";
    case ckLabel:
        return "Label";
    case ckKeyword:
        return "Keyword";
    case ckEnd:
        return "End label";
    case ckBrace:
        return "Bracket";
    default:
        return "Unidentified token";
    }
}

uint8_t TypeCode(std::string_view word)
{
    if (word.size() > LongestTypeWord)
        return 0;
    const int index =
        FindNoCase(COGTypes, word, [](const TCogTypeWord &entry) { return entry.Word; });
    return index < 0 ? 0 : COGTypes[index].Code;
}

bool IsCogKeyword(std::string_view word)
{
    if (word.size() < 2 || word.size() > LongestKeyword)
        return false;
    return FindNoCase(COGKeywords, word, [](std::string_view entry) { return entry; }) >= 0;
}

const TCOGError &TCOGErrors::Items(int index) const
{
    if (index < 0 || index >= Count())
    {
        char msg[64];
        std::snprintf(msg, sizeof msg, "Error is out of bounds: %d", index);
        throw std::out_of_range(msg);
    }
    return List[static_cast<size_t>(index)];
}

// ---------------------------------------------------------------------------------------
// Lexer

TCogReader::TCogReader(const std::vector<std::string> &lines, TCOGChecker &checker)
    : LineViews(lines.begin(), lines.end()), Lines(std::span<const std::string_view>(LineViews)),
      Checker(checker)
{}

TCogReader::TCogReader(std::span<const std::string_view> lines, TCOGChecker &checker)
    : Lines(lines), Checker(checker)
{}

TCogReader::TCogReader(TCogLines lines, TCOGChecker &checker)
    : Lines(std::move(lines)), Checker(checker)
{}

bool TCogReader::NextSectionLine(std::string &firstWord)
{
    if (!ReadLine())
        return false;
    TCOGChecker::ExtractWord(Text.View(), 1, firstWord);
    return true;
}

bool TCogReader::ReadLine()
{
    const bool read = LoadLine();
    // A position past the end of a line reads as its end; keeping it there spares the reading of
    // every token a test.
    Pos = std::min(Pos, Text.Size);
    return read;
}

bool TCogReader::LoadLine()
{
    const int start = NextLine;
    // A look-ahead that is taken back reads the same run of blank and comment lines again; the
    // last run found is remembered, so that nested statements ending before a long run do not
    // read it once each.
    if (start == SkipFrom)
        NextLine = SkipTo;
    bool spareFree = false;
    std::string_view line;
    for (;;)
    {
        // A look-ahead that crosses into the next line and is taken back moves between two
        // lines; the line left behind is kept prepared, so neither move prepares a line again
        // (with statements nested in one long line, each level would otherwise do it once).
        if (NextLine == Spare.Index)
        {
            std::swap(Text, Spare);
            ++NextLine;
            RememberSkip(start, NextLine - 1);
            return true;
        }
        if (!Lines.Get(NextLine, line))
            break;
        if (!spareFree)
        {
            std::swap(Text, Spare);
            spareFree = true;
        }
        PrepareLine(line, Text);
        ++NextLine;
        if (Text.Size != 0)
        {
            Text.Index = NextLine - 1;
            RememberSkip(start, NextLine - 1);
            return true;
        }
    }
    // The loop ends on the line after the last one.
    RememberSkip(start, NextLine);
    return false;
}

// Cuts line at its first "#" or "//", whichever comes first, trims codes up to 32 from both ends
// and lower-cases it in ASCII, into text; one pass over the line, eight bytes at a time.
void TCogReader::PrepareLine(std::string_view line, TPreparedLine &text)
{
    const char *const in = line.data();
    const size_t n = line.size();
    size_t start = 0;
    while (start < n && Byte(in[start]) <= 32)
        ++start;
    // Room for the NUL and for the whole word written past the cut.
    if (text.Bytes.size() < n - start + 16)
        text.Bytes.resize(n - start + 16);
    char *const out = text.Bytes.data();
    size_t length = CopyToComment(in + start, n - start, out);
    while (length > 0 && Byte(out[length - 1]) <= 32)
        --length;
    out[length] = '\0';
    text.Size = length;
    text.Index = -1;
    text.Trim = static_cast<int>(start);
}

void TCogReader::RememberSkip(int from, int to)
{
    if (to > from)
    {
        SkipFrom = from;
        SkipTo = to;
    }
}

char TCogReader::NextChar()
{
    if (Pos < Text.Size)
        return Text.Bytes[Pos++];
    // Pos stays at the end of the line when no line is left, so the NUL repeats.
    if (!ReadLine())
        return '\0';
    Pos = 0;
    return '\r';
}

void TCogReader::SavePos(int &line, int &pos) const
{
    line = NextLine;
    pos = static_cast<int>(Pos);
}

void TCogReader::RestorePos(int line, int pos)
{
    if (line != NextLine)
    {
        // The remembered line was loaded and non-empty, so reading from it again loads it.
        NextLine = line > 0 ? line - 1 : 0;
        ReadLine();
    }
    Pos = std::min(pos < 0 ? size_t{0} : static_cast<size_t>(pos), Text.Size);
}

void TCogReader::SkipRestOfLine()
{
    Text.Size = 0;
    Text.Bytes[0] = '\0';
    Text.Index = -1;
    Pos = 0;
}

// The work for every token. A line end, which comes once a line, and a string go to routines of
// their own, called last, so that the common path stays short.
void TCogReader::GetToken(std::string_view &text, TCogTokenKind &kind)
{
    // Blanks; the NUL after the line ends every scan of it.
    const char *const s = Text.Bytes.data();
    size_t at = Pos;
    while (TokenStarts[Byte(s[at])].Class == scBlank)
        ++at;
    if (at >= Text.Size)
    {
        GetTokenOfNextLine(text, kind);
        return;
    }
    // The token's text is a view of the line.
    const TTokenStart start = TokenStarts[Byte(s[at])];
    // Words first, then marks: one test parts the two kinds of token nearly all are.
    if (start.Class == scWord) [[likely]]
    {
        ReadWord(at, text, kind);
        return;
    }
    if (start.Class == scMark) [[likely]]
    {
        const size_t length = s[at + 1] == start.Second ? 2 : 1;
        text = std::string_view(s + at, length);
        kind = start.Kind;
        Pos = at + length;
        return;
    }
    if (start.Class == scString)
    {
        kind = ckValue;
        ReadString(at, text);
        return;
    }
    text = {};
    kind = ckEnd;
    Pos = at + 1;
}

// A prepared line is never empty and starts with a token, as preparing trims the blanks.
[[gnu::noinline]] void TCogReader::GetTokenOfNextLine(std::string_view &text, TCogTokenKind &kind)
{
    // Pos stays at the end of the line when no line is left.
    if (!ReadLine())
    {
        text = {};
        kind = ckEnd;
        return;
    }
    Pos = 0;
    GetToken(text, kind);
}

// A string has no escapes and ends at its own quote character; the other quote is an ordinary
// character inside it. An open string is closed at the line end with its own quote and reported.
// The report carries the line the reader is in by then, which is the next non-empty line (or the
// last line of the script), since the line end shows only after the next line is loaded.
[[gnu::noinline]] void TCogReader::ReadString(size_t start, std::string_view &text)
{
    const char *const s = Text.Bytes.data();
    const char quote = s[start];
    size_t j = start + 1;
    // A CR or NUL inside the line ends the string as the line end does, and so does the NUL
    // after the line.
    while (s[j] != quote && s[j] != '\r' && s[j] != '\0')
        ++j;
    if (s[j] == quote)
    {
        Pos = j + 1;
        text = std::string_view(s + start, Pos - start);
        return;
    }
    // The closing quote is added to a copy, which also outlives the line; the place ends where the
    // string was cut, before the next line moves the reader on.
    OpenString.assign(s + start, j - start);
    OpenString.push_back(quote);
    text = OpenString;
    OpenPlace =
        TCogPlace{Text.Index, Text.Trim + static_cast<int>(start), Text.Trim + static_cast<int>(j)};
    Pos = j;
    if (j < Text.Size)
        ++Pos; // the CR or NUL
    else
        NextChar(); // the line end: loads the next line or finds the end of the text
    Checker.AddError("Unterminated string!", CurLine(), OpenPlace);
}

// Kept out of GetToken, so that a mark, the other common token, does not pay for the registers
// the scan of a word takes.
[[gnu::noinline]] void TCogReader::ReadWord(size_t start, std::string_view &text,
                                            TCogTokenKind &kind)
{
    const char *const s = Text.Bytes.data();
    size_t j = WordEnd(s, start + 1);
    text = std::string_view(s + start, j - start);
    if (s[j] == ':')
    {
        Pos = j + 1;
        kind = ckLabel;
        return;
    }
    while (IsBlank(s[j]))
        ++j;
    Pos = j;

    // Only the rest of the current line decides between function, array and variable: the NUL
    // after it is neither "(" nor "[". Looked up rather than tested, as no pattern tells which
    // of them a word is.
    const TTokenStart first = TokenStarts[Byte(s[start])];
    kind = first.Kind == ckValue ? ckValue : AfterWord[Byte(s[j])];
    // Keywords are found by their slot and one comparison, with no branch on the way that could be
    // guessed wrong; a word reads as eight bytes, whatever follows it in the buffer's room.
    if constexpr (std::endian::native == std::endian::little)
    {
        const TKeywordSlot &slot =
            KeywordSlots[std::min<size_t>(text.size(), 7) * 8 + first.KeywordLetter];
        uint64_t bytes;
        std::memcpy(&bytes, s + start, 8);
        kind = (bytes & slot.Mask) == slot.Word ? slot.Kind : kind;
    }
    else if (const TCogTokenKind keyword = KeywordKind(text); keyword != ckNone)
        kind = keyword;
}

// ---------------------------------------------------------------------------------------
// Checker

namespace {
// Thrown to end a check at once; caught by Check.
struct TStopCheck
{};

// SymbolLine: type-word name ["=" value] {extension}
// Words end at blanks, the name also at "=": "sound s=foo.wav", "int x = 0 local" and
// "thing player local" all declare their second word. text is a prepared line, the line of index
// line, trim the number of bytes preparing cut from its front. False for a line that names no
// symbol (its type word alone, or "=" where the name should be).
bool ReadDeclaration(std::string_view text, int line, int trim, std::vector<TCogPlace> &extensions,
                     TCogDeclaration &declaration)
{
    const size_t n = text.size();
    size_t at = 0;
    const auto skipBlanks = [&] {
        while (at < n && IsBlank(text[at]))
            ++at;
    };
    const auto wordEnd = [&](bool name) {
        size_t end = at;
        while (end < n && !IsBlank(text[end]) && !(name && text[end] == '='))
            ++end;
        return end;
    };
    const auto take = [&](size_t end, std::string_view &word, TCogPlace &place) {
        word = text.substr(at, end - at);
        place = TCogPlace{line, trim + static_cast<int>(at), trim + static_cast<int>(end)};
        at = end;
    };
    take(wordEnd(false), declaration.Type, declaration.TypePlace);
    skipBlanks();
    const size_t nameEnd = wordEnd(true);
    if (nameEnd == at)
        return false;
    take(nameEnd, declaration.Name, declaration.NamePlace);
    skipBlanks();
    declaration.Value = {};
    declaration.ValuePlace = TCogPlace();
    if (at < n && text[at] == '=')
    {
        ++at;
        skipBlanks();
        take(wordEnd(false), declaration.Value, declaration.ValuePlace);
    }
    extensions.clear();
    for (skipBlanks(); at < n; skipBlanks())
    {
        std::string_view word;
        take(wordEnd(false), word, extensions.emplace_back());
    }
    declaration.Extensions = extensions;
    return true;
}

// The recursive-descent recogniser of one check. Every routine works on the token in hand (T, K); a
// routine that meets an error records it and either returns at once or goes on with its remaining
// steps. There is no resynchronisation: the caller goes on from the token in hand, so one fault can
// give several messages.
class TCodeRecogniser
{
  public:
    TCodeRecogniser(TCOGChecker &checker, TCogLines lines)
        : Checker(checker), Reader(std::move(lines), checker)
    {}

    void Script();

  private:
    // Counts one level of nesting for as long as it lives.
    class TNesting
    {
      public:
        explicit TNesting(TCodeRecogniser &owner) : Owner(owner)
        {
            if (Owner.Depth >= TCOGChecker::MaxNesting)
            {
                Owner.Error("Nesting too deep");
                throw TStopCheck{};
            }
            ++Owner.Depth;
        }
        ~TNesting() { --Owner.Depth; }
        TNesting(const TNesting &) = delete;
        TNesting &operator=(const TNesting &) = delete;

      private:
        TCodeRecogniser &Owner;
    };

    void CodeSection();
    void Statement();
    void Assignment();
    void CallStatement();
    void FuncCall(bool valueUsed);
    void ArrayIndex();
    void Block();
    void Body();
    void IfStatement();
    void ForStatement();
    void WhileStatement();
    void EndStatement();
    void CallLabel();
    // Where an expression begins and ends: the places of its first and its last token, each found
    // while the token is in hand. The line a token lies in is not kept once the reader has read two
    // lines on (as a string left open makes it do), so a place found later could be none, or
    // that of another line.
    struct TExpressionEnds
    {
        TCogPlace First;
        TCogPlace Last;
    };
    void Expression(TExpressionEnds *ends = nullptr);

    void Next()
    {
        if (Unread)
            Unread = false;
        else
            Reader.GetToken(T, K);
    }
    // The place of the token in hand.
    TCogPlace Place() const { return Reader.PlaceOf(T); }
    // The line findings are recorded with: the one the reader is in, or for a token given back,
    // the one it was in before that token was read, as if it had gone back.
    int Line() const { return Unread ? UnreadFrom.Line - 1 : Reader.CurLine(); }

    // A look at the next token, which the recogniser then takes as it is or gives back, is the
    // only way back the grammar needs. The token given back stays in hand and the reader stays
    // after it, so that it is not read twice; only where reading was before it is remembered.
    struct TPeek
    {
        // The reader's place before the token.
        int Line = 0;
        int Pos = 0;
        // The number of findings before it.
        int Errors = 0;
    };
    // Reads the next token into T and K.
    TPeek Peek()
    {
        TPeek peek{0, 0, Checker.Errors.Count()};
        if (Unread)
            peek = TPeek{UnreadFrom.Line, UnreadFrom.Pos, peek.Errors};
        else
            Reader.SavePos(peek.Line, peek.Pos);
        Next();
        return peek;
    }
    // Makes the token read by peek the next one Next gives. A string left open is reported each
    // time it is read, as the checker has always done, so a token that was reported is read
    // again instead; so is one read before the reader was in any line, where going back would
    // find no line of its own.
    void GiveBack(const TPeek &peek)
    {
        if (Checker.Errors.Count() != peek.Errors || peek.Line < 1)
        {
            Unread = false;
            Reader.RestorePos(peek.Line, peek.Pos);
            return;
        }
        Unread = true;
        UnreadFrom = peek;
    }
    // Tells the sink of the token in hand as an operand.
    void UseOperand()
    {
        if (Sink)
            Sink->Operand(T, K, Place());
    }
    // Records "<wanted> expected, <token> found" unless the token in hand is wanted.
    void Expect(std::string_view wanted)
    {
        if (T != wanted)
            ErrorFmt((std::string(wanted) + " expected, %s found").c_str(), T);
    }
    // Errors are rare: their code is kept out of the way of the recogniser's.
    [[gnu::cold]] void Error(const char *msg) { Checker.AddError(msg, Line(), Place()); }
    [[gnu::cold]] void ErrorFmt(const char *fmt, std::string_view arg)
    {
        Checker.AddErrorFmt(fmt, arg, Line(), Place());
    }

    TCOGChecker &Checker;
    TCogReader Reader;
    TCogCodeSink *Sink = Checker.Sink;
    // The token in hand: a view that holds until the next token is read.
    std::string_view T;
    TCogTokenKind K = ckNone;
    // Whether the token in hand was given back, and where the reader was before it.
    bool Unread = false;
    TPeek UnreadFrom;
    int Depth = 0;
    // The places of the extensions of the symbol line in hand, for the sink.
    std::vector<TCogPlace> Extensions;
};

// Script: any lines, "symbols" line, {type-word line}, "end" line, any lines, "code" line,
//         code section
// Only the first word of each section line is checked; the rest of a symbol line is read for the
// sink alone.
void TCodeRecogniser::Script()
{
    std::string word;
    do
    {
        if (!Reader.NextSectionLine(word))
        {
            Error("No symbols section!");
            return;
        }
    } while (word != "symbols");

    for (;;)
    {
        if (!Reader.NextSectionLine(word))
        {
            Error("symbols section has no end!");
            return;
        }
        if (word == "end")
            break;
        const int line = Reader.CurLine();
        const int trim = Reader.LineTrim();
        if (TypeCode(word) == 0)
            Checker.AddError("Unknown type", line,
                             TCogPlace{line, trim, trim + static_cast<int>(word.size())});
        if (Sink)
        {
            TCogDeclaration declaration;
            if (ReadDeclaration(Reader.LineText(), line, trim, Extensions, declaration))
                Sink->Symbol(declaration);
        }
    }

    do
    {
        if (!Reader.NextSectionLine(word))
        {
            Error("No code section!");
            return;
        }
    } while (word != "code");

    CodeSection();
}

// CodeSection: {label | statement} "end"
// Tokens start on the line after "code"; nothing after the closing "end" is read.
void TCodeRecogniser::CodeSection()
{
    Reader.SkipRestOfLine();
    for (;;)
    {
        Next();
        if (K == ckLabel)
        {
            if (Sink)
                Sink->Label(T, Place());
            continue;
        }
        if (K == ckEnd)
        {
            if (T.empty())
                Error("No end of code section");
            return;
        }
        Statement();
    }
}

// Statement: assignment | array "[" expression "]" assignment | call ";" | if | for | while
//            | ("return" | "stop") ";" | "call" label ";" | block
// A stray "else" is passed over without a word.
void TCodeRecogniser::Statement()
{
    TNesting nesting(*this);
    switch (K)
    {
    case ckArray:
        UseOperand();
        ArrayIndex();
        Assignment();
        break;
    case ckVariable:
        UseOperand();
        Assignment();
        break;
    case ckFunction:
        CallStatement();
        break;
    case ckKeyword:
        if (T == "if")
            IfStatement();
        else if (T == "for")
            ForStatement();
        else if (T == "while")
            WhileStatement();
        else if (T == "return" || T == "stop")
            EndStatement();
        else if (T == "call")
            CallLabel();
        break;
    case ckBrace:
        if (T == "{")
            Block();
        else
            Error("Unexpected }");
        break;
    default:
        ErrorFmt("Variable, Function or Keyword expected, but %s found", T);
        break;
    }
}

// Assignment: "=" expression ";"   (the target has been read)
void TCodeRecogniser::Assignment()
{
    Next();
    if (T != "=")
    {
        ErrorFmt("= expected, %s found", T);
        return;
    }
    Expression();
    Expect(";");
}

// CallStatement: funccall ";"
void TCodeRecogniser::CallStatement()
{
    FuncCall(false);
    Next();
    Expect(";");
}

// FuncCall: "(" [expression {"," expression}] ")"   (the name has been read)
// The lexer made the name a function only because "(" follows it on the same line, so that
// token is taken unseen.
// The sink hears where each argument and the call begin and end: a call without its ")" ends with
// the last token of its last argument.
void TCodeRecogniser::FuncCall(bool valueUsed)
{
    const std::string_view name = T;
    TCogPlace place;
    TCogPlace last;
    if (Sink)
        place = Place();
    // The "(" stands on the name's line, so reading it leaves the name where it was.
    Next();
    if (Sink)
        Sink->Call(name, valueUsed, place, Place());
    const TPeek peek = Peek();
    int arguments = 0;
    if (T != ")")
    {
        GiveBack(peek);
        do
        {
            TExpressionEnds ends;
            Expression(Sink ? &ends : nullptr);
            ++arguments;
            if (Sink)
            {
                last = ends.Last;
                Sink->CallArgument(ends.First, last, Place());
            }
        } while (T == ",");
        Expect(")");
    }
    if (Sink)
        Sink->CallEnd(arguments, T == ")" ? Place() : last);
}

// ArrayIndex: "[" expression "]"   (the name has been read)
// The lexer made the name an array only because "[" follows it on the same line.
void TCodeRecogniser::ArrayIndex()
{
    Next();
    if (T != "[")
        Error("[ expected");
    Expression();
    if (T != "]")
        Error("] expected");
}

// Block: {statement | block} "}"   (the "{" has been read)
// Labels are not allowed inside: a label here fails as a statement.
void TCodeRecogniser::Block()
{
    TNesting nesting(*this);
    for (;;)
    {
        Next();
        if (K == ckEnd)
        {
            Error("Unexpected end of file");
            return;
        }
        if (K == ckBrace)
        {
            if (T == "{")
                Block();
            else
                return;
        }
        else
            Statement();
    }
}

// Body: block | statement   (its first token is in hand)
void TCodeRecogniser::Body()
{
    if (T == "{")
        Block();
    else
        Statement();
}

// IfStatement: "if" "(" expression ")" [";"] body ["else" body]
// The "(" is taken unseen. A ";" right after the condition is passed over, so "if (x);"
// guards the next statement.
void TCodeRecogniser::IfStatement()
{
    // An "else if" goes round this loop instead of recursing, so a long chain of them counts
    // as no nesting.
    for (;;)
    {
        Next();
        Expression();
        Expect(")");
        Next();
        if (T == ";")
            Next();
        Body();
        const TPeek peek = Peek();
        if (T != "else")
        {
            GiveBack(peek);
            return;
        }
        Next();
        if (K != ckKeyword || T != "if")
        {
            Body();
            return;
        }
    }
}

// ForStatement: "for" "(" statement expression ";" variable "=" expression ")" body
// The first clause is a whole statement and takes its own ";". Every step runs whether or not an
// earlier one failed.
void TCodeRecogniser::ForStatement()
{
    Next();
    Expect("(");
    Next();
    Statement();
    Expression();
    Expect(";");
    Next();
    if (K != ckVariable)
        ErrorFmt("Variable expected, %s found", T);
    else
        UseOperand();
    Next();
    Expect("=");
    Expression();
    Expect(")");
    Next();
    Body();
}

// WhileStatement: "while" "(" expression ")" body   (the "(" is taken unseen)
void TCodeRecogniser::WhileStatement()
{
    Next();
    Expression();
    Expect(")");
    Next();
    Body();
}

// EndStatement: ("return" | "stop") ";"
void TCodeRecogniser::EndStatement()
{
    Next();
    Expect(";");
}

// CallLabel: "call" name ";"
void TCodeRecogniser::CallLabel()
{
    Next();
    if (K != ckVariable)
        ErrorFmt("Label name expected, %s found", TokenKindName(K));
    else if (Sink)
        Sink->CallLabel(T, Place());
    Next();
    Expect(";");
}

// Expression: {"-" | "!"} operand {operator {"-" | "!"} operand}
// operand:    value | variable | array "[" expression "]" | funccall | "(" expression ")"
// It ends at ",", ";", ")" or "]" with that token in hand; the caller judges whether the end is
// the right one. Every operator joins operands alike, "=" included: there is no precedence.
// ends, when given, gets the places of the expression's first token and of the last token of its
// last operand; one that fails before its first operand has no last token.
void TCodeRecogniser::Expression(TExpressionEnds *ends)
{
    TNesting nesting(*this);
    TCogPlace *first = ends ? &ends->First : nullptr;
    for (;;)
    {
        // An operand is due.
        Next();
        if (first)
        {
            *first = Place();
            first = nullptr;
        }
        // Tests in the order of how often the kinds come, rather than a switch, whose jump through
        // a table the processor guesses less well.
        if (K == ckVariable || K == ckValue)
            UseOperand();
        else if (K == ckFunction)
            FuncCall(true);
        else if (K == ckArray)
        {
            UseOperand();
            ArrayIndex();
        }
        else if (K == ckParen)
        {
            if (T == ")")
            {
                Error("Unexpected )");
                return;
            }
            Expression();
            if (T != ")")
                Error("Missing )");
        }
        else
        {
            if (T == "-" || T == "!")
                continue;
            ErrorFmt("Value, Variable or Function expected,  %s found", TokenKindName(K));
            return;
        }

        // After an operand.
        if (ends)
            ends->Last = Place();
        Next();
        if (K == ckOperator)
            continue;
        if (K == ckDelimiter)
            return;
        if (K == ckParen || K == ckSquare)
        {
            if (T == (K == ckParen ? ")" : "]"))
                return;
            Error(K == ckParen ? "Unexpected (" : "Unexpected [");
            continue;
        }
        ErrorFmt("Operator, delimiter or closing bracket expected,  %s found", TokenKindName(K));
        return;
    }
}
} // namespace

void TCOGChecker::Check(const std::vector<std::string> &lines)
{
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    CheckLines(views);
}

void TCOGChecker::CheckLines(std::span<const std::string_view> lines)
{
    CheckLines(TCogLines(lines));
}

void TCOGChecker::CheckText(std::string_view text)
{
    CheckLines(TCogLines(text));
}

void TCOGChecker::CheckSource(TTextSource &source)
{
    CheckLines(TCogLines(source));
}

void TCOGChecker::CheckLines(TCogLines lines)
{
    Errors.Clear();
    TCodeRecogniser recogniser(*this, std::move(lines));
    try
    {
        recogniser.Script();
    }
    catch (const TStopCheck &)
    {
        // The error that stopped the check has been recorded.
    }
}

void TCOGChecker::AddError(std::string msg, int line, const TCogPlace &token)
{
    Errors.Add(TCOGError{line, std::move(msg), token});
}

void TCOGChecker::AddErrorFmt(std::string_view fmt, std::string_view arg, int line,
                              const TCogPlace &token)
{
    // Substituted by hand rather than by printf: the argument is script text of any length and may
    // itself hold "%".
    std::string msg;
    const size_t at = fmt.find("%s");
    if (at == std::string_view::npos)
        msg = fmt;
    else
    {
        msg.reserve(fmt.size() + arg.size());
        msg.append(fmt.substr(0, at));
        msg.append(arg);
        msg.append(fmt.substr(at + 2));
    }
    AddError(std::move(msg), line, token);
}

int TCOGChecker::ExtractWord(std::string_view s, int start, std::string &word)
{
    word.clear();
    if (s.empty())
        return 1;
    const int length = static_cast<int>(s.size());
    int i = start < 1 ? 1 : start;
    while (i <= length && IsBlank(s[static_cast<size_t>(i - 1)]))
        ++i;
    const int from = i;
    while (i <= length && !IsBlank(s[static_cast<size_t>(i - 1)]))
        ++i;
    if (i > from)
        word.assign(s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(i - from)));
    return i;
}
