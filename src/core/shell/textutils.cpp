#include "core/shell/textutils.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char &c : lower)
        c = LowerAscii(c);
    return lower;
}

bool SameNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

std::string TabsToSpaces(std::string_view s)
{
    std::string result(s);
    for (char &c : result)
        if (c == '\t')
            c = ' ';
    return result;
}

void ClearWords(TWords &words)
{
    for (std::string &word : words)
        word.clear();
}

void SplitWords(std::string_view s, TWords &words)
{
    int k = 0;
    bool afterSpace = false;
    for (const char c : s)
    {
        if (c != ' ')
        {
            if (k < MaxWords)
                words[k] += c;
            afterSpace = false;
        }
        else if (!afterSpace)
        {
            afterSpace = true;
            ++k;
        }
    }
}

std::string SplitLine(std::string_view s, TWords &words)
{
    std::string converted = TabsToSpaces(s);
    ClearWords(words);
    SplitWords(converted, words);
    return converted;
}

std::vector<std::string> SplitLineWords(std::string_view s)
{
    std::vector<std::string> words;
    size_t k = 0;
    bool afterSpace = false;
    for (const char c : s)
    {
        if (c != ' ' && c != '\t')
        {
            if (words.size() <= k)
                words.resize(k + 1);
            words[k] += c;
            afterSpace = false;
        }
        else if (!afterSpace)
        {
            afterSpace = true;
            ++k;
        }
    }
    return words;
}

TWords LineWords(std::string_view s)
{
    TWords words;
    SplitLine(s, words);
    return words;
}

TNameValue SplitNameValue(std::string_view s)
{
    TNameValue parts;
    if (s.empty())
        return parts;
    // The first character always belongs to the name, so "=x=y" names "=x".
    const size_t eq = s.find('=', 1);
    if (eq == std::string_view::npos)
    {
        parts.Name = s;
        return parts;
    }
    parts.Name = s.substr(0, eq);
    parts.Value = s.substr(eq + 1);
    return parts;
}

namespace {
// Copies s[from, to) into target with every "&" turned into a blank.
void CopyField(std::string_view s, size_t from, size_t to, std::string &target)
{
    for (size_t i = from; i < to; ++i)
        target += s[i] == '&' ? ' ' : s[i];
}
} // namespace

TFields SplitAtFields(std::string_view s)
{
    TFields fields;
    if (s.empty() || s.find('@') == std::string_view::npos)
        return fields;

    // Each field owns its first character, even an "@": "a@@b@c" gives "a", "@b" and "c".
    size_t firstAt = s.find('@', 1);
    if (firstAt == std::string_view::npos)
        firstAt = s.size();
    CopyField(s, 0, firstAt, fields.Name);
    if (firstAt + 1 >= s.size())
        return fields;

    const size_t secondStart = firstAt + 1;
    size_t secondAt = s.find('@', secondStart + 1);
    if (secondAt == std::string_view::npos)
        secondAt = s.size();
    CopyField(s, secondStart, secondAt, fields.Value);
    if (secondAt + 1 < s.size())
        fields.Rest = s.substr(secondAt + 1);
    return fields;
}

namespace {
// Whether any byte of the 8 at data is a CR or an LF: the high bit of a byte of
// ((x & 0x7F..) + 0x7F..) | x is clear exactly when the byte x is 0.
bool HasLineEnd(const char *data)
{
    constexpr uint64_t Low7 = 0x7F7F7F7F7F7F7F7FULL;
    uint64_t word;
    std::memcpy(&word, data, sizeof word);
    const auto zeroBytes = [](uint64_t x) { return ~(((x & Low7) + Low7) | x | Low7); };
    return (zeroBytes(word ^ 0x0A0A0A0A0A0A0A0AULL) | zeroBytes(word ^ 0x0D0D0D0D0D0D0D0DULL)) != 0;
}

// Calls take(start, length) for each line of text, in order.
template <typename Take> void ScanLines(std::string_view text, Take take)
{
    const size_t size = text.size();
    for (size_t start = 0; start < size;)
    {
        const size_t end = FindLineEnd(text, start);
        take(start, end - start);
        if (end == size)
            return;
        start = end + (text[end] == '\r' && end + 1 < size && text[end + 1] == '\n' ? 2 : 1);
    }
}
} // namespace

size_t FindLineEnd(std::string_view text, size_t from)
{
    const char *const data = text.data();
    const size_t size = text.size();
    size_t i = from;
#ifdef __SSE2__
    // 16 bytes at a time: the mask has a bit for each CR or LF among them.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (i + 16 <= size)
    {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
        if (mask != 0)
            return i + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(mask)));
        i += 16;
    }
#endif
    while (i + 8 <= size && !HasLineEnd(data + i))
        i += 8;
    while (i < size && data[i] != '\r' && data[i] != '\n')
        ++i;
    return i < size ? i : size;
}

