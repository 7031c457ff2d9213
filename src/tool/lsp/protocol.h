#pragma once

// The protocol's positions and ranges as JSON, for the server's handlers.

#include <nlohmann/json.hpp>

#include "core/analysis/scriptanalysis.h"
#include "tool/lsp/document.h"

inline nlohmann::json PositionJson(TTextPosition position)
{
    return {{"line", position.Line}, {"character", position.Character}};
}

inline nlohmann::json RangeJson(TTextPosition start, TTextPosition end)
{
    return {{"start", PositionJson(start)}, {"end", PositionJson(end)}};
}

// A range of the analysis: its columns are bytes of the document, one per code unit.
inline nlohmann::json RangeJson(const TScriptRange &range)
{
    return RangeJson({range.Start.Line, range.Start.Column}, {range.End.Line, range.End.Column});
}

inline TTextPosition PositionOf(const nlohmann::json &json)
{
    return {json.at("line").get<int>(), json.at("character").get<int>()};
}

inline TTextRange RangeOf(const nlohmann::json &json)
{
    return {PositionOf(json.at("start")), PositionOf(json.at("end"))};
}
