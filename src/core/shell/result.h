#pragma once

// What the core gives back from an operation that a user's input or the machine can make fail
// (a missing or unreadable file, a damaged archive, a full disk): the value, or a failure with
// the text the user is shown. The caller must look at it; exceptions are left for what a
// correct program never meets (an index outside a directory, running out of memory).

#include <string>
#include <utility>
#include <variant>

// Why an operation failed, in the words shown to the user ("File not found").
struct TFailure
{
    std::string Text;
};

// The value of an operation that worked, or the failure that stopped it.
template <class T> class [[nodiscard]] TResult
{
  public:
    TResult(T value) : Outcome(std::in_place_index<0>, std::move(value)) {}
    TResult(TFailure failure) : Outcome(std::in_place_index<1>, std::move(failure)) {}

    // Whether there is a value.
    explicit operator bool() const { return Outcome.index() == 0; }
    // The value; asking a failure for it throws std::bad_variant_access.
    T &operator*() & { return std::get<0>(Outcome); }
    const T &operator*() const & { return std::get<0>(Outcome); }
    T &&operator*() && { return std::get<0>(std::move(Outcome)); }
    T *operator->() { return &**this; }
    const T *operator->() const { return &**this; }
    // The failure's text; empty when there is a value.
    const std::string &Error() const
    {
        static const std::string none;
        return Outcome.index() == 1 ? std::get<1>(Outcome).Text : none;
    }

  private:
    std::variant<T, TFailure> Outcome;
};

// The outcome of an operation that gives nothing back: success, or the failure that stopped it.
class [[nodiscard]] TStatus
{
  public:
    TStatus() = default;
    TStatus(TFailure failure) : Failed(true), Text(std::move(failure.Text)) {}

    // Whether it worked.
    explicit operator bool() const { return !Failed; }
    // The failure's text; empty when it worked.
    const std::string &Error() const { return Text; }

  private:
    bool Failed = false;
    std::string Text;
};