bool TTextLines::Has(size_t keep, size_t at)
{
    if (at >= Base && at < End)
        return true;
    if (!Source || (Ended && at >= End && keep >= Base))
        return false;
    if (keep < Base || keep > End)
    {
        // Going back, or past what the window holds: it starts again at keep.
        Base = keep;
        End = keep;
        Ended = false;
    }
    else if (keep > Base)
    {
        std::memmove(Window.data(), Window.data() + (keep - Base), End - keep);
        Base = keep;
    }
    while (End <= at && !Ended)
    {
        if (End - Base == Window.size() || Window.size() < Preferred)
            Window.resize(Window.size() * 2);
        const size_t got =
            Source->ReadAt(End, Window.data() + (End - Base), Window.size() - (End - Base));
        if (got == 0)
            Ended = true;
        End += got;
    }
    return at >= Base && at < End;
}

size_t TTextLines::LineEnd(size_t from)
{
    size_t end = from;
    // Each round searches what the window holds; a line that runs past it takes more.
    while (Has(from, end))
    {
        end = Base + FindLineEnd(std::string_view(Data(), End - Base), end - Base);
        if (end < End)
            break;
    }
    return end;
}

void TTextLines::Step(size_t end)
{
    const size_t from = CursorAt;
    CursorAt = end + (Has(from, end + 1) && At(end) == '\r' && At(end + 1) == '\n' ? 2 : 1);
    ++CursorLine;
    if (CursorLine % MarkEvery == 0 && CursorLine / MarkEvery == Marks.size() &&
        Has(from, CursorAt))
        Marks.push_back(CursorAt);
}

bool TTextLines::Seek(size_t index)
{
    if (index == CursorLine)
        return Has(CursorAt, CursorAt);
    if (LastLine != SIZE_MAX && index == LastLine + 1)
    {
        CursorLine = index;
        CursorAt = LastNext;
        return Has(CursorAt, CursorAt);
    }
    if (const TLineStart &recent = Recent[index % Recent.size()]; recent.Line == index)
    {
        CursorLine = index;
        CursorAt = recent.At;
        return Has(CursorAt, CursorAt);
    }
    if (index < CursorLine)
    {
        const size_t mark = std::min(index / MarkEvery, Marks.size() - 1);
        CursorLine = mark * MarkEvery;
        CursorAt = Marks[mark];
    }
    else if (index / MarkEvery > CursorLine / MarkEvery && index / MarkEvery < Marks.size())
    {
        CursorLine = index / MarkEvery * MarkEvery;
        CursorAt = Marks[index / MarkEvery];
    }
    while (CursorLine < index && Has(CursorAt, CursorAt))
        Step(LineEnd(CursorAt));
    return CursorLine == index && Has(CursorAt, CursorAt);
}

bool TTextLines::GetAfterSeek(size_t index, std::string_view &line)
{
    if (!Seek(index))
        return false;
    const size_t start = CursorAt;
    const size_t end = LineEnd(start);
    LastLine = index;
    Recent[index % Recent.size()] = {index, start};
    Step(end);
    LastNext = CursorAt;
    // The window keeps the line from its start while the cursor steps past it.
    line = std::string_view(Data() + (start - Base), end - start);
    return true;
}

std::vector<std::string_view> SplitTextLineViews(std::string_view text)
{
    std::vector<std::string_view> lines;
    ScanLines(text,
              [&](size_t start, size_t length) { lines.push_back(text.substr(start, length)); });
    return lines;
}

std::vector<std::string> SplitTextLines(std::string_view text)
{
    const std::vector<std::string_view> views = SplitTextLineViews(text);
    return std::vector<std::string>(views.begin(), views.end());
}

std::string JoinTextLines(const std::vector<std::string> &lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
    {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

void AppendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80)
        out += static_cast<char>(c);
    else if (c < 0x800)
    {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else if (c < 0x10000)
    {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {
constexpr char16_t Replacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit < 0xDC00;
}
bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit < 0xE000;
}
} // namespace

std::u16string Utf16FromUtf8(std::string_view utf8)
{
    std::u16string units;
    units.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size())
    {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80)
        {
            units += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        // The sequence's length, and the least code point it may carry (shorter forms of a
        // code point are refused, as are surrogates and values past U+10FFFF).
        size_t length = 0;
        char32_t least = 0;
        char32_t c = 0;
        if (lead >= 0xC2 && lead < 0xE0)
            length = 2, least = 0x80, c = lead & 0x1F;
        else if (lead >= 0xE0 && lead < 0xF0)
            length = 3, least = 0x800, c = lead & 0x0F;
        else if (lead >= 0xF0 && lead < 0xF5)
            length = 4, least = 0x10000, c = lead & 0x07;
        size_t k = 1;
        for (; length && k < length && i + k < utf8.size(); ++k)
        {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80)
                break;
            c = (c << 6) | (next & 0x3F);
        }
        if (length == 0 || k < length || c < least || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
        {
            units += Replacement;
            i += std::max<size_t>(k, 1);
            continue;
        }
        if (c < 0x10000)
            units += static_cast<char16_t>(c);
        else
        {
            c -= 0x10000;
            units += static_cast<char16_t>(0xD800 + (c >> 10));
            units += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        }
        i += length;
    }
    return units;
}

std::string Utf8FromUtf16(std::u16string_view units)
{
    std::string out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i)
    {
        const char16_t unit = units[i];
        if (IsHighSurrogate(unit) && i + 1 < units.size() && IsLowSurrogate(units[i + 1]))
        {
            AppendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        }
        else
            AppendUtf8(out, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? Replacement : unit);
    }
    return out;
}
