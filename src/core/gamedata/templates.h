#pragma once

// The level editor's template file: one template a line, its name first. A template file
// read is a table its caller holds.

#include <array>
#include <string>
#include <string_view>

#include "core/shell/result.h"

constexpr int MaxTemplates = 1000;

struct TTPLRec
{
    std::array<std::string, MaxTemplates> TplName;
    std::array<std::string, MaxTemplates> TplParent;
    std::array<std::string, MaxTemplates> TplLine;
};

// The message shown when the template file is missing.
inline constexpr const char *NoTemplateFileMessage = "Cannot find Kovo Tpl file";

void ClearTemplates(TTPLRec &table);
// A template file read: whether it was there, its table, and how many template lines past
// the table's MaxTemplates entries were not stored (so the caller can say the file was cut).
struct TTemplateFile
{
    bool Found = false;
    TTPLRec Table;
    int DroppedLines = 0;
};
// Reads the template file at path; Found is false when no file exists there (the caller shows
// "Cannot find Kovo Tpl file" and keeps the table it had). Fails when the file is there but
// cannot be read.
TResult<TTemplateFile> LoadTemplateFile(const std::string &path);
// Fills table from the file's content already in memory; returns the number of dropped lines.
int LoadTemplateText(std::string_view text, TTPLRec &table);
// The line of the last template named exactly name, or the empty string.
std::string FindTemplate(const TTPLRec &table, const std::string &name);
