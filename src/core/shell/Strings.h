#pragma once

// Text utilities that cut a line into words or fields. The forms without a target write their
// results into the shared Words, NamePart, ValuePart and RestPart (GlobalVar), which the caller
// reads at once. Only the space separates words; a tab does so only after TabsToSpaces.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/GlobalVar.h"

using TWords = std::array<std::string, MaxWords>;

// A copy of s with every tab replaced by one space.
std::string TabsToSpaces(std::string_view s);
void ClearWords();
void ClearWords(TWords &words);
// Appends the words of s to words without clearing it first. A leading space advances the
// word index, so the first word of an indented line lands in words[1]. Characters of words
// past words[99] are dropped.
void SplitWords(std::string_view s, TWords &words);
void SplitWords(std::string_view s);
// TabsToSpaces, ClearWords and SplitWords in one; returns the converted line.
std::string SplitLine(std::string_view s, TWords &words);
std::string SplitLine(std::string_view s);
// The words SplitLine would give, with no bound on their number: the list ends with the last
// non-empty word, and an indented line starts with an empty word.
std::vector<std::string> SplitLineWords(std::string_view s);
// Splits "name=value" at the first "=" after the first character; nothing is trimmed.
void SplitNameValue(std::string_view s);
// Splits "first@second@rest"; "&" stands for a blank in the first two fields.
void SplitAtFields(std::string_view s);
void ClearSymbolTable();

// The lines of a text: split at CR LF, LF or a lone CR; a final line break does not start an
// extra empty line. Bytes pass unchanged.
std::vector<std::string> SplitTextLines(std::string_view text);
// The same lines as views into text, which must outlive them.
std::vector<std::string_view> SplitTextLineViews(std::string_view text);
// The same into a table, as many as it holds; returns the number of lines of text, which may
// be more.
size_t SplitTextLineViews(std::string_view text, std::span<std::string_view> lines);
// The index of the first CR or LF of text at or after from; text.size() when there is none.
size_t FindLineEnd(std::string_view text, size_t from);

// A text that comes in piece by piece, into one buffer that stays where it is.
class TTextSource
{
  public:
    virtual ~TTextSource() = default;
    virtual const char *Data() const = 0;
    // Makes more than have bytes of the text available when it has them; returns how many are
    // available, have or less when the text has no more.
    virtual size_t More(size_t have) = 0;
};

// The lines of a text as SplitTextLines gives them, found when asked for: no table of all the
// lines is made. Reading them in order scans each line once; going back starts from the line
// asked for before, or from a remembered start of every 64th line. A text from a source is taken
// only as far as the lines asked for reach, so each piece is read while it is still in the cache.
class TTextLines
{
  public:
    explicit TTextLines(std::string_view text) : Data(text.data()), Size(text.size()) {}
    explicit TTextLines(TTextSource &source)
        : Data(source.Data()), Size(source.More(0)), Source(&source)
    {}
    // Line index of the text (a view into it) in line; false when the text has fewer lines.
    bool Get(size_t index, std::string_view &line);

  private:
    static constexpr size_t MarkEvery = 64;
    // Moves the cursor onto the line index; false when the text ends before it.
    bool Seek(size_t index);
    // Moves the cursor past the line it is at, which ends at end.
    void Step(size_t end);
    // Whether the text reaches beyond at, taking more of it from the source when needed.
    bool Has(size_t at);
    // The end of the line that starts at from.
    size_t LineEnd(size_t from);

    const char *Data;
    size_t Size;
    TTextSource *Source = nullptr;
    // The line the cursor is at and where it starts.
    size_t CursorLine = 0;
    size_t CursorAt = 0;
    // The line given last, where it starts and where the line after it starts.
    size_t LastLine = SIZE_MAX;
    size_t LastAt = 0;
    size_t LastNext = 0;
    // Marks[k] is where line k * MarkEvery starts, for every such line reached.
    std::vector<size_t> Marks = {0};
};

// The lines joined with CR LF, as scripts are saved.
std::string JoinTextLines(const std::vector<std::string> &lines);
