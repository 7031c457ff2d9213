#pragma once

// The exception of the core's file building blocks (TBinFile, TFileText) and of the readers and
// writers built on them. It stays inside the core: every entry point a caller reaches runs its
// body through CatchIOError and gives back a TResult or TStatus.

#include <stdexcept>
#include <string>

#include "core/shell/result.h"

// A failed file operation, carrying the standard text the application shows for it
// ("File not found", "Read beyond end of file", "I/O error %d" ...).
struct TIOError : std::runtime_error
{
    using std::runtime_error::runtime_error;

    // The standard text for an errno value.
    static TIOError FromErrno(int err);
#ifdef _WIN32
    // The standard text for an error code of the Windows API (GetLastError).
    static TIOError FromSystemError(unsigned long code);
#endif
    static TIOError ReadBeyondEnd()
    {
        return TIOError("Read beyond end of file");
    }
};

// Runs body, which returns a TResult or a TStatus, and gives back what it returns; a TIOError it
// throws becomes a failure with the error's text. Other exceptions pass through.
template <class TBody> auto CatchIOError(TBody &&body) -> decltype(body())
{
    try
    {
        return body();
    }
    catch (const TIOError &error)
    {
        return TFailure{error.what()};
    }
}
