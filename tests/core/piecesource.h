#pragma once

#include <algorithm>
#include <string_view>

#include "core/shell/Strings.h"

// A text given out a few bytes at a time, so that line ends fall across the pieces.
class TPieceSource : public TTextSource
{
  public:
    TPieceSource(std::string_view text, size_t piece) : Text(text), Piece(piece) {}
    const char *Data() const override { return Text.data(); }
    size_t More(size_t have) override
    {
        if (Given <= have)
            Given = std::min(Text.size(), have + Piece);
        return Given;
    }

  private:
    std::string_view Text;
    size_t Piece;
    size_t Given = 0;
};
