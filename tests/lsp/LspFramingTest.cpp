#include <sstream>

#include <gtest/gtest.h>

#include "tool/lsp/framing.h"

namespace {
std::vector<TFrame> ReadAll(const std::string &input)
{
    std::istringstream stream(input);
    TFrameReader reader(stream);
    std::vector<TFrame> frames;
    for (;;)
    {
        TFrame frame = reader.Next();
        if (frame.Kind == TFrame::TKind::End)
            return frames;
        frames.push_back(std::move(frame));
    }
}

TEST(LspFramingTest, ReadsMessagesAndGoesOnAfterBadHeaders)
{
    const std::string big(MaxMessageBytes + 1, 'x');
    const std::vector<TFrame> frames = ReadAll(
        "Content-Length: 2\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n{}"
        "content-length:3\n\n[1]"
        "Content-Length: nine\r\n\r\n"
        "Content-Type: x\r\n\r\n"
        "Content-Length: " +
        std::to_string(big.size()) + "\r\n\r\n" + big +
        "Content-Length: 4\r\n\r\nnull"
        "Content-Length: 10\r\n\r\nshort");
    ASSERT_EQ(frames.size(), 7u);
    EXPECT_EQ(frames[0].Body, "{}");
    EXPECT_EQ(frames[1].Body, "[1]");
    EXPECT_EQ(frames[2].Kind, TFrame::TKind::Malformed);
    EXPECT_EQ(frames[3].Problem, "A message has no Content-Length");
    EXPECT_EQ(frames[4].Kind, TFrame::TKind::Malformed);
    EXPECT_EQ(frames[5].Body, "null");
    EXPECT_EQ(frames[6].Problem, "The input ended inside a message's body");
}

TEST(LspFramingTest, WrittenFramesReadBack)
{
    std::ostringstream out;
    WriteFrame(out, "{\"a\":\"\xC3\xA9\"}");
    const std::vector<TFrame> frames = ReadAll(out.str());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Body, "{\"a\":\"\xC3\xA9\"}");
}
} // namespace
