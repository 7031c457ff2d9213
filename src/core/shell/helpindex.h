#pragma once

// The help pages as the help window's search sees them: each page cut into sections at its
// headings that carry an id, and the sections that hold every word of a query.

#include <string>
#include <string_view>
#include <vector>

// One section of a help page: from a heading with an id to the next such heading.
struct THelpSection
{
    // The page's file name, as links name it ("editor.html").
    std::string Page;
    // The id of the section's heading; empty for the text before the page's first one.
    std::string Anchor;
    // The heading's text, or the page's title for the text before the first heading.
    std::string Title;
    // The section's text without tags, entities decoded, blanks run together, in small
    // letters (ASCII), with its heading.
    std::string Text;
};

// The text of a piece of HTML: tags dropped (a tag counts as a blank), the entities the help
// pages use decoded, runs of blanks made one.
std::string HtmlToText(std::string_view html);

// The sections of the page html, named page, in their order. The body of a page without
// headings with ids is one section.
std::vector<THelpSection> ReadHelpSections(std::string_view html, const std::string &page);

// The positions in sections of those whose text holds every word of query (compared in
// small letters, anywhere in a word), in order; none for a query without words.
std::vector<size_t> FindHelpSections(const std::vector<THelpSection> &sections,
                                     std::string_view query);
