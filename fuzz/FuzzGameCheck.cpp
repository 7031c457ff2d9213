// Arbitrary bytes as a script for the syntax checker and the game-aware pass together: following
// the check must not change its errors, a script with errors gets no warnings, every warning
// names a line of the script, and the lines, the whole text and the text in pieces agree.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/cogchecker.h"
#include "core/analysis/gamecheck.h"
#include "core/shell/textutils.h"
#include "fuzz/fuzzcheck.h"
#include "tests/core/piecesource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte chooses the game; the rest is the script.
    if (size == 0)
        return 0;
    static TCOGChecker alone;
    static TCOGChecker followed;
    static TGameChecker game;
    game.Game = static_cast<TCheckGame>(data[0] % 3);
    const std::string_view text(reinterpret_cast<const char *>(data + 1), size - 1);
    const std::vector<std::string> lines = SplitTextLines(text);

    alone.Check(lines);
    game.Check(followed, lines);
    Check(followed.Sink == nullptr && SameFindings(followed.Errors, alone.Errors));
    if (alone.Errors.Count() > 0 && game.Warnings.Count() > 0)
        __builtin_trap();
    // The whole text, as qxtool reads it, gives the same warnings as the lines.
    static TCOGChecker textSyntax;
    static TGameChecker fromText;
    fromText.Game = game.Game;
    fromText.CheckText(textSyntax, text);
    Check(SameFindings(textSyntax.Errors, alone.Errors) &&
          SameFindings(fromText.Warnings, game.Warnings));
    // So does a text read in pieces through windows of a few bytes, which move, grow and go back.
    TPieceSource source(text, 1 + data[0] % 4);
    TTextLines raw(source, 1 + data[0] % 5);
    TTextLines code(source, 1 + data[0] % 7);
    static TCOGChecker pieceSyntax;
    static TGameChecker fromPieces;
    fromPieces.Game = game.Game;
    fromPieces.CheckLines(pieceSyntax, TCogLines(raw), TCogLines(code));
    Check(SameFindings(pieceSyntax.Errors, alone.Errors) &&
          SameFindings(fromPieces.Warnings, game.Warnings));

    const int lastLine = lines.empty() ? 0 : static_cast<int>(lines.size()) - 1;
    int before = 0;
    for (int i = 0; i < game.Warnings.Count(); ++i)
    {
        const TCOGError &warning = game.Warnings.Items(i);
        if (warning.Line < before || warning.Line > lastLine || warning.Msg.empty())
            __builtin_trap();
        before = warning.Line;
    }
    return 0;
}
