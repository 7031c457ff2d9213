#pragma once

// A broken property ends the fuzz run: the fuzzer keeps the input that broke it.

#include <cstdlib>

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}
