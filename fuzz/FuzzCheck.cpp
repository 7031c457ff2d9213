// Arbitrary bytes as a script for the checker: the text and its split lines give the same
// findings, every error is read back and must name a line of the script, and reading past the
// list must throw.

#include "fuzz/fuzzcheck.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/cogchecker.h"
#include "core/shell/textutils.h"
#include "tests/core/piecesource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // One checker for every input, as the program keeps one: each check must replace the
    // findings of the last.
    static TCOGChecker checker;
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    checker.CheckText(text);

    // The editor's lines give the same findings as the text.
    const std::vector<std::string> lines = SplitTextLines(text);
    static TCOGChecker fromLines;
    fromLines.Check(lines);
    Check(SameFindings(fromLines.Errors, checker.Errors));

    // So does the text read in pieces through a window of a few bytes, which moves, grows and
    // goes back.
    TPieceSource source(text, 1 + size % 5);
    TTextLines pieces(source, 1 + size % 7);
    static TCOGChecker fromPieces;
    fromPieces.CheckLines(TCogLines(pieces));
    Check(SameFindings(fromPieces.Errors, checker.Errors));

    const int lineCount = static_cast<int>(lines.size());
    const int lastLine = lineCount > 0 ? lineCount - 1 : 0;
    for (int i = 0; i < checker.Errors.Count(); ++i)
    {
        const TCOGError &error = checker.Errors.Items(i);
        if (error.Line < 0 || error.Line > lastLine || error.Msg.empty())
            __builtin_trap();
    }
    try
    {
        checker.Errors.Items(checker.Errors.Count());
        __builtin_trap();
    }
    catch (const std::out_of_range &)
    {}
    return 0;
}
