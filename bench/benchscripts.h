#pragma once

// Large scripts of realistic statements for the benchmarks, made of the same message handler over
// and over: the checker's and the analysis' benchmarks read the same texts.

#include <cstdint>
#include <cstdio>
#include <string>

// One message handler of the kind the game's scripts are made of; %d numbers it.
inline const char *const Handler =
    "# ----- handler %d -----\r\n"
    "handler%d:\r\n"
    "    player = GetLocalPlayerThing();      // the local player\r\n"
    "    if (GetSenderRef() == switch%d)\r\n"
    "    {\r\n"
    "        SetWallCel(wall, 1 - GetWallCel(wall));\r\n"
    "        PlaySoundPos(click, GetSurfaceCenter(wall), 1.0, -1, -1, 0x80);\r\n"
    "    }\r\n"
    "    else if ((count > 3) && !done || GetThingHealth(player) <= 0) call cleanup;\r\n"
    "    else\r\n"
    "    {\r\n"
    "        SetPulse(0.5);\r\n"
    "    }\r\n"
    "\tfor (i = 0; i < 10; i = i + 1)\r\n"
    "\t{\r\n"
    "\t\tvalues[i] = VectorAdd(dir, '0 0.6 0');\r\n"
    "\t\tif (values[i] != 0) count = count + 1;\r\n"
    "\t}\r\n"
    "    while (count > 0) count = count - 1;  # count down\r\n"
    "    dir = VectorScale('1.0 0 0', speed * 2.5 / -delay);\r\n"
    "    SetThingPos(player, VectorAdd(GetThingPos(player), dir));\r\n"
    "    Print(\"Switch used\");\r\n"
    "\r\n"
    "    // conditions nested in a loop, over array elements and vectors\r\n"
    "    i = 0;\r\n"
    "    while (i < 10)\r\n"
    "    {\r\n"
    "        if (values[i] > 0)\r\n"
    "        {\r\n"
    "            if (VectorDist(GetThingPos(player), dir) < speed * values[i - 1])\r\n"
    "                dir = VectorNorm(VectorSub(GetThingPos(player), VectorScale(dir, 2)));\r\n"
    "            else if (!done && (Rand() > 0.5 || values[(i + 1) %% 10] == -1)) done = 1;\r\n"
    "        }\r\n"
    "        i = i + 1;\r\n"
    "    }\r\n"
    "    Print(\"Done: 1, 2; 3 [ok] {fine} (x = y * 2)\");\r\n"
    "    return;\r\n"
    "\r\n";

inline const char *const Header = "# Generated script\r\n"
                                  "flags=0x240\r\n"
                                  "\r\n"
                                  "symbols\r\n"
                                  "message     startup\r\n"
                                  "message     activated\r\n"
                                  "thing       player                      local\r\n"
                                  "surface     wall                        linkid=1 mask=0x448\r\n"
                                  "sound       click=beep1.wav             local\r\n"
                                  "vector      dir                         local\r\n"
                                  "flex        speed=1.5\r\n"
                                  "float       delay=0.25\r\n"
                                  "int         i                           local\r\n"
                                  "int         count=0                     local\r\n"
                                  "int         done=0                      local\r\n"
                                  "end\r\n"
                                  "\r\n"
                                  "code\r\n";

// A script of at least size bytes or at least lines lines, whichever it reaches first.
inline std::string MakeScript(size_t size, size_t lines = SIZE_MAX)
{
    std::string text = Header;
    size_t count = 0;
    for (const char c : text)
        count += c == '\n';
    char piece[4096];
    for (int n = 0; text.size() < size && count < lines; ++n)
    {
        const int length = std::snprintf(piece, sizeof piece, Handler, n, n, n);
        text.append(piece, static_cast<size_t>(length));
        for (int i = 0; i < length; ++i)
            count += piece[i] == '\n';
    }
    text += "end\r\n";
    return text;
}

// The generated script made correct for the game-aware checks too: every name declared, every
// called label there, every declared message handled.
inline std::string MakeGameCleanScript(size_t size, size_t lines = SIZE_MAX)
{
    std::string text = MakeScript(size, lines);
    const std::string declare = "int         values                      local\r\n"
                                "surface     switch                      local\r\n"
                                "end\r\n";
    text.replace(text.find("end\r\n"), 5, declare);
    const std::string code = "code\r\n";
    text.insert(text.find(code) + code.size(),
                "startup:\r\nactivated:\r\ncleanup:\r\n    stop;\r\n");
    // "switch" and no number after it, copied once rather than erased in place.
    std::string clean;
    clean.reserve(text.size());
    size_t from = 0;
    for (size_t at = text.find("switch"); at != std::string::npos; at = text.find("switch", at))
    {
        at += 6;
        clean.append(text, from, at - from);
        from = text.find_first_not_of("0123456789", at);
        at = from;
    }
    clean.append(text, from);
    return clean;
}
