#include "tool/lsp/document.h"

#include <algorithm>

#include "core/shell/shellrules.h"

namespace {
constexpr char16_t Replacement = 0xFFFD;

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

void TScriptDocument::SetText(std::string_view utf8)
{
    Text.clear();
    Foreign.clear();
    Replace({{0, 0}, {0, 0}}, utf8);
}

void TScriptDocument::Replace(const TTextRange &range, std::string_view utf8)
{
    size_t from = OffsetAt(range.Start);
    size_t to = OffsetAt(range.End);
    if (to < from)
        std::swap(from, to);
    const std::u16string units = Utf16FromUtf8(utf8);
    std::string bytes(units.size(), '\0');
    std::vector<TForeignUnit> added;
    for (size_t i = 0; i < units.size(); ++i)
    {
        bytes[i] = ScriptByteFromChar(units[i]);
        if (bytes[i] == '?' && units[i] != u'?')
            added.push_back({from + i, units[i]});
    }
    Text.replace(from, to - from, bytes);

    // The foreign units before the range stay, those inside it go, those after it move.
    const auto first =
        std::lower_bound(Foreign.begin(), Foreign.end(), from,
                         [](const TForeignUnit &u, size_t at) { return u.Offset < at; });
    const auto last = std::lower_bound(
        first, Foreign.end(), to, [](const TForeignUnit &u, size_t at) { return u.Offset < at; });
    for (auto it = last; it != Foreign.end(); ++it)
        it->Offset = it->Offset - to + from + bytes.size();
    const auto at = Foreign.erase(first, last);
    Foreign.insert(at, added.begin(), added.end());
    IndexLines();
}

void TScriptDocument::IndexLines()
{
    // An open script keeps its index: room for its lines and no more, most texts ending theirs
    // with LF.
    LineStarts.clear();
    LineStarts.reserve(static_cast<size_t>(std::count(Text.begin(), Text.end(), '\n')) + 1);
    LineStarts.push_back(0);
    const size_t size = Text.size();
    const char *data = Text.data();
    for (size_t i = 0; i < size; ++i)
    {
        const char c = data[i];
        if (c == '\n')
            LineStarts.push_back(i + 1);
        else if (c == '\r')
        {
            if (i + 1 < size && data[i + 1] == '\n')
                ++i;
            LineStarts.push_back(i + 1);
        }
    }
}

size_t TScriptDocument::LineStart(int index) const
{
    if (index < 0)
        return 0;
    if (static_cast<size_t>(index) >= LineStarts.size())
        return Text.size();
    return LineStarts[static_cast<size_t>(index)];
}

std::string_view TScriptDocument::Line(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= LineStarts.size())
        return {};
    const size_t start = LineStarts[static_cast<size_t>(index)];
    size_t end = static_cast<size_t>(index) + 1 < LineStarts.size()
                     ? LineStarts[static_cast<size_t>(index) + 1]
                     : Text.size();
    while (end > start && (Text[end - 1] == '\n' || Text[end - 1] == '\r'))
        --end;
    return std::string_view(Text).substr(start, end - start);
}

size_t TScriptDocument::OffsetAt(TTextPosition position) const
{
    if (position.Line < 0)
        return 0;
    if (static_cast<size_t>(position.Line) >= LineStarts.size())
        return Text.size();
    const std::string_view line = Line(position.Line);
    const size_t column =
        std::min(static_cast<size_t>(std::max(position.Character, 0)), line.size());
    return LineStart(position.Line) + column;
}

TTextPosition TScriptDocument::PositionAt(size_t offset) const
{
    offset = std::min(offset, Text.size());
    const auto after = std::upper_bound(LineStarts.begin(), LineStarts.end(), offset);
    const auto line = static_cast<int>(after - LineStarts.begin()) - 1;
    return {line, static_cast<int>(offset - LineStarts[static_cast<size_t>(line)])};
}

std::string TScriptDocument::Utf8(size_t from, size_t to) const
{
    to = std::min(to, Text.size());
    from = std::min(from, to);
    auto foreign = std::lower_bound(Foreign.begin(), Foreign.end(), from,
                                    [](const TForeignUnit &u, size_t at) { return u.Offset < at; });
    if (foreign == Foreign.end() || foreign->Offset >= to)
        return Utf8FromScriptBytes(std::string_view(Text).substr(from, to - from));
    std::u16string units;
    units.reserve(to - from);
    for (size_t i = from; i < to; ++i)
    {
        if (foreign != Foreign.end() && foreign->Offset == i)
            units += (foreign++)->Unit;
        else
            units += CharFromScriptByte(static_cast<unsigned char>(Text[i]));
    }
    return Utf8FromUtf16(units);
}
