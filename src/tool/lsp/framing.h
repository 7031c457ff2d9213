#pragma once

// The base protocol of the Language Server Protocol: each message is a block of headers
// ("Content-Length: N", optionally "Content-Type: ..."), an empty line, and N bytes of JSON.

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

// Bodies larger than this are read past and reported instead of held: a client never sends
// one for a real script, and a server must not grow without bound on a broken peer.
constexpr size_t MaxMessageBytes = size_t(64) << 20;
// A header line longer than this is no header of the protocol.
constexpr size_t MaxHeaderLineBytes = 8192;

struct TFrame
{
    enum class TKind
    {
        // Body holds one message's bytes.
        Message,
        // The headers or the size were unusable; Problem says why. Reading goes on after it.
        Malformed,
        // The input ended.
        End
    };
    TKind Kind = TKind::End;
    std::string Body;
    std::string Problem;
};

// Reads framed messages from a byte stream, one at a time.
class TFrameReader
{
  public:
    explicit TFrameReader(std::istream &input) : Input(input) {}

    TFrame Next();

  private:
    // One header line without its CR LF (a bare LF is taken too); false at the end of input.
    bool ReadHeaderLine(std::string &line, bool &tooLong);

    std::istream &Input;
};

// Writes one message with its Content-Length header and flushes it.
void WriteFrame(std::ostream &output, std::string_view body);
