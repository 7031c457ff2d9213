#pragma once

#include <stdexcept>
#include <string>

// A failed file operation, carrying the standard text the application shows for it
// ("File not found", "Read beyond end of file", "I/O error %d" ...).
struct TIOError : std::runtime_error
{
    using std::runtime_error::runtime_error;

    // The standard text for an errno value.
    static TIOError FromErrno(int err);
    static TIOError ReadBeyondEnd() { return TIOError("Read beyond end of file"); }
};
