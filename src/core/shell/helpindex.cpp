#include "core/shell/helpindex.h"

#include <algorithm>

#include "core/shell/textutils.h"

namespace {

// White space of HTML between words.
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// The character an entity stands for; empty for one the pages do not use, which is kept as
// written.
std::string_view EntityText(std::string_view name)
{
    static const std::pair<std::string_view, std::string_view> entities[] = {
        {"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "},
    };
    for (const auto &[entity, text] : entities)
        if (name == entity)
            return text;
    return {};
}

// The value of attribute name in the opening tag tag ("<h2 id=\"x\" class=\"y\">"); empty
// when it has none. Values are quoted, as the help pages write them.
std::string AttributeOf(std::string_view tag, std::string_view name)
{
    const std::string lower = LowerAscii(tag);
    size_t at = 0;
    while ((at = lower.find(name, at)) != std::string::npos)
    {
        const bool starts = at > 0 && IsSpace(lower[at - 1]);
        size_t p = at + name.size();
        while (p < lower.size() && IsSpace(lower[p]))
            ++p;
        if (starts && p < lower.size() && lower[p] == '=')
        {
            ++p;
            while (p < lower.size() && IsSpace(lower[p]))
                ++p;
            if (p < lower.size() && (lower[p] == '"' || lower[p] == '\''))
            {
                const size_t end = tag.find(tag[p], p + 1);
                if (end != std::string_view::npos)
                    return std::string(tag.substr(p + 1, end - p - 1));
            }
        }
        at += name.size();
    }
    return {};
}

struct THeading
{
    size_t Start;     // where its opening tag begins
    size_t TextStart; // after its opening tag
    size_t TextEnd;   // where its closing tag begins
    std::string Id;
};

// The next heading (h1 to h6) with an id at or after from; Start is npos when there is none.
THeading NextHeading(std::string_view html, const std::string &lower, size_t from)
{
    size_t at = from;
    while ((at = lower.find("<h", at)) != std::string::npos)
    {
        const char level = at + 2 < lower.size() ? lower[at + 2] : '\0';
        const size_t close = lower.find('>', at);
        if (level < '1' || level > '6' || close == std::string::npos)
        {
            at += 2;
            continue;
        }
        const std::string id = AttributeOf(html.substr(at, close - at), "id");
        const std::string closing = std::string("</h") + level;
        const size_t end = lower.find(closing, close);
        if (!id.empty() && end != std::string::npos)
            return {at, close + 1, end, id};
        at = close;
    }
    return {std::string::npos, 0, 0, {}};
}

// The part of the page between <body> and </body>, or the whole page without them.
std::string_view BodyOf(std::string_view html, const std::string &lower, size_t &offset)
{
    offset = 0;
    size_t start = lower.find("<body");
    if (start != std::string::npos)
        start = lower.find('>', start);
    if (start == std::string::npos)
        return html;
    offset = start + 1;
    const size_t end = lower.find("</body", offset);
    return html.substr(offset, (end == std::string::npos ? html.size() : end) - offset);
}

std::string TitleOf(std::string_view html, const std::string &lower)
{
    const size_t open = lower.find("<title>");
    if (open == std::string::npos)
        return {};
    const size_t end = lower.find("</title>", open);
    if (end == std::string::npos)
        return {};
    return HtmlToText(html.substr(open + 7, end - open - 7));
}

std::vector<std::string> QueryWords(std::string_view query)
{
    std::vector<std::string> words;
    std::string word;
    for (const char c : query)
    {
        if (IsSpace(c))
        {
            if (!word.empty())
                words.push_back(LowerAscii(word));
            word.clear();
        }
        else
            word += c;
    }
    if (!word.empty())
        words.push_back(LowerAscii(word));
    return words;
}

} // namespace

std::string HtmlToText(std::string_view html)
{
    std::string text;
    bool blank = true; // no blank at the start
    const auto put = [&](std::string_view piece) {
        for (const char c : piece)
        {
            if (IsSpace(c))
            {
                if (!blank)
                    text += ' ';
                blank = true;
            }
            else
            {
                text += c;
                blank = false;
            }
        }
    };
    for (size_t i = 0; i < html.size(); ++i)
    {
        const char c = html[i];
        if (c == '<')
        {
            const size_t close = html.find('>', i);
            if (close == std::string_view::npos)
                break;
            put(" ");
            i = close;
        }
        else if (c == '&')
        {
            const size_t semi = html.find(';', i);
            const std::string_view name = semi == std::string_view::npos || semi - i > 8
                                              ? std::string_view()
                                              : html.substr(i + 1, semi - i - 1);
            const std::string_view decoded = EntityText(name);
            if (decoded.empty())
                put(std::string_view(&html[i], 1));
            else
            {
                put(decoded);
                i = semi;
            }
        }
        else
            put(std::string_view(&c, 1));
    }
    if (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::vector<THelpSection> ReadHelpSections(std::string_view html, const std::string &page)
{
    const std::string lower = LowerAscii(html);
    size_t offset = 0;
    const std::string_view body = BodyOf(html, lower, offset);
    const std::string bodyLower = lower.substr(offset, body.size());

    std::vector<THelpSection> sections;
    const auto add = [&](std::string anchor, std::string title, size_t from, size_t to) {
        std::string text = LowerAscii(HtmlToText(body.substr(from, to - from)));
        if (anchor.empty() && text.empty())
            return;
        sections.push_back({page, std::move(anchor), std::move(title), std::move(text)});
    };

    THeading heading = NextHeading(body, bodyLower, 0);
    add({}, TitleOf(html, lower), 0, std::min(heading.Start, body.size()));
    while (heading.Start != std::string::npos)
    {
        const THeading next = NextHeading(body, bodyLower, heading.TextEnd);
        const std::string title =
            HtmlToText(body.substr(heading.TextStart, heading.TextEnd - heading.TextStart));
        add(heading.Id, title, heading.Start, std::min(next.Start, body.size()));
        heading = next;
    }
    return sections;
}

std::vector<size_t> FindHelpSections(const std::vector<THelpSection> &sections,
                                     std::string_view query)
{
    const std::vector<std::string> words = QueryWords(query);
    std::vector<size_t> found;
    if (words.empty())
        return found;
    for (size_t i = 0; i < sections.size(); ++i)
        if (std::all_of(words.begin(), words.end(), [&](const std::string &word) {
                return sections[i].Text.find(word) != std::string::npos;
            }))
            found.push_back(i);
    return found;
}
