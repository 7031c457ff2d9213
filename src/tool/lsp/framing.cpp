#include "tool/lsp/framing.h"

#include <algorithm>
#include <charconv>

#include "core/shell/textutils.h"

namespace {
std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}
} // namespace

bool TFrameReader::ReadHeaderLine(std::string &line, bool &tooLong)
{
    line.clear();
    tooLong = false;
    for (;;)
    {
        const int c = Input.get();
        if (c == std::char_traits<char>::eof())
            return !line.empty() || tooLong;
        if (c == '\n')
        {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
        if (line.size() < MaxHeaderLineBytes)
            line += static_cast<char>(c);
        else
            tooLong = true;
    }
}

TFrame TFrameReader::Next()
{
    TFrame frame;
    std::string line;
    bool tooLong = false;
    bool anyHeader = false;
    bool haveLength = false;
    size_t length = 0;
    // The headers up to the empty line that ends them; empty lines before any header are the
    // leftovers of a previous malformed message and are passed over.
    for (;;)
    {
        if (!ReadHeaderLine(line, tooLong))
        {
            frame.Kind = anyHeader ? TFrame::TKind::Malformed : TFrame::TKind::End;
            frame.Problem = "The input ended inside a message's headers";
            return frame;
        }
        if (line.empty() && !tooLong)
        {
            if (anyHeader)
                break;
            continue;
        }
        anyHeader = true;
        if (tooLong)
        {
            frame.Problem = "A header line is too long";
            continue;
        }
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
        {
            frame.Problem = "A header line has no colon: " + line.substr(0, 80);
            continue;
        }
        if (!SameNoCase(TrimBlanks(std::string_view(line).substr(0, colon)), "Content-Length"))
            continue;
        const std::string_view value = TrimBlanks(std::string_view(line).substr(colon + 1));
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), length);
        haveLength = error == std::errc() && end == value.data() + value.size() && !value.empty();
        if (!haveLength)
            frame.Problem = "The Content-Length is no number: " + std::string(value.substr(0, 80));
    }
    if (!frame.Problem.empty() || !haveLength)
    {
        frame.Kind = TFrame::TKind::Malformed;
        if (frame.Problem.empty())
            frame.Problem = "A message has no Content-Length";
        return frame;
    }
    if (length > MaxMessageBytes)
    {
        // Read past the body in pieces, so that the next message is found where it starts.
        char scrap[65536];
        size_t left = length;
        while (left > 0 && Input)
        {
            Input.read(scrap, static_cast<std::streamsize>(std::min(left, sizeof scrap)));
            left -= static_cast<size_t>(Input.gcount());
        }
        frame.Kind = TFrame::TKind::Malformed;
        frame.Problem = "A message of " + std::to_string(length) + " bytes is past the limit of " +
                        std::to_string(MaxMessageBytes);
        return frame;
    }
    frame.Body.resize(length);
    Input.read(frame.Body.data(), static_cast<std::streamsize>(length));
    if (static_cast<size_t>(Input.gcount()) != length)
    {
        frame.Kind = TFrame::TKind::Malformed;
        frame.Problem = "The input ended inside a message's body";
        frame.Body.clear();
        return frame;
    }
    frame.Kind = TFrame::TKind::Message;
    return frame;
}

void WriteFrame(std::ostream &output, std::string_view body)
{
    output << "Content-Length: " << body.size() << "\r\n\r\n";
    output.write(body.data(), static_cast<std::streamsize>(body.size()));
    output.flush();
}
