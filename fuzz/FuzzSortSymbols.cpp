// Arbitrary bytes as a script for Sort Symbol: no word is lost or made up ("//" turned into
// "#" aside), lines and their ends stay (a lone CR of a sorted text becoming CR LF), lines outside
// the sections keep their bytes, and a second run loses nothing either. The scan of the same text
// stays within the text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/symtools.h"
#include "core/shell/textutils.h"
#include "fuzz/fuzzcheck.h"

namespace {

// The words of a text, sorted, with "//" counted as "#" and each "#" a word of its own.
std::vector<std::string> WordBag(std::string text)
{
    for (size_t at = text.find("//"); at != std::string::npos; at = text.find("//", at))
        text.replace(at, 2, "#");
    std::string spaced;
    for (const char c : text)
        spaced += c == '#' ? std::string(" # ") : std::string(1, c == '\r' || c == '\n' ? ' ' : c);
    std::vector<std::string> words;
    for (std::string &word : SplitLineWords(spaced))
        if (!word.empty())
            words.push_back(std::move(word));
    std::sort(words.begin(), words.end());
    return words;
}

// The line ends of a text in order.
std::string LineEnds(std::string_view text)
{
    std::string ends;
    for (const char c : text)
        if (c == '\r' || c == '\n')
            ends += c;
    return ends;
}
// text with each lone CR made CR LF, as the editor saves it.
std::string LoneCrAsCrLf(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
    {
        out += text[i];
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            out += '\n';
    }
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const std::string once = SortSymbolsInText(text);
    Check(once == text || LineEnds(once) == LineEnds(LoneCrAsCrLf(text)));
    Check(WordBag(once) == WordBag(text));
    Check(WordBag(SortSymbolsInText(once)) == WordBag(text));

    // Only lines after an exact "symbols" line may change.
    const std::vector<std::string> before = SplitTextLines(text);
    const std::vector<std::string> after = SplitTextLines(once);
    Check(before.size() == after.size());
    bool seenHeader = false;
    for (size_t k = 0; k < before.size(); ++k)
    {
        Check(seenHeader || before[k] == after[k]);
        seenHeader = seenHeader || before[k] == "symbols";
    }

    const int header = LastSymbolsLine(before);
    if (header >= 0)
    {
        const std::vector<TSymbolEntry> entries = ParseSymbol(before, header);
        Check(entries.size() < before.size());
        size_t names = 0;
        for (const TSymbolTypeNode &node : FillSymbolTree(entries))
            names += node.Names.size();
        Check(names <= entries.size());
    }
    return 0;
}
