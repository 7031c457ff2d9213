#include "tool/lsp/document.h"

#include <algorithm>

#include "core/shell/shellrules.h"

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
