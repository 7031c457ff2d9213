#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>

#include "core/shell/textutils.h"

// A text given out a few bytes at a time, so that line ends fall across the pieces.
class TPieceSource : public TTextSource
{
  public:
    TPieceSource(std::string_view text, size_t piece) : Text(text), Piece(piece) {}
    size_t ReadAt(size_t at, char *to, size_t count) override
    {
        if (at >= Text.size())
            return 0;
        const size_t given = std::min({count, Piece, Text.size() - at});
        std::memcpy(to, Text.data() + at, given);
        return given;
    }

  private:
    std::string_view Text;
    size_t Piece;
};
