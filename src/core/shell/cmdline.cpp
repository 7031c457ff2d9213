#include "core/shell/cmdline.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/shell/fileio.h"
#include "core/shell/textutils.h"

namespace {
// The length of the UTF-8 sequence that starts at text[at]: a lead byte and the continuation
// bytes after it (a stray continuation byte counts as one character).
size_t CharLength(std::string_view text, size_t at)
{
    size_t end = at + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return end - at;
}
} // namespace

std::vector<TCommandArg> SplitCommandLine(std::string_view line)
{
    std::vector<TCommandArg> args;
    size_t at = 0;
    // The program's name.
    if (!line.empty() && line[0] == '"')
    {
        const size_t close = line.find('"', 1);
        args.push_back({std::string(line.substr(1, close == line.npos ? close : close - 1))});
        at = close == line.npos ? line.size() : close + 1;
    }
    else
    {
        while (at < line.size() && !IsBlank(line[at]))
            ++at;
        args.push_back({std::string(line.substr(0, at))});
    }

    while (true)
    {
        while (at < line.size() && IsBlank(line[at]))
            ++at;
        if (at >= line.size())
            break;
        TCommandArg arg;
        bool quoted = false;
        while (at < line.size() && (quoted || !IsBlank(line[at])))
        {
            size_t backslashes = 0;
            while (at < line.size() && line[at] == '\\')
            {
                ++backslashes;
                ++at;
            }
            if (at < line.size() && line[at] == '"')
            {
                arg.Text.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1)
                    arg.Text += '"';
                else if (quoted && at + 1 < line.size() && line[at + 1] == '"')
                {
                    arg.Text += '"';
                    ++at;
                }
                else
                    quoted = !quoted;
                ++at;
                continue;
            }
            arg.Text.append(backslashes, '\\');
            if (at >= line.size() || (!quoted && IsBlank(line[at])))
                break;
            if (!quoted && (line[at] == '*' || line[at] == '?'))
                arg.Wild = true;
            arg.Text += line[at++];
        }
        args.push_back(std::move(arg));
    }
    return args;
}

bool MatchesWildcard(std::string_view pattern, std::string_view name)
{
    // Greedy matching that goes back to the last "*" on a mismatch: linear in practice, and
    // never exponential.
    size_t p = 0;
    size_t n = 0;
    size_t starP = std::string_view::npos;
    size_t starN = 0;
    while (n < name.size())
    {
        if (p < pattern.size() && pattern[p] == '*')
        {
            starP = p++;
            starN = n;
            continue;
        }
        if (p < pattern.size() && pattern[p] == '?')
        {
            ++p;
            n += CharLength(name, n);
            continue;
        }
        if (p < pattern.size() && LowerAscii(pattern[p]) == LowerAscii(name[n]))
        {
            ++p;
            ++n;
            continue;
        }
        if (starP == std::string_view::npos)
            return false;
        p = starP + 1;
        starN += CharLength(name, starN);
        n = starN;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> ExpandWildcards(const std::vector<TCommandArg> &args)
{
    namespace fs = std::filesystem;
    std::vector<std::string> expanded;
    for (const TCommandArg &arg : args)
    {
        const std::string folder = ExtractFilePath(arg.Text);
        const std::string pattern = ExtractFileName(arg.Text);
        // Only the last part is a pattern: "*" in a folder's name names no folder.
        if (!arg.Wild || pattern.find_first_of("*?") == std::string::npos ||
            folder.find_first_of("*?") != std::string::npos)
        {
            expanded.push_back(arg.Text);
            continue;
        }
        std::vector<std::string> names;
        std::error_code ec;
        for (fs::directory_iterator it(ToPath(folder.empty() ? "." : folder), ec), end;
             !ec && it != end; it.increment(ec))
        {
            const std::string name = FromPath(it->path().filename());
            if (MatchesWildcard(pattern, name))
                names.push_back(name);
        }
        if (names.empty())
        {
            expanded.push_back(arg.Text);
            continue;
        }
        std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
            const std::string lowerA = LowerAscii(a);
            const std::string lowerB = LowerAscii(b);
            return lowerA != lowerB ? lowerA < lowerB : a < b;
        });
        for (const std::string &name : names)
            expanded.push_back(folder + name);
    }
    return expanded;
}
