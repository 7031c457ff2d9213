#pragma once

// An open script as the language server holds it. The protocol carries UTF-8 text and counts
// columns in UTF-16 code units; scripts are Windows-1252 files, one byte a character. The
// document keeps one byte per UTF-16 code unit, so a byte's column in its line is the
// protocol's column: the checks read the bytes a script file would hold, and their columns
// need no conversion. A code unit Windows-1252 cannot hold is kept as "?" with the unit beside
// it, so that it can be reported and given back as it came.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/shellrules.h"

// A position as the protocol counts it: a 0-based line and UTF-16 code units into it.
struct TTextPosition
{
    int Line = 0;
    int Character = 0;
};

struct TTextRange
{
    TTextPosition Start;
    TTextPosition End;
};

// A code unit that a script file cannot hold, at Offset in the document's bytes.
struct TForeignUnit
{
    size_t Offset = 0;
    char16_t Unit = 0;
};

class TScriptDocument
{
  public:
    TScriptDocument() = default;
    explicit TScriptDocument(std::string_view utf8) { SetText(utf8); }

    // Replaces the whole text. Bytes of utf8 that are no UTF-8 count as U+FFFD.
    void SetText(std::string_view utf8);
    // Replaces range, each end clamped into the text as the protocol asks (a column past its
    // line's end is the end, a line past the last is the end of the text), with utf8.
    void Replace(const TTextRange &range, std::string_view utf8);

    const std::string &Bytes() const { return Text; }
    int LineCount() const { return static_cast<int>(LineStarts.size()); }
    // Line index without its line break; empty past the last line.
    std::string_view Line(int index) const;
    size_t LineStart(int index) const;
    // The byte offset of position, clamped as Replace clamps.
    size_t OffsetAt(TTextPosition position) const;
    TTextPosition PositionAt(size_t offset) const;
    const std::vector<TForeignUnit> &ForeignUnits() const { return Foreign; }
    // The text of bytes [from, to) as UTF-8, with foreign units as they came.
    std::string Utf8(size_t from, size_t to) const;

  private:
    void IndexLines();

    std::string Text;
    // Where each line starts; a text has at least one line. Line breaks are CR LF, LF or CR.
    std::vector<size_t> LineStarts{0};
    // Sorted by offset.
    std::vector<TForeignUnit> Foreign;
};
