#pragma once

// Text utilities that cut a line into words or fields. They write their results into the
// shared Words, NamePart, ValuePart and RestPart (GlobalVar), which the caller reads at once.
// Only the space separates words; a tab does so only after TabsToSpaces.

#include <string>
#include <string_view>
#include <vector>

// A copy of s with every tab replaced by one space.
std::string TabsToSpaces(std::string_view s);
void ClearWords();
// Appends the words of s to Words without clearing it first. A leading space advances the
// word index, so the first word of an indented line lands in Words[1]. Characters of words
// past Words[99] are dropped.
void SplitWords(std::string_view s);
// TabsToSpaces, ClearWords and SplitWords in one; returns the converted line.
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
// The lines joined with CR LF, as scripts are saved.
std::string JoinTextLines(const std::vector<std::string> &lines);
