#pragma once

// The editor preferences kept between runs beside the folder settings: the list of recently
// used script files and whether scripts are shown with syntax colours.

#include <cstddef>
#include <string>
#include <vector>

#include "core/shell/settings.h"

// How many recent files the File menu offers.
inline constexpr size_t RecentFileLimit = 8;

// list with path moved (or added) to the front, most recent first, no path twice, at most
// limit entries. Paths are compared exactly: the file system tells letter cases apart.
std::vector<std::string> AddRecentFile(std::vector<std::string> list, const std::string &path,
                                       size_t limit = RecentFileLimit);
// list without path.
std::vector<std::string> RemoveRecentFile(std::vector<std::string> list, const std::string &path);

// The stored list: the values "Recent1" to "Recent8", most recent first; empty values and
// repeated paths are skipped.
std::vector<std::string> ReadRecentFiles(TSettingsKey &key);
// Stores list (at most RecentFileLimit entries); unused places are written empty, so a
// shorter list does not leave older entries behind.
void WriteRecentFiles(TSettingsKey &key, const std::vector<std::string> &list);

// The value "Highlight": on unless stored as "0".
bool ReadHighlightSetting(TSettingsKey &key);
void WriteHighlightSetting(TSettingsKey &key, bool on);

// The value "CheckAsYouType": on unless stored as "0".
bool ReadCheckAsYouTypeSetting(TSettingsKey &key);
void WriteCheckAsYouTypeSetting(TSettingsKey &key, bool on);
