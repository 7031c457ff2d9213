#pragma once

// A broken property ends the fuzz run: the fuzzer keeps the input that broke it.

#include <cstdlib>

#include "core/analysis/cogchecker.h"

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Whether two checks found the same, in the same order.
inline bool SameFindings(const TCOGErrors &a, const TCOGErrors &b)
{
    if (a.Count() != b.Count())
        return false;
    for (int i = 0; i < a.Count(); ++i)
        if (a.Items(i).Line != b.Items(i).Line || a.Items(i).Msg != b.Items(i).Msg)
            return false;
    return true;
}
