#pragma once

// The protocol's positions and ranges as JSON, for the server's handlers.

#include <nlohmann/json.hpp>

#include "tool/lsp/document.h"

inline nlohmann::json PositionJson(TTextPosition position)
{
    return {{"line", position.Line}, {"character", position.Character}};
}

inline nlohmann::json RangeJson(TTextPosition start, TTextPosition end)
{
    return {{"start", PositionJson(start)}, {"end", PositionJson(end)}};
}

// A range within one line.
inline nlohmann::json RangeJson(int line, int start, int end)
{
    return RangeJson({line, start}, {line, end});
}

inline TTextPosition PositionOf(const nlohmann::json &json)
{
    return {json.at("line").get<int>(), json.at("character").get<int>()};
}

inline TTextRange RangeOf(const nlohmann::json &json)
{
    return {PositionOf(json.at("start")), PositionOf(json.at("end"))};
}
